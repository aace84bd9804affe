#include "archive/ArchiveScript.h"

#include <QRegularExpression>
#include <QSysInfo>
#include <cmath>

namespace ArchiveScript {

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString hashMark = QStringLiteral("; SHA-256 ");
// A concatenation of SQL Server texts stays within 4000 characters unless one piece is of the
// max type, so a longer text starts with an empty one.
constexpr qsizetype serverPieceLimit = 4000;

QString dialectName(Dialect dialect)
{
    return dialect == Dialect::SqlServer ? QStringLiteral("SQL Server") : QStringLiteral("SQLite");
}

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
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isOdd(dialect, text, i))
            return appendPieces(out, dialect, text);
    }
    if (dialect == Dialect::SqlServer)
        out += QLatin1Char('N');
    appendQuoted(out, text);
    return true;
}

// Reads a bracketed, comma-separated list from text[pos] (just after its '(') to its ')': the
// pieces as written, quotes ('…', "…", […]) and nested brackets kept whole.
bool splitList(QStringView text, qsizetype& pos, QStringList& pieces)
{
    int depth = 0;
    qsizetype start = pos;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            for (++pos;; ++pos) {
                if (pos >= text.size())
                    return false;
                if (text[pos] != close)
                    continue;
                if (pos + 1 < text.size() && text[pos + 1] == close)
                    ++pos; // doubled: still inside
                else
                    break;
            }
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')') && depth > 0) {
            --depth;
        } else if ((c == QLatin1Char(',') || c == QLatin1Char(')')) && depth == 0) {
            pieces << text.sliced(start, pos - start).toString();
            start = ++pos;
            if (c == QLatin1Char(')'))
                return true;
            continue;
        }
        ++pos;
    }
    return false;
}

} // namespace

QString firstLine(Dialect dialect)
{
    return QStringLiteral("-- Sweep archive 2 (") + dialectName(dialect) + QLatin1Char(')');
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

QString computer(const QString& address)
{
    return QSysInfo::machineHostName() + QStringLiteral(" (") + address + QLatin1Char(')');
}

QString headerText(Dialect dialect, const Header& header)
{
    QString out = firstLine(dialect) + CRLF;
    out +=
        QStringLiteral("-- 삭제 전에 보관한 행입니다. 이 스크립트를 실행하면 행이 되돌아갑니다.") +
        CRLF;
    out += QStringLiteral("-- 시각: ") +
           header.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + CRLF;
    out += QStringLiteral("-- 컴퓨터: ") + oneLine(header.computer) + CRLF;
    out += QStringLiteral("-- 서버: ") + oneLine(header.database.server) + CRLF;
    out += QStringLiteral("-- 데이터베이스: ") + oneLine(header.database.database) + CRLF;
    out += QStringLiteral("-- 작업: ") + oneLine(header.work) + CRLF;
    out += QStringLiteral("-- 표: ") + header.tables.join(QStringLiteral(", ")) + CRLF;
    out += QStringLiteral("-- 삭제 문장:") + CRLF;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : header.deleteStatement.split(lineBreak))
        out += QStringLiteral("--   ") + line + CRLF;
    return out;
}

QString closingLine(const RowsPerTable& rows, const QByteArray& sha256)
{
    QStringList counts;
    for (const auto& [table, count] : rows)
        counts << table + QLatin1Char(' ') + QString::number(count);
    return closingStart + counts.join(QStringLiteral(", ")) + hashMark +
           QString::fromLatin1(sha256.toHex()) + CRLF;
}

std::optional<Closing> parseClosingLine(QStringView line)
{
    if (line.endsWith(CRLF))
        line.chop(2);
    if (!line.startsWith(closingStart))
        return std::nullopt;
    line = line.sliced(closingStart.size());
    const qsizetype mark = line.lastIndexOf(hashMark);
    if (mark < 0)
        return std::nullopt;
    const QStringView hex = line.sliced(mark + hashMark.size());
    static const QRegularExpression lowerHex(QStringLiteral("^[0-9a-f]{64}$"));
    if (!lowerHex.match(hex.toString()).hasMatch())
        return std::nullopt;
    Closing closing;
    closing.sha256 = QByteArray::fromHex(hex.toLatin1());
    for (const QStringView part : line.first(mark).split(QStringLiteral(", "))) {
        const qsizetype space = part.lastIndexOf(QLatin1Char(' '));
        bool number = false;
        const qint64 count = space > 0 ? part.sliced(space + 1).toLongLong(&number) : -1;
        if (!number || count < 0 || part.sliced(space + 1).startsWith(QLatin1Char('+')))
            return std::nullopt;
        closing.rows.emplace_back(part.first(space).toString(), count);
    }
    return closing;
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

QString insertedTable(QStringView statement)
{
    static const QLatin1String insert("INSERT INTO ");
    if (!statement.startsWith(insert))
        return QString();
    const QStringView rest = statement.sliced(insert.size());
    const qsizetype end = rest.indexOf(QLatin1String(" ("));
    return end > 0 ? rest.first(end).toString() : QString();
}

std::optional<InsertParts> splitInsert(QStringView line)
{
    if (line.endsWith(CRLF))
        line.chop(2);
    static const QLatin1String insert("INSERT INTO ");
    static const QLatin1String values(" VALUES (");
    if (!line.startsWith(insert))
        return std::nullopt;
    InsertParts parts;
    qsizetype pos = line.indexOf(QLatin1String(" ("), insert.size());
    if (pos <= insert.size())
        return std::nullopt;
    parts.table = line.sliced(insert.size(), pos - insert.size()).toString();
    pos += 2;
    if (!splitList(line, pos, parts.columns) || line.sliced(pos).startsWith(values) == false)
        return std::nullopt;
    pos += values.size();
    if (!splitList(line, pos, parts.values) || line.sliced(pos) != QLatin1String(";") ||
        parts.values.size() != parts.columns.size())
        return std::nullopt;
    return parts;
}

} // namespace ArchiveScript
