#pragma once

#include <QString>
#include <QStringView>
#include <functional>

// Cuts a SQL script into statements at every ';' that stands outside a quoted text ('…'), a
// quoted name ("…", […]) and a comment (-- to the line end, /* … */). Text arrives in pieces of
// any size, so a large file never has to be read whole.
class ScriptSplitter
{
public:
    // Receives each statement without its ';', comments and blanks included; false stops.
    using Sink = std::function<bool(const QString& statement)>;
    explicit ScriptSplitter(Sink sink) : m_sink(std::move(sink)) {}

    // False once the sink has said stop.
    bool feed(QStringView text);
    // Hands over a last statement that lacks its ';'.
    bool finish();

    // The statement from its first character that is neither blank nor in a comment.
    static QStringView code(QStringView statement);
    // The first line of code of a statement; for error messages.
    static QString firstLine(QStringView statement);

private:
    enum class State
    {
        Plain,
        Dash,  // one '-' seen
        Slash, // one '/' seen
        LineComment,
        BlockComment,
        BlockStar,  // '*' seen inside a block comment
        Quote,      // inside '…'
        NameQuote,  // inside "…"
        Bracket,    // inside […]
        BracketEnd, // ']' seen inside […]: "]]" stays inside
    };
    bool deliver();

    Sink m_sink;
    State m_state = State::Plain;
    QString m_current;
    bool m_hasCode = false; // anything but blanks and comments since the last ';'
};
