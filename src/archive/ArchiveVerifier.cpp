#include "archive/ArchiveVerifier.h"

#include "archive/ArchiveFormat.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

const QByteArray bom("\xEF\xBB\xBF");
const QLatin1StringView CRLF("\r\n");

// The refusal reasons that are not a statement's own (those are in ArchiveStatement.cpp).
QString notOurs()
{
    return QStringLiteral("Sweep 보관 파일이 아닙니다");
}

// A count as the writer writes it: digits only.
bool readCount(QStringView text, qint64& count)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    count = text.toLongLong();
    return true;
}

class Checker
{
public:
    explicit Checker(ArchiveCheck& check) : m_check(check) {}

    void run(const QByteArray& bytes)
    {
        if (!bytes.startsWith(bom))
            return void(
                refuse(1, notOurs() + QStringLiteral(" (UTF-8 BOM 으로 시작하지 않습니다)")));
        qsizetype closingStart = bytes.size(); // byte offset of the closing line
        QString closing;
        if (!decode(bytes.sliced(bom.size()), m_check.text))
            return;
        if (!readFirstLine())
            return;
        if (m_check.header.format == 2) {
            closingStart = findClosingLine(bytes, closing);
            if (closingStart < bytes.size()) {
                m_check.text.chop(closing.size() + CRLF.size());
                checkSeal(bytes, closingStart, closing);
            }
        }
        if (!readHeader() || !readStatements())
            return;
        m_closingLine = m_line + 1;
        if (!m_identityOn.isEmpty())
            return void(
                refuse(m_closingLine,
                       QStringLiteral("SET IDENTITY_INSERT %1 OFF 가 없습니다").arg(m_identityOn)));
        if (m_check.header.format == 2 && closingStart < bytes.size())
            compareCounts(m_closingTables, m_closingCounts, {});
        else if (m_check.header.format == 1)
            compareCounts(m_check.header.tables, m_headerCounts, m_headerCountLines);
        if (m_check.refusal.isEmpty() && m_check.rows == 0)
            refuse(0, QStringLiteral("되돌릴 행이 없는 보관 파일입니다"));
        m_check.verified = m_check.refusal.isEmpty();
    }

private:
    // Keeps the first fault only; the reading goes on where it can, for the preview.
    bool refuse(qsizetype line, const QString& reason)
    {
        if (m_check.refusal.isEmpty()) {
            m_check.refusedLine = line;
            m_check.refusal = reason;
        }
        return false;
    }

    bool decode(QByteArrayView bytes, QString& text)
    {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        text = decoder.decode(bytes);
        if (!decoder.hasError())
            return true;
        // Only on the refusal: which line holds the first byte that is not UTF-8.
        qsizetype line = 1;
        for (const QByteArray& piece : bytes.toByteArray().split('\n')) {
            QStringDecoder lineDecoder(QStringDecoder::Utf8);
            const QString decoded = lineDecoder.decode(piece);
            if (lineDecoder.hasError())
                break;
            ++line;
        }
        return refuse(line, QStringLiteral("UTF-8 이 아닌 바이트가 있습니다"));
    }

    // The next line without its CR LF; false at the end or for a line not ended by CR LF.
    bool nextLine(QStringView& line)
    {
        const QStringView text(m_check.text);
        const qsizetype end = text.indexOf(CRLF, m_pos);
        if (m_pos >= text.size())
            return false;
        line = text.sliced(m_pos, (end < 0 ? text.size() : end) - m_pos);
        if (end < 0 || line.contains(u'\n') || line.contains(u'\r'))
            return refuse(m_line, QStringLiteral("줄이 CR LF 로 끝나지 않습니다"));
        m_pos = end + 2;
        ++m_line;
        return true;
    }

    bool readFirstLine()
    {
        QStringView line;
        if (!nextLine(line))
            return refuse(1, notOurs());
        static const std::pair<const QString*, std::pair<int, Dialect>> forms[] = {
            {&ArchiveFormat::firstLineSqlite, {2, Dialect::Sqlite}},
            {&ArchiveFormat::firstLineSqlServer, {2, Dialect::SqlServer}},
            {&ArchiveFormat::firstLineSqliteV1, {1, Dialect::Sqlite}},
            {&ArchiveFormat::firstLineSqlServerV1, {1, Dialect::SqlServer}},
        };
        for (const auto& [text, form] : forms) {
            if (line == *text) {
                m_check.header.format = form.first;
                m_check.header.dialect = form.second;
                return true;
            }
        }
        return refuse(1, notOurs());
    }

