#include "treeedits.h"

#include "editorrules.h"
#include "fieldtext.h"
#include "messagetexts.h"
#include "tableops.h"

namespace korvel {

namespace {

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

} // namespace

bool isPlaceholder(const AppState &state, int slot)
{
    return inUse(state, slot) && displayedName(state, slot) == texts::placeholderName();
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
    writeObject(state.tables, slot, texts::placeholderName(), 0, parent, kind);
    if (kind == ObjectKind::Leaf)
        writeAttribute(state.tables, attribute, slot, QString(), Access::ReadOnly);
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
        return texts::nameEmpty();
    if (auto failure = checkNumberTexts(input))
        return failure;

    // A new table's entry must not take another object's name either.
    const int32_t objectId = static_cast<int32_t>(digitValue(input.ObjectIdText).value_or(0));
    if (auto refusal = duplicateRefusal(state, name, turnsIntoTable(state, target, input),
                                        state.tables.tree[target].Parent, objectId, target))
        return *refusal;
    return std::nullopt;
}

PanelChange changeFromPanel(AppState &state, int slot, const EditorInput &input, MessageSink &sink)
{
    if (!inUse(state, slot))
        return {};
    DefinitionTables &tables = state.tables;
    const int32_t kind = tables.tree[slot].Kind;
    const KindOption option = input.KindOption;

    // The kind rule: a table or entry stays one, and only the placeholder may
    // become a table.
    if (isTableKind(kind) && option != KindOption::Table) {
        warn(sink, texts::tableKindFixed());
        return {};
    }
    if (!isTableKind(kind) && option == KindOption::Table && !isPlaceholder(state, slot)) {
        warn(sink, texts::cannotBecomeTable());
        return {};
    }
    const bool toTable = turnsIntoTable(state, slot, input);
    const QString name = significantText(input.NameText, NameWidth);
    if (toTable && name.size() > TableBaseWidth) {
        warn(sink, texts::tableNameTooLong());
        return {};
    }

    // Every slot the rewrite takes is found before anything is written.
    int entry = -1;
    int entryAttribute = -1;
    if (toTable) {
        entry = findFreeSlot(tables.tree);
        entryAttribute = findFreeSlot(tables.attribute);
        if (entry < 0 || entryAttribute < 0) {
            warn(sink, texts::noRoomForTable());
            return {};
        }
    }
    const bool isNode = kind == ObjectKind::Node;
    const bool keepsAttribute = option != KindOption::Node;
    int attribute = -1;
    ConstraintSlots old;
    if (!isNode) {
        // An object that should have an attribute (and a range) but has none
        // is left alone without a word, as showItem shows it.
        attribute = attributeOf(state, slot);
        if (attribute < 0)
            return {};
        const int32_t constraint = tables.attribute[attribute].Constraint;
        old = constraintOf(state, slot, constraint);
        if (constraint == Constraint::Range && old.range < 0)
            return {};
    } else if (keepsAttribute) {
        // The lowest free attribute slot the entry does not take.
        for (int free : findFreeSlots(tables.attribute, 2)) {
            if (free != entryAttribute) {
                attribute = free;
                break;
            }
        }
        if (attribute < 0) {
            warn(sink, texts::tableFull());
            return {};
        }
    }
    const bool writesType = keepsAttribute && !toTable;
    const bool writesRange = writesType && input.RangeTicked;
    const bool writesItems = writesType && !input.RangeTicked && input.ListTicked;
    int range = -1;
    QList<int> items;
    if (writesRange) {
        range = old.range >= 0 ? old.range : findFreeSlot(tables.range);
        if (range < 0) {
            warn(sink, texts::tableFull());
            return {};
        }
    } else if (writesItems) {
        // An enumeration without items would write an item without a name.
        if (input.Items.isEmpty()) {
            warn(sink, texts::enumerationWithoutItems());
            return {};
        }
        items = findFreeSlots(tables.list, input.Items.size(), old.items);
        if (items.size() < input.Items.size()) {
            warn(sink, texts::tableFull());
            return {};
        }
    }

    // Release the old records of the object.
    if (!isNode) {
        freeConstraint(tables, old, FreedRange::Empty);
        freeAttribute(tables, attribute);
    }

    int32_t newKind = ObjectKind::Node;
    if (option == KindOption::Leaf)
        newKind = ObjectKind::Leaf;
    else if (option == KindOption::Table)
        newKind = kind == ObjectKind::Entry ? ObjectKind::Entry : ObjectKind::Table;
    writeObject(tables, slot, toTable ? name + TableSuffix : name,
                static_cast<int32_t>(digitValue(input.ObjectIdText).value_or(0)), tables.tree[slot].Parent, newKind);
    if (toTable)
        writeObject(tables, entry, name + EntrySuffix, 1, slot, ObjectKind::Entry);
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
