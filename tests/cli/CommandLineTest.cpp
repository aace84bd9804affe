#include "core/Cp949.h"
#include "support/Files.h"
#include "support/FixtureDatabase.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The real sweep program on a demo database of its own, with its home (and so its activity log
// and archive) in a temporary folder, run as a script or a scheduler would run it.
class CommandLineTest : public ::testing::Test
{
protected:
    FixtureDatabase fixture;
    QTemporaryDir home;
    QString out;
    QString err;

    int sweep(QStringList arguments, bool demo = true)
    {
        if (demo)
            arguments = QStringList{"--demo", fixture.path()} + arguments;
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.remove("DISPLAY");
        environment.remove("QT_QPA_PLATFORM"); // no display is needed
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(SWEEP_BINARY), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    int deliveries() { return firstValue(*fixture.connect(), "SELECT COUNT(*) FROM DTD").toInt(); }

    QString log() const
    {
        const QDir folder(home.filePath("DB_Log"));
        const QStringList files = folder.entryList({"*.TXT"});
        return files.isEmpty() ? QString() : Cp949::decode(fileBytes(folder.filePath(files[0])));
    }
};

TEST_F(CommandLineTest, ListsInEachFormatWhatTheGridShows)
{
    ASSERT_EQ(sweep({"list", "deliveries", "--from", "2024/6/11", "--to", "20240613"}), 0)
        << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("윤서준"))) << out.toStdString();
    EXPECT_TRUE(out.contains("2024/06/12 10:55:41"));
    EXPECT_TRUE(out.endsWith(QStringLiteral("3건\n")));

    ASSERT_EQ(sweep({"list", "open-checks", "--format", "csv"}), 0);
    EXPECT_EQ(out.section("\r\n", 0, 0).count(','), 3) << out.toStdString();
    ASSERT_EQ(sweep({"list", "payment-cancel", "--format", "json"}), 0);
    EXPECT_TRUE(
        QJsonDocument::fromJson(out.toUtf8())[0].toObject().contains(QStringLiteral("승인번호")))
        << out.toStdString();
}

TEST_F(CommandLineTest, DeleteAsksForYesKeepsAnArchiveAndRestoreBringsTheRowsBack)
{
    const int before = deliveries();
    const QStringList range{"delete", "deliveries", "--from", "2024-06-11", "--to", "2024-06-13"};
    ASSERT_EQ(sweep(range), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("3건"))) << out.toStdString();
    EXPECT_EQ(deliveries(), before);
    EXPECT_TRUE(log().isEmpty());

    ASSERT_EQ(sweep(range + QStringList{"--yes"}), 0) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString(); // nothing to warn of
    EXPECT_EQ(deliveries(), before - 3);
    const QStringList archives = QDir(home.filePath("DB_Log/archive")).entryList({"*.sql"});
    ASSERT_EQ(archives.size(), 1);
    EXPECT_TRUE(archives.front().endsWith("-deliveries.sql"));
    EXPECT_TRUE(out.contains(archives.front()));
    EXPECT_TRUE(log().contains(QStringLiteral("배달전체삭제\r\nDELETE FROM DTD\r\n")));

    const QString archive = home.filePath("DB_Log/archive/" + archives.front());
    ASSERT_EQ(sweep({"restore", archive}), 0) << err.toStdString();
    EXPECT_EQ(deliveries(), before);
    EXPECT_TRUE(log().contains(QStringLiteral("복원\r\n") + QDir::toNativeSeparators(archive)));
    EXPECT_EQ(sweep({"restore", archive}), 3); // the keys are there again
    EXPECT_FALSE(err.isEmpty());
    EXPECT_EQ(deliveries(), before);

    // A statement added to the file: refused whole, naming its line, with nothing run.
    ASSERT_TRUE(writeFile(archive, fileBytes(archive) + "DROP TABLE DTD;\r\n"));
    EXPECT_EQ(sweep({"restore", archive}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("번째 줄: "))) << err.toStdString();
    EXPECT_EQ(deliveries(), before);
}

TEST_F(CommandLineTest, OptimiseBadDatesAndWrongCallsAnswerByExitCode)
{
    EXPECT_EQ(sweep({"optimise", "--yes"}), 0) << err.toStdString();
    EXPECT_TRUE(log().contains(QStringLiteral("DB최적화\r\nREINDEX\r\n")));
    EXPECT_EQ(sweep({"list", "deliveries", "--from", "2024-02-30", "--to", "2024-03-01"}), 2);
    EXPECT_TRUE(err.contains("2024-02-30"));
    EXPECT_EQ(sweep({"list", "tables"}), 2);
    EXPECT_TRUE(err.contains("Usage"));
}

TEST_F(CommandLineTest, AnUnreachableServerIsLoggedAsTheWindowLogsIt)
{
    // Nothing listens on the default SQL Server port here.
    EXPECT_EQ(sweep({"list", "open-checks"}, false), 1);
    EXPECT_FALSE(err.isEmpty());
    EXPECT_TRUE(log().contains(QStringLiteral("DB접속실패!\r\nFalse\r\n")));
}

} // namespace
