// What a receipt does to its order lines: partial, exact, over- and cancel-only receipts, the
// questions asked before anything is written, and voids that give back exactly what was taken.
#include "tests/support/receipt_window_fixture.h"

namespace zelkor {
namespace {

TEST_F(ReceiptWindow, PartialExactAndOverReceiptsAskOnlyWhenMoreThanOpen)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"BOLT-M8", "4", "box", "12"},
                                       {"MANUAL-OPS", "1", "each", "15"}});
    EXPECT_EQ(on_order("WIDGET-A", "MAIN", "A-01"), Decimal(120));

    // Part of a line: nothing asked, the rest stays open and on order.
    start("V1001", po);
    pick({0});
    ASSERT_EQ(type(0, "quantity received", "4"), Entry::Accepted);
    EXPECT_EQ(lines().cell(0, "extended cost"), "120.00");
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Add new Receipt no. RO-26-00001 complete");
    EXPECT_EQ(open_quantity(po, 1), Decimal(6));
    EXPECT_EQ(on_order("WIDGET-A", "MAIN", "A-01"), Decimal(72));
    EXPECT_EQ(t.count("PO_header_table WHERE docno = ? AND received = TRUE AND fully_received = FALSE", {po}), 1);

    // The rest exactly: still nothing asked; one more box of bolts than open asks, and No writes
    // nothing and takes no number.
    start("V1001", po);
    EXPECT_EQ(window.order_lines().cell(0, "quantity open"), "6");
    pick({0, 1});
    EXPECT_EQ(lines().cell(0, "quantity received"), "6");
    ASSERT_EQ(type(1, "quantity received", "5"), Entry::Accepted);
    const qint64 entries = t.count("GL_header_table");
    prompter.clear();
    prompter.answer_no();
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Are you sure to receive BOLT-M8 more than quantity open (4 box)?");
    EXPECT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    EXPECT_EQ(t.count("PO_receipt_header_table"), 1);
    EXPECT_EQ(t.count("GL_header_table"), entries);
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Add new Receipt no. RO-26-00002 complete");
    EXPECT_EQ(open_quantity(po, 1), Decimal(0));
    EXPECT_EQ(open_quantity(po, 2), Decimal(0));
    EXPECT_EQ(t.decimal("SELECT quantity_received FROM PO_transaction_table WHERE docno = ? AND itemno = 2", {po}), Decimal(5));
    EXPECT_EQ(on_order("BOLT-M8", "MAIN", "A-02"), Decimal(0));
    EXPECT_EQ(t.count("PO_header_table WHERE docno = ? AND fully_received = FALSE", {po}), 1);
    // A closed line cannot be picked again.
    start("V1001", po);
    prompter.clear();
    EXPECT_FALSE(window.activate_row(window.order_lines(), 0));
    EXPECT_EQ(prompter.last(), "This item was closed.");
    prompter.answer_no();
    ASSERT_TRUE(window.execute(CommandId::New));
    expect_consistent();

    // Voiding the over-receipt opens what is missing from the order, not what was received.
    window.type_into("docno", "RO-26-00002");
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.last(), "Receipt RO-26-00002 is void.");
    EXPECT_EQ(open_quantity(po, 1), Decimal(6));
    EXPECT_EQ(open_quantity(po, 2), Decimal(4));
    EXPECT_EQ(on_order("BOLT-M8", "MAIN", "A-02"), Decimal(400));
    EXPECT_EQ(on_order("WIDGET-A", "MAIN", "A-01"), Decimal(72));
    EXPECT_EQ(t.count("PO_transaction_table WHERE docno = ? AND closed = FALSE AND received = FALSE AND itemno = 2", {po}), 1);
    EXPECT_EQ(t.count("PO_header_table WHERE docno = ? AND received = TRUE AND fully_received = FALSE", {po}), 1);
    expect_consistent();
}

TEST_F(ReceiptWindow, CancellingTheRestAsksOnceAndACancelOnlyLineTouchesTheOrderAlone)
{
    const QString po = order("V1001", {{"WIRE-CU", "4", "roll", "100"}, {"MANUAL-OPS", "2", "each", "15"}});
    EXPECT_EQ(on_order("WIRE-CU", "EAST", "E-01"), Decimal(200));

    // Three rolls received and two given up of four open: OK/Cancel, Cancel writes nothing.
    start("V1001", po);
    pick({0});
    ASSERT_EQ(type(0, "quantity received", "3"), Entry::Accepted);
    ASSERT_EQ(type(0, "quantity canceled", "2"), Entry::Accepted);
    prompter.answer_cancel();
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Received quantity > Openned quantity. Press OK to confirm");
    EXPECT_EQ(t.count("PO_receipt_header_table"), 0);
    prompter.answer_ok();
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(order_line(po, 1), "0/3/2");
    EXPECT_EQ(on_order("WIRE-CU", "EAST", "E-01"), Decimal(0));

    // Giving up a line without receiving anything: the order changes; nothing is posted, nothing
    // reaches stock.
    start("V1001", po);
    pick({1});
    ASSERT_EQ(type(0, "quantity received", "0"), Entry::Accepted);
    ASSERT_EQ(type(0, "quantity canceled", "2"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.last().toStdString();
    EXPECT_EQ(prompter.last(), "Add new Receipt no. RO-26-00002 complete");
    EXPECT_EQ(key_of("RO-26-00002", "GLFKEY"), "");
    EXPECT_EQ(key_of("RO-26-00002", "icfkey"), "");
    EXPECT_EQ(open_quantity(po, 2), Decimal(0));
    EXPECT_EQ(on_order("MANUAL-OPS", "MAIN", "A-01"), Decimal(0));
    EXPECT_EQ(t.count("PO_header_table WHERE docno = ? AND fully_received = TRUE", {po}), 1);
    expect_consistent();

    // Its void gives the line back.
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void));
    EXPECT_EQ(open_quantity(po, 2), Decimal(2));
    EXPECT_EQ(on_order("MANUAL-OPS", "MAIN", "A-01"), Decimal(2));
    expect_consistent();
}

