#pragma once

#include <QByteArray>
#include <QString>

// Text values the ordering service sends percent-encoded ("%EC%95%88"): every "%" is dropped,
// then leading and trailing spaces; the rest is read two hexadecimal characters to a byte (half
// the length rounded to even bytes; a last single character is a byte of its own), the bytes are
// decoded as UTF-8 and TAB characters are removed. Fewer than two characters, or a pair that is not
// hexadecimal, is a failure: *ok becomes false and the result is empty.
QString DecodePercentText(const QString& raw, bool* ok);

// The value of one hexadecimal character, -1 for any other character.
int hexDigitValue(QChar c);

// UTF-8 bytes to text; malformed sequences become U+FFFD.
QString Utf8ToText(const QByteArray& bytes);
