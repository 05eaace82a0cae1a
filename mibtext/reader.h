// The MIB reader: the text of a .mib module back into ReadTables.
//
// MIBAnalysisProc (analysis.cpp) copies the module into two working files
// beside it, named with "_tmp1" and "_tmp2" appended, and runs three passes:
//
//   FileCheckConvert   (prepass.cpp)    first to second working file: inside
//                                       // and /* */ comments every quote is
//                                       doubled and half-width katakana is
//                                       widened, so no comment leaves a lone
//                                       quote behind;
//   FileCheckConvert2  (prepass.cpp)    second to first: a line whose first
//                                       byte other than blanks is # becomes a
//                                       // comment;
//   Token_Analysis     (tokenizer.cpp)  cuts the first working file into
//                                       tokens and writes them to the token
//                                       file, its name with "_token" appended.
//
// ParseMibTokens (parser.cpp) reads the token file back through ReadToken
// (tokenfile.cpp), which drops // and /* */ comments, and fills ReadTables
// with the objects it recognises. The working files are removed only after a
// successful read; a failed one leaves them for inspection.
//
// The passes agree on one view of the text, so that none of them takes for a
// string or a comment what another does not:
//   - "..." is a string that may span lines; "" inside it is one quote; a
//     backslash has no special meaning;
//   - '...' is a string that must end on the line where it starts;
//   - -- starts an ASN.1 comment that runs to the end of the line or to the
//     next --;
//   - // starts a comment to the end of the line and /* one up to */; a
//     line whose first byte other than blanks is # is a comment too;
//   - none of these starts inside another, and two-byte markers count only
//     when their bytes are adjacent.
// Bytes are code page 932: a lead byte followed by a trail byte is one
// character, and no text is ever cut between the two.
//
// Everything lives in static storage; nothing is allocated per call. The
// passes report through their results and the messages named below; none of
// them ends the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace korvel::mib {

// Sizes of the reader's static buffers. A path needs room for the longest
// working name, the path with "_tmp1_token" appended.
constexpr int LineBufferSize = 1024;
constexpr int TokenBufferSize = 1024;
constexpr int PathBufferSize = 1024;
// Names and descriptions keep at most this many bytes, plus a zero byte.
constexpr int TextFieldBytes = 511;

// Byte classes of iskanji.
enum KanjiClass { EucByte = 1, ShiftJisLead = 2, ShiftJisTrail = 3 };

// Returns `byte` when it belongs to the class, else 0. An unknown class
// prints a message and returns 0.
int iskanji(int kanjiClass, int byte);

// The classes of iskanji, as the passes test them for every byte.
inline bool isLeadByte(int byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

inline bool isTrailByte(int byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// The length of the longest start of `text` (of `length` bytes) that is at
// most `maxBytes` long and does not end between a lead and a trail byte.
std::size_t characterBoundary(const char *text, std::size_t length, std::size_t maxBytes);

// The full-width character written for each half-width katakana byte 0xA1 to
// 0xDF, in byte order.
struct KanaWidth {
    unsigned char lead;
    unsigned char trail;
};
constexpr int KanaFirst = 0xA1;
constexpr int KanaLast = 0xDF;
extern const KanaWidth KanaWidthTable[KanaLast - KanaFirst + 1];

// Byte access to a file without stdio's locking: the library is called from
// one thread at a time and each of its files is used by one pass only.
inline int getByte(std::FILE *file)
{
#ifdef _WIN32
    return _getc_nolock(file);
#else
    return getc_unlocked(file);
#endif
}

inline int putByte(int byte, std::FILE *file)
{
#ifdef _WIN32
    return _putc_nolock(byte, file);
#else
    return putc_unlocked(byte, file);
#endif
}

// Gives the token file, open for writing or for reading, a large static
// stdio buffer, so that it is written and read in a few large blocks. Only
// one token file is open at a time.
void bufferTokenFile(std::FILE *file);

// Writes one line to ./error.log, replacing what it held: `format` with its
// %s replaced by `name`. Nothing is written when the log cannot be opened.
void WriteErrorLog(const char *format, const char *name);

// The log lines of the passes that cannot open a file (%s: the file).
extern const char FileCheckConvertOpenMessage[];
extern const char FileCheckConvert2OpenMessage[];
extern const char TokenAnalysisOpenMessage[];

// The two pre-passes. Return 0 when the whole source was copied, -1 when a
// file cannot be opened (with the pass's line in ./error.log), read or
// written.
int FileCheckConvert(const char *source, const char *destination);
int FileCheckConvert2(const char *source, const char *destination);

// One token: its bytes, zero-terminated, at most TokenBufferSize - 1 of them
// (a longer token is cut on a character boundary and the rest is dropped).
// A quoted string is its opening quote followed by its text.
struct Token {
    char text[TokenBufferSize];
    int length;
    // Blanks or a comment came between this token and the one before it.
    bool spaced;
};

// Copies a token's bytes, not its whole buffer.
inline void copyToken(Token &to, const Token &from)
{
    std::memcpy(to.text, from.text, static_cast<std::size_t>(from.length) + 1);
    to.length = from.length;
    to.spaced = from.spaced;
}

// Cuts the source into tokens and writes the token file, the source's name
// with "_token" appended. Returns 0 on success, -1 when a file cannot be
// opened (with a line in ./error.log), read or written, and 1 after a bad
// double-byte character or an unterminated string.
int Token_Analysis(const char *source);

// The tokenizer underneath Token_Analysis, over an open file. beginTokens
// resets its state. ScanToken cuts one token from the input (empty at its
// end); GetToken takes a pushed-back token or cuts one, and joins it with the
// next when the two make a two-byte operator or comment marker;
// PushBackToken makes a token the next one GetToken takes (two can wait; a
// third push drops the oldest).
// tokenError is set by a bad double-byte character or an unterminated string.
void beginTokens(std::FILE *source);
void ScanToken(Token &token);
void GetToken(Token &token);
void PushBackToken(const Token &token);
bool tokenError();

// Token file format. writeToken appends one token, writeTokenLineEnd ends
// the line of tokens of one input line. Both return false when the file
// cannot be written.
bool writeToken(std::FILE *file, const Token &token);
bool writeTokenLineEnd(std::FILE *file);

// Reads the next token of a token file, skipping // and /* */ comments.
// Returns 0 with the token, -1 at the end of the file.
int ReadToken(std::FILE *file, Token &token);

// Results of ParseMibTokens.
enum ParseResult { ParseDone = 0, ParseTooManyObjects = -2 };

// Fills ReadTables (cleared by the caller) from the token file. Returns
// ParseDone, or ParseTooManyObjects when the module holds more objects than
// the tables have records; nothing is then written past a table.
int ParseMibTokens(std::FILE *tokenFile);

// The slot of the first object read so far whose Name is `name` (compared as
// names are stored, cut to TextFieldBytes), or -1.
int FindObjectByName(const char *name);

} // namespace korvel::mib
