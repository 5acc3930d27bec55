// A command's line to a controller.
#include "cli/link_session.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "link/node_numbers.h"
#include "transfer/transfer_report.h"

namespace corvane::cli {
namespace {

constexpr int kLongestLimitMs = 60000;

// Our own sentences read on after a colon in lower case; one that begins with a file name is
// left as it is.
std::string AfterColon(std::string sentence) {
    if (sentence.rfind("The ", 0) == 0 || sentence.rfind("Nothing ", 0) == 0)
        sentence[0] = static_cast<char>(sentence[0] - 'A' + 'a');
    return sentence;
}

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
    return open(parser, options, text(parser.value(options.port)), status);
}

std::unique_ptr<LinkSession> LinkSession::open(const QCommandLineParser& parser,
                                               const LinkOptions& options, const std::string& port,
                                               int* status) {
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
            *status = complain(kUsage, "--node: " + DescribeBadNode(nodeText));
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

void LinkSession::runBeside(std::string lineName, std::function<bool()> stop) {
    lineName_ = std::move(lineName);
    stop_ = std::move(stop);
    onTerminal_ = false;
}

TransferEvents LinkSession::events(const std::string& phase) {
    TransferEvents e;
    e.blockStarting = [this, phase](int block) {
        progress((phase.empty() ? "" : phase + " ") + ProgressText(block));
    };
    e.stopRequested = [this] { return interrupted(); };
    return e;
}

ScanEvents LinkSession::scanEvents(std::function<void(int node)> found) {
    ScanEvents e;
    auto asked = std::make_shared<size_t>(0);
    e.probing = [this, asked](int node) {
        progress("Looking at " + NodeName(node) + " (" + std::to_string(++*asked) + " of " +
                 std::to_string(nodes_.size()) + ")");
    };
    e.confirming = [this](int node) { progress("Asking " + NodeName(node) + " again"); };
    if (found)
        e.found = [this, found = std::move(found)](int node) {
            clearProgressLine();
            found(node);
        };
    e.stopRequested = [this] { return interrupted(); };
    return e;
}

void LinkSession::progress(const std::string& what) {
    const std::string line = lineName_.empty() ? what : lineName_ + " " + what;
    if (onTerminal_) {
        // One line that updates in place, padded over a longer line before it.
        std::fprintf(stderr, "\r%-*s", static_cast<int>(shownLength_), line.c_str());
        shownLength_ = std::max(shownLength_, line.size());
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    std::fflush(stderr);
    started_ = true;
}

void LinkSession::clearProgressLine() {
    if (onTerminal_ && started_) {
        std::fprintf(stderr, "\r%*s\r", static_cast<int>(shownLength_), "");
        std::fflush(stderr);
    }
}

void LinkSession::endProgressLine() {
    if (onTerminal_ && started_) std::fputc('\n', stderr);
    started_ = false;
    shownLength_ = 0;
}

std::string LinkSession::place() {
    return NodeName(connection_->node()) + " on " + connection_->label();
}

void LinkSession::done(const std::string& what) {
    endProgressLine();
    std::fprintf(stderr, "%s\n", what.c_str());
    std::fflush(stderr);
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
            // The window's words for what each attempt met.
            return complain(kNoAnswer, std::string(failure) + " " + place() + ", " +
                                           ProgressText(outcome.block) + " failed: " +
                                           DescribeAttempts(outcome.attempts) + ". " + consequence);
        case TransferOutcome::Kind::PortFailed:
            return complain(kPortError, DescribePortFailure(outcome, connection_->label()) + " " +
                                            lostAt(outcome) + consequence);
        case TransferOutcome::Kind::LevelOutOfRange:
            return complain(kFileError, DescribeLevelOutOfRange(outcome));
        case TransferOutcome::Kind::Interrupted:
            return complain(kInterrupted, "Interrupted: " + AfterColon(consequence));
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
