#pragma once
// Bills saved, edited and voided from the bill window, with what a scenario compares: the
// figures a bill moves (which its void must put back), ledger sums and the checker.

#include "tests/support/bill_window_fixture.h"
#include "tests/support/statement_failures.h"

#include "check/company_checks.h"
#include "windows/order/POform_po.h"

namespace zelkor {

/// The figures a bill moves and its void must restore: balances, owing, payables and payments,
/// stock layers and on-hand, and the billing state of receipts and orders.
inline QStringList bill_figures(TestDatabase& t)
{
    QStringList state;
    for (const char* query :
         {"SELECT accno, currency, amount, base_amount FROM Balance_table ORDER BY accno, currency",
          "SELECT vendor_no, owing_balance FROM Vendor_table ORDER BY vendor_no",
          "SELECT docno, billed, fully_billed FROM PO_receipt_header_table ORDER BY docno",
          "SELECT docno, itemno, landed_item, quantity_open_for_bill, quantity_billed, amount_billed, quantity_adjusted,"
          " billed, fully_billed FROM PO_receipt_transaction_table ORDER BY docno, landed_item, itemno",
          "SELECT docno, billed, fully_billed FROM PO_header_table ORDER BY docno",
          "SELECT docno, itemno, quantity_open_for_bill, quantity_billed, billed, fully_billed FROM PO_transaction_table"
          " ORDER BY docno, itemno",
          "SELECT COUNT(*) FROM AP_header_table WHERE void = FALSE",
          "SELECT docno, billed FROM Payment_header_table WHERE void = FALSE ORDER BY docno",
          "SELECT prepayment_no, amount FROM Prepayment_waiting_PO_table ORDER BY prepayment_no",
          "SELECT itemcode, warehouse, lot_id, quantity, amount FROM FIFO_table ORDER BY itemcode, warehouse, lot_id",
          "SELECT itemcode, warehouse, location, quantity, Value FROM Item_onhand_table"
          " ORDER BY itemcode, warehouse, location"}) {
        auto rows = t.db().select(QString::fromLatin1(query));
        EXPECT_TRUE(rows);
        if (!rows)
            continue;
        for (const Row& row : *rows) {
            QStringList cells;
            for (int column = 0; column < row.size(); ++column)
                cells << Row::to_text(row.value(column));
            state << cells.join(u'|');
        }
    }
    return state;
}

/// An order window of a clerk who edits an order being billed, on a connection of its own or
/// the bill's.
struct OrderEditor {
    OrderEditor(Database& db, const QString& folder)
    {
        window.apply_settings(testing::window_settings(db, QStringLiteral("ADMIN"), folder));
        window.set_prompter(&prompter);
        window.open();
    }
    /// Shows the order and saves it with `quantity` ordered on its first line.
    void save_first_quantity(const QString& po, const QString& quantity)
    {
        window.set_field("docno", po);
        window.display_by_number();
        ASSERT_TRUE(window.execute(CommandId::EditMode));
        ASSERT_EQ(window.lines().type_cell(0, "quantity order", quantity), Entry::Accepted);
        ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    }

    ScriptedPrompter prompter;
    POform_po window;
};

class BillPosting : public BillWindow {
protected:
    /// A new bill of V1001 taking `quantity` of the order's first line, not yet saved.
    void bill_first_order_line(const QString& po, const QString& invoice_no, const QString& quantity)
    {
        start("V1001");
        ASSERT_EQ(window.type_into("invoice_no", invoice_no), Entry::Accepted);
        ASSERT_EQ(window.type_into("po_no", po), Entry::Accepted);
        ASSERT_TRUE(window.activate_row(window.order_lines(), 0));
        ASSERT_EQ(type(0, "quantity", quantity), Entry::Accepted);
    }
    /// A new bill of the vendor's receipt, its open lines taken, not yet saved.
    void bill_receipt(const QString& rc, const QString& invoice_no, const QString& vendor = "V1001")
    {
        start(vendor);
        ASSERT_EQ(window.type_into("receipt_no", rc), Entry::Accepted) << prompter.last().toStdString();
        ASSERT_EQ(window.type_into("invoice_no", invoice_no), Entry::Accepted) << prompter.last().toStdString();
    }
    /// Saves (new or edited); the window's last message is given.
    QString save()
    {
        prompter.clear();
        EXPECT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
        return prompter.last();
    }
    /// Shows the bill by number and voids it.
    QString void_bill_number(const QString& docno)
    {
        show(docno);
        prompter.clear();
        prompter.answer_yes();
        EXPECT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
        return prompter.last();
    }
    void show(const QString& docno)
    {
        window.set_field("docno", docno);
        window.display_by_number();
        ASSERT_EQ(window.field("docno"), docno);
    }
    void expect_consistent()
    {
        auto violations = check_invariants(t.db(), engine_invariant_checks());
        ASSERT_TRUE(violations.has_value());
        EXPECT_TRUE(violations->isEmpty()) << violations->join(u'\n').toStdString();
    }
    /// The sum of the journal lines on an account (signed to its normal side), in document and
    /// base currency, optionally for one vendor.
    std::pair<Decimal, Decimal> ledger(const QString& account, const QString& vendor = {})
    {
        const QString sql = "SELECT COALESCE(SUM(amount), 0) AS amount, COALESCE(SUM(base_amount), 0) AS base_amount"
                            " FROM GL_transaction_table WHERE accno = ?"
                            + QString(vendor.isEmpty() ? "" : " AND vendor_no = ?");
        auto row = t.db().first(sql, vendor.isEmpty() ? Params{account} : Params{account, vendor});
        EXPECT_TRUE(row && *row);
        if (!row || !*row)
            return {};
        return {(*row)->decimal(u"amount"), (*row)->decimal(u"base_amount")};
    }
    /// What the bill's own entry put on an account.
    Decimal posted(const QString& docno, const QString& account)
    {
        return t.decimal("SELECT COALESCE(SUM(g.base_amount), 0) FROM GL_transaction_table g INNER JOIN"
                         " PO_invoice_header_table b ON b.GLFKEY = g.fkey WHERE b.docno = ? AND g.accno = ?",
                         {docno, account});
    }
    /// Runs the command with each statement failing in turn until it succeeds: each failure shows
    /// `failed` last, keeps the window's mode and lines and leaves every table as it was.
    void fail_each_statement(CommandId command, const QString& failed, bool answer_yes)
    {
        const auto state = [this] {
            return t.snapshot() << QString::number(static_cast<int>(window.mode()))
                                << QString::number(lines().row_count());
        };
        const int failures = testing::fail_each_statement({t, prompter, failed, answer_yes, state},
                                                          [&] { return window.execute(command); });
        EXPECT_GT(failures, 10);
    }
};

} // namespace zelkor
