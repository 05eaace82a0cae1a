/*
 * A stand-in for libkorvel with MIBAnalysisProc only, so the load bridge's
 * success path and its handling of a missing export can be tested on their
 * own. A path ending in "good.mib" reads as a fixed design; any other path
 * fails after scribbling over the arrays, which the bridge must ignore.
 */
#include "korvel_mib.h"

#include <string.h>

KORVEL_MIB_EXPORT int32_t KORVEL_MIB_CALL MIBAnalysisProc(SAFEARRAY **tree, SAFEARRAY **attribute,
                                                          SAFEARRAY **range, SAFEARRAY **list,
                                                          const char *path)
{
    MibTree *t = (MibTree *)(*tree)->pvData;
    MibAttribute *a = (MibAttribute *)(*attribute)->pvData;
    MibRange *r = (MibRange *)(*range)->pvData;
    MibList *l = (MibList *)(*list)->pvData;

    const size_t length = strlen(path);
    if (length < 8 || strcmp(path + length - 8, "good.mib") != 0) {
        memset(t, 'A', 10 * sizeof *t);
        return -1;
    }
    memset(t, 0, KORVEL_MIB_RECORDS * sizeof *t);
    memset(a, 0, KORVEL_MIB_RECORDS * sizeof *a);
    memset(r, 0, KORVEL_MIB_RECORDS * sizeof *r);
    memset(l, 0, KORVEL_MIB_RECORDS * sizeof *l);

    /* Lengths as the library gives them: in bytes. */
    strcpy(t[0].Name, "\x83\x7c\x81\x5b\x83\x67"); /* ポート */
    t[0].NameLength = 6;
    t[0].ObjectId = 1;
    t[0].Parent = -1;
    t[0].Kind = 1;
    t[0].InUse = 1;
    memset(t[1].Name, 0xB1, sizeof t[1].Name); /* half-width ｱ, no zero byte */
    t[1].NameLength = 512;
    t[1].ObjectId = 2;
    t[1].Parent = 0;
    t[1].Kind = 4;
    t[1].InUse = 1;
    a[0].Owner = 1;
    a[0].Syntax = 6;
    a[0].Access = 2;
    strcpy(a[0].Description, "line one\n\x8f\xf3\x91\xd4"); /* 状態 */
    a[0].DescriptionLength = 13;
    a[0].InUse = 1;
    a[1].Owner = 7; /* a free record keeps its numbers */
    return 0;
}
