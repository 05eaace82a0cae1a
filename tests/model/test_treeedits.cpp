#include "rulestesting.h"
#include "treeedits.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

const QString Placeholder = u"新たなオブジェクト"_s;

// Node "top" in slot 0 and the placeholder (a node) below the root in slot 1.
std::unique_ptr<AppState> withPlaceholder()
{
    auto s = std::make_unique<AppState>();
    addNode(*s, u"top"_s, 1);
    writePlaceholder(*s, 1, RootSlot, ObjectKind::Node, -1);
    return s;
}

} // namespace

TEST(TreeEdits, PanelChangeRefusesBeforeAnyWrite)
{
    using Design = std::function<void(AppState &)>;
    const auto fill = [](auto DefinitionTables::*table, int first) -> Design {
        return [table, first](AppState &s) { fillFrom(s, table, first); };
    };
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
        const QByteArray before = snapshot(*s);
        RecordingSink sink;
        EXPECT_EQ(changeFromPanel(*s, row.slot, row.input, sink).changed, row.expected.isEmpty());
        EXPECT_EQ(sink.messages, row.expected.isEmpty() ? QList<Reported>() : warning(row.expected));
        if (!row.expected.isEmpty()) {
            EXPECT_EQ(snapshot(*s), before);
        }
        EXPECT_EQ(countInUse(*s), countersOf(*s));
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
    s = std::make_unique<AppState>();
    buildSampleDesign(*s);
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
    auto s = std::make_unique<AppState>();
    buildSampleDesign(*s);
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
