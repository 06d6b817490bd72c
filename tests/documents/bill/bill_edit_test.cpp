// Edited bills: an edit of prices and quantities takes the old postings back and writes them
// again, the payable and owing follow, the number stays unique, and a failure anywhere leaves the
// bill as it was stored.
#include "bill_posting_fixture.h"

namespace zelkor {
namespace {

class BillEdit : public BillPosting {
protected:
    /// A receipt of ten boxes of widgets at 30 billed whole as INV-1: VI-26-00001.
    QString billed_receipt()
    {
        const QString rc = receipt(order("V1001", {{"WIDGET-A", "10", "box", "30"}}), {{1, "10"}});
        bill_receipt(rc, "INV-1");
        EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
        return rc;
    }
    void edit() { ASSERT_TRUE(window.execute(CommandId::EditMode)) << prompter.messages().join(" | ").toStdString(); }
    Row header() { return *t.db().first("SELECT * FROM PO_invoice_header_table WHERE docno = 'VI-26-00001'").value(); }
};

TEST_F(BillEdit, AnEditOfPricesAndQuantitiesRepostsRewritesThePayableAndMovesOwing)
{
    const QString rc = receipt(order("V1001", {{"WIDGET-A", "10", "box", "30"}}), {{1, "10"}});
    const QStringList before = bill_figures(t);
    bill_receipt(rc, "INV-1");
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    const QString first_entry = header().text(u"GLFKEY");
    const QString payable = header().text(u"apfkey");
    EXPECT_EQ(t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1001'"), Decimal("318.00"));

    // Dearer by 2 a box, under a corrected bill number.
    edit();
    ASSERT_EQ(type(0, "unit cost", "32"), Entry::Accepted);
    ASSERT_EQ(window.type_into("invoice_no", "INV-1A"), Entry::Accepted);
    EXPECT_EQ(save(), "Update bill VI-26-00001 complete");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    const Row edited = header();
    EXPECT_NE(edited.text(u"GLFKEY"), first_entry);
    EXPECT_EQ(edited.text(u"apfkey"), payable);
    EXPECT_FALSE(edited.text(u"icfkey").isEmpty());
    EXPECT_EQ(t.text("SELECT Description FROM GL_header_table WHERE fkey = ?", {first_entry}), "Edit invoice VI-26-00001");
    EXPECT_EQ(t.text("SELECT GLFKEY FROM AP_header_table WHERE fkey = ?", {payable}), edited.text(u"GLFKEY"));
    EXPECT_EQ(t.text("SELECT invoice_no FROM AP_header_table WHERE fkey = ?", {payable}), "INV-1A");
    EXPECT_EQ(t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1001'"), Decimal("339.20"));
    EXPECT_EQ(t.decimal("SELECT amount_billed FROM PO_receipt_transaction_table WHERE docno = ?", {rc}), Decimal(320));
    EXPECT_EQ(posted("VI-26-00001", "1300"), Decimal(20));
    expect_consistent();

    // A bill saved before its header kept the payable's number: the data check names it, and an
    // edit writes the number.
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET ap_docno = NULL WHERE docno = 'VI-26-00001'"));
    auto violations = check_invariants(t.db(), engine_invariant_checks());
    ASSERT_TRUE(violations);
    EXPECT_EQ(*violations, QStringList{"bills own their postings: bill VI-26-00001 keeps no payable number (its payable"
                                       " is IP-26-00001)"});
    // Eight of the ten: two stay open, and the cost correction is written again.
    edit();
    ASSERT_EQ(type(0, "quantity", "8"), Entry::Accepted);
    EXPECT_EQ(save(), "Update bill VI-26-00001 complete");
    EXPECT_EQ(t.decimal("SELECT quantity_open_for_bill FROM PO_receipt_transaction_table WHERE docno = ?", {rc}), Decimal(2));
    EXPECT_EQ(t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1001'"), Decimal("271.36"));
    EXPECT_EQ(t.count("IN_header_table WHERE doctype = 'ij' AND void = FALSE"), 1);
    EXPECT_EQ(header().text(u"ap_docno"), "IP-26-00001");
    expect_consistent();

    EXPECT_EQ(void_bill_number("VI-26-00001"), "Document no. VI-26-00001 is void.");
    EXPECT_EQ(bill_figures(t), before);
    expect_consistent();
}

TEST_F(BillEdit, AnEditAtANewPriceCorrectsTheCostAsTheSameBillSavedNewWould)
{
    // Eight boxes received and billed at 30.00, then the bill edited to 31.00: its entry and the
    // cost layer are those of a new bill at 31.00 (8.00 more on inventory, the layer at 248.00).
    const QString rc = receipt(order("V1001", {{"WIDGET-A", "8", "box", "30"}}), {{1, "8"}});
    bill_receipt(rc, "INV-8");
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    EXPECT_EQ(posted("VI-26-00001", "1300"), Decimal(0));
    edit();
    ASSERT_EQ(type(0, "unit cost", "31"), Entry::Accepted);
    EXPECT_EQ(save(), "Update bill VI-26-00001 complete");
    EXPECT_EQ(posted("VI-26-00001", "1300"), Decimal(8));
    EXPECT_EQ(t.decimal("SELECT amount FROM FIFO_table WHERE receipt_no = ?", {rc}), Decimal(248));
    EXPECT_EQ(t.decimal("SELECT SUM(t.extended_cost) FROM IN_transaction_table t INNER JOIN IN_header_table h"
                        " ON h.fkey = t.fkey WHERE h.void = FALSE AND h.doctype = 'ij'"),
              Decimal(8));
    expect_consistent();
}

TEST_F(BillEdit, AnEditKeepsItsNumberUniqueAndIsRefusedOnceTheBillIsPaidOrVoid)
{
    billed_receipt();
    start("V1001");
    ASSERT_EQ(window.type_into("invoice_no", "INV-2"), Entry::Accepted);
    ASSERT_EQ(type(0, "item code", "HANDLING"), Entry::Accepted);
    ASSERT_EQ(type(0, "extended cost", "10"), Entry::Accepted);
    EXPECT_EQ(save(), "Add new invoice VI-26-00002 complete");

    // Another bill's number is refused; its own is not.
    show("VI-26-00001");
    edit();
    ASSERT_EQ(window.type_into("invoice_no", "INV-2"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "Vendor invoice no INV-2 exist");
    ASSERT_EQ(window.type_into("invoice_no", "INV-1"), Entry::Accepted);
    EXPECT_EQ(save(), "Update bill VI-26-00001 complete");

    // Paid meanwhile by another user: the edit is refused under lock and nothing changes.
    edit();
    ASSERT_TRUE(t.db().execute("UPDATE AP_transaction_table SET paid_amount = paid_amount - 10 WHERE fkey = ?",
                               {header().text(u"apfkey")}));
    prompter.clear();
    const QStringList before = t.snapshot();
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages(), (QStringList{"VI-26-00001 was partially paid.", "Update bill failed"}));
    EXPECT_EQ(t.snapshot(), before);
    EXPECT_EQ(window.mode(), WindowModel::Mode::Edit);
}

TEST_F(BillEdit, EveryStatementOfAnEditAndOfAVoidWithACostCorrectionFailsCleanly)
{
    billed_receipt();
    edit();
    ASSERT_EQ(type(0, "unit cost", "31"), Entry::Accepted);
    fail_each_statement(CommandId::Save, "Update bill failed", false);
    // Only a read after the commit may fail now: the bill is saved.
    EXPECT_TRUE(prompter.messages().contains("Update bill VI-26-00001 complete"));
    ASSERT_FALSE(header().text(u"icfkey").isEmpty());
    expect_consistent();
    show("VI-26-00001");
    fail_each_statement(CommandId::Void, "Void invoice failed", true);
    EXPECT_EQ(prompter.last(), "Document no. VI-26-00001 is void.");
    expect_consistent();
}

} // namespace
} // namespace zelkor
