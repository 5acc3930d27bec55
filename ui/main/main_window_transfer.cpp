// The two transfer buttons: the blocks move below the window; the window shows progress and
// what went wrong.
#include <QComboBox>
#include <QLabel>

#include "document/message_box.h"
#include "document/scene_table.h"
#include "link/controller_link.h"
#include "transfer/scene_transfer.h"
#include "transfer/transfer_report.h"
#include "ui/main/input_discard.h"
#include "ui/main/main_window.h"
#include "ui/main/port_combo_box.h"

namespace corvane {

void frmCVSceneTool::showProgress(int block) {
    const int n = block + 1;
    lblFileName->setText(QStringLiteral("Block: %1 Of 64").arg(n, 2, 10, QLatin1Char('0')));
    // The transfer holds the thread until it ends, so the label is painted now or not at all.
    lblFileName->repaint();
}

void frmCVSceneTool::reportPortFailure(const TransferOutcome& outcome) {
    const std::string label = cboComPort->currentText().toStdString();
    parts_.messages.show(messages::problem(QString::fromStdString(DescribePortFailure(outcome, label))));
}

void frmCVSceneTool::cmdGetScenes_Click() {
    const auto commPort = static_cast<int16_t>(cboComPort->currentIndex() + 1);
    InputDiscard discard;
    TransferEvents events;
    events.blockStarting = [this](int block) { showProgress(block); };
    events.blockFailed = [this, &discard](const TransferOutcome&) {
        discard.end();
        parts_.messages.show(messages::uploadError());
    };

    const TransferOutcome outcome = SceneTransfer(*link_).GetScenes(commPort, parts_.Scenes, events);
    discard.end();
    if (outcome.kind == TransferOutcome::Kind::PortFailed) reportPortFailure(outcome);
    if (outcome.ok()) parts_.document.Changed = true;
    UpdateTitle();
}

void frmCVSceneTool::cmdSendScenes_Click() {
    const auto commPort = static_cast<int16_t>(cboComPort->currentIndex() + 1);
    InputDiscard discard;
    TransferEvents events;
    events.blockStarting = [this](int block) { showProgress(block); };
    events.blockFailed = [this, &discard](const TransferOutcome&) {
        discard.end();
        parts_.messages.show(messages::downloadError());
    };

    const TransferOutcome outcome = SceneTransfer(*link_).SendScenes(commPort, parts_.Scenes, events);
    discard.end();
    if (outcome.kind == TransferOutcome::Kind::PortFailed) reportPortFailure(outcome);
    if (outcome.kind == TransferOutcome::Kind::LevelOutOfRange)
        parts_.messages.show(messages::problem(QString::fromStdString(DescribeLevelOutOfRange(outcome))));
    if (outcome.ok()) parts_.document.Changed = true;
    UpdateTitle();
}

}  // namespace corvane
