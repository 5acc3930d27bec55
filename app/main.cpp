// Starts the scene tool: builds the run's objects and shows the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <system_error>

#include "document/document_state.h"
#include "document/scene_table.h"
#include "link/port_names.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
#include "sim/demo_show.h"
#include "sim/pty_server.h"
#include "ui/editor/scene_editor_launcher.h"
#include "ui/main/main_window.h"
#include "ui/main/qt_file_dialog.h"
#include "ui/main/qt_message_box.h"

namespace {

// Qt aborts with a long trace when it has no display to open; say it in one sentence instead.
bool displayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0') return true;
#if defined(__linux__)
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (!displayAvailable()) {
        std::fputs("corvane-scene-tool: there is no display to open its window on (DISPLAY is not set).\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvane-scene-tool"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Ostrel Corvane Scene Tool"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"), QStringLiteral("Add DEVICE (e.g. /dev/ttyUSB0) at the end of the port list and select it."),
        QStringLiteral("DEVICE"));
    const QCommandLineOption simulatorOption(
        QStringLiteral("simulator"),
        QStringLiteral("Start a simulated controller (node 01, a demo show) for this run and select it as \"Simulator\"."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A scene file to open at start."),
                                 QStringLiteral("[FILE]"));
    parser.addOption(portOption);
    parser.addOption(simulatorOption);
    parser.process(app);

    using namespace corvane;
    SceneTable scenes;
    DocumentState document;
    PortNames ports;
    QtSerialControl comCV(ports);
    SteadyStopwatch stopwatch;
    QtFileDialog cdFile;
    QtMessageBox messages;
    SceneEditorLauncher editor;

    // The simulated controller runs at the line rate, so a transfer takes as long as on a cable.
    std::unique_ptr<sim::PtyServer> simulator;
    if (parser.isSet(simulatorOption)) {
        try {
            sim::ControllerEngine engine;
            engine.setMemory(sim::DemoMemory());
            simulator = std::make_unique<sim::PtyServer>(std::move(engine), sim::PtyServerOptions{true, {}});
        } catch (const std::system_error& e) {
            std::fprintf(stderr, "corvane-scene-tool: the simulated controller could not start: %s\n", e.what());
            return 1;
        }
    }

    frmCVSceneTool window({scenes, document, comCV, stopwatch, ports, cdFile, messages, editor});
    cdFile.setParent(&window);
    messages.setParent(&window);
    if (parser.isSet(portOption)) {
        const QString device = parser.value(portOption);
        window.addPort(device, device.toStdString());
    }
    if (simulator) window.addPort(QStringLiteral("Simulator"), simulator->devicePath());
    window.show();
    if (!parser.positionalArguments().isEmpty()) window.openAtStart(QFileInfo(parser.positionalArguments().first()).absoluteFilePath());
    return QApplication::exec();
}
