// The editing model: input checks, the item list, adding and changing
// objects, the Tree panel's edits and deleting subtrees, checked on the
// records as they will be saved and the messages the user reads.
#include "controlstates.h"
#include "editorrules.h"
#include "enumitemlist.h"
#include "rulestesting.h"
#include "treeedits.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

// The sample design: sysInfo(1) with sysTemperature(1, range) and sysMode(2,
// three items); portTable(2) with portEntry and its columns portIndex(1,
// range, key 1), portName(2) and portStatus(3, two items).
std::unique_ptr<AppState> sample()
{
    auto s = std::make_unique<AppState>();
    buildSampleDesign(*s);
    return s;
}

// Node "top" in slot 0 and the placeholder (a node) below the root in slot 1.
std::unique_ptr<AppState> withPlaceholder()
{
    auto s = std::make_unique<AppState>();
    addNode(*s, u"top"_s, 1);
    writePlaceholder(*s, 1, RootSlot, ObjectKind::Node, -1);
    return s;
}

// A list holding (a, 1) and (b, 2).
EnumItemList abList(EnumItemList::Values &values)
{
    EnumItemList list(values);
    RecordingSink sink;
    list.addListItem(u"a"_s, u"1"_s, sink);
    list.addListItem(u"b"_s, u"2"_s, sink);
    return list;
}

using Design = std::function<void(AppState &)>;

} // namespace

TEST(ChangeObject, RulesRefuseBeforeAnyWrite)
{
    using Edit = std::function<void(EditorInput &)>;
    const auto option = [](KindOption kind) -> Edit { return [kind](EditorInput &in) { in.KindOption = kind; }; };
    const auto moveTo = [](const QString &parent, const QString &objectId = QString()) -> Edit {
        return [=](EditorInput &in) {
            in.ParentIsRoot = parent.isEmpty();
            in.ParentText = parent.isEmpty() ? u"enterprise"_s : parent;
            if (!objectId.isEmpty())
                in.ObjectIdText = objectId;
        };
    };
    struct Row {
        const char *what;
        QString object;
        Edit edit;
        QString expected; // empty: changed
        Design design = [](AppState &) {};
    };
    const Row rows[] = {
        {"node as leaf", u"sysInfo"_s, option(KindOption::Leaf), u"オブジェクトの種類は変更できません。"_s},
        {"entry as table", u"portEntry"_s, option(KindOption::Table), {}},
        {"name of another object", u"sysMode"_s, [](EditorInput &in) { in.NameText = u"portName"_s; },
         text::DuplicateName},
        {"base of a table's name", u"sysMode"_s, [](EditorInput &in) { in.NameText = u"port"_s; },
         text::DuplicateName},
        {"ID of a sibling", u"sysMode"_s, [](EditorInput &in) { in.ObjectIdText = u"1"_s; }, text::DuplicateId},
        // Mended: the siblings under the new parent decide, not those under the old one.
        {"clash under the new parent", u"sysMode"_s, moveTo(QString()), text::DuplicateId},
        {"clash under the old parent only", u"portStatus"_s, moveTo(u"spare"_s, u"1"_s), {},
         [](AppState &s) { addNode(s, u"spare"_s, 7); }},
        {"under its grandchild", u"sysInfo"_s, moveTo(u"deeper"_s), text::OwnSubtree,
         [](AppState &s) { addNode(s, u"deeper"_s, 1, addNode(s, u"inner"_s, 9, 0)); }},
        {"entry away from its table", u"portEntry"_s, moveTo(u"sysInfo"_s, u"9"_s), text::EntryMoved},
        // Mended: the slots the new items need are counted before the old ones go.
        {"more items than free and freed slots", u"sysMode"_s,
         [](EditorInput &in) { in.Items.append({u"extra"_s, 9}); }, text::TableFull, fill(&DefinitionTables::list, 0)},
        {"as many items as freed slots", u"sysMode"_s, [](EditorInput &in) { in.Items[0].name = u"other"_s; }, {},
         fill(&DefinitionTables::list, 5)},
        {"a range with no range slot", u"sysMode"_s, [](EditorInput &in) { in = withRange(in, u"1"_s, u"2"_s); },
         text::TableFull, fill(&DefinitionTables::range, 0)},
        {"a range reusing its own slot", u"portIndex"_s,
         [](EditorInput &in) { in = withRange(in, u"0"_s, u"10"_s); }, {}, fill(&DefinitionTables::range, 0)},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        auto s = sample();
        row.design(*s);
        const int slot = findObjectByName(*s, row.object);
        ASSERT_GE(slot, 0);
        EditorInput in = inputFor(*s, slot);
        row.edit(in);
        const Counters counters = countersOf(*s);
        expectOutcome(*s, row.expected, [&](RecordingSink &sink) { return ChangeObject(*s, slot, in, sink); });
        EXPECT_EQ(countersOf(*s), counters);
    }
}

