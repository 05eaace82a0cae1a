// The file dialog's answer: how the text of its path box becomes the shared
// values SelectedDrive, SelectedFolder and SelectedFile.
#pragma once

#include "appstate.h"

#include <QDir>
#include <QString>

namespace korvel {

// The drive a path lies on, as the drive list names it: "/" for an absolute
// path on Linux, "C:" for one on drive C on Windows; otherwise the text
// before the first separator.
QString driveOfPath(const QString &text, QChar separator = QDir::separator());

// Splits `text` at every separator, as the dialog's OK does: SelectedDrive =
// the first part (the root for an absolute path), SelectedFolder = the text
// less its last part and the separator before it, SelectedFile = the last
// part, set in this order. A text without a separator has no folder: then
// only SelectedDrive is set (to the whole text) and the result is false.
bool chooseFilePath(AppState &state, const QString &text, QChar separator = QDir::separator());

// `folder` followed by one separator; a folder that already ends in one (a
// root such as "/" or "C:\") keeps it.
QString withSeparator(const QString &folder, QChar separator = QDir::separator());

} // namespace korvel
