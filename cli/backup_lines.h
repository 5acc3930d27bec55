// backup over one line, and over several lines at once, each line in a thread of its own.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

namespace corvane::cli {

class LinkSession;
struct LinkOptions;
class StandardOutput;

// Looks for the controllers on the session's line and backs each one up into dir with its history
// (cli/backup_history.h), keeping keep versions; say takes each node's line and the summary. The
// exit status: 0 every controller saved, none changed; 5 every one saved, one or more changed;
// otherwise as a failed transfer says.
int BackupLine(LinkSession& session, const QString& dir, int keep,
               const std::function<void(const std::string&)>& say);

// The lines --port names, each value split at spaces ("ttyUSB0 ttyUSB1", as a .conf gives them).
std::vector<std::string> PortNames(const QStringList& values);

// The folder a line's files go to when several lines are backed up: the port's short name
// ("ttyUSB0", "COM1", "pts-4", "host:4001").
std::string LineFolderName(const std::string& port);

// Backs up every line of ports at once into DIR/LINE/, each in its own thread with its own
// connection; a line that cannot be opened is named and the others run on. Ctrl-C ends every
// line between blocks. The exit status is the worst of the lines'.
int BackupLines(const QCommandLineParser& parser, const LinkOptions& link,
                const std::vector<std::string>& ports, const QString& dir, int keep,
                StandardOutput& out);

}  // namespace corvane::cli
