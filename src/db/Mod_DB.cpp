#include "db/Mod_DB.h"

#include "db/DbConnection.h"
#include "db/OdbcConnection.h"
#include "db/OdbcConnectionString.h"
#include "db/SqliteConnection.h"

#include <QFileInfo>
#include <QStringList>
#include <exception>
#include <limits>
#include <utility>

DbTarget DbTarget::sqlServer(const QString& iniPath)
{
    DbTarget t;
    t.kind = Kind::SqlServer;
    t.iniPath = iniPath;
    return t;
}

DbTarget DbTarget::odbc(const QString& connectionString, Dialect dialect)
{
    DbTarget t;
    t.kind = Kind::Odbc;
    t.connectionString = connectionString;
    t.odbcDialect = dialect;
    return t;
}

DbTarget DbTarget::sqlite(const QString& file)
{
    DbTarget t;
    t.kind = Kind::Sqlite;
    t.sqliteFile = file;
    return t;
}

namespace {

QString exceptionText(const std::exception* e)
{
    // Out of memory on a huge result is the one failure expected here.
    return QStringLiteral("처리 중 오류가 발생했습니다: ") +
           (e ? QString::fromLocal8Bit(e->what()) : QStringLiteral("알 수 없는 오류"));
}

// Every call into a backend runs through here, so no exception reaches a window's handler: it
// becomes one more diagnostic record and the call reads as failed.
template <typename Work> bool trapped(DbDiagnostics& errors, Work&& work)
{
    try {
        return work();
    } catch (const std::exception& e) {
        errors.push_back({-1, exceptionText(&e), QString()});
    } catch (...) {
        errors.push_back({-1, exceptionText(nullptr), QString()});
    }
    return false;
}

} // namespace

Mod_DB::Mod_DB(DbTarget target) : m_target(std::move(target)) {}

Mod_DB::~Mod_DB() = default;

DatabaseIdentity Mod_DB::databaseIdentity() const
{
    if (m_target.kind == DbTarget::Kind::Sqlite) {
        const QFileInfo file(m_target.sqliteFile);
        const QString canonical = file.canonicalFilePath();
        return {QStringLiteral("SQLite"),
                canonical.isEmpty() ? file.absoluteFilePath() : canonical};
    }
    QString server, port, database;
    for (const QString& part : m_connStr.split(u';')) {
        const QString key = part.section(u'=', 0, 0).trimmed();
        const QString value = part.section(u'=', 1).trimmed();
        if (key.compare(QLatin1String("SERVER"), Qt::CaseInsensitive) == 0)
            server = value;
        else if (key.compare(QLatin1String("PORT"), Qt::CaseInsensitive) == 0)
            port = value;
        else if (key.compare(QLatin1String("DATABASE"), Qt::CaseInsensitive) == 0 ||
                 key.compare(QLatin1String("Initial Catalog"), Qt::CaseInsensitive) == 0)
            database = value;
    }
    if (!port.isEmpty() && !server.contains(u','))
        server += u',' + port;
    return {server, database};
}

Dialect Mod_DB::dialect() const
{
    switch (m_target.kind) {
    case DbTarget::Kind::Sqlite:
        return Dialect::Sqlite;
    case DbTarget::Kind::Odbc:
        return m_target.odbcDialect;
    case DbTarget::Kind::SqlServer:
        break;
    }
    return Dialect::SqlServer;
}

bool Mod_DB::DB_Connect()
{
    DbDiagnostics errors;
    const bool opened = trapped(errors, [&] {
        // The earlier connection goes before the new one opens. One that cannot end (its
        // transaction could not be rolled back) is kept, never orphaned with its locks.
        if (m_conn && !m_conn->close(errors))
            return false;
        m_conn.reset();
        std::unique_ptr<DbConnection> conn;
        switch (m_target.kind) {
        case DbTarget::Kind::SqlServer:
            m_connStr = sqlServerConnectionStringFromIni(m_target.iniPath);
            if (m_connStr.isEmpty()) {
                errors.push_back({-1,
                                  QStringLiteral("IP.ini의 DBNAME, SERVER 또는 DRIVER 값을 연결 "
                                                 "문자열에 넣을 수 없습니다"),
                                  QString()});
                return false;
            }
            conn = std::make_unique<OdbcConnection>(m_connStr, Dialect::SqlServer);
            break;
        case DbTarget::Kind::Odbc:
            m_connStr = m_target.connectionString;
            conn = std::make_unique<OdbcConnection>(m_connStr, m_target.odbcDialect);
            break;
        case DbTarget::Kind::Sqlite:
            m_connStr = m_target.sqliteFile;
            conn = std::make_unique<SqliteConnection>(m_target.sqliteFile);
            break;
        }
        if (!conn->open(errors))
            return false;
        m_conn = std::move(conn);
        return true;
    });
    if (opened)
        return true;
    // The caller reports the failure; the reasons stay here for its log or a technician.
    m_status = 0;
    m_errText = errorLines(errors);
    return false;
}