TEST_F(ReceiptWindow, ReceivingStockItemsOnlyKeepsAnOrderWithOpenNonStockLinesOutstanding)
{
    const QString po = order("V1001", {{"WIDGET-A", "2", "box", "30"}, {"MANUAL-OPS", "1", "each", "15"},
                                       {"INSTALL", "1", "", "80", "5"}});
    const QString services_only = order("V1001", {{"INSTALL", "1", "", "80", "5"}});
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_TRUE(window.execute(POform_receipt::Command::ReceiptStockItemOnly));
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    // Only orders with a stock line are offered, and of them only their stock lines.
    EXPECT_EQ(window.find_field("pono")->choices.rows.size(), 1u);
    ASSERT_EQ(window.type_into("pono", po), Entry::Accepted);
    EXPECT_EQ(window.order_lines().row_count(), 1);
    pick({0});
    ASSERT_TRUE(window.execute(CommandId::Save));
    // The manual is still to come: the order stays outstanding.
    EXPECT_EQ(t.count("PO_header_table WHERE docno = ? AND received = TRUE AND fully_received = FALSE", {po}), 1);

    // Without the option both orders are offered; the manual received, the order is fully
    // received although its service line is open (services are not goods).
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_TRUE(window.execute(POform_receipt::Command::ReceiptStockItemOnly));
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    EXPECT_EQ(window.find_field("pono")->choices.rows.size(), 2u);
    ASSERT_EQ(window.type_into("pono", po), Entry::Accepted);
    EXPECT_EQ(window.order_lines().row_count(), 3);
    pick({1});
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(t.count("PO_header_table WHERE docno = ? AND fully_received = TRUE", {po}), 1);
    EXPECT_EQ(open_quantity(po, 3), Decimal(1));
    (void)services_only;
    expect_consistent();
}

TEST_F(ReceiptWindow, ReceivesLinesOfSeveralOrdersOfOneVendor)
{
    const QString first = order("V1001", {{"WIDGET-A", "2", "box", "30"}});
    const QString second = order("V1001", {{"WIDGET-A", "3", "box", "31"}, {"BOLT-M8", "1", "box", "12"}});
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    window.type_into("multi_po", "1");
    ASSERT_EQ(window.type_into("pono", first), Entry::Accepted);
    ASSERT_EQ(window.type_into("pono", second), Entry::Accepted);
    ASSERT_EQ(window.order_lines().row_count(), 3);
    pick({0, 1, 2});
    // Two lines of one item from two orders go to one place: they are different order lines.
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(t.text("SELECT COALESCE(PONO, '') FROM PO_receipt_header_table"), "");
    EXPECT_EQ(t.count("PO_receipt_header_table WHERE multi_po = TRUE"), 1);
    EXPECT_EQ(t.count("PO_receipt_transaction_table WHERE PONO = ?", {first}), 1);
    EXPECT_EQ(t.count("PO_receipt_transaction_table WHERE PONO = ?", {second}), 2);
    EXPECT_EQ(t.count("PO_header_table WHERE fully_received = TRUE"), 2);
    EXPECT_EQ(on_hand("WIDGET-A", "MAIN", "A-01"), "300 765.00");
    expect_consistent();

    // The same order line twice into one place is refused.
    const QString third = order("V1001", {{"BOLT-M8", "4", "box", "12"}});
    start("V1001", third);
    pick({0, 0});
    ASSERT_EQ(type(0, "quantity received", "1"), Entry::Accepted);
    EXPECT_EQ(lines().cell(1, "quantity received"), "0");
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "BOLT-M8 are received into same warehouse/location.");
    // Into another location it is two receipts of one line.
    ASSERT_EQ(type(1, "location", "B-01"), Entry::Accepted);
    ASSERT_EQ(type(1, "quantity received", "3"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(on_hand("BOLT-M8", "MAIN", "B-01"), "300 36.00");
    EXPECT_EQ(open_quantity(third, 1), Decimal(0));
    expect_consistent();
}

} // namespace
} // namespace zelkor
