#pragma once

#include "window/MessageBoxes.h"

#include <QStringList>
#include <deque>
#include <vector>

// Records every box the program shows and answers questions from a preset script
// (No once the script is used up, as the boxes' default button).
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    struct Shown
    {
        QString text, title;
        Buttons buttons;
        Icon icon;
    };

    void answer(bool yes) { m_answers.push_back(yes); }
    bool askYesNo(const QString& text, const QString& title) override
    {
        m_shown.push_back({text, title, Buttons::Ok, Icon::None});
        const bool yes = !m_answers.empty() && m_answers.front();
        if (!m_answers.empty())
            m_answers.pop_front();
        return yes;
    }
    void inform(const QString& text, const QString& title, Buttons buttons, Icon icon) override
    {
        m_shown.push_back({text, title, buttons, icon});
    }

    const std::vector<Shown>& shown() const { return m_shown; }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& s : m_shown)
            out << s.text;
        return out;
    }
    void clear() { m_shown.clear(); }

private:
    std::deque<bool> m_answers;
    std::vector<Shown> m_shown;
};
