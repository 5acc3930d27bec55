// Starts the scene tool: builds the run's objects and shows the main window.
#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

#include "document/document_state.h"
#include "document/scene_table.h"
#include "link/port_names.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
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

    frmCVSceneTool window({scenes, document, comCV, stopwatch, ports, cdFile, messages, editor});
    cdFile.setParent(&window);
    messages.setParent(&window);
    window.show();
    return app.exec();
}
