// The landed-cost window driven as a clerk would: the charge grid's cells, the checks of a save
// in their order, the question of a bill without receipts, and a bill saved, edited, printed,
// linked to its records and voided.
#include "tests/support/landed_fixture.h"
#include "tests/support/receipt_window_fixture.h"
#include "windows/landed/POform_landed.h"
#include "windows/receipt/POform_receipt.h"

namespace zelkor {
namespace {

class LandedWindow : public LandedFixture {
protected:
    LandedWindow()
    {
        window.apply_settings(receipt_settings(t.db()));
        window.set_prompter(&prompter);
        QObject::connect(&window, &WindowModel::NotifyClients,
                         [this](const QString& formx, const QString& docnox, const QString& arg2) {
                             notifications.push_back({formx, docnox, arg2});
                         });
        window.open();
    }

    Grid& lines() { return window.lines(); }
    Entry cell(int row, const char* column, const QString& value) { return lines().type_cell(row, column, value); }

    /// A new bill of V3002 (invoice "CB-1") with one charge of `amount`.
    void start(const QString& code, const QString& amount)
    {
        ASSERT_TRUE(window.execute(CommandId::New));
        ASSERT_EQ(window.type_into("vendor_no", "V3002"), Entry::Accepted);
        ASSERT_EQ(window.type_into("invoice_no", "CB-1"), Entry::Accepted);
        ASSERT_EQ(cell(0, "item code", code), Entry::Accepted) << prompter.last().toStdString();
        ASSERT_EQ(cell(0, "unit cost", amount), Entry::Accepted) << prompter.last().toStdString();
        ASSERT_EQ(cell(0, "unit of measurement", "each"), Entry::Accepted) << prompter.last().toStdString();
    }
    void cover(const QString& receipt)
    {
        ASSERT_EQ(window.type_into("primary_vendor", "V1001"), Entry::Accepted);
        ASSERT_EQ(window.type_into("receipt_no", receipt), Entry::Accepted) << prompter.last().toStdString();
    }
    QString save()
    {
        window.execute(CommandId::Save);
        return prompter.last();
    }

