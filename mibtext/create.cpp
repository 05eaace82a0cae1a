#include "korvel_mib.h"
#include "tables.h"
#include "writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvel::mib {
namespace {

constexpr std::size_t PathBufferSize = 1024;
// The module is written to the target's name with ".tmpN" appended (N from 0
// to 99, the first name that does not exist yet) and replaces the target only
// once complete, so a failed creation leaves the old file as it was.
constexpr int TemporaryNames = 100;
constexpr std::size_t TemporarySuffixRoom = sizeof(".tmp99");

char PathBuffer[PathBufferSize];
char TemporaryBuffer[PathBufferSize];
std::size_t PathLength = 0;

// Copies `path` into PathBuffer; false when it is empty or leaves no room for
// the temporary name's suffix.
bool takePath(const char *path)
{
    for (std::size_t at = 0; at + TemporarySuffixRoom <= PathBufferSize; ++at) {
        PathBuffer[at] = path[at];
        if (path[at] == '\0') {
            PathLength = at;
            return at > 0;
        }
    }
    return false;
}

std::FILE *createTemporary()
{
    std::memcpy(TemporaryBuffer, PathBuffer, PathLength);
    for (int number = 0; number < TemporaryNames; ++number) {
        std::snprintf(TemporaryBuffer + PathLength, TemporarySuffixRoom, ".tmp%d", number);
        errno = 0;
        if (std::FILE *file = std::fopen(TemporaryBuffer, "wbx"))
            return file;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

bool replaceTarget()
{
#ifdef _WIN32
    return MoveFileExA(TemporaryBuffer, PathBuffer, MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(TemporaryBuffer, PathBuffer) == 0;
#endif
}

int32_t createModule(SAFEARRAY **tree, SAFEARRAY **attribute, SAFEARRAY **range, SAFEARRAY **list,
                     const char *path)
{
    if (path == nullptr || !validArrays(tree, attribute, range, list))
        return -1;
    if (!takePath(path)) {
        std::printf("can't open %s\n", path);
        return -1;
    }
    std::FILE *file = createTemporary();
    if (file == nullptr) {
        std::printf("can't open %s\n", path);
        return -1;
    }
    // The writer buffers in static storage; stdio need not buffer again.
    std::setvbuf(file, nullptr, _IONBF, 0);

    copyIn(WriteTables, *tree, *attribute, *range, *list);

    const int written = WriteMibModule(file);
    const bool closed = std::fclose(file) == 0;
    if (written >= 0 && closed && replaceTarget())
        return 0;
    std::remove(TemporaryBuffer);
    return -1;
}

} // namespace
} // namespace korvel::mib

extern "C" KORVEL_MIB_EXPORT int32_t KORVEL_MIB_CALL MIBCreateProc(SAFEARRAY **tree, SAFEARRAY **attribute,
                                                                   SAFEARRAY **range, SAFEARRAY **list,
                                                                   const char *path)
{
    try {
        return korvel::mib::createModule(tree, attribute, range, list, path);
    } catch (...) {
        return -1;
    }
}
