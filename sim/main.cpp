// corvane-sim: a simulated controller on a pseudo-terminal whose device is the first line printed.
#include <pthread.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <system_error>

#include "document/scene_file.h"
#include "link/node_numbers.h"
#include "sim/demo_show.h"
#include "sim/memory_file.h"
#include "sim/pty_server.h"
#include "sim/request_log.h"
#include "sim/sim_command_line.h"

namespace {

using namespace corvane::sim;

void say(const std::string& line) {
    const std::string text = "corvane-sim: " + line + "\n";
    std::fputs(text.c_str(), stderr);
}

std::string nodesText(const std::vector<int16_t>& nodes) {
    std::string text = nodes.size() == 1 ? "node " : "nodes ";
    for (size_t i = 0; i < nodes.size(); ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(nodes[i]) + " (" +
                corvane::NodeName(nodes[i]) + ")";
    return text;
}

// Where a node's memory is saved: FILE itself for one node, FILE-N.SCN for each of several.
QString savePathFor(const SimSettings& settings, int16_t node) {
    if (settings.nodes.size() == 1) return settings.savePath;
    const QFileInfo file(settings.savePath);
    const QString suffix = file.suffix().isEmpty() ? QStringLiteral("SCN") : file.suffix();
    return file.dir().filePath(
        QStringLiteral("%1-%2.%3").arg(file.completeBaseName()).arg(node).arg(suffix));
}

// Waits for a stop signal, or for the line to be closed by a fault; true for a signal.
bool waitForStop(const sigset_t& stopSignals, const PtyServer& server) {
    const timespec poll{0, 100'000'000};
    for (;;) {
        siginfo_t info{};
        if (sigtimedwait(&stopSignals, &info, &poll) > 0) return true;
        if (server.lineClosed()) return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The stop signals are blocked in every thread (the server's thread inherits this) and taken
    // here, synchronously, so that saving on exit runs as ordinary code, not in a handler.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    const SimCommandLine commandLine = ParseSimCommandLine(QCoreApplication::arguments());
    switch (commandLine.outcome) {
        case SimCommandLine::Outcome::Help:
            std::fputs(commandLine.text.c_str(), stdout);
            return kExitOk;
        case SimCommandLine::Outcome::Version:
            std::printf("corvane-sim %s\n", CORVANE_VERSION);
            return kExitOk;
        case SimCommandLine::Outcome::Error:
            say(commandLine.text + " (see corvane-sim --help)");
            return kExitUsage;
        case SimCommandLine::Outcome::Run:
            break;
    }
    const SimSettings& settings = commandLine.settings;

    // The memory is saved only when the simulator ends; a path that cannot take it is said now,
    // not after a session's writes are lost.
    if (!settings.savePath.isEmpty()) {
        for (int16_t node : settings.nodes) {
            QString saveProblem;
            if (!corvane::CheckSaveTarget(savePathFor(settings, node), &saveProblem)) {
                say(saveProblem.toStdString());
                return kExitFailure;
            }
        }
    }

    SceneMemory memory{};
    std::string problem;
    if (settings.loadPath.isEmpty()) {
        FromSceneTable(corvane::DemoShow(), memory, &problem);
    } else if (!LoadMemoryFile(settings.loadPath, memory, &problem)) {
        say(problem);
        return kExitFailure;
    }

    ControllerEngine engine(settings.engine);
    engine.setMemory(memory);
    for (int16_t node : settings.nodes) engine.addNode(node, memory);
    for (const Fault& f : settings.faults) engine.faults().add(f);
    PtyServerOptions options;
    options.paced = settings.paced;
    if (settings.verbose)
        options.onRequest = [](const RequestRecord& r) { say(DescribeRequest(r)); };

    std::unique_ptr<PtyServer> server;
    try {
        server = std::make_unique<PtyServer>(std::move(engine), options);
    } catch (const std::system_error& e) {
        say(std::string("could not create a pseudo-terminal: ") + e.what());
        return kExitFailure;
    }
    std::printf("%s\n", server->devicePath().c_str());
    std::fflush(stdout);
    say(nodesText(settings.nodes) + " serving " +
        (settings.loadPath.isEmpty() ? std::string("the built-in show")
                                     : settings.loadPath.toStdString()) +
        (settings.paced ? " at 38400 baud" : "") + "; stop with Ctrl+C");

    const bool signalled = waitForStop(stopSignals, *server);
    if (!signalled) say("the line was closed, as the close fault asked");
    server->stop();

    if (!settings.savePath.isEmpty()) {
        for (int16_t node : settings.nodes) {
            const QString path = savePathFor(settings, node);
            if (!SaveMemoryFile(path, server->memory(node), &problem)) {
                say(problem);
                return kExitFailure;
            }
            say("saved the memory of " + corvane::NodeName(node) + " to " + path.toStdString());
        }
    }
    return kExitOk;
}
