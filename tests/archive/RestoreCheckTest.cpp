#include "archive/ArchivePreview.h"
#include "archive/ArchiveVerifier.h"
#include "archive/RestoreArchive.h"
#include "db/Mod_DB.h"
#include "support/Files.h"
#include "support/FixtureDatabase.h"
#include "support/QueryText.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString header(Dialect dialect, const QString& database, const QString& tables = "T, U")
{
    return QStringLiteral(
               "-- Sweep archive 2 (%1)\r\n"
               "-- 삭제 전에 보관한 행입니다. 이 스크립트를 실행하면 행이 되돌아갑니다.\r\n"
               "-- 시각: 2026-12-07 04:01:16\r\n"
               "-- 컴퓨터: POS-01 (192.0.2.2)\r\n"
               "-- 서버: %2\r\n"
               "-- 데이터베이스: %3\r\n"
               "-- 작업: 결제취소삭제\r\n"
               "-- 표: %4\r\n"
               "-- 삭제 문장:\r\n"
               "--   delete from T\r\n")
        .arg(dialect == Dialect::Sqlite ? "SQLite" : "SQL Server",
             dialect == Dialect::Sqlite ? "SQLite" : "(local)", database, tables);
}
constexpr int firstStatementLine = 11;

// Seals a text by the format's own rules: the closing line with the counts and the SHA-256 of
// every byte before it.
QByteArray sealed(const QString& text, const QString& counts)
{
    const QByteArray body = "\xEF\xBB\xBF" + text.toUtf8();
    return body + ("-- 끝: " + counts + "; SHA-256 ").toUtf8() +
           QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + "\r\n";
}

// Three odd values and a plain one: quote, U+0000 and bytes that are not UTF-8, binary.
const QString rows =
    QStringLiteral("INSERT INTO T (\"A\",\"B\",\"C\") VALUES (1,'it''s',X'00ff');\r\n"
                   "INSERT INTO T (\"A\",\"B\",\"C\") VALUES (2,'a'||char(0)||'b',NULL);\r\n"
                   "INSERT INTO T (\"A\",\"B\",\"C\") VALUES (3,CAST(X'C3FF' AS TEXT),X'');\r\n"
                   "INSERT INTO U (\"A\") VALUES (-7.5e-1);\r\n");
const QString counts = QStringLiteral("T 3, U 1");

} // namespace

// One statement after a valid first insert; the reason it is refused for, or "" when taken.
struct FormRow
{
    Dialect dialect;
    QString statement;
    QString refusal;
};

class StatementForms : public testing::TestWithParam<FormRow>
{
};

TEST_P(StatementForms, OnlyTheWritersOwnFormsPass)
{
    const FormRow& row = GetParam();
    const bool server = row.dialect == Dialect::SqlServer;
    const QString first =
        server ? "INSERT INTO T ([A]) VALUES (1);\r\n" : "INSERT INTO T (\"A\") VALUES (1);\r\n";
    const QString text = header(row.dialect, "FOOD") + first + row.statement;
    const qsizetype inserts = text.count("INSERT INTO T ");
    const qsizetype ofU = text.count("INSERT INTO U ");
    const ArchiveCheck check =
        verifyArchive(sealed(text, QStringLiteral("T %1, U %2").arg(inserts).arg(ofU)));
    if (row.refusal.isEmpty()) {
        EXPECT_TRUE(check.verified) << check.refusalText().toStdString();
        EXPECT_EQ(check.rows, inserts + ofU);
    } else {
        EXPECT_FALSE(check.verified);
        EXPECT_EQ(check.refusalText(),
                  QStringLiteral("%1번째 줄: ").arg(firstStatementLine + 1) + row.refusal);
    }
}

const QString notOurs = "보관 파일이 쓰는 문장이 아닙니다 (INSERT INTO 만 있을 수 있습니다)";
const QString after = "문장이 ; 와 줄 끝으로 끝나지 않고 뒤에 다른 것이 있습니다";
const QString notValue = "값이 아닌 것이 있습니다";

