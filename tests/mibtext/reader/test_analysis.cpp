// The analysis through MIBAnalysisProc: what a module's definitions become,
// for the modules of tests/data/mib, single OBJECT-TYPEs and the limits.
#include "readerfixture.h"

#include <string>
#include <vector>

using namespace korvel::testing;

namespace {

using Analysis = ReaderTest;

// Holds for any read: names are set, parents come before their children,
// kinds are known and every attribute belongs to an object.
void expectConsistent(const RecordArrays &arrays)
{
    for (int slot = 0; slot < arrays.treeCount(); ++slot) {
        const MibTree &record = arrays.tree[slot];
        ASSERT_EQ(record.InUse, 1) << slot;
        EXPECT_GT(record.NameLength, 0) << slot;
        EXPECT_EQ(record.NameLength, static_cast<int32_t>(std::strlen(record.Name))) << slot;
        EXPECT_EQ(std::string(record.Name).find_first_of(" \t\r\n"), std::string::npos) << record.Name;
        EXPECT_LT(record.Parent, slot) << record.Name;
        EXPECT_GE(record.Parent, -1) << record.Name;
        EXPECT_TRUE(record.Kind >= Node && record.Kind <= Leaf) << record.Name;
        EXPECT_EQ(arrays.attributeSlotOf(slot) < 0, record.Kind == Node) << record.Name;
    }
    EXPECT_TRUE(arrays.rangesAndListsZero());
    EXPECT_TRUE(arrays.untouched(1000));
}

// Each module of tests/data/mib reads as the records its .records file lists.
TEST_F(Analysis, ModulesReadAsTheirObjects)
{
    for (const std::string name : {"worked_example", "acme-smiv1", "acme-smiv2", "acme-sjis", "parents", "no-imports",
                                   "no-objects", "row-type", "hyphens", "syntax-reset", "broken-chain", "cut-short"}) {
        SCOPED_TRACE(name);
        RecordArrays arrays;
        ASSERT_EQ(readText(dataFile(name + ".mib"), arrays, name + ".mib"), 0);
        expectConsistent(arrays);
        expectRecords(arrays, recordsOf(dataFile(name + ".records")));
    }
}

TEST_F(Analysis, DebianMibFilesLoad)
{
    const std::filesystem::path folder = "/usr/share/snmp/mibs";
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(folder)) {
        for (const auto &entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
    }
    if (files.empty())
        GTEST_SKIP() << "no MIB files in " << folder;
    int objectTypes = 0;
    for (const std::filesystem::path &file : files) {
        SCOPED_TRACE(file.string());
        RecordArrays arrays;
        ASSERT_EQ(readText(readFile(file.string()), arrays, file.filename().string()), 0);
        expectConsistent(arrays);
        objectTypes += arrays.attributeCount();
    }
    EXPECT_EQ(folderContent().size(), files.size());
    EXPECT_GT(objectTypes, 0);
}

// One OBJECT-TYPE "obj" under an unknown parent with the clauses given.
TEST_F(Analysis, ClausesOfAnObjectType)
{
    const struct {
        const char *clauses;
        int kind;
        int syntax;
        int access;
        std::string description;
    } cases[] = {
        {"SYNTAX INTEGER", Leaf, 2, 0, ""},
        {"SYNTAX INTEGER { up(1), down(2) } ACCESS read-write", Leaf, 2, 2, ""},
        {"SYNTAX OCTET STRING ACCESS not-accessible", Leaf, 4, 3, ""},
        {"SYNTAX OBJECT IDENTIFIER MAX-ACCESS read-write", Leaf, 6, 2, ""},
        // Modules written with the old misspelt type name.
        {"SYNTAX OBJECT IDETIFIER MAX-ACCESS not-accessible", Leaf, 6, 3, ""},
        {"SYNTAX IpAddress ACCESS write-only", Leaf, 64, 0, ""},
        {"SYNTAX Counter MAX-ACCESS read-create", Leaf, 65, 0, ""},
        {"SYNTAX TimeTicks ACCESS read - only", Leaf, 67, 0, ""},
        {"SYNTAX SEQUENCE OF PortEntry", Table, 0, 0, ""},
        // How the writer spells a leaf whose syntax was never chosen.
        {"SYNTAX SEQUENCE", Leaf, 48, 0, ""},
        {"SYNTAX PortEntry", Entry, 0, 0, ""},
        {"SYNTAX DisplayString MAX-ACCESS read-only", Entry, 0, 1, ""},
        {"", Entry, 0, 0, ""},
        {"SYNTAX INTEGER DESCRIPTION \"on (1) off (0)\"", Leaf, 2, 0, "on (1) off (0)"},
        {"SYNTAX INTEGER DESCRIPTION \"two\n    lines\"", Leaf, 2, 0, "two\n    lines"},
        {"SYNTAX INTEGER DESCRIPTION \"a \"\"quoted\"\" word\"", Leaf, 2, 0, "a \"quoted\" word"},
        {"SYNTAX INTEGER DESCRIPTION \"see http://example.com/a -- it's /* not */ a comment\"", Leaf, 2, 0,
         "see http://example.com/a -- it's /* not */ a comment"},
        {"SYNTAX INTEGER DESCRIPTION 'single'", Leaf, 2, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.clauses);
        RecordArrays arrays;
        ASSERT_EQ(readText(moduleText(std::string("obj OBJECT-TYPE\n    ") + c.clauses + "\n    ::= { x 1 }"), arrays),
                  0);
        expectRecords(arrays, {{"obj", c.kind, -1, 1, c.syntax, c.access, c.description}});
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
    expectRecords(arrays, {{longName.substr(0, 511), Node, -1, 1, 0, 0, ""},
                           {longName.substr(0, 511), Leaf, 0, 2, 2, 0, description.substr(0, 510)}});
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
            + "DESCRIPTION \"x\" ::= { enterprises " + std::to_string(n + 1) + " }\n";
    return body;
}

TEST_F(Analysis, AThousandObjectsFitTheTablesAndOneMoreFailsWithALogLine)
{
    RecordArrays full;
    ASSERT_EQ(readText(moduleText(nodes(500) + leaves(500)), full), 0);
    EXPECT_EQ(full.treeCount(), 1000);
    EXPECT_EQ(full.attributeCount(), 500);
    EXPECT_STREQ(full.tree[999].Name, "leaf499");
    EXPECT_TRUE(full.untouched(1000));
    EXPECT_EQ(folderContent(), std::vector<std::string>{"in.mib"});

    for (const std::string &body : {nodes(1001), nodes(1000) + leaves(1)}) {
        RecordArrays arrays;
        ASSERT_EQ(readText(moduleText(body), arrays), -1);
        EXPECT_TRUE(arrays.untouched());
        EXPECT_EQ(errorLog(), "ParseMibTokens: " + path("in.mib") + " オブジェクトが多すぎる（1000個まで）\n");
        std::filesystem::remove(path("error.log"));
    }
}

} // namespace
