#include "app/Frm_Sweep_1.h"
#include "app/MaintenanceProgram.h"
#include "db/ActivityLog.h"
#include "db/DemoDatabase.h"
#include "db/Mod_DB.h"
#include "maintenance/CleanArea.h"
#include "maintenance/DeliveryArea.h"
#include "maintenance/OpenTableArea.h"
#include "maintenance/PayCancelArea.h"
#include "support/ManualClock.h"
#include "support/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QByteArray cp949(const QString& text)
{
    QStringEncoder encoder("CP949");
    return encoder.encode(text);
}

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
    QString demoFile()
    {
        const QString file = m_dir.filePath(QStringLiteral("pos.sqlite"));
        if (!QFile::exists(file))
            EXPECT_TRUE(createDemoDatabase(file));
        return file;
    }

    QTemporaryDir m_dir;
    ManualClock clock;
    WatchingBoxes boxes;
};

TEST_F(StartTest, UnreachableDatabaseShowsOnlyTheBoxLogsAndEnds)
{
    Mod_DB db(DbTarget::sqlite(m_dir.filePath(QStringLiteral("missing/pos.sqlite"))));
    ActivityLog log(logFolder(), clock);
    bool shownCalled = false;
    const int exitCode =
        runMaintenanceWindow(WorkContext{db, log, boxes, [] { return QStringLiteral("10.0.0.1"); }},
                             [&](Frm_Sweep_1&) { shownCalled = true; });

    EXPECT_EQ(exitCode, 1);
    EXPECT_FALSE(shownCalled);
    EXPECT_FALSE(boxes.windowVisibleDuringBox);
    EXPECT_FALSE(anyWindowVisible());

    ASSERT_EQ(boxes.scripted.shown().size(), 1u);
    const auto& box = boxes.scripted.shown()[0];
    EXPECT_EQ(box.text, QStringLiteral("데이터베이스에 접근이 불가능합니다.             "));
    EXPECT_EQ(box.title, QStringLiteral("연결오류"));
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);
    EXPECT_EQ(box.icon, MessageBoxes::Icon::Critical);

    // The time-stamp line, the two items, the CR LF item on a line of its own; empty items none.
    QFile file(QDir(logFolder()).filePath(QStringLiteral("20261206.TXT")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        file.readAll(),
        cp949(QStringLiteral("[2026-12-06 오전 9:30:00]\r\nDB접속실패!\r\nFalse\r\n\r\n\r\n")));
}

TEST_F(StartTest, FailedLoadKeepsAnEarlierLogEntry)
{
    QDir().mkpath(logFolder());
    QFile earlier(QDir(logFolder()).filePath(QStringLiteral("20261206.TXT")));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write(cp949(QStringLiteral("이전 항목\r\n")));
    earlier.close();

    Mod_DB db(DbTarget::sqlite(m_dir.filePath(QStringLiteral("missing.sqlite"))));
    ActivityLog log(logFolder(), clock);
    Frm_Sweep_1 window(WorkContext{db, log, boxes, [] { return QString(); }});
    EXPECT_FALSE(window.Form_Load());
    EXPECT_FALSE(window.isVisible());

    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    const QByteArray bytes = earlier.readAll();
    EXPECT_TRUE(bytes.startsWith(cp949(QStringLiteral("이전 항목\r\n"))));
    EXPECT_TRUE(bytes.endsWith(cp949(QStringLiteral("DB접속실패!\r\nFalse\r\n\r\n\r\n"))));
}

TEST_F(StartTest, ReachableDatabaseShowsTheNoticeWithoutABoxOrLogEntry)
{
    Mod_DB db(DbTarget::sqlite(demoFile()));
    ActivityLog log(logFolder(), clock);
    bool noticeOnly = false;
    const int exitCode = runMaintenanceWindow(
        WorkContext{db, log, boxes, [] { return QStringLiteral("10.0.0.1"); }},
        [&](Frm_Sweep_1& window) {
            EXPECT_TRUE(window.isVisible());
            EXPECT_EQ(window.windowTitle(), QStringLiteral("DB수정"));
            const QRect client = window.rect();
            noticeOnly = client.contains(window.Frame_Notice->geometry());
            for (int i = 0; i < Frm_Sweep_1::areaCount; ++i)
                noticeOnly = noticeOnly && !client.intersects(window.workFrame(i)->geometry());
            // Ends the run the way a user would.
            QTimer::singleShot(0, window.CMD_UNLOAD[0], &QPushButton::click);
        });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(noticeOnly);
    EXPECT_TRUE(boxes.scripted.shown().empty());
    EXPECT_FALSE(QDir(logFolder()).exists());
}

TEST_F(StartTest, StartUpTimingEndsTheRunAfterTheFirstPaint)
{
    Mod_DB db(DbTarget::sqlite(demoFile()));
    ActivityLog log(logFolder(), clock);
    bool painted = false;
    const int exitCode = runMaintenanceWindow(
        WorkContext{db, log, boxes, [] { return QString(); }}, [&](Frm_Sweep_1& window) {
            quitAfterFirstPaint(window);
            // Watches the paint the quitter waits for.
            struct PaintSeen : QObject
            {
                bool* seen;
                bool eventFilter(QObject*, QEvent* e) override
                {
                    *seen = *seen || e->type() == QEvent::Paint;
                    return false;
                }
            };
            auto* seen = new PaintSeen;
            seen->seen = &painted;
            seen->setParent(&window);
            window.installEventFilter(seen);
        });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(painted);
}

class ExitTest : public StartTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(ExitTest, EveryExitButtonAndTheCloseBoxEndTheRunWithoutAQuestion)
{
    Mod_DB db(DbTarget::sqlite(demoFile()));
    ActivityLog log(logFolder(), clock);
    const int button = GetParam();
    const int exitCode =
        runMaintenanceWindow(WorkContext{db, log, boxes, [] { return QStringLiteral("10.0.0.1"); }},
                             [&](Frm_Sweep_1& window) {
                                 QTimer::singleShot(0, &window, [&window, button] {
                                     if (button < Frm_Sweep_1::areaCount) {
                                         window.cmd_Btn[size_t(button)]->click();
                                         window.CMD_UNLOAD[size_t(button)]->click();
                                     } else {
                                         window.close(); // the close box
                                     }
                                 });
                             });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(boxes.scripted.shown().empty());
    EXPECT_FALSE(anyWindowVisible());
}

INSTANTIATE_TEST_SUITE_P(Buttons, ExitTest, ::testing::Values(0, 1, 2, 3, 4));

} // namespace
