#include "designcheck.h"

#include "modulediagnostics.h"
#include "tableops.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <array>
#include <map>

namespace korvel {

namespace {

struct MessageText {
    FindingCode code;
    const char *japanese;
    const char *english;
};

// The messages, by code. %1 and %2 stand for the finding's arguments.
const MessageText Messages[] = {
    {FindingCode::SubIdNotPositive, "オブジェクトID %1 は1以上でなければなりません。MIBに出力されません。",
     "sub-identifier %1 is not positive; the object is not written"},
    {FindingCode::SubIdTaken, "オブジェクトID %1 は %2 と重複しています。このオブジェクトとその下位はMIBに出力されません。",
     "sub-identifier %1 is also used by %2; this object and everything below it are not written"},
    {FindingCode::Unreachable, "親オブジェクトが存在しないか循環しているため、enterpriseからたどれません。",
     "cannot be reached from enterprise (its parent is missing, or the parents form a cycle)"},
    {FindingCode::UnknownKind, "オブジェクトの種類が不明です。", "the kind of the object is unknown"},
    {FindingCode::EntryMisplaced, "エントリはテーブルの直下にしか置けません。",
     "a row (entry) must lie directly under its table"},
    {FindingCode::BelowScalar, "リーフの下にはオブジェクトを置けません。",
     "it lies below a scalar or column, which can hold nothing"},
    {FindingCode::TableHoldsOther, "テーブルの下にはエントリを1つだけ置けます。",
     "a table holds exactly one row (entry) and nothing else"},
    {FindingCode::EntryHoldsOther, "エントリの下にはリーフ(カラム)しか置けません。", "a row (entry) holds only columns"},
    {FindingCode::TableWithoutEntry, "テーブルにエントリがありません。", "the table has no row (entry)"},
    {FindingCode::EntryWithoutColumns, "エントリにカラムがありません。", "the row has no columns"},
    {FindingCode::EntryWithoutKeys, "エントリにキーのカラムがありません(INDEXが空になります)。",
     "the row has no key column (its INDEX would be empty)"},
    {FindingCode::KeyRepeats, "キー順序 %1 が %2 と重複しています。", "key position %1 is also used by %2"},
    {FindingCode::KeyGap, "キー順序 %1 が抜けています。", "key position %1 is missing"},
    {FindingCode::KeysAllNotAccessible,
     "カラムがすべてキーで、すべてアクセス不可です。少なくとも1つをアクセス可能にしてください。",
     "every column is a key and none is accessible"},
    {FindingCode::KeyOnScalar, "テーブルのカラムでないオブジェクトにキー順序が指定されています。",
     "a key position is set on an object that is no column"},
    {FindingCode::NoAttribute, "属性レコードがありません。", "the object has no attribute record"},
    {FindingCode::NoSyntax, "シンタックスが指定されていません。", "the object has no syntax"},
    {FindingCode::NameInvalid, "オブジェクト名は英小文字で始まり、英字と数字だけでなければなりません。",
     "the name must start with a lower-case letter and hold only letters and digits"},
    {FindingCode::NameHyphen, "オブジェクト名にハイフンは使えません(SMIv2)。", "SMIv2 names hold no hyphen"},
    {FindingCode::NameTooLong, "オブジェクト名は64文字以内でなければなりません。",
     "the name is longer than 64 characters"},
    {FindingCode::NameTaken, "名前が %1 と重複しています。", "the name is also used by %1"},
    {FindingCode::LabelInvalid,
     "列挙ラベル %1 は英小文字で始まり、英字と数字だけで64文字以内でなければなりません。",
     "enumeration label \"%1\" must start with a lower-case letter, hold only letters and digits and be at "
     "most 64 characters"},
    {FindingCode::LabelTaken, "列挙ラベル %1 が重複しています。", "enumeration label \"%1\" is used twice"},
    {FindingCode::ModuleNameInvalid,
     "モジュール名は英大文字で始まり、英字・数字・ハイフンだけ(末尾と連続のハイフンは不可)でなければなりません。",
     "the module name must start with an upper-case letter and hold only letters, digits and single hyphens, "
     "not at its end"},
    {FindingCode::IdentityPlace, "MODULE-IDENTITYのオブジェクトID %1 は、親の下で空いている1以上の番号でなければなりません。",
     "the module identity's sub-identifier %1 must be positive and free under its parent"},
    {FindingCode::RangeMissing, "範囲レコードがありません。", "the range record is missing"},
    {FindingCode::RangeNotNumber, "範囲の値 %1 が数値ではありません。", "range bound \"%1\" is not a number"},
    {FindingCode::RangeReversed, "範囲の最小値が最大値より大きくなっています。",
     "the range's lower bound lies above its upper bound"},
    {FindingCode::RangeOutsideType, "範囲は %1～%2 の中でなければなりません。",
     "the range must lie within %1..%2"},
    {FindingCode::RangeNotAllowed, "このシンタックスには範囲を指定できません。範囲は出力されません。",
     "this syntax takes no range; the range is not written"},
    {FindingCode::EnumNotAllowed, "列挙はINTEGERにしか指定できません。列挙は出力されません。",
     "only INTEGER takes an enumeration; it is not written"},
    {FindingCode::EnumEmpty, "列挙の項目がありません。", "the enumeration has no items"},
    {FindingCode::EnumValueTaken, "列挙の値 %1 が重複しています。", "enumeration value %1 is used twice"},
    {FindingCode::IndexWithoutRange, "INTEGERのキーには範囲を指定してください。",
     "an INTEGER key column needs a range"},
    {FindingCode::DescriptionEmpty, "説明がありません。", "the description is empty"},
    {FindingCode::NotAscii, "MIBのテキストにはASCII文字しか使えません。", "SMI texts hold ASCII characters only"},
    {FindingCode::ScalarNotAccessible, "スカラーオブジェクトはアクセス可能でなければなりません。",
     "a scalar must be accessible"},
    {FindingCode::CounterWritable, "カウンタは読み込み専用でなければなりません。", "a counter must be read-only"},
    {FindingCode::LibsmiUnavailable, "一時フォルダに書き込めないため、libsmiによるチェックができませんでした。",
     "libsmi could not read the module: no temporary folder could be written"},
    {FindingCode::Libsmi, "libsmiの指摘: %1", "%1"},
};

const MessageText &messageText(FindingCode code)
{
    for (const MessageText &text : Messages) {
        if (text.code == code)
            return text;
    }
    return Messages[std::size(Messages) - 1];
}

QString filled(const char *pattern, const QStringList &arguments)
{
    QString text = QString::fromUtf8(pattern);
    for (qsizetype i = 0; i < arguments.size(); ++i)
        text.replace(QStringLiteral("%%1").arg(i + 1), arguments[i]);
    return text;
}

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The descriptor rules of SMIv2, for names and enumeration labels.
FindingCode descriptorProblem(const QString &name, bool *ok)
{
    *ok = false;
    static const QRegularExpression smiv1(QStringLiteral("^[a-z][A-Za-z0-9-]*$"));
    if (!smiv1.match(name).hasMatch())
        return FindingCode::NameInvalid;
    if (name.contains(u'-'))
        return FindingCode::NameHyphen;
    if (name.size() > 64)
        return FindingCode::NameTooLong;
    *ok = true;
    return FindingCode::NameInvalid;
}

struct TypeLimits {
    qint64 low;
    qint64 high;
};

bool rangeLimits(int32_t syntax, TypeLimits *limits)
{
    switch (syntax) {
    case Syntax::Integer:
        *limits = {-2147483648LL, 2147483647LL};
        return true;
    case Syntax::Gauge:
        *limits = {0, 4294967295LL};
        return true;
    case Syntax::OctetString:
    case Syntax::Opaque:
        *limits = {0, 65535};
        return true;
    default:
        return false;
    }
}

class Checker
{
public:
    Checker(const AppState &state, const ModuleInfo &info) : m_state(state), m_tables(state.tables), m_info(info)
    {
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (inUse(slot))
                m_children[m_tables.tree[slot].Parent].append(slot);
        }
    }

