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
#include <string>
#include <vector>

namespace korvel::testing {

// The four arrays with their descriptors. Every byte starts as `fill`, so a
// test can tell what the library wrote from what it left alone.
class RecordArrays
{
public:
    static constexpr int Slots = 1001;
    static constexpr unsigned char Fill = 0xA5;

    RecordArrays() : m_tree(Slots), m_attribute(Slots), m_range(Slots), m_list(Slots)
    {
        describe(m_treeArray, m_tree);
        describe(m_attributeArray, m_attribute);
        describe(m_rangeArray, m_range);
        describe(m_listArray, m_list);
        fill(m_tree);
        fill(m_attribute);
        fill(m_range);
        fill(m_list);
    }

    RecordArrays(const RecordArrays &) = delete;
    RecordArrays &operator=(const RecordArrays &) = delete;

    int32_t read(const std::string &path)
    {
        SAFEARRAY *tree = &m_treeArray;
        SAFEARRAY *attribute = &m_attributeArray;
        SAFEARRAY *range = &m_rangeArray;
        SAFEARRAY *list = &m_listArray;
        return MIBAnalysisProc(&tree, &attribute, &range, &list, path.c_str());
    }

    // Writes the module for the records in the arrays.
    int32_t create(const std::string &path)
    {
        SAFEARRAY *tree = &m_treeArray;
        SAFEARRAY *attribute = &m_attributeArray;
        SAFEARRAY *range = &m_rangeArray;
        SAFEARRAY *list = &m_listArray;
        return MIBCreateProc(&tree, &attribute, &range, &list, path.c_str());
    }

    // Sets every byte of every record to zero, as a fresh design has them.
    void clear()
    {
        std::memset(static_cast<void *>(m_tree.data()), 0, m_tree.size() * sizeof(MibTree));
        std::memset(static_cast<void *>(m_attribute.data()), 0, m_attribute.size() * sizeof(MibAttribute));
        std::memset(static_cast<void *>(m_range.data()), 0, m_range.size() * sizeof(MibRange));
        std::memset(static_cast<void *>(m_list.data()), 0, m_list.size() * sizeof(MibList));
    }

    MibTree &tree(int slot) { return m_tree[static_cast<std::size_t>(slot)]; }
    MibAttribute &attribute(int slot) { return m_attribute[static_cast<std::size_t>(slot)]; }
    MibRange &range(int slot) { return m_range[static_cast<std::size_t>(slot)]; }
    MibList &list(int slot) { return m_list[static_cast<std::size_t>(slot)]; }
    const MibTree &tree(int slot) const { return m_tree[static_cast<std::size_t>(slot)]; }
    const MibAttribute &attribute(int slot) const { return m_attribute[static_cast<std::size_t>(slot)]; }

    SAFEARRAY &treeArray() { return m_treeArray; }
    SAFEARRAY &attributeArray() { return m_attributeArray; }
    SAFEARRAY &rangeArray() { return m_rangeArray; }
    SAFEARRAY &listArray() { return m_listArray; }

    // In-use records among slots 0 to 999.
    int treeCount() const { return inUse(m_tree); }
    int attributeCount() const { return inUse(m_attribute); }

    // The slot of the first record named `name`, or -1.
    int slotOf(const std::string &name) const
    {
        for (int slot = 0; slot < Slots - 1; ++slot) {
            if (tree(slot).InUse != 0 && name == tree(slot).Name)
                return slot;
        }
        return -1;
    }

    // The attribute record owned by `slot`, or nullptr.
    const MibAttribute *attributeOf(int slot) const
    {
        for (int at = 0; at < Slots - 1; ++at) {
            if (attribute(at).InUse != 0 && attribute(at).Owner == slot)
                return &attribute(at);
        }
        return nullptr;
    }

    // Every byte of every record still as it was filled.
    bool untouched() const
    {
        return filled(m_tree, 0, Slots) && filled(m_attribute, 0, Slots) && filled(m_range, 0, Slots)
            && filled(m_list, 0, Slots);
    }

    // Element 1000 of each array still as it was filled.
    bool lastElementsUntouched() const
    {
        return filled(m_tree, Slots - 1, Slots) && filled(m_attribute, Slots - 1, Slots)
            && filled(m_range, Slots - 1, Slots) && filled(m_list, Slots - 1, Slots);
    }

