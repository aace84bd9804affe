// Hostile texts in every place where the user's words reach a statement: the delivery date boxes,
// the count boxes that gate the deletes, and a check number in the open-table grid. Each text is
// typed key by key and also pasted whole. None may run as SQL or bring the window down, and no
// row outside the ones the user targeted may change.
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

const Hostile hostileTexts[] = {
    {"Quote", QStringLiteral("'")},
    {"TwoQuotes", QStringLiteral("''")},
    {"QuoteComment", QStringLiteral("'--")},
    {"DropTable", QStringLiteral("';DROP TABLE PE--")},
    {"AlwaysTrue", QStringLiteral("2026-12-01' OR '1'='1")},
    {"AlwaysTrueNumber", QStringLiteral("1' OR '1'='1")},
    {"StackedDelete", QStringLiteral("'; DELETE FROM DTD; --")},
    {"ClosedParenthesis", QStringLiteral("2026-12-01'); DELETE FROM AC_TEMP; --")},
    {"DoubleQuotes", QStringLiteral("\"; DROP TABLE DTD; --")},
    {"BackslashEscape", QStringLiteral("\\'; DROP TABLE PE; --")},
    {"Union", QStringLiteral("' UNION SELECT name, sql FROM sqlite_master --")},
    {"LikeWildcards", QStringLiteral("%' OR PE_CK LIKE '%")},
    {"BlockComment", QStringLiteral("'/**/OR/**/1=1/*")},
    {"LineBreaks", QStringLiteral("\r\n';DELETE FROM PE;\r\n")},
    {"ControlCharacters", QStringLiteral("\t\b\x1b[2J\a\x7f'")},
    {"NulThenStatement", withNul("2026-12-01", "' OR 1=1 --")},
    {"NulAlone", QString(QChar(0))},
    {"KoreanDrop", QStringLiteral("주문번호'; DROP TABLE DTD--")},
    {"Emoji", QStringLiteral("🍜🍣'--🔥")},
    {"LoneSurrogate", QString(QChar(0xD800)) + QStringLiteral("'")},
    {"RightToLeftOverride", QStringLiteral("2026-12-06\u202E'--")},
    {"VeryLong", QString(100000, QLatin1Char('A'))},
    {"VeryLongQuotes", QString(5000, QLatin1Char('\''))},
    {"VeryLongKorean", QStringLiteral("가'").repeated(20000)},
    {"Overflow", QStringLiteral("9223372036854775808")},
    {"MostNegative", QStringLiteral("-9223372036854775808")},
    {"HexNumber", QStringLiteral("0x10")},
    {"Exponent", QStringLiteral("1e3")},
};

class HostileTextTest : public MaintenanceWindowFixture,
                        public ::testing::WithParamInterface<Hostile>
{
protected:
    // Typed key by key (what the box accepts of it), or pasted whole.
    static void enter(QLineEdit* box, const QString& text, bool typed)
    {
        box->clear();
        if (typed) {
            // One key event per character, carrying the character as its text, as a keyboard
            // with any layout sends it; control characters have no key and arrive by paste.
            box->setFocus();
            const QString keys = text.left(300);
            for (qsizetype i = 0; i < keys.size(); ++i) {
                QString character(keys.at(i));
                if (keys.at(i).isHighSurrogate() && i + 1 < keys.size())
                    character += keys.at(++i);
                if (character.at(0).unicode() < 0x20 || character.at(0).unicode() == 0x7f)
                    continue;
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, character, Qt::NoModifier);
            }
        } else {
            box->setText(text);
        }
    }

    // The grid's row 0 is its header, so grid row r is the model's row r - 1.
    static void clickCell(ResultGrid& grid, int row, int column)
    {
        const QRect cell = grid.visualRect(grid.model()->index(row - 1, column));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    }

    int questionsAsked() const
    {
        int questions = 0;
        for (const auto& shown : boxes.shown())
            questions += shown.kind == ScriptedMessageBoxes::Shown::Kind::Question;
        return questions;
    }
};

