#pragma once

class QWidget;

// Puts a window above all others (on) or back among them (off) and, when on, brings it up.
void SetTopMost(QWidget* window, bool on);
