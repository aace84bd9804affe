#pragma once

#include "db/Mod_DB.h"

#include <gtest/gtest.h>

// A query's result as text, header row first: rows end in '\n', cells stand apart by '|'. A query
// that fails fails the test.
inline QString queryText(Mod_DB& db, const QString& sql, qint32* records = nullptr)
{
    TextTable t;
    qint32 rows = 0, columns = 0;
    EXPECT_TRUE(db.DB_Query(sql, t, rows, columns).succeeded)
        << sql.toStdString() << ": " << db.DB_ErrText().toStdString();
    if (records)
        *records = rows;
    QString out;
    for (int r = 0; r < t.rowCount(); ++r)
        for (int c = 0; c < t.columnCount(); ++c)
            out += t.cell(r, c) + (c + 1 < t.columnCount() ? u'|' : u'\n');
    return out;
}

// The cells of the record at row (1 is the first after the header).
inline QString record(Mod_DB& db, const QString& sql, int row = 1)
{
    return queryText(db, sql).section(u'\n', row, row);
}

// The first cell of a query's first record ("" when there is none).
inline QString firstValue(Mod_DB& db, const QString& sql)
{
    return record(db, sql).section(u'|', 0, 0);
}
