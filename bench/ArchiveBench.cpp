// The deliveries delete with its archive against the same delete alone, and the restore of that
// archive, on a demo database whose unfinished deliveries number about a hundred thousand.

#include "BenchData.h"

#include "archive/ArchivedDelete.h"
#include "archive/RestoreArchive.h"
#include "db/Mod_DB.h"
#include "operations/DeliveriesFlow.h"
#include "operations/SqlTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>

namespace {

// About a quarter of the generated deliveries are unfinished: 400,000 give about 100,000.
constexpr int generatedDeliveries = 400000;

// A fresh copy of the benchmark database for one iteration, opened; the timer is paused here.
class Scratch
{
public:
    explicit Scratch(benchmark::State& state)
    {
        QString error;
        const QString source = BenchData::deliveriesDatabase(generatedDeliveries, &error);
        m_file = m_dir.filePath(QStringLiteral("pos.sqlite"));
        if (source.isEmpty() || !QFile::copy(source, m_file)) {
            state.SkipWithError(qPrintable(QStringLiteral("demo database: ") + error));
            return;
        }
        m_db = std::make_unique<Mod_DB>(DbTarget::sqlite(m_file));
        if (!m_db->DB_Connect())
            state.SkipWithError(qPrintable(m_db->DB_ErrText()));
    }
    Mod_DB& db() { return *m_db; }
    bool ok() const { return m_db && m_db->isConnected(); }
    ArchiveRequest request() const
    {
        return {m_dir.filePath(QStringLiteral("archive")),
                DeliveriesFlow::archiveArea,
                DeliveriesFlow::deleteTag,
                QStringLiteral("bench (127.0.0.1)"),
                SqlTexts::deliveryDeleteAll(Dialect::Sqlite),
                {},
                {},
                {}};
    }

private:
    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<Mod_DB> m_db;
};

// What an operation left: why it failed (empty when it did not), the rows it moved and the
// archive it wrote.
struct Done
{
    QString error;
    qint64 rows = 0;
    QString archive;
};

// Each iteration works on a fresh copy: prepare runs untimed (and may hand an archive on), then
// the operation runs timed.
void onScratch(benchmark::State& state, const std::function<Done(Scratch&)>& prepare,
               const std::function<Done(Scratch&, const Done& prepared)>& operation)
{
    double rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Scratch scratch(state);
        if (!scratch.ok())
            return;
        const Done prepared = prepare ? prepare(scratch) : Done{};
        if (!prepared.error.isEmpty())
            return state.SkipWithError(qPrintable(prepared.error));
        state.ResumeTiming();
        const Done done = operation(scratch, prepared);
        state.PauseTiming();
        if (!done.error.isEmpty()) {
            state.SkipWithError(qPrintable(done.error));
            break; // the timer stays as a skipped run leaves it
        }
        rows = double(done.rows);
        state.ResumeTiming();
    }
    if (rows > 0)
        state.counters["rows"] = rows;
}

Done archivedDeleteOf(Scratch& scratch)
{
    const ArchivedDeleteOutcome outcome =
        deleteWithArchive(scratch.db(), scratch.request(), Clock::system());
    return {outcome.succeeded ? QString() : outcome.error, outcome.rowsDeleted,
            outcome.archiveFile};
}

void BM_DeliveryDeleteAlone(benchmark::State& state)
{
    onScratch(state, {}, [](Scratch& scratch, const Done&) {
        const DbOutcome outcome = scratch.db().DB_Execute(scratch.request().deletion.statement());
        return Done{outcome.succeeded ? QString() : outcome.error, 0, {}};
    });
}

void BM_DeliveryArchivedDelete(benchmark::State& state)
{
    onScratch(state, {}, [](Scratch& scratch, const Done&) { return archivedDeleteOf(scratch); });
}

void BM_DeliveryRestore(benchmark::State& state)
{
    onScratch(state, archivedDeleteOf, [](Scratch& scratch, const Done& deleted) {
        const RestoreOutcome restored = restoreArchive(scratch.db(), {deleted.archive, true});
        return Done{restored.succeeded ? QString() : restored.error, restored.rowsRestored, {}};
    });
}

BENCHMARK(BM_DeliveryDeleteAlone)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DeliveryArchivedDelete)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DeliveryRestore)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
