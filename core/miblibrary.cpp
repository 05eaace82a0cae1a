#include "miblibrary.h"

#include "programfiles.h"

#include <QCoreApplication>
#include <QLibrary>

namespace korvel {

namespace {

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

template <typename Proc>
int32_t callWithImage(Proc proc, RecordImage &image, const QByteArray &path)
{
    SAFEARRAY tree = describe(image.tree.data(), sizeof(::MibTree));
    SAFEARRAY attribute = describe(image.attribute.data(), sizeof(::MibAttribute));
    SAFEARRAY range = describe(image.range.data(), sizeof(::MibRange));
    SAFEARRAY list = describe(image.list.data(), sizeof(::MibList));
    SAFEARRAY *t = &tree;
    SAFEARRAY *a = &attribute;
    SAFEARRAY *r = &range;
    SAFEARRAY *l = &list;
    return proc(&t, &a, &r, &l, path.constData());
}

} // namespace

SharedMibLibrary::SharedMibLibrary(const QString &fileName) : m_fileName(fileName) {}

SharedMibLibrary::~SharedMibLibrary() = default;

bool SharedMibLibrary::load()
{
    if (m_library && m_library->isLoaded())
        return true;
    m_library = std::make_unique<QLibrary>();
    if (!m_fileName.isEmpty()) {
        m_library->setFileName(m_fileName);
        return m_library->load();
    }
    // "libkorvel" rather than "korvel": the build names the file libkorvel on
    // every platform, and QLibrary adds no second "lib".
    if (QCoreApplication::instance() != nullptr) {
        for (const QString &candidate : libraryCandidates(QCoreApplication::applicationDirPath())) {
            m_library->setFileName(candidate);
            if (m_library->load())
                return true;
        }
    }
    m_library->setFileName(QStringLiteral("libkorvel"));
    return m_library->load();
}

SharedMibLibrary::Proc SharedMibLibrary::bind(Proc &proc, const char *name)
{
    if (proc == nullptr && load())
        proc = reinterpret_cast<Proc>(m_library->resolve(name));
    return proc;
}

std::optional<int32_t> SharedMibLibrary::create(RecordImage &image, const QByteArray &path)
{
    const Proc proc = bind(m_create, "MIBCreateProc");
    if (proc == nullptr)
        return std::nullopt;
    return callWithImage(proc, image, path);
}

std::optional<int32_t> SharedMibLibrary::analyse(RecordImage &image, const QByteArray &path)
{
    const Proc proc = bind(m_analysis, "MIBAnalysisProc");
    if (proc == nullptr)
        return std::nullopt;
    return callWithImage(proc, image, path);
}

} // namespace korvel
