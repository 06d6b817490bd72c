// The payable of a bill, its prepayment and the vendor's owing balance, written by the payables
// service inside a save's transaction, as a bill or a receipt does.
#include "payables/payables.h"

#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::TestDatabase;

const AuditStamp Stamp{QStringLiteral("ADMIN"), QStringLiteral("test"), QDate(2026, 3, 15), QStringLiteral("10:00:00")};

class Payables : public ::testing::Test {
protected:
    Database& db() { return t.db(); }

    /// A bill line of `extended` at the code's tax, as a window computes it.
    PayableLine line(const QString& item, const QString& tax_code, const char* extended, bool included = false)
    {
        const Decimal amount(extended);
        auto authorities = tax_code_authorities(db(), tax_code);
        EXPECT_TRUE(authorities);
        const TaxIncluded how = included ? TaxIncluded::Yes : TaxIncluded::No;
        TaxElements elements = tax_elements(1, taxable_amount(amount), *authorities, how);
        const LineTaxTotals totals = line_tax_totals(elements, amount, how);
        return {item, tax_code, amount, totals.tax_amount, totals.net_cost, included, elements};
    }

    /// A bill of V200 (term "210": 2 % in 10 days, net 30) on March 15, 2026.
    PayableBill bill(std::vector<PayableLine> lines)
    {
        PayableBill b;
        b.vendor_no = QStringLiteral("V200");
        b.invoice_no = QStringLiteral("INV-77");
        b.invoice_date = QDate(2026, 3, 15);
        b.currency = QStringLiteral("USD");
        b.payment_term = QStringLiteral("210");
        b.source = QStringLiteral("PO-BILL");
        b.source_docno = QStringLiteral("VI-26-00001");
        b.source_form = QStringLiteral("P/O Bill Entry");
        b.period = {QStringLiteral("2026"), 3};
        b.journal_key = QStringLiteral("1gl-9");
        b.lines = std::move(lines);
        b.stamp = Stamp;
        return b;
    }

    /// Two ST lines around one GP line: 105.00 + 56.44 + 21.00.
    std::vector<PayableLine> mixed_lines()
    {
        return {line("WIDGET", "ST", "100"), line("SERVICE", "GP", "50"), line("BOLT", "ST", "20")};
    }

    /// Locks the vendor, starts and creates the payable, raises the owing balance and commits:
    /// what a bill's save does.
    std::expected<CreatedPayable, Error> save(const PayableBill& b)
    {
        Transaction tx(db());
        if (auto vendor = lock_vendor_row(db(), b.vendor_no); !vendor)
            return std::unexpected(vendor.error());
        auto plan = start_payable(db(), b);
        if (!plan)
            return std::unexpected(plan.error());
        auto created = create_payable(db(), b, *plan, QStringLiteral("2000"));
        if (!created)
            return created;
        if (plan->prepayment > Decimal() && b.prepayment_no.isEmpty())
            if (auto paid = create_prepayment_payment(db(), b, created->number.docno, plan->prepayment); !paid)
                return std::unexpected(paid.error());
        if (auto raised = raise_owing_balance(db(), b.vendor_no, created->open_amount); !raised)
            return std::unexpected(raised.error());
        if (auto committed = tx.commit(); !committed)
            return std::unexpected(committed.error());
        return created;
    }

    /// The payable's lines: "pay_item tax_code gross open discount paid_amount paid".
    QStringList lines_of(const QString& fkey)
    {
        QStringList result;
        auto rows = db().select("SELECT pay_item, tax_code, gross_amount, open_amount, discount, paid_amount, paid"
                                " FROM AP_transaction_table WHERE fkey = ? ORDER BY pay_item",
                                {fkey});
        EXPECT_TRUE(rows);
        for (const Row& row : *rows)
            result << QStringList{row.text(u"pay_item"), row.text(u"tax_code"), row.decimal(u"gross_amount").to_fixed(2),
                                  row.decimal(u"open_amount").to_fixed(2), row.decimal(u"discount").to_fixed(2),
                                  row.decimal(u"paid_amount").to_fixed(2), row.flag(u"paid") ? "paid" : "open"}
                          .join(u' ');
        return result;
    }

    Decimal owing(const QString& vendor = QStringLiteral("V200"))
    {
        return t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = ?", {vendor});
    }

    QString refusal(const PayableBill& b)
    {
        Transaction tx(db());
        auto plan = start_payable(db(), b);
        return plan ? QString() : plan.error().message;
    }

