// Time of MIBCreateProc for a full design of 1000 objects: 100 nodes, 100
// tables with their entries and three columns each, 400 scalar leaves; a
// third of the leaves with a range, a third with four enumeration items.
// Also the whole create bridge (record image, call, round trip of the texts).
#include "korvel_mib.h"
#include "mibbridge.h"
#include "miblibrary.h"
#include "tableops.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Slots = 1001;

struct Design {
    std::vector<MibTree> tree = std::vector<MibTree>(Slots);
    std::vector<MibAttribute> attribute = std::vector<MibAttribute>(Slots);
    std::vector<MibRange> range = std::vector<MibRange>(Slots);
    std::vector<MibList> list = std::vector<MibList>(Slots);
    int trees = 0;
    int attributes = 0;
    int ranges = 0;
    int items = 0;

    Design()
    {
        std::memset(tree.data(), 0, Slots * sizeof(MibTree));
        std::memset(attribute.data(), 0, Slots * sizeof(MibAttribute));
        std::memset(range.data(), 0, Slots * sizeof(MibRange));
        std::memset(list.data(), 0, Slots * sizeof(MibList));
    }

    int object(const std::string &name, int kind, int parent, int id)
    {
        MibTree &r = tree[trees];
        std::snprintf(r.Name, sizeof r.Name, "%s", name.c_str());
        r.NameLength = static_cast<int32_t>(name.size());
        r.ObjectId = id;
        r.Parent = parent;
        r.Kind = kind;
        r.InUse = 1;
        return trees++;
    }

    void describe(int owner, int syntax, int access, int key)
    {
        MibAttribute &a = attribute[attributes++];
        a.Owner = owner;
        a.Syntax = syntax;
        a.Access = access;
        a.KeyOrder = key;
        std::snprintf(a.Description, sizeof a.Description,
                      "Object %d: a description of a realistic length, with \"quotes\".", owner);
        a.InUse = 1;
    }

    void leaf(const std::string &name, int parent, int id, int key)
    {
        const int slot = object(name, 4, parent, id);
        describe(slot, slot % 2 == 0 ? 2 : 4, slot % 3 + 1, key);
        MibAttribute &a = attribute[attributes - 1];
        if (slot % 3 == 1) {
            a.Constraint = 1;
            MibRange &r = range[ranges++];
            r.Owner = slot;
            std::snprintf(r.Minimum, sizeof r.Minimum, "0");
            std::snprintf(r.Maximum, sizeof r.Maximum, "4294967295");
            r.InUse = 1;
        } else if (slot % 3 == 2) {
            a.Constraint = 2;
            for (int value = 4; value >= 1; --value) {
                MibList &l = list[items++];
                l.Owner = slot;
                std::snprintf(l.ItemName, sizeof l.ItemName, "state%d", value);
                l.ItemValue = value;
                l.InUse = 1;
            }
        }
    }
};

std::unique_ptr<Design> fullDesign()
{
    auto d = std::make_unique<Design>();
    // Groups 0 to 9 under the root, each with ten subgroups after its own
    // table (sub-identifier 1) and values (2 to 5).
    std::vector<int> groups;
    for (int n = 0; n < 100; ++n) {
        const int parent = n < 10 ? -1 : groups[n / 10 - 1];
        const int node = d->object("group" + std::to_string(n), 1, parent, n < 10 ? n + 1 : n % 10 + 11);
        groups.push_back(node);
        const int table = d->object("row" + std::to_string(n) + "Table", 2, node, 1);
        d->describe(table, 0, 3, 0);
        const int entry = d->object("row" + std::to_string(n) + "Entry", 3, table, 1);
        d->describe(entry, 0, 3, 0);
        for (int c = 0; c < 3; ++c)
            d->leaf("row" + std::to_string(n) + "Column" + std::to_string(c), entry, c + 1, c < 2 ? c + 1 : 0);
        for (int s = 0; s < 4; ++s)
            d->leaf("group" + std::to_string(n) + "Value" + std::to_string(s), node, s + 2, 0);
    }
    return d;
}

template <typename Record>
SAFEARRAY arrayOf(std::vector<Record> &records)
{
    SAFEARRAY array{};
    array.cDims = 1;
    array.cbElements = sizeof(Record);
    array.pvData = records.data();
    array.rgsabound[0].cElements = static_cast<uint32_t>(records.size());
    return array;
}

