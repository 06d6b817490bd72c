// "Reordering Stock Items" in the order and the requisition window: the stock items short at the
// ship-to warehouse, in purchase units, completed as typed lines and saved as they are.
#include "tests/support/po_window_fixture.h"
#include "tests/support/pr_window_fixture.h"

namespace zelkor {
namespace {

using testing::PrWindow;

/// Stock at EAST, the ship-to of the proposals (all at moving average, so that on-hand rows need
/// no cost layers):
///   WIDGET  minimum 10 at MAIN (300 on hand there), 500 at EAST with 100 + 150 on hand over two
///           locations; reorder 240 pcs = 20 boxes at 0.50 a piece; default location E2
///   BOLT    minimum 150 at EAST, never stocked there, no reorder quantity: 150 pcs short = 1.5
///           boxes of 100, rounded up to 2; no last cost; no default location there
///   PAINT   exactly at its minimum of 10; GLUE 20 + 35 over two locations against 50
///   OLDPART discontinued, KIT1 a kit: short, never proposed
void stock_short_at_east(Database& db)
{
    for (const char* sql : {
             "UPDATE Item_warehouse_table SET cost_method = 'Moving average' WHERE itemcode = 'WIDGET'",
             "UPDATE Item_warehouse_table SET minimum_stock = 10 WHERE itemcode = 'WIDGET' AND warehouse = 'MAIN'",
             "UPDATE Item_warehouse_table SET minimum_stock = 500, reorder_quantity = 240, last_cost = 0.5,"
             " default_location = 'E2' WHERE itemcode = 'WIDGET' AND warehouse = 'EAST'",
             "UPDATE Item_master_table SET active = TRUE WHERE itemcode = 'OLDPART'",
             "INSERT INTO Item_master_table (itemcode, description, item_type, kit, active, discontinued, quantity_decimals,"
             " unitcost_decimals, stock_uom, purchase_uom, cost_method, asset_accno) VALUES"
             " ('KIT1', 'Starter kit', '1', TRUE, TRUE, FALSE, 0, 2, 'pcs', 'pcs', 'Moving average', '1300')",
             "INSERT INTO Item_warehouse_table (company, itemcode, warehouse, cost_method, minimum_stock, reorder_quantity,"
             " default_location) VALUES (1, 'BOLT', 'EAST', 'Moving average', 150, 0, NULL),"
             " (1, 'PAINT', 'EAST', 'Standard cost', 10, 20, 'E1'), (1, 'OLDPART', 'EAST', 'Moving average', 5, 5, 'E1'),"
             " (1, 'KIT1', 'EAST', 'Moving average', 5, 5, 'E1')",
             "INSERT INTO Item_onhand_table (company, itemcode, warehouse, location, quantity, Value, stock_uom, uom) VALUES"
             " (1, 'WIDGET', 'MAIN', 'A1', 300, 150, 'pcs', 'pcs'), (1, 'WIDGET', 'EAST', 'E1', 100, 50, 'pcs', 'pcs'),"
             " (1, 'WIDGET', 'EAST', 'E2', 150, 75, 'pcs', 'pcs'), (1, 'PAINT', 'EAST', 'E1', 10, 100, 'can', 'can'),"
             " (1, 'GLUE', 'EAST', 'E2', 35, 105, 'kg', 'kg')"})
        ASSERT_TRUE(db.execute(QString::fromLatin1(sql))) << sql;
}

class OrderReorder : public OrderWindow {
protected:
    OrderReorder() { stock_short_at_east(t.db()); }

    QStringList proposed(int row)
    {
        QStringList cells;
        for (const char* column : {"item no", "item code", "quantity order", "quantity open", "uom", "unit cost",
                                   "extended cost", "tax code", "tax amount", "account", "account name", "warehouse",
                                   "location"})
            cells << window.lines().cell(row, column);
        return cells;
    }
};

TEST_F(OrderReorder, ProposesWhatIsShortAtTheShipToInPurchaseUnitsAndSavesIt)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("vendor_no", "V100"), Entry::Accepted);
    ASSERT_EQ(window.type_into("shipto", "EAST"), Entry::Accepted);
    ASSERT_TRUE(window.execute(POform_po::Command::ReorderingStockItems)) << prompter.last().toStdString();
    ASSERT_EQ(window.lines().row_count(), 3);
    EXPECT_EQ(proposed(0), (QStringList{"1", "BOLT", "2", "2", "box", "", "", "ST", "0.00", "1300", "Inventory", "EAST", "E1"}));
    EXPECT_EQ(proposed(1), (QStringList{"2", "WIDGET", "20", "20", "box", "6.00", "120.00", "ST", "6.00", "1300", "Inventory",
                                        "EAST", "E2"}));
    EXPECT_EQ(window.lines().cell(2, "item code"), "");
    EXPECT_EQ(window.lines().current_row(), 0);
    EXPECT_EQ(window.field("total"), "126.00");