    QList<Finding> run(const CheckOptions &options);

private:
    bool inUse(int slot) const { return isSlot(slot) && m_tables.tree[slot].InUse != 0; }
    QString name(int slot) const { return displayedName(m_state, slot); }
    int32_t id(int slot) const { return m_tables.tree[slot].ObjectId; }
    int32_t kind(int slot) const { return m_tables.tree[slot].Kind; }
    const MibAttribute *attribute(int slot) const
    {
        const int a = attributeOf(m_state, slot);
        return a < 0 ? nullptr : &m_tables.attribute[a];
    }
    QList<int> children(int parent) const { return m_children.value(parent); }

    void add(int slot, FindingSeverity severity, FindingCode code, const QStringList &arguments = {})
    {
        m_findings.append({slot, slot < 0 ? m_info.moduleName : name(slot), severity, code, arguments});
    }
    void error(int slot, FindingCode code, const QStringList &arguments = {})
    {
        add(slot, FindingSeverity::Error, code, arguments);
    }
    void warning(int slot, FindingCode code, const QStringList &arguments = {})
    {
        add(slot, FindingSeverity::Warning, code, arguments);
    }

    void checkStructure();
    void checkPlace(int slot);
    void checkRow(int entry);
    void checkNames();
    void checkModule();
    void checkLeaf(int slot, bool column);
    void checkRange(int slot, const MibAttribute &a);
    void checkEnumeration(int slot, const MibAttribute &a);
    void checkText(int slot);
    void readWithLibsmi(const CheckOptions &options);

