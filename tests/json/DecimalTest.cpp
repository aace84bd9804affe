#include "json/Decimal.h"

#include <gtest/gtest.h>

namespace {

using Status = Decimal::ParseStatus;

Decimal parsed(const char* text, Status* status = nullptr)
{
    Status ignored;
    return Decimal::fromText(QString::fromLatin1(text), status ? status : &ignored);
}

TEST(Decimal, ConvertsTextExactlyOrSaysWhyNot)
{
    const Status Ok = Status::Ok, Over = Status::Overflow, Bad = Status::Malformed;
    // {text, status, toString of the result}
    // clang-format off
    const std::tuple<const char*, Status, const char*> rows[] = {
        {".", Bad, "0"}, {"1e", Bad, "0"}, {"--1", Bad, "0"}, {"1e2.3", Bad, "0"}, {"-0", Ok, "0"},
        {"-.5E+1", Ok, "-5"}, {"123.456e-2", Ok, "1.23456"}, {"1e-999999999999", Ok, "0"},
        {"0e999999999999999999", Ok, "0"}, {"1e999999999999999999", Over, "0"},
        // The limits of 96 bits and 28 decimal places.
        {"-79228162514264337593543950335", Ok, "-79228162514264337593543950335"},
        {"7.9228162514264337593543950335e28", Ok, "79228162514264337593543950335"},
        {"79228162514264337593543950336", Over, "0"},
        {"0.0000000000000000000000000001", Ok, "0.0000000000000000000000000001"},
        // Rounding half to even where digits do not fit.
        {"5e-29", Ok, "0"}, {"1.5e-28", Ok, "0.0000000000000000000000000002"},
        {"2.50000000000000000000000000001e-28", Ok, "0.0000000000000000000000000003"},
        {"7922816251426433759354395033.55", Ok, "7922816251426433759354395034"},
        {"79228162514264337593543950335.5", Over, "0"}};
    // clang-format on
    for (const auto& [text, status, value] : rows) {
        Status got = Status::Ok;
        EXPECT_EQ(parsed(text, &got).toString().toStdString(), value) << text;
        EXPECT_EQ(got, status) << text;
    }
}

TEST(Decimal, ComparesValuesAndConvertsToIntegers)
{
    EXPECT_TRUE(parsed("1.50") == parsed("1.5") && parsed("-0") == parsed("0.00"));
    EXPECT_FALSE(parsed("-1.5") == parsed("1.5") || parsed("0.1") == parsed("0.01"));
    EXPECT_EQ(Decimal::fromInt64(-9223372036854775807 - 1).toString(), "-9223372036854775808");
    bool ok = false;
    EXPECT_TRUE(parsed("-12.9").toInt64(&ok) == -12 && ok); // the fraction is cut
    EXPECT_TRUE(parsed("9223372036854775808").toInt64(&ok) == 0 && !ok);
    EXPECT_DOUBLE_EQ(parsed("-0.125").toDouble(), -0.125);
}

} // namespace
