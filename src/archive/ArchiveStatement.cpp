#include "archive/ArchiveStatement.h"

namespace ArchiveStatement {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isNamePart(QChar c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9');
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int hexValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    return -1;
}

// A cursor over one statement that refuses at the first byte the writer would not have written.
class Reader
{
public:
    Reader(QStringView text, qsizetype pos, Dialect dialect, bool withValues)
        : m_text(text), m_pos(pos), m_server(dialect == Dialect::SqlServer),
          m_withValues(withValues)
    {
    }

    Result read()
    {
        Result result;
        result.ok = readStatement(result.parsed);
        result.parsed.end = m_pos;
        result.reason = m_reason;
        result.errorAt = m_errorAt;
        return result;
    }

private:
    bool fail(const QString& reason)
    {
        m_reason = reason;
        m_errorAt = m_pos;
        return false;
    }
    bool take(QLatin1StringView word)
    {
        if (!m_text.sliced(m_pos).startsWith(word))
            return false;
        m_pos += word.size();
        return true;
    }
    bool take(char16_t c)
    {
        if (m_pos >= m_text.size() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }
    QChar peek() const { return m_pos < m_text.size() ? m_text[m_pos] : QChar(); }

    bool readStatement(Parsed& parsed)
    {
        if (take(QLatin1StringView("INSERT INTO "))) {
            parsed.kind = Kind::Insert;
            if (!readTable(parsed.table) || !take(QLatin1StringView(" (")))
                return fail(QStringLiteral("INSERT INTO 뒤에 표 이름과 열 목록이 와야 합니다"));
            const qsizetype columnsStart = m_pos - 1;
            if (!readColumns(parsed.columnCount, parsed.columns))
                return false;
            parsed.columnList = m_text.sliced(columnsStart, m_pos - columnsStart);
            if (!take(QLatin1StringView(" VALUES (")))
                return fail(QStringLiteral("열 목록 뒤에 VALUES ( 가 와야 합니다"));
            int values = 0;
            if (!readValues(values, parsed.values))
                return false;
            if (values != parsed.columnCount)
                return fail(QStringLiteral("열은 %1개인데 값은 %2개입니다")
                                .arg(parsed.columnCount)
                                .arg(values));
            return endOfStatement();
        }
        if (m_server && take(QLatin1StringView("SET IDENTITY_INSERT "))) {
            if (!readTable(parsed.table))
                return fail(QStringLiteral("SET IDENTITY_INSERT 뒤에 표 이름이 와야 합니다"));
            if (take(QLatin1StringView(" ON")))
                parsed.kind = Kind::IdentityOn;
            else if (take(QLatin1StringView(" OFF")))
                parsed.kind = Kind::IdentityOff;
            else
                return fail(QStringLiteral("SET IDENTITY_INSERT 는 ON 또는 OFF 로 끝나야 합니다"));
            return endOfStatement();
        }
        return fail(QStringLiteral("보관 파일이 쓰는 문장이 아닙니다 (INSERT INTO 만 있을 수 "
                                   "있습니다)"));
    }

    bool endOfStatement()
    {
        if (!take(u';') || !take(QLatin1StringView("\r\n")))
            return fail(QStringLiteral("문장이 ; 와 줄 끝으로 끝나지 않고 뒤에 다른 것이 "
                                       "있습니다"));
        return true;
    }

    bool readTable(QString& table)
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (isNamePart(m_text[m_pos]) || m_text[m_pos] == u'.'))
            ++m_pos;
        table = m_text.sliced(start, m_pos - start).toString();
        return isTableName(table);
    }

    bool readColumns(int& count, QStringList& names)
    {
        const char16_t open = m_server ? u'[' : u'"';
        const char16_t close = m_server ? u']' : u'"';
        do {
            if (!take(open))
                return fail(QStringLiteral("열 이름은 %1…%2 로 써야 합니다")
                                .arg(QChar(open), QChar(close)));
            const qsizetype start = m_pos;
            for (;;) {
                const QChar c = peek();
                if (c.isNull() || c == u'\r' || c == u'\n')
                    return fail(QStringLiteral("열 이름이 닫히지 않았습니다"));
                ++m_pos;
                if (c == close && !take(close))
                    break;
            }
            if (m_pos - start < 2)
                return fail(QStringLiteral("열 이름이 비어 있습니다"));
            if (m_withValues)
                names << m_text.sliced(start, m_pos - 1 - start)
                             .toString()
                             .replace(QString(2, QChar(close)), QString(QChar(close)));
            ++count;
        } while (take(u','));
        if (!take(u')'))
            return fail(QStringLiteral("열 목록이 ) 로 끝나지 않습니다"));
        return true;
    }

    bool readValues(int& count, std::vector<Value>& values)
    {
        do {
            Value value;
            if (!readValue(value))
                return false;
            ++count;
            if (m_withValues)
                values.push_back(std::move(value));
        } while (take(u','));
        if (!take(u')'))
            return fail(QStringLiteral("값 뒤에는 , 또는 ) 가 와야 합니다"));
        return true;
    }

