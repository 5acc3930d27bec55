// Controller > Add Network Port...: the name asked for, a slip shown and asked again as typed,
// the name listed as given and remembered for the next run.
#include <gtest/gtest.h>

#include <QComboBox>

#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

QStringList AfterTheEight(const frmCVSceneTool& window) {
    QStringList entries;
    for (int i = 8; i < window.cboComPort->count(); ++i) entries << window.cboComPort->itemText(i);
    return entries;
}

TEST(AddNetworkPort, ASlipIsShownAndAskedAgainAndTheNameIsListedAndRemembered) {
    testing_support::MainWindowWorld w;
    w.prompt.answers = {QStringLiteral("tcp://lighting-rack"),
                        QStringLiteral(" rfc2217://[fd00::7]:4001 ")};
    w.window->mnuAddNetworkPort->trigger();
    ASSERT_EQ(w.prompt.asked.size(), 2u);
    EXPECT_EQ(w.prompt.asked[0], messages::addNetworkPort());
    EXPECT_EQ(w.prompt.asked[1].text, "tcp://lighting-rack") << "asked again as typed";
    EXPECT_EQ(w.messages.shown,
              (std::vector<Message>{messages::problem(
                  "Could not add the network port: \"tcp://lighting-rack\": the port number is "
                  "missing (:PORT).")}));
    const QStringList listed{"rfc2217://[fd00::7]:4001"};
    EXPECT_EQ(AfterTheEight(*w.window), listed);
    EXPECT_EQ(w.window->cboComPort->currentText(), listed[0]);
    w.prompt.answers = {std::nullopt};  // Cancel adds nothing
    w.window->mnuAddNetworkPort->trigger();
    EXPECT_EQ(AfterTheEight(*w.window), listed);
    w.open();
    EXPECT_EQ(AfterTheEight(*w.window), listed) << "the next run";
    EXPECT_EQ(w.window->cboComPort->currentText(), "COM1");
}

}  // namespace
}  // namespace corvane
