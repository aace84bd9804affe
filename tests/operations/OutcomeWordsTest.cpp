#include "operations/OutcomeWords.h"

#include <gtest/gtest.h>

namespace {

struct FailureRow
{
    const char* name;
    ChangeOutcome::Work work;
    bool archiveFailed;
    bool unknown;
    QString archive;
    QString headline;
    QStringList notes;
};

class ChangeFailureWords : public testing::TestWithParam<FailureRow>
{
};

// Both faces take a failure's words from here, so each case must name what was left as it was.
TEST_P(ChangeFailureWords, NameWhatWasLeftAndTheCopyKept)
{
    const FailureRow& row = GetParam();
    ChangeOutcome outcome;
    outcome.work = row.work;
    outcome.archiveFailed = row.archiveFailed;
    outcome.outcomeUnknown = row.unknown;
    outcome.archiveFile = row.archive;
    outcome.error = QStringLiteral("서버의 말[1205]");
    const OutcomeWords::Report report = OutcomeWords::changeFailure(outcome);
    EXPECT_EQ(report.headline, row.headline);
    EXPECT_EQ(report.notes, row.notes);
    EXPECT_EQ(report.reason, outcome.error);
}

using W = ChangeOutcome::Work;
INSTANTIATE_TEST_SUITE_P(
    Rows, ChangeFailureWords,
    testing::Values(
        FailureRow{"delete", W::Delete, false, false, "/a/x.sql", OutcomeWords::deleteFailed, {}},
        FailureRow{"optimise", W::Optimise, false, false, "", OutcomeWords::optimiseFailed, {}},
        FailureRow{"archive", W::Delete, true, false, "/a/x.sql", OutcomeWords::archiveFailed, {}},
        FailureRow{"unknownDelete",
                   W::Delete,
                   false,
                   true,
                   "/a/x.sql",
                   OutcomeWords::deleteUnknown,
                   {OutcomeWords::archiveFile("/a/x.sql")}},
        FailureRow{
            "unknownOptimise", W::Optimise, false, true, "", OutcomeWords::changeUnknown, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OutcomeReport, BoxKeepsTheReasonApartAndTheCommandLinePrintsEachPartOnItsLine)
{
    const OutcomeWords::Report report{
        QStringLiteral("머리"), {QStringLiteral("주석")}, QStringLiteral("이유")};
    EXPECT_EQ(report.boxText(), QStringLiteral("머리\n주석\n\n이유"));
    EXPECT_EQ(report.lines(), (QStringList{"머리", "주석", "이유"}));
    const OutcomeWords::Report bare{QStringLiteral("머리"), {}, {}};
    EXPECT_EQ(bare.boxText(), QStringLiteral("머리"));
    EXPECT_EQ(OutcomeWords::rowsDeleted(0), OutcomeWords::nothingDeleted);
    EXPECT_EQ(OutcomeWords::rowsDeleted(8), QStringLiteral("삭제한 데이터: 8건"));
}

} // namespace
