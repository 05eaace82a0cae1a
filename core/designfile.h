// The design file (.mdf): a text image of the four tables.
//
// Four sections "<MibTree>" ... "</MibList>", one line per slot 0 to 999,
// fields separated by ",", code page 932, CR LF line ends. A text holding
// ",", a line break or a leading double quote is written in double quotes
// with inner quotes doubled; every other text is written bare, so files
// without such texts are exactly what earlier versions wrote and read.
#pragma once

#include "appstate.h"

#include <QString>

namespace korvel {

// Writes all four sections to `path` through a temporary file that replaces
// the target only once complete; a failed write leaves the old file as it
// was. The tables are not changed. On failure `error` (if given) says why.
bool writeDesignFile(const AppState &state, const QString &path, QString *error = nullptr);

// Reads `path` into the tables and rebuilds the counters from the lines read.
// Slots the file does not reach keep their content. The file is read into a
// scratch copy first: on failure the tables and counters are untouched and
// `error` (if given) names the line and the reason.
bool readDesignFile(AppState &state, const QString &path, QString *error = nullptr);

// readDesignFile on the bytes of a file already read.
bool readDesignText(AppState &state, const QByteArray &bytes, QString *error = nullptr);

// Whether `bytes` hold a line that opens a section. A file without one (empty,
// binary, a MIB module) reads as a design that changes nothing.
bool hasDesignSection(const QByteArray &bytes);

// The bytes writeDesignFile would write.
QByteArray designFileImage(const AppState &state);

} // namespace korvel
