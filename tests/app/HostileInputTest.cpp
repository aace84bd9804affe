// Hostile texts where the user's words reach a statement: the delivery date boxes and a check
// number in the open-table grid. None may run as SQL or bring the window down, and no row outside
// the ones the user targeted may change. (The count boxes read numbers only: GridAndTextsTest.)
#include "MaintenanceWindowFixture.h"
#include "TableSnapshot.h"
#include "maintenance/DeliveryArea.h"
#include "maintenance/OpenTableArea.h"
#include "maintenance/PayCancelArea.h"
#include "maintenance/ResultGrid.h"
#include "maintenance/WorkSteps.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Hostile
{
    const char* name;
    QString text;
};

QString withNul(const char* before, const char* after)
{
    return QString::fromUtf8(before) + QChar(0) + QString::fromUtf8(after);
}

// One of each kind: quotes, stacked statements, escapes, wildcards, line breaks, a NUL, a lone
// surrogate, very long texts.
const Hostile hostileTexts[] = {
    {"Quote", QStringLiteral("'")},
    {"AlwaysTrue", QStringLiteral("2026-12-01' OR '1'='1")},
    {"StackedDelete", QStringLiteral("'; DELETE FROM DTD; --")},
    {"BackslashEscape", QStringLiteral("\\'; DROP TABLE PE; --")},
    {"LikeWildcards", QStringLiteral("%' OR PE_CK LIKE '%")},
    {"LineBreaks", QStringLiteral("\r\n';DELETE FROM PE;\r\n")},
    {"NulThenStatement", withNul("2026-12-01", "' OR 1=1 --")},
    {"LoneSurrogate", QString(QChar(0xD800)) + QStringLiteral("'")},
    {"VeryLongQuotes", QString(5000, QLatin1Char('\''))},
    {"VeryLong", QString(100000, QLatin1Char('A'))},
};

class HostileTextTest : public MaintenanceWindowFixture,
                        public ::testing::WithParamInterface<Hostile>
{
};

TEST_P(HostileTextTest, DateBoxesDeleteNoMoreThanTheSearchListed)
{
    DeliveryArea& dtd = *window->Frame_DTD;
    click(window->cmd_Btn[2]);
    click(dtd.OPT1[0]); // a date range
    const QString hostile = GetParam().text;
    const QString pairs[][2] = {{hostile, QStringLiteral("2026-12-31")},
                                {QStringLiteral("2000-01-01"), hostile}};
    for (const auto& pair : pairs) {
        const TableSnapshot before = snapshotTables(dbPath());
        dtd.TXT_Date->setText(pair[0]);
        dtd.Txt_Date2->setText(pair[1]);
        click(dtd.cmd_DTD_Serch);
        const int listed = dtd.TXT_COUNT->text().toInt();
        boxes.answer(true);
        click(dtd.CMD_DTD_DELETE);

        const TableSnapshot after = snapshotTables(dbPath());
        const QStringList changed = changedTables(before, after);
        EXPECT_TRUE(changed.isEmpty() || changed == QStringList{QStringLiteral("DTD")})
            << changed.join(',').toStdString();
        EXPECT_EQ(before.value("DTD").size() - after.value("DTD").size(), listed);
    }
    EXPECT_TRUE(window->isVisible());
}

// A check number the database could hand back: the picked cell holds the text. With the real
// number the same steps delete exactly that check, so the text stays data, not unsent.
TEST_P(HostileTextTest, CheckNumberInTheGridDeletesNoOtherRow)
{
    OpenTableArea& table = *window->Frame_Table;
    click(window->cmd_Btn[0]);
    click(table.OPT_TABLE[1]); // the picked check only
    for (const bool hostile : {true, false}) {
        const TableSnapshot before = snapshotTables(dbPath());
        click(table.cmd_TBSerch);
        if (hostile)
            table.FLEX->setText(1, 2, GetParam().text);
        QTest::mouseClick(table.FLEX->viewport(), Qt::LeftButton, {},
                          table.FLEX->visualRect(table.FLEX->cellIndex(1, 2)).center());
        ASSERT_EQ(table.FLEX->currentRow(), 1);
        boxes.answer(true);
        click(table.cmd_delete);

        const TableSnapshot after = snapshotTables(dbPath());
        EXPECT_EQ(changedTables(before, after).size(), hostile ? 0 : 1);
        EXPECT_EQ(before.value("PE").size() - after.value("PE").size(), hostile ? 0 : 1);
    }
    EXPECT_EQ(boxes.texts().count(WorkTexts::confirmDelete), 2);
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Texts, HostileTextTest, ::testing::ValuesIn(hostileTexts),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
