#include "sampledesign.h"
#include "tableops.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct Counters {
    int tree, attribute, range, list;
    bool operator==(const Counters &) const = default;
};

Counters countersOf(const AppState &s)
{
    return {s.tables.MibTreeCount, s.tables.MibAttributeCount, s.tables.MibRangeCount,
            s.tables.MibListCount};
}

// Counts in-use records the slow way, to check the counters against.
Counters countInUse(const AppState &s)
{
    Counters c{0, 0, 0, 0};
    for (int i = 0; i < SlotCount; ++i) {
        c.tree += s.tables.tree[i].InUse == 1;
        c.attribute += s.tables.attribute[i].InUse == 1;
        c.range += s.tables.range[i].InUse == 1;
        c.list += s.tables.list[i].InUse == 1;
    }
    return c;
}

} // namespace

TEST(TableOps, StoreTextPadsAndCutsToTheWidth)
{
    QString field;
    storeText(field, QStringLiteral("abc"), BoundWidth);
    EXPECT_EQ(field, QStringLiteral("abc            "));
    storeText(field, QString(300, u'x'), NameWidth);
    EXPECT_EQ(field.size(), NameWidth);
    EXPECT_EQ(displayedText(QStringLiteral("abc   "), 2), QStringLiteral("ab"));
    EXPECT_EQ(displayedText(QStringLiteral("abc"), 0), QString());
    EXPECT_EQ(displayedText(QStringLiteral("abc"), -3), QString());
}

TEST(TableOps, FreeSlotIsTheLowestAndNeverSlot1000)
{
    auto state = std::make_unique<AppState>();
    EXPECT_EQ(findFreeSlot(state->tables.tree), 0);
    for (int i = 0; i < StoredSlotCount; ++i)
        state->tables.tree[i].InUse = 1;
    EXPECT_EQ(findFreeSlot(state->tables.tree), -1);
    state->tables.tree[7].InUse = 0;
    state->tables.tree[3].InUse = 0;
    EXPECT_EQ(findFreeSlot(state->tables.tree), 3);
    EXPECT_EQ(findFreeSlots(state->tables.tree, 2), (QList<int>{3, 7}));
    EXPECT_EQ(findFreeSlots(state->tables.tree, 3), (QList<int>{3, 7}));
    EXPECT_EQ(freeSlotCount(state->tables.tree), 2);
}

TEST(TableOps, ChildrenAttributeRangeAndItemsOf)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    const int sys = 0;
    EXPECT_EQ(childrenOf(*state, RootSlot).size(), 2);
    EXPECT_EQ(childrenOf(*state, sys), (QList<int>{1, 2}));
    EXPECT_EQ(attributeOf(*state, sys), -1);
    EXPECT_GE(attributeOf(*state, 1), 0);
    EXPECT_GE(rangeOf(*state, 1), 0);
    EXPECT_EQ(rangeOf(*state, 2), -1);
    EXPECT_EQ(itemsOf(*state, 2).size(), 3);
    EXPECT_EQ(displayedName(*state, 1), QStringLiteral("sysTemperature"));
}

TEST(TableOps, DeleteTableRemovesEntryColumnsAndTheirRecords)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    const Counters before = countersOf(*state);
    const int table = 3;
    ASSERT_EQ(displayedName(*state, table), QStringLiteral("portTable"));
    const int entry = entryOf(*state, table);
    ASSERT_TRUE(deleteSubtree(*state, table));
    // Table, entry and three columns; their five attributes; one range; two items.
    EXPECT_EQ(countersOf(*state), (Counters{before.tree - 5, before.attribute - 5, before.range - 1,
                                            before.list - 2}));
    EXPECT_EQ(countersOf(*state), countInUse(*state));
    EXPECT_EQ(state->tables.tree[table].InUse, 0);
    EXPECT_EQ(state->tables.tree[entry].InUse, 0);
    EXPECT_TRUE(childrenOf(*state, entry).isEmpty());
    // The scalars are untouched.
    EXPECT_EQ(childrenOf(*state, 0).size(), 2);
}

