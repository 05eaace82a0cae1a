// The analysis through MIBAnalysisProc: what a module's definitions become.
#include "readerfixture.h"

#include <string>
#include <vector>

using namespace korvel::testing;

namespace {

class Analysis : public ReaderTest
{
protected:
    // A leaf OBJECT-TYPE with the clauses given.
    static std::string objectType(const std::string &name, const std::string &clauses, const std::string &value)
    {
        return name + " OBJECT-TYPE\n" + clauses + "\n    STATUS current\n    DESCRIPTION \"d\"\n    ::= { "
            + value + " }\n\n";
    }
};

TEST_F(Analysis, WorkedExampleReadsBackAsSixObjectsAndFiveAttributes)
{
    RecordArrays arrays;
    ASSERT_EQ(arrays.read(KORVEL_TEST_DATA "/mib/worked_example.mib"), 0);
    expectRecords(arrays, {
                              {"sample", Node, -1, 1, 0, 0, ""},
                              {"sysLabel", Leaf, 0, 1, 4, 2, "label"},
                              {"portTable", Table, 0, 2, 0, 3, "port list"},
                              {"portEntry", Entry, 2, 1, 0, 3, "one port"},
                              {"portIndex", Leaf, 3, 1, 2, 1, "port number"},
                              {"portState", Leaf, 3, 2, 2, 2, "state"},
                          });
}

struct SyntaxCase {
    const char *syntax;
    int kind;
    int code;
};

TEST_F(Analysis, SyntaxDecidesTheKind)
{
    const SyntaxCase cases[] = {
        {"SYNTAX INTEGER", Leaf, 2},
        {"SYNTAX INTEGER (1..64)", Leaf, 2},
        {"SYNTAX INTEGER { up(1), down(2) }", Leaf, 2},
        {"SYNTAX OCTET STRING", Leaf, 4},
        {"SYNTAX OCTET STRING (SIZE (0..255))", Leaf, 4},
        {"SYNTAX OBJECT IDENTIFIER", Leaf, 6},
        // Modules written with the old misspelt type name.
        {"SYNTAX OBJECT IDETIFIER", Leaf, 6},
        {"SYNTAX IpAddress", Leaf, 64},
        {"SYNTAX Counter", Leaf, 65},
        {"SYNTAX Gauge", Leaf, 66},
        {"SYNTAX TimeTicks", Leaf, 67},
        {"SYNTAX Opaque", Leaf, 68},
        {"SYNTAX SEQUENCE OF PortEntry", Table, 0},
        // How the writer spells a leaf whose syntax was never chosen.
        {"SYNTAX SEQUENCE", Leaf, 48},
        {"SYNTAX PortEntry", Entry, 0},
        {"SYNTAX DisplayString", Entry, 0},
        {"SYNTAX Counter32", Entry, 0},
        {"SYNTAX Integer32", Entry, 0},
        {"SYNTAX OCTET BITS", Entry, 0},
        {"", Entry, 0},
    };
    for (const SyntaxCase &c : cases) {
        SCOPED_TRACE(c.syntax);
        RecordArrays arrays;
        ASSERT_EQ(readText(moduleText(objectType("obj", c.syntax, "enterprises 1")), arrays), 0);
        EXPECT_EQ(arrays.tree(0).Kind, c.kind);
        EXPECT_EQ(arrays.attribute(0).Syntax, c.code);
    }
}

TEST_F(Analysis, SyntaxIsNotCarriedIntoTheNextObject)
{
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText(objectType("first", "SYNTAX INTEGER", "enterprises 1")
                                  + objectType("second", "MAX-ACCESS read-only", "enterprises 2")),
                       arrays),
              0);
    EXPECT_EQ(arrays.tree(0).Kind, Leaf);
    EXPECT_EQ(arrays.tree(1).Kind, Entry);
    EXPECT_EQ(arrays.attribute(1).Syntax, 0);
}

TEST_F(Analysis, AccessClauses)
{
    const std::pair<const char *, int> cases[] = {
        {"ACCESS read-only", 1},      {"ACCESS read-write", 2},        {"ACCESS not-accessible", 3},
        {"MAX-ACCESS read-only", 1},  {"MAX-ACCESS read-write", 2},    {"MAX-ACCESS not-accessible", 3},
        {"ACCESS write-only", 0},     {"MAX-ACCESS read-create", 0},   {"MAX-ACCESS accessible-for-notify", 0},
        {"ACCESS read - only", 0},
    };
    for (const auto &[clause, code] : cases) {
        SCOPED_TRACE(clause);
        RecordArrays arrays;
        ASSERT_EQ(readText(moduleText(objectType("obj", std::string("SYNTAX INTEGER\n    ") + clause, "x 1")),
                           arrays),
                  0);
        EXPECT_EQ(arrays.attribute(0).Access, code);
        EXPECT_EQ(arrays.tree(0).Kind, Leaf);
    }
}

