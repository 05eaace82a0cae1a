#include "fieldtext.h"

#include "tablefields.h"

#include <limits>

namespace korvel {

QString significantText(const QString &text, int width)
{
    QString kept = text.trimmed().left(qMax(width, 0));
    qsizetype end = kept.size();
    while (end > 0 && kept.at(end - 1).isSpace())
        --end;
    kept.truncate(end);
    return kept;
}

std::optional<quint64> digitValue(const QString &text)
{
    if (!isAllDigits(text))
        return std::nullopt;
    qsizetype first = 0;
    while (first < text.size() - 1 && text.at(first) == u'0')
        ++first;
    const QStringView digits = QStringView(text).mid(first);
    // Nineteen digits always fit 64 bits; anything longer is out of every range.
    if (digits.size() > 19)
        return std::numeric_limits<quint64>::max();
    return digits.toULongLong();
}

} // namespace korvel
