#include "designcheck.h"
#include "tableops.h"
#include "workedexample.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

const CheckOptions WithLibsmi{QStringLiteral(KORVEL_BASE_MIBS), true};
const CheckOptions OwnRulesOnly{QStringLiteral(KORVEL_BASE_MIBS), false};

// A clean design: a node, a scalar with a range, a table with a ranged key
// and an enumerated column.
struct Base {
    int acme, level, table, entry, index, state;
};

int leaf(AppState &s, const char *name, int id, int parent, int syntax = Syntax::Integer, int key = 0,
         const char *low = nullptr, const char *high = nullptr, const QList<QPair<QString, int>> &items = {})
{
    return addLeaf(s, {QString::fromLatin1(name), id, parent, syntax, Access::ReadOnly, QStringLiteral("A text."),
                       key, QString::fromLatin1(low), QString::fromLatin1(high), items});
}

int table(AppState &s, const char *base, int id, int parent)
{
    const int t = addTable(s, QString::fromLatin1(base), id, parent, QStringLiteral("A table."));
    MibAttribute &a = s.tables.attribute[attributeOf(s, entryOf(s, t))];
    storeText(a.Description, QStringLiteral("A row."), NameWidth);
    a.DescriptionLength = 6;
    return t;
}

Base buildBase(AppState &s)
{
    Base b{};
    b.acme = addNode(s, QStringLiteral("acme"), 5);
    b.level = leaf(s, "acmeLevel", 1, b.acme, Syntax::Integer, 0, "1", "10");
    b.table = table(s, "acmeLink", 2, b.acme);
    b.entry = entryOf(s, b.table);
    b.index = leaf(s, "acmeLinkIndex", 1, b.entry, Syntax::Integer, 1, "1", "8");
    b.state = leaf(s, "acmeLinkState", 2, b.entry, Syntax::Integer, 0, nullptr, nullptr,
                   {{QStringLiteral("up"), 1}, {QStringLiteral("down"), 2}});
    return b;
}

MibAttribute &attr(AppState &s, int slot)
{
    return s.tables.attribute[attributeOf(s, slot)];
}

void rename(AppState &s, int slot, const QString &name)
{
    storeText(s.tables.tree[slot].Name, name, NameWidth);
    s.tables.tree[slot].NameLength = int32_t(name.size());
}

void setText(QString &field, int32_t &length, const QString &text, int width)
{
    storeText(field, text, width);
    length = int32_t(text.size());
}

struct Defect {
    const char *label;
    std::function<void(AppState &, ModuleInfo &, const Base &)> apply;
    QStringList expected; // "object code severity", in the check's order
};

void PrintTo(const Defect &defect, std::ostream *os)
{
    *os << defect.label;
}

QString describe(const Finding &f)
{
    static const QStringList codes{
        "SubIdNotPositive", "SubIdTaken", "Unreachable", "UnknownKind", "EntryMisplaced", "BelowScalar",
        "TableHoldsOther", "EntryHoldsOther", "TableWithoutEntry", "EntryWithoutColumns", "EntryWithoutKeys",
        "KeyRepeats", "KeyGap", "KeysAllNotAccessible", "KeyOnScalar", "NoAttribute", "NoSyntax", "NameInvalid",
        "NameHyphen", "NameTooLong", "NameTaken", "LabelInvalid", "LabelTaken", "ModuleNameInvalid",
        "IdentityPlace", "RangeMissing", "RangeNotNumber", "RangeReversed", "RangeOutsideType", "RangeNotAllowed",
        "EnumNotAllowed", "EnumEmpty", "EnumValueTaken", "IndexWithoutRange", "DescriptionEmpty", "NotAscii",
        "ScalarNotAccessible", "CounterWritable", "LibsmiUnavailable", "Libsmi"};
    return QStringLiteral("%1 %2 %3").arg(f.object, codes.value(int(f.code)), f.isError() ? "error" : "warning");
}

// The findings as one line, "object code severity" each, for readable failures.
std::string describeAll(const QList<Finding> &findings)
{
    QStringList all;
    for (const Finding &f : findings)
        all.append(describe(f));
    return all.join(QStringLiteral("; ")).toStdString();
}

std::string joined(const QStringList &lines)
{
    return lines.join(QStringLiteral("; ")).toStdString();
}

class DesignCheckDefects : public ::testing::TestWithParam<Defect>
{
};

