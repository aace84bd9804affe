#pragma once

#include "agentcore/PollResult.h"

#include <QWidget>
#include <optional>

class AgentPoller;
class AlertSound;
class QLabel;
class QPushButton;
class QTimer;

// The order popup: a small borderless window above all others that says how many orders wait.
// It owns the agent's two timers: TimerTELEMENU starts a poll, TimerHide puts the popup away
// again some seconds after a poll showed it. Hiding never unloads it; the poll keeps ticking.
class Frm_TM_Main : public QWidget
{
    Q_OBJECT
public:
    // soundFile is played for a count above 0. The poll timer starts at once.
    Frm_TM_Main(AgentPoller& poller, AlertSound& sound, QString soundFile, int pollMs, int hideMs,
                QWidget* parent = nullptr);

    // Shows the popup, not modal, above all other windows.
    void showPopup();

    QLabel* lblCaption;
    // The sentence "TELEMENU 주문이 n 건이 존재합니다. ...", shown only for a count above 0.
    QLabel* LBL_INFO[2];
    QLabel* lblTELCNT;
    // In place of the sentence while no count is known, or none waits.
    QLabel* lblNoCount;
    QPushButton* btnClose;
    QTimer* TimerTELEMENU;
    QTimer* TimerHide;

public slots:
    // Starts a poll unless the agent does not poll (PollEnabled, no BaseUrl); the next tick is
    // armed once its result is in, so polls never overlap.
    void TimerTELEMENU_Timer();
    void TimerHide_Timer();

protected:
    bool event(QEvent* e) override;

private:
    void polled(const PollResult& result);
    void showCount(std::optional<qint64> count);

    AgentPoller& m_poller;
    AlertSound& m_sound;
    QString m_soundFile;
    // Where the count and the rest of its sentence stand while the count is short.
    QRect m_countPlace;
    QRect m_restPlace;
};
