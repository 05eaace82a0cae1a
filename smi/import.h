// The import of a real MIB module through libsmi, beside the seed's reader
// (which stays as it is): one module file becomes a design and its module
// information, keeping every node, scalar, table, row and column under
// enterprises at its OID. Ancestors defined in other modules become plain
// nodes, so the OIDs stay exact. What the design cannot hold is said, one
// line per object and reason.
//
// The module is read into a scratch design; the caller's design and module
// information change only when the import succeeds.
#pragma once

#include "appstate.h"
#include "moduleinfo.h"

#include <QString>
#include <QStringList>

namespace korvel {

// At most this many design objects come from one module.
inline constexpr int ImportObjectLimit = StoredSlotCount;

struct ImportResult {
    bool imported = false;
    QString refusal;      // why nothing was imported (English), with libsmi's first errors
    QStringList notKept;  // "NAME: reason" for what the design could not keep
    // The same in Japanese, for the program: one line for each line above.
    QString refusalJapanese;
    QStringList notKeptJapanese;
};

// The folders searched for the modules `moduleFile` imports, in order: our
// base modules, the module's own folder, /usr/share/snmp/mibs, ~/.snmp/mibs,
// the folders of $SMIPATH, then `userFolders`.
QStringList importSearchPath(const QString &moduleFile, const QStringList &userFolders,
                             const QString &baseModules = QString());

// Imports `moduleFile` into `state` and `info`, which are replaced only on
// success. Opens an SmiSession, so none may be alive.
ImportResult importModule(const QString &moduleFile, const QStringList &userFolders, AppState &state,
                          ModuleInfo &info, const QString &baseModules = QString());

} // namespace korvel
