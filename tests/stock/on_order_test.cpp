// On-order quantities never create an on-hand row at a place the masters do not know.
#include "stock/on_order.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace zelkor;

TEST(OnOrder, NoOnHandRowForAPlaceMissingFromTheMasters)
{
    zelkor::testing::TestDatabase t;
    const struct {
        const char* warehouse;
        const char* location;
        const char* refusal;
    } places[] = {{"WEST", "W1", "warehouse is invalid."}, {"MAIN", "Z9", "location is invalid."}};
    for (const auto& place : places) {
        Transaction tx(t.db());
        auto added = change_on_order_quantity(t.db(), {{"WIDGET", "1", "box", place.warehouse, place.location, Decimal(2)}},
                                              OnOrderChange::Add, OnOrderTypes::StockAndNonStock,
                                              MissingOnHandRow::Create);
        ASSERT_FALSE(added);
        EXPECT_EQ(added.error().message, place.refusal);
    }
    EXPECT_EQ(t.count("Item_onhand_table WHERE itemcode = 'WIDGET'"), 0);

    Transaction tx(t.db());
    ASSERT_TRUE(change_on_order_quantity(t.db(), {{"WIDGET", "1", "box", "MAIN", "A2", Decimal(2)}}, OnOrderChange::Add,
                                         OnOrderTypes::StockAndNonStock, MissingOnHandRow::Create));
    ASSERT_TRUE(tx.commit());
    EXPECT_EQ(t.decimal("SELECT po_quantity FROM Item_onhand_table WHERE itemcode = 'WIDGET' AND location = 'A2'"),
              Decimal(24));
}
