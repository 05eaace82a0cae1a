#include "rulestesting.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using namespace korvel;
using namespace korvel::testing;

TEST(TableOps, TextsAndFreeSlots)
{
    QString field;
    storeText(field, QStringLiteral("abc"), BoundWidth);
    EXPECT_EQ(field, QStringLiteral("abc            "));
    storeText(field, QString(300, u'x'), NameWidth);
    EXPECT_EQ(field.size(), NameWidth);
    EXPECT_EQ(displayedText(QStringLiteral("abc"), -3), QString());

    auto state = std::make_unique<AppState>();
    EXPECT_EQ(findFreeSlot(state->tables.tree), 0);
    for (int i = 0; i < StoredSlotCount; ++i)
        state->tables.tree[i].InUse = 1;
    // Slot 1000 is free but never handed out: no file carries it.
    EXPECT_EQ(findFreeSlot(state->tables.tree), -1);
    state->tables.tree[7].InUse = 0;
    state->tables.tree[3].InUse = 0;
    EXPECT_EQ(findFreeSlot(state->tables.tree), 3);
    EXPECT_EQ(findFreeSlots(state->tables.tree, 3), (QList<int>{3, 7}));
    // Slots about to be freed count as free.
    EXPECT_EQ(findFreeSlots(state->tables.tree, 3, {5}), (QList<int>{3, 5, 7}));
}

// Sample design slots: 0 sysInfo { 1 sysTemperature (range -40..125),
// 2 sysMode (items 0-2) }, 3 portTable { 4 portEntry { 5 portIndex (range
// 1..64), 6 portName, 7 portStatus (items 3-4) } }; here with a cycle of
// parents 8 -> 10 -> 9 -> 8 added.
TEST(TableOps, DeleteSubtreeClearsExactlyWhatBelongsToIt)
{
    const std::tuple<const char *, int, Counters> rows[] = {
        {"node with a ranged and an enumerated leaf", 0, {3, 2, 1, 3}},
        {"table with its entry and columns", 3, {5, 5, 1, 2}},
        {"leaf whose items follow another leaf's", 7, {1, 1, 0, 2}},
        {"cycle of parents", 9, {3, 0, 0, 0}},
    };
    for (const auto &[what, target, drop] : rows) {
        SCOPED_TRACE(what);
        auto state = std::make_unique<AppState>();
        buildSampleDesign(*state);
        const int a = addNode(*state, QStringLiteral("a"), 9);
        state->tables.tree[a].Parent = addNode(*state, QStringLiteral("c"), 1, addNode(*state, QStringLiteral("b"), 1, a));
        const QList<QByteArray> before = designFileImage(*state).split('\n');
        Counters expected = countersOf(*state);
        for (int i = 0; i < 4; ++i)
            expected[i] -= drop[i];
        ASSERT_TRUE(deleteSubtree(*state, target));
        EXPECT_EQ(countersOf(*state), expected);
        EXPECT_EQ(countInUse(*state), expected);
        EXPECT_EQ(state->tables.tree[target].InUse, 0);
        // Every record still in use is as it was.
        const QList<QByteArray> after = designFileImage(*state).split('\n');
        for (qsizetype line = 0; line < after.size(); ++line)
            EXPECT_TRUE(!after[line].endsWith(",1\r") || after[line] == before[line]) << after[line].constData();
    }
    // A freed range keeps its lengths and holds "0"; a freed item loses its name.
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    ASSERT_TRUE(deleteSubtree(*state, 0));
    EXPECT_EQ(state->tables.range[0].MaximumLength, 3);
    EXPECT_EQ(displayedText(state->tables.range[0].Minimum, state->tables.range[0].MinimumLength), QStringLiteral("0  "));
    EXPECT_EQ(state->tables.list[0].ItemNameLength, 0);

    // The Tree window's variant empties a freed range and names every object
    // it removes; a leaf's own children (left by turning a node into a leaf)
    // go with it instead of being orphaned.
    state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    addNode(*state, QStringLiteral("underLeaf"), 1, 1);
    QList<int> removed;
    ASSERT_TRUE(deleteSubtree(*state, 0, FreedRange::Empty, [&removed](int slot) { removed.append(slot); }));
    EXPECT_EQ(removed, (QList<int>{8, 1, 2, 0}));
    EXPECT_EQ(state->tables.range[0].MinimumLength, 0);
    EXPECT_TRUE(state->tables.range[0].Minimum.isEmpty());
    EXPECT_EQ(countersOf(*state), countInUse(*state));
}

TEST(TableOps, DeleteEndsOnAThousandLevelsAndRefusesWhatItCannotDelete)
{
    auto state = std::make_unique<AppState>();
    int parent = RootSlot;
    for (int i = 0; i < StoredSlotCount; ++i)
        parent = addNode(*state, QStringLiteral("n%1").arg(i), 1, parent);
    ASSERT_TRUE(deleteSubtree(*state, 0));
    EXPECT_EQ(state->tables.MibTreeCount, 0);

    const int leaf = addLeaf(*state, {QStringLiteral("l"), 1, RootSlot, 2, 1, {}, 0, {}, {}, {}});
    state->tables.attribute[0].InUse = 0;
    --state->tables.MibAttributeCount;
    EXPECT_FALSE(deleteSubtree(*state, leaf));
    EXPECT_FALSE(deleteSubtree(*state, -1));
    EXPECT_FALSE(deleteSubtree(*state, SlotCount));
    EXPECT_EQ(countersOf(*state), countInUse(*state));
}
