#include "designcheck.h"
#include "modulediagnostics.h"
#include "sampledesign.h"
#include "smiv2writer.h"
#include "tableops.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

const CheckOptions WithLibsmi{QStringLiteral(KORVEL_BASE_MIBS), true};
const CheckOptions OwnRulesOnly{QStringLiteral(KORVEL_BASE_MIBS), false};
using Items = QList<QPair<QString, int>>;
const Items OnOff{{QStringLiteral("on"), 1}, {QStringLiteral("off"), 2}};

int leaf(AppState &s, const QString &name, int id, int parent, int syntax = Syntax::Integer, int key = 0,
         const QString &low = {}, const QString &high = {}, const Items &items = {})
{
    return addLeaf(s, {name, id, parent, syntax, Access::ReadOnly, QStringLiteral("A text."), key, low, high, items});
}

int table(AppState &s, const QString &base, int id, int parent)
{
    return addTable(s, base, id, parent, QStringLiteral("A table."), QStringLiteral("A row."));
}

MibAttribute &attr(AppState &s, int slot)
{
    return s.tables.attribute[attributeOf(s, slot)];
}

// A clean design: a node, a scalar with a range, a table with a ranged key
// and an enumerated column.
struct Base {
    int acme, level, table, entry, index, state;
};

Base buildBase(AppState &s)
{
    Base b{};
    b.acme = addNode(s, QStringLiteral("acme"), 5);
    b.level = leaf(s, QStringLiteral("acmeLevel"), 1, b.acme, Syntax::Integer, 0, "1", "10");
    b.table = table(s, QStringLiteral("acmeLink"), 2, b.acme);
    b.entry = entryOf(s, b.table);
    b.index = leaf(s, QStringLiteral("acmeLinkIndex"), 1, b.entry, Syntax::Integer, 1, "1", "8");
    b.state = leaf(s, QStringLiteral("acmeLinkState"), 2, b.entry, Syntax::Integer, 0, {}, {}, OnOff);
    return b;
}

// The findings as one line of "object code severity", for readable failures.
std::string describeAll(const QList<Finding> &findings)
{
    static const QStringList codes = QStringLiteral(
        "SubIdNotPositive SubIdTaken Unreachable UnknownKind EntryMisplaced BelowScalar TableHoldsOther "
        "EntryHoldsOther TableWithoutEntry EntryWithoutColumns EntryWithoutKeys KeyRepeats KeyGap "
        "KeysAllNotAccessible KeyOnScalar NoAttribute NoSyntax NameInvalid NameHyphen NameTooLong NameTaken "
        "LabelInvalid LabelTaken ModuleNameInvalid IdentityPlace RangeMissing RangeNotNumber RangeReversed "
        "RangeOutsideType RangeNotAllowed EnumNotAllowed EnumEmpty EnumValueTaken IndexWithoutRange "
        "DescriptionEmpty NotAscii ScalarNotAccessible CounterWritable LibsmiUnavailable Libsmi").split(u' ');
    QStringList all;
    for (const Finding &f : findings)
        all.append(QStringLiteral("%1 %2 %3").arg(f.object, codes.value(int(f.code)), f.isError() ? "error" : "warning"));
    return all.join(QStringLiteral("; ")).toStdString();
}

using S = AppState;
using M = ModuleInfo;
using B = Base;

void rename(S &s, int slot, const QString &name)
{
    storeText(s.tables.tree[slot].Name, s.tables.tree[slot].NameLength, name, NameWidth);
}

MibRange &range(S &s, int slot)
{
    return s.tables.range[rangeOf(s, slot)];
}

struct Defect {
    const char *label;
    std::function<void(S &, M &, const B &)> apply;
    const char *expected; // describeAll's line
};

