#include "db/ScriptSplitter.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QStringList split(const QString& script, qsizetype piece)
{
    QStringList out;
    ScriptSplitter splitter([&](const QString& s) {
        out << s.trimmed();
        return true;
    });
    for (qsizetype i = 0; i < script.size(); i += piece)
        splitter.feed(QStringView(script).mid(i, piece));
    splitter.finish();
    return out;
}

} // namespace

TEST(ScriptSplitter, CutsOnlyAtSemicolonsOfTheCodeAndStopsWhenTold)
{
    const QString script = QStringLiteral(
        "-- 머리; 'x\r\nINSERT INTO T VALUES (N'가;''나', \"a;b\", [c;]]d]);\r\n"
        "/* 막; '는 */ UPDATE T SET a = 1 - 2 / 3;;  -- 끝;\r\n  ;\r\nDELETE FROM T");
    const QStringList expected{"-- 머리; 'x\r\nINSERT INTO T VALUES (N'가;''나', \"a;b\", [c;]]d])",
                               "/* 막; '는 */ UPDATE T SET a = 1 - 2 / 3",
                               "DELETE FROM T"}; // a comment alone is no statement
    // Whatever the pieces the file arrives in, the statements are the same.
    for (qsizetype piece : {qsizetype(1), qsizetype(2), qsizetype(7), script.size()})
        EXPECT_EQ(split(script, piece), expected) << "pieces of " << piece;

    EXPECT_EQ(ScriptSplitter::firstLine(u"-- a\r\n/* b\r\n c */\r\n  INSERT INTO T\r\nVALUES (1)"),
              "INSERT INTO T");
    int seen = 0;
    ScriptSplitter splitter([&](const QString&) { return ++seen < 2; });
    EXPECT_FALSE(splitter.feed(u"A; B; C;"));
    EXPECT_EQ(seen, 2);
}
