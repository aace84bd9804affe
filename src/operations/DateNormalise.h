#pragma once

#include <QString>

// Reads what a technician types into a date box: year-month-day with "-", "/" or "." between
// (month and day with one or two digits) or eight digits yyyymmdd, blanks around it allowed.
// A text that reads as a real calendar date becomes yyyy-mm-dd; anything else comes back as
// typed, so the server decides what it makes of it.
QString normaliseDate(const QString& text);
