#include "oid.h"
#include "sampledesign.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

TEST(DottedOid, FollowsTheParentsUpToEnterprise)
{
    auto state = std::make_unique<AppState>();
    const int acme = addNode(*state, QStringLiteral("acme"), 99999);
    const int system = addNode(*state, QStringLiteral("system"), 1, acme);
    const int mode = addNode(*state, QStringLiteral("mode"), 2147483647, system);
    const int unused = addNode(*state, QStringLiteral("unused"), 3);
    state->tables.tree[unused].InUse = 0;

    EXPECT_EQ(dottedOid(*state, RootSlot), QStringLiteral("1.3.6.1.4.1"));
    EXPECT_EQ(dottedOid(*state, mode), QStringLiteral("1.3.6.1.4.1.99999.1.2147483647"));
    for (int slot : {unused, -2, SlotCount})
        EXPECT_EQ(dottedOid(*state, slot), QString()) << slot;
    // A parent that is gone, and a chain that loops.
    state->tables.tree[system].Parent = unused;
    EXPECT_EQ(dottedOid(*state, mode), QString());
    state->tables.tree[system].Parent = mode;
    EXPECT_EQ(dottedOid(*state, mode), QString());
}
