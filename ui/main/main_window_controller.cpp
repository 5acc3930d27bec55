// The Controller menu: finding a controller on the selected port, and comparing the table with the
// selected controller. Neither changes the table, Changed or CurrentFile.
#include <QComboBox>
#include <algorithm>
#include <vector>

#include "connection/controller_connection.h"
#include "document/message_box.h"
#include "document/scene_names.h"
#include "link/node_numbers.h"
#include "scale/level_scale.h"
#include "ui/main/main_window.h"
#include "ui/main/progress_dialog.h"

namespace corvane {
namespace {

constexpr int kDifferencesListed = 20;

// Every node but the selected one, from the one after it round to it: after FE comes 01, so each
// Find on a line with several controllers moves on to the next.
std::vector<int> NodesAfter(int selected) {
    std::vector<int> order;
    for (int i = 1; i <= kLastNode; ++i) order.push_back((selected - 1 + i) % kLastNode + 1);
    return order;
}

// "Scene 01, Dimmer 01.1: table 50%, controller 48%", with the levels where the percentages
// read the same.
QString DifferenceLine(int scene, int dimmer, int16_t table, int16_t controller) {
    const std::string tableText = LevelText(table);
    const std::string controllerText = LevelText(controller);
    std::string line = "Scene " + SceneNumberText(scene) + ", " + DimmerName(dimmer) + ": table " +
                       tableText + ", controller " + controllerText;
    if (tableText == controllerText)
        line += " (levels " + std::to_string(table) + " and " + std::to_string(controller) + ")";
    return QString::fromStdString(line);
}

// where: "Node: 03 on COM1", the controller compared.
Message ComparisonMessage(const SceneTable& table, const SceneTable& controller,
                          const QString& where) {
    QStringList lines;
    int differences = 0;
    for (int s = 0; s < kSceneCount; ++s) {
        for (int d = 0; d < kDimmerCount; ++d) {
            if (table(s, d) == controller(s, d)) continue;
            if (++differences <= kDifferencesListed)
                lines << DifferenceLine(s, d, table(s, d), controller(s, d));
        }
    }
    if (differences == 0)
        return messages::information(where +
                                     QStringLiteral(" holds the same 64 scenes as the table."));
    if (differences > kDifferencesListed)
        lines << QStringLiteral("and %1 more.").arg(differences - kDifferencesListed);
    const QString count = differences == 1 ? QStringLiteral("1 level differs")
                                           : QStringLiteral("%1 levels differ").arg(differences);
    return messages::information(
        count + QStringLiteral(" between the table and ") + where + QLatin1Char('.'),
        lines.join(QLatin1Char('\n')));
}

}  // namespace

void frmCVSceneTool::mnuFindController_Click() {
    const QString port = cboComPort->shortName();
    const std::unique_ptr<ControllerConnection> connection = connectSelected();
    if (!parts_.progress && !ownProgress_) ownProgress_ = std::make_unique<QtProgressDialog>(this);
    ProgressDialog& dialog = parts_.progress != nullptr ? *parts_.progress : *ownProgress_;

    const std::vector<int> order = NodesAfter(cboNode->currentIndex() + 1);
    dialog.begin(QStringLiteral("Find Controller"), static_cast<int>(order.size()));
    int asked = 0;
    bool cancelled = false;
    ScanEvents events;
    events.probing = [&](int node) {
        const QString text = QStringLiteral("Looking for a controller on %1: %2")
                                 .arg(port, QString::fromStdString(NodeName(node)));
        cancelled = !dialog.step(text, asked++);
    };
    // A node that answered is asked again before it is named; Cancel is answered meanwhile.
    events.confirming = [&](int node) {
        const QString text = QStringLiteral("Looking for a controller on %1: %2, asking again")
                                 .arg(port, QString::fromStdString(NodeName(node)));
        cancelled = cancelled || !dialog.step(text, std::max(asked - 1, 0));
    };
    events.stopRequested = [&] { return cancelled; };
    const ScanOutcome outcome = connection->scanNodes(order, parts_.findLimitMs, events, true);
    dialog.end();

    switch (outcome.kind) {
        case ScanOutcome::Kind::Interrupted:
            return;
        case ScanOutcome::Kind::PortFailed: {
            TransferOutcome port;
            port.kind = TransferOutcome::Kind::PortFailed;
            port.portDevice = outcome.portDevice;
            port.portReason = outcome.portReason;
            reportPortFailure(port, TransferWay::Get);
            return;
        }
        case ScanOutcome::Kind::Done:
            break;
    }
    if (outcome.found.empty()) {
        parts_.messages.show(
            messages::information(QStringLiteral("No controller answered on %1.").arg(port)));
        return;
    }
    const int node = outcome.found.front();
    cboNode->setCurrentIndex(node - 1);
    parts_.messages.show(
        messages::information(QStringLiteral("Found a controller at %1 on %2.")
                                  .arg(QString::fromStdString(NodeName(node)), port)));
}

void frmCVSceneTool::mnuCompareController_Click() {
    SceneTable held;
    const TransferOutcome outcome = runTransfer(
        TransferWay::Get, [&held](ControllerConnection& connection, const TransferEvents& events) {
            return connection.getScenes(held, events);
        });
    UpdateTitle();
    if (!outcome.ok()) return;
    const TransferPlace place = transferPlace();
    parts_.messages.show(ComparisonMessage(
        parts_.Scenes, held,
        QString::fromStdString(NodeName(place.node)) + QStringLiteral(" on ") + place.portLabel));
}

}  // namespace corvane
