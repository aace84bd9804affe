#pragma once

#include "operations/ArchiveListing.h"
#include "window/WindowTexts.h"
#include "window/WorkContext.h"

#include <QGroupBox>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class ResultGrid;
struct GridLayout;

// Frame_Archive: the archive files the deletes kept. Choosing one shows its rows, read from the
// file alone; 복원 puts them back after a question, as the command line's restore does.
class ArchiveArea : public QGroupBox
{
    Q_OBJECT
public:
    explicit ArchiveArea(WorkContext& context, QWidget* parent = nullptr);
    ~ArchiveArea() override;

    // Lists the archive folder again; nothing is chosen afterwards.
    void cmd_ArcSerch_Click();
    // Reads the file of the list's row (1 the newest) and shows its first table's rows.
    void chooseFile(int row);
    void showTable(int index);
    void cmd_Restore_Click();

    const std::vector<ArchiveEntry>& entries() const { return m_entries; }

    ResultGrid* FLEX_FILES = nullptr;
    QComboBox* CBO_TABLE = nullptr;
    QLabel* lbl_file = nullptr;
    ResultGrid* FLEX_ROWS = nullptr;
    QLabel* lbl_outcome = nullptr; // what the chosen file is to a restore, or what one did
    QPushButton* cmd_ArcSerch = nullptr;
    QLabel* Label40 = nullptr;
    QPushButton* cmd_Restore = nullptr;
    QLabel* Label41 = nullptr;
    QPushButton* CMD_UNLOAD = nullptr; // the window's CMD_UNLOAD(4)

private:
    void showRowsGrid(const GridLayout* layout);
    const ArchiveEntry* chosen() const;

    WorkContext& m_context;
    std::vector<ArchiveEntry> m_entries;
    int m_chosen = -1;                        // index into m_entries
    ArchivePreview m_shown;                   // the chosen file's rows
    std::unique_ptr<GridLayout> m_rowsLayout; // the columns of the table shown in FLEX_ROWS
};
