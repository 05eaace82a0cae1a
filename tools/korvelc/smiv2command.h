// The SMIv2 half of `korvelc mib --smiv2 DESIGN.mdf OUT.mib`.
#pragma once

#include "appstate.h"

#include <QString>

namespace korvel::cli {

// Writes the SMIv2 module of the design already read from `design` to
// `module`, with the module information of the side file beside the design
// (the defaults when there is none). Returns the exit status.
int writeSmiv2(const AppState &state, const QString &design, const QString &module);

} // namespace korvel::cli
