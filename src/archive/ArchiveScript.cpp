#include "archive/ArchiveScript.h"

#include "archive/ArchiveFormat.h"

#include <QRegularExpression>
#include <QSysInfo>
#include <cmath>

namespace ArchiveScript {

namespace {

const QString CRLF = QStringLiteral("\r\n");
// A concatenation of SQL Server texts stays within 4000 characters unless one piece is of the
// max type, so a longer text starts with an empty one.
constexpr qsizetype serverPieceLimit = 4000;

// A header value on its one comment line: a line break would end the comment.
QString oneLine(QString text)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]+"));
    return text.replace(lineBreak, QStringLiteral(" "));
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

// A UTF-16 unit a quoted literal cannot carry: U+0000, or half of a surrogate pair on its own.
// SQL Server also drops a backslash before a line break inside a literal, so its line breaks are
// written as NCHAR(13) and NCHAR(10).
bool isOdd(Dialect dialect, QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isNull())
        return true;
    if (dialect == Dialect::SqlServer && (c == QLatin1Char('\r') || c == QLatin1Char('\n')))
        return true;
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

// Text with odd units as a concatenation of quoted runs and character calls: 'a'||char(0)||'b'
// on SQLite, N'a'+NCHAR(0)+N'b' on SQL Server, empty runs left out. SQLite text is UTF-8, so it
// holds no lone surrogate: false then.
bool appendPieces(QString& out, Dialect dialect, QStringView text)
{
    const bool server = dialect == Dialect::SqlServer;
    QString expression;
    if (server && text.size() > serverPieceLimit)
        expression += QLatin1String("CAST(N'' AS nvarchar(max))");
    const auto join = [&] {
        if (!expression.isEmpty())
            expression += server ? QLatin1String("+") : QLatin1String("||");
    };
    qsizetype run = 0;
    const auto flushRun = [&](qsizetype end) {
        if (end > run) {
            join();
            if (server)
                expression += QLatin1Char('N');
            appendQuoted(expression, text.sliced(run, end - run));
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isOdd(dialect, text, i))
            continue;
        if (!server && !text[i].isNull())
            return false;
        flushRun(i);
        join();
        expression += (server ? QLatin1String("NCHAR(") : QLatin1String("char(")) +
                      QString::number(text[i].unicode()) + QLatin1Char(')');
        run = i + 1;
    }
    flushRun(text.size());
    out += expression;
    return true;
}

bool appendText(QString& out, Dialect dialect, QStringView text)
{
    // Most texts hold no unit below U+0020 and no surrogate: one quick pass tells.
    const bool server = dialect == Dialect::SqlServer;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && (u == 0 || (server && (u == u'\r' || u == u'\n')))) ||
            (u >= 0xD800 && u <= 0xDFFF))
            return appendPieces(out, dialect, text);
    }
    if (dialect == Dialect::SqlServer)
        out += QLatin1Char('N');
    appendQuoted(out, text);
    return true;
}

} // namespace

QString firstLine(Dialect dialect)
{
    return dialect == Dialect::SqlServer ? ArchiveFormat::firstLineSqlServer
                                         : ArchiveFormat::firstLineSqlite;
}

QString computer(const QString& address)
{
    return QSysInfo::machineHostName() + QStringLiteral(" (") + address + QLatin1Char(')');
}

QString headerText(Dialect dialect, const Header& header)
{
    QString out = firstLine(dialect) + CRLF;
    out += ArchiveFormat::notice + CRLF;
    out += ArchiveFormat::time + header.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + CRLF;
    out += ArchiveFormat::computer + oneLine(header.computer) + CRLF;
    out += ArchiveFormat::server + oneLine(header.database.server) + CRLF;
    out += ArchiveFormat::database + oneLine(header.database.database) + CRLF;
    out += ArchiveFormat::work + oneLine(header.work) + CRLF;
    out += ArchiveFormat::tables + header.tables.join(QStringLiteral(", ")) + CRLF;
    out += ArchiveFormat::deleteStatement + CRLF;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : header.deleteStatement.split(lineBreak))
        out += ArchiveFormat::deleteLine + line + CRLF;
    return out;
}

