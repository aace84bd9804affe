#include "json/Decimal.h"

#include <gtest/gtest.h>

namespace {

using Status = Decimal::ParseStatus;

struct Conversion
{
    const char* text;
    Status status;
    const char* value; // toString of the result
};

void PrintTo(const Conversion& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class DecimalFromText : public ::testing::TestWithParam<Conversion>
{
};

TEST_P(DecimalFromText, ConvertsExactlyOrSaysWhyNot)
{
    const Conversion& c = GetParam();
    Status status = Status::Ok;
    const Decimal d = Decimal::fromText(QString::fromLatin1(c.text), &status);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(d.toString().toStdString(), c.value);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, DecimalFromText, ::testing::Values(
    Conversion{"0", Status::Ok, "0"},
    Conversion{"-0", Status::Ok, "0"},
    Conversion{"+15", Status::Ok, "15"},
    Conversion{"-1.25", Status::Ok, "-1.25"},
    Conversion{".5", Status::Ok, "0.5"},
    Conversion{"-.5E+1", Status::Ok, "-5"},
    Conversion{"123.456e-2", Status::Ok, "1.23456"},
    Conversion{"2e23", Status::Ok, "200000000000000000000000"},
    Conversion{"0e999999999999999999", Status::Ok, "0"},
    // The limits of 96 bits and 28 decimal places.
    Conversion{"79228162514264337593543950335", Status::Ok, "79228162514264337593543950335"},
    Conversion{"-79228162514264337593543950335", Status::Ok, "-79228162514264337593543950335"},
    Conversion{"7.9228162514264337593543950335e28", Status::Ok, "79228162514264337593543950335"},
    Conversion{"79228162514264337593543950336", Status::Overflow, "0"},
    Conversion{"1e29", Status::Overflow, "0"},
    Conversion{"1e999999999999999999", Status::Overflow, "0"},
    Conversion{"0.0000000000000000000000000001", Status::Ok, "0.0000000000000000000000000001"},
    // Rounding half to even where digits do not fit.
    Conversion{"1e-29", Status::Ok, "0"},
    Conversion{"5e-29", Status::Ok, "0"},
    Conversion{"6e-29", Status::Ok, "0.0000000000000000000000000001"},
    Conversion{"1.5e-28", Status::Ok, "0.0000000000000000000000000002"},
    Conversion{"2.5e-28", Status::Ok, "0.0000000000000000000000000002"},
    Conversion{"2.50000000000000000000000000001e-28", Status::Ok, "0.0000000000000000000000000003"},
    Conversion{"1e-999999999999", Status::Ok, "0"},
    Conversion{"3.14159265358979323846264338327950288", Status::Ok, "3.1415926535897932384626433833"},
    Conversion{"7922816251426433759354395033.55", Status::Ok, "7922816251426433759354395034"},
    Conversion{"79228162514264337593543950335.4", Status::Ok, "79228162514264337593543950335"},
    Conversion{"79228162514264337593543950335.5", Status::Overflow, "0"},
    // Malformed texts.
    Conversion{"", Status::Malformed, "0"},
    Conversion{".", Status::Malformed, "0"},
    Conversion{"1e", Status::Malformed, "0"},
    Conversion{"--1", Status::Malformed, "0"},
    Conversion{"1-2", Status::Malformed, "0"},
    Conversion{"1.2.3", Status::Malformed, "0"},
    Conversion{"1e2.3", Status::Malformed, "0"},
    Conversion{"1e2e3", Status::Malformed, "0"}));
// clang-format on

Decimal parsed(const char* text)
{
    Status status;
    return Decimal::fromText(QString::fromLatin1(text), &status);
}

TEST(Decimal, EqualityComparesValues)
{
    EXPECT_EQ(parsed("1.50"), parsed("1.5"));
    EXPECT_EQ(parsed("-0"), parsed("0.00"));
    EXPECT_EQ(parsed("1e2"), Decimal::fromInt64(100));
    EXPECT_FALSE(parsed("-1.5") == parsed("1.5"));
    EXPECT_FALSE(parsed("0.1") == parsed("0.01"));
    EXPECT_EQ(Decimal::fromInt64(-9223372036854775807 - 1).toString(), "-9223372036854775808");
}

TEST(Decimal, ToInt64CutsTheFractionAndChecksTheRange)
{
    bool ok = false;
    EXPECT_EQ(parsed("12.9").toInt64(&ok), 12);
    EXPECT_TRUE(ok);
    EXPECT_EQ(parsed("-12.9").toInt64(&ok), -12);
    EXPECT_EQ(parsed("-9223372036854775808").toInt64(&ok), -9223372036854775807 - 1);
    EXPECT_TRUE(ok);
    EXPECT_EQ(parsed("9223372036854775808").toInt64(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_DOUBLE_EQ(parsed("-0.125").toDouble(), -0.125);
}

} // namespace
