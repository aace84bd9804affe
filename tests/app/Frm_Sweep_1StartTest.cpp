#include "app/Frm_Sweep_1.h"
#include "app/MaintenanceProgram.h"
#include "db/ActivityLog.h"
#include "db/DemoDatabase.h"
#include "db/Mod_DB.h"
#include "support/ManualClock.h"
#include "support/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool anyWindowVisible()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            return true;
    return false;
}

// Notes whether any window was on screen while a box was shown.
class WatchingBoxes final : public MessageBoxes
{
public:
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

class StartTest : public ::testing::Test
{
protected:
    QString logFolder() const { return m_dir.filePath(QStringLiteral("DB_Log")); }

    // Runs the window on the demo database, or on a file that cannot be opened.
    int run(bool reachable, const std::function<void(Frm_Sweep_1&)>& onShown)
    {
        QString file = m_dir.filePath(QStringLiteral("missing/pos.sqlite"));
        if (reachable) {
            file = m_dir.filePath(QStringLiteral("pos.sqlite"));
            EXPECT_TRUE(QFile::exists(file) || createDemoDatabase(file));
        }
        Mod_DB db(DbTarget::sqlite(file));
        ActivityLog log(logFolder(), clock);
        return runMaintenanceWindow(
            WorkContext{db, log, boxes, [] { return QStringLiteral("10.0.0.1"); }}, onShown);
    }

    QTemporaryDir m_dir;
    ManualClock clock;
    WatchingBoxes boxes;
};

TEST_F(StartTest, UnreachableDatabaseShowsOnlyTheBoxLogsAndEnds)
{
    bool shownCalled = false;
    EXPECT_EQ(run(false, [&](Frm_Sweep_1&) { shownCalled = true; }), 1);
    EXPECT_FALSE(shownCalled);
    EXPECT_FALSE(boxes.windowVisibleDuringBox);
    EXPECT_FALSE(anyWindowVisible());

    ASSERT_EQ(boxes.scripted.shown().size(), 1u);
    const auto& box = boxes.scripted.shown()[0];
    EXPECT_EQ(box.text, QStringLiteral("데이터베이스에 접근이 불가능합니다.             "));
    EXPECT_EQ(box.title, QStringLiteral("연결오류"));
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);
    EXPECT_EQ(box.icon, MessageBoxes::Icon::Critical);

    QFile file(QDir(logFolder()).filePath(QStringLiteral("20261206.TXT")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith("\r\nFalse\r\n\r\n\r\n"));
}

// Each area's exit button (0-3) and the close box (4) end a run that showed the window without a
// box or a log entry.
// An area's exit button or the close box ends a run that showed the window without a box or a
// log entry.
TEST_F(StartTest, TheExitButtonAndTheCloseBoxEndTheRunWithoutAQuestion)
{
    for (const int button : {Frm_Sweep_1::areaCount - 1, Frm_Sweep_1::areaCount}) {
        bool shown = false;
        EXPECT_EQ(run(true,
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
        EXPECT_TRUE(boxes.scripted.shown().empty());
        EXPECT_FALSE(QDir(logFolder()).exists());
        EXPECT_FALSE(anyWindowVisible());
    }
}

} // namespace
