// The reader against two public test suites read from the shared peers folder. JSONTestSuite's y_
// files are standard JSON and must give the tree nlohmann::json gives; n_ and i_ files only have to
// end quietly. json5-tests files must all end quietly; those built from features this reader has
// give the trees listed here.
#include "TreeText.h"
#include "json/JsonReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

// The folder of one peer suite, or empty when the shared peers folder is missing.
QString peerDir(const char* suite)
{
    const QString dir = QStringLiteral(SWEEP_SHARED_DIR "/peers/") + QString::fromLatin1(suite);
    return QDir(dir).exists() ? dir : QString();
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Reading
{
    JsonValue tree;
    QString errors;
    qint64 milliseconds;
};

Reading readBytes(const QByteArray& bytes)
{
    JsonReader reader;
    QElapsedTimer clock;
    clock.start();
    Reading r{reader.ReadJson(QString::fromUtf8(bytes)), {}, 0};
    r.milliseconds = clock.elapsed();
    r.errors = reader.JsonErrors();
    return r;
}

// A bound for "no hang", not a speed goal (speed is the benchmarks' job): generous enough for a
// sanitizer build on a busy machine.
constexpr qint64 SlowMilliseconds = 10000;

// Empty when the trees agree, otherwise where they part.
QString difference(const JsonValue& ours, const Json& theirs, const QString& path = "$")
{
    auto text = [](const std::string& s) {
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    };
    if (theirs.is_structured()) {
        const bool object = theirs.is_object();
        const qsizetype size = object ? (ours.isDict() ? ours.dict().size() : -1)
                                      : (ours.isList() ? qsizetype(ours.list().size()) : -1);
        if (size != qsizetype(theirs.size()))
            return path + ": not a container of " + QString::number(theirs.size());
        qsizetype i = 0;
        for (const auto& [key, value] : theirs.items()) {
            const QString at = object ? path + "." + text(key) : path + "[" + text(key) + "]";
            if (object && ours.dict().keyAt(i) != text(key))
                return at + ": key " + ours.dict().keyAt(i);
            const JsonValue& mine = object ? ours.dict().valueAt(i) : ours.list()[size_t(i)];
            if (QString d = difference(mine, value, at); !d.isEmpty())
                return d;
            ++i;
        }
        return {};
    }
    bool same = false;
    if (theirs.is_string())
        same = ours.isText() && ours.toText() == text(theirs.get_ref<const std::string&>());
    else if (theirs.is_boolean())
        same = ours.isBool() && ours.toBool() == theirs.get<bool>();
    else if (theirs.is_null())
        same = ours.isNull();
    else if (ours.isNumber() && theirs.is_number_integer())
        same = ours.toDecimal() == Decimal::fromInt64(theirs.get<qint64>());
    else if (ours.isNumber()) {
        // A double only approximates the text; the decimal is exact to 28 places.
        const double a = ours.toDecimal().toDouble(), b = theirs.get<double>();
        same = std::abs(a - b) <= 1e-15 * std::max(std::abs(a), std::abs(b)) ||
               std::abs(a - b) < 1e-28;
    }
    return same ? QString() : path + ": " + treeText(ours);
}

struct Expected
{
    const char* tree;
    const char* errors;
};

// Standard JSON files where the reader parts from the standard on purpose.
const std::map<std::string, Expected> standardExceptions = {
    // Only an object or a list is read at the top.
    {"y_structure_lonely_false.json", {"~", "Invalid JSON"}},
    {"y_structure_lonely_int.json", {"~", "Invalid JSON"}},
    {"y_structure_lonely_negative_real.json", {"~", "Invalid JSON"}},
    {"y_structure_lonely_null.json", {"~", "Invalid JSON"}},
    {"y_structure_lonely_string.json", {"~", "Invalid JSON"}},
    {"y_structure_lonely_true.json", {"~", "Invalid JSON"}},
    {"y_structure_string_empty.json", {"~", "Invalid JSON"}},
    {"y_string_space.json", {"~", "Invalid JSON"}},
    // Beyond the decimal's range.
    {"y_number.json", {"[]", "overflow: ]\r\n"}},
    {"y_number_real_exponent.json", {"[]", "overflow: ]\r\n"}},
    {"y_number_real_fraction_exponent.json", {"[]", "overflow: ]\r\n"}},
    // The first of two equal keys is kept and the duplicate reported.
    {"y_object_duplicated_key.json", {"{\"a\":\"b\"}", "duplicate key: a\r\n"}},
    {"y_object_duplicated_key_and_value.json", {"{\"a\":\"b\"}", "duplicate key: a\r\n"}},
    // Keys are taken as written: escapes are not read in them.
    {"y_object_escaped_null_in_key.json", {"{\"foo\\\\u0000bar\":42}", ""}},
};

// Invalid JSON the tolerant reader reads without a complaint: missing, extra and trailing commas,
// single quotes and unquoted keys, comments, "*" and text behind the top-level value, numbers
// any decimal conversion takes ("+1", ".2e-3", "01"), escapes it passes over and raw control
// characters in strings.
// clang-format off
const std::vector<std::string> acceptedInvalid = {
    "n_array_1_true_without_comma.json", "n_array_comma_after_close.json",
    "n_array_comma_and_number.json", "n_array_double_comma.json", "n_array_double_extra_comma.json",
    "n_array_extra_close.json", "n_array_extra_comma.json", "n_array_inner_array_no_comma.json",
    "n_array_just_comma.json", "n_array_missing_value.json", "n_array_number_and_comma.json",
    "n_array_number_and_several_commas.json", "n_array_star_inside.json", "n_number_+1.json",
    "n_number_-01.json", "n_number_-2..json", "n_number_.2e-3.json", "n_number_0.e1.json",
    "n_number_1_000.json", "n_number_2.e+3.json", "n_number_2.e-3.json", "n_number_2.e3.json",
    "n_number_neg_int_starting_with_zero.json", "n_number_neg_real_without_int_part.json",
    "n_number_real_without_fractional_part.json", "n_number_starting_with_dot.json",
    "n_number_with_leading_zero.json", "n_object_bracket_key.json",
    "n_object_key_with_single_quotes.json",
    "n_object_lone_continuation_byte_in_key_and_trailing_comma.json", "n_object_missing_key.json",
    "n_object_non_string_key.json", "n_object_non_string_key_but_huge_number_instead.json",
    "n_object_several_trailing_commas.json", "n_object_single_quote.json",
    "n_object_trailing_comma.json", "n_object_trailing_comment.json",
    "n_object_trailing_comment_open.json", "n_object_trailing_comment_slash_open.json",
    "n_object_trailing_comment_slash_open_incomplete.json", "n_object_two_commas_in_a_row.json",
    "n_object_unquoted_key.json", "n_object_with_trailing_garbage.json",
    "n_string_backslash_00.json", "n_string_escape_x.json", "n_string_escaped_ctrl_char_tab.json",
    "n_string_escaped_emoji.json", "n_string_incomplete_surrogate_escape_invalid.json",
    "n_string_invalid_backslash_esc.json", "n_string_invalid_unicode_escape.json",
    "n_string_invalid_utf8_after_escape.json", "n_string_single_quote.json",
    "n_string_unescaped_ctrl_char.json", "n_string_unescaped_newline.json",
    "n_string_unescaped_tab.json", "n_structure_array_trailing_garbage.json",
    "n_structure_array_with_extra_array_close.json", "n_structure_double_array.json",
    "n_structure_object_followed_by_closing_object.json", "n_structure_object_with_comment.json",
    "n_structure_object_with_trailing_garbage.json", "n_structure_trailing_#.json",
};
// clang-format on

QStringList filesIn(const QString& dir, const QString& pattern)
{
    return QDir(dir).entryList({pattern}, QDir::Files, QDir::Name);
}

TEST(JsonTestSuite, StandardFilesGiveTheStandardTreeAndTheRestEndQuietly)
{
    const QString dir = peerDir("JSONTestSuite/test_parsing");
    if (dir.isEmpty())
        GTEST_SKIP() << "peer suite missing under " SWEEP_SHARED_DIR "/peers";
    const QStringList files = filesIn(dir, "*.json");
    ASSERT_GE(files.size(), 300);
    std::vector<std::string> accepted;
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = bytesOf(dir + "/" + name);
        const Reading r = readBytes(bytes);
        EXPECT_LT(r.milliseconds, SlowMilliseconds);
        if (name.startsWith("n_") && r.errors.isEmpty())
            accepted.push_back(name.toStdString());
        if (!name.startsWith("y_"))
            continue;
        if (const auto it = standardExceptions.find(name.toStdString());
            it != standardExceptions.end()) {
            EXPECT_EQ(treeText(r.tree).toStdString(), it->second.tree);
            EXPECT_EQ(r.errors.toStdString(), it->second.errors);
            continue;
        }
        EXPECT_EQ(r.errors.toStdString(), "");
        const Json theirs = Json::parse(bytes.begin(), bytes.end());
        EXPECT_EQ(difference(r.tree, theirs).toStdString(), "") << treeText(r.tree).toStdString();
    }
    EXPECT_EQ(accepted, acceptedInvalid);
}

