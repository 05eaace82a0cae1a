// What the design check adds to korvelc: `korvelc check DESIGN.mdf`, and
// for `korvelc mib` a warning for each object the module leaves out and the
// --strict refusal.
#pragma once

#include "appstate.h"

#include <QString>

#include <optional>

namespace korvel::cli {

// Before `korvelc mib` writes the design read from `design`: with `strict`,
// any error the check finds is named on standard error and refuses the write
// (exit status 1). For the seed's writer (not `smiv2`), each object it leaves
// out is named on standard error; the SMIv2 command names its own. Returns
// the exit status when korvelc must stop, or nullopt to go on and write.
std::optional<int> checkBeforeMib(const AppState &state, const QString &design, bool strict, bool smiv2);

} // namespace korvel::cli