void MibCreateProc(benchmark::State &state)
{
    const std::unique_ptr<Design> d = fullDesign();
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("bench.mib")).toStdString();
    for (auto _ : state) {
        SAFEARRAY tree = arrayOf(d->tree);
        SAFEARRAY attribute = arrayOf(d->attribute);
        SAFEARRAY range = arrayOf(d->range);
        SAFEARRAY list = arrayOf(d->list);
        SAFEARRAY *t = &tree, *a = &attribute, *r = &range, *l = &list;
        if (MIBCreateProc(&t, &a, &r, &l, path.c_str()) != 0)
            state.SkipWithError("MIBCreateProc failed");
    }
    state.counters["objects"] = d->trees;
    QFile written(QString::fromStdString(path));
    if (written.open(QIODevice::ReadOnly)) {
        const QByteArray module = written.readAll();
        state.counters["module_bytes"] = static_cast<double>(module.size());
        // Every object ends with "::= { parent id }", and so does the root's line.
        state.counters["written"] = static_cast<double>(module.count("::= {") - 1);
    }
}
BENCHMARK(MibCreateProc)->Unit(benchmark::kMillisecond);

// The same design through the create bridge, as the program calls it.
void CreateBridge(benchmark::State &state)
{
    const std::unique_ptr<Design> d = fullDesign();
    auto app = std::make_unique<korvel::AppState>();
    korvel::DefinitionTables &t = app->tables;
    for (int slot = 0; slot < korvel::StoredSlotCount; ++slot) {
        const MibTree &r = d->tree[slot];
        korvel::storeText(t.tree[slot].Name, QString::fromLatin1(r.Name), korvel::NameWidth);
        t.tree[slot].NameLength = r.NameLength;
        t.tree[slot].ObjectId = r.ObjectId;
        t.tree[slot].Parent = r.Parent;
        t.tree[slot].Kind = r.Kind;
        t.tree[slot].InUse = r.InUse;
        const MibAttribute &a = d->attribute[slot];
        korvel::storeText(t.attribute[slot].Description, QString::fromLatin1(a.Description), korvel::NameWidth);
        t.attribute[slot].DescriptionLength = static_cast<int32_t>(std::strlen(a.Description));
        t.attribute[slot].Owner = a.Owner;
        t.attribute[slot].Syntax = a.Syntax;
        t.attribute[slot].Constraint = a.Constraint;
        t.attribute[slot].Access = a.Access;
        t.attribute[slot].KeyOrder = a.KeyOrder;
        t.attribute[slot].InUse = a.InUse;
        const MibRange &g = d->range[slot];
        korvel::storeText(t.range[slot].Minimum, QString::fromLatin1(g.Minimum), korvel::BoundWidth);
        korvel::storeText(t.range[slot].Maximum, QString::fromLatin1(g.Maximum), korvel::BoundWidth);
        t.range[slot].MinimumLength = static_cast<int32_t>(std::strlen(g.Minimum));
        t.range[slot].MaximumLength = static_cast<int32_t>(std::strlen(g.Maximum));
        t.range[slot].Owner = g.Owner;
        t.range[slot].InUse = g.InUse;
        const MibList &l = d->list[slot];
        korvel::storeText(t.list[slot].ItemName, QString::fromLatin1(l.ItemName), korvel::NameWidth);
        t.list[slot].ItemNameLength = static_cast<int32_t>(std::strlen(l.ItemName));
        t.list[slot].Owner = l.Owner;
        t.list[slot].ItemValue = l.ItemValue;
        t.list[slot].InUse = l.InUse;
    }
    korvel::rebuildCounters(t, app->ObjectLimit);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.mib"));
    // Without a QCoreApplication the bridge finds the library through the
    // system's search, which does not know the build folder.
    korvel::SharedMibLibrary library(QStringLiteral(KORVEL_LIBRARY));
    for (auto _ : state) {
        if (korvel::createMibFile(library, *app, path) != korvel::BridgeResult::Success)
            state.SkipWithError("the create bridge failed");
    }
}
BENCHMARK(CreateBridge)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
