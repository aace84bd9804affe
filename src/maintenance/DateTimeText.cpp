#include "maintenance/DateTimeText.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
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

QString gridDateTimeText(const QString& text, const DateTimeSeparators& separators)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(\d{4})([-/.])(\d{1,2})\2(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return text;
    const QDate date(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    const QTime time = m.capturedLength(5) == 0
                           ? QTime(0, 0)
                           : QTime(m.captured(5).toInt(), m.captured(6).toInt(),
                                   m.capturedLength(7) ? m.captured(7).toInt() : 0);
    if (!date.isValid() || !time.isValid())
        return text;
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    const QChar d = separators.date;
    const QChar t = separators.time;
    return QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')) + d + two(date.month()) +
           d + two(date.day()) + u' ' + two(time.hour()) + t + two(time.minute()) + t +
           two(time.second());
}
