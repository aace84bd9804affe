#include "window/ResultGrid.h"

#include "window/FormControls.h"
#include "window/TextTableModel.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

ResultGrid::ResultGrid(const GridLayout& layout, QWidget* parent)
    : QTableView(parent), m_layout(layout), m_model(new TextTableModel(layout, this))
{
    setModel(m_model);
    setFont(formFont(FormFonts::humanMoeum, 9));
    horizontalHeader()->setFont(font());
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // Tab moves on to the buttons; the arrow keys move between cells.
    setTabKeyNavigation(false);

    // Fixed column 0 carries nothing the user needs to see.
    verticalHeader()->hide();
    setColumnHidden(0, true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(18);
    horizontalHeader()->setFixedHeight(20);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    fitColumns();

    setRowCount(initialRows);
}

void ResultGrid::updateGeometries()
{
    QTableView::updateGeometries();
    // Only a change of the room (the scroll bar coming or going) refits; a column the user
    // dragged wider stays so otherwise.
    if (viewport()->width() != m_fittedWidth)
        fitColumns();
}

void ResultGrid::fitColumns()
{
    // The columns fill the grid exactly; where they are wider than the room (the vertical scroll
    // bar takes its strip), the widest column without date-times gives the excess up, so a
    // date-time keeps its seconds and the last column (the amount) stays whole.
    int total = 0;
    size_t giving = 0;
    for (size_t c = 0; c < m_layout.columns.size(); ++c) {
        const GridColumnLayout& column = m_layout.columns[c];
        total += twipsToPixels(column.widthTwips);
        const GridColumnLayout& chosen = m_layout.columns[giving];
        if (chosen.source.dateTime ||
            (!column.source.dateTime && column.widthTwips > chosen.widthTwips))
            giving = c;
    }
    m_fittedWidth = viewport()->width();
    const int excess = std::max(0, total - m_fittedWidth);
    for (size_t c = 0; c < m_layout.columns.size(); ++c) {
        const int width = twipsToPixels(m_layout.columns[c].widthTwips);
        setColumnWidth(int(c) + 1, c == giving ? std::max(width / 2, width - excess) : width);
    }
}

QString ResultGrid::cutText(const QModelIndex& index) const
{
    const QString text = index.data().toString();
    if (text.isEmpty())
        return {};
    // The cell's text room: its width less the margins the style draws on both sides.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int room = columnWidth(index.column()) - 2 * margin;
    return fontMetrics().horizontalAdvance(text) > room ? text : QString();
}

bool ResultGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString full = cutText(indexAt(help->pos()));
        if (full.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), full, viewport());
        return true;
    }
    return QTableView::viewportEvent(event);
}

int ResultGrid::rowCount() const
{
    return m_model->rowCount() + 1;
}

void ResultGrid::setRowCount(int rows)
{
    m_model->setDataRowCount(std::max(rows, 1) - 1);
}

int ResultGrid::columnCount() const
{
    return m_model->columnCount();
}

QString ResultGrid::text(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return row == 0 ? m_model->headerText(column) : m_model->text(row - 1, column);
}

void ResultGrid::setText(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    if (row == 0)
        m_model->setHeaderText(column, text);
    else
        m_model->setText(row - 1, column, text);
}

QModelIndex ResultGrid::cellIndex(int row, int column) const
{
    return row < 1 ? QModelIndex() : m_model->index(row - 1, column);
}

int ResultGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return -1;
    return current.row() + 1;
}
