#pragma once

#include "operations/Flow.h"
#include "window/WindowTexts.h"

#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QWidget;
class ResultGrid;
struct WorkContext;

// What the work areas' faces share: the count gate, running a flow off the window's thread, and
// turning a flow's outcome into the boxes the user sees.

// The count box gates every delete: only a whole number above 0 opens it; 0, a negative number and
// anything that is not a number keep it shut.
bool countAllowsDelete(const QString& countText);

// True while runOffThread runs work: no handler starts anything then.
bool workRunning();
// The window asked to close while work runs: the progress box says it will once the work is done.
void closeAfterWork();

// Runs work off the window's thread and returns when it is done. The window keeps painting but
// takes no input; past half a second a modal box names the work and counts the seconds.
void runOffThread(QWidget* window, const QString& workName, const std::function<void()>& work);

template <typename Outcome>
Outcome runFlow(QWidget* window, const QString& workName, const std::function<Outcome()>& flow)
{
    Outcome outcome;
    runOffThread(window, workName, [&] { outcome = flow(); });
    return outcome;
}

// Shows what a search found in its grid and count box, or, when it failed, a count of 0 and the
// error box with the server's words. True when it found something to show.
bool showSearch(WorkContext& context, ResultGrid& grid, QLineEdit& countBox,
                const SearchOutcome& found);

// The area's status lines after a delete: the rows it removed, and the name of the archive file
// that keeps them (its full path as the tooltip); empty after a failure, which a box reports.
void showDeleteOutcome(QLabel& line, const ChangeOutcome& outcome);
QLabel* makeOutcomeLine(QWidget* area);

// After a statement that changes data: the failure box when it failed, and one warning when its
// log entry was not written.
void reportChange(WorkContext& context, const ChangeOutcome& outcome, const QString& failureTitle);
