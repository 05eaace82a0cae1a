#include "filechoice.h"

namespace korvel {

QString driveOfPath(const QString &text, QChar separator)
{
    const qsizetype cut = text.indexOf(separator);
    if (cut == 0)
        return QString(separator);
    return cut < 0 ? text : text.left(cut);
}

bool chooseFilePath(AppState &state, const QString &text, QChar separator)
{
    state.SelectedDrive = driveOfPath(text, separator);
    const qsizetype cut = text.lastIndexOf(separator);
    if (cut < 0)
        return false;
    state.SelectedFolder = text.left(cut);
    state.SelectedFile = text.mid(cut + 1);
    return true;
}

QString withSeparator(const QString &folder, QChar separator)
{
    return folder.endsWith(separator) ? folder : folder + separator;
}

} // namespace korvel
