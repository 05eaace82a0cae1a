#include "designfile.h"
#include "editorrules.h"
#include "rulemessages.h"
#include "rulestesting.h"
#include "sampledesign.h"
#include "tableops.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

const QString ParentIsLeaf = u"オブジェクトの下に追加できません。"_s;
const QString ParentIsTable = u"テーブルの下に追加できません。エントリの下に追加してください。"_s;
const QString DuplicateName = u"オブジェクト名が重複しています。"_s;
const QString DuplicateId = u"オブジェクトIDが重複しています。"_s;
const QString TableFull = u"これ以上登録できません"_s;
const QString KindChanged = u"オブジェクトの種類は変更できません。"_s;
const QString OwnSubtree = u"自分自身または配下のオブジェクトを親にすることはできません。"_s;

// The sample design: sysInfo(1) with sysTemperature(1, range) and sysMode(2,
// three items); portTable(2) with portEntry and its columns portIndex(1,
// range, key 1), portName(2) and portStatus(3, two items).
std::unique_ptr<AppState> sample()
{
    auto s = freshState();
    buildSampleDesign(*s);
    return s;
}

struct ChangeCase {
    const char *label;
    QString object;
    std::function<void(EditorInput &)> edit;
    QString expected; // empty: changed
    std::function<void(AppState &)> design = [](AppState &) {};
};

void PrintTo(const ChangeCase &c, std::ostream *os)
{
    *os << c.label;
}

class ChangeRules : public ::testing::TestWithParam<ChangeCase>
{
};

auto option(KindOption kind)
{
    return [kind](EditorInput &in) { in.KindOption = kind; };
}

auto moveTo(const QString &parent, const QString &objectId = QString())
{
    return [=](EditorInput &in) {
        in.ParentIsRoot = parent.isEmpty();
        in.ParentText = parent.isEmpty() ? u"enterprise"_s : parent;
        if (!objectId.isEmpty())
            in.ObjectIdText = objectId;
    };
}

// Bounds the sample design stores as typed elsewhere; the editor accepts digits only.
void digitsOnly(EditorInput &in)
{
    if (in.RangeTicked && in.MinimumText.startsWith(u'-'))
        in.MinimumText = u"0"_s;
}

} // namespace

TEST_P(ChangeRules, RefusesBeforeAnyWriteAndKeepsCounters)
{
    const ChangeCase &c = GetParam();
    auto s = sample();
    c.design(*s);
    const int slot = slotOf(*s, c.object);
    ASSERT_GE(slot, 0);
    EditorInput in = inputFor(*s, slot);
    digitsOnly(in);
    c.edit(in);
    const QByteArray before = designFileImage(*s);
    const Counters counters = countersOf(*s);
    RecordingSink sink;
    const OperationResult result = ChangeObject(*s, slot, in, sink);
    if (c.expected.isEmpty()) {
        EXPECT_EQ(result, OperationResult::Success);
        EXPECT_TRUE(sink.messages().isEmpty());
    } else {
        EXPECT_EQ(result, OperationResult::Refused);
        EXPECT_EQ(sink.messages(), warning(c.expected));
        EXPECT_EQ(designFileImage(*s), before);
    }
    EXPECT_EQ(countersOf(*s), counters);
    EXPECT_TRUE(countersExact(*s));
}

INSTANTIATE_TEST_SUITE_P(
    KindGuard, ChangeRules,
    ::testing::Values(ChangeCase{"node as leaf", u"sysInfo"_s, option(KindOption::Leaf), KindChanged},
                      ChangeCase{"leaf as node", u"sysMode"_s, option(KindOption::Node), KindChanged},
                      ChangeCase{"table as leaf", u"portTable"_s, option(KindOption::Leaf), KindChanged},
                      ChangeCase{"entry as node", u"portEntry"_s, option(KindOption::Node), KindChanged},
                      ChangeCase{"node unchanged", u"sysInfo"_s, option(KindOption::Node), {}},
                      ChangeCase{"leaf unchanged", u"sysMode"_s, option(KindOption::Leaf), {}},
                      ChangeCase{"table as table", u"portTable"_s, option(KindOption::Table), {}},
                      ChangeCase{"entry as table", u"portEntry"_s, option(KindOption::Table), {}}));

