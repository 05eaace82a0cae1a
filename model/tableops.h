// The one place that writes records into the tables, and the queries every
// edit starts from. The object editor's commit, the Tree window's edits and
// the List window's delete all write through these functions, so a record is
// always stored the same way: texts by the rule of storeText, counters moved
// by exactly the records that went in or out of use.
#pragma once

#include "appstate.h"
#include "tablefields.h"

#include <QList>
#include <QString>

#include <functional>

namespace korvel {

// The lowest `count` slots among 0 to 999 that are free or about to be freed
// (listed in `released`), or fewer when there are not that many. Slot 1000
// is never handed out: neither the design file nor the library carries it.
template <typename Record>
QList<int> findFreeSlots(const std::array<Record, SlotCount> &table, qsizetype count,
                         const QList<int> &released = {})
{
    QList<int> found;
    for (int slot = 0; slot < StoredSlotCount && found.size() < count; ++slot) {
        if (table[slot].InUse == 0 || released.contains(slot))
            found.append(slot);
    }
    return found;
}

// The lowest free slot among 0 to 999, or -1 when the table is full.
template <typename Record>
int findFreeSlot(const std::array<Record, SlotCount> &table)
{
    const QList<int> found = findFreeSlots(table, 1);
    return found.isEmpty() ? -1 : found.first();
}

// Stores the text a field of `width` keeps of `text` (significantText: no
// surrounding blanks, cut to `width`) padded to `width`, and its size into
// `length`.
void storeText(QString &field, int32_t &length, const QString &text, int width);

// Writes object `slot` afresh: every field of the record, the name stored by
// storeText. A slot that was free goes into use and is counted.
void writeObject(DefinitionTables &tables, int slot, const QString &name, int32_t objectId, int parent,
                 int32_t kind);

// Writes attribute `slot` afresh for object `owner` with a description and
// an access code; syntax, constraint and key order start at 0. A slot that
// was free goes into use and is counted.
void writeAttribute(DefinitionTables &tables, int slot, int owner, const QString &description, int32_t access);

// The records a leaf's constraint takes: its range, or its enumeration items.
struct ConstraintSlots {
    int range = -1;
    QList<int> items;
};

// How a freed MibRange record is left. The List window's delete and the
// object editor keep the old lengths and write "0" into both bounds; the
// Tree window empties both bounds and their lengths.
enum class FreedRange {
    ZeroBounds,
    Empty,
};

// Frees the range (if any) and the items of a constraint, each counted out.
void freeConstraint(DefinitionTables &tables, const ConstraintSlots &records, FreedRange freedRange);

// Frees attribute `slot` (the record only, not its constraint).
void freeAttribute(DefinitionTables &tables, int slot);

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

// The records of the constraint `constraint` (Constraint::Range or
// Enumeration) of object `slot`: what freeConstraint releases.
ConstraintSlots constraintOf(const AppState &state, int slot, int32_t constraint);

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

} // namespace korvel
