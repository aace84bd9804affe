// The archives in the window: the list says what each file is to a restore, a chosen file shows
// its rows from the file alone, and 복원 refuses and restores exactly as the command line does.
#include "window/ArchiveArea.h"
#include "MaintenanceWindowFixture.h"
#include "archive/RestoreArchive.h"
#include "operations/OutcomeWords.h"
#include "operations/RestoreFlow.h"
#include "support/QueryText.h"
#include "window/DeliveryArea.h"
#include "window/OpenTableArea.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace {

class ArchiveAreaTest : public MaintenanceWindowFixture
{
protected:
    // Deletes every open check and every unfinished delivery, then opens the archives.
    void deleteBothAndList()
    {
        for (int area : {0, 2}) {
            click(window->cmd_Btn[size_t(area)]);
            click(area == 0 ? window->Frame_Table->cmd_TBSerch : window->Frame_DTD->cmd_DTD_Serch);
            boxes.answer(true);
            click(area == 0 ? window->Frame_Table->cmd_delete : window->Frame_DTD->CMD_DTD_DELETE);
        }
        click(window->cmd_Btn[4]);
    }
    // The list, newest first, as "file name: state".
    QStringList listed() const
    {
        QStringList out;
        for (size_t i = 0; i < area().entries().size(); ++i)
            out << QFileInfo(area().entries()[i].path).fileName() + ": " +
                       area().FLEX_FILES->text(int(i) + 1, 6);
        return out;
    }
    int rowOf(const QString& name) const
    {
        return listed().indexOf(QRegularExpression(".*" + name + ":.*")) + 1;
    }
    ArchiveArea& area() const { return *window->Frame_Archive; }
};

TEST_F(ArchiveAreaTest, ListsEachFileAsARestoreSeesItAndShowsRowsFromTheFileAlone)
{
    deleteBothAndList();
    const QString deliveries = area().entries()[1].path;
    const QString openChecks = QFileInfo(area().entries()[0].path).fileName();
    // The delete's status line named the file the list shows; a search starts a new screen.
    EXPECT_EQ(window->Frame_Table->lbl_outcome->text(),
              OutcomeWords::rowsDeleted(5) + "\n" + OutcomeWords::archiveFile(openChecks));
    click(window->Frame_Table->cmd_TBSerch);
    EXPECT_EQ(window->Frame_Table->lbl_outcome->text(), QString());

    const QDir folder(log.archiveFolder());
    writeFile(folder.filePath("notes.sql"), "SELECT 1;\r\n");
    // A statement the writer never writes, slipped in; a file cut before its delete committed.
    writeFile(folder.filePath("20000101-000000-changed.sql"),
              fileBytes(deliveries) + "DROP TABLE PE;\r\n");
    writeFile(folder.filePath("20000101-000001-cut.sql.part"), fileBytes(deliveries).left(900));
    click(area().cmd_ArcSerch);
    using namespace ArchiveAreaTexts;
    EXPECT_EQ(listed(), (QStringList{"notes.sql: " + foreign, openChecks + ": " + restorable,
                                     QFileInfo(deliveries).fileName() + ": " + restorable,
                                     "20000101-000001-cut.sql.part: " + unfinished,
                                     "20000101-000000-changed.sql: " + refused}));

    // The rows come from the file: the table they were deleted from is not even there.
    run("ALTER TABLE DTD RENAME TO DTD_AWAY");
    area().chooseFile(3);
    EXPECT_EQ(area().CBO_TABLE->currentText(), "DTD (8" + WindowTexts::items + ")");
    EXPECT_EQ(area().FLEX_ROWS->rowCount(), 9);
    EXPECT_EQ(area().FLEX_ROWS->text(0, 1), "DTD_SEQ");
    EXPECT_TRUE(area().cmd_Restore->isEnabled());

    // What a restore refuses is not offered, and the words are the restore's own.
    boxes.clear();
    for (int row : {1, 4, 5}) {
        area().chooseFile(row);
        EXPECT_FALSE(area().cmd_Restore->isEnabled()) << row;
        const QString file = area().entries()[size_t(row - 1)].path;
        EXPECT_TRUE(area().lbl_outcome->text().endsWith(": " + restoreArchive(*db, {file}).error));
        area().cmd_Restore_Click();
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ArchiveAreaTest, RestoreAsksPutsTheRowsBackLogsAndMarksTheFile)
{
    deleteBothAndList();
    const QString deliveries = area().entries()[1].path;
    area().chooseFile(2);
    boxes.clear();
    click(area().cmd_Restore); // No, the default
    EXPECT_EQ(boxes.texts(), QStringList{ArchiveAreaTexts::confirmRestore});
    EXPECT_EQ(number("SELECT COUNT(*) FROM DTD"), 12);

    boxes.answer(true);
    click(area().cmd_Restore);
    EXPECT_EQ(number("SELECT COUNT(*) FROM DTD"), 20);
    EXPECT_EQ(area().lbl_outcome->text(),
              OutcomeWords::rowsRestored(8) + "\nDTD 8" + WindowTexts::items);
    EXPECT_TRUE(logText().endsWith(entry(RestoreFlow::tag, QDir::toNativeSeparators(deliveries))));
    EXPECT_FALSE(area().cmd_Restore->isEnabled());
    click(area().cmd_ArcSerch); // the mark outlives the list
    EXPECT_TRUE(listed()[1].endsWith(": " + ArchiveAreaTexts::restored));
}

// The header names the database the rows came from; another one takes them only when the user
// says so to a second question, which names both.
TEST_F(ArchiveAreaTest, AFileOfAnotherDatabaseIsRestoredThereOnlyOnPurpose)
{
    deleteBothAndList();
    FixtureDatabase elsewhere;
    std::unique_ptr<Mod_DB> other = elsewhere.connect();
    const QString openChecks = "SELECT COUNT(*) FROM PE WHERE PE_CK='0'";
    ASSERT_TRUE(other->DB_Execute("DELETE FROM PE WHERE PE_CK='0'").succeeded);
    WorkContext there{*other, log, boxes, context.localAddress};
    ArchiveArea elsewhereArea(there);
    elsewhereArea.cmd_ArcSerch_Click();
    elsewhereArea.chooseFile(1);
    for (const bool onPurpose : {false, true}) {
        boxes.clear();
        boxes.answer(true);
        boxes.answer(onPurpose);
        elsewhereArea.cmd_Restore_Click();
        EXPECT_TRUE(boxes.texts().value(1).contains(other->databaseIdentity().database));
        EXPECT_EQ(firstValue(*other, openChecks).toInt(), onPurpose ? 5 : 0);
    }
    EXPECT_EQ(number(openChecks), 0);
}

} // namespace