    // Records 0 to 999 of the range and list arrays all zero.
    bool rangesAndListsZero() const { return zero(m_range) && zero(m_list); }

private:
    template <typename Record>
    static void describe(SAFEARRAY &array, std::vector<Record> &records)
    {
        std::memset(&array, 0, sizeof array);
        array.cDims = 1;
        array.cbElements = sizeof(Record);
        array.pvData = records.data();
        array.rgsabound[0].cElements = static_cast<uint32_t>(records.size());
        array.rgsabound[0].lLbound = 0;
    }

    template <typename Record>
    static void fill(std::vector<Record> &records)
    {
        std::memset(static_cast<void *>(records.data()), Fill, records.size() * sizeof(Record));
    }

    template <typename Record>
    static bool filled(const std::vector<Record> &records, int from, int to)
    {
        const auto *bytes = reinterpret_cast<const unsigned char *>(records.data() + from);
        const std::size_t count = static_cast<std::size_t>(to - from) * sizeof(Record);
        return std::all_of(bytes, bytes + count, [](unsigned char byte) { return byte == Fill; });
    }

    template <typename Record>
    static bool zero(const std::vector<Record> &records)
    {
        const auto *bytes = reinterpret_cast<const unsigned char *>(records.data());
        const std::size_t count = static_cast<std::size_t>(Slots - 1) * sizeof(Record);
        return std::all_of(bytes, bytes + count, [](unsigned char byte) { return byte == 0; });
    }

    template <typename Record>
    static int inUse(const std::vector<Record> &records)
    {
        return static_cast<int>(
            std::count_if(records.begin(), records.end() - 1, [](const Record &r) { return r.InUse != 0; }));
    }

    std::vector<MibTree> m_tree;
    std::vector<MibAttribute> m_attribute;
    std::vector<MibRange> m_range;
    std::vector<MibList> m_list;
    SAFEARRAY m_treeArray;
    SAFEARRAY m_attributeArray;
    SAFEARRAY m_rangeArray;
    SAFEARRAY m_listArray;
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

    bool exists(const std::string &name) const { return std::filesystem::exists(m_dir / name); }

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
    const char *name;
    int kind;
    int parent;
    int objectId;
    int syntax;
    int access;
    const char *description;
};

// Checks the records in slots 0, 1, ... against `expected`: a tree record
// for each, and for every object but a node the next attribute record, owned
// by it. Nothing else is in use, and no range or list record was made.
inline void expectRecords(const RecordArrays &arrays, const std::vector<Expected> &expected)
{
    int attributeSlot = 0;
    for (std::size_t slot = 0; slot < expected.size(); ++slot) {
        SCOPED_TRACE(expected[slot].name);
        const int at = static_cast<int>(slot);
        const MibTree &record = arrays.tree(at);
        EXPECT_EQ(record.InUse, 1);
        EXPECT_STREQ(record.Name, expected[slot].name);
        EXPECT_EQ(record.NameLength, static_cast<int32_t>(std::strlen(expected[slot].name)));
        EXPECT_EQ(record.Kind, expected[slot].kind);
        EXPECT_EQ(record.Parent, expected[slot].parent);
        EXPECT_EQ(record.ObjectId, expected[slot].objectId);
        if (expected[slot].kind == Node)
            continue;
        const MibAttribute &attribute = arrays.attribute(attributeSlot++);
        EXPECT_EQ(attribute.InUse, 1);
        EXPECT_EQ(attribute.Owner, at);
        EXPECT_EQ(attribute.Syntax, expected[slot].syntax);
        EXPECT_EQ(attribute.Access, expected[slot].access);
        EXPECT_STREQ(attribute.Description, expected[slot].description);
        EXPECT_EQ(attribute.DescriptionLength,
                  static_cast<int32_t>(std::strlen(expected[slot].description)));
        EXPECT_EQ(attribute.Constraint, 0);
        EXPECT_EQ(attribute.KeyOrder, 0);
    }
    EXPECT_EQ(arrays.treeCount(), static_cast<int>(expected.size()));
    EXPECT_EQ(arrays.attributeCount(), attributeSlot);
    EXPECT_TRUE(arrays.rangesAndListsZero());
}

// A module around `body`, with a header in the usual SMIv2 style and CR LF
// line ends.
inline std::string moduleText(const std::string &body)
{
    std::string text = "TEST-MIB DEFINITIONS ::= BEGIN\n\nIMPORTS\n    enterprises, OBJECT-TYPE\n"
                       "        FROM SNMPv2-SMI;\n\n"
        + body + "\nEND\n";
    std::string crlf;
    for (char byte : text) {
        if (byte == '\n')
            crlf += '\r';
        crlf += byte;
    }
    return crlf;
}

} // namespace korvel::testing
