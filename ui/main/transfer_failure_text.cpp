// What the window tells a technician when a transfer stops.
#include "ui/main/transfer_failure_text.h"

#include <QStringList>
#include <algorithm>
#include <string>
#include <vector>

#include "link/node_numbers.h"
#include "transfer/transfer_report.h"

namespace corvane {
namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// "COM1 (/dev/ttyS0)"; a port listed by its device is named once.
QString portName(const TransferPlace& place) {
    if (place.device.isEmpty() || place.device == place.portLabel) return place.portLabel;
    return place.portLabel + QStringLiteral(" (") + place.device + QLatin1Char(')');
}

QString consequence(TransferWay way, const TransferOutcome& outcome) {
    // A Get fills the table only once every block has arrived.
    if (way == TransferWay::Get) return QStringLiteral("The table is as it was.");
    return text(DescribeSendConsequence(outcome));
}

// Silence points at power, cable, port or node; a reply that arrived spoilt points at the line.
QString advice(const std::vector<AttemptResult>& attempts) {
    const bool heardSomething = std::any_of(attempts.begin(), attempts.end(), [](AttemptResult r) {
        return r != AttemptResult::NoAnswer;
    });
    if (heardSomething)
        return QStringLiteral(
            "Replies came back damaged, cut short or late: check the cable and its plugs, and "
            "that nothing else is on the line; then click again.");
    return QStringLiteral(
        "Check that the controller is switched on, that the cable is plugged in at both ends, "
        "and that the port and the node are the controller's; then click again.");
}

}  // namespace

Message BlockFailureMessage(TransferWay way, const TransferOutcome& outcome,
                            const TransferPlace& place) {
    QString block = text(ProgressText(outcome.block)) + QStringLiteral(" failed");
    const std::string met = DescribeAttempts(outcome.attempts);
    if (!met.empty()) block += QStringLiteral(": ") + text(met);
    const QStringList lines{QStringLiteral("Port ") + portName(place) + QStringLiteral(", ") +
                                text(NodeName(place.node)) + QLatin1Char('.'),
                            block + QLatin1Char('.'), consequence(way, outcome),
                            advice(outcome.attempts)};
    const QString details = lines.join(QLatin1Char('\n'));
    return way == TransferWay::Get ? messages::uploadError(details)
                                   : messages::downloadError(details);
}

Message PortFailureMessage(TransferWay way, const TransferOutcome& outcome,
                           const TransferPlace& place, int blockShown) {
    const QString headline = text(DescribePortFailure(outcome, place.portLabel.toStdString()));
    if (blockShown < 0) return messages::problem(headline);
    const QString details = text(NodeName(place.node)) + QStringLiteral(", ") +
                            text(ProgressText(blockShown)) + QStringLiteral(".\n") +
                            consequence(way, outcome);
    return messages::problem(headline, details);
}

}  // namespace corvane
