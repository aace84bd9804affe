#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The result of one query as texts: row 0 holds the field names, rows 1..n the records, NULL as
// the empty text. All texts share one UTF-16 buffer and each cell keeps only where it ends, so a
// hundred thousand rows cost two allocations and about four bytes a cell beside the text. Both
// are implicitly shared: a copy (the grid's, for instance) costs nothing until one side writes.
class TextTable
{
public:
    TextTable() = default;

    // Every cell empty; rows counts the header row too.
    void reset(int rows, int columns);
    // The empty result: a single empty cell.
    void resetToEmpty() { reset(1, 1); }

    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }

    QStringView cellView(int row, int column) const
    {
        const qsizetype i = index(row, column);
        if (i >= m_ends.size())
            return {};
        const qsizetype begin = start(i);
        return QStringView(m_text).sliced(begin, qsizetype(m_ends[i]) - begin);
    }
    QString cell(int row, int column) const { return cellView(row, column).toString(); }

    // Cheap when the cells after this one are empty, as when a row is filled from left to right
    // at the end of the table; elsewhere the later texts move.
    void setCell(int row, int column, QStringView text);

    // Appends one record row of empty cells; used by backends that do not know the row count in
    // advance.
    void appendRow();

    // Characters of every cell together.
    qsizetype textSize() const { return m_text.size(); }

private:
    qsizetype index(int row, int column) const { return qsizetype(row) * m_columns + column; }
    qsizetype start(qsizetype i) const { return i == 0 ? 0 : qsizetype(m_ends[i - 1]); }

    int m_rows = 1;
    int m_columns = 1;
    QString m_text;
    // Where each cell's text ends, up to the last cell written: the cells after it are empty and
    // cost nothing, so filling a table in order only ever appends.
    QList<quint32> m_ends;
};
