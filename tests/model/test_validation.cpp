#include "controlstates.h"
#include "editorrules.h"
#include "enumitemlist.h"
#include "rulestesting.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

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
        {"name of 256", name(QString(256, u'n')), text::NameTooLong},
        {"object ID empty", id(QString()), text::IdNotNumeric},
        {"object ID 0", id(u"0"_s), text::IdOutOfRange},
        {"object ID 2147483647", id(u"2147483647"_s), {}},
        {"object ID 2147483648", id(u"2147483648"_s), text::IdOutOfRange},
        {"object ID 01", id(u"01"_s), {}},
        {"object ID -1", id(u"-1"_s), text::IdNotNumeric},
        {"object ID in full-width digits", id(u"１２"_s), text::IdNotNumeric},
        {"object ID beyond 64 bits", id(u"99999999999999999999999"_s), text::IdOutOfRange},
        {"bounds 0 to 4294967295", range(u"0"_s, u"4294967295"_s), {}},
        {"upper bound 4294967296", range(u"0"_s, u"4294967296"_s), text::RangeTooLarge},
        {"lower bound negative", range(u"-1"_s, u"1"_s), text::RangeNotNumeric},
        {"key order 0", key(u"0"_s), text::KeyOutOfRange},
        {"key order 1", key(u"1"_s), {}},
        {"key order 1000", key(u"1000"_s), {}},
        {"key order 1001", key(u"1001"_s), text::KeyOutOfRange},
        {"key order in letters", key(u"x"_s), text::KeyNotNumeric},
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
    for (int ticks = 0; ticks < 8; ++ticks)
        EXPECT_EQ(refuseRangeWithList(ticks & 1, ticks & 2, ticks & 4, sink), ticks == 7) << ticks;
    EXPECT_EQ(sink.messages, warning(text::RangeAndList));
}
