// `korvelc check DESIGN.mdf`, and what `korvelc mib` takes from the check:
// a warning for each object the module leaves out, and --strict.
#pragma once

#include <QStringList>

namespace korvel {

struct AppState;

// `arguments` are those after "check". Prints one line per finding on
// standard output; returns 0 when there is none, 1 when there is any or the
// design cannot be read.
int runCheckCommand(const QStringList &arguments);

// Removes "--strict" from `arguments`; true when it was there.
bool takeStrictOption(QStringList &arguments);

// For `korvelc mib --strict`: runs the check on the design read from
// `design`; when it finds any error, names each on standard error and
// returns true (the module must not be written).
bool strictCheckRefuses(const AppState &state, const QString &design);

// Names on standard error each object the seed's writer leaves out.
void reportSeedOmissions(const AppState &state, const QString &design);

} // namespace korvel
