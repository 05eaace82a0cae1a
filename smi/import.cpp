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

// Why an import was refused, or what of the module it did not keep; each
// reason in English (korvelc) and Japanese (the program). %1 is the argument.
enum class Reason {
    FileMissing,
    Unreadable,
    UnreadableBecause,    // %1 libsmi's first errors
    NothingUnderEnterprises,
    TooManyObjects,       // %1 the limit
    DescriptionCut,       // %1 the width
    SyntaxUnknown,
    Counter64,
    Bits,
    SyntaxWithoutCounterpart,
    SeveralRanges,
    RangeNotKept,
    Augments,             // %1 the row it augments
    Implied,
    IndexNotColumn,       // %1 the index element
    Notification,
    Group,
    Compliance,
    NotUnderEnterprises,
    TypeDefinition,
};

struct ReasonText {
    Reason reason;
    const char *english;
    const char *japanese;
};

constexpr ReasonText Reasons[] = {
    {Reason::FileMissing, "the module file cannot be found", "モジュールのファイルがみつかりません。"},
    {Reason::Unreadable, "libsmi cannot read the module", "libsmiがモジュールを読み込めません。"},
    {Reason::UnreadableBecause, "libsmi cannot read the module: %1", "libsmiがモジュールを読み込めません: %1"},
    {Reason::NothingUnderEnterprises, "the module defines nothing under enterprises",
     "モジュールにはenterprisesの下の定義がありません。"},
    {Reason::TooManyObjects, "the module has more than %1 objects or enumeration items",
     "モジュールのオブジェクトまたは列挙の項目が%1個を超えています。"},
    {Reason::DescriptionCut, "description cut to %1 characters", "説明を%1文字で切りました"},
    {Reason::SyntaxUnknown, "its syntax is unknown", "構文が不明です"},
    {Reason::Counter64, "Counter64 kept as Counter", "Counter64をCounterとしました"},
    {Reason::Bits, "BITS kept as OCTET STRING", "BITSをOCTET STRINGとしました"},
    {Reason::SyntaxWithoutCounterpart, "its syntax has no counterpart in a design", "構文に対応する型がありません"},
    {Reason::SeveralRanges, "more than one range; the first kept", "範囲が複数あります。最初の範囲だけを取り込みました"},
    {Reason::RangeNotKept, "its range cannot be kept", "範囲を取り込めません"},
    {Reason::Augments, "AUGMENTS %1 not kept; the row has no index of its own",
     "AUGMENTS %1は取り込めません。行に独自のインデックスがありません"},
    {Reason::Implied, "IMPLIED not kept", "IMPLIEDは取り込めません"},
    {Reason::IndexNotColumn, "index element %1 is no column of this row; not kept",
     "インデックスの%1はこの行の列ではないため取り込みません"},
    {Reason::Notification, "notification skipped", "通知は取り込みません"},
    {Reason::Group, "group skipped", "グループは取り込みません"},
    {Reason::Compliance, "compliance skipped", "適合性の定義は取り込みません"},
    {Reason::NotUnderEnterprises, "not under enterprises; skipped", "enterprisesの下にないため取り込みません"},
    {Reason::TypeDefinition, "type definition skipped", "型定義は取り込みません"},
};

QString reasonText(Reason reason, bool japanese, const QString &argument)
{
    for (const ReasonText &text : Reasons) {
        if (text.reason == reason) {
            QString line = QString::fromUtf8(japanese ? text.japanese : text.english);
            return argument.isNull() ? line : line.replace(QLatin1StringView("%1"), argument);
        }
    }
    return QString();
}

// The lines of what was not kept, "NAME: reason", in both languages.
struct NotKept {
    QStringList english;
    QStringList japanese;

    void add(const QString &name, Reason reason, const QString &argument = QString())
    {
        english.append(name + QLatin1StringView(": ") + reasonText(reason, false, argument));
        japanese.append(name + QLatin1StringView(": ") + reasonText(reason, true, argument));
    }
};

ImportResult refused(Reason reason, const QString &argument = QString())
{
    ImportResult result;
    result.refusal = reasonText(reason, false, argument);
    result.refusalJapanese = reasonText(reason, true, argument);
    return result;
}

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
    Importer(AppState &state, NotKept &notKept) : m_state(state), m_tables(state.tables), m_notKept(notKept) {}

    // The design object at an OID under enterprises; ancestors the module
    // does not define become plain nodes. -1 for enterprises itself.
    int objectAt(const SmiSubid *oid, unsigned length);
    void addNode(SmiNode *node);
    void applyIndex(SmiNode *row);
    int slotOf(SmiNode *node) const { return m_slotOfOid.value(oidKey(node->oid, node->oidlen), -1); }