// json5-tests files whose features the reader has (comments, single quotes, unquoted keys,
// missing and extra commas); the rest only have to end quietly. Top-level scalars are not read.
const std::map<std::string, Expected> json5Trees = {
    {"arrays/leading-comma-array.js", {"[null]", ""}},
    {"arrays/lone-trailing-comma-array.js", {"[]", ""}},
    {"arrays/trailing-comma-array.json5", {"[null]", ""}},
    {"arrays/no-comma-array.txt", {"[true,false]", ""}},
    {"comments/block-comment-following-array-element.json5", {"[false]", ""}},
    {"comments/inline-comment-following-array-element.json5", {"[false]", ""}},
    {"comments/block-comment-preceding-top-level-value.json5", {"~", "Invalid JSON"}},
    {"comments/top-level-inline-comment.txt", {"~", "Invalid JSON"}},
    {"misc/empty.txt", {"~", "Invalid JSON"}},
    {"new-lines/comment-cr.json5", {"{}", ""}},
    {"new-lines/comment-crlf.json5", {"{}", ""}},
    {"new-lines/comment-lf.json5", {"{}", ""}},
    {"objects/duplicate-keys.json", {"{\"a\":true}", "duplicate key: a\r\n"}},
    {"objects/illegal-unquoted-key-number.txt", {"{\"10twenty\":\"ten twenty\"}", ""}},
    {"objects/illegal-unquoted-key-symbol.txt", {"{\"multi-word\":\"multi-word\"}", ""}},
    {"objects/leading-comma-object.txt", {"{\"foo\":\"bar\"}", ""}},
    {"objects/lone-trailing-comma-object.txt", {"{}", ""}},
    {"objects/no-comma-object.txt", {"{\"foo\":\"bar\",\"hello\":\"world\"}", ""}},
    {"objects/reserved-unquoted-key.json5", {"{\"while\":true}", ""}},
    {"objects/single-quoted-key.json5", {"{\"hello\":\"world\"}", ""}},
    {"objects/trailing-comma-object.json5", {"{\"foo\":\"bar\"}", ""}},
    {"objects/unquoted-keys.json5",
     {"{\"hello\":\"world\",\"_\":\"underscore\",\"$\":\"dollar sign\",\"one1\":\"numerals\","
      "\"_$_\":\"multiple symbols\",\"$_$hello123world_$_\":\"mixed\"}",
      ""}},
    {"todo/unicode-unquoted-key.json5",
     {"{\"ümlåût\":\"that's not really an ümlaüt, but this is\"}", ""}},
};

