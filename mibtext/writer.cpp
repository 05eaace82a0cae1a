#include "writer.h"

#include "tables.h"
#include "korvel_cp932_prefix.h"

#include <climits>
#include <cstring>

namespace korvel::mib {

const SyntaxName SyntaxNameTable[8] = {
    {2, "INTEGER"},  {4, "OCTET STRING"}, {6, "OBJECT IDENTIFIER"}, {64, "IpAddress"},
    {65, "Counter"}, {66, "Gauge"},       {67, "TimeTicks"},        {68, "Opaque"},
};

const char *const AccessNameTable[4] = {"not-accessible", "read-only", "read-write", "not-accessible"};

const char *syntaxName(int32_t code)
{
    for (const SyntaxName &entry : SyntaxNameTable) {
        if (entry.code == code)
            return entry.name;
    }
    return "SEQUENCE";
}

const char *accessName(int32_t code)
{
    return code >= 0 && code <= 3 ? AccessNameTable[code] : "not-accessible";
}

namespace {

constexpr int32_t RootParent = -1;
constexpr const char *RootName = "enterprise";
constexpr const char *Banner =
    "\t--=========================================================================\n";

using cp932::wholeCharacters;

struct Text {
    const char *bytes;
    std::size_t size;
};

template <std::size_t Width>
Text storedText(const char (&field)[Width])
{
    return {field, StoredTextLength(field, Width)};
}

// The module text goes through one static buffer. Every LF is written as
// CR LF, as a text-mode file on Windows stores it; the file itself is binary
// so that nothing else is translated on any platform.
class ModuleOutput
{
public:
    void begin(std::FILE *file)
    {
        m_file = file;
        m_used = 0;
        m_failed = false;
    }

    void text(const char *bytes, std::size_t size)
    {
        while (size > 0) {
            const void *lf = std::memchr(bytes, '\n', size);
            const std::size_t run = lf ? static_cast<std::size_t>(static_cast<const char *>(lf) - bytes) : size;
            raw(bytes, run);
            if (!lf)
                return;
            raw("\r\n", 2);
            bytes += run + 1;
            size -= run + 1;
        }
    }

    void text(Text value) { text(value.bytes, value.size); }
    void text(const char *literal) { text(literal, std::strlen(literal)); }

    // A text inside an ASN.1 string: each double quote is doubled.
    void quoted(Text value)
    {
        const char *bytes = value.bytes;
        std::size_t size = value.size;
        while (size > 0) {
            const void *quote = std::memchr(bytes, '"', size);
            const std::size_t run =
                quote ? static_cast<std::size_t>(static_cast<const char *>(quote) - bytes) + 1 : size;
            text(bytes, run);
            if (quote)
                raw("\"", 1);
            bytes += run;
            size -= run;
        }
    }

    // "%-12s": left-aligned, blanks up to `width` bytes, a longer text whole.
    void padded(Text value, std::size_t width)
    {
        text(value);
        for (std::size_t at = value.size; at < width; ++at)
            raw(" ", 1);
    }

