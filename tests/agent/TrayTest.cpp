#include "RecordingSound.h"
#include "agent/CurlHttpRequest.h"
#include "agent/FrmTRAY.h"
#include "agent/Frm_TM_Main.h"
#include "agent/Mod_TM.h"
#include "agent/SetTopMost.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TrayTest : public ::testing::Test
{
protected:
    // No service address: nothing here may reach the network.
    CurlHttpRequest http;
    Mod_TM tm{http, nullptr};
    RecordingSound sound;
    Frm_TM_Main popup{tm, sound, QStringLiteral("Telemenu.wav"), 60000, 10000};
    int ended = 0;
    FrmTRAY tray{popup, [this] { ++ended; }};
};

TEST_F(TrayTest, PopupCarriesItsSentence)
{
    EXPECT_EQ(popup.LBL_INFO[0]->text(), QStringLiteral("TELEMENU 주문이 "));
    EXPECT_EQ(popup.LBL_INFO[1]->text(), QStringLiteral("건이 존재합니다.  접수 처리해 주세요."));
    EXPECT_TRUE(popup.lblTELCNT->font().bold());
    EXPECT_DOUBLE_EQ(popup.lblTELCNT->font().pointSizeF(), 14.25);
    EXPECT_EQ(popup.lblTELCNT->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(popup.size(), QSize(393, 104));
    const Qt::WindowFlags flags = popup.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool); // never in the taskbar
}

TEST_F(TrayTest, TheMenuOffersOnlyTheExit)
{
    EXPECT_EQ(tray.mnu_main->title(), QStringLiteral("TELEMENU 실시간 주문 현황"));
    const QList<QAction*> actions = tray.mnu_main->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("TELEMENU 실시간 주문 현황"));
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_EQ(actions[1], tray.mnutry[0]);
    EXPECT_TRUE(tray.mnutry[0]->isSeparator());
    EXPECT_TRUE(tray.mnutry[1]->isSeparator());
    EXPECT_EQ(tray.mnutry[2]->text(), QStringLiteral("종료"));
    EXPECT_FALSE(tray.trayIcon->icon().isNull());
    EXPECT_FALSE(tray.trayIcon->toolTip().isEmpty());
}

TEST_F(TrayTest, DoubleClickShowsThePopupAndOtherClicksDoNothing)
{
    for (auto reason :
         {QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown}) {
        emit tray.trayIcon->activated(reason);
        EXPECT_FALSE(popup.isVisible());
    }
    emit tray.trayIcon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_FALSE(tray.TrayBusy());
    EXPECT_EQ(ended, 0);
}

TEST_F(TrayTest, TrayEventsWhileTheMenuIsOpenAreIgnored)
{
    int menusShown = 0;
    QObject::connect(tray.mnu_main, &QMenu::aboutToShow, [&] { ++menusShown; });
    bool busyWhileOpen = false;
    QTimer::singleShot(50, [&] {
        busyWhileOpen = tray.TrayBusy();
        emit tray.trayIcon->activated(QSystemTrayIcon::Context);
        emit tray.trayIcon->activated(QSystemTrayIcon::DoubleClick);
        tray.mnu_main->close();
    });
    emit tray.trayIcon->activated(QSystemTrayIcon::Context); // returns when the menu closes

    EXPECT_TRUE(busyWhileOpen);
    EXPECT_EQ(menusShown, 1);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_FALSE(tray.TrayBusy());
    EXPECT_EQ(ended, 0);
}

TEST_F(TrayTest, ExitRemovesTheIconAndEndsTheAgent)
{
    tray.addTrayIcon();
    ASSERT_TRUE(tray.trayIcon->isVisible());
    QTimer::singleShot(50, [&] {
        tray.mnu_main->setActiveAction(tray.mnutry[2]);
        QTest::keyClick(tray.mnu_main, Qt::Key_Return);
    });
    emit tray.trayIcon->activated(QSystemTrayIcon::Context);
    EXPECT_FALSE(tray.trayIcon->isVisible());
    EXPECT_EQ(ended, 1);
}

TEST_F(TrayTest, ClosingTheTrayWindowRemovesTheIcon)
{
    tray.addTrayIcon();
    tray.close();
    EXPECT_FALSE(tray.trayIcon->isVisible());
    EXPECT_EQ(ended, 1);
}

TEST_F(TrayTest, CloseButtonOnlyHidesThePopup)
{
    popup.showPopup();
    ASSERT_TRUE(popup.isVisible());
    QTest::mouseClick(popup.btnClose, Qt::LeftButton);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_TRUE(popup.TimerTELEMENU->isActive());
    popup.showPopup(); // still loaded, shows again
    EXPECT_TRUE(popup.isVisible());
}

TEST_F(TrayTest, ActivationPutsThePopupBackOnTop)
{
    popup.showPopup();
    SetTopMost(&popup, false);
    EXPECT_TRUE(popup.isVisible()); // taking the flag away must not hide it
    EXPECT_FALSE(popup.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&popup, &activate);
    EXPECT_TRUE(popup.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(popup.isVisible());
}

} // namespace
