// Controller > Add Network Port...: the name asked for, checked, listed as given, remembered for
// the next window; and a Get through ser2net from the window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "connection/controller_connection.h"
#include "document/document_state.h"
#include "sim/demo_show.h"
#include "tests/support/demo_line.h"
#include "tests/support/device_server.h"
#include "tests/support/recording_editor_launcher.h"
#include "tests/support/scripted_file_dialog.h"
#include "tests/support/scripted_message_box.h"
#include "tests/support/scripted_progress.h"
#include "tests/support/scripted_text_prompt.h"
#include "ui/main/main_window.h"

namespace corvane {
namespace {

using namespace testing_support;

// A window that opens ports as the tool does, its settings in a folder of the test's own.
struct NetworkWorld {
    SceneTable scenes;
    DocumentState document;
    ScriptedFileDialog cdFile;
    ScriptedMessageBox messages;
    RecordingEditorLauncher editor;
    ScriptedProgress progress;
    ScriptedTextPrompt prompt;
    QString settingsFile;

    explicit NetworkWorld(const QString& settings) : settingsFile(settings) {}
    std::unique_ptr<frmCVSceneTool> open() {
        return std::make_unique<frmCVSceneTool>(MainWindowParts{
            scenes, document, ConnectDevice, cdFile, messages, editor,
            [] { return std::vector<SerialAdapter>{}; }, &progress, 20, &prompt, settingsFile});
    }
};

QStringList Listed(const frmCVSceneTool& window) {
    QStringList entries;
    for (int i = 8; i < window.cboComPort->count(); ++i) entries << window.cboComPort->itemText(i);
    return entries;
}

TEST(AddNetworkPort, ASlipIsShownAndAskedAgainAndTheNameIsListedAndRemembered) {
    QTemporaryDir dir;
    NetworkWorld world(dir.filePath(QStringLiteral("settings.ini")));
    auto window = world.open();
    world.prompt.answers = {QStringLiteral("tcp://lighting-rack"),
                            QStringLiteral(" rfc2217://[fd00::7]:4001 ")};
    window->mnuAddNetworkPort->trigger();
    ASSERT_EQ(world.prompt.asked.size(), 2u);
    EXPECT_EQ(world.prompt.asked[0], messages::addNetworkPort());
    EXPECT_EQ(world.prompt.asked[1].text, "tcp://lighting-rack") << "asked again as typed";
    EXPECT_EQ(world.messages.shown,
              (std::vector<Message>{messages::problem(
                  "Could not add the network port: \"tcp://lighting-rack\": the port number is "
                  "missing (:PORT).")}));
    EXPECT_EQ(Listed(*window), QStringList{"rfc2217://[fd00::7]:4001"});
    EXPECT_EQ(window->cboComPort->currentText(), "rfc2217://[fd00::7]:4001");

    world.prompt.answers = {std::nullopt};  // Cancel adds nothing
    window->mnuAddNetworkPort->trigger();
    EXPECT_EQ(Listed(*window), QStringList{"rfc2217://[fd00::7]:4001"});

    window = world.open();
    EXPECT_EQ(Listed(*window), QStringList{"rfc2217://[fd00::7]:4001"}) << "the next run";
    EXPECT_EQ(window->cboComPort->currentText(), "COM1");
}

TEST(AddNetworkPort, GetThroughADeviceServer) {
    for (const bool rfc2217 : {true, false}) {
        DemoLine line({1});
        Ser2net server(line.device());
        QTemporaryDir dir;
        NetworkWorld world(dir.filePath(QStringLiteral("settings.ini")));
        auto window = world.open();
        const QString name = rfc2217 ? server.rfc2217() : server.tcp();
        world.prompt.answers = {name};
        window->mnuAddNetworkPort->trigger();
        window->cmdGetScenes->click();
        EXPECT_EQ(world.messages.shown, std::vector<Message>{}) << name.toStdString();
        EXPECT_EQ(world.scenes, sim::ToSceneTable(sim::DemoMemory())) << name.toStdString();

        server.stop();
        window->cmdGetScenes->click();  // after "Discard Any Changes?"
        ASSERT_EQ(world.messages.shown.size(), 2u);
        EXPECT_TRUE(world.messages.shown[1].text.startsWith("Could not use " + name +
                                                            ": connection refused by 127.0.0.1:"))
            << world.messages.shown[1].text.toStdString();
    }
}

}  // namespace
}  // namespace corvane
