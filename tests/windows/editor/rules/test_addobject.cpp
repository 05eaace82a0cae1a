#include "designfile.h"
#include "editorrules.h"
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

QString text(const QString &field, int32_t length)
{
    return displayedText(field, length);
}

const MibAttribute &attributeRecord(const AppState &s, int slot)
{
    return s.tables.attribute[attributeOf(s, slot)];
}

} // namespace

TEST(AddObject, NodeTakesOneSlotAndNoAttribute)
{
    auto s = freshState();
    RecordingSink sink;
    ASSERT_EQ(AddObject(*s, nodeInput(u"  sysInfo "_s, u"01"_s), sink), OperationResult::Success);
    EXPECT_TRUE(sink.messages().isEmpty());
    const MibTree &r = s->tables.tree[0];
    EXPECT_EQ(text(r.Name, r.NameLength), u"sysInfo"_s);
    EXPECT_EQ(r.Name.size(), NameWidth);
    EXPECT_EQ(r.ObjectId, 1);
    EXPECT_EQ(r.Parent, RootSlot);
    EXPECT_EQ(r.Kind, ObjectKind::Node);
    EXPECT_EQ(countersOf(*s), (Counters{1, 0, 0, 0}));
}

TEST(AddObject, TableComesWithItsEntryInTwoSlotsOfEachTable)
{
    auto s = freshState();
    RecordingSink sink;
    EditorInput in = tableInput(u"port"_s, u"2"_s);
    in.DescriptionText = u" Ports "_s;
    in.EntryDescriptionText = u"One port"_s;
    in.AccessIndex = 1;
    in.KeyTicked = true;
    in.KeyOrderText = u"3"_s;
    in.SyntaxIndex = 3;
    ASSERT_EQ(AddObject(*s, in, sink), OperationResult::Success);
    EXPECT_EQ(countersOf(*s), (Counters{2, 2, 0, 0}));
    EXPECT_EQ(displayedName(*s, 0), u"portTable"_s);
    EXPECT_EQ(displayedName(*s, 1), u"portEntry"_s);
    EXPECT_EQ(s->tables.tree[0].Kind, ObjectKind::Table);
    EXPECT_EQ(s->tables.tree[1].Kind, ObjectKind::Entry);
    EXPECT_EQ(s->tables.tree[1].ObjectId, 1);
    EXPECT_EQ(s->tables.tree[1].Parent, 0);
    const MibAttribute &table = attributeRecord(*s, 0);
    const MibAttribute &entry = attributeRecord(*s, 1);
    EXPECT_EQ(text(table.Description, table.DescriptionLength), u"Ports"_s);
    EXPECT_EQ(text(entry.Description, entry.DescriptionLength), u"One port"_s);
    for (const MibAttribute *a : {&table, &entry}) {
        EXPECT_EQ(a->Access, Access::NotAccessible);
        EXPECT_EQ(a->Syntax, 0);
        EXPECT_EQ(a->Constraint, Constraint::None);
        EXPECT_EQ(a->KeyOrder, 0);
    }
}

TEST(AddObject, LeafWithRangeStoresBoundsWithoutLeadingZeros)
{
    auto s = freshState();
    RecordingSink sink;
    addNode(*s, u"sys"_s, 1);
    EditorInput in = withRange(leafInput(u"temp"_s, u"3"_s, u"sys"_s), u"007"_s, u"4294967295"_s);
    in.SyntaxIndex = 5;
    in.AccessIndex = 1;
    in.KeyTicked = true;
    in.KeyOrderText = u"0001"_s;
    ASSERT_EQ(AddObject(*s, in, sink), OperationResult::Success);
    const int leaf = slotOf(*s, u"temp"_s);
    EXPECT_EQ(s->tables.tree[leaf].Parent, 0);
    const MibAttribute &a = attributeRecord(*s, leaf);
    EXPECT_EQ(a.Syntax, Syntax::Gauge);
    EXPECT_EQ(a.Access, Access::ReadWrite);
    EXPECT_EQ(a.Constraint, Constraint::Range);
    EXPECT_EQ(a.KeyOrder, 1);
    const MibRange &r = s->tables.range[rangeOf(*s, leaf)];
    EXPECT_EQ(r.Minimum, u"7"_s + QString(14, u' '));
    EXPECT_EQ(r.MinimumLength, 1);
    EXPECT_EQ(text(r.Maximum, r.MaximumLength), u"4294967295"_s);
    EXPECT_EQ(countersOf(*s), (Counters{2, 1, 1, 0}));
}

