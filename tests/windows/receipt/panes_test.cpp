// The receipt window's views of what surrounds a receipt: the tax of a landed charge, the
// ship-to and vendor addresses, and the purchase histories of the vendor and of the line's item.
#include "tests/support/receipt_bill_fixture.h"
#include "tests/support/window_test_support.h"

namespace zelkor {
namespace {

using testing::grid_rows;

TEST_F(ReceiptBill, TheLandedTaxTheAddressesAndTheHistoriesShowWhatTheReceiptIsAbout)
{
    const QString first = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    const QString second = order("V1001", {{"BOLT-M8", "4", "box", "12"}});
    start("V1001", first);
    pick({0});
    bill_with("INV-900");
    show_landed();
    type_landed(0, {{"item code", "HANDLING"}, {"extended cost", "20"}});
    type_landed(1, {{"item code", "FREIGHT"}, {"extended cost", "45"}});

    // The tax of the current landed charge, following the charge chosen.
    window.landed_lines().set_current(0, 0);
    ASSERT_TRUE(window.execute(POform_receipt::Command::LandedTaxDetails));
    EXPECT_TRUE(window.find_pane("landed_tax_detail")->visible);
    const QStringList tax{"tax authority", "taxable amount", "tax amount"};
    const QStringList handling = grid_rows(*window.grid("grid_tax_landed"), tax);
    ASSERT_EQ(handling.size(), 1) << handling.join(" / ").toStdString();
    EXPECT_TRUE(handling.first().contains("|20.00|")) << handling.first().toStdString();
    EXPECT_EQ(window.landed_lines().cell(0, "tax amount"), handling.first().section(u'|', 2));
    window.landed_lines().set_current(1, 0);
    EXPECT_NE(grid_rows(*window.grid("grid_tax_landed"), tax), handling) << "the pane follows the charge";
    ASSERT_TRUE(window.execute(POform_receipt::Command::LandedTaxDetails));
    EXPECT_FALSE(window.find_pane("landed_tax_detail")->visible);

    // The addresses: the receiving warehouse's and the vendor's; the command toggles.
    testing::expect_address_pane(window, to_int(POform_receipt::Command::ShipToVendorAddress), "100 Harbour Road",
                                 "1200 Industrial Parkway");

    // The vendor's order lines of the last six months, and those of the current line's item.
    ASSERT_TRUE(window.execute(POform_receipt::Command::VendorPurchaseHistory));
    ASSERT_TRUE(window.execute(POform_receipt::Command::ItemPurchaseHistory));
    const QStringList history{"PO no", "item code", "quantity", "unit cost"};
    const QStringList vendor = grid_rows(*window.grid("grid_history"), history);
    EXPECT_TRUE(vendor.contains(first + "|WIDGET-A|10|30.00")) << vendor.join(" / ").toStdString();
    EXPECT_TRUE(vendor.contains(second + "|BOLT-M8|4|12.00")) << vendor.join(" / ").toStdString();
    const QStringList item = grid_rows(*window.grid("grid_history2"), history);
    EXPECT_TRUE(item.contains(first + "|WIDGET-A|10|30.00")) << item.join(" / ").toStdString();
    for (const QString& row : item)
        EXPECT_EQ(row.section(u'|', 1, 1), "WIDGET-A") << "only the current line's item";
    ASSERT_TRUE(window.execute(POform_receipt::Command::VendorPurchaseHistory));
    EXPECT_FALSE(window.find_pane("vendor_history")->visible);
}

} // namespace
} // namespace zelkor