QString closingLine(const RowsPerTable& rows, const QByteArray& sha256)
{
    QStringList counts;
    for (const auto& [table, count] : rows)
        counts << table + QLatin1Char(' ') + QString::number(count);
    return ArchiveFormat::closing + counts.join(QStringLiteral(", ")) + ArchiveFormat::hashMark +
           QString::fromLatin1(sha256.toHex()) + CRLF;
}

bool appendLiteral(QString& out, Dialect dialect, const DbValue& value)
{
    const bool server = dialect == Dialect::SqlServer;
    switch (value.type) {
    case DbValueType::Null:
        out += QLatin1String("NULL");
        return true;
    case DbValueType::Integer:
    case DbValueType::Decimal:
        if (value.text.isEmpty())
            return false;
        out += value.text;
        return true;
    case DbValueType::Float:
        if (std::isnan(value.number))
            return false;
        // SQLite keeps infinities (SQL Server cannot); 9e999 is how SQLite reads one back.
        if (std::isinf(value.number)) {
            if (server)
                return false;
            out += value.number > 0 ? QLatin1String("9e999") : QLatin1String("-9e999");
        } else { // 17 significant digits bring back the very same double
            out += QString::number(value.number, 'g', 17);
        }
        return true;
    case DbValueType::DateTime:
        appendQuoted(out, server ? sqlServerDateTime(value.text) : value.text);
        return true;
    case DbValueType::Binary:
        out += server ? QLatin1String("0x") : QLatin1String("X'");
        out += QLatin1String(value.bytes.toHex().toUpper());
        if (!server)
            out += QLatin1Char('\'');
        return true;
    case DbValueType::TextBytes: // only SQLite keeps text that is not in its encoding
        if (server)
            return false;
        out += QLatin1String("CAST(X'") + QLatin1String(value.bytes.toHex().toUpper()) +
               QLatin1String("' AS TEXT)");
        return true;
    case DbValueType::Text:
        break;
    }
    return appendText(out, dialect, value.text);
}

QString quotedName(Dialect dialect, const QString& name)
{
    const QChar open = dialect == Dialect::Sqlite ? QLatin1Char('"') : QLatin1Char('[');
    const QChar close = dialect == Dialect::Sqlite ? QLatin1Char('"') : QLatin1Char(']');
    QString out = name;
    out.replace(close, QString(2, close));
    return open + out + close;
}

QString insertHead(Dialect dialect, const QString& table, const std::vector<DbColumn>& columns)
{
    QString out = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (");
    bool first = true;
    for (const DbColumn& column : columns) {
        if (column.serverFilled)
            continue;
        if (!first)
            out += QLatin1Char(',');
        first = false;
        out += quotedName(dialect, column.name);
    }
    return out + QStringLiteral(") VALUES (");
}

bool appendInsert(QString& out, Dialect dialect, const QString& head,
                  const std::vector<DbColumn>& columns, const std::vector<DbValue>& row)
{
    const qsizetype start = out.size();
    out += head;
    bool first = true;
    for (size_t c = 0; c < row.size(); ++c) {
        if (c < columns.size() && columns[c].serverFilled)
            continue;
        if (!first)
            out += QLatin1Char(',');
        first = false;
        if (!appendLiteral(out, dialect, row[c])) {
            out.truncate(start);
            return false;
        }
    }
    out += QLatin1String(");\r\n");
    return true;
}

QString identityInsert(const QString& table, bool on)
{
    return QStringLiteral("SET IDENTITY_INSERT ") + table +
           (on ? QStringLiteral(" ON;") : QStringLiteral(" OFF;")) + CRLF;
}

} // namespace ArchiveScript
