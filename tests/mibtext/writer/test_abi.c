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

/* The design and a copy taken before any call, to show what a call wrote.
 * Element 1000 lies beyond the records that cross: a pattern that would be
 * written as an object if it were read, and shows any write. */
static struct Tables {
    MibTree tree[Slots];
    MibAttribute attribute[Slots];
    MibRange range[Slots];
    MibList list[Slots];
} design, before;

static const MibTree Sample = {"sample", 6, 1, -1, 1, 1}, Element1000 = {"element1000", 11, 2, -1, 1, 1};

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

/* Calls `proc`, first with each kind of bad array (each refused with -1
 * before anything is read or written), then with good ones; returns what
 * that last call returned. */
static int32_t callWith(MibProc proc, const char *path)
{
    SAFEARRAY t = describe(design.tree, sizeof(MibTree)), a = describe(design.attribute, sizeof(MibAttribute)),
              r = describe(design.range, sizeof(MibRange)), l = describe(design.list, sizeof(MibList));
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
    CHECK((access(path, F_OK) == 0) == existed && memcmp(&design, &before, sizeof design) == 0);

    result = proc(&pt, &pa, &pr, &pl, path);
    CHECK(t.cLocks == 0 && a.cLocks == 0 && r.cLocks == 0 && l.cLocks == 0);
    return result;
}

int main(void)
{
    char folder[] = "/tmp/korvel-abi-XXXXXX", path[256], text[4096] = "", command[300];
    void *library;
    MibProc create, analysis;
    FILE *file;

    if (mkdtemp(folder) == NULL || chdir(folder) != 0 || (library = dlopen(KORVEL_LIBRARY, RTLD_NOW)) == NULL) {
        fprintf(stderr, "cannot set up: %s\n", dlerror());
        return 1;
    }
    snprintf(path, sizeof path, "%s/abi.mib", folder);
    *(void **)(&create) = dlsym(library, "MIBCreateProc");
    *(void **)(&analysis) = dlsym(library, "MIBAnalysisProc");
    if (create == NULL || analysis == NULL) {
        fprintf(stderr, "an export is missing\n");
        return 1;
    }
    design.tree[0] = Sample;
    memset(&design.attribute[1000], 0xA5, sizeof design.attribute[1000]);
    memset(&design.range[1000], 0xA5, sizeof design.range[1000]);
    memset(&design.list[1000], 0xA5, sizeof design.list[1000]);
    design.tree[1000] = Element1000;
    before = design;

    /* Creation only reads the arrays, and never element 1000. */
    CHECK(callWith(create, path) == 0);
    CHECK(memcmp(&design, &before, sizeof design) == 0);
    if ((file = fopen(path, "rb")) != NULL) {
        text[fread(text, 1, sizeof text - 1, file)] = '\0';
        fclose(file);
    }
    CHECK(strncmp(text, "-- This file is maked automatically by Korvel.\r\n", 48) == 0);
    CHECK(strstr(text, "sample") != NULL && strstr(text, "element1000") == NULL);

    /* A failed read leaves the arrays as they were; a read of the module
     * just written fills records 0 to 999 and leaves element 1000 alone. */
    CHECK(callWith(analysis, "missing.mib") == -1);
    CHECK(memcmp(&design, &before, sizeof design) == 0);
    CHECK(callWith(analysis, path) == 0);
    CHECK(memcmp(&design.tree[1000], &before.tree[1000], sizeof(MibTree)) == 0
          && memcmp(&design.list[1000], &before.list[1000], sizeof(MibList)) == 0);
    CHECK(strcmp(design.tree[0].Name, "sample") == 0 && design.tree[1].InUse == 0);

    dlclose(library);
    snprintf(command, sizeof command, "rm -rf '%s'", folder);
    if (chdir("/") != 0 || system(command) != 0)
        fprintf(stderr, "could not remove %s\n", folder);
    return failures == 0 ? 0 : 1;
}
