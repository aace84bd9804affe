#include "archive/ArchiveScript.h"

#include <QRegularExpression>
#include <cmath>

namespace ArchiveScript {

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QLatin1String signature("-- Sweep archive (");

QString dialectName(Dialect dialect)
{
    return dialect == Dialect::SqlServer ? QStringLiteral("SQL Server") : QStringLiteral("SQLite");
}

QString quoted(const QString& text, QChar quote)
{
    QString out = text;
    out.replace(quote, QString(2, quote));
    return quote + out + quote;
}

// The driver's "yyyy-MM-dd HH:mm:ss[.fff]" as a literal SQL Server reads the same whatever its
// language and date format: a T between date and time, a fraction of zeros dropped.
QString sqlServerDateTime(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d{4}-\d\d-\d\d)[ T](\d\d:\d\d:\d\d)(?:\.(\d+))?$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return text;
    QString out = m.captured(1) + QLatin1Char('T') + m.captured(2);
    const QString fraction = m.captured(3);
    if (!fraction.isEmpty() && fraction.count(QLatin1Char('0')) != fraction.size())
        out += QLatin1Char('.') + fraction;
    return out;
}

} // namespace

QString firstLine(Dialect dialect)
{
    return signature + dialectName(dialect) + QLatin1Char(')');
}

std::optional<Dialect> dialectOfFirstLine(QStringView line)
{
    line = line.trimmed();
    if (line.startsWith(QChar(0xFEFF)))
        line = line.sliced(1);
    for (Dialect d : {Dialect::SqlServer, Dialect::Sqlite}) {
        if (line == firstLine(d))
            return d;
    }
    return std::nullopt;
}

QString headerText(Dialect dialect, const Header& header)
{
    QString out = firstLine(dialect) + CRLF;
    out +=
        QStringLiteral("-- 삭제 전에 보관한 행입니다. 이 스크립트를 실행하면 행이 되돌아갑니다.") +
        CRLF;
    out += QStringLiteral("-- 시각: ") +
           header.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + CRLF;
    out += QStringLiteral("-- 컴퓨터: ") + header.address + CRLF;
    out += QStringLiteral("-- 작업: ") + header.logTag + CRLF;
    out += QStringLiteral("-- 데이터베이스: ") + header.database + CRLF;
    out += QStringLiteral("-- 삭제 문장:") + CRLF;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : header.deleteStatement.split(lineBreak))
        out += QStringLiteral("--   ") + line + CRLF;
    return out;
}

QString rowCountLine(const QString& table, qint64 count)
{
    return QStringLiteral("-- 행 수 ") + table + QStringLiteral(": ") +
           QStringLiteral("%1").arg(count, countWidth) + CRLF;
}

namespace {

// Quoted text straight into out; the common text without a quote is copied once.
void appendQuoted(QString& out, QStringView text)
{
    out += QLatin1Char('\'');
    if (!text.contains(QLatin1Char('\''))) {
        out += text;
    } else {
        for (const QChar c : text) {
            out += c;
            if (c == QLatin1Char('\''))
                out += c;
        }
    }
    out += QLatin1Char('\'');
}

} // namespace

void appendLiteral(QString& out, Dialect dialect, const DbValue& value)
{
    const bool server = dialect == Dialect::SqlServer;
    switch (value.type) {
    case DbValueType::Null:
        out += QLatin1String("NULL");
        return;
    case DbValueType::Integer:
    case DbValueType::Decimal:
        out += value.text;
        return;
    case DbValueType::Float:
        // SQLite keeps infinities (SQL Server cannot); 9e999 is how SQLite reads one back.
        if (std::isinf(value.number))
            out += value.number > 0 ? QLatin1String("9e999") : QLatin1String("-9e999");
        else // 17 significant digits bring back the very same double
            out += QString::number(value.number, 'g', 17);
        return;
    case DbValueType::DateTime:
        appendQuoted(out, server ? sqlServerDateTime(value.text) : value.text);
        return;
    case DbValueType::Binary:
        out += server ? QLatin1String("0x") : QLatin1String("X'");
        out += QLatin1String(value.bytes.toHex().toUpper());
        if (!server)
            out += QLatin1Char('\'');
        return;
    case DbValueType::TextBytes: // only SQLite keeps text that is not in its encoding
        out += QLatin1String("CAST(X'") + QLatin1String(value.bytes.toHex().toUpper()) +
               QLatin1String("' AS TEXT)");
        return;
    case DbValueType::Text:
        break;
    }
    if (server)
        out += QLatin1Char('N');
    appendQuoted(out, value.text);
}

QString literal(Dialect dialect, const DbValue& value)
{
    QString out;
    appendLiteral(out, dialect, value);
    return out;
}

QString quotedName(Dialect dialect, const QString& name)
{
    if (dialect == Dialect::Sqlite)
        return quoted(name, QLatin1Char('"'));
    QString out = name;
    out.replace(QLatin1Char(']'), QLatin1String("]]"));
    return QLatin1Char('[') + out + QLatin1Char(']');
}

QString insertHead(Dialect dialect, const QString& table, const std::vector<DbColumn>& columns)
{
    QString out = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (");
    for (size_t c = 0; c < columns.size(); ++c) {
        if (c)
            out += QLatin1Char(',');
        out += quotedName(dialect, columns[c].name);
    }
    return out + QStringLiteral(") VALUES (");
}

void appendInsert(QString& out, Dialect dialect, const QString& head,
                  const std::vector<DbValue>& row)
{
    out += head;
    for (size_t c = 0; c < row.size(); ++c) {
        if (c)
            out += QLatin1Char(',');
        appendLiteral(out, dialect, row[c]);
    }
    out += QLatin1String(");\r\n");
}

QString insertedTable(QStringView statement)
{
    static const QLatin1String insert("INSERT INTO ");
    if (!statement.startsWith(insert))
        return QString();
    const QStringView rest = statement.sliced(insert.size());
    const qsizetype end = rest.indexOf(QLatin1String(" ("));
    return end > 0 ? rest.first(end).toString() : QString();
}

QString identityInsert(const QString& table, bool on)
{
    return QStringLiteral("SET IDENTITY_INSERT ") + table +
           (on ? QStringLiteral(" ON;") : QStringLiteral(" OFF;")) + CRLF;
}

QString copyQuery(Dialect dialect, const QString& table, const QString& where)
{
    QString sql = QStringLiteral("SELECT * FROM ") + table;
    if (dialect == Dialect::SqlServer)
        sql += QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)");
    if (!where.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return sql;
}

} // namespace ArchiveScript
