// The undo history and the search, on the tables alone.
#include "designhistory.h"
#include "designsearch.h"
#include "rulestesting.h"
#include "treeedits.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

// Each kind of edit, undone, gives back the design file and the module
// information byte for byte and the saved state; redone, the edited ones.
TEST(DesignHistory, UndoAndRedoGiveBackEachKindOfEdit)
{
    using Edit = std::function<void(AppState &, RecordingSink &)>;
    const struct {
        const char *what;
        Edit edit;
    } rows[] = {
        {"add", [](AppState &s, RecordingSink &sink) { AddObject(s, withRange(input(KindOption::Leaf, u"fan"_s, u"3"_s, u"sysInfo"_s), u"0"_s, u"9"_s), sink); }},
        {"change", [](AppState &s, RecordingSink &sink) { ChangeObject(s, 2, withItems(inputFor(s, 2), {{u"eco"_s, 5}}), sink); }},
        {"delete with subtree", [](AppState &s, RecordingSink &) { deleteSubtree(s, 3); }},
        {"tree add", [](AppState &s, RecordingSink &) { writePlaceholder(s, 8, 4, ObjectKind::Leaf, 7); }},
        {"tree set", [](AppState &s, RecordingSink &sink) { changeFromPanel(s, 0, input(KindOption::Node, u"board"_s, u"7"_s), sink); }},
        {"tree delete", [](AppState &s, RecordingSink &) { RemoveObjectCascade(s, 0, [](int) {}); }},
        {"module information", [](AppState &s, RecordingSink &) {
             s.ModuleInformation.emplace();
             s.ModuleInformation->moduleName = u"X-MIB"_s;
         }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        AppState s;
        buildSampleDesign(s);
        DesignHistory &history = designHistory(s);
        history.startOver(true);
        const QByteArray before = designFileImage(s);
        RecordingSink sink;
        {
            const RecordedChange change(s);
            row.edit(s, sink);
        }
        const QByteArray after = designFileImage(s);
        const auto info = s.ModuleInformation;
        ASSERT_TRUE(after != before || info);
        EXPECT_TRUE(history.isModified());

        history.undo();
        EXPECT_EQ(designFileImage(s), before);
        EXPECT_FALSE(s.ModuleInformation);
        EXPECT_FALSE(history.isModified());
        history.redo();
        EXPECT_EQ(designFileImage(s), after);
        EXPECT_EQ(s.ModuleInformation, info);
        EXPECT_TRUE(history.isModified());
    }
}

// A command that changes nothing is no step; a design read from a MIB module
// stays changed until saved; a save is where undo clears the mark again.
TEST(DesignHistory, SavedStateFollowsOpenLoadAndSave)
{
    AppState s;
    buildSampleDesign(s);
    DesignHistory &history = designHistory(s);
    { const RecordedChange nothing(s); }
    EXPECT_FALSE(history.stack().canUndo());
    EXPECT_FALSE(history.isModified());

    history.startOver(false);
    EXPECT_TRUE(history.isModified());
    EXPECT_FALSE(history.stack().canUndo());
    history.markSaved();
    {
        const RecordedChange change(s);
        deleteSubtree(s, 0);
    }
    {
        const RecordedChange change(s);
        deleteSubtree(s, 3);
    }
    EXPECT_EQ(s.tables.MibTreeCount, 0);
    history.undo();
    EXPECT_TRUE(history.isModified());
    history.undo();
    EXPECT_FALSE(history.isModified());
    EXPECT_EQ(s.tables.MibTreeCount, 8);
}

// Names are found by any part, whatever the case, OIDs whole, in the order
// of the expanded tree from the object after `after`, round past the end.
TEST(DesignSearch, FindsByNameOrOidInTreeOrder)
{
    AppState s;
    buildSampleDesign(s);
    addNode(s, u"portal"_s, 3, 0); // slot 8, under sysInfo: before portTable in the tree
    const struct {
        QString query;
        int after;
        int found;
    } rows[] = {
        {u"PORT"_s, -1, 8},
        {u"port"_s, 8, 3},
        {u"port"_s, 7, 8},
        {u"temp"_s, 1, 1},
        {u" sysMode "_s, -1, 2},
        {u"1.3.6.1.4.1.2"_s, -1, 3},
        {u"1.3.6.1.4.1.2.1.3"_s, -1, 7},
        {u"1.3.6.1.4.1.1.3"_s, 2, 8},
        {u"1.3.6.1.4.1.9"_s, -1, -1},
        {u"fan"_s, -1, -1},
        {u"  "_s, -1, -1},
    };
    for (const auto &row : rows)
        EXPECT_EQ(findObject(s, row.query, row.after), row.found) << row.query.toStdString() << " after " << row.after;
}
