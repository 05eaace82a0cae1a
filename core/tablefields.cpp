#include "tablefields.h"

namespace korvel {

QString displayedText(const QString &field, int32_t length)
{
    return length <= 0 ? QString() : field.left(length);
}

void storeText(QString &field, const QString &text, int width)
{
    field = text.left(width);
    if (field.size() < width)
        field.append(QString(width - field.size(), QLatin1Char(' ')));
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