// Each design holds one defect, and the check's own rules name exactly it.
TEST(DesignCheck, EachDefectGivesItsFinding)
{
// clang-format off
const Defect defects[] = {
    Defect{"twin", [](S &s, M &, const B &b) { leaf(s, "acmeTwin", 1, b.acme); }, "acmeTwin SubIdTaken error"},
    Defect{"zero", [](S &s, M &, const B &b) { s.tables.tree[b.level].ObjectId = 0; }, "acmeLevel SubIdNotPositive error"},
    Defect{"orphan", [](S &s, M &, const B &b) { s.tables.tree[b.level].Parent = 900; }, "acmeLevel Unreachable error"},
    Defect{"cycle", [](S &s, M &, const B &b) { s.tables.tree[b.table].Parent = b.index; },
           "acmeLinkTable Unreachable error; acmeLinkEntry Unreachable error; acmeLinkIndex Unreachable error; "
           "acmeLinkState Unreachable error"},
    Defect{"kind", [](S &s, M &, const B &b) { s.tables.tree[b.acme].Kind = 9; }, "acme UnknownKind error"},
    Defect{"entryAtNode", [](S &s, M &, const B &b) { s.tables.tree[b.entry].Parent = b.acme; s.tables.tree[b.entry].ObjectId = 7; },
           "acmeLinkTable TableWithoutEntry error; acmeLinkEntry EntryMisplaced error"},
    Defect{"belowScalar", [](S &s, M &, const B &b) { leaf(s, "acmeSub", 1, b.level); }, "acmeSub BelowScalar error"},
    Defect{"leafInTable", [](S &s, M &, const B &b) { leaf(s, "acmeStray", 2, b.table); }, "acmeStray TableHoldsOther error"},
    Defect{"nodeInRow", [](S &s, M &, const B &b) { addNode(s, "acmeStray", 3, b.entry); }, "acmeStray EntryHoldsOther error"},
    Defect{"noEntry", [](S &s, M &, const B &b) { s.tables.tree[entryOf(s, table(s, "acmeBare", 7, b.acme))].InUse = 0; },
           "acmeBareTable TableWithoutEntry error"},
    Defect{"noColumns", [](S &s, M &, const B &b) { table(s, "acmeBare", 7, b.acme); }, "acmeBareEntry EntryWithoutColumns error"},
    Defect{"noKeys", [](S &s, M &, const B &b) { attr(s, b.index).KeyOrder = 0; }, "acmeLinkEntry EntryWithoutKeys error"},
    Defect{"keyTwice", [](S &s, M &, const B &b) { attr(s, b.state).KeyOrder = 1; }, "acmeLinkState KeyRepeats error"},
    Defect{"keyGap", [](S &s, M &, const B &b) { attr(s, b.index).KeyOrder = 2; }, "acmeLinkEntry KeyGap warning"},
    Defect{"keysHidden", [](S &s, M &, const B &b) { const int e = entryOf(s, table(s, "acmeHid", 7, b.acme));
               attr(s, leaf(s, "acmeHidIndex", 1, e, Syntax::Integer, 1, "1", "4")).Access = Access::NotAccessible; },
           "acmeHidEntry KeysAllNotAccessible error"},
    Defect{"rowHidden", [](S &s, M &, const B &b) { attr(s, b.index).Access = attr(s, b.state).Access = Access::NotAccessible; },
           ""},
    Defect{"keyOnScalar", [](S &s, M &, const B &b) { attr(s, b.level).KeyOrder = 1; }, "acmeLevel KeyOnScalar warning"},
    Defect{"noAttribute", [](S &s, M &, const B &b) { attr(s, b.level).InUse = 0; }, "acmeLevel NoAttribute error"},
    Defect{"noSyntax", [](S &s, M &, const B &b) { attr(s, b.level).Syntax = Syntax::NoSyntax; }, "acmeLevel NoSyntax error"},
    Defect{"blankInName", [](S &s, M &, const B &b) { rename(s, b.level, "acme level"); }, "acme level NameInvalid error"},
    Defect{"hyphen", [](S &s, M &, const B &b) { rename(s, b.level, "acme-level"); }, "acme-level NameHyphen error"},
    Defect{"long", [](S &s, M &, const B &b) { rename(s, b.level, "a" + QString(64, u'b')); },
           "abbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb NameTooLong error"},
    Defect{"sameName", [](S &s, M &, const B &b) { rename(s, b.state, "acmeLevel"); }, "acmeLevel NameTaken error"},
    Defect{"identityName", [](S &s, M &m, const B &b) { rename(s, b.level, m.identity + "Conformance"); },
           "acmeMIBConformance NameTaken error"},
    Defect{"label", [](S &s, M &, const B &b) { MibList &l = s.tables.list[itemsOf(s, b.state)[0]];
               storeText(l.ItemName, l.ItemNameLength, "Up", NameWidth); }, "acmeLinkState LabelInvalid error"},
    Defect{"labelTwice", [](S &s, M &, const B &b) { leaf(s, "acmeMode", 7, b.acme, Syntax::Integer, 0, {}, {},
               {{"on", 1}, {"on", 2}}); }, "acmeMode LabelTaken error"},
    Defect{"valueTwice", [](S &s, M &, const B &b) { s.tables.list[itemsOf(s, b.state)[1]].ItemValue = 1; },
           "acmeLinkState EnumValueTaken error"},
    Defect{"moduleName", [](S &, M &m, const B &) { m.moduleName = "ACME-MIB-"; }, "ACME-MIB- ModuleNameInvalid error"},
    Defect{"identityPlace", [](S &, M &m, const B &b) { m.identityParent = b.acme; m.identitySubId = 1; },
           "acmeMIB IdentityPlace error"},
    Defect{"rangeMissing", [](S &s, M &, const B &b) { range(s, b.level).InUse = 0; }, "acmeLevel RangeMissing error"},
    Defect{"rangeText", [](S &s, M &, const B &b) { MibRange &r = range(s, b.level);
               storeText(r.Maximum, r.MaximumLength, "1O", BoundWidth); }, "acmeLevel RangeNotNumber error"},
    Defect{"reversed", [](S &s, M &, const B &b) { MibRange &r = range(s, b.level);
               storeText(r.Minimum, r.MinimumLength, "11", BoundWidth); }, "acmeLevel RangeReversed error"},
    Defect{"gaugeBelowZero", [](S &s, M &, const B &b) { leaf(s, "acmeLoad", 7, b.acme, Syntax::Gauge, 0, "-1", "5"); },
           "acmeLoad RangeOutsideType error"},
    Defect{"sizeTooHigh", [](S &s, M &, const B &b) { leaf(s, "acmeName", 7, b.acme, Syntax::OctetString, 0, "0", "65536"); },
           "acmeName RangeOutsideType error"},
    Defect{"rangeOnTicks", [](S &s, M &, const B &b) { attr(s, b.level).Syntax = Syntax::TimeTicks; },
           "acmeLevel RangeNotAllowed warning"},
    Defect{"enumOnText", [](S &s, M &, const B &b) { attr(s, b.state).Syntax = Syntax::OctetString; },
           "acmeLinkState EnumNotAllowed warning"},
    Defect{"enumEmpty", [](S &s, M &, const B &b) { for (int i : itemsOf(s, b.state)) s.tables.list[i].InUse = 0; },
           "acmeLinkState EnumEmpty warning"},
    Defect{"keyNoRange", [](S &s, M &, const B &b) { attr(s, b.index).Constraint = Constraint::None; },
           "acmeLinkIndex IndexWithoutRange error"},
    Defect{"noDescription", [](S &s, M &, const B &b) { attr(s, b.table).DescriptionLength = 0; },
           "acmeLinkTable DescriptionEmpty warning"},
    Defect{"japanese", [](S &s, M &, const B &b) { MibAttribute &a = attr(s, b.entry);
               storeText(a.Description, a.DescriptionLength, "ポート", NameWidth); }, "acmeLinkEntry NotAscii error"},
    Defect{"japaneseModule", [](S &, M &m, const B &) { m.revisions.append({QDateTime::currentDateTimeUtc(), "改訂"}); },
           "ACME-MIB NotAscii error"},
    Defect{"hiddenScalar", [](S &s, M &, const B &b) { attr(s, b.level).Access = Access::NotAccessible; },
           "acmeLevel ScalarNotAccessible error"},
    Defect{"writableCounter", [](S &s, M &, const B &b) { MibAttribute &a = attr(s, b.level); a.Syntax = Syntax::Counter;
               a.Constraint = Constraint::None; a.Access = Access::ReadWrite; }, "acmeLevel CounterWritable error"},
    Defect{"identityIsNode", [](S &, M &m, const B &) { m.identity = "acme"; m.identityParent = RootSlot;
               m.identitySubId = 5; }, ""}};
// clang-format on
    for (const Defect &defect : defects) {
        auto state = std::make_unique<AppState>();
        const Base base = buildBase(*state);
        ModuleInfo info = defaultModuleInfo(*state);
        defect.apply(*state, info, base);
        EXPECT_EQ(describeAll(checkDesign(*state, info, OwnRulesOnly)), defect.expected) << defect.label;
    }
}

