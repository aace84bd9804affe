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
    EXPECT_EQ(box->windowTitle(), QString());
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("예"));
    EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("아니요"));
    const auto message = QtMessageBoxes::messageBox({}, {}, MessageBoxes::Buttons::OkCancel,
                                                    MessageBoxes::Icon::None, nullptr);
    EXPECT_EQ(message->button(QMessageBox::Ok)->text(), QStringLiteral("확인"));
    EXPECT_EQ(message->button(QMessageBox::Cancel)->text(), QStringLiteral("취소"));
    const auto critical = QtMessageBoxes::messageBox(
        QStringLiteral("<b>x</b>"), {}, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
    EXPECT_EQ(critical->textFormat(), Qt::PlainText);
    EXPECT_EQ(critical->icon(), QMessageBox::Critical);
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
    for (const auto button : {QMessageBox::No, QMessageBox::Escape}) {
        pressWhenShown(button);
        EXPECT_FALSE(boxes.askYesNo(QStringLiteral("정말로 삭제하시겠습니까???")));
    }

    pressWhenShown(QMessageBox::Cancel, &seen);
    boxes.inform(QStringLiteral("데이터가 존재하지 않습니다"), QStringLiteral("데이터 확인"),
                 MessageBoxes::Buttons::OkCancel);
    EXPECT_EQ(seen, QStringLiteral("데이터가 존재하지 않습니다"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
