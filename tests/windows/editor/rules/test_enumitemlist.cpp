#include "controlstates.h"
#include "enumitemlist.h"
#include "rulestesting.h"
#include "sampledesign.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

const QString RangeAndList = u"範囲とリストは同時に指定できません。"_s;
const QString NameEmpty = u"項目名を入力してください"_s;
const QString ValueEmpty = u"項目値を入力してください"_s;
const QString ValueNotNumeric = u"項目値は数値を入力してください。"_s;
const QString DuplicateName = u"リストの名前が重複しています。"_s;
const QString DuplicateValue = u"リストの値が重複しています。"_s;
const QString AddFailed = u"リストの追加に失敗しました"_s;
const QString NameNotChosen = u"項目名を選択してください"_s;
const QString NotFound = u"このエントリは削除できません"_s;
const QString RemoveFailed = u"リストの削除に失敗しました"_s;

// An item list holding (a, 1) and (b, 2).
class ItemList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_list.AddListItem(u"a"_s, u"1"_s, m_sink));
        ASSERT_TRUE(m_list.AddListItem(u"b"_s, u"2"_s, m_sink));
    }

    EnumItemList::Values m_values{};
    EnumItemList m_list{m_values};
    RecordingSink m_sink;
};

struct ItemCase {
    const char *label;
    QString name;
    QString value;
    QString expected; // empty: added
    MessageKind kind = MessageKind::Warning;
};

void PrintTo(const ItemCase &c, std::ostream *os)
{
    *os << c.label;
}

class AddItemChecks : public ItemList, public ::testing::WithParamInterface<ItemCase>
{
};

} // namespace

