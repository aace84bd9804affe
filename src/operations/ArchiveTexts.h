#pragma once

#include "archive/ArchivedDelete.h"
#include "db/Dialect.h"

#include <QString>
#include <vector>

// What each work area's delete removes, as copies for the archive. Each takes the same arguments
// as its delete in SqlTexts and selects exactly the rows that delete removes.
namespace ArchiveTexts {

// File name words of the areas.
inline const QString openChecksArea = QStringLiteral("open-checks");
inline const QString payCancelArea = QStringLiteral("payment-cancel");
inline const QString deliveriesArea = QStringLiteral("deliveries");

std::vector<ArchiveCopy> openTableDeleteAll(Dialect dialect);
std::vector<ArchiveCopy> openTableDeleteOne(Dialect dialect, const QString& checkNumber);
std::vector<ArchiveCopy> payCancelDelete(Dialect dialect);
std::vector<ArchiveCopy> deliveryDeleteAll(Dialect dialect);
std::vector<ArchiveCopy> deliveryDeleteRange(Dialect dialect, const QString& from,
                                             const QString& to);

// The WHERE text of a single-table "DELETE FROM table where …" statement; empty when it has none.
QString whereOfDelete(const QString& deleteStatement);

} // namespace ArchiveTexts
