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

namespace {

class ArchiveAreaTest : public MaintenanceWindowFixture
{
protected:
    // The area's list as file name -> state.
    QMap<QString, QString> states()
    {
        QMap<QString, QString> out;
        const ArchiveArea& area = *window->Frame_Archive;
        for (size_t i = 0; i < area.entries().size(); ++i)
            out.insert(QFileInfo(area.entries()[i].path).fileName(),
                       area.FLEX_FILES->text(int(i) + 1, 6));
        return out;
    }
    int rowOf(const QString& name)
    {
        const auto& entries = window->Frame_Archive->entries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].path.endsWith(name))
                return int(i) + 1;
        return -1;
    }
    // Deletes every open check and every unfinished delivery; gives the two archives' paths.
    QStringList deleteBoth()
    {
        click(window->cmd_Btn[0]);
        click(window->Frame_Table->cmd_TBSerch);
        boxes.answer(true);
        click(window->Frame_Table->cmd_delete);
        click(window->cmd_Btn[2]);
        click(window->Frame_DTD->cmd_DTD_Serch);
        boxes.answer(true);
        click(window->Frame_DTD->CMD_DTD_DELETE);
        QStringList files;
        for (const QFileInfo& f : QDir(log.archiveFolder()).entryInfoList(QDir::Files))
            files << f.filePath();
        return files;
    }
};

TEST_F(ArchiveAreaTest, ListsEachFileAsARestoreSeesItAndShowsRowsFromTheFileAlone)
{
    const QStringList kept = deleteBoth();
    ASSERT_EQ(kept.size(), 2);
    const QString deliveries = kept.filter("deliveries")[0];
    const QDir folder(log.archiveFolder());
    writeFile(folder.filePath("notes.sql"), "SELECT 1;\r\n");
    // A statement the writer never writes, slipped in.
    writeFile(folder.filePath("20000101-000000-changed.sql"),
              fileBytes(deliveries) + "DROP TABLE PE;\r\n");
    writeFile(folder.filePath("20000101-000001-cut.sql.part"), fileBytes(deliveries).left(900));

    click(window->cmd_Btn[4]);
    ArchiveArea& area = *window->Frame_Archive;
    EXPECT_EQ(states(), (QMap<QString, QString>{
                            {QFileInfo(kept[0]).fileName(), ArchiveAreaTexts::restorable},
                            {QFileInfo(kept[1]).fileName(), ArchiveAreaTexts::restorable},
                            {"notes.sql", ArchiveAreaTexts::foreign},
                            {"20000101-000000-changed.sql", ArchiveAreaTexts::refused},
                            {"20000101-000001-cut.sql.part", ArchiveAreaTexts::unfinished},
                        }));
    EXPECT_EQ(area.entries().back().path, folder.filePath("20000101-000000-changed.sql"));

    // The rows come from the file: the table they were deleted from is not even there.
    run("ALTER TABLE DTD RENAME TO DTD_AWAY");
    area.chooseFile(rowOf("deliveries.sql"));
    EXPECT_EQ(area.CBO_TABLE->currentText(), "DTD (8" + WindowTexts::items + ")");
    EXPECT_EQ(area.FLEX_ROWS->rowCount(), 9);
    EXPECT_EQ(area.FLEX_ROWS->text(0, 1), "DTD_SEQ");
    EXPECT_TRUE(area.cmd_Restore->isEnabled());
    run("ALTER TABLE DTD_AWAY RENAME TO DTD");

    // What a restore refuses is not offered, and the words are the restore's own.
    for (const char* name : {"changed.sql", "cut.sql.part", "notes.sql"}) {
        area.chooseFile(rowOf(name));
        EXPECT_FALSE(area.cmd_Restore->isEnabled()) << name;
        ASSERT_GT(rowOf(name), 0) << name;
        const QString refusal =
            restoreArchive(*db, {area.entries()[size_t(rowOf(name) - 1)].path}).error;
        EXPECT_TRUE(area.lbl_outcome->text().endsWith(": " + refusal)) << name;
        boxes.clear();
        area.cmd_Restore_Click();
        EXPECT_TRUE(boxes.shown().empty()) << name;
    }
}

