#include "smiv2writer.h"

#include "tableops.h"

#include <QSaveFile>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <map>

namespace korvel {

namespace {

constexpr auto Indent = "    ";

QString dateText(const QDateTime &date)
{
    return date.toUTC().toString(QStringLiteral("yyyyMMddHHmm")) + u'Z';
}

// SMI strings cannot hold a double quote (neither libsmi nor net-snmp take
// the ASN.1 doubled quote), so it becomes an apostrophe.
QString quoted(const QString &text)
{
    QString body = text;
    body.replace(u'"', u'\'');
    return u'"' + body + u'"';
}

// The SNMPv2-SMI type of a syntax code; empty for the built-in types.
QString importedType(int32_t syntax)
{
    switch (syntax) {
    case Syntax::Integer:
        return QStringLiteral("Integer32");
    case Syntax::IpAddress:
        return QStringLiteral("IpAddress");
    case Syntax::Counter:
        return QStringLiteral("Counter32");
    case Syntax::Gauge:
        return QStringLiteral("Gauge32");
    case Syntax::TimeTicks:
        return QStringLiteral("TimeTicks");
    case Syntax::Opaque:
        return QStringLiteral("Opaque");
    default:
        return QString();
    }
}

QString typeName(int32_t syntax)
{
    switch (syntax) {
    case Syntax::OctetString:
        return QStringLiteral("OCTET STRING");
    case Syntax::ObjectIdentifier:
        return QStringLiteral("OBJECT IDENTIFIER");
    default:
        return importedType(syntax);
    }
}

QString accessName(int32_t access)
{
    switch (access) {
    case Access::ReadOnly:
        return QStringLiteral("read-only");
    case Access::ReadWrite:
        return QStringLiteral("read-write");
    default:
        return QStringLiteral("not-accessible");
    }
}

// Joins `names` with ", ", breaking lines before `width` columns.
QString wrapped(const QStringList &names, const QString &indent, int width = 72)
{
    QString text;
    int column = int(indent.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString piece = names[i] + (i + 1 < names.size() ? QStringLiteral(",") : QString());
        if (i > 0 && column + 1 + piece.size() > width) {
            text += u'\n' + indent;
            column = int(indent.size());
        } else if (i > 0) {
            text += u' ';
            ++column;
        }
        text += piece;
        column += int(piece.size());
    }
    return text;
}

class Writer
{
public:
    Writer(const AppState &state, const ModuleInfo &info, const QDateTime &writingTime)
        : m_state(state), m_tables(state.tables), m_info(info), m_writingTime(writingTime)
    {
    }

    Smiv2Module run();

private:
    enum class Place { Root, Node };

    struct Column {
        int slot;
        bool key;
    };
    struct Row {
        int entry = -1;
        QList<int> columns; // ascending sub-identifier
        QList<int> keys;    // INDEX order
    };

    QString name(int slot) const { return displayedName(m_state, slot); }
    int32_t id(int slot) const { return m_tables.tree[slot].ObjectId; }
    const MibAttribute *attribute(int slot) const
    {
        const int a = attributeOf(m_state, slot);
        return a < 0 ? nullptr : &m_tables.attribute[a];
    }

    QList<int> children(int parent) const;
    void skip(int slot, const QString &reason);
    void skipBelow(int slot, const QString &reason);
    QString leafProblem(int slot) const;
    void visit(int parent);
    void planTable(int table);

    QString parentName(int slot) const;
    QString syntaxText(int slot, bool inSequence);
    QString columnAccess(int slot) const;
    void writeIdentity();
    void writeObject(int slot);
    void writeObjectType(int slot, const QString &syntax, const QString &access, const QString &index);
    void writeConformance();
    void line(const QString &text = QString()) { m_body += text + u'\n'; }

    const AppState &m_state;
    const DefinitionTables &m_tables;
    const ModuleInfo &m_info;
    const QDateTime m_writingTime;

