// MIBAnalysisProc's files: the working files, the error log, failures and
// what they leave behind.
#include "readerfixture.h"

#include <unistd.h>

#include <string>
#include <vector>

using namespace korvel::testing;

namespace {

using Names = std::vector<std::string>;
using ReadFiles = ReaderTest;

TEST_F(ReadFiles, SuccessfulReadsLeaveNoWorkingFilesAndOnlyTheirOwnObjects)
{
    std::string large;
    for (int n = 1; n <= 300; ++n)
        large += "n" + std::to_string(n) + " OBJECT IDENTIFIER ::= { enterprises " + std::to_string(n) + " }\n";
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText(large), arrays, "large.mib"), 0);
    EXPECT_EQ(arrays.treeCount(), 300);

    // The second read leaves every record as a first read into fresh arrays
    // does, and CR LF or LF line ends make no difference.
    const std::string crlf = dataFile("worked_example.mib");
    std::string lf = crlf;
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    ASSERT_EQ(readText(crlf, arrays, "crlf.mib"), 0);
    RecordArrays fresh;
    ASSERT_EQ(readText(lf, fresh, "lf.mib"), 0);
    EXPECT_EQ(arrays.treeCount(), 6);
    EXPECT_EQ(arrays.attributeCount(), 5);
    EXPECT_EQ(std::memcmp(arrays.tree.data(), fresh.tree.data(), 1000 * sizeof(MibTree)), 0);
    EXPECT_EQ(std::memcmp(arrays.attribute.data(), fresh.attribute.data(), 1000 * sizeof(MibAttribute)), 0);
    EXPECT_TRUE(arrays.rangesAndListsZero());
    EXPECT_TRUE(arrays.untouched(1000));
    EXPECT_EQ(folderContent(), Names({"crlf.mib", "large.mib", "lf.mib"}));
}

TEST_F(ReadFiles, PathsThatHoldNoModuleFail)
{
    std::filesystem::create_directory(path("folder.mib"));
    // The longest path whose working names fit is 1012 bytes.
    const std::string longPath = m_dir.string() + "/" + std::string(1013 - m_dir.string().size() - 1, 'x');
    ASSERT_EQ(longPath.size(), 1013u);
    const struct {
        std::string file;
        std::string printed;
        Names left;
    } cases[] = {
        {path("missing.mib"), "can't open " + path("missing.mib") + "\n", {"folder.mib"}},
        {longPath, "can't open " + longPath + "\n", {"folder.mib"}},
        {path("folder.mib"), "", {"folder.mib", "folder.mib_tmp1", "folder.mib_tmp2"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        RecordArrays arrays;
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(arrays.read(c.file), -1);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.printed);
        EXPECT_EQ(folderContent(), c.left);
        EXPECT_TRUE(arrays.untouched());
    }
    RecordArrays arrays;
    EXPECT_EQ(arrays.call(MIBAnalysisProc, nullptr), -1);
    EXPECT_TRUE(arrays.untouched());
}

TEST_F(ReadFiles, WorkingFileThatCannotBeMadeFailsTheRead)
{
    const struct {
        const char *blocked;
        std::string printed;
        std::string log;
        Names left;
    } cases[] = {
        {"in.mib_tmp1", "can't open " + path("in.mib_tmp1") + "\n", "", {"in.mib", "in.mib_tmp1"}},
        {"in.mib_tmp2", "can't open " + path("in.mib_tmp2") + "\n", "", {"in.mib", "in.mib_tmp1", "in.mib_tmp2"}},
        {"in.mib_tmp1_token", "",
         "Token_Analysis: " + path("in.mib_tmp1_token") + " ファイルがオープンできない\n",
         {"error.log", "in.mib", "in.mib_tmp1", "in.mib_tmp1_token", "in.mib_tmp2"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.blocked);
        for (const std::string &name : folderContent())
            std::filesystem::remove_all(path(name));
        std::filesystem::create_directory(path(c.blocked));
        RecordArrays arrays;
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(readText(dataFile("worked_example.mib"), arrays), -1);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.printed);
        EXPECT_EQ(errorLog(), c.log);
        EXPECT_EQ(folderContent(), c.left);
        EXPECT_TRUE(arrays.untouched());
    }
}

TEST_F(ReadFiles, ReadOnlyFolderFailsWithoutTrace)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    const std::filesystem::path folder = m_dir / "locked";
    std::filesystem::create_directory(folder);
    std::ofstream(folder / "in.mib", std::ios::binary) << dataFile("worked_example.mib");
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    RecordArrays arrays;
    EXPECT_EQ(arrays.read((folder / "in.mib").string()), -1);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    EXPECT_EQ(folderContent(), Names({"locked"}));
    EXPECT_TRUE(arrays.untouched());
}

TEST_F(ReadFiles, TokenizerErrorLeavesTheWorkingFilesUntilTheNextRead)
{
    const std::string module = dataFile("worked_example.mib");
    RecordArrays arrays;
    EXPECT_EQ(readText(module + "bad \"never closed\r\n", arrays), -1);
    EXPECT_EQ(folderContent(), Names({"in.mib", "in.mib_tmp1", "in.mib_tmp1_token", "in.mib_tmp2"}));
    EXPECT_TRUE(arrays.untouched());

    ASSERT_EQ(readText(module, arrays), 0);
    EXPECT_EQ(folderContent(), Names({"in.mib"}));
    EXPECT_STREQ(arrays.tree[0].Name, "sample");
}

} // namespace
