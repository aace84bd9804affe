#pragma once

#include "db/TextTable.h"
#include "operations/DateTimeText.h"
#include "operations/GridColumn.h"
#include "operations/GridLayouts.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <vector>

// The cells of a result grid below its header row. Column 0 exists (and stays empty) so that model
// columns are the grid's own column numbers; model row r is grid row r + 1.
//
// The rows of a search are not copied: the model keeps the query's text table (shared, not
// duplicated) with the column map and shapes a cell only when it is asked for, so a hundred
// thousand records cost the table and nothing per cell. Texts written one by one lie over it.
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

    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);

    // Grows with empty rows or cuts rows off the end.
    void setDataRowCount(int rows);
    // Replaces every row with records 1..rows of table: model column c shows field map[c - 1],
    // date-times in the grid's pattern, other texts without their padding blanks. A field the
    // table lacks, or a column beyond the map, stays empty.
    void showRecords(TextTable table, int rows, std::vector<GridColumn> map,
                     DateTimeSeparators separators);

private:
    static quint64 key(int row, int column)
    {
        return quint64(quint32(row)) << 32 | quint32(column);
    }
    QString sourceText(int row, int column) const;

    const GridLayout& m_layout;
    int m_columns;
    int m_rows = 0;
    QStringList m_headers;

    TextTable m_table;
    std::vector<GridColumn> m_map;
    DateTimeSeparators m_separators;
    bool m_shaped = false; // trim and reformat the table's texts
    int m_tableRows = 0;   // model rows 0..m_tableRows - 1 come from m_table rows 1..m_tableRows
    QHash<quint64, QString> m_written;
};
