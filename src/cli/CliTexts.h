#pragma once

#include <QString>

// The command line's own words: the usage, its complaints about a call, and the lines only it
// prints. The outcome of an operation is put in words by OutcomeWords, shared with the window.
namespace CliTexts {

// The usage in Korean, or in English when the user's language is English or the C locale;
// demoFile is where --demo without a file goes.
QString usage(const QString& demoFile);
// Ends every complaint about the command line instead of the whole usage.
inline const QString seeHelp = QStringLiteral("사용법: sweep --help");

// Complaints about a command line, each naming what was wrong.
QString unknownCommand(const QString& word);
// A word after --demo that is not a path: it was read as a command.
QString unknownCommandAfterDemo(const QString& word);
QString unknownOption(const QString& option);
QString unknownArgument(const QString& argument);
QString unknownArea(const QString& word);
QString repeatedOption(const QString& option);
QString valueMissing(const QString& option);
QString notADate(const QString& typed);
QString reversedDates(const QString& from, const QString& to);
QString formatWords(bool csv);
QString demoFolderMissing(const QString& folder);
inline const QString areaMissing =
    QStringLiteral("작업 영역을 지정해 주세요: open-checks, payment-cancel, deliveries");
inline const QString restoreFileMissing =
    QStringLiteral("restore 에는 보관 파일을 지정해야 합니다");
inline const QString datesTogether = QStringLiteral("--from 과 --to 는 함께 지정해야 합니다");
inline const QString datesOnlyForDeliveries =
    QStringLiteral("--from, --to 는 deliveries 에만 쓸 수 있습니다");
inline const QString checkOnlyForOpenChecks =
    QStringLiteral("--check 는 delete open-checks 에만 쓸 수 있습니다");
inline const QString yesOnlyForChanges =
    QStringLiteral("--yes 는 delete, optimise 에만 쓸 수 있습니다");
inline const QString otherDatabaseOnlyForRestore =
    QStringLiteral("--other-database 는 restore 에만 쓸 수 있습니다");
inline const QString formatOnlyForLists =
    QStringLiteral("--format 은 list, status 에만 쓸 수 있습니다");

// Without a display only the commands run.
inline const QString needsDisplay = QStringLiteral(
    "sweep: 창을 열려면 화면(디스플레이)이 필요합니다. 화면 없이 실행되는 명령: list, delete, "
    "optimise, restore, status (사용법: sweep --help)");

// A delete's or an optimisation's answer without --yes.
QString wouldDelete(qint64 rows);
QString tableRows(const QString& table, qint64 rows);
inline const QString optimiseNeedsYes = QStringLiteral(
    "아무것도 하지 않았습니다. 모든 인덱스를 다시 만들려면 --yes 를 붙여 실행해 주세요: "
    "sweep optimise --yes");
QString optimised(const QString& seconds);
QString optimiseFailedAfter(const QString& seconds);
QString notAnOpenCheck(const QString& check);

// A failed write to standard output.
QString outputFailed(const QString& reason);

// The status report's table form.
namespace Status {
inline const QString item = QStringLiteral("항목");
inline const QString value = QStringLiteral("값");
inline const QString openChecks = QStringLiteral("열린 계산서");
inline const QString unfinishedDeliveries = QStringLiteral("미완료 배달");
inline const QString paymentCancelRows = QStringLiteral("결제취소 작업 데이터");
inline const QString databaseSize = QStringLiteral("데이터베이스 크기");
inline const QString oldestDelivery = QStringLiteral("가장 오래된 미완료 배달");
inline const QString lastOptimise = QStringLiteral("마지막 최적화");
inline const QString archive = QStringLiteral("보관 파일");
inline const QString unknown = QStringLiteral("알 수 없음");
inline const QString none = QStringLiteral("없음");
QString rows(qint64 rows);
QString bytes(qint64 bytes);
QString files(qint64 files, qint64 bytes);
} // namespace Status

} // namespace CliTexts
