#include "cli/CommandRunner.h"

#include "cli/CliTexts.h"
#include "cli/Listing.h"
#include "cli/StatusReport.h"
#include "operations/DeliveriesFlow.h"
#include "operations/GridLayouts.h"
#include "operations/OpenChecksFlow.h"
#include "operations/OptimiseFlow.h"
#include "operations/OutcomeWords.h"
#include "operations/PayCancelFlow.h"
#include "operations/RestoreFlow.h"
#include "operations/StatusFlow.h"

#include <QElapsedTimer>
#include <optional>

namespace CommandRunner {

namespace {

using Area = SweepOptions::Area;

const GridLayout& layoutOf(Area area)
{
    switch (area) {
    case Area::OpenChecks:
        return openTableGridLayout();
    case Area::PaymentCancel:
        return payCancelGridLayout();
    case Area::Deliveries:
    case Area::None:
        break;
    }
    return deliveryGridLayout();
}

class Command
{
public:
    Command(const SweepOptions& options, const FlowContext& context, ConsoleStream& out,
            ConsoleStream& err)
        : m_options(options), m_context(context), m_out(out), m_err(err)
    {
    }

    int run()
    {
        using C = SweepOptions::Command;
        if (m_options.command == C::Optimise && !m_options.yes) {
            m_err << CliTexts::optimiseNeedsYes << '\n';
            return WrongCommandLine;
        }
        if (!m_context.db.DB_Connect()) {
            if (m_options.command != C::Status)
                m_context.log.Write_Log(LogEntry::connectionFailure());
            m_err << OutcomeWords::unreachable.trimmed() << '\n'
                  << m_context.db.DB_ErrText() << '\n';
            return Unreachable;
        }
        switch (m_options.command) {
        case C::List:
            return list();
        case C::Delete:
            return remove();
        case C::Optimise:
            return optimise();
        case C::Restore:
            return restore();
        case C::Status:
            return status();
        case C::None:
            break;
        }
        return WrongCommandLine;
    }

private:
    // The grammar has checked the dates and put them in the statements' form.
    DeliveriesFlow::Range range() const
    {
        return m_options.from.isEmpty()
                   ? DeliveriesFlow::Range::all()
                   : DeliveriesFlow::Range{false, m_options.from, m_options.to};
    }

    std::optional<QString> check() const
    {
        return m_options.check.isEmpty() ? std::nullopt : std::optional<QString>(m_options.check);
    }

    SearchOutcome search()
    {
        switch (m_options.area) {
        case Area::OpenChecks:
            return OpenChecksFlow::search(m_context);
        case Area::PaymentCancel:
            return PayCancelFlow::search(m_context);
        case Area::Deliveries:
        case Area::None:
            break;
        }
        return DeliveriesFlow::search(m_context, range());
    }

    int list()
    {
        const SearchOutcome found = search();
        if (!found.succeeded)
            return fail(OutcomeWords::searchFailure(found), Failed);
        const Listing listing = Listing::of(layoutOf(m_options.area), found.table, found.rows);
        switch (m_options.format) {
        case SweepOptions::Format::Csv:
            m_out << listingCsv(listing);
            break;
        case SweepOptions::Format::Json:
            m_out << listingJson(listing);
            break;
        case SweepOptions::Format::Table:
            m_out << listingTable(listing) << found.rows << "건\n";
            break;
        }
        return Done;
    }

    CountOutcome count()
    {
        switch (m_options.area) {
        case Area::OpenChecks:
            return OpenChecksFlow::count(m_context, check());
        case Area::PaymentCancel:
            return PayCancelFlow::count(m_context);
        case Area::Deliveries:
        case Area::None:
            break;
        }
        return DeliveriesFlow::count(m_context, range());
    }

    ChangeOutcome deleteRows()
    {
        switch (m_options.area) {
        case Area::OpenChecks:
            return OpenChecksFlow::remove(m_context, check());
        case Area::PaymentCancel:
            return PayCancelFlow::remove(m_context);
        case Area::Deliveries:
        case Area::None:
            break;
        }
        return DeliveriesFlow::remove(m_context, range());
    }

