#include "window/ArchiveArea.h"

#include "archive/ArchiveFileCheck.h"
#include "db/Mod_DB.h"
#include "operations/GridLayouts.h"
#include "operations/OutcomeWords.h"
#include "operations/RestoreFlow.h"
#include "window/FormControls.h"
#include "window/MessageBoxes.h"
#include "window/ResultGrid.h"
#include "window/TextTableModel.h"
#include "window/WorkSteps.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace {

enum ListColumn
{
    TimeColumn,
    WorkColumn,
    RowsColumn,
    DatabaseColumn,
    SizeColumn,
    StateColumn,
    ListColumns,
};

// The list is shown as it is written (the model is given its own map, without date shaping);
// the time column counts as a date-time only so the scroll bar's room comes from another column.
const GridLayout& fileListLayout()
{
    namespace T = ArchiveAreaTexts;
    constexpr auto General = GridAlignment::General;
    constexpr auto Centre = GridAlignment::Centre;
    static const GridLayout layout{{
        {T::time, 2100, Centre, Centre, {TimeColumn, true}}, // kept whole beside a scroll bar
        {T::work, 1350, Centre, Centre, {WorkColumn, false}},
        {T::rows, 1500, General, Centre, {RowsColumn, false}},
        {T::database, 1140, Centre, Centre, {DatabaseColumn, false}},
        {T::size, 825, General, Centre, {SizeColumn, false}},
        {T::state, 1050, Centre, Centre, {StateColumn, false}},
    }};
    return layout;
}

QString stateText(const ArchiveEntry& entry)
{
    const ArchivePreview& preview = entry.preview;
    if (!preview.headerRead)
        return ArchiveAreaTexts::foreign;
    // A delete names its file so until it has committed; a cut or changed file is refused.
    if (entry.path.endsWith(unfinishedSuffix))
        return ArchiveAreaTexts::unfinished;
    if (!preview.restorable)
        return ArchiveAreaTexts::refused;
    return entry.restored ? ArchiveAreaTexts::restored : ArchiveAreaTexts::restorable;
}

bool offeredForRestore(const ArchiveEntry& entry)
{
    return stateText(entry) == ArchiveAreaTexts::restorable;
}

QString rowsText(const RowsPerTable& rows, const QString& separator)
{
    QStringList parts;
    for (const auto& [table, count] : rows)
        parts << table + u' ' + QString::number(count) + WindowTexts::items;
    return parts.join(separator);
}

QString named(const QString& server, const QString& database)
{
    return server.isEmpty() ? database : server + QStringLiteral(" / ") + database;
}

// SQLite names its database by a path; the file's name says enough in a list.
QString databaseText(const ArchiveHeader& header)
{
    return header.dialect == Dialect::Sqlite ? QFileInfo(header.database).fileName()
                                             : header.database;
}

TextTable listTable(const std::vector<ArchiveEntry>& entries)
{
    TextTable table;
    table.reset(int(entries.size()) + 1, ListColumns);
    for (int r = 1; r <= int(entries.size()); ++r) {
        const ArchiveEntry& entry = entries[size_t(r - 1)];
        const ArchivePreview& preview = entry.preview;
        // A file whose header could not be read is named by its file name.
        table.setCell(r, TimeColumn, preview.header.time);
        table.setCell(r, WorkColumn,
                      preview.headerRead ? preview.header.work : QFileInfo(entry.path).fileName());
        table.setCell(r, RowsColumn, rowsText(preview.rowsPerTable, QStringLiteral(", ")));
        table.setCell(r, DatabaseColumn, databaseText(preview.header));
        table.setCell(
            r, SizeColumn,
            QLocale::c().formattedDataSize(entry.size, 1, QLocale::DataSizeTraditionalFormat));
        table.setCell(r, StateColumn, stateText(entry));
    }
    return table;
}

std::vector<GridColumn> plainColumns(int count)
{
    std::vector<GridColumn> map;
    for (int c = 0; c < count; ++c)
        map.push_back({c, false});
    return map;
}

} // namespace

