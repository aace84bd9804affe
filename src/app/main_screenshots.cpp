// Renders the maintenance window on a fresh demo database in each of its states into PNG files,
// so the window can be looked at without a display: sweep-screenshots [DIR] (default screenshots).

#include "core/ActivityLog.h"
#include "db/Mod_DB.h"
#include "demo/DemoDatabase.h"
#include "operations/OutcomeWords.h"
#include "window/ArchiveArea.h"
#include "window/CleanArea.h"
#include "window/DeliveryArea.h"
#include "window/FillResultGrid.h"
#include "window/FormControls.h"
#include "window/Frm_Sweep_1.h"
#include "window/OpenTableArea.h"
#include "window/PayCancelArea.h"
#include "window/QtMessageBoxes.h"
#include "window/WorkSteps.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Answers No to every question but those it is told to answer Yes, and notes what was shown.
class NoBoxes final : public MessageBoxes
{
public:
    void answerYes(int questions) { m_yes = questions; }
    bool askYesNo(const QString& text, const QString&) override
    {
        const bool yes = m_yes > 0;
        m_yes -= yes ? 1 : 0;
        std::fprintf(stderr, "question answered %s: %s\n", yes ? "Yes" : "No", qPrintable(text));
        return yes;
    }
    void inform(const QString& text, const QString& title, Buttons, Icon) override
    {
        std::fprintf(stderr, "message [%s]: %s\n", qPrintable(title), qPrintable(text));
    }

private:
    int m_yes = 0;
};

class Shooter
{
public:
    explicit Shooter(QDir dir) : m_dir(std::move(dir)) {}

    bool save(QWidget& widget, const QString& name)
    {
        QApplication::processEvents();
        const QString file = m_dir.filePath(name + QStringLiteral(".png"));
        if (!widget.grab().save(file)) {
            std::fprintf(stderr, "sweep-screenshots: cannot write %s\n", qPrintable(file));
            return m_ok = false;
        }
        std::printf("%s\n", qPrintable(file));
        return true;
    }
    bool ok() const { return m_ok; }

private:
    QDir m_dir;
    bool m_ok = true;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerKoreanFontFallbacks();

    const QStringList arguments = QCoreApplication::arguments();
    const QString folder = arguments.size() > 1 ? arguments[1] : QStringLiteral("screenshots");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "sweep-screenshots: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    QTemporaryDir work;
    const QString database = work.filePath(QStringLiteral("demo-pos.sqlite"));
    QString error;
    if (!work.isValid() || !createDemoDatabase(database, {}, &error)) {
        std::fprintf(stderr, "sweep-screenshots: no demo database: %s\n", qPrintable(error));
        return 1;
    }

    Mod_DB db(DbTarget::sqlite(database));
    ActivityLog log(work.filePath(QStringLiteral("DB_Log")));
    NoBoxes boxes;
    Frm_Sweep_1 window(WorkContext{db, log, boxes, [] { return QStringLiteral("192.168.0.10"); }});
    if (!window.Form_Load()) {
        std::fprintf(stderr, "sweep-screenshots: %s\n", qPrintable(db.DB_ErrText()));
        return 1;
    }
    window.show();
    Shooter shot{QDir(folder)};

    shot.save(window, QStringLiteral("01-notice"));
    window.cmd_Btn[0]->click();
    shot.save(window, QStringLiteral("02-open-tables"));
    window.Frame_Table->cmd_TBSerch->click();
    shot.save(window, QStringLiteral("03-open-tables-listed"));
    boxes.answerYes(1);
    window.Frame_Table->cmd_delete->click();
    shot.save(window, QStringLiteral("03a-open-tables-deleted"));

    window.cmd_Btn[1]->click();
    shot.save(window, QStringLiteral("04-payment-cancel"));
    window.Frame_PayCancel->cmd_PaySerch->click();
    shot.save(window, QStringLiteral("05-payment-cancel-listed"));

    DeliveryArea& dtd = *window.Frame_DTD;
    window.cmd_Btn[2]->click();
    shot.save(window, QStringLiteral("06-deliveries"));
    dtd.cmd_DTD_Serch->click();
    shot.save(window, QStringLiteral("07-deliveries-listed"));
    dtd.OPT1[0]->click();
    TextTable range;
    qint32 rows = 0, columns = 0;
    db.DB_Query(QStringLiteral("SELECT MIN(DTD_EDATE), MAX(DTD_EDATE) FROM DTD"), range, rows,
                columns);
    dtd.TXT_Date->setText(rows > 0 ? range.cell(1, 0) : QStringLiteral("2017-02-15"));
    dtd.Txt_Date2->setText(rows > 0 ? range.cell(1, 1) : QStringLiteral("2017-02-17"));
    shot.save(window, QStringLiteral("08-deliveries-date-range"));
    dtd.cmd_DTD_Serch->click();
    shot.save(window, QStringLiteral("09-deliveries-date-range-listed"));
    boxes.answerYes(1);
    dtd.CMD_DTD_DELETE->click();
    shot.save(window, QStringLiteral("09a-deliveries-deleted"));

    window.cmd_Btn[3]->click();
    shot.save(window, QStringLiteral("10-optimisation"));

    // The archives the two deletes kept: listed, one chosen, then restored.
    ArchiveArea& archives = *window.Frame_Archive;
    window.cmd_Btn[4]->click();
    shot.save(window, QStringLiteral("10a-archives"));
    archives.chooseFile(1);
    shot.save(window, QStringLiteral("10b-archive-chosen"));
    boxes.answerYes(1);
    archives.cmd_Restore->click();
    shot.save(window, QStringLiteral("10c-archive-restored"));

    // The boxes as the program shows them.
    const auto connectBox =
        QtMessageBoxes::messageBox(OutcomeWords::unreachable, WindowTexts::connectFailedTitle,
                                   MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
    const auto noDataBox = QtMessageBoxes::messageBox(
        noDataText, noDataTitle, MessageBoxes::Buttons::OkCancel, MessageBoxes::Icon::None);
    const auto question = QtMessageBoxes::questionBox(WorkTexts::confirmDelete, QString());
    for (QMessageBox* box : {connectBox.get(), noDataBox.get(), question.get()})
        box->show();
    shot.save(*connectBox, QStringLiteral("11-box-connection-failed"));
    shot.save(*noDataBox, QStringLiteral("12-box-no-data"));
    shot.save(*question, QStringLiteral("13-box-delete-question"));
    return shot.ok() ? 0 : 1;
}
