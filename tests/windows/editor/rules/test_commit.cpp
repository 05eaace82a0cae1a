#include "designfile.h"
#include "editorrules.h"
#include "rulestesting.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

const QString NameEmpty = u"オブジェクト名を入力してください。"_s;
const QString ParentIsLeaf = u"オブジェクトの下に追加できません。"_s;
const QString Added = u"オブジェクトを追加しました。"_s;
const QString Changed = u"オブジェクトを変更しました。"_s;
const QString Failed = u"設定に失敗しました"_s;

QList<Reported> notice(const QString &text)
{
    return {{text, MessageKind::Notice}};
}

QList<Reported> error(const QString &text)
{
    return {{text, MessageKind::Error}};
}

} // namespace

TEST(CommitEditor, AddAndChangeEndWithTheirNoticeAndClose)
{
    auto s = freshState();
    RecordingSink sink;
    CommitResult result = CommitEditor(*s, nodeInput(u"sys"_s, u"1"_s), sink);
    EXPECT_EQ(result.outcome, CommitOutcome::Added);
    EXPECT_TRUE(result.closeDialog);
    EXPECT_EQ(sink.messages(), notice(Added));

    sink.clear();
    s->EditTarget = 0;
    result = CommitEditor(*s, nodeInput(u"system"_s, u"2"_s), sink);
    EXPECT_EQ(result.outcome, CommitOutcome::Changed);
    EXPECT_TRUE(result.closeDialog);
    EXPECT_EQ(sink.messages(), notice(Changed));
    EXPECT_EQ(displayedName(*s, 0), u"system"_s);
    EXPECT_EQ(countersOf(*s), (Counters{1, 0, 0, 0}));
}

TEST(CommitEditor, FieldErrorKeepsTheDialogOpenAndRefusalClosesIt)
{
    auto s = freshState();
    addPlainLeaf(*s, u"leaf"_s);
    RecordingSink sink;
    CommitResult result = CommitEditor(*s, nodeInput(QString(), u"1"_s), sink);
    EXPECT_EQ(result.outcome, CommitOutcome::FieldError);
    EXPECT_FALSE(result.closeDialog);
    EXPECT_EQ(sink.messages(), warning(NameEmpty));

    sink.clear();
    result = CommitEditor(*s, nodeInput(u"child"_s, u"1"_s, u"leaf"_s), sink);
    EXPECT_EQ(result.outcome, CommitOutcome::Refused);
    EXPECT_TRUE(result.closeDialog);
    EXPECT_EQ(sink.messages(), warning(ParentIsLeaf));
    EXPECT_EQ(countersOf(*s), (Counters{1, 1, 0, 0}));
}

TEST(CommitEditor, UnexpectedFailuresReportAnErrorAndStayOpen)
{
    auto s = freshState();
    RecordingSink sink;
    CommitResult result = CommitEditor(*s, nodeInput(u"a"_s, u"1"_s, u"missing"_s), sink);
    EXPECT_EQ(result.outcome, CommitOutcome::Failed);
    EXPECT_FALSE(result.closeDialog);
    EXPECT_EQ(sink.messages(), error(Failed));

    sink.clear();
    s->EditTarget = 12; // a free slot
    result = CommitEditor(*s, nodeInput(u"a"_s, u"1"_s), sink);
    EXPECT_EQ(result.outcome, CommitOutcome::Failed);
    EXPECT_EQ(sink.messages(), error(Failed));
    EXPECT_EQ(countersOf(*s), (Counters{0, 0, 0, 0}));
}

// Built only through the commit, with changes and deletes that free records
// between used ones, the design saves and reads back field for field.
TEST(CommitEditor, DesignBuiltByCommitsSavesAndReadsBackIdentically)
{
    auto s = freshState();
    RecordingSink sink;
    const auto commit = [&](int target, const EditorInput &in) {
        s->EditTarget = static_cast<int16_t>(target);
        const CommitResult result = CommitEditor(*s, in, sink);
        EXPECT_TRUE(result.outcome == CommitOutcome::Added || result.outcome == CommitOutcome::Changed)
            << in.NameText.toStdString();
    };
    commit(-1, nodeInput(u"device"_s, u"1"_s));
    commit(-1, withRange(leafInput(u"temp"_s, u"1"_s, u"device"_s), u"0040"_s, u"4294967295"_s));
    EditorInput mode = withItems(leafInput(u"mode"_s, u"2"_s, u"device"_s),
                                 {{u"normal"_s, 1}, {u"standby"_s, 2}, {u"日本語ｶﾅ"_s, 3}});
    mode.DescriptionText = u"運転モード, \"quoted\"\nsecond line"_s;
    mode.AccessIndex = 1;
    commit(-1, mode);
    EditorInput table = tableInput(u"port"_s, u"3"_s, u"device"_s);
    table.DescriptionText = u"Ports"_s;
    table.EntryDescriptionText = u"One port"_s;
    commit(-1, table);
    EditorInput index = withRange(leafInput(u"portIndex"_s, u"1"_s, u"portEntry"_s), u"0001"_s, u"064"_s);
    index.KeyTicked = true;
    index.KeyOrderText = u"1"_s;
    commit(-1, index);
    commit(-1, withItems(leafInput(u"portState"_s, u"2"_s, u"portEntry"_s), {{u"up"_s, 1}, {u"down"_s, 2}}));
    // A change frees the range between used records, a delete frees a leaf.
    EditorInput temp = inputFor(*s, slotOf(*s, u"temp"_s));
    temp.RangeTicked = false;
    temp.SyntaxIndex = 4;
    commit(slotOf(*s, u"temp"_s), temp);
    EditorInput moved = inputFor(*s, slotOf(*s, u"mode"_s));
    moved.ParentIsRoot = true;
    commit(slotOf(*s, u"mode"_s), moved);
    ASSERT_TRUE(deleteSubtree(*s, slotOf(*s, u"portState"_s)));
    commit(-1, withItems(leafInput(u"portKind"_s, u"3"_s, u"portEntry"_s), {{u"copper"_s, 0}}));
    ASSERT_TRUE(countersExact(*s));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"design.mdf"_s);
    ASSERT_TRUE(writeDesignFile(*s, path));
    auto back = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*back, path));
    EXPECT_EQ(countersOf(*back), countersOf(*s));
    EXPECT_EQ(designFileImage(*back), designFileImage(*s));
    for (int slot = 0; slot < StoredSlotCount; ++slot) {
        EXPECT_EQ(displayedName(*back, slot), displayedName(*s, slot));
        EXPECT_EQ(back->tables.tree[slot].Parent, s->tables.tree[slot].Parent);
    }
    EXPECT_EQ(inputFor(*back, slotOf(*back, u"mode"_s)).DescriptionText, mode.DescriptionText);
    EXPECT_EQ(inputFor(*back, slotOf(*back, u"portIndex"_s)).MinimumText, u"1"_s);
    EXPECT_EQ(back->tables.tree[slotOf(*back, u"mode"_s)].Parent, RootSlot);
}