    const AppState &m_state;
    const DefinitionTables &m_tables;
    const ModuleInfo &m_info;
    QHash<int, QList<int>> m_children; // parent -> children in slot order
    QSet<int> m_reachable;
    QList<Finding> m_findings;
};

// Walks from the root as the SMIv2 writer does; what it cannot reach or
// place gets a finding.
void Checker::checkStructure()
{
    QList<int> pending{RootSlot};
    while (!pending.isEmpty()) {
        const int parent = pending.takeFirst();
        std::map<int32_t, int> firstWithId;
        for (int slot : children(parent)) {
            if (m_reachable.contains(slot))
                continue; // a cycle through the root cannot happen, but stay finite
            m_reachable.insert(slot);
            pending.append(slot);
            if (id(slot) <= 0) {
                error(slot, FindingCode::SubIdNotPositive, {QString::number(id(slot))});
            } else if (const auto kept = firstWithId.find(id(slot)); kept != firstWithId.end()) {
                error(slot, FindingCode::SubIdTaken, {QString::number(id(slot)), name(kept->second)});
            } else {
                firstWithId[id(slot)] = slot;
            }
            checkPlace(slot);
        }
    }
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (inUse(slot) && !m_reachable.contains(slot))
            error(slot, FindingCode::Unreachable);
    }
}

void Checker::checkPlace(int slot)
{
    const int parent = m_tables.tree[slot].Parent;
    const int32_t parentKind = parent == RootSlot ? ObjectKind::Node : kind(parent);
    if (parentKind == ObjectKind::Leaf) {
        error(slot, FindingCode::BelowScalar);
        return;
    }
    switch (kind(slot)) {
    case ObjectKind::Node:
    case ObjectKind::Table:
        if (parentKind == ObjectKind::Table)
            error(slot, FindingCode::TableHoldsOther);
        else if (parentKind == ObjectKind::Entry)
            error(slot, FindingCode::EntryHoldsOther);
        else if (kind(slot) == ObjectKind::Table) {
            if (!attribute(slot))
                error(slot, FindingCode::NoAttribute);
            const QList<int> below = children(slot);
            if (std::none_of(below.begin(), below.end(), [this](int c) { return kind(c) == ObjectKind::Entry; }))
                error(slot, FindingCode::TableWithoutEntry);
            checkText(slot);
        }
        return;
    case ObjectKind::Entry: {
        if (parentKind != ObjectKind::Table) {
            error(slot, FindingCode::EntryMisplaced);
            return;
        }
        const QList<int> siblings = children(parent);
        if (std::find_if(siblings.begin(), siblings.end(), [this](int c) { return kind(c) == ObjectKind::Entry; })
            != std::find(siblings.begin(), siblings.end(), slot)) {
            error(slot, FindingCode::TableHoldsOther);
            return;
        }
        if (!attribute(slot))
            error(slot, FindingCode::NoAttribute);
        checkText(slot);
        checkRow(slot);
        return;
    }
    case ObjectKind::Leaf:
        if (parentKind == ObjectKind::Table)
            error(slot, FindingCode::TableHoldsOther);
        else
            checkLeaf(slot, parentKind == ObjectKind::Entry);
        return;
    default:
        error(slot, FindingCode::UnknownKind);
        return;
    }
}

