#include "core/PrivateProfile.h"
#include "core/Cp949.h"

#include <gtest/gtest.h>

namespace {

// 갂 and 갵: the same lead byte, trail bytes 'A' and 'a'.
const QByteArray kGak("\x81\x41");
const QByteArray kGat("\x81\x61");
const QByteArray kGa = Cp949::encode(QStringLiteral("가"));

struct Read
{
    QByteArray file, section, key, expected;
    QByteArray defaultValue = "dflt";
    int bufferSize = 255;
};

// clang-format off
const Read reads[] = {
    // Lines: any of CR, LF and CR LF ends one; a UTF-8 mark is no mark but part of the first
    // line, which then holds no header.
    {"\r\n[S]\r\n\r\na=1\n\rb=2\r", "S", "b", "2"},
    {"\xEF\xBB\xBF[S]\r\nk=v", "S", "k", "dflt"},
    // Headers; section and key arguments lose their spaces only.
    {" \t[ S ]\r\nk=v", " S  ", "  k ", "v"},
    {"[S]\r\nk=v", "\tS", "k", "dflt"},
    {"[S]x]\r\nk=v", "S", "k", "v"},
    {"[Section   \r\nk=v", "Section", "k", "v"},
    {"[]\r\nk=v", "", "k", "v"},
    {"[S]\r\n[S]\r\nkey=v", "S", "key", "dflt"},
    {"[SeCtion]\r\nNaMe1=Val1", "section", "NAME1", "Val1"},
    // Keys and values.
    {"[S]\r\n  key \t= \t\v v x \t\r\n", "S", "key", "v x"},
    {"[S]\r\nk=a=b", "S", "k", "a=b"},
    {"[S]\r\nname3\r\nname2=", "S", "name3", "dflt"},
    {"[S]\r\nname3\r\nname2=", "S", "name2", ""},
    {"[S]\r\n \t;k=v", "S", ";k", "dflt"},
    {"[S]\r\nk=1\r\nk=2", "S", "k", "1"},
    {"[S]\r\n[T]\r\nk=1", "S", "k", "dflt"},
    // One pair of enclosing quotes goes.
    {"[S]\r\nk=  \"   x   \"  ", "S", "k", "   x   "},
    {"[S]\r\nk='  x '", "S", "k", "  x "},
    {"[S]\r\nk=\"   x   '", "S", "k", "\"   x   '"},
    {"[S]\r\nk=\"", "S", "k", "\""},
    {"[S]\r\nk=''", "S", "k", ""},
    // Hangul names whose trail bytes look like ASCII letters.
    {"[" + kGak + "]\r\n" + kGak + "b=v", kGak, kGak + "B", "v"},
    {"[" + kGak + "]\r\nk=v", kGat, "k", "dflt"},
    // Cuts to the buffer, never through a double-byte character, after the quotes went.
    {"[S]\r\nk=" + QByteArray(300, 'x'), "S", "k", QByteArray(254, 'x')},
    {"[S]\r\nk=" + QByteArray(253, 'a') + kGa, "S", "k", QByteArray(253, 'a')},
    {"[S]\r\nk=" + QByteArray(252, 'a') + kGa + "x", "S", "k", QByteArray(252, 'a') + kGa},
    {"[S]\r\nk=\"" + kGa.repeated(150) + "\"", "S", "k", kGa.repeated(127)},
    // The default keeps all but its trailing spaces, and is cut as a value is.
    {"", "S", "k", "   d \"q\"\t", "   d \"q\"\t  "},
    {"", "S", "k", "ab", "ab" + kGa, 4},
};
// clang-format on

TEST(PrivateProfile, ReadFindsWhatWindowsFinds)
{
    for (const Read& r : reads) {
        SCOPED_TRACE(r.file.left(60).toStdString() + " / " + r.key.toStdString());
        const auto result =
            PrivateProfile::read(r.file, r.section, r.key, r.defaultValue, r.bufferSize);
        EXPECT_EQ(result.value, r.expected);
        EXPECT_EQ(result.copied, r.expected.size());
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
        // A new key goes after the section's last key, before comments and blank lines behind it.
        {";c0\r\n[S]\r\n;c1\r\nb=\r\n;c2\r\na=\r\nz=\r\n;x=\r\n", "S", "y", "",
         ";c0\r\n[S]\r\n;c1\r\nb=\r\n;c2\r\na=\r\nz=\r\ny=\r\n;x=\r\n"},
        {"[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n", "s", "c", "3", "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\nb=2\r\n"},
        {"[S]\r\n\r\n[T]\r\n", "S", "k", "v", "[S]\r\nk=v\r\n\r\n[T]\r\n"},
        {"[S]", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "3", "[S]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n"},
        // Names that differ only in a trail byte are different names.
        {"[" + kGak + "]\r\n" + kGak + "=1\r\n", kGak, kGat, "2",
         "[" + kGak + "]\r\n" + kGak + "=1\r\n" + kGat + "=2\r\n"},
        // A value is replaced after the key's own text; every other byte stays.
        {"[S]\r\nTestKey=TestValue", "s", "TESTKEY", "2", "[S]\r\nTestKey=2\r\n"},
        {"[S]\r\n  key = old  \r\nz=1\r\n", "S", "key", "new", "[S]\r\n  key =new\r\nz=1\r\n"},
        {QByteArray("\0\x01junk\r\n[S]\r\nk=1\r\n", 18), "S", "k", "2",
         QByteArray("\0\x01junk\r\n[S]\r\nk=2\r\n", 18)},
        {"[S]\r\nk = v \r\n", "S", "k", "v", "[S]\r\nk = v \r\n"},
        {"[S]\r\nk=v", "S", "k", "v", "[S]\r\nk=v\r\n"},
    };
    // clang-format on
    for (const auto& [before, section, key, value, after] : rows) {
        SCOPED_TRACE(before.toStdString() + " / " + key.toStdString());
        EXPECT_EQ(PrivateProfile::write(before, section, key, value), after);
    }
}

} // namespace