// Each design holds one defect, and the check's own rules name exactly it.
TEST_P(DesignCheckDefects, GiveTheirFinding)
{
    auto state = std::make_unique<AppState>();
    const Base base = buildBase(*state);
    ModuleInfo info = defaultModuleInfo(*state);
    GetParam().apply(*state, info, base);
    EXPECT_EQ(describeAll(checkDesign(*state, info, OwnRulesOnly)), joined(GetParam().expected));
}

using S = AppState;
using M = ModuleInfo;
using B = Base;
const QStringList E(const char *finding)
{
    return {QString::fromLatin1(finding)};
}

INSTANTIATE_TEST_SUITE_P(
    Table, DesignCheckDefects,
    ::testing::Values(
        Defect{"twin", [](S &s, M &, const B &b) { leaf(s, "acmeTwin", 1, b.acme); }, E("acmeTwin SubIdTaken error")},
        Defect{"zero", [](S &s, M &, const B &b) { s.tables.tree[b.level].ObjectId = 0; },
               E("acmeLevel SubIdNotPositive error")},
        Defect{"orphan", [](S &s, M &, const B &b) { s.tables.tree[b.level].Parent = 900; },
               E("acmeLevel Unreachable error")},
        Defect{"cycle", [](S &s, M &, const B &b) { s.tables.tree[b.acme].Parent = b.level; },
               {"acme Unreachable error", "acmeLevel Unreachable error", "acmeLinkTable Unreachable error",
                "acmeLinkEntry Unreachable error", "acmeLinkIndex Unreachable error",
                "acmeLinkState Unreachable error"}},
        Defect{"kind", [](S &s, M &, const B &b) { s.tables.tree[b.acme].Kind = 9; }, E("acme UnknownKind error")},
        Defect{"entryAtNode", [](S &s, M &, const B &b) { s.tables.tree[b.entry].Parent = b.acme; 
                                                          s.tables.tree[b.entry].ObjectId = 7; },
               {"acmeLinkTable TableWithoutEntry error", "acmeLinkEntry EntryMisplaced error"}},
        Defect{"belowScalar", [](S &s, M &, const B &b) { leaf(s, "acmeSub", 1, b.level); },
               E("acmeSub BelowScalar error")},
        Defect{"leafInTable", [](S &s, M &, const B &b) { leaf(s, "acmeStray", 2, b.table); },
               E("acmeStray TableHoldsOther error")},
        Defect{"nodeInRow", [](S &s, M &, const B &b) { addNode(s, QStringLiteral("acmeStray"), 3, b.entry); },
               E("acmeStray EntryHoldsOther error")},
        Defect{"noEntry", [](S &s, M &, const B &b) { s.tables.tree[entryOf(s, table(s, "acmeBare", 7, b.acme))].InUse = 0; },
               E("acmeBareTable TableWithoutEntry error")},
        Defect{"noColumns", [](S &s, M &, const B &b) { table(s, "acmeBare", 7, b.acme); },
               E("acmeBareEntry EntryWithoutColumns error")},
        Defect{"noKeys", [](S &s, M &, const B &b) { attr(s, b.index).KeyOrder = 0; },
               E("acmeLinkEntry EntryWithoutKeys error")},
        Defect{"keyTwice", [](S &s, M &, const B &b) { attr(s, b.state).KeyOrder = 1; },
               E("acmeLinkState KeyRepeats error")},
        Defect{"keyGap", [](S &s, M &, const B &b) { attr(s, b.index).KeyOrder = 2; },
               E("acmeLinkEntry KeyGap warning")},
        Defect{"keysHidden", [](S &s, M &, const B &b) {
                   const int entry = entryOf(s, table(s, "acmeHid", 7, b.acme));
                   attr(s, leaf(s, "acmeHidIndex", 1, entry, Syntax::Integer, 1, "1", "4")).Access = Access::NotAccessible;
               }, E("acmeHidEntry KeysAllNotAccessible error")},
        Defect{"keyOnScalar", [](S &s, M &, const B &b) { attr(s, b.level).KeyOrder = 1; },
               E("acmeLevel KeyOnScalar warning")},
        Defect{"noAttribute", [](S &s, M &, const B &b) { attr(s, b.level).InUse = 0; }, E("acmeLevel NoAttribute error")},
        Defect{"noSyntax", [](S &s, M &, const B &b) { attr(s, b.level).Syntax = Syntax::NoSyntax; },
               E("acmeLevel NoSyntax error")},
        Defect{"upperName", [](S &s, M &, const B &b) { rename(s, b.level, QStringLiteral("AcmeLevel")); },
               E("AcmeLevel NameInvalid error")},
        Defect{"blankInName", [](S &s, M &, const B &b) { rename(s, b.level, QStringLiteral("acme level")); },
               E("acme level NameInvalid error")},
        Defect{"hyphen", [](S &s, M &, const B &b) { rename(s, b.level, QStringLiteral("acme-level")); },
               E("acme-level NameHyphen error")},
        Defect{"long", [](S &s, M &, const B &b) { rename(s, b.level, QStringLiteral("a").repeated(65)); },
               {QStringLiteral("a").repeated(65) + " NameTooLong error"}},
        Defect{"sameName", [](S &s, M &, const B &b) { rename(s, b.state, QStringLiteral("acmeLevel")); },
               E("acmeLevel NameTaken error")},
        Defect{"identityName", [](S &s, M &m, const B &b) { rename(s, b.level, m.identity + "Conformance"); },
               E("acmeMIBConformance NameTaken error")},
        Defect{"label", [](S &s, M &, const B &b) { setText(s.tables.list[itemsOf(s, b.state)[0]].ItemName,
                   s.tables.list[itemsOf(s, b.state)[0]].ItemNameLength, QStringLiteral("Up"), NameWidth); },
               E("acmeLinkState LabelInvalid error")},
        Defect{"labelTwice", [](S &s, M &, const B &b) { leaf(s, "acmeMode", 7, b.acme, Syntax::Integer, 0, nullptr,
                   nullptr, {{QStringLiteral("on"), 1}, {QStringLiteral("on"), 2}}); },
               E("acmeMode LabelTaken error")},
        Defect{"valueTwice", [](S &s, M &, const B &b) { s.tables.list[itemsOf(s, b.state)[1]].ItemValue = 1; },
               E("acmeLinkState EnumValueTaken error")},
        Defect{"moduleName", [](S &, M &m, const B &) { m.moduleName = QStringLiteral("ACME-MIB-"); },
               E("ACME-MIB- ModuleNameInvalid error")},
        Defect{"identityPlace", [](S &, M &m, const B &b) { m.identityParent = b.acme; m.identitySubId = 1; },
               E("acmeMIB IdentityPlace error")},
        Defect{"rangeMissing", [](S &s, M &, const B &b) { s.tables.range[rangeOf(s, b.level)].InUse = 0; },
               E("acmeLevel RangeMissing error")},
        Defect{"rangeText", [](S &s, M &, const B &b) { MibRange &r = s.tables.range[rangeOf(s, b.level)];
                   setText(r.Maximum, r.MaximumLength, QStringLiteral("1O"), BoundWidth); },
               E("acmeLevel RangeNotNumber error")},
        Defect{"reversed", [](S &s, M &, const B &b) { MibRange &r = s.tables.range[rangeOf(s, b.level)];
                   setText(r.Minimum, r.MinimumLength, QStringLiteral("11"), BoundWidth); },
               E("acmeLevel RangeReversed error")},
        Defect{"clean", [](S &, M &, const B &) {}, {}},
        Defect{"gaugeBelowZero", [](S &s, M &, const B &b) { leaf(s, "acmeLoad", 7, b.acme, Syntax::Gauge, 0, "-1", "5"); },
               E("acmeLoad RangeOutsideType error")},
        Defect{"integerTooHigh", [](S &s, M &, const B &b) { MibRange &r = s.tables.range[rangeOf(s, b.level)];
                   setText(r.Maximum, r.MaximumLength, QStringLiteral("2147483648"), BoundWidth); },
               E("acmeLevel RangeOutsideType error")},
        Defect{"sizeTooHigh", [](S &s, M &, const B &b) { leaf(s, "acmeName", 7, b.acme, Syntax::OctetString, 0, "0", "65536"); },
               E("acmeName RangeOutsideType error")},
        Defect{"rangeOnTicks", [](S &s, M &, const B &b) { attr(s, b.level).Syntax = Syntax::TimeTicks; },
               E("acmeLevel RangeNotAllowed warning")},
        Defect{"enumOnText", [](S &s, M &, const B &b) { attr(s, b.state).Syntax = Syntax::OctetString; },
               E("acmeLinkState EnumNotAllowed warning")},
        Defect{"enumEmpty", [](S &s, M &, const B &b) { for (int i : itemsOf(s, b.state)) s.tables.list[i].InUse = 0; },
               E("acmeLinkState EnumEmpty warning")},
        Defect{"keyNoRange", [](S &s, M &, const B &b) { attr(s, b.index).Constraint = Constraint::None; },
               E("acmeLinkIndex IndexWithoutRange error")},
        Defect{"noDescription", [](S &s, M &, const B &b) { attr(s, b.table).DescriptionLength = 0; },
               E("acmeLinkTable DescriptionEmpty warning")},
        Defect{"japanese", [](S &s, M &, const B &b) { MibAttribute &a = attr(s, b.entry);
                   setText(a.Description, a.DescriptionLength, QStringLiteral("ポート"), NameWidth); },
               E("acmeLinkEntry NotAscii error")},
        Defect{"japaneseModule", [](S &, M &m, const B &) { m.revisions.append({QDateTime::currentDateTimeUtc(),
                   QStringLiteral("改訂")}); }, E("ACME-MIB NotAscii error")},
        Defect{"hiddenScalar", [](S &s, M &, const B &b) { attr(s, b.level).Access = Access::NotAccessible; },
               E("acmeLevel ScalarNotAccessible error")},
        Defect{"writableCounter", [](S &s, M &, const B &b) { attr(s, b.level).Syntax = Syntax::Counter;
                   attr(s, b.level).Constraint = Constraint::None; attr(s, b.level).Access = Access::ReadWrite; },
               E("acmeLevel CounterWritable error")}));

