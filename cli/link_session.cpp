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

std::unique_ptr<LinkSession> LinkSession::open(const QCommandLineParser& parser,
                                               const LinkOptions& options, int* status) {
    const std::string port = text(parser.value(options.port));
    if (!parser.isSet(options.port) || port.empty()) {
        *status =
            complain(kUsage, "--port DEVICE is required (a device path, COM1 to COM8, or sim)");
        return nullptr;
    }
    const std::string nodeText = text(parser.value(options.node));
    const std::optional<int> node = ParseNodeNumber(nodeText);
    if (!node) {
        *status = complain(
            kUsage, "--node takes " + std::string(kNodeForms) + ", not \"" + nodeText + "\"");
        return nullptr;
    }
    std::string error;
    std::unique_ptr<ControllerConnection> connection = ConnectNamed(port, *node, &error);
    if (!connection) {
        *status = complain(kPortError, error);
        return nullptr;
    }
    return std::unique_ptr<LinkSession>(new LinkSession(std::move(connection)));
}

LinkSession::LinkSession(std::unique_ptr<ControllerConnection> connection)
    : connection_(std::move(connection)), onTerminal_(isatty(STDERR_FILENO) == 1) {}

TransferEvents LinkSession::events() {
    TransferEvents e;
    e.blockStarting = [this](int block) { progress(block); };
    e.stopRequested = [this] { return interrupt_.interrupted(); };
    return e;
}

void LinkSession::progress(int block) {
    const std::string line = ProgressText(block);
    if (onTerminal_) {
        std::fprintf(stderr, "\r%s", line.c_str());
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

int LinkSession::finish(const TransferOutcome& outcome, const char* failure,
                        const std::string& consequence) {
    endProgressLine();
    switch (outcome.kind) {
        case TransferOutcome::Kind::Done:
            return kDone;
        case TransferOutcome::Kind::BlockFailed:
            return complain(kNoAnswer, std::string(failure) + " The controller on " +
                                           connection_->label() + " (node " + std::to_string(connection_->node()) +
                                           ") did not answer block " +
                                           SceneNumberText(outcome.block) +
                                           " of 64 after three attempts. " + consequence);
        case TransferOutcome::Kind::PortFailed:
            return complain(kPortError,
                            DescribePortFailure(outcome, connection_->label()) + " " + consequence);
        case TransferOutcome::Kind::LevelOutOfRange:
            return complain(kFileError, DescribeLevelOutOfRange(outcome));
        case TransferOutcome::Kind::Interrupted:
            return complain(kInterrupted, "Interrupted: " + consequence);
    }
    return kNoAnswer;
}

}  // namespace corvane::cli
