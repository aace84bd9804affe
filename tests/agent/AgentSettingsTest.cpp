#include "agent/AgentSettings.h"
#include "db/Mod_Basic.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(AgentSettings, ReadsItsOwnSectionWithDefaultsForWhatIsMissingOrUnusable)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    EXPECT_EQ(AgentSettings::read(ini).pollSeconds, 30); // no file at all

    auto write = [&](const char* key, const char* value) {
        ASSERT_TRUE(Mod_Basic::Write_Ini(AgentSettings::section(), QString::fromLatin1(key),
                                         QString::fromUtf8(value), ini));
    };
    write("BaseUrl", "http://127.0.0.1:8080/api");
    write("RctCode", "강남01");
    write("PollEnabled", "Y");
    write("PollSeconds", "15");
    write("HideSeconds", "0");
    AgentSettings s = AgentSettings::read(ini);
    EXPECT_EQ(s.baseUrl, QStringLiteral("http://127.0.0.1:8080/api/")); // the "/" is added
    EXPECT_EQ(s.rctCode, QStringLiteral("강남01"));
    EXPECT_EQ(s.pollEnabled, QStringLiteral("Y"));
    EXPECT_EQ(s.pollSeconds, 15);
    EXPECT_EQ(s.hideSeconds, 10);

    for (const char* bad : {"-5", "삼십", "999999999"}) {
        write("PollSeconds", bad);
        EXPECT_EQ(AgentSettings::read(ini).pollSeconds, 30) << bad;
    }
}

} // namespace
