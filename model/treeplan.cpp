#include "treeplan.h"

#include "tableops.h"

#include <QSet>

#include <vector>

namespace korvel {

QList<PlannedItem> planTree(const AppState &state)
{
    const DefinitionTables &tables = state.tables;
    const int last = lastScannedSlot(state);

    // The children of every slot in slot order, as linked lists, so that each
    // level is found without scanning the whole table once per item.
    std::vector<int> firstChild(SlotCount, -1);
    std::vector<int> nextSibling(SlotCount, -1);
    std::vector<int> lastChild(SlotCount, -1);
    QList<int> inUse;
    for (int slot = 0; slot <= last; ++slot) {
        const MibTree &record = tables.tree[slot];
        if (record.InUse != 1)
            continue;
        inUse.append(slot);
        const int parent = record.Parent;
        if (parent < 0 || parent > last || parent == slot)
            continue;
        if (lastChild[parent] < 0)
            firstChild[parent] = slot;
        else
            nextSibling[lastChild[parent]] = slot;
        lastChild[parent] = slot;
    }

    QList<PlannedItem> plan;
    plan.reserve(inUse.size());
    std::vector<char> planned(SlotCount, 0);
    QSet<QString> keys;

    // An object gets its place below its parent only with a key of its own.
    const auto hasOwnKey = [&](int slot) {
        const QString name = displayedName(state, slot);
        return !name.isEmpty() && !keys.contains(name);
    };
    const auto place = [&](int slot, int parent) {
        planned[slot] = 1;
        keys.insert(displayedName(state, slot));
        plan.append({slot, parent});
    };
    // Plans the children of every item from index `from` on, level by level.
    const auto placeDescendants = [&](qsizetype from) {
        for (qsizetype index = from; index < plan.size(); ++index) {
            for (int child = firstChild[plan[index].slot]; child >= 0; child = nextSibling[child]) {
                if (!planned[child] && hasOwnKey(child))
                    place(child, static_cast<int>(index));
            }
        }
    };

    for (int slot : inUse) {
        if (tables.tree[slot].Parent == RootSlot && hasOwnKey(slot))
            place(slot, -1);
    }
    placeDescendants(0);

    // What the walk from the root left out goes under the root, lowest slot
    // first, with whatever hangs below it. A descendant left out again (its
    // name taken) may have a lower slot, so the search starts over each time.
    for (;;) {
        int leftOut = -1;
        for (int slot : inUse) {
            if (!planned[slot]) {
                leftOut = slot;
                break;
            }
        }
        if (leftOut < 0)
            break;
        const qsizetype index = plan.size();
        place(leftOut, -1);
        placeDescendants(index);
    }
    return plan;
}

} // namespace korvel
