#include "agent/Frm_TM_Main.h"

#include "agent/AlertSound.h"
#include "agent/SetTopMost.h"
#include "agentcore/AgentPoller.h"
#include "agentcore/AlertTexts.h"
#include "agentcore/TmTexts.h"
#include "ui/FormWidgets.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

Frm_TM_Main::Frm_TM_Main(AgentPoller& poller, AlertSound& sound, QString soundFile, int pollMs,
                         int hideMs, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_poller(poller), m_sound(sound), m_soundFile(std::move(soundFile))
{
    setObjectName(QStringLiteral("Frm_TM_Main"));
    setWindowTitle(QStringLiteral("TELEMENU"));
    setFixedSize(twipsRect(0, 0, 5895, 1560).size());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    const QFont gulim = formFont(FormFonts::gulim, 9);
    setFont(gulim);
    lblCaption = makeLabel(this, "lblCaption", QStringLiteral("TELEMENU"),
                           twipsRect(570, 60, 1605, 375), gulim);
    LBL_INFO[0] = makeLabel(this, "LBL_INFO_0", QStringLiteral("TELEMENU 주문이 "),
                            twipsRect(270, 990, 1650, 180), gulim);
    lblTELCNT = makeLabel(this, "lblTELCNT", QString(), twipsRect(1980, 915, 360, 285),
                          formFont(FormFonts::gulim, 14.25, true), Qt::blue);
    lblTELCNT->setWordWrap(false);
    LBL_INFO[1] =
        makeLabel(this, "LBL_INFO_1", QStringLiteral("건이 존재합니다.  접수 처리해 주세요."),
                  twipsRect(2460, 990, 3120, 180), gulim);
    m_countPlace = lblTELCNT->geometry();
    m_restPlace = LBL_INFO[1]->geometry();
    lblNoCount = makeLabel(this, "lblNoCount", QString(), twipsRect(270, 990, 5310, 180), gulim);

    btnClose =
        makeButton(this, "btnClose", QStringLiteral("닫기"), twipsRect(4110, 30, 765, 285), gulim);
    btnClose->setFocusPolicy(Qt::NoFocus);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::hide);

    TimerHide = new QTimer(this);
    TimerHide->setObjectName(QStringLiteral("TimerHide"));
    TimerHide->setInterval(hideMs);
    connect(TimerHide, &QTimer::timeout, this, &Frm_TM_Main::TimerHide_Timer);

    TimerTELEMENU = new QTimer(this);
    TimerTELEMENU->setObjectName(QStringLiteral("TimerTELEMENU"));
    TimerTELEMENU->setSingleShot(true);
    TimerTELEMENU->setInterval(pollMs);
    connect(TimerTELEMENU, &QTimer::timeout, this, &Frm_TM_Main::TimerTELEMENU_Timer);
    connect(&m_poller, &AgentPoller::polled, this, &Frm_TM_Main::polled);

    showCount(m_poller.state().lastCount);
    TimerTELEMENU->start();
}

void Frm_TM_Main::showPopup()
{
    // Bottom right of the screen, beside the tray area, where a notice is looked for.
    if (!isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.right() - width() - 8, area.bottom() - height() - 8);
        }
    }
    show();
    SetTopMost(this, true);
}

void Frm_TM_Main::showCount(std::optional<qint64> count)
{
    const QString line = AlertTexts::noCountLine(count);
    const bool sentence = line.isEmpty();
    for (QWidget* part : {static_cast<QWidget*>(LBL_INFO[0]), static_cast<QWidget*>(lblTELCNT),
                          static_cast<QWidget*>(LBL_INFO[1])})
        part->setVisible(sentence);
    lblNoCount->setVisible(!sentence);
    lblNoCount->setText(line);
    if (!sentence)
        return;
    // A wider count pushes the rest of the sentence to the right instead of running into it.
    lblTELCNT->setText(TmTexts::countCaption(*count));
    const int wider = qMax(0, lblTELCNT->sizeHint().width() - m_countPlace.width());
    lblTELCNT->setGeometry(m_countPlace.adjusted(0, 0, wider, 0));
    LBL_INFO[1]->setGeometry(m_restPlace.translated(wider, 0).intersected(rect()));
}

void Frm_TM_Main::TimerTELEMENU_Timer()
{
    if (m_poller.polls())
        m_poller.poll(); // polled() arms the next tick
    else
        TimerTELEMENU->start();
}

void Frm_TM_Main::polled(const PollResult& result)
{
    if (result.ok()) {
        showCount(result.count);
        if (*result.count > 0) {
            m_sound.play(m_soundFile);
            TimerHide->start();
            showPopup();
        }
    }
    TimerTELEMENU->start();
}

void Frm_TM_Main::TimerHide_Timer()
{
    TimerHide->stop();
    hide();
}

bool Frm_TM_Main::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        SetTopMost(this, true);
    return QWidget::event(e);
}
