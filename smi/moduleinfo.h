// Module information: what an SMIv2 module says about itself beyond the
// design's objects (module name, MODULE-IDENTITY and its place, dates and
// texts). It lives in a side file beside the design file, with the design's
// base name and the extension ".mdi": a UTF-8 JSON object. The design file
// itself keeps its format; a design without a side file gets defaults that
// make a valid module.
#pragma once

#include "appstate.h"

#include <QString>

namespace korvel {

// The first top-level object: the in-use child of the root with the lowest
// positive sub-identifier (the lowest slot among equals), or -1.
int firstTopLevelObject(const AppState &state);

// The module name made from an object name: "acme" gives "ACME-MIB",
// "sysInfo" gives "SYS-INFO-MIB".
QString moduleNameFor(const QString &objectName);

// Module information that makes a valid module of the design: the name from
// the first top-level object, the identity "<top>MIB" at the lowest free
// sub-identifier under that object (under the root when it is no node), and
// LAST-UPDATED the time of writing.
ModuleInfo defaultModuleInfo(const AppState &state);

// The module information of the design in memory: what the user gave or the
// side file held, or else the defaults for the design as it stands now.
ModuleInfo currentModuleInfo(const AppState &state);

// The side file of a design file: same folder and base name, ".mdi".
QString moduleInfoPath(const QString &designPath);

enum class ModuleInfoStatus {
    Read,       // the side file was read
    Missing,    // there is none: defaults
    Unreadable, // it exists but cannot be used: defaults, and the caller
                // tells the user the module information was reset
};

// Reads the side file at `path` into `info`; on anything but Read, `info`
// is defaultModuleInfo(state).
ModuleInfoStatus readModuleInfo(const AppState &state, const QString &path, ModuleInfo &info);

// Writes the side file through a temporary file that replaces `path` only
// once complete. On failure `error` (if given) says why.
bool writeModuleInfo(const ModuleInfo &info, const QString &path, QString *error = nullptr);

// The JSON bytes writeModuleInfo writes.
QByteArray moduleInfoImage(const ModuleInfo &info);

} // namespace korvel
