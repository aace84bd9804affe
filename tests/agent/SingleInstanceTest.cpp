#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Starts the real sweep-agent on the demo database, with its lock in a folder of the test's own.
class AgentProcess
{
public:
    AgentProcess(const QString& tempFolder, const QString& demoFile)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tempFolder);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(SWEEP_AGENT_BINARY), {QStringLiteral("--demo"), demoFile});
    }
    ~AgentProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

bool waitFor(const std::function<bool()>& condition, int ms = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

TEST(SingleInstance, ASecondCopyEndsAtOnceAndACrashedFirstDoesNotBlockTheNext)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString lockFile = dir.filePath(QStringLiteral("sweep-agent.lock"));
    auto demo = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };

    AgentProcess first(dir.path(), demo("first.sqlite"));
    ASSERT_TRUE(first.process().waitForStarted());
    // The demo file is made after the lock is taken, just before connecting.
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(demo("first.sqlite")); }));
    EXPECT_TRUE(QFileInfo::exists(lockFile));

    AgentProcess second(dir.path(), demo("second.sqlite"));
    ASSERT_TRUE(second.process().waitForFinished(15000));
    EXPECT_EQ(second.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process().exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(demo("second.sqlite"))); // never got to the database
    EXPECT_EQ(first.process().state(), QProcess::Running);

    first.process().kill(); // SIGKILL: the lock file stays behind
    ASSERT_TRUE(first.process().waitForFinished(5000));
    ASSERT_TRUE(QFileInfo::exists(lockFile));

    AgentProcess third(dir.path(), demo("third.sqlite"));
    ASSERT_TRUE(third.process().waitForStarted());
    EXPECT_TRUE(waitFor([&] { return QFileInfo::exists(demo("third.sqlite")); }));
    EXPECT_FALSE(third.process().waitForFinished(1000)); // it stays, holding the lock
    EXPECT_EQ(third.process().state(), QProcess::Running);
}

} // namespace
