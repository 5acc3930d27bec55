// The two transfer buttons: the blocks move below the window; the window shows progress and
// what went wrong.
#include <QComboBox>
#include <QLabel>

#include "connection/controller_connection.h"
#include "document/message_box.h"
#include "document/scene_table.h"
#include "transfer/scene_transfer.h"
#include "transfer/transfer_report.h"
#include "ui/grid/scene_history.h"
#include "ui/main/input_discard.h"
#include "ui/main/main_window.h"
#include "ui/main/port_combo_box.h"

namespace corvane {
namespace {

// A Get replaces the whole table, so unsaved changes are guarded as New, Open and Exit guard them.
bool getApproved(const DocumentState& document, MessageBox& box) {
    return !document.Changed || box.show(messages::discardChanges()) == MessageAnswer::Yes;
}

// Untitled and unchanged, the table is as start-up or New left it, all zero: sending it would
// blank every scene of the controller.
bool sendApproved(const DocumentState& document, MessageBox& box) {
    if (document.CurrentFile != kNoFile || document.Changed) return true;
    return box.show(messages::sendEmptyTable()) == MessageAnswer::Yes;
}

}  // namespace

void frmCVSceneTool::showProgress(int block) {
    blockShown_ = block;
    lblFileName->setText(QString::fromStdString(ProgressText(block)));
    // The transfer holds the thread until it ends, so the label is painted now or not at all.
    lblFileName->repaint();
}

TransferPlace frmCVSceneTool::transferPlace() const {
    return {cboComPort->shortName(), cboComPort->currentData().toString(),
            cboNode->currentIndex() + 1};
}

void frmCVSceneTool::reportPortFailure(const TransferOutcome& outcome, TransferWay way) {
    parts_.messages.show(PortFailureMessage(way, outcome, transferPlace(), blockShown_));
}

TransferOutcome frmCVSceneTool::runTransfer(
    TransferWay way,
    const std::function<TransferOutcome(ControllerConnection&, const TransferEvents&)>& transfer) {
    const std::unique_ptr<ControllerConnection> connection = connectSelected();
    InputDiscard discard;
    TransferEvents events;
    events.blockStarting = [this](int block) { showProgress(block); };
    events.blockFailed = [this, way, &discard](const TransferOutcome& failed) {
        discard.end();
        parts_.messages.show(BlockFailureMessage(way, failed, transferPlace()));
    };
    TransferOutcome outcome = transfer(*connection, events);
    discard.end();
    if (outcome.kind == TransferOutcome::Kind::PortFailed) reportPortFailure(outcome, way);
    return outcome;
}

void frmCVSceneTool::cmdGetScenes_Click() {
    if (!getApproved(parts_.document, parts_.messages)) return;
    const TransferOutcome outcome = runTransfer(
        TransferWay::Get, [this](ControllerConnection& connection, const TransferEvents& events) {
            return connection.getScenes(parts_.Scenes, events);
        });
    // The controller's table replaces the steps that led to the old one.
    if (outcome.ok()) history_->replaced(false);
    if (outcome.ok()) parts_.document.Changed = true;
    UpdateTitle();
}

void frmCVSceneTool::cmdSendScenes_Click() {
    if (!sendApproved(parts_.document, parts_.messages)) return;
    const TransferOutcome outcome = runTransfer(
        TransferWay::Send, [this](ControllerConnection& connection, const TransferEvents& events) {
            return connection.sendScenes(parts_.Scenes, events);
        });
    if (outcome.kind == TransferOutcome::Kind::LevelOutOfRange)
        parts_.messages.show(
            messages::problem(QString::fromStdString(DescribeLevelOutOfRange(outcome))));
    if (outcome.ok()) parts_.document.Changed = true;
    UpdateTitle();
}

}  // namespace corvane
