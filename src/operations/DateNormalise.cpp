#include "operations/DateNormalise.h"

#include <QDate>
#include <QRegularExpression>

QString normaliseDate(const QString& text)
{
    static const QRegularExpression separated(
        QStringLiteral("^([0-9]{4})([-/.])([0-9]{1,2})\\2([0-9]{1,2})$"));
    static const QRegularExpression compact(QStringLiteral("^([0-9]{4})([0-9]{2})([0-9]{2})$"));

    const QString trimmed = text.trimmed();
    QRegularExpressionMatch m = separated.match(trimmed);
    int year = 0, month = 0, day = 0;
    if (m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(3).toInt();
        day = m.captured(4).toInt();
    } else if (m = compact.match(trimmed); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else {
        return text;
    }
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1)
        return text;
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}
