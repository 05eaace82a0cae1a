#include "import.h"

#include "smiapi.h"
#include "smisession.h"
#include "smiv2writer.h"
#include "tableops.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <memory>

namespace korvel {

namespace {

constexpr SmiSubid Enterprises[] = {1, 3, 6, 1, 4, 1};
constexpr unsigned EnterprisesLength = 6;

bool underEnterprises(const SmiNode *node)
{
    return node->oidlen > EnterprisesLength && std::equal(Enterprises, Enterprises + EnterprisesLength, node->oid);
}

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
}

QString oidKey(const SmiSubid *oid, unsigned length)
{
    QStringList arcs;
    for (unsigned i = 0; i < length; ++i)
        arcs.append(QString::number(oid[i]));
    return arcs.join(u'.');
}

bool fromBaseModule(SmiType *type)
{
    const SmiModule *module = smiGetTypeModule(type);
    const QString name = module ? text(module->name) : QString();
    return name == u"SNMPv2-SMI" || name == u"RFC1155-SMI" || name == u"RFC1065-SMI";
}

QString valueText(const SmiValue &value)
{
    switch (value.basetype) {
    case SMI_BASETYPE_INTEGER32:
        return QString::number(value.value.integer32);
    case SMI_BASETYPE_UNSIGNED32:
        return QString::number(value.value.unsigned32);
    case SMI_BASETYPE_INTEGER64:
        return QString::number(value.value.integer64);
    case SMI_BASETYPE_UNSIGNED64:
        return QString::number(value.value.unsigned64);
    default:
        return QString();
    }
}

class Importer
{
public:
    Importer(AppState &state, QStringList &notKept) : m_state(state), m_tables(state.tables), m_notKept(notKept) {}

    // The design object at an OID under enterprises; ancestors the module
    // does not define become plain nodes. -1 for enterprises itself.
    int objectAt(const SmiSubid *oid, unsigned length);
    void addNode(SmiNode *node);
    void applyIndex(SmiNode *row);
    int slotOf(SmiNode *node) const { return m_slotOfOid.value(oidKey(node->oid, node->oidlen), -1); }

private:
    void note(const QString &name, const QString &reason) { m_notKept.append(name + QLatin1StringView(": ") + reason); }
    void describe(int slot, SmiNode *node, int32_t access);
    void setSyntax(int slot, SmiNode *node);

