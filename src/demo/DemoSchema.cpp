#include "demo/DemoSchema.h"

#include "demo/DemoDatabase.h"

#include <QStringList>

namespace demo {

const Table pe{"PE",
               {{"PE_ID", Type::Integer},
                {"PE_NTBID", Type::Char, 4},
                {"PE_DATE", Type::DateTime},
                {"PE_TOT", Type::Amount},
                {"PE_CK", Type::Char, 1},
                {"PE_PERSON", Type::Integer},
                {"PE_POSID", Type::Char, 2},
                {"PE_MEMO", Type::VarChar, 100}},
               "PE_ID",
               {"IX_PE_CK(PE_CK)", "IX_PE_DATE(PE_DATE)"}};

// Places matter here: 1 payment time, 10 amount, 15 card type, 17 approval number.
const Table acTemp{"AC_TEMP",
                   {{"PE_ID", Type::Integer},
                    {"AC_DATE", Type::DateTime},
                    {"AC_NO", Type::Integer},
                    {"AC_NTBID", Type::Char, 4},
                    {"AC_POSID", Type::Char, 2},
                    {"AC_GUBUN", Type::Char, 1},
                    {"AC_CASHIER", Type::VarChar, 20},
                    {"AC_TOT", Type::Amount},
                    {"AC_DC", Type::Amount},
                    {"AC_VAT", Type::Amount},
                    {"AC_AMT", Type::Amount},
                    {"AC_RECV", Type::Amount},
                    {"AC_CHANGE", Type::Amount},
                    {"AC_CARDNO", Type::VarChar, 20},
                    {"AC_HALBU", Type::Char, 2},
                    {"AC_CARDNM", Type::VarChar, 20},
                    {"AC_BUYER", Type::VarChar, 20},
                    {"AC_APPNO", Type::VarChar, 20},
                    {"AC_STATUS", Type::Char, 1}},
                   "PE_ID, AC_NO",
                   {"IX_AC_TEMP_DATE(AC_DATE)"}};

const Table creditTemp{"credit_temp",
                       {{"PE_ID", Type::Integer},
                        {"CR_NO", Type::Integer},
                        {"CR_DATE", Type::DateTime},
                        {"CR_AMT", Type::Amount},
                        {"CR_CARDNM", Type::VarChar, 20},
                        {"CR_APPNO", Type::VarChar, 20}},
                       "PE_ID, CR_NO",
                       {}};

const Table pecashTemp{"pecash_temp",
                       {{"PE_ID", Type::Integer},
                        {"PC_NO", Type::Integer},
                        {"PC_DATE", Type::DateTime},
                        {"PC_AMT", Type::Amount},
                        {"PC_GUBUN", Type::Char, 1},
                        {"PC_APPNO", Type::VarChar, 20}},
                       "PE_ID, PC_NO",
                       {}};

// Places matter here: 0 sequence, 1 phone, 4 orderer, 5 memo, 16 registration time.
const Table dtd{"DTD",
                {{"DTD_SEQ", Type::Integer},
                 {"DTD_TEL", Type::VarChar, 20},
                 {"DTD_EDATE", Type::Char, 10},
                 {"DTD_ADDR", Type::VarChar, 100},
                 {"DTD_NAME", Type::Char, 10},
                 {"DTD_MEMO", Type::VarChar, 100},
                 {"DTD_STATUS", Type::Integer},
                 {"DTD_CALGU", Type::Char, 1},
                 {"DTD_JTIME", Type::Char, 8},
                 {"DTD_TOT", Type::Amount},
                 {"DTD_PAYGU", Type::Char, 1},
                 {"DTD_RIDER", Type::VarChar, 20},
                 {"DTD_POSID", Type::Char, 2},
                 {"DTD_STIME", Type::Char, 8},
                 {"DTD_ETIME", Type::Char, 8},
                 {"DTD_BIGO", Type::VarChar, 100},
                 {"DTD_RDATE", Type::DateTime},
                 {"DTD_PE_ID", Type::Integer}},
                "DTD_SEQ",
                {"IX_DTD_EDATE(DTD_EDATE)", "IX_DTD_STATUS(DTD_STATUS, DTD_CALGU)"}};

const Table pos{"POS",
                {{"RCT_CODE", Type::VarChar, 10},
                 {"POS_ID", Type::Char, 2},
                 {"MAC_ADDR", Type::VarChar, 17},
                 {"POS_NAME", Type::VarChar, 20}},
                "RCT_CODE, POS_ID",
                {}};

namespace {

const std::vector<const Table*> tables{&pe, &acTemp, &creditTemp, &pecashTemp, &dtd, &pos};

// Checks 1003, 1004, 1005, 1006 and 1008 are still open (PE_CK '0').
const std::vector<Row> peRows{
    {"1001", "1", "2024-06-12 11:42:10", "38000", "1", "2", "01", nullptr},
    {"1002", "3", "2024-06-12 12:05:33", "54000", "1", "3", "01", "단체 예약"},
    {"1003", "5", "2024-06-13 18:20:01", "27500", "0", "2", "01", nullptr},
    {"1004", "12", "2024-06-14 12:31:45", "126000", "0", "6", "01", "회식, 영수증 따로"},
    {"1005", "7", "2024-06-14 13:02:09", "15000", "0", "1", "02", nullptr},
    {"1006", "2", "2024-06-14 19:15:00", "0", "0", "0", "01", ""},
    {"1007", "8", "2024-06-14 19:40:27", "43000", "1", "2", "02", nullptr},
    {"1008", "10", "2024-06-14 20:10:55", "88500", "0", "4", "01", "창가 자리"},
};

// Out of AC_NO order on purpose: the listing sorts by check and AC_NO. Card rows carry card
// type and approval number; cash and gift-card rows leave them NULL or empty.
const std::vector<Row> acTempRows{
    {"1004", "2024-06-14 13:40:12", "2", "12", "01", "1", "김점장", "126000", "0", "11455", "26000",
     "26000", "0", "5365-10**-****-1234", "00", "삼성카드", "삼성카드사", "12098765", "0"},
    {"1004", "2024-06-14 13:39:50", "1", "12", "01", "1", "김점장", "126000", "0", "11455",
     "100000", "100000", "0", "9410-61**-****-5678", "03", "KB국민카드", "KB국민카드", "71234567",
     "0"},
    {"1003", "2024-06-13 19:02:31", "1", "5", "01", "1", "이직원", "27500", "0", "2500", "20000",
     "20000", "0", "4518-44**-****-9012", "00", "신한카드", "신한카드", "30012345", "0"},
    {"1003", "2024-06-13 19:03:05", "2", "5", "01", "2", "이직원", "27500", "0", "2500", "7500",
     "10000", "2500", nullptr, nullptr, nullptr, nullptr, nullptr, "0"},
    {"1008", "2024-06-14 21:05:44", "1", "10", "01", "2", "박매니저", "88500", "3500", "7727",
     "85000", "85000", "0", "", "", "", "", "", "0"},
    {"1005", "2024-06-14 13:30:00", "1", "7", "02", "3", "이직원", "15000", "0", "1364", "15000",
     "15000", "0", nullptr, nullptr, "온누리상품권", nullptr, nullptr, "0"},
};

const std::vector<Row> creditTempRows{
    {"1003", "1", "2024-06-13 19:02:31", "20000", "신한카드", "30012345"},
    {"1004", "1", "2024-06-14 13:39:50", "100000", "KB국민카드", "71234567"},
    {"1004", "2", "2024-06-14 13:40:12", "26000", "삼성카드", "12098765"},
};

const std::vector<Row> pecashTempRows{
    {"1003", "1", "2024-06-13 19:03:05", "7500", "0", nullptr},
    {"1008", "1", "2024-06-14 21:05:44", "85000", "1", "165432109"},
};

// Unfinished (status below 3 or 9, DTD_CALGU not 'Y' and not NULL): 1, 3, 4, 8, 15, 16, 17, 18.
const std::vector<Row> dtdRows{
    {"1", "010-2345-6789", "2024-06-10", "서울시 강남구 역삼동 123-4 101호", "김민준",
     "문 앞에 두고 벨 눌러주세요", "0", "N", "11:05:12", "23000", "1", nullptr, "01", nullptr,
     nullptr, nullptr, "2024-06-10 11:05:12", nullptr},
    {"2", "010-9876-5432", "2024-06-10", "서울시 강남구 삼성동 55", "이서연", nullptr, "4", "N",
     "11:40:03", "18000", "2", "박기사", "01", "11:52:00", "12:10:30", nullptr,
     "2024-06-10 11:40:03", nullptr},
    {"3", "02-555-1234", "2024-06-10", "서울시 서초구 서초동 1700-1 3층", "(주)한빛상사",
     "영수증 꼭 챙겨주세요", "1", "N", "12:02:44", "64000", "2", nullptr, "01", nullptr, nullptr,
     "법인카드 결제 예정", "2024-06-10 12:02:44", nullptr},
    {"4", "010-1111-2222", "2024-06-11", "서울시 송파구 잠실동 40 리센츠 205동 1203호", "박지호",
     "", "9", "N", "12:15:09", "31000", "1", "최기사", "01", "12:30:00", nullptr, "고객 취소 요청",
     "2024-06-11 12:15:09", nullptr},
    {"5", "010-3333-4444", "2024-06-11", "서울시 송파구 문정동 11", "최유진", "덜 맵게", "2", "Y",
     "12:48:20", "19500", "3", nullptr, "02", nullptr, nullptr, nullptr, "2024-06-11 12:48:20",
     nullptr},
    {"6", "010-5555-6666", "2024-06-11", "서울시 강동구 천호동 8-2", "정하은", nullptr, "9", "Y",
     "13:01:00", "42000", "2", "박기사", "01", "13:10:00", nullptr, nullptr, "2024-06-11 13:01:00",
     nullptr},
    {"7", nullptr, "2024-06-11", "서울시 강남구 논현동 77", "강도윤", "단무지 많이", "2", nullptr,
     "17:22:35", "26000", "1", nullptr, "01", nullptr, nullptr, nullptr, "2024-06-11 17:22:35",
     nullptr},
    {"8", "010-7777-8888", "2024-06-12", "서울시 서초구 방배동 900", "윤서준", nullptr, "0", "",
     "10:55:41", "15000", "1", nullptr, "01", nullptr, nullptr, nullptr, "2024-06-12 10:55:41",
     nullptr},
    {"9", "010-8888-9999", "2024-06-12", "서울시 강남구 대치동 316", "장수아", "포크 2개", "3", "N",
     "11:20:00", "37000", "2", "최기사", "01", "11:35:00", nullptr, nullptr, "2024-06-12 11:20:00",
     nullptr},
    {"10", "010-1212-3434", "2024-06-12", "서울시 강남구 개포동 12", "임지안", nullptr, "5", "N",
     "12:10:10", "22000", "1", "박기사", "02", "12:25:00", "12:41:00", nullptr,
     "2024-06-12 12:10:10", nullptr},
    {"11", "010-5656-7878", "2024-06-12", "서울시 서초구 양재동 5", "한예준", "경비실에 맡겨주세요",
     "6", "N", "18:30:30", "54000", "2", "최기사", "01", "18:45:00", "19:05:00", nullptr,
     "2024-06-12 18:30:30", "1002"},
    {"12", "010-9090-1010", "2024-06-13", "서울시 강남구 도곡동 467", "오시우", nullptr, "7", "N",
     "11:11:11", "16000", "1", "박기사", "01", "11:20:00", "11:38:00", nullptr,
     "2024-06-13 11:11:11", nullptr},
    {"13", "010-2323-4545", "2024-06-13", "서울시 강남구 압구정동 369", "서하린", nullptr, "8", "N",
     "12:40:00", "71000", "2", "최기사", "02", "12:55:00", "13:20:00", "재방문 고객",
     "2024-06-13 12:40:00", nullptr},
    {"14", "010-6767-8989", "2024-06-13", "서울시 송파구 가락동 99", "신도현", nullptr, "10", "N",
     "13:15:45", "28000", "1", nullptr, "01", nullptr, nullptr, nullptr, "2024-06-13 13:15:45",
     nullptr},
    {"15", "010-1357-2468", "2024-06-13", "서울시 강남구 청담동 100", "권나윤", nullptr, "1", "N",
     "19:05:05", "45000", "2", nullptr, "01", nullptr, nullptr, nullptr, "2024-06-13 19:05:05",
     nullptr},
    {"16", "010-2468-1357", "2024-06-14", "서울시 서초구 잠원동 60", "황주원",
     "아기가 자요, 노크만", "9", "N", "11:30:30", "33000", "1", "박기사", "01", nullptr, nullptr,
     nullptr, "2024-06-14 11:30:30", nullptr},
    {"17", "010-4321-8765", "2024-06-14", "서울시 강남구 신사동 520", "안지우", nullptr, "0", "N",
     "12:00:01", "12000", "1", nullptr, "02", nullptr, nullptr, nullptr, "2024-06-14 12:00:01",
     nullptr},
    {"18", "010-8765-4321", "2024-06-14", "서울시 강남구 역삼동 735", "송민서", "콜라 추가", "2",
     "C", "18:18:18", "29000", "2", nullptr, "01", nullptr, nullptr, nullptr, "2024-06-14 18:18:18",
     nullptr},
    {"19", "010-1020-3040", "2024-06-14", "서울시 종로구 세종로 1", "홍길동", nullptr, "4", "Y",
     "18:40:00", "60000", "3", "최기사", "01", "18:50:00", "19:20:00", nullptr,
     "2024-06-14 18:40:00", nullptr},
    {"20", "031-777-8080", "2024-06-14", "경기도 성남시 분당구 정자동 178", "배은우", nullptr, "1",
     nullptr, "20:02:20", "24000", "1", nullptr, "01", nullptr, nullptr, nullptr,
     "2024-06-14 20:02:20", nullptr},
};

const std::vector<Row> posRows{
    {DemoTerminal::rctCode, DemoTerminal::posId, DemoTerminal::macAddress, "카운터"},
    {DemoTerminal::rctCode, "02", "00-1A-2B-3C-4D-6F", "주방"},
};

const std::vector<Row>& sampleRows(const Table& t)
{
    if (&t == &pe)
        return peRows;
    if (&t == &acTemp)
        return acTempRows;
    if (&t == &creditTemp)
        return creditTempRows;
    if (&t == &pecashTemp)
        return pecashTempRows;
    if (&t == &dtd)
        return dtdRows;
    return posRows;
}

QString columnType(const Column& c, Dialect d)
{
    const bool lite = d == Dialect::Sqlite;
    switch (c.type) {
    case Type::Integer:
        return lite ? QStringLiteral("INTEGER") : QStringLiteral("int");
    case Type::Amount:
        return lite ? QStringLiteral("NUMERIC(12,2)") : QStringLiteral("decimal(12,2)");
    case Type::Char:
        return (lite ? QStringLiteral("CHAR(%1)") : QStringLiteral("nchar(%1)")).arg(c.width);
    case Type::VarChar:
        return (lite ? QStringLiteral("VARCHAR(%1)") : QStringLiteral("nvarchar(%1)")).arg(c.width);
    case Type::DateTime:
        return lite ? QStringLiteral("DATETIME") : QStringLiteral("datetime");
    }
    return QString();
}

} // namespace

QString storedText(const Column& c, const QString& value)
{
    if (c.type == Type::Char && value.size() < c.width)
        return value + QString(c.width - value.size(), QLatin1Char(' '));
    return value;
}

namespace {

QString literal(const Column& c, const char* value, Dialect d)
{
    if (!value)
        return QStringLiteral("NULL");
    QString text = QString::fromUtf8(value);
    if (c.type == Type::Integer || c.type == Type::Amount)
        return text;
    if (d == Dialect::Sqlite)
        text = storedText(c, text);
    else if (c.type == Type::DateTime)
        text.replace(QLatin1Char(' '), QLatin1Char('T')); // ISO form reads the same in any language
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return (d == Dialect::Sqlite ? QStringLiteral("'") : QStringLiteral("N'")) + text +
           QLatin1Char('\'');
}

} // namespace

QString schemaScript(Dialect d)
{
    QString s;
    for (const Table* t : tables) {
        if (d == Dialect::SqlServer)
            s += QStringLiteral("IF OBJECT_ID(N'%1', N'U') IS NOT NULL DROP TABLE %1;\n")
                     .arg(QLatin1String(t->name));
        s += QStringLiteral("CREATE TABLE %1 (\n").arg(QLatin1String(t->name));
        for (const Column& c : t->columns)
            s += QStringLiteral("    %1 %2,\n").arg(QLatin1String(c.name), columnType(c, d));
        s += QStringLiteral("    PRIMARY KEY (%1)\n);\n").arg(QLatin1String(t->primaryKey));
    }
    return s;
}

QString rowsScript(Dialect d)
{
    QString s;
    for (const Table* t : tables) {
        QStringList names;
        for (const Column& c : t->columns)
            names << QLatin1String(c.name);
        const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES (")
                                 .arg(QLatin1String(t->name), names.join(QStringLiteral(", ")));
        for (const Row& row : sampleRows(*t)) {
            QStringList values;
            for (size_t i = 0; i < t->columns.size(); ++i)
                values << literal(t->columns[i], row[i], d);
            s += head + values.join(QStringLiteral(", ")) + QStringLiteral(");\n");
        }
    }
    return s;
}

QString indexScript()
{
    QString s;
    for (const Table* t : tables) {
        for (const char* index : t->indexes) {
            const QString text = QString::fromLatin1(index);
            const qsizetype paren = text.indexOf(QLatin1Char('('));
            s += QStringLiteral("CREATE INDEX %1 ON %2 %3;\n")
                     .arg(text.left(paren), QLatin1String(t->name), text.mid(paren));
        }
    }
    return s;
}

} // namespace demo
