#include "core/db/value_limits.h"
#include "core/money/decimal.h"
#include "tests/support/printers.h"

#include <gtest/gtest.h>

using zelkor::Decimal;
using zelkor::NumberColumn;
using zelkor::column_problem;

namespace {

struct RoundCase {
    const char* value;
    int places;
    const char* expected;
};

void PrintTo(const RoundCase& c, std::ostream* os) { *os << c.value << " to " << c.places; }

class DecimalRounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(DecimalRounding, RoundsHalvesToEvenOnTheExactValue)
{
    const RoundCase& c = GetParam();
    EXPECT_EQ(Decimal(c.value).round(c.places), Decimal(c.expected)) << c.value << " to " << c.places;
}

INSTANTIATE_TEST_SUITE_P(Cases, DecimalRounding,
                         ::testing::Values(RoundCase{"2.675", 2, "2.68"}, RoundCase{"0.125", 2, "0.12"},
                                           RoundCase{"0.135", 2, "0.14"}, RoundCase{"-2.5", 0, "-2"},
                                           RoundCase{"-3.5", 0, "-4"}, RoundCase{"2.5", 0, "2"},
                                           RoundCase{"0.004", 2, "0"}, RoundCase{"0.0051", 2, "0.01"},
                                           RoundCase{"7.875", 2, "7.88"}, RoundCase{"1234567.8949", 2, "1234567.89"},
                                           RoundCase{"-0.125", 2, "-0.12"}, RoundCase{"99.995", 2, "100"}));

struct ParseCase {
    const char* text;
    const char* expected; // nullptr: rejected
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class DecimalParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DecimalParsing, AcceptsTypedNumbersAndRejectsTheRest)
{
    const ParseCase& c = GetParam();
    const auto parsed = Decimal::parse(QString::fromUtf8(c.text));
    if (c.expected == nullptr) {
        EXPECT_FALSE(parsed.has_value()) << c.text;
    } else {
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(*parsed, Decimal(c.expected)) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DecimalParsing,
                         ::testing::Values(ParseCase{"1,234.50", "1234.5"}, ParseCase{"-3", "-3"},
                                           ParseCase{" 12.5 ", "12.5"}, ParseCase{"+7", "7"},
                                           ParseCase{".5", "0.5"}, ParseCase{"12abc", nullptr},
                                           ParseCase{"", nullptr}, ParseCase{"-", nullptr},
                                           ParseCase{"1.2.3", nullptr}, ParseCase{"1e5", nullptr},
                                           ParseCase{"12.5,0", nullptr}, ParseCase{"1,000,000.01", "1000000.01"},
                                           ParseCase{"0.0000000000005", "0"}, ParseCase{"0.0000000000015", "0.000000000002"},
                                           ParseCase{"99999999999999999999999999999999999", nullptr},
                                           // Separators only between groups of three digits.
                                           ParseCase{"1,2", nullptr}, ParseCase{"1,,,2", nullptr},
                                           ParseCase{"12,34", nullptr}, ParseCase{"1,2345", nullptr},
                                           ParseCase{"1234,567", nullptr}, ParseCase{"1,234,56.7", nullptr},
                                           ParseCase{"123,456", "123456"}, ParseCase{"-1,234", "-1234"}));

TEST(Decimal, FormatsWithThousandsSeparatorsAndReadsThemBack)
{
    EXPECT_EQ(Decimal("1234567.891").format(2), QStringLiteral("1,234,567.89"));
    EXPECT_EQ(Decimal("-1234.5").format(2), QStringLiteral("-1,234.50"));
    EXPECT_EQ(Decimal("999.995").format(2), QStringLiteral("1,000.00"));
    EXPECT_EQ(Decimal("0").format(2), QStringLiteral("0.00"));
    EXPECT_EQ(Decimal("1234.5").format(0), QStringLiteral("1,234"));
    EXPECT_EQ(Decimal("-0.001").format(2), QStringLiteral("0.00")); // no negative zero
    EXPECT_EQ(*Decimal::parse(Decimal("-98765.43").format(2)), Decimal("-98765.43"));
    EXPECT_EQ(Decimal("12.50").to_string(), QStringLiteral("12.5"));
    // The exact text bound to the database: no trailing zeros, every digit of a value beyond 64 bits.
    for (const char* exact : {"0", "20", "-20", "-0.05", "0.000000000001", "1000000.000001", "18446744.073709551616",
                              "-123456789012345678901234.567890123456"})
        EXPECT_EQ(Decimal(exact).to_string(), QString::fromLatin1(exact));
    EXPECT_EQ(Decimal("-0.5").to_fixed(3), QStringLiteral("-0.500"));
    // Unit costs: never fewer than two decimals, never one dropped.
    EXPECT_EQ(Decimal("45").format_at_least(2), QStringLiteral("45.00"));
    EXPECT_EQ(Decimal("31.2").format_at_least(2), QStringLiteral("31.20"));
    EXPECT_EQ(Decimal("2.503211").format_at_least(2), QStringLiteral("2.503211"));
    EXPECT_EQ(Decimal("-1234.5").format_at_least(2), QStringLiteral("-1,234.50"));
}

TEST(Decimal, MultipliesAndDividesWithRateProperPrecision)
{
    // A tax included in 100.00 at 5 %: 100 / 1.05 * 0.05 = 4.7619047619...
    const Decimal tax = Decimal(100) / Decimal("1.05") * Decimal("0.05");
    EXPECT_EQ(tax.round2(), Decimal("4.76"));
    EXPECT_EQ(tax.round(6), Decimal("4.761905"));
    EXPECT_EQ((Decimal(1) / Decimal(3)).to_string(), QStringLiteral("0.333333333333"));
    EXPECT_EQ((Decimal(2) / Decimal(3)).to_string(), QStringLiteral("0.666666666667"));
    EXPECT_EQ(Decimal("0.1") + Decimal("0.2"), Decimal("0.3"));
    EXPECT_EQ(Decimal("1234.56") * Decimal("1.35"), Decimal("1666.656"));
    EXPECT_EQ(Decimal("-2.5") * Decimal("4"), Decimal(-10));
    EXPECT_EQ(Decimal("-10") / Decimal("4"), Decimal("-2.5"));
}

TEST(Decimal, DetectsOverflowInsteadOfWrapping)
{
    const Decimal big("10000000000000000000000000"); // 1e25
    EXPECT_TRUE((big * big).is_overflow());
    EXPECT_TRUE((Decimal(1) / Decimal(0)).is_overflow());
    EXPECT_TRUE(((big * big) + Decimal(1)).is_overflow());
    EXPECT_FALSE((big + big).is_overflow());
    Decimal sum = big;
    for (int i = 0; i < 20; ++i)
        sum += sum;
    EXPECT_TRUE(sum.is_overflow());
}

TEST(Decimal, ReadsRealColumnsBackExactly)
{
    EXPECT_EQ(Decimal::from_double(0.1 + 0.2), Decimal("0.3"));
    EXPECT_EQ(Decimal::from_double(2.675), Decimal("2.675"));
    EXPECT_EQ(Decimal::from_double(1234567.89), Decimal("1234567.89"));
    EXPECT_EQ(Decimal::from_double(-0.00001), Decimal("-0.00001"));
    EXPECT_EQ(Decimal::from_double(1e20), Decimal("100000000000000000000"));
}

} // namespace

// What each kind of column holds exactly on both engines, and what it refuses.
TEST(ColumnLimits, RefuseWhatAColumnCannotHoldExactly)
{
    EXPECT_FALSE(column_problem(Decimal("9999999999999.99"), NumberColumn::Money));
    EXPECT_EQ(column_problem(Decimal("10000000000000"), NumberColumn::Money), "is too large.");
    EXPECT_EQ(column_problem(Decimal("-10000000000000"), NumberColumn::Money), "is too large.");
    EXPECT_EQ(column_problem(Decimal("999999999999999999.99"), NumberColumn::Money), "is too large.");
    EXPECT_EQ(column_problem(Decimal("1.005"), NumberColumn::Money), "has too many decimals.");
    EXPECT_FALSE(column_problem(Decimal("999999999.999999"), NumberColumn::Quantity));
    EXPECT_EQ(column_problem(Decimal("0.0000001"), NumberColumn::Quantity), "has too many decimals.");
    EXPECT_EQ(column_problem(Decimal("1000000000"), NumberColumn::UnitCost), "is too large.");
    EXPECT_FALSE(column_problem(Decimal("1.23456789"), NumberColumn::Rate));
    EXPECT_EQ(column_problem(Decimal::overflow(), NumberColumn::Rate), "is too large.");
}
