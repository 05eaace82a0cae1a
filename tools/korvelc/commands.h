// korvelc's commands. main.cpp finds the command named by the first argument
// in Commands, checks the rest of the arguments against it and runs it; each
// command lives in a file of its own and reaches files and the library only
// through the helpers of commandsupport.h, so that every command reports,
// guards its output and leaves nothing behind the same way.
#pragma once

#include <QString>
#include <QStringList>

#include <span>

namespace korvel::cli {

// The arguments after the command's name: its files in order and the
// options given, each one the command accepts.
struct Invocation {
    QStringList files;
    QStringList options;
    QStringList folders; // -p FOLDER, for the commands that take it

    bool hasOption(QStringView option) const { return options.contains(option); }
};

struct Command {
    const char *name;
    // The files it takes, as shown in the usage line: "DESIGN.mdf OUT.mib".
    const char *fileNames;
    // Options it accepts, blank-separated: "--allow-empty".
    const char *optionNames;
    // What it does, for --help: lines indented under the usage.
    const char *description;
    // Returns the exit status: 0 on success, 1 after a failure it reported.
    int (*run)(const Invocation &invocation);
};

int runMib(const Invocation &invocation);
int runMdf(const Invocation &invocation);
int runCheck(const Invocation &invocation);
int runImport(const Invocation &invocation);

std::span<const Command> commands();

} // namespace korvel::cli
