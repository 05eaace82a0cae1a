#include "reader.h"

namespace korvel::mib {
namespace {

bool put(int byte, std::FILE *out)
{
    return std::putc(byte, out) != EOF;
}

int peek(std::FILE *in)
{
    const int byte = std::getc(in);
    if (byte != EOF)
        std::ungetc(byte, in);
    return byte;
}

// Copies bytes up to the end of the line; the newline is left in the input
// so that the caller sees the line end. False at the end of the input or on
// a failed write.
bool copyRestOfLine(std::FILE *in, std::FILE *out)
{
    for (int byte = std::getc(in); byte != EOF; byte = std::getc(in)) {
        if (byte == '\n') {
            std::ungetc(byte, in);
            return true;
        }
        if (!put(byte, out))
            return false;
    }
    return false;
}

// Copies the body of an ASN.1 comment whose opening -- was copied already:
// up to and including the next --, or up to the end of the line (the newline
// is left in the input). False at the end of the input or on a failed write.
bool copyAsnComment(std::FILE *in, std::FILE *out)
{
    for (int byte = std::getc(in); byte != EOF; byte = std::getc(in)) {
        if (byte == '\n') {
            std::ungetc(byte, in);
            return true;
        }
        if (!put(byte, out))
            return false;
        if (byte == '-' && peek(in) == '-')
            return put(std::getc(in), out);
    }
    return false;
}

bool putKana(int byte, std::FILE *out)
{
    if (byte < KanaFirst || byte > KanaLast)
        return put(byte, out);
    const KanaWidth &wide = KanaWidthTable[byte - KanaFirst];
    return put(wide.lead, out) && put(wide.trail, out);
}

// Closes both files; the pass succeeds only when everything was read and
// written.
int finish(std::FILE *in, std::FILE *out)
{
    const bool readOk = std::ferror(in) == 0;
    const bool writeOk = std::ferror(out) == 0;
    const bool closedOk = std::fclose(out) == 0;
    std::fclose(in);
    return readOk && writeOk && closedOk ? 0 : -1;
}

// Copies a string whose opening quote was copied already, through its
// closing quote. A "..." string runs over lines; a '...' string ends at the
// end of its line at the latest (the newline is left in the input). False at
// the end of the input or on a failed write.
bool copyString(int quote, std::FILE *in, std::FILE *out)
{
    for (int byte = std::getc(in); byte != EOF; byte = std::getc(in)) {
        if (byte == '\n' && quote == '\'') {
            std::ungetc(byte, in);
            return true;
        }
        if (!put(byte, out))
            return false;
        if (byte == quote)
            return true;
    }
    return false;
}

// Copies a block comment whose /* was copied already, through its */.
bool copyBlockComment(std::FILE *in, std::FILE *out)
{
    for (int byte = std::getc(in); byte != EOF; byte = std::getc(in)) {
        if (!put(byte, out))
            return false;
        if (byte == '*' && peek(in) == '/')
            return put(std::getc(in), out);
    }
    return false;
}

// Both passes walk the text alike: strings and ASN.1 comments are copied
// whole, and so is a line whose first byte other than blanks is #. What
// differs is what a pass does with a // or /* */ comment and with a # line.
enum class Walk { Comments, HashLines };

void walk(Walk pass, std::FILE *in, std::FILE *out)
{
    bool lineBlank = true;
    for (int byte = std::getc(in); byte != EOF; byte = std::getc(in)) {
        if (byte == '#' && lineBlank) {
            // The second pass turns the line into a // comment.
            if (pass == Walk::HashLines && !(put('/', out) && put('/', out)))
                return;
            if (!put(byte, out) || !copyRestOfLine(in, out))
                return;
            continue;
        }
        if (!put(byte, out))
            return;
        if (byte == '\n') {
            lineBlank = true;
            continue;
        }
        if (byte == ' ')
            continue;
        lineBlank = false;
        const int next = peek(in);
        bool going = true;
        if (byte == '"' || byte == '\'') {
            going = copyString(byte, in, out);
        } else if (byte == '-' && next == '-') {
            going = put(std::getc(in), out) && copyAsnComment(in, out);
        } else if (byte == '/' && (next == '/' || next == '*')) {
            const CommentMode mode = next == '/' ? CommentMode::Line : CommentMode::Block;
            going = put(std::getc(in), out);
            if (going && pass == Walk::Comments)
                going = ConvertComment(in, out, mode) == 0;
            else if (going)
                going = mode == CommentMode::Line ? copyRestOfLine(in, out) : copyBlockComment(in, out);
            // ConvertComment copies the newline that ends a line comment.
            lineBlank = going && mode == CommentMode::Line && pass == Walk::Comments;
        }
        if (!going)
            return;
    }
}

} // namespace

int ConvertComment(std::FILE *in, std::FILE *out, CommentMode mode)
{
    bool star = false;
    int byte = std::getc(in);
    while (byte != EOF) {
        if (isLeadByte(byte)) {
            const int trail = std::getc(in);
            if (isTrailByte(trail)) {
                if (!put(byte, out) || !put(trail, out))
                    return -1;
                star = false;
                byte = std::getc(in);
                continue;
            }
            // A lead byte without its trail byte is dropped; the byte after
            // it keeps its own meaning, so a newline still ends the comment.
            byte = trail;
            continue;
        }
        bool written = true;
        switch (byte) {
        case '*':
            written = put(byte, out);
            star = true;
            break;
        case '/':
            written = put(byte, out);
            if (written && mode == CommentMode::Block && star)
                return 0;
            star = false;
            break;
        case '\n':
            written = put(byte, out);
            if (written && mode == CommentMode::Line)
                return 0;
            star = false;
            break;
        case '\'':
        case '"':
            // Doubled, the quote cannot open a string that runs past the
            // comment.
            written = put(byte, out) && put(byte, out);
            star = false;
            break;
        default:
            written = putKana(byte, out);
            star = false;
            break;
        }
        if (!written)
            return -1;
        byte = std::getc(in);
    }
    return -1;
}

int FileCheckConvert(const char *source, const char *destination)
{
    std::FILE *in = std::fopen(source, "rb");
    if (in == nullptr) {
        WriteErrorLog(FileCheckConvertOpenMessage, source);
        return -1;
    }
    std::FILE *out = std::fopen(destination, "wb+");
    if (out == nullptr) {
        WriteErrorLog(FileCheckConvertOpenMessage, destination);
        std::fclose(in);
        return -1;
    }
    walk(Walk::Comments, in, out);
    return finish(in, out);
}

int FileCheckConvert2(const char *source, const char *destination)
{
    std::FILE *in = std::fopen(source, "rb");
    if (in == nullptr) {
        WriteErrorLog(FileCheckConvert2OpenMessage, source);
        return -1;
    }
    std::FILE *out = std::fopen(destination, "wb+");
    if (out == nullptr) {
        WriteErrorLog(FileCheckConvert2OpenMessage, destination);
        std::fclose(in);
        return -1;
    }
    walk(Walk::HashLines, in, out);
    return finish(in, out);
}

} // namespace korvel::mib
