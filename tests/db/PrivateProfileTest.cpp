#include "db/PrivateProfile.h"
#include "db/Cp949.h"

#include <gtest/gtest.h>

namespace {

QByteArray ansi(const char* utf8)
{
    return Cp949::encode(QString::fromUtf8(utf8));
}

// 갂 and 갵: the same lead byte, trail bytes 'A' and 'a'.
const QByteArray kGak("\x81\x41");
const QByteArray kGat("\x81\x61");
const QByteArray kGa = ansi("가");

struct Read
{
    QByteArray file, section, key, expected; // the default is "dflt", the buffer 255 bytes
};

// clang-format off
const Read reads[] = {
    // Lines: any of CR, LF and CR LF ends one; bytes before the first section are passed over; a
    // UTF-8 mark is no mark but part of the first line, which then holds no header.
    {"\r\n[S]\r\n\r\na=1\n\rb=2\r", "S", "b", "2"},
    {QByteArray("\0\0junk\r\n[S]\r\nk=v", 16), "S", "k", "v"},
    {"\xEF\xBB\xBF[S]\r\nk=v\r\n[T]\r\nk=w", "S", "k", "dflt"},
    {"\xEF\xBB\xBF[S]\r\nk=v\r\n[T]\r\nk=w", "T", "k", "w"},
    // Headers.
    {" \t[ S ]\r\nk=v", "S", "k", "v"},
    {"[S]x]\r\nk=v", "S", "k", "v"},
    {"[S]key=v\r\n", "S", "key", "dflt"},
    {"[Section   \r\nk=v", "Section", "k", "v"},
    {"S]\r\nk=v", "S", "k", "dflt"},
    {"[\"S\"]\r\nk=v", "S", "k", "dflt"},
    {"[]\r\nk=v", "", "k", "v"},
    {"k=v\r\n[S]\r\n", "", "k", "dflt"},
    {"[S]\r\n[S]\r\nkey=v", "S", "key", "dflt"},
    {"[SeCtion]\r\nNaMe1=Val1", "section", "NAME1", "Val1"},
    {"[S]\r\nk=v", " S  ", "  k ", "v"},
    {"[S]\r\nk=v", "\tS", "k", "dflt"},
    // Keys and values.
    {"[S]\r\n  key \t= \t\v v x \t\r\n", "S", "key", "v x"},
    {"[S]\r\nk=a=b", "S", "k", "a=b"},
    {"[S]\r\nname3\r\n", "S", "name3", "dflt"},
    {"[S]\r\nname2=\r\n", "S", "name2", ""},
    {"[S]\r\n=val_no_key", "S", "", "val_no_key"},
    {"[S]\r\n;k=v", "S", "k", "dflt"},
    {"[S]\r\n \t;k=v", "S", ";k", "dflt"},
    {"[S]\r\nk=;nocomment", "S", "k", ";nocomment"},
    {"[S]\r\n#k=v", "S", "#k", "v"},
    {"[S]\r\nk=1\r\nk=2", "S", "k", "1"},
    {"[S]\r\n[T]\r\nk=1", "S", "k", "dflt"},
    // One pair of enclosing quotes goes.
    {"[S]\r\nk=  \"   x   \"  ", "S", "k", "   x   "},
    {"[S]\r\nk='  x '", "S", "k", "  x "},
    {"[S]\r\nk=\"   x   '", "S", "k", "\"   x   '"},
    {"[S]\r\nk=\"'x'\"", "S", "k", "'x'"},
    {"[S]\r\nk=\"", "S", "k", "\""},
    {"[S]\r\nk=''", "S", "k", ""},
    // Hangul names whose trail bytes look like ASCII letters; cuts across double-byte characters.
    {"[" + kGak + "]\r\nk=v", kGak, "k", "v"},
    {"[" + kGak + "]\r\nk=v", kGat, "k", "dflt"},
    {"[S]\r\n" + kGat + "=v", "S", kGak, "dflt"},
    {"[S]\r\n" + kGak + "b=v", "S", kGak + "B", "v"},
    {"[S]\r\n" + kGak + "b=v", "S", kGat + "B", "dflt"},
    {ansi("[로컬IP]\r\nDBNAME=FOOD"), ansi("로컬ip"), "dbname", "FOOD"},
    {"[S]\r\nk=" + QByteArray(300, 'x'), "S", "k", QByteArray(254, 'x')},
    {"[S]\r\nk=" + QByteArray(253, 'a') + kGa, "S", "k", QByteArray(253, 'a')},
    {"[S]\r\nk=" + QByteArray(252, 'a') + kGa + "x", "S", "k", QByteArray(252, 'a') + kGa},
    {"[S]\r\nk=a" + kGa.repeated(150), "S", "k", "a" + kGa.repeated(126)},
    {"[S]\r\nk=\"" + kGa.repeated(150) + "\"", "S", "k", kGa.repeated(127)},
};
// clang-format on

TEST(PrivateProfile, ReadFindsWhatWindowsFinds)
{
    for (const Read& r : reads) {
        SCOPED_TRACE(r.file.left(60).toStdString() + " / " + r.key.toStdString());
        const auto result = PrivateProfile::read(r.file, r.section, r.key, "dflt");
        EXPECT_EQ(result.value, r.expected);
        EXPECT_EQ(result.copied, r.expected.size());
    }
}

TEST(PrivateProfile, ReadCutsToTheBufferAndTrimsOnlyTheDefaultsEnd)
{
    // {file, default, buffer size, expected}
    const std::tuple<QByteArray, QByteArray, int, QByteArray> rows[] = {
        {"[S]\r\nk=val1", "", 4, "val"}, {"[S]\r\nk=val1", "", 1, ""},
        {"[S]\r\nk=val1", "", 0, ""},    {"", "   default  ", 255, "   default"},
        {"", "d\t", 255, "d\t"},         {"", "\"q\"", 255, "\"q\""},
        {"", "default", 4, "def"},       {"", "ab" + kGa, 4, "ab"}};
    for (const auto& [file, defaultValue, size, expected] : rows) {
        SCOPED_TRACE(file.toStdString() + defaultValue.toStdString());
        const auto result = PrivateProfile::read(file, "S", "k", defaultValue, size);
        EXPECT_EQ(result.value, expected);
        EXPECT_EQ(result.copied, expected.size());
    }
}

TEST(PrivateProfile, WriteChangesOnlyWhatItMust)
{
    // {before, section, key, value, after}
    // clang-format off
    const std::tuple<QByteArray, QByteArray, QByteArray, QByteArray, QByteArray> rows[] = {
        // A new section goes at the end, with CR LF, after a missing final line end.
        {"", " S ", "  k ", " \t v ", "[S]\r\nk= \t v \r\n"},
        {"[A]\rk=v", "B", "x", "y", "[A]\rk=v\r\n[B]\r\nx=y\r\n"},
        {"\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2", "\xEF\xBB\xBF[S]\r\nk=1\r\n[S]\r\nk=2\r\n"},
        {"k=1\r\n[S]\r\n", "S", "k", "2", "k=1\r\n[S]\r\nk=2\r\n"},
        // A new key goes after the section's last key, before comments and blank lines behind it.
        {";c0\r\n[S]\r\n;c1\r\nb=\r\n;c2\r\na=\r\nz=\r\n;x=\r\n", "S", "y", "",
         ";c0\r\n[S]\r\n;c1\r\nb=\r\n;c2\r\na=\r\nz=\r\ny=\r\n;x=\r\n"},
        {"[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n", "s", "c", "3", "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\nb=2\r\n"},
        {"[S]\r\n\r\n[T]\r\n", "S", "k", "v", "[S]\r\nk=v\r\n\r\n[T]\r\n"},
        {"[S]", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"[S]\na=1\n", "S", "c", "3", "[S]\na=1\nc=3\r\n"},
        {"[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "3", "[S]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n"},
        {"[S]\r\n;k=old\r\n", "S", ";k", "new", "[S]\r\n;k=new\r\n;k=old\r\n"},
        // A value is replaced after the key's own text; every other byte stays.
        {"[S]\r\nTestKey=TestValue", "s", "TESTKEY", "2", "[S]\r\nTestKey=2\r\n"},
        {"[S]\na=1\nb=2\n\n[T]\nb=5\n", "S", "B", "3", "[S]\na=1\nb=3\n\n[T]\nb=5\n"},
        {"[S]\r\n  key = old  \r\nz=1\r\n", "S", "key", "new", "[S]\r\n  key =new\r\nz=1\r\n"},
        {"[S]\r\nk=1\r\nk=2\r\n", "S", "k", "9", "[S]\r\nk=9\r\nk=2\r\n"},
        {QByteArray("\0\x01junk\r\n[S]\r\nk=1\r\n", 18), "S", "k", "2",
         QByteArray("\0\x01junk\r\n[S]\r\nk=2\r\n", 18)},
        {"[S]\r\nk = v \r\n", "S", "k", "v", "[S]\r\nk = v \r\n"},
        {"[S]\r\nk=v", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"[" + kGak + "]\r\nk=1\r\n", kGat, "k", "2", "[" + kGak + "]\r\nk=1\r\n[" + kGat + "]\r\nk=2\r\n"},
        {"[S]\r\n" + kGak + "=1\r\n", "S", kGat, "2", "[S]\r\n" + kGak + "=1\r\n" + kGat + "=2\r\n"},
        {ansi("[로컬IP]\r\ndbname=X"), ansi("로컬ip"), "DBNAME", "FOOD", ansi("[로컬IP]\r\ndbname=FOOD\r\n")},
    };
    // clang-format on
    for (const auto& [before, section, key, value, after] : rows) {
        SCOPED_TRACE(before.toStdString() + " / " + key.toStdString());
        EXPECT_EQ(PrivateProfile::write(before, section, key, value), after);
    }
}

TEST(PrivateProfile, WhatIsWrittenReadsBack)
{
    QByteArray file = ansi("; 설정\r\n[agent]\r\nURL=http://x/\r\n\r\n");
    const QByteArray names[] = {ansi("로컬ip"), "agent", kGak, kGat};
    for (int pass = 0; pass < 2; ++pass) {
        int n = 0;
        for (const QByteArray& s : names) {
            for (const QByteArray& k : names) {
                const QByteArray value = QByteArray::number(++n) + ansi("값");
                if (pass == 0)
                    file = PrivateProfile::write(file, s, k, value);
                else
                    EXPECT_EQ(PrivateProfile::read(file, s, k, "").value, value) << n;
            }
        }
    }
    EXPECT_TRUE(file.startsWith(ansi("; 설정\r\n[agent]\r\nURL=http://x/\r\n")));
}

} // namespace
