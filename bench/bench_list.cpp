// The List window's refresh on a level of 999 objects, and the program's
// start-up to its first shown window (in this process, and as a process of
// its own up to the moment it holds its lock). Runs headless.
#include "listwindow.h"
#include "program.h"
#include "benchsupport.h"
#include "tableops.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <memory>

using namespace korvel;
using namespace korvel::bench;

namespace {

void closeAll()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A level holding 999 objects, shown in a List window.
std::unique_ptr<AppState> levelOf999()
{
    auto state = std::make_unique<AppState>();
    addRecord(*state, 0, QStringLiteral("level"), 1, RootSlot);
    for (int slot = 1; slot < StoredSlotCount; ++slot)
        addRecord(*state, slot, QStringLiteral("object%1").arg(slot), 1 + slot % 255, 0);
    state->ListLevel = 0;
    return state;
}

void listRefresh(benchmark::State &bench, bool paint)
{
    auto state = levelOf999();
    SilentServices services;
    ListWindow list(*state, services);
    list.show();
    waitUntilExposed(&list);
    for (auto _ : bench) {
        list.refresh();
        if (paint)
            list.repaint();
    }
    const auto *grid = list.findChild<QTableWidget *>(QStringLiteral("MSFlexGrid1"));
    bench.counters["rows"] = grid->rowCount();
    list.close();
}

void BM_ListRefresh999(benchmark::State &bench)
{
    listRefresh(bench, false);
}
BENCHMARK(BM_ListRefresh999)->Unit(benchmark::kMillisecond);

void BM_ListRefresh999AndPaint(benchmark::State &bench)
{
    listRefresh(bench, true);
}
BENCHMARK(BM_ListRefresh999AndPaint)->Unit(benchmark::kMillisecond);

// From the start values and the lock to the List window on screen.
void BM_StartupToFirstWindow(benchmark::State &bench)
{
    QTemporaryDir folder;
    const QString lock = folder.filePath(QStringLiteral("korvel.lock"));
    for (auto _ : bench) {
        auto state = std::make_unique<AppState>();
        SilentServices services;
        registerProgramWindows(services, *state);
        Program program(*state, services);
        if (!program.start(lock)) {
            bench.SkipWithError("the lock was taken");
            break;
        }
        waitUntilExposed(program.firstWindow());
        bench.PauseTiming();
        closeAll();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstWindow)->Unit(benchmark::kMillisecond);

// The real program as a process of its own, from exec to holding its lock:
// everything before the window is built (libraries, QApplication, the
// platform plugin). The window then takes what BM_StartupToFirstWindow
// measures.
void BM_ProcessStartToLock(benchmark::State &bench)
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../korvel");
    if (!QFile::exists(program)) {
        bench.SkipWithError("korvel is not built");
        return;
    }
    for (auto _ : bench) {
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString lock = runtime.filePath(QStringLiteral("korvel.lock"));
        QProcess korvel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        korvel.setProcessEnvironment(environment);
        korvel.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        korvel.start(program, {});
        korvel.waitForStarted();
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(lock) && waited.elapsed() < 10000)
            QThread::usleep(200);
        bench.PauseTiming();
        korvel.kill();
        korvel.waitForFinished();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_ProcessStartToLock)->Unit(benchmark::kMillisecond)->Iterations(10);

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