TEST_F(ArchiveAreaTest, RestoreAsksPutsTheRowsBackLogsAndMarksTheFile)
{
    const QString deliveries = deleteBoth().filter("deliveries")[0];
    click(window->cmd_Btn[4]);
    ArchiveArea& area = *window->Frame_Archive;
    area.chooseFile(rowOf("deliveries.sql"));
    const QString countDtd = "SELECT COUNT(*) FROM DTD";
    const int before = number(countDtd);
    boxes.clear();
    click(area.cmd_Restore); // No, the default
    EXPECT_EQ(boxes.texts(), QStringList{ArchiveAreaTexts::confirmRestore});
    EXPECT_EQ(number(countDtd), before);

    boxes.answer(true);
    click(area.cmd_Restore);
    EXPECT_EQ(number(countDtd), before + 8);
    EXPECT_EQ(area.lbl_outcome->text(),
              OutcomeWords::rowsRestored(8) + "\nDTD 8" + WindowTexts::items);
    EXPECT_TRUE(logText().endsWith(entry(RestoreFlow::tag, QDir::toNativeSeparators(deliveries))));
    EXPECT_FALSE(area.cmd_Restore->isEnabled());
    click(area.cmd_ArcSerch); // the mark outlives the list
    EXPECT_EQ(states().value(QFileInfo(deliveries).fileName()), ArchiveAreaTexts::restored);

    // A failed restore says why in a box, with the command line's words.
    area.chooseFile(rowOf("open-checks.sql"));
    run("ALTER TABLE PE RENAME TO PE_AWAY");
    boxes.clear();
    boxes.answer(true);
    click(area.cmd_Restore);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].title, WorkTexts::restoreFailedTitle);
    EXPECT_TRUE(boxes.shown()[1].text.startsWith(OutcomeWords::restoreFailed + "\n\n"));
    EXPECT_TRUE(boxes.shown()[1].text.contains("PE"));
    EXPECT_EQ(area.lbl_outcome->text(), OutcomeWords::restoreFailed);
}

// The header names the database the rows came from; another one takes them only when the user
// says so to a second question.
TEST_F(ArchiveAreaTest, AFileOfAnotherDatabaseIsRestoredThereOnlyOnPurpose)
{
    deleteBoth();
    FixtureDatabase elsewhere;
    std::unique_ptr<Mod_DB> other = elsewhere.connect();
    const QString openChecks = "SELECT COUNT(*) FROM PE WHERE PE_CK='0'";
    ASSERT_TRUE(other->DB_Execute("DELETE FROM PE WHERE PE_CK='0'").succeeded);
    WorkContext there{*other, log, boxes, context.localAddress};
    ArchiveArea area(there);
    area.cmd_ArcSerch_Click();
    area.chooseFile(area.entries()[0].path.endsWith("open-checks.sql") ? 1 : 2);

    boxes.clear();
    boxes.answer(true);
    boxes.answer(false);
    area.cmd_Restore_Click();
    ASSERT_EQ(boxes.texts().size(), 2);
    // The question names both: where the rows came from and where they would go.
    EXPECT_TRUE(boxes.texts()[1].contains(db->databaseIdentity().database));
    EXPECT_TRUE(boxes.texts()[1].contains(other->databaseIdentity().database));
    EXPECT_EQ(firstValue(*other, openChecks).toInt(), 0);

    boxes.answer(true);
    boxes.answer(true);
    area.cmd_Restore_Click();
    EXPECT_EQ(firstValue(*other, openChecks).toInt(), 5);
    EXPECT_EQ(number(openChecks), 0);
}

} // namespace
