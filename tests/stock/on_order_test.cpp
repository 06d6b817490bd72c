// On-order quantities never create an on-hand row at a place the masters do not know, and move
// under their items' item-warehouse rows, taken in key order.
#include "stock/on_order.h"
#include "stock/stock_settings.h"
#include "tests/support/lock_violations.h"
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

TEST(OnOrder, ItemWarehouseRowsAreTakenInKeyOrderAcrossPasses)
{
    zelkor::testing::TestDatabase t;
    zelkor::testing::CollectedViolations violations;
    {
        // An order edit's old and new lines move in one pass: PAINT, then WIDGET.
        Transaction tx(t.db());
        ASSERT_TRUE(move_on_order_quantity(t.db(),
                                           {{{{"WIDGET", "1", "box", "MAIN", "A1", Decimal(1)}}, OnOrderChange::Add},
                                            {{{"PAINT", "1", "can", "MAIN", "A1", Decimal(1)}}, OnOrderChange::Remove}},
                                           OnOrderTypes::StockAndNonStock, MissingOnHandRow::Create));
        // Taking held rows again, and higher ones, is one order still.
        ASSERT_TRUE(lock_warehouse_settings(t.db(), {{"PAINT", "MAIN"}, {"WIDGET", "MAIN"}}));
    }
    EXPECT_EQ(violations.seen, QStringList());
    {
        // A second pass reaching below the first: BOLT after WIDGET.
        Transaction tx(t.db());
        ASSERT_TRUE(change_on_order_quantity(t.db(), {{"WIDGET", "1", "box", "MAIN", "A1", Decimal(1)}},
                                             OnOrderChange::Add, OnOrderTypes::StockAndNonStock, MissingOnHandRow::Create));
        ASSERT_TRUE(lock_warehouse_settings(t.db(), {{"BOLT", "MAIN"}}));
    }
    ASSERT_EQ(violations.seen.size(), 1);
    EXPECT_EQ(violations.seen[0], "lock order: item_warehouse_table row BOLT/MAIN taken after row WIDGET/MAIN in an earlier pass");
}
