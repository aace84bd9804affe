// Whole-process start of `sweep --demo FILE` until its window has painted, against a bare Qt
// program that shows an empty window and ends after its first paint.

#include "BenchData.h"
#include "ChildProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <benchmark/benchmark.h>

namespace {

// The time set is the child's CPU time (user and system): on a shared machine the wall time mostly
// measures the other work. The wall time is kept as a counter.
void runEach(benchmark::State& state, const QString& program, const QStringList& arguments)
{
    // The activity log and any settings land in the run's folder, not the user's.
    const EnvironmentChanges changes{{"SWEEP_QUIT_AFTER_FIRST_PAINT", "1"},
                                     {"HOME", BenchData::folder().toLocal8Bit()}};
    double wall = 0;
    for (auto _ : state) {
        const ChildRun run = runChild(program, arguments, changes, 60);
        if (!run.ok) {
            state.SkipWithError(qPrintable(run.error));
            return;
        }
        state.SetIterationTime(run.cpuSeconds);
        wall += run.wallSeconds;
    }
    state.counters["wall_seconds"] = benchmark::Counter(wall, benchmark::Counter::kAvgIterations);
}

void BM_EmptyWindowStart(benchmark::State& state)
{
    runEach(state, QStringLiteral(EMPTY_WINDOW_PROGRAM), {});
}

void BM_CaptionWindowStart(benchmark::State& state)
{
    runEach(state, QStringLiteral(CAPTION_WINDOW_PROGRAM), {});
}

void BM_SweepDemoStart(benchmark::State& state)
{
#ifdef SWEEP_PROGRAM
    QString error;
    // The demo database exists before the first start, as it does after the program's first run.
    const QString file = BenchData::deliveriesDatabase(0, &error);
    if (file.isEmpty()) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    runEach(state, QStringLiteral(SWEEP_PROGRAM), {QStringLiteral("--demo"), file});
#else
    state.SkipWithError("the sweep program is not part of this build");
#endif
}

void startups(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10)->Repetitions(3);
}

BENCHMARK(BM_EmptyWindowStart)->Apply(startups);
BENCHMARK(BM_CaptionWindowStart)->Apply(startups);
BENCHMARK(BM_SweepDemoStart)->Apply(startups);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QCoreApplication app(argc, argv);
    QDir().mkpath(BenchData::folder());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
