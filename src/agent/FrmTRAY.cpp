#include "agent/FrmTRAY.h"

#include "agent/Frm_TM_Main.h"
#include "agentcore/AgentPoller.h"
#include "agentcore/AlertTexts.h"

#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QPainter>

namespace {

const QString kMenuCaption = QStringLiteral("TELEMENU 실시간 주문 현황");

// The icon while the agent does not poll at all: faded, with a pause sign, so it reads neither
// as working nor as failing.
QPixmap pausedPixmap(const QIcon& icon, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setOpacity(0.45);
    painter.drawPixmap(0, 0, icon.pixmap(size));
    painter.setOpacity(1);
    const int bar = qMax(2, size / 8);
    const QRect sign(size / 2, size / 2, size / 2, size / 2);
    painter.fillRect(sign, QColor(255, 255, 255, 220));
    painter.fillRect(sign.left() + bar, sign.top() + bar, bar, sign.height() - 2 * bar, Qt::black);
    painter.fillRect(sign.right() - 2 * bar + 1, sign.top() + bar, bar, sign.height() - 2 * bar,
                     Qt::black);
    return pixmap;
}

} // namespace

FrmTRAY::FrmTRAY(Frm_TM_Main& popup, AgentPoller& poller, std::function<void()> endProcess,
                 QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_popup(popup),
      m_poller(poller), m_endProcess(std::move(endProcess))
{
    setObjectName(QStringLiteral("FrmTRAY"));
    setWindowTitle(QStringLiteral("TELEMENU"));
    setFixedSize(2790 / 15, 540 / 15);
    setWindowIcon(QIcon(QStringLiteral(":/telemenu.png")));

    mnu_main = new QMenu(kMenuCaption, this);
    mnu_main->setObjectName(QStringLiteral("mnu_main"));
    mnu_main->setSeparatorsCollapsible(false);
    // A popup menu shows no title of its own; the first line names the program instead.
    mnu_main->addAction(kMenuCaption)->setEnabled(false);
    mnutry[0] = mnu_main->addSeparator();
    mnutry[1] = mnu_main->addSeparator();
    mnutry[2] = mnu_main->addAction(QStringLiteral("종료"));
    for (int i = 0; i < 3; ++i) {
        mnutry[i]->setObjectName(QStringLiteral("mnutry_%1").arg(i));
        connect(mnutry[i], &QAction::triggered, this, [this, i] { mnutry_Click(i); });
    }

    for (int size : {16, 24, 32, 48}) {
        m_greyIcon.addPixmap(windowIcon().pixmap(size, QIcon::Disabled));
        m_pausedIcon.addPixmap(pausedPixmap(windowIcon(), size));
    }
    trayIcon = new QSystemTrayIcon(windowIcon(), this);
    connect(trayIcon, &QSystemTrayIcon::activated, this, &FrmTRAY::trayActivated);
    connect(&m_poller, &AgentPoller::stateChanged, this, &FrmTRAY::showPollState);
    showPollState();
}

void FrmTRAY::showPollState()
{
    const PollState& state = m_poller.state();
    trayIcon->setToolTip(AlertTexts::toolTip(state));
    if (state.off != PollState::Off::No)
        trayIcon->setIcon(m_pausedIcon);
    else
        trayIcon->setIcon(state.failingSince.isValid() ? m_greyIcon : windowIcon());
}

void FrmTRAY::addTrayIcon()
{
    trayIcon->show();
}

void FrmTRAY::trayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (m_trayBusy)
        return;
    m_trayBusy = true;
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        m_popup.showPopup();
        break;
    case QSystemTrayIcon::Context:
        mnu_main->exec(QCursor::pos()); // returns when the menu closes
        break;
    default:
        break;
    }
    m_trayBusy = false;
}

void FrmTRAY::mnutry_Click(int index)
{
    if (index == 0)
        m_popup.showPopup();
    else if (index == 2)
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
}

void FrmTRAY::closeEvent(QCloseEvent* e)
{
    trayIcon->hide();
    e->accept();
    if (m_endProcess)
        m_endProcess();
}
