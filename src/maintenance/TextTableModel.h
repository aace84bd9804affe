#pragma once

#include "maintenance/GridLayouts.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

// The cells of a result grid below its header row. Column 0 exists (and stays empty) so that model
// columns are the grid's own column numbers; model row r is grid row r + 1.
class TextTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TextTableModel(const GridLayout& layout, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const QString& headerText(int column) const { return m_headers[column]; }
    void setHeaderText(int column, const QString& text);

    const QString& text(int row, int column) const { return m_cells[offset(row, column)]; }
    void setText(int row, int column, const QString& text);

    // Grows with empty rows or cuts rows off the end.
    void setDataRowCount(int rows);
    // Replaces every row at once: cells holds rows × columnCount() texts, row by row.
    void replaceRows(int rows, std::vector<QString> cells);

private:
    size_t offset(int row, int column) const
    {
        return size_t(row) * size_t(m_columns) + size_t(column);
    }

    const GridLayout& m_layout;
    int m_columns;
    int m_rows = 0;
    QStringList m_headers;
    std::vector<QString> m_cells;
};
