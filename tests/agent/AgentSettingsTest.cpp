#include "agentcore/AgentSettings.h"
#include "db/Mod_Basic.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AgentSettings, AddsTheFinalSlashAndFallsBackOnUnusableIntervals)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    auto write = [&](const char* key, const char* value) {
        Mod_Basic::Write_Ini(AgentSettings::section(), QString::fromLatin1(key),
                             QString::fromUtf8(value), ini);
    };
    write("BaseUrl", "http://127.0.0.1:8080/api");
    write("PollSeconds", "15");
    write("HideSeconds", "999999999");
    const AgentSettings s = AgentSettings::read(ini);
    EXPECT_EQ(s.baseUrl, QStringLiteral("http://127.0.0.1:8080/api/"));
    EXPECT_EQ(s.pollSeconds, 15);
    EXPECT_EQ(s.hideSeconds, AgentSettings::kDefaultHideSeconds);
}
