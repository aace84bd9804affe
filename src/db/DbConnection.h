#pragma once

#include "db/Dialect.h"
#include "db/TextTable.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

// One record of what a database said about a failure: its native number and its text. The state
// is the five-letter SQLSTATE where the backend has one ("01..." marks a mere warning).
struct DbDiagnostic
{
    qint32 number = 0;
    QString description;
    QString state;

    bool isWarning() const { return state.startsWith(QLatin1String("01")); }
};

using DbDiagnostics = std::vector<DbDiagnostic>;

// The connection layer's own reasons, for failures no database reported.
namespace DbTexts {
inline const QString notConnected = QStringLiteral("데이터베이스에 연결되어 있지 않습니다");
inline const QString rowReadStopped = QStringLiteral("행 읽기가 중단되었습니다");
} // namespace DbTexts

// Value texts both backends agree on, so a grid shows the same whichever database answered.
// A date-time "yyyy-MM-dd HH:mm:ss[.fff]" loses its fraction; other texts stay as they are.
QString dateTimeText(const QString& text);
// A decimal "15000.00" becomes "15000", "12.50" becomes "12.5"; anything else stays.
QString decimalText(const QString& text);
// A binary floating value with at most 15 significant digits, without exponent where it fits.
QString floatText(double value);
// Binary data as uppercase hexadecimal digits, two per byte, without a prefix.
QString binaryText(const QByteArray& bytes);

// The first record that is more than a warning, else the first record; a default one when the
// list is empty. A statement's error text names this one.
DbDiagnostic primaryDiagnostic(const DbDiagnostics& diagnostics);

// What a column's value is, as far as writing it back as a literal cares.
enum class DbValueType
{
    Null,
    Integer,
    Decimal,
    Float,
    Text,
    DateTime,
    Binary,
    // A text whose stored bytes are not valid in the database's encoding (SQLite text that is not
    // UTF-8): bytes holds them exactly, so they are written back as they were.
    TextBytes,
};

// One value of a typed row read: text holds integers, decimals (exact, as the server wrote them),
// texts and date-times; number a floating value; bytes a binary one.
struct DbValue
{
    DbValueType type = DbValueType::Null;
    QString text;
    double number = 0;
    QByteArray bytes;
};

struct DbColumn
{
    QString name;
    bool identity = false; // the server numbers it itself (SQL Server IDENTITY)
    // The server fills it and refuses a value for it (rowversion, computed): left out of inserts.
    bool serverFilled = false;
};

// Receives each row of a typed read with the result's columns; false stops the read.
using DbRowReader =
    std::function<bool(const std::vector<DbColumn>& columns, const std::vector<DbValue>& row)>;

// One open connection to a database. Mod_DB owns exactly one and turns what these report into
// DB_Status and DB_ErrText. No function here throws; every failure comes back as false with at
// least one diagnostic.
class DbConnection
{
public:
    virtual ~DbConnection() = default;

    virtual Dialect dialect() const = 0;
    virtual bool open(DbDiagnostics& errors) = 0;
    virtual bool isOpen() const = 0;

    // Runs a query and fills result with the field names in row 0 and every record after it, NULL
    // as the empty text. A failure may leave result half filled, so callers pass a scratch table.
    virtual bool query(const QString& sql, TextTable& result, DbDiagnostics& errors) = 0;

    // Runs a statement text, possibly several statements, inside one transaction: every change
    // is committed together or, on any failure, rolled back together. Afterwards the connection
    // is never left inside a transaction. On failure *outcomeUnknown (when given) tells whether
    // the change may stand after all: the commit's answer was lost with the connection, or the
    // transaction could not be ended.
    virtual bool execute(const QString& sql, DbDiagnostics& errors,
                         bool* outcomeUnknown = nullptr) = 0;

    // Ends the connection, first rolling back whatever transaction it still holds. False (with the
    // reasons) when it could not be ended: the connection is then kept, so that its locks are
    // never orphaned and a later close or statement can still end it.
    virtual bool close(DbDiagnostics& errors) = 0;

    // An explicit transaction, for work that must see and change the same rows with other
    // writers held off: immediate takes the write lock at once (SQLite's BEGIN IMMEDIATE).
    virtual bool beginTransaction(bool immediate, DbDiagnostics& errors) = 0;
    // Inside the transaction: streams a query's rows one by one, typed, without keeping them.
    virtual bool readRows(const QString& sql, const DbRowReader& reader, DbDiagnostics& errors) = 0;
    // Inside the transaction: runs a statement text (possibly several statements). affectedRows,
    // when given, receives the rows its inserts, updates and deletes changed themselves, summed
    // over the statements (-1 when the database did not say for one of them).
    virtual bool executeInTransaction(const QString& sql, DbDiagnostics& errors,
                                      qint64* affectedRows = nullptr) = 0;
    // Ends the transaction. A failed commit rolls back; outcomeUnknown is set when the connection
    // went during the commit, so whether the change stands is not known.
    virtual bool commit(DbDiagnostics& errors, bool& outcomeUnknown) = 0;
    virtual void rollback(DbDiagnostics& errors) = 0;
};
