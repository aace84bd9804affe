#include "agentcore/AgentSettings.h"
#include "db/Mod_Basic.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AgentSettings, AddsTheFinalSlashAndFallsBackOnUnusableIntervals)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    auto read = [&](const char* key, const char* value) {
        Mod_Basic::Write_Ini(AgentSettings::section(), key, value, ini);
        return AgentSettings::read(ini);
    };
    EXPECT_EQ(read("BaseUrl", "http://127.0.0.1:8080/api").baseUrl, "http://127.0.0.1:8080/api/");
    EXPECT_EQ(read("PollSeconds", "86400").pollSeconds, 86400); // a day at most
    EXPECT_EQ(read("PollSeconds", "86401").pollSeconds, AgentSettings::kDefaultPollSeconds);
    EXPECT_EQ(read("HideSeconds", "0").hideSeconds, AgentSettings::kDefaultHideSeconds);
}
