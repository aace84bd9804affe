#include "db/DemoDatabase.h"
#include "db/Mod_DB.h"
#include "support/FixtureDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The delivery statements exactly as the delivery area sends them.
const QString allDatesSearch = QStringLiteral(
    " SELECT * FROM DTD \n WHERE(DTD_STATUS <3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'\r\n ORDER BY "
    "DTD_JTIME,DTD_CALGU,DTD_STATUS");
const QString allDatesDelete =
    QStringLiteral("DELETE FROM DTD\r\n where (DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'");

QString rangeSearch(const QString& from, const QString& to)
{
    return QStringLiteral(" SELECT * FROM DTD \n WHERE (DTD_EDATE BETWEEN '%1'\r\n AND  '%2'\r\n "
                          "AND(DTD_STATUS <3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y')\r\n ORDER BY "
                          "DTD_JTIME,DTD_CALGU,DTD_STATUS")
        .arg(from, to);
}

struct Result
{
    TextTable table;
    qint32 rows = 0;
    qint32 columns = 0;
};

Result query(Mod_DB& db, const QString& sql)
{
    Result r;
    db.DB_Query(sql, r.table, r.rows, r.columns);
    EXPECT_EQ(db.DB_Status(), 1) << sql.toStdString() << ": " << db.DB_ErrText().toStdString();
    return r;
}

QString scalar(Mod_DB& db, const QString& sql)
{
    const Result r = query(db, sql);
    return r.rows > 0 ? r.table.cell(1, 0) : QString();
}

} // namespace

TEST(DemoDatabase, ColumnsStandWhereTheGridsReadThem)
{
    FixtureDatabase fixture;
    auto db = fixture.connect();
    const Result ac = query(
        *db, QStringLiteral(" SELECT A.* \n FROM AC_TEMP A \r\n ORDER BY A.PE_ID, A.AC_NO \n"));
    ASSERT_GE(ac.columns, 18);
    EXPECT_EQ(ac.table.cell(0, 1), "AC_DATE");
    EXPECT_EQ(ac.table.cell(0, 10), "AC_AMT");
    EXPECT_EQ(ac.table.cell(0, 15), "AC_CARDNM");
    EXPECT_EQ(ac.table.cell(0, 17), "AC_APPNO");

    const Result d = query(*db, allDatesSearch);
    ASSERT_GE(d.columns, 17);
    const std::pair<int, const char*> places[] = {
        {0, "DTD_SEQ"}, {1, "DTD_TEL"}, {4, "DTD_NAME"}, {5, "DTD_MEMO"}, {16, "DTD_RDATE"}};
    for (const auto& [place, name] : places)
        EXPECT_EQ(d.table.cell(0, place), name);

    const Result pe =
        query(*db, QStringLiteral("SELECT PE_NTBID,PE_ID,PE_DATE,PE_TOT FROM PE\nWHERE PE_CK=0"));
    EXPECT_EQ(pe.columns, 4);
    const Result pos = query(*db, QStringLiteral(" SELECT MAC_ADDR \n FROM POS \n WHERE RCT_CODE = "
                                                 "'DEMO01'  \n AND POS_ID = '01' \n"));
    ASSERT_EQ(pos.rows, 1);
    EXPECT_EQ(pos.table.cell(1, 0), QLatin1String(DemoTerminal::macAddress));
}

TEST(DemoDatabase, PaymentsOfSeveralChecksCardAndCash)
{
    FixtureDatabase fixture;
    auto db = fixture.connect();
    const Result ac = query(
        *db, QStringLiteral(" SELECT A.* \n FROM AC_TEMP A \r\n ORDER BY A.PE_ID, A.AC_NO \n"));
    ASSERT_EQ(ac.rows, 6);
    QStringList order;
    for (int r = 1; r <= ac.rows; ++r)
        order << ac.table.cell(r, 0) + QLatin1Char('/') + ac.table.cell(r, 2);
    EXPECT_EQ(order.join(QLatin1Char(' ')), "1003/1 1003/2 1004/1 1004/2 1005/1 1008/1");
    // Card: type and approval number; cash: both empty (NULL or empty text alike).
    EXPECT_EQ(ac.table.cell(1, 15), QStringLiteral("신한카드"));
    EXPECT_EQ(ac.table.cell(1, 17), "30012345");
    EXPECT_EQ(ac.table.cell(1, 1), "2024-06-13 19:02:31");
    EXPECT_EQ(ac.table.cell(1, 10), "20000");
    for (int r : {2, 6}) {
        EXPECT_TRUE(ac.table.cell(r, 15).isEmpty()) << r;
        EXPECT_TRUE(ac.table.cell(r, 17).isEmpty()) << r;
    }
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM credit_temp")), "3");
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM pecash_temp")), "2");
}

TEST(DemoDatabase, OpenAndSettledChecks)
{
    FixtureDatabase fixture;
    auto db = fixture.connect();
    const Result open =
        query(*db, QStringLiteral("SELECT PE_NTBID,PE_ID,PE_DATE,PE_TOT FROM PE\nWHERE PE_CK=0"));
    EXPECT_EQ(open.rows, 5);
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM PE WHERE PE_CK<>'0'")), "3");
    db->DB_Execute(QStringLiteral("DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1004'"));
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM PE WHERE PE_CK=0")), "4");
    db->DB_Execute(QStringLiteral("DELETE FROM PE WHERE PE_CK='0'"));
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM PE")), "3");
}

