// The commands of corvane-scenes, each from its arguments (the program, the command, then its
// own) to its exit status (cli/exit_codes.h), writing what it prints to out.
#pragma once

#include <QStringList>

namespace corvane::cli {

class StandardOutput;

// With a controller: cli/link_commands.cpp.
int Get(const QStringList& arguments, StandardOutput& out);
int Send(const QStringList& arguments, StandardOutput& out);
int Verify(const QStringList& arguments, StandardOutput& out);
int Scan(const QStringList& arguments, StandardOutput& out);
int Backup(const QStringList& arguments, StandardOutput& out);

// With files only: cli/file_commands.cpp.
int Show(const QStringList& arguments, StandardOutput& out);
int Diff(const QStringList& arguments, StandardOutput& out);
int Export(const QStringList& arguments, StandardOutput& out);
int Import(const QStringList& arguments, StandardOutput& out);

// A picture of a show or of a difference: cli/picture_command.cpp. Runs under a QGuiApplication.
int Picture(const QStringList& arguments, StandardOutput& out);

}  // namespace corvane::cli
