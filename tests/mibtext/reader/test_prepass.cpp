// The two pre-passes, the byte classes and the kana table.
#include "readerfixture.h"
#include "reader.h"

#include <string>

using namespace korvel::mib;
using namespace korvel::testing;

namespace {

struct PassCase {
    const char *name;
    std::string input;
    std::string output;
};

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

TEST_F(PrePass, FileCheckConvertTidiesCommentsOnly)
{
    const PassCase cases[] = {
        {"apostrophe in a block comment", "/* it's */ x", "/* it''s */ x"},
        {"quotes in a line comment", "// say \"hi\"\nx \"y\"", "// say \"\"hi\"\"\nx \"y\""},
        {"kana widened in a comment only", "/* \xB1\xDE\xDF */ \xB1", "/* \x83\x41\x81\x68\x81\x45 */ \xB1"},
        {"double-byte character kept", "/* \x95\x5C' */", "/* \x95\x5C'' */"},
        {"block comment over lines", "/* a\n'b */ 'c'", "/* a\n''b */ 'c'"},
        {"comment markers inside a string", "\"a // b /* c\" // it's\n", "\"a // b /* c\" // it''s\n"},
        {"consecutive line comments", "// a'\n// b'\n/* c' */\n", "// a''\n// b''\n/* c'' */\n"},
        {"stray lead byte dropped", "/* \x95 x */", "/*  x */"},
        {"stray lead byte before the line end", "// a\x95\nb' x", "// a\nb' x"},
        {"end of input inside a comment", "/* abc", "/* abc"},
        {"markers apart are no comment", "/ / it's / * x", "/ / it's / * x"},
        {"ASN.1 comment left alone", "-- it's \"q /* x\n\"s // t\"", "-- it's \"q /* x\n\"s // t\""},
        {"ASN.1 comment ended by --", "-- a -- // it's\n", "-- a -- // it''s\n"},
        {"-- inside a block comment", "/* -- */ \"a // b\" // c'\n", "/* -- */ \"a // b\" // c''\n"},
        {"-- inside a string", "\"a--b\" // it's\n", "\"a--b\" // it''s\n"},
        {"# line left alone", "  # \"odd\n\"x // y\"", "  # \"odd\n\"x // y\""},
        {"# not first on its line", "a # \"x // y\"", "a # \"x // y\""},
        {"apostrophe string on one line", "'a\"b' // c'\n", "'a\"b' // c''\n"},
        {"backslash has no meaning", "\"C:\\\" // it's\n", "\"C:\\\" // it''s\n"},
        {"doubled quote stays in the string", "\"a \"\" // b\" // c'\n", "\"a \"\" // b\" // c''\n"},
        {"CR LF lines", "// it's\r\n// x'\r\n", "// it''s\r\n// x''\r\n"},
        {"empty input", "", ""},
    };
    for (const PassCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run(FileCheckConvert, c.input), c.output);
    }
}

TEST_F(PrePass, FileCheckConvert2TurnsHashLinesIntoComments)
{
    const PassCase cases[] = {
        {"blanks then #", "   #define X 1\n", "   //#define X 1\n"},
        {"# at the start", "#a\n#b\n", "//#a\n//#b\n"},
        {"tab before #", "\t#define X\n", "\t#define X\n"},
        {"# after text", "a # b\n", "a # b\n"},
        {"second # on the line", "#a #b\n", "//#a #b\n"},
        {"CR LF lines", "#a\r\n  #b\r\n", "//#a\r\n  //#b\r\n"},
        {"# inside a string over lines", "\"text\n# of items\"\n#x\n", "\"text\n# of items\"\n//#x\n"},
        {"quote inside an ASN.1 comment", "-- \"\n#x\n", "-- \"\n//#x\n"},
        {"quote inside a # line", "#\"\n#x\n", "//#\"\n//#x\n"},
        {"apostrophe ends with its line", "'a\n#x\n", "'a\n//#x\n"},
        {"# inside a block comment", "/* a\n# b */\n#c\n", "/* a\n# b */\n//#c\n"},
        {"-- inside a block comment", "/* -- */ x \"a\n#b\"\n#c\n", "/* -- */ x \"a\n#b\"\n//#c\n"},
        {"quote inside a line comment", "// \"\n#x\n", "// \"\n//#x\n"},
        {"empty input", "", ""},
    };
    for (const PassCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run(FileCheckConvert2, c.input), c.output);
    }
}

