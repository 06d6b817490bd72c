// Order edits keep what receipts recorded; due future orders are activated; every line but a
// charge takes a tax code.
#include "tests/support/po_window_fixture.h"

namespace zelkor {
namespace {

Decimal line_value(TestDatabase& t, const char* column, int itemno = 1)
{
    return t.decimal(QStringLiteral("SELECT %1 FROM PO_transaction_table WHERE itemno = ?").arg(QLatin1String(column)),
                     {itemno});
}

TEST_F(OrderWindow, EditMovesOpenForBillByTheChangeAndKeepsWhatReceiptsRecorded)
{
    save_order("V100", {{"WIDGET", "2", "box", "30"}, {"BOLT", "1", "box", "5"}});
    ASSERT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");

    // Raised from 2 to 4 with nothing billed: 4 are open for bill, not the 2 of the first save.
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    ASSERT_EQ(window.lines().type_cell(0, "quantity order", "4"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Update PO no. PO-26-00001 complete");
    EXPECT_EQ(line_value(t, "quantity_open_for_bill"), Decimal(4));
    EXPECT_EQ(line_value(t, "quantity_open"), Decimal(4));

    // A receipt of the whole BOLT line and one box of WIDGET; the edit keeps the line flags.
    testing::received_on_order(t.db(), "1po-1", 2, "1", "box");
    testing::received_on_order(t.db(), "1po-1", 1, "1", "box");
    ASSERT_TRUE(window.execute(CommandId::RefreshRecord));
    EXPECT_EQ(window.field("received"), "1");
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    ASSERT_EQ(window.lines().type_cell(0, "quantity order", "3"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Update PO no. PO-26-00001 complete");
    EXPECT_EQ(line_value(t, "quantity_open_for_bill"), Decimal(3));
    EXPECT_EQ(line_value(t, "quantity_open"), Decimal(2));
    EXPECT_EQ(line_value(t, "quantity_received"), Decimal(1));
    EXPECT_TRUE(t.scalar("SELECT received FROM PO_transaction_table WHERE itemno = 1").toBool());
    EXPECT_TRUE(t.scalar("SELECT fully_received FROM PO_transaction_table WHERE itemno = 2").toBool());
    EXPECT_FALSE(t.scalar("SELECT fully_received FROM PO_transaction_table WHERE itemno = 1").toBool());
    EXPECT_TRUE(t.scalar("SELECT received FROM PO_header_table").toBool());
    // What is still open is still on order: 2 boxes of 12.
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(24));
    EXPECT_EQ(on_order("BOLT", "MAIN", "A2"), Decimal(0));
    expect_consistent();
}

TEST_F(OrderWindow, ActivatingAllFutureOrdersTakesTheOverdueAndLeavesTheLaterOnes)
{
    const auto overdue = testing::saved_order(
        t.db(), {"V100", {{"WIDGET", "1", "box", "30"}}, QDate(2026, 3, 1), true, QDate(2026, 3, 10)});
    const auto later = testing::saved_order(
        t.db(), {"V100", {{"WIDGET", "2", "box", "30"}}, QDate(2026, 3, 1), true, QDate(2026, 4, 1)});
    const auto today = testing::saved_order(
        t.db(), {"V100", {{"BOLT", "3", "box", "5"}}, QDate(2026, 3, 1), true, QDate(2026, 3, 15)});
    EXPECT_EQ(t.count("Item_onhand_table WHERE po_quantity <> 0"), 0);

    ASSERT_TRUE(window.execute(POform_po::Command::ActivateAllFuturePos));
    EXPECT_EQ(prompter.last(), "Future POs are activated.");
    auto future = [&](const DocumentNumber& order) {
        return t.scalar("SELECT future_po FROM PO_header_table WHERE fkey = ?", {order.fkey}).toBool();
    };
    EXPECT_FALSE(future(overdue));
    EXPECT_FALSE(future(today));
    EXPECT_TRUE(future(later));
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(12));
    EXPECT_EQ(on_order("BOLT", "MAIN", "A2"), Decimal(300));

    ASSERT_TRUE(window.execute(POform_po::Command::ActivateAllFuturePos));
    EXPECT_EQ(prompter.last(), "No future PO due to be activated");
    expect_consistent();
}

TEST_F(OrderWindow, EveryLineButAChargeTakesTheVendorsTaxCodeElseTheDefault)
{
    // A service line typed without a code takes the vendor's (V300: VAT 10 %) and is taxed.
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("vendor_no", "V300"), Entry::Accepted);
    Grid& lines = window.lines();
    ASSERT_EQ(lines.type_cell(0, "item type", "5"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "item code", "INSTALL"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "quantity order", "1"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "unit cost", "200"), Entry::Accepted);
    EXPECT_EQ(lines.cell(0, "tax code"), "VAT50");
    EXPECT_EQ(lines.cell(0, "tax amount"), "20.00");

    // A vendor without a tax code leaves the default; without a default the line stays untaxed.
    ASSERT_TRUE(t.db().execute("UPDATE Vendor_table SET tax_code = NULL WHERE vendor_no = 'V100'"));
    ASSERT_EQ(window.type_into("vendor_no", "V100"), Entry::Accepted);
    const int second = lines.append_row();
    ASSERT_EQ(lines.type_cell(second, "item type", "4"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(second, "item code", "PAPER"), Entry::Accepted);
    EXPECT_EQ(lines.cell(second, "tax code"), "ST");
    ASSERT_TRUE(t.db().execute("UPDATE Tax_code_table SET \"default\" = FALSE"));
    const int third = lines.append_row();
    ASSERT_EQ(lines.type_cell(third, "item type", "3"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(third, "item code", "DESK"), Entry::Accepted);
    EXPECT_EQ(prompter.last(), "Default Tax code has not been set");
    EXPECT_EQ(lines.cell(third, "tax code"), "");
}

} // namespace
} // namespace zelkor
