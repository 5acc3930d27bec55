// backup over several lines at once.
#include "cli/backup_lines.h"

#include <QDir>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <memory>
#include <mutex>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/interrupt_watch.h"
#include "cli/link_session.h"
#include "cli/standard_output.h"
#include "link/port_names.h"

namespace corvane::cli {
namespace {

// How bad a line's outcome is, for the run's exit status: the worst line's.
int Severity(int status) {
    constexpr int kOrder[] = {kDone, kDiffer, kNoAnswer, kFileError, kPortError, kInterrupted};
    const auto* found = std::find(std::begin(kOrder), std::end(kOrder), status);
    return static_cast<int>(found - std::begin(kOrder));
}

}  // namespace

std::vector<std::string> PortNames(const QStringList& values) {
    std::vector<std::string> names;
    static const QRegularExpression kSpaces(QStringLiteral("\\s+"));
    for (const QString& value : values)
        for (const QString& name : value.split(kSpaces, Qt::SkipEmptyParts))
            names.push_back(text(name));
    return names;
}

std::string LineFolderName(const std::string& port) {
    if (const std::optional<int16_t> n = SystemPortNumber(port)) return "COM" + std::to_string(*n);
    std::string name = port;
    if (const size_t scheme = name.find("://"); scheme != std::string::npos)
        name.erase(0, scheme + 3);
    else if (name.starts_with("/dev/"))
        name.erase(0, 5);
    else if (name.find('/') != std::string::npos)
        name.erase(0, name.rfind('/') + 1);
    while (!name.empty() && name.back() == '/') name.pop_back();
    std::replace(name.begin(), name.end(), '/', '-');
    return name.empty() || name == "." || name == ".." ? "line" : name;
}

int BackupLines(const QCommandLineParser& parser, const LinkOptions& link,
                const std::vector<std::string>& ports, const QString& dir, int keep,
                StandardOutput& out) {
    struct Line {
        std::string port;
        std::string folder;
        std::unique_ptr<LinkSession> session;
        int status = kDone;
    };
    std::vector<Line> lines;
    for (const std::string& port : ports) {
        const std::string folder = LineFolderName(port);
        const auto same = std::find_if(lines.begin(), lines.end(),
                                       [&](const Line& other) { return other.folder == folder; });
        if (same != lines.end()) {
            std::string both = "--port " + same->port;
            both.append(" and ").append(port).append(" would share the folder ").append(folder);
            both += " (see --help)";
            return complain(kUsage, both);
        }
        lines.push_back({port, folder, nullptr, kDone});
    }
    // Held before the lines open and released after they close: every thread inherits it, and
    // one Ctrl-C, taken by whichever line asks first, stops them all.
    InterruptWatch interrupt;
    std::mutex interruptMutex;
    bool interrupted = false;
    const auto stop = [&] {
        const std::lock_guard lock(interruptMutex);
        interrupted = interrupted || interrupt.interrupted();
        return interrupted;
    };
    for (Line& line : lines) {
        // The line's options are the same for every line: the first one refused is said once.
        line.session = LinkSession::open(parser, link, line.port, &line.status);
        if (line.status == kUsage) return kUsage;
        if (line.session) line.session->runBeside(line.folder, stop);
    }

    std::mutex outMutex;
    // QThreads, not bare threads: the serial port's notifiers work only in threads Qt started.
    std::vector<std::unique_ptr<QThread>> threads;
    for (Line& line : lines) {
        if (!line.session) continue;
        threads.emplace_back(QThread::create([&line, &dir, keep, &out, &outMutex] {
            const QString folder = QDir(dir).filePath(QString::fromStdString(line.folder));
            if (!QDir().mkpath(folder)) {
                line.status = complain(kFileError, "Could not make the folder " + text(folder) +
                                                       " for " + line.port + ".");
                return;
            }
            line.status = BackupLine(*line.session, folder, keep, [&](const std::string& said) {
                const std::lock_guard lock(outMutex);
                out.write(line.folder + " " + said + "\n");
                out.flush();
            });
        }));
        threads.back()->start();
    }
    for (const std::unique_ptr<QThread>& t : threads) t->wait();
    int worst = kDone;
    for (Line& line : lines) {
        line.session.reset();
        // A line that found nothing leaves no empty folder behind.
        QDir(dir).rmdir(QString::fromStdString(line.folder));
        if (Severity(line.status) > Severity(worst)) worst = line.status;
    }
    return worst;
}

}  // namespace corvane::cli
