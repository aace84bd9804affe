#include "agentcore/AgentSettings.h"

#include "core/Mod_Basic.h"

#include <QUrl>

namespace {

constexpr int kMaxSeconds = 24 * 60 * 60; // a day; keeps the milliseconds inside a timer's int

int secondsOr(const QString& text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value > 0 && value <= kMaxSeconds ? value : fallback;
}

} // namespace

QString AgentSettings::section()
{
    return QStringLiteral("TELEMENU");
}

bool AgentSettings::baseUrlWellFormed() const
{
    const QUrl url(baseUrl, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    // A query or fragment would swallow the endpoint path appended behind it.
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty() && !url.hasQuery() && !url.hasFragment();
}

AgentSettings AgentSettings::read(const QString& iniPath)
{
    using Mod_Basic::Read_Ini;
    const QString s = section();
    AgentSettings settings;
    settings.baseUrl = Read_Ini(s, QStringLiteral("BaseUrl"), iniPath).trimmed();
    // Endpoint paths are appended directly, so a missing final "/" would glue them onto the
    // last segment of the address.
    if (!settings.baseUrl.isEmpty() && !settings.baseUrl.endsWith(QLatin1Char('/')))
        settings.baseUrl += QLatin1Char('/');
    settings.comId = Read_Ini(s, QStringLiteral("ComId"), iniPath);
    settings.rctCode = Read_Ini(s, QStringLiteral("RctCode"), iniPath);
    settings.posId = Read_Ini(s, QStringLiteral("PosId"), iniPath);
    settings.pollEnabled = Read_Ini(s, QStringLiteral("PollEnabled"), iniPath);
    settings.pollSeconds =
        secondsOr(Read_Ini(s, QStringLiteral("PollSeconds"), iniPath), kDefaultPollSeconds);
    settings.hideSeconds =
        secondsOr(Read_Ini(s, QStringLiteral("HideSeconds"), iniPath), kDefaultHideSeconds);
    return settings;
}
