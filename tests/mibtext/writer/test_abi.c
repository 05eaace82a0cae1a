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
_Static_assert(offsetof(MibTree, InUse) == 528, "MibTree.InUse");
_Static_assert(offsetof(MibAttribute, Description) == 16, "MibAttribute.Description");
_Static_assert(offsetof(MibAttribute, KeyOrder) == 532, "MibAttribute.KeyOrder");
_Static_assert(offsetof(MibRange, Maximum) == 40, "MibRange.Maximum");
_Static_assert(offsetof(MibList, ItemValue) == 520, "MibList.ItemValue");

typedef int32_t(KORVEL_MIB_CALL *MibProc)(SAFEARRAY **, SAFEARRAY **, SAFEARRAY **, SAFEARRAY **, const char *);

enum { Slots = 1001 };

static int failures = 0;

#define CHECK(condition)                                                                  \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                                   \
        }                                                                                 \
    } while (0)

/* The design and a copy taken before any call, to show what a call wrote. */
static struct Tables {
    MibTree tree[Slots];
    MibAttribute attribute[Slots];
    MibRange range[Slots];
    MibList list[Slots];
} design, before;

static SAFEARRAY describe(void *data, uint32_t size)
{
    SAFEARRAY array;
    memset(&array, 0, sizeof array);
    array.cDims = 1;
    array.cbElements = size;
    array.pvData = data;
    array.rgsabound[0].cElements = Slots;
    return array;
}

static void buildDesign(void)
{
    memset(&design, 0, sizeof design);
    strcpy(design.tree[0].Name, "sample");
    design.tree[0].ObjectId = 1;
    design.tree[0].Parent = -1;
    design.tree[0].Kind = 1;
    design.tree[0].InUse = 1;
    /* Element 1000 is beyond the records that cross: a pattern that would be
     * written as an object if it were read, and shows any write. */
    memset(&design.tree[1000], 0xA5, sizeof design.tree[1000]);
    strcpy(design.tree[1000].Name, "element1000");
    design.tree[1000].ObjectId = 2;
    design.tree[1000].Parent = -1;
    design.tree[1000].Kind = 1;
    design.tree[1000].InUse = 1;
    memset(&design.attribute[1000], 0xA5, sizeof design.attribute[1000]);
    memset(&design.range[1000], 0xA5, sizeof design.range[1000]);
    memset(&design.list[1000], 0xA5, sizeof design.list[1000]);
    before = design;
}

static int unchanged(int from)
{
    return memcmp(&design.tree[from], &before.tree[from], (size_t)(Slots - from) * sizeof(MibTree)) == 0
        && memcmp(&design.attribute[from], &before.attribute[from], (size_t)(Slots - from) * sizeof(MibAttribute)) == 0
        && memcmp(&design.range[from], &before.range[from], (size_t)(Slots - from) * sizeof(MibRange)) == 0
        && memcmp(&design.list[from], &before.list[from], (size_t)(Slots - from) * sizeof(MibList)) == 0;
}

/* Calls `proc`, first with each kind of bad array (each refused with -1
 * before anything is read or written), then with good ones; returns what
 * that last call returned. */
static int32_t callWith(MibProc proc, const char *path)
{
    SAFEARRAY t = describe(design.tree, sizeof(MibTree));
    SAFEARRAY a = describe(design.attribute, sizeof(MibAttribute));
    SAFEARRAY r = describe(design.range, sizeof(MibRange));
    SAFEARRAY l = describe(design.list, sizeof(MibList));
    SAFEARRAY *pt = &t, *pa = &a, *pr = &r, *pl = &l, *none = NULL;
    const int existed = access(path, F_OK) == 0;
    int32_t result;

    CHECK(proc(NULL, &pa, &pr, &pl, path) == -1);
    CHECK(proc(&pt, &pa, &none, &pl, path) == -1);
    CHECK(proc(&pl, &pa, &pr, &pt, path) == -1); /* tree and list swapped */
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
    a.pvData = design.attribute;
    CHECK((access(path, F_OK) == 0) == existed && unchanged(0));

    result = proc(&pt, &pa, &pr, &pl, path);
    CHECK(t.cLocks == 0 && a.cLocks == 0 && r.cLocks == 0 && l.cLocks == 0);
    return result;
}

int main(void)
{
    char folder[] = "/tmp/korvel-abi-XXXXXX";
    char path[256], missing[256], name[300], text[4096];
    const char *leftovers[] = {"", "_tmp1", "_tmp2", "_tmp1_token"};
    void *library;
    MibProc create, analysis;
    FILE *file;
    size_t size = 0, i;
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
    if (create == NULL || analysis == NULL) {
        fprintf(stderr, "an export is missing\n");
        return 1;
    }
    buildDesign();

    /* Creation only reads the arrays, and never element 1000. */
    CHECK(callWith(create, path) == 0);
    CHECK(unchanged(0));
    file = fopen(path, "rb");
    CHECK(file != NULL);
    if (file != NULL) {
        size = fread(text, 1, sizeof text - 1, file);
        text[size] = '\0';
        fclose(file);
    }
    CHECK(strncmp(text, "-- This file is maked automatically by Korvel.\r\n", 48) == 0);
    CHECK(strstr(text, "sample") != NULL && strstr(text, "element1000") == NULL);

    /* A failed read leaves the arrays as they were. */
    CHECK(callWith(analysis, missing) == -1);
    CHECK(unchanged(0));
    /* A read of the module just written may fill records 0 to 999; element
     * 1000 stays as it was either way. */
    result = callWith(analysis, path);
    CHECK(result == 0 || result == -1);
    CHECK(unchanged(result == 0 ? 1000 : 0));

    dlclose(library);
    remove("error.log");
    for (i = 0; i < sizeof leftovers / sizeof leftovers[0]; ++i) {
        snprintf(name, sizeof name, "%s%s", path, leftovers[i]);
        remove(name);
    }
    if (chdir("/") != 0 || rmdir(folder) != 0)
        fprintf(stderr, "could not remove %s\n", folder);
    if (failures != 0)
        fprintf(stderr, "%d checks failed\n", failures);
    return failures == 0 ? 0 : 1;
}
