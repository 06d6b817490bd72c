// The reorder proposals read the unit an item is bought in however its rule is written: the
// item's rule either way round, a company-wide rule, or none (the line stays in stock units).
#include "stock/reorder.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace zelkor;

TEST(ReorderProposals, ConvertIntoThePurchaseUnitByWhicheverRuleLinksIt)
{
    zelkor::testing::TestDatabase t;
    for (const char* sql : {
             // BOLT's rule written from the stock unit; PAINT and GLUE bought by a carton of 24
             // cans or kilograms by the company-wide rule only; WIDGET bought in a unit no rule knows.
             "DELETE FROM UOM_conversion_table WHERE itemcode = 'BOLT'",
             "INSERT INTO UOM_conversion_table (itemcode, uom_from, uom_to, quantity_from, quantity_to) VALUES"
             " ('BOLT', 'pcs', 'box', 100, 1), ('*', 'carton', 'can', 1, 24), ('*', 'carton', 'kg', 1, 24)",
             "UPDATE Item_master_table SET purchase_uom = 'carton' WHERE itemcode IN ('PAINT', 'GLUE')",
             "UPDATE Item_master_table SET purchase_uom = 'each' WHERE itemcode = 'WIDGET'",
             "UPDATE Item_warehouse_table SET minimum_stock = 50, reorder_quantity = 0, last_cost = 2"
             " WHERE warehouse = 'MAIN' AND itemcode IN ('BOLT', 'PAINT', 'WIDGET')",
             "INSERT INTO Item_warehouse_table (company, itemcode, warehouse, minimum_stock, reorder_quantity, last_cost)"
             " VALUES (1, 'GLUE', 'MAIN', 30, 0, 1)"})
        ASSERT_TRUE(t.db().execute(QString::fromLatin1(sql))) << sql;

    auto proposals = reorder_proposals(t.db(), "MAIN");
    ASSERT_TRUE(proposals) << proposals.error().detail.toStdString();
    QStringList shown;
    for (const ReorderProposal& proposal : *proposals)
        shown << proposal.itemcode + ' ' + proposal.quantity.to_string() + ' ' + proposal.uom + " at "
                     + proposal.unit_cost.value_or(Decimal(-1)).to_string() + ' ' + proposal.location;
    EXPECT_EQ(shown, (QStringList{"BOLT 1 box at 200 A2", "GLUE 1.25 carton at 24 A1", "PAINT 3 carton at 48 A1",
                                  "WIDGET 50 pcs at 2 A1"}));
}
