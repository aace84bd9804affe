#pragma once

#include "window/WorkContext.h"

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QPushButton;
class ResultGrid;

// Frame_PayCancel: lists AC_TEMP and empties the three payment-cancel work tables.
class PayCancelArea : public QGroupBox
{
    Q_OBJECT
public:
    explicit PayCancelArea(WorkContext& context, QWidget* parent = nullptr);

    void cmd_PaySerch_Click();
    void cmd_payDelete_Click();

    ResultGrid* Flex1 = nullptr;
    QLabel* Label22 = nullptr;
    QLineEdit* TXT_COUNT_1 = nullptr;
    QLabel* Label30 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QPushButton* cmd_PaySerch = nullptr;
    QLabel* Label14 = nullptr;
    QPushButton* cmd_payDelete = nullptr;
    QLabel* Label15 = nullptr;
    QPushButton* CMD_UNLOAD = nullptr; // the window's CMD_UNLOAD(1)
    QLabel* lbl_outcome = nullptr;     // what the last delete removed and where the copy went

private:
    WorkContext& m_context;
};
