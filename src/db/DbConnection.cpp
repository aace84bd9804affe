#include "db/DbConnection.h"

DbDiagnostic primaryDiagnostic(const DbDiagnostics& diagnostics)
{
    for (const DbDiagnostic& d : diagnostics) {
        if (!d.isWarning())
            return d;
    }
    if (!diagnostics.empty())
        return diagnostics.front();
    return DbDiagnostic{-1, QStringLiteral("알 수 없는 데이터베이스 오류"), QString()};
}

QString dateTimeText(const QString& text)
{
    // "yyyy-MM-dd HH:mm:ss" is 19 characters; a fraction follows a dot at place 19.
    if (text.size() > 19 && text.at(19) == QLatin1Char('.') && text.at(4) == QLatin1Char('-') &&
        text.at(10) == QLatin1Char(' ') && text.at(13) == QLatin1Char(':'))
        return text.left(19);
    return text;
}

QString decimalText(const QString& text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (i != dot && !sign && !c.isDigit())
            return text;
    }
    qsizetype end = text.size();
    while (end > dot + 1 && text.at(end - 1) == QLatin1Char('0'))
        --end;
    if (end == dot + 1)
        --end;
    QString result = text.left(end);
    if (result.isEmpty() || result == QLatin1String("-") || result == QLatin1String("+") ||
        result == QLatin1String("-0") || result == QLatin1String("+0"))
        return QStringLiteral("0");
    if (result.startsWith(QLatin1Char('.')))
        result.prepend(QLatin1Char('0'));
    else if (result.startsWith(QLatin1String("-.")))
        result.insert(1, QLatin1Char('0'));
    return result;
}

QString floatText(double value)
{
    return QString::number(value, 'g', 15);
}

QString binaryText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}
