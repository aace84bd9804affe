#include "agent/FrmTRAY.h"

#include "agent/Frm_TM_Main.h"
#include "agentcore/AgentPoller.h"
#include "agentcore/AlertTexts.h"

#include <QCloseEvent>
#include <QCursor>
#include <QMenu>

namespace {
const QString kMenuCaption = QStringLiteral("TELEMENU 실시간 주문 현황");
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

    for (int size : {16, 24, 32, 48})
        m_greyIcon.addPixmap(windowIcon().pixmap(size, QIcon::Disabled));
    trayIcon = new QSystemTrayIcon(windowIcon(), this);
    connect(trayIcon, &QSystemTrayIcon::activated, this, &FrmTRAY::trayActivated);
    connect(&m_poller, &AgentPoller::polled, this, &FrmTRAY::showPollState);
    showPollState();
}

void FrmTRAY::showPollState()
{
    const PollState& state = m_poller.state();
    trayIcon->setToolTip(AlertTexts::toolTip(state));
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
