#include "MaintenanceWindowFixture.h"
#include "db/TextTable.h"
#include "maintenance/FillResultGrid.h"
#include "maintenance/OpenTableArea.h"
#include "maintenance/ResultGrid.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

struct Caption
{
    const char* control;
    const char* text;
};

// Every text the window shows at start, typed here as the users know them.
const Caption captions[] = {
    {"cmd_Btn_0", "테이블현황"},
    {"cmd_Btn_1", "결제취소"},
    {"cmd_Btn_2", "배달삭제"},
    {"cmd_Btn_3", "최적화"},
    {"Frame_Notice", "유의사항"},
    {"Label2", "※ 반드시 데이터 조회를 하고 확인 후 삭제를 하시기 바랍니다"},
    {"Label3", "※ 반드시 제목 아래 옵션을 지정 후 수정을 진행해주세요"},
    {"Label9", "※ 배달날짜 지정삭제 사용 시 반드시 마지막 날짜를 입력해주세요"},
    {"Label16",
     "※ 현황지정삭제는 삭제할 데이터를 클릭후 삭제 버튼을 눌러주면 해당 데이터만 삭제됩니다"},
    {"Label24", "(VELO 지정취소와 비슷한 형태)"},
    {"Label35", "※ 배달삭제는 배달결제가 완벽히 이루어지지않는 건수만을 조회,삭제하는 기능입니다"},
    {"Label32", "※ 반드시 DB 삭제 전 백업을 하시고 삭제를 하시기 바랍니다"},
    {"Label17", "※ 문의사항은 연구소에 연락바랍니다"},
    // Frame_Table
    {"Frame_Table", "테이블현황"},
    {"OPT_TABLE_0", "전체삭제"},
    {"OPT_TABLE_1", "현황지정삭제"},
    {"Label23", "조회된 현황 건수"},
    {"TXT_COUNT_2", "0"},
    {"Label29", "건"},
    {"Label4", "1.조회 버튼클릭후 해당 데이터가 건수가 맞는 지 확인해주세요"},
    {"Label6", "2.해당 데이터가 맞다면 삭제버튼을 클릭해주세요"},
    {"Label7", "3.삭제를 마치면 종료버튼을 눌러주세요"},
    {"cmd_TBSerch", "조회"},
    {"Label12", "→"},
    {"cmd_delete", "삭제"},
    {"Label5", "→"},
    {"CMD_UNLOAD_0", "종료"},
    // Frame_PayCancel
    {"Frame_PayCancel", "결제취소"},
    {"Label22", "조회된 취소 건수"},
    {"TXT_COUNT_1", "0"},
    {"Label30", "건"},
    {"Label13", "◈ 조회 시 카드종류,승인번호가 없는데이터는 현금 및 기타결제 라고 보시면됩니다"},
    {"Label8", "1.조회 버튼클릭후 해당 데이터가 건수가 맞는 지 확인해주세요"},
    {"Label10", "2.해당 데이터가 맞다면 삭제버튼을 클릭해주세요"},
    {"Label11", "3.삭제를 마치면 종료버튼을 눌러주세요"},
    {"cmd_PaySerch", "조회"},
    {"Label14", "→"},
    {"cmd_payDelete", "삭제"},
    {"Label15", "→"},
    {"CMD_UNLOAD_1", "종료"},
    // Frame_DTD
    {"Frame_DTD", "배달삭제"},
    {"OPT1_1", "전체삭제"},
    {"OPT1_0", "날짜지정삭제"},
    {"Label18", "1.삭제할 마지막 날짜를 지정해주세요(ex형식으로 기입)"},
    {"TXT_Date", ""},
    {"LBL_From", "~"},
    {"Txt_Date2", ""},
    {"Label19", "ex) 2017-02-15"},
    {"LBL_Ex2", "ex) 2017-02-17"},
    {"lbl_show", "조회중..."},
    {"Label20", "조회된 배달 건수"},
    {"TXT_COUNT", "0"},
    {"Label31", "건"},
    {"Label26", "2.조회 버튼클릭후 해당 데이터가 건수가 맞는 지 확인해주세요"},
    {"Label27", "2.해당 데이터가 맞다면 삭제버튼을 클릭해주세요"},
    {"Label28", "3.삭제를 마치면 종료버튼을 눌러주세요"},
    {"cmd_DTD_Serch", "조회"},
    {"Label21", "→"},
    {"CMD_DTD_DELETE", "삭제"},
    {"Label25", "→"},
    {"CMD_UNLOAD_2", "종료"},
    // Frame_Clean
    {"Frame_Clean", "DB최적화"},
    {"Label1", "1. 최적화를 진행 전에 반드시 BACKUP을 받아두시고 진행해 주시기 바랍니다."},
    {"Label33", "2. 최적화 진행 시 DB의 용량에 따라 시간이 소요될 수 있습니다. "},
    {"Label34", "3. 최적화 진행 해서 DB의 용량이 줄어들거나 하진않습니다."},
    {"Label36", "4. 최적화가 끝나면 종료버튼으로 프로그램을 종료해 주세요."},
    {"Label37", "※ 위에 사항을 반드시 확인 후 진행해주세요."},
    {"cmd_Clean", "최적화"},
    {"Label39", "→"},
    {"CMD_UNLOAD_3", "종료"},
    {"Lbl_status", "..."},
};

