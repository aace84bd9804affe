// Feeds arbitrary bytes to the JSON reader as the agent would (decoded as UTF-8) and checks what
// must hold for every input besides "no crash, no hang": the error text has one of its two shapes,
// and a number that converts reads back to the same value from its own text.
#include "json/Decimal.h"
#include "json/JsonReader.h"
#include "json/PercentText.h"

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkNumbersRoundTrip(const JsonValue& value)
{
    if (value.isNumber()) {
        Decimal::ParseStatus status;
        const Decimal again = Decimal::fromText(value.toDecimal().toString(), &status);
        check(status == Decimal::ParseStatus::Ok && again == value.toDecimal());
    }
    for (const JsonValue& element : value.list())
        checkNumbersRoundTrip(element);
    const JsonDict& dict = value.dict();
    for (qsizetype i = 0; i < dict.size(); ++i)
        checkNumbersRoundTrip(dict.valueAt(i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);

    JsonReader reader;
    const JsonValue result = reader.ReadJson(text);
    const QString& errors = reader.JsonErrors();
    if (result.isEmpty())
        check(errors == QLatin1String("Invalid JSON"));
    else
        check(result.isDict() || result.isList());
    check(errors.isEmpty() || errors == QLatin1String("Invalid JSON") || errors.endsWith("\r\n"));
    checkNumbersRoundTrip(result);

    // The pieces the reader is built from, on their own.
    Decimal::ParseStatus status;
    const Decimal number = Decimal::fromText(QString::fromLatin1(bytes), &status);
    if (status == Decimal::ParseStatus::Ok) {
        Decimal::ParseStatus again;
        check(Decimal::fromText(number.toString(), &again) == number);
    }
    bool ok = false;
    const QString decoded = DecodePercentText(QString::fromLatin1(bytes), &ok);
    check(ok || decoded.isEmpty());
    return 0;
}
