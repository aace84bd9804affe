#pragma once

#include "operations/DateTimeText.h"

#include <QString>
#include <QStringList>
#include <vector>

class TextTable;
struct GridLayout;

// A search's rows as its grid shows them: the grid's column headers and cell texts, ready to be
// written out for a terminal or a script.
struct Listing
{
    QStringList headers;
    std::vector<QStringList> rows;

    static Listing of(const GridLayout& layout, const TextTable& table, qint32 records,
                      const DateTimeSeparators& separators = {});
};

// Columns padded to their widest cell as a terminal shows it, one line per row: control
// characters are written out (see visibleText).
QString listingTable(const Listing& listing);
// RFC 4180: CR LF line ends, a field in double quotes when it holds a comma, quote or line break.
QString listingCsv(const Listing& listing);
// An array with one object per row, keyed by the column headers.
QString listingJson(const Listing& listing);
