#include "seedtables.h"

#include "korvel_cp932_prefix.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <map>
#include <new>
#include <set>

#include <iconv.h>
#include <sys/mman.h>

namespace korvel::seed {

namespace {

// --- Code page 932, as cp932.h converts it ---------------------------------

constexpr char SubstituteByte = '?';
constexpr char16_t SubstituteChar = u'\u30FB';

class Converter
{
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Runs the conversion over the input; on a sequence it cannot convert it
    // writes `substitute` and skips `skip(in, left)` input bytes.
    template <typename Skip>
    std::string convert(const char *input, std::size_t size, std::string_view substitute, Skip skip)
    {
        std::string out;
        if (size == 0 || !valid())
            return out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.resize(size * 2 + 16);
        char *in = const_cast<char *>(input);
        std::size_t inLeft = size;
        std::size_t used = 0;
        while (inLeft > 0) {
            char *dst = out.data() + used;
            std::size_t outLeft = out.size() - used;
            const std::size_t result = iconv(m_cd, &in, &inLeft, &dst, &outLeft);
            used = static_cast<std::size_t>(dst - out.data());
            if (result != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            if (outLeft < substitute.size())
                out.resize(out.size() * 2 + substitute.size());
            // An unconvertible or incomplete sequence.
            std::memcpy(out.data() + used, substitute.data(), substitute.size());
            used += substitute.size();
            const std::size_t skipped = std::min(skip(in, inLeft), inLeft);
            in += skipped;
            inLeft -= skipped;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t m_cd;
};

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isAscii(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

std::u16string decode(std::string_view bytes)
{
    if (isAscii(bytes))
        return std::u16string(bytes.begin(), bytes.end());
    static Converter decoder("UTF-16LE", "CP932");
    const char16_t substitute = SubstituteChar;
    const std::string utf16 =
        decoder.convert(bytes.data(), bytes.size(), std::string_view(reinterpret_cast<const char *>(&substitute), 2),
                        [](const char *, std::size_t) -> std::size_t { return 1; });
    std::u16string text(utf16.size() / 2, u'\0');
    std::memcpy(text.data(), utf16.data(), text.size() * 2);
    return text;
}

std::string encode(std::u16string_view text)
{
    if (isAscii(text))
        return std::string(text.begin(), text.end());
    static Converter encoder("CP932", "UTF-16LE");
    return encoder.convert(reinterpret_cast<const char *>(text.data()), text.size() * 2,
                           std::string_view(&SubstituteByte, 1), [](const char *in, std::size_t left) -> std::size_t {
                               // One UTF-16 unit, or both units of a surrogate pair.
                               if (left >= 4) {
                                   const auto unit = char16_t(static_cast<unsigned char>(in[0])
                                                              | (static_cast<unsigned char>(in[1]) << 8));
                                   if (unit >= 0xD800 && unit < 0xDC00)
                                       return 4;
                               }
                               return 2;
                           });
}

using cp932::wholeCharacters;

// --- Fields (tablefields.h, mibimage.h) ------------------------------------

// The text that counts of a field stored at `width`: the first `length`
// characters of the text padded with blanks to its width.
std::u16string displayed(const Field &field, int width)
{
    const std::size_t count = static_cast<std::size_t>(std::clamp(field.length, 0, width));
    std::u16string text = field.text.substr(0, std::min<std::size_t>(count, static_cast<std::size_t>(width)));
    text.resize(count, u' ');
    return text;
}

// `text` in code page 932 at the start of a zeroed field of `size` bytes,
// cut after its last whole character that leaves room for a zero byte.
template <std::size_t N>
void encodeField(char (&field)[N], const Field &text, int width)
{
    const std::string bytes = encode(displayed(text, width));
    std::size_t count = bytes.size();
    if (count > N - 1)
        count = wholeCharacters(bytes.data(), N - 1);
    std::memcpy(field, bytes.data(), count);
}

// The text of a field of the image, cut to `width`, in code page 932 as the
// design file holds it.
template <std::size_t N>
std::string fieldText(const char (&field)[N], int width)
{
    const void *zero = std::memchr(field, 0, N);
    const std::size_t count = zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - field)
                                   : wholeCharacters(field, N);
    const std::string_view bytes(field, count);
    if (isAscii(bytes))
        return std::string(bytes.substr(0, static_cast<std::size_t>(width)));
    return encode(std::u16string_view(decode(bytes)).substr(0, static_cast<std::size_t>(width)));
}

// How many characters the program counts in a text of the code page.
int32_t characterCount(std::string_view bytes)
{
    return static_cast<int32_t>(isAscii(bytes) ? bytes.size() : decode(bytes).size());
}

// --- The design file (designfile.h) ----------------------------------------

constexpr std::u16string_view OpeningTags[] = {u"<MibTree>", u"<MibAttribute>", u"<MibRange>", u"<MibList>"};
constexpr std::u16string_view ClosingTags[] = {u"</MibTree>", u"</MibAttribute>", u"</MibRange>",
                                               u"</MibList>"};
constexpr std::string_view OpeningBytes[] = {"<MibTree>", "<MibAttribute>", "<MibRange>", "<MibList>"};
constexpr std::string_view ClosingBytes[] = {"</MibTree>", "</MibAttribute>", "</MibRange>", "</MibList>"};
constexpr std::size_t FieldCounts[] = {6, 8, 6, 5};

class LineReader
{
public:
    explicit LineReader(std::u16string_view text) : m_text(text) {}

    bool next(std::u16string_view &line)
    {
        if (m_pos >= m_text.size())
            return false;
        std::size_t end = m_text.find(u'\n', m_pos);
        if (end == std::u16string_view::npos)
            end = m_text.size();
        line = m_text.substr(m_pos, end - m_pos);
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        m_pos = end + 1;
        ++m_lineNumber;
        return true;
    }

    int lineNumber() const { return m_lineNumber; }

private:
    std::u16string_view m_text;
    std::size_t m_pos = 0;
    int m_lineNumber = 0;
};

// Splits a record at every "," outside double quotes; a quoted field may run
// on over further lines, each line break becoming LF. False when the file
// ends inside a quoted field.
bool splitRecord(std::u16string_view line, LineReader &lines, std::vector<std::u16string> &fields)
{
    fields.clear();
    std::u16string field;
    bool inQuotes = false;
    bool fieldStart = true;
    for (;;) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char16_t c = line[i];
            if (inQuotes) {
                if (c == u'"') {
                    if (i + 1 < line.size() && line[i + 1] == u'"') {
                        field += u'"';
                        ++i;
                    } else {
                        inQuotes = false;
                    }
                } else {
                    field += c;
                }
            } else if (c == u',') {
                fields.push_back(std::move(field));
                field.clear();
                fieldStart = true;
                continue;
            } else if (c == u'"' && fieldStart) {
                inQuotes = true;
            } else {
                field += c;
            }
            fieldStart = false;
        }
        if (!inQuotes)
            break;
        if (!lines.next(line))
            return false;
        field += u'\n';
    }
    fields.push_back(std::move(field));
    return true;
}

bool isSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x85 || c == 0xA0 || c == 0x1680
        || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F
        || c == 0x3000;
}

// A decimal 32-bit number, blanks around it allowed, as the program reads one.
bool toNumber(std::u16string_view text, int32_t &value)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == u'-';
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+'))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    int64_t magnitude = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > int64_t(INT32_MAX) + 1)
            return false;
    }
    const int64_t number = negative ? -magnitude : magnitude;
    if (number > INT32_MAX)
        return false;
    value = static_cast<int32_t>(number);
    return true;
}

