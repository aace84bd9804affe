#include "agent/Frm_TM_Main.h"

#include "agent/AlertSound.h"
#include "agent/Mod_TM.h"
#include "agent/SetTopMost.h"
#include "agent/TmTexts.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

// Design measures are twips; 15 twips make a pixel at 96 dpi.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

} // namespace

Frm_TM_Main::Frm_TM_Main(Mod_TM& tm, AlertSound& sound, QString soundFile, int pollMs, int hideMs,
                         QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_tm(tm),
      m_sound(sound), m_soundFile(std::move(soundFile))
{
    setObjectName(QStringLiteral("Frm_TM_Main"));
    setWindowTitle(QStringLiteral("TELEMENU"));
    setFixedSize(twips(0, 0, 5895, 1560).size());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    QFont gulim(QStringLiteral("굴림"), 9);
    setFont(gulim);

    lblCaption =
        makeLabel(this, "lblCaption", QStringLiteral("TELEMENU"), twips(570, 60, 1605, 375));
    LBL_INFO[0] = makeLabel(this, "LBL_INFO_0", QStringLiteral("TELEMENU 주문이 "),
                            twips(270, 990, 1650, 180));
    lblTELCNT = makeLabel(this, "lblTELCNT", QStringLiteral("12"), twips(1980, 915, 360, 285));
    QFont countFont(QStringLiteral("굴림"));
    countFont.setPointSizeF(14.25);
    countFont.setBold(true);
    lblTELCNT->setFont(countFont);
    QPalette blue = lblTELCNT->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    lblTELCNT->setPalette(blue);
    LBL_INFO[1] =
        makeLabel(this, "LBL_INFO_1", QStringLiteral("건이 존재합니다.  접수 처리해 주세요."),
                  twips(2460, 990, 3120, 180));
    // The 180-twip rows of the info labels are a hair short for fallback fonts; let the text
    // show rather than clip its descenders.
    for (QLabel* info : LBL_INFO)
        info->resize(info->width(), qMax(info->height(), info->sizeHint().height()));

    btnClose = new QPushButton(QStringLiteral("닫기"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(twips(4110, 30, 765, 285));
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

void Frm_TM_Main::TimerTELEMENU_Timer()
{
    if (m_tm.pollEnabled()) {
        const std::optional<double> count =
            m_tm.PollOrderCount(QStringLiteral("00,02"), QStringLiteral("0"));
        if (count) {
            lblTELCNT->setText(TmTexts::countCaption(*count));
            if (*count > 0) {
                m_sound.play(m_soundFile);
                TimerHide->start();
                showPopup();
            }
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
