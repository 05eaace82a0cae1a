#include "sampledesign.h"

#include "designfile.h"
#include "tableops.h"

#include <QFile>

namespace korvel::testing {

namespace {

int addObject(AppState &state, const QString &name, int objectId, int parent, int kind)
{
    const int slot = findFreeSlot(state.tables.tree);
    writeObject(state.tables, slot, name, objectId, parent, kind);
    return slot;
}

MibAttribute &addAttribute(AppState &state, int owner, const QString &description, int access)
{
    const int slot = findFreeSlot(state.tables.attribute);
    writeAttribute(state.tables, slot, owner, description, access);
    return state.tables.attribute[slot];
}

} // namespace

int addNode(AppState &state, const QString &name, int objectId, int parent)
{
    return addObject(state, name, objectId, parent, ObjectKind::Node);
}

int addTable(AppState &state, const QString &base, int objectId, int parent, const QString &description,
             const QString &entryDescription)
{
    const int table = addObject(state, base + QStringLiteral("Table"), objectId, parent, ObjectKind::Table);
    const int entry = addObject(state, base + QStringLiteral("Entry"), 1, table, ObjectKind::Entry);
    addAttribute(state, table, description, Access::NotAccessible);
    addAttribute(state, entry, entryDescription, Access::NotAccessible);
    return table;
}

QByteArray snapshot(const AppState &state)
{
    const DefinitionTables &t = state.tables;
    return designFileImage(state) + QByteArray::number(t.MibTreeCount) + ',' + QByteArray::number(t.MibAttributeCount)
           + ',' + QByteArray::number(t.MibRangeCount) + ',' + QByteArray::number(t.MibListCount);
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int entryOf(const AppState &state, int table)
{
    const QList<int> children = childrenOf(state, table);
    return children.isEmpty() ? -1 : children.first();
}

int addLeaf(AppState &state, const LeafDefinition &def)
{
    const bool range = !def.minimum.isEmpty() && !def.maximum.isEmpty();
    const bool enumeration = !range && !def.items.isEmpty();
    const int leaf = addObject(state, def.name, def.objectId, def.parent, ObjectKind::Leaf);
    MibAttribute &attribute = addAttribute(state, leaf, def.description, def.access);
    attribute.Syntax = def.syntax;
    attribute.Constraint = range ? Constraint::Range : enumeration ? Constraint::Enumeration : Constraint::None;
    attribute.KeyOrder = def.keyOrder;
    DefinitionTables &t = state.tables;
    if (range) {
        MibRange &r = t.range[findFreeSlot(t.range)];
        storeText(r.Minimum, def.minimum, BoundWidth);
        storeText(r.Maximum, def.maximum, BoundWidth);
        r.MinimumLength = static_cast<int32_t>(def.minimum.size());
        r.MaximumLength = static_cast<int32_t>(def.maximum.size());
        r.Owner = leaf;
        r.InUse = 1;
        ++t.MibRangeCount;
    }
    for (const auto &item : enumeration ? def.items : QList<QPair<QString, int>>()) {
        MibList &l = t.list[findFreeSlot(t.list)];
        storeText(l.ItemName, item.first, NameWidth);
        l.ItemNameLength = static_cast<int32_t>(item.first.size());
        l.Owner = leaf;
        l.ItemValue = item.second;
        l.InUse = 1;
        ++t.MibListCount;
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
