#pragma once

#include <QDateTime>
#include <QString>

// A restored archive gets a small file beside it, "<archive>.restored", holding when and how many
// rows went back: both faces restore through RestoreFlow, which writes it, and the window's
// archive list reads it. Nothing else depends on it; a lost mark only shows a restored file as
// not restored, and its second restore fails on the rows already there.
namespace RestoredMark {

inline const QString suffix = QStringLiteral(".restored");

QString pathFor(const QString& archive);
bool write(const QString& archive, const QDateTime& when, qint64 rows);
bool exists(const QString& archive);

} // namespace RestoredMark