    QList<int> m_order;             // the objects written, in module order
    QSet<int> m_written;
    std::map<int, QString> m_skips; // slot -> reason
    std::map<int, Row> m_rows;      // table slot -> its row
    std::map<int, int> m_tableOfColumn;
    QSet<QString> m_imports;
    QStringList m_groupObjects;
    QString m_body;
    int m_identityNode = -1;
};

QList<int> Writer::children(int parent) const
{
    QList<int> result;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (m_tables.tree[slot].InUse != 0 && m_tables.tree[slot].Parent == parent && slot != parent)
            result.append(slot);
    }
    std::stable_sort(result.begin(), result.end(), [this](int a, int b) { return id(a) < id(b); });
    return result;
}

void Writer::skip(int slot, const QString &reason)
{
    if (!m_written.contains(slot) && !m_skips.count(slot))
        m_skips[slot] = reason;
}

// Skips everything below `slot` that has no verdict yet, cycles included.
void Writer::skipBelow(int slot, const QString &reason)
{
    QList<int> pending{slot};
    QSet<int> seen{slot};
    while (!pending.isEmpty()) {
        for (int child : children(pending.takeFirst())) {
            if (seen.contains(child))
                continue;
            seen.insert(child);
            skip(child, reason);
            pending.append(child);
        }
    }
}

QString Writer::leafProblem(int slot) const
{
    const MibAttribute *a = attribute(slot);
    if (!a)
        return QStringLiteral("it has no attribute record");
    if (!Syntax::isKnown(a->Syntax))
        return QStringLiteral("it has no syntax");
    if (a->Constraint == Constraint::Range && rangeOf(m_state, slot) < 0)
        return QStringLiteral("its range record is missing");
    return QString();
}

void Writer::visit(int parent)
{
    int32_t lastId = 0;
    int lastSlot = -1;
    for (int slot : children(parent)) {
        const QString below = QStringLiteral("it lies below %1, which is not written").arg(name(slot));
        if (id(slot) <= 0) {
            skip(slot, QStringLiteral("its sub-identifier %1 is not positive").arg(id(slot)));
            skipBelow(slot, below);
            continue;
        }
        if (id(slot) == lastId) {
            skip(slot, QStringLiteral("its sub-identifier %1 is taken by %2").arg(id(slot)).arg(name(lastSlot)));
            skipBelow(slot, below);
            continue;
        }
        lastId = id(slot);
        lastSlot = slot;
        switch (m_tables.tree[slot].Kind) {
        case ObjectKind::Node:
            m_written.insert(slot);
            m_order.append(slot);
            visit(slot);
            break;
        case ObjectKind::Table:
            planTable(slot);
            break;
        case ObjectKind::Leaf:
            if (const QString problem = leafProblem(slot); !problem.isEmpty()) {
                skip(slot, problem);
            } else {
                m_written.insert(slot);
                m_order.append(slot);
            }
            skipBelow(slot, QStringLiteral("nothing can lie below an object with a syntax"));
            break;
        default:
            skip(slot, m_tables.tree[slot].Kind == ObjectKind::Entry
                           ? QStringLiteral("a row belongs directly under its table")
                           : QStringLiteral("its kind is unknown"));
            skipBelow(slot, below);
            break;
        }
    }
}

void Writer::planTable(int table)
{
    Row row;
    QString problem;
    if (!attribute(table))
        problem = QStringLiteral("it has no attribute record");
    for (int child : children(table)) {
        if (problem.isEmpty() && row.entry < 0 && m_tables.tree[child].Kind == ObjectKind::Entry
            && id(child) > 0 && attribute(child))
            row.entry = child;
    }
    if (problem.isEmpty() && row.entry < 0)
        problem = QStringLiteral("the table has no row");
    if (problem.isEmpty()) {
        int32_t lastId = 0;
        for (int column : children(row.entry)) {
            if (m_tables.tree[column].Kind != ObjectKind::Leaf)
                skip(column, QStringLiteral("a row holds only columns"));
            else if (id(column) <= 0 || id(column) == lastId)
                skip(column, QStringLiteral("its sub-identifier %1 is not positive or taken").arg(id(column)));
            else if (const QString leaf = leafProblem(column); !leaf.isEmpty())
                skip(column, leaf);
            else {
                row.columns.append(column);
                lastId = id(column);
            }
        }
        for (int column : row.columns) {
            if (attribute(column)->KeyOrder > 0)
                row.keys.append(column);
        }
        std::stable_sort(row.keys.begin(), row.keys.end(),
                         [this](int a, int b) { return attribute(a)->KeyOrder < attribute(b)->KeyOrder; });
        if (row.columns.isEmpty())
            problem = QStringLiteral("its row has no columns");
        else if (row.keys.isEmpty())
            problem = QStringLiteral("its row has no index column");
    }
    if (!problem.isEmpty()) {
        skip(table, problem);
        skipBelow(table, QStringLiteral("it lies below %1, which is not written").arg(name(table)));
        return;
    }
    for (int slot : QList<int>{table, row.entry} + row.columns) {
        m_written.insert(slot);
        m_order.append(slot);
    }
    for (int column : row.columns)
        m_tableOfColumn[column] = table;
    m_rows[table] = row;
    skipBelow(table, QStringLiteral("a table holds only its row, and a row only its columns"));
}

QString Writer::parentName(int slot) const
{
    const int32_t parent = m_tables.tree[slot].Parent;
    return parent == RootSlot ? QStringLiteral("enterprises") : name(parent);
}

QString Writer::syntaxText(int slot, bool inSequence)
{
    const MibAttribute &a = *attribute(slot);
    const QList<int> items = itemsOf(m_state, slot);
    if (a.Syntax == Syntax::Integer && a.Constraint == Constraint::Enumeration && !items.isEmpty()) {
        if (inSequence)
            return QStringLiteral("INTEGER");
        QList<int> sorted = items;
        std::stable_sort(sorted.begin(), sorted.end(), [this](int x, int y) {
            return m_tables.list[x].ItemValue < m_tables.list[y].ItemValue;
        });
        QString text = QStringLiteral("INTEGER {");
        const QString itemIndent = QString(Indent) + QString(16, u' ');
        for (qsizetype i = 0; i < sorted.size(); ++i) {
            const MibList &item = m_tables.list[sorted[i]];
            text += u'\n' + itemIndent + displayedText(item.ItemName, item.ItemNameLength) + u'('
                    + QString::number(item.ItemValue) + u')' + (i + 1 < sorted.size() ? QStringLiteral(",") : QString());
        }
        return text + u'\n' + QString(Indent) + QString(12, u' ') + u'}';
    }
    QString text = typeName(a.Syntax);
    if (!importedType(a.Syntax).isEmpty())
        m_imports.insert(importedType(a.Syntax));
    const int range = a.Constraint == Constraint::Range ? rangeOf(m_state, slot) : -1;
    if (inSequence || range < 0)
        return text;
    const MibRange &r = m_tables.range[range];
    const QString bounds = displayedText(r.Minimum, r.MinimumLength).trimmed() + QLatin1StringView("..")
                           + displayedText(r.Maximum, r.MaximumLength).trimmed();
    switch (a.Syntax) {
    case Syntax::Integer:
    case Syntax::Gauge:
        return text + QStringLiteral(" (%1)").arg(bounds);
    case Syntax::OctetString:
    case Syntax::Opaque:
        return text + QStringLiteral(" (SIZE (%1))").arg(bounds);
    default:
        return text; // SMIv2 gives the other types no range
    }
}

// An index column is not-accessible unless every column of its row is one.
QString Writer::columnAccess(int slot) const
{
    const MibAttribute &a = *attribute(slot);
    const auto table = m_tableOfColumn.find(slot);
    if (table != m_tableOfColumn.end() && a.KeyOrder > 0) {
        const Row &row = m_rows.at(table->second);
        if (row.keys.size() < row.columns.size())
            return accessName(Access::NotAccessible);
    }
    return accessName(a.Access);
}

void Writer::writeIdentity()
{
    const QDateTime updated = (m_info.lastUpdated.isValid() ? m_info.lastUpdated : m_writingTime).toUTC();
    QList<ModuleRevision> revisions = m_info.revisions;
    std::stable_sort(revisions.begin(), revisions.end(),
                     [](const ModuleRevision &a, const ModuleRevision &b) { return a.date > b.date; });
    const bool dated = std::any_of(revisions.begin(), revisions.end(), [&](const ModuleRevision &r) {
        return dateText(r.date) == dateText(updated);
    });
    if (!dated)
        revisions.prepend({updated, QString::fromLatin1(WrittenRevisionDescription)});

    const int32_t parent = m_info.identityParent;
    const bool placed = parent != RootSlot && isSlot(parent) && m_written.contains(parent)
                        && m_tables.tree[parent].Kind == ObjectKind::Node;
    if (!placed)
        m_imports.insert(QStringLiteral("enterprises"));
    const QString text = QString(Indent) + QString(Indent);
    line(m_info.identity + QLatin1StringView(" MODULE-IDENTITY"));
    line(QString(Indent) + QLatin1StringView("LAST-UPDATED ") + quoted(dateText(updated)));
    line(QString(Indent) + QLatin1StringView("ORGANIZATION"));
    line(text + quoted(m_info.organization));
    line(QString(Indent) + QLatin1StringView("CONTACT-INFO"));
    line(text + quoted(m_info.contactInfo));
    line(QString(Indent) + QLatin1StringView("DESCRIPTION"));
    line(text + quoted(m_info.description));
    for (const ModuleRevision &revision : revisions) {
        line(QString(Indent) + QLatin1StringView("REVISION ") + quoted(dateText(revision.date)));
        line(QString(Indent) + QLatin1StringView("DESCRIPTION"));
        line(text + quoted(revision.description));
    }
    line(QStringLiteral("%1::= { %2 %3 }")
             .arg(QString(Indent), placed ? name(parent) : QStringLiteral("enterprises"))
             .arg(m_info.identitySubId));
}

void Writer::writeObjectType(int slot, const QString &syntax, const QString &access, const QString &index)
{
    const MibAttribute &a = *attribute(slot);
    m_imports.insert(QStringLiteral("OBJECT-TYPE"));
    line();
    line(name(slot) + QLatin1StringView(" OBJECT-TYPE"));
    line(QString(Indent) + QLatin1StringView("SYNTAX      ") + syntax);
    line(QString(Indent) + QLatin1StringView("MAX-ACCESS  ") + access);
    line(QString(Indent) + QLatin1StringView("STATUS      current"));
    line(QString(Indent) + QLatin1StringView("DESCRIPTION"));
    line(QString(Indent) + QString(Indent) + quoted(displayedText(a.Description, a.DescriptionLength)));
    if (!index.isEmpty())
        line(QString(Indent) + QLatin1StringView("INDEX       { ") + index + QLatin1StringView(" }"));
    line(QStringLiteral("%1::= { %2 %3 }").arg(QString(Indent), parentName(slot)).arg(id(slot)));
}

void Writer::writeObject(int slot)
{
    if (m_tables.tree[slot].Parent == RootSlot)
        m_imports.insert(QStringLiteral("enterprises"));
    const MibTree &tree = m_tables.tree[slot];
    switch (tree.Kind) {
    case ObjectKind::Node:
        if (slot == m_identityNode)
            return; // the MODULE-IDENTITY defines it
        line();
        line(QStringLiteral("%1 OBJECT IDENTIFIER ::= { %2 %3 }").arg(name(slot), parentName(slot)).arg(id(slot)));
        return;
    case ObjectKind::Table: {
        const QString rowType = [this, slot] {
            QString stem = name(m_rows.at(slot).entry);
            if (stem.endsWith(QLatin1StringView("Entry")))
                stem.chop(5);
            return stem.left(1).toUpper() + stem.mid(1) + QLatin1StringView("Entry");
        }();
        writeObjectType(slot, QStringLiteral("SEQUENCE OF ") + rowType, accessName(Access::NotAccessible), QString());
        const Row &row = m_rows.at(slot);
        QStringList keys;
        for (int key : row.keys)
            keys.append(name(key));
        writeObjectType(row.entry, rowType, accessName(Access::NotAccessible), keys.join(QLatin1StringView(", ")));
        line();
        line(rowType + QLatin1StringView(" ::= SEQUENCE {"));
        for (qsizetype i = 0; i < row.columns.size(); ++i) {
            const int column = row.columns[i];
            line(QStringLiteral("%1%2 %3%4")
                     .arg(QString(Indent), name(column).leftJustified(24), syntaxText(column, true),
                          i + 1 < row.columns.size() ? QStringLiteral(",") : QString()));
        }
        line(QStringLiteral("}"));
        return;
    }
    case ObjectKind::Leaf: {
        const QString access = columnAccess(slot);
        writeObjectType(slot, syntaxText(slot, false), access, QString());
        if (access != accessName(Access::NotAccessible))
            m_groupObjects.append(name(slot));
        return;
    }
    default:
        return; // the row is written with its table
    }
}

void Writer::writeConformance()
{
    const QString &id = m_info.identity;
    int32_t arc = 1;
    if (m_identityNode >= 0) {
        QSet<int32_t> taken;
        for (int child : children(m_identityNode))
            taken.insert(this->id(child));
        while (taken.contains(arc))
            ++arc;
    }
    line();
    line(QStringLiteral("%1 OBJECT IDENTIFIER ::= { %2 %3 }").arg(conformanceName(id), id).arg(arc));
    line(QStringLiteral("%1 OBJECT IDENTIFIER ::= { %2 1 }").arg(groupsName(id), conformanceName(id)));
    line(QStringLiteral("%1 OBJECT IDENTIFIER ::= { %2 2 }").arg(compliancesName(id), conformanceName(id)));
    const QString text = QString(Indent) + QString(Indent);
    if (!m_groupObjects.isEmpty()) {
        m_imports.insert(QStringLiteral("OBJECT-GROUP"));
        line();
        line(objectGroupName(id) + QLatin1StringView(" OBJECT-GROUP"));
        line(QString(Indent) + QLatin1StringView("OBJECTS     { ")
             + wrapped(m_groupObjects, QString(Indent) + QString(14, u' ')) + QLatin1StringView(" }"));
        line(QString(Indent) + QLatin1StringView("STATUS      current"));
        line(QString(Indent) + QLatin1StringView("DESCRIPTION"));
        line(text + quoted(QStringLiteral("The accessible objects of this module.")));
        line(QStringLiteral("%1::= { %2 1 }").arg(QString(Indent), groupsName(id)));
    }
    m_imports.insert(QStringLiteral("MODULE-COMPLIANCE"));
    line();
    line(complianceName(id) + QLatin1StringView(" MODULE-COMPLIANCE"));
    line(QString(Indent) + QLatin1StringView("STATUS      current"));
    line(QString(Indent) + QLatin1StringView("DESCRIPTION"));
    line(text + quoted(QStringLiteral("What an agent implementing this module provides.")));
    line(QString(Indent) + QLatin1StringView("MODULE -- this module"));
    if (!m_groupObjects.isEmpty())
        line(text + QLatin1StringView("MANDATORY-GROUPS { ") + objectGroupName(id) + QLatin1StringView(" }"));
    line(QStringLiteral("%1::= { %2 1 }").arg(QString(Indent), compliancesName(id)));
}

Smiv2Module Writer::run()
{
    visit(RootSlot);
    if (const int node = identityNode(m_state, m_info); m_written.contains(node))
        m_identityNode = node;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (m_tables.tree[slot].InUse != 0)
            skip(slot, QStringLiteral("it cannot be reached from enterprise"));
    }

