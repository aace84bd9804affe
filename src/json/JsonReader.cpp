#include "json/JsonReader.h"

#include "json/PercentText.h"
#include "json/cStringBuilder.h"

namespace {

constexpr char16_t CR = u'\r';
constexpr char16_t LF = u'\n';
constexpr char16_t TAB = u'\t';

// Messages that quote the rest of the text quote at most this much of it, so that a long answer
// full of malformed values cannot make the error text grow with the square of its length.
constexpr qsizetype QuoteLimit = 256;

bool isNumberCharacter(QChar ch)
{
    switch (ch.unicode()) {
    case u'+':
    case u'-':
    case u'.':
    case u'e':
    case u'E':
        return true;
    default:
        return ch >= u'0' && ch <= u'9';
    }
}

} // namespace

// One reading of one text: the readers share it and advance the position in place. pos is
// 1-based, as the messages report it; past the end (or below 1) means the end.
struct JsonReader::Cursor
{
    explicit Cursor(const QString& t) : text(t) {}

    const QString& text;
    qsizetype pos = 1;
    int depth = 0;
    // A member failure on its way from the reader that met it to the nearest object or list.
    bool failed = false;
    QString failure;

    bool atEnd() const { return pos < 1 || pos > text.size(); }
    QChar at() const { return atEnd() ? QChar() : text[pos - 1]; }
    QString position() const { return QString::number(pos); }
    QString rest() const { return atEnd() ? QString() : text.mid(pos - 1, QuoteLimit); }
    QString next20() const { return atEnd() ? QString() : text.mid(pos - 1, 20); }
    QString last20() const { return text.right(20); }
    void fail(const QString& description)
    {
        failed = true;
        failure = description;
    }
};

JsonValue JsonReader::ReadJson(const QString& text)
{
    m_errors.clear();
    try {
        Cursor c(text);
        SkipBlanks(c);
        c.depth = 1;
        if (c.at() == u'{')
            return ReadObject(c);
        if (c.at() == u'[')
            return ReadArray(c);
        m_errors = QStringLiteral("Invalid JSON");
    } catch (...) {
        // Out of memory or a text beyond the builder's range: the caller gets what it would for
        // an unreadable answer, never the failure itself.
    }
    return {};
}

void JsonReader::addLine(const QString& line)
{
    m_errors += line;
    m_errors += QStringLiteral("\r\n");
}

void JsonReader::SkipBlanks(Cursor& c) const
{
    bool pending = false; // a "/" or "*" was just seen
    bool inComment = false;
    bool inBlock = false;
    for (; !c.atEnd(); ++c.pos) {
        const char16_t ch = c.at().unicode();
        if (ch == CR || ch == LF) {
            if (!inBlock)
                pending = inComment = false;
        } else if (ch == TAB || ch == u' ' || ch == u'(' || ch == u')') {
        } else if (ch == u'/') {
            if (inBlock && pending) {
                pending = inComment = inBlock = false;
            } else if (inBlock) {
            } else if (pending) {
                pending = false;
                inComment = true;
            } else {
                pending = true;
                inComment = inBlock = false;
            }
        } else if (ch == u'*') {
            if (pending) {
                pending = false;
                inComment = inBlock = true;
            } else {
                pending = true;
            }
        } else if (!inComment) {
            return;
        }
    }
}

JsonDict JsonReader::ReadObject(Cursor& c)
{
    JsonDict dict;
    SkipBlanks(c);
    if (c.at() != u'{' || c.atEnd()) {
        addLine(QStringLiteral("Invalid Object at position ") + c.position() +
                QStringLiteral(" : ") + c.rest());
        return dict;
    }
    ++c.pos;
    for (;;) {
        SkipBlanks(c);
        if (c.at() == u'}' && !c.atEnd()) {
            ++c.pos;
            return dict;
        }
        if (c.at() == u',' && !c.atEnd()) {
            ++c.pos; // commas are optional, and extra ones are passed over
            continue;
        }
        if (c.atEnd()) {
            addLine(QStringLiteral("Missing '}': ") + c.last20());
            return dict;
        }
        const QString key = ReadKey(c);
        JsonValue value = ReadValue(c);
        if (c.failed) {
            c.failed = false;
            addLine(c.failure + QStringLiteral(": ") + key);
            return dict;
        }
        if (!dict.insert(key, std::move(value))) {
            addLine(QStringLiteral("duplicate key: ") + key);
            return dict;
        }
    }
}

