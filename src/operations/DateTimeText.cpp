#include "operations/DateTimeText.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace {

// The first character after the first field of a format that is neither a field letter, a blank
// nor quoted text.
QChar separatorOf(const QString& format, QChar fallback)
{
    qsizetype i = 0;
    while (i < format.size() && format[i].isLetter())
        ++i;
    while (i < format.size() && format[i].isSpace())
        ++i;
    if (i == 0 || i >= format.size())
        return fallback;
    const QChar c = format[i];
    if (c.isLetterOrNumber() || c == u'\'')
        return fallback;
    return c;
}

} // namespace

DateTimeSeparators separatorsOfFormats(const QString& dateFormat, const QString& timeFormat)
{
    DateTimeSeparators s;
    s.date = separatorOf(dateFormat, s.date);
    s.time = separatorOf(timeFormat, s.time);
    return s;
}

DateTimeSeparators systemDateTimeSeparators()
{
    const QLocale locale = QLocale::system();
    return separatorsOfFormats(locale.dateFormat(QLocale::ShortFormat),
                               locale.timeFormat(QLocale::ShortFormat));
}

namespace {

// Reads 1 to maxDigits decimal digits at pos.
bool readNumber(const QString& text, qsizetype& pos, int minDigits, int maxDigits, int& value)
{
    value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits && text[pos].isDigit() &&
           text[pos].unicode() < 128) {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++digits;
    }
    return digits >= minDigits;
}

bool readChar(const QString& text, qsizetype& pos, QChar c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

void skipBlanks(const QString& text, qsizetype& pos)
{
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
}

// yyyy-M-d, optionally followed by a blank or T and H:mm[:ss[.fff]]; "/" or "." may stand for
// the hyphen. Surrounding white space is allowed.
bool readDateTime(const QString& text, QDate& date, QTime& time)
{
    qsizetype pos = 0;
    skipBlanks(text, pos);
    int year = 0, month = 0, day = 0;
    if (!readNumber(text, pos, 4, 4, year) || pos >= text.size())
        return false;
    const QChar separator = text[pos];
    if (separator != u'-' && separator != u'/' && separator != u'.')
        return false;
    ++pos;
    if (!readNumber(text, pos, 1, 2, month) || !readChar(text, pos, separator) ||
        !readNumber(text, pos, 1, 2, day))
        return false;
    int hour = 0, minute = 0, second = 0;
    if (pos < text.size() && (text[pos] == u' ' || text[pos] == u'T')) {
        qsizetype at = pos + 1;
        if (readNumber(text, at, 1, 2, hour)) {
            pos = at;
            if (!readChar(text, pos, u':') || !readNumber(text, pos, 2, 2, minute))
                return false;
            if (readChar(text, pos, u':')) {
                if (!readNumber(text, pos, 2, 2, second))
                    return false;
                if (readChar(text, pos, u'.')) {
                    int fraction = 0;
                    if (!readNumber(text, pos, 1, 9, fraction))
                        return false;
                }
            }
        }
    }
    skipBlanks(text, pos);
    if (pos != text.size())
        return false;
    date = QDate(year, month, day);
    time = QTime(hour, minute, second);
    return date.isValid() && time.isValid();
}

void appendTwoDigits(QString& out, int value)
{
    out += QChar(u'0' + value / 10);
    out += QChar(u'0' + value % 10);
}

} // namespace

QString gridDateTimeText(const QString& text, const DateTimeSeparators& separators)
{
    QDate date;
    QTime time;
    if (!readDateTime(text, date, time))
        return text;
    QString out;
    out.reserve(19);
    appendTwoDigits(out, date.year() / 100);
    appendTwoDigits(out, date.year() % 100);
    out += separators.date;
    appendTwoDigits(out, date.month());
    out += separators.date;
    appendTwoDigits(out, date.day());
    out += u' ';
    appendTwoDigits(out, time.hour());
    out += separators.time;
    appendTwoDigits(out, time.minute());
    out += separators.time;
    appendTwoDigits(out, time.second());
    return out;
}

QString gridCellText(QStringView value, bool dateTime, const DateTimeSeparators& separators)
{
    if (dateTime)
        return gridDateTimeText(value.toString(), separators);
    // Blanks only: fixed-width columns pad with them, other white space is part of the value.
    while (!value.isEmpty() && value.front() == u' ')
        value = value.sliced(1);
    while (!value.isEmpty() && value.back() == u' ')
        value.chop(1);
    return value.toString();
}
