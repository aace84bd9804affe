#include "json/cStringBuilder.h"

#include <gtest/gtest.h>

namespace {

template <typename F> int failureCode(F&& call)
{
    try {
        call();
    } catch (const cStringBuilderError& e) {
        return e.code();
    }
    return 0;
}

TEST(StringBuilder, GrowsAndShrinksInWholeChunks)
{
    cStringBuilder b;
    b.Append(QString(8192, u'x'));
    EXPECT_EQ(b.Capacity(), 8192);
    b.Append("a"); // one character past a full chunk takes one more
    EXPECT_EQ(b.Capacity(), 16384);
    b.AppendNL(QString(11805, u'x'));
    EXPECT_EQ(b.Capacity(), 24576);
    EXPECT_EQ(b.toString(), QString(8192, u'x') + "a" + QString(11805, u'x') + "\r\n");
    b.Remove(0, 19000); // keeps the capacity
    b.HeapMinimize();   // at most one spare chunk stays
    EXPECT_EQ(b.Capacity(), 8192);
    EXPECT_EQ(b.toString(), QString(998, u'x') + "\r\n");

    b.TheString(QString(20000, u'y')); // replaces the content
    EXPECT_EQ(b.Capacity(), 24576);
    EXPECT_EQ(b.toString(), QString(20000, u'y'));
    b.TheString(QString());
    EXPECT_EQ(b.Capacity(), 0);

    b.ChunkSize(0); // refused: growth could never reach its size
    EXPECT_EQ(b.ChunkSize(), 8192);
    EXPECT_EQ(failureCode([&] { b.ChunkSize(1 << 30); }), cStringBuilderError::Overflow);
    b.ChunkSize((1 << 30) - 1); // the largest chunk whose byte count is still 32-bit
    EXPECT_EQ(b.ChunkSize(), (1 << 30) - 1);
    b.ChunkSize(3);
    b.Append(QString(7, u'x')); // three chunks at once
    EXPECT_EQ(b.Capacity(), 9);
    b.Clear(); // frees the buffer, keeps the chunk
    EXPECT_TRUE(b.Capacity() == 0 && b.Length() == 0);
    b.Append("a");
    EXPECT_EQ(b.Capacity(), 3);
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
        cStringBuilder b;
        b.ChunkSize(4);
        b.Append("김밥a");
        const int code = failureCode(
            [&] { text ? b.Insert(index, QString::fromUtf8(text)) : b.Remove(index, length); });
        const QString expected = QString::fromUtf8(result ? result : "김밥a");
        EXPECT_EQ(code, result ? 0 : int(cStringBuilderError::IndexOutOfRange)) << index;
        EXPECT_EQ(b.toString(), expected) << index << " " << length;
        EXPECT_EQ(b.Capacity(), expected.size() > 4 ? 8 : 4) << index << " " << length;
    }
}

// The used text is "abcABC" in a buffer that still holds "xyz" behind it, so an occurrence that
// runs on into the spare part must not count.
TEST(StringBuilder, FindReportsOccurrencesWithinTheUsedText)
{
    // {needle, start, compare (1: ignoring case), 1-based position (0: not found)}
    const std::tuple<const char*, qint32, qint32, qint32> rows[] = {
        {"C", 0, 0, 6}, {"C", 0, 1, 3}, {"C", 6, 0, 6}, {"C", 7, 0, 0}, {"Cx", 0, 0, 0}};
    cStringBuilder b;
    EXPECT_EQ(b.Find("a"), 0);
    b.Append("abcABCxyz");
    b.Remove(6, 3);
    for (const auto& [needle, start, compare, found] : rows)
        EXPECT_EQ(b.Find(needle, start, compare), found) << needle << " " << start << compare;
}

} // namespace
