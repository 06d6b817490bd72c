// A database error at any statement of a save, an edit or a void is a failure: nothing is
// written, no number is taken, the clerk's input stays, and the message never says "invalid" or
// "not found".
#include "tests/support/receipt_window_fixture.h"
#include "tests/support/statement_failures.h"

namespace zelkor {
namespace {

/// Every row a receipt, its edit or its void could change.
QStringList everything(TestDatabase& t)
{
    QStringList state;
    for (const char* table : {"PO_receipt_header_table", "PO_receipt_transaction_table", "PO_header_table",
                              "PO_transaction_table", "GL_header_table", "GL_transaction_table", "Balance_table",
                              "Balance_period_table", "Account_currency_table", "IN_header_table",
                              "IN_transaction_table", "Item_onhand_table", "Item_warehouse_table", "FIFO_table",
                              "FIFO_history_table", "Docno_master_table", "Next_number_fkey_table"})
        state << t.rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2, 3").arg(QString::fromLatin1(table)));
    return state;
}

class ReceiptFailures : public ReceiptWindow {
protected:
    /// Makes each statement of `command` fail in turn, from the first until the command
    /// completes; each failure must leave the database and the window as they were and say
    /// `failed` last.
    void fail_each_statement(int command, const QString& failed, bool answer_yes)
    {
        const auto state = [this] {
            return everything(t) << QString::number(static_cast<int>(window.mode()))
                                 << QString::number(lines().row_count());
        };
        const int failures = testing::fail_each_statement({t, prompter, failed, answer_yes, state, 400},
                                                          [&] { return window.execute(command); });
        EXPECT_GT(failures, 20);
    }
};

TEST_F(ReceiptFailures, EveryStatementOfASaveAnEditAndAVoidFailsCleanly)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"PAINT-5L", "5", "box", "70"},
                                       {"MANUAL-OPS", "3", "each", "15"}, {"INSTALL", "1", "", "80", "5"}});
    start("V1001", po);
    pick({0, 1, 2, 3});
    ASSERT_EQ(type(0, "quantity received", "4"), Entry::Accepted);
    fail_each_statement(to_int(CommandId::Save), "Add new receipt failed", false);
    EXPECT_TRUE(prompter.messages().contains("Add new Receipt no. RO-26-00001 complete"));
    expect_consistent();
    // The last failure may have been in showing the saved receipt.
    window.set_field("docno", "RO-26-00001");
    window.display_by_number();

    ASSERT_TRUE(window.execute(CommandId::EditMode));
    ASSERT_EQ(type(0, "quantity received", "6"), Entry::Accepted);
    ASSERT_EQ(type(1, "location", "A-01"), Entry::Accepted);
    fail_each_statement(to_int(CommandId::Save), "update failed", false);
    EXPECT_EQ(prompter.last(), "update complete");
    EXPECT_EQ(open_quantity(po, 1), Decimal(4));
    expect_consistent();
    ASSERT_TRUE(window.execute(CommandId::RefreshRecord));

    fail_each_statement(to_int(CommandId::Void), "Void receipt failed", true);
    EXPECT_TRUE(prompter.messages().contains("Receipt RO-26-00001 is void."));
    EXPECT_EQ(open_quantity(po, 1), Decimal(10));
    expect_consistent();
}

TEST_F(ReceiptWindow, ReadingFailuresAreReportedAsFailures)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    ASSERT_EQ(receive_all("V1001", po), "RO-26-00001");
    prompter.clear();
    window.set_field("docno", "RO-26-00001");
    t.db().fail_statement(1);
    window.display_by_number();
    EXPECT_EQ(prompter.messages(), QStringList{"Read Receipt no. RO-26-00001 failed"});

    // The vendor's orders, and a chosen order's lines.
    ASSERT_TRUE(window.execute(CommandId::New));
    prompter.clear();
    t.db().fail_statement(2);
    EXPECT_EQ(window.type_into("vendor_no", "V1001"), Entry::Refused);
    EXPECT_EQ(prompter.messages(), QStringList{"Reading the orders of V1001 failed"});
    const QString other = order("V1001", {{"BOLT-M8", "1", "box", "12"}});
    ASSERT_EQ(window.type_into("vendor_no", "V1002"), Entry::Accepted);
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    prompter.clear();
    t.db().fail_statement(1);
    window.type_into("pono", other);
    EXPECT_EQ(prompter.messages(), QStringList{"Reading PO no. " + other + " failed"});
    EXPECT_EQ(window.order_lines().row_count(), 0);
}

} // namespace
} // namespace zelkor