TEST_P(HostileTextTest, DateBoxesDeleteNoMoreThanTheSearchListed)
{
    DeliveryArea& dtd = *window->Frame_DTD;
    click(window->cmd_Btn[2]);
    click(dtd.OPT1[0]); // a date range
    const QString hostile = GetParam().text;
    const QString lastDay = QStringLiteral("2026-12-31");
    const QString pairs[][2] = {
        {hostile, lastDay}, {QStringLiteral("2000-01-01"), hostile}, {hostile, hostile}};
    for (const bool typed : {true, false}) {
        for (const auto& pair : pairs) {
            SCOPED_TRACE(typed ? "typed" : "pasted");
            const TableSnapshot before = snapshotTables(dbPath());
            enter(dtd.TXT_Date, pair[0], typed);
            enter(dtd.Txt_Date2, pair[1], typed);
            click(dtd.cmd_DTD_Serch);
            const int listed = dtd.TXT_COUNT->text().toInt();
            boxes.answer(true);
            click(dtd.CMD_DTD_DELETE);

            const TableSnapshot after = snapshotTables(dbPath());
            const QStringList changed = changedTables(before, after);
            EXPECT_TRUE(changed.isEmpty() || changed == QStringList{QStringLiteral("DTD")})
                << changed.join(',').toStdString();
            EXPECT_EQ(before.value(QStringLiteral("DTD")).size() -
                          after.value(QStringLiteral("DTD")).size(),
                      listed);
            EXPECT_TRUE(window->isVisible());
        }
    }
}

TEST_P(HostileTextTest, CountBoxesKeepEveryDeleteShut)
{
    const QString hostile = GetParam().text;
    const TableSnapshot before = snapshotTables(dbPath());
    struct Gate
    {
        int area;
        QLineEdit* count;
        QPushButton* remove;
    } gates[] = {{0, window->Frame_Table->TXT_COUNT_2, window->Frame_Table->cmd_delete},
                 {1, window->Frame_PayCancel->TXT_COUNT_1, window->Frame_PayCancel->cmd_payDelete},
                 {2, window->Frame_DTD->TXT_COUNT, window->Frame_DTD->CMD_DTD_DELETE}};
    for (const bool typed : {true, false}) {
        for (const Gate& gate : gates) {
            click(window->cmd_Btn[size_t(gate.area)]);
            enter(gate.count, hostile, typed);
            boxes.answer(true); // were the gate to open, the delete would go ahead
            click(gate.remove);
            EXPECT_EQ(questionsAsked(), 0) << gate.area << (typed ? " typed" : " pasted");
        }
    }
    EXPECT_EQ(changedTables(before, snapshotTables(dbPath())), QStringList());
    EXPECT_TRUE(window->isVisible());
}

TEST_P(HostileTextTest, CheckNumberInTheGridDeletesNoOtherRow)
{
    OpenTableArea& table = *window->Frame_Table;
    click(window->cmd_Btn[0]);
    click(table.OPT_TABLE[1]); // the picked check only
    const TableSnapshot before = snapshotTables(dbPath());

    click(table.cmd_TBSerch);
    ASSERT_GT(table.FLEX->rowCount(), 1);
    // A check number the database could hand back: the cell holds the hostile text.
    table.FLEX->setText(1, 2, GetParam().text);
    clickCell(*table.FLEX, 1, 2);
    ASSERT_EQ(table.FLEX->currentRow(), 1);
    boxes.answer(true);
    click(table.cmd_delete);

    ASSERT_EQ(questionsAsked(), 1);
    EXPECT_EQ(changedTables(before, snapshotTables(dbPath())), QStringList())
        << "a check number that is no check's deleted rows";
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Texts, HostileTextTest, ::testing::ValuesIn(hostileTexts),
                         [](const auto& info) { return std::string(info.param.name); });

// The same steps with a real check number delete exactly that check: the hostile rows above
// change nothing because the text stays data, not because the delete never ran.
class CheckNumberControlTest : public HostileTextTest
{
};

TEST_F(CheckNumberControlTest, CheckNumberFromTheSearchDeletesExactlyThatCheck)
{
    OpenTableArea& table = *window->Frame_Table;
    click(window->cmd_Btn[0]);
    click(table.OPT_TABLE[1]);
    const TableSnapshot before = snapshotTables(dbPath());
    click(table.cmd_TBSerch);
    const QString check = table.FLEX->text(1, 2);
    ASSERT_FALSE(check.isEmpty());
    clickCell(*table.FLEX, 1, 2);
    boxes.answer(true);
    click(table.cmd_delete);

    const TableSnapshot after = snapshotTables(dbPath());
    EXPECT_EQ(changedTables(before, after), QStringList{QStringLiteral("PE")});
    EXPECT_EQ(before.value(QStringLiteral("PE")).size() - after.value(QStringLiteral("PE")).size(),
              1);
    for (const QString& row : after.value(QStringLiteral("PE")))
        EXPECT_FALSE(row.startsWith(check + QChar(0x1f)));
}

} // namespace
