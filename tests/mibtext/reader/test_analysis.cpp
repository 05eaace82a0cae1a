// The reader: what a module's definitions become through MIBAnalysisProc
// (the modules of tests/data/mib, single OBJECT-TYPEs, the limits and the
// writer's modules read back), the files a read leaves, and the tokens the
// pre-passes and the tokenizer make of a text.
#include "../mibfixture.h"
#include "reader.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace korvel::mib;
using namespace korvel::testing;

namespace {

class ReaderTest : public MibFolderTest
{
protected:
    std::string path(const std::string &name = "in.mib") const { return inFolder(name); }

    void writeFile(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    // A module of tests/data/mib.
    static std::string dataFile(const std::string &name) { return readFile(KORVEL_TEST_DATA "/mib/" + name); }

    std::string errorLog() const { return readFile(path("error.log")); }

    // Writes `text` as the module `name` and reads it into `arrays`.
    int32_t readText(const std::string &text, RecordArrays &arrays, const std::string &name = "in.mib") const
    {
        writeFile(name, text);
        return arrays.read(path(name));
    }
};

enum Kind { Node = 1, Table = 2, Entry = 3, Leaf = 4 };

struct Expected {
    std::string name;
    int kind;
    int parent;
    int objectId;
    int syntax;
    int access;
    std::string description;
};

// Checks the records in slots 0, 1, ... against `expected`: a tree record
// for each, and for every object but a node the next attribute record, owned
// by it. Nothing else is in use, and no range or list record was made.
inline void expectRecords(const RecordArrays &arrays, const std::vector<Expected> &expected)
{
    int at = 0;
    for (std::size_t slot = 0; slot < expected.size(); ++slot) {
        const Expected &e = expected[slot];
        const MibTree &t = arrays.tree[slot];
        EXPECT_EQ(std::tie(t.InUse, t.Name, t.NameLength, t.Kind, t.Parent, t.ObjectId),
                  std::tuple(1, e.name, int32_t(e.name.size()), e.kind, e.parent, e.objectId));
        if (e.kind == Node)
            continue;
        const MibAttribute &a = arrays.attribute[at++];
        EXPECT_EQ(std::tie(a.InUse, a.Owner, a.Syntax, a.Access, a.Description, a.DescriptionLength, a.Constraint,
                           a.KeyOrder),
                  std::tuple(1, int32_t(slot), e.syntax, e.access, e.description, int32_t(e.description.size()), 0, 0))
            << e.name;
    }
    EXPECT_EQ(arrays.treeCount(), static_cast<int>(expected.size()));
    EXPECT_EQ(arrays.attributeCount(), at);
    EXPECT_TRUE(arrays.rangesAndListsZero());
}

// Undoes the escapes of a .records file: \n, \t, \r, \\ and \xHH.
inline std::string unescape(const std::string &text)
{
    std::string bytes;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\' || at + 1 == text.size()) {
            bytes += text[at];
        } else if (text[++at] == 'x') {
            bytes += static_cast<char>(std::stoi(text.substr(at + 1, 2), nullptr, 16));
            at += 2;
        } else {
            bytes += text[at] == 'n' ? '\n' : text[at] == 't' ? '\t' : text[at] == 'r' ? '\r' : text[at];
        }
    }
    return bytes;
}

// The objects of a .records file of tests/data/mib (what the module beside
// it reads as, or a design to write): one line per object, "name kind parent
// objectId syntax access description", the kind spelt out, the parent a
// slot, the description the rest of the line.
inline std::vector<Expected> recordsOf(const std::string &text)
{
    std::vector<Expected> records;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Expected e;
        std::string kind;
        fields >> e.name >> kind >> e.parent >> e.objectId >> e.syntax >> e.access;
        fields.get();
        std::getline(fields, e.description);
        e.name = unescape(e.name);
        e.description = unescape(e.description);
        e.kind = kind == "Node" ? Node : kind == "Table" ? Table : kind == "Entry" ? Entry : kind == "Leaf" ? Leaf : 0;
        records.push_back(e);
    }
    return records;
}

