// The reader against two public test suites read from the shared peers folder. JSONTestSuite's y_
// files are standard JSON and must give the tree nlohmann::json gives; every other file, there and
// in json5-tests, only has to end quietly and in time.
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

QString peerDir(const char* suite)
{
    return QStringLiteral(SWEEP_SHARED_DIR "/peers/") + QString::fromLatin1(suite);
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Reads the file and checks that it ended in time: a bound for "no hang", generous enough for a
// sanitizer build on a busy machine, not a speed goal.
std::pair<JsonValue, QString> readFile(const QString& path, QByteArray* bytes = nullptr)
{
    const QByteArray content = bytesOf(path);
    if (bytes)
        *bytes = content;
    JsonReader reader;
    QElapsedTimer clock;
    clock.start();
    JsonValue tree = reader.ReadJson(QString::fromUtf8(content));
    EXPECT_LT(clock.elapsed(), 10000);
    return {tree, reader.JsonErrors()};
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
const std::map<QString, std::pair<const char*, const char*>> standardExceptions = {
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
    const QDir dir(peerDir("JSONTestSuite/test_parsing"));
    if (!dir.exists())
        GTEST_SKIP() << "peer suite missing under " SWEEP_SHARED_DIR "/peers";
    const QStringList files = dir.entryList({"*.json"}, QDir::Files);
    ASSERT_GE(files.size(), 300);
    int quietlyAccepted = 0;
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QByteArray bytes;
        const auto [tree, errors] = readFile(dir.filePath(name), &bytes);
        quietlyAccepted += name.startsWith("n_") && errors.isEmpty();
        if (!name.startsWith("y_"))
            continue;
        const Json theirs = Json::parse(bytes.begin(), bytes.end());
        if (const auto it = standardExceptions.find(name); it != standardExceptions.end()) {
            EXPECT_EQ(treeText(tree).toStdString(), it->second.first);
            EXPECT_EQ(errors.toStdString(), it->second.second);
        } else if (!theirs.is_structured()) { // only an object or a list is read at the top
            EXPECT_EQ(treeText(tree).toStdString(), "~");
            EXPECT_EQ(errors.toStdString(), "Invalid JSON");
        } else {
            EXPECT_EQ(errors.toStdString(), "");
            EXPECT_EQ(treeText(tree).toStdString(), theirText(theirs).toStdString());
        }
    }
    // The tolerated departures (missing, extra and trailing commas, single quotes, unquoted keys,
    // comments, text behind the value, loose numbers and escapes): a change here changes what
    // the service's answers may look like.
    EXPECT_EQ(quietlyAccepted, 62);
}

TEST(Json5Tests, EveryFileEndsQuietlyAndTheJson5PackageFileReadsAsItsJsonTwin)
{
    const QString dir = peerDir("json5-tests");
    if (!QDir(dir).exists())
        GTEST_SKIP() << "peer suite missing under " SWEEP_SHARED_DIR "/peers";
    int files = 0;
    for (const QString& folder : QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString& name : QDir(dir + "/" + folder).entryList(QDir::Files)) {
            SCOPED_TRACE((folder + "/" + name).toStdString());
            readFile(dir + "/" + folder + "/" + name);
            ++files;
        }
    }
    EXPECT_GE(files, 120);

    // Single quotes, unquoted keys, comments and trailing commas.
    const auto [tree, errors] = readFile(dir + "/misc/npm-package.json5");
    const QByteArray plain = bytesOf(dir + "/misc/npm-package.json");
    EXPECT_EQ(errors, QString());
    EXPECT_EQ(treeText(tree).toStdString(),
              theirText(Json::parse(plain.begin(), plain.end())).toStdString());
}

} // namespace
