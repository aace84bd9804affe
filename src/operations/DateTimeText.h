#pragma once

#include <QChar>
#include <QString>

// How the grids show a date-time: YYYY/MM/DD HH:NN:SS with the system's own separators in place
// of the slash and the colon.
struct DateTimeSeparators
{
    QChar date = u'/';
    QChar time = u':';
};

// The separators a locale's short date and time formats use (for example "yyyy-MM-dd" and
// "HH:mm"); "/" and ":" where a format does not tell.
DateTimeSeparators separatorsOfFormats(const QString& dateFormat, const QString& timeFormat);
DateTimeSeparators systemDateTimeSeparators();

// Reads a date with an optional time of day (year first: the form query results carry, with "-",
// "/" or "." between the date parts) and writes it in the grid pattern; midnight where the text
// has no time. Text that is not such a date, the empty text among them, comes back unchanged.
QString gridDateTimeText(const QString& text, const DateTimeSeparators& separators);

// What a grid cell shows for a value of the query: a date-time in the grid pattern, any other
// text without the blanks around it.
QString gridCellText(QStringView value, bool dateTime, const DateTimeSeparators& separators);
