// The status label's file name as the technician reads it: whole when it fits; otherwise " File: "
// and the file's own name stay and the folder gives way in the middle, the whole path in the
// label's tooltip.
#include <gtest/gtest.h>

#include <QLabel>

#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;

// Whether the label's text can be read whole between its frame's edges.
bool fitsInLabel(const QLabel* label) {
    return label->fontMetrics().horizontalAdvance(label->text()) < label->contentsRect().width();
}

TEST(StatusLabel, APathThatFitsIsShownWhole) {
    MainWindowWorld w;
    w.document.CurrentFile = QStringLiteral("/shows/spring/rehearsal.SCN");
    w.window->UpdateTitle();
    EXPECT_EQ(w.window->lblFileName->text(), " File: /shows/spring/rehearsal.SCN");
    EXPECT_EQ(w.window->lblFileName->toolTip(), "/shows/spring/rehearsal.SCN");

    w.document.CurrentFile = QStringLiteral("None");
    w.window->UpdateTitle();
    EXPECT_EQ(w.window->lblFileName->text(), " File: None");
    EXPECT_EQ(w.window->lblFileName->toolTip(), "");
}

TEST(StatusLabel, ALongFolderGivesWayInTheMiddle) {
    struct Case {
        QString path;
        QString name;  // what must stay readable at the end
    };
    const QString folder = QStringLiteral("/tmp/very long folder name for the spring tour");
    for (const Case& c : {Case{folder + "/rehearsal.SCN", "/rehearsal.SCN"},
                          Case{folder + "/rehearsal", "/rehearsal"},
                          Case{"C:\\Shows\\very long folder name for the spring tour of 2027\\"
                               "Rehearsal.SCN",
                               "\\Rehearsal.SCN"}}) {
        MainWindowWorld w;
        w.document.CurrentFile = c.path;
        w.window->UpdateTitle();
        const QString shown = w.window->lblFileName->text();
        EXPECT_TRUE(shown.startsWith(" File: " + c.path.left(3))) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(c.name)) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
        EXPECT_TRUE(fitsInLabel(w.window->lblFileName)) << shown.toStdString();
        EXPECT_EQ(w.window->lblFileName->toolTip(), c.path);
    }
}

TEST(StatusLabel, ANameTooLongForTheLabelKeepsItsEnd) {
    MainWindowWorld w;
    const QString path = "/shows/" + QString(80, QLatin1Char('x')) + ".SCN";
    w.document.CurrentFile = path;
    w.window->UpdateTitle();
    const QString shown = w.window->lblFileName->text();
    EXPECT_TRUE(shown.startsWith(" File: /")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("x.SCN")) << shown.toStdString();
    EXPECT_TRUE(fitsInLabel(w.window->lblFileName)) << shown.toStdString();
    EXPECT_EQ(w.window->lblFileName->toolTip(), path);
}

}  // namespace
}  // namespace corvane
