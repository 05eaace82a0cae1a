// The library's static tables and the copying of the caller's arrays.
//
// MIBCreateProc copies the caller's four arrays into WriteTables and runs the
// writer over them; MIBAnalysisProc lets the reader fill ReadTables and copies
// them out to the caller only on success. Both sets live as long as the
// library is loaded: nothing is allocated per call.
#pragma once

#include "korvel_mib.h"

namespace korvel::mib {

constexpr int RecordCount = KORVEL_MIB_RECORDS;

struct Tables {
    MibTree tree[RecordCount];
    MibAttribute attribute[RecordCount];
    MibRange range[RecordCount];
    MibList list[RecordCount];
};

extern Tables WriteTables;
extern Tables ReadTables;
// Records of ReadTables.tree and ReadTables.attribute filled by the reader so far.
extern int ReadTreeCount;
extern int ReadAttributeCount;

// True when all four references point at one-dimensional arrays whose element
// size is that of their record. Anything else is refused before it is read.
bool validArrays(SAFEARRAY **tree, SAFEARRAY **attribute, SAFEARRAY **range, SAFEARRAY **list);

// Copies elements lBound .. uBound - 1 of the caller's arrays into `tables`
// (element i to record i; indices outside 0..999 have no record and are
// skipped) and clears every record they do not reach. The element at uBound
// is never touched.
void copyIn(Tables &tables, SAFEARRAY *tree, SAFEARRAY *attribute, SAFEARRAY *range, SAFEARRAY *list);

// The reverse of copyIn: records into elements lBound .. uBound - 1.
void copyOut(const Tables &tables, SAFEARRAY *tree, SAFEARRAY *attribute, SAFEARRAY *range,
             SAFEARRAY *list);

} // namespace korvel::mib
