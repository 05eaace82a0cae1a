#include "oid.h"

#include <QStringList>

namespace korvel {

QString dottedOid(const AppState &state, int slot)
{
    QStringList arcs;
    // A chain longer than the table has slots has come round to itself.
    for (int steps = 0; slot != RootSlot; ++steps) {
        if (steps >= SlotCount || slot < 0 || slot >= SlotCount)
            return QString();
        const MibTree &record = state.tables.tree[slot];
        if (record.InUse != 1)
            return QString();
        arcs.prepend(QString::number(record.ObjectId));
        slot = record.Parent;
    }
    arcs.prepend(QString::fromLatin1(RootOid));
    return arcs.join(QLatin1Char('.'));
}

} // namespace korvel
