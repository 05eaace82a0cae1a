#include "mibbridge.h"

#include "mibimage.h"
#include "programfiles.h"
#include "tableops.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>

#include <exception>
#include <memory>

namespace korvel {

namespace {

using MibProc = int32_t(KORVEL_MIB_CALL *)(SAFEARRAY **, SAFEARRAY **, SAFEARRAY **, SAFEARRAY **,
                                           const char *);

// The library and its two exports, each resolved at its first call. The
// binding lives as long as the process, like the library it holds.
struct Binding {
    QString fileName;
    std::unique_ptr<QLibrary> library;
    MibProc create = nullptr;
    MibProc analysis = nullptr;
};

Binding &binding()
{
    static Binding instance;
    return instance;
}

bool loadLibrary(Binding &b)
{
    if (b.library && b.library->isLoaded())
        return true;
    b.library = std::make_unique<QLibrary>();
    if (!b.fileName.isEmpty()) {
        b.library->setFileName(b.fileName);
        return b.library->load();
    }
    if (QCoreApplication::instance() != nullptr) {
        for (const QString &candidate : libraryCandidates(QCoreApplication::applicationDirPath())) {
            b.library->setFileName(candidate);
            if (b.library->load())
                return true;
        }
    }
    b.library->setFileName(QStringLiteral("libkorvel"));
    return b.library->load();
}

MibProc bind(MibProc Binding::*slot, const char *name)
{
    Binding &b = binding();
    if (b.*slot == nullptr && loadLibrary(b))
        b.*slot = reinterpret_cast<MibProc>(b.library->resolve(name));
    return b.*slot;
}

SAFEARRAY describe(void *records, std::size_t recordSize)
{
    SAFEARRAY array{};
    array.cDims = 1;
    array.fFeatures = 0x0012; // static, fixed size: the library neither frees nor resizes it
    array.cbElements = static_cast<uint32_t>(recordSize);
    array.pvData = records;
    array.rgsabound[0].cElements = SlotCount;
    array.rgsabound[0].lLbound = 0;
    return array;
}

int32_t callLibrary(MibProc proc, RecordImage &image, const QString &path)
{
    SAFEARRAY tree = describe(image.tree.data(), sizeof(::MibTree));
    SAFEARRAY attribute = describe(image.attribute.data(), sizeof(::MibAttribute));
    SAFEARRAY range = describe(image.range.data(), sizeof(::MibRange));
    SAFEARRAY list = describe(image.list.data(), sizeof(::MibList));
    SAFEARRAY *t = &tree;
    SAFEARRAY *a = &attribute;
    SAFEARRAY *r = &range;
    SAFEARRAY *l = &list;
    const QByteArray name = QFile::encodeName(path);
    return proc(&t, &a, &r, &l, name.constData());
}

int imageLimit(const AppState &state)
{
    return qBound(-1, static_cast<int>(state.ObjectLimit), SlotCount - 1);
}

} // namespace

void setMibLibraryPath(const QString &fileName)
{
    Binding &b = binding();
    b.fileName = fileName;
    b.library.reset();
    b.create = nullptr;
    b.analysis = nullptr;
}

BridgeResult createMibFile(AppState &state, const QString &path)
{
    try {
        const MibProc proc = bind(&Binding::create, "MIBCreateProc");
        if (proc == nullptr)
            return BridgeResult::Unavailable;
        const int limit = imageLimit(state);
        auto image = std::make_unique<RecordImage>();
        buildRecordImage(state.tables, limit, *image);
        const int32_t result = callLibrary(proc, *image, path);
        // What the library saw is what the tables show from now on.
        roundTripTexts(state.tables, limit);
        return result == 0 ? BridgeResult::Success : BridgeResult::Failure;
    } catch (const std::exception &) {
        return BridgeResult::Failure;
    }
}

BridgeResult loadMibFile(AppState &state, const QString &path)
{
    try {
        // Whatever error.log holds afterwards was written by this read.
        QFile::remove(QStringLiteral("error.log"));
        const MibProc proc = bind(&Binding::analysis, "MIBAnalysisProc");
        if (proc == nullptr)
            return BridgeResult::Unavailable;
        const int limit = imageLimit(state);
        auto image = std::make_unique<RecordImage>();
        buildRecordImage(state.tables, limit, *image);
        if (callLibrary(proc, *image, path) != 0)
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
