#include "tablefields.h"

#include <algorithm>

namespace korvel {

QString displayedText(const QString &field, int32_t length)
{
    return length <= 0 ? QString() : field.left(length);
}

void storeText(QString &field, QStringView text, int width)
{
    // Most fields of a design are empty: they share one blank text of their
    // width instead of each holding a copy.
    static const QString blankName(NameWidth, QLatin1Char(' '));
    static const QString blankBound(BoundWidth, QLatin1Char(' '));
    if (text.isEmpty() && (width == NameWidth || width == BoundWidth)) {
        field = width == NameWidth ? blankName : blankBound;
        return;
    }
    if (width < 0) {
        field = text.toString();
        return;
    }
    QString stored(width, QLatin1Char(' '));
    std::copy_n(text.data(), qMin<qsizetype>(text.size(), width), stored.data());
    field = std::move(stored);
}

void storeText(QString &field, const QString &text, int width)
{
    storeText(field, QStringView(text), width);
}

int lastScannedSlot(int objectLimit)
{
    return qBound(-1, objectLimit, SlotCount - 1);
}

int lastScannedSlot(const AppState &state)
{
    return lastScannedSlot(static_cast<int>(state.ObjectLimit));
}

void rebuildCounters(DefinitionTables &tables, int limit)
{
    const int last = lastScannedSlot(limit);
    tables.MibTreeCount = tables.MibAttributeCount = tables.MibRangeCount = tables.MibListCount = 0;
    for (int slot = 0; slot <= last; ++slot) {
        tables.MibTreeCount += tables.tree[slot].InUse == 1;
        tables.MibAttributeCount += tables.attribute[slot].InUse == 1;
        tables.MibRangeCount += tables.range[slot].InUse == 1;
        tables.MibListCount += tables.list[slot].InUse == 1;
    }
}

bool isAllDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    }
    return true;
}

} // namespace korvel