ArchiveArea::ArchiveArea(WorkContext& context, QWidget* parent)
    : QGroupBox(WindowTexts::archives, parent), m_context(context)
{
    setObjectName(QStringLiteral("Frame_Archive"));
    styleAsFrame(this);
    setFont(frameCaptionFont());
    setGeometry(twipsRect(9720, 12900, 8505, 5575));

    FLEX_FILES = new ResultGrid(fileListLayout(), this);
    FLEX_FILES->setObjectName(QStringLiteral("FLEX_FILES"));
    FLEX_FILES->setGeometry(twipsRect(270, 330, 7965, 1815));
    FLEX_FILES->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Queued: the file is read after the click that chose it has been handled.
    connect(
        FLEX_FILES->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) {
            if (current.isValid())
                chooseFile(current.row() + 1);
        },
        Qt::QueuedConnection);

    CBO_TABLE = new QComboBox(this);
    placeControl(CBO_TABLE, "CBO_TABLE", twipsRect(270, 2235, 2655, 330), labelFont());
    connect(CBO_TABLE, &QComboBox::activated, this, &ArchiveArea::showTable);
    lbl_file =
        makeLabel(this, "lbl_file", QString(), twipsRect(3045, 2280, 5190, 285), labelFont());
    lbl_file->setWordWrap(false);
    showRowsGrid(nullptr);

    lbl_outcome =
        makeLabel(this, "lbl_outcome", QString(), twipsRect(270, 4410, 7965, 435), labelFont());

    cmd_ArcSerch = makeButton(this, "cmd_ArcSerch", WindowTexts::search,
                              twipsRect(1080, 4890, 1305, 555), frameButtonFont());
    Label40 = makeLabel(this, "Label40", WindowTexts::arrow, twipsRect(2910, 4950, 495, 285),
                        arrowFont());
    cmd_Restore = makeButton(this, "cmd_Restore", ArchiveAreaTexts::restore,
                             twipsRect(3690, 4890, 1185, 555), frameButtonFont());
    cmd_Restore->setEnabled(false);
    Label41 = makeLabel(this, "Label41", WindowTexts::arrow, twipsRect(5280, 4950, 495, 285),
                        arrowFont());
    CMD_UNLOAD = makeButton(this, "CMD_UNLOAD_4", WindowTexts::quit,
                            twipsRect(6180, 4890, 1155, 555), frameButtonFont());

    connect(cmd_ArcSerch, &QPushButton::clicked, this, &ArchiveArea::cmd_ArcSerch_Click);
    connect(cmd_Restore, &QPushButton::clicked, this, &ArchiveArea::cmd_Restore_Click);
}

ArchiveArea::~ArchiveArea() = default;

void ArchiveArea::showRowsGrid(const GridLayout* layout)
{
    // The columns are the shown table's own, so the grid is made anew for each table; the old
    // one goes with the layout it refers to.
    auto next = std::make_unique<GridLayout>(layout ? *layout : GridLayout{});
    auto* grid = new ResultGrid(*next, this);
    grid->setObjectName(QStringLiteral("FLEX_ROWS"));
    grid->setGeometry(twipsRect(270, 2640, 7965, 1710));
    grid->setRowCount(1);
    if (FLEX_ROWS) {
        QWidget::setTabOrder(FLEX_ROWS, grid);
        grid->setVisible(FLEX_ROWS->isVisibleTo(this));
        delete FLEX_ROWS;
    }
    FLEX_ROWS = grid;
    m_rowsLayout = std::move(next);
}

void ArchiveArea::cmd_ArcSerch_Click()
{
    if (workRunning())
        return;
    const QString folder = m_context.log.archiveFolder();
    m_entries = runFlow<std::vector<ArchiveEntry>>(this, WorkTexts::searching,
                                                   [&] { return listArchives(folder); });
    m_chosen = -1;
    m_shown = {};
    cmd_Restore->setEnabled(false);
    CBO_TABLE->clear();
    lbl_file->clear();
    showRowsGrid(nullptr);
    auto* model = qobject_cast<TextTableModel*>(FLEX_FILES->model());
    model->showRecords(listTable(m_entries), int(m_entries.size()), plainColumns(ListColumns),
                       systemDateTimeSeparators());
    lbl_outcome->setText(m_entries.empty() ? ArchiveAreaTexts::noArchives : QString());
}

