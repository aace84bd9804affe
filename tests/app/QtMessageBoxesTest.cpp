#include "app/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(QtMessageBoxes, QuestionHasYesAndNoWithNoAsDefaultAndNoTitleOrIcon)
{
    const auto box = QtMessageBoxes::questionBox(QStringLiteral("정말로 삭제하시겠습니까???"), {});
    EXPECT_EQ(box->text(), QStringLiteral("정말로 삭제하시겠습니까???"));
    EXPECT_EQ(box->windowTitle(), QString());
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("예"));
    EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("아니요"));
    const auto message = QtMessageBoxes::messageBox({}, {}, MessageBoxes::Buttons::OkCancel,
                                                     MessageBoxes::Icon::None, nullptr);
    EXPECT_EQ(message->button(QMessageBox::Ok)->text(), QStringLiteral("확인"));
    EXPECT_EQ(message->button(QMessageBox::Cancel)->text(), QStringLiteral("취소"));
}

TEST(QtMessageBoxes, MessageHasTheButtonsIconTextAndTitleAsAsked)
{
    using B = MessageBoxes::Buttons;
    using I = MessageBoxes::Icon;
    struct
    {
        B buttons;
        I icon;
        QMessageBox::StandardButtons expectedButtons;
        QMessageBox::Icon expectedIcon;
    } const kinds[] = {
        {B::Ok, I::Critical, QMessageBox::Ok, QMessageBox::Critical},
        {B::OkCancel, I::None, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon},
        {B::Ok, I::Warning, QMessageBox::Ok, QMessageBox::Warning},
    };
    // Blanks at the end of a text are part of it.
    const QString text = QStringLiteral("데이터베이스에 접근이 불가능합니다.             ");
    for (const auto& k : kinds) {
        SCOPED_TRACE(int(k.expectedIcon));
        const auto box =
            QtMessageBoxes::messageBox(text, QStringLiteral("연결오류"), k.buttons, k.icon);
        EXPECT_EQ(box->text(), text);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("연결오류"));
        EXPECT_EQ(box->standardButtons(), k.expectedButtons);
        EXPECT_EQ(box->icon(), k.expectedIcon);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
    }
}

// Presses a button of the box that is about to be shown, as a user would.
void pressWhenShown(QMessageBox::StandardButton which, QString* seenText = nullptr)
{
    QTimer::singleShot(0, [which, seenText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (seenText)
            *seenText = box->text();
        if (which == QMessageBox::Escape)
            box->reject();
        else
            box->button(which)->click();
    });
}

TEST(QtMessageBoxes, AskIsTrueOnlyForYesAndInformWaitsForEitherButton)
{
    QtMessageBoxes boxes;
    QString seen;
    pressWhenShown(QMessageBox::Yes, &seen);
    EXPECT_TRUE(boxes.askYesNo(QStringLiteral("최적화를 진행하시겠습니까???")));
    EXPECT_EQ(seen, QStringLiteral("최적화를 진행하시겠습니까???"));
    pressWhenShown(QMessageBox::No);
    EXPECT_FALSE(boxes.askYesNo(QStringLiteral("정말로 삭제하시겠습니까???")));
    pressWhenShown(QMessageBox::Escape);
    EXPECT_FALSE(boxes.askYesNo(QStringLiteral("정말로 삭제하시겠습니까???")));

    pressWhenShown(QMessageBox::Cancel, &seen);
    boxes.inform(QStringLiteral("데이터가 존재하지 않습니다"), QStringLiteral("데이터 확인"),
                 MessageBoxes::Buttons::OkCancel);
    EXPECT_EQ(seen, QStringLiteral("데이터가 존재하지 않습니다"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
