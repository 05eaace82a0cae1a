// korvelc mdf IN.mib OUT.mdf: reads a MIB module through the program's load
// bridge and writes the design file the program would save.
#include "commandsupport.h"
#include "commands.h"

#include "appstate.h"
#include "designfile.h"
#include "mibbridge.h"
#include "miblibrary.h"

#include <QFile>
#include <QFileInfo>

#include <memory>

namespace korvel::cli {

namespace {

// The name the module's copy takes in the workspace: its own, so that what
// the library says names it, unless that is the name of the library's log,
// which the load bridge deletes before it reads.
QString copyName(const QString &module)
{
    const QString name = QFileInfo(module).fileName();
    return name == u"error.log" ? name + QStringLiteral(".mib") : name;
}

} // namespace

int runMdf(const Invocation &invocation)
{
    const QString &module = invocation.files[0];
    const QString &design = invocation.files[1];
    if (sameFile(module, design))
        return fail(design, QStringLiteral("is the input file; the design must go to another file"));
    if (const QString problem = outputProblem(design); !problem.isEmpty())
        return fail(design, problem);
    QByteArray text;
    QString error;
    if (!readInput(module, text, error))
        return fail(module, error);

    Workspace workspace;
    if (!workspace.isValid())
        return fail(module, QStringLiteral("no private temporary folder: %1").arg(workspace.errorString()));
    const QString copy = copyName(module);
    QFile copyFile(workspace.filePath(copy));
    if (!copyFile.open(QIODevice::WriteOnly) || copyFile.write(text) != text.size() || !copyFile.flush())
        return fail(module, QStringLiteral("cannot be copied to a temporary folder: %1").arg(copyFile.errorString()));
    copyFile.close();

    auto state = std::make_unique<AppState>();
    BridgeResult result = BridgeResult::Unavailable;
    SharedMibLibrary library;
    const QStringList printed = workspace.run([&] { result = loadMibFile(library, *state, copy); });
    switch (result) {
    case BridgeResult::Success:
        break;
    case BridgeResult::Failure:
        return fail(module, withLibraryReasons(QStringLiteral("the MIB module could not be read"), printed,
                                               workspace.errorLog(),
                                               QStringLiteral("most likely a quoted text that is never closed")));
    case BridgeResult::Unavailable:
        return fail(module, QStringLiteral("libkorvel or its export could not be loaded"));
    }
    for (const QString &line : printed)
        note(module, line);
    if (state->tables.MibTreeCount == 0 && !invocation.hasOption(u"--allow-empty"))
        return fail(module, QStringLiteral("no object found (--allow-empty writes an empty design)"));
    if (!replaceFile(design, designFileImage(*state), error))
        return fail(design, error);
    return 0;
}

} // namespace korvel::cli
