/*
 * korvel_mib.h - the binary interface of libkorvel.
 *
 * libkorvel turns the four definition tables of a Korvel design into the text
 * of an SNMP MIB module (MIBCreateProc) and reads such a text back into the
 * tables (MIBAnalysisProc). The tables cross as one-dimensional arrays of the
 * fixed-size records below. Text fields hold code page 932 bytes followed by a
 * zero byte; integers are 32-bit signed, little-endian.
 *
 * This header is plain C and can be included on its own.
 */
#ifndef KORVEL_MIB_H
#define KORVEL_MIB_H

#include <stdint.h>

#ifdef _WIN32
#include <oaidl.h> /* SAFEARRAY, SAFEARRAYBOUND */
#endif

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define KORVEL_MIB_CALL __stdcall
#else
#define KORVEL_MIB_CALL
#endif

#if defined(_WIN32)
#define KORVEL_MIB_EXPORT __declspec(dllexport)
#else
#define KORVEL_MIB_EXPORT __attribute__((visibility("default")))
#endif

#define KORVEL_MIB_RECORDS 1000 /* records 0 to 999 cross the boundary */
#define KORVEL_MIB_NAME_BYTES 512
#define KORVEL_MIB_BOUND_BYTES 32

typedef struct MibTree {
    char Name[KORVEL_MIB_NAME_BYTES];
    int32_t NameLength;
    int32_t ObjectId;
    int32_t Parent;
    int32_t Kind;
    int32_t InUse;
} MibTree;

typedef struct MibAttribute {
    int32_t Owner;
    int32_t Syntax;
    int32_t Constraint;
    int32_t Access;
    char Description[KORVEL_MIB_NAME_BYTES];
    int32_t DescriptionLength;
    int32_t KeyOrder;
    int32_t InUse;
} MibAttribute;

typedef struct MibRange {
    int32_t Owner;
    char Minimum[KORVEL_MIB_BOUND_BYTES];
    int32_t MinimumLength;
    char Maximum[KORVEL_MIB_BOUND_BYTES];
    int32_t MaximumLength;
    int32_t InUse;
} MibRange;

typedef struct MibList {
    int32_t Owner;
    char ItemName[KORVEL_MIB_NAME_BYTES];
    int32_t ItemNameLength;
    int32_t ItemValue;
    int32_t InUse;
} MibList;

#ifdef __cplusplus
static_assert(sizeof(MibTree) == 532, "MibTree record image is 532 bytes");
static_assert(sizeof(MibAttribute) == 540, "MibAttribute record image is 540 bytes");
static_assert(sizeof(MibRange) == 80, "MibRange record image is 80 bytes");
static_assert(sizeof(MibList) == 528, "MibList record image is 528 bytes");
#else
_Static_assert(sizeof(MibTree) == 532, "MibTree record image is 532 bytes");
_Static_assert(sizeof(MibAttribute) == 540, "MibAttribute record image is 540 bytes");
_Static_assert(sizeof(MibRange) == 80, "MibRange record image is 80 bytes");
_Static_assert(sizeof(MibList) == 528, "MibList record image is 528 bytes");
#endif

#ifndef _WIN32
/*
 * Off Windows the arrays have the layout of OLE Automation's SAFEARRAY.
 * Lower bound lLbound, upper bound lLbound + cElements - 1; element i lies at
 * (char *)pvData + (i - lLbound) * cbElements.
 */
typedef struct SAFEARRAYBOUND {
    uint32_t cElements;
    int32_t lLbound;
} SAFEARRAYBOUND;

typedef struct SAFEARRAY {
    uint16_t cDims;
    uint16_t fFeatures;
    uint32_t cbElements;
    uint32_t cLocks;
    void *pvData;
    SAFEARRAYBOUND rgsabound[1];
} SAFEARRAY;
#endif

/*
 * Writes the MIB module text for the design in the four arrays to `path`.
 *
 * The caller owns the arrays and keeps them; they are only read, elements
 * lBound to uBound - 1 (0 to 999 for the program's arrays of 1001 records).
 * `path` is a zero-terminated file name in the platform's encoding.
 * Returns 0 on success, -1 on failure (bad arguments, the file cannot be
 * created, or a record the text needs is missing). A file that was there
 * before is replaced only by a complete module.
 */
KORVEL_MIB_EXPORT int32_t KORVEL_MIB_CALL MIBCreateProc(SAFEARRAY **tree, SAFEARRAY **attribute,
                                                        SAFEARRAY **range, SAFEARRAY **list,
                                                        const char *path);

/*
 * Reads the MIB module text at `path` into the four arrays.
 *
 * On success (0) elements lBound to uBound - 1 of each array are overwritten
 * with the module's objects; on failure (-1) the arrays are left as they were
 * and ./error.log may name a file that could not be opened. The library keeps
 * no reference to the arrays after returning.
 */
KORVEL_MIB_EXPORT int32_t KORVEL_MIB_CALL MIBAnalysisProc(SAFEARRAY **tree, SAFEARRAY **attribute,
                                                          SAFEARRAY **range, SAFEARRAY **list,
                                                          const char *path);

#ifdef __cplusplus
}
#endif

#endif /* KORVEL_MIB_H */
