// Saved bills: shown by number and browsed, guarded from edits they may no longer take, and the
// records, documents and help they lead to.
#include "tests/support/bill_window_fixture.h"

#include <QAction>
#include <QDockWidget>
#include <QTableView>

#include "tests/support/view_test_support.h"

namespace zelkor {
namespace {

class StoredBills : public BillWindow {
protected:
    void SetUp() override
    {
        StoredBill bill;
        bill.icfkey = "1ij-4";
        stored_bill(bill);
        bill = {};
        bill.key_number = 2;
        bill.invoice_no = "INV-2";
        bill.payby = "Cash";
        stored_bill(bill);
        bill = {};
        bill.key_number = 3;
        bill.invoice_no = "INV-3";
        bill.is_void = true;
        stored_bill(bill);
        bill.key_number = 4;
        bill.invoice_no = "INV-4";
        bill.is_void = false;
        bill.paid = bill.fully_paid = true;
        stored_bill(bill);
        bill.key_number = 5;
        bill.invoice_no = "INV-5";
        bill.fully_paid = false;
        stored_bill(bill);
        // A landed bill shares the table and its numbers' shape.
        ASSERT_TRUE(t.db().execute("INSERT INTO PO_invoice_header_table (company, fkey, doctype, docno, vendor_no)"
                                   " VALUES (1, '1ld-1', 'ld', 'LD-26-00001', 'V3002')"));
    }

