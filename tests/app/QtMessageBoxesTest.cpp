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
}

struct BoxCase
{
    MessageBoxes::Buttons buttons;
    MessageBoxes::Icon icon;
    QMessageBox::StandardButtons expectedButtons;
    QMessageBox::Icon expectedIcon;
};

class MessageBoxTest : public ::testing::TestWithParam<BoxCase>
{
};

TEST_P(MessageBoxTest, ButtonsIconTextAndTitleAsAsked)
{
    const auto& c = GetParam();
    // Blanks at the end of a text are part of it.
    const QString text = QStringLiteral("데이터베이스에 접근이 불가능합니다.             ");
    const auto box =
        QtMessageBoxes::messageBox(text, QStringLiteral("연결오류"), c.buttons, c.icon);
    EXPECT_EQ(box->text(), text);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("연결오류"));
    EXPECT_EQ(box->standardButtons(), c.expectedButtons);
    EXPECT_EQ(box->icon(), c.expectedIcon);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageBoxTest,
    ::testing::Values(BoxCase{MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical,
                              QMessageBox::Ok, QMessageBox::Critical},
                      BoxCase{MessageBoxes::Buttons::OkCancel, MessageBoxes::Icon::None,
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon},
                      BoxCase{MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Warning,
                              QMessageBox::Ok, QMessageBox::Warning}));

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

TEST(QtMessageBoxes, AskReturnsTrueOnlyForYes)
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
}

TEST(QtMessageBoxes, InformWaitsForEitherButton)
{
    QtMessageBoxes boxes;
    QString seen;
    pressWhenShown(QMessageBox::Cancel, &seen);
    boxes.inform(QStringLiteral("데이터가 존재하지 않습니다"), QStringLiteral("데이터 확인"),
                 MessageBoxes::Buttons::OkCancel);
    EXPECT_EQ(seen, QStringLiteral("데이터가 존재하지 않습니다"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
