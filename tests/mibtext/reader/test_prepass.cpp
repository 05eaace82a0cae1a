// The two pre-passes, the byte classes and the kana table.
#include "readerfixture.h"
#include "reader.h"

#include <string>

using namespace korvel::mib;
using namespace korvel::testing;

namespace {

class PrePass : public ReaderTest
{
protected:
    using Pass = int (*)(const char *, const char *);

    std::string run(Pass pass, const std::string &input)
    {
        writeFile("source", input);
        EXPECT_EQ(pass(path("source").c_str(), path("destination").c_str()), 0);
        return readFile(path("destination"));
    }
};

// FileCheckConvert doubles quotes and widens kana inside // and /* */
// comments; FileCheckConvert2 turns # lines into // comments. Both read
// strings and comments alike.
TEST_F(PrePass, PassesTidyCommentsAndHashLines)
{
    const struct {
        Pass pass;
        const char *name;
        std::string input;
        std::string output;
    } cases[] = {
        {FileCheckConvert, "apostrophe in a block comment", "/* it's */ x", "/* it''s */ x"},
        {FileCheckConvert, "kana widened in a comment only",
         "/* \xA1\xA2\xA3\xA4\xA5\xA6\xA7\xAC\xAF\xB0\xB1\xB6\xC2\xDD\xDE\xDF */ \xB1",
         "/* \x81\x42\x81\x75\x81\x76\x81\x41\x81\x45\x83\x92\x83\x41\x83\x84\x83\x63\x81\x5B\x83\x41\x83\x4A"
         "\x83\x63\x83\x93\x81\x68\x81\x45 */ \xB1"},
        {FileCheckConvert, "double-byte character kept", "/* \x95\x5C' */", "/* \x95\x5C'' */"},
        {FileCheckConvert, "comment markers in a string", "\"a // b /* c\" // it's\n", "\"a // b /* c\" // it''s\n"},
        {FileCheckConvert, "stray lead byte dropped", "/* \x95 x */", "/*  x */"},
        {FileCheckConvert, "ASN.1 comment left alone", "-- it's \"q /* x\n\"s // t\"", "-- it's \"q /* x\n\"s // t\""},
        {FileCheckConvert, "-- inside a block comment", "/* -- */ \"a // b\" // c'\n", "/* -- */ \"a // b\" // c''\n"},
        {FileCheckConvert, "# line left alone", "  # \"odd\n\"x // y\"", "  # \"odd\n\"x // y\""},
        {FileCheckConvert, "apostrophe string on one line", "'a\"b' // c'\n", "'a\"b' // c''\n"},
        {FileCheckConvert2, "blanks then #", "   #define X 1\n", "   //#define X 1\n"},
        {FileCheckConvert2, "tab before #", "\t#define X\n", "\t#define X\n"},
        {FileCheckConvert2, "# in a string over lines", "\"text\n# of items\"\n#x\n", "\"text\n# of items\"\n//#x\n"},
        {FileCheckConvert2, "quote inside an ASN.1 comment", "-- \"\n#x\n", "-- \"\n//#x\n"},
        {FileCheckConvert2, "-- inside a block comment", "/* -- */ x \"a\n#b\"\n#c\n", "/* -- */ x \"a\n#b\"\n//#c\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run(c.pass, c.input), c.output);
    }
}

// Each failure replaces the log's line with its own.
TEST_F(PrePass, PassesThatCannotOpenAFileWriteTheLog)
{
    const std::string missing = path("missing");
    const std::string noFolder = path("no/such/file");
    writeFile("source", "x");
    const std::string source = path("source");
    std::filesystem::create_directory(path("source_token"));
    const Pass tokenAnalysis = [](const char *from, const char *) { return Token_Analysis(from); };
    const struct {
        const char *name;
        Pass pass;
        std::string source;
        std::string destination;
        std::string unopened;
    } cases[] = {
        {"FileCheckConvert", FileCheckConvert, missing, path("out"), missing},
        {"FileCheckConvert", FileCheckConvert, source, noFolder, noFolder},
        {"FileCheckConvert2", FileCheckConvert2, missing, path("out"), missing},
        {"FileCheckConvert2", FileCheckConvert2, source, noFolder, noFolder},
        {"Token_Analysis", tokenAnalysis, missing, "", missing},
        {"Token_Analysis", tokenAnalysis, source, "", source + "_token"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.unopened);
        EXPECT_EQ(c.pass(c.source.c_str(), c.destination.c_str()), -1);
        EXPECT_EQ(errorLog(), std::string(c.name) + ": " + c.unopened + " ファイルがオープンできない\n");
    }
}

TEST_F(PrePass, LogThatCannotBeOpenedIsSkipped)
{
    std::filesystem::create_directory(path("error.log"));
    EXPECT_EQ(FileCheckConvert(path("missing").c_str(), path("out").c_str()), -1);
    EXPECT_TRUE(std::filesystem::is_directory(path("error.log")));
}

TEST(ByteClasses, IskanjiReturnsTheByteOfItsClass)
{
    const struct {
        int kanjiClass;
        int byte;
        bool member;
    } cases[] = {
        {EucByte, 0xA0, false},      {EucByte, 0xA1, true},       {ShiftJisLead, 0x80, false},
        {ShiftJisLead, 0x81, true},  {ShiftJisLead, 0xA0, false}, {ShiftJisLead, 0xE0, true},
        {ShiftJisTrail, 0x3F, false}, {ShiftJisTrail, 0x40, true}, {ShiftJisTrail, 0x7F, false},
        {ShiftJisTrail, 0xFD, false}, {ShiftJisTrail, -1, false},  {ShiftJisLead, 0x181, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(iskanji(c.kanjiClass, c.byte), c.member ? c.byte : 0) << c.kanjiClass << " " << c.byte;
}

TEST(ByteClasses, UnknownClassAnswersZeroAndTheProcessLives)
{
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(iskanji(0, 0x81), 0);
    EXPECT_EQ(iskanji(4, 0x81), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "iskanji:unknown Kanji code type.\niskanji:unknown Kanji code type.\n");
}

} // namespace