    /// Shows the bill, read again when it is already shown.
    void show(const QString& docno)
    {
        if (window.field("docno") == docno) {
            ASSERT_TRUE(window.execute(CommandId::RefreshRecord));
        }
        ASSERT_EQ(window.type_into("docno", docno), Entry::Accepted);
        ASSERT_EQ(window.field("docno"), docno);
    }
    QString refused_edit(const QString& docno)
    {
        show(docno);
        prompter.clear();
        EXPECT_FALSE(window.execute(CommandId::EditMode));
        EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
        return prompter.last();
    }
    QString last_notification() const
    {
        if (notifications.empty())
            return {};
        const WindowNotification& last = notifications.back();
        return last.formx + u'|' + last.docnox + u'|' + last.arg2;
    }
};

TEST_F(StoredBills, AreShownByNumberAndBrowsedByKey)
{
    POclass facade;
    connect(facade);
    facade.showform_POform_invoice("VI-26-00001");
    POform_invoice& shown = *facade.frm_invoice();
    EXPECT_EQ(shown.field("vendor_name"), "Acme Industrial Supply");
    EXPECT_EQ(shown.field("invoice_no"), "INV-1");
    EXPECT_EQ(shown.field("invoice_date"), "10/03/2026");
    EXPECT_EQ((QStringList{shown.field("period"), shown.field("fyear"), shown.field("payment_term")}),
              (QStringList{"3", "2026", "30"}));
    EXPECT_EQ((QStringList{shown.field("subtotal"), shown.field("excluded_tax"), shown.field("total")}),
              (QStringList{"100.00", "6.00", "106.00"}));
    EXPECT_EQ(rows(shown.lines(), {"item no", "item code", "description", "extended cost", "account name", "receipt no"}),
              (QStringList{"1|WIDGET-A|Widget type A|60.00|Inventory - merchandise|RO-26-00001",
                           "2|MANUAL-OPS|Operating manual|40.00|Office supplies|RO-26-00001", "||second edition|||"}));
    ASSERT_TRUE(shown.execute(CommandId::TaxSummary));
    EXPECT_EQ(rows(*shown.grid("grid_tax_summary"), {"tax authority", "taxable amount", "tax amount"}),
              QStringList{"STATE|100.00|6.00"});
    facade.POform_invoice_goto_docno("VI-26-00004");
    EXPECT_EQ(shown.field("invoice_no"), "INV-4");

    ASSERT_TRUE(window.execute(CommandId::LastRecord));
    EXPECT_EQ(window.field("docno"), "VI-26-00005");
    ASSERT_TRUE(window.execute(CommandId::PreviousRecord));
    EXPECT_EQ(window.field("docno"), "VI-26-00004");
    EXPECT_TRUE(window.find_field("paid")->checked());
    show("VI-26-00001");
    ASSERT_TRUE(window.execute(CommandId::NextRecord));
    EXPECT_EQ(window.field("docno"), "VI-26-00002");
    // A landed bill's number is not a bill's.
    prompter.clear();
    ASSERT_EQ(window.type_into("docno", "LD-26-00001"), Entry::Accepted);
    EXPECT_EQ(prompter.messages(), QStringList{"LD-26-00001 not found."});
    EXPECT_EQ(window.lines().row_count(), 0);
}

TEST_F(StoredBills, EditIsRefusedForVoidPaidAndClosedBillsAndKeepsWhatWasPosted)
{
    EXPECT_EQ(refused_edit("VI-26-00003"), "VI-26-00003 was void.");
    EXPECT_EQ(refused_edit("VI-26-00004"), "VI-26-00004 was paid.");
    EXPECT_EQ(refused_edit("VI-26-00005"), "VI-26-00005 was partially paid.");
    // Paid by another user since it was shown.
    show("VI-26-00001");
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET paid = TRUE WHERE fkey = '1vi-1'"));
    EXPECT_FALSE(window.execute(CommandId::EditMode));
    EXPECT_EQ(prompter.last(), "VI-26-00001 was partially paid.");
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET paid = FALSE WHERE fkey = '1vi-1'"));
    ASSERT_TRUE(t.db().execute("UPDATE COA_config_table SET working_start_period = 4"));
    EXPECT_EQ(refused_edit("VI-26-00001"), "Fiscal period/year is out of working period.");
    ASSERT_TRUE(t.db().execute("UPDATE COA_config_table SET working_start_period = 1"));

    show("VI-26-00001");
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    for (const char* kept : {"vendor_no", "invoice_date", "currency", "period", "fyear", "prepayment", "prepayment_no"})
        EXPECT_FALSE(window.field_editable(kept)) << kept;
    EXPECT_TRUE(window.field_editable("invoice_no"));
    // Another live bill's number is refused and nothing is written.
    ASSERT_EQ(window.type_into("invoice_no", "INV-2"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "Vendor invoice no INV-2 exist");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Edit);
    prompter.answer_no();
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    EXPECT_EQ(prompter.last(), "Do you want to save editing?");
    EXPECT_EQ(window.field("invoice_no"), "INV-1");

    // Void is refused for a void, paid or partly paid bill and fails for one whose cost correction
    // document is missing; No or a refusal leaves everything as it was.
    show("VI-26-00003");
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.last(), "VI-26-00003 was void");
    show("VI-26-00004");
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.last(), "VI-26-00004 was paid.");
    show("VI-26-00005");
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.last(), "VI-26-00005 was partially paid.");
    show("VI-26-00001");
    const QStringList before = t.snapshot();
    prompter.answer_no();
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.last(), "Are you sure to void this bill?");
    prompter.answer_yes();
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_TRUE(prompter.messages().contains("Void invoice failed")) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(t.snapshot(), before);
    // Paid by another user after the bill was shown: the void reads it again under lock.
    show("VI-26-00002");
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET paid = TRUE WHERE fkey = '1vi-2'"));
    const QStringList paid = t.snapshot();
    prompter.answer_yes();
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_TRUE(prompter.messages().contains("VI-26-00002 was partially paid.")) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(t.snapshot(), paid);
    // Written by another user since it was shown.
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET paid = FALSE, row_version = row_version + 1"
                               " WHERE fkey = '1vi-2'"));
    const QStringList changed = t.snapshot();
    prompter.clear();
    prompter.answer_yes();
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.messages().value(0), "VI-26-00002 was changed by another user. Refresh it and edit again.");
    EXPECT_EQ(t.snapshot(), changed);
}

