// A fresh world for the main window: every part the window needs, with doubles for the dialogs.
// Every connection the window opens works through the world's one serial control, so a test can
// see which device a transfer used and whether it left the port closed.
#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "connection/controller_connection.h"
#include "document/document_state.h"
#include "document/scene_table.h"
#include "link/qt_serial_control.h"
#include "link/stopwatch.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_editor_launcher.h"
#include "tests/support/scripted_file_dialog.h"
#include "tests/support/scripted_message_box.h"
#include "tests/support/scripted_progress.h"
#include "tests/support/scripted_text_prompt.h"
#include "ui/main/main_window.h"

namespace corvane::testing_support {

// Passes every call on to a serial control that outlives the connection.
class SharedCommControl final : public CommControl {
  public:
    explicit SharedCommControl(CommControl& to) : to_(to) {}
    void setDevice(const std::string& device) override { to_.setDevice(device); }
    std::string device() const override { return to_.device(); }
    void setSettings(const std::string& settings) override { to_.setSettings(settings); }
    std::string Settings() const override { return to_.Settings(); }
    void setPortOpen(bool open) override { to_.setPortOpen(open); }
    bool PortOpen() const override { return to_.PortOpen(); }
    void setRTSEnable(bool on) override { to_.setRTSEnable(on); }
    void setDTREnable(bool on) override { to_.setDTREnable(on); }
    void Output(const std::string& text) override { to_.Output(text); }
    std::string Input() override { return to_.Input(); }
    int16_t InBufferCount() override { return to_.InBufferCount(); }
    void waitForInput(int milliseconds) override { to_.waitForInput(milliseconds); }

  private:
    CommControl& to_;
};

struct MainWindowWorld {
    // Find's first request to each node: an unpaced simulated controller answers at once.
    static constexpr int kFindLimitMs = 20;

    SceneTable scenes;
    DocumentState document;
    QtSerialControl comCV;
    ScriptedFileDialog cdFile;
    ScriptedMessageBox messages;
    RecordingEditorLauncher editor;
    ScriptedProgress progress;
    // What the system reports as serial adapters; none unless a test says otherwise.
    std::vector<SerialAdapter> adapters;
    // Each connection the window opened: its device and node.
    std::vector<std::pair<std::string, int>> opened;
    // The network ports the window remembers, kept out of the user's settings.
    QTemporaryDir settings;
    std::unique_ptr<frmCVSceneTool> window;

    ScriptedTextPrompt prompt;

    MainWindowWorld() { open(); }
    // A new window on the same world, as the next run of the tool.
    void open() {
        ConnectionOpener open = [this](const std::string& device, int node) {
            opened.emplace_back(device, node);
            return std::make_unique<ControllerConnection>(
                device, node, std::make_unique<SharedCommControl>(comCV),
                std::make_unique<SteadyStopwatch>());
        };
        window = std::make_unique<frmCVSceneTool>(MainWindowParts{
            scenes, document, open, cdFile, messages, editor, [this] { return adapters; },
            &progress, kFindLimitMs, &prompt, settings.filePath(QStringLiteral("settings.ini"))});
    }
};

}  // namespace corvane::testing_support
