#include "db/TextTable.h"

void TextTable::reset(int rows, int columns)
{
    m_rows = rows;
    m_columns = columns;
    m_cells.assign(size_t(rows) * size_t(columns), QString());
}

QString* TextTable::appendRow()
{
    m_cells.resize(m_cells.size() + size_t(m_columns));
    ++m_rows;
    return &m_cells[index(m_rows - 1, 0)];
}
