#pragma once

#include "json/Decimal.h"
#include "json/JsonDict.h"

#include <QString>
#include <variant>
#include <vector>

using JsonList = std::vector<JsonValue>;

// The null of a JSON text, distinct from the empty value (nothing readable).
struct JsonNull
{
    friend bool operator==(JsonNull, JsonNull) { return true; }
};

// One value read from a JSON text. A default-constructed value is the empty value: what the reader
// gives for nothing readable, and what a lookup of a missing key or list index gives.
class JsonValue
{
public:
    using Storage =
        std::variant<std::monostate, JsonNull, bool, Decimal, QString, JsonList, JsonDict>;

    JsonValue() = default;
    JsonValue(JsonNull) : m_value(JsonNull{}) {}
    JsonValue(bool value) : m_value(value) {}
    JsonValue(const Decimal& value) : m_value(value) {}
    JsonValue(const QString& value) : m_value(value) {}
    JsonValue(QString&& value) : m_value(std::move(value)) {}
    JsonValue(const char*) = delete; // say QStringLiteral or QString::fromUtf8
    JsonValue(JsonList value) : m_value(std::move(value)) {}
    JsonValue(JsonDict value) : m_value(std::move(value)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isNull() const { return std::holds_alternative<JsonNull>(m_value); }
    bool isBool() const { return std::holds_alternative<bool>(m_value); }
    bool isNumber() const { return std::holds_alternative<Decimal>(m_value); }
    bool isText() const { return std::holds_alternative<QString>(m_value); }
    bool isList() const { return std::holds_alternative<JsonList>(m_value); }
    bool isDict() const { return std::holds_alternative<JsonDict>(m_value); }

    // Each gives a default (false, zero, empty) when the value holds another kind.
    bool toBool() const;
    Decimal toDecimal() const;
    // A text as it is, a number in plain notation, a boolean as "True" or "False"; the empty
    // value, null, lists and dictionaries read as the empty text.
    QString toText() const;
    const JsonList& list() const;
    const JsonDict& dict() const;

    // Member lookup on a dictionary: a missing key, or a value that is not a dictionary, gives the
    // empty value.
    const JsonValue& value(const QString& key) const;
    // The same lookup read as text (toText), so a missing key or the empty value reads as "".
    QString text(const QString& key) const { return value(key).toText(); }
    // Element lookup on a list; out of range gives the empty value.
    const JsonValue& at(qsizetype index) const;

    const Storage& storage() const { return m_value; }

    friend bool operator==(const JsonValue& a, const JsonValue& b)
    {
        return a.m_value == b.m_value;
    }

private:
    Storage m_value;
};
