#pragma once

#include "json/JsonValue.h"

#include <QString>

// The tolerant reader for the ordering service's answers. Besides standard JSON it accepts
// single-quoted strings, unquoted keys, missing or doubled commas, line and block comments,
// parentheses as blanks, and percent-encoded UTF-8 text values. It never throws: what it cannot
// read it skips or reports as one CR LF terminated line in JsonErrors(), and it returns what it has
// built so far.
//
//     JsonReader reader;
//     const JsonValue answer = reader.ReadJson(body);
//     const QString token = answer.text(QStringLiteral("access_token")); // "" when missing
class JsonReader
{
public:
    // Deepest nesting of objects and lists read; a deeper member is reported as "too deep" and
    // ends its enclosing object or list.
    static constexpr int MaxDepth = 500;

    // A dictionary when the first significant character is "{", a list for "[", otherwise the
    // empty value with JsonErrors() exactly "Invalid JSON". Text after the top-level value is not
    // looked at.
    JsonValue ReadJson(const QString& text);

    // The problems of the last ReadJson call; empty when there were none.
    const QString& JsonErrors() const { return m_errors; }

private:
    struct Cursor;

    void SkipBlanks(Cursor& c) const;
    JsonDict ReadObject(Cursor& c);
    JsonList ReadArray(Cursor& c);
    JsonValue ReadValue(Cursor& c);
    QString ReadString(Cursor& c);
    JsonValue ReadNumber(Cursor& c);
    bool ReadBoolean(Cursor& c);
    JsonValue ReadNull(Cursor& c);
    QString ReadKey(Cursor& c);
    QString ReadPercentText(Cursor& c);

    void addLine(const QString& line);

    QString m_errors;
};