JsonList JsonReader::ReadArray(Cursor& c)
{
    JsonList list;
    SkipBlanks(c);
    if (c.at() != u'[' || c.atEnd()) {
        addLine(QStringLiteral("Invalid Array at position ") + c.position() +
                QStringLiteral(" : ") + c.next20());
        return list;
    }
    ++c.pos;
    for (;;) {
        SkipBlanks(c);
        if (c.at() == u']' && !c.atEnd()) {
            ++c.pos;
            return list;
        }
        if (c.at() == u',' && !c.atEnd()) {
            ++c.pos; // commas are optional, and extra ones are passed over
            continue;
        }
        if (c.atEnd()) {
            addLine(QStringLiteral("Missing ']': ") + c.last20());
            return list;
        }
        const qsizetype before = c.pos;
        JsonValue value = ReadValue(c);
        if (c.failed) {
            c.failed = false;
            addLine(c.failure + QStringLiteral(": ") + c.next20());
            return list;
        }
        // A malformed true, false or null reports itself and stays where it is; reading it again
        // would never end, so the list ends here without it.
        if (c.pos == before && !c.atEnd())
            return list;
        list.push_back(std::move(value));
    }
}

JsonValue JsonReader::ReadValue(Cursor& c)
{
    SkipBlanks(c);
    if (c.atEnd())
        return ReadNumber(c);
    switch (c.at().unicode()) {
    case u'{':
    case u'[': {
        if (c.depth >= MaxDepth) {
            c.fail(QStringLiteral("too deep"));
            return {};
        }
        ++c.depth;
        JsonValue value = c.at() == u'{' ? JsonValue(ReadObject(c)) : JsonValue(ReadArray(c));
        --c.depth;
        return value;
    }
    case u'"':
    case u'\'':
        return ReadString(c);
    case u't':
    case u'f':
        return ReadBoolean(c);
    case u'n':
        return ReadNull(c);
    case u'%':
        return ReadPercentText(c);
    default:
        return ReadNumber(c);
    }
}

QString JsonReader::ReadString(Cursor& c)
{
    SkipBlanks(c);
    const QChar quote = c.at();
    ++c.pos;
    cStringBuilder text;
    text.ChunkSize(256); // texts are short: a default chunk would cost 16 KB for each
    while (!c.atEnd()) {
        // Ordinary characters go into the buffer a run at a time.
        qsizetype end = c.pos;
        while (end <= c.text.size()) {
            const QChar ch = c.text[end - 1];
            if (ch == quote || ch == u'%' || ch == u'\\')
                break;
            ++end;
        }
        if (end > c.pos) {
            // A text without escapes is copied once, past the builder.
            if (text.Length() == 0 && end <= c.text.size() && c.text[end - 1] == quote) {
                QString plain = c.text.mid(c.pos - 1, end - c.pos);
                c.pos = end + 1;
                return plain;
            }
            text.Append(c.text.mid(c.pos - 1, end - c.pos));
            c.pos = end;
            continue;
        }
        const QChar ch = c.at();
        if (ch == quote) {
            ++c.pos;
            return text.toString();
        }
        if (ch == u'%')
            return ReadPercentText(c); // what came before the sign is dropped
        // A backslash.
        ++c.pos;
        if (c.atEnd())
            break;
        const char16_t escaped = c.at().unicode();
        switch (escaped) {
        case u'"':
        case u'\\':
        case u'/':
        case u'\'':
            text.Append(QString(QChar(escaped)));
            break;
        case u'b':
            text.Append(QStringLiteral("\b"));
            break;
        case u'f':
            text.Append(QStringLiteral("\f"));
            break;
        case u'n':
            text.Append(QStringLiteral("\n"));
            break;
        case u'r':
            text.Append(QStringLiteral("\r"));
            break;
        case u't':
            text.Append(QStringLiteral("\t"));
            break;
        case u'u': {
            ++c.pos;
            // Leading hexadecimal digits of the next four characters; none reads as 0. The four
            // are passed over whatever they were.
            char16_t unit = 0;
            for (qsizetype i = c.pos; i < c.pos + 4 && i <= c.text.size(); ++i) {
                const int digit = hexDigitValue(c.text[i - 1]);
                if (digit < 0)
                    break;
                unit = char16_t(unit * 16 + digit);
            }
            text.Append(QString(QChar(unit)));
            c.pos += 4;
            continue;
        }
        default:
            continue; // the backslash is dropped; the character is read again as it is
        }
        ++c.pos;
    }
    return text.toString();
}

