// How a landed bill's capitalised charges are spread over the goods of the receipts it covers.
#include "documents/landed/landed_allocation.h"

#include "tests/support/printers.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

QStringList texts(const std::vector<Decimal>& amounts)
{
    QStringList shown;
    for (const Decimal& amount : amounts)
        shown << amount.to_fixed(2);
    return shown;
}

std::vector<Decimal> decimals(const std::vector<const char*>& values)
{
    std::vector<Decimal> result;
    for (const char* value : values)
        result.emplace_back(value);
    return result;
}

struct SpreadCase {
    const char* total;
    std::vector<const char*> values;
    QStringList shares;
};

class SpreadByValue : public ::testing::TestWithParam<SpreadCase> {};

TEST_P(SpreadByValue, SharesAddUpToTheTotalToTheCent)
{
    const SpreadCase& c = GetParam();
    auto shares = spread_by_value(Decimal(c.total), decimals(c.values));
    ASSERT_TRUE(shares) << shares.error().message.toStdString();
    EXPECT_EQ(texts(*shares), c.shares);
    Decimal sum;
    for (const Decimal& share : *shares)
        sum += share;
    EXPECT_EQ(sum, Decimal(c.total));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpreadByValue,
    ::testing::Values(SpreadCase{"90.00", {"10", "20"}, {"30.00", "60.00"}},
                      // Rounding each line's share separately would give 33.33, 33.34, 33.34.
                      SpreadCase{"100.00", {"5", "5", "5"}, {"33.33", "33.34", "33.33"}},
                      SpreadCase{"0.01", {"1", "1", "1"}, {"0.00", "0.01", "0.00"}},
                      SpreadCase{"50.00", {"40", "0", "60"}, {"20.00", "0.00", "30.00"}},
                      SpreadCase{"-12.00", {"1", "2"}, {"-4.00", "-8.00"}},
                      SpreadCase{"0.00", {"0", "0"}, {"0.00", "0.00"}}));

TEST(LandedAllocation, ZeroGoodsValueRefusesAChargeButTakesNothing)
{
    auto refused = spread_by_value(Decimal("10.00"), decimals({"0", "0"}));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "Receipt goods value is zero. Landed cost cannot be allocated.");
    EXPECT_FALSE(spread_by_value(Decimal("10.00"), {}));
    EXPECT_FALSE(spread_by_value(Decimal("10.00"), decimals({"5", "-5"})));
}

TEST(LandedAllocation, ForeignBillSharesItsConvertedTotalNotEachShareConverted)
{
    // Receipts in USD and in EUR (at 1.1000), basis already in base currency; a CAD bill at 1.3333.
    std::vector<BasisLine> basis(3);
    basis[0].value = Decimal("100.00");
    basis[1].value = Decimal("100.00");
    basis[2].value = Decimal("110.00"); // EUR 100.00 received at 1.1000
    auto shares = landed_shares(Decimal("10.00"), Decimal("1.3333"), basis);
    ASSERT_TRUE(shares);
    EXPECT_EQ(texts(shares->amounts), QStringList({"3.23", "3.22", "3.55"}));
    // 10.00 at 1.3333 is 13.33: converting 3.23, 3.22 and 3.55 one by one would give 13.34.
    EXPECT_EQ(texts(shares->base_amounts), QStringList({"4.30", "4.30", "4.73"}));
}

} // namespace
} // namespace zelkor