    ScriptedPrompter prompter;
    POform_landed window;
    std::vector<Notification> notifications;
};

TEST_F(LandedWindow, ANewLineTakesTheChargesDetailsAndCellsRefuseWhatTheyCannotHold)
{
    start("FREIGHT", "90");
    EXPECT_EQ(lines().cell(0, "description"), "Freight charge");
    EXPECT_EQ(lines().cell(0, "account"), "5200");
    EXPECT_EQ(lines().cell(0, "tax code"), "ST"); // the company's default, not the charge's own
    EXPECT_EQ(lines().cell(0, "extended cost"), "90.00");
    EXPECT_EQ(lines().cell(0, "tax amount"), "5.40");
    EXPECT_EQ(window.field("total"), "95.40");
    EXPECT_EQ(cell(0, "quantity", "two"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "please input numeric data");
    EXPECT_EQ(cell(0, "tax code", "NOPE"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "tax code is invalid.");
    EXPECT_EQ(cell(0, "account", "9999"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "account is invalid.");
    EXPECT_EQ(cell(0, "unit of measurement", "parsec"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "Invalid uom");
    EXPECT_EQ(cell(1, "item code", "WIDGET-A"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "WIDGET-A is invalid.");
}

TEST_F(LandedWindow, SaveChecksInOrderAndABillWithoutReceiptsIsExpensedOnlyAfterYes)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_EQ(save(), "please specify vendor");
    ASSERT_EQ(window.type_into("vendor_no", "V3002"), Entry::Accepted);
    EXPECT_EQ(save(), "No detail line");
    ASSERT_EQ(cell(0, "item code", "FREIGHT"), Entry::Accepted);
    EXPECT_EQ(save(), "please specify vendor's invoice number");
    ASSERT_EQ(window.type_into("invoice_no", "CB-1"), Entry::Accepted);
    window.set_field("payment_term", QString());
    EXPECT_EQ(save(), "Please specify Payment term");
    ASSERT_EQ(window.type_into("payment_term", "00"), Entry::Accepted);
    EXPECT_EQ(save(), "please specify amount for FREIGHT");
    ASSERT_EQ(cell(0, "unit cost", "25"), Entry::Accepted);
    EXPECT_EQ(save(), "please specify unit of measurement for FREIGHT");
    ASSERT_EQ(cell(0, "unit of measurement", "each"), Entry::Accepted);
    const QStringList before = t.snapshot();
    // An amount typed on a line without its charge is refused by its line, not left out.
    window.lines().set_row_count(2);
    ASSERT_EQ(cell(1, "extended cost", "40"), Entry::Accepted);
    EXPECT_EQ(save(), "please specify item code for line 2");
    EXPECT_EQ(t.snapshot(), before);
    window.lines().remove_row(1);
    prompter.answer_no();
    EXPECT_EQ(save(), "None of receipt is specified. All landed cost item will be expensed.\n"
                      "Press Yes if you want to continue or No if you want to specify receipt number.");
    EXPECT_EQ(t.snapshot(), before);
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    prompter.answer_yes();
    EXPECT_EQ(save(), "Add new landed bill LD-26-00001 complete");
    EXPECT_EQ(journal(window.field("GLFKEY")), QStringList({"1400 1.50 1.50", "2000 26.50 26.50", "5200 25.00 25.00"}));
    expect_consistent();
}

TEST_F(LandedWindow, ABillIsSavedLinkedPrintedEditedAndVoidedAndItsReceiptCannotBeVoidedMeanwhile)
{
    const QString receipt = received({{"WIDGET-A", "10", "box", "30"}});
    const QString order = t.text("SELECT pono FROM PO_receipt_header_table WHERE docno = ?", {receipt});
    start("FREIGHT", "90");
    ASSERT_EQ(cell(0, "tax code", "EXEMPT"), Entry::Accepted);
    cover(receipt);
    ASSERT_EQ(save(), "Add new landed bill LD-26-00001 complete");
    EXPECT_EQ(layer(receipt, "WIDGET-A"), "120 390.00 3.25");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);

    notifications.clear();
    EXPECT_TRUE(window.execute(to_int(CommandId::Preview)));
    EXPECT_TRUE(window.execute(to_int(POform_landed::Command::IcRecord)));
    EXPECT_TRUE(window.execute(to_int(POform_landed::Command::ReceiptRecord)));
    EXPECT_TRUE(window.execute(to_int(POform_landed::Command::PoRecord)));
    ASSERT_EQ(notifications.size(), 4u);
    EXPECT_EQ(notifications[0].formx, "ActiveReport");
    EXPECT_EQ(notifications[0].arg2, "Landed Cost Entry,LD-26-00001,");
    EXPECT_EQ(notifications[1].formx, "Inventory Adjustments");
    EXPECT_EQ(notifications[2].docnox, receipt);
    EXPECT_EQ(notifications[3].formx, "Purchase Order");
    EXPECT_EQ(notifications[3].docnox, order);

    // The receipt's own window refuses to void it while the bill covers it.
    {
        ScriptedPrompter receipt_prompter;
        POform_receipt receipt_window;
        receipt_window.apply_settings(receipt_settings(t.db()));
        receipt_window.set_prompter(&receipt_prompter);
        receipt_window.open();
        receipt_window.type_into("docno", receipt);
        receipt_prompter.answer_yes();
        receipt_window.execute(CommandId::Void);
        EXPECT_TRUE(receipt_prompter.messages().contains(
            "Receipt " + receipt + " is covered by landed bill LD-26-00001. Void the landed bill first."))
            << receipt_prompter.messages().join(" | ").toStdString();
    }

    ASSERT_TRUE(window.execute(CommandId::EditMode));
    ASSERT_EQ(cell(0, "unit cost", "120"), Entry::Accepted);
    EXPECT_EQ(save(), "Update bill LD-26-00001 complete");
    EXPECT_EQ(layer(receipt, "WIDGET-A"), "120 420.00 3.5");
    EXPECT_EQ(owing("V3002"), Decimal("120.00"));
    expect_consistent();

    prompter.answer_yes();
    window.execute(CommandId::Void);
    EXPECT_EQ(prompter.last(), "Document no. LD-26-00001 is void.");
    EXPECT_EQ(layer(receipt, "WIDGET-A"), "120 300.00 2.5");
    EXPECT_EQ(owing("V3002"), Decimal());
    EXPECT_FALSE(window.execute(CommandId::EditMode));
    EXPECT_EQ(prompter.last(), "LD-26-00001 was void.");
    expect_consistent();
}

} // namespace
} // namespace zelkor
