#pragma once

#include "operations/Flow.h"

#include <QString>
#include <functional>

class QLineEdit;
class QWidget;
class ResultGrid;
struct WorkContext;

// What the work areas' faces share: the count gate, running a flow off the window's thread, and
// turning a flow's outcome into the boxes the user sees.

// The questions, messages and status texts the work areas share.
namespace WorkTexts {
inline const QString confirmDelete = QStringLiteral("정말로 삭제하시겠습니까???");
inline const QString confirmOptimise = QStringLiteral("최적화를 진행하시겠습니까???");
inline const QString datesRequired = QStringLiteral("날짜를 반드시 입력하셔야 합니다!!!");
inline const QString chooseRow = QStringLiteral("삭제할 데이터를 먼저 클릭해 주세요.");
inline const QString searchFirst = QStringLiteral("먼저 조회를 해 주세요.");
inline const QString nothingListed =
    QStringLiteral("조회된 데이터가 없습니다. 삭제할 데이터를 먼저 조회해 주세요.");
inline const QString nothingDeleted =
    QStringLiteral("삭제된 데이터가 없습니다. 조회한 뒤 다른 곳에서 이미 정리된 것 같습니다.");

// Box titles; the words inside come from OutcomeWords.
inline const QString searchFailedTitle = QStringLiteral("조회오류");
inline const QString deleteFailedTitle = QStringLiteral("삭제오류");
inline const QString optimiseFailedTitle = QStringLiteral("최적화오류");
inline const QString logFailedTitle = QStringLiteral("로그오류");

// The progress box of work that takes a while: what runs, then the seconds it has taken.
inline const QString searching = QStringLiteral("조회");
inline const QString deleting = QStringLiteral("삭제");
inline const QString optimisingWork = QStringLiteral("최적화");
QString progressText(const QString& work, int seconds);
} // namespace WorkTexts

// The count box gates every delete: only a whole number above 0 opens it; 0, a negative number and
// anything that is not a number keep it shut.
bool countAllowsDelete(const QString& countText);

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

// After a statement that changes data: the failure box when it failed, and one warning when its
// log entry was not written.
void reportChange(WorkContext& context, const ChangeOutcome& outcome, const QString& failureTitle);
