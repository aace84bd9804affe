#include "demo/DemoBulkRows.h"

#include "demo/DemoSchema.h"

#include <QDate>
#include <QStringList>
#include <vector>

namespace demo {

namespace {

// One prepared INSERT for a table, bound column by column from generated values.
class Inserter
{
public:
    Inserter(SqliteFile& file, const Table& table) : m_file(file), m_table(table)
    {
        QStringList names, marks;
        for (const Column& c : table.columns) {
            names << QLatin1String(c.name);
            marks << QStringLiteral("?");
        }
        const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(QLatin1String(table.name), names.join(QLatin1Char(',')),
                                        marks.join(QLatin1Char(',')))
                                   .toUtf8();
        m_ok = file.check(sqlite3_prepare_v2(file.db(), sql.constData(), -1, &m_stmt, nullptr));
    }
    ~Inserter() { sqlite3_finalize(m_stmt); }

    // values[i] empty-and-null means NULL; numbers go in as integers.
    bool insert(const std::vector<QString>& values)
    {
        if (!m_ok)
            return false;
        for (size_t i = 0; i < values.size(); ++i) {
            const Column& c = m_table.columns[i];
            const int place = int(i) + 1;
            if (values[i].isNull())
                sqlite3_bind_null(m_stmt, place);
            else if (c.type == Type::Integer || c.type == Type::Amount)
                sqlite3_bind_int64(m_stmt, place, values[i].toLongLong());
            else {
                const QString text = storedText(c, values[i]);
                sqlite3_bind_text16(m_stmt, place, text.utf16(), int(text.size() * 2),
                                    SQLITE_TRANSIENT);
            }
        }
        m_ok = m_file.check(sqlite3_step(m_stmt)) && m_file.check(sqlite3_reset(m_stmt));
        return m_ok;
    }

private:
    SqliteFile& m_file;
    const Table& m_table;
    sqlite3_stmt* m_stmt = nullptr;
    bool m_ok = false;
};
const char* const names[] = {"김민수", "이지은", "박서진", "최우진", "정다은", "강민호",
                             "조수빈", "윤재현", "장하늘", "임채원", "한지민", "오세훈"};
const char* const districts[] = {"강남구 역삼동", "서초구 서초동", "송파구 잠실동",
                                 "강동구 천호동", "마포구 합정동", "용산구 이태원동"};
const char* const memos[] = {"문 앞에 두고 벨 눌러주세요", "덜 맵게 해주세요", "수저 빼주세요",
                             "경비실에 맡겨주세요"};

QString timeOfDay(int seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600 % 24, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

// Extra deliveries over 45 days before the sample days: statuses 0 to 10 in turn, every fifth
// paid ('Y'), every seventh other one without a flag (NULL).
bool addDeliveries(SqliteFile& file, int count)
{
    Inserter insert(file, dtd);
    const QDate first(2024, 4, 26);
    std::vector<QString> v(dtd.columns.size());
    for (int i = 0; i < count; ++i) {
        const QString date = first.addDays(i % 45).toString(QStringLiteral("yyyy-MM-dd"));
        const QString time = timeOfDay(10 * 3600 + (i * 7919) % (12 * 3600));
        v[0] = QString::number(100000 + i);
        v[1] = QStringLiteral("010-%1-%2").arg(1000 + i % 9000).arg(1000 + (i * 31) % 9000);
        v[2] = date;
        v[3] = QStringLiteral("서울시 %1 %2")
                   .arg(QString::fromUtf8(districts[i % 6]))
                   .arg(1 + i % 997);
        v[4] = QString::fromUtf8(names[i % 12]);
        v[5] = i % 3 == 0 ? QString() : QString::fromUtf8(memos[i % 4]);
        v[6] = QString::number(i % 11);
        v[7] = i % 5 == 0 ? QStringLiteral("Y") : i % 7 == 0 ? QString() : QStringLiteral("N");
        v[8] = time;
        v[9] = QString::number(12000 + (i % 40) * 1000);
        v[10] = QString::number(1 + i % 3);
        v[11] = i % 11 >= 3 ? QStringLiteral("박기사") : QString();
        v[12] = QStringLiteral("01");
        v[13] = QString();
        v[14] = QString();
        v[15] = QString();
        v[16] = date + QLatin1Char(' ') + time;
        v[17] = QString();
        if (!insert.insert(v))
            return false;
    }
    return true;
}

bool addChecks(SqliteFile& file, int count)
{
    Inserter insert(file, pe);
    std::vector<QString> v(pe.columns.size());
    for (int i = 0; i < count; ++i) {
        v[0] = QString::number(100000 + i);
        v[1] = QString::number(1 + i % 30);
        v[2] = QDate(2024, 5, 1).addDays(i % 40).toString(QStringLiteral("yyyy-MM-dd ")) +
               timeOfDay(11 * 3600 + (i * 4871) % (11 * 3600));
        v[3] = QString::number(8000 + (i % 50) * 1500);
        v[4] = i % 3 == 0 ? QStringLiteral("0") : QStringLiteral("1");
        v[5] = QString::number(1 + i % 6);
        v[6] = QStringLiteral("01");
        v[7] = QString();
        if (!insert.insert(v))
            return false;
    }
    return true;
}

// Two payments per check: card (with its credit_temp row), then cash (with its pecash_temp row).
bool addPayments(SqliteFile& file, int count)
{
    Inserter ac(file, acTemp);
    Inserter credit(file, creditTemp);
    Inserter cash(file, pecashTemp);
    std::vector<QString> v(acTemp.columns.size());
    for (int i = 0; i < count; ++i) {
        const bool card = i % 2 == 0;
        const QString check = QString::number(200000 + i / 2);
        const QString no = QString::number(1 + i % 2);
        const QString when =
            QDate(2024, 5, 1).addDays(i / 2 % 40).toString(QStringLiteral("yyyy-MM-dd ")) +
            timeOfDay(12 * 3600 + (i * 613) % (10 * 3600));
        const QString amount = QString::number(5000 + (i % 20) * 1000);
        const QString approval = QString::number(10000000 + (i * 7349) % 89999999);
        const QString cardName =
            QString::fromUtf8(card ? (i % 4 == 0 ? "신한카드" : "BC카드") : "");
        v = {check,
             when,
             no,
             QString::number(1 + i % 30),
             QStringLiteral("01"),
             card ? QStringLiteral("1") : QStringLiteral("2"),
             QStringLiteral("이직원"),
             amount,
             QStringLiteral("0"),
             QString::number(amount.toInt() / 11),
             amount,
             amount,
             QStringLiteral("0"),
             card ? QStringLiteral("4518-44**-****-0000") : QString(),
             card ? QStringLiteral("00") : QString(),
             card ? cardName : QString(),
             card ? cardName : QString(),
             card ? approval : QString(),
             QStringLiteral("0")};
        if (!ac.insert(v))
            return false;
        const bool ok =
            card ? credit.insert({check, no, when, amount, cardName, approval})
                 : cash.insert({check, no, when, amount, QStringLiteral("0"), QString()});
        if (!ok)
            return false;
    }
    return true;
}

} // namespace demo