INSTANTIATE_TEST_SUITE_P(
    Duplicates, ChangeRules,
    ::testing::Values(
        ChangeCase{"name of another object", u"sysMode"_s, [](EditorInput &in) { in.NameText = u"portName"_s; },
                   DuplicateName},
        ChangeCase{"base of a table's name", u"sysMode"_s, [](EditorInput &in) { in.NameText = u"port"_s; },
                   DuplicateName},
        ChangeCase{"own name kept", u"sysMode"_s, [](EditorInput &in) { in.ObjectIdText = u"9"_s; }, {}},
        ChangeCase{"ID of a sibling", u"sysMode"_s, [](EditorInput &in) { in.ObjectIdText = u"1"_s; }, DuplicateId}));

INSTANTIATE_TEST_SUITE_P(
    Moves, ChangeRules,
    ::testing::Values(
        // Mended: the siblings under the new parent decide, not those under the old one.
        ChangeCase{"clash under the new parent", u"sysMode"_s, moveTo(QString()), DuplicateId},
        ChangeCase{"clash under the old parent only", u"portStatus"_s, moveTo(u"spare"_s, u"1"_s), {},
                   [](AppState &s) { addNode(s, u"spare"_s, 7); }},
        ChangeCase{"free ID under the new parent", u"sysMode"_s, moveTo(QString(), u"3"_s), {}},
        ChangeCase{"under itself", u"sysInfo"_s, moveTo(u"sysInfo"_s), OwnSubtree},
        ChangeCase{"under its grandchild", u"sysInfo"_s, moveTo(u"deeper"_s), OwnSubtree,
                   [](AppState &s) { addNode(s, u"deeper"_s, 1, addNode(s, u"inner"_s, 9, 0)); }},
        ChangeCase{"under a leaf", u"sysMode"_s, moveTo(u"portName"_s, u"9"_s), ParentIsLeaf},
        ChangeCase{"under a table", u"sysMode"_s, moveTo(u"portTable"_s, u"9"_s), ParentIsTable},
        ChangeCase{"entry away from its table", u"portEntry"_s, moveTo(u"sysInfo"_s, u"9"_s),
                   RuleMessage::EntryMoved.toString()},
        ChangeCase{"leaf into a table's entry", u"sysMode"_s, moveTo(u"portEntry"_s, u"9"_s), {}}));

INSTANTIATE_TEST_SUITE_P(
    FullTables, ChangeRules,
    ::testing::Values(
        // Mended: the slots the new items need are counted before the old ones go.
        ChangeCase{"more items than free and freed slots", u"sysMode"_s,
                   [](EditorInput &in) { in.Items.append({u"extra"_s, 9}); }, TableFull,
                   [](AppState &s) {
                       for (int i = 0; i < StoredSlotCount; ++i)
                           s.tables.list[i].InUse = 1;
                       rebuildCounters(s.tables, s.ObjectLimit);
                   }},
        ChangeCase{"as many items as freed slots", u"sysMode"_s,
                   [](EditorInput &in) { in.Items[0].name = u"other"_s; }, {},
                   [](AppState &s) {
                       for (int i = 5; i < StoredSlotCount; ++i)
                           s.tables.list[i].InUse = 1;
                       rebuildCounters(s.tables, s.ObjectLimit);
                   }},
        ChangeCase{"a range with no range slot", u"sysMode"_s,
                   [](EditorInput &in) { in = withRange(in, u"1"_s, u"2"_s); }, TableFull,
                   [](AppState &s) {
                       for (int i = 0; i < StoredSlotCount; ++i)
                           s.tables.range[i].InUse = 1;
                       rebuildCounters(s.tables, s.ObjectLimit);
                   }},
        ChangeCase{"a range reusing its own slot", u"portIndex"_s,
                   [](EditorInput &in) { in = withRange(in, u"0"_s, u"10"_s); }, {},
                   [](AppState &s) {
                       for (int i = 0; i < StoredSlotCount; ++i)
                           s.tables.range[i].InUse = 1;
                       rebuildCounters(s.tables, s.ObjectLimit);
                   }}));

