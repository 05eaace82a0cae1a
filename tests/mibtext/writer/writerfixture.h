// Designs built straight into the library's record image (four arrays of
// 1001 records and their SAFEARRAY descriptors, as the program hands them),
// a temporary folder per test and readers for the written module text.
#pragma once

#include "korvel_mib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace korvel::testing {

class RecordDesign
{
public:
    static constexpr int Slots = 1001;

    // All records zero.
    std::vector<MibTree> tree = std::vector<MibTree>(Slots);
    std::vector<MibAttribute> attribute = std::vector<MibAttribute>(Slots);
    std::vector<MibRange> range = std::vector<MibRange>(Slots);
    std::vector<MibList> list = std::vector<MibList>(Slots);

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
        for (MibAttribute &a : attribute) {
            if (a.InUse != 0 && a.Owner == owner)
                return a;
        }
        return attribute[Slots - 1];
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

    // Calls `proc` (MIBCreateProc or MIBAnalysisProc) with arrays of bounds
    // `lower` and `lower` + `count` - 1.
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

    template <std::size_t N>
    static void setText(char (&field)[N], const std::string &text)
    {
        std::memset(field, 0, N);
        std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
    }

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

    template <typename Record>
    static int freeSlot(const std::vector<Record> &records)
    {
        int slot = 0;
        while (slot < Slots - 1 && records[slot].InUse != 0)
            ++slot;
        return slot;
    }
};

class WriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-writer-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }

    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string path(const std::string &name = "out.mib") const { return (m_dir / name).string(); }

    static std::string readFile(const std::string &file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The names in the folder, to show that no temporary file is left.
    std::vector<std::string> folderContent() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // Writes `design` and returns the module text with every CR LF turned
    // into LF; a line end without CR fails the test.
    std::string written(RecordDesign &design, int32_t lower = 0, uint32_t count = RecordDesign::Slots)
    {
        EXPECT_EQ(design.call(MIBCreateProc, path().c_str(), lower, count), 0);
        std::string text;
        for (const char c : readFile(path())) {
            if (c == '\n' && (text.empty() || text.back() != '\r'))
                ADD_FAILURE() << "a line end without CR after " << text.size() << " bytes";
            if (c == '\n' && !text.empty() && text.back() == '\r')
                text.pop_back();
            text += c;
        }
        return text;
    }

    // The names of the objects defined after the fixed header, in order.
    static std::vector<std::string> objectsIn(const std::string &text)
    {
        const std::string header = "{ private 1 }\n";
        std::istringstream lines(text.substr(text.find(header) + header.size()));
        std::vector<std::string> names;
        for (std::string line; std::getline(lines, line);) {
            if (line.size() > 1 && line[0] == '\t' && line[1] != '\t' && line[1] != '-'
                && (line.find("OBJECT-TYPE") != std::string::npos
                    || line.find("OBJECT IDENTIFIER ::=") != std::string::npos))
                names.push_back(line.substr(1, line.find_first_of(" \t", 1) - 1));
        }
        return names;
    }

    std::filesystem::path m_dir;
};

} // namespace korvel::testing
