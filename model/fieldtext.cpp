#include "fieldtext.h"

#include "appstate.h"
#include "tableops.h"

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

void storeFieldText(QString &field, int32_t &length, const QString &text, int width)
{
    const QString kept = significantText(text, width);
    storeText(field, kept, width);
    length = static_cast<int32_t>(kept.size());
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

void storeBound(QString &field, int32_t &length, quint64 value)
{
    const QString text = QString::number(value);
    storeText(field, text, BoundWidth);
    length = static_cast<int32_t>(qMin<qsizetype>(text.size(), BoundWidth));
}

} // namespace korvel