TEST(ChangeObject, RenamingATableKeepsItsEntryName)
{
    auto s = sample();
    const int table = slotOf(*s, u"portTable"_s);
    EditorInput in = inputFor(*s, table);
    in.NameText = u"ifTable"_s;
    in.DescriptionText = u"Interfaces"_s;
    in.AccessIndex = 0;
    RecordingSink sink;
    ASSERT_EQ(ChangeObject(*s, table, in, sink), OperationResult::Success);
    EXPECT_EQ(displayedName(*s, table), u"ifTable"_s);
    EXPECT_EQ(displayedName(*s, entryOf(*s, table)), u"portEntry"_s);
    const MibAttribute &a = s->tables.attribute[attributeOf(*s, table)];
    EXPECT_EQ(displayedText(a.Description, a.DescriptionLength), u"Interfaces"_s);
    EXPECT_EQ(a.Access, Access::NotAccessible);

    const int entry = entryOf(*s, table);
    EditorInput entryInput = inputFor(*s, entry);
    entryInput.EntryDescriptionText = u"One interface"_s;
    entryInput.DescriptionText = u"not this one"_s;
    ASSERT_EQ(ChangeObject(*s, entry, entryInput, sink), OperationResult::Success);
    const MibAttribute &e = s->tables.attribute[attributeOf(*s, entry)];
    EXPECT_EQ(displayedText(e.Description, e.DescriptionLength), u"One interface"_s);
    EXPECT_TRUE(countersExact(*s));
}

TEST(ChangeObject, ConstraintSwitchesFreeAndTakeRecords)
{
    auto s = sample();
    RecordingSink sink;
    const int leaf = slotOf(*s, u"sysMode"_s);
    const QList<int> oldItems = itemsOf(*s, leaf);
    ASSERT_EQ(oldItems.size(), 3);

    // Enumeration to range: every item goes, one range comes.
    EditorInput in = withRange(inputFor(*s, leaf), u"1"_s, u"300"_s);
    in.ListTicked = false;
    ASSERT_EQ(ChangeObject(*s, leaf, in, sink), OperationResult::Success);
    EXPECT_EQ(countersOf(*s), (Counters{8, 7, 3, 2}));
    for (int item : oldItems) {
        EXPECT_EQ(s->tables.list[item].InUse, 0);
        EXPECT_EQ(s->tables.list[item].ItemNameLength, 0);
    }
    const int range = rangeOf(*s, leaf);
    ASSERT_GE(range, 0);
    EXPECT_TRUE(countersExact(*s));

    // Range to enumeration: the range is freed as deleting frees it.
    in = withItems(inputFor(*s, leaf), {{u"on"_s, 1}, {u"off"_s, 0}});
    in.RangeTicked = false;
    ASSERT_EQ(ChangeObject(*s, leaf, in, sink), OperationResult::Success);
    EXPECT_EQ(countersOf(*s), (Counters{8, 7, 2, 4}));
    EXPECT_EQ(s->tables.range[range].InUse, 0);
    EXPECT_EQ(displayedText(s->tables.range[range].Minimum, 1), u"0"_s);
    EXPECT_EQ(s->tables.range[range].MaximumLength, 3);
    EXPECT_EQ(itemsOf(*s, leaf), (QList<int>{0, 1}));
    EXPECT_TRUE(countersExact(*s));

    // Enumeration to nothing.
    in.ListTicked = false;
    ASSERT_EQ(ChangeObject(*s, leaf, in, sink), OperationResult::Success);
    EXPECT_EQ(countersOf(*s), (Counters{8, 7, 2, 2}));
    EXPECT_EQ(s->tables.attribute[attributeOf(*s, leaf)].Constraint, Constraint::None);
    EXPECT_TRUE(sink.messages().isEmpty());
    EXPECT_TRUE(countersExact(*s));
}

TEST(ChangeObject, MissingAttributeIsRefusedSilently)
{
    auto s = sample();
    const int leaf = slotOf(*s, u"portName"_s);
    const EditorInput in = inputFor(*s, leaf);
    s->tables.attribute[attributeOf(*s, leaf)].InUse = 0;
    rebuildCounters(s->tables, s->ObjectLimit);
    RecordingSink sink;
    EXPECT_EQ(ChangeObject(*s, leaf, in, sink), OperationResult::Refused);
    EXPECT_TRUE(sink.messages().isEmpty());
}

TEST(ChangeObject, SlotNotInUseFails)
{
    auto s = sample();
    RecordingSink sink;
    const EditorInput in = inputFor(*s, 0);
    EXPECT_EQ(ChangeObject(*s, 500, in, sink), OperationResult::Failed);
    EXPECT_EQ(ChangeObject(*s, -1, in, sink), OperationResult::Failed);
    EXPECT_EQ(ChangeObject(*s, SlotCount, in, sink), OperationResult::Failed);
    EXPECT_TRUE(sink.messages().isEmpty());
}