TEST(ChangeObject, RenamingATableKeepsItsEntryName)
{
    auto s = sample();
    RecordingSink sink;
    const int table = findObjectByName(*s, u"portTable"_s);
    EditorInput in = inputFor(*s, table);
    in.NameText = u"ifTable"_s;
    in.DescriptionText = u"Interfaces"_s;
    in.AccessIndex = 0;
    ASSERT_EQ(ChangeObject(*s, table, in, sink), OperationResult::Success);
    const int entry = entryOf(*s, table);
    EditorInput entryInput = inputFor(*s, entry);
    entryInput.EntryDescriptionText = u"One interface"_s;
    entryInput.DescriptionText = u"not this one"_s;
    ASSERT_EQ(ChangeObject(*s, entry, entryInput, sink), OperationResult::Success);
    EXPECT_EQ(record(*s, 0, table), "ifTable,7,2,-1,2,1");
    EXPECT_EQ(record(*s, 0, entry), "portEntry,9,1,3,3,1");
    EXPECT_EQ(record(*s, 1, attributeOf(*s, table)), "3,0,0,3,Interfaces,10,0,1");
    EXPECT_EQ(record(*s, 1, attributeOf(*s, entry)), "4,0,0,3,One interface,13,0,1");
    EXPECT_EQ(countInUse(*s), countersOf(*s));
}

