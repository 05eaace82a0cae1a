#include "reader.h"

namespace korvel::mib {

const char FileCheckConvertOpenMessage[] = "FileCheckConvert: %s ファイルがオープンできない\n";
const char FileCheckConvert2OpenMessage[] = "FileCheckConvert2: %s ファイルがオープンできない\n";
const char TokenAnalysisOpenMessage[] = "Token_Analysis: %s ファイルがオープンできない\n";

// The log holds only the last message of the last failed read: it is
// replaced, not appended to.
void WriteErrorLog(const char *format, const char *name)
{
    std::FILE *log = std::fopen("./error.log", "w");
    if (log == nullptr)
        return;
    std::fprintf(log, format, name);
    std::fclose(log);
}

} // namespace korvel::mib
