#include "demo/DemoDatabase.h"
#include "db/Mod_DB.h"
#include "support/Files.h"
#include "support/FixtureDatabase.h"
#include "support/QueryText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(DemoDatabase, GeneratedRowsHoldEveryKindOfDeliveryBesideTheTerminal)
{
    FixtureDatabase fixture({60, 30, 40});
    ASSERT_TRUE(fixture.isValid()) << fixture.error().toStdString();
    auto db = fixture.connect();
    EXPECT_EQ(record(*db, "SELECT MAC_ADDR FROM POS WHERE RCT_CODE='DEMO01' AND POS_ID='01'"),
              QLatin1String(DemoTerminal::macAddress));
    // Every kind of delivery the areas tell apart is among the generated ones.
    EXPECT_GT(record(*db, "SELECT min(sum(DTD_STATUS=9 AND DTD_CALGU='N'), sum(DTD_STATUS<3 AND "
                          "DTD_CALGU='N'), sum(DTD_STATUS BETWEEN 3 AND 8), sum(DTD_CALGU='Y'), "
                          "sum(DTD_CALGU IS NULL), sum(DTD_MEMO IS NULL), sum(DTD_STATUS>9)) "
                          "FROM DTD WHERE DTD_SEQ>=100000")
                  .toInt(),
              0);
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
    const QByteArray script = fileBytes(SWEEP_SOURCE_DIR "/tests/fixtures/sqlserver/demo-pos.sql");
    EXPECT_TRUE(QString::fromUtf8(script).endsWith(demoDatabaseScript(Dialect::SqlServer)))
        << "missing or stale: demoDatabaseScript(Dialect::SqlServer) writes it";
}

} // namespace
