#include "window/CleanArea.h"

#include "operations/OptimiseFlow.h"
#include "window/FormControls.h"
#include "window/MessageBoxes.h"
#include "window/WorkSteps.h"

#include <QLabel>
#include <QPushButton>

CleanArea::CleanArea(WorkContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("DB최적화"), parent), m_context(context)
{
    setObjectName(QStringLiteral("Frame_Clean"));
    styleAsFrame(this);
    setFont(frameCaptionFont());
    setGeometry(twipsRect(18540, 1290, 8535, 5595));

    Label1 = makeLabel(
        this, "Label1",
        QStringLiteral("1. 최적화를 진행 전에 반드시 BACKUP을 받아두시고 진행해 주시기 바랍니다."),
        twipsRect(1020, 630, 6645, 435), instructionFont(), FormColours::red);
    Label33 =
        makeLabel(this, "Label33",
                  QStringLiteral("2. 최적화 진행 시 DB의 용량에 따라 시간이 소요될 수 있습니다. "),
                  twipsRect(1020, 1080, 6645, 435), instructionFont(), FormColours::darkRed);
    Label34 = makeLabel(this, "Label34",
                        QStringLiteral("3. 최적화 진행 해서 DB의 용량이 줄어들거나 하진않습니다."),
                        twipsRect(990, 1560, 6645, 435), instructionFont(), QColor(128, 0, 0));
    Label36 = makeLabel(this, "Label36",
                        QStringLiteral("4. 최적화가 끝나면 종료버튼으로 프로그램을 종료해 주세요."),
                        twipsRect(990, 2040, 6645, 435), instructionFont(), QColor(64, 0, 0));
    Label37 =
        makeLabel(this, "Label37", QStringLiteral("※ 위에 사항을 반드시 확인 후 진행해주세요."),
                  twipsRect(930, 2640, 4725, 345), formFont(FormFonts::malgunGothic, 11.25, true));

    cmd_Clean = makeButton(this, "cmd_Clean", WindowTexts::optimise,
                           twipsRect(1140, 3840, 1245, 585), frameButtonFont());
    Label39 = makeLabel(this, "Label39", WindowTexts::arrow, twipsRect(4020, 3930, 735, 315),
                        arrowFont());
    CMD_UNLOAD = makeButton(this, "CMD_UNLOAD_3", WindowTexts::quit,
                            twipsRect(6120, 3840, 1245, 585), frameButtonFont());
    Lbl_status = makeLabel(this, "Lbl_status", QStringLiteral("..."),
                           twipsRect(3510, 4740, 1815, 285), statusFont());

    connect(cmd_Clean, &QPushButton::clicked, this, &CleanArea::cmd_Clean_Click);
}

void CleanArea::cmd_Clean_Click()
{
    if (workRunning() || !m_context.boxes.askYesNo(WorkTexts::confirmOptimise))
        return;

    Lbl_status->setText(CleanTexts::optimising);
    const ChangeOutcome outcome = runFlow<ChangeOutcome>(
        this, WorkTexts::optimisingWork, [&] { return OptimiseFlow::run(m_context.flow()); });
    Lbl_status->setText(outcome.succeeded ? CleanTexts::optimised : CleanTexts::failed);
    reportChange(m_context, outcome, WorkTexts::optimiseFailedTitle);
}
