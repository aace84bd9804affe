#pragma once

#include <QString>

// A value as a terminal's table shows it on one line: control characters written out (\n, \r,
// \t, others as \xNN), so no value can break a row or move the cursor.
QString visibleText(const QString& text);

// Places text takes on a terminal: two for East Asian wide and full-width characters (Hangul,
// CJK, emoji shown as pictures), none for combining marks and format characters, one otherwise.
int terminalWidth(const QString& text);
