#include "window/Frm_Sweep_1.h"

#include "core/ActivityLog.h"
#include "db/Mod_DB.h"
#include "operations/OutcomeWords.h"
#include "window/ArchiveArea.h"
#include "window/CleanArea.h"
#include "window/DeliveryArea.h"
#include "window/FormControls.h"
#include "window/MessageBoxes.h"
#include "window/OpenTableArea.h"
#include "window/PayCancelArea.h"
#include "window/WorkSteps.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

Frm_Sweep_1::Frm_Sweep_1(WorkContext context, QWidget* parent)
    : QWidget(parent), m_context(std::move(context))
{
    setObjectName(QStringLiteral("Frm_Sweep_1"));
    setWindowTitle(WindowTexts::title);
    setFixedSize(twipsToPixels(9210), twipsToPixels(6960));
    setFont(labelFont());

    const QFont areaButtonFont = formFont(FormFonts::humanMoeum, 9.75);
    const QString areaCaptions[areaCount] = {WindowTexts::openTables, WindowTexts::payCancel,
                                             WindowTexts::deliveries, WindowTexts::optimise,
                                             WindowTexts::archives};
    // The row ends where the four buttons before the archives' did; it starts one button earlier.
    for (int i = 0; i < areaCount; ++i) {
        const QByteArray name = "cmd_Btn_" + QByteArray::number(i);
        cmd_Btn[size_t(i)] = makeButton(this, name.constData(), areaCaptions[i],
                                        twipsRect(3330 + 1140 * i, 360, 1095, 615), areaButtonFont);
        connect(cmd_Btn[size_t(i)], &QPushButton::clicked, this, [this, i] { cmd_Btn_Click(i); });
    }

    buildNotice();

    // The work frames wait outside the client area until their button is clicked.
    Frame_Table = new OpenTableArea(m_context, this);
    Frame_PayCancel = new PayCancelArea(m_context, this);
    Frame_DTD = new DeliveryArea(m_context, this);
    Frame_Clean = new CleanArea(m_context, this);
    Frame_Archive = new ArchiveArea(m_context, this);
    CMD_UNLOAD = {Frame_Table->CMD_UNLOAD, Frame_PayCancel->CMD_UNLOAD, Frame_DTD->CMD_UNLOAD,
                  Frame_Clean->CMD_UNLOAD, Frame_Archive->CMD_UNLOAD};
    for (int i = 0; i < areaCount; ++i) {
        connect(CMD_UNLOAD[size_t(i)], &QPushButton::clicked, this,
                [this, i] { CMD_UNLOAD_Click(i); });
        // Hidden as well as outside: Tab reaches only what is on the screen.
        workFrame(i)->hide();
    }
}

void Frm_Sweep_1::buildNotice()
{
    Frame_Notice = new QGroupBox(QStringLiteral("유의사항"), this);
    Frame_Notice->setObjectName(QStringLiteral("Frame_Notice"));
    styleAsFrame(Frame_Notice);
    Frame_Notice->setFont(frameCaptionFont());
    Frame_Notice->setGeometry(twipsRect(480, 1110, 8505, 5685));

    // One line each, as wide as the frame allows.
    const QFont noticeFont = formFont(FormFonts::malgunGothic, 9, true);
    const auto notice = [&](const char* name, int left, int top, const QString& caption,
                            const QFont& font, const QColor& colour = QColor()) {
        return makeLabel(Frame_Notice, name, caption, twipsRect(left, top, 8505 - left - 150, 270),
                         font, colour);
    };
    Label2 = notice("Label2", 480, 1110,
                    QStringLiteral("※ 반드시 데이터 조회를 하고 확인 후 삭제를 하시기 바랍니다"),
                    noticeFont);
    Label3 =
        notice("Label3", 480, 1650,
               QStringLiteral("※ 반드시 제목 아래 옵션을 지정 후 수정을 진행해주세요"), noticeFont);
    Label9 = notice("Label9", 480, 2160,
                    QStringLiteral("※ 배달날짜 지정삭제 사용 시 반드시 마지막 날짜를 입력해주세요"),
                    noticeFont);
    Label16 = notice("Label16", 480, 2670,
                     QStringLiteral("※ 현황지정삭제는 삭제할 데이터를 클릭후 삭제 버튼을 눌러주면 "
                                    "해당 데이터만 삭제됩니다"),
                     noticeFont);
    Label24 = notice("Label24", 720, 2940, QStringLiteral("(VELO 지정취소와 비슷한 형태)"),
                     formFont(FormFonts::humanMoeum, 8.25));
    Label35 = notice("Label35", 480, 3240,
                     QStringLiteral("※ 배달삭제는 배달결제가 완벽히 이루어지지않는 건수만을 "
                                    "조회,삭제하는 기능입니다"),
                     noticeFont);
    Label32 = notice("Label32", 480, 3690,
                     QStringLiteral("※ 반드시 DB 삭제 전 백업을 하시고 삭제를 하시기 바랍니다"),
                     noticeFont, FormColours::red);
    Label17 = notice("Label17", 480, 4170, QStringLiteral("※ 문의사항은 연구소에 연락바랍니다"),
                     noticeFont);
}

bool Frm_Sweep_1::Form_Load()
{
    if (m_context.db.DB_Connect())
        return true;
    m_context.boxes.inform(OutcomeWords::unreachable, WindowTexts::connectFailedTitle,
                           MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
    const ActivityLog::Result logged = m_context.log.Write_Log(LogEntry::connectionFailure());
    if (!logged.written)
        qWarning("sweep: the connection failure could not be logged in %s: %s",
                 qPrintable(logged.filePath), qPrintable(logged.error));
    return false;
}

QGroupBox* Frm_Sweep_1::workFrame(int index) const
{
    switch (index) {
    case 0:
        return Frame_Table;
    case 1:
        return Frame_PayCancel;
    case 2:
        return Frame_DTD;
    case 3:
        return Frame_Clean;
    case 4:
        return Frame_Archive;
    default:
        return nullptr;
    }
}

void Frm_Sweep_1::cmd_Btn_Click(int index)
{
    QGroupBox* chosen = workFrame(index);
    if (!chosen || workRunning())
        return;
    chosen->setVisible(true);
    for (int i = 0; i < areaCount; ++i)
        if (i != index)
            workFrame(i)->setVisible(false);
    Frame_Notice->setVisible(false);
    chosen->setGeometry(twipsRect(570, 1260, 8505, 5575));

    if (index == 2)
        Frame_DTD->showAllDatesLayout();
    if (index == 3)
        Frame_Clean->Lbl_status->clear();
    if (index == 4)
        Frame_Archive->cmd_ArcSerch_Click();
}

void Frm_Sweep_1::closeEvent(QCloseEvent* event)
{
    if (!workRunning()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    closeAfterWork();
    closeWhenIdle();
}

void Frm_Sweep_1::closeWhenIdle()
{
    // The handler shows the outcome in boxes of its own once the work is done; the window goes
    // when neither work nor a box is left.
    if (workRunning() || QApplication::activeModalWidget())
        QTimer::singleShot(100, this, &Frm_Sweep_1::closeWhenIdle);
    else
        close();
}

void Frm_Sweep_1::CMD_UNLOAD_Click(int)
{
    // Nothing to ask and nothing to close first: the connection goes with the process.
    close();
}
