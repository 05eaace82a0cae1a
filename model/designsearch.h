// 検索 and 次を検索: finding an object of the design by part of its name or
// by its dotted OID.
#pragma once

#include "appstate.h"

#include <QList>
#include <QString>

namespace korvel {

// Every object in use in the order the expanded tree shows them from the top:
// each object followed by its descendants, brothers in slot order.
QList<int> objectsInTreeOrder(const AppState &state);

// The first object after `after` (a slot; -1 starts at the top) in tree
// order that `query` finds, going round to the top past the last; `after`
// itself comes last. A query of digits and dots is an OID, as the status
// bars show it ("1.3.6.1.4.1.99999.1"), and finds the object with exactly that
// OID; any other finds the objects whose names hold it, whatever the case.
// -1 when none does, or the query is blank.
int findObject(const AppState &state, const QString &query, int after = -1);

} // namespace korvel