TEST(TableOps, DeleteLeafClearsOnlyItsOwnItems)
{
    auto state = std::make_unique<AppState>();
    const int a = addLeaf(*state, {QStringLiteral("a"), 1, RootSlot, 2, 1, {}, 0, {}, {}, {{"x", 1}, {"y", 2}, {"z", 3}}});
    const int b = addLeaf(*state, {QStringLiteral("b"), 2, RootSlot, 2, 1, {}, 0, {}, {}, {{"p", 1}, {"q", 2}}});
    ASSERT_TRUE(deleteSubtree(*state, a));
    EXPECT_EQ(itemsOf(*state, b).size(), 2);
    EXPECT_EQ(state->tables.MibListCount, 2);
    EXPECT_EQ(countersOf(*state), countInUse(*state));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(state->tables.list[i].InUse, 0);
        EXPECT_EQ(state->tables.list[i].ItemNameLength, 0);
    }
}

TEST(TableOps, FreedRangeKeepsLengthsAndHoldsZero)
{
    auto state = std::make_unique<AppState>();
    const int leaf = addLeaf(*state, {QStringLiteral("t"), 1, RootSlot, 2, 1, {}, 0, QStringLiteral("-40"),
                                      QStringLiteral("125"), {}});
    ASSERT_TRUE(deleteSubtree(*state, leaf));
    const MibRange &r = state->tables.range[0];
    EXPECT_EQ(r.InUse, 0);
    EXPECT_EQ(r.MinimumLength, 3);
    EXPECT_EQ(r.MaximumLength, 3);
    EXPECT_EQ(displayedText(r.Minimum, r.MinimumLength), QStringLiteral("0  "));
}

TEST(TableOps, DeleteEndsOnACycleOfParents)
{
    auto state = std::make_unique<AppState>();
    const int a = addNode(*state, QStringLiteral("a"), 1);
    const int b = addNode(*state, QStringLiteral("b"), 1, a);
    const int c = addNode(*state, QStringLiteral("c"), 1, b);
    state->tables.tree[a].Parent = c; // a -> c -> b -> a
    addNode(*state, QStringLiteral("other"), 2);
    ASSERT_TRUE(deleteSubtree(*state, b));
    EXPECT_EQ(state->tables.MibTreeCount, 1);
    EXPECT_EQ(countersOf(*state), countInUse(*state));
}

TEST(TableOps, DeleteHandlesADeepChainWithoutRecursion)
{
    auto state = std::make_unique<AppState>();
    int parent = RootSlot;
    for (int i = 0; i < StoredSlotCount; ++i)
        parent = addNode(*state, QStringLiteral("n%1").arg(i), 1, parent);
    ASSERT_TRUE(deleteSubtree(*state, 0));
    EXPECT_EQ(state->tables.MibTreeCount, 0);
}

TEST(TableOps, DeleteFailsWithoutAttributeAndKeepsWhatItRemoved)
{
    auto state = std::make_unique<AppState>();
    const int leaf = addLeaf(*state, {QStringLiteral("l"), 1, RootSlot, 2, 1, {}, 0, {}, {}, {}});
    state->tables.attribute[0].InUse = 0;
    --state->tables.MibAttributeCount;
    EXPECT_FALSE(deleteSubtree(*state, leaf));
    EXPECT_FALSE(deleteSubtree(*state, -1));
    EXPECT_FALSE(deleteSubtree(*state, SlotCount));
    EXPECT_EQ(countersOf(*state), countInUse(*state));
}

TEST(TableOps, IsAllDigits)
{
    struct Row {
        const char16_t *text;
        bool digits;
    };
    const Row rows[] = {{u"0", true},  {u"0123456789", true}, {u"", false}, {u"-1", false},
                        {u"+1", false}, {u"1.5", false},      {u" 1", false}, {u"1a", false},
                        {u"１", false}};
    for (const Row &row : rows)
        EXPECT_EQ(isAllDigits(QString::fromUtf16(row.text)), row.digits) << QString::fromUtf16(row.text).toStdString();
}
