#pragma once

#include <QString>

// Every message box of the program goes through this, so tests answer without a person.
// An empty title means the box has no title of its own.
class MessageBoxes
{
public:
    enum class Buttons
    {
        Ok,
        OkCancel,
    };
    enum class Icon
    {
        None,
        Warning,
        Critical,
    };

    virtual ~MessageBoxes() = default;

    // Yes and No, No the default button, no icon; true only for Yes.
    virtual bool askYesNo(const QString& text, const QString& title = QString()) = 0;
    // A message without a question; the answer makes no difference.
    virtual void inform(const QString& text, const QString& title = QString(),
                        Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;
};
