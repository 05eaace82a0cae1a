// The dotted object identifier of an object of the design, as the status bars
// of the main windows show it.
#pragma once

#include "appstate.h"

#include <QString>

namespace korvel {

// The OID of the root "enterprise": iso.org.dod.internet.private.enterprises.
inline constexpr auto RootOid = "1.3.6.1.4.1";

// RootOid followed by the ObjectId of every object from the top level down to
// `slot`, for example "1.3.6.1.4.1.99999.1.2"; RootOid for RootSlot. Empty
// when `slot` or one of its ancestors is not an object in use, or when the
// Parent chain loops.
QString dottedOid(const AppState &state, int slot);

} // namespace korvel
