#include "operations/ArchiveTexts.h"

#include "operations/SqlTexts.h"

#include <QRegularExpression>

namespace ArchiveTexts {

namespace {

// The copy takes its WHERE from the delete's own text, so the two can never select differently.
std::vector<ArchiveCopy> copyOf(const QString& table, const QString& deleteStatement)
{
    return {{table, whereOfDelete(deleteStatement)}};
}

} // namespace

QString whereOfDelete(const QString& deleteStatement)
{
    static const QRegularExpression head(
        QStringLiteral(R"(^\s*DELETE\s+FROM\s+\S+?(?=\s|$)\s*(?:WHERE(?=[\s(])\s*)?)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = head.match(deleteStatement);
    return m.hasMatch() ? deleteStatement.mid(m.capturedLength()) : QString();
}

std::vector<ArchiveCopy> openTableDeleteAll(Dialect dialect)
{
    return copyOf(QStringLiteral("PE"), SqlTexts::openTableDeleteAll(dialect));
}

std::vector<ArchiveCopy> openTableDeleteOne(Dialect dialect, const QString& checkNumber)
{
    return copyOf(QStringLiteral("PE"), SqlTexts::openTableDeleteOne(dialect, checkNumber));
}

std::vector<ArchiveCopy> payCancelDelete(Dialect)
{
    // The batch empties all three work tables.
    return {{QStringLiteral("ac_temp"), QString()},
            {QStringLiteral("credit_temp"), QString()},
            {QStringLiteral("pecash_temp"), QString()}};
}

std::vector<ArchiveCopy> deliveryDeleteAll(Dialect dialect)
{
    return copyOf(QStringLiteral("DTD"), SqlTexts::deliveryDeleteAll(dialect));
}

std::vector<ArchiveCopy> deliveryDeleteRange(Dialect dialect, const QString& from,
                                             const QString& to)
{
    return copyOf(QStringLiteral("DTD"), SqlTexts::deliveryDeleteRange(dialect, from, to));
}

} // namespace ArchiveTexts
