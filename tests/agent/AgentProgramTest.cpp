#include "agent/AgentProgram.h"
#include "agent/FrmTRAY.h"
#include "agent/Frm_TM_Main.h"
#include "agentcore/AlertTexts.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// The agent as sweep-agent starts it, with IP.ini (absent: no polls) and the lock in a
// temporary folder.
class AgentProgramTest : public ::testing::Test
{
protected:
    AgentProgram::Places places() const { return {dir.filePath("IP.ini"), dir.path(), "x.wav"}; }
    AgentOptions demo(QString f) const { return AgentOptions::parse({"--demo", dir.filePath(f)}); }
    bool lockIsFree() const { return QLockFile(program.lockFile()).tryLock(0); }
    // Pops the menu up as a right-button release does; during runs while it is open.
    void withMenu(const std::function<void()>& during)
    {
        QTimer::singleShot(50, [&] {
            during();
            program.tray()->mnu_main->close();
        });
        emit program.tray()->trayIcon->activated(QSystemTrayIcon::Context);
    }

    QTemporaryDir dir;
    AgentProgram program{demo("새 데모.sqlite"), places()};
};

// The popup shows on a double click (except while the menu is open, which holds the tray's
// events), with no made-up count before any poll, and on a second start; "종료" ends the loop
// once the menu returned (ending inside it crashed the tray) and frees the lock.
TEST_F(AgentProgramTest, OneCopyRunsAndEndsFromTheMenu)
{
    EXPECT_FALSE(AgentOptions::parse({"--demo", "a", "b"}).valid ||
                 AgentOptions::parse({"-demo"}).valid);
    ASSERT_EQ(program.start(), AgentProgram::Start::Running) << program.error().toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("새 데모.sqlite"))); // the file named after --demo
    FrmTRAY& tray = *program.tray();
    Frm_TM_Main& popup = *program.popup();
    ASSERT_TRUE(tray.trayIcon->isVisible());
    withMenu([&] { emit tray.trayIcon->activated(QSystemTrayIcon::DoubleClick); });
    EXPECT_FALSE(popup.isVisible());
    emit tray.trayIcon->activated(QSystemTrayIcon::DoubleClick);
    ASSERT_TRUE(popup.isVisible());
    EXPECT_FALSE(popup.lblTELCNT->isVisible());
    EXPECT_EQ(popup.lblNoCount->text(), AlertTexts::noCountLine(std::nullopt));
    QTest::mouseClick(popup.btnClose, Qt::LeftButton);
    ASSERT_FALSE(popup.isVisible());

    AgentProgram second{demo("second.sqlite"), places()};
    EXPECT_EQ(second.start(), AgentProgram::Start::HandedOver);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("second.sqlite"))); // never got to a database
    EXPECT_TRUE(QTest::qWaitFor([&] { return popup.isVisible(); }, 5000));

    EXPECT_FALSE(lockIsFree());
    bool endedInsideTheMenu = true;
    QTimer::singleShot(0, [&] {
        withMenu([&] {
            tray.mnu_main->setActiveAction(tray.mnutry[2]);
            QTest::keyClick(tray.mnu_main, Qt::Key_Return);
        });
        endedInsideTheMenu = !tray.trayIcon->isVisible(); // the menu's exec has returned here
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(endedInsideTheMenu);
    EXPECT_FALSE(tray.trayIcon->isVisible());
    EXPECT_TRUE(lockIsFree());
}

// A live holder of the lock that does not answer fails the start (no silent success); a copy that
// crashed holding it does not block it.
TEST_F(AgentProgramTest, OnlyALiveCopyThatAnswersTakesTheStartOver)
{
    QLockFile live(program.lockFile());
    ASSERT_TRUE(live.tryLock(0));
    EXPECT_EQ(program.start(), AgentProgram::Start::Failed);
    live.unlock();
#ifdef _WIN32
    GTEST_SKIP() << "a crashed copy is made with fork";
#else
    if (::fork() == 0) // _exit ends the child before the lock's destructor could let go
        ::_exit(QLockFile(program.lockFile()).tryLock(0) ? 0 : 1);
    int status = -1;
    ::wait(&status);
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(QFileInfo::exists(program.lockFile()));
    EXPECT_EQ(program.start(), AgentProgram::Start::Running);
#endif
}

} // namespace
