// The reader against two public test suites read from the shared peers folder. JSONTestSuite's y_
// files are standard JSON and must give the tree nlohmann::json gives; every other file, there and
// in json5-tests, only has to end quietly and in time.
#include "TreeText.h"
#include "support/Files.h"
#include "json/JsonReader.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

const QString kPeers = QStringLiteral(SWEEP_SHARED_DIR "/peers/");

// Reads the text and checks that it ended in time: a bound for "no hang", generous enough for a
// sanitizer build on a busy machine, not a speed goal. {treeText, errors}
std::pair<std::string, std::string> read(const QByteArray& content)
{
    JsonReader reader;
    QElapsedTimer clock;
    clock.start();
    const JsonValue tree = reader.ReadJson(QString::fromUtf8(content));
    EXPECT_LT(clock.elapsed(), 10000);
    return {treeText(tree).toStdString(), reader.JsonErrors().toStdString()};
}

// nlohmann's tree in treeText's form. Its numbers are doubles; their shortest text, read as our
// decimal, matches ours wherever the file's digits fit a double.
QString theirText(const Json& value)
{
    if (value.is_structured()) {
        QStringList parts;
        for (const auto& [key, member] : value.items())
            parts << (value.is_object() ? quotedText(QString::fromStdString(key)) + u':' : "") +
                         theirText(member);
        return (value.is_object() ? u'{' : u'[') + parts.join(u',') +
               (value.is_object() ? u'}' : u']');
    }
    if (value.is_string())
        return quotedText(QString::fromStdString(value.get<std::string>()));
    if (!value.is_number())
        return QString::fromStdString(value.dump());
    Decimal::ParseStatus status;
    return Decimal::fromText(QString::fromStdString(value.dump()), &status).toString();
}

// Standard files where the reader parts from the standard on purpose: {tree, errors}.
const std::map<QString, std::pair<std::string, std::string>> standardExceptions = {
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

TEST(JsonTestSuite, StandardFilesGiveTheStandardTreeAndTheRestEndQuietly)
{
    const QDir dir(kPeers + "JSONTestSuite/test_parsing");
    if (!dir.exists())
        GTEST_SKIP() << "peer suite missing under " SWEEP_SHARED_DIR "/peers";
    const QStringList files = dir.entryList({"*.json"}, QDir::Files);
    ASSERT_GE(files.size(), 300);
    int quietlyAccepted = 0;
    for (const QString& name : files) {
        const QByteArray bytes = fileBytes(dir.filePath(name));
        const auto ours = read(bytes);
        quietlyAccepted += name.startsWith("n_") && ours.second.empty();
        if (!name.startsWith("y_"))
            continue;
        const Json theirs = Json::parse(bytes.begin(), bytes.end());
        std::pair<std::string, std::string> expected{theirText(theirs).toStdString(), ""};
        if (standardExceptions.count(name))
            expected = standardExceptions.at(name);
        else if (!theirs.is_structured()) // only an object or a list is read at the top
            expected = {"~", "Invalid JSON"};
        EXPECT_EQ(ours, expected) << name.toStdString();
    }
    // The tolerated departures (missing, extra and trailing commas, single quotes, unquoted keys,
    // comments, text behind the value, loose numbers and escapes): a change here changes what
    // the service's answers may look like.
    EXPECT_EQ(quietlyAccepted, 62);
}

TEST(Json5Tests, EveryFileEndsQuietly)
{
    const QString dir = kPeers + "json5-tests";
    if (!QDir(dir).exists())
        GTEST_SKIP() << "peer suite missing under " SWEEP_SHARED_DIR "/peers";
    int files = 0;
    for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++files) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        read(fileBytes(path));
    }
    EXPECT_GE(files, 120);
}

} // namespace
