#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// The texts the token client and the poll send, and the reading of the poll's answer.
namespace TmTexts {

// The client id and secret of the terminal application, as HTTP Basic credentials.
inline constexpr char kClientCredentials[] = "dGVybWluYWxfa2V5OnF3ZXJ0";
inline constexpr char kTokenPath[] = "oauth/token";
inline constexpr char kCountPath[] =
    "tmHd/search/countByTmhCdateBetweenAndComIdAndRctCodeAndTmhSyncStatusIn";
inline constexpr char kLowerTimeBound[] = "1970-01-01T00:00:00.000%2B09:00";

// The terminal's adapter address from the POS table; quotes in the codes are doubled.
QString posMacAddressSql(const QString& rctCode, const QString& posId);

// One form value, percent-encoded so that "+", "&", "=" and the like reach the service as
// typed. Letters, digits and "-._~" are left alone.
QByteArray formValue(const QString& value);

// username is company|shop|terminal; each code is encoded on its own and the "|" separators
// stay literal, so ordinary codes give the body the service has always received.
QByteArray passwordGrantBody(const QString& comId, const QString& rctCode, const QString& posId,
                             const QString& macAddress);
QByteArray refreshGrantBody(const QString& refreshToken);

// The upper time bound: the moment in Korean time (UTC+9) in the service's form, with its
// offset's "+" encoded.
QString upperTimeBound(const QDateTime& moment);

// Company and shop codes are encoded like form values; the status list goes as it stands.
QString orderCountUrl(const QString& baseUrl, const QString& comId, const QString& rctCode,
                      const QString& statusList, const QString& upperBound);

// The count in an answer body: a whole number from 0 up, written in ASCII digits only, with
// blanks, tabs and line breaks around it. Anything else (an error page, "null", "-1", "2.5",
// "\"5\"", a number too large to hold) is no count.
std::optional<qint64> readCount(const QString& body);
// The count as the popup shows it: up to kMaxShownCount as it is, above that capped with "+".
inline constexpr qint64 kMaxShownCount = 9999;
QString countCaption(qint64 count);

} // namespace TmTexts
