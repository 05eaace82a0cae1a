// The reader's tests: modules written into the test's folder and read into
// four arrays filled with a pattern, and the records they should give.
#pragma once

#include "../mibfixture.h"

#include <sstream>

namespace korvel::testing {

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
    int attributeSlot = 0;
    for (std::size_t slot = 0; slot < expected.size(); ++slot) {
        const Expected &e = expected[slot];
        SCOPED_TRACE(e.name);
        const MibTree &record = arrays.tree[slot];
        EXPECT_EQ(record.InUse, 1);
        EXPECT_EQ(record.Name, e.name);
        EXPECT_EQ(record.NameLength, static_cast<int32_t>(e.name.size()));
        EXPECT_EQ(record.Kind, e.kind);
        EXPECT_EQ(record.Parent, e.parent);
        EXPECT_EQ(record.ObjectId, e.objectId);
        if (e.kind == Node)
            continue;
        const MibAttribute &attribute = arrays.attribute[attributeSlot++];
        EXPECT_EQ(attribute.InUse, 1);
        EXPECT_EQ(attribute.Owner, static_cast<int32_t>(slot));
        EXPECT_EQ(attribute.Syntax, e.syntax);
        EXPECT_EQ(attribute.Access, e.access);
        EXPECT_EQ(attribute.Description, e.description);
        EXPECT_EQ(attribute.DescriptionLength, static_cast<int32_t>(e.description.size()));
        EXPECT_EQ(attribute.Constraint, 0);
        EXPECT_EQ(attribute.KeyOrder, 0);
    }
    EXPECT_EQ(arrays.treeCount(), static_cast<int>(expected.size()));
    EXPECT_EQ(arrays.attributeCount(), attributeSlot);
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

} // namespace korvel::testing
