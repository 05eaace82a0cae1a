// How MIBCreateProc fails: refused arrays and paths, records a template needs
// that are missing, and what stays on disk afterwards.
#include "recorddesign.h"
#include "tables.h"
#include "writer.h"
#include "writerfixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace korvel::testing;

namespace {

using Names = std::vector<std::string>;

class WriterFailure : public WriterTest
{
};

void buildGoodTree(RecordDesign &d)
{
    d.node(0, "good", -1, 1);
    d.leaf(1, "goodLeaf", 0, 1, 2, 1, "fine");
}

} // namespace

TEST_F(WriterFailure, MissingRecordsFailAndKeepTheOldFile)
{
    struct Row {
        const char *what;
        std::function<void(RecordDesign &)> build;
    };
    const Row rows[] = {
        {"kind 0", [](RecordDesign &d) { d.object(2, "odd", 0, -1, 2); }},
        {"kind 5", [](RecordDesign &d) { d.object(2, "odd", 5, -1, 2); }},
        {"table without attribute",
         [](RecordDesign &d) {
             d.table(2, "t", -1, 2);
             d.attributeOf(2).InUse = 0;
         }},
        {"entry without attribute",
         [](RecordDesign &d) {
             d.table(2, "t", -1, 2);
             d.attributeOf(3).InUse = 0;
         }},
        {"column without attribute",
         [](RecordDesign &d) {
             d.table(2, "t", -1, 2);
             d.node(4, "column", 3, 1);
         }},
        {"leaf without attribute", [](RecordDesign &d) { d.object(2, "bare", 4, -1, 2); }},
        {"range without record",
         [](RecordDesign &d) {
             d.leaf(2, "ranged", -1, 2);
             d.attributeOf(2).Constraint = 1;
         }},
        {"range record not in use",
         [](RecordDesign &d) {
             d.leaf(2, "ranged", -1, 2);
             d.setRange(2, "1", "2");
             d.range(0).InUse = 0;
         }},
    };
    for (const Row &row : rows) {
        const std::string file = path();
        writeFile(file, "the old module");
        RecordDesign d;
        buildGoodTree(d);
        row.build(d);
        EXPECT_EQ(d.call(MIBCreateProc, file.c_str()), -1) << row.what;
        EXPECT_EQ(readFile(file), "the old module") << row.what;
        EXPECT_EQ(folderContent(), Names{"out.mib"}) << row.what;
    }
}

TEST_F(WriterFailure, AFailedCreationLeavesNoFileWhereThereWasNone)
{
    RecordDesign d;
    d.object(0, "odd", 7, -1, 1);
    EXPECT_EQ(d.call(MIBCreateProc, path().c_str()), -1);
    EXPECT_TRUE(folderContent().empty());
}

TEST_F(WriterFailure, UnwritablePathsGiveMinusOneAndNoFile)
{
    RecordDesign d;
    buildGoodTree(d);
    const std::string missingFolder = path("missing/out.mib");
    EXPECT_EQ(d.call(MIBCreateProc, missingFolder.c_str()), -1);
    EXPECT_EQ(d.call(MIBCreateProc, ""), -1);
    EXPECT_EQ(d.call(MIBCreateProc, nullptr), -1);
    // A folder as the target: the module cannot take its place.
    std::filesystem::create_directory(path("folder.mib"));
    EXPECT_EQ(d.call(MIBCreateProc, path("folder.mib").c_str()), -1);
    EXPECT_EQ(folderContent(), Names{"folder.mib"});
}

TEST_F(WriterFailure, PathsTooLongForTheBuffersAreRefused)
{
    RecordDesign d;
    buildGoodTree(d);
    // 1016 bytes leave room for the temporary name; one more does not.
    for (std::size_t length : {std::size_t(1017), std::size_t(1023), std::size_t(1024), std::size_t(5000)}) {
        const std::string longPath = m_dir.string() + "/" + std::string(length - m_dir.string().size() - 1, 'p');
        EXPECT_EQ(d.call(MIBCreateProc, longPath.c_str()), -1) << length;
    }
    EXPECT_TRUE(folderContent().empty());
}

