#pragma once

#include "window/WindowTexts.h"
#include "window/WorkContext.h"

#include <QWidget>
#include <array>

class ArchiveArea;
class CleanArea;
class DeliveryArea;
class OpenTableArea;
class PayCancelArea;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QPushButton;

// The maintenance window: the notice panel, five area buttons and the five work areas, of which
// one at a time fills the space under the buttons.
class Frm_Sweep_1 : public QWidget
{
    Q_OBJECT
public:
    explicit Frm_Sweep_1(WorkContext context, QWidget* parent = nullptr);

    // Connects to the database. Without a connection the user is told, the failure is logged,
    // and false comes back: the caller ends the process without showing the window.
    bool Form_Load();

    void cmd_Btn_Click(int index);
    void CMD_UNLOAD_Click(int index);

    // The frame that cmd_Btn(index) brings into view.
    QGroupBox* workFrame(int index) const;

    static constexpr int areaCount = 5;
    std::array<QPushButton*, areaCount> cmd_Btn{};
    QGroupBox* Frame_Notice = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label24 = nullptr;
    QLabel* Label35 = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label17 = nullptr;
    OpenTableArea* Frame_Table = nullptr;
    PayCancelArea* Frame_PayCancel = nullptr;
    DeliveryArea* Frame_DTD = nullptr;
    CleanArea* Frame_Clean = nullptr;
    ArchiveArea* Frame_Archive = nullptr;
    std::array<QPushButton*, areaCount> CMD_UNLOAD{}; // owned by the work frames

    WorkContext& context() { return m_context; }

protected:
    // While work runs the window stays: it closes once the work's outcome has been shown.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildNotice();
    void closeWhenIdle();

    WorkContext m_context;
};