    // The clerk completes the line without a cost; the proposals save as they are.
    ASSERT_EQ(window.lines().type_cell(0, "unit cost", "50"), Entry::Accepted);
    EXPECT_EQ(window.lines().cell(0, "tax amount"), "5.00");
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");
    EXPECT_EQ(t.rows("SELECT itemcode, uom, warehouse, location, tax_authority1 FROM PO_transaction_table ORDER BY itemno"),
              (QStringList{"BOLT|box|EAST|E1|STATE", "WIDGET|box|EAST|E2|STATE"}));
    EXPECT_EQ(t.decimal("SELECT unitcost FROM PO_transaction_table WHERE itemcode = 'WIDGET'"), Decimal(6));
    EXPECT_EQ(t.decimal("SELECT total FROM PO_header_table"), Decimal("231.00"));
    EXPECT_EQ(on_order("WIDGET", "EAST", "E2"), Decimal(240));
    EXPECT_EQ(on_order("BOLT", "EAST", "E1"), Decimal(200));
    expect_consistent();

    // A typed item code takes its last cost per its purchase unit too.
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("shipto", "EAST"), Entry::Accepted);
    ASSERT_EQ(window.lines().type_cell(0, "item code", "WIDGET"), Entry::Accepted);
    EXPECT_EQ(window.lines().cell(0, "uom"), "box");
    EXPECT_EQ(window.lines().cell(0, "unit cost"), "6.00");
}

TEST_F(OrderReorder, RefusesOutsideNewModeAndWithoutShipToAndEmptiesTheGridWhenNothingIsShort)
{
    save_order("V100", {{"WIDGET", "1", "box", "30"}});
    EXPECT_FALSE(window.execute(POform_po::Command::ReorderingStockItems));
    EXPECT_EQ(prompter.last(), "This command is working in new mode.");

    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("shipto", ""), Entry::Accepted);
    EXPECT_FALSE(window.execute(POform_po::Command::ReorderingStockItems));
    EXPECT_EQ(prompter.last(), "please specify ship-to warehouse");

    // Nothing is short at MAIN: the typed line and its tax go, the totals are nought.
    ASSERT_EQ(window.type_into("shipto", "MAIN"), Entry::Accepted);
    ASSERT_EQ(window.lines().type_cell(0, "item code", "MANUAL"), Entry::Accepted);
    ASSERT_EQ(window.lines().type_cell(0, "quantity order", "2"), Entry::Accepted);
    ASSERT_EQ(window.lines().type_cell(0, "unit cost", "4"), Entry::Accepted);
    ASSERT_TRUE(window.execute(POform_po::Command::ReorderingStockItems));
    EXPECT_EQ(window.lines().row_count(), 1);
    EXPECT_EQ(window.lines().cell(0, "item code"), "");
    EXPECT_EQ(window.field("total"), "0.00");
    EXPECT_TRUE(window.tax_elements().lines().empty());
}

class RequisitionReorder : public PrWindow {
protected:
    RequisitionReorder() { stock_short_at_east(t.db()); }
};

TEST_F(RequisitionReorder, ProposesWithPreferredVendorAndLastCostAndSavesThem)
{
    EXPECT_FALSE(window.execute(POform_pr::Command::ReorderingStockItems));
    EXPECT_EQ(prompter.last(), "This command is working in new mode.");
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("shipto", ""), Entry::Accepted);
    EXPECT_FALSE(window.execute(POform_pr::Command::ReorderingStockItems));
    EXPECT_EQ(prompter.last(), "please specify ship-to warehouse");

    ASSERT_EQ(window.type_into("shipto", "EAST"), Entry::Accepted);
    ASSERT_TRUE(window.execute(POform_pr::Command::ReorderingStockItems)) << prompter.last().toStdString();
    ASSERT_EQ(lines().row_count(), 3);
    auto proposed = [&](int row) {
        QStringList cells;
        for (const char* column : {"item code", "quantity", "uom", "unit cost", "extended cost", "tax amount",
                                   "preferred vendor", "vendor name", "warehouse", "location"})
            cells << cell(row, column);
        return cells.join(u'|');
    };
    EXPECT_EQ(proposed(0), "BOLT|2|box|||0.00|V100|Acme Industrial Supply|EAST|E1");
    EXPECT_EQ(proposed(1), "WIDGET|20|box|6.00|120.00|6.00|V100|Acme Industrial Supply|EAST|E2");
    EXPECT_EQ(window.field("total"), "126.00");

    ASSERT_EQ(type(0, "unit cost", "50"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new PR complete");
    EXPECT_EQ(t.rows("SELECT itemcode, uom, warehouse, location, vendor_no, tax_code FROM PR_transaction_table ORDER BY itemno"),
              (QStringList{"BOLT|box|EAST|E1|V100|ST", "WIDGET|box|EAST|E2|V100|ST"}));
    EXPECT_EQ(t.decimal("SELECT quantity FROM PR_transaction_table WHERE itemcode = 'WIDGET'"), Decimal(20));
    EXPECT_EQ(t.decimal("SELECT tax_amount1 FROM PR_transaction_table WHERE itemcode = 'BOLT'"), Decimal(5));
    EXPECT_EQ(t.decimal("SELECT total FROM PR_header_table"), Decimal("231.00"));
    auto violations = check_invariants(t.db(), purchasing_invariant_checks());
    ASSERT_TRUE(violations.has_value());
    EXPECT_TRUE(violations->isEmpty()) << violations->join(u'\n').toStdString();
}

} // namespace
} // namespace zelkor