TEST_F(WriterFailure, BadArraysAreRefusedBeforeAnythingIsWritten)
{
    RecordDesign d;
    buildGoodTree(d);
    const std::string file = path();
    SAFEARRAY tree = RecordDesign::descriptor(&d.tree(0), sizeof(MibTree));
    SAFEARRAY attribute = RecordDesign::descriptor(&d.attribute(0), sizeof(MibAttribute));
    SAFEARRAY range = RecordDesign::descriptor(&d.range(0), sizeof(MibRange));
    SAFEARRAY list = RecordDesign::descriptor(&d.list(0), sizeof(MibList));
    SAFEARRAY *t = &tree, *a = &attribute, *r = &range, *l = &list;
    SAFEARRAY *none = nullptr;

    EXPECT_EQ(MIBCreateProc(nullptr, &a, &r, &l, file.c_str()), -1);
    EXPECT_EQ(MIBCreateProc(&t, &a, &r, &none, file.c_str()), -1);
    SAFEARRAY twoDims = attribute;
    twoDims.cDims = 2;
    SAFEARRAY *pTwoDims = &twoDims;
    EXPECT_EQ(MIBCreateProc(&t, &pTwoDims, &r, &l, file.c_str()), -1);
    SAFEARRAY wrongSize = range;
    wrongSize.cbElements = sizeof(MibRange) + 4;
    SAFEARRAY *pWrongSize = &wrongSize;
    EXPECT_EQ(MIBCreateProc(&t, &a, &pWrongSize, &l, file.c_str()), -1);
    SAFEARRAY noData = tree;
    noData.pvData = nullptr;
    SAFEARRAY *pNoData = &noData;
    EXPECT_EQ(MIBCreateProc(&pNoData, &a, &r, &l, file.c_str()), -1);
    // Tree and list swapped: their element sizes differ.
    EXPECT_EQ(MIBCreateProc(&l, &a, &r, &t, file.c_str()), -1);
    EXPECT_TRUE(folderContent().empty());

    EXPECT_EQ(MIBCreateProc(&t, &a, &r, &l, file.c_str()), 0);
    EXPECT_EQ(tree.cLocks, 0u);
    EXPECT_EQ(list.cLocks, 0u);
}

TEST_F(WriterFailure, RecordsOutsideTheBoundsAreNotLeftOverFromAnEarlierCall)
{
    RecordDesign d;
    d.node(0, "first", -1, 1);
    d.node(1, "second", -1, 2);
    d.node(5, "sixth", -1, 6);
    ASSERT_EQ(d.call(MIBCreateProc, path().c_str()), 0);
    // Bounds 0 and 2: records 0 and 1 cross, nothing else is in use.
    ASSERT_EQ(d.call(MIBCreateProc, path().c_str(), 0, 3), 0);
    EXPECT_EQ(objectsIn(withLf(readFile(path()))), (Names{"first", "second"}));
    // Bounds -5 and 4: elements -5 to -1 have no record; records 0 to 3 come
    // from elements 0 to 3, the sixth to ninth records of the array.
    ASSERT_EQ(d.call(MIBCreateProc, path().c_str(), -5, 10), 0);
    EXPECT_EQ(objectsIn(withLf(readFile(path()))), Names{"sixth"});
    // No elements at all: an empty module.
    ASSERT_EQ(d.call(MIBCreateProc, path().c_str(), 0, 0), 0);
    EXPECT_TRUE(objectsIn(withLf(readFile(path()))).empty());
}

TEST_F(WriterFailure, AWriteErrorFailsTheModule)
{
    std::FILE *full = std::fopen("/dev/full", "wb");
    if (full == nullptr)
        GTEST_SKIP() << "no /dev/full";
    std::setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_EQ(korvel::mib::WriteMibModule(full), -1);
    std::fclose(full);
}

TEST(EntryTypeBase, DropsFiveBytesAndRaisesTheFirst)
{
    struct Row {
        std::string name;
        std::string stem;
    };
    const std::vector<Row> rows = {
        {"portTable", "Port"},
        {"PortEntry", "Port"},
        {"xTable", "X"},
        {"Table", ""},
        {"abc", ""},
        {"", ""},
        {"`aTable", "@a"},
        {"{aTable", "[a"},
        {"\x7f" "aTable", "\x5f" "a"},
        {"_aTable", "_a"},
        {"\x83\x7cTable", "\x83\x7c"},
        // Dropping five bytes would split a double-byte character: it goes whole.
        {"ab\x83\x7c" "cdef", "Ab"},
        {std::string(505, 'a') + "Table", "A" + std::string(504, 'a')},
    };
    for (const Row &row : rows) {
        char stem[512];
        const std::size_t size = korvel::mib::EntryTypeBase(row.name.data(), row.name.size(), stem);
        EXPECT_EQ(std::string(stem, size), row.stem) << row.name;
    }
}

TEST(NextChild, FollowsAscendingIdsAndSkipsEqualOnes)
{
    using korvel::mib::WriteTables;
    std::memset(&WriteTables, 0, sizeof WriteTables);
    auto set = [](int slot, int parent, int id) {
        WriteTables.tree[slot].Parent = parent;
        WriteTables.tree[slot].ObjectId = id;
        WriteTables.tree[slot].InUse = 1;
    };
    set(3, -1, 7);
    set(8, -1, 2);
    set(9, -1, 7);
    set(12, 3, 1);
    EXPECT_EQ(korvel::mib::NextChild(-1, korvel::mib::NoRecord), 8);
    EXPECT_EQ(korvel::mib::NextChild(-1, 8), 9);
    EXPECT_EQ(korvel::mib::NextChild(-1, 9), korvel::mib::NoRecord);
    EXPECT_EQ(korvel::mib::NextChild(3, korvel::mib::NoRecord), 12);
    EXPECT_EQ(korvel::mib::FindAttribute(3), korvel::mib::NoRecord);
    std::memset(&WriteTables, 0, sizeof WriteTables);
}
