#pragma once
// A receipt window on the demo company, receiving with the vendor's bill and landed charges:
// what the payables tests read back.

#include "receipt_window_fixture.h"

#include "documents/bill/bill_void.h"
#include "documents/bill/bill_writer.h"

#include <utility>

namespace zelkor {

class ReceiptBill : public ReceiptWindow {
protected:
    /// Types the vendor's bill number and date (March 15, 2026) on the receipt.
    void bill_with(const QString& number)
    {
        ASSERT_EQ(window.type_into("vendor_invoice_no", number), Entry::Accepted);
        ASSERT_EQ(window.type_into("vendor_invoice_date", "15/03/2026"), Entry::Accepted);
    }

    void show_landed()
    {
        if (!window.find_pane("landed")->visible) {
            ASSERT_TRUE(window.execute(POform_receipt::Command::Landed));
        }
    }

    /// Types cells of a landed charge in the order given; a new row is added when needed.
    void type_landed(int row, std::initializer_list<std::pair<const char*, QString>> cells)
    {
        Grid& landed = window.landed_lines();
        while (landed.row_count() <= row)
            landed.append_row();
        for (const auto& [caption, value] : cells)
            ASSERT_EQ(landed.type_cell(row, caption, value), Entry::Accepted)
                << caption << " " << prompter.last().toStdString();
    }

    /// Receives ten boxes of widgets (318.00 with tax) from Acme with bill INV-900 and four
    /// charges: freight from Maple Leaf (MLF-77), duty from Great Lakes (GLC-5), handling billed
    /// by Acme under INV-901, and insurance on Acme's own bill.
    void receive_with_charges(const QString& freight = "120")
    {
        start("V1001", order("V1001", {{"WIDGET-A", "10", "box", "30"}}));
        pick({0});
        bill_with("INV-900");
        charges(freight);
    }

    void charges(const QString& freight = "120")
    {
        show_landed();
        type_landed(0, {{"vendor no", "V3001"}, {"bill no", "MLF-77"}, {"bill date", "12/03/2026"}, {"item code", "FREIGHT"},
                        {"extended cost", freight}});
        type_landed(1, {{"vendor no", "V3002"}, {"bill no", "GLC-5"}, {"item code", "DUTY"}, {"extended cost", "45"}});
        type_landed(2, {{"bill no", "INV-901"}, {"item code", "HANDLING"}, {"extended cost", "20"}});
        type_landed(3, {{"item code", "INSURANCE"}, {"extended cost", "10"}});
    }

    /// A column of the newest bill.
    QString bill_key(const char* column)
    {
        return t.text(QString("SELECT ") + column + " FROM PO_invoice_header_table ORDER BY docno DESC");
    }

    /// What AP suspense holds for a vendor: "amount base".
    QString suspense_of(const QString& vendor)
    {
        auto row = t.db().first("SELECT SUM(amount) AS amount, SUM(base_amount) AS base_amount FROM GL_transaction_table"
                                " WHERE accno = '2050' AND vendor_no = ?",
                                {vendor});
        EXPECT_TRUE(row && *row);
        return (*row)->decimal(u"amount").to_fixed(2) + u' ' + (*row)->decimal(u"base_amount").to_fixed(2);
    }

    /// A payable's lines: "pay_item tax_code gross open discount paid_amount paid|open".
    QStringList payable_lines(const QString& fkey)
    {
        QStringList result;
        auto rows = t.db().select("SELECT pay_item, tax_code, gross_amount, open_amount, discount, paid_amount, paid"
                                  " FROM AP_transaction_table WHERE fkey = ? ORDER BY pay_item",
                                  {fkey});
        EXPECT_TRUE(rows);
        for (const Row& row : *rows)
            result << QStringList{row.text(u"pay_item"),
                                  row.text(u"tax_code"),
                                  row.decimal(u"gross_amount").to_fixed(2),
                                  row.decimal(u"open_amount").to_fixed(2),
                                  row.decimal(u"discount").to_fixed(2),
                                  row.decimal(u"paid_amount").to_fixed(2),
                                  row.flag(u"paid") ? "paid" : "open"}
                          .join(u' ');
        return result;
    }

    Decimal owing(const QString& vendor)
    {
        return t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = ?", {vendor});
    }

    /// A prepayment the host recorded for an order (its payments are the host's): the payment,
    /// held on the prepayment account, waiting for the order's bill.
    void add_waiting_prepayment(const QString& number, const QString& order_number, const QString& amount,
                                const QString& vendor = "V1001")
    {
        ASSERT_TRUE(t.db().execute("INSERT INTO Payment_header_table (company, fkey, doctype, docno, vendor_no, Payment_date,"
                                   " currency, payby, payment_amount, prepayment_accno, po_no, billed, void)"
                                   " VALUES (1, ?, 'pp', ?, ?, '2026-03-01', 'USD', 'Check', ?, '1450', ?, FALSE, FALSE)",
                                   {"1pp-" + number, number, vendor, *Decimal::parse(amount), order_number}));
        ASSERT_TRUE(t.db().execute("INSERT INTO Prepayment_waiting_PO_table (company, prepayment_no, prepayment_fkey, po_no,"
                                   " amount) VALUES (1, ?, ?, ?, ?)",
                                   {number, "1pp-" + number, order_number, *Decimal::parse(amount)}));
    }

    /// Voids the bill made at a receipt, as the bill window's Void does (dated March 16, 2026).
    void void_bill_of(const QString& receipt)
    {
        const QStringList bill = t.rows(QStringLiteral("SELECT b.fkey, b.docno, b.row_version FROM PO_invoice_header_table b"
                                                       " INNER JOIN PO_receipt_header_table h ON h.invoice_docno = b.docno"
                                                       " WHERE h.docno = '%1'")
                                            .arg(receipt));
        ASSERT_EQ(bill.size(), 1);
        const QStringList fields = bill.front().split(u'|');
        const DocumentVersion shown{QStringLiteral("PO_invoice_header_table"), fields[0], fields[1], fields[2].toLongLong()};
        auto voided = void_shown_bill(t.db(), shown, audit_stamp("ADMIN"));
        ASSERT_TRUE(voided) << voided.error().message.toStdString() << voided.error().detail.toStdString();
    }
};

} // namespace zelkor
