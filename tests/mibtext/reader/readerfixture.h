// The reader's tests run in a temporary folder of their own, made the current
// directory so that ./error.log lands there, and hand the library four arrays
// of 1001 records as the program does.
#pragma once

#include "korvel_mib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace korvel::testing {

// The four arrays with their descriptors (tree, attribute, range, list).
// Every byte starts as `fill`, so a test can tell what the library wrote
// from what it left alone.
class RecordArrays
{
public:
    static constexpr int Slots = 1001;
    static constexpr unsigned char Fill = 0xA5;

    explicit RecordArrays(unsigned char fill = Fill)
    {
        describe(m_descriptor[0], tree, fill);
        describe(m_descriptor[1], attribute, fill);
        describe(m_descriptor[2], range, fill);
        describe(m_descriptor[3], list, fill);
    }
    RecordArrays(const RecordArrays &) = delete;
    RecordArrays &operator=(const RecordArrays &) = delete;

    int32_t read(const std::string &path) { return call(MIBAnalysisProc, path.c_str()); }
    int32_t create(const std::string &path) { return call(MIBCreateProc, path.c_str()); }

    template <typename Proc>
    int32_t call(Proc proc, const char *path)
    {
        SAFEARRAY *a[] = {&m_descriptor[0], &m_descriptor[1], &m_descriptor[2], &m_descriptor[3]};
        return proc(&a[0], &a[1], &a[2], &a[3], path);
    }

    // In-use records among slots 0 to 999.
    int treeCount() const { return inUse(tree); }
    int attributeCount() const { return inUse(attribute); }

    // The slot of the first record named `name`, or -1.
    int slotOf(const std::string &name) const
    {
        for (int slot = 0; slot < Slots - 1; ++slot) {
            if (tree[slot].InUse != 0 && name == tree[slot].Name)
                return slot;
        }
        return -1;
    }

    // The attribute record owned by `slot`, or nullptr.
    const MibAttribute *attributeOf(int slot) const
    {
        for (int at = 0; at < Slots - 1; ++at) {
            if (attribute[at].InUse != 0 && attribute[at].Owner == slot)
                return &attribute[at];
        }
        return nullptr;
    }

    // Every byte of records `from` to 1000 of each array still as it was
    // filled.
    bool untouched(int from = 0) const
    {
        return all(tree, from, Fill) && all(attribute, from, Fill) && all(range, from, Fill)
            && all(list, from, Fill);
    }

    // Records 0 to 999 of the range and list arrays all zero.
    bool rangesAndListsZero() const { return all(range, 0, 0, Slots - 1) && all(list, 0, 0, Slots - 1); }

    std::vector<MibTree> tree = std::vector<MibTree>(Slots);
    std::vector<MibAttribute> attribute = std::vector<MibAttribute>(Slots);
    std::vector<MibRange> range = std::vector<MibRange>(Slots);
    std::vector<MibList> list = std::vector<MibList>(Slots);

private:
    template <typename Record>
    static void describe(SAFEARRAY &array, std::vector<Record> &records, unsigned char fill)
    {
        std::memset(&array, 0, sizeof array);
        array.cDims = 1;
        array.cbElements = sizeof(Record);
        array.pvData = records.data();
        array.rgsabound[0].cElements = static_cast<uint32_t>(records.size());
        std::memset(static_cast<void *>(records.data()), fill, records.size() * sizeof(Record));
    }

    // Every byte of records `from` to `to` - 1 equal to `value`.
    template <typename Record>
    static bool all(const std::vector<Record> &records, int from, unsigned char value, int to = Slots)
    {
        const auto *bytes = reinterpret_cast<const unsigned char *>(records.data() + from);
        return std::all_of(bytes, bytes + static_cast<std::size_t>(to - from) * sizeof(Record),
                           [value](unsigned char byte) { return byte == value; });
    }

    template <typename Record>
    static int inUse(const std::vector<Record> &records)
    {
        return static_cast<int>(
            std::count_if(records.begin(), records.end() - 1, [](const Record &r) { return r.InUse != 0; }));
    }

    SAFEARRAY m_descriptor[4];
};

class ReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-reader-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_dir);
    }

    void TearDown() override
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_dir, ignored);
    }

    std::string path(const std::string &name = "in.mib") const { return (m_dir / name).string(); }

    void writeFile(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    static std::string readFile(const std::string &file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // A module of tests/data/mib.
    static std::string dataFile(const std::string &name) { return readFile(KORVEL_TEST_DATA "/mib/" + name); }

    // The names in the folder, sorted.
    std::vector<std::string> folderContent() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string errorLog() const { return readFile(path("error.log")); }

    // Writes `text` as the module `name` and reads it into `arrays`.
    int32_t readText(const std::string &text, RecordArrays &arrays, const std::string &name = "in.mib") const
    {
        writeFile(name, text);
        return arrays.read(path(name));
    }

    std::filesystem::path m_dir;
    std::filesystem::path m_previous;
};

enum Kind { Node = 1, Table = 2, Entry = 3, Leaf = 4 };

struct Expected {
    std::string name;
    int kind;
    int parent;
    int objectId;
    int syntax;
    int access;
    std::string description;
};

// Checks the records in slots 0, 1, ... against `expected`: a tree record
// for each, and for every object but a node the next attribute record, owned
// by it. Nothing else is in use, and no range or list record was made.
inline void expectRecords(const RecordArrays &arrays, const std::vector<Expected> &expected)
{
    int attributeSlot = 0;
    for (std::size_t slot = 0; slot < expected.size(); ++slot) {
        const Expected &e = expected[slot];
        SCOPED_TRACE(e.name);
        const MibTree &record = arrays.tree[slot];
        EXPECT_EQ(record.InUse, 1);
        EXPECT_EQ(record.Name, e.name);
        EXPECT_EQ(record.NameLength, static_cast<int32_t>(e.name.size()));
        EXPECT_EQ(record.Kind, e.kind);
        EXPECT_EQ(record.Parent, e.parent);
        EXPECT_EQ(record.ObjectId, e.objectId);
        if (e.kind == Node)
            continue;
        const MibAttribute &attribute = arrays.attribute[attributeSlot++];
        EXPECT_EQ(attribute.InUse, 1);
        EXPECT_EQ(attribute.Owner, static_cast<int32_t>(slot));
        EXPECT_EQ(attribute.Syntax, e.syntax);
        EXPECT_EQ(attribute.Access, e.access);
        EXPECT_EQ(attribute.Description, e.description);
        EXPECT_EQ(attribute.DescriptionLength, static_cast<int32_t>(e.description.size()));
        EXPECT_EQ(attribute.Constraint, 0);
        EXPECT_EQ(attribute.KeyOrder, 0);
    }
    EXPECT_EQ(arrays.treeCount(), static_cast<int>(expected.size()));
    EXPECT_EQ(arrays.attributeCount(), attributeSlot);
    EXPECT_TRUE(arrays.rangesAndListsZero());
}

// Undoes the escapes of a .records file: \n, \t, \r, \\ and \xHH.
inline std::string unescape(const std::string &text)
{
    std::string bytes;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\' || at + 1 == text.size()) {
            bytes += text[at];
        } else if (text[++at] == 'x') {
            bytes += static_cast<char>(std::stoi(text.substr(at + 1, 2), nullptr, 16));
            at += 2;
        } else {
            bytes += text[at] == 'n' ? '\n' : text[at] == 't' ? '\t' : text[at] == 'r' ? '\r' : text[at];
        }
    }
    return bytes;
}

// The objects of a .records file of tests/data/mib (what the module beside
// it reads as, or a design to write): one line per object, "name kind parent
// objectId syntax access description", the kind spelt out, the parent a
// slot, the description the rest of the line.
inline std::vector<Expected> recordsOf(const std::string &text)
{
    std::vector<Expected> records;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Expected e;
        std::string kind;
        fields >> e.name >> kind >> e.parent >> e.objectId >> e.syntax >> e.access;
        fields.get();
        std::getline(fields, e.description);
        e.name = unescape(e.name);
        e.description = unescape(e.description);
        e.kind = kind == "Node" ? Node : kind == "Table" ? Table : kind == "Entry" ? Entry : kind == "Leaf" ? Leaf : 0;
        records.push_back(e);
    }
    return records;
}

// A module around `body`, with a header in the usual SMIv2 style and CR LF
// line ends.
inline std::string moduleText(const std::string &body)
{
    std::string crlf;
    for (char byte : "TEST-MIB DEFINITIONS ::= BEGIN\nIMPORTS enterprises, OBJECT-TYPE FROM SNMPv2-SMI;\n" + body
             + "\nEND\n") {
        if (byte == '\n')
            crlf += '\r';
        crlf += byte;
    }
    return crlf;
}

} // namespace korvel::testing