QString shownText(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* frame = qobject_cast<QGroupBox*>(w))
        return frame->title();
    return QStringLiteral("<not a captioned control>");
}

using CaptionsTest = MaintenanceWindowFixture;

TEST_F(CaptionsTest, EveryCaptionAndMessageIsTheExactText)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DB수정"));
    for (const Caption& c : captions) {
        auto* w = window->findChild<QWidget*>(QString::fromLatin1(c.control));
        ASSERT_NE(w, nullptr) << c.control;
        EXPECT_EQ(shownText(w), QString::fromUtf8(c.text)) << c.control;
    }
    // Every captioned control of the window is in the table.
    int captioned = 0;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (!w->objectName().isEmpty() &&
            (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
             qobject_cast<QGroupBox*>(w) || qobject_cast<QLineEdit*>(w)))
            ++captioned;
    EXPECT_EQ(captioned, int(std::size(captions)));

    // The grid headers.
    const char* headers[] = {"테이블번호", "전표번호", "날짜", "금액"};
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(window->Frame_Table->FLEX->text(0, c), QString::fromUtf8(headers[c - 1]));

    // The two boxes the window itself shows.
    FillResultGrid(*window->Frame_Table->FLEX, *window->Frame_Table->TXT_COUNT_2, TextTable(), 0,
                   openTableGridLayout().columnMap(), boxes);
    Mod_DB unreachable(DbTarget::sqlite(m_dir.filePath(QStringLiteral("none.sqlite"))));
    Frm_Sweep_1 failing(WorkContext{unreachable, *log, boxes, [] { return QString(); }});
    EXPECT_FALSE(failing.Form_Load());
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("데이터가 존재하지 않습니다"));
    EXPECT_EQ(boxes.shown()[0].title, QStringLiteral("데이터 확인"));
    EXPECT_EQ(boxes.shown()[1].text.toUtf8(),
              QByteArray("데이터베이스에 접근이 불가능합니다.") + QByteArray(13, ' '));
    EXPECT_EQ(boxes.shown()[1].title, QStringLiteral("연결오류"));
}

struct Look
{
    const char* control;
    const char* family;
    double points;
    bool bold;
    QRgb colour; // 0: the style's own
};

// Fonts and colours as the window asks for them (the installed fallback draws them).
const Look looks[] = {
    {"cmd_Btn_0", "휴먼모음T", 9.75, false, 0},
    {"Frame_PayCancel", "휴먼모음T", 12, true, 0},
    {"Label32", "맑은 고딕", 9, true, qRgb(255, 0, 0)},
    {"Label4", "맑은 고딕", 9, false, qRgb(255, 128, 0)},
    {"Label6", "맑은 고딕", 9, false, qRgb(192, 0, 0)},
    {"Label7", "맑은 고딕", 9, false, qRgb(0, 0, 255)},
    {"Label12", "굴림", 20.25, true, 0},
    {"LBL_From", "휴먼둥근헤드라인", 14.25, false, 0},
    {"Label36", "맑은 고딕", 9, false, qRgb(64, 0, 0)},
    {"Lbl_status", "휴먼모음T", 14.25, false, 0},
};

TEST_F(CaptionsTest, FontsAndColours)
{
    for (const Look& l : looks) {
        auto* w = window->findChild<QWidget*>(QString::fromLatin1(l.control));
        ASSERT_NE(w, nullptr) << l.control;
        EXPECT_EQ(w->font().family(), QString::fromUtf8(l.family)) << l.control;
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), l.points) << l.control;
        EXPECT_EQ(w->font().bold(), l.bold) << l.control;
        if (l.colour) {
            EXPECT_EQ(w->palette().color(QPalette::WindowText).rgb(), l.colour) << l.control;
        }
    }
}

} // namespace
