#include "translated.h"

#include <QCoreApplication>

namespace korvel {

namespace {
bool shownInEnglish = false;
}

bool englishShown()
{
    return shownInEnglish;
}

void setEnglishShown(bool english)
{
    shownInEnglish = english;
}

QString translated(const QString &source)
{
    qsizetype start = 0;
    while (start < source.size() && source.at(start).isSpace())
        ++start;
    if (start == source.size())
        return source;
    const QByteArray key = source.mid(start).toUtf8();
    return source.left(start) + QCoreApplication::translate("Korvel", key.constData());
}

} // namespace korvel
