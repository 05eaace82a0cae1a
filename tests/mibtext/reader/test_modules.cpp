// Modules written by others, in the styles found in the wild, load.
#include "readerfixture.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace korvel::testing;

namespace {

class Modules : public ReaderTest
{
protected:
    // Reads a fixture from a copy in the test's folder, so that the working
    // files land there.
    int32_t readFixture(const std::string &name, RecordArrays &arrays)
    {
        std::filesystem::copy_file(std::string(KORVEL_TEST_DATA "/mib/") + name, path(name));
        return arrays.read(path(name));
    }

    // Holds for any read: names are set, parents come before their children,
    // kinds are known and every attribute belongs to an object.
    static void expectConsistent(const RecordArrays &arrays)
    {
        for (int slot = 0; slot < arrays.treeCount(); ++slot) {
            const MibTree &record = arrays.tree(slot);
            ASSERT_EQ(record.InUse, 1) << slot;
            EXPECT_GT(record.NameLength, 0) << slot;
            EXPECT_EQ(record.NameLength, static_cast<int32_t>(std::strlen(record.Name))) << slot;
            EXPECT_EQ(std::string(record.Name).find_first_of(" \t\r\n"), std::string::npos) << record.Name;
            EXPECT_LT(record.Parent, slot) << record.Name;
            EXPECT_GE(record.Parent, -1) << record.Name;
            EXPECT_TRUE(record.Kind >= Node && record.Kind <= Leaf) << record.Name;
            EXPECT_EQ(arrays.attributeOf(slot) == nullptr, record.Kind == Node) << record.Name;
        }
        EXPECT_TRUE(arrays.rangesAndListsZero());
        EXPECT_TRUE(arrays.lastElementsUntouched());
    }
};

TEST_F(Modules, SmiV1ModuleLoads)
{
    RecordArrays arrays;
    ASSERT_EQ(readFixture("acme-smiv1.mib", arrays), 0);
    expectConsistent(arrays);
    expectRecords(arrays, {
                              {"acme", Node, -1, 4242, 0, 0, ""},
                              {"acmeSystem", Node, 0, 1, 0, 0, ""},
                              {"acmePorts", Node, 0, 2, 0, 0, ""},
                              {"acmeSysName", Leaf, 1, 1, 4, 2,
                               "The device's administrative name.  Writing it changes\n"
                               "\t\tthe prompt of the console, see http://acme.example/doc."},
                              {"acmeSysUpTime", Leaf, 1, 2, 67, 1, "Time since the last cold start."},
                              {"acmeSysAddress", Leaf, 1, 3, 64, 1, "The management address."},
                              {"acmeSysLocation", Entry, 1, 4, 0, 2, "Where the device stands."},
                              {"acmePortTable", Table, 2, 1, 0, 3, "One row per port."},
                              {"acmePortEntry", Entry, 7, 1, 0, 3, "A port's row."},
                              {"acmePortIndex", Leaf, 8, 1, 2, 1, "The port's number."},
                              {"acmePortState", Leaf, 8, 2, 2, 2, "The port's state."},
                              {"acmePortInOctets", Leaf, 8, 3, 65, 1, "Octets received."},
                              {"acmePortType", Leaf, 8, 4, 6, 1, "The kind of port."},
                              {"acmeLoad", Leaf, 1, 5, 66, 1, "Load in percent."},
                          });
}

TEST_F(Modules, SmiV2ModuleLoads)
{
    RecordArrays arrays;
    ASSERT_EQ(readFixture("acme-smiv2.mib", arrays), 0);
    expectConsistent(arrays);
    expectRecords(arrays, {
                              {"acmeObjects", Node, -1, 1, 0, 0, ""},
                              {"acmeConformance", Node, -1, 2, 0, 0, ""},
                              {"acme-legacy", Node, -1, 999, 0, 0, ""},
                              {"acmeLevel", Entry, 0, 1, 0, 2,
                               "The current level.\n        Setting it to 0 turns the device's fan off."},
                              {"acmeName", Leaf, 0, 2, 4, 1, "The name, as in \"acme-01\"."},
                              {"acmeSensorTable", Table, 0, 3, 0, 3, "Sensors."},
                              {"acmeSensorEntry", Entry, 5, 1, 0, 3, "A sensor."},
                              {"acmeSensorIndex", Entry, 6, 1, 0, 3, "The index."},
                              {"acmeSensorKind", Leaf, 6, 2, 6, 0, "What is measured."},
                              {"acmeSensorValue", Leaf, 6, 3, 2, 1, "The value; -- is not a comment here."},
                              {"acmeSensorStatus", Entry, 6, 4, 0, 0, "Creates and deletes rows."},
                              {"acmeLegacyCounter", Entry, 2, 1, 0, 1, "Kept for old managers."},
                              {"acmeNotifications", Node, -1, 0, 0, 0, ""},
                              {"acmeGroups", Node, 1, 1, 0, 0, ""},
                              {"acmeCompliances", Node, 1, 2, 0, 0, ""},
                          });
}

TEST_F(Modules, ShiftJisModuleLoads)
{
    RecordArrays arrays;
    ASSERT_EQ(readFixture("acme-sjis.mib", arrays), 0);
    expectConsistent(arrays);
    expectRecords(arrays, {
                              {"acmeJp", Node, -1, 4244, 0, 0, ""},
                              // The last character's trail byte is 0x5C, right before
                              // the closing quote.
                              {"acmeJpVersion", Leaf, 0, 1, 4, 1,
                               "\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41\x82\xCC\x83\x6F\x81\x5B\x83\x57"
                               "\x83\x87\x83\x93\x82\xF0\x95\x5C"},
                              // Half-width katakana in a string stay as they are.
                              {"acmeJpLabel", Leaf, 0, 2, 4, 2,
                               "\x91\x95\x92\x75\x82\xCC\x96\xBC\x91\x4F\x81\x42\n\t\t\x82\x51\x8D\x73\x96\xDA\x81\x46"
                               "\xB6\xC5\x82\xE0\x82\xBB\x82\xCC\x82\xDC\x82\xDC"},
                          });
}

TEST_F(Modules, DebianMibFilesLoad)
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
    std::sort(files.begin(), files.end());
    int objectTypes = 0;
    for (const std::filesystem::path &file : files) {
        SCOPED_TRACE(file.string());
        std::filesystem::copy_file(file, path(file.filename().string()));
        RecordArrays arrays;
        ASSERT_EQ(arrays.read(path(file.filename().string())), 0);
        expectConsistent(arrays);
        objectTypes += arrays.attributeCount();
    }
    EXPECT_EQ(folderContent().size(), files.size());
    EXPECT_GT(objectTypes, 0);
}

} // namespace
