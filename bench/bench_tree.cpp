// The Tree window's buildTree on a full design: 1000 objects five levels
// deep (nodes, nodes, tables, entries, columns), their slots shuffled so
// that parents often come after their children. Runs headless.
#include "benchsupport.h"
#include "tableops.h"
#include "treewindow.h"
#include "treeplan.h"

#include <QApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

using namespace korvel;
using namespace korvel::bench;

namespace {

// 10 nodes, 9 nodes under each, a table with its entry under each of those
// 90, and 8 columns under each entry: 10 + 90 + 180 + 720 = 1000 objects.
std::unique_ptr<AppState> fullDesign()
{
    auto state = std::make_unique<AppState>();
    std::vector<int> order(StoredSlotCount);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(1000));
    int next = 0;
    const auto take = [&] { return order[next++]; };
    for (int top = 0; top < 10; ++top) {
        const int node = take();
        addRecord(*state, node, QStringLiteral("node%1").arg(top), top + 1, RootSlot, ObjectKind::Node);
        for (int sub = 0; sub < 9; ++sub) {
            const int branch = take();
            const QString base = QStringLiteral("n%1x%2").arg(top).arg(sub);
            addRecord(*state, branch, base, sub + 1, node, ObjectKind::Node);
            const int table = take();
            addRecord(*state, table, base + QStringLiteral("Table"), 1, branch, ObjectKind::Table);
            const int entry = take();
            addRecord(*state, entry, base + QStringLiteral("Entry"), 1, table, ObjectKind::Entry);
            for (int column = 0; column < 8; ++column)
                addRecord(*state, take(), base + QStringLiteral("c%1").arg(column), column + 1, entry,
                          ObjectKind::Leaf);
        }
    }
    return state;
}

void BM_PlanTree1000(benchmark::State &bench)
{
    const auto state = fullDesign();
    qsizetype items = 0;
    for (auto _ : bench) {
        const QList<PlannedItem> plan = planTree(*state);
        items = plan.size();
        benchmark::DoNotOptimize(plan.constData());
    }
    bench.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_PlanTree1000)->Unit(benchmark::kMillisecond);

void BM_BuildTree1000(benchmark::State &bench)
{
    const auto state = fullDesign();
    SilentServices services;
    TreeWindow tree(*state, services);
    tree.show();
    waitUntilExposed(&tree);
    for (auto _ : bench)
        tree.buildTree();
    const auto *view = tree.findChild<QTreeWidget *>(QStringLiteral("TreeView1"));
    bench.counters["top"] = view->topLevelItem(0)->childCount();
    tree.close();
}
BENCHMARK(BM_BuildTree1000)->Unit(benchmark::kMillisecond);

void BM_BuildTree1000AndPaint(benchmark::State &bench)
{
    const auto state = fullDesign();
    SilentServices services;
    TreeWindow tree(*state, services);
    tree.show();
    waitUntilExposed(&tree);
    auto *view = tree.findChild<QTreeWidget *>(QStringLiteral("TreeView1"));
    for (auto _ : bench) {
        tree.buildTree();
        // Everything expanded, as a user looking through the whole design.
        view->expandAll();
        tree.repaint();
    }
    tree.close();
}
BENCHMARK(BM_BuildTree1000AndPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
