// korvelc converts a design file into a MIB module and a MIB module into a
// design file, for build pipelines. It goes through the same design-file
// code and library bridges as the program, so its output is what the
// program would write. Exit status 0 on success; otherwise 1 and one line on
// standard error that names the file and the failure.
#include "appstate.h"
#include "designfile.h"
#include "mibbridge.h"
#include "checkcommand.h"
#include "importcommand.h"
#include "miblibrary.h"
#include "smiv2command.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <memory>

using namespace korvel;

namespace {

constexpr auto Usage =
    "Usage: korvelc mib DESIGN.mdf OUT.mib\n"
    "       korvelc mib --smiv2 DESIGN.mdf OUT.mib\n"
    "       korvelc mib --strict [--smiv2] DESIGN.mdf OUT.mib\n"
    "       korvelc check DESIGN.mdf\n"
    "       korvelc import MODULE OUT.mdf [-p FOLDER]...\n"
    "       korvelc mdf IN.mib OUT.mdf\n"
    "       korvelc --help\n"
    "\n"
    "Converts between Korvel design files and SNMP MIB modules.\n"
    "\n"
    "  mib   reads the design file DESIGN.mdf and writes its MIB module to OUT.mib.\n"
    "        OUT.mib is replaced only by a complete module. With --smiv2 the module\n"
    "        is SMIv2, with the module information of DESIGN.mdi beside the design.\n"
    "        Each object the module leaves out is named on standard error. With\n"
    "        --strict nothing is written when the design check finds an error.\n"
    "  check runs the design check on DESIGN.mdf (and DESIGN.mdi): one line per\n"
    "        finding on standard output, \"DESIGN.mdf: OBJECT: error|warning: text\";\n"
    "        exit status 0 when there is none, 1 when there is any.\n"
    "  import reads the MIB module file MODULE through libsmi and writes its objects\n"
    "        under enterprises as the design OUT.mdf, with OUT.mdi beside it. The\n"
    "        modules it imports are searched in Korvel's mibs/, MODULE's folder,\n"
    "        /usr/share/snmp/mibs, ~/.snmp/mibs, $SMIPATH and each -p FOLDER. What\n"
    "        the design cannot keep is named on standard error.\n"
    "  mdf   reads the MIB module IN.mib and writes it as the design file OUT.mdf.\n"
    "        When the module cannot be read, ./error.log may hold the reason.\n"
    "\n"
    "libkorvel is loaded from korvelc's own folder first, then from the system's\n"
    "library path. Exit status: 0 on success, 1 on any failure, with one line on\n"
    "standard error naming the file and the failure.\n";

int fail(const QString &file, const QString &reason)
{
    QTextStream(stderr) << "korvelc: " << file << ": " << reason << '\n';
    return 1;
}

int usageError(const QString &problem)
{
    QTextStream(stderr) << "korvelc: " << problem << " (korvelc --help shows the usage)\n";
    return 1;
}

QString unavailable()
{
    return QStringLiteral("libkorvel or its export could not be loaded");
}

int makeMib(const QString &design, const QString &mib)
{
    auto state = std::make_unique<AppState>();
    QString error;
    if (!readDesignFile(*state, design, &error))
        return fail(design, error);
    SharedMibLibrary library;
    switch (createMibFile(library, *state, mib)) {
    case BridgeResult::Success:
        return 0;
    case BridgeResult::Failure:
        return fail(mib, QStringLiteral("the MIB module could not be written (the folder cannot be written "
                                        "to, or an object lacks a record it needs)"));
    case BridgeResult::Unavailable:
        break;
    }
    return fail(mib, unavailable());
}

int makeDesign(const QString &mib, const QString &design)
{
    auto state = std::make_unique<AppState>();
    SharedMibLibrary library;
    switch (loadMibFile(library, *state, mib)) {
    case BridgeResult::Success:
        break;
    case BridgeResult::Failure:
        return fail(mib, QStringLiteral("the MIB module could not be read; error.log may hold the reason"));
    case BridgeResult::Unavailable:
        return fail(mib, unavailable());
    }
    QString error;
    if (!writeDesignFile(*state, design, &error))
        return fail(design, error);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 1 && (arguments[0] == u"--help" || arguments[0] == u"-h")) {
        QTextStream(stdout) << Usage;
        return 0;
    }
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString &command = arguments[0];
    if (command == u"check")
        return runCheckCommand(arguments.mid(1));
    if (command == u"import")
        return runImportCommand(arguments.mid(1));
    if (command == u"mib") {
        QStringList mibArguments = arguments.mid(1);
        if (const std::optional<int> stop = checkBeforeMib(mibArguments))
            return *stop;
        if (mibArguments.value(0) == u"--smiv2")
            return runSmiv2Command(mibArguments.mid(1));
        if (mibArguments.size() != 2)
            return usageError(QStringLiteral("mib takes an input and an output file"));
        return makeMib(mibArguments[0], mibArguments[1]);
    }
    if (command != u"mib" && command != u"mdf")
        return usageError(QStringLiteral("unknown command \"%1\"").arg(command));
    if (arguments.size() != 3)
        return usageError(QStringLiteral("%1 takes an input and an output file").arg(command));
    return command == u"mib" ? makeMib(arguments[1], arguments[2]) : makeDesign(arguments[1], arguments[2]);
}
