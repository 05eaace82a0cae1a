#include "mibbridge.h"

// Placeholder until the bridges are built: the library is reported missing.
namespace korvel {

BridgeResult createMibFile(AppState &, const QString &)
{
    return BridgeResult::Unavailable;
}

BridgeResult loadMibFile(AppState &, const QString &)
{
    return BridgeResult::Unavailable;
}

} // namespace korvel
