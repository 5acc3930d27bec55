// Starts the scene tool: builds the run's objects and shows the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>

#include "connection/built_in_simulator.h"
#include "connection/controller_connection.h"
#include "document/document_state.h"
#include "document/scene_table.h"
#include "ui/editor/scene_editor_launcher.h"
#include "ui/main/main_window.h"
#include "ui/main/qt_file_dialog.h"
#include "ui/main/qt_message_box.h"

namespace {

constexpr char kProgram[] = "corvane-scene-tool";
constexpr int kExitFailure = 1;  // the simulated controller could not start
constexpr int kExitUsage = 2;
constexpr int kExitNoDisplay = 3;  // ./run shows the job on the command line instead

int say(int status, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", kProgram, what.c_str());
    return status;
}

[[maybe_unused]] std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Qt aborts with a long trace when the display cannot be opened ("Reinstalling the application
// may fix this problem"). A display that is not there is said in one sentence instead: without
// DISPLAY at once, and with a DISPLAY that cannot be reached (a stale one over a remote shell)
// once Qt has tried it and fallen back to drawing off screen.
struct DisplayCheck {
    bool fallbackArmed = false;
    std::string display;
};

// What Qt says while it tries the display: held back until it is known whether the window can
// open, and then said, or dropped with the one sentence that replaces it. Used only while the
// application object is built.
QStringList& heldMessages() {
    static QStringList held;
    return held;
}

[[maybe_unused]] void holdMessage(QtMsgType type, const QMessageLogContext& context,
                                  const QString& message) {
    const QLatin1String category(context.category != nullptr ? context.category : "");
    // The display's own complaints are what the sentence replaces.
    if (category == QLatin1String("qt.qpa.xcb") || category == QLatin1String("qt.qpa.plugin"))
        return;
    heldMessages() << qFormatLogMessage(type, context, message);
}

bool prepareDisplay(DisplayCheck& check, std::string* problem) {
#if defined(__linux__)
    if (!environment("QT_QPA_PLATFORM").empty() || !environment("WAYLAND_DISPLAY").empty())
        return true;
    check.display = environment("DISPLAY");
    if (check.display.empty()) {
        *problem = "there is no display to open its window on (DISPLAY is not set).";
        return false;
    }
    qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
    qInstallMessageHandler(holdMessage);
    check.fallbackArmed = true;
#else
    (void)check;
    (void)problem;
#endif
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    // Read before the window system is needed, so --help and a wrong command line work anywhere.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Ostrel Corvane Scene Tool"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays help on commandline options."));
    const QCommandLineOption versionOption(
        QStringList{QStringLiteral("v"), QStringLiteral("version")},
        QStringLiteral("Displays version information."));
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("Add DEVICE (e.g. /dev/ttyUSB0, rfc2217://HOST:PORT or tcp://HOST:PORT) at "
                       "the end of the port list and select it."),
        QStringLiteral("DEVICE"));
    const QCommandLineOption simulatorOption(
        QStringLiteral("simulator"),
        QStringLiteral(
            "Start a simulated controller (node 01, a demo show) for this run and select it as "
            "\"Simulator\"."));
    parser.addOptions({helpOption, versionOption, portOption, simulatorOption});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A scene file to open at start."),
                                 QStringLiteral("[FILE]"));
    if (!parser.parse(arguments))
        return say(kExitUsage, parser.errorText().toStdString() + " (see --help)");
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(0, help.indexOf(' ', QStringLiteral("Usage: ").size()),
                     QStringLiteral("Usage: ") + QLatin1String(kProgram));
        std::fputs(help.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::printf("%s %s\n", kProgram, CORVANE_VERSION);
        return 0;
    }
    for (const QString& option : parser.optionNames()) {
        if (parser.optionNames().count(option) > 1)
            return say(kExitUsage,
                       "--" + option.toStdString() + " was given more than once (see --help)");
    }
    if (std::string problem;
        parser.isSet(portOption) &&
        !corvane::CheckPortName(parser.value(portOption).toStdString(), &problem))
        return say(kExitUsage, "--port: " + problem + " (see --help)");
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return say(kExitUsage, "one scene file at a time: " + std::to_string(files.size()) +
                                   " were named (see --help)");

    DisplayCheck display;
    std::string problem;
    if (!prepareDisplay(display, &problem)) return say(kExitNoDisplay, problem);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    if (!display.fallbackArmed || QGuiApplication::platformName() != QLatin1String("offscreen")) {
        for (const QString& message : heldMessages())
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    } else {
        return say(kExitNoDisplay,
                   "the display " + display.display +
                       " cannot be opened, so its window cannot open there (DISPLAY may be "
                       "left over from another session).");
    }
    heldMessages().clear();
    QApplication::setApplicationName(QLatin1String(kProgram));
    QApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    using namespace corvane;
    SceneTable scenes;
    DocumentState document;
    QtFileDialog cdFile;
    QtMessageBox messages;
    SceneEditorLauncher editor;

    // The simulated controller runs at the line rate, so a transfer takes as long as on a cable.
    std::unique_ptr<BuiltInSimulator> simulator;
    if (parser.isSet(simulatorOption)) {
        try {
            simulator = std::make_unique<BuiltInSimulator>(true);
        } catch (const std::system_error& e) {
            return say(kExitFailure,
                       std::string("the simulated controller could not start: ") + e.what());
        }
    }

    const ConnectionOpener open = [&simulator](const std::string& device, int node) {
        return ConnectSerialOrSimulator(simulator.get(), device, node);
    };
    frmCVSceneTool window({scenes, document, open, cdFile, messages, editor});
    cdFile.setParent(&window);
    messages.setParent(&window);
    if (parser.isSet(portOption)) {
        const QString device = parser.value(portOption);
        window.addPort(device, device.toStdString());
    }
    if (simulator) window.addPort(QStringLiteral("Simulator"), simulator->device());
    window.show();
    if (!files.isEmpty()) window.openAtStart(QFileInfo(files.first()).absoluteFilePath());
    return QApplication::exec();
}
