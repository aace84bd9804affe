#include "core/Cp949.h"
#include "support/Files.h"
#include "support/FixtureDatabase.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
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
    QString outputFile; // standard output goes here instead, when set

    int sweep(QStringList arguments, bool demo = true)
    {
        if (demo)
            arguments = QStringList{"--demo", fixture.path()} + arguments;
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(display); // no display is needed
        process.setProcessEnvironment(environment);
        if (!outputFile.isEmpty())
            process.setStandardOutputFile(outputFile);
        process.start(QStringLiteral(SWEEP_BINARY), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    qint64 count(const QString& sql) { return firstValue(*fixture.connect(), sql).toLongLong(); }
    qint64 deliveries() { return count("SELECT COUNT(*) FROM DTD"); }

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
    // One line and where the usage is, not the whole usage.
    EXPECT_EQ(err.count('\n'), 2) << err.toStdString();
    EXPECT_TRUE(err.contains("--help"));
    // Forgetting --yes in a scheduled line must not look like a night's work done.
    EXPECT_EQ(sweep({"optimise"}), 2);
    EXPECT_TRUE(err.contains("--yes"));
    // No command and no display: which commands run instead, never an abort.
    EXPECT_EQ(sweep({}, false), 2);
    EXPECT_TRUE(err.contains("status")) << err.toStdString();
}

TEST_F(CommandLineTest, TheDryRunCountsEveryTableTheDeleteEmpties)
{
    const qint64 credit = count("SELECT COUNT(*) FROM credit_temp");
    const qint64 all = count("SELECT (SELECT COUNT(*) FROM AC_TEMP) + (SELECT COUNT(*) FROM "
                             "credit_temp) + (SELECT COUNT(*) FROM pecash_temp)");
    ASSERT_GT(credit, 0);
    ASSERT_EQ(sweep({"delete", "payment-cancel"}), 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("credit_temp: %1건\n").arg(credit)))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("삭제할 데이터: %1건").arg(all)));

    ASSERT_EQ(sweep({"delete", "payment-cancel", "--yes"}), 0) << err.toStdString();
    EXPECT_EQ(count("SELECT COUNT(*) FROM credit_temp"), 0);
    // The time it ended first, for a scheduled run's output.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d "
                                                  "삭제한 데이터: %1건\n")
                                       .arg(all))
                    .match(out)
                    .hasMatch())
        << out.toStdString();
}

TEST_F(CommandLineTest, OnlyAnOpenCheckIsDeleted)
{
    const QString checks = QStringLiteral("SELECT COUNT(*) FROM PE");
    const qint64 before = count(checks);
    // Not a number, no such check, a closed check (1001), a negative number.
    for (const QString check : {"abc", "9999", "1001", "-1"}) {
        EXPECT_EQ(sweep({"delete", "open-checks", "--check", check, "--yes"}), 3);
        EXPECT_TRUE(err.contains(check)) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    EXPECT_EQ(count(checks), before);
    EXPECT_FALSE(QDir(home.filePath("DB_Log")).exists()); // no log entry, no archive

    ASSERT_EQ(sweep({"delete", "open-checks", "--check", "1005"}), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("삭제할 데이터: 1건"))) << out.toStdString();
    ASSERT_EQ(sweep({"delete", "open-checks", "--check", "1005", "--yes"}), 0);
    EXPECT_EQ(count(checks), before - 1);
}

TEST_F(CommandLineTest, OutputThatCannotBeWrittenFailsTheCommand)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    outputFile = "/dev/full";
    EXPECT_EQ(sweep({"list", "deliveries", "--format", "csv"}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("표준 출력"))) << err.toStdString();
    EXPECT_EQ(sweep({"--help"}), 3);
}

