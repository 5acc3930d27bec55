// The options of corvane-sim, read from its command line.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "sim/controller_engine.h"
#include "sim/fault.h"

namespace corvane::sim {

struct SimSettings {
    EngineOptions engine;           // engine.node is the first of nodes
    std::vector<int16_t> nodes{1};  // every node served on the line, each with its own memory
    bool paced = false;
    bool verbose = false;
    QString loadPath;  // empty: the built-in demonstration show
    QString savePath;  // empty: nothing is saved; with several nodes, one file per node
    std::vector<Fault> faults;
};

struct SimCommandLine {
    enum class Outcome { Run, Help, Version, Error };
    Outcome outcome = Outcome::Error;
    SimSettings settings;
    std::string text;  // the help text, or a one-line reason for Error
};

// Exit statuses of corvane-sim.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file or the pseudo-terminal failed
inline constexpr int kExitUsage = 2;    // the command line was wrong

// arguments as QCoreApplication::arguments() gives them, the program first.
SimCommandLine ParseSimCommandLine(const QStringList& arguments);

}  // namespace corvane::sim
