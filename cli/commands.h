// The commands of corvane-scenes; each returns its exit status (cli/exit_codes.h).
#pragma once

#include <QStringList>

namespace corvane::cli {

// arguments[0] is the program name, arguments[1] the command.
int Run(const QStringList& arguments);

}  // namespace corvane::cli
