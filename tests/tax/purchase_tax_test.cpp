#include "core/master_lookups.h"
#include "tax/purchase_tax.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace zelkor;
using zelkor::testing::TestDatabase;

namespace {

TaxAuthorityRow authority(const char* name, const char* rate, bool taxable = false, const char* refund = "0",
                          bool include_itemcost = false)
{
    TaxAuthorityRow row{QString::fromLatin1(name), Decimal(rate), taxable};
    row.percent_refund = Decimal(refund);
    row.include_itemcost = include_itemcost;
    return row;
}

/// An element as (authority, taxable amount, tax, allocated, recoverable, expensed).
struct ExpectedElement {
    const char* authority;
    const char* taxable_amount;
    const char* tax;
    const char* allocated;
    const char* recoverable;
    const char* expensed;
};

struct TaxCase {
    const char* name;
    const char* tax_code;
    const char* extended_cost;
    TaxIncluded included;
    const char* tax_amount;
    const char* net_cost;
    std::vector<ExpectedElement> elements;
};

class TaxCodeComputation : public ::testing::TestWithParam<TaxCase> {};

} // namespace

// Each fixture tax code through the database: the line tax, the elements and their split, and
// agreement between the single-line computation and the sum of the elements.
TEST_P(TaxCodeComputation, LineTaxAndElementsFollowTheCode)
{
    const TaxCase& c = GetParam();
    TestDatabase t;
    auto authorities = tax_code_authorities(t.db(), c.tax_code);
    ASSERT_TRUE(authorities) << authorities.error().detail.toStdString();
    // An empty or negative amount carries no tax.
    const auto typed = Decimal::parse(QString::fromLatin1(c.extended_cost));
    const std::optional<Decimal> amount = typed ? taxable_amount(*typed) : std::nullopt;
    const LineTax line = tax_calculate(amount, *authorities, c.included, TaxBounds::Apply);
    EXPECT_EQ(line.tax_amount, Decimal(c.tax_amount));
    EXPECT_EQ(line.net_cost, Decimal(c.net_cost));

    TaxElementStore store;
    auto totals = get_fulltax_detail(t.db(), store, 3, amount, c.tax_code, c.included);
    ASSERT_TRUE(totals);
    EXPECT_EQ(totals->tax_amount, Decimal(c.tax_amount));
    EXPECT_EQ(totals->net_cost, Decimal(c.net_cost));
    const TaxElements& elements = store.line(3);
    ASSERT_EQ(elements.size(), c.elements.size());
    Decimal allocated;
    for (size_t i = 0; i < elements.size(); ++i) {
        SCOPED_TRACE(c.elements[i].authority);
        EXPECT_EQ(elements[i].itemno, 3);
        EXPECT_EQ(elements[i].tax_authority, QString::fromLatin1(c.elements[i].authority));
        EXPECT_EQ(elements[i].taxable_amount, Decimal(c.elements[i].taxable_amount));
        EXPECT_EQ(elements[i].tax_amount, Decimal(c.elements[i].tax));
        EXPECT_EQ(elements[i].allocated, Decimal(c.elements[i].allocated));
        EXPECT_EQ(elements[i].recoverable, Decimal(c.elements[i].recoverable));
        EXPECT_EQ(elements[i].expensed, Decimal(c.elements[i].expensed));
        allocated += elements[i].allocated;
    }
    EXPECT_EQ(totals->allocated, allocated);
}

