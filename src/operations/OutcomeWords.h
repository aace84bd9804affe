#pragma once

#include "core/ActivityLog.h"
#include "operations/Flow.h"

#include <QString>
#include <QStringList>

struct RestoreOutcome;

// The words for what an operation came to, written once: the window shows them in its boxes and
// status lines, the command line prints them line by line.
namespace OutcomeWords {

inline const QString unreachable =
    QStringLiteral("데이터베이스에 접근이 불가능합니다.             ");
inline const QString searchFailed = QStringLiteral("데이터를 조회하지 못했습니다.");
inline const QString deleteFailed =
    QStringLiteral("삭제하지 못했습니다. 데이터는 그대로 남아 있습니다.");
inline const QString optimiseFailed =
    QStringLiteral("최적화하지 못했습니다. 데이터베이스는 그대로입니다.");
inline const QString restoreFailed =
    QStringLiteral("복원하지 못했습니다. 데이터베이스는 그대로입니다.");
inline const QString archiveFailed = QStringLiteral(
    "삭제할 데이터를 보관 파일에 쓰지 못해 삭제하지 않았습니다. 데이터는 그대로 남아 있습니다.");
// The connection went while the change was being committed.
inline const QString deleteUnknown = QStringLiteral(
    "삭제 중에 데이터베이스 연결이 끊어져 삭제되었는지 알 수 없습니다. 다시 조회한 결과를 "
    "확인해 주세요.");
inline const QString changeUnknown = QStringLiteral(
    "작업 중에 데이터베이스 연결이 끊어져 반영되었는지 알 수 없습니다. 다시 조회해 확인해 "
    "주세요.");
inline const QString restoreUnknown = QStringLiteral(
    "복원 중에 데이터베이스 연결이 끊어져 반영되었는지 알 수 없습니다. 다시 조회해 확인해 "
    "주세요.");
// The command line's way to restore a file of another database on purpose.
inline const QString otherDatabaseOption =
    QStringLiteral("이 데이터베이스에 일부러 복원하려면 --other-database 를 붙여 주세요.");
inline const QString logFailed = QStringLiteral("작업 기록을 로그 파일에 남기지 못했습니다.");
inline const QString logFileLabel = QStringLiteral("로그 파일: ");
inline const QString archiveFileLabel = QStringLiteral("보관 파일: ");
inline const QString nothingDeleted = QStringLiteral("삭제된 건 없음");

// A failure put into words: what did not happen, then the notes that go with it (the archive kept,
// the log file), then the database's or the system's own words, each part possibly empty.
struct Report
{
    QString headline;
    QStringList notes;
    QString reason;

    // As a box shows it: the notes under the headline, the reason after a blank line.
    QString boxText() const;
    // As the command line prints it: every part on its own line.
    QStringList lines() const;
};

// Why a change failed; the headline says what was left as it was.
Report changeFailure(const ChangeOutcome& outcome);
Report searchFailure(const SearchOutcome& outcome);
Report restoreFailure(const RestoreOutcome& outcome);
// The log entry that could not be written.
Report logFailure(const ActivityLog::Result& logged);

// "삭제한 데이터: 8건", or "삭제된 건 없음" when the delete removed nothing.
QString rowsDeleted(qint64 rows);
// "복원한 데이터: 8건".
QString rowsRestored(qint64 rows);
// "보관 파일: " and the file in the system's own form.
QString archiveFile(const QString& path);

} // namespace OutcomeWords
