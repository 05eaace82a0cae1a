// `korvelc import MODULE OUT.mdf [-p FOLDER]...`: a real MIB module read
// through libsmi into a design file and its module information side file.
#pragma once

#include <QStringList>

namespace korvel {

// `arguments` are those after "import". What the design could not keep goes
// to standard error, one line each. Returns the exit status.
int runImportCommand(const QStringList &arguments);

} // namespace korvel