JsonValue JsonReader::ReadNumber(Cursor& c)
{
    SkipBlanks(c);
    const qsizetype start = c.pos;
    while (!c.atEnd() && isNumberCharacter(c.at()))
        ++c.pos;
    if (c.atEnd())
        return {};
    Decimal::ParseStatus status;
    const Decimal number =
        Decimal::fromText(QStringView(c.text).mid(start - 1, c.pos - start), &status);
    if (status == Decimal::ParseStatus::Malformed) {
        c.fail(QStringLiteral("type mismatch"));
        return {};
    }
    if (status == Decimal::ParseStatus::Overflow) {
        c.fail(QStringLiteral("overflow"));
        return {};
    }
    return number;
}

bool JsonReader::ReadBoolean(Cursor& c)
{
    SkipBlanks(c);
    const QStringView ahead = QStringView(c.text).mid(c.pos - 1);
    if (ahead.startsWith(u"true")) {
        c.pos += 4;
        return true;
    }
    if (ahead.startsWith(u"false")) {
        c.pos += 5;
        return false;
    }
    addLine(QStringLiteral("Invalid Boolean at position ") + c.position() + QStringLiteral(" : ") +
            c.rest());
    return false;
}

JsonValue JsonReader::ReadNull(Cursor& c)
{
    SkipBlanks(c);
    if (QStringView(c.text).mid(c.pos - 1).startsWith(u"null")) {
        c.pos += 4;
        return JsonNull{};
    }
    addLine(QStringLiteral("Invalid null value at position ") + c.position() +
            QStringLiteral(" : ") + c.rest());
    return {};
}

QString JsonReader::ReadKey(Cursor& c)
{
    SkipBlanks(c);
    QString key;
    bool inDouble = false;
    bool inSingle = false;
    while (!c.atEnd()) {
        const char16_t ch = c.at().unicode();
        if (ch == u'"' || ch == u'\'') {
            ++c.pos;
            bool& open = ch == u'"' ? inDouble : inSingle;
            open = !open;
            if (open)
                continue;
            SkipBlanks(c);
            if (c.at() != u':' || c.atEnd()) {
                addLine(QStringLiteral("Invalid Key at position ") + c.position() +
                        QStringLiteral(" : ") + key);
                return key;
            }
            continue;
        }
        ++c.pos;
        if (ch == u':') {
            if (inSingle && !inDouble) {
                key += u':';
                continue;
            }
            return key;
        }
        if (ch == CR || ch == LF || ch == TAB || ch == u' ')
            continue; // blanks are dropped from keys, even inside quotes
        key += QChar(ch);
    }
    return key;
}

QString JsonReader::ReadPercentText(Cursor& c)
{
    SkipBlanks(c);
    const qsizetype start = c.pos;
    // The value ends at the character before a comma or a double quote, which is consumed too.
    for (; !c.atEnd(); ++c.pos) {
        const QChar next = c.pos < c.text.size() ? c.text[c.pos] : QChar();
        if (c.pos < c.text.size() && (next == u',' || next == u'"')) {
            const QString raw = c.text.mid(start - 1, c.pos - start + 1);
            c.pos += 2;
            bool ok = false;
            const QString text = DecodePercentText(raw, &ok);
            if (!ok)
                c.fail(QStringLiteral("invalid percent value"));
            return text;
        }
    }
    return {};
}
