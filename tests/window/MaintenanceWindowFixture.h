#pragma once

#include "support/AreaHarness.h"
#include "window/Frm_Sweep_1.h"

#include <QAbstractButton>
#include <QTest>

// The maintenance window on the surroundings of an area's tests, loaded and shown.
class MaintenanceWindowFixture : public ::testing::Test, protected AreaHarness
{
protected:
    void SetUp() override
    {
        window = std::make_unique<Frm_Sweep_1>(context);
        ASSERT_TRUE(window->Form_Load());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QString dbPath() const { return fixture.path(); }
    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::unique_ptr<Frm_Sweep_1> window;
};
