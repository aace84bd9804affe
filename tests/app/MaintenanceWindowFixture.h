#pragma once

#include "app/Frm_Sweep_1.h"
#include "db/ActivityLog.h"
#include "db/DemoDatabase.h"
#include "db/Mod_DB.h"
#include "support/ManualClock.h"
#include "support/ScriptedMessageBoxes.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The maintenance window on a fresh demo database in a temporary folder, loaded and shown.
class MaintenanceWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QString error;
        ASSERT_TRUE(createDemoDatabase(dbPath(), {}, &error)) << error.toStdString();
        db = std::make_unique<Mod_DB>(DbTarget::sqlite(dbPath()));
        log = std::make_unique<ActivityLog>(logFolder(), clock);
        window = std::make_unique<Frm_Sweep_1>(
            WorkContext{*db, *log, boxes, [] { return QStringLiteral("192.168.0.10"); }});
        ASSERT_TRUE(window->Form_Load());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QString dbPath() const { return m_dir.filePath(QStringLiteral("pos.sqlite")); }
    QString logFolder() const { return m_dir.filePath(QStringLiteral("DB_Log")); }
    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QTemporaryDir m_dir;
    ManualClock clock;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<Mod_DB> db;
    std::unique_ptr<ActivityLog> log;
    std::unique_ptr<Frm_Sweep_1> window;
};
