#include "window/WorkSteps.h"

#include "operations/OutcomeWords.h"
#include "window/BusyCursor.h"
#include "window/FillResultGrid.h"
#include "window/FormControls.h"
#include "window/MessageBoxes.h"
#include "window/ResultGrid.h"
#include "window/WorkContext.h"

#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <memory>
#include <stdexcept>

QString WorkTexts::progressText(const QString& work, int seconds)
{
    return QStringLiteral("%1 중입니다. 잠시만 기다려 주세요... (%2초)").arg(work).arg(seconds);
}

bool countAllowsDelete(const QString& countText)
{
    bool isNumber = false;
    const qlonglong count = countText.trimmed().toLongLong(&isNumber);
    return isNumber && count > 0;
}

namespace {

// The work of runOffThread, while it runs: at most one at a time in the process.
struct RunningWork
{
    bool running = false;
    bool closeWaits = false;
    std::function<void()> retell; // brings the progress box's words up to date
};
RunningWork runningWork;

// The box stays up until the work is done: Escape, the title bar's close, Alt+F4 and the system
// menu all end in reject() or a close event, and neither may hand the window back half-way (the
// dialog's own close handler would also cancel and hide it).
class WorkProgressBox final : public QProgressDialog
{
public:
    using QProgressDialog::QProgressDialog;
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

QString progressLabel(const QString& workName, qint64 elapsedMs)
{
    QString text = WorkTexts::progressText(workName, int(elapsedMs / 1000));
    if (runningWork.closeWaits)
        text += u'\n' + WindowTexts::closeAfterWork;
    return text;
}

} // namespace

bool workRunning()
{
    return runningWork.running;
}

void closeAfterWork()
{
    runningWork.closeWaits = true;
    if (runningWork.retell)
        runningWork.retell();
}

void runOffThread(QWidget* window, const QString& workName, const std::function<void()>& work)
{
    if (runningWork.running)
        throw std::logic_error("runOffThread: work started while other work runs");
    runningWork = {true, false, nullptr};
    struct Done
    {
        ~Done() { runningWork = {}; }
    } done;

    BusyCursor busy;
    QElapsedTimer elapsed;
    elapsed.start();
    std::unique_ptr<QThread> thread(QThread::create(work));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();

    // Short work: the window repaints, clicks wait as they did while the server worked.
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (thread->isRunning()) {
        // Long work: a modal box blocks the window (clicks on it are dropped) and shows the time.
        WorkProgressBox box(progressLabel(workName, elapsed.elapsed()), QString(), 0, 0, window);
        box.setWindowTitle(workName);
        box.setWindowModality(Qt::ApplicationModal);
        box.setMinimumDuration(0);
        box.setCancelButton(nullptr);
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
        runningWork.retell = [&] { box.setLabelText(progressLabel(workName, elapsed.elapsed())); };
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &box, runningWork.retell);
        tick.start(250);
        box.show();
        if (thread->isRunning())
            loop.exec();
        runningWork.retell = nullptr;
    }
    thread->wait();
}

bool showSearch(WorkContext& context, ResultGrid& grid, QLineEdit& countBox,
                const SearchOutcome& found)
{
    if (found.succeeded) {
        FillResultGrid(grid, countBox, found.table, found.rows, grid.layout().columnMap(),
                       context.boxes);
        return found.rows > 0;
    }
    countBox.setText(QStringLiteral("0"));
    context.boxes.inform(OutcomeWords::searchFailure(found).boxText(), WorkTexts::searchFailedTitle,
                         MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
    return false;
}

void showDeleteOutcome(QLabel& line, const ChangeOutcome& outcome)
{
    QStringList parts;
    if (outcome.succeeded && outcome.rowsDeleted >= 0)
        parts << OutcomeWords::rowsDeleted(outcome.rowsDeleted);
    if (outcome.succeeded && !outcome.archiveFile.isEmpty())
        parts << OutcomeWords::archiveFile(QFileInfo(outcome.archiveFile).fileName());
    line.setText(parts.join(u'\n'));
    line.setToolTip(outcome.succeeded ? QDir::toNativeSeparators(outcome.archiveFile) : QString());
}

QLabel* makeOutcomeLine(QWidget* area)
{
    // Top right, above the grid: the one place every area has free; two lines of the given font.
    QLabel* line =
        makeLabel(area, "lbl_outcome", QString(), twipsRect(3840, 195, 4515, 510), labelFont());
    line->setWordWrap(false);
    line->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return line;
}

void reportChange(WorkContext& context, const ChangeOutcome& outcome, const QString& failureTitle)
{
    if (!outcome.succeeded)
        context.boxes.inform(OutcomeWords::changeFailure(outcome).boxText(), failureTitle,
                             MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
    if (!outcome.logged.written)
        context.boxes.inform(OutcomeWords::logFailure(outcome.logged).boxText(),
                             WorkTexts::logFailedTitle, MessageBoxes::Buttons::Ok,
                             MessageBoxes::Icon::Warning);
}
