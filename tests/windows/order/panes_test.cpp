// The order window's views of what surrounds an order: the requisition a line came from, the
// ship-to and vendor addresses, and the purchase histories of the vendor and of the line's item.
#include "tests/support/po_window_fixture.h"
#include "tests/support/window_test_support.h"

namespace zelkor {
namespace {

class OrderPanes : public OrderWindow {
protected:
    OrderPanes() { testing::record_notifications(window, notifications); }

    /// Three orders saved by the order's routine: V100's widgets from requisition PR-26-00001,
    /// V100's bolts, and O'Brien's widgets.
    void three_orders()
    {
        const QString pr = testing::saved_requisition(t.db(), "V100", {{"WIDGET", "10", "box", "2.50"}}, QDate(2026, 3, 1)).docno;
        testing::OrderSpec issued{"V100", {{"WIDGET", "10", "box", "2.50"}}, QDate(2026, 3, 2)};
        issued.requisition = pr;
        testing::saved_order(t.db(), issued);
        testing::saved_order(t.db(), {"V100", {{"BOLT", "5", "box", "1"}}, QDate(2026, 3, 3)});
        testing::saved_order(t.db(), {"V200", {{"WIDGET", "4", "box", "3"}}, QDate(2026, 3, 4)});
    }
    void show(const QString& docno)
    {
        window.set_field("docno", docno);
        window.display_by_number();
        ASSERT_EQ(window.field("docno"), docno);
    }
    const QStringList history{"vendor name", "PO no", "item code", "quantity", "unit cost", "extended cost"};
    std::vector<testing::WindowNotification> notifications;
};

TEST_F(OrderPanes, ARequisitionLineOpensItsRequisitionAndThePanesFollowTheOrderAndItsLine)
{
    three_orders();
    show("PO-26-00001");
    window.lines().set_current(0, 0);
    ASSERT_TRUE(window.execute(POform_po::Command::PrRecord));
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications.back().formx + "|" + notifications.back().docnox, "Purchase Requisition|PR-26-00001");
    show("PO-26-00002");
    EXPECT_FALSE(window.execute(POform_po::Command::PrRecord)) << "a line typed on the order has no requisition";
    EXPECT_EQ(notifications.size(), 1u);

    // The addresses: the warehouse the order ships to and the vendor's own; the command toggles.
    testing::expect_address_pane(window, to_int(POform_po::Command::ShipToVendorAddress), "1 Test Street",
                                 "1200 Industrial Parkway");

    // The vendor's order lines of the last six months, and those of the current line's item.
    ASSERT_TRUE(window.execute(POform_po::Command::VendorPurchaseHistory));
    ASSERT_TRUE(window.execute(POform_po::Command::ItemPurchaseHistory));
    EXPECT_TRUE(window.find_pane("vendor_history")->visible);
    EXPECT_EQ(testing::grid_rows(*window.grid("grid_vendor_history"), history),
              (QStringList{"Acme Industrial Supply|PO-26-00002|BOLT|5|1.00|5.00",
                           "Acme Industrial Supply|PO-26-00001|WIDGET|10|2.50|25.00"}));
    EXPECT_EQ(testing::grid_rows(*window.grid("grid_item_history"), history), QStringList{"Acme Industrial Supply|PO-26-00002|BOLT|5|1.00|5.00"});
    show("PO-26-00003");
    EXPECT_EQ(testing::grid_rows(*window.grid("grid_vendor_history"), history), QStringList{"O'Brien Supply|PO-26-00003|WIDGET|4|3.00|12.00"});
    EXPECT_EQ(testing::grid_rows(*window.grid("grid_item_history"), history),
              (QStringList{"O'Brien Supply|PO-26-00003|WIDGET|4|3.00|12.00",
                           "Acme Industrial Supply|PO-26-00001|WIDGET|10|2.50|25.00"}));
    ASSERT_TRUE(window.execute(POform_po::Command::ItemPurchaseHistory));
    EXPECT_FALSE(window.find_pane("item_history")->visible);
}

} // namespace
} // namespace zelkor
