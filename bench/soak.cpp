// Soak run: many full transfers, Get and Send mixed, through the transfer layer against the
// simulated controller on a pseudo-terminal, each with faults drawn from a seed and judged by the
// invariant. Prints the counts of successes, reported failures and violations (which must be 0)
// and the wall time; the exit status is 1 when any transfer broke the invariant.
//
//   transfer_soak [--seed N] [--count N] [--paced] [--verbose]
//
// The line stays up from one transfer to the next, as it does for a technician who clicks again,
// until a close fault ends it; then a fresh simulated controller takes its place.
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "bench/soak_plan.h"
#include "bench/soak_verdict.h"
#include "connection/controller_connection.h"
#include "sim/pty_server.h"
#include "transfer/scene_transfer.h"

namespace {

using namespace corvane;
using namespace corvane::soak;
using Clock = std::chrono::steady_clock;

struct Options {
    uint64_t seed = 1;
    int count = 1000;
    bool paced = false;
    bool verbose = false;
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        char* end = nullptr;
        if (arg == "--seed" && hasValue) {
            o.seed = std::strtoull(argv[++i], &end, 10);
        } else if (arg == "--count" && hasValue) {
            o.count = static_cast<int>(std::strtol(argv[++i], &end, 10));
            if (o.count < 1) return false;
        } else if (arg == "--paced") {
            o.paced = true;
        } else if (arg == "--verbose") {
            o.verbose = true;
        } else {
            return false;
        }
        if (end != nullptr && *end != '\0') return false;
    }
    return true;
}

Ending RunTrial(const Trial& trial, sim::PtyServer& server) {
    server.clearFaults();
    server.setMemory(trial.controller);
    for (const sim::Fault& f : trial.faults) server.addFault(f);

    const std::unique_ptr<ControllerConnection> connection = ConnectSerial(server.devicePath(), 1);

    Ending e;
    e.device = server.devicePath();
    e.table = trial.tool;
    const auto start = Clock::now();
    e.outcome = trial.way == Way::Get ? connection->getScenes(e.table, {})
                                      : connection->sendScenes(e.table, {});
    e.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    e.portLeftOpen = connection->comCV().PortOpen();
    e.memory = server.memory();
    return e;
}

struct Tally {
    int done = 0;
    int failed = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: transfer_soak [--seed N] [--count N] [--paced] [--verbose]\n");
        return 2;
    }
    std::printf("Soak: %d transfers, seed %llu, %s line\n", options.count,
                static_cast<unsigned long long>(options.seed),
                options.paced ? "paced 38400-baud" : "unpaced");
    std::fflush(stdout);

    TrialDraw draw(options.seed);
    sim::PtyServerOptions serverOptions;
    serverOptions.paced = options.paced;
    std::unique_ptr<sim::PtyServer> server;
    int violations = 0;
    int unexpected = 0;
    int lines = 0;
    Tally total;
    std::map<std::string, Tally> byKind;
    const auto start = Clock::now();

    for (int i = 1; i <= options.count; ++i) {
        const Trial trial = draw.next();
        if (!server) {
            server = std::make_unique<sim::PtyServer>(sim::ControllerEngine(), serverOptions);
            ++lines;
        }
        const Ending ending = RunTrial(trial, *server);
        const Verdict verdict = Judge(trial, ending);
        // The tool can see the hang-up before the simulator has marked its line closed; a line
        // that failed is not used again.
        if (ending.outcome.kind == TransferOutcome::Kind::PortFailed) server.reset();

        const bool done = verdict.kind == Verdict::Kind::Done;
        if (verdict.kind == Verdict::Kind::Violation) {
            ++violations;
        } else {
            (done ? total.done : total.failed)++;
            for (const sim::Fault& f : trial.faults) {
                Tally& t = byKind[std::string(sim::FaultKindName(f.kind))];
                ++(done ? t.done : t.failed);
            }
        }
        if (verdict.unexpected) ++unexpected;
        if (verdict.kind == Verdict::Kind::Violation || verdict.unexpected || options.verbose) {
            std::printf("#%d %-32s %5lld ms  %s%s\n", i, Describe(trial).c_str(),
                        static_cast<long long>(ending.took.count()),
                        verdict.kind == Verdict::Kind::Violation ? "VIOLATION: "
                        : verdict.unexpected                     ? "unexpected: "
                        : done                                   ? "done"
                                                                 : "reported failure",
                        verdict.why.c_str());
        }
        if (i % 100 == 0) {
            std::fprintf(stderr, "%d transfers, %.0f s\n", i,
                         std::chrono::duration<double>(Clock::now() - start).count());
        }
    }

    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf(
        "\nfault kind  successes  reported failures  (a transfer with two faults counts twice)\n");
    for (const auto& [kind, t] : byKind)
        std::printf("%-10s %10d %18d\n", kind.c_str(), t.done, t.failed);
    std::printf("\ntransfers %d  successes %d  reported failures %d  violations %d\n",
                options.count, total.done, total.failed, violations);
    std::printf(
        "unexpected outcomes %d (the invariant held, but not the outcome the faults call for)\n",
        unexpected);
    std::printf("wall time %.1f s (%.3f s per transfer), %d simulated lines\n", wall,
                wall / options.count, lines);
    return violations == 0 ? 0 : 1;
}
