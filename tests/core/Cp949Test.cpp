#include "core/Cp949.h"

#include <QList>
#include <gtest/gtest.h>

TEST(Cp949Conversion, UsesTheWindowsTableAndKeepsCharactersWhole)
{
    // 갂 and 갵 are outside EUC-KR; other tables named CP949 map these bytes elsewhere.
    EXPECT_EQ(Cp949::encode(QStringLiteral("로컬ip갂갵")),
              QByteArray("\xB7\xCE\xC4\xC3ip\x81\x41\x81\x61"));
    EXPECT_EQ(Cp949::decode("\xB7\xCE\xC4\xC3ip\x81\x41\x81\x61"), QStringLiteral("로컬ip갂갵"));
    EXPECT_EQ(Cp949::encode(QStringLiteral("é中")), QByteArray("?\xF1\xE9"));
    // Nothing is dropped at the end of a text either.
    EXPECT_EQ(Cp949::decode("a\x81"), QStringLiteral("a\uFFFD"));
    EXPECT_EQ(Cp949::encode(QStringLiteral("a") + QChar(0xD800)), "a?");

    // Lead bytes run from 0x81 to 0xFE; one with nothing after it stands alone.
    const QByteArray text("a\x81\x41\xB0\xA1z\x80\xFE\xA1\xFF\xB0");
    QList<qsizetype> lengths;
    for (qsizetype i = 0; i < text.size(); i += lengths.back())
        lengths << Cp949::charLength(text, i);
    EXPECT_EQ(lengths, QList<qsizetype>({1, 2, 2, 1, 1, 2, 1, 1}));
}
