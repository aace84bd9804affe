#include "maintenance/CleanArea.h"
#include "AreaHarness.h"
#include "maintenance/WorkSteps.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <sqlite3.h>

namespace {

const QString tag = QStringLiteral("DB최적화");

class CleanAreaTest : public ::testing::Test
{
protected:
    AreaHarness h;
    CleanArea area{h.context};

    void click() { QTest::mouseClick(area.cmd_Clean, Qt::LeftButton); }
};

TEST_F(CleanAreaTest, NoAnswerChangesNothing)
{
    area.Lbl_status->setText(QStringLiteral("최적화 완료"));
    click();
    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::confirmOptimise});
    EXPECT_TRUE(h.boxes.shown()[0].title.isEmpty());
    EXPECT_EQ(area.Lbl_status->text(), QStringLiteral("최적화 완료"));
    EXPECT_TRUE(h.logText().isEmpty());
}

TEST_F(CleanAreaTest, RebuildReportsCompletionAndLogsTheTextThatRan)
{
    h.boxes.answer(true);
    click();
    EXPECT_EQ(area.Lbl_status->text(), QStringLiteral("최적화 완료"));
    EXPECT_EQ(h.boxes.shown().size(), 1u);
    EXPECT_EQ(h.onlyEntry(), AreaHarness::entry(tag, QStringLiteral("REINDEX")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// An index whose collation this connection does not know cannot be rebuilt.
TEST_F(CleanAreaTest, FailedRebuildIsReportedAsFailedNotComplete)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(h.fixture.path().toUtf8().constData(), &raw), SQLITE_OK);
    sqlite3_create_collation(raw, "HANGUL_CI", SQLITE_UTF8, nullptr,
                             [](void*, int a, const void* x, int b, const void* y) {
                                 const int n = std::min(a, b);
                                 const int c = std::memcmp(x, y, size_t(n));
                                 return c != 0 ? c : a - b;
                             });
    EXPECT_EQ(sqlite3_exec(raw, "CREATE INDEX IX_PE_MEMO ON PE(PE_MEMO COLLATE HANGUL_CI)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);

    h.boxes.answer(true);
    click();

    EXPECT_EQ(area.Lbl_status->text(), QStringLiteral("최적화 실패"));
    ASSERT_EQ(h.boxes.shown().size(), 2u);
    const auto& box = h.boxes.shown()[1];
    EXPECT_EQ(box.title, WorkTexts::optimiseFailedTitle);
    EXPECT_TRUE(box.text.contains(QStringLiteral("HANGUL_CI"))) << box.text.toStdString();
    const QString entry = h.onlyEntry();
    EXPECT_TRUE(entry.startsWith(AreaHarness::address + "\r\n" + tag + "\r\nREINDEX\r\n" +
                                 QStringLiteral("실행실패! ")))
        << entry.toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
