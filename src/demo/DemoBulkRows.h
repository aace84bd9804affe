#pragma once

#include <QString>
#include <sqlite3.h>

// The generated rows of a large demo database, written straight through SQLite's own API.
namespace demo {

class SqliteFile
{
public:
    ~SqliteFile() { sqlite3_close_v2(m_db); }

    bool open(const QString& path)
    {
        const QByteArray p = path.toUtf8();
        return check(sqlite3_open_v2(p.constData(), &m_db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr));
    }
    bool exec(const QString& sql)
    {
        return check(sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr));
    }
    bool check(int rc)
    {
        if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW)
            return true;
        if (m_error.isEmpty())
            m_error = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                           : QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    void close()
    {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    sqlite3* db() const { return m_db; }
    const QString& error() const { return m_error; }

private:
    sqlite3* m_db = nullptr;
    QString m_error;
};

// Extra rows with the sample rows' mix: count deliveries, checks or payments.
bool addDeliveries(SqliteFile& file, int count);
bool addChecks(SqliteFile& file, int count);
bool addPayments(SqliteFile& file, int count);

} // namespace demo
