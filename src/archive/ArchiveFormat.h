#pragma once

#include <QString>

// The fixed texts of an archive file's header and closing line, shared by the writer and the
// restore's check so the two can never disagree on a byte.
namespace ArchiveFormat {

inline const QString firstLineSqlite = QStringLiteral("-- Sweep archive 2 (SQLite)");
inline const QString firstLineSqlServer = QStringLiteral("-- Sweep archive 2 (SQL Server)");
inline const QString firstLineSqliteV1 = QStringLiteral("-- Sweep archive (SQLite)");
inline const QString firstLineSqlServerV1 = QStringLiteral("-- Sweep archive (SQL Server)");

inline const QString notice =
    QStringLiteral("-- 삭제 전에 보관한 행입니다. 이 스크립트를 실행하면 행이 되돌아갑니다.");
inline const QString time = QStringLiteral("-- 시각: ");
inline const QString computer = QStringLiteral("-- 컴퓨터: ");
inline const QString server = QStringLiteral("-- 서버: ");
inline const QString database = QStringLiteral("-- 데이터베이스: ");
inline const QString work = QStringLiteral("-- 작업: ");
inline const QString tables = QStringLiteral("-- 표: ");
inline const QString deleteStatement = QStringLiteral("-- 삭제 문장:");
inline const QString deleteLine = QStringLiteral("--   ");
// Format 1 only: "-- 행 수 TABLE: " and the count, right-aligned.
inline const QString rowCountV1 = QStringLiteral("-- 행 수 ");
inline const QString closing = QStringLiteral("-- 끝: ");
inline const QString hashMark = QStringLiteral("; SHA-256 ");

} // namespace ArchiveFormat
