#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class ActivityLog;
class Mod_DB;
struct DbTarget;

// What the start of the program does to the archive folder before any work: settles the
// unfinished files a crash left, and removes archives past their days.
namespace ArchiveUpkeep {

// What became of one unfinished NAME.sql.part.
struct Settled
{
    enum class Kind
    {
        Removed,  // not sealed, or its rows are still in the database: the delete never happened
        Finished, // sealed and its rows are gone: the delete committed, so it is NAME.sql now
        Left,     // could not be decided (the reason says why); the next start tries again
    };
    Kind kind = Kind::Left;
    QString file; // the file as it was found
    QString reason;
};

// The unfinished files in folder another program is not writing right now. Deciding whether rows
// are still in the database needs a connected db; without one (null, or not connected) sealed
// files are left for a later start.
std::vector<Settled> settleUnfinished(const QString& folder, Mod_DB* db);

// The finished archives in folder made more than days days before now (by the time in their
// name), never the newest of them; days 0 keeps every archive. Returns the files removed.
QStringList removeOld(const QString& folder, const QDateTime& now, int days);

// ARCHIVE_DAYS as IP.ini holds it: a whole number from 0; anything else is the default 90.
int keepDays(const QString& iniValue);
inline constexpr int defaultKeepDays = 90;

// The one log line for each: "남은 보관 파일을 지웠습니다: …" and the like.
QString logLine(const Settled& settled);
QString logLine(const QStringList& removed, int days);

// The activity log's tag for each of these.
inline const QString tag = QStringLiteral("보관정리");

// Both at a start of the program: a connection to target is made for the settling only when
// there is an unfinished file; each file settled and the removal of old archives is one log
// entry.
void atStart(const DbTarget& target, ActivityLog& log, const std::function<QString()>& address,
             int days);

} // namespace ArchiveUpkeep