void storeText(Field &field, const std::u16string &text, int width)
{
    field.text = text.substr(0, static_cast<std::size_t>(width));
}

bool storeRecord(Tables &t, int section, int slot, const std::vector<std::u16string> &f, std::string &reason,
                 int &treeCount)
{
    if (f.size() < FieldCounts[section]) {
        reason = "too few fields";
        return false;
    }
    static const std::vector<int> numberFields[] = {{1, 2, 3, 4, 5}, {0, 1, 2, 3, 5, 6, 7}, {0, 3, 4, 5}, {0, 2, 3, 4}};
    int32_t n[8] = {};
    for (const int position : numberFields[section]) {
        if (!toNumber(f[static_cast<std::size_t>(position)], n[position])) {
            reason = "field " + std::to_string(position + 1) + " is not a number";
            return false;
        }
    }
    const auto s = static_cast<std::size_t>(slot);
    switch (section) {
    case 0: {
        Tables::Tree &r = t.tree[s];
        storeText(r.name, f[0], NameWidth);
        r.name.length = n[1];
        r.objectId = n[2];
        r.parent = n[3];
        r.kind = n[4];
        r.inUse = n[5];
        treeCount += r.inUse == 1;
        break;
    }
    case 1: {
        Tables::Attribute &r = t.attribute[s];
        r.owner = n[0];
        r.syntax = n[1];
        r.constraint = n[2];
        r.access = n[3];
        storeText(r.description, f[4], NameWidth);
        r.description.length = n[5];
        r.keyOrder = n[6];
        r.inUse = n[7];
        break;
    }
    case 2: {
        Tables::Range &r = t.range[s];
        r.owner = n[0];
        storeText(r.minimum, f[1], BoundWidth);
        storeText(r.maximum, f[2], BoundWidth);
        r.minimum.length = n[3];
        r.maximum.length = n[4];
        r.inUse = n[5];
        break;
    }
    default: {
        Tables::List &r = t.list[s];
        r.owner = n[0];
        storeText(r.itemName, f[1], NameWidth);
        r.itemName.length = n[2];
        r.itemValue = n[3];
        r.inUse = n[4];
        break;
    }
    }
    return true;
}

