#pragma once

#include "window/WindowTexts.h"
#include "window/WorkContext.h"

#include <QGroupBox>

class QLabel;
class QPushButton;

// Frame_Clean: rebuilds every index of the POS database.
class CleanArea : public QGroupBox
{
    Q_OBJECT
public:
    explicit CleanArea(WorkContext& context, QWidget* parent = nullptr);

    void cmd_Clean_Click();

    QLabel* Label1 = nullptr;
    QLabel* Label33 = nullptr;
    QLabel* Label34 = nullptr;
    QLabel* Label36 = nullptr;
    QLabel* Label37 = nullptr;
    QPushButton* cmd_Clean = nullptr;
    QLabel* Label39 = nullptr;
    QPushButton* CMD_UNLOAD = nullptr; // the window's CMD_UNLOAD(3)
    QLabel* Lbl_status = nullptr;

private:
    WorkContext& m_context;
};