TEST(Json5Tests, EveryFileEndsQuietlyAndKnownFeaturesGiveTheirTree)
{
    const QString dir = peerDir("json5-tests");
    if (dir.isEmpty())
        GTEST_SKIP() << "peer suite missing under " SWEEP_SHARED_DIR "/peers";
    int files = 0;
    size_t checked = 0;
    for (const QString& folder : QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString& name : filesIn(dir + "/" + folder, "*")) {
            const std::string relative = (folder + "/" + name).toStdString();
            SCOPED_TRACE(relative);
            const Reading r = readBytes(bytesOf(dir + "/" + folder + "/" + name));
            ++files;
            EXPECT_LT(r.milliseconds, SlowMilliseconds);
            if (const auto it = json5Trees.find(relative); it != json5Trees.end()) {
                ++checked;
                EXPECT_EQ(treeText(r.tree).toStdString(), it->second.tree);
                EXPECT_EQ(r.errors.toStdString(), it->second.errors);
            }
            // npm's package file, also in JSON5 form (single quotes, unquoted keys, trailing
            // commas), reads to the tree of its plain JSON twin.
            if (relative.starts_with("misc/npm-package.json")) {
                ++checked;
                const QByteArray plain = bytesOf(dir + "/misc/npm-package.json");
                EXPECT_EQ(r.errors, QString());
                EXPECT_EQ(difference(r.tree, Json::parse(plain.begin(), plain.end())).toStdString(),
                          "");
            }
        }
    }
    EXPECT_GE(files, 120);
    EXPECT_EQ(checked, json5Trees.size() + 2); // every listed file and both npm files were found
}

} // namespace
