// The module text MIBCreateProc writes: the worked example byte for byte, the
// walk, the four templates and their edge cases; how it fails, and the
// bounds it reads.
#include "../mibfixture.h"
#include "writer.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <sstream>

using namespace korvel::testing;

namespace {

using Names = std::vector<std::string>;

class WriterTest : public MibFolderTest
{
protected:
    std::string path(const std::string &name = "out.mib") const { return inFolder(name); }

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
};

using Writer = WriterTest;
using WriterFailure = WriterTest;

void buildGoodTree(RecordDesign &d)
{
    d.node(0, "good", -1, 1);
    d.leaf(1, "goodLeaf", 0, 1, 2, 1, "fine");
}

} // namespace

TEST_F(Writer, WritesTheWorkedExampleByteForByte)
{
    const std::string expected = readFile(KORVEL_TEST_DATA "/writer/worked_example.mib");
    ASSERT_FALSE(expected.empty());
    RecordDesign d;
    d.node(0, "sample", -1, 1);
    d.table(1, "port", 0, 2, "port list", "one port");
    d.leaf(3, "portIndex", 2, 1, 2, 1, "port number", 1);
    d.setRange(3, "1", "64");
    d.leaf(4, "portState", 2, 2, 2, 2, "state");
    d.addItem(4, "up", 1);
    d.addItem(4, "down", 2);
    d.leaf(5, "sysLabel", 0, 1, 4, 2, "label");
    // A second run over an existing file gives the same bytes and leaves no
    // temporary file behind.
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(d.call(MIBCreateProc, path().c_str()), 0);
        EXPECT_EQ(readFile(path()), expected);
    }
    EXPECT_EQ(folderContent(), Names{"out.mib"});

    // Empty tables give the header and END.
    RecordDesign empty;
    ASSERT_EQ(empty.call(MIBCreateProc, path().c_str()), 0);
    EXPECT_EQ(readFile(path()), expected.substr(0, expected.find("{ private 1 }\r\n") + 15) + "\r\nEND\r\n");
}

