#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <sqlite3.h>

// Every row of every table of a SQLite file, read through SQLite itself rather than the code
// under test, so a comparison before and after an operation shows exactly which rows it touched.
// Rows are sorted, so the order a table returns them in does not matter.
using TableSnapshot = QMap<QString, QStringList>;

inline TableSnapshot snapshotTables(const QString& file)
{
    TableSnapshot snapshot;
    sqlite3* db = nullptr;
    const QByteArray path = file.toUtf8();
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return snapshot;
    }
    sqlite3_busy_timeout(db, 5000);
    auto rowsOf = [&](const QString& sql) {
        QStringList rows;
        sqlite3_stmt* stmt = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            return rows;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList cells;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* cell = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                cells << (cell ? QString::fromUtf8(cell) : QStringLiteral("<NULL>"));
            }
            rows << cells.join(QChar(0x1f));
        }
        sqlite3_finalize(stmt);
        rows.sort();
        return rows;
    };
    for (const QString& table : rowsOf(
             QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")))
        snapshot.insert(table, rowsOf(QStringLiteral("SELECT * FROM \"%1\"").arg(table)));
    sqlite3_close_v2(db);
    return snapshot;
}

// The tables whose rows differ between two snapshots.
inline QStringList changedTables(const TableSnapshot& before, const TableSnapshot& after)
{
    QStringList changed;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (after.value(it.key()) != it.value())
            changed << it.key();
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (!before.contains(it.key()))
            changed << it.key();
    return changed;
}
