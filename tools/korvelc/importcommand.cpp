// korvelc import [-p FOLDER]... MODULE OUT.mdf: a real MIB module read
// through libsmi into a design file and its module information side file.
#include "commands.h"
#include "commandsupport.h"

#include "designfile.h"
#include "import.h"
#include "moduleinfo.h"

#include <memory>

namespace korvel::cli {

// What the design could not keep goes to standard error, one line each.
int runImport(const Invocation &invocation)
{
    const QString &module = invocation.files[0];
    const QString &design = invocation.files[1];
    const QString side = moduleInfoPath(design);
    if (sameFile(module, design) || sameFile(module, side))
        return fail(design, QStringLiteral("is the input file; the design must go to another file"));
    for (const QString &output : {design, side}) {
        if (const QString problem = outputProblem(output); !problem.isEmpty())
            return fail(output, problem);
    }
    auto state = std::make_unique<AppState>();
    ModuleInfo info;
    const ImportResult result = importModule(module, invocation.folders, *state, info);
    if (!result.imported)
        return fail(module, result.refusal);
    for (const QString &line : result.notKept)
        note(module, QStringLiteral("not kept: ") + line);
    QString error;
    if (!replaceFile(design, designFileImage(*state), error))
        return fail(design, error);
    if (!replaceFile(side, moduleInfoImage(info), error))
        return fail(side, error);
    return 0;
}

} // namespace korvel::cli
