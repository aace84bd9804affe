#pragma once

#include <QSystemTrayIcon>
#include <QWidget>
#include <functional>

class AgentPoller;
class Frm_TM_Main;
class QAction;
class QMenu;

// The agent's host window. It is never shown: it owns the tray icon, answers the icon's mouse
// events and offers its menu. Closing it, for whatever reason, takes the icon away and ends the
// agent. The icon's tooltip tells the last successful poll; while polls fail the icon is greyed
// and the tooltip says since when and why; while the agent does not poll at all (switched off or
// no service address) the icon shows a pause sign and the tooltip says which.
class FrmTRAY : public QWidget
{
    Q_OBJECT
public:
    // endProcess runs when the window closes (the program passes the application's quit).
    FrmTRAY(Frm_TM_Main& popup, AgentPoller& poller, std::function<void()> endProcess,
            QWidget* parent = nullptr);

    // Puts the icon into the tray.
    void addTrayIcon();

    bool TrayBusy() const { return m_trayBusy; }

    QSystemTrayIcon* trayIcon;
    QMenu* mnu_main;
    // 0 and 1 are separator lines, 2 is "종료".
    QAction* mnutry[3];

public slots:
    // A tray event is not handled while the previous one still runs (an open menu, say).
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    // "종료" (2) closes the window from the event loop, after the menu and the icon's event that
    // opened it have returned: ending inside them crashed the tray.
    void mnutry_Click(int index);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void showPollState();

    Frm_TM_Main& m_popup;
    AgentPoller& m_poller;
    QIcon m_greyIcon;
    QIcon m_pausedIcon;
    std::function<void()> m_endProcess;
    bool m_trayBusy = false;
};
