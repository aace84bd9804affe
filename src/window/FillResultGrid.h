#pragma once

#include "operations/GridColumn.h"

#include <QString>
#include <vector>

class MessageBoxes;
class QLineEdit;
class ResultGrid;
class TextTable;

// The box a search shows when it found nothing.
inline const QString noDataText = QStringLiteral("데이터가 존재하지 않습니다");
inline const QString noDataTitle = QStringLiteral("데이터 확인");

// Puts records 1..n of table into the grid's data rows, one grid column per map entry (grid
// column 1 upward): date-times in the grid's pattern, other texts trimmed. The count box gets n
// first; with no records the no-data box is shown and the grid keeps what it had.
void FillResultGrid(ResultGrid& grid, QLineEdit& countBox, const TextTable& table, qint32 n,
                    const std::vector<GridColumn>& map, MessageBoxes& boxes);

// Leaves only the header row and sets the count box to "0".
void ClearResultGrid(ResultGrid& grid, QLineEdit& countBox);