TEST_F(PrePass, PassesThatCannotOpenAFileWriteTheLog)
{
    const std::string missing = path("missing");
    const std::string noFolder = path("no/such/file");
    writeFile("source", "x");
    const std::string source = path("source");
    std::filesystem::create_directory(path("source_token"));
    struct {
        int result;
        std::string log;
    } const cases[] = {
        {FileCheckConvert(missing.c_str(), path("out").c_str()),
         "FileCheckConvert: " + missing + " ファイルがオープンできない\n"},
        {FileCheckConvert(source.c_str(), noFolder.c_str()),
         "FileCheckConvert: " + noFolder + " ファイルがオープンできない\n"},
        {FileCheckConvert2(missing.c_str(), path("out").c_str()),
         "FileCheckConvert2: " + missing + " ファイルがオープンできない\n"},
        {FileCheckConvert2(source.c_str(), noFolder.c_str()),
         "FileCheckConvert2: " + noFolder + " ファイルがオープンできない\n"},
        {Token_Analysis(missing.c_str()), "Token_Analysis: " + missing + " ファイルがオープンできない\n"},
        {Token_Analysis(source.c_str()), "Token_Analysis: " + source + "_token ファイルがオープンできない\n"},
    };
    // Each call replaced the log, so only the last message is left.
    EXPECT_EQ(errorLog(), cases[5].log);
    for (const auto &c : cases)
        EXPECT_EQ(c.result, -1) << c.log;
    std::filesystem::remove(path("error.log"));
    for (int pass = 0; pass < 3; ++pass) {
        const int result = pass == 0 ? FileCheckConvert(missing.c_str(), path("out").c_str())
            : pass == 1              ? FileCheckConvert2(missing.c_str(), path("out").c_str())
                                     : Token_Analysis(missing.c_str());
        EXPECT_EQ(result, -1);
        EXPECT_EQ(errorLog(), cases[pass * 2].log);
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

TEST(ByteClasses, KanaWidthTableGivesFullWidthCharacters)
{
    const struct {
        int byte;
        unsigned char lead;
        unsigned char trail;
    } cases[] = {
        {0xA1, 0x81, 0x42}, {0xA2, 0x81, 0x75}, {0xA3, 0x81, 0x76}, {0xA4, 0x81, 0x41}, {0xA5, 0x81, 0x45},
        {0xA6, 0x83, 0x92}, {0xA7, 0x83, 0x41}, {0xA8, 0x83, 0x43}, {0xA9, 0x83, 0x45}, {0xAA, 0x83, 0x47},
        {0xAB, 0x83, 0x49}, {0xAC, 0x83, 0x84}, {0xAD, 0x83, 0x86}, {0xAE, 0x83, 0x88}, {0xAF, 0x83, 0x63},
        {0xB0, 0x81, 0x5B}, {0xB1, 0x83, 0x41}, {0xB6, 0x83, 0x4A}, {0xC2, 0x83, 0x63}, {0xDD, 0x83, 0x93},
        {0xDE, 0x81, 0x68}, {0xDF, 0x81, 0x45},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(KanaWidthTable[c.byte - KanaFirst].lead, c.lead) << c.byte;
        EXPECT_EQ(KanaWidthTable[c.byte - KanaFirst].trail, c.trail) << c.byte;
    }
    for (const KanaWidth &wide : KanaWidthTable) {
        EXPECT_TRUE(isLeadByte(wide.lead));
        EXPECT_TRUE(isTrailByte(wide.trail));
    }
}

TEST(ByteClasses, CharacterBoundaryNeverSplitsACharacter)
{
    const std::string text = "ab\x83\x41" "c";
    EXPECT_EQ(characterBoundary(text.data(), text.size(), 10), 5u);
    EXPECT_EQ(characterBoundary(text.data(), text.size(), 4), 4u);
    EXPECT_EQ(characterBoundary(text.data(), text.size(), 3), 2u);
    EXPECT_EQ(characterBoundary(text.data(), text.size(), 0), 0u);
    // A lead byte without its trail byte is one character of its own.
    const std::string stray = "a\x83";
    EXPECT_EQ(characterBoundary(stray.data(), stray.size(), 2), 2u);
}

} // namespace
