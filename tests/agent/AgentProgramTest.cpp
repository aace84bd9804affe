#include "agent/AgentProgram.h"
#include "agent/FrmTRAY.h"
#include "agent/Frm_TM_Main.h"
#include "agentcore/AgentLog.h"
#include "agentcore/AlertTexts.h"
#include "agentcore/CopyLock.h"
#include "agentcore/HandOver.h"
#include "core/Cp949.h"
#include "core/Mod_Basic.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// The agent as sweep-agent starts it, with IP.ini (absent: no polls) and the lock in a
// temporary folder.
class AgentProgramTest : public ::testing::Test
{
protected:
    AgentProgram::Places places() const
    {
        return {dir.filePath("IP.ini"), dir.path(), "x.wav", dir.filePath("log")};
    }
    AgentOptions demo(QString f) const { return AgentOptions::parse({"--demo", dir.filePath(f)}); }
    bool lockIsFree() const
    {
        return CopyLock(program.lockFile()).tryLock() == CopyLock::Result::Taken;
    }
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
// events), with no made-up count before any poll; "종료" ends the loop once the menu returned
// (ending inside it crashed the tray), frees the lock and is the log's last line.
TEST_F(AgentProgramTest, OneCopyRunsAndEndsFromTheMenu)
{
    EXPECT_FALSE(AgentOptions::parse({"--demo", "a", "b"}).valid);
    EXPECT_FALSE(AgentOptions::parse({"-demo"}).valid);
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
    QFile log(QDir(places().logFolder).filePath(AgentLog::fileName(QDate::currentDate())));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().endsWith(Cp949::encode(" 종료\r\n")));
}

#ifndef _WIN32
// The first copy as a program of its own: while it answers, a second start hands over to it;
// stopped (kill -STOP), it fails the next start once the answer is overdue; killed (kill -9),
// it blocks no start of any user, whatever its lock file says.
TEST_F(AgentProgramTest, OnlyALiveCopyThatAnswersTakesTheStartOver)
{
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SWEEP_AGENT_RUN_DIR", dir.path());
    env.insert("HOME", dir.path());
    first.setProcessEnvironment(env);
    first.start(SWEEP_AGENT_BINARY, {"--demo", dir.filePath("first.sqlite")});
    ASSERT_TRUE(first.waitForStarted());
    const QString pid = QString::number(first.processId());
    ASSERT_TRUE(QTest::qWaitFor( // it notes itself once it listens
        [&] { return CopyLock(program.lockFile()).readNote().startsWith(pid + '\n'); }, 20000));
    AgentProgram second{demo("second.sqlite"), places()};
    EXPECT_EQ(second.start(), AgentProgram::Start::HandedOver) << second.error().toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("second.sqlite"))); // never got to a database

    ::kill(pid_t(first.processId()), SIGSTOP);
    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(program.start(), AgentProgram::Start::Failed);
    EXPECT_GE(waited.elapsed(), HandOver::kAnswerTimeoutMs);
    EXPECT_LT(waited.elapsed(), HandOver::kAnswerTimeoutMs + 2000);
    EXPECT_TRUE(program.error().contains(pid)) << program.error().toStdString();
    EXPECT_TRUE(program.error().contains("did not answer")) << program.error().toStdString();

    ::kill(pid_t(first.processId()), SIGKILL);
    ASSERT_TRUE(first.waitForFinished());
    QFile left(program.lockFile()); // as an older copy on another computer would leave it
    ASSERT_TRUE(left.open(QIODevice::WriteOnly | QIODevice::Truncate));
    left.write("4242\nsweep-agent\nother-computer\n");
    left.close();
    if (::getuid() == 0) { // another user takes it: made before fork, it only calls the system
        CopyLock otherUser(program.lockFile());
        ::chmod(QFile::encodeName(dir.path()).constData(), 01777); // like /tmp
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                            otherUser.tryLock() == CopyLock::Result::Taken
                        ? 0
                        : 1);
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(program.start(), AgentProgram::Start::Running) << program.error().toStdString();
}
#endif

// "종료" ends the agent within a second even while its poll waits in a database login that
// never answers (the server accepts the connection and says nothing).
TEST_F(AgentProgramTest, EndsWithinASecondWhileALoginHangs)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString ini = places().iniPath;
    Mod_Basic::Write_Ini(Mod_Basic::localSection(), "SERVER",
                         QStringLiteral("127.0.0.1,%1").arg(silent.serverPort()), ini);
    Mod_Basic::Write_Ini("TELEMENU", "BaseUrl", "http://127.0.0.1:9/", ini);
    Mod_Basic::Write_Ini("TELEMENU", "PollEnabled", "Y", ini);
    AgentProgram agent{AgentOptions(), places()};
    ASSERT_EQ(agent.start(), AgentProgram::Start::Running) << agent.error().toStdString();
    agent.popup()->TimerTELEMENU_Timer();
    ASSERT_TRUE(silent.waitForNewConnection(5000));

    QElapsedTimer ending;
    QTimer::singleShot(0, [&] {
        ending.start();
        agent.tray()->mnutry_Click(2);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    agent.end();
    EXPECT_LT(ending.elapsed(), 1000);
    EXPECT_TRUE(agent.leftWorkRunning());
    EXPECT_TRUE(lockIsFree());
    delete silent.nextPendingConnection(); // the login fails now and its thread ends
}

} // namespace
