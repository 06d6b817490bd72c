// Two clerks saving receipts with bills at once: one bill number, one prepayment, one vendor's
// owing balance. The database serialises them; exactly what one may do is done once.
#include "tests/support/receipt_bill_fixture.h"

#include "tests/support/save_race.h"

namespace zelkor {
namespace {

/// A clerk at another workstation: a receipt window on a connection of its own.
struct Clerk {
    explicit Clerk(TestDatabase& t) : db(t.open_another())
    {
        window.apply_settings(receipt_settings(*db));
        window.set_prompter(&prompter);
        window.open();
    }

    /// Receives the order's first line with the vendor's bill, optionally applying a prepayment.
    void receive(const QString& order_number, const QString& bill, const QString& prepayment_no = {})
    {
        ASSERT_TRUE(window.execute(CommandId::New));
        ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
        ASSERT_EQ(window.type_into("pono", order_number), Entry::Accepted);
        ASSERT_TRUE(window.activate_row(window.order_lines(), 0));
        ASSERT_EQ(window.type_into("vendor_invoice_no", bill), Entry::Accepted);
        ASSERT_EQ(window.type_into("vendor_invoice_date", "15/03/2026"), Entry::Accepted);
        if (!prepayment_no.isEmpty()) {
            ASSERT_EQ(window.type_into("prepayment_no", prepayment_no), Entry::Accepted);
            ASSERT_EQ(window.type_into("prepayment", "100"), Entry::Accepted);
        }
    }

    std::unique_ptr<Database> db;
    ScriptedPrompter prompter;
    POform_receipt window;
};

/// Runs two clerks' saves at once; gives how many saved and the refusals of the others.
template <class Prepare>
testing::SaveRace race(TestDatabase& t, Prepare prepare)
{
    return testing::race_to_save([&] { return std::make_unique<Clerk>(t); }, prepare);
}

TEST_F(ReceiptBill, OfTwoReceiptsWithOneBillNumberOneIsSaved)
{
    const QStringList orders{order("V1001", {{"WIDGET-A", "10", "box", "30"}}), order("V1001", {{"WIDGET-A", "5", "box", "30"}})};
    const testing::SaveRace result = race(t, [&](Clerk& me, int which) { me.receive(orders[which], "DUP-1"); });
    EXPECT_EQ(result.saved, 1);
    ASSERT_EQ(result.refusals.size(), 1);
    EXPECT_TRUE(result.refusals[0].endsWith("Bill no DUP-1 exist | Add new receipt failed")
                || result.refusals[0].endsWith("Bill no DUP-1 exist"))
        << result.refusals[0].toStdString();
    EXPECT_EQ(t.count("PO_receipt_header_table"), 1);
    EXPECT_EQ(t.count("PO_invoice_header_table"), 1);
    EXPECT_EQ(t.count("AP_header_table"), 1);
    EXPECT_EQ(t.decimal("SELECT nextdocno FROM Docno_master_table WHERE doctype = 'vi' AND fiscalyear = '2026'"), Decimal(2));
    expect_consistent();
}

TEST_F(ReceiptBill, OfTwoReceiptsApplyingOnePrepaymentOneIsSaved)
{
    const QStringList orders{order("V1001", {{"WIDGET-A", "10", "box", "30"}}), order("V1001", {{"WIDGET-A", "5", "box", "30"}})};
    add_waiting_prepayment("PP-HOST-1", orders[0], "100");
    const testing::SaveRace result = race(t, [&](Clerk& me, int which) { me.receive(orders[which], which == 0 ? "A-1" : "A-2", "PP-HOST-1"); });
    EXPECT_EQ(result.saved, 1);
    ASSERT_EQ(result.refusals.size(), 1);
    EXPECT_TRUE(result.refusals[0].endsWith("Prepayment is invalid. | Add new receipt failed")) << result.refusals[0].toStdString();
    EXPECT_EQ(t.count("PO_receipt_header_table"), 1);
    EXPECT_EQ(t.count("Payment_transaction_table WHERE docno = 'PP-HOST-1'"), 1);
    EXPECT_EQ(t.count("Payment_header_table WHERE billed = TRUE"), 1);
    // Whichever won owes its receipt less the prepayment: 318.00 or 159.00 less 100.00.
    EXPECT_TRUE(owing("V1001") == Decimal(218) || owing("V1001") == Decimal(59)) << owing("V1001").to_string().toStdString();
    expect_consistent();
}

TEST_F(ReceiptBill, TwoReceiptsOfOneVendorAtOnceBothRaiseItsOwingBalance)
{
    const QStringList orders{order("V1001", {{"WIDGET-A", "10", "box", "30"}}), order("V1001", {{"WIDGET-A", "5", "box", "30"}})};
    const testing::SaveRace result = race(t, [&](Clerk& me, int which) { me.receive(orders[which], which == 0 ? "B-1" : "B-2"); });
    EXPECT_EQ(result.saved, 2) << result.refusals.join(" || ").toStdString();
    EXPECT_EQ(owing("V1001"), Decimal("477"));
    EXPECT_EQ(t.count("AP_header_table WHERE void = FALSE"), 2);
    expect_consistent();
}

} // namespace
} // namespace zelkor
