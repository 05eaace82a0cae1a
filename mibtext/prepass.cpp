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

void convertComments(std::FILE *in, std::FILE *out)
{
    bool inQuote = false;
    bool inApostrophe = false;
    // Only blanks so far on this line: a # here starts a comment line.
    bool lineStart = true;
    bool afterSlash = false;
    for (int byte = std::getc(in); byte != EOF; byte = std::getc(in)) {
        if (!put(byte, out))
            return;
        if (byte == '\n') {
            lineStart = true;
            inApostrophe = false;
            afterSlash = false;
            continue;
        }
        if (inQuote) {
            inQuote = byte != '"';
            continue;
        }
        if (inApostrophe) {
            inApostrophe = byte != '\'';
            continue;
        }
        if (byte == ' ') {
            afterSlash = false;
            continue;
        }
        if (byte == '#' && lineStart) {
            // Becomes a // comment in the next pass; its text stays as it is.
            if (!copyRestOfLine(in, out))
                return;
            continue;
        }
        lineStart = false;
        if (byte == '/' && !afterSlash) {
            afterSlash = true;
            continue;
        }
        const bool commentOpens = afterSlash && (byte == '/' || byte == '*');
        afterSlash = false;
        if (commentOpens) {
            const CommentMode mode = byte == '/' ? CommentMode::Line : CommentMode::Block;
            if (ConvertComment(in, out, mode) != 0)
                return;
            lineStart = mode == CommentMode::Line;
        } else if (byte == '"') {
            inQuote = true;
        } else if (byte == '\'') {
            inApostrophe = true;
        } else if (byte == '-' && peek(in) == '-') {
            if (!put(std::getc(in), out) || !copyAsnComment(in, out))
                return;
        }
    }
}

void convertHashLines(std::FILE *in, std::FILE *out)
{
    enum class Line { Blank, Hash, Other };
    Line line = Line::Blank;
    bool inQuote = false;
    bool inApostrophe = false;
    for (int byte = std::getc(in); byte != EOF; byte = std::getc(in)) {
        if (byte == '\n') {
            line = Line::Blank;
            inApostrophe = false;
        } else if (inQuote) {
            inQuote = byte != '"';
        } else if (inApostrophe) {
            inApostrophe = byte != '\'';
        } else if (byte == '#' && line == Line::Blank) {
            if (!put('/', out) || !put('/', out))
                return;
            line = Line::Hash;
        } else if (line != Line::Hash && byte != ' ') {
            line = Line::Other;
            if (byte == '"') {
                inQuote = true;
            } else if (byte == '\'') {
                inApostrophe = true;
            } else if (byte == '-' && peek(in) == '-') {
                if (!put(byte, out) || !put(std::getc(in), out) || !copyAsnComment(in, out))
                    return;
                continue;
            }
        }
        if (!put(byte, out))
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
    convertComments(in, out);
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
    convertHashLines(in, out);
    return finish(in, out);
}

} // namespace korvel::mib
