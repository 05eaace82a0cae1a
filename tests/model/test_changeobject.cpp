#include "editorrules.h"
#include "rulestesting.h"

#include <gtest/gtest.h>

#include <functional>

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

} // namespace

TEST(ChangeObject, RulesRefuseBeforeAnyWrite)
{
    using Edit = std::function<void(EditorInput &)>;
    using Design = std::function<void(AppState &)>;
    const auto option = [](KindOption kind) -> Edit { return [kind](EditorInput &in) { in.KindOption = kind; }; };
    const auto moveTo = [](const QString &parent, const QString &objectId = QString()) -> Edit {
        return [=](EditorInput &in) {
            in.ParentIsRoot = parent.isEmpty();
            in.ParentText = parent.isEmpty() ? u"enterprise"_s : parent;
            if (!objectId.isEmpty())
                in.ObjectIdText = objectId;
        };
    };
    const auto fill = [](auto DefinitionTables::*table, int first) -> Design {
        return [table, first](AppState &s) { fillFrom(s, table, first); };
    };
    struct Row {
        const char *what;
        QString object;
        Edit edit;
        QString expected; // empty: changed
        Design design = [](AppState &) {};
    };
    const Row rows[] = {
        {"node as leaf", u"sysInfo"_s, option(KindOption::Leaf), text::KindChanged},
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
    const EditorInput in = inputFor(*s, 0);
    EXPECT_EQ(ChangeObject(*s, 500, in, sink), OperationResult::Failed);
    EXPECT_EQ(ChangeObject(*s, -1, in, sink), OperationResult::Failed);
    EXPECT_EQ(ChangeObject(*s, SlotCount, in, sink), OperationResult::Failed);
    const int leaf = findObjectByName(*s, u"portName"_s);
    const EditorInput leafInput = inputFor(*s, leaf);
    s->tables.attribute[attributeOf(*s, leaf)].InUse = 0;
    rebuildCounters(s->tables, s->ObjectLimit);
    const QByteArray before = snapshot(*s);
    EXPECT_EQ(ChangeObject(*s, leaf, leafInput, sink), OperationResult::Refused);
    EXPECT_EQ(snapshot(*s), before);
    EXPECT_TRUE(sink.messages.isEmpty());
}
