// korvelc converts Korvel design files and MIB modules for build pipelines,
// through the same design-file code and library bridges as the program, so
// its output is what the program would write. Exit status 0 on success;
// otherwise 1 and one line on standard error naming the file and the failure.
// Standard output stays empty except for --help, --version and check's
// findings. This is every command with Qt, in a module of its own; the
// plain `mib` and `mdf` run without it (seedcommands.h).
#include "commands.h"
#include "commandsupport.h"

#include "korvel_version.h"

#include <QCoreApplication>
#include <QTextStream>

#ifdef _WIN32
#define KORVELC_COMMANDS_EXPORT
#else
#define KORVELC_COMMANDS_EXPORT __attribute__((visibility("default")))
#endif

using namespace korvel::cli;

namespace korvel::cli {

std::span<const Command> commands()
{
    static const Command table[] = {
        {"mib", "DESIGN.mdf OUT.mib", "--smiv2 --strict",
         "reads the design file DESIGN.mdf and writes its MIB module to OUT.mib.\n"
         "A file that is not a design file is refused. With --smiv2 the module is\n"
         "SMIv2, with the module information of DESIGN.mdi beside the design.\n"
         "Objects the module cannot contain are named on standard error. With\n"
         "--strict nothing is written when the design check finds an error.",
         runMib},
        {"mdf", "IN.mib OUT.mdf", "--allow-empty",
         "reads the MIB module IN.mib and writes it as the design file OUT.mdf.\n"
         "A module in which no object is found is refused, unless --allow-empty\n"
         "is given.",
         runMdf},
        {"check", "DESIGN.mdf", "",
         "runs the design check on DESIGN.mdf and its DESIGN.mdi: one line per\n"
         "finding on standard output, \"DESIGN.mdf: OBJECT: error|warning: text\";\n"
         "exit status 0 when there is none, 1 when there is any.",
         runCheck},
        {"import", "MODULE OUT.mdf", "-p FOLDER",
         "reads the MIB module file MODULE through libsmi and writes its objects\n"
         "under enterprises as the design OUT.mdf, with OUT.mdi beside it. The\n"
         "modules it imports are searched in Korvel's mibs/, MODULE's folder,\n"
         "/usr/share/snmp/mibs, ~/.snmp/mibs, $SMIPATH and each -p FOLDER (the\n"
         "option may repeat). What the design cannot keep is named on standard\n"
         "error.",
         runImport},
    };
    return table;
}

} // namespace korvel::cli

namespace {

void printHelp()
{
    QTextStream out(stdout);
    out << "Usage:";
    for (const Command &command : commands()) {
        out << (&command == commands().data() ? " " : "       ") << "korvelc " << command.name;
        // Each option in its own brackets, with the value it takes: [-p FOLDER].
        QStringList options;
        for (const QString &word : QString::fromUtf8(command.optionNames).split(u' ', Qt::SkipEmptyParts)) {
            if (word.startsWith(u'-') || options.isEmpty())
                options << word;
            else
                options.last() += u' ' + word;
        }
        for (const QString &option : options)
            out << " [" << option << ']';
        out << ' ' << command.fileNames << '\n';
    }
    out << "       korvelc --version\n"
           "       korvelc --help\n"
           "\n"
           "Converts between Korvel design files and SNMP MIB modules.\n"
           "\n";
    for (const Command &command : commands()) {
        const QString name = QString::fromLatin1(command.name);
        QString indent = QStringLiteral("  ") + name + QString(qMax(1, 6 - int(name.size())), u' ');
        for (const QString &line : QString::fromUtf8(command.description).split(u'\n')) {
            out << indent << line << '\n';
            indent.fill(u' ');
        }
    }
    out << "\n"
           "An output is replaced only by a complete file, and never when it is the\n"
           "input itself. libkorvel runs in a private temporary folder, so nothing is\n"
           "left beside the input. Exit status: 0 on success, 1 on any failure, with\n"
           "one line on standard error naming the file and the failure.\n";
}

const Command *findCommand(const QString &name)
{
    for (const Command &command : commands()) {
        if (name == QLatin1StringView(command.name))
            return &command;
    }
    return nullptr;
}

int runCommand(const Command &command, const QStringList &arguments)
{
    const QStringList accepted = QString::fromUtf8(command.optionNames).split(u' ', Qt::SkipEmptyParts);
    const int fileCount = int(QString::fromUtf8(command.fileNames).split(u' ', Qt::SkipEmptyParts).size());
    Invocation invocation;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"-p" && accepted.contains(argument)) {
            if (++i == arguments.size())
                return usageError(QStringLiteral("-p takes a folder"));
            invocation.folders << arguments[i];
        } else if (argument.startsWith(u"--")) {
            if (!accepted.contains(argument))
                return usageError(QStringLiteral("%1 has no option %2").arg(command.name, argument));
            invocation.options << argument;
        } else {
            invocation.files << argument;
        }
    }
    if (invocation.files.size() != fileCount)
        return usageError(QStringLiteral("%1 takes %2").arg(command.name, command.fileNames));
    return command.run(invocation);
}

} // namespace

// korvelc's launcher (launcher.cpp) loads this from the module it is built
// into and hands it the whole command line.
extern "C" KORVELC_COMMANDS_EXPORT int korvelcCommandLine(int argc, char *argv[])
{
    // korvelc runs no event loop; setting up Qt's GLib one would cost more
    // than a small conversion takes.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 1 && (arguments[0] == u"--help" || arguments[0] == u"-h")) {
        printHelp();
        return 0;
    }
    if (arguments.size() == 1 && arguments[0] == u"--version") {
        QTextStream(stdout) << "korvelc " << KORVEL_VERSION << '\n';
        return 0;
    }
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const Command *command = findCommand(arguments[0]);
    if (command == nullptr)
        return usageError(QStringLiteral("unknown command \"%1\"").arg(arguments[0]));
    return runCommand(*command, arguments.mid(1));
}

#ifdef KORVELC_STANDALONE
int main(int argc, char *argv[])
{
    return korvelcCommandLine(argc, argv);
}
#endif
