#pragma once

#include <QString>

class QLineEdit;
class TextTable;
struct WorkContext;

// The steps the work areas share: the count gate, running a search or a changing statement with
// its failure made visible, and the activity-log entry of every statement that was sent.

// The questions, messages and status texts the work areas show.
namespace WorkTexts {
inline const QString confirmDelete = QStringLiteral("정말로 삭제하시겠습니까???");
inline const QString confirmOptimise = QStringLiteral("최적화를 진행하시겠습니까???");
inline const QString datesRequired = QStringLiteral("날짜를 반드시 입력하셔야 합니다!!!");
inline const QString chooseRow = QStringLiteral("삭제할 데이터를 먼저 클릭해 주세요.");
inline const QString searchFirst = QStringLiteral("먼저 조회를 해 주세요.");

inline const QString searchFailedTitle = QStringLiteral("조회오류");
inline const QString searchFailed = QStringLiteral("데이터를 조회하지 못했습니다.");
inline const QString deleteFailedTitle = QStringLiteral("삭제오류");
inline const QString deleteFailed =
    QStringLiteral("삭제하지 못했습니다. 데이터는 그대로 남아 있습니다.");
inline const QString optimiseFailedTitle = QStringLiteral("최적화오류");
inline const QString optimiseFailed =
    QStringLiteral("최적화하지 못했습니다. 데이터베이스는 그대로입니다.");
inline const QString logFailedTitle = QStringLiteral("로그오류");
inline const QString logFailed = QStringLiteral("작업 기록을 로그 파일에 남기지 못했습니다.");
inline const QString logFileLabel = QStringLiteral("로그 파일: ");

// The log item that follows the statement when the server refused it.
inline const QString logFailureMark = QStringLiteral("실행실패! ");
} // namespace WorkTexts

// The count box gates every delete: only a whole number above 0 opens it; 0, a negative number and
// anything that is not a number keep it shut.
bool countAllowsDelete(const QString& countText);

// Runs a search into table/rows/columns. On failure the server's error is shown and false comes
// back; the caller then shows what an empty result shows, without the no-data box.
bool runSearch(WorkContext& context, const QString& sql, TextTable& table, qint32& rows,
               qint32& columns);

// What became of a statement that changes data.
struct StatementOutcome
{
    bool succeeded = false;
    QString error; // the server's text when it failed
};

// Sends a changing statement (one transaction) and reports the outcome; shows nothing.
StatementOutcome runStatement(WorkContext& context, const QString& sql);

// Closes every changing statement that was sent: writes its log entry (address, tag, the statement,
// for a failure one more line with the server's error, then the empty lines that end an entry),
// shows the failure box with the server's text when it failed, and warns once when the entry
// could not be written.
void logAndReport(WorkContext& context, const QString& address, const QString& tag,
                  const QString& sql, const StatementOutcome& outcome, const QString& failureTitle,
                  const QString& failureText);

// The error box of a failed statement or search: the window's wording, then the server's text.
void showFailure(WorkContext& context, const QString& title, const QString& text,
                 const QString& serverText);
