#include "operations/GridLayouts.h"

std::vector<GridColumn> GridLayout::columnMap() const
{
    std::vector<GridColumn> map;
    map.reserve(columns.size());
    for (const auto& c : columns)
        map.push_back(c.source);
    return map;
}

namespace {
constexpr auto General = GridAlignment::General;
constexpr auto Centre = GridAlignment::Centre;
} // namespace

const GridLayout& openTableGridLayout()
{
    static const GridLayout layout{{
        {QStringLiteral("테이블번호"), 960, Centre, General, {0, false}},
        {QStringLiteral("전표번호"), 1905, Centre, Centre, {1, false}},
        {QStringLiteral("날짜"), 2175, Centre, Centre, {2, true}},
        {QStringLiteral("금액"), 1005, Centre, Centre, {3, false}},
    }};
    return layout;
}

const GridLayout& payCancelGridLayout()
{
    // AC_TEMP is selected with *, so the fields are the table's own column places.
    static const GridLayout layout{{
        {QStringLiteral("결제일시"), 2205, General, Centre, {1, true}},
        {QStringLiteral("카드종류"), 1290, Centre, Centre, {15, false}},
        {QStringLiteral("승인번호"), 1335, Centre, Centre, {17, false}},
        {QStringLiteral("금액"), 1305, Centre, Centre, {10, false}},
    }};
    return layout;
}

const GridLayout& deliveryGridLayout()
{
    // DTD is selected with *, so the fields are the table's own column places.
    static const GridLayout layout{{
        {QStringLiteral("배달순서"), 1575, Centre, Centre, {0, false}},
        {QStringLiteral("전화번호"), 1815, General, Centre, {1, false}},
        {QStringLiteral("주문자이름"), 1365, Centre, Centre, {4, false}},
        {QStringLiteral("배달메모"), 1275, Centre, Centre, {5, false}},
        {QStringLiteral("배달등록일시"), 2055, General, Centre, {16, true}},
    }};
    return layout;
}