    TestDatabase t;
};

TEST_F(Payables, TwoTaxCodesGiveTwoLinesAndADiscountContinuesOnTheSecond)
{
    PayableBill b = bill(mixed_lines());
    b.discount = QStringLiteral("130.004");
    auto created = save(b);
    ASSERT_TRUE(created) << created.error().message.toStdString();
    EXPECT_EQ(created->number.docno, "IP-26-00001");
    EXPECT_EQ(lines_of(created->number.fkey),
              (QStringList{"1 ST 126.00 0.00 126.00 0.00 open", "2 GP 56.44 52.44 4.00 0.00 open"}));
    auto header = db().first("SELECT * FROM AP_header_table WHERE fkey = ?", {created->number.fkey});
    ASSERT_TRUE(header && *header);
    EXPECT_EQ((*header)->date(u"due_date"), QDate(2026, 4, 14));
    EXPECT_EQ((*header)->date(u"discount_date"), QDate(2026, 3, 25));
    EXPECT_EQ((*header)->text(u"GLFKEY"), "1gl-9");
    EXPECT_EQ((*header)->text(u"Source"), "PO-BILL");
    // Taxable amounts and taxes summed per code; the discount offered rounded line by line.
    auto st = db().first("SELECT * FROM AP_transaction_table WHERE fkey = ? AND pay_item = 1", {created->number.fkey});
    ASSERT_TRUE(st && *st);
    EXPECT_EQ((*st)->decimal(u"taxable_amount"), Decimal(120));
    EXPECT_EQ((*st)->decimal(u"tax_amount"), Decimal(6));
    EXPECT_EQ((*st)->decimal(u"tax_amount1"), Decimal(6));
    EXPECT_EQ((*st)->text(u"tax_authority1"), "STATE");
    EXPECT_EQ((*st)->decimal(u"discount_available"), Decimal("2.40"));
    EXPECT_EQ((*st)->text(u"ap_accno"), "2000");
    EXPECT_EQ((*st)->text(u"docno"), "IP-26-00001");
    EXPECT_EQ((*st)->date(u"due_date"), QDate(2026, 4, 14));
    EXPECT_EQ(owing(), Decimal("52.44"));
}

TEST_F(Payables, APrepaymentSettlesTheLinesItCoversAndLeavesTheRestOpen)
{
    PayableBill b = bill(mixed_lines());
    b.prepayment = QStringLiteral("150");
    b.payby = PayByCheck;
    b.bank_code = QStringLiteral("OPER");
    b.check_no = QStringLiteral("1001");
    b.check_date = QDate(2026, 3, 15);
    b.payment_date = QDate(2026, 3, 14);
    b.po_no = QStringLiteral("PO-26-00003");
    auto created = save(b);
    ASSERT_TRUE(created) << created.error().message.toStdString();
    EXPECT_EQ(lines_of(created->number.fkey),
              (QStringList{"1 ST 126.00 0.00 0.00 -126.00 paid", "2 GP 56.44 32.44 0.00 -24.00 open"}));
    EXPECT_EQ(created->open_amount, Decimal("32.44"));
    EXPECT_EQ(owing(), Decimal("32.44"));
    // The payment of the prepayment, applied to the payable at once.
    auto payment = db().first("SELECT * FROM Payment_header_table WHERE doctype = 'pp'");
    ASSERT_TRUE(payment && *payment);
    EXPECT_EQ((*payment)->text(u"docno"), "PP-26-00001");
    EXPECT_EQ((*payment)->decimal(u"payment_amount"), Decimal(150));
    EXPECT_EQ((*payment)->text(u"bank_accno"), "OPER");
    EXPECT_EQ((*payment)->text(u"check_no"), "1001");
    EXPECT_EQ((*payment)->date(u"Payment_date"), QDate(2026, 3, 14));
    EXPECT_EQ((*payment)->text(u"GLFKEY"), "1gl-9");
    EXPECT_TRUE((*payment)->flag(u"billed"));
    EXPECT_EQ(t.text("SELECT ap_docno FROM Payment_transaction_table WHERE docno = 'PP-26-00001'"), "IP-26-00001");
    EXPECT_EQ(t.decimal("SELECT pay_amount FROM Payment_transaction_table"), Decimal(-150));
    EXPECT_EQ(t.decimal("SELECT gross_amount FROM AP_transaction_table WHERE doctype = 'pp'"), Decimal(-150));
    EXPECT_EQ(t.decimal("SELECT open_amount FROM AP_transaction_table WHERE doctype = 'pp'"), Decimal(0));
}

