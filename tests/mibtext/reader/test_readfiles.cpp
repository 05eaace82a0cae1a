// MIBAnalysisProc's files: the working files, the error log, failures and
// what they leave behind.
#include "readerfixture.h"

#include <unistd.h>

#include <string>
#include <vector>

using namespace korvel::testing;

namespace {

using Names = std::vector<std::string>;

const std::string Module = "M DEFINITIONS ::= BEGIN\r\nIMPORTS a FROM b;\r\n"
                           "top OBJECT IDENTIFIER ::= { enterprises 1 }\r\nEND\r\n";

class ReadFiles : public ReaderTest
{
protected:
    std::string workedExample() const { return readFile(KORVEL_TEST_DATA "/mib/worked_example.mib"); }
};

TEST_F(ReadFiles, SuccessfulReadLeavesNoWorkingFiles)
{
    RecordArrays arrays;
    ASSERT_EQ(readText(workedExample(), arrays), 0);
    EXPECT_EQ(folderContent(), Names({"in.mib"}));
    EXPECT_EQ(arrays.treeCount(), 6);
    EXPECT_TRUE(arrays.lastElementsUntouched());
    EXPECT_TRUE(arrays.rangesAndListsZero());
}

TEST_F(ReadFiles, MissingFileFailsWithoutTrace)
{
    RecordArrays arrays;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(arrays.read(path("missing.mib")), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "can't open " + path("missing.mib") + "\n");
    EXPECT_TRUE(folderContent().empty());
    EXPECT_TRUE(arrays.untouched());
}

TEST_F(ReadFiles, WorkingFileThatCannotBeMadeFailsBeforeAnyPass)
{
    const struct {
        const char *blocked;
        Names left;
    } cases[] = {
        {"in.mib_tmp1", {"in.mib", "in.mib_tmp1"}},
        {"in.mib_tmp2", {"in.mib", "in.mib_tmp1", "in.mib_tmp2"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.blocked);
        std::filesystem::remove_all(m_dir / "in.mib_tmp1");
        std::filesystem::create_directory(path(c.blocked));
        RecordArrays arrays;
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(readText(Module, arrays), -1);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "can't open " + path(c.blocked) + "\n");
        EXPECT_EQ(folderContent(), c.left);
        EXPECT_TRUE(arrays.untouched());
        std::filesystem::remove_all(path(c.blocked));
    }
}

TEST_F(ReadFiles, ReadOnlyFolderFailsWithoutTrace)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    const std::filesystem::path folder = m_dir / "locked";
    std::filesystem::create_directory(folder);
    std::ofstream(folder / "in.mib", std::ios::binary) << Module;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    RecordArrays arrays;
    EXPECT_EQ(arrays.read((folder / "in.mib").string()), -1);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    std::vector<std::string> left;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, Names({"in.mib"}));
    EXPECT_FALSE(exists("error.log"));
    EXPECT_TRUE(arrays.untouched());
}

TEST_F(ReadFiles, TokenizerErrorLeavesTheWorkingFiles)
{
    RecordArrays arrays;
    EXPECT_EQ(readText(Module + "bad \"never closed\r\n", arrays), -1);
    EXPECT_EQ(folderContent(), Names({"in.mib", "in.mib_tmp1", "in.mib_tmp1_token", "in.mib_tmp2"}));
    EXPECT_TRUE(arrays.untouched());

    // The next read of the same path replaces them, and a success removes
    // them.
    ASSERT_EQ(readText(Module, arrays), 0);
    EXPECT_EQ(folderContent(), Names({"in.mib"}));
    EXPECT_STREQ(arrays.tree(0).Name, "top");
}

TEST_F(ReadFiles, TokenFileThatCannotBeMadeIsLogged)
{
    std::filesystem::create_directory(path("in.mib_tmp1_token"));
    RecordArrays arrays;
    EXPECT_EQ(readText(Module, arrays), -1);
    EXPECT_EQ(errorLog(), "Token_Analysis: " + path("in.mib_tmp1_token") + " ファイルがオープンできない\n");
    EXPECT_EQ(folderContent(), Names({"error.log", "in.mib", "in.mib_tmp1", "in.mib_tmp1_token", "in.mib_tmp2"}));
    EXPECT_TRUE(arrays.untouched());
}