TEST(DemoDatabase, UnfinishedDeliveriesAreExactlyTheListedOnes)
{
    FixtureDatabase fixture;
    auto db = fixture.connect();
    const Result all = query(*db, allDatesSearch);
    ASSERT_EQ(all.rows, 8);
    QStringList seqs, times;
    for (int r = 1; r <= all.rows; ++r) {
        seqs << all.table.cell(r, 0);
        times << all.table.cell(r, 8);
    }
    QStringList sortedTimes = times;
    sortedTimes.sort();
    EXPECT_EQ(times, sortedTimes);
    seqs.sort();
    EXPECT_EQ(seqs.join(QLatin1Char(',')), "1,15,16,17,18,3,4,8");

    // Fixed-width name kept with its blanks; NULL memo and empty memo both empty.
    const Result first =
        query(*db, QStringLiteral("SELECT * FROM DTD WHERE DTD_SEQ IN (1, 4, 7) ORDER BY DTD_SEQ"));
    ASSERT_EQ(first.rows, 3);
    EXPECT_EQ(first.table.cell(1, 4), QStringLiteral("김민준       "));
    EXPECT_EQ(first.table.cell(1, 16), "2024-06-10 11:05:12");
    EXPECT_TRUE(first.table.cell(2, 5).isEmpty());
    EXPECT_TRUE(first.table.cell(3, 1).isEmpty());

    const std::tuple<const char*, const char*, int> ranges[] = {
        {"2024-06-11", "2024-06-13", 3}, // both ends included
        {"2024-06-10", "2024-06-10", 2},
        {"2024-06-14", "2024-06-10", 0}, // first after last
        {"2024-01-01", "2024-12-31", 8},
    };
    for (const auto& [from, to, count] : ranges)
        EXPECT_EQ(query(*db, rangeSearch(QLatin1String(from), QLatin1String(to))).rows, count)
            << from << " ~ " << to;

    db->DB_Execute(allDatesDelete);
    ASSERT_EQ(db->DB_Status(), 1) << db->DB_ErrText().toStdString();
    EXPECT_EQ(query(*db, allDatesSearch).rows, 0);
    // What stays: statuses 3 to 8 and 10, the paid ones and the ones without a flag.
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM DTD")), "12");
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM DTD WHERE DTD_CALGU IS NULL")), "2");
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM DTD WHERE DTD_CALGU = 'Y'")), "3");
    EXPECT_EQ(
        scalar(*db, QStringLiteral("SELECT count(*) FROM DTD WHERE DTD_STATUS BETWEEN 3 AND 8")),
        "7");
}

TEST(DemoDatabase, SizeAddsRowsWithTheSameMix)
{
    const DemoSize size{5000, 300, 400};
    QElapsedTimer timer;
    timer.start();
    FixtureDatabase fixture(size);
    ASSERT_TRUE(fixture.isValid()) << fixture.error().toStdString();
    const qint64 ms = timer.elapsed();
    auto db = fixture.connect();
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM DTD")), "5020");
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM PE")), "308");
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM AC_TEMP")), "406");
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM credit_temp")), "203");
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM pecash_temp")), "202");
    // Every kind of delivery occurs among the generated ones.
    for (const char* where : {"DTD_STATUS=9 AND DTD_CALGU='N'", "DTD_STATUS<3 AND DTD_CALGU='N'",
                              "DTD_STATUS BETWEEN 3 AND 8", "DTD_CALGU='Y'", "DTD_CALGU IS NULL",
                              "DTD_MEMO IS NULL", "DTD_STATUS>9"})
        EXPECT_GT(
            scalar(*db, QStringLiteral("SELECT count(*) FROM DTD WHERE DTD_SEQ>=100000 AND ") +
                            QLatin1String(where))
                .toInt(),
            0)
            << where;
    const int unfinished = query(*db, allDatesSearch).rows;
    EXPECT_GT(unfinished, 8);
    db->DB_Execute(allDatesDelete);
    EXPECT_EQ(scalar(*db, QStringLiteral("SELECT count(*) FROM DTD")),
              QString::number(5020 - unfinished));
    RecordProperty("create_ms_5000_deliveries", int(ms));
}

TEST(DemoDatabase, RefusesAnExistingFileAndLeavesNothingOnFailure)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("새 폴더/demo-pos.sqlite"));
    QString error;
    ASSERT_TRUE(createDemoDatabase(file, {}, &error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(file));
    const qint64 size = QFileInfo(file).size();

    EXPECT_FALSE(createDemoDatabase(file, {}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("이미"))) << error.toStdString();
    EXPECT_EQ(QFileInfo(file).size(), size);

    // A folder that cannot be made (a file stands in its place).
    const QString blocked = file + QStringLiteral("/inner.sqlite");
    EXPECT_FALSE(createDemoDatabase(blocked, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(
        createDemoDatabase(dir.filePath(QStringLiteral("neg.sqlite")), {-1, 0, 0}, &error));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("neg.sqlite"))));
}

TEST(DemoDatabase, SqlServerFixtureScriptIsTheDemoSchemaAndRows)
{
    QFile f(QStringLiteral(SWEEP_SOURCE_DIR "/tests/fixtures/sqlserver/demo-pos.sql"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly))
        << "regenerate it with demoDatabaseScript(Dialect::SqlServer)";
    const QString script = QString::fromUtf8(f.readAll());
    const QString expected = demoDatabaseScript(Dialect::SqlServer);
    EXPECT_TRUE(script.endsWith(expected))
        << "the fixture script no longer matches the demo database";
    EXPECT_TRUE(expected.contains(QStringLiteral("N'서울시 강남구 역삼동 123-4 101호'")));
    EXPECT_TRUE(expected.contains(QStringLiteral("'2024-06-10T11:05:12'")));
}