TEST_F(Payables, ACheckWithoutPrepaymentSettlesEveryLine)
{
    PayableBill b = bill(mixed_lines());
    b.payby = PayByCheck;
    b.discount = QStringLiteral("10");
    auto created = save(b);
    ASSERT_TRUE(created);
    EXPECT_EQ(lines_of(created->number.fkey),
              (QStringList{"1 ST 126.00 0.00 10.00 -116.00 paid", "2 GP 56.44 0.00 0.00 -56.44 paid"}));
    EXPECT_EQ(owing(), Decimal(0));
    EXPECT_EQ(t.count("Payment_header_table"), 0);
}

TEST_F(Payables, ATaxIncludedLineOwesItsExtendedCostOnly)
{
    auto created = save(bill({line("WIDGET", "ST", "105", true)}));
    ASSERT_TRUE(created);
    auto row = db().first("SELECT * FROM AP_transaction_table WHERE fkey = ?", {created->number.fkey});
    ASSERT_TRUE(row && *row);
    EXPECT_EQ((*row)->decimal(u"gross_amount"), Decimal(105));
    EXPECT_EQ((*row)->decimal(u"open_amount"), Decimal(105));
    EXPECT_EQ((*row)->decimal(u"taxable_amount"), Decimal(105));
    EXPECT_EQ((*row)->decimal(u"tax_amount"), Decimal(5));
    EXPECT_TRUE((*row)->flag(u"include_tax"));
    EXPECT_EQ(owing(), Decimal(105));
}

TEST_F(Payables, LineIdsStayAboveEveryReceivableAndTheEnginesOwnIds)
{
    ASSERT_TRUE(db().execute("INSERT INTO AR_transaction_table (id, company, fkey, doctype, customer_no) VALUES"
                             " (1, 1, '1ar-1', 'ar', 'C1'), (40, 1, '1ar-2', 'ar', 'C1')"));
    auto first = save(bill(mixed_lines()));
    ASSERT_TRUE(first);
    EXPECT_EQ(t.text("SELECT MIN(id) FROM AP_transaction_table"), "41");
    for (int more = 0; more < 10; ++more) {
        PayableBill b = bill({line("WIDGET", "ST", "10")});
        b.invoice_no = QStringLiteral("INV-%1").arg(more);
        ASSERT_TRUE(save(b)) << more;
    }
    EXPECT_EQ(t.count("AP_transaction_table"), 12);
    EXPECT_EQ(t.text("SELECT MAX(id) FROM AP_transaction_table"), "52");
    // A row another module adds with a generated id lands above them all.
    Transaction tx(db());
    auto id = db().insert_returning_id("INSERT INTO AP_transaction_table (company, fkey, doctype) VALUES (1, '1ip-x', 'ip')",
                                       {});
    ASSERT_TRUE(id) << id.error().detail.toStdString();
    EXPECT_GT(*id, 52);
}

TEST_F(Payables, WhatCannotBeSpreadOrPaidIsRefusedBeforeAnythingIsWritten)
{
    PayableBill b = bill(mixed_lines());
    b.payment_term = QStringLiteral("99");
    EXPECT_EQ(refusal(b), "payment term is invalid.");
    b = bill(mixed_lines());
    b.discount = QStringLiteral("abc");
    EXPECT_EQ(refusal(b), "Term discount is invalid.");
    b.discount = QStringLiteral("182.45");
    EXPECT_EQ(refusal(b), "Term discount is invalid.");
    b.discount = QStringLiteral("100");
    b.prepayment = QStringLiteral("82.45");
    b.payby = PayByCash;
    EXPECT_EQ(refusal(b), "Prepayment is invalid.");
    b.prepayment = QStringLiteral("-5");
    EXPECT_EQ(refusal(b), "Prepayment must be positive");
    b.prepayment = QStringLiteral("82.44");
    b.payby = PayLater;
    EXPECT_EQ(refusal(b), "please specify Pay-by for Prepayment");
    // A prepayment taken from an existing one needs no pay-by.
    b.prepayment_no = QStringLiteral("PP-1");
    EXPECT_EQ(refusal(b), QString());
    PayableLine untaxed = line("WIDGET", "ST", "10");
    untaxed.taxes.reset();
    EXPECT_EQ(refusal(bill({untaxed})), "No tax array number for item WIDGET");
    EXPECT_EQ(t.count("AP_header_table"), 0);
}