    bool readValue(Value& value)
    {
        if (take(QLatin1StringView("NULL"))) {
            value.type = Value::Type::Null;
            return true;
        }
        if (m_server ? take(QLatin1StringView("0x")) : take(QLatin1StringView("X'"))) {
            value.type = Value::Type::Binary;
            return readHex(value.bytes) && (m_server || take(u'\'') || fail(hexFault()));
        }
        if (!m_server && take(QLatin1StringView("CAST(X'"))) {
            value.type = Value::Type::TextBytes;
            if (!readHex(value.bytes))
                return false;
            if (!take(QLatin1StringView("' AS TEXT)")))
                return fail(QStringLiteral("CAST(X'…' AS TEXT) 의 모양이 아닙니다"));
            return true;
        }
        const QChar c = peek();
        if (c == u'-' || c == u'.' || isDigit(c))
            return readNumber(value);
        value.type = Value::Type::Text;
        if (m_server && c == u'\'') // a date-time: never joined with other pieces
            return readQuoted(value.text);
        // A long joined text on SQL Server: the first piece is of the max type, or it is cut.
        if (m_server && take(QLatin1StringView("CAST(N'' AS nvarchar(max))")) && !take(u'+'))
            return fail(QStringLiteral("값이 아닌 것이 있습니다"));
        return readJoinedText(value.text);
    }

    static QString hexFault() { return QStringLiteral("16진수 값이 잘못되었습니다"); }

    bool readHex(QByteArray& bytes)
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && hexValue(m_text[m_pos]) >= 0)
            ++m_pos;
        const qsizetype digits = m_pos - start;
        if (digits % 2)
            return fail(hexFault());
        if (m_withValues) {
            bytes.resize(digits / 2);
            for (qsizetype i = 0; i < digits; i += 2)
                bytes[i / 2] =
                    char(hexValue(m_text[start + i]) * 16 + hexValue(m_text[start + i + 1]));
        }
        return true;
    }

    bool readDigits()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && isDigit(m_text[m_pos]))
            ++m_pos;
        return m_pos > start;
    }

    bool readNumber(Value& value)
    {
        const qsizetype start = m_pos;
        take(u'-');
        const bool whole = readDigits();
        if (take(u'.') ? !readDigits() : !whole)
            return fail(QStringLiteral("숫자가 잘못되었습니다"));
        if (take(u'e') || take(u'E')) {
            if (!take(u'+'))
                take(u'-');
            if (!readDigits())
                return fail(QStringLiteral("숫자가 잘못되었습니다"));
        }
        value.type = Value::Type::Number;
        if (m_withValues)
            value.text = m_text.sliced(start, m_pos - start).toString();
        return true;
    }

    // '…' with every quote doubled; line breaks inside belong to the text.
    bool readQuoted(QString& text)
    {
        if (!take(u'\''))
            return fail(QStringLiteral("값이 아닌 것이 있습니다"));
        for (;;) {
            const qsizetype quote = m_text.indexOf(u'\'', m_pos);
            if (quote < 0) {
                m_pos = m_text.size();
                return fail(QStringLiteral("따옴표가 닫히지 않았습니다"));
            }
            const QStringView piece = m_text.sliced(m_pos, quote - m_pos);
            if (piece.contains(QChar(0))) {
                m_pos += piece.indexOf(QChar(0));
                return fail(QStringLiteral("글자 U+0000 이 글 안에 그대로 있습니다"));
            }
            if (m_withValues)
                text += piece;
            m_pos = quote + 1;
            if (!take(u'\''))
                return true;
            if (m_withValues)
                text += u'\'';
        }
    }

    // SQLite: '…' and char(n) joined by ||; SQL Server: N'…' and NCHAR(n) joined by +.
    bool readJoinedText(QString& text)
    {
        const QLatin1StringView join = m_server ? QLatin1StringView("+") : QLatin1StringView("||");
        do {
            if (take(m_server ? QLatin1StringView("NCHAR(") : QLatin1StringView("char("))) {
                if (!readCharacter(text))
                    return false;
            } else if (m_server && !take(u'N')) {
                return fail(QStringLiteral("값이 아닌 것이 있습니다"));
            } else if (!readQuoted(text)) {
                return false;
            }
        } while (take(join));
        return true;
    }

    bool readCharacter(QString& text)
    {
        const qsizetype start = m_pos;
        if (!readDigits() || m_pos - start > 7 || !take(u')'))
            return fail(QStringLiteral("문자 번호가 잘못되었습니다"));
        const uint code = m_text.sliced(start, m_pos - 1 - start).toUInt();
        if (code > (m_server ? 0xFFFFu : 0x10FFFFu))
            return fail(QStringLiteral("문자 번호가 잘못되었습니다"));
        if (m_withValues) {
            if (code > 0xFFFF)
                text += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
            else
                text += QChar(char16_t(code));
        }
        return true;
    }

    QStringView m_text;
    qsizetype m_pos;
    bool m_server;
    bool m_withValues;
    QString m_reason;
    qsizetype m_errorAt = 0;
};

} // namespace

Result parse(QStringView text, qsizetype start, Dialect dialect, bool withValues)
{
    return Reader(text, start, dialect, withValues).read();
}

bool isTableName(QStringView name)
{
    const auto part = [](QStringView p) {
        if (p.isEmpty() || !isNameStart(p[0]))
            return false;
        for (const QChar c : p)
            if (!isNamePart(c))
                return false;
        return true;
    };
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0)
        return part(name);
    return part(name.first(dot)) && part(name.sliced(dot + 1));
}

} // namespace ArchiveStatement
