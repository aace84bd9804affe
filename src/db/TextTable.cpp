#include "db/TextTable.h"

#include <limits>
#include <stdexcept>

void TextTable::reset(int rows, int columns)
{
    m_rows = rows;
    m_columns = columns;
    m_text.clear();
    m_ends.clear();
}

void TextTable::setCell(int row, int column, QStringView text)
{
    const qsizetype i = index(row, column);
    if (i >= m_ends.size()) {
        if (text.isEmpty())
            return;
        if (m_text.size() + text.size() > qsizetype(std::numeric_limits<quint32>::max()))
            throw std::length_error("TextTable: more text than one table holds");
        m_ends.resize(i, quint32(m_text.size())); // the empty cells in between
        m_text.append(text);
        m_ends.append(quint32(m_text.size()));
        return;
    }
    const qsizetype begin = start(i);
    const qsizetype old = qsizetype(m_ends[i]) - begin;
    const qsizetype delta = text.size() - old;
    if (m_text.size() + delta > qsizetype(std::numeric_limits<quint32>::max()))
        throw std::length_error("TextTable: more text than one table holds");
    m_text.replace(begin, old, text.data(), text.size());
    if (delta != 0) {
        quint32* ends = m_ends.data();
        for (qsizetype j = i, n = m_ends.size(); j < n; ++j)
            ends[j] = quint32(qsizetype(ends[j]) + delta);
    }
}

void TextTable::appendRow()
{
    ++m_rows;
}
