#include "tableops.h"

#include "fieldtext.h"

#include <vector>

namespace korvel {

void storeText(QString &field, int32_t &length, const QString &text, int width)
{
    const QString kept = significantText(text, width);
    storeText(field, kept, width);
    length = static_cast<int32_t>(kept.size());
}

void writeObject(DefinitionTables &tables, int slot, const QString &name, int32_t objectId, int parent,
                 int32_t kind)
{
    MibTree &record = tables.tree[slot];
    if (record.InUse != 1)
        ++tables.MibTreeCount;
    record = MibTree();
    storeText(record.Name, record.NameLength, name, NameWidth);
    record.ObjectId = objectId;
    record.Parent = parent;
    record.Kind = kind;
    record.InUse = 1;
}

void writeAttribute(DefinitionTables &tables, int slot, int owner, const QString &description, int32_t access)
{
    MibAttribute &record = tables.attribute[slot];
    if (record.InUse != 1)
        ++tables.MibAttributeCount;
    record = MibAttribute();
    record.Owner = owner;
    storeText(record.Description, record.DescriptionLength, description, NameWidth);
    record.Access = access;
    record.InUse = 1;
}

void freeConstraint(DefinitionTables &tables, const ConstraintSlots &records, FreedRange freedRange)
{
    if (records.range >= 0) {
        MibRange &bounds = tables.range[records.range];
        if (freedRange == FreedRange::Empty) {
            bounds = MibRange();
        } else {
            bounds.Owner = 0;
            storeText(bounds.Minimum, QStringLiteral("0"), BoundWidth);
            storeText(bounds.Maximum, QStringLiteral("0"), BoundWidth);
            bounds.InUse = 0;
        }
        --tables.MibRangeCount;
    }
    for (int item : records.items) {
        tables.list[item] = MibList();
        --tables.MibListCount;
    }
}

void freeAttribute(DefinitionTables &tables, int slot)
{
    tables.attribute[slot] = MibAttribute();
    --tables.MibAttributeCount;
}

QString displayedName(const AppState &state, int slot)
{
    if (!isSlot(slot))
        return QString();
    const MibTree &record = state.tables.tree[slot];
    return displayedText(record.Name, record.NameLength);
}

QList<int> childrenOf(const AppState &state, int parent)
{
    QList<int> children;
    const int last = lastScannedSlot(state);
    for (int slot = 0; slot <= last; ++slot) {
        const MibTree &record = state.tables.tree[slot];
        if (record.InUse == 1 && record.Parent == parent)
            children.append(slot);
    }
    return children;
}

namespace {

// The in-use records of `table` owned by `owner` among slots 0 to ObjectLimit,
// at most `count` of them.
template <typename Record>
QList<int> ownedBy(const AppState &state, const std::array<Record, SlotCount> &table, int owner,
                   qsizetype count)
{
    QList<int> found;
    const int last = lastScannedSlot(state);
    for (int index = 0; index <= last && found.size() < count; ++index) {
        if (table[index].InUse == 1 && table[index].Owner == owner)
            found.append(index);
    }
    return found;
}

int firstOwnedBy(const QList<int> &found)
{
    return found.isEmpty() ? -1 : found.first();
}

} // namespace

int attributeOf(const AppState &state, int slot)
{
    return firstOwnedBy(ownedBy(state, state.tables.attribute, slot, 1));
}

int rangeOf(const AppState &state, int slot)
{
    return firstOwnedBy(ownedBy(state, state.tables.range, slot, 1));
}

QList<int> itemsOf(const AppState &state, int slot)
{
    return ownedBy(state, state.tables.list, slot, SlotCount);
}

ConstraintSlots constraintOf(const AppState &state, int slot, int32_t constraint)
{
    ConstraintSlots records;
    if (constraint == Constraint::Range)
        records.range = rangeOf(state, slot);
    else if (constraint == Constraint::Enumeration)
        records.items = itemsOf(state, slot);
    return records;
}

bool deleteSubtree(AppState &state, int slot, FreedRange freedRange, const std::function<void(int)> &removing)
{
    if (!isSlot(slot) || state.tables.tree[slot].InUse != 1)
        return false;
    DefinitionTables &tables = state.tables;

    // An explicit stack instead of recursion: a hand-edited design can nest a
    // thousand levels deep or link its Parents in a cycle. `entered` marks the
    // objects whose children are being removed, so a cycle ends at the first
    // object met twice. Frames are read and written by index: pushing may
    // move them.
    struct Frame {
        int slot;
        int next; // the next slot to scan for children
    };
    std::vector<char> entered(SlotCount, 0);
    std::vector<Frame> stack;
    stack.push_back({slot, 0});
    entered[slot] = 1;
    const int last = lastScannedSlot(state);

    while (!stack.empty()) {
        const int parent = stack.back().slot;
        int child = stack.back().next;
        while (child <= last
               && !(tables.tree[child].InUse == 1 && tables.tree[child].Parent == parent && !entered[child]))
            ++child;
        if (child <= last) {
            stack.back().next = child + 1;
            entered[child] = 1;
            stack.push_back({child, 0});
            continue;
        }
        stack.pop_back();
        if (tables.tree[parent].Kind != ObjectKind::Node) {
            const int attribute = attributeOf(state, parent);
            if (attribute < 0)
                return false;
            freeConstraint(tables, constraintOf(state, parent, tables.attribute[attribute].Constraint), freedRange);
            freeAttribute(tables, attribute);
        }
        if (removing)
            removing(parent);
        tables.tree[parent] = MibTree();
        --tables.MibTreeCount;
    }
    return true;
}

} // namespace korvel
