// Time to write and to read a full design file: 1000 records in every table.
#include "designfile.h"
#include "tableops.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace korvel;

namespace {

std::unique_ptr<AppState> fullDesign()
{
    auto state = std::make_unique<AppState>();
    DefinitionTables &t = state->tables;
    for (int slot = 0; slot < StoredSlotCount; ++slot) {
        const QString name = QStringLiteral("object%1").arg(slot);
        storeText(t.tree[slot].Name, name, NameWidth);
        t.tree[slot].NameLength = int32_t(name.size());
        t.tree[slot].ObjectId = slot % 255 + 1;
        t.tree[slot].Parent = slot < 10 ? -1 : slot / 10;
        t.tree[slot].Kind = ObjectKind::Leaf;
        t.tree[slot].InUse = 1;
        const QString text = QStringLiteral("説明 %1: a description of a realistic length for a leaf").arg(slot);
        MibAttribute &a = t.attribute[slot];
        a.Owner = slot;
        a.Syntax = 2;
        a.Constraint = Constraint::Range;
        a.Access = Access::ReadWrite;
        storeText(a.Description, text, NameWidth);
        a.DescriptionLength = int32_t(text.size());
        a.InUse = 1;
        MibRange &r = t.range[slot];
        r.Owner = slot;
        storeText(r.Minimum, QStringLiteral("0"), BoundWidth);
        r.MinimumLength = 1;
        storeText(r.Maximum, QStringLiteral("4294967295"), BoundWidth);
        r.MaximumLength = 10;
        r.InUse = 1;
        MibList &l = t.list[slot];
        l.Owner = slot;
        storeText(l.ItemName, QStringLiteral("item%1").arg(slot), NameWidth);
        l.ItemNameLength = int32_t(QStringLiteral("item%1").arg(slot).size());
        l.ItemValue = slot;
        l.InUse = 1;
    }
    rebuildCounters(t, state->ObjectLimit);
    return state;
}

void BM_WriteDesignFile(benchmark::State &bench)
{
    const auto state = fullDesign();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.mdf"));
    for (auto _ : bench) {
        if (!writeDesignFile(*state, path))
            bench.SkipWithError("write failed");
    }
}
BENCHMARK(BM_WriteDesignFile)->Unit(benchmark::kMillisecond);

void BM_ReadDesignFile(benchmark::State &bench)
{
    const auto source = fullDesign();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.mdf"));
    writeDesignFile(*source, path);
    auto state = std::make_unique<AppState>();
    for (auto _ : bench) {
        if (!readDesignFile(*state, path))
            bench.SkipWithError("read failed");
    }
}
BENCHMARK(BM_ReadDesignFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
