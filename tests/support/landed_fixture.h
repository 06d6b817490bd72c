#pragma once
// Landed bills over receipts of the demo company: goods received from V1001 (saved by the
// order's and the receipt's own routines), charges billed by the customs broker V3002 (USD, due
// on receipt) or the CAD carrier V3001, saved, edited and voided through the landed-cost service.

#include "check/company_checks.h"
#include "core/clock.h"
#include "documents/landed/landed_posting.h"
#include "stock/layer_issue.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace zelkor {

using testing::Contents;
using testing::LineSpec;
using testing::TestDatabase;

class LandedFixture : public ::testing::Test {
protected:
    inline static const QDate BillDate = QDate(2026, 3, 20);

    LandedFixture() : t(Contents::Demo), clock(QDate(2026, 3, 20), QTime(11, 0)) {}

    Database& db() { return t.db(); }

    /// An order of V1001 dated 2026-03-02, received whole on 2026-03-15; gives the receipt number.
    QString received(const std::vector<LineSpec>& lines, const QString& vendor = QStringLiteral("V1001"),
                     const QString& currency = QStringLiteral("USD"))
    {
        testing::OrderSpec wanted{vendor, lines, QDate(2026, 3, 2)};
        wanted.currency = currency;
        const QString order = testing::saved_order(db(), wanted).docno;
        std::vector<testing::ReceiptLineSpec> received;
        for (int itemno = 1; itemno <= int(lines.size()); ++itemno)
            received.push_back({itemno, lines[size_t(itemno - 1)].quantity});
        return testing::saved_receipt(db(), order, received, QDate(2026, 3, 15)).docno;
    }

    /// A charge line of `amount` at tax code EXEMPT.
    static BillLine charge(int itemno, const QString& code, const char* amount, bool expense = false,
                           const QString& account = QStringLiteral("5200"))
    {
        BillLine line;
        line.itemno = itemno;
        line.itemcode = code;
        line.itemtype = QStringLiteral("6");
        line.description = code + QStringLiteral(" charge");
        line.quantity = Decimal(1);
        line.unitcost = Decimal(amount);
        line.extended_cost = Decimal(amount);
        line.net_cost = Decimal(amount);
        line.tax_code = QStringLiteral("EXEMPT");
        line.accno = account;
        line.landed_item = true;
        line.expense = expense;
        return line;
    }

    /// A landed bill of V3002 (invoice "CB-1") dated 2026-03-20 over the receipts.
    static LandedBill landed(const std::vector<BillLine>& charges, const QStringList& receipts,
                             const QString& invoice_no = QStringLiteral("CB-1"))
    {
        LandedBill bill;
        BillHeader& header = bill.bill.header;
        header.doctype = QStringLiteral("ld");
        header.vendor_no = QStringLiteral("V3002");
        header.primary_vendor = QStringLiteral("V1001");
        header.invoice_date = BillDate;
        header.currency = QStringLiteral("USD");
        header.invoice_no = invoice_no;
        header.multi_receipt = receipts.size() > 1;
        header.receipt_no = receipts.size() == 1 ? receipts.front() : QString();
        header.payby = QStringLiteral("Pay Later");
        header.payment_term = QStringLiteral("00");
        header.period = {QStringLiteral("2026"), 3};
        header.source_form = LandedSourceForm;
        bill.bill.lines = charges;
        bill.receipts = receipts;
        return bill;
    }

    static LandedAccounts accounts(const QString& payable = QStringLiteral("2000"), const QString& paying = {})
    {
        return {{QStringLiteral("2050"), QStringLiteral("4100"), payable, paying, {}}, QStringLiteral("5100")};
    }

    static AuditStamp stamp() { return {QStringLiteral("ADMIN"), QStringLiteral("WS-1"), BillDate, QStringLiteral("11:00:00")}; }

    /// Saves a new landed bill, failing the test when the save is refused; gives its number.
    DocumentNumber save(const LandedBill& bill, const LandedAccounts& with = accounts())
    {
        auto saved = save_new_landed_bill(db(), bill, with, stamp());
        EXPECT_TRUE(saved) << (saved ? "" : saved.error().message.toStdString());
        return saved ? *saved : DocumentNumber{};
    }

    QString refusal(const LandedBill& bill, const LandedAccounts& with = accounts())
    {
        auto saved = save_new_landed_bill(db(), bill, with, stamp());
        return saved ? QStringLiteral("saved") : saved.error().message;
    }

