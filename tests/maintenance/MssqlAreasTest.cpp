#include "db/ActivityLog.h"
#include "db/DemoDatabase.h"
#include "db/Mod_DB.h"
#include "db/TextTable.h"
#include "maintenance/CleanArea.h"
#include "maintenance/DeliveryArea.h"
#include "maintenance/OpenTableArea.h"
#include "maintenance/PayCancelArea.h"
#include "maintenance/ResultGrid.h"
#include "maintenance/WorkContext.h"
#include "support/ManualClock.h"
#include "support/ScriptedMessageBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The T-SQL texts as a SQL Server runs them: SWEEP_TEST_MSSQL holds an ODBC connection string to
// a database the test may fill with the demo tables (they are dropped and made anew).
class MssqlAreas : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString connStr = qEnvironmentVariable("SWEEP_TEST_MSSQL");
        if (connStr.isEmpty())
            GTEST_SKIP() << "SWEEP_TEST_MSSQL is not set";
        m_db = std::make_unique<Mod_DB>(DbTarget::odbc(connStr));
        ASSERT_TRUE(m_db->DB_Connect()) << m_db->DB_ErrText().toStdString();
        m_db->DB_Execute(demoDatabaseScript(Dialect::SqlServer));
        ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
        m_log = std::make_unique<ActivityLog>(m_logDir.path(), m_clock);
        m_context = std::make_unique<WorkContext>(
            WorkContext{*m_db, *m_log, m_boxes, [] { return QStringLiteral("10.0.0.7"); }});
    }

    int number(const char* sql)
    {
        TextTable t;
        qint32 rows = 0, columns = 0;
        m_db->DB_Query(QString::fromUtf8(sql), t, rows, columns);
        return m_db->DB_Status() == 1 && rows == 1 ? t.cell(1, 0).toInt() : -1;
    }

    std::unique_ptr<Mod_DB> m_db;
    QTemporaryDir m_logDir;
    ManualClock m_clock;
    std::unique_ptr<ActivityLog> m_log;
    ScriptedMessageBoxes m_boxes;
    std::unique_ptr<WorkContext> m_context;
};

TEST_F(MssqlAreas, EveryAreaListsAndDeletesWhatItShould)
{
    OpenTableArea table(*m_context);
    table.cmd_TBSerch_Click();
    ASSERT_EQ(table.TXT_COUNT_2->text(), QStringLiteral("5"));
    table.OPT_TABLE[1]->setChecked(true);
    table.FLEX->setCurrentIndex(table.FLEX->model()->index(1, 2));
    m_boxes.answer(true);
    table.cmd_delete_Click();
    EXPECT_EQ(number("SELECT COUNT(*) FROM PE WHERE PE_CK='0'"), 4);

    PayCancelArea pay(*m_context);
    pay.cmd_PaySerch_Click();
    ASSERT_EQ(pay.TXT_COUNT_1->text(), QStringLiteral("6"));
    EXPECT_EQ(pay.Flex1->text(1, 2), QStringLiteral("신한카드"));
    m_boxes.answer(true);
    pay.cmd_payDelete_Click();
    EXPECT_EQ(number("SELECT (SELECT COUNT(*) FROM AC_TEMP) + (SELECT COUNT(*) FROM credit_temp) + "
                     "(SELECT COUNT(*) FROM pecash_temp)"),
              0);

    DeliveryArea delivery(*m_context);
    delivery.OPT1[0]->click();
    delivery.TXT_Date->setText(QStringLiteral("2024/6/11"));
    delivery.Txt_Date2->setText(QStringLiteral("2024-06-13"));
    delivery.cmd_DTD_Serch_Click();
    ASSERT_EQ(delivery.TXT_COUNT->text(), QStringLiteral("3"));
    m_boxes.answer(true);
    delivery.CMD_DTD_DELETE_Click();
    EXPECT_EQ(number("SELECT COUNT(*) FROM DTD"), 17);

    // Without a database named food the batch runs and rebuilds nothing, without error.
    CleanArea clean(*m_context);
    m_boxes.answer(true);
    clean.cmd_Clean_Click();
    EXPECT_EQ(clean.Lbl_status->text(), QStringLiteral("최적화 완료"))
        << m_db->DB_ErrText().toStdString();

    for (const auto& shown : m_boxes.shown())
        EXPECT_EQ(shown.kind, ScriptedMessageBoxes::Shown::Kind::Question)
            << shown.text.toStdString();
}