// One row per design: the objects written in order (when given) and parts
// the module must hold, with every line end CR LF.
TEST_F(Writer, WalkAndTemplates)
{
    struct Row {
        const char *what;
        std::function<void(RecordDesign &)> build;
        Names objects;
        Names parts;
    };
    const Row rows[] = {
        {"depth first, siblings in ascending order",
         [](RecordDesign &d) {
             d.node(0, "three", -1, 3);
             d.node(1, "one", -1, 1);
             d.node(2, "two", -1, 2);
             d.node(3, "threeA", 0, 1);
             d.node(4, "oneA", 1, 7);
             d.node(5, "oneAx", 4, 1);
             d.node(6, "twoA", 2, 1);
             d.node(7, "oneB", 1, 8);
         },
         {"one", "oneA", "oneAx", "oneB", "two", "twoA", "three", "threeA"}, {}},
        {"only reachable records with positive ids",
         [](RecordDesign &d) {
             d.node(0, "kept", -1, 1);
             d.node(1, "zero", -1, 0);
             d.node(2, "underZero", 1, 1);
             d.node(3, "negative", -1, -1);
             d.node(4, "underNegative", 3, 1);
             d.node(5, "orphan", 6, 1); // slot 6 is free
             d.node(7, "free", -1, 5);
             d.tree[7].InUse = 0;
             d.node(8, "inUseTwo", -1, 6);
             d.tree[8].InUse = 2; // any InUse but 0 counts
             d.node(9, "largest", -1, INT_MAX);
             d.node(10, "cycleA", 11, 1);
             d.node(11, "cycleB", 10, 1);
             d.node(1000, "slot1000", -1, 9); // beyond the records that cross
         },
         {"kept", "inUseTwo"}, {}},
        {"equal sub-identifiers keep only the highest slot",
         [](RecordDesign &d) {
             d.node(4, "low", -1, 5);
             d.node(5, "lowChild", 4, 1);
             d.node(9, "high", -1, 5);
             d.node(10, "highChild", 9, 1);
             d.node(11, "next", -1, 6);
         },
         {"high", "highChild", "next"}, {}},
        {"a thousand levels deep",
         [](RecordDesign &d) {
             for (int slot = 0; slot < 1000; ++slot)
                 d.node(slot, "n" + std::to_string(slot), slot - 1, 1);
         },
         {}, {"\tn0          \t\tOBJECT IDENTIFIER ::= { enterprise 1 }\n", "\tn999        \t\tOBJECT IDENTIFIER ::= { n998 1 }\n\nEND\n"}},
        // Key positions 1 to 1000 only; the column with ObjectId -1 is listed
        // last but, like every id below 1, never written.
        {"entry lists columns by unsigned id and keys by position",
         [](RecordDesign &d) {
             d.table(0, "if", -1, 1);
             d.leaf(2, "ifLast", 1, -1, 2, 1, "", 1001);
             d.leaf(3, "ifB", 1, 2, 6, 1, "", 1000);
             d.leaf(4, "ifA", 1, 1, 4, 1, "", 2);
             d.leaf(5, "ifA2", 1, 1, 64, 1, "", -1);
             d.node(6, "ifNode", 1, 3); // a column of any kind needs an attribute
             d.attach(6, 65, 0, 1, "");
             d.leaf(7, "ifKey", 1, 4, 2, 1, "", 2); // a later column with the same position replaces
             d.leaf(8, "ifFirst", 1, 5, 2, 1, "", 1);
         },
         {"ifTable", "ifEntry", "ifA2", "ifB", "ifNode", "ifKey", "ifFirst"},
         {"\t\tINDEX\t\t{ ifFirst, ifKey, ifB }\n",
          "\tIfEntry ::=\n\t\tSEQUENCE {\n\t\t\tifA\n\t\t\t\tOCTET STRING,\n\t\t\tifA2\n\t\t\t\tIpAddress,\n"
          "\t\t\tifB\n\t\t\t\tOBJECT IDENTIFIER,\n\t\t\tifNode\n\t\t\t\tCounter,\n\t\t\tifKey\n\t\t\t\tINTEGER,\n"
          "\t\t\tifFirst\n\t\t\t\tINTEGER,\n\t\t\tifLast\n\t\t\t\tINTEGER\n\t\t}\n"}},
        {"entry without keys or columns", [](RecordDesign &d) { d.table(0, "bare", -1, 1, "", "row"); },
         {"bareTable", "bareEntry"},
         {"\t\t\t\"row\"\n\t\tINDEX\t\t{  }\n\t\t::= { bareTable 1 }\n\n\tBareEntry ::=\n\t\tSEQUENCE {\n\n\t\t}\n\nEND\n"}},
        {"enumeration items in unsigned order without -1",
         [](RecordDesign &d) {
             d.leaf(0, "mode", -1, 1);
             d.addItem(0, "two", 2);
             d.addItem(0, "one", 1);
             d.addItem(0, "minusFive", -5);
             d.addItem(0, "none", -1);
             d.addItem(0, "oneAgain", 1);
             d.leaf(1, "other", -1, 2);
             d.addItem(1, "foreign", 0);
             d.list[5].InUse = 0; // a free item is not written
         },
         {},
         {"\t\tSYNTAX\t\tINTEGER {\n\t\t\tone(1),\n\t\t\toneAgain(1),\n\t\t\ttwo(2),\n\t\t\tminusFive(-5)\n\t\t}\n\t\tACCESS",
          "\t\tSYNTAX\t\tINTEGER {\n\n\t\t}\n\t\tACCESS\t\tread-only\n\t\tSTATUS\t\tmandatory\n"
          "\t\tDESCRIPTION\n\t\t\t\"\"\n\t\t::= { enterprise 2 }"}},
        {"quotes in descriptions doubled, line feeds written CR LF",
         [](RecordDesign &d) { d.leaf(0, "quoted", -1, 1, 4, 1, "say \"hi\"\nsecond line\n\""); },
         {}, {"\t\t\t\"say \"\"hi\"\"\nsecond line\n\"\"\"\n"}},
        {"names fill the padded place or stand whole",
         [](RecordDesign &d) {
             d.node(0, "twelveLetter", -1, 1);
             d.node(1, "thirteenChars", -1, 2);
             d.leaf(2, "abc", -1, 3);
         },
         {},
         {"\ttwelveLetter\t\tOBJECT IDENTIFIER ::= { enterprise 1 }\n",
          "\tthirteenChars\t\tOBJECT IDENTIFIER ::= { enterprise 2 }\n", "\tabc         \tOBJECT-TYPE\n"}},
        {"texts without a zero byte end within their field",
         [](RecordDesign &d) {
             d.leaf(0, "", -1, 1);
             std::memset(d.tree[0].Name, 'n', sizeof d.tree[0].Name);
             d.setRange(0, "", "");
             std::memset(d.range[0].Minimum, '1', sizeof d.range[0].Minimum);
             std::memset(d.range[0].Maximum, '9', sizeof d.range[0].Maximum);
             d.range[0].Maximum[31] = '\x82'; // a lead byte without its second byte
             d.leaf(1, "d", -1, 2);
             std::memset(d.attributeOf(1).Description, 'd', sizeof d.attributeOf(1).Description);
         },
         {},
         {"\t" + std::string(512, 'n') + "\tOBJECT-TYPE\n", " (" + std::string(32, '1') + ".." + std::string(31, '9') + ")\n",
          "\t\t\t\"" + std::string(512, 'd') + "\"\n"}},
        // "ポート" + "Table", "状態", "表" and "ソ" in code page 932: 0x5C is a second byte.
        {"double-byte texts as stored",
         [](RecordDesign &d) {
             d.table(0, "\x83\x7c\x81\x5b\x83\x67", -1, 1, "\x8f\xf3\x91\xd4");
             d.leaf(2, "\x95\x5c", 1, 1, 4, 1, "\x83\x5c");
         },
         {},
         {"\t\tSYNTAX\t\tSEQUENCE OF \x83\x7c\x81\x5b\x83\x67" "Entry\n", "\t\x95\x5c          \tOBJECT-TYPE\n",
          "\t\t\t\"\x8f\xf3\x91\xd4\"\n", "\t\t\t\"\x83\x5c\"\n"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        RecordDesign d;
        row.build(d);
        const std::string text = written(d);
        EXPECT_TRUE(row.objects.empty() || objectsIn(text) == row.objects) << ::testing::PrintToString(objectsIn(text));
        for (const std::string &part : row.parts)
            EXPECT_NE(text.find(part), std::string::npos) << part << "\nin\n" << text;
    }
}

TEST_F(Writer, SyntaxAndAccessNames)
{
    struct Row {
        int code;
        const char *syntax;
        const char *access;
    };
    const Row rows[] = {
        {0, "SEQUENCE", "not-accessible"},  {1, "SEQUENCE", "read-only"},          {2, "INTEGER", "read-write"},
        {4, "OCTET STRING", "not-accessible"}, {6, "OBJECT IDENTIFIER", "not-accessible"}, {64, "IpAddress", "not-accessible"},
        {65, "Counter", "not-accessible"},  {66, "Gauge", "not-accessible"},       {67, "TimeTicks", "not-accessible"},
        {68, "Opaque", "not-accessible"},   {69, "SEQUENCE", "not-accessible"},
    };
    for (const Row &row : rows) {
        RecordDesign d;
        d.leaf(0, "x", -1, 1, row.code, row.code, "");
        const std::string text = written(d);
        EXPECT_NE(text.find(std::string("\t\tSYNTAX\t\t") + row.syntax + "\n\t\tACCESS\t\t" + row.access + "\n"),
                  std::string::npos)
            << "code " << row.code << "\n" << text;
    }
}

// How MIBCreateProc fails: records a template needs that are missing, paths it
// cannot write, and what stays on disk afterwards; the bounds it reads.
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
