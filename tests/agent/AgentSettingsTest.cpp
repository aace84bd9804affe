#include "agent/AgentSettings.h"
#include "db/Mod_Basic.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class AgentSettingsTest : public ::testing::Test
{
protected:
    void write(const char* key, const QString& value)
    {
        ASSERT_TRUE(
            Mod_Basic::Write_Ini(AgentSettings::section(), QString::fromLatin1(key), value, m_ini));
    }
    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath(QStringLiteral("IP.ini"));
};

TEST_F(AgentSettingsTest, AMissingSectionGivesTheDefaultsAndNoPoll)
{
    const AgentSettings s = AgentSettings::read(m_ini);
    EXPECT_TRUE(s.baseUrl.isEmpty());
    EXPECT_TRUE(s.pollEnabled.isEmpty());
    EXPECT_EQ(s.pollSeconds, 30);
    EXPECT_EQ(s.hideSeconds, 10);
}

TEST_F(AgentSettingsTest, ReadsItsOwnSectionBesideTheDatabaseName)
{
    ASSERT_TRUE(Mod_Basic::Write_Ini(Mod_Basic::localSection(), QStringLiteral("DBNAME"),
                                     QStringLiteral("FOOD"), m_ini));
    write("BaseUrl", QStringLiteral("http://127.0.0.1:8080/api"));
    write("ComId", QStringLiteral("C1"));
    write("RctCode", QStringLiteral("강남01"));
    write("PosId", QStringLiteral("02"));
    write("PollEnabled", QStringLiteral("Y"));
    write("PollSeconds", QStringLiteral("15"));
    write("HideSeconds", QStringLiteral("5"));

    const AgentSettings s = AgentSettings::read(m_ini);
    EXPECT_EQ(s.baseUrl, QStringLiteral("http://127.0.0.1:8080/api/")); // the "/" is added
    EXPECT_EQ(s.comId, QStringLiteral("C1"));
    EXPECT_EQ(s.rctCode, QStringLiteral("강남01"));
    EXPECT_EQ(s.posId, QStringLiteral("02"));
    EXPECT_EQ(s.pollEnabled, QStringLiteral("Y"));
    EXPECT_EQ(s.pollSeconds, 15);
    EXPECT_EQ(s.hideSeconds, 5);
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), QStringLiteral("FOOD"));
}

TEST_F(AgentSettingsTest, UnusableIntervalsFallBackToTheDefaults)
{
    for (const QString& bad : {QStringLiteral("0"), QStringLiteral("-5"), QStringLiteral("삼십"),
                               QStringLiteral("999999999")}) {
        write("PollSeconds", bad);
        write("HideSeconds", bad);
        const AgentSettings s = AgentSettings::read(m_ini);
        EXPECT_EQ(s.pollSeconds, 30) << bad.toStdString();
        EXPECT_EQ(s.hideSeconds, 10) << bad.toStdString();
    }
}

} // namespace