TEST_P(AddItemChecks, ChecksInOrder)
{
    const ItemCase &c = GetParam();
    const bool added = m_list.AddListItem(c.name, c.value, m_sink);
    if (c.expected.isEmpty()) {
        EXPECT_TRUE(added);
        EXPECT_TRUE(m_sink.messages().isEmpty());
        EXPECT_EQ(m_list.itemCount(), 3);
        EXPECT_EQ(m_list.entries().last(), QString());
    } else {
        EXPECT_FALSE(added);
        EXPECT_EQ(m_sink.messages(), (QList<Reported>{{c.expected, c.kind}}));
        EXPECT_EQ(m_list.entries(), (QStringList{u"a"_s, u"b"_s, QString()}));
        EXPECT_EQ(m_values[0], 1);
        EXPECT_EQ(m_values[1], 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Items, AddItemChecks,
    ::testing::Values(ItemCase{"name empty", QString(), u"3"_s, NameEmpty},
                      ItemCase{"name of blanks", u"  "_s, u"3"_s, NameEmpty},
                      ItemCase{"value empty", u"c"_s, QString(), ValueEmpty},
                      ItemCase{"value negative", u"c"_s, u"-1"_s, ValueNotNumeric},
                      ItemCase{"value with a point", u"c"_s, u"1.0"_s, ValueNotNumeric},
                      ItemCase{"name taken", u"b"_s, u"3"_s, DuplicateName},
                      ItemCase{"name taken after blanks go", u" b "_s, u"3"_s, DuplicateName},
                      ItemCase{"first item's value before second item's name", u"b"_s, u"1"_s, DuplicateValue},
                      ItemCase{"value with leading zeros taken", u"c"_s, u"002"_s, DuplicateValue},
                      ItemCase{"value 32768", u"c"_s, u"32768"_s, AddFailed, MessageKind::Error},
                      ItemCase{"value beyond 64 bits", u"c"_s, u"99999999999999999999"_s, AddFailed,
                               MessageKind::Error},
                      ItemCase{"value 0", u"c"_s, u"0"_s, {}}, ItemCase{"value 32767", u"c"_s, u"32767"_s, {}},
                      ItemCase{"names are case-sensitive", u"A"_s, u"3"_s, {}}));

TEST_F(ItemList, AddedItemTakesTheEmptyEntryAndItsValue)
{
    ASSERT_TRUE(m_list.AddListItem(u"c"_s, u"3"_s, m_sink));
    EXPECT_EQ(m_list.entries(), (QStringList{u"a"_s, u"b"_s, u"c"_s, QString()}));
    EXPECT_EQ(m_list.items(), (QList<EnumItem>{{u"a"_s, 1}, {u"b"_s, 2}, {u"c"_s, 3}}));
}

TEST_F(ItemList, RemovingMovesTheFollowingValuesDown)
{
    ASSERT_TRUE(m_list.AddListItem(u"c"_s, u"3"_s, m_sink));
    ASSERT_TRUE(m_list.RemoveListItem(u"a"_s, u"1"_s, m_sink));
    EXPECT_EQ(m_list.items(), (QList<EnumItem>{{u"b"_s, 2}, {u"c"_s, 3}}));

    EXPECT_FALSE(m_list.RemoveListItem(u"b"_s, u"5"_s, m_sink));
    EXPECT_FALSE(m_list.RemoveListItem(u"b"_s, QString(), m_sink));
    EXPECT_FALSE(m_list.RemoveListItem(u"  "_s, u"2"_s, m_sink));
    EXPECT_FALSE(m_list.RemoveListItem(u"zz"_s, u"2"_s, m_sink));
    EXPECT_EQ(m_sink.messages(), (QList<Reported>{{NotFound, MessageKind::Warning},
                                                  {RemoveFailed, MessageKind::Error},
                                                  {NameNotChosen, MessageKind::Warning},
                                                  {NotFound, MessageKind::Warning}}));
    EXPECT_EQ(m_list.items(), (QList<EnumItem>{{u"b"_s, 2}, {u"c"_s, 3}}));
}

TEST_F(ItemList, ValueBoxFollowsTheChosenOrTypedName)
{
    using Event = EnumItemList::ItemEvent;
    m_values[2] = 77; // whatever the empty entry's position holds
    EXPECT_EQ(m_list.ShowItemValue(u"b"_s, Event::Chosen), u"2"_s);
    EXPECT_EQ(m_list.ShowItemValue(u"b"_s, Event::Edited), u"2"_s);
    EXPECT_EQ(m_list.ShowItemValue(u"x"_s, Event::Edited), QString());
    EXPECT_EQ(m_list.ShowItemValue(QString(), Event::Chosen), QString());
    EXPECT_EQ(m_list.ShowItemValue(QString(), Event::Edited), u"77"_s);
}

TEST(ItemListCapacity, ThousandAndFirstItemCannotBeStored)
{
    EnumItemList::Values values{};
    EnumItemList list(values);
    RecordingSink sink;
    for (int i = 0; i < SlotCount; ++i)
        ASSERT_TRUE(list.appendItem(u"i%1"_s.arg(i), i)) << i;
    EXPECT_FALSE(list.AddListItem(u"last"_s, u"30000"_s, sink));
    EXPECT_EQ(sink.messages(), (QList<Reported>{{AddFailed, MessageKind::Error}}));
    EXPECT_EQ(list.itemCount(), SlotCount);
    EXPECT_EQ(list.entries().last(), QString());
    // The empty entry lies beyond the values: nothing to show, nothing read.
    EXPECT_EQ(list.ShowItemValue(QString(), EnumItemList::ItemEvent::Edited), QString());
}

TEST(ItemListLoad, TakesAnObjectsItemsInSlotOrder)
{
    auto s = freshState();
    const int leaf = addLeaf(*s, {u"l"_s, 1, RootSlot, 2, 1, {}, 0, {}, {},
                                  {{u"neg"_s, -5}, {QString(), 4}, {u"big"_s, 70000}}});
    s->EnumValues.fill(9);
    EnumItemList list(s->EnumValues);
    list.load(*s, leaf);
    // A nameless item cannot sit beside the empty entry; a big value is held at 16 bits.
    EXPECT_EQ(list.items(), (QList<EnumItem>{{u"neg"_s, -5}, {u"big"_s, 32767}}));
    EXPECT_EQ(s->EnumValues[2], 0);
    RecordingSink sink;
    EXPECT_TRUE(list.RemoveListItem(u"neg"_s, u"-5"_s, sink));
    list.reset();
    EXPECT_EQ(list.entries(), QStringList{QString()});
}

namespace {

struct StateCase {
    const char *label;
    KindOption kind;
    int syntax;
    bool range, list, key;
    EditorControlStates expected;
};

void PrintTo(const StateCase &c, std::ostream *os)
{
    *os << c.label;
}

class ControlStates : public ::testing::TestWithParam<StateCase>
{
};

} // namespace

TEST_P(ControlStates, FollowKindSyntaxAndTicks)
{
    const StateCase &c = GetParam();
    EXPECT_EQ(editorControlStates(c.kind, c.syntax, c.range, c.list, c.key), c.expected);
}

// Fields: description, entryDescription, syntax, rangeBox, rangeBounds,
// listBox, itemControls, access, keyBox, keyPosition.
INSTANTIATE_TEST_SUITE_P(
    Kinds, ControlStates,
    ::testing::Values(
        StateCase{"node, ticks ignored", KindOption::Node, 0, true, true, true, {}},
        StateCase{"table", KindOption::Table, 0, true, true, true, {true, true}},
        StateCase{"leaf unticked", KindOption::Leaf, 0, false, false, false,
                  {true, false, true, true, false, true, false, true, true, false}},
        StateCase{"leaf all ticked", KindOption::Leaf, 0, true, true, true,
                  {true, false, true, true, true, true, true, true, true, true}},
        StateCase{"leaf not INTEGER keeps no item controls", KindOption::Leaf, 1, false, true, false,
                  {true, false, true, true, false, false, false, true, true, false}}));

TEST(ControlStates, EnumerationBoxAndDescriptions)
{
    EXPECT_TRUE(enumerationEnabled(KindOption::Leaf, 0));
    EXPECT_FALSE(enumerationEnabled(KindOption::Leaf, 7));
    EXPECT_FALSE(enumerationEnabled(KindOption::Table, 0));
    EXPECT_EQ(loadedDescriptionStates(ObjectKind::Entry), (DescriptionStates{false, true}));
    EXPECT_EQ(loadedDescriptionStates(ObjectKind::Table), (DescriptionStates{true, false}));
}

TEST(ControlStates, RangeAndListAreNotTickedTogether)
{
    RecordingSink sink;
    EXPECT_TRUE(refuseRangeWithList(true, true, true, sink));
    EXPECT_FALSE(refuseRangeWithList(true, true, false, sink));
    EXPECT_FALSE(refuseRangeWithList(true, false, true, sink));
    EXPECT_FALSE(refuseRangeWithList(false, true, true, sink));
    EXPECT_EQ(sink.messages(), warning(RangeAndList));
}
