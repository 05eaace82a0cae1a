#include "smiv2command.h"

#include "commandsupport.h"
#include "moduleinfo.h"
#include "smiv2writer.h"

namespace korvel::cli {

// Objects the module cannot contain are named on standard error, one line
// each, and the module is still written.
int writeSmiv2(const AppState &state, const QString &design, const QString &module)
{
    ModuleInfo info;
    const QString side = moduleInfoPath(design);
    if (readModuleInfo(state, side, info) == ModuleInfoStatus::Unreadable)
        note(side, QStringLiteral("warning: the module information cannot be read; defaults used"));
    const Smiv2Module written = smiv2Module(state, info);
    QString error;
    if (!replaceFile(module, written.text, error))
        return fail(module, error);
    for (const SkippedObject &object : written.skipped)
        note(design, QStringLiteral("%1: warning: not in the module: %2").arg(object.name, object.reason));
    return 0;
}

} // namespace korvel::cli
