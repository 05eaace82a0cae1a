// What the writer's and the reader's tests share: the four arrays of 1001
// records with their SAFEARRAY descriptors, as the program hands them, and a
// temporary folder per test, made the current directory so that ./error.log
// lands there.
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

// Every byte starts as `fill`, so a test can tell what the library wrote
// from what it left alone.
class RecordArrays
{
public:
    static constexpr int Slots = 1001;
    static constexpr unsigned char Fill = 0xA5;

    explicit RecordArrays(unsigned char fill = Fill)
    {
        std::memset(static_cast<void *>(tree.data()), fill, Slots * sizeof(MibTree));
        std::memset(static_cast<void *>(attribute.data()), fill, Slots * sizeof(MibAttribute));
        std::memset(static_cast<void *>(range.data()), fill, Slots * sizeof(MibRange));
        std::memset(static_cast<void *>(list.data()), fill, Slots * sizeof(MibList));
    }
    RecordArrays(const RecordArrays &) = delete;
    RecordArrays &operator=(const RecordArrays &) = delete;

    int32_t read(const std::string &path) { return call(MIBAnalysisProc, path.c_str()); }

    // Calls `proc` with arrays of bounds `lower` and `lower` + `count` - 1.
    template <typename Proc>
    int32_t call(Proc proc, const char *path, int32_t lower = 0, uint32_t count = Slots)
    {
        SAFEARRAY t = describe(tree.data(), sizeof(MibTree), lower, count);
        SAFEARRAY a = describe(attribute.data(), sizeof(MibAttribute), lower, count);
        SAFEARRAY r = describe(range.data(), sizeof(MibRange), lower, count);
        SAFEARRAY l = describe(list.data(), sizeof(MibList), lower, count);
        SAFEARRAY *pt = &t, *pa = &a, *pr = &r, *pl = &l;
        const int32_t result = proc(&pt, &pa, &pr, &pl, path);
        EXPECT_EQ(t.cLocks + a.cLocks + r.cLocks + l.cLocks, 0u);
        return result;
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

    // The slot of the attribute record owned by `owner`, or -1.
    int attributeSlotOf(int owner) const
    {
        for (int at = 0; at < Slots - 1; ++at) {
            if (attribute[at].InUse != 0 && attribute[at].Owner == owner)
                return at;
        }
        return -1;
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
    static SAFEARRAY describe(void *data, std::size_t size, int32_t lower, uint32_t count)
    {
        SAFEARRAY array{};
        array.cDims = 1;
        array.cbElements = static_cast<uint32_t>(size);
        array.pvData = data;
        array.rgsabound[0] = {count, lower};
        return array;
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
};

// A design built straight into the record image, all records zero at first.
class RecordDesign : public RecordArrays
{
public:
    RecordDesign() : RecordArrays(0) {}

    // An object of `kind` in `slot`; returns the slot.
    int object(int slot, const std::string &name, int kind, int parent, int objectId)
    {
        tree[slot] = {{}, static_cast<int32_t>(name.size()), objectId, parent, kind, 1};
        setText(tree[slot].Name, name);
        return slot;
    }

    int node(int slot, const std::string &name, int parent, int objectId)
    {
        return object(slot, name, 1, parent, objectId);
    }

    // A Table and its Entry (ObjectId 1) in `slot` and `slot` + 1.
    void table(int slot, const std::string &base, int parent, int objectId, const std::string &description = "",
               const std::string &entryDescription = "")
    {
        attach(object(slot, base + "Table", 2, parent, objectId), 0, 0, 3, description);
        attach(object(slot + 1, base + "Entry", 3, slot, 1), 0, 0, 3, entryDescription);
    }

    void leaf(int slot, const std::string &name, int parent, int objectId, int syntax = 2, int access = 1,
              const std::string &description = "", int keyOrder = 0)
    {
        attach(object(slot, name, 4, parent, objectId), syntax, 0, access, description, keyOrder);
    }

    // An attribute for `owner` in the lowest free slot.
    void attach(int owner, int syntax, int constraint, int access, const std::string &description, int keyOrder = 0)
    {
        MibAttribute &a = attribute[freeSlot(attribute)];
        a = {owner, syntax, constraint, access, {}, static_cast<int32_t>(description.size()), keyOrder, 1};
        setText(a.Description, description);
    }

    MibAttribute &attributeOf(int owner)
    {
        const int at = attributeSlotOf(owner);
        return attribute[at < 0 ? Slots - 1 : at];
    }

    void setRange(int owner, const std::string &minimum, const std::string &maximum)
    {
        attributeOf(owner).Constraint = 1;
        MibRange &r = range[freeSlot(range)];
        r = {owner, {}, 0, {}, 0, 1};
        setText(r.Minimum, minimum);
        setText(r.Maximum, maximum);
    }

    void addItem(int owner, const std::string &name, int value)
    {
        attributeOf(owner).Constraint = 2;
        MibList &l = list[freeSlot(list)];
        l = {owner, {}, 0, value, 1};
        setText(l.ItemName, name);
    }

    template <std::size_t N>
    static void setText(char (&field)[N], const std::string &text)
    {
        std::memset(field, 0, N);
        std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
    }

private:
    template <typename Record>
    static int freeSlot(const std::vector<Record> &records)
    {
        int slot = 0;
        while (slot < Slots - 1 && records[slot].InUse != 0)
            ++slot;
        return slot;
    }
};

class MibFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-mib-XXXXXX").string();
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

    std::string inFolder(const std::string &name) const { return (m_dir / name).string(); }

    static std::string readFile(const std::string &file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The names in the folder, sorted: what a call left behind.
    std::vector<std::string> folderContent() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path m_dir;
    std::filesystem::path m_previous;
};

} // namespace korvel::testing