// libsmi's diagnostics come back on the object whose definition holds them,
// or on the module; where the check already speaks, libsmi's repeat is dropped.
TEST(DesignCheck, MapsLibsmiDiagnosticsToTheirObject)
{
    auto state = std::make_unique<AppState>();
    const Base base = buildBase(*state);
    ModuleInfo info = defaultModuleInfo(*state);
    leaf(*state, "acmeBlob", 7, base.acme, Syntax::Opaque);
    MibAttribute &a = attr(*state, base.entry);
    storeText(a.Description, a.DescriptionLength, QStringLiteral("ポート"), NameWidth);
    info.organization.clear();
    const QList<Finding> findings = checkDesign(*state, info, WithLibsmi);
    EXPECT_EQ(describeAll(findings), "ACME-MIB Libsmi warning; acmeLinkEntry NotAscii error; acmeBlob Libsmi warning");
    EXPECT_TRUE(findings[0].englishMessage().contains(QLatin1StringView("organization")));
    EXPECT_TRUE(findings[2].japaneseMessage().contains(QLatin1StringView("Opaque")));
}

// A random design that keeps to SMIv2's rules: nodes, scalars of every
// syntax but Opaque, and tables with ranged INTEGER keys.
void buildKeeping(AppState &s, QRandomGenerator &random)
{
    QList<int> nodes{addNode(s, QStringLiteral("gen"), 1 + random.bounded(100000))};
    const int syntaxes[] = {Syntax::OctetString, Syntax::ObjectIdentifier, Syntax::IpAddress,
                            Syntax::Counter,     Syntax::Gauge,            Syntax::TimeTicks};
    for (int id = 101, last = id + 3 + random.bounded(8); id <= last; ++id) {
        const int parent = nodes[random.bounded(nodes.size())];
        const QString name = QStringLiteral("g%1x").arg(id);
        switch (random.bounded(6)) {
        case 0: nodes.append(addNode(s, name, id, parent)); break;
        case 1: leaf(s, name, id, parent, Syntax::Integer, 0, "-3", "70000"); break;
        case 2: leaf(s, name, id, parent, Syntax::Integer, 0, {}, {}, OnOff); break;
        case 3: leaf(s, name, id, parent, syntaxes[random.bounded(6)]); break;
        default: {
            const int entry = entryOf(s, table(s, name, id, parent));
            const int keys = 1 + random.bounded(2);
            for (int c = 1; c <= keys + 1 + random.bounded(3); ++c)
                leaf(s, name + QString::number(c), c, entry, c <= keys ? Syntax::Integer : Syntax::Gauge,
                     c <= keys ? c : 0, c <= keys ? "1" : "", c <= keys ? "99" : "");
        }
        }
    }
}

