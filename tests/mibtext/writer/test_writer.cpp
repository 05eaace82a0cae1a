// The module text MIBCreateProc writes: the worked example byte for byte, the
// walk, the four templates and their edge cases.
#include "recorddesign.h"
#include "writerfixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace korvel::testing;

namespace {

using Names = std::vector<std::string>;

std::string workedExampleText()
{
    std::ifstream in(KORVEL_TEST_DATA "/writer/worked_example.mib", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void buildWorkedExample(RecordDesign &d)
{
    d.node(0, "sample", -1, 1);
    d.table(1, "port", 0, 2, "port list", "one port");
    d.leaf(3, "portIndex", 2, 1, 2, 1, "port number", 1);
    d.setRange(3, "1", "64");
    d.leaf(4, "portState", 2, 2, 2, 2, "state");
    d.addItem(4, "up", 1);
    d.addItem(4, "down", 2);
    d.leaf(5, "sysLabel", 0, 1, 4, 2, "label");
}

class Writer : public WriterTest
{
};

} // namespace

TEST_F(Writer, WritesTheWorkedExampleByteForByte)
{
    const std::string expected = workedExampleText();
    ASSERT_FALSE(expected.empty());
    RecordDesign d;
    buildWorkedExample(d);
    ASSERT_EQ(d.call(MIBCreateProc, path().c_str()), 0);
    EXPECT_EQ(readFile(path()), expected);
    // A second run over an existing file gives the same bytes and leaves no
    // temporary file behind.
    ASSERT_EQ(d.call(MIBCreateProc, path().c_str()), 0);
    EXPECT_EQ(readFile(path()), expected);
    EXPECT_EQ(folderContent(), Names{"out.mib"});
}

TEST_F(Writer, EmptyTablesGiveTheHeaderAndEnd)
{
    const std::string example = workedExampleText();
    const std::string header = example.substr(0, example.find("{ private 1 }\r\n") + 15);
    RecordDesign d;
    ASSERT_EQ(d.call(MIBCreateProc, path().c_str()), 0);
    EXPECT_EQ(readFile(path()), header + "\r\nEND\r\n");
}

TEST_F(Writer, WalksDepthFirstWithSiblingsInAscendingOrder)
{
    RecordDesign d;
    d.node(0, "three", -1, 3);
    d.node(1, "one", -1, 1);
    d.node(2, "two", -1, 2);
    d.node(3, "threeA", 0, 1);
    d.node(4, "oneA", 1, 7);
    d.node(5, "oneAx", 4, 1);
    d.node(6, "twoA", 2, 1);
    d.node(7, "oneB", 1, 8);
    EXPECT_EQ(objectsIn(written(d)), (Names{"one", "oneA", "oneAx", "oneB", "two", "twoA", "three", "threeA"}));
}

TEST_F(Writer, WritesOnlyReachableRecordsWithPositiveIds)
{
    RecordDesign d;
    d.node(0, "kept", -1, 1);
    d.node(1, "zero", -1, 0);
    d.node(2, "underZero", 1, 1);
    d.node(3, "negative", -1, -1);
    d.node(4, "underNegative", 3, 1);
    d.node(5, "orphan", 6, 1); // slot 6 is free
    d.node(7, "free", -1, 5);
    d.tree(7).InUse = 0;
    d.node(8, "inUseTwo", -1, 6);
    d.tree(8).InUse = 2; // any InUse but 0 counts
    d.node(9, "largest", -1, INT_MAX);
    d.node(10, "cycleA", 11, 1);
    d.node(11, "cycleB", 10, 1);
    d.node(1000, "slot1000", -1, 9); // beyond the records that cross
    EXPECT_EQ(objectsIn(written(d)), (Names{"kept", "inUseTwo"}));
}

TEST_F(Writer, EqualSubIdentifiersKeepOnlyTheHighestSlot)
{
    RecordDesign d;
    d.node(4, "low", -1, 5);
    d.node(5, "lowChild", 4, 1);
    d.node(9, "high", -1, 5);
    d.node(10, "highChild", 9, 1);
    d.node(11, "next", -1, 6);
    EXPECT_EQ(objectsIn(written(d)), (Names{"high", "highChild", "next"}));
}

TEST_F(Writer, WalksAThousandLevelsDeep)
{
    RecordDesign d;
    for (int slot = 0; slot < 1000; ++slot)
        d.node(slot, "n" + std::to_string(slot), slot - 1, 1);
    const Names names = objectsIn(written(d));
    ASSERT_EQ(names.size(), 1000u);
    EXPECT_EQ(names.back(), "n999");
}

TEST_F(Writer, EntryListsColumnsByUnsignedIdAndKeysByPosition)
{
    RecordDesign d;
    d.table(0, "if", -1, 1);
    d.leaf(2, "ifLast", 1, -1, 2, 1, "", 1001); // position beyond 1000: no key
    d.leaf(3, "ifB", 1, 2, 6, 1, "", 1000);
    d.leaf(4, "ifA", 1, 1, 4, 1, "", 2);
    d.leaf(5, "ifA2", 1, 1, 64, 1, "", -1); // negative position: no key
    d.node(6, "ifNode", 1, 3);               // a column of any kind needs an attribute
    d.attach(6, 65, 0, 1, "");
    d.leaf(7, "ifKey", 1, 4, 2, 1, "", 2); // a later column with the same position replaces
    d.leaf(8, "ifFirst", 1, 5, 2, 1, "", 1);
    const std::string text = written(d);
    EXPECT_NE(text.find("\t\tINDEX\t\t{ ifFirst, ifKey, ifB }\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\tIfEntry ::=\n\t\tSEQUENCE {\n"
                        "\t\t\tifA\n\t\t\t\tOCTET STRING,\n"
                        "\t\t\tifA2\n\t\t\t\tIpAddress,\n"
                        "\t\t\tifB\n\t\t\t\tOBJECT IDENTIFIER,\n"
                        "\t\t\tifNode\n\t\t\t\tCounter,\n"
                        "\t\t\tifKey\n\t\t\t\tINTEGER,\n"
                        "\t\t\tifFirst\n\t\t\t\tINTEGER,\n"
                        "\t\t\tifLast\n\t\t\t\tINTEGER\n"
                        "\t\t}\n"),
              std::string::npos)
        << text;
    // The column with ObjectId -1 is listed but, like every id below 1, never written.
    EXPECT_EQ(objectsIn(text), (Names{"ifTable", "ifEntry", "ifA2", "ifB", "ifNode", "ifKey", "ifFirst"}));
}

TEST_F(Writer, EntryWithoutKeysOrColumns)
{
    RecordDesign d;
    d.table(0, "bare", -1, 1, "", "row");
    EXPECT_EQ(body(written(d)), "\n"
                                "\t--=========================================================================\n"
                                "\t--\tbareTable\n"
                                "\t--=========================================================================\n"
                                "\tbareTable   \tOBJECT-TYPE\n"
                                "\t\tSYNTAX\t\tSEQUENCE OF BareEntry\n"
                                "\t\tACCESS\t\tnot-accessible\n"
                                "\t\tSTATUS\t\tcurrent\n"
                                "\t\tDESCRIPTION\n"
                                "\t\t\t\"\"\n"
                                "\t\t::= { enterprise 1 }\n"
                                "\n"
                                "\tbareEntry   \tOBJECT-TYPE\n"
                                "\t\tSYNTAX\t\tBareEntry\n"
                                "\t\tACCESS\t\tnot-accessible\n"
                                "\t\tSTATUS\t\tcurrent\n"
                                "\t\tDESCRIPTION\n"
                                "\t\t\t\"row\"\n"
                                "\t\tINDEX\t\t{  }\n"
                                "\t\t::= { bareTable 1 }\n"
                                "\n"
                                "\tBareEntry ::=\n"
                                "\t\tSEQUENCE {\n"
                                "\n"
                                "\t\t}\n"
                                "\n"
                                "END\n");
}

TEST_F(Writer, EnumerationItemsInUnsignedOrderWithoutMinusOne)
{
    RecordDesign d;
    d.leaf(0, "mode", -1, 1);
    d.addItem(0, "two", 2);
    d.addItem(0, "one", 1);
    d.addItem(0, "minusFive", -5);
    d.addItem(0, "none", -1);
    d.addItem(0, "oneAgain", 1);
    d.leaf(1, "other", -1, 2);
    d.addItem(1, "foreign", 0);
    d.list(5).InUse = 0; // a free item is not written
    const std::string text = written(d);
    EXPECT_NE(text.find("\t\tSYNTAX\t\tINTEGER {\n"
                        "\t\t\tone(1),\n\t\t\toneAgain(1),\n\t\t\ttwo(2),\n\t\t\tminusFive(-5)\n"
                        "\t\t}\n\t\tACCESS"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\t\tSYNTAX\t\tINTEGER {\n\n\t\t}\n\t\tACCESS\t\tread-only\n\t\tSTATUS\t\tmandatory\n"
                        "\t\tDESCRIPTION\n\t\t\t\"\"\n\t\t::= { enterprise 2 }"),
              std::string::npos)
        << text;
}

TEST_F(Writer, ConstraintOtherThanRangeOrEnumerationWritesEmptyBraces)
{
    RecordDesign d;
    d.leaf(0, "odd", -1, 1);
    d.addItem(0, "ignored", 1);
    d.attributeOf(0).Constraint = 3;
    EXPECT_NE(written(d).find("\t\tSYNTAX\t\tINTEGER {\n\n\t\t}\n"), std::string::npos);
}

TEST_F(Writer, SyntaxAndAccessNames)
{
    struct Row {
        int code;
        const char *syntax;
        const char *access;
    };
    const Row rows[] = {
        {-1, "SEQUENCE", "not-accessible"},       {0, "SEQUENCE", "not-accessible"},
        {1, "SEQUENCE", "read-only"},             {2, "INTEGER", "read-write"},
        {3, "SEQUENCE", "not-accessible"},        {4, "OCTET STRING", "not-accessible"},
        {6, "OBJECT IDENTIFIER", "not-accessible"}, {48, "SEQUENCE", "not-accessible"},
        {64, "IpAddress", "not-accessible"},      {65, "Counter", "not-accessible"},
        {66, "Gauge", "not-accessible"},          {67, "TimeTicks", "not-accessible"},
        {68, "Opaque", "not-accessible"},         {69, "SEQUENCE", "not-accessible"},
    };
    for (const Row &row : rows) {
        RecordDesign d;
        d.leaf(0, "x", -1, 1, row.code, row.code, "");
        const std::string text = written(d);
        EXPECT_NE(text.find(std::string("\t\tSYNTAX\t\t") + row.syntax + "\n\t\tACCESS\t\t" + row.access + "\n"),
                  std::string::npos)
            << "code " << row.code << "\n"
            << text;
    }
}

TEST_F(Writer, DescriptionsDoubleQuotesAndEveryLineFeedGetsItsCarriageReturn)
{
    RecordDesign d;
    d.leaf(0, "quoted", -1, 1, 4, 1, "say \"hi\"\nsecond line\n\"");
    const std::string file = path();
    ASSERT_EQ(d.call(MIBCreateProc, file.c_str()), 0);
    EXPECT_NE(readFile(file).find("\t\t\t\"say \"\"hi\"\"\r\nsecond line\r\n\"\"\"\r\n"), std::string::npos);
}

TEST_F(Writer, NamesFillThePaddedPlaceOrStandWhole)
{
    RecordDesign d;
    d.node(0, "twelveLetter", -1, 1);
    d.node(1, "thirteenChars", -1, 2);
    d.leaf(2, "abc", -1, 3);
    const std::string text = written(d);
    EXPECT_NE(text.find("\ttwelveLetter\t\tOBJECT IDENTIFIER ::= { enterprise 1 }\n"), std::string::npos);
    EXPECT_NE(text.find("\tthirteenChars\t\tOBJECT IDENTIFIER ::= { enterprise 2 }\n"), std::string::npos);
    EXPECT_NE(text.find("\tabc         \tOBJECT-TYPE\n"), std::string::npos);
}

TEST_F(Writer, ShortTableNamesGiveAnEmptyStem)
{
    RecordDesign d;
    d.object(0, "tab", 2, -1, 1);
    d.attach(0, 0, 0, 3, "");
    d.object(1, "Entry", 3, 0, 1);
    d.attach(1, 0, 0, 3, "");
    const std::string text = written(d);
    EXPECT_NE(text.find("\t\tSYNTAX\t\tSEQUENCE OF Entry\n"), std::string::npos);
    EXPECT_NE(text.find("\t\tSYNTAX\t\tEntry\n"), std::string::npos);
    EXPECT_NE(text.find("\n\tEntry ::=\n"), std::string::npos);
}

TEST_F(Writer, TextsWithoutZeroByteEndWithinTheirField)
{
    RecordDesign d;
    d.leaf(0, "", -1, 1);
    std::memset(d.tree(0).Name, 'n', sizeof d.tree(0).Name);
    d.setRange(0, "", "");
    std::memset(d.range(0).Minimum, '1', sizeof d.range(0).Minimum);
    std::memset(d.range(0).Maximum, '9', sizeof d.range(0).Maximum);
    d.range(0).Maximum[31] = '\x82'; // a lead byte without its second byte
    d.leaf(1, "d", -1, 2);
    std::memset(d.attributeOf(1).Description, 'd', sizeof d.attributeOf(1).Description);
    const std::string text = written(d);
    EXPECT_NE(text.find("\t" + std::string(512, 'n') + "\tOBJECT-TYPE\n"), std::string::npos);
    EXPECT_NE(text.find(" (" + std::string(32, '1') + ".." + std::string(31, '9') + ")\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t\t\"" + std::string(512, 'd') + "\"\n"), std::string::npos);
}

TEST_F(Writer, DoubleByteTextsAreWrittenAsStored)
{
    RecordDesign d;
    // "ポート" + "Table", "状態", "表" and "ソ" in code page 932: 0x5C is a second byte.
    d.table(0, "\x83\x7c\x81\x5b\x83\x67", -1, 1, "\x8f\xf3\x91\xd4");
    d.leaf(2, "\x95\x5c", 1, 1, 4, 1, "\x83\x5c");
    const std::string text = written(d);
    EXPECT_NE(text.find("\t\tSYNTAX\t\tSEQUENCE OF \x83\x7c\x81\x5b\x83\x67" "Entry\n"), std::string::npos);
    EXPECT_NE(text.find("\t\x95\x5c          \tOBJECT-TYPE\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t\t\"\x8f\xf3\x91\xd4\"\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t\t\"\x83\x5c\"\n"), std::string::npos);
}