void Checker::checkRow(int entry)
{
    QList<int> columns;
    for (int child : children(entry)) {
        if (kind(child) == ObjectKind::Leaf && attribute(child))
            columns.append(child);
    }
    if (columns.isEmpty()) {
        error(entry, FindingCode::EntryWithoutColumns);
        return;
    }
    std::map<int32_t, int> keys; // position -> column
    bool anyAccessible = false;
    for (int column : columns) {
        const MibAttribute &a = *attribute(column);
        if (a.KeyOrder <= 0)
            continue;
        if (const auto other = keys.find(a.KeyOrder); other != keys.end())
            error(column, FindingCode::KeyRepeats, {QString::number(a.KeyOrder), name(other->second)});
        else
            keys[a.KeyOrder] = column;
        anyAccessible = anyAccessible || a.Access == Access::ReadOnly || a.Access == Access::ReadWrite;
        if (a.Syntax == Syntax::Integer && a.Constraint != Constraint::Enumeration
            && (a.Constraint != Constraint::Range || rangeOf(m_state, column) < 0))
            error(column, FindingCode::IndexWithoutRange);
    }
    if (keys.empty()) {
        error(entry, FindingCode::EntryWithoutKeys);
        return;
    }
    int32_t expected = 1;
    for (const auto &[position, column] : keys) {
        if (position != expected) {
            warning(entry, FindingCode::KeyGap, {QString::number(expected)});
            break;
        }
        ++expected;
    }
    const bool allKeys = std::all_of(columns.begin(), columns.end(),
                                     [this](int c) { return attribute(c)->KeyOrder > 0; });
    if (allKeys && !anyAccessible)
        error(entry, FindingCode::KeysAllNotAccessible);
}

void Checker::checkLeaf(int slot, bool column)
{
    const MibAttribute *a = attribute(slot);
    if (!a) {
        error(slot, FindingCode::NoAttribute);
        return;
    }
    if (!Syntax::isKnown(a->Syntax)) {
        error(slot, FindingCode::NoSyntax);
        return;
    }
    const bool accessible = a->Access == Access::ReadOnly || a->Access == Access::ReadWrite;
    if (!column && !accessible)
        error(slot, FindingCode::ScalarNotAccessible);
    if (!column && a->KeyOrder > 0)
        warning(slot, FindingCode::KeyOnScalar);
    if (a->Syntax == Syntax::Counter && a->Access == Access::ReadWrite)
        error(slot, FindingCode::CounterWritable);
    if (a->Constraint == Constraint::Range)
        checkRange(slot, *a);
    else if (a->Constraint == Constraint::Enumeration)
        checkEnumeration(slot, *a);
    checkText(slot);
}

void Checker::checkRange(int slot, const MibAttribute &a)
{
    const int range = rangeOf(m_state, slot);
    if (range < 0) {
        error(slot, FindingCode::RangeMissing);
        return;
    }
    TypeLimits limits;
    if (!rangeLimits(a.Syntax, &limits)) {
        warning(slot, FindingCode::RangeNotAllowed);
        return;
    }
    const MibRange &r = m_tables.range[range];
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+$"));
    std::array<qint64, 2> bounds{};
    const std::array<QString, 2> texts{displayedText(r.Minimum, r.MinimumLength).trimmed(),
                                       displayedText(r.Maximum, r.MaximumLength).trimmed()};
    for (int i = 0; i < 2; ++i) {
        bool ok = number.match(texts[i]).hasMatch();
        bounds[i] = ok ? texts[i].toLongLong(&ok) : 0;
        if (!ok) {
            error(slot, FindingCode::RangeNotNumber, {texts[i]});
            return;
        }
    }
    if (bounds[0] > bounds[1])
        error(slot, FindingCode::RangeReversed);
    else if (bounds[0] < limits.low || bounds[1] > limits.high)
        error(slot, FindingCode::RangeOutsideType, {QString::number(limits.low), QString::number(limits.high)});
}

