// How MIBCreateProc fails: records a template needs that are missing, paths it
// cannot write, and what stays on disk afterwards; the bounds it reads.
#include "writer.h"
#include "writerfixture.h"

#include <cstdint>
#include <cstdio>
#include <functional>

using namespace korvel::testing;

namespace {

using Names = std::vector<std::string>;

using WriterFailure = WriterTest;

void buildGoodTree(RecordDesign &d)
{
    d.node(0, "good", -1, 1);
    d.leaf(1, "goodLeaf", 0, 1, 2, 1, "fine");
}

} // namespace

TEST_F(WriterFailure, MissingRecordsFailAndKeepTheOldFile)
{
    const std::pair<const char *, std::function<void(RecordDesign &)>> rows[] = {
        {"kind 0", [](RecordDesign &d) { d.object(2, "odd", 0, -1, 2); }},
        {"table without attribute",
         [](RecordDesign &d) {
             d.table(2, "t", -1, 2);
             d.attributeOf(2).InUse = 0;
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
             d.range[0].InUse = 0;
         }},
    };
    for (const auto &[what, build] : rows) {
        SCOPED_TRACE(what);
        std::ofstream(path(), std::ios::binary) << "the old module";
        RecordDesign d;
        buildGoodTree(d);
        build(d);
        EXPECT_EQ(d.call(MIBCreateProc, path().c_str()), -1);
        EXPECT_EQ(readFile(path()), "the old module");
        EXPECT_EQ(folderContent(), Names{"out.mib"});
    }
    // Where there was no file, there is none afterwards.
    std::filesystem::remove(path());
    RecordDesign d;
    d.object(0, "odd", 7, -1, 1);
    EXPECT_EQ(d.call(MIBCreateProc, path().c_str()), -1);
    EXPECT_TRUE(folderContent().empty());
}

TEST_F(WriterFailure, PathsItCannotWriteGiveMinusOneAndNoFile)
{
    // A folder as the target: the module cannot take its place.
    std::filesystem::create_directory(path("folder.mib"));
    std::vector<std::string> paths = {path("missing/out.mib"), "", path("folder.mib")};
    // 1016 bytes leave room for the temporary name; one more does not.
    for (std::size_t length : {1017, 1023, 1024, 5000})
        paths.push_back(m_dir.string() + "/" + std::string(length - m_dir.string().size() - 1, 'p'));
    RecordDesign d;
    buildGoodTree(d);
    for (const std::string &target : paths)
        EXPECT_EQ(d.call(MIBCreateProc, target.c_str()), -1) << target.size();
    EXPECT_EQ(d.call(MIBCreateProc, nullptr), -1);
    EXPECT_EQ(folderContent(), Names{"folder.mib"});
}

TEST_F(WriterFailure, RecordsOutsideTheBoundsAreNotLeftOverFromAnEarlierCall)
{
    RecordDesign d;
    d.node(0, "first", -1, 1);
    d.node(1, "second", -1, 2);
    d.node(5, "sixth", -1, 6);
    EXPECT_EQ(objectsIn(written(d)), (Names{"first", "second", "sixth"}));
    // Bounds 0 and 2: records 0 and 1 cross, nothing else is in use.
    EXPECT_EQ(objectsIn(written(d, 0, 3)), (Names{"first", "second"}));
    // Bounds -5 and 4: elements -5 to -1 have no record; records 0 to 3 come
    // from elements 0 to 3, the sixth to ninth records of the array.
    EXPECT_EQ(objectsIn(written(d, -5, 10)), Names{"sixth"});
    // No elements at all: an empty module; also when the bounds span most
    // of the int32 range below 0.
    EXPECT_TRUE(objectsIn(written(d, 0, 0)).empty());
    EXPECT_TRUE(objectsIn(written(d, INT32_MIN, 0x80000000U)).empty());
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
    const std::pair<std::string, std::string> rows[] = {
        {"portTable", "Port"},
        {"xTable", "X"},
        {"Table", ""},
        {"", ""},
        {"`aTable", "@a"},
        {"\x7f" "aTable", "\x5f" "a"},
        {"\x83\x7cTable", "\x83\x7c"},
        // Dropping five bytes would split a double-byte character: it goes whole.
        {"ab\x83\x7c" "cdef", "Ab"},
        {std::string(505, 'a') + "Table", "A" + std::string(504, 'a')},
    };
    for (const auto &[name, stem] : rows) {
        char buffer[512];
        const std::size_t size = korvel::mib::EntryTypeBase(name.data(), name.size(), buffer);
        EXPECT_EQ(std::string(buffer, size), stem) << name;
    }
}
