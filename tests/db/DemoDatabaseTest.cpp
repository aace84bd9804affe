#include "db/DemoDatabase.h"
#include "db/Mod_DB.h"
#include "support/FixtureDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The delivery statements as the delivery area sends them.
const QString allDatesSearch = QStringLiteral(
    " SELECT * FROM DTD \n WHERE(DTD_STATUS <3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'\r\n ORDER BY "
    "DTD_JTIME,DTD_CALGU,DTD_STATUS");
const QString allDatesDelete =
    QStringLiteral("DELETE FROM DTD\r\n where (DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'");

TextTable query(Mod_DB& db, const QString& sql)
{
    TextTable table;
    qint32 rows = 0, columns = 0;
    db.DB_Query(sql, table, rows, columns);
    EXPECT_EQ(db.DB_Status(), 1) << sql.toStdString() << ": " << db.DB_ErrText().toStdString();
    return table;
}

QString count(Mod_DB& db, const char* tableAndWhere)
{
    return query(db, QStringLiteral("SELECT count(*) FROM ") + QLatin1String(tableAndWhere))
        .cell(1, 0);
}

TEST(DemoDatabase, SampleAndGeneratedRowsHoldEveryKindOfDeliveryAndTheTerminal)
{
    FixtureDatabase fixture({5000, 300, 400});
    ASSERT_TRUE(fixture.isValid()) << fixture.error().toStdString();
    auto db = fixture.connect();
    EXPECT_EQ(query(*db, QStringLiteral("SELECT MAC_ADDR FROM POS WHERE RCT_CODE = 'DEMO01' AND "
                                        "POS_ID = '01'"))
                  .cell(1, 0),
              QLatin1String(DemoTerminal::macAddress));
    EXPECT_EQ(count(*db, "DTD"), "5020");
    EXPECT_EQ(count(*db, "PE"), "308");
    EXPECT_EQ(count(*db, "credit_temp"), "203");
    EXPECT_EQ(count(*db, "pecash_temp"), "202");
    for (const char* kind : {"DTD_STATUS=9 AND DTD_CALGU='N'", "DTD_STATUS<3 AND DTD_CALGU='N'",
                             "DTD_STATUS BETWEEN 3 AND 8", "DTD_CALGU='Y'", "DTD_CALGU IS NULL",
                             "DTD_MEMO IS NULL", "DTD_STATUS>9"})
        EXPECT_GT(
            count(*db, qPrintable(QStringLiteral("DTD WHERE DTD_SEQ>=100000 AND ") + kind)).toInt(),
            0)
            << kind;
    QStringList seqs;
    const TextTable unfinished = query(*db, allDatesSearch);
    for (int r = 1; r < unfinished.rowCount(); ++r)
        if (unfinished.cell(r, 0).toInt() < 100000)
            seqs << unfinished.cell(r, 0);
    seqs.sort();
    EXPECT_EQ(seqs.join(','), "1,15,16,17,18,3,4,8");
    // A fixed-width name keeps its blanks; NULL and empty memos are both empty.
    const TextTable some =
        query(*db, QStringLiteral("SELECT * FROM DTD WHERE DTD_SEQ IN (1, 4, 7) ORDER BY DTD_SEQ"));
    EXPECT_EQ(some.cell(1, 4), QStringLiteral("김민준       "));
    EXPECT_EQ(some.cell(1, 16), "2024-06-10 11:05:12");
    EXPECT_TRUE(some.cell(2, 5).isEmpty());
    EXPECT_TRUE(some.cell(3, 1).isEmpty());
    db->DB_Execute(allDatesDelete);
    EXPECT_EQ(query(*db, allDatesSearch).rowCount(), 1);
    EXPECT_EQ(count(*db, "DTD"), QString::number(5021 - unfinished.rowCount()));
}

TEST(DemoDatabase, RefusesAnExistingFileAndLeavesNothingOnFailure)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("새 폴더/demo-pos.sqlite"));
    QString error;
    ASSERT_TRUE(createDemoDatabase(file, {}, &error)) << error.toStdString();
    const qint64 size = QFileInfo(file).size();
    EXPECT_FALSE(createDemoDatabase(file, {}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("이미"))) << error.toStdString();
    EXPECT_EQ(QFileInfo(file).size(), size);
    EXPECT_FALSE(createDemoDatabase(file + QStringLiteral("/inner.sqlite"), {}, &error));
    EXPECT_FALSE(
        createDemoDatabase(dir.filePath(QStringLiteral("neg.sqlite")), {-1, 0, 0}, &error));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("neg.sqlite"))));
}

TEST(DemoDatabase, SqlServerFixtureScriptIsTheDemoSchemaAndRows)
{
    QFile f(QStringLiteral(SWEEP_SOURCE_DIR "/tests/fixtures/sqlserver/demo-pos.sql"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly))
        << "regenerate it with demoDatabaseScript(Dialect::SqlServer)";
    const QString expected = demoDatabaseScript(Dialect::SqlServer);
    EXPECT_TRUE(QString::fromUtf8(f.readAll()).endsWith(expected))
        << "the fixture script no longer matches the demo database";
    EXPECT_TRUE(expected.contains(QStringLiteral("N'서울시 강남구 역삼동 123-4 101호'")));
    EXPECT_TRUE(expected.contains(QStringLiteral("'2024-06-10T11:05:12'")));
}

} // namespace
