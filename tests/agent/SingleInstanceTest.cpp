#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, ASecondCopyEndsAtOnceAndACrashedFirstDoesNotBlockTheNext)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString lockFile = dir.filePath(QStringLiteral("sweep-agent.lock"));
    auto demo = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    // The real sweep-agent on a demo database, with its lock in the test's own folder; the
    // QProcess destructor kills whatever is still running.
    auto start = [&](const char* demoName) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(SWEEP_AGENT_BINARY),
                       {QStringLiteral("--demo"), demo(demoName)});
        return process;
    };
    auto exists = [&](const char* name) {
        return QTest::qWaitFor([&] { return QFileInfo::exists(demo(name)); }, 15000);
    };

    const auto first = start("first.sqlite");
    ASSERT_TRUE(first->waitForStarted());
    // The demo file is made after the lock is taken, just before connecting.
    ASSERT_TRUE(exists("first.sqlite"));
    EXPECT_TRUE(QFileInfo::exists(lockFile));

    const auto second = start("second.sqlite");
    ASSERT_TRUE(second->waitForFinished(15000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(demo("second.sqlite"))); // never got to the database
    EXPECT_EQ(first->state(), QProcess::Running);

    first->kill(); // SIGKILL: the lock file stays behind
    ASSERT_TRUE(first->waitForFinished(5000));
    ASSERT_TRUE(QFileInfo::exists(lockFile));

    const auto third = start("third.sqlite");
    ASSERT_TRUE(third->waitForStarted());
    EXPECT_TRUE(exists("third.sqlite"));
    EXPECT_FALSE(third->waitForFinished(1000)); // it stays, holding the lock
    EXPECT_EQ(third->state(), QProcess::Running);
}

} // namespace