    int remove()
    {
        // A mistyped or closed check is refused before anything is counted, kept or logged.
        if (const auto number = check()) {
            const SearchOutcome open = OpenChecksFlow::search(m_context);
            if (!open.succeeded)
                return fail(OutcomeWords::searchFailure(open), Failed);
            if (!OpenChecksFlow::lists(open, *number)) {
                m_err << CliTexts::notAnOpenCheck(*number) << '\n';
                return Failed;
            }
        }
        if (!m_options.yes) {
            const CountOutcome counted = count();
            if (!counted.succeeded) {
                SearchOutcome refused;
                refused.error = counted.error;
                return fail(OutcomeWords::searchFailure(refused), Failed);
            }
            for (const auto& [table, rows] : counted.rows)
                m_out << CliTexts::tableRows(table, rows) << '\n';
            m_out << CliTexts::wouldDelete(counted.total()) << '\n';
            return Done;
        }
        const ChangeOutcome outcome = deleteRows();
        const int code = report(outcome);
        if (code == Done) {
            m_out << stamp() << OutcomeWords::rowsDeleted(outcome.rowsDeleted) << '\n';
            if (!outcome.archiveFile.isEmpty())
                m_out << OutcomeWords::archiveFile(outcome.archiveFile) << '\n';
        }
        return code;
    }

    int optimise()
    {
        QElapsedTimer elapsed;
        elapsed.start();
        const ChangeOutcome outcome = OptimiseFlow::run(m_context);
        const int code = report(outcome);
        const QString seconds = QString::number(double(elapsed.elapsed()) / 1000.0, 'f', 1);
        if (code == Done)
            m_out << stamp() << CliTexts::optimised(seconds) << '\n';
        else
            m_err << stamp() << CliTexts::optimiseFailedAfter(seconds) << '\n';
        return code;
    }

    int restore()
    {
        const RestoreFlow::Outcome outcome =
            RestoreFlow::run(m_context, {m_options.restoreFile, m_options.otherDatabase});
        logWarning(outcome.logged);
        const RestoreOutcome& restored = outcome.restore;
        if (restored.succeeded) {
            for (const auto& [table, rows] : restored.rowsPerTable)
                m_out << CliTexts::tableRows(table, rows) << '\n';
            m_out << OutcomeWords::rowsRestored(restored.rowsRestored) << '\n';
            return Done;
        }
        const int code = fail(OutcomeWords::restoreFailure(restored),
                              restored.outcomeUnknown ? OutcomeUnknown : Failed);
        if (restored.otherDatabase)
            m_err << OutcomeWords::otherDatabaseOption << '\n';
        return code;
    }

    int status()
    {
        const StatusFlow::Status status = StatusFlow::read(m_context);
        if (!status.succeeded) {
            SearchOutcome refused;
            refused.error = status.error;
            return fail(OutcomeWords::searchFailure(refused), Failed);
        }
        m_out << (m_options.format == SweepOptions::Format::Json ? statusJson(status)
                                                                 : statusTable(status));
        return Done;
    }

    // A scheduled run's output is read later: the lines that say what a change came to carry
    // the time it ended.
    QString stamp() const
    {
        return m_context.log.clock().now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss "));
    }

    int fail(const OutcomeWords::Report& report, int code)
    {
        for (const QString& line : report.lines())
            m_err << line << '\n';
        return code;
    }

    void logWarning(const ActivityLog::Result& logged)
    {
        if (!logged.written)
            fail(OutcomeWords::logFailure(logged), Done);
    }

    int report(const ChangeOutcome& outcome)
    {
        logWarning(outcome.logged);
        if (outcome.succeeded)
            return Done;
        m_err << stamp();
        return fail(OutcomeWords::changeFailure(outcome),
                    outcome.outcomeUnknown ? OutcomeUnknown : Failed);
    }

    const SweepOptions& m_options;
    const FlowContext& m_context;
    ConsoleStream& m_out;
    ConsoleStream& m_err;
};

} // namespace

int run(const SweepOptions& options, const FlowContext& context, ConsoleStream& out,
        ConsoleStream& err)
{
    int code = Command(options, context, out, err).run();
    // Output that did not arrive must never read as success.
    if (!out.flush()) {
        err << CliTexts::outputFailed(out.error()) << '\n';
        if (code == Done)
            code = Failed;
    }
    err.flush();
    return code;
}

} // namespace CommandRunner