INSTANTIATE_TEST_SUITE_P(
    FixtureCodes, TaxCodeComputation,
    ::testing::Values(
        TaxCase{"CompoundingExcluded", "GP", "100.00", TaxIncluded::No, "12.88", "112.88",
                {{"GST", "100", "5.00", "0", "5.00", "0"}, {"PST", "105.00", "7.88", "0", "0", "7.88"}}},
        // 100 / 1.05 × 0.05 = 4.7619; the second base is 104.76 / 1.075 × 0.075 = 7.3088.
        TaxCase{"CompoundingIncluded", "GP", "100.00", TaxIncluded::Yes, "12.07", "100.00",
                {{"GST", "100", "4.76", "0", "4.76", "0"}, {"PST", "104.76", "7.31", "0", "0", "7.31"}}},
        TaxCase{"FullyRecoverable", "ST", "1,234.50", TaxIncluded::No, "61.72", "1296.22",
                {{"STATE", "1234.50", "61.72", "0", "61.72", "0"}}},
        // 10 % of 2.50 is 0.25; half of it, 0.125, is recoverable 0.12 (half to even).
        TaxCase{"HalfRecoverableTie", "VAT50", "2.50", TaxIncluded::No, "0.25", "2.75",
                {{"VAT", "2.50", "0.25", "0", "0.12", "0.13"}}},
        TaxCase{"AddedToItemCost", "CAP", "40.00", TaxIncluded::No, "3.20", "43.20",
                {{"CITY", "40.00", "3.20", "3.20", "0", "0"}}},
        TaxCase{"NoAuthority", "EXEMPT", "250.00", TaxIncluded::No, "0", "250.00", {}},
        TaxCase{"SalesCodeGivesNothing", "SALES", "250.00", TaxIncluded::No, "0", "250.00", {}},
        TaxCase{"NegativeAmount", "ST", "-10.00", TaxIncluded::No, "0", "0", {}},
        TaxCase{"EmptyAmount", "ST", "", TaxIncluded::No, "0", "0", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TaxRounding, ElementTaxRoundsHalvesToEven)
{
    const TaxAuthorities five_percent{authority("A", "5")};
    // 5 % of 50.50 is 2.525 and of 50.70 is 2.535: both exact ties.
    EXPECT_EQ(tax_calculate(Decimal("50.50"), five_percent, TaxIncluded::No).tax_amount, Decimal("2.52"));
    EXPECT_EQ(tax_calculate(Decimal("50.70"), five_percent, TaxIncluded::No).tax_amount, Decimal("2.54"));
    // Rounding each element before summing: 2.525 + 2.525 would give 5.05 unrounded.
    const TaxAuthorities twice{authority("A", "5"), authority("B", "5")};
    EXPECT_EQ(tax_calculate(Decimal("50.50"), twice, TaxIncluded::No).tax_amount, Decimal("5.04"));
}

TEST(TaxBoundsRule, OnlyTheSingleLineComputationAppliesMinAndMax)
{
    TaxAuthorityRow low = authority("LOW", "1");
    low.min_charged = Decimal("2.00");
    TaxAuthorityRow high = authority("HIGH", "10");
    high.max_charged = Decimal("5.00");
    TaxAuthorityRow unbounded = authority("ZERO", "10");
    unbounded.min_charged = Decimal(0);
    unbounded.max_charged = Decimal(0);
    const TaxAuthorities code{low, high, unbounded};

    const LineTax bounded = tax_calculate(Decimal("100.00"), code, TaxIncluded::No, TaxBounds::Apply);
    EXPECT_EQ(bounded.tax_amount, Decimal("17.00")); // 2.00 + 5.00 + 10.00
    EXPECT_EQ(bounded.net_cost, Decimal("117.00"));
    EXPECT_EQ(tax_calculate(Decimal("100.00"), code, TaxIncluded::No).tax_amount, Decimal("21.00"));

    TaxElementStore store;
    EXPECT_EQ(get_fulltax_detail(store, 1, Decimal("100.00"), code, TaxIncluded::No).tax_amount, Decimal("21.00"));
}

TEST(TaxElementLimit, FiveAuthoritiesCompoundInOrderAndASixthIsNotKept)
{
    const TaxAuthorities code{authority("A1", "1", true), authority("A2", "2", true), authority("A3", "3"),
                              authority("A4", "4", true), authority("A5", "5"), authority("A6", "6")};
    TaxElementStore store;
    const LineTaxTotals totals = get_fulltax_detail(store, 7, Decimal("1000.00"), code, TaxIncluded::No);
    const TaxElements& elements = store.line(7);
    ASSERT_EQ(elements.size(), size_t(MaxTaxElements));
    // Bases: 1000, 1010 (A1 compounds 10.00), 1030.20 (A2 adds 20.20), 1030.20, 1071.41 (A4 adds 41.21).
    const char* bases[] = {"1000", "1010.00", "1030.20", "1030.20", "1071.41"};
    const char* taxes[] = {"10.00", "20.20", "30.91", "41.21", "53.57"};
    for (int i = 0; i < MaxTaxElements; ++i) {
        EXPECT_EQ(elements[size_t(i)].taxable_amount, Decimal(bases[i])) << i;
        EXPECT_EQ(elements[size_t(i)].tax_amount, Decimal(taxes[i])) << i;
    }
    EXPECT_EQ(totals.tax_amount, Decimal("155.89"));
    EXPECT_EQ(tax_calculate(Decimal("1000.00"), code, TaxIncluded::No).tax_amount, totals.tax_amount);
}

TEST(TaxDetailEdit, EditedTaxableAmountRecomputesThatElementAndTheOnesAfterIt)
{
    TestDatabase t;
    TaxElementStore store;
    ASSERT_TRUE(get_fulltax_detail(t.db(), store, 1, Decimal("100.00"), QStringLiteral("GP"), TaxIncluded::No));

    // GST only on half the amount: 2.50; PST on 100 + 2.50 = 102.50 gives 7.6875 -> 7.69.
    auto totals = tax_calculate_from_xarray(store, 1, 0, Decimal("50.00"), Decimal("100.00"), TaxIncluded::No);
    ASSERT_TRUE(totals);
    EXPECT_EQ(store.line(1)[0].taxable_amount, Decimal("50.00"));
    EXPECT_EQ(store.line(1)[0].recoverable, Decimal("2.50"));
    EXPECT_EQ(store.line(1)[1].taxable_amount, Decimal("102.50"));
    EXPECT_EQ(store.line(1)[1].expensed, Decimal("7.69"));
    EXPECT_EQ(totals->tax_amount, Decimal("10.19"));
    EXPECT_EQ(totals->net_cost, Decimal("110.19"));

    // Editing the last element leaves the first one as edited.
    totals = tax_calculate_from_xarray(store, 1, 1, Decimal("200.00"), Decimal("100.00"), TaxIncluded::No);
    ASSERT_TRUE(totals);
    EXPECT_EQ(store.line(1)[0].tax_amount, Decimal("2.50"));
    EXPECT_EQ(totals->tax_amount, Decimal("17.50"));

    EXPECT_FALSE(tax_calculate_from_xarray(store, 1, 2, Decimal(1), Decimal("100.00"), TaxIncluded::No));
    EXPECT_FALSE(tax_calculate_from_xarray(store, 9, 0, Decimal(1), Decimal("100.00"), TaxIncluded::No));
}

TEST(TaxDefaults, DefaultCodeAndItsAbsence)
{
    TestDatabase t;
    EXPECT_EQ(default_tax_code(t.db()).value_or(QString()), QStringLiteral("ST"));
    auto codes = pick_lists::purchase_tax_code().load(t.db());
    ASSERT_TRUE(codes);
    EXPECT_EQ(codes->size(), size_t(5));
    for (const Row& code : *codes)
        EXPECT_NE(code.text(u"tax_code"), QStringLiteral("SALES"));

    ASSERT_TRUE(t.db().execute(QStringLiteral("UPDATE Tax_code_table SET \"default\" = FALSE")));
    auto none = default_tax_code(t.db());
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().message, QStringLiteral("Default Tax code has not been set"));
}

// A document's elements go through the save check, into the five slots of a line row and back.
TEST(TaxStoredForm, SaveCheckSlotsAndReloadRoundTrip)
{
    TestDatabase t;
    TaxElementStore store;
    ASSERT_TRUE(get_fulltax_detail(t.db(), store, 1, Decimal("100.00"), QStringLiteral("GP"), TaxIncluded::No));
    ASSERT_TRUE(get_fulltax_detail(t.db(), store, 2, Decimal("40.00"), QStringLiteral("CAP"), TaxIncluded::No));

    auto missing = tax_elements_to_save(store, 3, Decimal("10.00"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message, QStringLiteral("cannot find tax element for item no 3"));
    auto free_line = tax_elements_to_save(store, 4, Decimal(0));
    ASSERT_TRUE(free_line);
    EXPECT_TRUE(free_line->empty());
    // An exempt code has no authorities: its line is saved untaxed, not refused.
    ASSERT_TRUE(get_fulltax_detail(t.db(), store, 5, Decimal("250.00"), QStringLiteral("EXEMPT"), TaxIncluded::No));
    auto exempt = tax_elements_to_save(store, 5, Decimal("250.00"));
    ASSERT_TRUE(exempt);
    EXPECT_TRUE(exempt->empty());

    for (int itemno : {1, 2}) {
        auto elements = tax_elements_to_save(store, itemno, Decimal(1));
        ASSERT_TRUE(elements);
        InsertRow line(QStringLiteral("PO_transaction_table"));
        line.set(u"fkey", "K1").set(u"docno", "PO-26-00001").set(u"itemno", itemno);
        set_tax_columns(line, *elements);
        ASSERT_TRUE(line.execute(t.db()));
    }

    auto rows = t.db().select(QStringLiteral("SELECT * FROM PO_transaction_table WHERE fkey = ? ORDER BY itemno"), {"K1"});
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), size_t(2));
    const Row& gp = (*rows)[0];
    EXPECT_EQ(gp.text(u"tax_authority2"), QStringLiteral("PST"));
    EXPECT_EQ(gp.decimal(u"taxable_amount2"), Decimal("105.00"));
    EXPECT_EQ(gp.decimal(u"tax_rate2"), Decimal("7.5"));
    EXPECT_TRUE(gp.flag(u"taxable1"));
    EXPECT_TRUE(gp.text(u"tax_authority3").isEmpty());
    EXPECT_EQ(gp.decimal(u"tax_amount"), Decimal("12.88"));
    EXPECT_EQ(gp.decimal(u"tax_allocate"), Decimal(0));
    EXPECT_EQ((*rows)[1].decimal(u"tax_allocate"), Decimal("3.20"));

    // Reloaded without the code's authorities, the split is derived from the stored amounts, so
    // an edited base still splits the same way.
    TaxElementStore reloaded;
    reloaded.set_line(1, tax_elements_from_row(gp, 1));
    reloaded.set_line(2, tax_elements_from_row((*rows)[1], 2));
    EXPECT_EQ(reloaded.line(1).size(), size_t(2));
    EXPECT_EQ(reloaded.line(1)[1].expensed, Decimal("7.88"));
    auto edited = tax_calculate_from_xarray(reloaded, 2, 0, Decimal("50.00"), Decimal("40.00"), TaxIncluded::No);
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->allocated, Decimal("4.00"));
    EXPECT_EQ(edited->net_cost, Decimal("44.00"));
}

// The footer sums the lines' amounts to cents; negative lines count too.
TEST(TaxTotals, FooterOfTypedLines)
{
    const DocumentTotals footer = totalamt_calculate(
        {{Decimal("1000.00"), Decimal("50.00")}, {Decimal("100.00"), Decimal("12.88")}, {Decimal("-5.00"), Decimal(0)}});
    EXPECT_EQ(footer.sub_total, Decimal("1095.00"));
    EXPECT_EQ(footer.tax_total, Decimal("62.88"));
    EXPECT_EQ(footer.total, Decimal("1157.88"));
    EXPECT_FALSE(taxable_amount(Decimal("-5.00")));
    EXPECT_EQ(taxable_amount(Decimal("5.00")), Decimal("5.00"));
}
