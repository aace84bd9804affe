#include "cli/Listing.h"

#include "cli/TerminalText.h"
#include "db/TextTable.h"
#include "operations/GridLayouts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

Listing Listing::of(const GridLayout& layout, const TextTable& table, qint32 records,
                    const DateTimeSeparators& separators)
{
    Listing listing;
    for (const GridColumnLayout& column : layout.columns)
        listing.headers << column.header;
    const qint32 available = std::min<qint32>(records, qint32(table.rowCount()) - 1);
    listing.rows.reserve(size_t(std::max(available, 0)));
    for (qint32 row = 1; row <= available; ++row) {
        QStringList cells;
        for (const GridColumnLayout& column : layout.columns) {
            const int field = column.source.field;
            cells << (field < table.columnCount() ? gridCellText(table.cellView(row, field),
                                                                 column.source.dateTime, separators)
                                                  : QString());
        }
        listing.rows.push_back(cells);
    }
    return listing;
}

QString listingTable(const Listing& listing)
{
    // Every cell as it will show, so the widths are measured on what the terminal gets.
    const auto shown = [](const QStringList& cells) {
        QStringList out;
        for (const QString& cell : cells)
            out << visibleText(cell);
        return out;
    };
    const QStringList headers = shown(listing.headers);
    std::vector<QStringList> rows;
    rows.reserve(listing.rows.size());
    for (const QStringList& row : listing.rows)
        rows.push_back(shown(row));

    std::vector<int> widths;
    for (const QString& header : headers)
        widths.push_back(terminalWidth(header));
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size() && size_t(c) < widths.size(); ++c)
            widths[size_t(c)] = std::max(widths[size_t(c)], terminalWidth(row[c]));

    const auto line = [&](const QStringList& cells) {
        QString text;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            text += cells[c];
            if (c + 1 < cells.size())
                text += QString(widths[size_t(c)] - terminalWidth(cells[c]) + 2, u' ');
        }
        return text + u'\n';
    };
    QString out = line(headers);
    QStringList rule;
    for (const int width : widths)
        rule << QString(width, u'-');
    out += line(rule);
    for (const QStringList& row : rows)
        out += line(row);
    return out;
}

QString listingCsv(const Listing& listing)
{
    const auto line = [](const QStringList& cells) {
        QStringList fields;
        for (const QString& cell : cells)
            fields << csvField(cell);
        return fields.join(u',') + QStringLiteral("\r\n");
    };
    QString out = line(listing.headers);
    for (const QStringList& row : listing.rows)
        out += line(row);
    return out;
}

QString listingJson(const Listing& listing)
{
    QJsonArray rows;
    for (const QStringList& row : listing.rows) {
        QJsonObject object;
        for (qsizetype c = 0; c < listing.headers.size() && c < row.size(); ++c)
            object.insert(listing.headers[c], row[c]);
        rows.append(object);
    }
    return QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented));
}