// A module around `body`, with a header in the usual SMIv2 style and CR LF
// line ends.
inline std::string moduleText(const std::string &body)
{
    std::string crlf;
    for (char byte : "TEST-MIB DEFINITIONS ::= BEGIN\nIMPORTS enterprises, OBJECT-TYPE FROM SNMPv2-SMI;\n" + body
             + "\nEND\n") {
        if (byte == '\n')
            crlf += '\r';
        crlf += byte;
    }
    return crlf;
}

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
    for (const std::string name : {"worked_example", "acme-smiv2", "acme-sjis", "parents", "no-imports",
                                   "no-objects", "row-type", "hyphens", "syntax-reset", "broken-chain", "cut-short"}) {
        SCOPED_TRACE(name);
        RecordArrays arrays;
        ASSERT_EQ(readText(dataFile(name + ".mib"), arrays, name + ".mib"), 0);
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

// Designs written by MIBCreateProc read back through MIBAnalysisProc with the
// same names, kinds, parents, sub-identifiers, syntaxes, accesses and
// descriptions.
class RoundTrip : public ReaderTest
{
protected:
    // Writes `design`, each object in the slot of its index, reads the
    // module back and finds every object again by its name.
    void expectRoundTrip(const std::vector<Expected> &design)
    {
        RecordDesign written;
        for (std::size_t slot = 0; slot < design.size(); ++slot) {
            const Expected &o = design[slot];
            written.object(static_cast<int>(slot), o.name, o.kind, o.parent, o.objectId);
            if (o.kind != Node)
                written.attach(static_cast<int>(slot), o.syntax, 0, o.access, o.description);
        }
        ASSERT_EQ(written.call(MIBCreateProc, path("design.mib").c_str()), 0);

        RecordArrays back;
        ASSERT_EQ(back.read(path("design.mib")), 0);
        EXPECT_EQ(back.treeCount(), static_cast<int>(design.size()));
        EXPECT_EQ(back.attributeCount(), written.attributeCount());
        EXPECT_TRUE(back.rangesAndListsZero());
        for (const Expected &o : design) {
            SCOPED_TRACE(o.name);
            const int slot = back.slotOf(o.name);
            ASSERT_GE(slot, 0);
            const MibTree &t = back.tree[slot];
            EXPECT_EQ(std::tuple(t.Kind, t.ObjectId, t.NameLength, t.Parent < 0 ? "" : back.tree[t.Parent].Name),
                      std::tuple(o.kind, o.objectId, int32_t(o.name.size()), o.parent < 0 ? "" : design[o.parent].name));
            const int at = back.attributeSlotOf(slot);
            ASSERT_EQ(at < 0, o.kind == Node);
            if (at >= 0) {
                const MibAttribute &a = back.attribute[at];
                EXPECT_EQ(std::tie(a.Access, a.Description, a.DescriptionLength, a.Syntax),
                          std::tuple(o.access, o.description, int32_t(o.description.size()), o.kind == Leaf ? o.syntax : 0));
            }
        }
    }
};

// Every syntax and access, descriptions with line breaks, quotes,
// backslashes, comment markers and Shift-JIS text, hyphenated and Japanese
// names, and texts of 255 characters.
TEST_F(RoundTrip, SyntaxesAccessesDescriptionsAndNamesComeBack)
{
    std::vector<Expected> design = recordsOf(dataFile("roundtrip.records"));
    std::string wide;
    for (int n = 0; n < 255; ++n)
        wide += "\x95\x5C";
    design.push_back({"dLong", Leaf, 0, 49, 4, 2, std::string(255, 'x')});
    design.push_back({"dWide", Leaf, 0, 50, 4, 2, wide});
    const auto mib2 = std::find_if(design.begin(), design.end(), [](const Expected &e) { return e.name == "mib-2"; });
    design.push_back({std::string(255, 'n'), Node, static_cast<int>(mib2 - design.begin()), 2, 0, 0, ""});
    design.push_back({"child", Leaf, static_cast<int>(design.size()) - 1, 1, 2, 1, "below a long name"});
    expectRoundTrip(design);
}

// MIBAnalysisProc's files: the working files, the error log, failures and
// what they leave behind.

using Names = std::vector<std::string>;
using ReadFiles = ReaderTest;

TEST_F(ReadFiles, SuccessfulReadsLeaveNoWorkingFilesAndOnlyTheirOwnObjects)
{
    // A read over an earlier one leaves every record as a first read into
    // fresh arrays does, and CR LF or LF line ends make no difference.
    RecordArrays arrays;
    ASSERT_EQ(readText(dataFile("acme-smiv2.mib"), arrays, "large.mib"), 0);
    EXPECT_EQ(arrays.treeCount(), 15);
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

// The two pre-passes, the byte classes and the tokenizer: what the analysis
// gets to see of a text.

using Tokens = std::vector<std::string>;

class Tokenizer : public ReaderTest
{
protected:
    // Runs both pre-passes and Token_Analysis over `text`; returns the
    // tokenizer's result.
    int analyse(const std::string &text)
    {
        writeFile("in", text);
        EXPECT_EQ(FileCheckConvert(path("in").c_str(), path("in_tmp2").c_str()), 0);
        EXPECT_EQ(FileCheckConvert2(path("in_tmp2").c_str(), path("in_tmp1").c_str()), 0);
        return Token_Analysis(path("in_tmp1").c_str());
    }

    // The tokens ReadToken returns for `text`.
    Tokens tokensOf(const std::string &text)
    {
        EXPECT_EQ(analyse(text), 0);
        return readTokens();
    }

    Tokens readTokens()
    {
        Tokens tokens;
        std::FILE *file = std::fopen(path("in_tmp1_token").c_str(), "rb");
        if (file == nullptr)
            return tokens;
        auto token = std::make_unique<Token>();
        while (ReadToken(file, *token) == 0)
            tokens.emplace_back(token->text, static_cast<std::size_t>(token->length));
        std::fclose(file);
        return tokens;
    }

    std::string tokenFile() { return readFile(path("in_tmp1_token")); }

};

struct TokenCase {
    const char *name;
    std::string text;
    Tokens tokens;
};

TEST_F(Tokenizer, CutsTheTextIntoTokens)
{
    const TokenCase cases[] = {
        {"range", "SYNTAX INTEGER (1..64)", {"SYNTAX", "INTEGER", "(", "1..64", ")"}},
        {"assignment", "a ::= { b 1 }", {"a", ":", ":", "=", "{", "b", "1", "}"}},
        {"hyphenated names",
         "OBJECT-TYPE MAX-ACCESS read-only mib-2 x-1",
         {"OBJECT-TYPE", "MAX-ACCESS", "read-only", "mib-2", "x-1"}},
        {"hyphens that join nothing", "a- b -c -1", {"a", "-", "b", "-", "c", "-", "1"}},
        {"numbers", "0x12 1e5 3.14 12ab", {"0x12", "1e5", "3.14", "12", "ab"}},
        {"double-byte run", "\x83\x41\x83\x43 x", {"\x83\x41\x83\x43", "x"}},
        {"Japanese names",
         "port\x89\xB7\x93\x78" "1 \xCE\xDF\xB0\xC4 \x83\x7C-2",
         {"port\x89\xB7\x93\x78" "1", "\xCE\xDF\xB0\xC4", "\x83\x7C-2"}},
        {"apostrophes", "'00'H", {"'00", "H"}},
        // Comments are skipped.
        {"ASN.1 comment with a quote", "-- say \"\nfoo \"bar\"", {"foo", "\"bar"}},
        {"ASN.1 comment ended by --", "a -- inline -- b", {"a", "b"}},
        {"-- after a name", "a--b\nc", {"a", "c"}},
        {"block comment over lines", "/* a\n b' \"*/ x /**/ y", {"x", "y"}},
        {"-- inside a block comment, then a string", "/* -- */ x \"a\n# b\" y", {"x", "\"a\n# b", "y"}},
        {"line comment", "// c'\nx", {"x"}},
        {"# line", "#define X 'a\nx", {"x"}},
        {"stray lead bytes in comments", "-- \x95\n// \x95 \n# \x95\n/* \x95\n*/x", {"x"}},
        {"comment markers in a string", "\"a // b /* c\" // it's\nx", {"\"a // b /* c", "x"}},
        {"apostrophe string, then a comment", "'a\"b' // c'\nx", {"'a\"b", "x"}},
        {"# after blanks, not after a tab", "  # \"odd\n\t#x\n", {"#", "x"}},
        {"quote in an ASN.1 comment, then #", "-- \"\n#x\ny", {"y"}},
    };
    for (const TokenCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tokensOf(c.text), c.tokens);
    }
}

TEST_F(Tokenizer, LongLinesAndTokensAreCutNotOverrun)
{
    std::string line;
    for (int n = 0; n < 1500; ++n)
        line += "a ";
    const Tokens lineTokens = tokensOf(line + "END\n");
    ASSERT_EQ(lineTokens.size(), 1501u);
    EXPECT_EQ(lineTokens.back(), "END");

    const std::string name(2000, 'n');
    EXPECT_EQ(tokensOf(name + " next"), Tokens({name.substr(0, TokenBufferSize - 1), "next"}));

    // The double-byte character would end past the buffer: it is left out
    // whole, and so is everything after it.
    const std::string text = std::string(TokenBufferSize - 3, 'x') + "\x83\x41" + std::string(3000, 'y');
    EXPECT_EQ(tokensOf("\"" + text + "\" next"), Tokens({"\"" + text.substr(0, TokenBufferSize - 3), "next"}));
}

// The lines before the error are in the token file.
TEST_F(Tokenizer, ErrorsStopTheTokenizer)
{
    const struct {
        const char *name;
        std::string text;
        std::string printed;
    } cases[] = {
        {"string never closed", "a\nb \"never closed\nc", ""},
        {"apostrophe string over lines", "a\nb 'c\nd'", ""},
        {"apostrophe outside comments", "a\nit's", ""},
        {"bad double-byte character", "a\nb \x95\x20", "漢字コードが不正である\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(analyse(c.text), 1);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.printed);
        EXPECT_EQ(tokenFile().substr(0, 6), "(a)$ \n");
    }
}

// An unknown class answers 0 with a line, and the process lives.
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
        {0, 0x81, false},            {4, 0x81, false},
    };
    ::testing::internal::CaptureStdout();
    for (const auto &c : cases)
        EXPECT_EQ(iskanji(c.kanjiClass, c.byte), c.member ? c.byte : 0) << c.kanjiClass << " " << c.byte;
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "iskanji:unknown Kanji code type.\niskanji:unknown Kanji code type.\n");
}

} // namespace
