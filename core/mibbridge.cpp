#include "mibbridge.h"

#include "miblibrary.h"
#include "mibimage.h"
#include "tablefields.h"

#include <QFile>

#include <exception>
#include <memory>

namespace korvel {

BridgeResult createMibFile(MibLibrary &library, AppState &state, const QString &path)
{
    try {
        const int limit = lastScannedSlot(state);
        auto image = std::make_unique<RecordImage>();
        buildRecordImage(state.tables, limit, *image);
        const std::optional<int32_t> result = library.create(*image, QFile::encodeName(path));
        if (!result)
            return BridgeResult::Unavailable;
        // What the library saw is what the tables show from now on.
        roundTripTexts(state.tables, limit);
        return *result == 0 ? BridgeResult::Success : BridgeResult::Failure;
    } catch (const std::exception &) {
        return BridgeResult::Failure;
    }
}

BridgeResult loadMibFile(MibLibrary &library, AppState &state, const QString &path)
{
    try {
        // Whatever error.log holds afterwards was written by this read.
        QFile::remove(QStringLiteral("error.log"));
        const int limit = lastScannedSlot(state);
        auto image = std::make_unique<RecordImage>();
        buildRecordImage(state.tables, limit, *image);
        const std::optional<int32_t> result = library.analyse(*image, QFile::encodeName(path));
        if (!result)
            return BridgeResult::Unavailable;
        if (*result != 0)
            return BridgeResult::Failure;
        takeRecordImage(state.tables, *image, limit);
        rebuildCounters(state.tables, limit);
        state.ListLevel = -1;
        return BridgeResult::Success;
    } catch (const std::exception &) {
        return BridgeResult::Failure;
    }
}

} // namespace korvel
