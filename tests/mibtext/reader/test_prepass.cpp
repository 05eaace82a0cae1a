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
        {FileCheckConvert, "quotes in a line comment", "// say \"hi\"\nx \"y\"", "// say \"\"hi\"\"\nx \"y\""},
        {FileCheckConvert, "kana widened in a comment only",
         "/* \xA1\xA2\xA3\xA4\xA5\xA6\xA7\xAC\xAF\xB0\xB1\xB6\xC2\xDD\xDE\xDF */ \xB1",
         "/* \x81\x42\x81\x75\x81\x76\x81\x41\x81\x45\x83\x92\x83\x41\x83\x84\x83\x63\x81\x5B\x83\x41\x83\x4A"
         "\x83\x63\x83\x93\x81\x68\x81\x45 */ \xB1"},
        {FileCheckConvert, "double-byte character kept", "/* \x95\x5C' */", "/* \x95\x5C'' */"},
        {FileCheckConvert, "block comment over lines", "/* a\n'b */ 'c'", "/* a\n''b */ 'c'"},
        {FileCheckConvert, "comment markers in a string", "\"a // b /* c\" // it's\n", "\"a // b /* c\" // it''s\n"},
        {FileCheckConvert, "consecutive line comments", "// a'\n// b'\n/* c' */\n", "// a''\n// b''\n/* c'' */\n"},
        {FileCheckConvert, "stray lead byte dropped", "/* \x95 x */", "/*  x */"},
        {FileCheckConvert, "stray lead byte before the line end", "// a\x95\nb' x", "// a\nb' x"},
        {FileCheckConvert, "end of input inside a comment", "/* abc", "/* abc"},
        {FileCheckConvert, "markers apart are no comment", "/ / it's / * x", "/ / it's / * x"},
        {FileCheckConvert, "ASN.1 comment left alone", "-- it's \"q /* x\n\"s // t\"", "-- it's \"q /* x\n\"s // t\""},
        {FileCheckConvert, "ASN.1 comment ended by --", "-- a -- // it's\n", "-- a -- // it''s\n"},
        {FileCheckConvert, "-- inside a block comment", "/* -- */ \"a // b\" // c'\n", "/* -- */ \"a // b\" // c''\n"},
        {FileCheckConvert, "-- inside a string", "\"a--b\" // it's\n", "\"a--b\" // it''s\n"},
        {FileCheckConvert, "# line left alone", "  # \"odd\n\"x // y\"", "  # \"odd\n\"x // y\""},
        {FileCheckConvert, "# not first on its line", "a # \"x // y\"", "a # \"x // y\""},
        {FileCheckConvert, "apostrophe string on one line", "'a\"b' // c'\n", "'a\"b' // c''\n"},
        {FileCheckConvert, "backslash has no meaning", "\"C:\\\" // it's\n", "\"C:\\\" // it''s\n"},
        {FileCheckConvert, "doubled quote stays in the string", "\"a \"\" // b\" // c'\n", "\"a \"\" // b\" // c''\n"},
        {FileCheckConvert, "CR LF lines", "// it's\r\n// x'\r\n", "// it''s\r\n// x''\r\n"},
        {FileCheckConvert, "empty input", "", ""},
        {FileCheckConvert2, "blanks then #", "   #define X 1\n", "   //#define X 1\n"},
        {FileCheckConvert2, "# at the start", "#a\n#b\n", "//#a\n//#b\n"},
        {FileCheckConvert2, "tab before #", "\t#define X\n", "\t#define X\n"},
        {FileCheckConvert2, "# after text", "a # b\n", "a # b\n"},
        {FileCheckConvert2, "second # on the line", "#a #b\n", "//#a #b\n"},
        {FileCheckConvert2, "CR LF lines", "#a\r\n  #b\r\n", "//#a\r\n  //#b\r\n"},
        {FileCheckConvert2, "# in a string over lines", "\"text\n# of items\"\n#x\n", "\"text\n# of items\"\n//#x\n"},
        {FileCheckConvert2, "quote inside an ASN.1 comment", "-- \"\n#x\n", "-- \"\n//#x\n"},
        {FileCheckConvert2, "quote inside a # line", "#\"\n#x\n", "//#\"\n//#x\n"},
        {FileCheckConvert2, "apostrophe ends with its line", "'a\n#x\n", "'a\n//#x\n"},
        {FileCheckConvert2, "# inside a block comment", "/* a\n# b */\n#c\n", "/* a\n# b */\n//#c\n"},
        {FileCheckConvert2, "-- inside a block comment", "/* -- */ x \"a\n#b\"\n#c\n", "/* -- */ x \"a\n#b\"\n//#c\n"},
        {FileCheckConvert2, "quote inside a line comment", "// \"\n#x\n", "// \"\n//#x\n"},
        {FileCheckConvert2, "empty input", "", ""},
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
        {EucByte, 0xA0, false},      {EucByte, 0xA1, true},       {EucByte, 0xFE, true},
        {EucByte, 0xFF, false},      {ShiftJisLead, 0x80, false}, {ShiftJisLead, 0x81, true},
        {ShiftJisLead, 0x9F, true},  {ShiftJisLead, 0xA0, false}, {ShiftJisLead, 0xDF, false},
        {ShiftJisLead, 0xE0, true},  {ShiftJisLead, 0xFC, true},  {ShiftJisLead, 0xFD, false},
        {ShiftJisTrail, 0x3F, false}, {ShiftJisTrail, 0x40, true}, {ShiftJisTrail, 0x7E, true},
        {ShiftJisTrail, 0x7F, false}, {ShiftJisTrail, 0x80, true}, {ShiftJisTrail, 0xFC, true},
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

TEST(ByteClasses, KanaWidthTableHoldsDoubleByteCharacters)
{
    for (const KanaWidth &wide : KanaWidthTable) {
        EXPECT_TRUE(isLeadByte(wide.lead));
        EXPECT_TRUE(isTrailByte(wide.trail));
    }
}

} // namespace
