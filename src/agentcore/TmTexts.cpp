#include "agentcore/TmTexts.h"

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

std::optional<qint64> readCount(const QString& body)
{
    const QString text = body.trimmed();
    constexpr qsizetype kMaxDigits = 18; // stays inside qint64
    if (text.isEmpty() || text.size() > kMaxDigits)
        return std::nullopt;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return text.toLongLong();
}

QString countCaption(qint64 count)
{
    return count > kMaxShownCount ? QString::number(kMaxShownCount) + QLatin1Char('+')
                                  : QString::number(count);
}

} // namespace TmTexts