TEST_F(Analysis, ParentsAreFoundOnlyAmongEarlierObjects)
{
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText("foo OBJECT IDENTIFIER ::= { enterprises 9 }\n"
                                  "early OBJECT IDENTIFIER ::= { late 1 }\n"
                                  "late OBJECT IDENTIFIER ::= { foo 2 }\n"
                                  "twin OBJECT IDENTIFIER ::= { foo 3 }\n"
                                  "twin OBJECT IDENTIFIER ::= { late 4 }\n"
                                  "child OBJECT IDENTIFIER ::= { twin 5 }\n"),
                       arrays),
              0);
    expectRecords(arrays, {
                              {"foo", Node, -1, 9, 0, 0, ""},
                              {"early", Node, -1, 1, 0, 0, ""},
                              {"late", Node, 0, 2, 0, 0, ""},
                              {"twin", Node, 0, 3, 0, 0, ""},
                              {"twin", Node, 2, 4, 0, 0, ""},
                              {"child", Node, 3, 5, 0, 0, ""},
                          });
}

TEST_F(Analysis, ModuleWithoutImportsYieldsNothing)
{
    RecordArrays arrays;
    ASSERT_EQ(readText("TEST-MIB DEFINITIONS ::= BEGIN\r\nfoo OBJECT IDENTIFIER ::= { bar 1 }\r\nEND\r\n", arrays),
              0);
    EXPECT_EQ(arrays.treeCount(), 0);
    EXPECT_EQ(arrays.attributeCount(), 0);
    EXPECT_TRUE(arrays.rangesAndListsZero());
}

TEST_F(Analysis, WhatDefinesNoObject)
{
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText("enterprise OBJECT IDENTIFIER ::= { private 1 }\n"
                                  "testMIB MODULE-IDENTITY\n    LAST-UPDATED \"200001010000Z\"\n"
                                  "    DESCRIPTION \"m\"\n    ::= { enterprises 1 }\n"
                                  "ident OBJECT-IDENTITY\n    STATUS current\n    DESCRIPTION \"i\"\n"
                                  "    ::= { enterprises 2 }\n"
                                  "group OBJECT-GROUP\n    OBJECTS { a, b }\n    STATUS current\n"
                                  "    DESCRIPTION \"g\"\n    ::= { enterprises 3 }\n"
                                  "trap NOTIFICATION-TYPE\n    OBJECTS { a }\n    STATUS current\n"
                                  "    DESCRIPTION \"t\"\n    ::= { enterprises 4 }\n"
                                  "Hint ::= TEXTUAL-CONVENTION\n    STATUS current\n    DESCRIPTION \"h\"\n"
                                  "    SYNTAX OBJECT IDENTIFIER\n"
                                  "last OBJECT IDENTIFIER ::= { enterprises 5 }\n"),
                       arrays),
              0);
    expectRecords(arrays, {{"last", Node, -1, 5, 0, 0, ""}});
}

TEST_F(Analysis, ObjectIdentifierColumnInARowTypeSwallowsNothing)
{
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText("base OBJECT IDENTIFIER ::= { enterprises 1 }\n"
                                  "RowEntry ::= SEQUENCE {\n    rowIndex\n        INTEGER,\n"
                                  "    rowOid\n        OBJECT IDENTIFIER\n}\n"
                                  + objectType("rowIndex", "SYNTAX INTEGER\n    ACCESS read-only", "base 2")
                                  + objectType("rowOid", "SYNTAX OBJECT IDENTIFIER\n    ACCESS read-only", "base 3")),
                       arrays),
              0);
    expectRecords(arrays, {
                              {"base", Node, -1, 1, 0, 0, ""},
                              {"rowIndex", Leaf, 0, 2, 2, 1, "d"},
                              {"rowOid", Leaf, 0, 3, 6, 1, "d"},
                          });
}

TEST_F(Analysis, HyphenatedNamesAreOneName)
{
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText("mib-2 OBJECT IDENTIFIER ::= { mgmt 1 }\n"
                                  "x-port OBJECT IDENTIFIER ::= { mib-2 31 }\n"
                                  + objectType("x-leaf", "SYNTAX INTEGER\n    MAX-ACCESS read-only", "x-port 1")),
                       arrays),
              0);
    expectRecords(arrays, {
                              {"mib-2", Node, -1, 1, 0, 0, ""},
                              {"x-port", Node, 0, 31, 0, 0, ""},
                              {"x-leaf", Leaf, 1, 1, 2, 1, "d"},
                          });
}

