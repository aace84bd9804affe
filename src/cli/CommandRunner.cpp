#include "cli/CommandRunner.h"

#include "cli/Listing.h"
#include "operations/DeliveriesFlow.h"
#include "operations/GridLayouts.h"
#include "operations/OpenChecksFlow.h"
#include "operations/OptimiseFlow.h"
#include "operations/OutcomeWords.h"
#include "operations/PayCancelFlow.h"
#include "operations/RestoreFlow.h"

#include <QDate>
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

bool isDate(const QString& text)
{
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd")).isValid();
}

class Command
{
public:
    Command(const SweepOptions& options, const FlowContext& context, QTextStream& out,
            QTextStream& err)
        : m_options(options), m_context(context), m_out(out), m_err(err)
    {
    }

    int run()
    {
        if (!m_context.db.DB_Connect()) {
            m_context.log.Write_Log(LogEntry::connectionFailure());
            m_err << OutcomeWords::unreachable.trimmed() << '\n'
                  << m_context.db.DB_ErrText() << '\n';
            return Unreachable;
        }
        switch (m_options.command) {
        case SweepOptions::Command::List:
            return list();
        case SweepOptions::Command::Delete:
            return remove();
        case SweepOptions::Command::Optimise:
            return optimise();
        case SweepOptions::Command::Restore:
            return restore();
        case SweepOptions::Command::None:
            break;
        }
        return WrongCommandLine;
    }

private:
    // The deliveries' dates as the window normalises them; a text that is no date is refused.
    std::optional<DeliveriesFlow::Range> range()
    {
        if (m_options.from.isEmpty())
            return DeliveriesFlow::Range::all();
        const auto range = DeliveriesFlow::Range::between(m_options.from, m_options.to);
        for (const auto& [typed, read] :
             {std::pair{m_options.from, range.from}, std::pair{m_options.to, range.to}}) {
            if (!isDate(read)) {
                m_err << "날짜로 읽을 수 없습니다: " << typed
                      << " (예: 2026-12-06, 2026/12/06, 20261206)\n";
                return std::nullopt;
            }
        }
        return range;
    }

    SearchOutcome search(const DeliveriesFlow::Range& deliveries)
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
        return DeliveriesFlow::search(m_context, deliveries);
    }

    int list()
    {
        const auto deliveries = range();
        if (!deliveries)
            return WrongCommandLine;
        const SearchOutcome found = search(*deliveries);
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

    int remove()
    {
        const auto deliveries = range();
        if (!deliveries)
            return WrongCommandLine;
        if (!m_options.yes) {
            const SearchOutcome found = search(*deliveries);
            if (!found.succeeded)
                return fail(OutcomeWords::searchFailure(found), Failed);
            m_out << "삭제할 데이터: " << countToDelete(found)
                  << "건. 삭제하려면 --yes 를 붙여 다시 실행해 주세요.\n";
            return Done;
        }
        ChangeOutcome outcome;
        switch (m_options.area) {
        case Area::OpenChecks:
            outcome = OpenChecksFlow::remove(
                m_context,
                m_options.check.isEmpty() ? std::nullopt : std::optional<QString>(m_options.check));
            break;
        case Area::PaymentCancel:
            outcome = PayCancelFlow::remove(m_context);
            break;
        case Area::Deliveries:
        case Area::None:
            outcome = DeliveriesFlow::remove(m_context, *deliveries);
            break;
        }
        const int code = report(outcome);
        if (code == Done) {
            m_out << OutcomeWords::rowsDeleted(outcome.rowsDeleted) << '\n';
            if (!outcome.archiveFile.isEmpty())
                m_out << OutcomeWords::archiveFile(outcome.archiveFile) << '\n';
        }
        return code;
    }

    // The open checks' listing shows every open check; one chosen check counts only its rows.
    qint64 countToDelete(const SearchOutcome& found) const
    {
        if (m_options.area != Area::OpenChecks || m_options.check.isEmpty())
            return found.rows;
        qint64 count = 0;
        for (qint32 row = 1; row <= found.rows; ++row)
            count += found.table.cellView(row, 1).trimmed() == m_options.check;
        return count;
    }

    int optimise()
    {
        if (!m_options.yes) {
            m_out << "모든 인덱스를 다시 만듭니다. 진행하려면 --yes 를 붙여 다시 실행해 "
                     "주세요.\n";
            return Done;
        }
        QElapsedTimer elapsed;
        elapsed.start();
        const ChangeOutcome outcome = OptimiseFlow::run(m_context);
        const int code = report(outcome);
        const QString seconds = QString::number(double(elapsed.elapsed()) / 1000.0, 'f', 1);
        if (code == Done)
            m_out << "최적화 완료 (" << seconds << "초)\n";
        else
            m_err << "최적화 실패 (" << seconds << "초)\n";
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
                m_out << table << ": " << rows << "건\n";
            m_out << OutcomeWords::rowsRestored(restored.rowsRestored) << '\n';
            return Done;
        }
        const int code = fail(OutcomeWords::restoreFailure(restored),
                              restored.outcomeUnknown ? OutcomeUnknown : Failed);
        if (restored.otherDatabase)
            m_err << OutcomeWords::otherDatabaseOption << '\n';
        return code;
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
        return fail(OutcomeWords::changeFailure(outcome),
                    outcome.outcomeUnknown ? OutcomeUnknown : Failed);
    }

    const SweepOptions& m_options;
    const FlowContext& m_context;
    QTextStream& m_out;
    QTextStream& m_err;
};

} // namespace

int run(const SweepOptions& options, const FlowContext& context, QTextStream& out, QTextStream& err)
{
    return Command(options, context, out, err).run();
}

} // namespace CommandRunner