void ArchiveArea::chooseFile(int row)
{
    if (workRunning() || row < 1 || row > int(m_entries.size()))
        return;
    m_chosen = row - 1;
    const ArchiveEntry& entry = m_entries[size_t(m_chosen)];
    lbl_file->setText(QFileInfo(entry.path).fileName());
    lbl_file->setToolTip(entry.path);
    m_shown = runFlow<ArchivePreview>(this, WorkTexts::searching, [path = entry.path] {
        return previewArchive(path, ArchivePreviewDetail::Rows);
    });

    CBO_TABLE->clear();
    for (const auto& [table, rows] : m_shown.tables)
        CBO_TABLE->addItem(table + QStringLiteral(" (") + QString::number(rows.rowCount() - 1) +
                           WindowTexts::items + u')');
    showTable(0);

    // The refusal is the restore's own words, as the command line prints them.
    const QString state = stateText(entry);
    lbl_outcome->setText(
        m_shown.refusal.isEmpty() ? state : state + QStringLiteral(": ") + m_shown.refusal);
    cmd_Restore->setEnabled(offeredForRestore(entry));
}

void ArchiveArea::showTable(int index)
{
    if (index < 0 || size_t(index) >= m_shown.tables.size()) {
        showRowsGrid(nullptr);
        return;
    }
    const TextTable& table = m_shown.tables[size_t(index)].second;
    GridLayout layout;
    for (int c = 0; c < table.columnCount(); ++c)
        layout.columns.push_back(
            {table.cell(0, c), 1200, GridAlignment::General, GridAlignment::Centre, {c, false}});
    showRowsGrid(&layout);
    auto* model = qobject_cast<TextTableModel*>(FLEX_ROWS->model());
    model->showRecords(table, table.rowCount() - 1, layout.columnMap(), systemDateTimeSeparators());
}

const ArchiveEntry* ArchiveArea::chosen() const
{
    return m_chosen < 0 ? nullptr : &m_entries[size_t(m_chosen)];
}

void ArchiveArea::cmd_Restore_Click()
{
    if (workRunning())
        return;
    const ArchiveEntry* entry = chosen();
    if (!entry) {
        m_context.boxes.inform(ArchiveAreaTexts::chooseFile);
        return;
    }
    if (!offeredForRestore(*entry) || !m_context.boxes.askYesNo(ArchiveAreaTexts::confirmRestore))
        return;

    // A file of another database goes there only on purpose, by the rule the restore keeps.
    RestoreRequest request(entry->path);
    const ArchiveHeader& header = entry->preview.header;
    const DatabaseIdentity connected = m_context.db.databaseIdentity();
    if (!isSameDatabase(header, connected)) {
        if (!m_context.boxes.askYesNo(ArchiveAreaTexts::otherDatabaseQuestion(
                named(header.server, header.database),
                named(connected.server, connected.database))))
            return;
        request.allowOtherDatabase = true;
    }
    const RestoreFlow::Outcome outcome = runFlow<RestoreFlow::Outcome>(
        this, WorkTexts::restoring, [&] { return RestoreFlow::run(m_context.flow(), request); });

    const RestoreOutcome& restored = outcome.restore;
    if (restored.succeeded) {
        m_entries[size_t(m_chosen)].restored = true;
        FLEX_FILES->setText(m_chosen + 1, StateColumn + 1, ArchiveAreaTexts::restored);
        cmd_Restore->setEnabled(false);
        lbl_outcome->setText(OutcomeWords::rowsRestored(restored.rowsRestored) + u'\n' +
                             rowsText(restored.rowsPerTable, QStringLiteral(", ")));
    } else {
        const OutcomeWords::Report report = OutcomeWords::restoreFailure(restored);
        lbl_outcome->setText(report.headline);
        m_context.boxes.inform(report.boxText(), WorkTexts::restoreFailedTitle,
                               MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
    }
    if (!outcome.logged.written)
        m_context.boxes.inform(OutcomeWords::logFailure(outcome.logged).boxText(),
                               WorkTexts::logFailedTitle, MessageBoxes::Buttons::Ok,
                               MessageBoxes::Icon::Warning);
}
