#include "cli/StatusReport.h"

#include "cli/CliTexts.h"
#include "cli/Listing.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString isoTime(const QDateTime& t)
{
    return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace

QString statusJson(const StatusFlow::Status& status)
{
    const auto orNull = [](const QString& text) {
        return text.isEmpty() ? QJsonValue() : QJsonValue(text);
    };
    const QJsonObject object{
        {QStringLiteral("open_checks"), status.openChecks},
        {QStringLiteral("unfinished_deliveries"), status.unfinishedDeliveries},
        {QStringLiteral("payment_cancel_rows"), status.paymentCancelRows},
        {QStringLiteral("database_bytes"),
         status.databaseBytes ? QJsonValue(*status.databaseBytes) : QJsonValue()},
        {QStringLiteral("oldest_unfinished_delivery"), orNull(status.oldestUnfinishedDelivery)},
        {QStringLiteral("last_optimise"),
         status.lastOptimise.isValid() ? QJsonValue(isoTime(status.lastOptimise)) : QJsonValue()},
        {QStringLiteral("archive_files"), status.archiveFiles},
        {QStringLiteral("archive_bytes"), status.archiveBytes},
    };
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

QString statusTable(const StatusFlow::Status& status)
{
    namespace S = CliTexts::Status;
    const auto orNone = [](const QString& text) { return text.isEmpty() ? S::none : text; };
    Listing listing;
    listing.headers = {S::item, S::value};
    listing.rows = {
        {S::openChecks, S::rows(status.openChecks)},
        {S::unfinishedDeliveries, S::rows(status.unfinishedDeliveries)},
        {S::paymentCancelRows, S::rows(status.paymentCancelRows)},
        {S::databaseSize, status.databaseBytes ? S::bytes(*status.databaseBytes) : S::unknown},
        {S::oldestDelivery, orNone(status.oldestUnfinishedDelivery)},
        {S::lastOptimise,
         orNone(status.lastOptimise.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))},
        {S::archive, S::files(status.archiveFiles, status.archiveBytes)},
    };
    return listingTable(listing);
}
