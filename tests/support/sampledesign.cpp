#include "sampledesign.h"

#include "tableops.h"

namespace korvel::testing {

namespace {

int addTreeRecord(AppState &state, const QString &name, int objectId, int parent, int kind)
{
    const int slot = findFreeSlot(state.tables.tree);
    MibTree &r = state.tables.tree[slot];
    storeText(r.Name, name, NameWidth);
    r.NameLength = static_cast<int32_t>(qMin<qsizetype>(name.size(), NameWidth));
    r.ObjectId = objectId;
    r.Parent = parent;
    r.Kind = kind;
    r.InUse = 1;
    ++state.tables.MibTreeCount;
    return slot;
}

int addAttribute(AppState &state, int owner, int syntax, int constraint, int access,
                 const QString &description, int keyOrder)
{
    const int slot = findFreeSlot(state.tables.attribute);
    MibAttribute &a = state.tables.attribute[slot];
    a.Owner = owner;
    a.Syntax = syntax;
    a.Constraint = constraint;
    a.Access = access;
    storeText(a.Description, description, NameWidth);
    a.DescriptionLength = static_cast<int32_t>(qMin<qsizetype>(description.size(), NameWidth));
    a.KeyOrder = keyOrder;
    a.InUse = 1;
    ++state.tables.MibAttributeCount;
    return slot;
}

} // namespace

int addNode(AppState &state, const QString &name, int objectId, int parent)
{
    return addTreeRecord(state, name, objectId, parent, ObjectKind::Node);
}

int addTable(AppState &state, const QString &base, int objectId, int parent, const QString &description)
{
    const int table = addTreeRecord(state, base + QStringLiteral("Table"), objectId, parent, ObjectKind::Table);
    const int entry = addTreeRecord(state, base + QStringLiteral("Entry"), 1, table, ObjectKind::Entry);
    addAttribute(state, table, 0, Constraint::None, Access::NotAccessible, description, 0);
    addAttribute(state, entry, 0, Constraint::None, Access::NotAccessible, QString(), 0);
    return table;
}

int entryOf(const AppState &state, int table)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        const MibTree &r = state.tables.tree[slot];
        if (r.InUse == 1 && r.Parent == table && r.Kind == ObjectKind::Entry)
            return slot;
    }
    return -1;
}

int addLeaf(AppState &state, const LeafDefinition &def)
{
    const bool range = !def.minimum.isEmpty() && !def.maximum.isEmpty();
    const bool enumeration = !range && !def.items.isEmpty();
    const int constraint = range ? Constraint::Range : enumeration ? Constraint::Enumeration : Constraint::None;
    const int leaf = addTreeRecord(state, def.name, def.objectId, def.parent, ObjectKind::Leaf);
    addAttribute(state, leaf, def.syntax, constraint, def.access, def.description, def.keyOrder);
    if (range) {
        const int slot = findFreeSlot(state.tables.range);
        MibRange &r = state.tables.range[slot];
        r.Owner = leaf;
        storeText(r.Minimum, def.minimum, BoundWidth);
        r.MinimumLength = static_cast<int32_t>(def.minimum.size());
        storeText(r.Maximum, def.maximum, BoundWidth);
        r.MaximumLength = static_cast<int32_t>(def.maximum.size());
        r.InUse = 1;
        ++state.tables.MibRangeCount;
    }
    if (enumeration) {
        for (const auto &item : def.items) {
            const int slot = findFreeSlot(state.tables.list);
            MibList &l = state.tables.list[slot];
            l.Owner = leaf;
            storeText(l.ItemName, item.first, NameWidth);
            l.ItemNameLength = static_cast<int32_t>(item.first.size());
            l.ItemValue = item.second;
            l.InUse = 1;
            ++state.tables.MibListCount;
        }
    }
    return leaf;
}

void buildSampleDesign(AppState &state)
{
    const int system = addNode(state, QStringLiteral("sysInfo"), 1);
    addLeaf(state, {QStringLiteral("sysTemperature"), 1, system, 2, 1, QStringLiteral("Board temperature"),
                    0, QStringLiteral("-40"), QStringLiteral("125"), {}});
    addLeaf(state, {QStringLiteral("sysMode"), 2, system, 2, 2, QStringLiteral("Operating mode"), 0, {}, {},
                    {{QStringLiteral("normal"), 1}, {QStringLiteral("standby"), 2}, {QStringLiteral("off"), 0}}});
    const int table = addTable(state, QStringLiteral("port"), 2, RootSlot, QStringLiteral("Ports"));
    const int entry = entryOf(state, table);
    addLeaf(state, {QStringLiteral("portIndex"), 1, entry, 2, 1, QStringLiteral("Port number"), 1,
                    QStringLiteral("1"), QStringLiteral("64"), {}});
    addLeaf(state, {QStringLiteral("portName"), 2, entry, 4, 2, QStringLiteral("ポート名"), 0, {}, {}, {}});
    addLeaf(state, {QStringLiteral("portStatus"), 3, entry, 2, 1, QStringLiteral("Link state"), 0, {}, {},
                    {{QStringLiteral("up"), 1}, {QStringLiteral("down"), 2}}});
}

} // namespace korvel::testing