TEST_F(CommandLineTest, TheTableKeepsEveryRowOnOneLine)
{
    fixture.connect()->DB_Execute(QStringLiteral(
        "UPDATE DTD SET DTD_MEMO = 'a' || char(10) || 'b' || char(13) || char(9) || 'c'"));
    ASSERT_EQ(sweep({"list", "deliveries"}), 0) << err.toStdString();
    // Header, rule, one line per row, the count.
    EXPECT_EQ(out.count('\n'), count("SELECT COUNT(*) FROM DTD WHERE (DTD_STATUS < 3 OR "
                                     "DTD_STATUS = 9) AND DTD_CALGU <> 'Y'") +
                                   3);
    EXPECT_TRUE(out.contains(QStringLiteral("a\\nb\\r\\tc"))) << out.toStdString();
    EXPECT_FALSE(out.contains('\r'));
    EXPECT_FALSE(out.contains('\t'));
}

TEST_F(CommandLineTest, StatusReportsTheStoreAndWritesNothing)
{
    const auto status = [&] {
        EXPECT_EQ(sweep({"status", "--format", "json"}), 0) << err.toStdString();
        return QJsonDocument::fromJson(out.toUtf8()).object();
    };
    const QString unfinished =
        QStringLiteral(" FROM DTD WHERE (DTD_STATUS < 3 OR DTD_STATUS = 9) AND DTD_CALGU <> 'Y'");
    // A file a crash left, which a start that may change something settles and logs.
    const QString left = home.filePath("DB_Log/archive/20200101-000000-deliveries.sql.part");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(left).path()) && writeFile(left, "x"));
    QJsonObject s = status();
    EXPECT_EQ(s["open_checks"].toInteger(), count("SELECT COUNT(*) FROM PE WHERE PE_CK = '0'"));
    EXPECT_EQ(s["unfinished_deliveries"].toInteger(), count("SELECT COUNT(*)" + unfinished));
    EXPECT_EQ(s["payment_cancel_rows"].toInteger(),
              count("SELECT (SELECT COUNT(*) FROM AC_TEMP) + (SELECT COUNT(*) FROM credit_temp) + "
                    "(SELECT COUNT(*) FROM pecash_temp)"));
    EXPECT_EQ(s["oldest_unfinished_delivery"].toString(),
              firstValue(*fixture.connect(), "SELECT MIN(DTD_EDATE)" + unfinished));
    EXPECT_EQ(s["database_bytes"].toInteger(), QFileInfo(fixture.path()).size());
    EXPECT_TRUE(s["last_optimise"].isNull());
    EXPECT_EQ(s["archive_files"].toInteger(), 0);
    EXPECT_TRUE(log().isEmpty()) << log().toStdString();
    EXPECT_TRUE(QFileInfo::exists(left));

    ASSERT_EQ(sweep({"optimise", "--yes"}), 0);
    ASSERT_EQ(sweep({"delete", "deliveries", "--yes"}), 0);
    s = status();
    EXPECT_EQ(s["unfinished_deliveries"].toInteger(), 0);
    EXPECT_TRUE(s["oldest_unfinished_delivery"].isNull());
    EXPECT_TRUE(QDateTime::fromString(s["last_optimise"].toString(), Qt::ISODate).isValid())
        << out.toStdString();
    const QFileInfoList archives =
        QDir(home.filePath("DB_Log/archive")).entryInfoList({"*.sql"}, QDir::Files);
    ASSERT_EQ(archives.size(), 1);
    EXPECT_EQ(s["archive_files"].toInteger(), 1);
    EXPECT_EQ(s["archive_bytes"].toInteger(), archives.front().size());

    // A count the database refuses: exit 3 with its words, not a report of zeros.
    fixture.connect()->DB_Execute("DROP TABLE pecash_temp");
    EXPECT_EQ(sweep({"status"}), 3);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("pecash_temp")) << err.toStdString();

    // An unreachable server: exit 1, and still no log entry.
    QDir(home.filePath("DB_Log")).removeRecursively();
    EXPECT_EQ(sweep({"status"}, false), 1);
    EXPECT_FALSE(QDir(home.filePath("DB_Log")).exists());
}

TEST_F(CommandLineTest, AnUnreachableServerIsLoggedAsTheWindowLogsIt)
{
    // Nothing listens on the default SQL Server port here.
    EXPECT_EQ(sweep({"list", "open-checks"}, false), 1);
    EXPECT_FALSE(err.isEmpty());
    EXPECT_TRUE(log().contains(QStringLiteral("DB접속실패!\r\nFalse\r\n")));
}

} // namespace