TEST_F(Payables, PayableAndPaymentNumbersKeepToThirtyCharacters)
{
    ASSERT_TRUE(db().execute("UPDATE Next_number_format_table SET prefix = 'PAYABLE-OF-A-VERY-LONG-NAME' WHERE doctype = 'ip'"));
    auto refused = save(bill(mixed_lines()));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "Error : document no. is longer than 30 characters. PAYABLE-OF-A-VERY-LONG-NAME-26-00001");
    ASSERT_TRUE(db().execute("UPDATE Next_number_format_table SET prefix = 'IP' WHERE doctype = 'ip'"));
    ASSERT_TRUE(db().execute("UPDATE Next_number_format_table SET prefix = 'PREPAYMENT-OF-A-LONG-NAME' WHERE doctype = 'pp'"));
    PayableBill b = bill(mixed_lines());
    b.prepayment = QStringLiteral("10");
    b.payby = QStringLiteral("VISA");
    refused = save(b);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "Error : document no. is longer than 30 characters. PREPAYMENT-OF-A-LONG-NAME-26-00001");
    EXPECT_EQ(t.count("AP_header_table"), 0);
    EXPECT_EQ(t.count("Payment_header_table"), 0);
    EXPECT_EQ(owing(), Decimal(0));
}

TEST_F(Payables, APrepaymentPaidNowNeedsItsMeansOfPayment)
{
    auto refusal_of = [&](const QString& payby, const QString& bank, const QString& check) {
        PayableBill b = bill(mixed_lines());
        b.prepayment = QStringLiteral("50");
        b.payby = payby;
        b.bank_code = bank;
        b.check_no = check;
        Transaction tx(db());
        auto paid = create_prepayment_payment(db(), b, QStringLiteral("IP-26-00001"), Decimal(50));
        return paid ? QString() : paid.error().message;
    };
    EXPECT_EQ(refusal_of("", "", ""), "please specify pay by");
    EXPECT_EQ(refusal_of(PayByCash, "", ""), "please specify bank account");
    EXPECT_EQ(refusal_of(PayByCheck, "OPER", ""), "please specify Check number");
    EXPECT_EQ(refusal_of(PayByCheck, "OPER", "77"), "please specify Check date");
    EXPECT_EQ(refusal_of("AMEX", "", ""), "No Account Payable account for AMEX.\nCheck its setting in Credit card master.");
    EXPECT_EQ(refusal_of("VISA", "", ""), QString());
}

/// A prepayment the host recorded for an order: its payment and its waiting row.
void add_waiting_prepayment(TestDatabase& t, const QString& vendor, const char* amount, const QString& currency = "USD")
{
    ASSERT_TRUE(t.db().execute("INSERT INTO Payment_header_table (company, fkey, doctype, docno, vendor_no, Payment_date,"
                               " currency, payby, payment_amount, prepayment_accno, po_no, billed, void)"
                               " VALUES (1, '1pp-50', 'pp', 'PP-HOST-1', ?, '2026-03-01', ?, 'Check', ?, '1450',"
                               " 'PO-26-00003', FALSE, FALSE)",
                               {vendor, currency, Decimal(amount)}));
    ASSERT_TRUE(t.db().execute("INSERT INTO Prepayment_waiting_PO_table (company, prepayment_no, prepayment_fkey, po_no,"
                               " amount) VALUES (1, 'PP-HOST-1', '1pp-50', 'PO-26-00003', ?)",
                               {Decimal(amount)}));
}

