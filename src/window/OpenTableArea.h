#pragma once

#include "window/WorkContext.h"

#include <QGroupBox>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ResultGrid;

// Frame_Table: lists the open table checks and deletes all of them or the one picked in FLEX.
class OpenTableArea : public QGroupBox
{
    Q_OBJECT
public:
    explicit OpenTableArea(WorkContext& context, QWidget* parent = nullptr);

    void cmd_TBSerch_Click();
    void cmd_delete_Click();

    std::array<QRadioButton*, 2> OPT_TABLE{}; // 0 delete all, 1 delete the picked check
    ResultGrid* FLEX = nullptr;
    QLabel* Label23 = nullptr;
    QLineEdit* TXT_COUNT_2 = nullptr;
    QLabel* Label29 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QPushButton* cmd_TBSerch = nullptr;
    QLabel* Label12 = nullptr;
    QPushButton* cmd_delete = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* CMD_UNLOAD = nullptr; // the window's CMD_UNLOAD(0)
    QLabel* lbl_outcome = nullptr;     // what the last delete removed and where the copy went

private:
    WorkContext& m_context;
};
