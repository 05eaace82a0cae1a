#include "programfiles.h"

#include <QDir>
#include <QFileInfo>

namespace korvel {

namespace {

QString installed(const QString &programFolder, const char *fromBin)
{
    return QDir::cleanPath(programFolder + QLatin1Char('/') + QLatin1StringView(fromBin));
}

bool holdsData(const QString &folder)
{
    return QFileInfo::exists(folder + QStringLiteral("/help")) || QFileInfo::exists(folder + QStringLiteral("/icon"));
}

} // namespace

QString dataFolder(const QString &programFolder)
{
    if (holdsData(programFolder))
        return programFolder;
    const QString data = installed(programFolder, KORVEL_DATA_FROM_BIN);
    return holdsData(data) ? data : programFolder;
}

QStringList libraryCandidates(const QString &programFolder)
{
    // "libkorvel" rather than "korvel": the build names the file libkorvel on
    // every platform, and QLibrary adds no second "lib".
    return {programFolder + QStringLiteral("/libkorvel"),
            installed(programFolder, KORVEL_LIBRARY_FROM_BIN) + QStringLiteral("/libkorvel")};
}

} // namespace korvel