TEST_F(Payables, AnExistingPrepaymentIsCheckedAppliedAndRestored)
{
    add_waiting_prepayment(t, "V200", "100.00");
    PayableBill b = bill(mixed_lines());
    b.prepayment = QStringLiteral("100");
    b.prepayment_no = QStringLiteral("PP-HOST-1");
    auto check = [&](const QString& number, const char* amount, const QString& vendor = "V200") {
        Transaction tx(db());
        PayableBill other = b;
        other.vendor_no = vendor;
        auto found = lock_existing_prepayment(db(), number, other, Decimal(amount));
        return found ? QString() : found.error().message;
    };
    EXPECT_EQ(check("PP-NONE", "100"), "No prepayment no. PP-NONE");
    EXPECT_EQ(check("PP-HOST-1", "90"), "Prepayment is invalid.");
    EXPECT_EQ(check("PP-HOST-1", "100", "V100"), "Prepayment is invalid.");
    EXPECT_EQ(check("PP-HOST-1", "100"), QString());

    QString payable_key;
    {
        Transaction tx(db());
        ASSERT_TRUE(lock_vendor_row(db(), b.vendor_no));
        auto prepayment = lock_existing_prepayment(db(), b.prepayment_no, b, Decimal(100));
        ASSERT_TRUE(prepayment);
        auto plan = start_payable(db(), b);
        ASSERT_TRUE(plan);
        EXPECT_EQ(prepayment->prepayment_accno, "1450");
        auto created = create_payable(db(), b, *plan, QStringLiteral("2000"));
        ASSERT_TRUE(created);
        payable_key = created->number.fkey;
        ASSERT_TRUE(apply_existing_prepayment(db(), *prepayment, b, created->number.docno));
        ASSERT_TRUE(raise_owing_balance(db(), b.vendor_no, created->open_amount));
        ASSERT_TRUE(tx.commit());
    }
    EXPECT_EQ(owing(), Decimal("82.44"));
    EXPECT_EQ(t.count("Prepayment_waiting_PO_table"), 0);
    EXPECT_EQ(t.count("Payment_header_table WHERE billed = TRUE"), 1);
    EXPECT_EQ(t.text("SELECT ap_docno FROM Payment_transaction_table WHERE fkey = '1pp-50'"), "IP-26-00001");
    // Used once: a second bill cannot take it again.
    EXPECT_EQ(check("PP-HOST-1", "100"), "Prepayment is invalid.");

    // Void: the payable and the owing balance go, once however often it is asked; the
    // prepayment waits for its order again.
    for (int twice = 0; twice < 2; ++twice) {
        Transaction tx(db());
        auto voided = void_payable(db(), payable_key, b.invoice_no, Stamp);
        ASSERT_TRUE(voided) << voided.error().message.toStdString();
        EXPECT_EQ(voided->already_void, twice == 1);
        if (twice == 0) {
            ASSERT_TRUE(restore_prepayment(db(), "PP-HOST-1"));
        }
        ASSERT_TRUE(tx.commit());
    }
    EXPECT_EQ(owing(), Decimal(0));
    EXPECT_EQ(t.count("AP_transaction_table WHERE void = FALSE"), 0);
    EXPECT_EQ(t.count("Payment_transaction_table"), 0);
    EXPECT_EQ(t.text("SELECT po_no FROM Prepayment_waiting_PO_table WHERE prepayment_no = 'PP-HOST-1'"), "PO-26-00003");
    EXPECT_EQ(check("PP-HOST-1", "100"), QString());

    Transaction tx(db());
    auto missing = void_payable(db(), "1ip-404", "INV-404", Stamp);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message, "Invoice INV-404 not found in Account Payable");
    auto nobody = raise_owing_balance(db(), "V-NONE", Decimal(5));
    EXPECT_FALSE(nobody);
    auto unheld = lock_vendor_row(db(), "V-NONE");
    ASSERT_FALSE(unheld);
    EXPECT_EQ(unheld.error().message, "vendor is invalid.");
}

TEST_F(Payables, ARewrittenPayableChangesTheOwingBalanceByItsDifference)
{
    auto created = save(bill(mixed_lines()));
    ASSERT_TRUE(created);
    EXPECT_EQ(owing(), Decimal("182.44"));
    PayableBill edited = bill({line("WIDGET", "ST", "200")});
    edited.payment_term = QStringLiteral("30");
    Transaction tx(db());
    ASSERT_TRUE(lock_vendor_row(db(), edited.vendor_no));
    auto plan = start_payable(db(), edited);
    ASSERT_TRUE(plan);
    auto change = rewrite_payable(db(), created->number.fkey, edited, *plan, QStringLiteral("2000"));
    ASSERT_TRUE(change) << change.error().message.toStdString();
    EXPECT_EQ(*change, Decimal("27.56"));
    ASSERT_TRUE(raise_owing_balance(db(), edited.vendor_no, *change));
    ASSERT_TRUE(tx.commit());
    EXPECT_EQ(owing(), Decimal(210));
    EXPECT_EQ(lines_of(created->number.fkey), QStringList{"1 ST 210.00 210.00 0.00 0.00 open"});
    EXPECT_EQ(t.text("SELECT payment_term FROM AP_header_table"), "30");
    EXPECT_TRUE(t.scalar("SELECT discount_date FROM AP_header_table").isNull());
    EXPECT_EQ(t.text("SELECT GLFKEY FROM AP_header_table"), "1gl-9");
}

} // namespace
} // namespace zelkor
