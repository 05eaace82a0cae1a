#include "editorrules.h"
#include "rulestesting.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

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

// Built only through the commit, with changes and deletes that free records
// between used ones, the design saves and reads back field for field.
TEST(CommitEditor, DesignBuiltByCommitsSavesAndReadsBackIdentically)
{
    auto s = std::make_unique<AppState>();
    RecordingSink sink;
    const auto commit = [&](int target, const EditorInput &in) {
        s->EditTarget = static_cast<int16_t>(target);
        const CommitOutcome outcome = CommitEditor(*s, in, sink).outcome;
        EXPECT_TRUE(outcome == CommitOutcome::Added || outcome == CommitOutcome::Changed) << in.NameText.toStdString();
    };
    const auto leaf = [](const QString &name, const QString &id, const QString &parent) {
        return input(KindOption::Leaf, name, id, parent);
    };
    commit(-1, input(KindOption::Node, u"device"_s, u"1"_s));
    commit(-1, withRange(leaf(u"temp"_s, u"1"_s, u"device"_s), u"0040"_s, u"4294967295"_s));
    EditorInput mode = withItems(leaf(u"mode"_s, u"2"_s, u"device"_s),
                                 {{u"normal"_s, 1}, {u"standby"_s, 2}, {u"日本語ｶﾅ"_s, 3}});
    mode.DescriptionText = u"運転モード, \"quoted\"\nsecond line"_s;
    mode.AccessIndex = 1;
    commit(-1, mode);
    EditorInput table = input(KindOption::Table, u"port"_s, u"3"_s, u"device"_s);
    table.DescriptionText = u"Ports"_s;
    table.EntryDescriptionText = u"One port"_s;
    commit(-1, table);
    EditorInput index = withRange(leaf(u"portIndex"_s, u"1"_s, u"portEntry"_s), u"0001"_s, u"064"_s);
    index.KeyTicked = true;
    index.KeyOrderText = u"1"_s;
    commit(-1, index);
    commit(-1, withItems(leaf(u"portState"_s, u"2"_s, u"portEntry"_s), {{u"up"_s, 1}, {u"down"_s, 2}}));
    // A change frees the range between used records, a move changes a
    // parent, a delete frees a leaf.
    const int temp = findObjectByName(*s, u"temp"_s);
    EditorInput plain = inputFor(*s, temp);
    plain.RangeTicked = false;
    plain.SyntaxIndex = 4;
    commit(temp, plain);
    const int moved = findObjectByName(*s, u"mode"_s);
    EditorInput top = inputFor(*s, moved);
    top.ParentIsRoot = true;
    commit(moved, top);
    ASSERT_TRUE(deleteSubtree(*s, findObjectByName(*s, u"portState"_s)));
    commit(-1, withItems(leaf(u"portKind"_s, u"3"_s, u"portEntry"_s), {{u"copper"_s, 0}}));
    ASSERT_EQ(countInUse(*s), countersOf(*s));

    QTemporaryDir dir;
    const QString path = dir.filePath(u"design.mdf"_s);
    ASSERT_TRUE(writeDesignFile(*s, path));
    auto back = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*back, path));
    EXPECT_EQ(snapshot(*back), snapshot(*s));
    EXPECT_EQ(inputFor(*back, moved).DescriptionText, mode.DescriptionText);
    EXPECT_EQ(back->tables.tree[moved].Parent, RootSlot);
    EXPECT_EQ(inputFor(*back, findObjectByName(*back, u"portIndex"_s)).MinimumText, u"1"_s);
}
