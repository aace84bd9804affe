#include "db/Mod_Basic.h"
#include "db/Cp949.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Test texts are written in UTF-8 here and stored in CP949 as the file holds them.
QByteArray ansi(const char* utf8)
{
    return Cp949::encode(QString::fromUtf8(utf8));
}

const QByteArray kSection = ansi("로컬ip");

class ModBasic : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath("IP.ini");
};

} // namespace

TEST_F(ModBasic, MissingFileIsCreatedWithTheDefaultDatabaseName)
{
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), "FOOD");
    EXPECT_EQ(readBytes(m_ini), "[" + kSection + "]\r\nDBNAME=FOOD\r\n");
    // The second start finds it and leaves the file alone.
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), "FOOD");
    EXPECT_EQ(readBytes(m_ini), "[" + kSection + "]\r\nDBNAME=FOOD\r\n");
}

struct DbNameRow
{
    const char* name;
    QByteArray before;
    QString expected;
    QByteArray after; // empty: the file must stay as it was
};

void PrintTo(const DbNameRow& row, std::ostream* os)
{
    *os << row.name;
}

class DbNameTable : public ModBasic, public ::testing::WithParamInterface<DbNameRow>
{
};

TEST_P(DbNameTable, ReadsOrWritesTheDefault)
{
    const DbNameRow& row = GetParam();
    writeBytes(m_ini, row.before);
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), row.expected);
    EXPECT_EQ(readBytes(m_ini), row.after.isEmpty() ? row.before : row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DbNameTable,
    ::testing::Values(
        DbNameRow{"blank_value_is_replaced", "[" + kSection + "]\r\nDBNAME=   \r\n", "FOOD",
                  "[" + kSection + "]\r\nDBNAME=FOOD\r\n"},
        DbNameRow{"blanks_around_value_dropped",
                  ansi("[로컬ip]\r\nDBNAME =  POS_매장 \t\r\n"),
                  QStringLiteral("POS_매장"),
                  {}},
        DbNameRow{
            "capital_latin_letters_in_section", ansi("[로컬IP]\r\ndbname=FOOD2\r\n"), "FOOD2", {}},
        DbNameRow{"other_section_is_not_looked_in",
                  "[" + Cp949::encode(QStringLiteral("원격ip")) + "]\r\nDBNAME=X\r\n", "FOOD",
                  "[" + Cp949::encode(QStringLiteral("원격ip")) + "]\r\nDBNAME=X\r\n[" + kSection +
                      "]\r\nDBNAME=FOOD\r\n"},
        DbNameRow{"key_added_after_password_keeps_comment",
                  "; " + kSection + "\r\n[" + kSection + "]\r\nPASSWORD=x\r\n\r\n[agent]\r\nA=1",
                  "FOOD",
                  "; " + kSection + "\r\n[" + kSection +
                      "]\r\nPASSWORD=x\r\nDBNAME=FOOD\r\n\r\n[agent]\r\nA=1"},
        DbNameRow{"quoted_value", "[" + kSection + "]\r\nDBNAME=\"FOOD \"\r\n", "FOOD ", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModBasic, ReadIniConvertsCp949BothWays)
{
    writeBytes(m_ini,
               "[" + kSection + "]\r\nDBNAME=" + Cp949::encode(QStringLiteral("식당DB")) + "\r\n");
    EXPECT_EQ(Mod_Basic::Read_Ini(QStringLiteral("로컬ip"), "DBNAME", m_ini),
              QStringLiteral("식당DB"));
    EXPECT_TRUE(Mod_Basic::Read_Ini(QStringLiteral("로컬ip"), "NONE", m_ini).isEmpty());
}

TEST_F(ModBasic, ValueIsCutAtItsFirstNul)
{
    writeBytes(m_ini, QByteArray("[S]\r\nK=ab\0cd\r\n", 14));
    EXPECT_EQ(Mod_Basic::Read_Ini("S", "K", m_ini), "ab");
}

TEST_F(ModBasic, PasswordIsReadButNeverWritten)
{
    writeBytes(m_ini, "[" + kSection + "]\r\nDBNAME=FOOD\r\n");
    EXPECT_TRUE(Mod_Basic::Get_Password(m_ini).isEmpty());
    EXPECT_EQ(readBytes(m_ini), "[" + kSection + "]\r\nDBNAME=FOOD\r\n");
    writeBytes(m_ini, ansi("[로컬ip]\r\nPASSWORD= '비밀 1' \r\n"));
    EXPECT_EQ(Mod_Basic::Get_Password(m_ini), QStringLiteral("비밀 1"));
}

TEST_F(ModBasic, DefaultIsUsedWhenItCannotBeStored)
{
    writeBytes(m_dir.filePath("plain"), "x");
    for (const QString& path : {m_dir.filePath("nope/IP.ini"), m_dir.filePath("plain/IP.ini")}) {
        EXPECT_EQ(Mod_Basic::Get_DBName(path), "FOOD") << path.toStdString();
        EXPECT_FALSE(Mod_Basic::Write_Ini(QStringLiteral("로컬ip"), "DBNAME", "FOOD", path));
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST_F(ModBasic, ReadOnlyFileIsLeftAlone)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes to read-only files";
    }
    writeBytes(m_ini, "[" + kSection + "]\r\nDBNAME=\r\n");
    QFile::setPermissions(m_ini, QFile::ReadOwner);
    EXPECT_FALSE(Mod_Basic::Write_Ini(QStringLiteral("로컬ip"), "DBNAME", "FOOD", m_ini));
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), "FOOD");
    EXPECT_EQ(readBytes(m_ini), "[" + kSection + "]\r\nDBNAME=\r\n");
}

TEST_F(ModBasic, WritableFileInReadOnlyFolderIsUpdated)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    writeBytes(m_ini, "[" + kSection + "]\r\nDBNAME=\r\n");
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), "FOOD");
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(readBytes(m_ini), "[" + kSection + "]\r\nDBNAME=FOOD\r\n");
}

TEST(ModBasicPath, FileSitsBesideTheProgram)
{
    EXPECT_EQ(Mod_Basic::iniPath(),
              QDir(QCoreApplication::applicationDirPath()).filePath("IP.ini"));
    EXPECT_EQ(Mod_Basic::localSection(), QStringLiteral("로컬ip"));
}
