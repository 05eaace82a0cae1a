// `korvelc check DESIGN.mdf`, and what `korvelc mib` takes from the check:
// a warning for each object the module leaves out, and --strict.
#pragma once

#include <QStringList>

#include <optional>

namespace korvel {

// `arguments` are those after "check". Prints one line per finding on
// standard output; returns 0 when there is none, 1 when there is any or the
// design cannot be read.
int runCheckCommand(const QStringList &arguments);

// What `korvelc mib` adds to writing. `arguments` are those after "mib";
// "--strict" is taken out of them. With --strict, any error the check finds
// is named on standard error and refuses the write (exit status 1). Without
// --smiv2, each object the seed's writer leaves out is named on standard
// error (--smiv2 names its own). Returns the exit status when korvelc must
// stop, or nullopt to go on and write; a design that cannot be read is left
// to the writing command to report.
std::optional<int> checkBeforeMib(QStringList &arguments);

} // namespace korvel
