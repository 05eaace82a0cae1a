// Where the program and korvelc find the files they ship with. In the build
// folder, help/, icon/ and libkorvel sit beside the executables; installed,
// the executables are in bin/ under the prefix, help/ and icon/ in
// share/korvel/ and libkorvel in the library folder's korvel/.
#pragma once

#include <QString>
#include <QStringList>

namespace korvel {

// The folder that holds "help" and "icon": the program's own when they are
// there, else the installed data folder when they are there, else the
// program's own.
QString dataFolder(const QString &programFolder);

// The files, without their suffix, that libkorvel is bound from, in the
// order they are tried: beside the program, then in the installed library
// folder.
QStringList libraryCandidates(const QString &programFolder);

} // namespace korvel