void appendText(std::string &out, const std::string &text)
{
    const bool quoted = text.find_first_of(",\n\r") != std::string::npos || (!text.empty() && text.front() == '"');
    if (!quoted) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        if (c == '\n')
            out += "\r\n";
        else
            out += c;
    }
    out += '"';
}

void appendNumbers(std::string &out, std::initializer_list<int32_t> values, bool leading)
{
    for (const int32_t value : values) {
        if (leading)
            out += ',';
        char digits[12];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
        if (!leading)
            out += ',';
    }
}

void appendUtf8(std::string &out, std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

constexpr std::size_t ImageSize =
    SlotCount * (sizeof(::MibTree) + sizeof(::MibAttribute) + sizeof(::MibRange) + sizeof(::MibList));

} // namespace

RecordImage::RecordImage(bool constraints)
    : m_size(constraints ? ImageSize : SlotCount * (sizeof(::MibTree) + sizeof(::MibAttribute)))
{
    m_memory = ::mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (m_memory == MAP_FAILED)
        throw std::bad_alloc();
    auto *bytes = static_cast<char *>(m_memory);
    tree = reinterpret_cast<::MibTree *>(bytes);
    bytes += SlotCount * sizeof(::MibTree);
    attribute = reinterpret_cast<::MibAttribute *>(bytes);
    bytes += SlotCount * sizeof(::MibAttribute);
    range = constraints ? reinterpret_cast<::MibRange *>(bytes) : nullptr;
    bytes += SlotCount * sizeof(::MibRange);
    list = constraints ? reinterpret_cast<::MibList *>(bytes) : nullptr;
}

RecordImage::~RecordImage()
{
    ::munmap(m_memory, m_size);
}

bool hasDesignSection(std::string_view bytes)
{
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (std::find(std::begin(OpeningBytes), std::end(OpeningBytes), line) != std::end(OpeningBytes))
            return true;
        start = end + 1;
    }
    return false;
}

bool readDesign(std::string_view bytes, Tables &tables, std::string &error)
{
    const std::u16string text = decode(bytes);
    auto fail = [&error](int line, const std::string &reason) {
        error = "line " + std::to_string(line) + ": " + reason;
        return false;
    };
    int treeCount = 0;
    int nextSlot[4] = {0, 0, 0, 0};
    LineReader lines(text);
    std::u16string_view line;
    std::vector<std::u16string> fields;
    std::string reason;
    while (lines.next(line)) {
        const auto opening = std::find(std::begin(OpeningTags), std::end(OpeningTags), line);
        if (opening == std::end(OpeningTags))
            continue;
        const int section = static_cast<int>(opening - std::begin(OpeningTags));
        bool closed = false;
        while (lines.next(line)) {
            if (line == ClosingTags[section]) {
                closed = true;
                break;
            }
            const int lineNumber = lines.lineNumber();
            if (!splitRecord(line, lines, fields))
                return fail(lineNumber, "unterminated quoted text");
            if (treeCount > StoredSlotCount)
                continue; // past the program's object limit
            if (nextSlot[section] >= SlotCount)
                return fail(lineNumber, "more records than slots");
            if (!storeRecord(tables, section, nextSlot[section], fields, reason, treeCount))
                return fail(lineNumber, reason);
            ++nextSlot[section];
        }
        if (!closed)
            return fail(lines.lineNumber(), "missing " + std::string(ClosingBytes[section]));
    }
    return true;
}

void buildImage(const Tables &tables, RecordImage &image)
{
    for (std::size_t slot = 0; slot < SlotCount; ++slot) {
        const Tables::Tree &t = tables.tree[slot];
        ::MibTree &ti = image.tree[slot];
        encodeField(ti.Name, t.name, NameWidth);
        ti.NameLength = t.name.length;
        ti.ObjectId = t.objectId;
        ti.Parent = t.parent;
        ti.Kind = t.kind;
        ti.InUse = t.inUse;

        const Tables::Attribute &a = tables.attribute[slot];
        ::MibAttribute &ai = image.attribute[slot];
        ai.Owner = a.owner;
        ai.Syntax = a.syntax;
        ai.Constraint = a.constraint;
        ai.Access = a.access;
        encodeField(ai.Description, a.description, NameWidth);
        ai.DescriptionLength = a.description.length;
        ai.KeyOrder = a.keyOrder;
        ai.InUse = a.inUse;

        const Tables::Range &r = tables.range[slot];
        ::MibRange &ri = image.range[slot];
        ri.Owner = r.owner;
        encodeField(ri.Minimum, r.minimum, BoundWidth);
        ri.MinimumLength = r.minimum.length;
        encodeField(ri.Maximum, r.maximum, BoundWidth);
        ri.MaximumLength = r.maximum.length;
        ri.InUse = r.inUse;

        const Tables::List &l = tables.list[slot];
        ::MibList &li = image.list[slot];
        li.Owner = l.owner;
        encodeField(li.ItemName, l.itemName, NameWidth);
        li.ItemNameLength = l.itemName.length;
        li.ItemValue = l.itemValue;
        li.InUse = l.inUse;
    }
}

