#include "window/QtMessageBoxes.h"

#include <QAbstractButton>
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

// The window is Korean whatever the system's language: the standard buttons say so too.
void koreanButtons(QMessageBox& box)
{
    const std::pair<QMessageBox::StandardButton, const char16_t*> texts[] = {
        {QMessageBox::Yes, u"예"},
        {QMessageBox::No, u"아니요"},
        {QMessageBox::Ok, u"확인"},
        {QMessageBox::Cancel, u"취소"},
    };
    for (const auto& [which, text] : texts) {
        if (QAbstractButton* button = box.button(which))
            button->setText(QString::fromUtf16(text));
    }
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
    koreanButtons(*box);
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
    koreanButtons(*box);
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
