// Times Get and Send through the transfer layer against the simulated controller on a
// pseudo-terminal, beside the wire-time floor of the characters exchanged at 38400 baud.
//   unpaced: the tool's own overhead; paced: what a technician waits; silent: one block that
//   never answers (three attempts), where the tool should sleep, not spin. Then the search for
//   controllers, and backup over one line and over four lines at once.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "bench/network_figures.h"
#include "cli/command_set.h"
#include "cli/standard_output.h"
#include "connection/controller_connection.h"
#include "sim/demo_show.h"
#include "sim/pty_server.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

double ThreadCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Figures {
    double wall = 0;
    double cpu = 0;
    size_t characters = 0;
    bool ok = false;
};

enum class Direction { Get, Send };

Figures Measure(Direction direction, bool paced, int silentBlock) {
    sim::ControllerEngine engine;
    engine.setMemory(sim::DemoMemory());
    sim::PtyServerOptions options;
    options.paced = paced;
    sim::PtyServer server(std::move(engine), options);
    if (silentBlock >= 0)
        server.addFault({silentBlock, sim::FaultKind::Drop, sim::kAlways, sim::Direction::Any});

    const std::unique_ptr<ControllerConnection> connection = ConnectSerial(server.devicePath(), 1);
    SceneTable scenes = DemoShow();

    const double cpu0 = ThreadCpuSeconds();
    const auto t0 = Clock::now();
    const TransferOutcome outcome = direction == Direction::Get
                                        ? connection->getScenes(scenes, {})
                                        : connection->sendScenes(scenes, {});
    Figures f;
    f.wall = std::chrono::duration<double>(Clock::now() - t0).count();
    f.cpu = ThreadCpuSeconds() - cpu0;
    f.ok = outcome.ok();
    const size_t request = direction == Direction::Get ? 15 : 143;
    const size_t reply = direction == Direction::Get ? 132 : 6;
    for (const sim::RequestRecord& r : server.requests())
        f.characters += request + (r.fault ? 0 : reply);
    return f;
}

// A line with controllers at nodes, paced or not, the connection to it on node 1.
struct Line {
    sim::PtyServer server;
    std::unique_ptr<ControllerConnection> connection;
    // lateMs above 0: block 0 is answered that late, by slowNode or (0) by every node.
    Line(const std::vector<int16_t>& nodes, bool paced, int lateMs = 0, int slowNode = 0)
        : server(Engine(nodes, lateMs), sim::PtyServerOptions{paced, {}}),
          connection(ConnectSerial(server.devicePath(), 1)) {
        if (lateMs > 0)
            server.addFault(
                {0, sim::FaultKind::Late, sim::kAlways, sim::Direction::Read, slowNode});
    }
    // No nodes: a line whose only controller is at 255, which nobody asks.
    static sim::ControllerEngine Engine(const std::vector<int16_t>& nodes, int lateMs) {
        sim::ControllerEngine engine(
            sim::EngineOptions{.node = nodes.empty() ? int16_t{255} : nodes.front(),
                               .lateDelay = std::chrono::milliseconds(lateMs)});
        for (int16_t n : nodes) engine.addNode(n, sim::DemoMemory());
        return engine;
    }
};

