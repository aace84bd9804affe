#pragma once

#include <QApplication>

// While the server works the window is blocked; the wait cursor tells the user it is working.
// Kept only around the database call, never while a message box is up.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
