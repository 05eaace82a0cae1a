// Feeds arbitrary bytes to the module-information reader as a side file.
//
// Besides the sanitizers, each run checks what must hold whatever the file
// says: a file that is not used gives exactly the defaults; one that is read
// gives information that, written again, reads back the same.
#include "appstate.h"
#include "moduleinfo.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace korvel;

namespace {

std::unique_ptr<AppState> Design;

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

bool writeBytes(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!Design)
        Design = std::make_unique<AppState>();
    const QString path = QDir::currentPath() + QStringLiteral("/input.mdi");
    if (!writeBytes(path, data, size))
        return 0;
    ModuleInfo info;
    const ModuleInfoStatus status = readModuleInfo(*Design, path, info);
    if (status != ModuleInfoStatus::Read) {
        ModuleInfo defaults = defaultModuleInfo(*Design);
        // LAST-UPDATED of the defaults is the time of writing: left open.
        check(info == defaults, "an unused side file gives the defaults");
        return 0;
    }
    const QByteArray image = moduleInfoImage(info);
    check(writeBytes(path, reinterpret_cast<const uint8_t *>(image.constData()), size_t(image.size())),
          "the image can be written");
    ModuleInfo again;
    check(readModuleInfo(*Design, path, again) == ModuleInfoStatus::Read, "a written side file reads");
    check(again == info, "a written side file reads back the same");
    return 0;
}
