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
    struct Row
    {
        qint32 chunk; // 0: the default
        std::vector<int> appends;
        qint32 capacity;
    };
    // clang-format off
    const Row rows[] = {{0, {}, 0}, {0, {1}, 8192}, {0, {8192}, 8192}, {0, {8193}, 16384},
                        {0, {8192, 1}, 16384}, {0, {0}, 0}, {100, {250}, 300},
                        {100, {99, 1, 1}, 200}, {1, {5, 3}, 8}, {3, {1, 1, 1, 1, 1, 1, 1}, 9}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "chunk " << row.chunk << ", appends "
                                          << ::testing::PrintToString(row.appends));
        cStringBuilder b;
        if (row.chunk)
            b.ChunkSize(row.chunk);
        QString expected;
        for (int n : row.appends) {
            const QString piece = chars(n, char16_t(u'a' + expected.size() % 26));
            b.Append(piece);
            expected += piece;
        }
        EXPECT_EQ(b.Capacity(), row.capacity);
        EXPECT_EQ(b.Length(), expected.size());
        EXPECT_EQ(b.toString(), expected);
    }
    cStringBuilder b;
    b.AppendNL("ab");
    EXPECT_EQ(b.toString(), "ab\r\n");
}

// Every edit starts from "김밥a" with chunk 4; a failure leaves the builder as it was.
TEST(StringBuilder, EditsTheUsedTextOrFailsWithNine)
{
    struct Row
    {
        const char* name;
        qint32 index, length; // length: Remove only
        const char* text;     // Insert only; nullptr means Remove
        const char* result;   // nullptr means failure 9
        qint32 capacity;
    };
    // clang-format off
    const Row rows[] = {
        {"InsertAtStart", 0, 0, "x", "x김밥a", 4},
        {"InsertAtEnd", 3, 0, "x", "김밥ax", 4},
        {"InsertInsideGrows", 1, 0, "천국!", "김천국!밥a", 8},
        {"InsertNothing", 2, 0, "", "김밥a", 4},
        {"InsertPastEnd", 4, 0, "x", nullptr, 4},
        {"InsertBeforeStart", -1, 0, "x", nullptr, 4},
        {"RemoveMiddle", 1, 1, nullptr, "김a", 4},
        {"RemoveAllKeepsCapacity", 0, 3, nullptr, "", 4},
        {"RemoveNothingAtEnd", 3, 0, nullptr, "김밥a", 4},
        {"RemoveRunsPastEnd", 2, 2, nullptr, nullptr, 4},
        {"RemoveNegativeIndex", -1, 1, nullptr, nullptr, 4},
        {"RemoveNegativeLength", 1, -1, nullptr, nullptr, 4},
        {"RemoveFromPastEnd", 4, 0, nullptr, nullptr, 4},
        {"RemoveHugeLength", 1, 2147483647, nullptr, nullptr, 4},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        cStringBuilder b;
        b.ChunkSize(4);
        b.Append("김밥a");
        const int code = failureCode([&] {
            if (row.text)
                b.Insert(row.index, QString::fromUtf8(row.text));
            else
                b.Remove(row.index, row.length);
        });
        const QString result = QString::fromUtf8(row.result ? row.result : "김밥a");
        EXPECT_EQ(code, row.result ? 0 : int(cStringBuilderError::IndexOutOfRange));
        EXPECT_EQ(b.toString(), result);
        EXPECT_EQ(b.Length(), result.size());
        EXPECT_EQ(b.Capacity(), row.capacity);
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
    b.Remove(0, 1000);
    b.HeapMinimize(); // exactly one chunk spare: nothing to give back
    EXPECT_EQ(b.Capacity(), 8192);

    b.Append(chars(9000));
    b.TheString("0123456789"); // replaces the content, keeps the buffer
    EXPECT_EQ(b.Capacity(), 16384);
    EXPECT_EQ(b.toString(), "0123456789");
    b.TheString(chars(20000, u'y'));
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
    EXPECT_EQ(b.ChunkSize(), 8192);
    b.ChunkSize(0);
    b.ChunkSize(-5);
    EXPECT_EQ(b.ChunkSize(), 8192);
    EXPECT_EQ(failureCode([&] { b.ChunkSize(1 << 30); }), cStringBuilderError::Overflow);
    EXPECT_EQ(b.ChunkSize(), 8192);
    b.ChunkSize((1 << 30) - 1); // the largest chunk whose byte count is still 32-bit
    EXPECT_EQ(b.ChunkSize(), (1 << 30) - 1);
}

// The used text is "abcABC" in a buffer that still holds "xyz" and blanks behind it, so an
// occurrence that runs on into the spare part must not count.
TEST(StringBuilder, FindReportsOccurrencesWithinTheUsedText)
{
    struct Row
    {
        const char* needle;
        qint32 start, compare, found;
    };
    const Row rows[] = {{"c", 0, 0, 3},  {"C", 0, 0, 6},      {"C", 0, 1, 3}, {"c", 4, 1, 6},
                        {"bc", 2, 0, 2}, {"bc", 3, 0, 0},     {"C", 6, 0, 6}, {"C", 7, 0, 0},
                        {"Cx", 0, 0, 0}, {"C ", 0, 0, 0},     {"", 0, 0, 1},  {"", 7, 0, 0},
                        {"q", 0, 0, 0},  {"abcABC", -3, 0, 1}};
    cStringBuilder b;
    b.Append("abcABCxyz");
    b.Remove(6, 3);
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << '"' << row.needle << "\" from " << row.start
                                          << (row.compare == 1 ? " ignoring case" : ""));
        EXPECT_EQ(b.Find(QString::fromUtf8(row.needle), row.start, row.compare), row.found);
    }
    cStringBuilder empty;
    EXPECT_EQ(empty.Find("a"), 0);
    empty.ChunkSize(4);
    empty.Append("a");
    empty.Remove(0, 1);
    EXPECT_EQ(empty.Find("a"), 0);
}

} // namespace