INSTANTIATE_TEST_SUITE_P(
    Archive, StatementForms,
    testing::Values(
        FormRow{Dialect::Sqlite, "DROP TABLE PE;\r\n", notOurs},
        FormRow{Dialect::Sqlite, "DELETE FROM PE;\r\n", notOurs},
        FormRow{Dialect::Sqlite, "UPDATE PE SET PE_TOT=0;\r\n", notOurs},
        FormRow{Dialect::Sqlite, "ATTACH DATABASE 'e.db' AS evil;\r\n", notOurs},
        FormRow{Dialect::Sqlite, "insert into T (\"A\") VALUES (2);\r\n", notOurs},
        FormRow{Dialect::Sqlite, "SET IDENTITY_INSERT T ON;\r\n", notOurs},
        FormRow{Dialect::Sqlite, "INSERT INTO POS (\"A\") VALUES (2);\r\n",
                "헤더의 표에 없는 표입니다: POS"},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES (2); DROP TABLE PE;\r\n", after},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES ('x'); --');\r\n", after},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES ((SELECT 1));\r\n", notValue},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES (abs(1));\r\n", notValue},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES (0x10);\r\n",
                "값 뒤에는 , 또는 ) 가 와야 합니다"},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES (N'x');\r\n", notValue},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES (2,3);\r\n",
                "열은 1개인데 값은 2개입니다"},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\nB\") VALUES (2);\r\n",
                "열 이름이 닫히지 않았습니다"},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"B\") VALUES (2);\r\n",
                "같은 표의 INSERT 가 다른 열을 씁니다"},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES (X'0F0');\r\n",
                "16진수 값이 잘못되었습니다"},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES (nan);\r\n", notValue},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES ('ab'||char(1114112));\r\n",
                "문자 번호가 잘못되었습니다"},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES ('a\r\n''b'||char(1114111));\r\n",
                ""},
        FormRow{Dialect::Sqlite, "INSERT INTO T (\"A\") VALUES (-.5E+3);\r\n", ""},
        FormRow{Dialect::SqlServer, "INSERT INTO T ([A]) VALUES (2) DROP TABLE DTD\r\n", after},
        FormRow{Dialect::SqlServer, "INSERT INTO T ([A]) VALUES ('x'+N'y');\r\n",
                "값 뒤에는 , 또는 ) 가 와야 합니다"},
        FormRow{Dialect::SqlServer, "INSERT INTO T ([A]) VALUES (CAST(N'' AS nvarchar(max)));\r\n",
                notValue},
        FormRow{Dialect::SqlServer,
                "INSERT INTO T ([A]) VALUES (CAST(N'' AS nvarchar(max))+N'a'+NCHAR(0));\r\n", ""},
        FormRow{Dialect::SqlServer, "INSERT INTO T ([A]) VALUES (NCHAR(65536));\r\n",
                "문자 번호가 잘못되었습니다"},
        FormRow{Dialect::SqlServer, "SET IDENTITY_INSERT T OFF;\r\n",
                "켜지지 않은 SET IDENTITY_INSERT 를 끕니다: T"},
        FormRow{Dialect::SqlServer, "SET IDENTITY_INSERT PE ON;\r\n",
                "헤더의 표에 없는 표입니다: PE"},
        FormRow{Dialect::SqlServer, "INSERT INTO U ([A]) VALUES (0x,N'a'+NCHAR(55296)+N'b');\r\n",
                "열은 1개인데 값은 2개입니다"},
        FormRow{Dialect::SqlServer,
                "SET IDENTITY_INSERT U ON;\r\nINSERT INTO U ([A],[B]]]) VALUES "
                "(0x,N'a'+NCHAR(65535));\r\n"
                "SET IDENTITY_INSERT U OFF;\r\nINSERT INTO T ([A]) VALUES "
                "('2024-06-14T13:40:12.123');\r\n",
                ""}));

// The lone surrogate, U+0000 and the bytes that are not UTF-8 come back out of the parse exactly.
TEST(ArchiveValues, OddValuesParseBackExactly)
{
    const QString server = "INSERT INTO U ([A],[B]]]) VALUES (N'a'+NCHAR(55296)+N'b',0x00Ff);\r\n";
    ArchiveStatement::Result r = ArchiveStatement::parse(server, 0, Dialect::SqlServer, true);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.parsed.columns, QStringList({"A", "B]"}));
    ASSERT_EQ(r.parsed.values.size(), 2u);
    EXPECT_EQ(r.parsed.values[0].text, QString::fromUtf16(u"a\xD800"
                                                          "b",
                                                          3));
    EXPECT_EQ(r.parsed.values[1].bytes, QByteArray("\x00\xFF", 2));
    EXPECT_EQ(r.parsed.end, server.size());

    r = ArchiveStatement::parse(rows, rows.indexOf("INSERT", 10), Dialect::Sqlite, true);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.parsed.values[1].text, QString::fromUtf16(u"a\0b", 3));
}

