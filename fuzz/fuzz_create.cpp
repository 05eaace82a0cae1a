// Feeds arbitrary record images to MIBCreateProc.
//
// The input is read as a list of edits to four zeroed arrays of 1001
// records. Most edits set fields to small, meaningful values (parents near
// the root, low sub-identifiers, the kind, syntax, constraint and key codes)
// so that every template and failure of the writer is reached; raw edits
// copy input bytes over whole records, so texts without a zero byte and wild
// numbers come too. Besides the sanitizers, each run checks what must hold
// whatever the tables say: the result is 0 or -1, a module ends in "END"
// with every LF after a CR, and a failure leaves no file at all.
#include "korvel_mib.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int Slots = 1001;
constexpr const char *Output = "fuzz.mib";

MibTree Tree[Slots];
MibAttribute Attribute[Slots];
MibRange Range[Slots];
MibList List[Slots];
char Module[1 << 23];

class Input
{
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    bool done() const { return m_at >= m_size; }
    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }

    int32_t word()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | byte();
        return static_cast<int32_t>(value);
    }

    // Mostly -1 to 62 (the root and the first slots), sometimes any value.
    int32_t reference()
    {
        const uint8_t b = byte();
        return b < 240 ? b % 64 - 1 : word();
    }

    // Mostly -2 to 13, sometimes any value.
    int32_t number()
    {
        const uint8_t b = byte();
        return b < 240 ? b % 16 - 2 : word();
    }

    int slot()
    {
        const uint8_t b = byte();
        return b == 255 ? Slots - 1 : b % 64;
    }

    // A text of a length chosen by the input; a full field has no zero byte.
    void text(char *field, size_t width)
    {
        std::memset(field, 0, width);
        const size_t length = byte() % (width + 1);
        const uint8_t fill = byte();
        for (size_t i = 0; i < length; ++i)
            field[i] = static_cast<char>(done() || i >= 24 ? fill + i % 7 : byte());
    }

    void raw(void *record, size_t size)
    {
        const size_t offset = byte() % size;
        const size_t count = byte() % (size - offset + 1);
        for (size_t i = 0; i < count; ++i)
            static_cast<char *>(record)[offset + i] = static_cast<char>(byte());
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

int32_t inUse(Input &in)
{
    const uint8_t b = in.byte();
    return b < 200 ? 1 : b < 250 ? 0 : b - 240;
}

int32_t syntax(Input &in)
{
    static const int32_t codes[] = {2, 4, 6, 48, 64, 65, 66, 67, 68, 0};
    const uint8_t b = in.byte();
    return b < 250 ? codes[b % 10] : in.word();
}

int32_t keyOrder(Input &in)
{
    static const int32_t keys[] = {0, 0, 1, 2, 3, 999, 1000, 1001, -1};
    const uint8_t b = in.byte();
    return b < 250 ? keys[b % 9] : in.word();
}

void edit(Input &in, int32_t &lower, uint32_t &count, uint32_t &badSize)
{
    switch (in.byte() % 7) {
    case 0: {
        MibTree &r = Tree[in.slot()];
        in.text(r.Name, sizeof r.Name);
        r.ObjectId = in.number();
        r.Parent = in.reference();
        r.Kind = in.byte() % 7 - 1;
        r.InUse = inUse(in);
        break;
    }
    case 1: {
        MibAttribute &r = Attribute[in.slot()];
        r.Owner = in.reference();
        r.Syntax = syntax(in);
        r.Constraint = in.byte() % 5 - 1;
        r.Access = in.number();
        in.text(r.Description, sizeof r.Description);
        r.KeyOrder = keyOrder(in);
        r.InUse = inUse(in);
        break;
    }
    case 2: {
        MibRange &r = Range[in.slot()];
        r.Owner = in.reference();
        in.text(r.Minimum, sizeof r.Minimum);
        in.text(r.Maximum, sizeof r.Maximum);
        r.InUse = inUse(in);
        break;
    }
    case 3: {
        MibList &r = List[in.slot()];
        r.Owner = in.reference();
        in.text(r.ItemName, sizeof r.ItemName);
        r.ItemValue = in.number();
        r.InUse = inUse(in);
        break;
    }
    case 4: {
        const int slot = (in.byte() << 8 | in.byte()) % Slots;
        switch (in.byte() % 4) {
        case 0:
            in.raw(&Tree[slot], sizeof Tree[slot]);
            break;
        case 1:
            in.raw(&Attribute[slot], sizeof Attribute[slot]);
            break;
        case 2:
            in.raw(&Range[slot], sizeof Range[slot]);
            break;
        default:
            in.raw(&List[slot], sizeof List[slot]);
            break;
        }
        break;
    }
    case 5:
        lower = in.byte() < 240 ? (in.byte() % 16 - 2) * 100 : in.word();
        count = static_cast<uint32_t>(Slots - static_cast<int64_t>(lower));
        if (in.byte() < 32)
            count = in.byte() * 8u;
        break;
    default:
        badSize = in.byte() < 16 ? 1 : 0;
        break;
    }
}

SAFEARRAY describe(void *data, uint32_t size, int32_t lower, uint32_t count)
{
    SAFEARRAY array{};
    array.cDims = 1;
    array.cbElements = size;
    array.pvData = data;
    // Never more elements than the caller's storage holds: that is the
    // caller's promise, not something the library can check.
    const int64_t available = Slots;
    array.rgsabound[0].cElements = count > available ? static_cast<uint32_t>(available) : count;
    array.rgsabound[0].lLbound = lower;
    return array;
}

bool exists(const char *path)
{
    if (std::FILE *file = std::fopen(path, "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::memset(Tree, 0, sizeof Tree);
    std::memset(Attribute, 0, sizeof Attribute);
    std::memset(Range, 0, sizeof Range);
    std::memset(List, 0, sizeof List);
    int32_t lower = 0;
    uint32_t count = Slots;
    uint32_t badSize = 0;
    Input in(data, size);
    while (!in.done())
        edit(in, lower, count, badSize);

    SAFEARRAY tree = describe(Tree, sizeof(MibTree), lower, count);
    SAFEARRAY attribute = describe(Attribute, sizeof(MibAttribute) + badSize, lower, count);
    SAFEARRAY range = describe(Range, sizeof(MibRange), lower, count);
    SAFEARRAY list = describe(List, sizeof(MibList), lower, count);
    SAFEARRAY *t = &tree, *a = &attribute, *r = &range, *l = &list;

    std::remove(Output);
    const int32_t result = MIBCreateProc(&t, &a, &r, &l, Output);
    check(result == 0 || result == -1, "a result other than 0 or -1");
    check(tree.cLocks == 0 && attribute.cLocks == 0 && range.cLocks == 0 && list.cLocks == 0,
          "an array left locked");
    check(!exists("fuzz.mib.tmp0"), "a temporary file left behind");
    if (result != 0) {
        check(!exists(Output), "a file left after a failure");
        return 0;
    }
    std::FILE *file = std::fopen(Output, "rb");
    check(file != nullptr, "no file after success");
    const size_t length = std::fread(Module, 1, sizeof Module, file);
    std::fclose(file);
    check(length < sizeof Module, "a module larger than the check's buffer");
    check(length >= 7 && std::memcmp(Module + length - 7, "\r\nEND\r\n", 7) == 0, "a module not ending in END");
    for (size_t i = 0; i < length; ++i)
        check(Module[i] != '\n' || (i > 0 && Module[i - 1] == '\r'), "a line end without CR");
    return 0;
}
