// The status label's file name as the technician reads it: whole when it fits; otherwise " File: "
// and the file's own name stay and the folder gives way in the middle, the whole path in the
// label's tooltip.
#include <gtest/gtest.h>

#include <QLabel>

#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

TEST(StatusLabel, ShowsThePathWholeOrKeepsTheNameAndShortensTheFolder) {
    struct Case {
        QString path;
        QString ending;  // what must stay readable at the end; empty: shown whole
    };
    const QString folder = QStringLiteral("/tmp/very long folder name for the spring tour");
    for (const Case& c :
         {Case{"None", ""}, Case{"/shows/spring/rehearsal.SCN", ""},
          Case{folder + "/rehearsal.SCN", "/rehearsal.SCN"},
          Case{folder + "/rehearsal", "/rehearsal"},
          Case{"C:\\Shows\\very long folder name for the spring tour of 2027\\Rehearsal.SCN",
               "\\Rehearsal.SCN"},
          Case{"/shows/" + QString(80, QLatin1Char('x')) + ".SCN", "x.SCN"}}) {
        testing_support::MainWindowWorld w;
        w.document.CurrentFile = c.path;
        w.window->UpdateTitle();
        const QLabel* label = w.window->lblFileName;
        const QString shown = label->text();
        EXPECT_EQ(label->toolTip(), c.path == "None" ? "" : c.path);
        if (c.ending.isEmpty()) {
            EXPECT_EQ(shown, " File: " + c.path);
            continue;
        }
        EXPECT_TRUE(shown.startsWith(" File: " + c.path.left(3))) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(c.ending)) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
        EXPECT_LT(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width());
    }
}

}  // namespace
}  // namespace corvane