class RestoreCheck : public testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_check
                        ->DB_Execute("CREATE TABLE T (A INTEGER PRIMARY KEY, B TEXT, C BLOB); "
                                     "CREATE TABLE U (A NUMERIC)")
                        .succeeded);
    }
    QString everything()
    {
        return queryText(*m_check, "SELECT A, hex(B), typeof(B), hex(C), typeof(C) FROM T") +
               queryText(*m_check, "SELECT A, typeof(A) FROM U") +
               queryText(*m_check, "SELECT name FROM sqlite_master ORDER BY 1") +
               queryText(*m_check, "SELECT count(*) FROM PE");
    }
    QString write(const QByteArray& bytes, const QString& name = "a.sql")
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }
    QString database() const { return m_db->databaseIdentity().database; }

    FixtureDatabase m_fixture;
    QTemporaryDir m_dir;
    const std::unique_ptr<Mod_DB> m_check = m_fixture.connect();
    const std::unique_ptr<Mod_DB> m_db = GetParam() ? m_fixture.connectOdbc() : m_fixture.connect();
};

// Forged, cut and foreign files are refused whole, naming the line; nothing reaches the database.
TEST_P(RestoreCheck, RefusedFilesChangeNothing)
{
    const QString before = everything();
    const QString h = header(Dialect::Sqlite, database());
    QByteArray changed = sealed(h + rows, counts);
    changed.replace("it''s", "it''S");
    const QByteArray whole = sealed(h + rows, counts);
    const QByteArray cut = whole.left(whole.indexOf("INSERT INTO U"));
    struct Case
    {
        QByteArray bytes;
        QString refusal;
    };
    const Case cases[] = {
        {sealed(h + rows + "DROP TABLE PE;\r\n", counts), "15번째 줄: " + notOurs},
        {cut, "13번째 줄: 끝나지 않은 보관 파일입니다 (끝 줄이 없습니다)"},
        {sealed(h, "T 0, U 0"), "되돌릴 행이 없는 보관 파일입니다"},
        {changed, "15번째 줄: SHA-256 이 맞지 않습니다: 파일이 쓰인 뒤에 바뀌었거나 잘렸습니다"},
        {sealed(h + rows, "T 2, U 1"),
         "15번째 줄: T 의 행 수가 맞지 않습니다: 적힌 수 2, INSERT 3"},
        {sealed(h + rows, "U 1, T 3"), "15번째 줄: 끝 줄의 표가 헤더의 표와 다릅니다"},
        {whole.mid(3), "1번째 줄: Sweep 보관 파일이 아닙니다 (UTF-8 BOM 으로 시작하지 않습니다)"},
        {QByteArray(whole).replace("-- 작업: 결제취소삭제\r\n", "-- 작업: \xFF\r\n"),
         "7번째 줄: UTF-8 이 아닌 바이트가 있습니다"},
        {sealed(QString(h).replace("-- 시각", "-- 時刻") + rows, counts),
         "3번째 줄: 헤더에 \"-- 시각:\" 줄이 와야 합니다"},
        {sealed(header(Dialect::SqlServer, database()) + "INSERT INTO T ([A]) VALUES (1);\r\n",
                "T 1, U 0"),
         "다른 종류의 데이터베이스에서 만든 보관 파일입니다"},
    };
    for (const Case& c : cases) {
        const RestoreOutcome outcome = restoreArchive(*m_db, {write(c.bytes)});
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_TRUE(outcome.refused);
        EXPECT_EQ(outcome.error, c.refusal);
    }
    // Finished in every byte, but its delete never committed.
    EXPECT_TRUE(restoreArchive(*m_db, {write(whole, "b.sql.part")}).refused);
    EXPECT_EQ(everything(), before);
}