// libsmi's own diagnostics come back on the object whose definition holds
// them, or on the module; where the check already speaks, libsmi's repeat
// is dropped.
TEST(DesignCheck, MapsLibsmiDiagnosticsToTheirObject)
{
    auto state = std::make_unique<AppState>();
    const Base base = buildBase(*state);
    ModuleInfo info = defaultModuleInfo(*state);
    EXPECT_EQ(describeAll(checkDesign(*state, info, WithLibsmi)), "");
    leaf(*state, "acmeBlob", 7, base.acme, Syntax::Opaque);
    MibAttribute &a = attr(*state, base.entry);
    setText(a.Description, a.DescriptionLength, QStringLiteral("ポート"), NameWidth);
    info.organization.clear();
    const QList<Finding> findings = checkDesign(*state, info, WithLibsmi);
    EXPECT_EQ(describeAll(findings), "ACME-MIB Libsmi warning; acmeLinkEntry NotAscii error; acmeBlob Libsmi warning");
    EXPECT_TRUE(findings[0].englishMessage().contains(QLatin1StringView("organization")));
    EXPECT_TRUE(findings[2].japaneseMessage().contains(QLatin1StringView("Opaque")));
}

TEST(DesignCheck, SeedWriterOmissions)
{
    auto state = std::make_unique<AppState>();
    const Base base = buildBase(*state);
    leaf(*state, "acmeTwin", 1, base.acme);
    leaf(*state, "acmeZero", 0, base.acme);
    leaf(*state, "acmeOrphan", 3, 900);
    QStringList omitted;
    for (const SkippedObject &o : seedWriterOmissions(*state))
        omitted.append(o.name + u' ' + o.reason);
    // the seed writer keeps the last slot of a sub-identifier
    EXPECT_EQ(joined(omitted), "acmeLevel its sub-identifier 1 is taken by acmeTwin; acmeZero its sub-identifier 0 is "
                               "not positive; acmeOrphan it cannot be reached from enterprise");
}

