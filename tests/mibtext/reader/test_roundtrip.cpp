// Designs written by MIBCreateProc read back through MIBAnalysisProc with the
// same names, kinds, parents, sub-identifiers, syntaxes, accesses and
// descriptions.
#include "readerfixture.h"

#include <string>
#include <vector>

using namespace korvel::testing;

namespace {

struct DesignObject {
    std::string name;
    int kind;
    std::string parent; // empty for the root
    int objectId;
    int syntax;
    int access;
    std::string description;
};

using Design = std::vector<DesignObject>;

void setText(char *field, int32_t &length, const std::string &text)
{
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    length = static_cast<int32_t>(text.size());
}

// A table with its entry and the given columns.
void addTable(Design &design, const std::string &stem, const std::string &parent, int objectId,
              const std::vector<std::pair<std::string, int>> &columns, const std::string &description = "rows")
{
    design.push_back({stem + "Table", Table, parent, objectId, 48, 3, description});
    design.push_back({stem + "Entry", Entry, stem + "Table", 1, 48, 3, "one " + stem});
    int column = 0;
    for (const auto &[name, syntax] : columns)
        design.push_back({name, Leaf, stem + "Entry", ++column, syntax, 1 + column % 3, name + " column"});
}

class RoundTrip : public ReaderTest
{
protected:
    // Writes the design, every object in the slot of its index with the
    // attribute record of the same number, and reads the module back.
    void expectRoundTrip(const Design &design)
    {
        RecordArrays written(0);
        for (std::size_t slot = 0; slot < design.size(); ++slot) {
            const DesignObject &object = design[slot];
            MibTree &record = written.tree[slot];
            setText(record.Name, record.NameLength, object.name);
            record.Parent = object.parent.empty() ? -1 : written.slotOf(object.parent);
            ASSERT_TRUE(object.parent.empty() || record.Parent >= 0) << object.parent;
            record.ObjectId = object.objectId;
            record.Kind = object.kind;
            record.InUse = 1;
            if (object.kind != Node) {
                MibAttribute &attribute = written.attribute[slot];
                attribute = {static_cast<int32_t>(slot), object.syntax, 0, object.access, {}, 0, 0, 1};
                setText(attribute.Description, attribute.DescriptionLength, object.description);
            }
        }
        ASSERT_EQ(written.create(path("design.mib")), 0);

        RecordArrays back;
        ASSERT_EQ(back.read(path("design.mib")), 0);
        int attributes = 0;
        for (const DesignObject &object : design) {
            SCOPED_TRACE(object.name);
            const int slot = back.slotOf(object.name);
            ASSERT_GE(slot, 0);
            const MibTree &record = back.tree[slot];
            EXPECT_EQ(record.Kind, object.kind);
            EXPECT_EQ(record.ObjectId, object.objectId);
            EXPECT_EQ(record.Parent < 0 ? std::string() : std::string(back.tree[record.Parent].Name), object.parent);
            EXPECT_EQ(record.NameLength, static_cast<int32_t>(object.name.size()));
            const MibAttribute *attribute = back.attributeOf(slot);
            ASSERT_EQ(attribute == nullptr, object.kind == Node);
            if (object.kind == Node)
                continue;
            ++attributes;
            EXPECT_EQ(attribute->Access, object.access);
            EXPECT_EQ(std::string(attribute->Description), object.description);
            EXPECT_EQ(attribute->DescriptionLength, static_cast<int32_t>(object.description.size()));
            EXPECT_EQ(attribute->Syntax, object.kind == Leaf ? object.syntax : 0);
        }
        EXPECT_EQ(back.treeCount(), static_cast<int>(design.size()));
        EXPECT_EQ(back.attributeCount(), attributes);
        EXPECT_TRUE(back.rangesAndListsZero());
    }
};

TEST_F(RoundTrip, SyntaxesAccessesDescriptionsAndNamesComeBack)
{
    Design design = {{"device", Node, "", 1, 0, 0, ""}};
    int objectId = 0;
    for (int syntax : {2, 4, 6, 64, 65, 66, 67, 68, 48}) {
        for (int access = 1; access <= 3; ++access)
            design.push_back({"s" + std::to_string(syntax) + "a" + std::to_string(access), Leaf, "device",
                              ++objectId, syntax, access, "syntax " + std::to_string(syntax)});
    }
    addTable(design, "every", "device", 100,
             {{"cInteger", 2}, {"cOctets", 4}, {"cOid", 6}, {"cAddress", 64}, {"cCounter", 65}, {"cGauge", 66},
              {"cTicks", 67}, {"cOpaque", 68}, {"cNone", 48}});

    std::string wide;
    for (int n = 0; n < 255; ++n)
        wide += "\x95\x5C";
    const std::string descriptions[] = {
        "", "plain", "two\nlines", "\nstarts and ends with a line break\n", "blank lines\n\n\nbetween",
        "   leading and trailing blanks   ", "tab\there", "say \"hi\"", "\"", "\"\"\"", "C:\\dir\\",
        "back\\\"slash", "-- not a comment", "it's -- a // b /* c */ d", "first line\n# of items\n   #define X",
        "x)$ y (z)$ ", "\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6", "\x95\x5C",
        "\x90\xE0\x96\xBE\x81\x46\x83\x5C\n\x95\x5C\"", "\xCE\xDF\xB0\xC4 half-width", "lone\rCR",
        std::string(255, 'x'), wide,
    };
    for (const std::string &description : descriptions) {
        ++objectId;
        design.push_back({"d" + std::to_string(objectId), Leaf, "device", objectId, 4, 2, description});
    }
    addTable(design, "quoted", "device", 101, {{"qColumn", 2}}, "a \"quoted\" table\nover two lines");

    design.push_back({"mib-2", Node, "", 2, 0, 0, ""});
    design.push_back({"port-1", Node, "mib-2", 31, 0, 0, ""});
    const std::string longName(255, 'n');
    const std::pair<std::string, const char *> names[] = {
        {"x-y-z", "hyphens"},
        {"\x89\xB7\x93\x78\x83\x5A\x83\x93\x83\x54", "Japanese name"},
        {"\xCE\xDF\xB0\xC4", "half-width katakana"},
        {"port\x89\xB7\x93\x78" "1", "mixed"},
        {"\x83\x7C\x81\x5B\x83\x67-2", "Japanese and a hyphen"},
        {"under_score", ""},
    };
    objectId = 0;
    for (const auto &[name, description] : names)
        design.push_back({name, Leaf, "port-1", ++objectId, 2, 1, description});
    design.push_back({longName, Node, "mib-2", 2, 0, 0, ""});
    design.push_back({"child", Leaf, longName, 1, 2, 1, "below a long name"});
    addTable(design, "\x83\x7C\x81\x5B\x83\x67", "mib-2", 3, {{"\x89\xB7\x93\x78", 2}});
    expectRoundTrip(design);
}

TEST_F(RoundTrip, FullDesignOfAThousandObjects)
{
    Design design;
    for (int group = 1; group <= 100; ++group) {
        const std::string g = std::to_string(group);
        design.push_back({"group" + g, Node, "", group, 0, 0, ""});
        addTable(design, "t" + g + "x", "group" + g, 1, {{"t" + g + "Index", 2}, {"t" + g + "Oid", 6}});
        for (int leaf = 1; leaf <= 5; ++leaf)
            design.push_back({"g" + g + "Leaf" + std::to_string(leaf), Leaf, "group" + g, leaf + 1, 4, 2,
                              "leaf " + std::to_string(leaf) + " of group " + g + "\nsecond line"});
    }
    ASSERT_EQ(design.size(), 1000u);
    expectRoundTrip(design);
}

} // namespace
