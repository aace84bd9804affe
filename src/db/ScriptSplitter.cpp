#include "db/ScriptSplitter.h"

bool ScriptSplitter::deliver()
{
    const bool hasCode = m_hasCode;
    QString statement = std::move(m_current);
    m_current.clear();
    m_hasCode = false;
    return !hasCode || m_sink(statement);
}

bool ScriptSplitter::feed(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (m_state) {
        case State::Dash:
        case State::Slash:
            if (u == (m_state == State::Dash ? u'-' : u'*')) {
                m_state = m_state == State::Dash ? State::LineComment : State::BlockComment;
                m_current += c;
                continue;
            }
            m_hasCode = true; // the '-' or '/' was an operator
            m_state = State::Plain;
            break;
        case State::LineComment:
            if (u == u'\n')
                m_state = State::Plain;
            m_current += c;
            continue;
        case State::BlockComment:
            if (u == u'*')
                m_state = State::BlockStar;
            m_current += c;
            continue;
        case State::BlockStar:
            m_state =
                u == u'/' ? State::Plain : (u == u'*' ? State::BlockStar : State::BlockComment);
            m_current += c;
            continue;
        case State::Quote:
            if (u == u'\'')
                m_state = State::Plain; // a doubled quote re-enters at once
            m_current += c;
            continue;
        case State::NameQuote:
            if (u == u'"')
                m_state = State::Plain;
            m_current += c;
            continue;
        case State::Bracket:
            if (u == u']')
                m_state = State::BracketEnd;
            m_current += c;
            continue;
        case State::BracketEnd:
            if (u == u']') {
                m_state = State::Bracket;
                m_current += c;
                continue;
            }
            m_state = State::Plain;
            break;
        case State::Plain:
            break;
        }
        switch (u) {
        case u';':
            if (!deliver())
                return false;
            continue;
        case u'-':
            m_state = State::Dash;
            break;
        case u'/':
            m_state = State::Slash;
            break;
        case u'\'':
            m_state = State::Quote;
            m_hasCode = true;
            break;
        case u'"':
            m_state = State::NameQuote;
            m_hasCode = true;
            break;
        case u'[':
            m_state = State::Bracket;
            m_hasCode = true;
            break;
        default:
            if (!c.isSpace())
                m_hasCode = true;
        }
        m_current += c;
    }
    return true;
}

bool ScriptSplitter::finish()
{
    if (m_state == State::Dash || m_state == State::Slash)
        m_hasCode = true;
    m_state = State::Plain;
    return deliver();
}

QStringView ScriptSplitter::code(QStringView statement)
{
    for (;;) {
        statement = statement.trimmed();
        if (statement.startsWith(u"--")) {
            const qsizetype end = statement.indexOf(u'\n');
            statement = end < 0 ? QStringView() : statement.sliced(end + 1);
        } else if (statement.startsWith(u"/*")) {
            const qsizetype end = statement.indexOf(u"*/", 2);
            statement = end < 0 ? QStringView() : statement.sliced(end + 2);
        } else {
            return statement;
        }
    }
}

QString ScriptSplitter::firstLine(QStringView statement)
{
    const QStringView rest = code(statement);
    const qsizetype end = rest.indexOf(u'\n');
    return (end < 0 ? rest : rest.first(end)).trimmed().toString();
}