TEST_F(ReadFiles, SecondReadHoldsOnlyItsOwnObjects)
{
    std::string large;
    for (int n = 1; n <= 300; ++n)
        large += "n" + std::to_string(n) + " OBJECT IDENTIFIER ::= { enterprises " + std::to_string(n) + " }\n";
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText(large), arrays, "large.mib"), 0);
    EXPECT_EQ(arrays.treeCount(), 300);
    ASSERT_EQ(readText(workedExample(), arrays, "small.mib"), 0);
    EXPECT_EQ(arrays.treeCount(), 6);
    EXPECT_EQ(arrays.attributeCount(), 5);
    for (int slot = 6; slot < 1000; ++slot)
        ASSERT_EQ(arrays.tree(slot).Name[0], '\0') << slot;
    EXPECT_EQ(folderContent(), Names({"large.mib", "small.mib"}));
}

TEST_F(ReadFiles, LineEndsDoNotMatter)
{
    std::string lf = workedExample();
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    RecordArrays crlfArrays;
    RecordArrays lfArrays;
    ASSERT_EQ(readText(workedExample(), crlfArrays, "crlf.mib"), 0);
    ASSERT_EQ(readText(lf, lfArrays, "lf.mib"), 0);
    for (int slot = 0; slot < 1000; ++slot) {
        ASSERT_EQ(std::memcmp(&crlfArrays.tree(slot), &lfArrays.tree(slot), sizeof(MibTree)), 0) << slot;
        ASSERT_EQ(std::memcmp(&crlfArrays.attribute(slot), &lfArrays.attribute(slot), sizeof(MibAttribute)), 0)
            << slot;
    }
}

TEST_F(ReadFiles, BadArgumentsAreRefusedBeforeAnythingIsRead)
{
    writeFile("in.mib", Module);
    const std::string file = path("in.mib");
    const struct {
        const char *name;
        void (*spoil)(RecordArrays &);
    } cases[] = {
        {"two dimensions", [](RecordArrays &a) { a.treeArray().cDims = 2; }},
        {"no dimension", [](RecordArrays &a) { a.listArray().cDims = 0; }},
        {"wrong record size", [](RecordArrays &a) { a.attributeArray().cbElements = sizeof(MibTree); }},
        {"no data", [](RecordArrays &a) { a.rangeArray().pvData = nullptr; }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RecordArrays arrays;
        c.spoil(arrays);
        EXPECT_EQ(arrays.read(file), -1);
        EXPECT_EQ(folderContent(), Names({"in.mib"}));
    }

    RecordArrays arrays;
    SAFEARRAY *tree = &arrays.treeArray();
    SAFEARRAY *attribute = &arrays.attributeArray();
    SAFEARRAY *range = &arrays.rangeArray();
    SAFEARRAY *none = nullptr;
    EXPECT_EQ(MIBAnalysisProc(&tree, &attribute, &range, &none, file.c_str()), -1);
    EXPECT_EQ(MIBAnalysisProc(&tree, &attribute, &range, nullptr, file.c_str()), -1);
    SAFEARRAY *list = &arrays.listArray();
    EXPECT_EQ(MIBAnalysisProc(&tree, &attribute, &range, &list, nullptr), -1);
    EXPECT_EQ(folderContent(), Names({"in.mib"}));
    EXPECT_TRUE(arrays.untouched());
}

TEST_F(ReadFiles, PathTooLongForTheWorkingNamesIsRefused)
{
    RecordArrays arrays;
    const std::string longPath = m_dir.string() + "/" + std::string(1013 - m_dir.string().size() - 1, 'x');
    ASSERT_EQ(longPath.size(), 1013u);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(arrays.read(longPath), -1);
    ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(arrays.untouched());
    EXPECT_TRUE(folderContent().empty());
}

TEST_F(ReadFiles, FolderIsNoModule)
{
    std::filesystem::create_directory(path("folder.mib"));
    RecordArrays arrays;
    EXPECT_EQ(arrays.read(path("folder.mib")), -1);
    EXPECT_TRUE(arrays.untouched());
}

} // namespace
