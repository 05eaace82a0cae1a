// The MIB writer: WriteTables to the text of one ASN.1 MIB module.
//
// MIBCreateProc (create.cpp) refuses bad arrays, opens a temporary file beside
// the target, copies the caller's arrays into WriteTables and hands the file
// to WriteMibModule. The writer emits a fixed header, then walks the tree from
// the root "enterprise" depth first, siblings in ascending sub-identifier
// order (NextChild), writing every object in the template of its kind, and
// ends with "END". Only when it succeeds does the temporary file replace the
// target.
//
// Texts are written as stored: the bytes of a field up to its first zero
// byte, or, when the field holds none, up to its last whole code page 932
// character. The file has Windows text-mode line ends: every LF written,
// those inside texts included, becomes CR LF. Every buffer is static.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace korvel::mib {

// What NextChild and FindAttribute return when there is nothing to find.
constexpr int NoRecord = -1;

// Writes the module for WriteTables to `file`, which stays open. Returns 0
// when the module is complete; -1 when a record a template needs is missing,
// a Kind is outside 1 to 4, or the file could not be written.
int WriteMibModule(std::FILE *file);

// The in-use MibTree child of `parent` (-1 for the root) that follows
// `lastChild` (NoRecord for the first) in ascending ObjectId order. Among
// equal ObjectIds the highest slot wins and the others are skipped; children
// with an ObjectId of 0 or less are never found.
int NextChild(int parent, int lastChild);

// The lowest-numbered in-use MibAttribute owned by `slot`, or NoRecord.
int FindAttribute(int slot);

// The stem of the row type name of a table or entry: the name without its
// last five bytes, its first byte raised to upper case when it lies between
// 0x60 and 0x7F. Never cuts a double-byte character in two; a name of five
// bytes or fewer gives the empty stem. `stem` has room for `length` bytes;
// returns the stem's length.
std::size_t EntryTypeBase(const char *name, std::size_t length, char *stem);

// Length of the text stored in a field of `width` bytes: up to the first zero
// byte, or up to the last whole code page 932 character of the field.
std::size_t StoredTextLength(const char *field, std::size_t width);

struct SyntaxName {
    int32_t code;
    const char *name;
};

// Type names by Syntax code; any code not listed is written "SEQUENCE".
extern const SyntaxName SyntaxNameTable[8];
const char *syntaxName(int32_t code);

// Keywords by Access code 0 to 3; any other code is written "not-accessible".
extern const char *const AccessNameTable[4];
const char *accessName(int32_t code);

} // namespace korvel::mib
