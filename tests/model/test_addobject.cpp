#include "editorrules.h"
#include "rulestesting.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

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
    using Design = std::function<void(AppState &)>;
    const Design abcTable = [](AppState &s) { addTable(s, u"abc"_s, 1); };
    const Design abcEntryNode = [](AppState &s) { addNode(s, u"abcEntry"_s, 1); };
    const auto fullTree = [](int freeSlots) -> Design {
        return [freeSlots](AppState &s) {
            for (int i = 0; i < StoredSlotCount - freeSlots; ++i)
                addNode(s, u"n%1"_s.arg(i), 1 + i % 255, i < 255 ? RootSlot : 0);
        };
    };
    const auto fill = [](auto DefinitionTables::*table, int first) -> Design {
        return [table, first](AppState &s) { fillFrom(s, table, first); };
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
