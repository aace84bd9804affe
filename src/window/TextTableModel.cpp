#include "window/TextTableModel.h"

#include <stdexcept>

namespace {

Qt::Alignment alignmentFor(GridAlignment alignment, const QString& text)
{
    if (alignment == GridAlignment::Centre)
        return Qt::AlignCenter;
    bool number = false;
    text.toDouble(&number);
    return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}
} // namespace

TextTableModel::TextTableModel(const GridLayout& layout, QObject* parent)
    : QAbstractTableModel(parent), m_layout(layout), m_columns(int(layout.columns.size()) + 1)
{
    m_headers << QString();
    for (const auto& c : layout.columns)
        m_headers << c.header;
}

int TextTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TextTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_columns)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == 0)
            return {};
        return int(alignmentFor(m_layout.columns[index.column() - 1].cells,
                                text(index.row(), index.column())));
    default:
        return {};
    }
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns)
        return {};
    if (role == Qt::DisplayRole)
        return m_headers[section];
    if (role == Qt::TextAlignmentRole && section > 0)
        return int(alignmentFor(m_layout.columns[section - 1].headerAlignment, m_headers[section]));
    return {};
}

Qt::ItemFlags TextTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TextTableModel::setHeaderText(int column, const QString& text)
{
    m_headers[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QString TextTableModel::text(int row, int column) const
{
    if (!m_written.isEmpty()) {
        const auto written = m_written.constFind(key(row, column));
        if (written != m_written.constEnd())
            return *written;
    }
    return sourceText(row, column);
}

QString TextTableModel::sourceText(int row, int column) const
{
    if (row < 0 || row >= m_tableRows || column < 1 || size_t(column) > m_map.size())
        return {};
    const GridColumn& source = m_map[size_t(column - 1)];
    if (source.field < 0 || source.field >= m_table.columnCount())
        return {};
    const QStringView value = m_table.cellView(row + 1, source.field);
    if (!m_shaped)
        return value.toString();
    return gridCellText(value, source.dateTime, m_separators);
}

void TextTableModel::setText(int row, int column, const QString& text)
{
    m_written.insert(key(row, column), text);
    const QModelIndex changed = createIndex(row, column);
    emit dataChanged(changed, changed);
}

void TextTableModel::setDataRowCount(int rows)
{
    rows = std::max(rows, 0);
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows(QModelIndex(), rows, m_rows - 1);
        m_rows = rows;
        // Rows that come back later come back empty.
        m_tableRows = std::min(m_tableRows, rows);
        m_written.removeIf(
            [rows](const auto& written) { return int(written.key() >> 32) >= rows; });
        endRemoveRows();
    }
}

void TextTableModel::showRecords(TextTable table, int rows, std::vector<GridColumn> map,
                                 DateTimeSeparators separators)
{
    rows = std::clamp(rows, 0, table.rowCount() - 1);
    beginResetModel();
    m_table = std::move(table);
    m_map = std::move(map);
    m_separators = separators;
    m_shaped = true;
    m_rows = m_tableRows = rows;
    m_written.clear();
    endResetModel();
}
