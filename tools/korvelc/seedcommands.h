// `korvelc mib DESIGN.mdf OUT.mib` and `korvelc mdf [--allow-empty] IN.mib
// OUT.mdf` in plain C++: the commands of a build pipeline run them many
// times, and they need neither Qt nor libsmi, whose loading alone would take
// longer than a conversion. They report, guard their output and use a
// private folder exactly as the other commands do (commandsupport.h).
#pragma once

#include <string>

namespace korvel::seed {

int runMib(const std::string &design, const std::string &module);
int runMdf(const std::string &module, const std::string &design, bool allowEmpty);

} // namespace korvel::seed