TEST(ChangeObject, ConstraintSwitchesFreeAndTakeRecords)
{
    auto s = sample();
    RecordingSink sink;
    const int leaf = findObjectByName(*s, u"sysMode"_s);
    ASSERT_EQ(itemsOf(*s, leaf), (QList<int>{0, 1, 2}));
    const auto change = [&](EditorInput in, Counters expected) {
        ASSERT_EQ(ChangeObject(*s, leaf, in, sink), OperationResult::Success);
        EXPECT_EQ(countersOf(*s), expected);
        EXPECT_EQ(countInUse(*s), countersOf(*s));
    };
    // Enumeration to range: every item goes, one range comes.
    EditorInput in = withRange(inputFor(*s, leaf), u"1"_s, u"300"_s);
    in.ListTicked = false;
    change(in, {8, 7, 3, 2});
    for (int item : {0, 1, 2})
        EXPECT_EQ(record(*s, 3, item), "0,,0,0,0");
    const int range = rangeOf(*s, leaf);
    EXPECT_EQ(record(*s, 2, range), "2,1,300,1,3,1");
    // Range to enumeration: the range is freed as deleting frees it.
    in = withItems(inputFor(*s, leaf), {{u"on"_s, 1}, {u"off"_s, 0}});
    in.RangeTicked = false;
    change(in, {8, 7, 2, 4});
    EXPECT_EQ(record(*s, 2, range), "0,0,0  ,1,3,0");
    EXPECT_EQ(itemsOf(*s, leaf), (QList<int>{0, 1}));
    // Enumeration to nothing.
    in.ListTicked = false;
    change(in, {8, 7, 2, 2});
    EXPECT_EQ(s->tables.attribute[attributeOf(*s, leaf)].Constraint, Constraint::None);
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST(ChangeObject, WithoutAttributeOrObjectNothingChanges)
{
    auto s = sample();
    RecordingSink sink;
    for (int slot : {500, -1, SlotCount})
        EXPECT_EQ(ChangeObject(*s, slot, inputFor(*s, 0), sink), OperationResult::Failed) << slot;
    const int leaf = findObjectByName(*s, u"portName"_s);
    const EditorInput leafInput = inputFor(*s, leaf);
    s->tables.attribute[attributeOf(*s, leaf)].InUse = 0;
    rebuildCounters(s->tables, s->ObjectLimit);
    const QByteArray before = snapshot(*s);
    EXPECT_EQ(ChangeObject(*s, leaf, leafInput, sink), OperationResult::Refused);
    EXPECT_EQ(snapshot(*s), before);
    EXPECT_TRUE(sink.messages.isEmpty());
}

// Each kind in the lowest free slots, checked record by record as it will be
// saved: texts without surrounding blanks, bounds without leading zeros.
TEST(AddObject, WritesEachKindInTheLowestFreeSlots)
{
    auto s = std::make_unique<AppState>();
    RecordingSink sink;
    const auto add = [&](const EditorInput &in) {
        EXPECT_EQ(AddObject(*s, in, sink), OperationResult::Success) << in.NameText.toStdString();
    };
    add(input(KindOption::Node, u"  sysInfo "_s, u"01"_s));
    // A table ignores the leaf's fields.
    EditorInput table = input(KindOption::Table, u"port"_s, u"2"_s);
    table.DescriptionText = u" Ports "_s;
    table.EntryDescriptionText = u"One port"_s;
    table.AccessIndex = 1;
    table.SyntaxIndex = 3;
    table.KeyTicked = true;
    table.KeyOrderText = u"3"_s;
    add(table);
    EditorInput temp = withRange(input(KindOption::Leaf, u"temp"_s, u"3"_s, u"sysInfo"_s), u"007"_s, u"4294967295"_s);
    temp.SyntaxIndex = 5;
    temp.AccessIndex = 1;
    temp.KeyTicked = true;
    temp.KeyOrderText = u"0001"_s;
    // Character 255 is a blank: the cut leaves it at the end, where it does not count.
    temp.DescriptionText = u"  "_s + QString(254, u'd') + u" tail"_s;
    add(temp);
    add(withItems(input(KindOption::Leaf, u"\t state  "_s, u"1"_s, u"portEntry"_s),
                  {{u" up "_s, 1}, {u"down"_s, 2}, {u"test"_s, 0}}));
    // With both boxes ticked only the range is stored.
    add(withRange(withItems(input(KindOption::Leaf, u"mode"_s, u"4"_s, u"sysInfo"_s), {{u"x"_s, 1}}), u"1"_s, u"2"_s));
    EXPECT_TRUE(sink.messages.isEmpty());
    EXPECT_EQ(countersOf(*s), (Counters{6, 5, 2, 3}));
    EXPECT_EQ(countInUse(*s), countersOf(*s));
    const std::pair<std::pair<int, int>, QByteArray> expected[] = {
        {{0, 0}, "sysInfo,7,1,-1,1,1"},
        {{0, 1}, "portTable,9,2,-1,2,1"},
        {{0, 2}, "portEntry,9,1,1,3,1"},
        {{0, 3}, "temp,4,3,0,4,1"},
        {{0, 4}, "state,5,1,2,4,1"},
        {{0, 5}, "mode,4,4,0,4,1"},
        {{1, 0}, "1,0,0,3,Ports,5,0,1"},
        {{1, 1}, "2,0,0,3,One port,8,0,1"},
        {{1, 2}, "3,66,1,2," + QByteArray(254, 'd') + ",254,1,1"},
        {{1, 3}, "4,2,2,1,,0,0,1"},
        {{1, 4}, "5,2,1,1,,0,0,1"},
        {{2, 0}, "3,7,4294967295,1,10,1"},
        {{2, 1}, "5,1,2,1,1,1"},
        {{3, 0}, "4,up,2,1,1"},
        {{3, 1}, "4,down,4,2,1"},
        {{3, 2}, "4,test,4,0,1"},
    };
    for (const auto &[where, line] : expected)
        EXPECT_EQ(record(*s, where.first, where.second), line) << where.first << ' ' << where.second;
}

TEST(AddObject, RefusesBeforeAnyWrite)
{
    const Design abcTable = [](AppState &s) { addTable(s, u"abc"_s, 1); };
    const Design abcEntryNode = [](AppState &s) { addNode(s, u"abcEntry"_s, 1); };
    const auto fullTree = [](int freeSlots) -> Design {
        return [freeSlots](AppState &s) {
            for (int i = 0; i < StoredSlotCount - freeSlots; ++i)
                addNode(s, u"n%1"_s.arg(i), 1 + i % 255, i < 255 ? RootSlot : 0);
        };
    };
    const auto node = [](const QString &name, const QString &id, const QString &parent = QString()) {
        return input(KindOption::Node, name, id, parent);
    };
    const auto leaf = [](const QString &name, const QString &id, const QString &parent = QString()) {
        return input(KindOption::Leaf, name, id, parent);
    };
    const EditorInput table = input(KindOption::Table, u"abc"_s, u"2"_s);
    struct Row {
        const char *what;
        Design design;
        EditorInput input;
        QString expected; // empty: added
    };
    const Row rows[] = {
        {"table abc beside abcTable", abcTable, table, text::DuplicateName},
        {"node abcEntry", abcTable, node(u"abcEntry"_s, u"2"_s), text::DuplicateName},
        // Mended: the table's entry would share the name.
        {"abcEntry blocks table abc", abcEntryNode, table, text::DuplicateName},
        {"sibling with the same ID", [](AppState &s) { addNode(s, u"a"_s, 5); }, node(u"b"_s, u"5"_s),
         text::DuplicateId},
        {"same ID under another parent", [](AppState &s) { addNode(s, u"x"_s, 5, addNode(s, u"a"_s, 1)); },
         node(u"b"_s, u"5"_s), {}},
        {"under a leaf", [](AppState &s) { addLeaf(s, {u"l"_s, 1, RootSlot, 2, 1, {}, 0, {}, {}, {}}); },
         node(u"b"_s, u"1"_s, u"l"_s), text::ParentIsLeaf},
        {"under a table", abcTable, leaf(u"b"_s, u"2"_s, u"abcTable"_s), text::ParentIsTable},
        // Slot 1000 is free but would never be saved.
        {"no tree slot below 1000", fullTree(0), node(u"b"_s, u"1"_s, u"n500"_s), text::TableFull},
        {"one tree slot for a table", fullTree(1), input(KindOption::Table, u"b"_s, u"1"_s, u"n500"_s),
         text::TableFull},
        {"no range slot", fill(&DefinitionTables::range, 0), withRange(leaf(u"b"_s, u"1"_s), u"1"_s, u"2"_s),
         text::TableFull},
        {"two list slots for three items", fill(&DefinitionTables::list, 2),
         withItems(leaf(u"b"_s, u"1"_s), {{u"a"_s, 1}, {u"b"_s, 2}, {u"c"_s, 3}}), text::TableFull},
        // Only a leaf takes items, whatever the hidden box says.
        {"node with items ticked", fill(&DefinitionTables::list, 0), withItems(node(u"b"_s, u"1"_s), {{u"a"_s, 1}}),
         {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        auto s = std::make_unique<AppState>();
        row.design(*s);
        expectOutcome(*s, row.expected, [&](RecordingSink &sink) { return AddObject(*s, row.input, sink); });
    }
    // A parent nobody has cannot come from the dialog: no message, no write.
    auto s = std::make_unique<AppState>();
    RecordingSink sink;
    EXPECT_EQ(AddObject(*s, node(u"a"_s, u"1"_s, u"nobody"_s), sink), OperationResult::Failed);
    EXPECT_TRUE(sink.messages.isEmpty());
    EXPECT_EQ(countersOf(*s), (Counters{0, 0, 0, 0}));
}

TEST(TreeEdits, PanelChangeRefusesBeforeAnyWrite)
{
    const auto leaf = [](const QList<EnumItem> &items) { return withItems(input(KindOption::Leaf, u"foo"_s, u"1"_s), items); };
    const QList<EnumItem> three{{u"a"_s, 1}, {u"b"_s, 2}, {u"c"_s, 3}};
    struct Row {
        const char *what;
        Design design;
        EditorInput input;
        QString expected; // empty: changed
        int slot = 1;
    };
    const Row rows[] = {
        {"table as a node", [](AppState &s) { addTable(s, u"t"_s, 2); }, input(KindOption::Node, u"t"_s, u"2"_s),
         u"テーブルのタイプは変更できません。"_s, 2},
        {"node other than the placeholder as a table", {}, input(KindOption::Table, u"top"_s, u"1"_s),
         u"テーブルのタイプへは変更できません。"_s, 0},
        {"table, tree full", fill(&DefinitionTables::tree, 2), input(KindOption::Table, u"foo"_s, u"1"_s),
         u"テーブルはこれ以上登録できません"_s},
        {"table, no attribute", fill(&DefinitionTables::attribute, 0), input(KindOption::Table, u"foo"_s, u"1"_s),
         u"テーブルはこれ以上登録できません"_s},
        {"table, one attribute", fill(&DefinitionTables::attribute, 1), input(KindOption::Table, u"foo"_s, u"1"_s),
         text::TableFull},
        {"table base of 251", {}, input(KindOption::Table, QString(251, u't'), u"1"_s), text::TableNameTooLong},
        {"table base of 250", {}, input(KindOption::Table, QString(250, u't'), u"1"_s), {}},
        {"leaf, no range", fill(&DefinitionTables::range, 0),
         withRange(input(KindOption::Leaf, u"foo"_s, u"1"_s), u"1"_s, u"2"_s), text::TableFull},
        {"leaf, two items free", fill(&DefinitionTables::list, 2), leaf(three), text::TableFull},
        {"leaf, three items free", fill(&DefinitionTables::list, 3), leaf(three), {}},
        {"enumeration without items", {}, leaf({}), text::NoItems},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        auto s = withPlaceholder();
        if (row.design)
            row.design(*s);
        expectOutcome(*s, row.expected, [&](RecordingSink &sink) {
            return changeFromPanel(*s, row.slot, row.input, sink).changed ? OperationResult::Success
                                                                          : OperationResult::Refused;
        });
    }
}

// Each rewrite checked record by record as it will be saved.
TEST(TreeEdits, PanelChangeRewritesTheRecords)
{
    // The placeholder becomes a table with its entry.
    auto s = withPlaceholder();
    RecordingSink sink;
    EditorInput table = input(KindOption::Table, u"fooX"_s, u"2"_s);
    table.DescriptionText = u"Foo rows"_s;
    table.EntryDescriptionText = u"One foo"_s;
    EXPECT_TRUE(isPlaceholder(*s, 1));
    const PanelChange change = changeFromPanel(*s, 1, table, sink);
    EXPECT_TRUE(change.changed);
    EXPECT_EQ(change.entry, 2);
    EXPECT_EQ(record(*s, 0, 1), "fooXTable,9,2,-1,2,1");
    EXPECT_EQ(record(*s, 0, 2), "fooXEntry,9,1,1,3,1");
    // The entry's attribute takes the lowest free slot, the table's the next.
    EXPECT_EQ(record(*s, 1, 0), "2,0,0,3,One foo,7,0,1");
    EXPECT_EQ(record(*s, 1, 1), "1,0,0,3,Foo rows,8,0,1");
    EXPECT_FALSE(placeholderExists(*s));

    // A leaf made a node frees its attribute and its range, which is left
    // empty; a node made a leaf takes an attribute.
    s = sample();
    const int temperature = findObjectByName(*s, u"sysTemperature"_s);
    const int range = rangeOf(*s, temperature);
    EditorInput in = inputFor(*s, temperature);
    in.KindOption = KindOption::Node;
    EXPECT_TRUE(changeFromPanel(*s, temperature, in, sink).changed);
    EXPECT_EQ(record(*s, 2, range), "0,,,0,0,0");
    EXPECT_EQ(attributeOf(*s, temperature), -1);
    in = input(KindOption::Leaf, u"sysInfo"_s, u"1"_s);
    in.AccessIndex = 1;
    in.SyntaxIndex = 6;
    EXPECT_TRUE(changeFromPanel(*s, 0, in, sink).changed);
    EXPECT_EQ(record(*s, 0, 0), "sysInfo,7,1,-1,4,1");
    EXPECT_EQ(record(*s, 1, attributeOf(*s, 0)), "0,67,0,2,,0,0,1");
    EXPECT_EQ(countInUse(*s), countersOf(*s));
    EXPECT_TRUE(sink.messages.isEmpty());

    // An object missing its attribute is left alone without a word.
    const int name = findObjectByName(*s, u"portName"_s);
    s->tables.attribute[attributeOf(*s, name)].InUse = 0;
    rebuildCounters(s->tables, s->ObjectLimit);
    const QByteArray before = snapshot(*s);
    EXPECT_FALSE(changeFromPanel(*s, name, inputFor(*s, name), sink).changed);
    EXPECT_EQ(snapshot(*s), before);
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST(TreeEdits, PanelChecksInTheirOrder)
{
    auto s = sample();
    const int temperature = findObjectByName(*s, u"sysTemperature"_s);
    const std::pair<EditorInput, QString> rows[] = {
        {input(KindOption::Leaf, u" "_s, u"x"_s), text::NameEmpty},
        {input(KindOption::Leaf, u"n"_s, u"0"_s), text::IdOutOfRange},
        {withRange(input(KindOption::Leaf, u"n"_s, u"7"_s), u"1"_s, u"x"_s), text::RangeNotNumeric},
        {input(KindOption::Leaf, u"sysMode"_s, u"5"_s), text::DuplicateName},
        {input(KindOption::Leaf, u"n"_s, u"2"_s), text::DuplicateId},
        {input(KindOption::Leaf, u"n"_s, u"7"_s), {}},
    };
    for (const auto &[in, expected] : rows)
        EXPECT_EQ(checkPanelInput(*s, temperature, in).value_or(QString()), expected) << in.NameText.toStdString();
    // The placeholder's new entry name must be free too.
    s = withPlaceholder();
    addNode(*s, u"fooEntry"_s, 9);
    EXPECT_EQ(checkPanelInput(*s, 1, input(KindOption::Table, u"foo"_s, u"2"_s)).value_or(QString()),
              text::DuplicateName);
}

// Sample design slots: 0 sysInfo { 1 sysTemperature (range -40..125),
// 2 sysMode (items 0-2) }, 3 portTable { 4 portEntry { 5 portIndex (range
// 1..64), 6 portName, 7 portStatus (items 3-4) } }; here with a cycle of
// parents 8 -> 10 -> 9 -> 8 added.
TEST(TableOps, DeleteSubtreeClearsExactlyWhatBelongsToIt)
{
    const std::tuple<const char *, int, Counters> rows[] = {
        {"node with a ranged and an enumerated leaf", 0, {3, 2, 1, 3}},
        {"table with its entry and columns", 3, {5, 5, 1, 2}},
        {"leaf whose items follow another leaf's", 7, {1, 1, 0, 2}},
        {"cycle of parents", 9, {3, 0, 0, 0}},
    };
    for (const auto &[what, target, drop] : rows) {
        SCOPED_TRACE(what);
        auto state = sample();
        const int a = addNode(*state, QStringLiteral("a"), 9);
        state->tables.tree[a].Parent = addNode(*state, QStringLiteral("c"), 1, addNode(*state, QStringLiteral("b"), 1, a));
        const QList<QByteArray> before = designFileImage(*state).split('\n');
        Counters expected = countersOf(*state);
        for (int i = 0; i < 4; ++i)
            expected[i] -= drop[i];
        ASSERT_TRUE(deleteSubtree(*state, target));
        EXPECT_EQ(countersOf(*state), expected);
        EXPECT_EQ(countInUse(*state), expected);
        EXPECT_EQ(state->tables.tree[target].InUse, 0);
        // Every record still in use is as it was.
        const QList<QByteArray> after = designFileImage(*state).split('\n');
        for (qsizetype line = 0; line < after.size(); ++line)
            EXPECT_TRUE(!after[line].endsWith(",1\r") || after[line] == before[line]) << after[line].constData();
    }
    // A freed range keeps its lengths and holds "0"; a freed item loses its name.
    auto state = sample();
    ASSERT_TRUE(deleteSubtree(*state, 0));
    EXPECT_EQ(state->tables.range[0].MaximumLength, 3);
    EXPECT_EQ(displayedText(state->tables.range[0].Minimum, state->tables.range[0].MinimumLength), QStringLiteral("0  "));
    EXPECT_EQ(state->tables.list[0].ItemNameLength, 0);

    // The Tree window's variant empties a freed range and names every object
    // it removes; a leaf's own children (left by turning a node into a leaf)
    // go with it instead of being orphaned.
    state = sample();
    addNode(*state, QStringLiteral("underLeaf"), 1, 1);
    QList<int> removed;
    ASSERT_TRUE(deleteSubtree(*state, 0, FreedRange::Empty, [&removed](int slot) { removed.append(slot); }));
    EXPECT_EQ(removed, (QList<int>{8, 1, 2, 0}));
    EXPECT_EQ(state->tables.range[0].MinimumLength, 0);
    EXPECT_TRUE(state->tables.range[0].Minimum.isEmpty());
    EXPECT_EQ(countersOf(*state), countInUse(*state));
}

TEST(TableOps, DeleteEndsOnAThousandLevelsAndRefusesWhatItCannotDelete)
{
    auto state = std::make_unique<AppState>();
    int parent = RootSlot;
    for (int i = 0; i < StoredSlotCount; ++i)
        parent = addNode(*state, QStringLiteral("n%1").arg(i), 1, parent);
    ASSERT_TRUE(deleteSubtree(*state, 0));
    EXPECT_EQ(state->tables.MibTreeCount, 0);

    const int leaf = addLeaf(*state, {QStringLiteral("l"), 1, RootSlot, 2, 1, {}, 0, {}, {}, {}});
    state->tables.attribute[0].InUse = 0;
    --state->tables.MibAttributeCount;
    EXPECT_FALSE(deleteSubtree(*state, leaf));
    EXPECT_FALSE(deleteSubtree(*state, -1));
    EXPECT_FALSE(deleteSubtree(*state, SlotCount));
    EXPECT_EQ(countersOf(*state), countInUse(*state));
}

TEST(ValidateInput, FirstFailingCheckGivesItsMessage)
{
    using Change = std::function<void(EditorInput &)>;
    const auto name = [](const QString &t) -> Change { return [t](EditorInput &in) { in.NameText = t; }; };
    const auto id = [](const QString &t) -> Change { return [t](EditorInput &in) { in.ObjectIdText = t; }; };
    const auto range = [](const QString &minimum, const QString &maximum) -> Change {
        return [=](EditorInput &in) { in = withRange(in, minimum, maximum); };
    };
    const auto key = [](const QString &t, bool ticked = true) -> Change {
        return [=](EditorInput &in) {
            in.KeyTicked = ticked;
            in.KeyOrderText = t;
        };
    };
    const auto both = [](Change a, Change b) -> Change {
        return [=](EditorInput &in) {
            a(in);
            b(in);
        };
    };
    const Change list = [](EditorInput &in) { in.ListTicked = true; };
    const auto option = [](KindOption kind) -> Change { return [kind](EditorInput &in) { in.KindOption = kind; }; };
    struct Row {
        const char *what;
        Change change;
        QString expected; // empty: the input passes
        EditMode mode = EditMode::Add;
    };
    const Row rows[] = {
        {"name empty", name(QString()), text::NameEmpty},
        {"name of 255", name(QString(255, u'n')), {}},
        {"name of 256", name(QString(256, u'n')), u"名前は最大256文字までです。"_s},
        {"object ID empty", id(QString()), text::IdNotNumeric},
        {"object ID 0", id(u"0"_s), text::IdOutOfRange},
        {"object ID 2147483647", id(u"2147483647"_s), {}},
        {"object ID 2147483648", id(u"2147483648"_s), text::IdOutOfRange},
        {"object ID 01", id(u"01"_s), {}},
        {"object ID -1", id(u"-1"_s), text::IdNotNumeric},
        {"object ID in full-width digits", id(u"１２"_s), text::IdNotNumeric},
        {"object ID beyond 64 bits", id(u"99999999999999999999999"_s), text::IdOutOfRange},
        {"bounds 0 to 4294967295", range(u"0"_s, u"4294967295"_s), {}},
        {"upper bound 4294967296", range(u"0"_s, u"4294967296"_s), u"範囲指定は最大4294967295までです。"_s},
        {"lower bound negative", range(u"-1"_s, u"1"_s), text::RangeNotNumeric},
        {"key order 0", key(u"0"_s), text::KeyOutOfRange},
        {"key order 1", key(u"1"_s), {}},
        {"key order 1000", key(u"1000"_s), {}},
        {"key order 1001", key(u"1001"_s), text::KeyOutOfRange},
        {"key order in letters", key(u"x"_s), u"テーブルキーの順位は数値を入力してください。"_s},
        {"name before object ID", both(name(QString()), id(u"x"_s)), text::NameEmpty},
        {"object ID before range", both(id(u"0"_s), range(u"x"_s, u"1"_s)), text::IdOutOfRange},
        {"range before key", both(range(u"x"_s, u"1"_s), key(u"0"_s)), text::RangeNotNumeric},
        {"key before the items", both(key(u"0"_s), list), text::KeyOutOfRange},
        // Faults mended over the plain checks.
        {"enumeration without items", list, text::NoItems},
        {"no items but a range wins", both(range(u"1"_s, u"2"_s), list), {}},
        {"no items on a node", both(list, option(KindOption::Node)), {}},
        {"table base of 250", both(option(KindOption::Table), name(QString(250, u't'))), {}},
        {"table base of 251", both(option(KindOption::Table), name(QString(251, u't'))), text::TableNameTooLong},
        {"table of 251 renamed in place", both(option(KindOption::Table), name(QString(251, u't'))), {},
         EditMode::Change},
    };
    for (const Row &row : rows) {
        EditorInput in = input(KindOption::Leaf, u"abc"_s, u"1"_s);
        row.change(in);
        EXPECT_EQ(ValidateInput(in, row.mode).value_or(QString()), row.expected) << row.what;
    }
}

// Over a design of node "sys" (slot 0) and leaf "leaf" (slot 1).
TEST(CommitEditor, OutcomeMessagesAndWhetherTheDialogCloses)
{
    struct Row {
        const char *what;
        int16_t target;
        EditorInput input;
        CommitOutcome outcome;
        bool closes;
        Reported message;
        Counters counters;
    };
    const auto node = [](const QString &name, const QString &parent = QString()) {
        return input(KindOption::Node, name, u"2"_s, parent);
    };
    const Row rows[] = {
        {"add", -1, node(u"more"_s), CommitOutcome::Added, true, {text::Added, MessageKind::Notice}, {3, 1, 0, 0}},
        {"change", 0, node(u"system"_s), CommitOutcome::Changed, true, {text::Changed, MessageKind::Notice},
         {2, 1, 0, 0}},
        {"field error", -1, node(QString()), CommitOutcome::FieldError, false,
         {text::NameEmpty, MessageKind::Warning}, {2, 1, 0, 0}},
        {"refusal", -1, node(u"child"_s, u"leaf"_s), CommitOutcome::Refused, true,
         {text::ParentIsLeaf, MessageKind::Warning}, {2, 1, 0, 0}},
        {"unknown parent", -1, node(u"a"_s, u"missing"_s), CommitOutcome::Failed, false,
         {text::Failed, MessageKind::Error}, {2, 1, 0, 0}},
        {"free slot as target", 12, node(u"a"_s), CommitOutcome::Failed, false, {text::Failed, MessageKind::Error},
         {2, 1, 0, 0}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        auto s = std::make_unique<AppState>();
        addNode(*s, u"sys"_s, 1);
        addLeaf(*s, {u"leaf"_s, 1, 0, 2, 1, {}, 0, {}, {}, {}});
        s->EditTarget = row.target;
        RecordingSink sink;
        const CommitResult result = CommitEditor(*s, row.input, sink);
        EXPECT_EQ(result.outcome, row.outcome);
        EXPECT_EQ(result.closeDialog, row.closes);
        EXPECT_EQ(sink.messages, QList<Reported>{row.message});
        EXPECT_EQ(countersOf(*s), row.counters);
    }
}

TEST(ItemListAdd, ChecksInOrder)
{
    struct Row {
        const char *what;
        QString name;
        QString value;
        QString expected; // empty: added
        MessageKind kind = MessageKind::Warning;
    };
    const Row rows[] = {
        {"name empty", QString(), u"3"_s, u"項目名を入力してください"_s},
        {"value empty", u"c"_s, QString(), u"項目値を入力してください"_s},
        {"value negative", u"c"_s, u"-1"_s, u"項目値は数値を入力してください。"_s},
        {"name taken", u"b"_s, u"3"_s, u"リストの名前が重複しています。"_s},
        {"first item's value before second item's name", u"b"_s, u"1"_s, u"リストの値が重複しています。"_s},
        {"value 32768", u"c"_s, u"32768"_s, text::ItemAddFailed, MessageKind::Error},
        {"value beyond 64 bits", u"c"_s, u"99999999999999999999"_s, text::ItemAddFailed, MessageKind::Error},
        {"value 0", u"c"_s, u"0"_s, {}},
        {"value 32767", u"c"_s, u"32767"_s, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EnumItemList::Values values{};
        EnumItemList list = abList(values);
        RecordingSink sink;
        const bool added = list.addListItem(row.name, row.value, sink);
        EXPECT_EQ(added, row.expected.isEmpty());
        const QList<Reported> message{{row.expected, row.kind}};
        EXPECT_EQ(sink.messages, row.expected.isEmpty() ? QList<Reported>() : message);
        const QList<EnumItem> before{{u"a"_s, 1}, {u"b"_s, 2}};
        const EnumItem item{row.name.trimmed(), static_cast<int16_t>(row.value.toInt())};
        EXPECT_EQ(list.items(), added ? before + QList<EnumItem>{item} : before);
        EXPECT_EQ(list.entries().last(), QString());
    }
}

TEST(ItemList, RemovingMovesTheFollowingValuesDown)
{
    EnumItemList::Values values{};
    EnumItemList list = abList(values);
    RecordingSink sink;
    ASSERT_TRUE(list.addListItem(u"c"_s, u"3"_s, sink));
    ASSERT_TRUE(list.removeListItem(u"a"_s, u"1"_s, sink));
    EXPECT_EQ(list.items(), (QList<EnumItem>{{u"b"_s, 2}, {u"c"_s, 3}}));
    EXPECT_EQ(list.entries(), (QStringList{u"b"_s, u"c"_s, QString()}));

    EXPECT_FALSE(list.removeListItem(u"b"_s, u"5"_s, sink));
    EXPECT_FALSE(list.removeListItem(u"b"_s, QString(), sink));
    EXPECT_FALSE(list.removeListItem(u"  "_s, u"2"_s, sink));
    EXPECT_FALSE(list.removeListItem(u"zz"_s, u"2"_s, sink));
    EXPECT_EQ(sink.messages, (QList<Reported>{{text::ItemNotFound, MessageKind::Warning},
                                               {u"リストの削除に失敗しました"_s, MessageKind::Error},
                                               {u"項目名を選択してください"_s, MessageKind::Warning},
                                               {text::ItemNotFound, MessageKind::Warning}}));
    EXPECT_EQ(list.items(), (QList<EnumItem>{{u"b"_s, 2}, {u"c"_s, 3}}));
}

TEST(ItemList, ValueBoxFollowsTheChosenOrTypedName)
{
    using Event = EnumItemList::ItemEvent;
    EnumItemList::Values values{};
    const EnumItemList list = abList(values);
    values[2] = 77; // whatever the empty entry's position holds
    EXPECT_EQ(list.showItemValue(u"b"_s, Event::Chosen), u"2"_s);
    EXPECT_EQ(list.showItemValue(u"b"_s, Event::Edited), u"2"_s);
    EXPECT_EQ(list.showItemValue(u"x"_s, Event::Edited), QString());
    EXPECT_EQ(list.showItemValue(QString(), Event::Chosen), QString());
    EXPECT_EQ(list.showItemValue(QString(), Event::Edited), u"77"_s);
}

TEST(ItemListCapacity, ThousandAndFirstItemCannotBeStored)
{
    EnumItemList::Values values{};
    EnumItemList list(values);
    RecordingSink sink;
    for (int i = 0; i < SlotCount; ++i)
        ASSERT_TRUE(list.appendItem(u"i%1"_s.arg(i), i)) << i;
    EXPECT_FALSE(list.addListItem(u"last"_s, u"30000"_s, sink));
    EXPECT_EQ(sink.messages, (QList<Reported>{{text::ItemAddFailed, MessageKind::Error}}));
    EXPECT_EQ(list.itemCount(), SlotCount);
    EXPECT_EQ(list.entries().last(), QString());
    // The empty entry lies beyond the values: nothing to show, nothing read.
    EXPECT_EQ(list.showItemValue(QString(), EnumItemList::ItemEvent::Edited), QString());
}

TEST(ItemListLoad, TakesAnObjectsItemsInSlotOrder)
{
    auto s = std::make_unique<AppState>();
    const int leaf = addLeaf(*s, {u"l"_s, 1, RootSlot, 2, 1, {}, 0, {}, {},
                                  {{u"neg"_s, -5}, {QString(), 4}, {u"big"_s, 70000}}});
    s->EnumValues.fill(9);
    EnumItemList list(s->EnumValues);
    list.load(*s, leaf);
    // A nameless item cannot sit beside the empty entry; a big value is held at 16 bits.
    EXPECT_EQ(list.items(), (QList<EnumItem>{{u"neg"_s, -5}, {u"big"_s, 32767}}));
    EXPECT_EQ(s->EnumValues[2], 0);
    RecordingSink sink;
    EXPECT_TRUE(list.removeListItem(u"neg"_s, u"-5"_s, sink));
    list.reset();
    EXPECT_EQ(list.entries(), QStringList{QString()});
}

// The enabled states themselves are checked on the dialog; here only the
// rule that keeps a range and an enumeration apart.
TEST(ControlStates, RangeAndEnumerationAreNotTickedTogether)
{
    RecordingSink sink;
    for (int ticks = 0; ticks < 8; ++ticks)
        EXPECT_EQ(refuseRangeWithList(ticks & 1, ticks & 2, ticks & 4, sink), ticks == 7) << ticks;
    EXPECT_EQ(sink.messages, warning(u"範囲とリストは同時に指定できません。"_s));
}
