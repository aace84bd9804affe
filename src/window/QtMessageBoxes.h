#pragma once

#include "window/MessageBoxes.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QMessageBox;

// The program's message boxes: QMessageBox, modal over the given window.
class QtMessageBoxes final : public MessageBoxes
{
public:
    explicit QtMessageBoxes(QWidget* window = nullptr) : m_window(window) {}
    void setWindow(QWidget* window) { m_window = window; }

    bool askYesNo(const QString& text, const QString& title = QString()) override;
    void inform(const QString& text, const QString& title = QString(),
                Buttons buttons = Buttons::Ok, Icon icon = Icon::None) override;

    // The boxes as they are shown, so their texts, buttons and icons can be checked unopened.
    static std::unique_ptr<QMessageBox> questionBox(const QString& text, const QString& title,
                                                    QWidget* parent = nullptr);
    static std::unique_ptr<QMessageBox> messageBox(const QString& text, const QString& title,
                                                   Buttons buttons, Icon icon,
                                                   QWidget* parent = nullptr);

private:
    QPointer<QWidget> m_window;
};
