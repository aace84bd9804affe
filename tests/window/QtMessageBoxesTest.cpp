#include "window/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Presses a button of the box about to be shown, as a user would (Escape: closes it).
void pressWhenShown(QMessageBox::StandardButton which)
{
    QTimer::singleShot(0, [which] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (which == QMessageBox::Escape)
            box->reject();
        else
            box->button(which)->click();
    });
}

// The question has Korean Yes and No, No the default, and no title or icon; only Yes says yes.
// A message shows its text as it is and waits for either button.
TEST(QtMessageBoxes, OnlyYesSaysYesAndEveryButtonReadsKorean)
{
    const auto box = QtMessageBoxes::questionBox(QStringLiteral("정말로 삭제하시겠습니까???"), {});
    EXPECT_EQ(box->windowTitle(), QString());
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("예"));
    EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("아니요"));
    const auto message =
        QtMessageBoxes::messageBox(QStringLiteral("<b>x</b>"), {}, MessageBoxes::Buttons::OkCancel,
                                   MessageBoxes::Icon::Critical, nullptr);
    EXPECT_EQ(message->button(QMessageBox::Ok)->text(), QStringLiteral("확인"));
    EXPECT_EQ(message->button(QMessageBox::Cancel)->text(), QStringLiteral("취소"));
    EXPECT_EQ(message->textFormat(), Qt::PlainText);
    EXPECT_EQ(message->icon(), QMessageBox::Critical);

    QtMessageBoxes boxes;
    pressWhenShown(QMessageBox::Yes);
    EXPECT_TRUE(boxes.askYesNo(QStringLiteral("최적화를 진행하시겠습니까???")));
    for (const auto button : {QMessageBox::No, QMessageBox::Escape}) {
        pressWhenShown(button);
        EXPECT_FALSE(boxes.askYesNo(QStringLiteral("정말로 삭제하시겠습니까???")));
    }
    pressWhenShown(QMessageBox::Cancel);
    boxes.inform(QStringLiteral("데이터가 존재하지 않습니다"), QStringLiteral("데이터 확인"),
                 MessageBoxes::Buttons::OkCancel);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
