// The unfinished-deliveries search of the maintenance window against the bare SQLite fetch of the
// same rows, at 10,000, 100,000 and 1,000,000 deliveries, and the peak memory of its listing.

#include "BenchData.h"
#include "ChildProcess.h"
#include "DeliveryListing.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

QString databaseOrSkip(benchmark::State& state, int deliveries)
{
    QString error;
    const QString file = BenchData::deliveriesDatabase(deliveries, &error);
    if (file.isEmpty())
        state.SkipWithError(qPrintable(QStringLiteral("demo database: ") + error));
    return file;
}

// Baseline: the same statement through the C API, every cell copied into a std::string.
void BM_BareSqliteFetch(benchmark::State& state)
{
    const QString file = databaseOrSkip(state, int(state.range(0)));
    if (file.isEmpty())
        return;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    const QByteArray sql = DeliveryListing::searchSql().toUtf8();
    qint64 rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(db));
            break;
        }
        const int columns = sqlite3_column_count(stmt);
        std::vector<std::string> cells;
        for (int c = 0; c < columns; ++c)
            cells.emplace_back(sqlite3_column_name(stmt, c));
        rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                cells.emplace_back(text ? text : "", size_t(sqlite3_column_bytes(stmt, c)));
            }
            ++rows;
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(cells.data());
    }
    sqlite3_close(db);
    state.counters["rows"] = double(rows);
}

// DB_Query + FillResultGrid until the grid has painted the result.
void BM_DeliverySearch(benchmark::State& state)
{
    const QString file = databaseOrSkip(state, int(state.range(0)));
    if (file.isEmpty())
        return;
    DeliveryListing listing(file);
    if (!listing.isConnected()) {
        state.SkipWithError(qPrintable(listing.error()));
        return;
    }
    listing.show();
    int rows = 0;
    for (auto _ : state) {
        rows = listing.search();
        if (rows <= 0) {
            state.SkipWithError(qPrintable(QStringLiteral("search: ") + listing.error()));
            break;
        }
        // Each search starts from the empty grid, as after the program's start.
        state.PauseTiming();
        listing.clear();
        state.ResumeTiming();
    }
    state.counters["rows"] = double(rows);
}

// Reads "name=value" from a child's output line; -1 when missing.
double outputField(const QByteArray& output, const QByteArray& name)
{
    for (const QByteArray& field : output.trimmed().split(' ')) {
        if (field.startsWith(name + '='))
            return field.mid(name.size() + 1).toDouble();
    }
    return -1;
}

// Peak resident memory of a process that lists the search result, against the same process
// without the search and against the size of the texts the search returned.
void BM_ListingPeakMemory(benchmark::State& state)
{
    const QString file = databaseOrSkip(state, int(state.range(0)));
    if (file.isEmpty())
        return;
    auto run = [&](const QString& mode) {
        ChildRun child = runChild(QStringLiteral(LISTING_MEMORY_PROGRAM), {file, mode});
        if (!child.ok)
            state.SkipWithError(qPrintable(child.error));
        return child;
    };
    double empty = 0;
    double listing = 0;
    double table = 0;
    for (auto _ : state) {
        const ChildRun emptyRun = run(QStringLiteral("empty"));
        if (!emptyRun.ok)
            return;
        const ChildRun listingRun = run(QStringLiteral("listing"));
        if (!listingRun.ok)
            return;
        state.SetIterationTime(emptyRun.wallSeconds + listingRun.wallSeconds);
        empty = outputField(emptyRun.output, "peak_bytes");
        listing = outputField(listingRun.output, "peak_bytes");
        table = outputField(listingRun.output, "table_bytes");
        if (empty <= 0 || listing <= 0 || table <= 0) {
            state.SkipWithError(qPrintable(QStringLiteral("unreadable figures: ") +
                                           QString::fromLocal8Bit(emptyRun.output) +
                                           QString::fromLocal8Bit(listingRun.output)));
            return;
        }
    }
    state.counters["empty_window_bytes"] = empty;
    state.counters["listing_bytes"] = listing;
    state.counters["table_bytes"] = table;
    state.counters["listing_over_table"] = (listing - empty) / table;
}

constexpr int tenThousand = 10000;
constexpr int hundredThousand = 100000;
constexpr int million = 1000000;

// Process CPU time: the machine is shared, and waiting for a core is not the search's cost.
void listingSizes(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
}

BENCHMARK(BM_BareSqliteFetch)->Apply(listingSizes)->Arg(tenThousand)->Arg(hundredThousand);
BENCHMARK(BM_DeliverySearch)->Apply(listingSizes)->Arg(tenThousand)->Arg(hundredThousand);
// A million deliveries take seconds per search: a few single runs.
BENCHMARK(BM_BareSqliteFetch)->Apply(listingSizes)->Arg(million)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_DeliverySearch)->Apply(listingSizes)->Arg(million)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_ListingPeakMemory)
    ->Arg(hundredThousand)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
