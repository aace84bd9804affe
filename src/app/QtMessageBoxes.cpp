#include "app/QtMessageBoxes.h"

#include <QMessageBox>

namespace {

std::unique_ptr<QMessageBox> makeBox(const QString& text, const QString& title,
                                     QMessageBox::Icon icon, QWidget* parent)
{
    // An empty title stays empty: these boxes have no title of their own.
    auto box = std::make_unique<QMessageBox>(icon, title, text, QMessageBox::NoButton, parent);
    box->setTextFormat(Qt::PlainText);
    return box;
}

QMessageBox::Icon qtIcon(MessageBoxes::Icon icon)
{
    switch (icon) {
    case MessageBoxes::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBoxes::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

std::unique_ptr<QMessageBox> QtMessageBoxes::questionBox(const QString& text, const QString& title,
                                                         QWidget* parent)
{
    auto box = makeBox(text, title, QMessageBox::NoIcon, parent);
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

std::unique_ptr<QMessageBox> QtMessageBoxes::messageBox(const QString& text, const QString& title,
                                                        Buttons buttons, Icon icon, QWidget* parent)
{
    auto box = makeBox(text, title, qtIcon(icon), parent);
    if (buttons == Buttons::OkCancel) {
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Cancel);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
    }
    return box;
}

bool QtMessageBoxes::askYesNo(const QString& text, const QString& title)
{
    return questionBox(text, title, m_window)->exec() == QMessageBox::Yes;
}

void QtMessageBoxes::inform(const QString& text, const QString& title, Buttons buttons, Icon icon)
{
    messageBox(text, title, buttons, icon, m_window)->exec();
}
