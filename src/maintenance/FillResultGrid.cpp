#include "maintenance/FillResultGrid.h"

#include "db/TextTable.h"
#include "maintenance/DateTimeText.h"
#include "maintenance/MessageBoxes.h"
#include "maintenance/ResultGrid.h"

#include <QLineEdit>

namespace {

// Blanks only: fixed-width columns pad with them, other white space is part of the value.
QString trimmedBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return begin == 0 && end == text.size() ? text : text.mid(begin, end - begin);
}

} // namespace

void FillResultGrid(ResultGrid& grid, QLineEdit& countBox, const TextTable& table, qint32 n,
                    const std::vector<GridColumn>& map, MessageBoxes& boxes)
{
    countBox.setText(QString::number(n));
    if (n <= 0) {
        boxes.inform(noDataText, noDataTitle, MessageBoxes::Buttons::OkCancel);
        return;
    }

    // A count beyond the rows the table holds, or a field the query did not return, gives empty
    // cells rather than reading past the table.
    const int records = std::min(n, qint32(table.rowCount() - 1));
    const int columns = grid.columnCount();
    const DateTimeSeparators separators = systemDateTimeSeparators();
    std::vector<QString> cells(size_t(records) * size_t(columns));
    for (int r = 1; r <= records; ++r) {
        QString* row = &cells[size_t(r - 1) * size_t(columns)];
        for (int c = 1; c < columns && size_t(c) <= map.size(); ++c) {
            const GridColumn& source = map[size_t(c - 1)];
            if (source.field < 0 || source.field >= table.columnCount())
                continue;
            const QString& value = table.cell(r, source.field);
            row[c] = source.dateTime ? gridDateTimeText(value, separators) : trimmedBlanks(value);
        }
    }
    grid.replaceRows(records, std::move(cells));
}

void ClearResultGrid(ResultGrid& grid, QLineEdit& countBox)
{
    grid.setRowCount(1);
    countBox.setText(QStringLiteral("0"));
}
