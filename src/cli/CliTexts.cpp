#include "cli/CliTexts.h"

#include <QDir>
#include <QLocale>

namespace CliTexts {

namespace {

const char koreanUsage[] = R"(사용법: sweep [--demo [파일]] [명령 ...]

명령 없이 실행하면 POS 데이터베이스 관리 창을 엽니다 (화면이 필요합니다).

  (인수 없음)      이 컴퓨터의 SQL Server에 접속합니다. 데이터베이스 이름(DBNAME)은
                   프로그램 옆의 IP.ini에서 읽고, 작업 기록은 날짜별 로그 파일에 남깁니다.
  --demo [파일]    SQLite 데모 데이터베이스 파일을 대신 씁니다. 파일이 없으면 예시 데이터로
                   만듭니다 (폴더는 있어야 합니다. 기본: %1).
                   명령 이름과 헷갈리지 않도록 파일은 경로로 적습니다 (예: ./demo.sqlite).
  -h, --help       이 설명을 보여 줍니다.

명령 (창 없이 실행되고 끝납니다. 원격 지원과 예약 작업용):
  list 영역 [--format table|csv|json]
                   창에 나오는 데이터를 출력합니다. 영역: open-checks, payment-cancel,
                   deliveries [--from 날짜 --to 날짜]
  delete 영역 [--yes]
                   --yes 가 없으면 지울 데이터를 표별로 세기만 합니다. --yes 가 있으면 보관
                   폴더에 사본을 남기고 지웁니다. open-checks 는 [--check 전표번호] (열린
                   계산서만), deliveries 는 [--from 날짜 --to 날짜] 를 받습니다.
  optimise --yes   모든 인덱스를 다시 만듭니다 (--yes 가 없으면 아무것도 하지 않습니다).
  restore 파일 [--other-database]
                   보관 파일 전체를 확인한 뒤 그 데이터를 모두 되돌리거나, 하나도 되돌리지
                   않습니다. 다른 데이터베이스의 파일은 --other-database 가 있을 때만 받습니다.
  status [--format table|json]
                   열린 계산서, 미완료 배달, 결제취소 작업 데이터의 건수, 데이터베이스 크기,
                   가장 오래된 미완료 배달, 마지막 최적화, 보관 파일을 보여 줍니다. 아무것도
                   바꾸지 않고 로그도 남기지 않습니다.

날짜: 2026-12-06, 2026/12/06, 2026.12.6, 20261206. 옵션은 한 번씩만 씁니다.
optimise 와 delete --yes 는 끝난 시각과 결과를 한 줄로 출력합니다.

종료 코드: 0 완료, 1 데이터베이스 접속 불가, 2 잘못된 명령줄, 3 실행 실패 (바뀐 것 없음,
출력 실패 포함), 4 커밋 중 연결이 끊김 (결과를 알 수 없음).

예:
  sweep list deliveries --from 2026-12-01 --to 2026-12-05
  sweep list open-checks --format csv > open-checks.csv
  sweep delete open-checks --check 1004 --yes
  sweep optimise --yes
  sweep status --format json
  sweep restore "%2"
  sweep --demo list payment-cancel --format json

환경 변수: SWEEP_QUIT_AFTER_FIRST_PAINT=1 이면 창을 한 번 그린 뒤 끝납니다 (시작 시간 측정).
)";

const char englishUsage[] = R"(Usage: sweep [--demo [FILE]] [COMMAND ...]

Without a command, opens the maintenance window of the POS database (needs a display).

  (no arguments)  connect to the local SQL Server; the database name (DBNAME) is read from
                  IP.ini beside the program, entries go to the daily activity log
  --demo [FILE]   use the SQLite demo database FILE instead, creating it with sample rows when
                  it does not exist (its folder must exist; default: %1).
                  Write FILE as a path (./demo.sqlite) so it cannot be taken for a command.
  -h, --help      show this text

Commands (no window; for remote support and scheduled maintenance):
  list AREA [--format table|csv|json]
                  the rows the window lists; AREA is open-checks, payment-cancel or
                  deliveries [--from DATE --to DATE]
  delete AREA [--yes]
                  without --yes only counts the rows that would go, per table; with it deletes
                  them, keeping a copy in the archive folder. open-checks takes
                  [--check NUMBER] (an open check), deliveries [--from DATE --to DATE]
  optimise --yes  rebuilds every index (without --yes does nothing)
  restore FILE [--other-database]
                  checks the whole archive file, then puts its rows back, all or none; a file
                  of another database only with --other-database
  status [--format table|json]
                  counts of open checks, unfinished deliveries and payment-cancel rows, the
                  database size, the oldest unfinished delivery, the last optimisation and the
                  archive files; changes nothing and writes no log entry

Dates: 2026-12-06, 2026/12/06, 2026.12.6, 20261206. Each option at most once.
optimise and delete --yes print one line with the time they ended and what they did.

Exit codes: 0 done, 1 database unreachable, 2 wrong command line, 3 the statement, restore or
output failed (nothing changed), 4 the connection went during the commit (outcome unknown).

Examples:
  sweep list deliveries --from 2026-12-01 --to 2026-12-05
  sweep list open-checks --format csv > open-checks.csv
  sweep delete open-checks --check 1004 --yes
  sweep optimise --yes
  sweep status --format json
  sweep restore "%2"
  sweep --demo list payment-cancel --format json

Environment: SWEEP_QUIT_AFTER_FIRST_PAINT=1 ends the program once the window has been painted
(start-up timing).
)";

