// `korvelc mib --smiv2 DESIGN.mdf OUT.mib`: the design's SMIv2 module.
#pragma once

#include <QStringList>

namespace korvel {

// `arguments` are those after "--smiv2". Returns the exit status.
int runSmiv2Command(const QStringList &arguments);

} // namespace korvel
