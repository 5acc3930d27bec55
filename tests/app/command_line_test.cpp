// corvane-scene-tool started from a shell: what it says, and its exit status, when it cannot or
// must not open its window.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace corvane {
namespace {

struct ToolRun {
    int status = -1;
    QString out;
    QString err;
};

ToolRun StartTool(const QStringList& args, const QProcessEnvironment& environment) {
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral(CORVANE_TOOL_PROGRAM), args);
    ToolRun r;
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(2000);
        ADD_FAILURE() << "corvane-scene-tool did not end";
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
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
    const ToolRun r = StartTool({}, StaleDisplay());
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
        const ToolRun r = StartTool(c.args, StaleDisplay());
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, c.err);
    }
    const ToolRun help = StartTool({"--help"}, StaleDisplay());
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: corvane-scene-tool [options] [FILE]\n"))
        << help.out.toStdString();
    const ToolRun version = StartTool({"--version"}, StaleDisplay());
    EXPECT_EQ(version.out,
              QStringLiteral("corvane-scene-tool %1\n").arg(QStringLiteral(CORVANE_VERSION)));
}

}  // namespace
}  // namespace corvane
