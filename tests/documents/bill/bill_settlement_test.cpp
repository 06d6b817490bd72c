// How a bill is settled: every pay-by with and without a prepayment, a term discount over two
// tax codes, and order lines billed without a receipt; each saved bill keeps the books and its
// void puts every figure back.
#include "bill_posting_fixture.h"


namespace zelkor {
namespace {

class BillSettlement : public BillPosting {
protected:
    /// A direct bill of the vendor: one office-supply line of `amount` (tax code ST: 6%).
    void direct_bill(const QString& vendor, const QString& invoice_no, const QString& amount)
    {
        start(vendor);
        ASSERT_EQ(window.type_into("invoice_no", invoice_no), Entry::Accepted);
        ASSERT_EQ(type(0, "item type", "4"), Entry::Accepted);
        ASSERT_EQ(type(0, "item code", "SUPPLIES"), Entry::Accepted);
        ASSERT_EQ(type(0, "extended cost", amount), Entry::Accepted);
        ASSERT_EQ(type(0, "tax code", "ST"), Entry::Accepted);
        ASSERT_EQ(type(0, "account", "6000"), Entry::Accepted);
    }
    void pay_by(const QString& payby)
    {
        ASSERT_EQ(window.type_into("payby", payby), Entry::Accepted) << prompter.last().toStdString();
        if (payby == "Cash" || payby == "Check") {
            ASSERT_EQ(window.type_into("bank_code", "OPER"), Entry::Accepted);
        }
        if (payby == "Check") {
            ASSERT_EQ(window.type_into("check_no", "301"), Entry::Accepted);
            ASSERT_EQ(window.type_into("check_date", "16/03/2026"), Entry::Accepted);
        }
    }
    Decimal owing(const QString& vendor)
    {
        return t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = ?", {vendor});
    }
};

TEST_F(BillSettlement, EveryPayByWithAndWithoutAPrepaymentKeepsTheBooksAndItsVoidPutsThemBack)
{
    struct Case {
        QString payby;
        QString prepayment;
        Decimal owed;
    };
    // 200 and 12 of tax: paid at once owes nothing; a prepayment paid now leaves the rest owed.
    const std::vector<Case> cases{{"Pay Later", "", Decimal(212)}, {"Cash", "", Decimal(0)},
                                  {"Check", "", Decimal(0)},       {"VISA", "", Decimal(0)},
                                  {"Cash", "50", Decimal(162)},    {"Check", "50", Decimal(162)},
                                  {"VISA", "50", Decimal(162)}};
    const QStringList before = bill_figures(t);
    int number = 0;
    for (const Case& wanted : cases) {
        SCOPED_TRACE((wanted.payby + " " + wanted.prepayment).toStdString());
        const QString docno = QStringLiteral("VI-26-%1").arg(++number, 5, 10, QChar(u'0'));
        direct_bill("V1001", "M-" + QString::number(number), "200");
        pay_by(wanted.payby);
        if (!wanted.prepayment.isEmpty()) {
            ASSERT_EQ(window.type_into("prepayment", wanted.prepayment), Entry::Accepted);
        }
        EXPECT_EQ(save(), "Add new invoice " + docno + " complete");
        EXPECT_EQ(owing("V1001"), wanted.owed);
        expect_consistent();
        prompter.clear();
        const bool shown = window.execute(POform_invoice::Command::ApRecord);
        if (wanted.payby == "Cash" && wanted.prepayment.isEmpty())
            EXPECT_EQ(prompter.last(), "The invoice was paid by cash");
        else
            EXPECT_TRUE(shown);
        EXPECT_EQ(void_bill_number(docno), "Document no. " + docno + " is void.");
        EXPECT_EQ(bill_figures(t), before);
        expect_consistent();
    }

    // Pay Later applying a prepayment made earlier: the advance comes off what is owed, and a
    // void puts it back to waiting for its order.
    direct_bill("V1003", "NW-1", "200");
    ASSERT_EQ(window.type_into("prepayment", "150"), Entry::Accepted);
    ASSERT_EQ(window.type_into("prepayment_no", "ADV-001"), Entry::Accepted) << prompter.last().toStdString();
    EXPECT_EQ(save(), "Add new invoice VI-26-00008 complete");
    EXPECT_EQ(owing("V1003"), Decimal(62));
    EXPECT_EQ(t.count("Payment_header_table WHERE docno = 'ADV-001' AND billed = TRUE"), 1);
    expect_consistent();
    EXPECT_EQ(void_bill_number("VI-26-00008"), "Document no. VI-26-00008 is void.");
    EXPECT_EQ(bill_figures(t), before);
    expect_consistent();
}

TEST_F(BillSettlement, ATermDiscountOverTwoTaxCodesComesOffThePayable)
{
    direct_bill("V1001", "DISC-1", "100");
    lines().append_row();
    ASSERT_EQ(type(1, "item type", "4"), Entry::Accepted);
    ASSERT_EQ(type(1, "item code", "EXEMPT-PART"), Entry::Accepted);
    ASSERT_EQ(type(1, "extended cost", "50"), Entry::Accepted);
    ASSERT_EQ(type(1, "tax code", "EXEMPT"), Entry::Accepted);
    ASSERT_EQ(type(1, "account", "6100"), Entry::Accepted);
    ASSERT_EQ(window.type_into("discount_amount", "15"), Entry::Accepted);
    EXPECT_EQ(window.field("net_amount"), "141.00");
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    EXPECT_EQ(posted("VI-26-00001", "4100"), Decimal(15));
    EXPECT_EQ(posted("VI-26-00001", "1400"), Decimal(6));
    EXPECT_EQ(owing("V1001"), Decimal(141));
    expect_consistent();
}

TEST_F(BillSettlement, AnOrdersServiceLinesAreBilledInTheOrdersUnitAndReopenedByTheVoid)
{
    const QString po = order("V1001", {{"MANUAL-OPS", "3", "each", "15"}, {"INSTALL", "2", "", "80", "5"}});
    const QStringList before = bill_figures(t);
    start("V1001");
    ASSERT_EQ(window.type_into("invoice_no", "SRV-1"), Entry::Accepted);
    ASSERT_EQ(window.type_into("po_no", po), Entry::Accepted);
    ASSERT_TRUE(window.activate_row(window.order_lines(), 0));
    ASSERT_TRUE(window.activate_row(window.order_lines(), 1));
    // Two of three manuals, the rest still due; one of two installations, the other cancelled.
    ASSERT_EQ(type(0, "quantity", "2"), Entry::Accepted);
    ASSERT_EQ(type(1, "quantity", "1"), Entry::Accepted);
    ASSERT_EQ(type(1, "complete", check_text(true)), Entry::Accepted);
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    auto line = [&](int itemno, const char* column) {
        return t.decimal(QStringLiteral("SELECT ") + column + " FROM PO_transaction_table WHERE docno = ? AND itemno = ?",
                         {po, itemno});
    };
    EXPECT_EQ(line(1, "quantity_open_for_bill"), Decimal(1));
    EXPECT_EQ(line(1, "quantity_billed"), Decimal(2));
    EXPECT_EQ(line(2, "quantity_open_for_bill"), Decimal(0));
    EXPECT_EQ(t.count("PO_header_table WHERE billed = TRUE AND fully_billed = FALSE"), 1);
    expect_consistent();

    // The rest of the manuals completes the order.
    start("V1001");
    ASSERT_EQ(window.type_into("invoice_no", "SRV-2"), Entry::Accepted);
    ASSERT_EQ(window.type_into("po_no", po), Entry::Accepted);
    ASSERT_TRUE(window.activate_row(window.order_lines(), 0));
    EXPECT_EQ(save(), "Add new invoice VI-26-00002 complete");
    EXPECT_EQ(t.count("PO_header_table WHERE fully_billed = TRUE"), 1);
    expect_consistent();

    // Voiding the first bill reopens only what it billed and closed.
    EXPECT_EQ(void_bill_number("VI-26-00001"), "Document no. VI-26-00001 is void.");
    EXPECT_EQ(line(1, "quantity_open_for_bill"), Decimal(2));
    EXPECT_EQ(line(2, "quantity_open_for_bill"), Decimal(2));
    expect_consistent();
    EXPECT_EQ(void_bill_number("VI-26-00002"), "Document no. VI-26-00002 is void.");
    EXPECT_EQ(bill_figures(t), before);
    expect_consistent();
}

TEST_F(BillSettlement, AnOrderEditedDownToWhatWasBilledIsFullyBilledAndOpensAgainWhenRaised)
{
    const QString po = order("V1001", {{"MANUAL-OPS", "3", "each", "15"}});
    bill_first_order_line(po, "SRV-1", "2");
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    OrderEditor editor(t.db(), folder.path());
    auto stored = [&](const char* query) { return t.text(QString::fromLatin1(query), {po}); };
    const char* line = "SELECT quantity_open_for_bill || '|' || CASE WHEN fully_billed THEN 'fully' ELSE 'open' END"
                       " FROM PO_transaction_table WHERE docno = ?";
    const char* header = "SELECT CASE WHEN fully_billed THEN 'fully' ELSE 'open' END FROM PO_header_table WHERE docno = ?";

    // Down to the 2 billed: nothing is left to bill, so the line and the order are fully billed
    // and the order leaves the list of orders to bill.
    editor.save_first_quantity(po, "2");
    EXPECT_EQ(t.decimal("SELECT quantity_open_for_bill FROM PO_transaction_table WHERE docno = ?", {po}), Decimal(0));
    EXPECT_EQ(stored(header), "fully");
    EXPECT_TRUE(stored(line).endsWith("|fully")) << stored(line).toStdString();
    expect_consistent();
    start("V1001");
    EXPECT_TRUE(window.find_field("po_no")->choices.rows.empty());

    // Raised to 4: two are due again.
    editor.save_first_quantity(po, "4");
    EXPECT_EQ(t.decimal("SELECT quantity_open_for_bill FROM PO_transaction_table WHERE docno = ?", {po}), Decimal(2));
    EXPECT_EQ(stored(header), "open");
    EXPECT_TRUE(stored(line).endsWith("|open")) << stored(line).toStdString();
    expect_consistent();
    // The bill started above lists the vendor's orders again when its vendor is chosen again.
    ASSERT_EQ(window.type_into("vendor_no", "V1002"), Entry::Accepted);
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    EXPECT_EQ(window.find_field("po_no")->choices.rows, (std::vector<QStringList>{{po}}));
}

} // namespace
} // namespace zelkor
