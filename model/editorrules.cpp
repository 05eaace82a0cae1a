#include "editorrules.h"

#include "fieldtext.h"
#include "messagetexts.h"
#include "tableops.h"

#include <QStringList>

#include <algorithm>

namespace korvel {

namespace {

void warn(MessageSink &sink, QStringView text)
{
    sink.report(text.toString(), MessageKind::Warning);
}

// True when `candidate` is `object` or lies below it. The walk up the Parent
// links is bounded, so a design whose links already loop still ends.
bool isInSubtree(const AppState &state, int candidate, int object)
{
    int current = candidate;
    for (int steps = 0; steps <= SlotCount && isSlot(current); ++steps) {
        if (current == object)
            return true;
        current = state.tables.tree[current].Parent;
    }
    return false;
}

// The warning for placing an object of `kind` (new when `slot` is -1) under
// `parent`, or nothing. Nothing may hang below a Leaf or beside a Table's
// Entry, an Entry stays with its Table, and no object may move into its own
// subtree.
std::optional<QString> parentRefusal(const AppState &state, int parent, int slot)
{
    if (slot >= 0) {
        const MibTree &object = state.tables.tree[slot];
        if (parent == object.Parent)
            return std::nullopt;
        if (parent != RootSlot && isInSubtree(state, parent, slot))
            return texts::parentInOwnSubtree();
        if (object.Kind == ObjectKind::Entry)
            return texts::entryMoved();
    }
    if (parent == RootSlot)
        return std::nullopt;
    switch (state.tables.tree[parent].Kind) {
    case ObjectKind::Leaf:
        return texts::parentIsLeaf();
    case ObjectKind::Table:
        return texts::parentIsTable();
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QString> duplicateRefusal(const AppState &state, const QString &name, bool newTable,
                                            int parent, int32_t objectId, int skip)
{
    QStringList clashing{name, name + TableSuffix};
    if (newTable)
        clashing.append(name + EntrySuffix);
    const int last = lastScannedSlot(state);
    for (int slot = 0; slot <= last; ++slot) {
        const MibTree &record = state.tables.tree[slot];
        if (record.InUse != 1 || slot == skip)
            continue;
        if (clashing.contains(displayedName(state, slot)))
            return texts::duplicateName();
        if (record.Parent == parent && record.ObjectId == objectId)
            return texts::duplicateObjectId();
    }
    return std::nullopt;
}

namespace {

int32_t objectIdOf(const EditorInput &input)
{
    return static_cast<int32_t>(digitValue(input.ObjectIdText).value_or(0));
}

} // namespace

void writeLeafType(DefinitionTables &tables, int leaf, MibAttribute &attribute, const EditorInput &input,
                   const ConstraintSlots &reserved)
{
    attribute.Syntax = syntaxCode(input.SyntaxIndex);
    if (input.RangeTicked) {
        attribute.Constraint = Constraint::Range;
        MibRange &range = tables.range[reserved.range];
        range = MibRange();
        range.Owner = leaf;
        // Bounds are stored without leading zeros ("007" becomes "7"), so
        // every accepted bound fits its field.
        storeText(range.Minimum, range.MinimumLength, QString::number(digitValue(input.MinimumText).value_or(0)),
                  BoundWidth);
        storeText(range.Maximum, range.MaximumLength, QString::number(digitValue(input.MaximumText).value_or(0)),
                  BoundWidth);
        range.InUse = 1;
        ++tables.MibRangeCount;
    } else if (input.ListTicked) {
        attribute.Constraint = Constraint::Enumeration;
        for (qsizetype i = 0; i < input.Items.size(); ++i) {
            MibList &item = tables.list[reserved.items[i]];
            item = MibList();
            item.Owner = leaf;
            storeText(item.ItemName, item.ItemNameLength, input.Items[i].name, NameWidth);
            item.ItemValue = input.Items[i].value;
            item.InUse = 1;
            ++tables.MibListCount;
        }
    }
    if (input.KeyTicked)
        attribute.KeyOrder = static_cast<int32_t>(digitValue(input.KeyOrderText).value_or(0));
}

int findObjectByName(const AppState &state, const QString &name)
{
    const int last = lastScannedSlot(state);
    for (int slot = 0; slot <= last; ++slot) {
        if (state.tables.tree[slot].InUse == 1 && displayedName(state, slot) == name)
            return slot;
    }
    return -1;
}

std::optional<int> resolveParent(const AppState &state, const EditorInput &input)
{
    if (input.ParentIsRoot)
        return RootSlot;
    const int slot = findObjectByName(state, input.ParentText);
    if (slot < 0)
        return std::nullopt;
    return slot;
}

OperationResult AddObject(AppState &state, const EditorInput &input, MessageSink &sink)
{
    if (auto failure = ValidateInput(input, EditMode::Add)) {
        sink.report(*failure, MessageKind::Warning);
        return OperationResult::Refused;
    }
    const std::optional<int> parent = resolveParent(state, input);
    if (!parent)
        return OperationResult::Failed;
    if (auto refusal = parentRefusal(state, *parent, -1)) {
        warn(sink, *refusal);
        return OperationResult::Refused;
    }
    const bool isTable = input.KindOption == KindOption::Table;
    const bool isLeaf = input.KindOption == KindOption::Leaf;
    const QString name = significantText(input.NameText, NameWidth);
    const int32_t objectId = objectIdOf(input);
    if (auto refusal = duplicateRefusal(state, name, isTable, *parent, objectId, -1)) {
        warn(sink, *refusal);
        return OperationResult::Refused;
    }

    DefinitionTables &tables = state.tables;
    const int objectCount = isTable ? 2 : 1;
    const int attributeCount = isTable ? 2 : isLeaf ? 1 : 0;
    const QList<int> objects = findFreeSlots(tables.tree, objectCount);
    const QList<int> attributes = findFreeSlots(tables.attribute, attributeCount);
    ConstraintSlots reserved;
    bool enough = objects.size() == objectCount && attributes.size() == attributeCount;
    if (isLeaf && input.RangeTicked) {
        reserved.range = findFreeSlot(tables.range);
        enough = enough && reserved.range >= 0;
    } else if (isLeaf && input.ListTicked) {
        reserved.items = findFreeSlots(tables.list, input.Items.size());
        enough = enough && reserved.items.size() == input.Items.size();
    }
    if (!enough) {
        warn(sink, texts::tableFull());
        return OperationResult::Refused;
    }

    const int object = objects[0];
    writeObject(tables, object, isTable ? name + TableSuffix : name, objectId, *parent,
                objectKindOf(input.KindOption));
    if (isTable)
        writeObject(tables, objects[1], name + EntrySuffix, 1, object, ObjectKind::Entry);
    if (attributeCount == 0)
        return OperationResult::Success;

    writeAttribute(tables, attributes[0], object, input.DescriptionText,
                   isTable ? Access::NotAccessible : accessCode(input.AccessIndex));
    if (isTable) {
        writeAttribute(tables, attributes[1], objects[1], input.EntryDescriptionText, Access::NotAccessible);
        return OperationResult::Success;
    }
    writeLeafType(tables, object, tables.attribute[attributes[0]], input, reserved);
    return OperationResult::Success;
}

OperationResult ChangeObject(AppState &state, int slot, const EditorInput &input, MessageSink &sink)
{
    if (auto failure = ValidateInput(input, EditMode::Change)) {
        sink.report(*failure, MessageKind::Warning);
        return OperationResult::Refused;
    }
    DefinitionTables &tables = state.tables;
    if (!isSlot(slot) || tables.tree[slot].InUse != 1)
        return OperationResult::Failed;
    const int32_t kind = tables.tree[slot].Kind;
    const bool kindFits = (kind == ObjectKind::Node || kind == ObjectKind::Table || kind == ObjectKind::Entry
                           || kind == ObjectKind::Leaf)
        && kindOptionFor(kind) == input.KindOption;
    if (!kindFits) {
        warn(sink, texts::kindChanged());
        return OperationResult::Refused;
    }
    const std::optional<int> parent = resolveParent(state, input);
    if (!parent)
        return OperationResult::Failed;
    if (auto refusal = parentRefusal(state, *parent, slot)) {
        warn(sink, *refusal);
        return OperationResult::Refused;
    }
    const QString name = significantText(input.NameText, NameWidth);
    const int32_t objectId = objectIdOf(input);
    // Object IDs are compared among the children of the parent the object
    // will have, so a move cannot give two siblings one sub-identifier.
    if (auto refusal = duplicateRefusal(state, name, false, *parent, objectId, slot)) {
        warn(sink, *refusal);
        return OperationResult::Refused;
    }

    int attribute = -1;
    if (kind != ObjectKind::Node) {
        attribute = attributeOf(state, slot);
        if (attribute < 0)
            return OperationResult::Refused;
    }
    const ConstraintSlots old
        = constraintOf(state, slot, attribute >= 0 ? tables.attribute[attribute].Constraint : Constraint::None);

    // Every slot the new constraint needs is found before anything is
    // written, counting those the old constraint gives back.
    const bool isLeaf = kind == ObjectKind::Leaf;
    ConstraintSlots reserved;
    bool enough = true;
    if (isLeaf && input.RangeTicked) {
        reserved.range = old.range >= 0 && old.range < StoredSlotCount ? old.range : findFreeSlot(tables.range);
        enough = reserved.range >= 0;
    } else if (isLeaf && input.ListTicked) {
        reserved.items = findFreeSlots(tables.list, input.Items.size(), old.items);
        enough = reserved.items.size() == input.Items.size();
    }
    if (!enough) {
        warn(sink, texts::tableFull());
        return OperationResult::Refused;
    }

    freeConstraint(tables, old, FreedRange::ZeroBounds);
    writeObject(tables, slot, name, objectId, *parent, kind);
    if (kind == ObjectKind::Node)
        return OperationResult::Success;

    writeAttribute(tables, attribute, slot,
                   kind == ObjectKind::Entry ? input.EntryDescriptionText : input.DescriptionText,
                   isLeaf ? accessCode(input.AccessIndex) : Access::NotAccessible);
    if (isLeaf)
        writeLeafType(tables, slot, tables.attribute[attribute], input, reserved);
    return OperationResult::Success;
}

CommitResult CommitEditor(AppState &state, const EditorInput &input, MessageSink &sink)
{
    const auto failed = [&sink] {
        sink.report(texts::commitFailed(), MessageKind::Error);
        return CommitResult{CommitOutcome::Failed, false};
    };
    try {
        const bool adding = state.EditTarget == -1;
        if (auto failure = ValidateInput(input, adding ? EditMode::Add : EditMode::Change)) {
            sink.report(*failure, MessageKind::Warning);
            return {CommitOutcome::FieldError, false};
        }
        const OperationResult result
            = adding ? AddObject(state, input, sink) : ChangeObject(state, state.EditTarget, input, sink);
        switch (result) {
        case OperationResult::Success:
            sink.report(adding ? texts::objectAdded() : texts::objectChanged(),
                        MessageKind::Notice);
            return {adding ? CommitOutcome::Added : CommitOutcome::Changed, true};
        case OperationResult::Refused:
            return {CommitOutcome::Refused, true};
        case OperationResult::Failed:
            break;
        }
        return failed();
    } catch (...) {
        return failed();
    }
}

} // namespace korvel