    AppState &m_state;
    DefinitionTables &m_tables;
    QStringList &m_notKept;
    QHash<QString, int> m_slotOfOid;
};

int Importer::objectAt(const SmiSubid *oid, unsigned length)
{
    if (length <= EnterprisesLength)
        return RootSlot;
    const QString key = oidKey(oid, length);
    if (const auto found = m_slotOfOid.constFind(key); found != m_slotOfOid.constEnd())
        return found.value();
    const int parent = objectAt(oid, length - 1);
    const SmiNode *known = smiGetNodeByOID(length, const_cast<SmiSubid *>(oid));
    const QString name = known && known->oidlen == length && known->name
                             ? text(known->name)
                             : QStringLiteral("node") + oidKey(oid + EnterprisesLength, length - EnterprisesLength)
                                                            .replace(u'.', u'x');
    const int slot = findFreeSlot(m_tables.tree);
    writeObject(m_tables, slot, name, int32_t(oid[length - 1]), parent, ObjectKind::Node);
    m_slotOfOid.insert(key, slot);
    return slot;
}

void Importer::describe(int slot, SmiNode *node, int32_t access)
{
    QString description = text(node->description).simplified();
    if (description.size() > NameWidth) {
        note(text(node->name), QStringLiteral("description cut to %1 characters").arg(NameWidth));
        description.truncate(NameWidth);
    }
    writeAttribute(m_tables, findFreeSlot(m_tables.attribute), slot, description, access);
}

void Importer::setSyntax(int slot, SmiNode *node)
{
    MibAttribute &a = m_tables.attribute[attributeOf(m_state, slot)];
    const QString name = text(node->name);
    SmiType *type = smiGetNodeType(node);
    a.Syntax = Syntax::NoSyntax;
    if (!type) {
        note(name, QStringLiteral("its syntax is unknown"));
        return;
    }
    // The SMI's own application types decide first; otherwise the base type.
    int32_t syntax = 0;
    for (SmiType *t = type; t && syntax == 0; t = smiGetParentType(t)) {
        if (!fromBaseModule(t))
            continue;
        const QString base = text(t->name);
        if (base == u"IpAddress" || base == u"NetworkAddress")
            syntax = Syntax::IpAddress;
        else if (base == u"Counter32" || base == u"Counter")
            syntax = Syntax::Counter;
        else if (base == u"Gauge32" || base == u"Gauge" || base == u"Unsigned32")
            syntax = Syntax::Gauge;
        else if (base == u"TimeTicks")
            syntax = Syntax::TimeTicks;
        else if (base == u"Opaque")
            syntax = Syntax::Opaque;
        else if (base == u"Counter64") {
            syntax = Syntax::Counter;
            note(name, QStringLiteral("Counter64 kept as Counter"));
        }
    }
    if (syntax == 0) {
        switch (type->basetype) {
        case SMI_BASETYPE_INTEGER32:
        case SMI_BASETYPE_ENUM:
            syntax = Syntax::Integer;
            break;
        case SMI_BASETYPE_OCTETSTRING:
            syntax = Syntax::OctetString;
            break;
        case SMI_BASETYPE_OBJECTIDENTIFIER:
            syntax = Syntax::ObjectIdentifier;
            break;
        case SMI_BASETYPE_UNSIGNED32:
            syntax = Syntax::Gauge;
            break;
        case SMI_BASETYPE_UNSIGNED64:
            syntax = Syntax::Counter;
            note(name, QStringLiteral("Counter64 kept as Counter"));
            break;
        case SMI_BASETYPE_BITS:
            syntax = Syntax::OctetString;
            note(name, QStringLiteral("BITS kept as OCTET STRING"));
            break;
        default:
            note(name, QStringLiteral("its syntax has no counterpart in a design"));
            return;
        }
    }
    a.Syntax = syntax;

    if (type->basetype == SMI_BASETYPE_ENUM) {
        for (SmiType *t = type; t; t = smiGetParentType(t)) {
            if (!smiGetFirstNamedNumber(t))
                continue;
            for (SmiNamedNumber *n = smiGetFirstNamedNumber(t); n; n = smiGetNextNamedNumber(n)) {
                const int item = findFreeSlot(m_tables.list);
                MibList &l = m_tables.list[item];
                l.Owner = slot;
                storeText(l.ItemName, l.ItemNameLength, text(n->name), NameWidth);
                l.ItemValue = n->value.value.integer32;
                l.InUse = 1;
                ++m_tables.MibListCount;
            }
            a.Constraint = Constraint::Enumeration;
            return;
        }
        return;
    }
    // The first range of the nearest type that has any; the SMI's own types
    // only restate their value space.
    for (SmiType *t = type; t && !fromBaseModule(t); t = smiGetParentType(t)) {
        SmiRange *range = smiGetFirstRange(t);
        if (!range)
            continue;
        if (smiGetNextRange(range))
            note(name, QStringLiteral("more than one range; the first kept"));
        const QString low = valueText(range->minValue);
        const QString high = valueText(range->maxValue);
        if (low.isEmpty() || high.isEmpty() || low.size() > BoundWidth || high.size() > BoundWidth) {
            note(name, QStringLiteral("its range cannot be kept"));
            return;
        }
        const int r = findFreeSlot(m_tables.range);
        MibRange &record = m_tables.range[r];
        record.Owner = slot;
        storeText(record.Minimum, record.MinimumLength, low, BoundWidth);
        storeText(record.Maximum, record.MaximumLength, high, BoundWidth);
        record.InUse = 1;
        ++m_tables.MibRangeCount;
        a.Constraint = Constraint::Range;
        return;
    }
}

void Importer::addNode(SmiNode *node)
{
    const int parent = objectAt(node->oid, node->oidlen - 1);
    const int32_t id = int32_t(std::min<SmiSubid>(node->oid[node->oidlen - 1], INT32_MAX));
    const QString key = oidKey(node->oid, node->oidlen);
    int32_t kind = ObjectKind::Node;
    switch (node->nodekind) {
    case SMI_NODEKIND_TABLE:
        kind = ObjectKind::Table;
        break;
    case SMI_NODEKIND_ROW:
        kind = ObjectKind::Entry;
        break;
    case SMI_NODEKIND_SCALAR:
    case SMI_NODEKIND_COLUMN:
        kind = ObjectKind::Leaf;
        break;
    default:
        break;
    }
    // An ancestor made as a plain node earlier is this very object.
    int slot = m_slotOfOid.value(key, -1);
    if (slot < 0)
        slot = findFreeSlot(m_tables.tree);
    writeObject(m_tables, slot, text(node->name), id, parent, kind);
    m_slotOfOid.insert(key, slot);
    if (kind == ObjectKind::Node)
        return;
    int32_t access = Access::NotAccessible;
    if (kind == ObjectKind::Leaf) {
        switch (node->access) {
        case SMI_ACCESS_READ_WRITE:
            access = Access::ReadWrite;
            break;
        case SMI_ACCESS_READ_ONLY:
        case SMI_ACCESS_NOTIFY:
            access = Access::ReadOnly;
            break;
        default:
            break;
        }
    }
    describe(slot, node, access);
    if (kind == ObjectKind::Leaf)
        setSyntax(slot, node);
}

void Importer::applyIndex(SmiNode *row)
{
    const QString name = text(row->name);
    if (row->indexkind == SMI_INDEX_AUGMENT) {
        SmiNode *base = smiGetRelatedNode(row);
        note(name, QStringLiteral("AUGMENTS %1 not kept; the row has no index of its own").arg(base ? text(base->name) : QString()));
        return;
    }
    if (row->implied)
        note(name, QStringLiteral("IMPLIED not kept"));
    int position = 0;
    for (SmiElement *e = smiGetFirstElement(row); e; e = smiGetNextElement(e)) {
        SmiNode *column = smiGetElementNode(e);
        const int slot = column ? slotOf(column) : -1;
        ++position;
        if (slot < 0 || m_tables.tree[slot].Parent != slotOf(row)) {
            note(name, QStringLiteral("index element %1 is no column of this row; not kept")
                           .arg(column ? text(column->name) : QString()));
            continue;
        }
        m_tables.attribute[attributeOf(m_state, slot)].KeyOrder = position;
    }
}

QString firstErrors(const QList<SmiDiagnostic> &diagnostics)
{
    QStringList lines;
    for (const SmiDiagnostic &d : diagnostics) {
        if (d.isError() && lines.size() < 3)
            lines.append(QStringLiteral("%1:%2: %3").arg(QFileInfo(d.file).fileName()).arg(d.line).arg(d.message));
    }
    return lines.join(QLatin1StringView("; "));
}

} // namespace