TEST_P(RestoreCheck, AnotherDatabaseOnlyOnPurposeAndTheValuesComeBackExactly)
{
    const QString before = everything();
    const QString path = write(sealed(header(Dialect::Sqlite, "/pos/other.sqlite") + rows, counts));
    RestoreOutcome outcome = restoreArchive(*m_db, {path});
    EXPECT_TRUE(outcome.refused);
    EXPECT_TRUE(outcome.otherDatabase);
    EXPECT_TRUE(outcome.error.startsWith("다른 데이터베이스의 보관 파일입니다. 파일: SQLite / "
                                         "/pos/other.sqlite, 연결된 데이터베이스: ") &&
                outcome.error.endsWith(database()))
        << outcome.error.toStdString();
    EXPECT_EQ(everything(), before);

    outcome = restoreArchive(*m_db, {path, true});
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(outcome.rowsRestored, 4);
    EXPECT_EQ(outcome.rowsPerTable, RowsPerTable({{"T", 3}, {"U", 1}}));
    EXPECT_EQ(queryText(*m_check, "SELECT A, hex(B), typeof(B), hex(C), typeof(C) FROM T "
                                  "ORDER BY A") +
                  queryText(*m_check, "SELECT A, typeof(A) FROM U"),
              "A|hex(B)|typeof(B)|hex(C)|typeof(C)\n1|69742773|text|00FF|blob\n"
              "2|610062|text||null\n3|C3FF|text||blob\nA|typeof(A)\n-0.75|real\n");

    // Once back, a second run fails on the first key and leaves the rows as they are.
    const QString restored = everything();
    outcome = restoreArchive(*m_db, {path, true});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_FALSE(outcome.refused);
    EXPECT_TRUE(outcome.error.startsWith("11번째 줄의 문장이 실패했습니다: INSERT INTO T"))
        << outcome.error.toStdString();
    EXPECT_EQ(everything(), restored);
}

// Files of the earlier format: taken when every insert is the writer's and the counts agree.
TEST_P(RestoreCheck, FormatOneFilesOnlyWithMatchingCounts)
{
    const auto formatOne = [&](int countOfT) {
        return "\xEF\xBB\xBF" +
               QStringLiteral("-- Sweep archive (SQLite)\r\n"
                              "-- 삭제 전에 보관한 행입니다. 이 스크립트를 실행하면 "
                              "행이 되돌아갑니다.\r\n"
                              "-- 시각: 2026-12-06 09:30:00\r\n"
                              "-- 컴퓨터: 192.168.0.10\r\n"
                              "-- 작업: 배달전체삭제\r\n"
                              "-- 데이터베이스: %1\r\n"
                              "-- 삭제 문장:\r\n"
                              "--   DELETE FROM T\r\n"
                              "-- 행 수 T: %2\r\n"
                              "-- 행 수 U:            1\r\n")
                   .arg(database())
                   .arg(countOfT, 12)
                   .toUtf8() +
               rows.toUtf8();
    };
    const RestoreOutcome wrong = restoreArchive(*m_db, {write(formatOne(4))});
    EXPECT_EQ(wrong.error, "9번째 줄: T 의 행 수가 맞지 않습니다: 적힌 수 4, INSERT 3");
    const RestoreOutcome right = restoreArchive(*m_db, {write(formatOne(3))});
    EXPECT_TRUE(right.succeeded) << right.error.toStdString();
    EXPECT_EQ(right.rowsRestored, 4);
}

INSTANTIATE_TEST_SUITE_P(Backends, RestoreCheck, testing::Bool(),
                         [](const auto& info) { return info.param ? "Odbc" : "Sqlite"; });

// A cut file still shows what it holds, marked unfinished; a whole one shows every row.
TEST(ArchivePreview, ShowsRowsAndWhetherTheFileIsWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.sql");
    const QByteArray whole = sealed(header(Dialect::Sqlite, "x") + rows, counts);
    ASSERT_TRUE(writeFile(path, whole));
    ArchivePreview preview = previewArchive(path);
    EXPECT_TRUE(preview.finished);
    EXPECT_TRUE(preview.restorable);
    EXPECT_EQ(preview.header.work, "결제취소삭제");
    ASSERT_EQ(preview.tables.size(), 2u);
    const TextTable& t = preview.tables[0].second;
    ASSERT_EQ(t.rowCount(), 4);
    EXPECT_EQ(t.cell(0, 1), "B");
    EXPECT_EQ(t.cell(1, 1), "it's");
    EXPECT_EQ(t.cell(1, 2), "0x00FF");
    EXPECT_EQ(t.cell(2, 2), "");

    ASSERT_TRUE(writeFile(path, whole.left(whole.indexOf("INSERT INTO U"))));
    preview = previewArchive(path, ArchivePreviewDetail::Summary);
    EXPECT_FALSE(preview.finished);
    EXPECT_FALSE(preview.restorable);
    EXPECT_TRUE(preview.headerRead);
    EXPECT_EQ(preview.rowsPerTable, RowsPerTable({{"T", 3}, {"U", 0}}));
    EXPECT_TRUE(preview.tables.empty());
}