    DocumentVersion shown(const DocumentNumber& number)
    {
        return {QStringLiteral("PO_invoice_header_table"), number.fkey, number.docno,
                t.scalar("SELECT row_version FROM PO_invoice_header_table WHERE fkey = ?", {number.fkey}).toLongLong()};
    }

    std::expected<void, Error> void_bill(const DocumentNumber& number)
    {
        return void_landed_bill(db(), shown(number), QStringLiteral("5100"), stamp());
    }

    /// Issues stock of a FIFO or LIFO item from its layers, as a sale would.
    void issue(const QString& item, const QString& warehouse, const QString& location, const char* quantity,
               const QString& docno = QStringLiteral("SO-1"))
    {
        Transaction tx(db());
        auto issued = issue_from_layers(db(), {{item, warehouse, location}, Decimal(quantity), Decimal()},
                                        {docno, QStringLiteral("SO"), BillDate});
        ASSERT_TRUE(issued) << issued.error().message.toStdString();
        ASSERT_TRUE(tx.commit());
    }

    /// The layer a receipt made for an item: "quantity amount unitcost", or "none".
    QString layer(const QString& receipt, const QString& item)
    {
        auto row = db().first("SELECT quantity, amount, unitcost FROM FIFO_table WHERE receipt_no = ? AND itemcode = ?",
                              {receipt, item});
        EXPECT_TRUE(row);
        return *row ? (*row)->decimal(u"quantity").to_string() + u' ' + (*row)->decimal(u"amount").to_fixed(2) + u' '
                          + (*row)->decimal(u"unitcost").to_string()
                    : QStringLiteral("none");
    }
    Decimal on_hand_value(const QString& item)
    {
        return t.decimal("SELECT SUM(Value) FROM Item_onhand_table WHERE itemcode = ?", {item});
    }
    /// The journal lines of an entry as "account amount base", by account.
    QStringList journal(const QString& key)
    {
        QStringList written;
        auto rows = db().select("SELECT accno, amount, base_amount FROM GL_transaction_table WHERE fkey = ? ORDER BY accno",
                                {key});
        EXPECT_TRUE(rows);
        for (const Row& row : *rows)
            written << row.text(u"accno") + u' ' + row.decimal(u"amount").to_fixed(2) + u' '
                    + row.decimal(u"base_amount").to_fixed(2);
        return written;
    }
    QString bill_key(const DocumentNumber& number, const char* column)
    {
        return t.text(QString("SELECT ") + column + " FROM PO_invoice_header_table WHERE fkey = ?", {number.fkey});
    }
    Decimal owing(const QString& vendor) { return t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = ?", {vendor}); }

    /// Every row of a query as its values joined by "|", numbers as their shortest decimal, so
    /// that both engines give the same text.
    QStringList table(const QString& sql)
    {
        QStringList rows;
        auto read = db().select(sql);
        EXPECT_TRUE(read);
        for (const Row& row : *read) {
            QStringList values;
            for (int column = 0; column < row.size(); ++column)
                values << (row.is_number(column) ? Row::to_decimal(row.value(column)).to_string()
                                                 : Row::to_text(row.value(column)));
            rows << values.join(u'|');
        }
        return rows;
    }

    /// What a void must give back exactly: layers, on hand, balances, payables' open amounts, owing.
    QStringList balances()
    {
        QStringList state;
        state << t.rows("SELECT itemcode, warehouse, lot_id, quantity, amount, unitcost FROM FIFO_table ORDER BY 1, 2, 3")
              << t.rows("SELECT itemcode, warehouse, location, quantity, Value FROM Item_onhand_table ORDER BY 1, 2, 3")
              << t.rows("SELECT ledgertype, accno, currency, amount, base_amount FROM Balance_table ORDER BY 1, 2, 3")
              << t.rows("SELECT vendor_no, owing_balance FROM Vendor_table ORDER BY 1")
              << t.rows("SELECT h.vendor_no, SUM(l.open_amount) FROM AP_header_table h INNER JOIN AP_transaction_table l"
                        " ON l.fkey = h.fkey WHERE h.void = FALSE GROUP BY h.vendor_no ORDER BY 1");
        return state;
    }

    void expect_consistent()
    {
        auto violations = check_invariants(db(), engine_invariant_checks());
        ASSERT_TRUE(violations.has_value());
        EXPECT_TRUE(violations->isEmpty()) << violations->join(u'\n').toStdString();
    }

    TestDatabase t;
    FixedClock clock;
};

} // namespace zelkor