TEST(AddObject, LeafWithEnumerationAndBothTicked)
{
    auto s = freshState();
    RecordingSink sink;
    const QList<EnumItem> items{{u" up "_s, 1}, {u"down"_s, 2}, {u"test"_s, 0}};
    ASSERT_EQ(AddObject(*s, withItems(leafInput(u"state"_s, u"1"_s), items), sink), OperationResult::Success);
    const int leaf = slotOf(*s, u"state"_s);
    EXPECT_EQ(attributeRecord(*s, leaf).Constraint, Constraint::Enumeration);
    const QList<int> stored = itemsOf(*s, leaf);
    ASSERT_EQ(stored, (QList<int>{0, 1, 2}));
    EXPECT_EQ(text(s->tables.list[0].ItemName, s->tables.list[0].ItemNameLength), u"up"_s);
    EXPECT_EQ(s->tables.list[1].ItemValue, 2);
    EXPECT_EQ(countersOf(*s), (Counters{1, 1, 0, 3}));

    // With both boxes ticked only the range is stored.
    ASSERT_EQ(AddObject(*s, withRange(withItems(leafInput(u"mode"_s, u"2"_s), items), u"1"_s, u"2"_s), sink),
              OperationResult::Success);
    EXPECT_EQ(attributeRecord(*s, slotOf(*s, u"mode"_s)).Constraint, Constraint::Range);
    EXPECT_EQ(countersOf(*s), (Counters{2, 2, 1, 3}));
    EXPECT_TRUE(sink.messages().isEmpty());
    EXPECT_TRUE(countersExact(*s));
}

namespace {

struct RuleCase {
    const char *label;
    std::function<void(AppState &)> design;
    EditorInput input;
    QString expected; // empty: added
};

void PrintTo(const RuleCase &c, std::ostream *os)
{
    *os << c.label;
}

class AddRules : public ::testing::TestWithParam<RuleCase>
{
};

void abcTable(AppState &s)
{
    addTable(s, u"abc"_s, 1);
}

void fullTree(AppState &s, int freeSlots)
{
    for (int i = 0; i < StoredSlotCount - freeSlots; ++i)
        addNode(s, u"n%1"_s.arg(i), 1 + i % 255, i < 255 ? RootSlot : 0);
}

} // namespace

TEST_P(AddRules, RefusesBeforeAnyWrite)
{
    const RuleCase &c = GetParam();
    auto s = freshState();
    c.design(*s);
    const QByteArray before = designFileImage(*s);
    const Counters counters = countersOf(*s);
    RecordingSink sink;
    const OperationResult result = AddObject(*s, c.input, sink);
    if (c.expected.isEmpty()) {
        EXPECT_EQ(result, OperationResult::Success);
        EXPECT_TRUE(sink.messages().isEmpty());
    } else {
        EXPECT_EQ(result, OperationResult::Refused);
        EXPECT_EQ(sink.messages(), warning(c.expected));
        EXPECT_EQ(designFileImage(*s), before);
        EXPECT_EQ(countersOf(*s), counters);
    }
    EXPECT_TRUE(countersExact(*s));
}

INSTANTIATE_TEST_SUITE_P(
    Names, AddRules,
    ::testing::Values(RuleCase{"table abc beside abcTable", abcTable, tableInput(u"abc"_s, u"2"_s), DuplicateName},
                      RuleCase{"leaf abc beside abcTable", abcTable, leafInput(u"abc"_s, u"2"_s), DuplicateName},
                      RuleCase{"node abc beside abcTable", abcTable, nodeInput(u"abc"_s, u"2"_s), DuplicateName},
                      RuleCase{"node abcEntry", abcTable, nodeInput(u"abcEntry"_s, u"2"_s), DuplicateName},
                      RuleCase{"names are case-sensitive", abcTable, nodeInput(u"ABCTable"_s, u"2"_s), {}},
                      RuleCase{"blanks do not make a new name", abcTable, nodeInput(u" abcTable "_s, u"2"_s),
                               DuplicateName},
                      RuleCase{"abcEntry elsewhere does not block leaf abc",
                               [](AppState &s) { addNode(s, u"abcEntry"_s, 1); }, leafInput(u"abc"_s, u"2"_s), {}},
                      // Mended: the table's entry would share the name.
                      RuleCase{"abcEntry blocks table abc", [](AppState &s) { addNode(s, u"abcEntry"_s, 1); },
                               tableInput(u"abc"_s, u"2"_s), DuplicateName}));

INSTANTIATE_TEST_SUITE_P(
    ObjectIds, AddRules,
    ::testing::Values(
        RuleCase{"sibling with the same ID", [](AppState &s) { addNode(s, u"a"_s, 5); }, nodeInput(u"b"_s, u"5"_s),
                 DuplicateId},
        RuleCase{"same ID under another parent",
                 [](AppState &s) { addNode(s, u"x"_s, 5, addNode(s, u"a"_s, 1)); }, nodeInput(u"b"_s, u"5"_s), {}},
        RuleCase{"the first clashing record decides",
                 [](AppState &s) {
                     addNode(s, u"a"_s, 5);
                     addNode(s, u"b"_s, 6);
                 },
                 nodeInput(u"b"_s, u"5"_s), DuplicateId}));

