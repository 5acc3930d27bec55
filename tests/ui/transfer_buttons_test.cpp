// The Get and Send buttons through the window, against the simulated controller on a
// pseudo-terminal: what the table, the document state and the status label end up as, what the
// technician is told, and the questions asked before anything is touched: Get before it would
// replace unsaved changes, Send before it would blank the controller with a table nothing has
// filled.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <optional>
#include <string>

#include "tests/support/simulated_window_world.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;
using testing_support::SimulatedWorld;

TEST(TransferButtons, ALevelAControllerCannotHoldStopsSendBeforeAnythingGoesOut) {
    SimulatedWorld w;
    w.scenes(2, 5) = 300;  // as a damaged scene file can hold
    w.document.CurrentFile = "/shows/damaged.SCN";
    w.window->cmdSendScenes_Click();
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].title, "Error");
    EXPECT_TRUE(w.messages.shown[0].text.contains("Scene 03, Dimmer 02.2 holds level 300"))
        << w.messages.shown[0].text.toStdString();
    EXPECT_TRUE(w.server.requests().empty());
    EXPECT_EQ(sim::ToSceneTable(w.server.memory()), DemoShow());
    EXPECT_FALSE(w.document.Changed);
}

TEST(TransferButtons, AMissingDeviceIsNamedAndNothingChanges) {
    MainWindowWorld w;
    w.window->addPort(QStringLiteral("/dev/ttyUSB-corvane-missing"), "/dev/ttyUSB-corvane-missing");
    w.scenes(0, 0) = 7;
    w.document.Changed = true;
    w.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
    // The question comes before the port is opened: after No, the port is not even tried.
    w.window->cmdGetScenes_Click();
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_TRUE(w.opened.empty());
    w.window->cmdGetScenes_Click();
    ASSERT_EQ(w.messages.shown.size(), 3u);
    EXPECT_EQ(w.messages.shown[1], messages::discardChanges());
    const QString text = w.messages.shown[2].text;
    EXPECT_TRUE(
        text.startsWith("Could not use ttyUSB-corvane-missing (/dev/ttyUSB-corvane-missing)"))
        << text.toStdString();
    EXPECT_EQ(w.messages.shown[2].buttons, MessageButtons::Ok);
    // No block moved: the port's own message says it all.
    EXPECT_EQ(w.messages.shown[2].informativeText, "");
    EXPECT_EQ(w.scenes(0, 0), 7);
    EXPECT_TRUE(w.document.Changed);
    EXPECT_EQ(w.window->lblFileName->text(), " File: None");
    EXPECT_FALSE(w.comCV.PortOpen());
}

TEST(GetQuestion, AskedOnlyWhileChangedAndNoLeavesEverythingAsItWas) {
    struct Case {
        bool changed;
        std::optional<MessageAnswer> answer;  // nullopt: no question expected
        bool gets;
    };
    for (const Case c : {Case{true, MessageAnswer::No, false}, Case{true, MessageAnswer::Yes, true},
                         Case{false, std::nullopt, true}}) {
        SCOPED_TRACE(c.changed ? "changed" : "unchanged");
        SimulatedWorld w;
        w.scenes = SceneTable::with({{0, 0, 9}, {63, 63, 200}});
        w.document.Changed = c.changed;
        const SceneTable edited = w.scenes;
        if (c.answer) w.messages.answers.push_back(*c.answer);
        QTest::mouseClick(w.window->cmdGetScenes, Qt::LeftButton);

        if (c.answer) {
            ASSERT_EQ(w.messages.shown.size(), 1u);
            EXPECT_EQ(w.messages.shown[0],
                      (Message{"Discard Any Changes?", "Ostrel Corvane", MessageButtons::YesNo,
                               MessageIcon::Question, MessageAnswer::Yes}));
        } else {
            EXPECT_TRUE(w.messages.shown.empty());
        }
        EXPECT_EQ(w.frames(sim::Direction::Read), c.gets ? 64 : 0);
        EXPECT_EQ(w.scenes, c.gets ? DemoShow() : edited);
        EXPECT_EQ(w.document.Changed, c.gets || c.changed);
        EXPECT_EQ(w.window->lblFileName->text(), " File: None");
    }
}

// After start or New, before anything has filled the table, Send would set every level of the
// controller to 0%.
TEST(SendQuestion, AnUnfilledTableIsSentOnlyAfterYes) {
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        SCOPED_TRACE(answer == MessageAnswer::Yes ? "Yes" : "No");
        SimulatedWorld w;
        w.messages.answers.push_back(answer);
        QTest::mouseClick(w.window->cmdSendScenes, Qt::LeftButton);

        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_EQ(w.messages.shown[0],
                  (Message{"Send an empty table? Every level of all 64 scenes on the controller "
                           "becomes 0%.",
                           "Ostrel Corvane", MessageButtons::YesNo, MessageIcon::Question,
                           MessageAnswer::No}));

        const bool sent = answer == MessageAnswer::Yes;
        EXPECT_EQ(w.frames(sim::Direction::Write), sent ? 64 : 0);
        EXPECT_EQ(sim::ToSceneTable(w.server.memory()), sent ? SceneTable{} : DemoShow());
        EXPECT_EQ(w.document.Changed, sent);
        EXPECT_EQ(w.window->lblFileName->text(), " File: None");
    }
}

TEST(SendQuestion, NotAskedOnceAFileOrAnEditHasFilledTheTableWhichIsThenSent) {
    struct Case {
        const char* file;
        bool changed;
    };
    for (const Case c :
         {Case{"/shows/a.SCN", false}, Case{"None", true}, Case{"/shows/a.SCN", true}}) {
        SCOPED_TRACE(std::string(c.file) + (c.changed ? ", changed" : ""));
        SimulatedWorld w;
        w.scenes = SceneTable::with({{0, 0, 255}, {40, 17, 10}, {63, 63, 128}});
        w.document.CurrentFile = c.file;
        w.document.Changed = c.changed;
        QTest::mouseClick(w.window->cmdSendScenes, Qt::LeftButton);
        EXPECT_TRUE(w.messages.shown.empty());
        EXPECT_EQ(w.frames(sim::Direction::Write), 64);
        EXPECT_EQ(sim::ToSceneTable(w.server.memory()), w.scenes);
        EXPECT_TRUE(w.document.Changed);  // sending counts as a change, as it always has
        EXPECT_EQ(w.window->lblFileName->text(), " File: " + QString(c.file));
    }
}

}  // namespace
}  // namespace corvane