bool english()
{
    const QLocale::Language language = QLocale::system().language();
    return language == QLocale::English || language == QLocale::C;
}

QString grouped(qint64 number)
{
    return QLocale(QLocale::English).toString(number);
}

} // namespace

QString usage(const QString& demoFile)
{
    return QString::fromUtf8(english() ? englishUsage : koreanUsage)
        .arg(QDir::toNativeSeparators(demoFile),
             QStringLiteral("C:\\DB_Log\\archive\\20261206-105729-deliveries.sql"));
}

QString unknownCommand(const QString& word)
{
    return QStringLiteral("알 수 없는 명령입니다: %1").arg(word);
}

QString unknownCommandAfterDemo(const QString& word)
{
    return QStringLiteral("알 수 없는 명령입니다: %1 (데모 파일이면 ./%1 처럼 경로로 적어 주세요)")
        .arg(word);
}

QString unknownOption(const QString& option)
{
    return QStringLiteral("알 수 없는 옵션입니다: %1").arg(option);
}

QString unknownArgument(const QString& argument)
{
    return QStringLiteral("알 수 없는 인수입니다: %1").arg(argument);
}

QString unknownArea(const QString& word)
{
    return QStringLiteral("알 수 없는 작업 영역입니다: %1 (open-checks, payment-cancel, "
                          "deliveries)")
        .arg(word);
}

QString repeatedOption(const QString& option)
{
    return QStringLiteral("옵션이 두 번 있습니다: %1").arg(option);
}

QString valueMissing(const QString& option)
{
    return QStringLiteral("%1 뒤에 값이 필요합니다").arg(option);
}

QString notADate(const QString& typed)
{
    return QStringLiteral("날짜로 읽을 수 없습니다: %1 (예: 2026-12-06, 2026/12/06, 20261206)")
        .arg(typed);
}

QString reversedDates(const QString& from, const QString& to)
{
    return QStringLiteral("--from 이 --to 보다 늦습니다: %1 > %2").arg(from, to);
}

QString formatWords(bool csv)
{
    return csv ? QStringLiteral("--format 은 table, csv, json 중 하나입니다")
               : QStringLiteral("status 의 --format 은 table, json 중 하나입니다");
}

QString demoFolderMissing(const QString& folder)
{
    return QStringLiteral("데모 데이터베이스의 폴더가 없습니다: %1").arg(folder);
}

QString wouldDelete(qint64 rows)
{
    return QStringLiteral("삭제할 데이터: %1건. 삭제하려면 --yes 를 붙여 다시 실행해 주세요.")
        .arg(rows);
}

QString tableRows(const QString& table, qint64 rows)
{
    return QStringLiteral("%1: %2건").arg(table).arg(rows);
}

QString optimised(const QString& seconds)
{
    return QStringLiteral("최적화 완료 (%1초)").arg(seconds);
}

QString optimiseFailedAfter(const QString& seconds)
{
    return QStringLiteral("최적화 실패 (%1초)").arg(seconds);
}

QString notAnOpenCheck(const QString& check)
{
    return QStringLiteral("열린 계산서가 아닙니다: %1 (지운 것 없음. 열린 계산서는 sweep list "
                          "open-checks 로 확인해 주세요)")
        .arg(check);
}

QString outputFailed(const QString& reason)
{
    return QStringLiteral("sweep: 표준 출력에 쓰지 못했습니다 (%1)").arg(reason);
}

namespace Status {

QString rows(qint64 rows)
{
    return QStringLiteral("%1건").arg(grouped(rows));
}

QString bytes(qint64 bytes)
{
    return QStringLiteral("%1 바이트").arg(grouped(bytes));
}

QString files(qint64 files, qint64 bytes)
{
    return QStringLiteral("%1개, %2").arg(grouped(files), Status::bytes(bytes));
}

} // namespace Status

} // namespace CliTexts
