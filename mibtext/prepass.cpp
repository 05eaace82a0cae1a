#include "reader.h"

#include <algorithm>

namespace korvel::mib {
namespace {

// Both passes read their source and write their destination a block at a
// time through static buffers. Between the bytes that mean something to them
// they copy whole runs at once. A pass closes both of its files before it
// returns, so they can share the two blocks.
constexpr std::size_t BlockSize = 64 * 1024;
unsigned char InputBlock[BlockSize];
unsigned char OutputBlock[BlockSize];

// The bytes that end a run of plain text.
struct Stops {
    bool has[256];
};

constexpr Stops stopsAt(const char *bytes)
{
    Stops stops{};
    for (; *bytes != '\0'; ++bytes)
        stops.has[static_cast<unsigned char>(*bytes)] = true;
    return stops;
}

class Output
{
public:
    explicit Output(std::FILE *file) : m_file(file) {}

    // False once a block could not be written.
    bool put(int byte)
    {
        if (m_used == BlockSize && !flush())
            return false;
        OutputBlock[m_used++] = static_cast<unsigned char>(byte);
        return true;
    }

    bool append(const unsigned char *bytes, std::size_t count)
    {
        while (count > 0) {
            if (m_used == BlockSize && !flush())
                return false;
            const std::size_t part = std::min(count, BlockSize - m_used);
            std::memcpy(OutputBlock + m_used, bytes, part);
            m_used += part;
            bytes += part;
            count -= part;
        }
        return true;
    }

    bool flush()
    {
        if (m_used > 0 && !m_failed)
            m_failed = std::fwrite(OutputBlock, 1, m_used, m_file) != m_used;
        m_used = 0;
        return !m_failed;
    }

private:
    std::FILE *m_file;
    std::size_t m_used = 0;
    bool m_failed = false;
};

class Input
{
public:
    explicit Input(std::FILE *file) : m_file(file) {}

    int get()
    {
        if (m_at == m_end && !refill())
            return EOF;
        return InputBlock[m_at++];
    }

    int peek()
    {
        if (m_at == m_end && !refill())
            return EOF;
        return InputBlock[m_at];
    }

    // Gives back the byte get() returned last.
    void unget() { --m_at; }

    // Copies bytes to `out` up to the first one of `stops` or the end of the
    // input; the stop stays in the input. Returns how many bytes were copied,
    // or -1 when they could not be written.
    long copyUntil(const Stops &stops, Output &out)
    {
        long copied = 0;
        for (;;) {
            if (m_at == m_end && !refill())
                return copied;
            std::size_t end = m_at;
            while (end < m_end && !stops.has[InputBlock[end]])
                ++end;
            if (!out.append(InputBlock + m_at, end - m_at))
                return -1;
            copied += static_cast<long>(end - m_at);
            m_at = end;
            if (end < m_end)
                return copied;
        }
    }

private:
    bool refill()
    {
        m_at = 0;
        m_end = std::fread(InputBlock, 1, BlockSize, m_file);
        return m_end > 0;
    }

