#include "cli/Listing.h"

#include "db/TextTable.h"
#include "operations/GridLayouts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

// Places a character takes on a terminal: East Asian wide and full-width forms take two.
int displayWidth(const QString& text)
{
    int width = 0;
    for (const uint c : text.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

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
    std::vector<int> widths;
    for (const QString& header : listing.headers)
        widths.push_back(displayWidth(header));
    for (const QStringList& row : listing.rows)
        for (qsizetype c = 0; c < row.size() && size_t(c) < widths.size(); ++c)
            widths[size_t(c)] = std::max(widths[size_t(c)], displayWidth(row[c]));

    const auto line = [&](const QStringList& cells) {
        QString text;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            text += cells[c];
            if (c + 1 < cells.size())
                text += QString(widths[size_t(c)] - displayWidth(cells[c]) + 2, u' ');
        }
        return text + u'\n';
    };
    QString out = line(listing.headers);
    QStringList rule;
    for (const int width : widths)
        rule << QString(width, u'-');
    out += line(rule);
    for (const QStringList& row : listing.rows)
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
