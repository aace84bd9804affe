#pragma once

#include <QWidget>

class AlertSound;
class Mod_TM;
class QLabel;
class QPushButton;
class QTimer;

// The order popup: a small borderless window above all others that says how many orders wait.
// It owns the agent's two timers: TimerTELEMENU polls the service, TimerHide puts the popup
// away again some seconds after it was shown. Hiding never unloads it; the poll keeps ticking.
class Frm_TM_Main : public QWidget
{
    Q_OBJECT
public:
    // soundFile is played for a count above 0. The poll timer starts at once.
    Frm_TM_Main(Mod_TM& tm, AlertSound& sound, QString soundFile, int pollMs, int hideMs,
                QWidget* parent = nullptr);

    // Shows the popup, not modal, above all other windows.
    void showPopup();

    QLabel* lblCaption;
    QLabel* LBL_INFO[2];
    QLabel* lblTELCNT;
    QPushButton* btnClose;
    QTimer* TimerTELEMENU;
    QTimer* TimerHide;

public slots:
    // One poll when it is enabled, then the next one is armed, so polls never overlap.
    void TimerTELEMENU_Timer();
    void TimerHide_Timer();

protected:
    bool event(QEvent* e) override;

private:
    Mod_TM& m_tm;
    AlertSound& m_sound;
    QString m_soundFile;
};
