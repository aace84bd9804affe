#include "maintenance/TextTableModel.h"

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
    const QString& cell = text(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cell;
    case Qt::TextAlignmentRole:
        if (index.column() == 0)
            return {};
        return int(alignmentFor(m_layout.columns[index.column() - 1].cells, cell));
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

void TextTableModel::setText(int row, int column, const QString& text)
{
    m_cells[offset(row, column)] = text;
    const QModelIndex changed = createIndex(row, column);
    emit dataChanged(changed, changed);
}

void TextTableModel::setDataRowCount(int rows)
{
    rows = std::max(rows, 0);
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_cells.resize(offset(rows, 0));
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows(QModelIndex(), rows, m_rows - 1);
        m_cells.resize(offset(rows, 0));
        m_rows = rows;
        endRemoveRows();
    }
}

void TextTableModel::replaceRows(int rows, std::vector<QString> cells)
{
    if (rows < 0 || cells.size() != offset(rows, 0))
        throw std::invalid_argument("TextTableModel::replaceRows: cells do not match the rows");
    beginResetModel();
    m_rows = rows;
    m_cells = std::move(cells);
    endResetModel();
}
