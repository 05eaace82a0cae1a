// The binding of libkorvel's two exports, as the bridges (mibbridge.h) see
// it. The program hands its bridges a SharedMibLibrary, which binds the
// library file by name; anything else that speaks MIBCreateProc and
// MIBAnalysisProc over a record image can stand in for it.
#pragma once

#include "mibimage.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QLibrary;

namespace korvel {

class MibLibrary
{
public:
    virtual ~MibLibrary() = default;

    // MIBCreateProc and MIBAnalysisProc on `image` with the file `path` (in
    // the platform's file name encoding): the export's result, or nothing
    // when the library or the export cannot be bound (nothing was called).
    virtual std::optional<int32_t> create(RecordImage &image, const QByteArray &path) = 0;
    virtual std::optional<int32_t> analyse(RecordImage &image, const QByteArray &path) = 0;
};

// libkorvel loaded with QLibrary, each export resolved at its first call and
// kept as long as this object.
class SharedMibLibrary : public MibLibrary
{
public:
    // Empty `fileName`: libkorvel in the program's own folder, then in the
    // installed library folder, then wherever the system's library search
    // finds it.
    explicit SharedMibLibrary(const QString &fileName = QString());
    ~SharedMibLibrary() override;
    SharedMibLibrary(const SharedMibLibrary &) = delete;
    SharedMibLibrary &operator=(const SharedMibLibrary &) = delete;

    std::optional<int32_t> create(RecordImage &image, const QByteArray &path) override;
    std::optional<int32_t> analyse(RecordImage &image, const QByteArray &path) override;

private:
    using Proc = int32_t(KORVEL_MIB_CALL *)(SAFEARRAY **, SAFEARRAY **, SAFEARRAY **, SAFEARRAY **,
                                            const char *);
    bool load();
    Proc bind(Proc &proc, const char *name);

    QString m_fileName;
    std::unique_ptr<QLibrary> m_library;
    Proc m_create = nullptr;
    Proc m_analysis = nullptr;
};

} // namespace korvel
