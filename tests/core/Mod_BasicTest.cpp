#include "core/Mod_Basic.h"
#include "core/Cp949.h"
#include "support/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// Test texts are written in UTF-8 here and stored in CP949 as the file holds them.
QByteArray ansi(const char* utf8)
{
    return Cp949::encode(QString::fromUtf8(utf8));
}

const QByteArray kFood = ansi("[로컬ip]\r\nDBNAME=FOOD\r\n");

class ModBasic : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath("IP.ini");
};

TEST_F(ModBasic, DatabaseNameIsReadOrItsDefaultWrittenButNeverThePassword)
{
    EXPECT_EQ(Mod_Basic::iniPath(),
              QDir(QCoreApplication::applicationDirPath()).filePath("IP.ini"));
    const QString nowhere = m_dir.filePath("nope/IP.ini"); // the default when it cannot be kept
    EXPECT_EQ(Mod_Basic::Get_DBName(nowhere), "FOOD");
    EXPECT_FALSE(Mod_Basic::Write_Ini(Mod_Basic::localSection(), "DBNAME", "FOOD", nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), "FOOD"); // a missing file is created
    EXPECT_TRUE(Mod_Basic::Get_Password(m_ini).isEmpty());
    EXPECT_EQ(fileBytes(m_ini), kFood);
    ASSERT_TRUE(writeFile(m_ini, ansi("[로컬ip]\r\nDBNAME=   \r\n")));
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), "FOOD");
    EXPECT_EQ(fileBytes(m_ini), kFood);
    // Values are read from CP949 up to a NUL; a name that is there is not written again.
    const QByteArray named = ansi("[로컬ip]\r\nDBNAME =  식당DB \t\r\nPASSWORD= '비밀 1' \r\n") +
                             QByteArray("[S]\r\nK=ab\0cd\r\n", 14);
    ASSERT_TRUE(writeFile(m_ini, named));
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), QStringLiteral("식당DB"));
    EXPECT_EQ(Mod_Basic::Get_Password(m_ini), QStringLiteral("비밀 1"));
    EXPECT_EQ(Mod_Basic::Read_Ini("S", "K", m_ini), "ab");
    EXPECT_EQ(fileBytes(m_ini), named);
}

TEST_F(ModBasic, ReadOnlyFileIsLeftAloneAndReadOnlyFolderDoesNotMatter)
{
    // Root writes whatever the mode, and Windows' read-only attribute binds no folder.
#ifdef _WIN32
    GTEST_SKIP() << "the folder's mode binds nobody on Windows";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes whatever the mode";
#endif
    const QByteArray blank = ansi("[로컬ip]\r\nDBNAME=\r\n");
    ASSERT_TRUE(writeFile(m_ini, blank));
    QFile::setPermissions(m_ini, QFile::ReadOwner);
    EXPECT_FALSE(Mod_Basic::Write_Ini(QStringLiteral("로컬ip"), "DBNAME", "FOOD", m_ini));
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), "FOOD");
    EXPECT_EQ(fileBytes(m_ini), blank);
    // The value it already holds needs no write.
    EXPECT_TRUE(Mod_Basic::Write_Ini(QStringLiteral("로컬ip"), "DBNAME", "", m_ini));

    // The file is written in place, not replaced.
    QFile::setPermissions(m_ini, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(Mod_Basic::Get_DBName(m_ini), "FOOD");
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(fileBytes(m_ini), kFood);
}

} // namespace
