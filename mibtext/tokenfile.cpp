#include "reader.h"

#include <cstring>

// The token file holds, for each line of the source, that line's tokens in
// order, each written as "(" text ")$ ", and then a newline; a string over
// several lines puts its tokens and those after it on the line where it
// began. Inside a token's text a backslash escapes the bytes that would break
// this layout: "\\" is a backslash, "\n" a newline, "\r" a carriage return,
// "\0" a zero byte and "\)" a closing parenthesis. So a token never holds a
// raw newline and its text ends at the first unescaped ")".

namespace korvel::mib {
namespace {

char TokenFileBlock[64 * 1024];

bool put(int byte, std::FILE *file)
{
    return putByte(byte, file) != EOF;
}

bool putEscaped(unsigned char byte, std::FILE *file)
{
    switch (byte) {
    case '\\':
        return put('\\', file) && put('\\', file);
    case '\n':
        return put('\\', file) && put('n', file);
    case '\r':
        return put('\\', file) && put('r', file);
    case '\0':
        return put('\\', file) && put('0', file);
    case ')':
        return put('\\', file) && put(')', file);
    default:
        return put(byte, file);
    }
}

int unescaped(int byte)
{
    switch (byte) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case '0':
        return '\0';
    default:
        return byte;
    }
}

// The next token as written, comments included: 0, or -1 at the end of the
// file (also inside a token).
int readWrittenToken(std::FILE *file, Token &token)
{
    token.length = 0;
    token.text[0] = '\0';
    token.spaced = false;
    int byte = getByte(file);
    while (byte != '(') {
        if (byte == EOF)
            return -1;
        byte = getByte(file);
    }
    for (byte = getByte(file); byte != ')'; byte = getByte(file)) {
        if (byte == EOF)
            return -1;
        if (byte == '\n') {
            std::ungetc(byte, file);
            break;
        }
        if (byte == '\\') {
            byte = getByte(file);
            if (byte == EOF)
                return -1;
            byte = unescaped(byte);
        }
        if (token.length < TokenBufferSize - 1)
            token.text[token.length++] = static_cast<char>(byte);
    }
    token.text[token.length] = '\0';
    return 0;
}

bool is(const Token &token, const char *text)
{
    return std::strcmp(token.text, text) == 0;
}

} // namespace

void bufferTokenFile(std::FILE *file)
{
    std::setvbuf(file, TokenFileBlock, _IOFBF, sizeof TokenFileBlock);
}

bool writeToken(std::FILE *file, const Token &token)
{
    if (!put('(', file))
        return false;
    for (int at = 0; at < token.length; ++at) {
        if (!putEscaped(static_cast<unsigned char>(token.text[at]), file))
            return false;
    }
    return put(')', file) && put('$', file) && put(' ', file);
}

bool writeTokenLineEnd(std::FILE *file)
{
    return put('\n', file);
}

int ReadToken(std::FILE *file, Token &token)
{
    for (;;) {
        if (readWrittenToken(file, token) != 0)
            return -1;
        if (is(token, "//")) {
            int byte = getByte(file);
            while (byte != '\n' && byte != EOF)
                byte = getByte(file);
            continue;
        }
        if (is(token, "/*")) {
            do {
                if (readWrittenToken(file, token) != 0)
                    return -1;
            } while (!is(token, "*/"));
            continue;
        }
        return 0;
    }
}

} // namespace korvel::mib