    void number(int32_t value)
    {
        char digits[12];
        std::size_t count = 0;
        uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        do {
            digits[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0)
            digits[count++] = '-';
        while (count > 0)
            raw(&digits[--count], 1);
    }

    // Writes out what is buffered; false when any write failed.
    bool finish()
    {
        flush();
        return !m_failed && std::fflush(m_file) == 0 && std::ferror(m_file) == 0;
    }

private:
    void raw(const char *bytes, std::size_t size)
    {
        while (size > 0) {
            if (m_used == sizeof m_buffer)
                flush();
            const std::size_t room = sizeof m_buffer - m_used;
            const std::size_t part = size < room ? size : room;
            std::memcpy(m_buffer + m_used, bytes, part);
            m_used += part;
            bytes += part;
            size -= part;
        }
    }

    void flush()
    {
        if (m_used > 0 && !m_failed && std::fwrite(m_buffer, 1, m_used, m_file) != m_used)
            m_failed = true;
        m_used = 0;
    }

    std::FILE *m_file = nullptr;
    std::size_t m_used = 0;
    bool m_failed = false;
    char m_buffer[1 << 16];
};

ModuleOutput Output;

// Per-object lists, made afresh for each entry or leaf. KeyList has a place
// for every key position the editor accepts, 1 to 1000.
constexpr int KeyPositions = 1001;
int ColumnList[RecordCount];
int ColumnAttribute[RecordCount];
int KeyList[KeyPositions];
int ItemList[RecordCount];
char StemBuffer[KORVEL_MIB_NAME_BYTES];

Text nameOf(int slot)
{
    return storedText(WriteTables.tree[slot].Name);
}

Text parentNameOf(const MibTree &record)
{
    if (record.Parent == RootParent)
        return {RootName, std::strlen(RootName)};
    return nameOf(record.Parent);
}

Text stemOf(const MibTree &record)
{
    const Text name = storedText(record.Name);
    return {StemBuffer, EntryTypeBase(name.bytes, name.size, StemBuffer)};
}

// "\n", the banner, "\t--\t%s\n", the banner: written before nodes and tables.
void writeBanner(const MibTree &record)
{
    Output.text("\n");
    Output.text(Banner);
    Output.text("\t--\t");
    Output.text(storedText(record.Name));
    Output.text("\n");
    Output.text(Banner);
}

void writeDescription(const MibAttribute &attribute)
{
    Output.text("\t\tDESCRIPTION\n\t\t\t\"");
    Output.quoted(storedText(attribute.Description));
    Output.text("\"\n");
}

// "\t\t::= { %s %d }\n"
void writePlace(const MibTree &record)
{
    Output.text("\t\t::= { ");
    Output.text(parentNameOf(record));
    Output.text(" ");
    Output.number(record.ObjectId);
    Output.text(" }\n");
}

int writeNode(int slot)
{
    const MibTree &record = WriteTables.tree[slot];
    writeBanner(record);
    Output.text("\t");
    Output.padded(storedText(record.Name), 12);
    Output.text("\t\tOBJECT IDENTIFIER ::= { ");
    Output.text(parentNameOf(record));
    Output.text(" ");
    Output.number(record.ObjectId);
    Output.text(" }\n");
    return 0;
}

int writeTable(int slot)
{
    const int attribute = FindAttribute(slot);
    if (attribute == NoRecord)
        return -1;
    const MibTree &record = WriteTables.tree[slot];
    writeBanner(record);
    Output.text("\t");
    Output.padded(storedText(record.Name), 12);
    Output.text("\tOBJECT-TYPE\n\t\tSYNTAX\t\tSEQUENCE OF ");
    Output.text(stemOf(record));
    Output.text("Entry\n\t\tACCESS\t\tnot-accessible\n\t\tSTATUS\t\tcurrent\n");
    writeDescription(WriteTables.attribute[attribute]);
    writePlace(record);
    return 0;
}

// Gathers the columns of `entry` into ColumnList, ordered by ObjectId as
// unsigned numbers (so negative ones come last), equal ones in slot order,
// and their key positions into KeyList. False when a column has no attribute.
bool gatherColumns(int entry, int &count)
{
    count = 0;
    for (int &key : KeyList)
        key = NoRecord;
    for (int slot = 0; slot < RecordCount; ++slot) {
        const MibTree &column = WriteTables.tree[slot];
        if (column.InUse == 0 || column.Parent != entry)
            continue;
        const int attribute = FindAttribute(slot);
        if (attribute == NoRecord)
            return false;
        const auto id = static_cast<uint32_t>(column.ObjectId);
        int at = count;
        while (at > 0 && static_cast<uint32_t>(WriteTables.tree[ColumnList[at - 1]].ObjectId) > id) {
            ColumnList[at] = ColumnList[at - 1];
            ColumnAttribute[at] = ColumnAttribute[at - 1];
            --at;
        }
        ColumnList[at] = slot;
        ColumnAttribute[at] = attribute;
        ++count;
        // Key positions outside the editor's 1 to 1000 have no place; such a
        // column is simply no key.
        const int32_t key = WriteTables.attribute[attribute].KeyOrder;
        if (key >= 1 && key < KeyPositions)
            KeyList[key] = slot;
    }
    return true;
}

int writeEntry(int slot)
{
    const int attribute = FindAttribute(slot);
    if (attribute == NoRecord)
        return -1;
    int columns = 0;
    if (!gatherColumns(slot, columns))
        return -1;

    const MibTree &record = WriteTables.tree[slot];
    const Text stem = stemOf(record);
    Output.text("\n\t");
    Output.padded(storedText(record.Name), 12);
    Output.text("\tOBJECT-TYPE\n\t\tSYNTAX\t\t");
    Output.text(stem);
    Output.text("Entry\n\t\tACCESS\t\tnot-accessible\n\t\tSTATUS\t\tcurrent\n");
    writeDescription(WriteTables.attribute[attribute]);

    Output.text("\t\tINDEX\t\t{ ");
    bool first = true;
    for (int position = 1; position < KeyPositions; ++position) {
        if (KeyList[position] == NoRecord)
            continue;
        if (!first)
            Output.text(", ");
        Output.text(nameOf(KeyList[position]));
        first = false;
    }
    Output.text(" }\n");
    writePlace(record);

    Output.text("\n\t");
    Output.text(stem);
    Output.text("Entry ::=\n\t\tSEQUENCE {\n");
    for (int at = 0; at < columns; ++at) {
        if (at > 0)
            Output.text(",\n");
        Output.text("\t\t\t");
        Output.text(nameOf(ColumnList[at]));
        Output.text("\n\t\t\t\t");
        Output.text(syntaxName(WriteTables.attribute[ColumnAttribute[at]].Syntax));
    }
    Output.text("\n\t\t}\n");
    return 0;
}

int findRange(int slot)
{
    for (int index = 0; index < RecordCount; ++index) {
        const MibRange &range = WriteTables.range[index];
        if (range.InUse != 0 && range.Owner == slot)
            return index;
    }
    return NoRecord;
}

// The enumeration items of `slot` into ItemList, ordered by ItemValue as
// unsigned numbers, equal ones in slot order; an item valued -1 is left out.
int gatherItems(int slot)
{
    int count = 0;
    for (int index = 0; index < RecordCount; ++index) {
        const MibList &item = WriteTables.list[index];
        if (item.InUse == 0 || item.Owner != slot || item.ItemValue == -1)
            continue;
        const auto value = static_cast<uint32_t>(item.ItemValue);
        int at = count;
        while (at > 0 && static_cast<uint32_t>(WriteTables.list[ItemList[at - 1]].ItemValue) > value) {
            ItemList[at] = ItemList[at - 1];
            --at;
        }
        ItemList[at] = index;
        ++count;
    }
    return count;
}

int writeLeaf(int slot)
{
    const int attributeSlot = FindAttribute(slot);
    if (attributeSlot == NoRecord)
        return -1;
    const MibAttribute &attribute = WriteTables.attribute[attributeSlot];
    int range = NoRecord;
    int items = 0;
    if (attribute.Constraint == 1) {
        range = findRange(slot);
        if (range == NoRecord)
            return -1;
    } else if (attribute.Constraint == 2) {
        items = gatherItems(slot);
    }

    const MibTree &record = WriteTables.tree[slot];
    Output.text("\n\t");
    Output.padded(storedText(record.Name), 12);
    Output.text("\tOBJECT-TYPE\n\t\tSYNTAX\t\t");
    Output.text(syntaxName(attribute.Syntax));
    if (attribute.Constraint == 0) {
        Output.text("\n");
    } else if (attribute.Constraint == 1) {
        Output.text(" (");
        Output.text(storedText(WriteTables.range[range].Minimum));
        Output.text("..");
        Output.text(storedText(WriteTables.range[range].Maximum));
        Output.text(")\n");
    } else {
        Output.text(" {\n");
        for (int at = 0; at < items; ++at) {
            const MibList &item = WriteTables.list[ItemList[at]];
            if (at > 0)
                Output.text(",\n");
            Output.text("\t\t\t");
            Output.text(storedText(item.ItemName));
            Output.text("(");
            Output.number(item.ItemValue);
            Output.text(")");
        }
        Output.text("\n\t\t}\n");
    }
    Output.text("\t\tACCESS\t\t");
    Output.text(accessName(attribute.Access));
    Output.text("\n\t\tSTATUS\t\tmandatory\n");
    writeDescription(attribute);
    writePlace(record);
    return 0;
}

int writeObject(int slot)
{
    switch (WriteTables.tree[slot].Kind) {
    case 1:
        return writeNode(slot);
    case 2:
        return writeTable(slot);
    case 3:
        return writeEntry(slot);
    case 4:
        return writeLeaf(slot);
    default:
        return -1;
    }
}

void writeHeader()
{
    Output.text("-- This file is maked automatically by Korvel.\n"
                "\n"
                "Private-MIB DEFINITIONS ::= BEGIN\n"
                "\n"
                "IMPORTS\n"
                "\tenterprises, PhysAddress\n"
                "\t\tFROM SNMPv2-SMI\n"
                "\tprivate, IpAddress, Counter, Gauge, TimeTicks\n"
                "\t\tFROM RFC1155-SMI\n"
                "\tOBJECT-TYPE\n"
                "\t\tFROM RFC-1212;\n"
                "\n"
                "\tDisplayString ::= OCTET STRING\n"
                "\n"
                "\t");
    Output.padded({RootName, std::strlen(RootName)}, 12);
    Output.text("\t\tOBJECT IDENTIFIER ::= { private 1 }\n");
}

} // namespace

std::size_t StoredTextLength(const char *field, std::size_t width)
{
    const void *zero = std::memchr(field, 0, width);
    if (zero)
        return static_cast<std::size_t>(static_cast<const char *>(zero) - field);
    return wholeCharacters(field, width);
}

std::size_t EntryTypeBase(const char *name, std::size_t length, char *stem)
{
    if (length <= 5)
        return 0;
    const std::size_t size = wholeCharacters(name, length - 5);
    std::memcpy(stem, name, size);
    if (size > 0) {
        const auto first = static_cast<unsigned char>(stem[0]);
        if (first >= 0x60 && first <= 0x7F)
            stem[0] = static_cast<char>(first - 0x20);
    }
    return size;
}

int NextChild(int parent, int lastChild)
{
    const int32_t floor =
        lastChild >= 0 && lastChild < RecordCount ? WriteTables.tree[lastChild].ObjectId : 0;
    int32_t best = INT32_MAX;
    int found = NoRecord;
    for (int slot = 0; slot < RecordCount; ++slot) {
        const MibTree &record = WriteTables.tree[slot];
        if (record.InUse != 0 && record.Parent == parent && record.ObjectId > floor
            && record.ObjectId <= best) {
            best = record.ObjectId;
            found = slot;
        }
    }
    return best == INT32_MAX ? NoRecord : found;
}

int FindAttribute(int slot)
{
    for (int index = 0; index < RecordCount; ++index) {
        const MibAttribute &attribute = WriteTables.attribute[index];
        if (attribute.InUse != 0 && attribute.Owner == slot)
            return index;
    }
    return NoRecord;
}

int WriteMibModule(std::FILE *file)
{
    Output.begin(file);
    writeHeader();
    // Depth first without recursion: each written object becomes the parent
    // whose children are searched next; when it has none left the walk
    // climbs back to its Parent and goes on after it.
    int current = RootParent;
    int last = NoRecord;
    for (;;) {
        const int child = NextChild(current, last);
        if (child != NoRecord) {
            if (writeObject(child) < 0) {
                Output.finish();
                return -1;
            }
            current = child;
            last = NoRecord;
        } else if (current == RootParent) {
            Output.text("\nEND\n");
            return Output.finish() ? 0 : -1;
        } else {
            last = current;
            current = WriteTables.tree[current].Parent;
        }
    }
}

} // namespace korvel::mib
