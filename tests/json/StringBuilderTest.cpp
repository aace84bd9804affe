#include "json/cStringBuilder.h"

#include <gtest/gtest.h>

namespace {

QString chars(int n, char16_t ch = u'x')
{
    return QString(n, QChar(ch));
}

template <typename F> int failureCode(F&& call)
{
    try {
        call();
    } catch (const cStringBuilderError& e) {
        return e.code();
    }
    return 0;
}

TEST(StringBuilder, GrowsInWholeChunks)
{
    // {chunk (0: the default), appends, capacity after them}
    // clang-format off
    const std::tuple<qint32, std::vector<int>, qint32> rows[] = {
        {0, {}, 0}, {0, {8192}, 8192}, {0, {8192, 1}, 16384}, {100, {99, 1, 1}, 200}, {1, {5, 3}, 8}};
    // clang-format on
    for (const auto& [chunk, appends, capacity] : rows) {
        SCOPED_TRACE(::testing::Message() << chunk << " " << ::testing::PrintToString(appends));
        cStringBuilder b;
        if (chunk)
            b.ChunkSize(chunk);
        QString expected;
        for (int n : appends) {
            const QString piece = chars(n, char16_t(u'a' + expected.size() % 26));
            b.Append(piece);
            expected += piece;
        }
        EXPECT_EQ(b.Capacity(), capacity);
        EXPECT_EQ(b.Length(), expected.size());
        EXPECT_EQ(b.toString(), expected);
    }
    cStringBuilder b;
    b.AppendNL("ab");
    EXPECT_EQ(b.toString(), "ab\r\n");
}

// Every edit starts from "김밥a" with chunk 4; a failure (code 9) leaves the builder as it was.
TEST(StringBuilder, EditsTheUsedTextOrFailsWithNine)
{
    // {index, length (Remove only), text (Insert only; nullptr: Remove), result (nullptr: fails)}
    // clang-format off
    const std::tuple<qint32, qint32, const char*, const char*> rows[] = {
        {0, 0, "x", "x김밥a"}, {3, 0, "x", "김밥ax"}, {1, 0, "천국!", "김천국!밥a"},
        {4, 0, "x", nullptr}, {-1, 0, "x", nullptr}, {1, 1, nullptr, "김a"},
        {3, 0, nullptr, "김밥a"}, {2, 2, nullptr, nullptr}, {-1, 1, nullptr, nullptr},
        {1, -1, nullptr, nullptr}, {1, 2147483647, nullptr, nullptr}};
    // clang-format on
    for (const auto& [index, length, text, result] : rows) {
        SCOPED_TRACE(::testing::Message() << index << " " << length << " " << (text ? text : "-"));
        cStringBuilder b;
        b.ChunkSize(4);
        b.Append("김밥a");
        const int code = failureCode([&] {
            if (text)
                b.Insert(index, QString::fromUtf8(text));
            else
                b.Remove(index, length);
        });
        const QString expected = QString::fromUtf8(result ? result : "김밥a");
        EXPECT_EQ(code, result ? 0 : int(cStringBuilderError::IndexOutOfRange));
        EXPECT_EQ(b.toString(), expected);
        EXPECT_EQ(b.Length(), expected.size());
        EXPECT_EQ(b.Capacity(), expected.size() > 4 ? 8 : 4);
    }
}

TEST(StringBuilder, GivesBackWholeChunksOnlyWhenAsked)
{
    cStringBuilder b;
    b.Append(chars(20000));
    b.Remove(0, 19000);
    EXPECT_EQ(b.Capacity(), 24576);
    b.HeapMinimize(); // at most one spare chunk stays
    EXPECT_EQ(b.Capacity(), 8192);
    EXPECT_EQ(b.toString(), chars(1000));

    b.TheString(chars(20000, u'y')); // replaces the content
    EXPECT_EQ(b.Capacity(), 24576);
    EXPECT_EQ(b.toString(), chars(20000, u'y'));
    b.TheString(QString());
    EXPECT_EQ(b.Capacity(), 0);

    b.ChunkSize(5000);
    b.Append(chars(20000));
    b.Clear(); // frees the buffer, keeps the chunk
    EXPECT_EQ(b.Capacity(), 0);
    EXPECT_EQ(b.Length(), 0);
    b.Append("a");
    EXPECT_EQ(b.Capacity(), 5000);
}

TEST(StringBuilder, ChunkSizeRefusesValuesGrowthCannotUse)
{
    cStringBuilder b;
    b.ChunkSize(0);
    EXPECT_EQ(b.ChunkSize(), 8192);
    EXPECT_EQ(failureCode([&] { b.ChunkSize(1 << 30); }), cStringBuilderError::Overflow);
    EXPECT_EQ(b.ChunkSize(), 8192);
    b.ChunkSize((1 << 30) - 1); // the largest chunk whose byte count is still 32-bit
    EXPECT_EQ(b.ChunkSize(), (1 << 30) - 1);
}

// The used text is "abcABC" in a buffer that still holds "xyz" behind it, so an occurrence that
// runs on into the spare part must not count.
TEST(StringBuilder, FindReportsOccurrencesWithinTheUsedText)
{
    // {needle, start, compare (1: ignoring case), 1-based position (0: not found)}
    const std::tuple<const char*, qint32, qint32, qint32> rows[] = {
        {"C", 0, 0, 6},  {"C", 0, 1, 3}, {"bc", 3, 0, 0}, {"C", 6, 0, 6},      {"C", 7, 0, 0},
        {"Cx", 0, 0, 0}, {"", 0, 0, 1},  {"", 7, 0, 0},   {"abcABC", -3, 0, 1}};
    cStringBuilder b;
    b.Append("abcABCxyz");
    b.Remove(6, 3);
    for (const auto& [needle, start, compare, found] : rows) {
        SCOPED_TRACE(::testing::Message() << '"' << needle << "\" " << start << " " << compare);
        EXPECT_EQ(b.Find(QString::fromUtf8(needle), start, compare), found);
    }
    cStringBuilder empty;
    EXPECT_EQ(empty.Find("a"), 0);
}

} // namespace
