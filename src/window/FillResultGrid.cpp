#include "window/FillResultGrid.h"

#include "db/TextTable.h"
#include "operations/DateTimeText.h"
#include "window/MessageBoxes.h"
#include "window/ResultGrid.h"
#include "window/TextTableModel.h"

#include <QLineEdit>
#include <stdexcept>

void FillResultGrid(ResultGrid& grid, QLineEdit& countBox, const TextTable& table, qint32 n,
                    const std::vector<GridColumn>& map, MessageBoxes& boxes)
{
    countBox.setText(QString::number(n));
    if (n <= 0) {
        boxes.inform(noDataText, noDataTitle, MessageBoxes::Buttons::OkCancel);
        return;
    }
    auto* model = qobject_cast<TextTableModel*>(grid.model());
    if (!model)
        throw std::logic_error("FillResultGrid: the grid has lost its text table model");
    // The model shares the table's texts (no copy is made) and shapes each cell when the view
    // asks for it. A count beyond the rows the table holds, or a field the query did not return,
    // gives empty cells rather than reading past the table.
    model->showRecords(table, n, map, systemDateTimeSeparators());
}

void ClearResultGrid(ResultGrid& grid, QLineEdit& countBox)
{
    grid.setRowCount(1);
    countBox.setText(QStringLiteral("0"));
}
