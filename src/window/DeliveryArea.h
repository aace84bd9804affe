#pragma once

#include "operations/DeliveriesFlow.h"
#include "window/WindowTexts.h"
#include "window/WorkContext.h"

#include <QGroupBox>
#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ResultGrid;

// Frame_DTD: lists and deletes the unfinished deliveries of all dates or of a date range.
class DeliveryArea : public QGroupBox
{
    Q_OBJECT
public:
    explicit DeliveryArea(WorkContext& context, QWidget* parent = nullptr);

    void cmd_DTD_Serch_Click();
    void CMD_DTD_DELETE_Click();

    // Switches the mode to the option just chosen (1 all dates, 0 a date range); every switch
    // empties flex2 so a delete never runs on a count found in the other mode.
    void OPT1_Click(int index);
    // The layout the area opens with from the area button: status empty, date inputs hidden.
    // The selected option, the grid, the count and the date texts stay as they are.
    void showAllDatesLayout();

    std::array<QRadioButton*, 2> OPT1{}; // 1 all dates, 0 a date range
    ResultGrid* flex2 = nullptr;
    QLabel* Label18 = nullptr;
    QLineEdit* TXT_Date = nullptr;
    QLabel* LBL_From = nullptr;
    QLineEdit* Txt_Date2 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* LBL_Ex2 = nullptr;
    QLabel* lbl_show = nullptr;
    QLabel* Label20 = nullptr;
    QLineEdit* TXT_COUNT = nullptr;
    QLabel* Label31 = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* Label28 = nullptr;
    QPushButton* cmd_DTD_Serch = nullptr;
    QLabel* Label21 = nullptr;
    QPushButton* CMD_DTD_DELETE = nullptr;
    QLabel* Label25 = nullptr;
    QPushButton* CMD_UNLOAD = nullptr; // the window's CMD_UNLOAD(2)
    QLabel* lbl_outcome = nullptr;     // what the last delete removed and where the copy went

private:
    WorkContext& m_context;

    // The delete removes the rows the last search listed: its mode and the normalised dates it
    // used. Empty before a search, after one that listed nothing, and after a mode switch.
    std::optional<DeliveriesFlow::Range> m_listed;
};
