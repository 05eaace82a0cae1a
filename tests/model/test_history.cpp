// The undo history and the search, on the tables alone.
#include "designhistory.h"
#include "designsearch.h"
#include "rulestesting.h"
#include "treeedits.h"

#include <functional>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

// Each kind of edit, undone, gives back the design file and the module
// information byte for byte and the saved state; redone, the edited ones.
TEST(DesignHistory, UndoAndRedoGiveBackEachKindOfEdit)
{
    RecordingSink sink;
    const std::pair<const char *, std::function<void(AppState &)>> rows[] = {
        {"add", [&](AppState &s) { AddObject(s, withRange(input(KindOption::Leaf, u"fan"_s, u"3"_s, u"sysInfo"_s), u"0"_s, u"9"_s), sink); }},
        {"change", [&](AppState &s) { ChangeObject(s, 2, withItems(inputFor(s, 2), {{u"eco"_s, 5}}), sink); }},
        {"delete with subtree", [](AppState &s) { deleteSubtree(s, 3); }},
        {"tree add", [](AppState &s) { writePlaceholder(s, 8, 4, ObjectKind::Leaf, 7); }},
        {"tree set", [&](AppState &s) { changeFromPanel(s, 0, input(KindOption::Node, u"board"_s, u"7"_s), sink); }},
        {"module information", [](AppState &s) { s.ModuleInformation.emplace().moduleName = u"X-MIB"_s; }},
    };
    for (const auto &[what, edit] : rows) {
        SCOPED_TRACE(what);
        AppState s;
        buildSampleDesign(s);
        DesignHistory &history = designHistory(s);
        const QByteArray before = designFileImage(s);
        {
            const RecordedChange change(s);
            edit(s);
        }
        const QByteArray after = designFileImage(s);
        const auto info = s.ModuleInformation;
        ASSERT_TRUE(after != before || info);
        EXPECT_TRUE(history.isModified());
        history.undo();
        EXPECT_EQ(designFileImage(s), before);
        EXPECT_FALSE(s.ModuleInformation);
        EXPECT_FALSE(history.isModified());
        // A command that changes nothing is no step and keeps the redo.
        { const RecordedChange nothing(s); }
        history.redo();
        EXPECT_EQ(designFileImage(s), after);
        EXPECT_EQ(s.ModuleInformation, info);
        // A design read from a MIB module is in no file: changed, nothing to undo.
        history.startOver(false);
        EXPECT_TRUE(history.isModified() && !history.stack().canUndo());
    }
}

// Names are found by any part, whatever the case, OIDs whole, in the order
// of the expanded tree from the object after `after`, round past the end.
TEST(DesignSearch, FindsByNameOrOidInTreeOrder)
{
    AppState s;
    buildSampleDesign(s);
    addNode(s, u"portal"_s, 3, 0); // slot 8, under sysInfo: before portTable in the tree
    const std::tuple<QString, int, int> rows[] = {
        {u"PORT"_s, -1, 8}, {u"port"_s, 8, 3}, {u"port"_s, 7, 8}, {u"temp"_s, 1, 1}, {u" sysMode "_s, -1, 2},
        {u"1.3.6.1.4.1.2"_s, -1, 3}, {u"1.3.6.1.4.1.2.1.3"_s, -1, 7}, {u"1.3.6.1.4.1.1.3"_s, 2, 8},
        {u"1.3.6.1.4.1.9"_s, -1, -1}, {u"fan"_s, -1, -1}, {u"  "_s, -1, -1},
    };
    for (const auto &[query, after, found] : rows)
        EXPECT_EQ(findObject(s, query, after), found) << query.toStdString() << " after " << after;
}
