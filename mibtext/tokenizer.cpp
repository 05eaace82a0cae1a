#include "reader.h"

#include <cstring>

namespace korvel::mib {
namespace {

const char BadKanjiMessage[] = "漢字コードが不正である\n";

enum class Mode { Normal, LineComment, BlockComment };

// The tokenizer reads its input through a window of at most
// LineBufferSize - 1 bytes that is refilled as it is used up, so that lines
// of any length, and strings over several lines, are read alike.
struct Scanner {
    std::FILE *input = nullptr;
    unsigned char window[LineBufferSize];
    int position = 0;
    int length = 0;
    bool inputEnded = true;
    Mode mode = Mode::Normal;
    bool error = false;
    // Tokens to be cut again, the last pushed on top: the one GetToken looked
    // ahead at and one more a caller gives back.
    Token pushedBack[2];
    int pushedBackCount = 0;
};

Scanner State;
Token Current;
char TokenFileName[PathBufferSize];
// The source is read from the file in blocks of this size.
char SourceBlock[64 * 1024];

void refill()
{
    const int kept = State.length - State.position;
    std::memmove(State.window, State.window + State.position, static_cast<std::size_t>(kept));
    State.position = 0;
    State.length = kept;
    const std::size_t room = static_cast<std::size_t>(LineBufferSize - 1 - kept);
    const std::size_t got = std::fread(State.window + kept, 1, room, State.input);
    if (got == 0)
        State.inputEnded = true;
    State.length += static_cast<int>(got);
}

int peekBeyondWindow(int offset)
{
    while (State.position + offset >= State.length && !State.inputEnded)
        refill();
    return State.position + offset < State.length ? State.window[State.position + offset] : -1;
}

// The byte `offset` places ahead of the current one, or -1 past the end.
inline int peek(int offset)
{
    return State.position + offset < State.length ? State.window[State.position + offset] : peekBeyondWindow(offset);
}

void advance(int count)
{
    State.position += count;
}

bool isLetter(int byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool isDigit(int byte)
{
    return byte >= '0' && byte <= '9';
}

// Adds bytes to a token; once one does not fit, neither does anything after
// it, so a long token is cut, never patched together.
class TokenText
{
public:
    explicit TokenText(Token &token) : m_token(token) {}
    ~TokenText() { m_token.text[m_token.length] = '\0'; }
    TokenText(const TokenText &) = delete;
    TokenText &operator=(const TokenText &) = delete;

    void add(int byte)
    {
        if (!m_full && m_token.length < TokenBufferSize - 1)
            m_token.text[m_token.length++] = static_cast<char>(byte);
        else
            m_full = true;
    }

    void addPair(int lead, int trail)
    {
        if (!m_full && m_token.length < TokenBufferSize - 2) {
            m_token.text[m_token.length++] = static_cast<char>(lead);
            m_token.text[m_token.length++] = static_cast<char>(trail);
        } else {
            m_full = true;
        }
    }

    bool empty() const { return m_token.length == 0; }

private:
    Token &m_token;
    bool m_full = false;
};

// Skips the body of an ASN.1 comment: to the next -- or to the end of the
// line, whose newline stays to be cut as a token.
void skipAsnComment()
{
    advance(2);
    for (int byte = peek(0); byte >= 0 && byte != '\n'; byte = peek(0)) {
        if (byte == '-' && peek(1) == '-') {
            advance(2);
            return;
        }
        advance(1);
    }
}

// Skips blanks and ASN.1 comments; returns the next byte, or -1 at the end.
int skipSpace(bool &spaced)
{
    for (;;) {
        const int byte = peek(0);
        if (byte == ' ' || byte == '\t' || byte == '\r' || byte == '\f' || byte == '\v') {
            advance(1);
        } else if (byte == '-' && State.mode == Mode::Normal && peek(1) == '-') {
            skipAsnComment();
        } else {
            return byte;
        }
        spaced = true;
    }
}

bool isKana(int byte)
{
    return byte >= KanaFirst && byte <= KanaLast;
}

// A name: letters, digits, underscores, half-width katakana and double-byte
// characters, so that the Japanese names a design may hold come back whole.
// A hyphen joins when a name character follows it, so that mib-2 and
// OBJECT-TYPE are one name each while -- still starts a comment. A lead byte
// without its trail byte ends the name; outside comments it is an error.
void scanName(TokenText &text)
{
    for (int byte = peek(0);; byte = peek(0)) {
        if (isLeadByte(byte)) {
            const int trail = peek(1);
            if (isTrailByte(trail)) {
                text.addPair(byte, trail);
                advance(2);
                continue;
            }
            if (State.mode == Mode::Normal) {
                std::fputs(BadKanjiMessage, stdout);
                State.error = true;
            } else if (text.empty()) {
                // Inside a comment a stray lead byte is merely a byte.
                text.add(byte);
                advance(1);
            }
            return;
        }
        const int after = byte == '-' ? peek(1) : -1;
        const bool joiningHyphen = isLetter(after) || isDigit(after) || isKana(after) || isLeadByte(after);
        if (!isLetter(byte) && !isDigit(byte) && !isKana(byte) && byte != '_' && !joiningHyphen)
            return;
        text.add(byte);
        advance(1);
    }
}

// A number with its points and exponent, so that a range 1..64 is one token.
void scanNumber(TokenText &text)
{
    for (int byte = peek(0);; byte = peek(0)) {
        if (!isDigit(byte) && byte != '.' && byte != 'X' && byte != 'x' && byte != 'E' && byte != 'e')
            return;
        text.add(byte);
        advance(1);
    }
}

// "..." may span lines: CR LF inside it becomes LF, "" is one quote. The
// token is the opening quote and the text; the closing quote is dropped.
void scanQuoted(TokenText &text)
{
    text.add('"');
    advance(1);
    for (int byte = peek(0);; byte = peek(0)) {
        if (byte < 0) {
            State.error = true;
            return;
        }
        if (byte == '"') {
            advance(1);
            if (peek(0) != '"')
                return;
            text.add('"');
            advance(1);
        } else if (byte == '\r' && peek(1) == '\n') {
            advance(1);
        } else if (isLeadByte(byte) && isTrailByte(peek(1))) {
            text.addPair(byte, peek(1));
            advance(2);
        } else {
            text.add(byte);
            advance(1);
        }
    }
}

// '...' ends on its own line.
void scanApostrophed(TokenText &text)
{
    text.add('\'');
    advance(1);
    for (int byte = peek(0);; byte = peek(0)) {
        if (byte < 0 || byte == '\n') {
            State.error = true;
            return;
        }
        advance(1);
        if (byte == '\'')
            return;
        if (isLeadByte(byte) && isTrailByte(peek(0))) {
            text.addPair(byte, peek(0));
            advance(1);
        } else {
            text.add(byte);
        }
    }
}

// Whether the adjacent tokens a and b make one two-byte token. Inside a block
// comment only its end counts; inside a line comment nothing does.
bool joins(const Token &a, const Token &b)
{
    const unsigned char first = static_cast<unsigned char>(a.text[0]);
    const unsigned char second = static_cast<unsigned char>(b.text[0]);
    switch (State.mode) {
    case Mode::BlockComment:
        return first == '*' && second == '/';
    case Mode::LineComment:
        return false;
    case Mode::Normal:
        break;
    }
    switch (first) {
    case '!':
        return second == '=';
    case '&':
    case '+':
    case '=':
    case '|':
        return second == first;
    case '-':
        return second == '-' || second == '>';
    case '/':
        return second == '*' || second == '/';
    case '<':
    case '>':
        return second == first || second == '=';
    default:
        return false;
    }
}

void enterComment(const Token &token)
{
    if (std::strcmp(token.text, "//") == 0 && State.mode == Mode::Normal)
        State.mode = Mode::LineComment;
    else if (std::strcmp(token.text, "/*") == 0 && State.mode == Mode::Normal)
        State.mode = Mode::BlockComment;
    else if (std::strcmp(token.text, "*/") == 0 && State.mode == Mode::BlockComment)
        State.mode = Mode::Normal;
}

// The last token pushed back, or else the next one cut.
void takeToken(Token &token)
{
    if (State.pushedBackCount > 0)
        copyToken(token, State.pushedBack[--State.pushedBackCount]);
    else
        ScanToken(token);
}

} // namespace

void beginTokens(std::FILE *source)
{
    State.input = source;
    State.position = 0;
    State.length = 0;
    State.inputEnded = source == nullptr;
    State.mode = Mode::Normal;
    State.error = false;
    State.pushedBackCount = 0;
}

bool tokenError()
{
    return State.error;
}

void ScanToken(Token &token)
{
    token.length = 0;
    token.text[0] = '\0';
    token.spaced = false;
    const int byte = skipSpace(token.spaced);
    if (byte < 0)
        return;
    TokenText text(token);
    const bool strings = State.mode == Mode::Normal;
    if (isLeadByte(byte) || isLetter(byte) || isKana(byte)) {
        scanName(text);
    } else if (isDigit(byte)) {
        scanNumber(text);
    } else if (strings && byte == '"') {
        scanQuoted(text);
    } else if (strings && byte == '\'') {
        scanApostrophed(text);
    } else {
        text.add(byte);
        advance(1);
        if (byte == '\n' && State.mode == Mode::LineComment)
            State.mode = Mode::Normal;
    }
}

void PushBackToken(const Token &token)
{
    if (State.pushedBackCount == 2) {
        copyToken(State.pushedBack[0], State.pushedBack[1]);
        State.pushedBackCount = 1;
    }
    copyToken(State.pushedBack[State.pushedBackCount++], token);
}

void GetToken(Token &token)
{
    State.error = false;
    takeToken(token);
    if (token.length == 0 || State.error)
        return;
    // The next token is looked at where it waits to be taken: on top of the
    // pushed-back tokens, cut into their first place when none waits.
    if (State.pushedBackCount == 0) {
        ScanToken(State.pushedBack[0]);
        if (State.error || State.pushedBack[0].length == 0)
            return;
        State.pushedBackCount = 1;
    }
    const Token &next = State.pushedBack[State.pushedBackCount - 1];
    if (next.length == 0) {
        --State.pushedBackCount;
        return;
    }
    if (next.spaced || !joins(token, next) || token.length >= TokenBufferSize - 1)
        return;
    token.text[token.length++] = next.text[0];
    token.text[token.length] = '\0';
    --State.pushedBackCount;
    enterComment(token);
}

int Token_Analysis(const char *source)
{
    std::FILE *in = std::fopen(source, "rb");
    if (in == nullptr) {
        WriteErrorLog(TokenAnalysisOpenMessage, source);
        return -1;
    }
    const int nameLength = std::snprintf(TokenFileName, sizeof TokenFileName, "%s_token", source);
    std::FILE *out = nameLength > 0 && nameLength < PathBufferSize ? std::fopen(TokenFileName, "wb+") : nullptr;
    if (out == nullptr) {
        WriteErrorLog(TokenAnalysisOpenMessage, TokenFileName);
        std::fclose(in);
        return -1;
    }
    std::setvbuf(in, SourceBlock, _IOFBF, sizeof SourceBlock);
    bufferTokenFile(out);
    beginTokens(in);
    int result = 0;
    bool written = true;
    bool lineOpen = false;
    for (;;) {
        GetToken(Current);
        if (State.error) {
            result = 1;
            break;
        }
        if (Current.length == 0)
            break;
        const bool lineEnd = Current.length == 1 && Current.text[0] == '\n';
        written = lineEnd ? writeTokenLineEnd(out) : writeToken(out, Current);
        if (!written)
            break;
        lineOpen = !lineEnd;
    }
    if (result == 0 && written && lineOpen)
        written = writeTokenLineEnd(out);
    if (result == 0 && (!written || std::ferror(in) != 0))
        result = -1;
    if (std::fclose(out) != 0 && result == 0)
        result = -1;
    std::fclose(in);
    beginTokens(nullptr);
    return result;
}

} // namespace korvel::mib
