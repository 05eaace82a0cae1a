// The module text MIBCreateProc writes: the worked example byte for byte, the
// walk, the four templates and their edge cases.
#include "writerfixture.h"

#include <climits>
#include <functional>

using namespace korvel::testing;

namespace {

using Names = std::vector<std::string>;

using Writer = WriterTest;

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
