#include "tables.h"

#include "safearray.h"

#include <clocale>
#include <cstddef>
#include <cstring>

namespace korvel::mib {

Tables WriteTables;
Tables ReadTables;
int ReadTreeCount = 0;
int ReadAttributeCount = 0;

namespace {

bool validArray(SAFEARRAY **array, unsigned recordSize)
{
    return array != nullptr && *array != nullptr && (*array)->cDims == 1
        && (*array)->cbElements == recordSize && (*array)->pvData != nullptr;
}

// The records from `first` to `end` - 1 that cross: those between the
// array's lower bound and its upper bound (the upper bound's own element
// never crosses) that are also records 0 to RecordCount - 1. Clamped before
// any loop, so that the bounds of a hostile descriptor cost nothing.
bool recordsWithin(SAFEARRAY *array, int32_t &first, int32_t &end)
{
    int32_t lower = 0;
    int32_t upper = -1;
    if (SafeArrayGetLBound(array, 1, &lower) != S_OK || SafeArrayGetUBound(array, 1, &upper) != S_OK)
        return false;
    first = lower < 0 ? 0 : lower;
    end = upper > RecordCount ? RecordCount : upper;
    return first < end;
}

// The user's default locale is set before each copy; it decides the
// character classes the tokenizer uses on later reads. Records the caller's
// bounds do not reach are free, not left over from an earlier call: only
// they are cleared, not the whole table that the copy fills anyway.
template <typename Record>
void copyTableIn(Record (&records)[RecordCount], SAFEARRAY *array)
{
    std::setlocale(LC_ALL, "");
    const bool locked = SafeArrayLock(array) == S_OK;
    int32_t first = 0;
    int32_t end = 0;
    if (!locked || !recordsWithin(array, first, end))
        first = end = 0;
    std::memset(records, 0, sizeof(Record) * static_cast<std::size_t>(first));
    for (int32_t i = first; i < end; ++i) {
        if (SafeArrayGetElement(array, &i, &records[i]) != S_OK)
            std::memset(&records[i], 0, sizeof(Record));
    }
    std::memset(records + end, 0, sizeof(Record) * static_cast<std::size_t>(RecordCount - end));
    if (locked)
        SafeArrayUnlock(array);
}

template <typename Record>
void copyTableOut(const Record (&records)[RecordCount], SAFEARRAY *array)
{
    std::setlocale(LC_ALL, "");
    if (SafeArrayLock(array) != S_OK)
        return;
    int32_t first = 0;
    int32_t end = 0;
    if (recordsWithin(array, first, end)) {
        for (int32_t i = first; i < end; ++i)
            SafeArrayPutElement(array, &i, &records[i]);
    }
    SafeArrayUnlock(array);
}

} // namespace

bool validArrays(SAFEARRAY **tree, SAFEARRAY **attribute, SAFEARRAY **range, SAFEARRAY **list)
{
    return validArray(tree, sizeof(MibTree)) && validArray(attribute, sizeof(MibAttribute))
        && validArray(range, sizeof(MibRange)) && validArray(list, sizeof(MibList));
}

void copyIn(Tables &tables, SAFEARRAY *tree, SAFEARRAY *attribute, SAFEARRAY *range, SAFEARRAY *list)
{
    copyTableIn(tables.tree, tree);
    copyTableIn(tables.attribute, attribute);
    copyTableIn(tables.range, range);
    copyTableIn(tables.list, list);
}

void copyOut(const Tables &tables, SAFEARRAY *tree, SAFEARRAY *attribute, SAFEARRAY *range,
             SAFEARRAY *list)
{
    copyTableOut(tables.tree, tree);
    copyTableOut(tables.attribute, attribute);
    copyTableOut(tables.range, range);
    copyTableOut(tables.list, list);
}

} // namespace korvel::mib
