// A fresh world for the main window: every part the window needs, with doubles for the dialogs.
#pragma once

#include <memory>

#include "document/document_state.h"
#include "document/scene_table.h"
#include "link/port_names.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
#include "tests/support/recording_editor_launcher.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_file_dialog.h"
#include "tests/support/scripted_message_box.h"
#include "ui/main/main_window.h"

namespace corvane::testing_support {

struct MainWindowWorld {
    SceneTable scenes;
    DocumentState document;
    PortNames ports;
    QtSerialControl comCV{ports};
    SteadyStopwatch stopwatch;
    ScriptedFileDialog cdFile;
    ScriptedMessageBox messages;
    RecordingEditorLauncher editor;
    // What the system reports as serial adapters; none unless a test says otherwise.
    std::vector<SerialAdapter> adapters;
    std::unique_ptr<frmCVSceneTool> window;

    MainWindowWorld() {
        window = std::make_unique<frmCVSceneTool>(
            MainWindowParts{scenes, document, comCV, stopwatch, ports, cdFile, messages, editor,
                            [this] { return adapters; }});
    }
};

}  // namespace corvane::testing_support