QStringList importSearchPath(const QString &moduleFile, const QStringList &userFolders, const QString &baseModules)
{
    QStringList path{baseModules.isEmpty() ? SmiSession::baseModuleFolder() : baseModules,
                     QFileInfo(moduleFile).absolutePath(), QStringLiteral("/usr/share/snmp/mibs"),
                     QDir::home().filePath(QStringLiteral(".snmp/mibs"))};
    const QString smiPath = qEnvironmentVariable("SMIPATH");
    if (!smiPath.isEmpty())
        path += smiPath.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return path + userFolders;
}

ImportResult importModule(const QString &moduleFile, const QStringList &userFolders, AppState &state,
                          ModuleInfo &info, const QString &baseModules)
{
    ImportResult result;
    if (!QFileInfo(moduleFile).isFile()) {
        result.refusal = QStringLiteral("the module file cannot be found");
        return result;
    }
    SmiSession session(importSearchPath(moduleFile, userFolders, baseModules), 2);
    const QString name = session.load(moduleFile);
    SmiModule *module = name.isEmpty() ? nullptr : smiGetModule(name.toUtf8().constData());
    const bool broken = std::any_of(session.diagnostics().begin(), session.diagnostics().end(),
                                    [](const SmiDiagnostic &d) { return d.severity <= 1; });
    if (!module || broken) {
        const QString errors = firstErrors(session.diagnostics());
        result.refusal = QStringLiteral("libsmi cannot read the module") + (errors.isEmpty() ? QString() : QStringLiteral(": ") + errors);
        return result;
    }

    SmiNode *identity = smiGetModuleIdentityNode(module);
    const QString identityName = identity ? text(identity->name) : QString();
    // The conformance section our writer adds below the identity is
    // recognised by its names and shape, and not imported.
    QSet<QString> written;
    if (identity) {
        const auto node = [module](const QString &n) { return smiGetNode(module, n.toUtf8().constData()); };
        const auto below = [](const SmiNode *child, const SmiNode *parent, SmiSubid arc) {
            return child && parent && child->oidlen == parent->oidlen + 1
                   && std::equal(parent->oid, parent->oid + parent->oidlen, child->oid)
                   && (arc == 0 || child->oid[parent->oidlen] == arc);
        };
        SmiNode *conformance = node(conformanceName(identityName));
        SmiNode *compliances = node(compliancesName(identityName));
        if (below(conformance, identity, 0) && below(node(groupsName(identityName)), conformance, 1)
            && below(compliances, conformance, 2) && below(node(complianceName(identityName)), compliances, 1))
            written = {conformanceName(identityName), groupsName(identityName), compliancesName(identityName),
                       objectGroupName(identityName), complianceName(identityName)};
    }
    QList<SmiNode *> nodes;
    QStringList notKept;
    for (SmiNode *node = smiGetFirstNode(module, SMI_NODEKIND_ANY); node; node = smiGetNextNode(node, SMI_NODEKIND_ANY)) {
        const QString nodeName = text(node->name);
        if (node == identity || written.contains(nodeName))
            continue;
        switch (node->nodekind) {
        case SMI_NODEKIND_NOTIFICATION:
            notKept.append(nodeName + QLatin1StringView(": notification skipped"));
            continue;
        case SMI_NODEKIND_GROUP:
            notKept.append(nodeName + QLatin1StringView(": group skipped"));
            continue;
        case SMI_NODEKIND_COMPLIANCE:
        case SMI_NODEKIND_CAPABILITIES:
            notKept.append(nodeName + QLatin1StringView(": compliance skipped"));
            continue;
        default:
            break;
        }
        if (!underEnterprises(node)) {
            notKept.append(nodeName + QLatin1StringView(": not under enterprises; skipped"));
            continue;
        }
        nodes.append(node);
    }
    for (SmiType *type = smiGetFirstType(module); type; type = smiGetNextType(type))
        notKept.append(text(type->name) + QLatin1StringView(": type definition skipped"));
    if (nodes.isEmpty()) {
        result.refusal = QStringLiteral("the module defines nothing under enterprises");
        return result;
    }
    std::sort(nodes.begin(), nodes.end(), [](const SmiNode *a, const SmiNode *b) {
        return std::lexicographical_compare(a->oid, a->oid + a->oidlen, b->oid, b->oid + b->oidlen);
    });
    // Nodes and every ancestor the design must add, and enumeration items.
    QSet<QString> objects;
    int items = 0;
    for (const SmiNode *node : nodes) {
        for (unsigned length = EnterprisesLength + 1; length <= node->oidlen; ++length)
            objects.insert(oidKey(node->oid, length));
        if (SmiType *type = smiGetNodeType(const_cast<SmiNode *>(node)); type && type->basetype == SMI_BASETYPE_ENUM) {
            for (SmiType *t = type; t; t = smiGetParentType(t)) {
                int count = 0;
                for (SmiNamedNumber *n = smiGetFirstNamedNumber(t); n; n = smiGetNextNamedNumber(n))
                    ++count;
                if (count > 0) {
                    items += count;
                    break;
                }
            }
        }
    }
    if (identity && underEnterprises(identity)) {
        for (unsigned length = EnterprisesLength + 1; length < identity->oidlen; ++length)
            objects.insert(oidKey(identity->oid, length));
    }
    if (objects.size() > ImportObjectLimit || items > StoredSlotCount) {
        result.refusal = QStringLiteral("the module has more than %1 objects or enumeration items").arg(StoredSlotCount);
        return result;
    }

    auto scratch = std::make_unique<AppState>();
    Importer importer(*scratch, notKept);
    for (SmiNode *node : nodes)
        importer.addNode(node);
    for (SmiNode *node : nodes) {
        if (node->nodekind == SMI_NODEKIND_ROW)
            importer.applyIndex(node);
    }

    ModuleInfo imported;
    imported.moduleName = name;
    imported.identity = identityName;
    if (identity && underEnterprises(identity)) {
        imported.identityParent = importer.objectAt(identity->oid, identity->oidlen - 1);
        imported.identitySubId = int32_t(identity->oid[identity->oidlen - 1]);
    } else {
        imported.identityParent = RootSlot;
        imported.identitySubId = identity ? int32_t(identity->oid[identity->oidlen - 1]) : 1;
    }
    imported.organization = text(module->organization).simplified();
    imported.contactInfo = text(module->contactinfo).simplified();
    imported.description = text(module->description).simplified();
    for (SmiRevision *r = smiGetFirstRevision(module); r; r = smiGetNextRevision(r)) {
        const QDateTime date = QDateTime::fromSecsSinceEpoch(r->date, Qt::UTC);
        if (!imported.lastUpdated.isValid() || date > imported.lastUpdated)
            imported.lastUpdated = date;
        imported.revisions.append({date, text(r->description).simplified()});
    }
    // The revision our writer adds for LAST-UPDATED is its own, not the user's.
    imported.revisions.removeIf([&](const ModuleRevision &r) {
        return r.date == imported.lastUpdated && r.description == QLatin1StringView(WrittenRevisionDescription);
    });
    if (imported.identity.isEmpty())
        imported = defaultModuleInfo(*scratch);

    state.tables = scratch->tables;
    info = imported;
    result.imported = true;
    result.notKept = notKept;
    return result;
}

} // namespace korvel
