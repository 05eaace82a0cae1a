#include "treeedits.h"

#include "editorrules.h"
#include "fieldtext.h"
#include "rulemessages.h"
#include "tableops.h"
#include "treemessages.h"

#include <QStringList>


namespace korvel {

namespace {

const QString TableSuffix = QStringLiteral("Table");
const QString EntrySuffix = QStringLiteral("Entry");
// A table's name is its base name followed by "Table" and must fit NameWidth.
constexpr int TableBaseWidth = NameWidth - 5;

int lastScannedSlot(const AppState &state)
{
    return qBound(-1, static_cast<int>(state.ObjectLimit), SlotCount - 1);
}

bool inUse(const AppState &state, int slot)
{
    return isSlot(slot) && state.tables.tree[slot].InUse == 1;
}

bool isTableKind(int32_t kind)
{
    return kind == ObjectKind::Table || kind == ObjectKind::Entry;
}

void warn(MessageSink &sink, QStringView text)
{
    sink.report(text.toString(), MessageKind::Warning);
}

// Frees a range as the Tree window does: owner 0, both bounds empty.
void freeRange(DefinitionTables &tables, int range)
{
    MibRange &record = tables.range[range];
    record.Owner = 0;
    record.Minimum.clear();
    record.MinimumLength = 0;
    record.Maximum.clear();
    record.MaximumLength = 0;
    record.InUse = 0;
    --tables.MibRangeCount;
}

void freeItem(DefinitionTables &tables, int item)
{
    tables.list[item] = MibList();
    --tables.MibListCount;
}

// The lowest `count` MibList slots among 0..999 that are free or about to be
// freed (`released`), or fewer when there are not that many.
QList<int> itemSlots(const DefinitionTables &tables, const QList<int> &released, qsizetype count)
{
    QList<int> found;
    for (int slot = 0; slot < StoredSlotCount && found.size() < count; ++slot) {
        if (tables.list[slot].InUse == 0 || released.contains(slot))
            found.append(slot);
    }
    return found;
}

// The lowest free MibAttribute slot among 0..999 other than `taken`, or -1.
int freeAttributeSlot(const DefinitionTables &tables, int taken)
{
    for (int slot = 0; slot < StoredSlotCount; ++slot) {
        if (tables.attribute[slot].InUse == 0 && slot != taken)
            return slot;
    }
    return -1;
}

void writeAttribute(DefinitionTables &tables, int slot, int owner, const QString &description, int32_t access)
{
    MibAttribute &record = tables.attribute[slot];
    record = MibAttribute();
    record.Owner = owner;
    storeFieldText(record.Description, record.DescriptionLength, description, NameWidth);
    record.Access = access;
    record.InUse = 1;
    ++tables.MibAttributeCount;
}

} // namespace

bool isPlaceholder(const AppState &state, int slot)
{
    return inUse(state, slot) && displayedName(state, slot) == TreeMessage::PlaceholderName;
}

bool placeholderExists(const AppState &state)
{
    const int last = lastScannedSlot(state);
    for (int slot = 0; slot <= last; ++slot) {
        if (isPlaceholder(state, slot))
            return true;
    }
    return false;
}

void writePlaceholder(AppState &state, int slot, int parent, int32_t kind, int attribute)
{
    DefinitionTables &tables = state.tables;
    MibTree &record = tables.tree[slot];
    record = MibTree();
    const QString name = TreeMessage::PlaceholderName.toString();
    storeText(record.Name, name, NameWidth);
    record.NameLength = static_cast<int32_t>(name.size());
    record.Parent = parent;
    record.Kind = kind;
    record.InUse = 1;
    ++tables.MibTreeCount;
    if (kind != ObjectKind::Leaf)
        return;
    MibAttribute &owned = tables.attribute[attribute];
    owned = MibAttribute();
    owned.Owner = slot;
    owned.Access = Access::ReadOnly;
    owned.InUse = 1;
    ++tables.MibAttributeCount;
}

bool RemoveObjectCascade(AppState &state, int slot, const std::function<void(int)> &removing)
{
    return deleteSubtree(state, slot, FreedRange::Empty, removing);
}

bool turnsIntoTable(const AppState &state, int slot, const EditorInput &input)
{
    return input.KindOption == KindOption::Table && isPlaceholder(state, slot)
           && !isTableKind(state.tables.tree[slot].Kind);
}

std::optional<QString> checkPanelInput(const AppState &state, int target, const EditorInput &input)
{
    // An empty name would leave an object without a key in the tree.
    const QString name = significantText(input.NameText, NameWidth);
    if (name.isEmpty())
        return RuleMessage::NameEmpty.toString();
    if (auto failure = checkObjectIdText(input.ObjectIdText))
        return failure;
    if (input.RangeTicked) {
        if (auto failure = checkRangeTexts(input.MinimumText, input.MaximumText))
            return failure;
    }
    if (input.KeyTicked) {
        if (auto failure = checkKeyOrderText(input.KeyOrderText))
            return failure;
    }

    // A name clashes when another object has it, or has it followed by
    // "Table"; a new table's entry must not take another object's name either.
    QStringList clashing{name, name + TableSuffix};
    if (turnsIntoTable(state, target, input))
        clashing.append(name + EntrySuffix);
    const int32_t objectId = static_cast<int32_t>(digitValue(input.ObjectIdText).value_or(0));
    const int32_t parent = state.tables.tree[target].Parent;
    const int last = lastScannedSlot(state);
    for (int slot = 0; slot <= last; ++slot) {
        const MibTree &record = state.tables.tree[slot];
        if (record.InUse != 1 || slot == target)
            continue;
        if (clashing.contains(displayedName(state, slot)))
            return RuleMessage::DuplicateName.toString();
        if (record.ObjectId == objectId && record.Parent == parent)
            return RuleMessage::DuplicateObjectId.toString();
    }
    return std::nullopt;
}

PanelChange ChangeFromPanel(AppState &state, int slot, const EditorInput &input, MessageSink &sink)
{
    if (!inUse(state, slot))
        return {};
    DefinitionTables &tables = state.tables;
    const int32_t kind = tables.tree[slot].Kind;
    const KindOption option = input.KindOption;

    // The kind rule: a table or entry stays one, and only the placeholder may
    // become a table.
    if (isTableKind(kind) && option != KindOption::Table) {
        warn(sink, TreeMessage::TableKindFixed);
        return {};
    }
    if (!isTableKind(kind) && option == KindOption::Table && !isPlaceholder(state, slot)) {
        warn(sink, TreeMessage::CannotBecomeTable);
        return {};
    }
    const bool toTable = turnsIntoTable(state, slot, input);
    const QString name = significantText(input.NameText, NameWidth);
    if (toTable && name.size() > TableBaseWidth) {
        warn(sink, RuleMessage::TableNameTooLong);
        return {};
    }

    // Every slot the rewrite takes is found before anything is written.
    int entry = -1;
    int entryAttribute = -1;
    if (toTable) {
        entry = findFreeSlot(tables.tree);
        entryAttribute = findFreeSlot(tables.attribute);
        if (entry < 0 || entryAttribute < 0) {
            warn(sink, TreeMessage::NoRoomForTable);
            return {};
        }
    }
    const bool isNode = kind == ObjectKind::Node;
    const bool keepsAttribute = option != KindOption::Node;
    int attribute = -1;
    int oldRange = -1;
    QList<int> oldItems;
    if (!isNode) {
        // An object that should have an attribute (and a range) but has none
        // is left alone without a word, as ShowItem shows it.
        attribute = attributeOf(state, slot);
        if (attribute < 0)
            return {};
        const int32_t constraint = tables.attribute[attribute].Constraint;
        if (constraint == Constraint::Range) {
            oldRange = rangeOf(state, slot);
            if (oldRange < 0)
                return {};
        } else if (constraint == Constraint::Enumeration) {
            oldItems = itemsOf(state, slot);
        }
    } else if (keepsAttribute) {
        attribute = freeAttributeSlot(tables, entryAttribute);
        if (attribute < 0) {
            warn(sink, RuleMessage::TableFull);
            return {};
        }
    }
    const bool writesType = keepsAttribute && !toTable;
    const bool writesRange = writesType && input.RangeTicked;
    const bool writesItems = writesType && !input.RangeTicked && input.ListTicked;
    int range = -1;
    QList<int> items;
    if (writesRange) {
        range = oldRange >= 0 ? oldRange : findFreeSlot(tables.range);
        if (range < 0) {
            warn(sink, RuleMessage::TableFull);
            return {};
        }
    } else if (writesItems) {
        // An enumeration without items would write an item without a name.
        if (input.Items.isEmpty()) {
            warn(sink, RuleMessage::EnumerationWithoutItems);
            return {};
        }
        items = itemSlots(tables, oldItems, input.Items.size());
        if (items.size() < input.Items.size()) {
            warn(sink, RuleMessage::TableFull);
            return {};
        }
    }

    // Release the old records of the object.
    if (!isNode) {
        if (oldRange >= 0)
            freeRange(tables, oldRange);
        for (int item : oldItems)
            freeItem(tables, item);
        tables.attribute[attribute] = MibAttribute();
        --tables.MibAttributeCount;
    }

    MibTree &record = tables.tree[slot];
    const int32_t parent = record.Parent;
    int32_t newKind = ObjectKind::Node;
    if (option == KindOption::Leaf)
        newKind = ObjectKind::Leaf;
    else if (option == KindOption::Table)
        newKind = kind == ObjectKind::Entry ? ObjectKind::Entry : ObjectKind::Table;
    record = MibTree();
    storeFieldText(record.Name, record.NameLength, toTable ? name + TableSuffix : name, NameWidth);
    record.ObjectId = static_cast<int32_t>(digitValue(input.ObjectIdText).value_or(0));
    record.Parent = parent;
    record.Kind = newKind;
    record.InUse = 1;

    if (toTable) {
        MibTree &row = tables.tree[entry];
        row = MibTree();
        storeFieldText(row.Name, row.NameLength, name + EntrySuffix, NameWidth);
        row.ObjectId = 1;
        row.Parent = slot;
        row.Kind = ObjectKind::Entry;
        row.InUse = 1;
        ++tables.MibTreeCount;
    }
    if (!keepsAttribute)
        return {true, entry};

    writeAttribute(tables, attribute, slot,
                   kind == ObjectKind::Entry ? input.EntryDescriptionText : input.DescriptionText,
                   option == KindOption::Table ? Access::NotAccessible : accessCode(input.AccessIndex));
    if (toTable) {
        writeAttribute(tables, entryAttribute, entry, input.EntryDescriptionText, Access::NotAccessible);
        return {true, entry};
    }

    writeLeafType(tables, slot, tables.attribute[attribute], input, {range, items});
    return {true, entry};
}

} // namespace korvel
