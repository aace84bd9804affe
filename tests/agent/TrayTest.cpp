#include "RecordingSound.h"
#include "agent/CurlHttpRequest.h"
#include "agent/FrmTRAY.h"
#include "agent/Frm_TM_Main.h"
#include "agent/Mod_TM.h"
#include "agent/SetTopMost.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TrayTest : public ::testing::Test
{
protected:
    CurlHttpRequest http; // no service address: nothing here reaches the network
    Mod_TM tm{http, nullptr};
    RecordingSound sound;
    Frm_TM_Main popup{tm, sound, QStringLiteral("Telemenu.wav"), 60000, 10000};
    int ended = 0;
    FrmTRAY tray{popup, [this] { ++ended; }};

    // Pops the menu up as a right-button release does; during lets the test act while it is
    // open, then the menu is closed unless during chose an item.
    void openMenu(const std::function<void()>& during)
    {
        QTimer::singleShot(50, [&] {
            during();
            tray.mnu_main->close();
        });
        emit tray.trayIcon->activated(QSystemTrayIcon::Context); // returns when the menu closes
    }
};

TEST_F(TrayTest, TheMenuNamesTheProgramAndOffersTheExit)
{
    const QList<QAction*> actions = tray.mnu_main->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("TELEMENU 실시간 주문 현황"));
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_EQ(actions.mid(1), QList<QAction*>({tray.mnutry[0], tray.mnutry[1], tray.mnutry[2]}));
    EXPECT_TRUE(tray.mnutry[0]->isSeparator() && tray.mnutry[1]->isSeparator());
    EXPECT_EQ(tray.mnutry[2]->text(), QStringLiteral("종료"));
    EXPECT_FALSE(tray.trayIcon->icon().isNull());
}

TEST_F(TrayTest, OnlyADoubleClickShowsThePopupAndNothingWhileTheMenuIsOpen)
{
    int menusShown = 0;
    QObject::connect(tray.mnu_main, &QMenu::aboutToShow, [&] { ++menusShown; });
    bool busyWhileOpen = false;
    openMenu([&] {
        busyWhileOpen = tray.TrayBusy();
        emit tray.trayIcon->activated(QSystemTrayIcon::Context);
        emit tray.trayIcon->activated(QSystemTrayIcon::DoubleClick);
    });
    EXPECT_TRUE(busyWhileOpen);
    EXPECT_EQ(menusShown, 1);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_FALSE(tray.TrayBusy());

    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick}) {
        emit tray.trayIcon->activated(reason);
        EXPECT_FALSE(popup.isVisible());
    }
    emit tray.trayIcon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(ended, 0);
}

TEST_F(TrayTest, ExitRemovesTheIconAndEndsTheAgent)
{
    tray.addTrayIcon();
    ASSERT_TRUE(tray.trayIcon->isVisible());
    openMenu([&] {
        tray.mnu_main->setActiveAction(tray.mnutry[2]);
        QTest::keyClick(tray.mnu_main, Qt::Key_Return);
    });
    EXPECT_FALSE(tray.trayIcon->isVisible());
    EXPECT_EQ(ended, 1);
}

TEST_F(TrayTest, CloseButtonOnlyHidesThePopupAndActivationPutsItOnTop)
{
    popup.showPopup();
    QTest::mouseClick(popup.btnClose, Qt::LeftButton);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_TRUE(popup.TimerTELEMENU->isActive());

    popup.showPopup();
    SetTopMost(&popup, false);
    EXPECT_TRUE(popup.isVisible()); // taking the flag away must not hide it
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&popup, &activate);
    EXPECT_TRUE(popup.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(popup.isVisible());
}

} // namespace
