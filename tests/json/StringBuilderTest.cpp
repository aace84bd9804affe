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

TEST(StringBuilder, StartsEmptyWithTheDefaultChunk)
{
    cStringBuilder b;
    EXPECT_EQ(b.Length(), 0);
    EXPECT_EQ(b.Capacity(), 0);
    EXPECT_EQ(b.ChunkSize(), 8192);
    EXPECT_EQ(b.toString(), QString());
}

struct Growth
{
    qint32 chunk;
    std::vector<int> appends; // lengths appended one after the other
    qint32 capacity;
};

void PrintTo(const Growth& g, std::ostream* os)
{
    *os << "chunk " << g.chunk << ", appends";
    for (int n : g.appends)
        *os << ' ' << n;
}

class StringBuilderGrowth : public ::testing::TestWithParam<Growth>
{
};

TEST_P(StringBuilderGrowth, GrowsInWholeChunks)
{
    const Growth& g = GetParam();
    cStringBuilder b;
    b.ChunkSize(g.chunk);
    QString expected;
    for (int n : g.appends) {
        const QString piece = chars(n, char16_t(u'a' + expected.size() % 26));
        b.Append(piece);
        expected += piece;
    }
    EXPECT_EQ(b.Capacity(), g.capacity);
    EXPECT_EQ(b.Length(), expected.size());
    EXPECT_EQ(b.toString(), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, StringBuilderGrowth,
                         ::testing::Values(Growth{8192, {1}, 8192}, Growth{8192, {8192}, 8192},
                                           Growth{8192, {8193}, 16384},
                                           Growth{8192, {8192, 1}, 16384}, Growth{8192, {0}, 0},
                                           Growth{100, {250}, 300}, Growth{100, {99, 1, 1}, 200},
                                           Growth{1, {5, 3}, 8},
                                           Growth{3, {1, 1, 1, 1, 1, 1, 1}, 9}));

TEST(StringBuilder, AppendNLAddsCrLf)
{
    cStringBuilder b;
    b.AppendNL("ab");
    EXPECT_EQ(b.Length(), 4);
    EXPECT_EQ(b.toString(), "ab\r\n");
}

struct Edit
{
    const char* name;
    qint32 index;
    qint32 length;      // Remove only
    const char* text;   // Insert only; nullptr means Remove
    const char* result; // nullptr means failure 9
};

void PrintTo(const Edit& e, std::ostream* os)
{
    *os << e.name;
}

class StringBuilderEdit : public ::testing::TestWithParam<Edit>
{
};

TEST_P(StringBuilderEdit, ChangesTheUsedTextOrFailsWithNine)
{
    const Edit& e = GetParam();
    cStringBuilder b;
    b.ChunkSize(4);
    b.Append("김밥a");
    const qint32 capacity = b.Capacity();
    const int code = failureCode([&] {
        if (e.text)
            b.Insert(e.index, QString::fromUtf8(e.text));
        else
            b.Remove(e.index, e.length);
    });
    if (e.result) {
        EXPECT_EQ(code, 0);
        EXPECT_EQ(b.toString(), QString::fromUtf8(e.result));
        EXPECT_EQ(b.Length(), QString::fromUtf8(e.result).size());
    } else {
        EXPECT_EQ(code, cStringBuilderError::IndexOutOfRange);
        EXPECT_EQ(b.toString(), QString::fromUtf8("김밥a"));
        EXPECT_EQ(b.Capacity(), capacity);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, StringBuilderEdit, ::testing::Values(
    Edit{"InsertAtStart", 0, 0, "x", "x김밥a"},
    Edit{"InsertAtEnd", 3, 0, "x", "김밥ax"},
    Edit{"InsertInsideGrows", 1, 0, "천국!", "김천국!밥a"},
    Edit{"InsertNothing", 2, 0, "", "김밥a"},
    Edit{"InsertPastEnd", 4, 0, "x", nullptr},
    Edit{"InsertBeforeStart", -1, 0, "x", nullptr},
    Edit{"RemoveMiddle", 1, 1, nullptr, "김a"},
    Edit{"RemoveAll", 0, 3, nullptr, ""},
    Edit{"RemoveNothingAtEnd", 3, 0, nullptr, "김밥a"},
    Edit{"RemoveRunsPastEnd", 2, 2, nullptr, nullptr},
    Edit{"RemoveNegativeIndex", -1, 1, nullptr, nullptr},
    Edit{"RemoveNegativeLength", 1, -1, nullptr, nullptr},
    Edit{"RemoveFromPastEnd", 4, 0, nullptr, nullptr},
    Edit{"RemoveHugeLength", 1, 2147483647, nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(StringBuilder, InsertGrowsByChunksAndKeepsBothSides)
{
    cStringBuilder b;
    b.ChunkSize(4);
    b.Append("abcd");
    b.Insert(2, "xy");
    EXPECT_EQ(b.toString(), "abxycd");
    EXPECT_EQ(b.Capacity(), 8);
}

TEST(StringBuilder, ClearFreesTheBufferAndKeepsTheChunk)
{
    cStringBuilder b;
    b.ChunkSize(5000);
    b.Append(chars(20000));
    b.Clear();
    EXPECT_EQ(b.Capacity(), 0);
    EXPECT_EQ(b.Length(), 0);
    EXPECT_EQ(b.ChunkSize(), 5000);
    b.Append("a");
    EXPECT_EQ(b.Capacity(), 5000);
}

TEST(StringBuilder, HeapMinimizeLeavesAtMostOneSpareChunk)
{
    cStringBuilder b;
    b.Append(chars(20000));
    EXPECT_EQ(b.Capacity(), 24576);
    b.Remove(0, 19000);
    EXPECT_EQ(b.Capacity(), 24576); // Remove keeps the capacity
    b.HeapMinimize();
    EXPECT_EQ(b.Capacity(), 8192);
    EXPECT_EQ(b.toString(), chars(1000));
    b.HeapMinimize();
    EXPECT_EQ(b.Capacity(), 8192);

    b.Remove(0, 1000);
    b.HeapMinimize(); // exactly one chunk spare: nothing to give back
    EXPECT_EQ(b.Capacity(), 8192);
}

TEST(StringBuilder, TheStringReplacesTheContent)
{
    cStringBuilder b;
    b.Append(chars(9000));
    ASSERT_EQ(b.Capacity(), 16384);
    b.TheString("0123456789");
    EXPECT_EQ(b.Capacity(), 16384);
    EXPECT_EQ(b.Length(), 10);
    EXPECT_EQ(b.toString(), "0123456789");
    b.TheString(chars(20000, u'y'));
    EXPECT_EQ(b.Capacity(), 24576);
    EXPECT_EQ(b.toString(), chars(20000, u'y'));
    b.TheString(QString());
    EXPECT_EQ(b.Capacity(), 0);
    EXPECT_EQ(b.Length(), 0);
}

TEST(StringBuilder, ChunkSizeRefusesValuesGrowthCannotUse)
{
    cStringBuilder b;
    b.ChunkSize(0);
    EXPECT_EQ(b.ChunkSize(), 8192);
    b.ChunkSize(-5);
    EXPECT_EQ(b.ChunkSize(), 8192);
    EXPECT_EQ(failureCode([&] { b.ChunkSize(1 << 30); }), cStringBuilderError::Overflow);
    EXPECT_EQ(b.ChunkSize(), 8192);
    b.ChunkSize((1 << 30) - 1); // the largest chunk whose byte count is still 32-bit
    EXPECT_EQ(b.ChunkSize(), (1 << 30) - 1);
}

struct Search
{
    const char* needle;
    qint32 start;
    qint32 compare;
    qint32 found;
};

void PrintTo(const Search& s, std::ostream* os)
{
    *os << '"' << s.needle << "\" from " << s.start << (s.compare == 1 ? " ignoring case" : "");
}

class StringBuilderFind : public ::testing::TestWithParam<Search>
{
};

// The used text is "abcABC" in a buffer that still holds "xyz" and blanks behind it, so an
// occurrence that runs on into the spare part must not count.
TEST_P(StringBuilderFind, ReportsOccurrencesWithinTheUsedText)
{
    const Search& s = GetParam();
    cStringBuilder b;
    b.Append("abcABCxyz");
    b.Remove(6, 3);
    EXPECT_EQ(b.Find(QString::fromUtf8(s.needle), s.start, s.compare), s.found);
}

INSTANTIATE_TEST_SUITE_P(Rows, StringBuilderFind,
                         ::testing::Values(Search{"c", 0, 0, 3}, Search{"C", 0, 0, 6},
                                           Search{"C", 0, 1, 3}, Search{"c", 4, 1, 6},
                                           Search{"bc", 2, 0, 2}, Search{"bc", 3, 0, 0},
                                           Search{"C", 6, 0, 6}, Search{"C", 7, 0, 0},
                                           Search{"Cx", 0, 0, 0}, Search{"C ", 0, 0, 0},
                                           Search{"", 0, 0, 1}, Search{"", 7, 0, 0},
                                           Search{"abcABC", -3, 0, 1}, Search{"q", 0, 0, 0}));

TEST(StringBuilder, FindInAnEmptyBuilderFindsNothing)
{
    cStringBuilder b;
    EXPECT_EQ(b.Find("a"), 0);
    b.ChunkSize(4);
    b.Append("a");
    b.Remove(0, 1);
    EXPECT_EQ(b.Find("a"), 0);
}

} // namespace
