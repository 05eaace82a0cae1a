// Feeds arbitrary file content to MIBAnalysisProc.
//
// The input is written as the module file in a temporary folder of its own
// and read into four arrays of 1001 records filled with a marker byte.
// Besides the sanitizers, each run checks what must hold whatever the file
// says: the result is 0 or -1; element 1000 is never touched; a failure
// leaves every element as it was; a success leaves no working file and gives
// records whose names and descriptions end within their fields, whose
// lengths match them, whose parents come before them, whose kinds are known
// and whose range and list records are all zero.
#include "korvel_mib.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int Slots = 1001;
constexpr int Records = 1000;
constexpr unsigned char Marker = 0xA5;

MibTree Tree[Slots];
MibAttribute Attribute[Slots];
MibRange Range[Slots];
MibList List[Slots];
std::string Folder;
std::string ModulePath;

template <typename Record>
SAFEARRAY describe(Record *records)
{
    SAFEARRAY array;
    std::memset(&array, 0, sizeof array);
    array.cDims = 1;
    array.cbElements = sizeof(Record);
    array.pvData = records;
    array.rgsabound[0].cElements = Slots;
    return array;
}

// Blocks as large as the largest array, to compare whole arrays at once.
unsigned char MarkedBlock[sizeof Attribute];
unsigned char ZeroBlock[sizeof Attribute];
static_assert(sizeof Attribute >= sizeof Tree && sizeof Attribute >= sizeof List && sizeof Attribute >= sizeof Range);

bool marked(const void *data, size_t size)
{
    return std::memcmp(data, MarkedBlock, size) == 0;
}

bool zero(const void *data, size_t size)
{
    return std::memcmp(data, ZeroBlock, size) == 0;
}

bool textFits(const char *field, int32_t length)
{
    const void *end = std::memchr(field, '\0', KORVEL_MIB_NAME_BYTES);
    return end != nullptr && static_cast<const char *>(end) - field == length;
}

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void checkRead()
{
    int objects = 0;
    for (int slot = 0; slot < Records; ++slot) {
        const MibTree &record = Tree[slot];
        if (record.InUse == 0) {
            check(zero(&record, sizeof record), "a free tree record is zero");
            continue;
        }
        check(slot == objects++, "objects fill the first slots");
        check(textFits(record.Name, record.NameLength), "a name ends in its field");
        check(record.Parent >= -1 && record.Parent < slot, "a parent comes before its child");
        check(record.Kind >= 1 && record.Kind <= 4, "the kind is known");
    }
    for (int slot = 0; slot < Records; ++slot) {
        const MibAttribute &attribute = Attribute[slot];
        if (attribute.InUse == 0)
            continue;
        check(attribute.Owner >= 0 && attribute.Owner < objects && Tree[attribute.Owner].Kind != 1,
              "an attribute belongs to an object");
        check(textFits(attribute.Description, attribute.DescriptionLength), "a description ends in its field");
        check(attribute.Constraint == 0 && attribute.KeyOrder == 0, "no constraint or key is read");
    }
    check(zero(Range, sizeof(MibRange) * Records) && zero(List, sizeof(MibList) * Records),
          "range and list records are zero");
    for (const char *suffix : {"_tmp1", "_tmp2", "_tmp1_token"})
        check(access((ModulePath + suffix).c_str(), F_OK) != 0, "no working file is left");
}

void removeFolder()
{
    for (const char *suffix : {"", "_tmp1", "_tmp2", "_tmp1_token"})
        std::remove((ModulePath + suffix).c_str());
    rmdir(Folder.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char pattern[] = "/tmp/korvel-fuzz-analysis-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    Folder = pattern;
    std::memset(MarkedBlock, Marker, sizeof MarkedBlock);
    ModulePath = Folder + "/fuzz.mib";
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::FILE *file = std::fopen(ModulePath.c_str(), "wb");
    if (file == nullptr)
        return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
        return 0;

    std::memset(Tree, Marker, sizeof Tree);
    std::memset(Attribute, Marker, sizeof Attribute);
    std::memset(Range, Marker, sizeof Range);
    std::memset(List, Marker, sizeof List);
    SAFEARRAY tree = describe(Tree);
    SAFEARRAY attribute = describe(Attribute);
    SAFEARRAY range = describe(Range);
    SAFEARRAY list = describe(List);
    SAFEARRAY *treeRef = &tree;
    SAFEARRAY *attributeRef = &attribute;
    SAFEARRAY *rangeRef = &range;
    SAFEARRAY *listRef = &list;
    const int32_t result = MIBAnalysisProc(&treeRef, &attributeRef, &rangeRef, &listRef, ModulePath.c_str());

    check(result == 0 || result == -1, "the result is 0 or -1");
    check(marked(&Tree[Records], sizeof(MibTree)) && marked(&Attribute[Records], sizeof(MibAttribute))
              && marked(&Range[Records], sizeof(MibRange)) && marked(&List[Records], sizeof(MibList)),
          "element 1000 is never touched");
    if (result == 0)
        checkRead();
    else
        check(marked(Tree, sizeof Tree) && marked(Attribute, sizeof Attribute) && marked(Range, sizeof Range)
                  && marked(List, sizeof List),
              "a failed read leaves the arrays as they were");
    return 0;
}