std::vector<int> AllNodes() {
    std::vector<int> nodes;
    for (int n = 1; n <= 254; ++n) nodes.push_back(n);
    return nodes;
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

std::vector<int> Range(int first, int last) {
    std::vector<int> nodes;
    for (int n = first; n <= last; ++n) nodes.push_back(n);
    return nodes;
}

std::string Listed(const std::vector<int>& nodes) {
    std::string text;
    for (int n : nodes) text += (text.empty() ? "" : ",") + std::to_string(n);
    return "{" + text + "}";
}

// Controllers whose replies come late, as the scan meets them: who is listed, and how long it took.
void PrintLateReplies() {
    struct Row {
        std::vector<int16_t> served;
        int first, last;
        int lateMs;
        int slowNode;  // 0: every node
    };
    std::printf("\nLate replies, paced (limit %d ms per node)\n", kProbeLimitMs);
    std::printf("%-10s %-8s %-9s %-10s %-4s %s\n", "served", "asked", "late ms", "listed", "",
                "wall");
    std::vector<Row> rows;
    for (const std::vector<int16_t>& served :
         {std::vector<int16_t>{1, 3, 6}, std::vector<int16_t>{253, 254}}) {
        const bool low = served.front() == 1;
        for (int late : {0, 150, 300, 450, 900})
            rows.push_back({served, low ? 1 : 250, low ? 8 : 254, late, 0});
        rows.push_back({served, low ? 1 : 250, low ? 8 : 254, 450, served.back()});
    }
    for (const Row& r : rows) {
        Line line(r.served, true, r.lateMs, r.slowNode);
        const auto t0 = Clock::now();
        const ScanOutcome o = line.connection->scanNodes(Range(r.first, r.last), kProbeLimitMs, {});
        std::vector<int> found = o.found;
        std::sort(found.begin(), found.end());
        const std::vector<int> expected(r.served.begin(), r.served.end());
        const std::string late =
            std::to_string(r.lateMs) + (r.slowNode ? " @" + std::to_string(r.slowNode) : "");
        std::printf("%-10s %-8s %-9s %-10s %-4s %6.3f s\n", Listed(expected).c_str(),
                    (std::to_string(r.first) + "-" + std::to_string(r.last)).c_str(), late.c_str(),
                    Listed(found).c_str(), found == expected ? "ok" : "fail", Seconds(t0));
    }
}

void PrintSearches() {
    constexpr double kLimit = kProbeLimitMs / 1000.0;
    const double silentBound = 254 * (kLimit + 0.005);
    std::printf("\nSearching a line (limit %d ms per node)\n", kProbeLimitMs);
    {
        Line silent({}, true);
        const auto t0 = Clock::now();
        const ScanOutcome o = silent.connection->scanNodes(AllNodes(), kProbeLimitMs, {});
        // The line is heard out for the full limit after the last node: of the 5 ms per node,
        // that leaves (254 x 5 ms - (1 s - limit)) / 253 for each request's own overhead.
        const double wall = Seconds(t0);
        std::printf(
            "%-34s %-4s wall %7.3f s  bound 254 x (limit + 5 ms) %7.3f s  (%5.2f ms per "
            "node beyond the limit and the closing second)\n",
            "scan, 254 silent nodes", o.ok() && o.found.empty() ? "ok" : "fail", wall, silentBound,
            (wall - kConfirmLimitMs / 1000.0) * 1000.0 / 253 - kProbeLimitMs);
    }
    {
        Line two({3, 254}, true);
        const auto t0 = Clock::now();
        const ScanOutcome o = two.connection->scanNodes(AllNodes(), kProbeLimitMs, {});
        const bool both = o.found == std::vector<int>{3, 254};
        std::printf("%-34s %-4s wall %7.3f s  silent bound + 2 confirmations %7.3f s\n",
                    "scan, nodes 3 and 254 served", both ? "ok" : "fail", Seconds(t0),
                    silentBound + 2 * kConfirmLimitMs / 1000.0);
    }
    for (int late : {150, 450, 900}) {
        // What one slow controller adds to the same line: every node asked in the second before
        // its reply is asked again.
        Line slow({3, 254}, true, late, 3);
        const auto t0 = Clock::now();
        const ScanOutcome o = slow.connection->scanNodes(AllNodes(), kProbeLimitMs, {});
        std::vector<int> found = o.found;
        std::sort(found.begin(), found.end());
        const std::string name = "scan, 3 (" + std::to_string(late) + " ms late) and 254";
        std::printf("%-34s %-4s wall %7.3f s  over the silent bound %7.3f s\n", name.c_str(),
                    found == std::vector<int>{3, 254} ? "ok" : "fail", Seconds(t0),
                    Seconds(t0) - silentBound);
    }
    {
        Line three({3, 17, 254}, true);
        const auto t0 = Clock::now();
        const ScanOutcome o = three.connection->scanNodes(AllNodes(), kProbeLimitMs, {});
        const double scan = Seconds(t0);
        bool ok = o.found.size() == 3;
        for (int node : o.found) {
            three.connection->setNode(node);
            SceneTable scenes;
            ok = three.connection->getScenes(scenes, {}).ok() && ok;
        }
        const double all = Seconds(t0);
        // A Get's wire time at 38400 baud: 64 requests of 15 characters and replies of 132.
        const double getWire = 64.0 * (15 + 132) * sim::kBitsPerCharacter / sim::kLineBaud;
        std::printf(
            "%-34s %-4s wall %7.3f s  scan %7.3f s + 3 Gets' wire time %6.3f s: ratio %5.3f (goal "
            "<= 1.03)\n",
            "backup, 3 controllers, paced", ok ? "ok" : "fail", all, scan, 3 * getWire,
            all / (scan + 3 * getWire));
    }
    {
        // Find as the window runs it: from the node after the selected one, the first to answer.
        Line next({18}, true);
        std::vector<int> fromSeventeen;
        for (int n = 18; n <= 254; ++n) fromSeventeen.push_back(n);
        for (int n = 1; n <= 17; ++n) fromSeventeen.push_back(n);
        const auto t0 = Clock::now();
        const ScanOutcome o = next.connection->scanNodes(fromSeventeen, kProbeLimitMs, {}, true);
        std::printf("%-34s %-4s wall %7.3f s  (goal < 0.3 s: asked on a quiet line)\n",
                    "find, controller at the next node",
                    o.found == std::vector<int>{18} ? "ok" : "fail", Seconds(t0));
    }
}

// corvane-scenes backup over the lines at devices, nodes 1 to 4, as the command runs it, its
// output set aside: the seconds it took, and whether every controller was saved.
std::pair<double, bool> TimeBackup(const std::vector<std::string>& devices) {
    QTemporaryDir dir;
    QStringList args{"corvane-scenes", "backup", "--nodes", "1-4"};
    for (const std::string& d : devices) args << "--port" << QString::fromStdString(d);
    args << dir.path();
    std::fflush(stderr);
    const int savedErr = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    dup2(null, STDERR_FILENO);
    cli::StandardOutput out(fdopen(null, "w"));
    const auto t0 = Clock::now();
    const int status = cli::Backup(args, out);
    const double seconds = Seconds(t0);
    out.close();
    std::fflush(stderr);
    dup2(savedErr, STDERR_FILENO);
    close(savedErr);
    return {seconds, status == 0};
}

void PrintLines() {
    std::printf("\nBackup over several lines at once (paced, nodes 1-4, controllers at 1 and 3)\n");
    std::vector<std::unique_ptr<sim::PtyServer>> lines;
    std::vector<std::string> devices;
    for (int i = 0; i < 4; ++i) {
        lines.push_back(std::make_unique<sim::PtyServer>(Line::Engine({1, 3}, 0),
                                                         sim::PtyServerOptions{true, {}}));
        devices.push_back(lines.back()->devicePath());
    }
    double slowest = 0;
    bool ok = true;
    for (const std::string& device : devices) {
        const auto [seconds, saved] = TimeBackup({device});
        slowest = std::max(slowest, seconds);
        ok = ok && saved;
    }
    const auto [together, saved] = TimeBackup(devices);
    std::printf("%-34s %-4s wall %7.3f s\n", "backup, slowest line alone", ok ? "ok" : "fail",
                slowest);
    std::printf("%-34s %-4s wall %7.3f s  ratio %5.3f (goal <= 1.15)\n",
                "backup, 4 lines x 2 controllers", saved ? "ok" : "fail", together,
                together / slowest);
}

void Print(const char* name, const Figures& f) {
    const double floor =
        static_cast<double>(f.characters) * sim::kBitsPerCharacter / sim::kLineBaud;
    std::printf(
        "%-22s %-4s wall %8.3f s  wire floor %6.3f s  ratio %7.3f  cpu %6.3f s (%5.2f%% of wall)\n",
        name, f.ok ? "ok" : "fail", f.wall, floor, floor > 0 ? f.wall / floor : 0.0, f.cpu,
        f.wall > 0 ? 100.0 * f.cpu / f.wall : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // --network: only the figures through a device server.
    if (argc > 1 && std::string(argv[1]) == "--network") {
        bench::PrintNetworkFigures();
        return 0;
    }
    std::printf(
        "Transfers against the simulated controller on a pseudo-terminal (cpu: the tool's thread "
        "only)\n");
    Print("get, unpaced", Measure(Direction::Get, false, -1));
    Print("send, unpaced", Measure(Direction::Send, false, -1));
    Print("get, paced 38400", Measure(Direction::Get, true, -1));
    Print("send, paced 38400", Measure(Direction::Send, true, -1));
    Print("get, block 0 silent", Measure(Direction::Get, false, 0));
    Print("send, block 0 silent", Measure(Direction::Send, false, 0));
    std::printf(
        "Goals: paced ratio <= 1.03; unpaced get < 0.1 s; cpu <= 2%% of wall while a block is "
        "silent.\n");
    PrintSearches();
    PrintLateReplies();
    PrintLines();
    bench::PrintNetworkFigures();
    return 0;
}