    m_imports.insert(QStringLiteral("MODULE-IDENTITY"));
    writeIdentity();
    for (int slot : m_order)
        writeObject(slot);
    writeConformance();

    // The imports, in a fixed order, now that the body says what it uses.
    const QStringList smi{QStringLiteral("MODULE-IDENTITY"), QStringLiteral("OBJECT-TYPE"),
                          QStringLiteral("enterprises"), QStringLiteral("Integer32"),
                          QStringLiteral("IpAddress"), QStringLiteral("Counter32"), QStringLiteral("Gauge32"),
                          QStringLiteral("TimeTicks"), QStringLiteral("Opaque")};
    const QStringList conf{QStringLiteral("MODULE-COMPLIANCE"), QStringLiteral("OBJECT-GROUP")};
    const auto used = [this](const QStringList &names) {
        QStringList result;
        for (const QString &n : names) {
            if (m_imports.contains(n))
                result.append(n);
        }
        return result;
    };
    const QString listIndent = QString(Indent);
    QString text = QStringLiteral("-- %1: written by Korvel from a design.\n\n").arg(m_info.moduleName);
    text += m_info.moduleName + QLatin1StringView(" DEFINITIONS ::= BEGIN\n\nIMPORTS\n");
    text += listIndent + wrapped(used(smi), listIndent) + u'\n' + listIndent + listIndent
            + QLatin1StringView("FROM SNMPv2-SMI\n");
    text += listIndent + wrapped(used(conf), listIndent) + u'\n' + listIndent + listIndent
            + QLatin1StringView("FROM SNMPv2-CONF;\n\n");
    text += m_body + QLatin1StringView("\nEND\n");
#ifdef Q_OS_WIN
    text.replace(u'\n', QLatin1StringView("\r\n"));
#endif

