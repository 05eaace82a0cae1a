#include "designsearch.h"

#include "oid.h"
#include "tableops.h"
#include "treeplan.h"

#include <algorithm>

namespace korvel {

QList<int> objectsInTreeOrder(const AppState &state)
{
    // The plan puts every object in use under exactly one item, its children
    // in slot order: a walk down from the top gives each object once.
    const QList<PlannedItem> plan = planTree(state);
    QList<QList<int>> children(plan.size() + 1);
    for (int i = 0; i < plan.size(); ++i)
        children[plan[i].parent + 1].append(i);

    QList<int> order;
    order.reserve(plan.size());
    QList<int> pending(children[0].crbegin(), children[0].crend());
    while (!pending.isEmpty()) {
        const int item = pending.takeLast();
        order.append(plan[item].slot);
        const QList<int> &below = children[item + 1];
        pending.append(QList<int>(below.crbegin(), below.crend()));
    }
    return order;
}

int findObject(const AppState &state, const QString &query, int after)
{
    const QString wanted = query.trimmed();
    if (wanted.isEmpty())
        return -1;
    const bool byOid = std::all_of(wanted.cbegin(), wanted.cend(),
                                   [](QChar c) { return c.isDigit() || c == u'.'; });
    const auto finds = [&](int slot) {
        return byOid ? dottedOid(state, slot) == wanted
                     : displayedName(state, slot).contains(wanted, Qt::CaseInsensitive);
    };

    const QList<int> order = objectsInTreeOrder(state);
    const qsizetype start = order.indexOf(after) + 1;
    for (qsizetype step = 0; step < order.size(); ++step) {
        const int slot = order[(start + step) % order.size()];
        if (finds(slot))
            return slot;
    }
    return -1;
}

} // namespace korvel