// A random design that keeps to SMIv2's rules: nodes, scalars of every
// syntax but Opaque, and tables with ranged INTEGER keys.
void buildKeeping(AppState &s, QRandomGenerator &random)
{
    QList<int> nodes{addNode(s, QStringLiteral("gen"), 1 + random.bounded(100000))};
    int n = 0;
    const auto next = [&n](const char *stem) { return QStringLiteral("g%1%2").arg(QLatin1StringView(stem)).arg(++n); };
    for (int id = 1, count = 3 + random.bounded(8); id <= count; ++id) {
        const int parent = nodes[random.bounded(nodes.size())];
        const QList<QPair<QString, int>> items{{QStringLiteral("on"), 1}, {QStringLiteral("off"), 2}};
        switch (random.bounded(6)) {
        case 0:
            nodes.append(addNode(s, next("node"), 100 + id, parent));
            break;
        case 1:
            leaf(s, next("num").toLatin1(), 100 + id, parent, Syntax::Integer, 0, "-3", "70000");
            break;
        case 2:
            leaf(s, next("mode").toLatin1(), 100 + id, parent, Syntax::Integer, 0, nullptr, nullptr, items);
            break;
        case 3: {
            const int syntaxes[] = {Syntax::OctetString, Syntax::ObjectIdentifier, Syntax::IpAddress,
                                    Syntax::Counter, Syntax::Gauge, Syntax::TimeTicks};
            leaf(s, next("val").toLatin1(), 100 + id, parent, syntaxes[random.bounded(6)]);
            break;
        }
        default: {
            const int entry = entryOf(s, table(s, next("tab").toLatin1(), 100 + id, parent));
            const int keys = 1 + random.bounded(2);
            for (int c = 1; c <= keys + 1 + random.bounded(3); ++c)
                leaf(s, next("col").toLatin1(), c, entry, c <= keys ? Syntax::Integer : Syntax::Gauge,
                     c <= keys ? c : 0, c <= keys ? "1" : nullptr, c <= keys ? "99" : nullptr);
            break;
        }
        }
    }
}

