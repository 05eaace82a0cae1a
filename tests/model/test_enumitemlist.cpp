#include "controlstates.h"
#include "enumitemlist.h"
#include "rulestesting.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

// A list holding (a, 1) and (b, 2).
EnumItemList abList(EnumItemList::Values &values)
{
    EnumItemList list(values);
    RecordingSink sink;
    list.addListItem(u"a"_s, u"1"_s, sink);
    list.addListItem(u"b"_s, u"2"_s, sink);
    return list;
}

} // namespace

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
        {"name empty", QString(), u"3"_s, text::ItemNameEmpty},
        {"value empty", u"c"_s, QString(), text::ItemValueEmpty},
        {"value negative", u"c"_s, u"-1"_s, text::ItemValueNotNumeric},
        {"name taken", u"b"_s, u"3"_s, text::DuplicateItemName},
        {"first item's value before second item's name", u"b"_s, u"1"_s, text::DuplicateItemValue},
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
                                               {text::ItemRemoveFailed, MessageKind::Error},
                                               {text::ItemNameNotChosen, MessageKind::Warning},
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
    EXPECT_TRUE(refuseRangeWithList(true, true, true, sink));
    EXPECT_FALSE(refuseRangeWithList(true, true, false, sink));
    EXPECT_FALSE(refuseRangeWithList(true, false, true, sink));
    EXPECT_FALSE(refuseRangeWithList(false, true, true, sink));
    EXPECT_EQ(sink.messages, warning(text::RangeAndList));
}
