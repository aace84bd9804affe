#include "agentcore/TmTexts.h"

#include <cmath>
#include <curl/curl.h>

namespace TmTexts {

QString posMacAddressSql(const QString& rctCode, const QString& posId)
{
    const QString lf = QStringLiteral("\n");
    auto quoted = [](QString text) { return text.replace(QLatin1Char('\''), QLatin1String("''")); };
    return QStringLiteral(" SELECT MAC_ADDR ") + lf + QStringLiteral(" FROM POS ") + lf +
           QStringLiteral(" WHERE RCT_CODE = '") + quoted(rctCode) + QStringLiteral("'  ") + lf +
           QStringLiteral(" AND POS_ID = '") + quoted(posId) + QStringLiteral("' ") + lf;
}

QByteArray formValue(const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    // The handle argument is not used by libcurl 7.82 and later.
    char* escaped = curl_easy_escape(nullptr, utf8.constData(), int(utf8.size()));
    if (!escaped)
        return {};
    QByteArray result(escaped);
    curl_free(escaped);
    return result;
}

QByteArray passwordGrantBody(const QString& comId, const QString& rctCode, const QString& posId,
                             const QString& macAddress)
{
    return "username=" + formValue(comId) + '|' + formValue(rctCode) + '|' + formValue(posId) +
           "&password=" + formValue(macAddress) + "&grant_type=password";
}

QByteArray refreshGrantBody(const QString& refreshToken)
{
    return "grant_type=refresh_token&refresh_token=" + formValue(refreshToken);
}

QString upperTimeBound(const QDateTime& moment)
{
    // The offset is written as +09:00, so the time must be Korean time whatever zone the
    // computer is set to.
    return moment.toOffsetFromUtc(9 * 60 * 60).toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) +
           QStringLiteral(".000%2B09:00");
}

QString orderCountUrl(const QString& baseUrl, const QString& comId, const QString& rctCode,
                      const QString& statusList, const QString& upperBound)
{
    return baseUrl + QLatin1String(kCountPath) + QStringLiteral("?tmhCdateLt=") +
           QLatin1String(kLowerTimeBound) + QStringLiteral("&tmhCdateGt=") + upperBound +
           QStringLiteral("&comId=") + QString::fromLatin1(formValue(comId)) +
           QStringLiteral("&rctCode=") + QString::fromLatin1(formValue(rctCode)) +
           QStringLiteral("&tmhSyncStatus=") + statusList;
}

std::optional<double> readCount(const QString& body)
{
    QString text;
    text.reserve(qMin<qsizetype>(body.size(), 64));
    for (QChar c : body) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n'))
            continue;
        text += c;
        if (text.size() > 400) // far longer than any number
            break;
    }

    auto isDigit = [&](qsizetype i) {
        return i < text.size() && text[i].isDigit() && text[i].unicode() < 128;
    };
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    if (i < text.size() && QStringLiteral("eEdD").contains(text[i])) {
        qsizetype j = i + 1;
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        if (isDigit(j)) {
            while (isDigit(j))
                ++j;
            end = j;
        }
    }
    QString number = text.left(end);
    number.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString countCaption(double count)
{
    return QString::number(count, 'g', 15);
}

} // namespace TmTexts
