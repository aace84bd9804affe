#pragma once

#include <QString>

// The window's own captions and status texts, each written here once; the areas and their
// buttons use them from here. The words for what an operation came to are OutcomeWords'.

namespace WindowTexts {
inline const QString title = QStringLiteral("DB수정");
inline const QString connectFailedTitle = QStringLiteral("연결오류");

// Area buttons, and the frames they bring into view.
inline const QString openTables = QStringLiteral("테이블현황");
inline const QString payCancel = QStringLiteral("결제취소");
inline const QString deliveries = QStringLiteral("배달삭제");
inline const QString optimise = QStringLiteral("최적화");
inline const QString archives = QStringLiteral("보관함");

// Buttons and labels the areas share.
inline const QString search = QStringLiteral("조회");
inline const QString remove = QStringLiteral("삭제");
inline const QString quit = QStringLiteral("종료");
inline const QString items = QStringLiteral("건");
inline const QString arrow = QStringLiteral("→");
inline const QString deleteAll = QStringLiteral("전체삭제");
inline const QString checkCount =
    QStringLiteral("1.조회 버튼클릭후 해당 데이터가 건수가 맞는 지 확인해주세요");
inline const QString thenDelete = QStringLiteral("2.해당 데이터가 맞다면 삭제버튼을 클릭해주세요");
inline const QString thenQuit = QStringLiteral("3.삭제를 마치면 종료버튼을 눌러주세요");

// Closing the window while work runs waits for it.
inline const QString closeAfterWork =
    QStringLiteral("작업이 끝나면 결과를 보여 드린 뒤 창을 닫습니다.");
} // namespace WindowTexts

namespace ArchiveAreaTexts {
inline const QString restore = QStringLiteral("복원");
// The list's columns.
inline const QString time = QStringLiteral("시각");
inline const QString work = QStringLiteral("작업");
inline const QString rows = QStringLiteral("행 수");
inline const QString database = QStringLiteral("데이터베이스");
inline const QString size = QStringLiteral("크기");
inline const QString state = QStringLiteral("상태");
// What a file is to a restore.
inline const QString restorable = QStringLiteral("복원 가능");
inline const QString restored = QStringLiteral("복원됨");
inline const QString unfinished = QStringLiteral("미완료");
inline const QString foreign = QStringLiteral("보관 파일 아님");
inline const QString refused = QStringLiteral("복원 불가");

inline const QString noArchives = QStringLiteral("보관 파일이 없습니다.");
inline const QString chooseFile = QStringLiteral("복원할 보관 파일을 목록에서 골라 주세요.");
inline const QString confirmRestore =
    QStringLiteral("고른 보관 파일의 데이터를 데이터베이스에 되돌리시겠습니까?");
inline QString otherDatabaseQuestion(const QString& fileDatabase, const QString& connected)
{
    return QStringLiteral("이 보관 파일은 %1 데이터베이스에서 만들었습니다.\n지금 연결된 %2 "
                          "데이터베이스에 복원하시겠습니까?")
        .arg(fileDatabase, connected);
}
} // namespace ArchiveAreaTexts

// The questions, messages and status texts the work areas share.
namespace WorkTexts {
inline const QString confirmDelete = QStringLiteral("정말로 삭제하시겠습니까???");
inline const QString confirmOptimise = QStringLiteral("최적화를 진행하시겠습니까???");
inline const QString datesRequired = QStringLiteral("날짜를 반드시 입력하셔야 합니다!!!");
inline const QString chooseRow = QStringLiteral("삭제할 데이터를 먼저 클릭해 주세요.");
inline const QString searchFirst = QStringLiteral("먼저 조회를 해 주세요.");
inline const QString nothingDeleted =
    QStringLiteral("삭제된 데이터가 없습니다. 조회한 뒤 다른 곳에서 이미 정리된 것 같습니다.");

// Box titles; the words inside come from OutcomeWords.
inline const QString searchFailedTitle = QStringLiteral("조회오류");
inline const QString deleteFailedTitle = QStringLiteral("삭제오류");
inline const QString optimiseFailedTitle = QStringLiteral("최적화오류");
inline const QString restoreFailedTitle = QStringLiteral("복원오류");
inline const QString logFailedTitle = QStringLiteral("로그오류");

// The progress box of work that takes a while: what runs, then the seconds it has taken.
inline const QString& searching = WindowTexts::search;
inline const QString& deleting = WindowTexts::remove;
inline const QString& optimisingWork = WindowTexts::optimise;
inline const QString& restoring = ArchiveAreaTexts::restore;
QString progressText(const QString& work, int seconds);
} // namespace WorkTexts

namespace DeliveryTexts {
inline const QString allDatesCaption = QStringLiteral("1.모든날짜의 미정산 건수를 조회합니다");
inline const QString dateRangeCaption =
    QStringLiteral("1.삭제할 마지막 날짜를 지정해주세요(ex형식으로 기입)");
inline const QString searching = QStringLiteral("조회중...");
inline const QString searched = QStringLiteral("조회완료");
inline const QString deleting = QStringLiteral("삭제중...");
inline const QString deleted = QStringLiteral("삭제완료");
inline const QString deleteFailed = QStringLiteral("삭제실패");
} // namespace DeliveryTexts

namespace CleanTexts {
inline const QString optimising = QStringLiteral("최적화 중..");
inline const QString optimised = QStringLiteral("최적화 완료");
inline const QString failed = QStringLiteral("최적화 실패");
} // namespace CleanTexts
