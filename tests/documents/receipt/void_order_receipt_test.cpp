// A receipt that only gave up the rest of an order line, the order voided afterwards (nothing was
// received), then the receipt voided: the void order counts nothing on order again.
#include "tests/support/receipt_window_fixture.h"
#include "windows/order/POform_po.h"

namespace zelkor {
namespace {

TEST_F(ReceiptWindow, VoidingACancelOnlyReceiptOfAVoidOrderPutsNothingBackOnOrder)
{
    const QString po = order("V1001", {{"WIRE-CU", "2", "roll", "100"}});
    EXPECT_EQ(on_order("WIRE-CU", "EAST", "E-01"), Decimal(100));
    start("V1001", po);
    pick({0});
    ASSERT_EQ(type(0, "quantity received", "0"), Entry::Accepted);
    ASSERT_EQ(type(0, "quantity canceled", "2"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.last().toStdString();
    const QString receipt = window.field("docno");
    EXPECT_EQ(on_order("WIRE-CU", "EAST", "E-01"), Decimal(0));

    POform_po orders;
    orders.apply_settings(receipt_settings(t.db()));
    orders.set_prompter(&prompter);
    orders.open();
    orders.type_into("docno", po);
    prompter.answer_yes();
    ASSERT_TRUE(orders.execute(CommandId::Void)) << prompter.last().toStdString();
    EXPECT_EQ(prompter.last(), po + " is void.");

    window.type_into("docno", receipt);
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.last().toStdString();
    EXPECT_EQ(prompter.last(), "Receipt " + receipt + " is void.");
    EXPECT_EQ(open_quantity(po, 1), Decimal(2));
    EXPECT_EQ(on_order("WIRE-CU", "EAST", "E-01"), Decimal(0));
    expect_consistent();
}

} // namespace
} // namespace zelkor