// One random defect of the kinds the check knows, on a random object.
void breakDesign(AppState &s, ModuleInfo &info, QRandomGenerator &random)
{
    QList<int> leaves, objects;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (s.tables.tree[slot].InUse == 0)
            continue;
        objects.append(slot);
        if (s.tables.tree[slot].Kind == ObjectKind::Leaf)
            leaves.append(slot);
    }
    const int at = int(random.bounded(objects.size()));
    const int object = objects[at];
    switch (random.bounded(leaves.isEmpty() ? 6 : 12)) {
    case 0: s.tables.tree[object].ObjectId = 0; break;
    case 1: rename(s, object, displayedName(s, object) + QStringLiteral("-x")); break;
    case 2: rename(s, object, displayedName(s, objects[(at + 1) % objects.size()])); break;
    case 3: info.moduleName = QStringLiteral("Gen-mib-"); break;
    case 4: info.contactInfo = QStringLiteral("Tōkyō"); break;
    case 5: addNode(s, QStringLiteral("gTwin"), s.tables.tree[object].ObjectId, s.tables.tree[object].Parent); break;
    default: {
        const int slot = leaves[random.bounded(leaves.size())];
        MibAttribute &a = attr(s, slot);
        switch (random.bounded(6)) {
        case 0:
            if (s.tables.tree[s.tables.tree[slot].Parent].Kind == ObjectKind::Entry)
                s.tables.tree[slot].Parent = slot; // a cycle of one
            else
                a.Access = Access::NotAccessible;
            break;
        case 1: a.Syntax = Syntax::Counter; a.Constraint = Constraint::None; a.Access = Access::ReadWrite; break;
        case 2: a.DescriptionLength = 0; break;
        case 3: setText(a.Description, a.DescriptionLength, QStringLiteral("温度"), NameWidth); break;
        case 4: a.Syntax = Syntax::Integer; a.Constraint = Constraint::None; a.KeyOrder = 0;
                leaf(s, "gBelow", 1, slot); break;
        default: a.Syntax = Syntax::Opaque; a.Constraint = Constraint::None; break;
        }
    }
    }
}

// What smilint -l 6 prints on the design's SMIv2 module.
QByteArray smilint(const QString &program, const AppState &state, const ModuleInfo &info)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("module.mib"));
    if (!writeSmiv2File(state, info, file))
        return "not written";
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SMIPATH"), QStringLiteral(KORVEL_BASE_MIBS));
    environment.insert(QStringLiteral("HOME"), dir.path());
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {QStringLiteral("-l"), QStringLiteral("6"), file});
    process.waitForFinished(30000);
    return process.readAll();
}

// Over seeded designs: silent where smilint is, and never silent where
// smilint speaks up or a defect was put in.
TEST(DesignCheck, AgreesWithSmilint)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("smilint"));
    if (program.isEmpty())
        GTEST_SKIP() << "smilint is not installed";
    for (quint32 seed = 1; seed <= 30; ++seed) {
        QRandomGenerator random(seed);
        auto state = std::make_unique<AppState>();
        buildKeeping(*state, random);
        ModuleInfo info = defaultModuleInfo(*state);
        const bool broken = seed % 3 != 0;
        if (broken)
            breakDesign(*state, info, random);
        const QByteArray lint = smilint(program, *state, info);
        const QList<Finding> findings = checkDesign(*state, info, WithLibsmi);
        SCOPED_TRACE("seed " + std::to_string(seed) + ": " + describeAll(findings));
        EXPECT_EQ(findings.isEmpty(), !broken);
        if (!broken) {
            EXPECT_EQ(lint, QByteArray());
        } else if (!lint.isEmpty()) {
            EXPECT_FALSE(findings.isEmpty()) << lint.constData();
        }
    }
}

} // namespace