// One random defect of the kinds the check knows, on a random object.
void breakDesign(AppState &s, ModuleInfo &info, QRandomGenerator &random)
{
    QList<int> leaves, objects;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (s.tables.tree[slot].InUse != 0)
            (s.tables.tree[slot].Kind == ObjectKind::Leaf ? leaves : objects).append(slot);
    }
    objects += leaves;
    const int at = int(random.bounded(objects.size()));
    const int object = objects[at];
    const int slot = leaves.isEmpty() ? object : leaves[random.bounded(leaves.size())];
    MibAttribute *a = leaves.isEmpty() ? nullptr : &attr(s, slot);
    switch (random.bounded(a ? 11 : 6)) {
    case 0: s.tables.tree[object].ObjectId = 0; break;
    case 1: rename(s, object, displayedName(s, object) + QStringLiteral("-x")); break;
    case 2: rename(s, object, displayedName(s, objects[(at + 1) % objects.size()])); break;
    case 3: info.moduleName = QStringLiteral("Gen-mib-"); break;
    case 4: info.contactInfo = QStringLiteral("Tōkyō"); break;
    case 5: addNode(s, QStringLiteral("gTwin"), s.tables.tree[object].ObjectId, s.tables.tree[object].Parent); break;
    case 6: s.tables.tree[slot].Parent = slot; break;
    case 7: a->Syntax = Syntax::Counter; a->Constraint = Constraint::None; a->Access = Access::ReadWrite; break;
    case 8: a->DescriptionLength = 0; break;
    case 9: storeText(a->Description, a->DescriptionLength, QStringLiteral("温度"), NameWidth); break;
    default: a->Syntax = Syntax::Opaque; a->Constraint = Constraint::None; break;
    }
}

// Over seeded designs: silent where libsmi at level 6 (smilint -l 6) is, and
// never silent where libsmi speaks up or a defect was put in.
TEST(DesignCheck, AgreesWithLibsmi)
{
    for (quint32 seed = 1; seed <= 30; ++seed) {
        QRandomGenerator random(seed);
        auto state = std::make_unique<AppState>();
        buildKeeping(*state, random);
        ModuleInfo info = defaultModuleInfo(*state);
        const bool broken = seed % 3 != 0;
        if (broken)
            breakDesign(*state, info, random);
        const bool complains = !moduleDiagnostics(*state, info, WithLibsmi.baseModules).value().isEmpty();
        const QList<Finding> findings = checkDesign(*state, info, WithLibsmi);
        SCOPED_TRACE("seed " + std::to_string(seed) + ": " + describeAll(findings));
        EXPECT_EQ(findings.isEmpty(), !broken);
        EXPECT_TRUE(broken || !complains);
        EXPECT_TRUE(!complains || !findings.isEmpty());
    }
}

} // namespace
