// korvelc mib [--smiv2] DESIGN.mdf OUT.mib: reads a design file as the program
// opens it and writes its MIB module through the program's create bridge, or
// with --smiv2 its SMIv2 module with the module information beside it.
#include "commandsupport.h"
#include "commands.h"

#include "appstate.h"
#include "designfile.h"
#include "mibbridge.h"
#include "miblibrary.h"
#include "checkcommand.h"
#include "smiv2command.h"

#include <QFile>
#include <QFileInfo>

#include <memory>

namespace korvel::cli {

int runMib(const Invocation &invocation)
{
    const QString &design = invocation.files[0];
    const QString &module = invocation.files[1];
    if (sameFile(design, module))
        return fail(module, QStringLiteral("is the input file; the module must go to another file"));
    if (const QString problem = outputProblem(module); !problem.isEmpty())
        return fail(module, problem);
    const std::unique_ptr<AppState> state = readDesignInput(design);
    if (!state)
        return 1;
    if (const auto stop = checkBeforeMib(*state, design, invocation.hasOption(u"--strict"),
                                         invocation.hasOption(u"--smiv2")))
        return *stop;
    if (invocation.hasOption(u"--smiv2"))
        return writeSmiv2(*state, design, module);

    Workspace workspace;
    if (!workspace.isValid())
        return fail(module, QStringLiteral("no private temporary folder: %1").arg(workspace.errorString()));
    const QString name = QFileInfo(module).fileName();
    BridgeResult result = BridgeResult::Unavailable;
    SharedMibLibrary library;
    const QStringList printed = workspace.run([&] { result = createMibFile(library, *state, name); });
    switch (result) {
    case BridgeResult::Success:
        break;
    case BridgeResult::Failure:
        return fail(module, withLibraryReasons(QStringLiteral("the MIB module could not be written"), printed, {},
                                               QStringLiteral("an object lacks a record it needs")));
    case BridgeResult::Unavailable:
        return fail(module, QStringLiteral("libkorvel or its export could not be loaded"));
    }
    for (const QString &line : printed)
        note(module, line);
    QFile written(workspace.filePath(name));
    if (!written.open(QIODevice::ReadOnly))
        return fail(module, QStringLiteral("the module written cannot be read back: %1").arg(written.errorString()));
    QString error;
    if (!replaceFile(module, written.readAll(), error))
        return fail(module, error);
    return 0;
}

} // namespace korvel::cli
