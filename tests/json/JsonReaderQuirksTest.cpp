#include "TreeText.h"
#include "json/JsonReader.h"
#include "json/PercentText.h"

#include <gtest/gtest.h>

namespace {

// {input (UTF-8), treeText of the result, errors}
// clang-format off
const std::tuple<const char*, const char*, const char*> quirks[] = {
    // Only an object or a list is read; parentheses are blanks.
    {"x", "~", "Invalid JSON"}, {"/* c */ ( {\"a\":(1)} ) // tail", "{\"a\":1}", ""},
    // A slash inside a line comment ends the comment: "b" starts the next key.
    {"{// see a/b\n\"k\":1}", "{\"bk\":1}", ""},
    // Keys: quotes optional, blanks dropped, a colon ends one only outside double quotes.
    {"{a:'b', first name:1, 'c:d':2}", "{\"a\":\"b\",\"firstname\":1,\"c:d\":2}", ""},
    {"{\"a\" \"b\"}", "{\"a\":\"b\"}", "Invalid Key at position 6 : a\r\n"},
    {"{\"a:b\":1}", "{}", "type mismatch: a\r\n"},
    // Commas are optional and extra ones are passed over.
    {"[,1,,\"a\" \"b\",]", "[1,\"a\",\"b\"]", ""},
    {"{,\"a\":1,,\"b\":2,}", "{\"a\":1,\"b\":2}", ""},
    // A malformed literal in an object is stored as false/empty and its characters become the
    // next key; in a list it ends the list.
    {"{\"a\":tru}", "{\"a\":false,\"tru}\":~}",
     "Invalid Boolean at position 6 : tru}\r\nMissing '}': {\"a\":tru}\r\n"},
    {"[1, nul]", "[1]", "Invalid null value at position 5 : nul]\r\n"},
    {"[True]", "[]", "type mismatch: True]\r\n"},
    // Numbers.
    {"[1.5e3,-0.25,+7,0.10,1E-2]", "[1500,-0.25,7,0.1,0.01]", ""},
    {"{\"n\":1e29}", "{}", "overflow: n\r\n"},
    // Cut short: the last value is empty; the message quotes the last 20 characters.
    {"[1", "[~]", "Missing ']': [1\r\n"}, {"[\"abc", "[\"abc\"]", "Missing ']': [\"abc\r\n"},
    {"{\"key\":\"a long value here\",\"n\":1", "{\"key\":\"a long value here\",\"n\":~}",
     "Missing '}': ng value here\",\"n\":1\r\n"},
    // Strings.
    {"[\"a\\\"b\\\\c\\/d\\'e\\b\\f\\n\\r\\t\"]", "[\"a\\\"b\\\\c/d'e\\u0008\\u000c\\u000a\\u000d\\u0009\"]", ""},
    {"[\"x\\u0041\\q\\uD55C\\uae00\\u41zz!\"]", "[\"xAq한글A!\"]", ""},
    {"[\"it's\", 'say \"hi\"']", "[\"it's\",\"say \\\"hi\\\"\"]", ""},
    // Percent values: UTF-8 bytes in hexadecimal, quoted, bare or behind a backslash; only a
    // comma or a double quote ends one.
    {"[\"ab%41%42\", \"a\\%41\"]", "[\"AB\",\"A\"]", ""},
    {"{\"k\":%EC%95%88,\"n\":1}", "{\"k\":\"안\",\"n\":1}", ""},
    {"{\"k\":%41}", "{\"k\":\"\"}", "Missing '}': {\"k\":%41}\r\n"},
    {"{\"a\":%4,\"b\":1}", "{}", "invalid percent value: a\r\n"},
};
// clang-format on

TEST(JsonReader, QuirksGiveTheirTreeAndErrorLines)
{
    JsonReader reader; // one reader for all: each call starts its error text afresh
    for (const auto& [input, tree, errors] : quirks) {
        EXPECT_EQ(treeText(reader.ReadJson(QString::fromUtf8(input))).toStdString(), tree) << input;
        EXPECT_EQ(reader.JsonErrors().toStdString(), errors) << input;
    }
}

// Five hundred levels are read; a deeper member is reported and the stack holds far beyond. A
// long answer full of broken literals must not make the error text grow with its square.
TEST(JsonReader, LimitsHold)
{
    JsonReader reader;
    const auto nested = [](int n) { return QString(n, u'[') + QString(n, u']'); };
    EXPECT_EQ(treeText(reader.ReadJson(nested(JsonReader::MaxDepth))),
              nested(JsonReader::MaxDepth));
    EXPECT_EQ(reader.JsonErrors(), QString());
    reader.ReadJson(nested(JsonReader::MaxDepth + 1));
    EXPECT_EQ(reader.JsonErrors(), "too deep: [" + QString(19, u']') + "\r\n");
    EXPECT_TRUE(reader.ReadJson(QString(100000, u'[')).isList());
    EXPECT_TRUE(reader.ReadJson(QString("{\"a\":").repeated(100000)).isDict());
    EXPECT_TRUE(reader.JsonErrors().contains("too deep: "));

    QString text = "{";
    for (int i = 0; i < 20000; ++i)
        text += QString("k%1:tru,").arg(i);
    reader.ReadJson(text + "}");
    const QStringList lines = reader.JsonErrors().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 20000);
    EXPECT_TRUE(lines[0].startsWith("Invalid Boolean at position 5 : tru,k1:tru,"));
    EXPECT_EQ(lines[0].size(), QString("Invalid Boolean at position 5 : ").size() + 256);
}

TEST(DecodePercentText, ReadsHexadecimalUtf8)
{
    // {raw, ok, text (UTF-8)}
    // clang-format off
    const std::tuple<const char*, bool, const char*> rows[] = {
        {"  %EA%B9%80%09%41 ", true, "김A"}, // blanks around and tabs dropped
        // Odd lengths: half the length rounded to even bytes, a last single character alone.
        {"%41%4", true, "A\x04"}, {"%41%42%4", true, "AB"},
        // Malformed UTF-8 becomes U+FFFD, each byte of a cut-short sequence.
        {"%E2%82", true, "\xEF\xBF\xBD\xEF\xBF\xBD"}, {"%4", false, ""}, {"%4G", false, ""}};
    // clang-format on
    for (const auto& [raw, ok, text] : rows) {
        bool decoded = !ok;
        EXPECT_EQ(DecodePercentText(raw, &decoded), QString::fromUtf8(text)) << raw;
        EXPECT_EQ(decoded, ok) << raw;
    }
}

TEST(JsonValueLookup, MissingKeysAndEmptyValuesReadAsEmptyText)
{
    JsonReader reader;
    const JsonValue v = reader.ReadJson("{\"n\":3600,\"ok\":true,\"gone\":null,\"list\":[1]}");
    EXPECT_EQ(QStringList({v.text("n"), v.text("ok"), v.text("gone"), v.text("N")}),
              QStringList({"3600", "True", "", ""})); // keys are case-sensitive
    EXPECT_TRUE(v.value("n").value("n").isEmpty() && v.value("n").at(0).isEmpty());
    EXPECT_TRUE(v.value("list").at(1).isEmpty() && !v.value("list").at(0).isEmpty());
}

} // namespace
