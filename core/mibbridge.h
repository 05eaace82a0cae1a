// The two bridges to libkorvel. Each builds the code page 932 record image of
// the four tables and calls its export through the MibLibrary it is handed
// (miblibrary.h), synchronously. Neither shows a message: the calling window
// turns the result into one.
#pragma once

#include "appstate.h"

#include <QString>

namespace korvel {

class MibLibrary;

enum class BridgeResult {
    Success,     // the library returned 0
    Failure,     // the library returned -1
    Unavailable, // the library or its export could not be loaded; nothing was called
};

// Writes the MIB module for the whole design to `path` through MIBCreateProc.
// Afterwards every text field holds its displayed text as it reads after a
// round trip through code page 932; nothing else changes.
BridgeResult createMibFile(MibLibrary &library, AppState &state, const QString &path);

// Deletes ./error.log, then reads the MIB module at `path` through
// MIBAnalysisProc. On success the tables take the library's result (texts
// decoded, lengths counted in characters), the counters are rebuilt and
// ListLevel is set to -1; the caller refreshes its window. On any other
// result the tables are untouched.
BridgeResult loadMibFile(MibLibrary &library, AppState &state, const QString &path);

} // namespace korvel