INSTANTIATE_TEST_SUITE_P(
    Parents, AddRules,
    ::testing::Values(
        RuleCase{"under a leaf", [](AppState &s) { addPlainLeaf(s, u"l"_s); }, nodeInput(u"b"_s, u"1"_s, u"l"_s),
                 ParentIsLeaf},
        // Mended: the parent list also offers tables.
        RuleCase{"under a table", abcTable, leafInput(u"b"_s, u"2"_s, u"abcTable"_s), ParentIsTable},
        RuleCase{"under an entry", abcTable, leafInput(u"b"_s, u"2"_s, u"abcEntry"_s), {}}));

INSTANTIATE_TEST_SUITE_P(
    FullTables, AddRules,
    ::testing::Values(
        // Slot 1000 is free but would never be saved.
        RuleCase{"no tree slot below 1000", [](AppState &s) { fullTree(s, 0); },
                 nodeInput(u"b"_s, u"1"_s, u"n500"_s), TableFull},
        RuleCase{"one tree slot for a table", [](AppState &s) { fullTree(s, 1); },
                 tableInput(u"b"_s, u"1"_s, u"n500"_s), TableFull},
        RuleCase{"one tree slot for a node", [](AppState &s) { fullTree(s, 1); },
                 nodeInput(u"b"_s, u"1"_s, u"n500"_s), {}},
        RuleCase{"no range slot",
                 [](AppState &s) {
                     for (int i = 0; i < StoredSlotCount; ++i)
                         s.tables.range[i].InUse = 1;
                     rebuildCounters(s.tables, s.ObjectLimit);
                 },
                 withRange(leafInput(u"b"_s, u"1"_s), u"1"_s, u"2"_s), TableFull},
        RuleCase{"two list slots for three items",
                 [](AppState &s) {
                     for (int i = 2; i < StoredSlotCount; ++i)
                         s.tables.list[i].InUse = 1;
                     rebuildCounters(s.tables, s.ObjectLimit);
                 },
                 withItems(leafInput(u"b"_s, u"1"_s), {{u"a"_s, 1}, {u"b"_s, 2}, {u"c"_s, 3}}), TableFull},
        RuleCase{"one attribute slot for a table",
                 [](AppState &s) {
                     for (int i = 1; i < StoredSlotCount; ++i)
                         s.tables.attribute[i].InUse = 1;
                     rebuildCounters(s.tables, s.ObjectLimit);
                 },
                 tableInput(u"b"_s, u"1"_s), TableFull}));

TEST(AddObject, TakesTheLowestFreeSlotAndOverwritesIt)
{
    auto s = freshState();
    buildSampleDesign(*s);
    const int freed = slotOf(*s, u"sysTemperature"_s);
    const int freedRange = rangeOf(*s, freed);
    ASSERT_TRUE(deleteSubtree(*s, freed));
    RecordingSink sink;
    ASSERT_EQ(AddObject(*s, withRange(leafInput(u"volt"_s, u"9"_s, u"sysInfo"_s), u"5"_s, u"12"_s), sink),
              OperationResult::Success);
    const int leaf = slotOf(*s, u"volt"_s);
    EXPECT_EQ(leaf, freed);
    EXPECT_EQ(rangeOf(*s, leaf), freedRange);
    const MibRange &r = s->tables.range[freedRange];
    EXPECT_EQ(text(r.Minimum, r.MinimumLength), u"5"_s);
    EXPECT_EQ(text(r.Maximum, r.MaximumLength), u"12"_s);
    EXPECT_TRUE(countersExact(*s));
}

TEST(AddObject, UnknownParentFailsWithoutMessageOrWrite)
{
    auto s = freshState();
    RecordingSink sink;
    EXPECT_EQ(AddObject(*s, nodeInput(u"a"_s, u"1"_s, u"nobody"_s), sink), OperationResult::Failed);
    EXPECT_TRUE(sink.messages().isEmpty());
    EXPECT_EQ(countersOf(*s), (Counters{0, 0, 0, 0}));
}

TEST(AddObject, TextsLoseSurroundingBlanksAndCutBlanks)
{
    auto s = freshState();
    RecordingSink sink;
    EditorInput in = leafInput(u"\t leaf  "_s, u"1"_s);
    // Character 255 is a blank: the cut leaves it at the end, where it does not count.
    in.DescriptionText = u"  "_s + QString(254, u'd') + u" tail"_s;
    ASSERT_EQ(AddObject(*s, in, sink), OperationResult::Success);
    EXPECT_EQ(s->tables.tree[0].NameLength, 4);
    const MibAttribute &a = attributeRecord(*s, 0);
    EXPECT_EQ(a.DescriptionLength, 254);
    EXPECT_EQ(a.Description.size(), NameWidth);
}
