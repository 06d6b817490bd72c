#include "core/master_lookups.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::TestDatabase;

TEST(ModuleParameters, ReadTheDefaultRowAndTreatNullAccountAsMissing)
{
    TestDatabase t;
    // The fixture writes a non-default variance row first: only the default one counts.
    EXPECT_EQ(*required_parameter(t.db(), Parameter::PurchaseVariance), QStringLiteral("5100"));
    EXPECT_EQ(*required_parameter(t.db(), Parameter::ApSuspense), QStringLiteral("2050"));

    ASSERT_TRUE(t.db().execute(QStringLiteral("UPDATE Account_Parameters_table SET accno = NULL WHERE parameter_name = ?"),
                               {QStringLiteral("AP suspense account")}));
    auto suspense = required_parameter(t.db(), Parameter::ApSuspense);
    ASSERT_FALSE(suspense);
    EXPECT_EQ(suspense.error().message, QStringLiteral("no AP suspense account"));

    ASSERT_TRUE(t.db().execute(QStringLiteral("DELETE FROM Account_Parameters_table WHERE parameter_name = ?"),
                               {QStringLiteral("purchase discount account")}));
    EXPECT_EQ(required_parameter(t.db(), Parameter::PurchaseDiscount).error().message,
              QStringLiteral("no purchase discount account"));

    ASSERT_TRUE(t.db().execute(QStringLiteral("UPDATE Account_Parameters_table SET \"default\" = ? WHERE accno = ?"),
                               {false, QStringLiteral("5100")}));
    EXPECT_EQ(required_parameter(t.db(), Parameter::PurchaseVariance).error().message,
              QStringLiteral("no purchase variance account"));
    // The gain and loss accounts are read without a message of their own.
    EXPECT_EQ(**module_parameter(t.db(), Parameter::RealizedGain), QStringLiteral("4200"));
    EXPECT_TRUE(missing_parameter_message(Parameter::RealizedLoss).isEmpty());
}

TEST(ExchangeRates, FollowTheDocumentDateAndNeverReadForTheBaseCurrency)
{
    TestDatabase t;
    const qint64 before = t.db().statement_count();
    EXPECT_FALSE(document_rate(t.db(), QStringLiteral("USD"), QStringLiteral("USD"), QDate(2026, 3, 1))->has_value());
    EXPECT_FALSE(document_rate(t.db(), QString(), QStringLiteral("USD"), QDate(2026, 3, 1))->has_value());
    EXPECT_FALSE(newest_rate(t.db(), QStringLiteral("USD"), QStringLiteral("USD"))->has_value());
    EXPECT_EQ(t.db().statement_count(), before);

    auto march = document_rate(t.db(), QStringLiteral("EUR"), QStringLiteral("USD"), QDate(2026, 3, 15));
    ASSERT_TRUE(march && *march);
    EXPECT_EQ((*march)->rate, Decimal("1.25"));
    EXPECT_EQ((*march)->rate_date, QDate(2026, 1, 1));
    // A rate dated the document's own day counts.
    EXPECT_EQ((*document_rate(t.db(), QStringLiteral("EUR"), QStringLiteral("USD"), QDate(2026, 4, 1)))->rate, Decimal("1.2"));
    EXPECT_FALSE(document_rate(t.db(), QStringLiteral("EUR"), QStringLiteral("USD"), QDate(2025, 11, 30))->has_value());
    EXPECT_TRUE(exchange_rates(t.db(), QStringLiteral("EUR"), QStringLiteral("USD"), QDate(2025, 11, 30))->empty());
    EXPECT_EQ(exchange_rates(t.db(), QStringLiteral("EUR"), QStringLiteral("USD"))->size(), 4u);
    // The requisition takes the newest rate of any date.
    EXPECT_EQ((*newest_rate(t.db(), QStringLiteral("EUR"), QStringLiteral("USD")))->rate, Decimal("1.1"));
}

TEST(VendorBalance, MovesByExactAmountsForNamesWithQuotes)
{
    TestDatabase t;
    Transaction tx(t.db());
    ASSERT_TRUE(update_vendor_owing_balance(t.db(), QStringLiteral("V200"), Decimal("1234.56")));
    ASSERT_TRUE(update_vendor_owing_balance(t.db(), QStringLiteral("V200"), Decimal("-0.56")));
    ASSERT_TRUE(tx.commit());
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT owing_balance FROM Vendor_table WHERE vendor_name = ?"),
                        {QStringLiteral("O'Brien Supply")}),
              Decimal("1234"));
}

TEST(PickLists, RunOnBothEnginesWithTheirColumnLayouts)
{
    TestDatabase t;
    const std::vector<std::pair<const char*, PickList>> lists = {
        {"vendor", pick_lists::vendor_by_number()},
        {"active vendor", pick_lists::vendor_by_number(VendorFilter::ActiveOnly)},
        {"vendor name", pick_lists::vendor_by_name()},
        {"user", pick_lists::user()},
        {"term", pick_lists::payment_term()},
        {"item", pick_lists::item()},
        {"cash", pick_lists::cash_account()},
        {"bank", pick_lists::bank()},
        {"rate", pick_lists::exchange_rate(QStringLiteral("EUR"), QDate(2026, 6, 1))},
        {"postable", pick_lists::account(AccountList::Postable)},
        {"expense-like", pick_lists::account(AccountList::ExpenseLike)},
        {"inventory", pick_lists::account(AccountList::Inventory)},
        {"fixed asset", pick_lists::account(AccountList::FixedAsset)},
        {"expense", pick_lists::account(AccountList::Expense)},
        {"liability", pick_lists::account(AccountList::CurrentLiability)},
    };
    for (const auto& [name, list] : lists) {
        auto rows = list.load(t.db());
        ASSERT_TRUE(rows) << name;
        EXPECT_FALSE(rows->empty()) << name;
        EXPECT_GE(list.columns().size(), 2u) << name;
    }
    auto active = pick_lists::vendor_by_number(VendorFilter::ActiveOnly).load(t.db());
    for (const Row& row : *active)
        EXPECT_NE(row.text(u"vendor_no"), QStringLiteral("V900"));
    const auto columns = pick_lists::vendor_by_number().columns();
    EXPECT_EQ(columns[0].caption, QStringLiteral("Vendor no"));
    EXPECT_EQ(columns[0].width_twips, 1500);
    EXPECT_EQ(columns[0].alignment, Qt::AlignHCenter);

    // Expense lists keep cost of goods sold, liabilities and current assets out.
    auto expense = pick_lists::account(AccountList::Expense).load(t.db());
    for (const Row& row : *expense)
        EXPECT_NE(row.text(u"accno"), QStringLiteral("1300"));
}

} // namespace
} // namespace zelkor