    // The byte offset where the closing line starts, or bytes.size() when there is none.
    qsizetype findClosingLine(const QByteArray& bytes, QString& closing)
    {
        const auto unfinished = [&] {
            const qsizetype lines = bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 1);
            refuse(lines, QStringLiteral("끝나지 않은 보관 파일입니다 (끝 줄이 없습니다)"));
            return bytes.size();
        };
        if (!bytes.endsWith(CRLF.latin1()))
            return unfinished();
        const qsizetype start = bytes.lastIndexOf('\n', bytes.size() - 3) + 1;
        if (start <= bom.size())
            return unfinished();
        QStringDecoder decoder(QStringDecoder::Utf8);
        closing = decoder.decode(bytes.sliced(start, bytes.size() - 2 - start));
        if (decoder.hasError() || !closing.startsWith(ArchiveFormat::closing))
            return unfinished();
        return start;
    }

    void checkSeal(const QByteArray& bytes, qsizetype closingStart, const QString& closing)
    {
        const qsizetype line = bytes.first(closingStart).count('\n') + 1;
        static const QRegularExpression form(QStringLiteral(R"(^(.*); SHA-256 ([0-9a-f]{64})$)"),
                                             QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch m =
            form.match(QStringView(closing).sliced(ArchiveFormat::closing.size()));
        bool countsRead = m.hasMatch();
        for (const QString& part :
             countsRead ? m.captured(1).split(QStringLiteral(", ")) : QStringList()) {
            const qsizetype blank = part.lastIndexOf(u' ');
            qint64 count = 0;
            if (blank <= 0 || !readCount(part.sliced(blank + 1), count)) {
                countsRead = false;
                break;
            }
            m_closingTables << part.first(blank);
            m_closingCounts << count;
        }
        if (!countsRead) {
            refuse(line, QStringLiteral("끝나지 않은 보관 파일입니다 (끝 줄을 읽을 수 없습니다)"));
            return;
        }
        const QByteArray hash =
            QCryptographicHash::hash(bytes.first(closingStart), QCryptographicHash::Sha256).toHex();
        if (hash != m.captured(2).toLatin1()) {
            refuse(line, QStringLiteral("SHA-256 이 맞지 않습니다: 파일이 쓰인 뒤에 바뀌었거나 "
                                        "잘렸습니다"));
            return;
        }
        m_check.finished = true;
    }

    // A header line that starts with label; its rest goes to value.
    bool labelled(const QString& label, QString& value)
    {
        QStringView line;
        if (!nextLine(line))
            return refuse(m_line + 1,
                          QStringLiteral("헤더에 \"%1\" 줄이 없습니다").arg(label.trimmed()));
        if (!line.startsWith(label))
            return refuse(m_line,
                          QStringLiteral("헤더에 \"%1\" 줄이 와야 합니다").arg(label.trimmed()));
        value = line.sliced(label.size()).toString();
        return true;
    }

    bool readHeader()
    {
        ArchiveHeader& h = m_check.header;
        QString notice, tables, none;
        const bool v2 = h.format == 2;
        if (!labelled(ArchiveFormat::notice, notice) || !notice.isEmpty())
            return refuse(m_line, QStringLiteral("헤더의 둘째 줄이 다릅니다"));
        if (!labelled(ArchiveFormat::time, h.time) ||
            !labelled(ArchiveFormat::computer, h.computer))
            return false;
        static const QRegularExpression timeForm(
            QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$)"));
        if (!timeForm.match(h.time).hasMatch())
            return refuse(m_line - 1, QStringLiteral("헤더의 시각을 읽을 수 없습니다"));
        if (v2 &&
            !(labelled(ArchiveFormat::server, h.server) &&
              labelled(ArchiveFormat::database, h.database) &&
              labelled(ArchiveFormat::work, h.work) && labelled(ArchiveFormat::tables, tables)))
            return false;
        if (!v2 && !(labelled(ArchiveFormat::work, h.work) &&
                     labelled(ArchiveFormat::database, h.database)))
            return false;
        if (v2 && !readTables(tables.split(QStringLiteral(", "))))
            return false;
        if (!labelled(ArchiveFormat::deleteStatement, none) || !none.isEmpty())
            return refuse(m_line, QStringLiteral("헤더에 \"-- 삭제 문장:\" 줄이 와야 합니다"));
        QStringList deleteLines;
        while (startsNextLine(ArchiveFormat::deleteLine)) {
            QString line;
            if (!labelled(ArchiveFormat::deleteLine, line))
                return false;
            deleteLines << line;
        }
        if (deleteLines.isEmpty())
            return refuse(m_line + 1, QStringLiteral("헤더에 삭제 문장이 없습니다"));
        h.deleteStatement = deleteLines.join(QStringLiteral("\r\n"));
        if (!v2 && !readCountLines())
            return false;
        m_check.headerRead = true;
        for (const QString& table : h.tables)
            m_check.rowsPerTable.emplace_back(table, 0);
        return true;
    }

    bool startsNextLine(const QString& label) const
    {
        return QStringView(m_check.text).sliced(m_pos).startsWith(label);
    }

    bool readTables(const QStringList& tables)
    {
        for (const QString& table : tables) {
            if (!ArchiveStatement::isTableName(table) || m_check.header.tables.contains(table))
                return refuse(m_line,
                              QStringLiteral("헤더의 표 이름이 잘못되었습니다: %1").arg(table));
            m_check.header.tables << table;
        }
        return true;
    }

    // Format 1: "-- 행 수 TABLE:" and the count, one line per table.
    bool readCountLines()
    {
        while (startsNextLine(ArchiveFormat::rowCountV1)) {
            QString rest;
            if (!labelled(ArchiveFormat::rowCountV1, rest))
                return false;
            const qsizetype colon = rest.indexOf(QStringLiteral(": "));
            qint64 count = 0;
            if (colon <= 0 || !readCount(rest.sliced(colon + 2).trimmed(), count) ||
                !readTables({rest.first(colon)}))
                return refuse(m_line, QStringLiteral("헤더의 행 수를 읽을 수 없습니다"));
            m_headerCounts << count;
            m_headerCountLines << m_line;
        }
        if (m_check.header.tables.isEmpty())
            return refuse(m_line + 1, QStringLiteral("헤더에 행 수가 없습니다"));
        return true;
    }

    bool readStatements()
    {
        const QStringView text(m_check.text);
        const ArchiveHeader& h = m_check.header;
        std::vector<QStringView> columnLists(h.tables.size());
        while (m_pos < text.size()) {
            const qsizetype line = m_line + 1;
            const ArchiveStatement::Result r =
                ArchiveStatement::parse(text, m_pos, h.dialect, false);
            if (!r.ok)
                return refuse(line + text.sliced(m_pos, r.errorAt - m_pos).count(u'\n'), r.reason);
            const ArchiveStatement::Parsed& p = r.parsed;
            const int table = int(h.tables.indexOf(p.table));
            if (table < 0)
                return refuse(line, QStringLiteral("헤더의 표에 없는 표입니다: %1").arg(p.table));
            if (!statementFits(p, table, line, columnLists[table]))
                return false;
            m_check.statements.push_back({m_pos, p.end - m_pos, line, table, p.kind});
            m_line += text.sliced(m_pos, p.end - m_pos).count(u'\n');
            m_pos = p.end;
        }
        return true;
    }

    bool statementFits(const ArchiveStatement::Parsed& p, int table, qsizetype line,
                       QStringView& columns)
    {
        using ArchiveStatement::Kind;
        switch (p.kind) {
        case Kind::Insert:
            if (columns.isNull())
                columns = p.columnList;
            else if (columns != p.columnList)
                return refuse(line, QStringLiteral("같은 표의 INSERT 가 다른 열을 씁니다"));
            ++m_check.rowsPerTable[table].second;
            ++m_check.rows;
            return true;
        case Kind::IdentityOn:
            if (!m_identityOn.isEmpty())
                return refuse(line, QStringLiteral("SET IDENTITY_INSERT %1 이 이미 켜져 "
                                                   "있습니다")
                                        .arg(m_identityOn));
            m_identityOn = p.table;
            return true;
        case Kind::IdentityOff:
            if (m_identityOn != p.table)
                return refuse(line, QStringLiteral("켜지지 않은 SET IDENTITY_INSERT 를 "
                                                   "끕니다: %1")
                                        .arg(p.table));
            m_identityOn.clear();
            return true;
        }
        return false;
    }

    // The counts a file states against the inserts it holds, table by table.
    void compareCounts(const QStringList& tables, const QList<qint64>& counts,
                       const QList<qsizetype>& lines)
    {
        if (tables != m_check.header.tables) {
            refuse(m_closingLine, QStringLiteral("끝 줄의 표가 헤더의 표와 다릅니다"));
            return;
        }
        for (qsizetype i = 0; i < tables.size(); ++i) {
            const qint64 inserted = m_check.rowsPerTable[i].second;
            if (counts[i] != inserted) {
                refuse(lines.isEmpty() ? m_closingLine : lines[i],
                       QStringLiteral("%1 의 행 수가 맞지 않습니다: 적힌 수 %2, INSERT %3")
                           .arg(tables[i])
                           .arg(counts[i])
                           .arg(inserted));
                return;
            }
        }
        if (m_check.header.format == 1)
            m_check.finished = true;
    }

    ArchiveCheck& m_check;
    qsizetype m_pos = 0;  // in m_check.text
    qsizetype m_line = 0; // lines read so far
    qsizetype m_closingLine = 0;
    QString m_identityOn;
    QStringList m_closingTables;
    QList<qint64> m_closingCounts;
    QList<qint64> m_headerCounts; // format 1
    QList<qsizetype> m_headerCountLines;
};

} // namespace

QString ArchiveCheck::refusalText() const
{
    if (refusal.isEmpty() || refusedLine <= 0)
        return refusal;
    return QStringLiteral("%1번째 줄: %2").arg(refusedLine).arg(refusal);
}

ArchiveCheck verifyArchive(const QByteArray& bytes)
{
    ArchiveCheck check;
    Checker(check).run(bytes);
    return check;
}