void Checker::checkEnumeration(int slot, const MibAttribute &a)
{
    const QList<int> items = itemsOf(m_state, slot);
    if (a.Syntax != Syntax::Integer) {
        warning(slot, FindingCode::EnumNotAllowed);
        return;
    }
    if (items.isEmpty()) {
        warning(slot, FindingCode::EnumEmpty);
        return;
    }
    QSet<QString> labels;
    QSet<int32_t> values;
    for (int item : items) {
        const MibList &l = m_tables.list[item];
        const QString label = displayedText(l.ItemName, l.ItemNameLength);
        bool ok = false;
        descriptorProblem(label, &ok);
        if (!ok)
            error(slot, FindingCode::LabelInvalid, {label});
        else if (labels.contains(label))
            error(slot, FindingCode::LabelTaken, {label});
        labels.insert(label);
        if (values.contains(l.ItemValue))
            error(slot, FindingCode::EnumValueTaken, {QString::number(l.ItemValue)});
        values.insert(l.ItemValue);
    }
}

void Checker::checkText(int slot)
{
    const MibAttribute *a = attribute(slot);
    if (!a)
        return;
    const QString description = displayedText(a->Description, a->DescriptionLength);
    if (description.trimmed().isEmpty())
        warning(slot, FindingCode::DescriptionEmpty);
    else if (!isAscii(description))
        error(slot, FindingCode::NotAscii);
}

// Names are checked over every object, reachable or not: the user sees them all.
void Checker::checkNames()
{
    QHash<QString, QString> owners{{m_info.identity, m_info.identity},
                                   {conformanceName(m_info.identity), m_info.moduleName},
                                   {groupsName(m_info.identity), m_info.moduleName},
                                   {compliancesName(m_info.identity), m_info.moduleName},
                                   {objectGroupName(m_info.identity), m_info.moduleName},
                                   {complianceName(m_info.identity), m_info.moduleName}};
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!inUse(slot))
            continue;
        const QString own = name(slot);
        bool ok = false;
        const FindingCode problem = descriptorProblem(own, &ok);
        if (!ok)
            error(slot, problem);
        if (const auto other = owners.constFind(own); other != owners.constEnd() && slot != identityNode(m_state, m_info))
            error(slot, FindingCode::NameTaken, {other.value()});
        else
            owners.insert(own, own);
    }
}

void Checker::checkModule()
{
    static const QRegularExpression moduleName(QStringLiteral("^[A-Z](-?[A-Za-z0-9])*$"));
    if (!moduleName.match(m_info.moduleName).hasMatch())
        error(-1, FindingCode::ModuleNameInvalid);
    bool ok = false;
    const FindingCode problem = descriptorProblem(m_info.identity, &ok);
    if (!ok)
        m_findings.append({-1, m_info.identity, FindingSeverity::Error, problem, {}});
    // The writer puts the identity under the root unless its parent is a node it writes.
    const int32_t parent = inUse(m_info.identityParent) && m_reachable.contains(m_info.identityParent)
                                   && kind(m_info.identityParent) == ObjectKind::Node
                               ? m_info.identityParent
                               : RootSlot;
    const QList<int> siblings = children(parent);
    const int node = identityNode(m_state, m_info);
    const auto taken = std::find_if(siblings.begin(), siblings.end(),
                                    [this, node](int s) { return id(s) == m_info.identitySubId && s != node; });
    if (m_info.identitySubId <= 0 || taken != siblings.end())
        m_findings.append({-1, m_info.identity, FindingSeverity::Error, FindingCode::IdentityPlace,
                           {QString::number(m_info.identitySubId)}});
    for (const QString &text : {m_info.organization, m_info.contactInfo, m_info.description}) {
        if (!isAscii(text)) {
            error(-1, FindingCode::NotAscii);
            return;
        }
    }
    for (const ModuleRevision &revision : m_info.revisions) {
        if (!isAscii(revision.description)) {
            error(-1, FindingCode::NotAscii);
            return;
        }
    }
}

