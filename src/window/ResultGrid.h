#pragma once

#include "operations/GridLayouts.h"

#include <QTableView>
#include <vector>

class TextTableModel;

// A result grid as the work areas use it: row 0 is the fixed header row, column 0 is hidden, and
// rows are counted with the header, so setRowCount(1) leaves the header alone.
class ResultGrid : public QTableView
{
    Q_OBJECT
public:
    static constexpr int initialRows = 50;

    explicit ResultGrid(const GridLayout& layout, QWidget* parent = nullptr);

    int rowCount() const;
    void setRowCount(int rows);
    int columnCount() const;

    // Row 0 is the header. Outside the grid the text is empty and writes are ignored.
    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);

    // The view's index of a data cell (model rows start below the header); invalid for row 0.
    QModelIndex cellIndex(int row, int column) const;

    // The row of the cell the user last selected, by click or keyboard; -1 while no data row is
    // selected (at creation and after every change of the rows).
    int currentRow() const;

    const GridLayout& layout() const { return m_layout; }

    // A cell's whole text when its column is too narrow to show it, for the tooltip; empty when
    // the cell shows it all.
    QString cutText(const QModelIndex& index) const;

protected:
    void updateGeometries() override;
    bool viewportEvent(QEvent* event) override;

private:
    void fitColumns();
    int m_fittedWidth = -1;
    const GridLayout& m_layout;
    TextTableModel* m_model;
};
