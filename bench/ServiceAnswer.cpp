#include "ServiceAnswer.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array names{"김민수", "이서연", "박지훈", "최유진", "정하늘", "강도윤"};
constexpr std::array menus{"후라이드 치킨", "양념 치킨", "짜장면",    "짬뽕",
                           "김치찌개",      "제육볶음",  "콜라 1.25L"};
// Escapes of every kind the service sends: quotes, backslashes, line breaks, tabs, slashes and
// \u forms (one of them a surrogate pair).
constexpr std::array memos{
    R"(문 앞에 두고 \"벨\" 눌러 주세요)",
    R"(1층 로비\n경비실에 맡겨 주세요)",
    R"(젓가락\t2개, 단무지 많이)",
    R"(C:\\주문\\메모 \/ 확인)",
    R"(\uc548\ub155\ud558\uc138\uc694 \ud83c\udf57)",
    R"()",
};

void appendOrder(std::string& out, int i)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer,
                  R"({"order_no":"20240614-%06d","shop_code":"S%04d","status":%d,)"
                  R"("amount":%d,"discount":-%d.50,"rate":0.%03d,"lat":37.%05d,"lng":126.%05d,)"
                  R"("created":"2024-06-14T%02d:%02d:%02d+09:00","paid":%s,"coupon":null,)",
                  i, i % 10000, i % 5, 12000 + (i % 40) * 500, i % 30, i % 1000,
                  (i * 7919) % 100000, (i * 104729) % 100000, 10 + i % 12, i % 60, (i * 7) % 60,
                  i % 3 == 0 ? "true" : "false");
    out += buffer;
    out += R"("customer":{"name":")";
    out += names[size_t(i) % names.size()];
    std::snprintf(buffer, sizeof buffer,
                  R"(","tel":"010-%04d-%04d","address":"서울시 강남구 )"
                  R"(역삼동 %d-%d\n%d층","memo":")",
                  1000 + i % 9000, 1000 + (i * 31) % 9000, 1 + i % 997, 1 + i % 20, 1 + i % 9);
    out += buffer;
    out += memos[size_t(i) % memos.size()];
    out += R"("},"items":[)";
    const int items = 1 + i % 4;
    for (int k = 0; k < items; ++k) {
        if (k > 0)
            out += ',';
        out += R"({"name":")";
        out += menus[size_t(i + k) % menus.size()];
        std::snprintf(buffer, sizeof buffer,
                      R"(","qty":%d,"price":%d,"options":["보통",%s"포장"],"sold_out":false})",
                      1 + (i + k) % 3, 2000 + ((i + k) % 20) * 1000,
                      (i + k) % 2 == 0 ? R"("맵게",)" : "");
        out += buffer;
    }
    out += "]}";
}

} // namespace

std::string serviceAnswer(size_t bytes)
{
    std::string out;
    out.reserve(bytes + 1024);
    out += R"({"result":"0000","message":"정상 처리되었습니다","server_time":1718332305,)"
           R"("orders":[)";
    for (int i = 0; out.size() < bytes; ++i) {
        if (i > 0)
            out += ",\n";
        appendOrder(out, i);
    }
    out += "]}";
    return out;
}
