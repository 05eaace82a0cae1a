/*
 * The binary interface as shipped: a C program that includes nothing of the
 * project but the public header, loads the built library, looks both exports
 * up by name and calls them. Exits 0 when every check holds.
 */
#define _POSIX_C_SOURCE 200809L

#include "korvel_mib.h"

#include <dlfcn.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

_Static_assert(offsetof(MibTree, NameLength) == 512, "MibTree.NameLength");
_Static_assert(offsetof(MibTree, ObjectId) == 516, "MibTree.ObjectId");
_Static_assert(offsetof(MibTree, InUse) == 528, "MibTree.InUse");
_Static_assert(offsetof(MibAttribute, Description) == 16, "MibAttribute.Description");
_Static_assert(offsetof(MibAttribute, KeyOrder) == 532, "MibAttribute.KeyOrder");
_Static_assert(offsetof(MibRange, Maximum) == 40, "MibRange.Maximum");
_Static_assert(offsetof(MibRange, InUse) == 76, "MibRange.InUse");
_Static_assert(offsetof(MibList, ItemValue) == 520, "MibList.ItemValue");

typedef int32_t(KORVEL_MIB_CALL *MibProc)(SAFEARRAY **, SAFEARRAY **, SAFEARRAY **, SAFEARRAY **, const char *);

enum { Slots = 1001 };

static int failures = 0;

#define CHECK(condition)                                                              \
    do {                                                                              \
        if (!(condition)) {                                                           \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                               \
        }                                                                             \
    } while (0)

static MibTree tree[Slots];
static MibAttribute attribute[Slots];
static MibRange range[Slots];
static MibList list[Slots];
static MibTree treeBefore[Slots];
static MibAttribute attributeBefore[Slots];
static MibRange rangeBefore[Slots];
static MibList listBefore[Slots];

static SAFEARRAY describe(void *data, uint32_t size)
{
    SAFEARRAY array;
    memset(&array, 0, sizeof array);
    array.cDims = 1;
    array.cbElements = size;
    array.pvData = data;
    array.rgsabound[0].cElements = Slots;
    array.rgsabound[0].lLbound = 0;
    return array;
}

static void buildDesign(void)
{
    memset(tree, 0, sizeof tree);
    memset(attribute, 0, sizeof attribute);
    memset(range, 0, sizeof range);
    memset(list, 0, sizeof list);
    strcpy(tree[0].Name, "sample");
    tree[0].ObjectId = 1;
    tree[0].Parent = -1;
    tree[0].Kind = 1;
    tree[0].InUse = 1;
    strcpy(tree[1].Name, "sysLabel");
    tree[1].ObjectId = 1;
    tree[1].Parent = 0;
    tree[1].Kind = 4;
    tree[1].InUse = 1;
    attribute[0].Owner = 1;
    attribute[0].Syntax = 2;
    attribute[0].Constraint = 1;
    attribute[0].Access = 2;
    strcpy(attribute[0].Description, "label");
    attribute[0].InUse = 1;
    range[0].Owner = 1;
    strcpy(range[0].Minimum, "0");
    strcpy(range[0].Maximum, "9");
    range[0].InUse = 1;

    /* Element 1000 is beyond the records that cross: a pattern that would be
     * written as an object if it were read, and shows any write. */
    memset(&tree[1000], 0xA5, sizeof tree[1000]);
    strcpy(tree[1000].Name, "element1000");
    tree[1000].ObjectId = 2;
    tree[1000].Parent = -1;
    tree[1000].Kind = 1;
    tree[1000].InUse = 1;
    memset(&attribute[1000], 0xA5, sizeof attribute[1000]);
    memset(&range[1000], 0xA5, sizeof range[1000]);
    memset(&list[1000], 0xA5, sizeof list[1000]);

    memcpy(treeBefore, tree, sizeof tree);
    memcpy(attributeBefore, attribute, sizeof attribute);
    memcpy(rangeBefore, range, sizeof range);
    memcpy(listBefore, list, sizeof list);
}

static int unchanged(int from, int to)
{
    const size_t count = (size_t)(to - from);
    return memcmp(&tree[from], &treeBefore[from], count * sizeof tree[0]) == 0
        && memcmp(&attribute[from], &attributeBefore[from], count * sizeof attribute[0]) == 0
        && memcmp(&range[from], &rangeBefore[from], count * sizeof range[0]) == 0
        && memcmp(&list[from], &listBefore[from], count * sizeof list[0]) == 0;
}

