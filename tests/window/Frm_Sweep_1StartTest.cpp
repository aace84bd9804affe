#include "app/MaintenanceProgram.h"
#include "support/AreaHarness.h"
#include "window/Frm_Sweep_1.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

namespace {

bool anyWindowVisible()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
}

// Notes whether any window was on screen while a box was shown.
struct WatchingBoxes final : MessageBoxes
{
    bool askYesNo(const QString& text, const QString& title) override
    {
        return scripted.askYesNo(text, title);
    }
    void inform(const QString& text, const QString& title, Buttons buttons, Icon icon) override
    {
        windowVisibleDuringBox = windowVisibleDuringBox || anyWindowVisible();
        scripted.inform(text, title, buttons, icon);
    }
    ScriptedMessageBoxes scripted;
    bool windowVisibleDuringBox = false;
};

TEST(Start, UnreachableDatabaseShowsOnlyTheBoxLogsAndEnds)
{
    AreaHarness h;
    WatchingBoxes boxes;
    Mod_DB missing(DbTarget::sqlite(h.logRoot.filePath(QStringLiteral("missing/pos.sqlite"))));
    bool shown = false;
    EXPECT_EQ(runMaintenanceWindow({missing, h.log, boxes, [] { return QString(); }},
                                   [&](Frm_Sweep_1&) { shown = true; }),
              1);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(boxes.windowVisibleDuringBox);
    EXPECT_FALSE(anyWindowVisible());
    ASSERT_EQ(boxes.scripted.shown().size(), 1u);
    const auto& box = boxes.scripted.shown()[0];
    EXPECT_EQ(box.text, QStringLiteral("데이터베이스에 접근이 불가능합니다.             "));
    EXPECT_EQ(box.title, QStringLiteral("연결오류"));
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);
    EXPECT_EQ(box.icon, MessageBoxes::Icon::Critical);
    EXPECT_TRUE(h.logText().endsWith(QStringLiteral("DB접속실패!\r\nFalse\r\n\r\n\r\n")));
}

// An area's exit button or the close box ends a run that showed the window without a box or a
// log entry.
TEST(Start, TheExitButtonAndTheCloseBoxEndTheRunWithoutAQuestion)
{
    for (const int button : {Frm_Sweep_1::areaCount - 1, Frm_Sweep_1::areaCount}) {
        AreaHarness h;
        bool shown = false;
        EXPECT_EQ(runMaintenanceWindow(h.context,
                                       [&](Frm_Sweep_1& window) {
                                           shown = window.isVisible();
                                           QTimer::singleShot(0, &window, [&window, button] {
                                               if (button == Frm_Sweep_1::areaCount)
                                                   return void(window.close());
                                               window.cmd_Btn[size_t(button)]->click();
                                               window.CMD_UNLOAD[size_t(button)]->click();
                                           });
                                       }),
                  0);
        EXPECT_TRUE(shown);
        EXPECT_TRUE(h.boxes.shown().empty());
        EXPECT_TRUE(h.logText().isEmpty());
        EXPECT_FALSE(anyWindowVisible());
    }
}

} // namespace