QString Mod_DB::errorLines(const DbDiagnostics& errors)
{
    QStringList lines;
    for (const DbDiagnostic& d : errors)
        lines << d.description + QLatin1Char('[') + QString::number(d.number) + QLatin1Char(']');
    return lines.join(QStringLiteral("\r\n"));
}

bool Mod_DB::ensureConnection(DbDiagnostics& errors) const
{
    if (m_conn && m_conn->isOpen())
        return true;
    errors.push_back({-1, DbTexts::notConnected, QString()});
    return false;
}

DbOutcome Mod_DB::DB_Query(const QString& sql, TextTable& table, qint32& rows, qint32& columns)
{
    DbDiagnostics errors;
    const bool succeeded = trapped(errors, [&] {
        TextTable result;
        if (!ensureConnection(errors) || !m_conn->query(sql, result, errors))
            return false;
        const qint64 records = qint64(result.rowCount()) - 1;
        if (records > std::numeric_limits<qint32>::max()) {
            errors.push_back({-1, QStringLiteral("결과가 너무 큽니다"), QString()});
            return false;
        }
        if (records <= 0) {
            rows = 0;
            columns = 0;
            table.resetToEmpty();
        } else {
            rows = qint32(records);
            columns = result.columnCount();
            table = std::move(result);
        }
        return true;
    });
    if (succeeded) {
        m_status = 1;
        m_errText.clear();
        return {true, QString(), std::move(errors)};
    }
    // The caller's table and counts stay as they were; the lines follow any earlier text.
    m_status = 0;
    if (errors.empty())
        errors.push_back(primaryDiagnostic(errors));
    const QString lines = errorLines(errors);
    m_errText += (m_errText.isEmpty() ? QString() : QStringLiteral("\r\n")) + lines;
    return {false, lines, std::move(errors)};
}

DbOutcome Mod_DB::DB_Execute(const QString& sql)
{
    DbDiagnostics errors;
    bool unknown = false;
    const bool succeeded = trapped(
        errors, [&] { return ensureConnection(errors) && m_conn->execute(sql, errors, &unknown); });
    DbOutcome outcome = executeOutcome(succeeded, std::move(errors));
    outcome.outcomeUnknown = !succeeded && unknown;
    return outcome;
}

DbOutcome Mod_DB::executeOutcome(bool succeeded, DbDiagnostics errors)
{
    if (succeeded) {
        m_status = 1;
        m_errText.clear();
        return {true, QString(), std::move(errors)};
    }
    const DbDiagnostic first = primaryDiagnostic(errors);
    m_status = 0;
    m_errText = QString::number(first.number) + QStringLiteral(" : ") + first.description.trimmed();
    return {false, m_errText, std::move(errors)};
}

DbOutcome Mod_DB::DB_Transaction(bool immediate, const TransactionWork& work)
{
    DbDiagnostics errors;
    if (!trapped(errors, [&] {
            return ensureConnection(errors) && m_conn->beginTransaction(immediate, errors);
        }))
        return executeOutcome(false, std::move(errors));
    bool outcomeUnknown = false;
    const bool done = trapped(errors, [&] { return work(*m_conn, errors); });
    const bool committed =
        done && trapped(errors, [&] { return m_conn->commit(errors, outcomeUnknown); });
    if (!done)
        trapped(errors, [&] {
            m_conn->rollback(errors);
            return true;
        });
    DbOutcome outcome = executeOutcome(committed, std::move(errors));
    outcome.outcomeUnknown = outcomeUnknown;
    return outcome;
}