void Checker::readWithLibsmi(const CheckOptions &options)
{
    const QString base = options.baseModules.isEmpty() ? SmiSession::baseModuleFolder() : options.baseModules;
    const auto diagnostics = moduleDiagnostics(m_state, m_info, base);
    if (!diagnostics) {
        error(-1, FindingCode::LibsmiUnavailable);
        return;
    }
    // How severely the check already speaks of each object: 0 error, 1 warning.
    QHash<int, int> covered;
    for (const Finding &f : m_findings)
        covered[f.slot] = std::min(covered.value(f.slot, 2), f.isError() ? 0 : 1);
    QSet<QPair<int, QString>> seen;
    for (const auto &[slot, d] : *diagnostics) {
        if (covered.value(slot, 2) <= (d.isError() ? 0 : 1))
            continue;
        if (seen.contains({slot, d.message}))
            continue; // libsmi names each offending byte of a text on its own
        seen.insert({slot, d.message});
        add(slot, d.isError() ? FindingSeverity::Error : FindingSeverity::Warning, FindingCode::Libsmi, {d.message});
    }
}

QList<Finding> Checker::run(const CheckOptions &options)
{
    checkStructure();
    checkNames();
    checkModule();
    if (options.libsmi)
        readWithLibsmi(options);
    std::stable_sort(m_findings.begin(), m_findings.end(),
                     [](const Finding &a, const Finding &b) { return a.slot < b.slot; });
    return m_findings;
}

} // namespace

QString Finding::japaneseMessage() const
{
    return filled(messageText(code).japanese, arguments);
}

QString Finding::englishMessage() const
{
    return filled(messageText(code).english, arguments);
}

QList<Finding> checkDesign(const AppState &state, const ModuleInfo &info, const CheckOptions &options)
{
    return Checker(state, info).run(options);
}

bool hasErrors(const QList<Finding> &findings)
{
    return std::any_of(findings.begin(), findings.end(), [](const Finding &f) { return f.isError(); });
}

QList<SkippedObject> seedWriterOmissions(const AppState &state)
{
    const DefinitionTables &tables = state.tables;
    QHash<int, QList<int>> children;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (tables.tree[slot].InUse != 0)
            children[tables.tree[slot].Parent].append(slot);
    }
    // Among siblings with one sub-identifier the seed writer keeps the last slot.
    QSet<int> written;
    QList<int> pending{RootSlot};
    std::map<int, QString> reasons;
    while (!pending.isEmpty()) {
        const int parent = pending.takeFirst();
        std::map<int32_t, int> kept;
        for (int slot : children.value(parent)) {
            if (tables.tree[slot].ObjectId > 0 && !written.contains(slot))
                kept[tables.tree[slot].ObjectId] = slot;
        }
        for (int slot : children.value(parent)) {
            const int32_t id = tables.tree[slot].ObjectId;
            if (id <= 0)
                reasons[slot] = QStringLiteral("its sub-identifier %1 is not positive").arg(id);
            else if (kept[id] != slot)
                reasons[slot] =
                    QStringLiteral("its sub-identifier %1 is taken by %2").arg(id).arg(displayedName(state, kept[id]));
        }
        for (const auto &[id, slot] : kept) {
            written.insert(slot);
            pending.append(slot);
        }
    }
    QList<SkippedObject> omitted;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (tables.tree[slot].InUse == 0 || written.contains(slot))
            continue;
        const auto reason = reasons.find(slot);
        omitted.append({slot, displayedName(state, slot),
                        reason != reasons.end() ? reason->second
                                                : QStringLiteral("it cannot be reached from enterprise")});
    }
    return omitted;
}

} // namespace korvel
