#include "window/WorkSteps.h"

#include "operations/OutcomeWords.h"
#include "window/BusyCursor.h"
#include "window/FillResultGrid.h"
#include "window/MessageBoxes.h"
#include "window/ResultGrid.h"
#include "window/WorkContext.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <memory>

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

// Escape or a close would hide the progress box and hand the window back while the work runs.
class HoldOpen final : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::Close ||
               (event->type() == QEvent::KeyPress &&
                static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape);
    }
};

} // namespace

void runOffThread(QWidget* window, const QString& workName, const std::function<void()>& work)
{
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
        QProgressDialog box(WorkTexts::progressText(workName, 0), QString(), 0, 0, window);
        box.setWindowTitle(workName);
        box.setWindowModality(Qt::ApplicationModal);
        box.setMinimumDuration(0);
        box.setCancelButton(nullptr);
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
        HoldOpen holdOpen;
        box.installEventFilter(&holdOpen);
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &box, [&] {
            box.setLabelText(WorkTexts::progressText(workName, int(elapsed.elapsed() / 1000)));
        });
        tick.start(250);
        box.show();
        if (thread->isRunning())
            loop.exec();
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
