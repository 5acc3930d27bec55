// A command's line to a controller.
#include "cli/link_session.h"

#include <unistd.h>

#include <cstdio>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "document/scene_names.h"
#include "link/node_numbers.h"
#include "transfer/transfer_report.h"

namespace corvane::cli {
namespace {

constexpr int kLongestLimitMs = 60000;

}  // namespace

void LinkOptions::addTo(QCommandLineParser& parser) const {
    parser.addOption(port);
    if (reach == Reach::OneNode) {
        parser.addOption(node);
    } else {
        parser.addOption(nodes);
        parser.addOption(limit);
    }
}

std::unique_ptr<LinkSession> LinkSession::open(const QCommandLineParser& parser,
                                               const LinkOptions& options, int* status) {
    const std::string port = text(parser.value(options.port));
    if (!parser.isSet(options.port) || port.empty()) {
        *status = complain(kUsage,
                           "--port DEVICE is required (a device path, COM1 to COM8, "
                           "rfc2217://HOST:PORT, tcp://HOST:PORT, or sim)");
        return nullptr;
    }
    if (std::string problem; !CheckPortName(port, &problem)) {
        *status = complain(kUsage, "--port: " + problem);
        return nullptr;
    }
    int node = kFirstNode;
    std::vector<int> nodes;
    int32_t limitMs = kProbeLimitMs;
    if (options.reach == LinkOptions::Reach::OneNode) {
        const std::string nodeText = text(parser.value(options.node));
        const std::optional<int> parsed = ParseNodeNumber(nodeText);
        if (!parsed) {
            *status = complain(
                kUsage, "--node takes " + std::string(kNodeForms) + ", not \"" + nodeText + "\"");
            return nullptr;
        }
        node = *parsed;
    } else {
        std::string problem;
        const std::optional<std::vector<int>> list =
            ParseNodeList(text(parser.value(options.nodes)), &problem);
        if (!list) {
            *status = complain(kUsage, "--nodes: " + problem);
            return nullptr;
        }
        nodes = *list;
        bool numeric = false;
        limitMs = parser.value(options.limit).toInt(&numeric, 10);
        if (!numeric || limitMs < 1 || limitMs > kLongestLimitMs) {
            *status =
                complain(kUsage, "--limit takes a number of milliseconds from 1 to 60000, not \"" +
                                     text(parser.value(options.limit)) + "\"");
            return nullptr;
        }
    }
    std::string error;
    std::unique_ptr<ControllerConnection> connection = ConnectNamed(port, node, &error);
    if (!connection) {
        *status = complain(kPortError, error);
        return nullptr;
    }
    std::unique_ptr<LinkSession> session(new LinkSession(std::move(connection)));
    session->nodes_ = std::move(nodes);
    session->limitMs_ = limitMs;
    return session;
}

LinkSession::LinkSession(std::unique_ptr<ControllerConnection> connection)
    : connection_(std::move(connection)), onTerminal_(isatty(STDERR_FILENO) == 1) {}

TransferEvents LinkSession::events() {
    TransferEvents e;
    e.blockStarting = [this](int block) { progress(ProgressText(block)); };
    e.stopRequested = [this] { return interrupt_.interrupted(); };
    return e;
}

ScanEvents LinkSession::scanEvents() {
    ScanEvents e;
    e.probing = [this](int node) { progress("Looking at " + NodeName(node)); };
    e.stopRequested = [this] { return interrupt_.interrupted(); };
    return e;
}

void LinkSession::progress(const std::string& line) {
    if (onTerminal_) {
        // One line that updates in place; padded over a longer line before it.
        std::fprintf(stderr, "\r%-24s", line.c_str());
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    std::fflush(stderr);
    started_ = true;
}

void LinkSession::endProgressLine() {
    if (onTerminal_ && started_) std::fputc('\n', stderr);
    started_ = false;
}

std::string LinkSession::lostAt(const TransferOutcome& outcome) const {
    if (outcome.block < 0) return {};
    return NodeName(connection_->node()) + ", " + ProgressText(outcome.block) + ". ";
}

int LinkSession::finish(const TransferOutcome& outcome, const char* failure,
                        const std::string& consequence) {
    endProgressLine();
    switch (outcome.kind) {
        case TransferOutcome::Kind::Done:
            return kDone;
        case TransferOutcome::Kind::BlockFailed:
            return complain(kNoAnswer,
                            std::string(failure) + " The controller on " + connection_->label() +
                                " (node " + std::to_string(connection_->node()) +
                                ") did not answer block " + SceneNumberText(outcome.block) +
                                " of 64 after three attempts. " + consequence);
        case TransferOutcome::Kind::PortFailed:
            return complain(kPortError, DescribePortFailure(outcome, connection_->label()) + " " +
                                            lostAt(outcome) + consequence);
        case TransferOutcome::Kind::LevelOutOfRange:
            return complain(kFileError, DescribeLevelOutOfRange(outcome));
        case TransferOutcome::Kind::Interrupted:
            return complain(kInterrupted, "Interrupted: " + consequence);
    }
    return kNoAnswer;
}

int LinkSession::finish(const ScanOutcome& outcome) {
    endProgressLine();
    switch (outcome.kind) {
        case ScanOutcome::Kind::Done:
            return kDone;
        case ScanOutcome::Kind::PortFailed:
            return complain(kPortError, DescribePortFailure(outcome.portDevice, outcome.portReason,
                                                            connection_->label()));
        case ScanOutcome::Kind::Interrupted:
            return complain(kInterrupted, "Interrupted: the search did not reach every node.");
    }
    return kNoAnswer;
}

}  // namespace corvane::cli
