#include "window/ResultGrid.h"

#include "window/FormControls.h"
#include "window/TextTableModel.h"

#include <QHeaderView>

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
    // The columns fill the grid exactly; when the vertical scroll bar takes its strip, the widest
    // column gives it up, so the last column (the amount) stays whole.
    int total = 0;
    size_t widest = 0;
    for (size_t c = 0; c < m_layout.columns.size(); ++c) {
        total += twipsToPixels(m_layout.columns[c].widthTwips);
        if (m_layout.columns[c].widthTwips > m_layout.columns[widest].widthTwips)
            widest = c;
    }
    m_fittedWidth = viewport()->width();
    const int excess = std::max(0, total - m_fittedWidth);
    for (size_t c = 0; c < m_layout.columns.size(); ++c) {
        const int width = twipsToPixels(m_layout.columns[c].widthTwips);
        setColumnWidth(int(c) + 1, c == widest ? std::max(width / 2, width - excess) : width);
    }
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
