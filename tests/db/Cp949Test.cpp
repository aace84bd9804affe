#include "db/Cp949.h"

#include <gtest/gtest.h>

TEST(Cp949Conversion, UsesTheWindowsTable)
{
    // 갂 and 갵 are outside EUC-KR; other tables named CP949 map these bytes elsewhere.
    EXPECT_EQ(Cp949::encode(QStringLiteral("로컬ip갂갵")),
              QByteArray("\xB7\xCE\xC4\xC3ip\x81\x41\x81\x61"));
    EXPECT_EQ(Cp949::decode("\xB7\xCE\xC4\xC3ip\x81\x41\x81\x61"), QStringLiteral("로컬ip갂갵"));
}

TEST(Cp949Conversion, MarksWhatItCannotHold)
{
    EXPECT_EQ(Cp949::encode(QStringLiteral("é中")), QByteArray("?\xF1\xE9"));
    // Nothing is dropped at the end of a text either.
    EXPECT_EQ(Cp949::decode("a\x81"), QStringLiteral("a\uFFFD"));
    EXPECT_EQ(Cp949::encode(QStringLiteral("a") + QChar(0xD800)), "a?");
}

TEST(Cp949Conversion, CharacterLengthFollowsLeadBytes)
{
    const QByteArray text("a\x81\x41\xB0\xA1z\xB0", 7);
    EXPECT_EQ(Cp949::charLength(text, 0), 1);
    EXPECT_EQ(Cp949::charLength(text, 1), 2);
    EXPECT_EQ(Cp949::charLength(text, 3), 2);
    EXPECT_EQ(Cp949::charLength(text, 5), 1);
    EXPECT_EQ(Cp949::charLength(text, 6), 1); // a lead byte with nothing after it
}
