#include "TreeText.h"
#include "json/JsonReader.h"

#include <gtest/gtest.h>

namespace {

struct Quirk
{
    const char* name;
    const char* input; // UTF-8
    const char* tree;  // treeText of the result
    const char* errors;
};

// clang-format off
const Quirk quirks[] = {
    // Entry: only an object or a list is read, and nothing behind it.
    {"NotJson", "x", "~", "Invalid JSON"},
    {"EmptyText", "", "~", "Invalid JSON"},
    {"OnlyAComment", "/* only a comment */", "~", "Invalid JSON"},
    {"TextBehindIsNotRead", "[1] garbage", "[1]", ""},
    {"CommentsAround", "/* c */ {\"a\":1} // tail", "{\"a\":1}", ""},
    {"ParenthesesAreBlanks", "( {\"a\":(1)} )", "{\"a\":1}", ""},
    {"CommentsBetweenMembers", "{\"a\":1 // note\n\"b\":/* x */2}", "{\"a\":1,\"b\":2}", ""},
    {"LoneSlashIsSkipped", "{/\"a\":1}", "{\"a\":1}", ""},
    // A slash inside a line comment ends the comment: "b" starts the next key.
    {"SlashEndsLineComment", "{// see a/b\n\"k\":1}", "{\"bk\":1}", ""},

    // Keys.
    {"SingleQuotes", "{'a':'b'}", "{\"a\":\"b\"}", ""},
    {"UnquotedKey", "{a:\"b\"}", "{\"a\":\"b\"}", ""},
    {"KeyWithoutColon", "{\"a\" \"b\"}", "{\"a\":\"b\"}", "Invalid Key at position 6 : a\r\n"},
    {"BlanksDroppedFromKeys", "{first name:1, \"last name\":2}", "{\"firstname\":1,\"lastname\":2}", ""},
    {"ColonInsideSingleQuotedKey", "{'a:b':1}", "{\"a:b\":1}", ""},
    {"ColonInsideDoubleQuotedKeyEndsIt", "{\"a:b\":1}", "{}", "type mismatch: a\r\n"},
    {"EscapesNotReadInKeys", "{\"a\\nb\":1}", "{\"a\\\\nb\":1}", ""},
    {"DuplicateKeyKeepsFirst", "{\"a\":1,\"a\":2}", "{\"a\":1}", "duplicate key: a\r\n"},
    {"KoreanKeysAndValues", "{\"상호\":\"김밥천국\", \"메뉴\":['비빔밥']}",
     "{\"상호\":\"김밥천국\",\"메뉴\":[\"비빔밥\"]}", ""},

    // Commas are optional and extra ones are passed over.
    {"NoCommas", "[\"a\" \"b\" 3]", "[\"a\",\"b\",3]", ""},
    {"ExtraCommasInList", "[,1,,2,]", "[1,2]", ""},
    {"ExtraCommasInObject", "{,\"a\":1,,\"b\":2,}", "{\"a\":1,\"b\":2}", ""},

    // Literals: a malformed one in an object is stored as false/empty and its characters become
    // the next key; in a list it ends the list.
    {"MalformedTrueInObject", "{\"a\":tru}", "{\"a\":false,\"tru}\":~}",
     "Invalid Boolean at position 6 : tru}\r\nMissing '}': {\"a\":tru}\r\n"},
    {"MalformedNullInObject", "{\"a\":nul}", "{\"a\":~,\"nul}\":~}",
     "Invalid null value at position 6 : nul}\r\nMissing '}': {\"a\":nul}\r\n"},
    {"MalformedTrueEndsList", "[tru, 1]", "[]", "Invalid Boolean at position 2 : tru, 1]\r\n"},
    {"MalformedNullEndsList", "[1, nul]", "[1]", "Invalid null value at position 5 : nul]\r\n"},
    {"ObjectGoesOnAfterBrokenList", "{\"a\":[fals],\"b\":1}", "{\"a\":[],\"fals],b\":1}",
     "Invalid Boolean at position 7 : fals],\"b\":1}\r\n"},
    {"LiteralsAreCaseSensitive", "[True]", "[]", "type mismatch: True]\r\n"},

    // Numbers.
    {"Numbers", "[1.5e3,-0.25,+7,0.10,1E-2]", "[1500,-0.25,7,0.1,0.01]", ""},
    {"NumberOverflow", "[79228162514264337593543950336]", "[]", "overflow: ]\r\n"},
    {"ExponentOverflowInObject", "{\"n\":1e29}", "{}", "overflow: n\r\n"},
    {"TwentyEightDecimals", "[0.12345678901234567890123456785,0.12345678901234567890123456795]",
     "[0.1234567890123456789012345678,0.123456789012345678901234568]", ""},
    {"MalformedNumber", "[1-2]", "[]", "type mismatch: ]\r\n"},
    {"NumberRunsIntoTheEnd", "{\"a\":1", "{\"a\":~}", "Missing '}': {\"a\":1\r\n"},
    {"ListRunsIntoTheEnd", "[1", "[~]", "Missing ']': [1\r\n"},
    {"MissingBraceQuotesLast20", "{\"key\":\"a long value here\",\"n\":1",
     "{\"key\":\"a long value here\",\"n\":~}", "Missing '}': ng value here\",\"n\":1\r\n"},

    // Strings.
    {"Escapes", "[\"a\\\"b\\\\c\\/d\\'e\\b\\f\\n\\r\\t\"]",
     "[\"a\\\"b\\\\c/d'e\\u0008\\u000c\\u000a\\u000d\\u0009\"]", ""},
    {"UnknownEscapeDropsBackslash", "[\"x\\u0041\\q\"]", "[\"xAq\"]", ""},
    {"UnicodeEscapes", "[\"\\uD55C\\uae00\"]", "[\"한글\"]", ""},
    {"ShortUnicodeEscapePassesFour", "[\"\\u41zz!\"]", "[\"A!\"]", ""},
    {"OtherQuoteIsOrdinary", "[\"it's\", 'say \"hi\"']", "[\"it's\",\"say \\\"hi\\\"\"]", ""},
    {"UnterminatedString", "[\"abc", "[\"abc\"]", "Missing ']': [\"abc\r\n"},

    // Percent values: UTF-8 bytes in hexadecimal.
    {"PercentInsideString", "[\"ab%41%42\"]", "[\"AB\"]", ""},
    {"BarePercentValue", "{\"k\":%EC%95%88,\"n\":1}", "{\"k\":\"안\",\"n\":1}", ""},
    {"KoreanPercentValue", "{\"k\":\"%EA%B9%80%EB%B0%A5\"}", "{\"k\":\"김밥\"}", ""},
    {"PercentTabsRemoved", "[\"%41%09%42\"]", "[\"AB\"]", ""},
    {"PercentOddLength", "[\"%414\"]", "[\"A\\u0004\"]", ""},
    {"BackslashBeforePercent", "[\"a\\%41\"]", "[\"A\"]", ""},
    {"BarePercentBeforeBraceRunsOn", "{\"k\":%41}", "{\"k\":\"\"}", "Missing '}': {\"k\":%41}\r\n"},
    {"PercentTooShortInObject", "{\"a\":%4,\"b\":1}", "{}", "invalid percent value: a\r\n"},
    {"PercentTooShortInList", "[\"%4\", 1]", "[]", "invalid percent value: , 1]\r\n"},
    {"PercentNotHexadecimal", "{\"a\":\"%4G\"}", "{}", "invalid percent value: a\r\n"},
    // Only a comma or a double quote ends a percent value, not a single quote.
    {"PercentInSingleQuotes", "['%41', \"x\"]", "[]", "invalid percent value:  \"x\"]\r\n"},
};
// clang-format on

TEST(JsonReader, QuirksGiveTheirTreeAndErrorLines)
{
    JsonReader reader; // one reader for all: each call starts its error text afresh
    for (const Quirk& q : quirks) {
        SCOPED_TRACE(q.name);
        const JsonValue result = reader.ReadJson(QString::fromUtf8(q.input));
        EXPECT_EQ(treeText(result).toStdString(), q.tree);
        EXPECT_EQ(reader.JsonErrors().toStdString(), q.errors);
    }
}

int depthOf(const JsonValue& v)
{
    return v.isList() ? 1 + (v.list().empty() ? 0 : depthOf(v.at(0))) : 0;
}

TEST(JsonReader, ReadsFiveHundredLevelsAndReportsDeeperMembersAsTooDeep)
{
    const int max = JsonReader::MaxDepth;
    JsonReader reader;
    EXPECT_EQ(depthOf(reader.ReadJson(QString(max, u'[') + QString(max, u']'))), max);
    EXPECT_EQ(reader.JsonErrors(), QString());
    reader.ReadJson(QString(max + 1, u'[') + QString(max + 1, u']'));
    EXPECT_EQ(reader.JsonErrors(), "too deep: [" + QString(19, u']') + "\r\n");

    // Far beyond the cap the stack must still hold.
    EXPECT_TRUE(reader.ReadJson(QString(100000, u'[')).isList());
    EXPECT_TRUE(reader.JsonErrors().contains("too deep: "));
    EXPECT_TRUE(reader.ReadJson(QString("{\"a\":").repeated(100000)).isDict());
    EXPECT_TRUE(reader.JsonErrors().contains("too deep: "));
}

// A long answer full of broken literals must not make the error text grow with its square.
TEST(JsonReaderErrors, QuoteOnlyTheStartOfTheRest)
{
    QString text = "{";
    for (int i = 0; i < 20000; ++i)
        text += QString("k%1:tru,").arg(i);
    text += "}";
    JsonReader reader;
    reader.ReadJson(text);
    const QStringList lines = reader.JsonErrors().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 20000);
    EXPECT_TRUE(lines[0].startsWith("Invalid Boolean at position 5 : tru,k1:tru,"));
    EXPECT_EQ(lines[0].size(), QString("Invalid Boolean at position 4 : ").size() + 256);
}

TEST(JsonValueLookup, MissingKeysAndEmptyValuesReadAsEmptyText)
{
    JsonReader reader;
    const JsonValue v = reader.ReadJson(
        "{\"access_token\":\"토큰\",\"expires_in\":3600,\"ok\":true,\"gone\":null}");
    EXPECT_EQ(v.text("access_token"), "토큰");
    EXPECT_EQ(v.text("expires_in"), "3600");
    EXPECT_EQ(v.value("expires_in").toDecimal().toInt64(), 3600);
    EXPECT_EQ(v.text("ok"), "True");
    EXPECT_EQ(v.text("gone"), "");
    EXPECT_TRUE(v.value("gone").isNull());
    EXPECT_EQ(v.text("missing"), "");
    EXPECT_TRUE(v.value("missing").isEmpty());
    EXPECT_EQ(v.text("Access_Token"), ""); // keys are case-sensitive
    EXPECT_EQ(v.value("access_token").text("nested"), "");
    EXPECT_TRUE(v.at(0).isEmpty()); // not a list
}

} // namespace