    Smiv2Module module;
    module.text = text.toUtf8();
    for (const auto &[slot, reason] : m_skips)
        module.skipped.append({slot, name(slot), reason});
    return module;
}

} // namespace

QString conformanceName(const QString &identity)
{
    return identity + QLatin1StringView("Conformance");
}

QString groupsName(const QString &identity)
{
    return identity + QLatin1StringView("Groups");
}

QString compliancesName(const QString &identity)
{
    return identity + QLatin1StringView("Compliances");
}

QString objectGroupName(const QString &identity)
{
    return identity + QLatin1StringView("ObjectGroup");
}

QString complianceName(const QString &identity)
{
    return identity + QLatin1StringView("Compliance");
}

int identityNode(const AppState &state, const ModuleInfo &info)
{
    const int32_t parent = info.identityParent;
    if (parent != RootSlot && (!isSlot(parent) || state.tables.tree[parent].InUse == 0
                               || state.tables.tree[parent].Kind != ObjectKind::Node))
        return -1;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const MibTree &t = state.tables.tree[slot];
        if (t.InUse != 0 && t.Kind == ObjectKind::Node && t.Parent == parent && t.ObjectId == info.identitySubId
            && displayedName(state, slot) == info.identity)
            return slot;
    }
    return -1;
}

Smiv2Module smiv2Module(const AppState &state, const ModuleInfo &info, const QDateTime &writingTime)
{
    return Writer(state, info, writingTime).run();
}

bool writeSmiv2File(const AppState &state, const ModuleInfo &info, const QString &path,
                    QList<SkippedObject> *skipped, QString *error)
{
    const Smiv2Module module = smiv2Module(state, info);
    if (skipped)
        *skipped = module.skipped;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(module.text) != module.text.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace korvel