int objectCount(const RecordImage &image)
{
    int count = 0;
    for (std::size_t slot = 0; slot < SlotCount; ++slot)
        count += image.tree[slot].InUse == 1;
    return count;
}

std::string designImage(const RecordImage &image)
{
    static const ::MibRange NoRange{};
    static const ::MibList NoList{};
    // Taken back into the tables, a text is stored with its length in
    // characters, so the file holds each text as read, cut to its width.
    std::string out;
    out.reserve(4 * StoredSlotCount * 24);
    for (int section = 0; section < 4; ++section) {
        out += OpeningBytes[section];
        out += "\r\n";
        for (std::size_t slot = 0; slot < StoredSlotCount; ++slot) {
            switch (section) {
            case 0: {
                const ::MibTree &r = image.tree[slot];
                const std::string name = fieldText(r.Name, NameWidth);
                appendText(out, name);
                appendNumbers(out, {characterCount(name), r.ObjectId, r.Parent, r.Kind, r.InUse}, true);
                break;
            }
            case 1: {
                const ::MibAttribute &r = image.attribute[slot];
                appendNumbers(out, {r.Owner, r.Syntax, r.Constraint, r.Access}, false);
                const std::string description = fieldText(r.Description, NameWidth);
                appendText(out, description);
                appendNumbers(out, {characterCount(description), r.KeyOrder, r.InUse}, true);
                break;
            }
            case 2: {
                const ::MibRange &r = image.range != nullptr ? image.range[slot] : NoRange;
                appendNumbers(out, {r.Owner}, false);
                const std::string minimum = fieldText(r.Minimum, BoundWidth);
                const std::string maximum = fieldText(r.Maximum, BoundWidth);
                appendText(out, minimum);
                out += ',';
                appendText(out, maximum);
                appendNumbers(out, {characterCount(minimum), characterCount(maximum), r.InUse}, true);
                break;
            }
            default: {
                const ::MibList &r = image.list != nullptr ? image.list[slot] : NoList;
                appendNumbers(out, {r.Owner}, false);
                const std::string itemName = fieldText(r.ItemName, NameWidth);
                appendText(out, itemName);
                appendNumbers(out, {characterCount(itemName), r.ItemValue, r.InUse}, true);
                break;
            }
            }
            out += "\r\n";
        }
        out += ClosingBytes[section];
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> omittedObjects(const Tables &tables)
{
    std::map<int32_t, std::vector<int>> children;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (tables.tree[static_cast<std::size_t>(slot)].inUse != 0)
            children[tables.tree[static_cast<std::size_t>(slot)].parent].push_back(slot);
    }
    auto id = [&](int slot) { return tables.tree[static_cast<std::size_t>(slot)].objectId; };
    auto name = [&](int slot) {
        std::string text;
        appendUtf8(text, displayed(tables.tree[static_cast<std::size_t>(slot)].name, NameWidth));
        return text;
    };
    // Among siblings with one sub-identifier the seed writer keeps the last slot.
    std::set<int> written;
    std::deque<int> pending{-1};
    std::map<int, std::string> reasons;
    const std::vector<int> none;
    while (!pending.empty()) {
        const int parent = pending.front();
        pending.pop_front();
        const auto found = children.find(parent);
        const std::vector<int> &siblings = found == children.end() ? none : found->second;
        std::map<int32_t, int> kept;
        for (const int slot : siblings) {
            if (id(slot) > 0 && !written.contains(slot))
                kept[id(slot)] = slot;
        }
        for (const int slot : siblings) {
            if (id(slot) <= 0)
                reasons[slot] = "its sub-identifier " + std::to_string(id(slot)) + " is not positive";
            else if (kept[id(slot)] != slot)
                reasons[slot] = "its sub-identifier " + std::to_string(id(slot)) + " is taken by "
                    + name(kept[id(slot)]);
        }
        for (const auto &[key, slot] : kept) {
            written.insert(slot);
            pending.push_back(slot);
        }
    }
    std::vector<std::string> lines;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (tables.tree[static_cast<std::size_t>(slot)].inUse == 0 || written.contains(slot))
            continue;
        const auto reason = reasons.find(slot);
        lines.push_back(name(slot) + ": warning: not in the module: "
                        + (reason != reasons.end() ? reason->second : "it cannot be reached from enterprise"));
    }
    return lines;
}

} // namespace korvel::seed
