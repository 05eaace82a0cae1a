// Designs written by MIBCreateProc read back through MIBAnalysisProc with the
// same names, kinds, parents, sub-identifiers, syntaxes, accesses and
// descriptions.
#include "readerfixture.h"

#include <string>
#include <vector>

using namespace korvel::testing;

namespace {

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
            const MibTree &record = back.tree[slot];
            EXPECT_EQ(record.Kind, o.kind);
            EXPECT_EQ(record.ObjectId, o.objectId);
            EXPECT_EQ(record.NameLength, static_cast<int32_t>(o.name.size()));
            EXPECT_EQ(record.Parent < 0 ? std::string() : back.tree[record.Parent].Name,
                      o.parent < 0 ? std::string() : design[o.parent].name);
            const int at = back.attributeSlotOf(slot);
            ASSERT_EQ(at < 0, o.kind == Node);
            if (at < 0)
                continue;
            const MibAttribute &attribute = back.attribute[at];
            EXPECT_EQ(attribute.Access, o.access);
            EXPECT_EQ(attribute.Description, o.description);
            EXPECT_EQ(attribute.DescriptionLength, static_cast<int32_t>(o.description.size()));
            EXPECT_EQ(attribute.Syntax, o.kind == Leaf ? o.syntax : 0);
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

TEST_F(RoundTrip, FullDesignOfAThousandObjects)
{
    std::vector<Expected> design;
    for (int group = 1; group <= 100; ++group) {
        const std::string g = std::to_string(group);
        const int at = static_cast<int>(design.size());
        design.push_back({"group" + g, Node, -1, group, 0, 0, ""});
        design.push_back({"t" + g + "Table", Table, at, 1, 48, 3, "rows"});
        design.push_back({"t" + g + "Entry", Entry, at + 1, 1, 48, 3, "one row"});
        design.push_back({"t" + g + "Index", Leaf, at + 2, 1, 2, 2, "index column"});
        design.push_back({"t" + g + "Oid", Leaf, at + 2, 2, 6, 3, "oid column"});
        for (int leaf = 1; leaf <= 5; ++leaf)
            design.push_back({"g" + g + "Leaf" + std::to_string(leaf), Leaf, at, leaf + 1, 4, 2,
                              "leaf " + std::to_string(leaf) + " of group " + g + "\nsecond line"});
    }
    ASSERT_EQ(design.size(), 1000u);
    expectRoundTrip(design);
}

} // namespace
