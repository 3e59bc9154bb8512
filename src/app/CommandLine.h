#pragma once

#include <QString>
#include <QStringList>

namespace stolvar {

// What the command line asks for: run (on the folder given with --home, if any), or
// print a text (help, version, an error) and end with the exit code.
struct CommandLine {
    enum class Action { Run, Print };
    Action action = Action::Run;
    QString home;        // --home FOLDER; empty when not given
    QString text;        // what to print for Action::Print
    int exitCode = 0;
};

// Reads the arguments (program name first). Needs no application object, so that
// --version and --help work without a display.
CommandLine ParseCommandLine(const QStringList& arguments);

// The process arguments as texts.
QStringList ArgumentsOf(int argc, char* argv[]);

} // namespace stolvar