TEST_F(Analysis, DescriptionsKeepTheirText)
{
    const std::pair<const char *, const char *> cases[] = {
        {"DESCRIPTION \"on (1) off (0)\"", "on (1) off (0)"},
        {"DESCRIPTION \"two\r\n    lines\"", "two\n    lines"},
        {"DESCRIPTION \"two\n    lines\"", "two\n    lines"},
        {"DESCRIPTION \"a \"\"quoted\"\" word\"", "a \"quoted\" word"},
        {"DESCRIPTION \"\"", ""},
        {"DESCRIPTION \"C:\\path\\\"", "C:\\path\\"},
        {"DESCRIPTION \"x)$ y\"", "x)$ y"},
        {"DESCRIPTION \"see http://example.com/a -- it's /* not */ a comment\"",
         "see http://example.com/a -- it's /* not */ a comment"},
        {"DESCRIPTION \"\xB1\xB2\"", "\xB1\xB2"},
        {"DESCRIPTION \"\x95\x5C\"", "\x95\x5C"},
        {"DESCRIPTION 'single'", ""},
        {"DESCRIPTION x", ""},
    };
    for (const auto &[clause, description] : cases) {
        SCOPED_TRACE(clause);
        RecordArrays arrays;
        writeFile("in.mib", "M DEFINITIONS ::= BEGIN\r\nIMPORTS a FROM b;\r\nobj OBJECT-TYPE\r\n"
                            "    SYNTAX INTEGER\r\n    "
                                + std::string(clause) + "\r\n    ::= { x 1 }\r\nEND\r\n");
        ASSERT_EQ(arrays.read(path("in.mib")), 0);
        EXPECT_STREQ(arrays.attribute(0).Description, description);
        EXPECT_EQ(arrays.attribute(0).DescriptionLength, static_cast<int32_t>(std::strlen(description)));
        EXPECT_EQ(arrays.tree(0).ObjectId, 1);
    }
}

TEST_F(Analysis, LongNamesAndDescriptionsAreCutOnACharacterBoundary)
{
    const std::string longName(600, 'n');
    // 510 bytes, then a double-byte character that would end past byte 511:
    // it is left out whole.
    const std::string description = std::string(510, 'd') + "\x83\x41";
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText(longName + " OBJECT IDENTIFIER ::= { enterprises 1 }\n" + longName
                                  + "x OBJECT-TYPE\n    SYNTAX INTEGER\n    DESCRIPTION \"" + description
                                  + "\"\n    ::= { " + longName + " 2 }\n"),
                       arrays),
              0);
    EXPECT_EQ(arrays.tree(0).NameLength, 511);
    EXPECT_EQ(std::string(arrays.tree(0).Name), longName.substr(0, 511));
    EXPECT_EQ(arrays.tree(1).Parent, 0);
    EXPECT_EQ(arrays.attribute(0).DescriptionLength, 510);
    EXPECT_EQ(std::string(arrays.attribute(0).Description), description.substr(0, 510));
}

TEST_F(Analysis, ObjectCutShortByTheEndOfTheFileIsKept)
{
    RecordArrays arrays;
    ASSERT_EQ(readText("M DEFINITIONS ::= BEGIN\nIMPORTS a FROM b;\nlast OBJECT-TYPE\n    SYNTAX INTEGER\n"
                       "    ACCESS read-only\n",
                       arrays),
              0);
    expectRecords(arrays, {{"last", Leaf, -1, 0, 2, 1, ""}});
}

TEST_F(Analysis, BrokenValueChainIsPassedOver)
{
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText("obj OBJECT-TYPE\n    SYNTAX INTEGER\n    ACCESS read-only\n"
                                  "    DEFVAL { 1 } : : 7\n    ::= { parent 3 }\n"),
                       arrays),
              0);
    expectRecords(arrays, {{"obj", Leaf, -1, 3, 2, 1, ""}});
}

std::string nodes(int count)
{
    std::string body;
    for (int n = 0; n < count; ++n)
        body += "node" + std::to_string(n) + " OBJECT IDENTIFIER ::= { enterprises " + std::to_string(n + 1) + " }\n";
    return body;
}

std::string leaves(int count)
{
    std::string body;
    for (int n = 0; n < count; ++n)
        body += "leaf" + std::to_string(n) + " OBJECT-TYPE SYNTAX INTEGER ACCESS read-only STATUS mandatory "
                                             "DESCRIPTION \"x\" ::= { enterprises "
            + std::to_string(n + 1) + " }\n";
    return body;
}

TEST_F(Analysis, AThousandObjectsFitTheTables)
{
    RecordArrays arrays;
    ASSERT_EQ(readText(moduleText(nodes(500) + leaves(500)), arrays), 0);
    EXPECT_EQ(arrays.treeCount(), 1000);
    EXPECT_EQ(arrays.attributeCount(), 500);
    EXPECT_STREQ(arrays.tree(999).Name, "leaf499");
    EXPECT_TRUE(arrays.lastElementsUntouched());
    EXPECT_FALSE(exists("error.log"));
}

TEST_F(Analysis, MoreThanAThousandObjectsFailWithALogLine)
{
    for (const std::string &body : {nodes(1001), leaves(1001), nodes(1000) + leaves(1)}) {
        RecordArrays arrays;
        ASSERT_EQ(readText(moduleText(body), arrays), -1);
        EXPECT_TRUE(arrays.untouched());
        const std::string log = errorLog();
        EXPECT_NE(log.find(path("in.mib")), std::string::npos) << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
        std::filesystem::remove(path("error.log"));
    }
}

} // namespace
