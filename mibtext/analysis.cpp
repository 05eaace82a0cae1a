#include "korvel_mib.h"
#include "reader.h"
#include "tables.h"

#include <cstring>

namespace korvel::mib {
namespace {

const char CantOpenMessage[] = "can't open %s\n";
// The one failure of the analysis itself that the user must hear of.
const char TooManyObjectsMessage[] = "ParseMibTokens: %s オブジェクトが多すぎる（1000個まで）\n";

char InputName[PathBufferSize];
char FirstWorkName[PathBufferSize];
char SecondWorkName[PathBufferSize];
char TokenName[PathBufferSize];
// The input is copied in blocks of this size.
unsigned char CopyBuffer[64 * 1024];

// Forms the four names; false when the longest would not fit its buffer.
bool formNames(const char *path)
{
    const std::size_t length = std::strlen(path);
    if (length == 0 || length + sizeof "_tmp1_token" > PathBufferSize)
        return false;
    std::memcpy(InputName, path, length + 1);
    std::memcpy(FirstWorkName, path, length);
    std::memcpy(FirstWorkName + length, "_tmp1", sizeof "_tmp1");
    std::memcpy(SecondWorkName, path, length);
    std::memcpy(SecondWorkName + length, "_tmp2", sizeof "_tmp2");
    std::memcpy(TokenName, path, length);
    std::memcpy(TokenName + length, "_tmp1_token", sizeof "_tmp1_token");
    return true;
}

// Copies the input, bytes unchanged, into both working files.
bool copyInput(std::FILE *in, std::FILE *first, std::FILE *second)
{
    for (;;) {
        const std::size_t got = std::fread(CopyBuffer, 1, sizeof CopyBuffer, in);
        if (got == 0)
            return std::ferror(in) == 0;
        if (std::fwrite(CopyBuffer, 1, got, first) != got || std::fwrite(CopyBuffer, 1, got, second) != got)
            return false;
    }
}

// Opens both working files and fills them; all files are closed again.
bool makeWorkingFiles()
{
    std::FILE *in = std::fopen(InputName, "rb");
    if (in == nullptr) {
        std::printf(CantOpenMessage, InputName);
        return false;
    }
    std::FILE *first = std::fopen(FirstWorkName, "wb");
    if (first == nullptr) {
        std::printf(CantOpenMessage, FirstWorkName);
        std::fclose(in);
        return false;
    }
    std::FILE *second = std::fopen(SecondWorkName, "wb");
    if (second == nullptr) {
        std::printf(CantOpenMessage, SecondWorkName);
        std::fclose(first);
        std::fclose(in);
        return false;
    }
    bool copied = copyInput(in, first, second);
    copied = std::fclose(second) == 0 && copied;
    copied = std::fclose(first) == 0 && copied;
    std::fclose(in);
    return copied;
}

int32_t analyse(SAFEARRAY **tree, SAFEARRAY **attribute, SAFEARRAY **range, SAFEARRAY **list,
                const char *path)
{
    if (path == nullptr || !validArrays(tree, attribute, range, list))
        return -1;
    if (!formNames(path)) {
        std::printf(CantOpenMessage, path);
        return -1;
    }
    if (!makeWorkingFiles())
        return -1;
    if (FileCheckConvert(FirstWorkName, SecondWorkName) != 0
        || FileCheckConvert2(SecondWorkName, FirstWorkName) != 0 || Token_Analysis(FirstWorkName) != 0)
        return -1;
    std::FILE *tokens = std::fopen(TokenName, "rb");
    if (tokens == nullptr) {
        std::printf(CantOpenMessage, TokenName);
        return -1;
    }
    bufferTokenFile(tokens);
    // The reader fills tree and attribute records in order from slot 0 and
    // never writes a range or list record, so only the records the last read
    // counted can be other than zero.
    std::memset(ReadTables.tree, 0, sizeof(MibTree) * static_cast<std::size_t>(ReadTreeCount));
    std::memset(ReadTables.attribute, 0, sizeof(MibAttribute) * static_cast<std::size_t>(ReadAttributeCount));
    ReadTreeCount = 0;
    ReadAttributeCount = 0;
    const int parsed = ParseMibTokens(tokens);
    std::fclose(tokens);
    if (parsed != ParseDone) {
        if (parsed == ParseTooManyObjects)
            WriteErrorLog(TooManyObjectsMessage, InputName);
        return -1;
    }
    copyOut(ReadTables, *tree, *attribute, *range, *list);
    std::remove(TokenName);
    std::remove(FirstWorkName);
    std::remove(SecondWorkName);
    return 0;
}

} // namespace
} // namespace korvel::mib

extern "C" KORVEL_MIB_EXPORT int32_t KORVEL_MIB_CALL MIBAnalysisProc(SAFEARRAY **tree, SAFEARRAY **attribute,
                                                                     SAFEARRAY **range, SAFEARRAY **list,
                                                                     const char *path)
{
    try {
        return korvel::mib::analyse(tree, attribute, range, list, path);
    } catch (...) {
        return -1;
    }
}
