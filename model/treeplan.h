// Which tree item each object of the design gets, worked out from the
// MibTree table alone.
#pragma once

#include "appstate.h"

#include <QList>

namespace korvel {

struct PlannedItem {
    // The object's MibTree slot.
    int slot = -1;
    // Index in the plan of the parent item; -1 for the root "enterprise".
    int parent = -1;
};

// Every object in use among slots 0 to ObjectLimit, in the order the items
// are added, so that an item's parent always comes before it. Objects under
// the root come first in slot order; then, level by level, the children of
// each item in slot order.
//
// A design read from a file may break the tree: a Parent that is no object
// in use, Parents that loop, two objects with one name, an object without a
// name. Every object in use is still planned exactly once: those the walk
// from the root cannot reach, and those whose name is empty or already taken
// by an item planned before, hang directly under the root (after the rest),
// each with its own descendants below it.
QList<PlannedItem> planTree(const AppState &state);

} // namespace korvel
