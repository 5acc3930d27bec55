// corvane-scene-tool started from a shell: what it says, and its exit status, when it cannot or
// must not open its window.
#include <gtest/gtest.h>

#include <QProcessEnvironment>

#include "tests/support/programs.h"

namespace corvane {
namespace {

using testing_support::ProgramRun;

ProgramRun StartTool(const QStringList& args, const QProcessEnvironment& environment) {
    return testing_support::RunProgram(QStringLiteral(CORVANE_TOOL_PROGRAM), args,
                                       {.deadlineMs = 20000, .environment = environment});
}

// As a remote shell leaves it: a DISPLAY that no server answers, and no platform chosen.
QProcessEnvironment StaleDisplay() {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.remove(QStringLiteral("QT_QPA_PLATFORM"));
    e.remove(QStringLiteral("WAYLAND_DISPLAY"));
    e.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4242"));
    return e;
}

TEST(ToolCommandLine, ADisplayThatCannotBeOpenedIsOneSentenceAndStatusThree) {
    const ProgramRun r = StartTool({}, StaleDisplay());
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err,
              "corvane-scene-tool: the display :4242 cannot be opened, so its window cannot open "
              "there (DISPLAY "
              "may be left over from another session).\n");
    QProcessEnvironment none = StaleDisplay();
    none.remove(QStringLiteral("DISPLAY"));
    EXPECT_EQ(StartTool({}, none).status, 3);
}

TEST(ToolCommandLine, WrongUseIsSaidWithoutADisplay) {
    struct Case {
        QStringList args;
        int status;
        QString err;
    };
    const Case cases[] = {
        {{"a.SCN", "b.SCN"},
         2,
         "corvane-scene-tool: one scene file at a time: 2 were named (see --help)\n"},
        {{"--port", "/dev/ttyUSB0", "--port", "/dev/ttyUSB1"},
         2,
         "corvane-scene-tool: --port was given more than once (see --help)\n"},
        {{"--help-all"}, 2, "corvane-scene-tool: Unknown option 'help-all'. (see --help)\n"},
    };
    for (const Case& c : cases) {
        const ProgramRun r = StartTool(c.args, StaleDisplay());
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, c.err);
    }
    const ProgramRun help = StartTool({"--help"}, StaleDisplay());
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: corvane-scene-tool [options] [FILE]\n"))
        << help.out.toStdString();
    const ProgramRun version = StartTool({"--version"}, StaleDisplay());
    EXPECT_EQ(version.out,
              QStringLiteral("corvane-scene-tool %1\n").arg(QStringLiteral(CORVANE_VERSION)));
}

}  // namespace
}  // namespace corvane