TEST_F(StoredBills, RecordCommandsNameTheDocumentsABillLeadsTo)
{
    show("VI-26-00001");
    ASSERT_TRUE(window.execute(CommandId::JournalRecord));
    const Row keys = *t.db().first("SELECT GLFKEY, apfkey FROM PO_invoice_header_table WHERE docno = 'VI-26-00001'").value();
    EXPECT_EQ(last_notification(), "G/L Ledger Review|" + keys.text(u"GLFKEY") + "|VI-26-00001");
    ASSERT_TRUE(window.execute(POform_invoice::Command::IcRecord));
    EXPECT_EQ(last_notification(), "Inventory Adjustments|1ij-4|VI-26-00001");
    ASSERT_TRUE(window.execute(POform_invoice::Command::ApRecord));
    EXPECT_EQ(last_notification(), "Bill Entry|" + keys.text(u"apfkey") + "|VI-26-00001");
    ASSERT_TRUE(window.execute(CommandId::Preview));
    EXPECT_EQ(notifications.back().formx, "ActiveReport");
    EXPECT_EQ(notifications.back().arg2, "P/O Bill Entry,VI-26-00001,");
    EXPECT_TRUE(notifications.back().docnox.contains("PO_invoice_transaction_table.itemno"));
    window.lines().set_current(1, 0);
    ASSERT_TRUE(window.execute(POform_invoice::Command::ReceiptRecord));
    EXPECT_EQ(last_notification(), "Receipt Entry|RO-26-00001|");
    ASSERT_TRUE(window.execute(POform_invoice::Command::PoRecord));
    EXPECT_EQ(last_notification(), "Purchase Order|PO-26-00001|");
    ASSERT_TRUE(window.execute(CommandId::AccountMaster));
    EXPECT_EQ(last_notification(), "Account Master|6000|");
    ASSERT_TRUE(window.execute(CommandId::WindowHelp));
    EXPECT_TRUE(notifications.back().docnox.endsWith("PO Bill Entry Help.pdf"));

    // The vendor's bill lines since the start date, newest bill first; void bills are not history.
    ASSERT_TRUE(window.execute(POform_invoice::Command::InvoiceHistory));
    EXPECT_EQ(rows(*window.grid("grid_vi_history"), {"bill no", "bill date", "item no", "item code"}),
              (QStringList{"VI-26-00005|Mar 10, 2026|1|WIDGET-A", "VI-26-00005|Mar 10, 2026|2|MANUAL-OPS",
                           "VI-26-00004|Mar 10, 2026|1|WIDGET-A", "VI-26-00004|Mar 10, 2026|2|MANUAL-OPS",
                           "VI-26-00002|Mar 10, 2026|1|WIDGET-A", "VI-26-00002|Mar 10, 2026|2|MANUAL-OPS",
                           "VI-26-00001|Mar 10, 2026|1|WIDGET-A", "VI-26-00001|Mar 10, 2026|2|MANUAL-OPS"}));
    ASSERT_TRUE(window.type_into("invoice_history_from", "11/03/2026") == Entry::Accepted);
    EXPECT_EQ(window.grid("grid_vi_history")->row_count(), 0);

    show("VI-26-00002");
    prompter.clear();
    EXPECT_FALSE(window.execute(POform_invoice::Command::IcRecord));
    EXPECT_FALSE(window.execute(POform_invoice::Command::ApRecord));
    EXPECT_EQ(prompter.messages(), (QStringList{"No Inventory Adjustment created from this bill.",
                                                "The invoice was paid by cash"}));

    // The document panes need a vendor to list anything.
    ASSERT_TRUE(window.execute(CommandId::New));
    prompter.clear();
    EXPECT_FALSE(window.execute(POform_invoice::Command::ReceiptWindow));
    EXPECT_FALSE(window.execute(POform_invoice::Command::PoWindow));
    EXPECT_EQ(prompter.messages(), (QStringList{"Please specify vendor", "Please specify vendor"}));
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    ASSERT_TRUE(window.execute(POform_invoice::Command::ReceiptWindow));
    EXPECT_TRUE(window.find_pane("receipt")->visible);
}

TEST_F(StoredBills, TheViewShowsABillTakenFromAReceipt)
{
    const QString rc = receipt(order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"MANUAL-OPS", "2", "each", "15"}}),
                               {{1, "10"}, {2, "2"}});
    start("V1001");
    ASSERT_EQ(window.type_into("receipt_no", rc), Entry::Accepted);
    QPointer<WindowView> view = testing::show_in_view(window, prompter);
    QTableView* table = view->grid_view("dbgrid1");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->rowCount(), window.lines().row_count());
    EXPECT_TRUE(table->isColumnHidden(window.lines().required_column("tax array no")));
    EXPECT_EQ(table->model()->index(0, window.lines().required_column("item code")).data().toString(), "WIDGET-A");
    ASSERT_NE(view->pane_dock("receipt"), nullptr);
    view->action(to_int(POform_invoice::Command::ReceiptWindow))->trigger();
    EXPECT_TRUE(view->pane_dock("receipt")->isVisible());
    testing::save_screenshot(*view, "POform_invoice");
    EXPECT_FALSE(view->grab().isNull());
    delete view;
}

} // namespace
} // namespace zelkor