private:
    void note(const QString &name, Reason reason, const QString &argument = QString())
    {
        m_notKept.add(name, reason, argument);
    }
    void describe(int slot, SmiNode *node, int32_t access);
    void setSyntax(int slot, SmiNode *node);

    AppState &m_state;
    DefinitionTables &m_tables;
    NotKept &m_notKept;
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
        note(text(node->name), Reason::DescriptionCut, QString::number(NameWidth));
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
        note(name, Reason::SyntaxUnknown);
        return;
    }
    // The SMI's own application types decide first; otherwise the base type.
    // Gauge32, Gauge and Unsigned32 need no name: their base type is
    // Unsigned32, which is a Gauge in the design.
    int32_t syntax = 0;
    for (SmiType *t = type; t && syntax == 0; t = smiGetParentType(t)) {
        if (!fromBaseModule(t))
            continue;
        const QString base = text(t->name);
        if (base == u"IpAddress" || base == u"NetworkAddress")
            syntax = Syntax::IpAddress;
        else if (base == u"Counter32" || base == u"Counter")
            syntax = Syntax::Counter;
        else if (base == u"TimeTicks")
            syntax = Syntax::TimeTicks;
        else if (base == u"Opaque")
            syntax = Syntax::Opaque;
        else if (base == u"Counter64") {
            syntax = Syntax::Counter;
            note(name, Reason::Counter64);
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
            note(name, Reason::Counter64);
            break;
        case SMI_BASETYPE_BITS:
            syntax = Syntax::OctetString;
            note(name, Reason::Bits);
            break;
        default:
            note(name, Reason::SyntaxWithoutCounterpart);
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
            note(name, Reason::SeveralRanges);
        const QString low = valueText(range->minValue);
        const QString high = valueText(range->maxValue);
        if (low.isEmpty() || high.isEmpty() || low.size() > BoundWidth || high.size() > BoundWidth) {
            note(name, Reason::RangeNotKept);
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
        note(name, Reason::Augments, base ? text(base->name) : QString());
        return;
    }
    if (row->implied)
        note(name, Reason::Implied);
    int position = 0;
    for (SmiElement *e = smiGetFirstElement(row); e; e = smiGetNextElement(e)) {
        SmiNode *column = smiGetElementNode(e);
        const int slot = column ? slotOf(column) : -1;
        ++position;
        if (slot < 0 || m_tables.tree[slot].Parent != slotOf(row)) {
            note(name, Reason::IndexNotColumn, column ? text(column->name) : QString());
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
    if (!QFileInfo(moduleFile).isFile())
        return refused(Reason::FileMissing);
    SmiSession session(importSearchPath(moduleFile, userFolders, baseModules), 2);
    const QString name = session.load(moduleFile);
    SmiModule *module = name.isEmpty() ? nullptr : smiGetModule(name.toUtf8().constData());
    const bool broken = std::any_of(session.diagnostics().begin(), session.diagnostics().end(),
                                    [](const SmiDiagnostic &d) { return d.severity <= 1; });
    if (!module || broken) {
        const QString errors = firstErrors(session.diagnostics());
        return errors.isEmpty() ? refused(Reason::Unreadable) : refused(Reason::UnreadableBecause, errors);
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
    NotKept notKept;
    for (SmiNode *node = smiGetFirstNode(module, SMI_NODEKIND_ANY); node; node = smiGetNextNode(node, SMI_NODEKIND_ANY)) {
        const QString nodeName = text(node->name);
        if (node == identity || written.contains(nodeName))
            continue;
        switch (node->nodekind) {
        case SMI_NODEKIND_NOTIFICATION:
            notKept.add(nodeName, Reason::Notification);
            continue;
        case SMI_NODEKIND_GROUP:
            notKept.add(nodeName, Reason::Group);
            continue;
        case SMI_NODEKIND_COMPLIANCE:
        case SMI_NODEKIND_CAPABILITIES:
            notKept.add(nodeName, Reason::Compliance);
            continue;
        default:
            break;
        }
        if (!underEnterprises(node)) {
            notKept.add(nodeName, Reason::NotUnderEnterprises);
            continue;
        }
        nodes.append(node);
    }
    for (SmiType *type = smiGetFirstType(module); type; type = smiGetNextType(type))
        notKept.add(text(type->name), Reason::TypeDefinition);
    if (nodes.isEmpty())
        return refused(Reason::NothingUnderEnterprises);
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
    if (objects.size() > ImportObjectLimit || items > StoredSlotCount)
        return refused(Reason::TooManyObjects, QString::number(StoredSlotCount));

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
    ImportResult result;
    result.imported = true;
    result.notKept = notKept.english;
    result.notKeptJapanese = notKept.japanese;
    return result;
}

} // namespace korvel
