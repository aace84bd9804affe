#pragma once

#include <QString>
#include <vector>

// The result of one query as texts: row 0 holds the field names, rows 1..n the records, NULL as
// the empty text. Cells live in one flat vector so a hundred thousand rows cost one allocation.
class TextTable
{
public:
    TextTable() = default;

    // rows counts the header row too.
    void reset(int rows, int columns);
    // The empty result: a single empty cell.
    void resetToEmpty() { reset(1, 1); }

    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }
    const QString& cell(int row, int column) const { return m_cells[index(row, column)]; }
    QString& cell(int row, int column) { return m_cells[index(row, column)]; }

    // Appends one record row; used by backends that do not know the row count in advance.
    QString* appendRow();

private:
    size_t index(int row, int column) const { return size_t(row) * size_t(m_columns) + size_t(column); }

    int m_rows = 1;
    int m_columns = 1;
    std::vector<QString> m_cells = std::vector<QString>(1);
};