static int32_t callWith(MibProc proc, const char *path)
{
    SAFEARRAY t = describe(tree, sizeof(MibTree));
    SAFEARRAY a = describe(attribute, sizeof(MibAttribute));
    SAFEARRAY r = describe(range, sizeof(MibRange));
    SAFEARRAY l = describe(list, sizeof(MibList));
    SAFEARRAY *pt = &t, *pa = &a, *pr = &r, *pl = &l;
    const int32_t result = proc(&pt, &pa, &pr, &pl, path);
    CHECK(t.cLocks == 0 && a.cLocks == 0 && r.cLocks == 0 && l.cLocks == 0);
    return result;
}

static int fileExists(const char *path)
{
    return access(path, F_OK) == 0;
}

static void checkBadArraysAreRefused(MibProc proc, const char *path)
{
    SAFEARRAY t = describe(tree, sizeof(MibTree));
    SAFEARRAY a = describe(attribute, sizeof(MibAttribute));
    SAFEARRAY r = describe(range, sizeof(MibRange));
    SAFEARRAY l = describe(list, sizeof(MibList));
    SAFEARRAY *pt = &t, *pa = &a, *pr = &r, *pl = &l;
    SAFEARRAY *none = NULL;

    CHECK(proc(NULL, &pa, &pr, &pl, path) == -1);
    CHECK(proc(&pt, &pa, &none, &pl, path) == -1);
    t.cDims = 2;
    CHECK(proc(&pt, &pa, &pr, &pl, path) == -1);
    t.cDims = 0;
    CHECK(proc(&pt, &pa, &pr, &pl, path) == -1);
    t.cDims = 1;
    l.cbElements = sizeof(MibList) - 1;
    CHECK(proc(&pt, &pa, &pr, &pl, path) == -1);
    l.cbElements = sizeof(MibList);
    a.pvData = NULL;
    CHECK(proc(&pt, &pa, &pr, &pl, path) == -1);
    CHECK(t.cLocks == 0 && a.cLocks == 0 && r.cLocks == 0 && l.cLocks == 0);
}

int main(void)
{
    char folder[] = "/tmp/korvel-abi-XXXXXX";
    char path[256];
    char missing[256];
    char buffer[64];
    void *library;
    MibProc create;
    MibProc analysis;
    FILE *file;
    int32_t result;

    if (mkdtemp(folder) == NULL || chdir(folder) != 0) {
        perror("temporary folder");
        return 1;
    }
    snprintf(path, sizeof path, "%s/abi.mib", folder);
    snprintf(missing, sizeof missing, "%s/missing.mib", folder);

    library = dlopen(KORVEL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "cannot load %s: %s\n", KORVEL_LIBRARY, dlerror());
        return 1;
    }
    *(void **)(&create) = dlsym(library, "MIBCreateProc");
    *(void **)(&analysis) = dlsym(library, "MIBAnalysisProc");
    CHECK(create != NULL);
    CHECK(analysis != NULL);
    if (create == NULL || analysis == NULL)
        return 1;

    buildDesign();
    checkBadArraysAreRefused(create, path);
    checkBadArraysAreRefused(analysis, path);
    CHECK(!fileExists(path));
    CHECK(unchanged(0, Slots));

    /* Creation only reads the arrays. */
    CHECK(callWith(create, path) == 0);
    CHECK(unchanged(0, Slots));
    file = fopen(path, "rb");
    CHECK(file != NULL);
    if (file != NULL) {
        memset(buffer, 0, sizeof buffer);
        CHECK(fread(buffer, 1, 47, file) == 47);
        CHECK(strcmp(buffer, "-- This file is maked automatically by Korvel.\r") == 0);
        fclose(file);
    }

    /* A failed read leaves the arrays as they were. */
    CHECK(callWith(analysis, missing) == -1);
    CHECK(unchanged(0, Slots));

    /* A read of the module just written may fill records 0 to 999; element
     * 1000 stays as it was either way. */
    result = callWith(analysis, path);
    CHECK(result == 0 || result == -1);
    CHECK(unchanged(1000, Slots));
    if (result == -1)
        CHECK(unchanged(0, Slots));

    dlclose(library);
    remove(path);
    snprintf(buffer, sizeof buffer, "%s", "error.log");
    remove(buffer);
    {
        const char *suffixes[] = {"_tmp1", "_tmp2", "_tmp1_token"};
        char name[300];
        size_t i;
        for (i = 0; i < sizeof suffixes / sizeof suffixes[0]; ++i) {
            snprintf(name, sizeof name, "%s%s", path, suffixes[i]);
            remove(name);
        }
    }
    if (chdir("/") != 0 || rmdir(folder) != 0)
        fprintf(stderr, "could not remove %s\n", folder);
    if (failures != 0)
        fprintf(stderr, "%d checks failed\n", failures);
    return failures == 0 ? 0 : 1;
}
