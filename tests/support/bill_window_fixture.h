#pragma once
// A bill window on a fresh demo company, driven as a clerk would: orders and receipts are saved
// by their own routines, then billed by choosing receipts, picking order lines or typing lines.

#include "core/clock.h"
#include "facade/POclass.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "tests/support/window_test_support.h"
#include "windows/bill/POform_invoice.h"

#include <gtest/gtest.h>

namespace zelkor {

using testing::Contents;
using testing::LineSpec;
using testing::ReceiptLineSpec;
using testing::TestDatabase;
using testing::WindowNotification;

/// A bill as a clerk saved it: what browsing and editing read. Bills are saved in the order of
/// their key numbers, which the save issues.
struct StoredBill {
    int key_number = 1;
    QString vendor = QStringLiteral("V1001");
    QString invoice_no = QStringLiteral("INV-1");
    QString payby = QStringLiteral("Pay Later");
    bool is_void = false;
    bool paid = false;
    bool fully_paid = false;
    int period = 3;
    QString icfkey{};

    QString docno() const { return QStringLiteral("VI-26-%1").arg(key_number, 5, 10, QChar(u'0')); }
    QString fkey() const { return QStringLiteral("1vi-%1").arg(key_number); }
};

class BillWindow : public ::testing::Test {
protected:
    BillWindow() : t(Contents::Demo), clock(QDate(2026, 3, 15), QTime(10, 0))
    {
        window.apply_settings(testing::window_settings(t.db(), QStringLiteral("ADMIN"), folder.path()));
        window.set_prompter(&prompter);
        testing::record_notifications(window, notifications);
        window.open();
    }

    /// An order of the vendor saved by the order's routine, dated 2026-03-02; gives its number.
    QString order(const QString& vendor, const std::vector<LineSpec>& lines, const QString& currency = "USD")
    {
        testing::OrderSpec wanted{vendor, lines, QDate(2026, 3, 2)};
        wanted.currency = currency;
        return testing::saved_order(t.db(), wanted).docno;
    }
    /// A receipt of the order's lines saved by the receipt's routine on 2026-03-05; gives its number.
    QString receipt(const QString& order_number, const std::vector<ReceiptLineSpec>& lines)
    {
        return testing::saved_receipt(t.db(), order_number, lines, QDate(2026, 3, 5)).docno;
    }
    /// A landed charge on a receipt, as the receipt's landed grid writes it; `payable` names the
    /// charge's own payable when its vendor billed it apart.
    void landed_charge(const QString& receipt_no, int itemno, const QString& vendor, const QString& amount,
                       const QString& payable = {})
    {
        ASSERT_TRUE(t.db().execute(
            "INSERT INTO PO_receipt_transaction_table (company, fkey, landed_item, itemno, doctype, docno, vendor_no,"
            " currency, itemcode, itemtype, description, quantity_received, unitcost, extended_cost, net_cost,"
            " quantity_open_for_bill, tax_code, accno, ap_fkey) SELECT 1, fkey, TRUE, ?, 'ro', docno, ?, currency,"
            " 'FREIGHT', '6', 'Freight charge', 1, ?, ?, ?, 1, 'EXEMPT', '5200', ? FROM PO_receipt_header_table"
            " WHERE docno = ?",
            {itemno, vendor, amount, amount, amount, payable.isEmpty() ? SqlValue(std::nullopt) : SqlValue(payable),
             receipt_no}));
    }
    /// A bill saved as a clerk saves one: an order of the vendor and its receipt (widgets and
    /// manuals), billed whole on the 10th of the bill's month by a bill window of its own, the
    /// manual's description continued on a line of its own; then voided by that window's Void,
    /// or marked paid as the payables do when a payment is made elsewhere. A cost correction
    /// (`icfkey`) is only named on the header: no bill at received cost makes one.
    void stored_bill(const StoredBill& bill)
    {
        const QString rc = receipt(order(bill.vendor, {{"WIDGET-A", "2", "box", "30"}, {"MANUAL-OPS", "2", "each", "20"}}),
                                   {{1, "2"}, {2, "2"}});
        ScriptedPrompter answers;
        POform_invoice clerk;
        clerk.apply_settings(testing::window_settings(t.db(), QStringLiteral("ADMIN"), folder.path()));
        clerk.set_prompter(&answers);
        clerk.open();
        ASSERT_TRUE(clerk.execute(CommandId::New));
        const auto typed = [&](const char* field, const QString& value) {
            ASSERT_EQ(clerk.type_into(field, value), Entry::Accepted) << field << ": " << answers.last().toStdString();
        };
        typed("vendor_no", bill.vendor);
        typed("invoice_date", QDate(2026, bill.period, 10).toString(QStringLiteral("dd/MM/yyyy")));
        typed("receipt_no", rc);
        typed("invoice_no", bill.invoice_no);
        if (bill.payby == PayCash) {
            typed("payby", PayCash);
            typed("bank_code", QStringLiteral("OPER"));
        }
        const int continued = clerk.lines().row_count() - 1;
        ASSERT_EQ(clerk.lines().type_cell(continued, "description", QStringLiteral("second edition")), Entry::Accepted);
        ASSERT_TRUE(clerk.execute(CommandId::Save)) << answers.messages().join(" | ").toStdString();
        ASSERT_EQ(answers.last(), "Add new invoice " + bill.docno() + " complete");
        if (bill.is_void) {
            answers.answer_yes();
            ASSERT_TRUE(clerk.execute(CommandId::Void)) << answers.messages().join(" | ").toStdString();
        }
        ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET paid = ?, fully_paid = ? WHERE docno = ?",
                                   {bill.paid || bill.fully_paid, bill.fully_paid, bill.docno()}));
        if (!bill.icfkey.isEmpty()) {
            ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET icfkey = ? WHERE docno = ?",
                                       {bill.icfkey, bill.docno()}));
        }
    }

    /// The facade a host would drive, on the test's database and prompter.
    void connect(POclass& facade)
    {
        facade.set_prompter(&prompter);
        facade.set_cnx(&t.db());
        facade.set_dbe(&t.db());
        facade.set_abcdb(&t.db());
        facade.set_ZELKOR_USER("ADMIN");
        facade.set_ZELKOR_DATE_FORMAT("dd/mm/yyyy");
        facade.set_BASE_CURRENCY("USD");
    }

    /// Starts a new bill of the vendor.
    void start(const QString& vendor)
    {
        ASSERT_TRUE(window.execute(CommandId::New));
        ASSERT_EQ(window.type_into("vendor_no", vendor), Entry::Accepted) << prompter.last().toStdString();
    }
    Grid& lines() { return window.lines(); }
    Entry type(int row, const char* column, const QString& value) { return lines().type_cell(row, column, value); }
    /// The rows of a grid, one "a|b|c" text per row with the given columns.
    QStringList rows(const Grid& grid, const QStringList& columns) { return testing::grid_rows(grid, columns); }
    /// The message of the next refused save; the window stays in its mode and writes nothing.
    QString save_refusal()
    {
        prompter.clear();
        const QStringList before = t.snapshot();
        EXPECT_FALSE(window.execute(CommandId::Save));
        EXPECT_EQ(t.snapshot(), before);
        return prompter.messages().value(0);
    }

    TestDatabase t;
    FixedClock clock;
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    POform_invoice window;
    std::vector<WindowNotification> notifications;
};

} // namespace zelkor