    std::FILE *m_file;
    std::size_t m_at = 0;
    std::size_t m_end = 0;
};

constexpr Stops LineEnd = stopsAt("\n");
constexpr Stops AsnCommentStops = stopsAt("\n-");
constexpr Stops BlockCommentStops = stopsAt("*");
constexpr Stops QuoteStops = stopsAt("\"");
constexpr Stops ApostropheStops = stopsAt("'\n");
// What the walk looks at itself: line ends, the starts of strings and
// comments and, while the line holds only blanks, blanks and #.
constexpr Stops LineStartStops = stopsAt("\n \"'-/#");
constexpr Stops InLineStops = stopsAt("\n\"'-/");

enum class CommentMode { Line, Block };

bool put(int byte, Output &out)
{
    return out.put(byte);
}

// Copies bytes up to the end of the line; the newline is left in the input
// so that the caller sees the line end. False at the end of the input or on
// a failed write.
bool copyRestOfLine(Input &in, Output &out)
{
    return in.copyUntil(LineEnd, out) >= 0 && in.peek() == '\n';
}

// Copies the body of an ASN.1 comment whose opening -- was copied already:
// up to and including the next --, or up to the end of the line (the newline
// is left in the input). False at the end of the input or on a failed write.
bool copyAsnComment(Input &in, Output &out)
{
    for (;;) {
        if (in.copyUntil(AsnCommentStops, out) < 0)
            return false;
        const int byte = in.get();
        if (byte == EOF)
            return false;
        if (byte == '\n') {
            in.unget();
            return true;
        }
        if (!put(byte, out))
            return false;
        if (in.peek() == '-')
            return put(in.get(), out);
    }
}

bool putKana(int byte, Output &out)
{
    if (byte < KanaFirst || byte > KanaLast)
        return put(byte, out);
    const KanaWidth &wide = KanaWidthTable[byte - KanaFirst];
    return put(wide.lead, out) && put(wide.trail, out);
}

// Closes both files; the pass succeeds only when everything was read and
// written.
int finish(std::FILE *in, std::FILE *out, Output &written)
{
    const bool readOk = std::ferror(in) == 0;
    const bool writeOk = written.flush() && std::ferror(out) == 0;
    const bool closedOk = std::fclose(out) == 0;
    std::fclose(in);
    return readOk && writeOk && closedOk ? 0 : -1;
}

// Copies a string whose opening quote was copied already, through its
// closing quote. A "..." string runs over lines; a '...' string ends at the
// end of its line at the latest (the newline is left in the input). False at
// the end of the input or on a failed write.
bool copyString(int quote, Input &in, Output &out)
{
    if (in.copyUntil(quote == '\'' ? ApostropheStops : QuoteStops, out) < 0)
        return false;
    const int byte = in.get();
    if (byte == EOF)
        return false;
    if (byte == '\n') {
        in.unget();
        return true;
    }
    return put(byte, out);
}

// Copies a block comment whose /* was copied already, through its */.
bool copyBlockComment(Input &in, Output &out)
{
    for (;;) {
        if (in.copyUntil(BlockCommentStops, out) < 0)
            return false;
        const int byte = in.get();
        if (byte == EOF || !put(byte, out))
            return false;
        if (in.peek() == '/')
            return put(in.get(), out);
    }
}

// Copies the rest of one comment, doubling quotes and widening half-width
// katakana. Returns 0 at the comment's end (the newline of a line comment,
// the */ of a block comment, both copied), -1 at the end of the input or when
// a byte cannot be written.
int ConvertComment(Input &in, Output &out, CommentMode mode)
{
    bool star = false;
    int byte = in.get();
    while (byte != EOF) {
        if (isLeadByte(byte)) {
            const int trail = in.get();
            if (isTrailByte(trail)) {
                if (!put(byte, out) || !put(trail, out))
                    return -1;
                star = false;
                byte = in.get();
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
        byte = in.get();
    }
    return -1;
}

// Both passes walk the text alike: strings and ASN.1 comments are copied
// whole, and so is a line whose first byte other than blanks is #. What
// differs is what a pass does with a // or /* */ comment and with a # line.
enum class Walk { Comments, HashLines };

void walk(Walk pass, Input &in, Output &out)
{
    bool lineBlank = true;
    for (;;) {
        const long plain = in.copyUntil(lineBlank ? LineStartStops : InLineStops, out);
        if (plain < 0)
            return;
        if (plain > 0)
            lineBlank = false;
        const int byte = in.get();
        if (byte == EOF)
            return;
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
        const int next = in.peek();
        bool going = true;
        if (byte == '"' || byte == '\'') {
            going = copyString(byte, in, out);
        } else if (byte == '-' && next == '-') {
            going = put(in.get(), out) && copyAsnComment(in, out);
        } else if (byte == '/' && (next == '/' || next == '*')) {
            const CommentMode mode = next == '/' ? CommentMode::Line : CommentMode::Block;
            going = put(in.get(), out);
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
    Input input(in);
    Output output(out);
    walk(Walk::Comments, input, output);
    return finish(in, out, output);
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
    Input input(in);
    Output output(out);
    walk(Walk::HashLines, input, output);
    return finish(in, out, output);
}

} // namespace korvel::mib
