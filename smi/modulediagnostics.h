// libsmi's word on a design: the design's SMIv2 module is written to a
// private temporary folder and read by libsmi with our base modules, and each
// diagnostic is handed back with the object whose definition holds its line.
#pragma once

#include "appstate.h"
#include "moduleinfo.h"
#include "smisession.h"

#include <QList>
#include <optional>

namespace korvel {

struct ObjectDiagnostic {
    int slot = -1; // the MibTree slot, or -1 when no object's definition holds the line
    SmiDiagnostic diagnostic;
};

// Every diagnostic libsmi gives at level 6 on the design's SMIv2 module, in
// libsmi's order; nullopt when the module could not be written for it.
// `baseModules` is the folder of our base modules. Opens an SmiSession, so
// none may be alive.
std::optional<QList<ObjectDiagnostic>> moduleDiagnostics(const AppState &state, const ModuleInfo &info,
                                                        const QString &baseModules);

} // namespace korvel
