// Operations on the definition tables that several windows share.
#pragma once

#include "appstate.h"

#include <QList>
#include <QString>

#include <functional>

namespace korvel {

// The lowest free slot among 0 to 999, or -1 when the table is full. Slot
// 1000 is never handed out: neither the design file nor the library carries it.
template <typename Record>
int findFreeSlot(const std::array<Record, SlotCount> &table)
{
    for (int slot = 0; slot < StoredSlotCount; ++slot) {
        if (table[slot].InUse == 0)
            return slot;
    }
    return -1;
}

// The lowest `count` free slots among 0 to 999, or fewer when there are not
// that many.
template <typename Record>
QList<int> findFreeSlots(const std::array<Record, SlotCount> &table, int count)
{
    QList<int> found;
    for (int slot = 0; slot < StoredSlotCount && found.size() < count; ++slot) {
        if (table[slot].InUse == 0)
            found.append(slot);
    }
    return found;
}

// Number of free slots among 0 to 999.
template <typename Record>
int freeSlotCount(const std::array<Record, SlotCount> &table)
{
    int count = 0;
    for (int slot = 0; slot < StoredSlotCount; ++slot) {
        if (table[slot].InUse == 0)
            ++count;
    }
    return count;
}

// The first `length` characters of a fixed-width field: the text that counts.
QString displayedText(const QString &field, int32_t length);

// Sets a fixed-width field to `text` padded with blanks or cut to `width`.
// The caller sets the length field.
void storeText(QString &field, const QString &text, int width);
void storeText(QString &field, QStringView text, int width);

// True for a valid slot index of the tables (0 to 1000).
inline bool isSlot(int slot)
{
    return slot >= 0 && slot < SlotCount;
}

// The displayed name of an in-range MibTree slot.
QString displayedName(const AppState &state, int slot);

// In-use MibTree records whose Parent is `parent` (-1 for the root), in
// ascending slot order, over slots 0 to ObjectLimit.
QList<int> childrenOf(const AppState &state, int parent);

// The lowest-slot in-use MibAttribute owned by `slot`, or -1.
int attributeOf(const AppState &state, int slot);

// The lowest-slot in-use MibRange owned by `slot`, or -1.
int rangeOf(const AppState &state, int slot);

// The in-use MibList records owned by `slot`, in ascending slot order.
QList<int> itemsOf(const AppState &state, int slot);

// How delete subtree leaves a freed MibRange record. The List window's
// delete keeps the old lengths and writes "0" into both bounds; the Tree
// window empties both bounds and their lengths.
enum class FreedRange {
    ZeroBounds,
    Empty,
};

// Removes object `slot`, everything below it and every record that belongs to
// them; children go first, depth first in slot order, and `removing` (if set)
// hears of each object just before its record is cleared. Decrements each
// counter by exactly what it clears. Ends on any table content, cycles of
// Parent links included, and removes the children of a Leaf too (a Node that
// had children can be turned into a Leaf). Returns false when `slot` is not
// an object, or when a Table, Entry or Leaf on the way has no attribute: what
// was removed before stays removed.
bool deleteSubtree(AppState &state, int slot, FreedRange freedRange = FreedRange::ZeroBounds,
                   const std::function<void(int)> &removing = {});

// Sets the four counters to the number of in-use records in slots 0 to `limit`.
void rebuildCounters(DefinitionTables &tables, int limit);

// True when `text` is not empty and every character is an ASCII digit 0-9.
bool isAllDigits(const QString &text);

} // namespace korvel
