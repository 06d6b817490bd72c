// A database error at any statement of a receipt's save with its bill and landed payables, and of
// the edit and void of a receipt holding landed payables: nothing is written, no number is taken,
// the clerk's input stays, and the message is the failure, never "invalid" or "not found".
#include "tests/support/receipt_bill_fixture.h"
#include "tests/support/statement_failures.h"

namespace zelkor {
namespace {

/// Every row a receipt with its bill and payables, its edit or its void could change.
QStringList everything(TestDatabase& t)
{
    QStringList state;
    for (const char* table :
         {"PO_receipt_header_table", "PO_receipt_transaction_table", "PO_header_table", "PO_transaction_table",
          "PO_invoice_header_table", "PO_invoice_transaction_table", "AP_header_table", "AP_transaction_table",
          "Payment_header_table", "Payment_transaction_table", "Prepayment_waiting_PO_table", "Vendor_table",
          "GL_header_table", "GL_transaction_table", "Balance_table", "Balance_period_table", "Account_currency_table",
          "IN_header_table", "IN_transaction_table", "Item_onhand_table", "Item_warehouse_table", "FIFO_table",
          "FIFO_history_table", "Docno_master_table", "Next_number_fkey_table"})
        state << t.rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2, 3").arg(QString::fromLatin1(table)));
    return state;
}

class ReceiptBillFailures : public ReceiptBill {
protected:
    /// Makes each statement of `command` fail in turn until the command completes; each failure
    /// must leave the database as it was, the window in its mode with its lines, and say `failed`.
    void fail_each_statement(int command, const QString& failed, bool answer_yes)
    {
        const auto state = [this] {
            return everything(t) << QString::number(static_cast<int>(window.mode()))
                                 << QString::number(lines().row_count())
                                 << QString::number(window.landed_lines().row_count());
        };
        const int failures = testing::fail_each_statement({t, prompter, failed, answer_yes, state, 800},
                                                          [&] { return window.execute(command); });
        EXPECT_GT(failures, 40);
    }
};

TEST_F(ReceiptBillFailures, EveryStatementOfABilledSaveAndOfTheEditAndVoidOfLandedPayablesFailsCleanly)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    add_waiting_prepayment("PP-HOST-1", po, "100");
    start("V1001", po);
    pick({0});
    bill_with("INV-900");
    ASSERT_EQ(window.type_into("prepayment_no", "PP-HOST-1"), Entry::Accepted);
    ASSERT_EQ(window.type_into("prepayment", "100"), Entry::Accepted);
    ASSERT_EQ(window.type_into("discount_amount", "5"), Entry::Accepted);
    charges();
    fail_each_statement(to_int(CommandId::Save), "Add new receipt failed", false);
    EXPECT_TRUE(prompter.messages().contains("Add new Receipt no. RO-26-00001 complete"));
    EXPECT_EQ(t.count("AP_header_table WHERE void = FALSE"), 4);
    expect_consistent();

    // Its bill voided, the receipt holds only its charges' payables: edited with a new bill.
    void_bill_of("RO-26-00001");
    window.set_field("docno", "RO-26-00001");
    window.display_by_number();
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    bill_with("INV-902");
    ASSERT_EQ(window.type_into("payby", "Check"), Entry::Accepted);
    ASSERT_EQ(window.type_into("bank_code", "OPER"), Entry::Accepted);
    ASSERT_EQ(window.type_into("check_no", "300"), Entry::Accepted);
    ASSERT_EQ(window.type_into("check_date", "16/03/2026"), Entry::Accepted);
    type_landed(0, {{"extended cost", "150"}});
    fail_each_statement(to_int(CommandId::Save), "update failed", false);
    EXPECT_EQ(prompter.last(), "update complete");
    expect_consistent();

    void_bill_of("RO-26-00001");
    ASSERT_TRUE(window.execute(CommandId::RefreshRecord));
    fail_each_statement(to_int(CommandId::Void), "Void receipt failed", true);
    EXPECT_TRUE(prompter.messages().contains("Receipt RO-26-00001 is void."));
    EXPECT_EQ(t.count("AP_header_table WHERE void = FALSE"), 0);
    EXPECT_EQ(t.decimal("SELECT SUM(owing_balance) FROM Vendor_table"), Decimal(0));
    expect_consistent();
}

} // namespace
} // namespace zelkor
