#include "smiv2command.h"

#include "designfile.h"
#include "moduleinfo.h"
#include "smiv2writer.h"

#include <QTextStream>

#include <memory>

namespace korvel {

// Module information comes from the side file beside the design, or the
// defaults when there is none. Objects the module cannot contain are named
// on standard error, one line each, and the module is still written.
int runSmiv2Command(const QStringList &arguments)
{
    QTextStream err(stderr);
    if (arguments.size() != 2) {
        err << "korvelc: mib --smiv2 takes an input and an output file (korvelc --help shows the usage)\n";
        return 1;
    }
    const QString &design = arguments[0];
    const QString &mib = arguments[1];
    auto state = std::make_unique<AppState>();
    QString error;
    if (!readDesignFile(*state, design, &error)) {
        err << "korvelc: " << design << ": " << error << '\n';
        return 1;
    }
    ModuleInfo info;
    const QString side = moduleInfoPath(design);
    if (readModuleInfo(*state, side, info) == ModuleInfoStatus::Unreadable)
        err << "korvelc: " << side << ": warning: the module information cannot be read; defaults used\n";
    QList<SkippedObject> skipped;
    if (!writeSmiv2File(*state, info, mib, &skipped, &error)) {
        err << "korvelc: " << mib << ": " << error << '\n';
        return 1;
    }
    for (const SkippedObject &object : skipped)
        err << "korvelc: " << design << ": " << object.name << ": warning: not in the module: " << object.reason
            << '\n';
    return 0;
}

} // namespace korvel
