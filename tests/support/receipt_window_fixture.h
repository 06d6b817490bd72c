#pragma once
// A receipt window on a fresh demo company, driven as a clerk would: orders are saved by the
// order's own routine, received by picking their lines.

#include "check/company_checks.h"
#include "core/clock.h"
#include "documents/receipt/receipt_invariants.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "windows/receipt/POform_receipt.h"

#include <gtest/gtest.h>

namespace zelkor {

using testing::Contents;
using testing::LineSpec;
using testing::TestDatabase;

struct Notification {
    QString formx;
    QString docnox;
    QString arg2;
};

/// The window's settings on a database.
inline HostSettings receipt_settings(Database& db, const QString& user = QStringLiteral("ADMIN"))
{
    HostSettings settings;
    settings.abcdb = settings.dbe = settings.cnx = &db;
    settings.BASE_CURRENCY = QStringLiteral("USD");
    settings.ZELKOR_USER = user;
    settings.ZELKOR_DATE_FORMAT = QStringLiteral("dd/mm/yyyy");
    return settings;
}

class ReceiptWindow : public ::testing::Test {
protected:
    ReceiptWindow() : t(Contents::Demo), clock(QDate(2026, 3, 15), QTime(10, 0))
    {
        window.apply_settings(receipt_settings(t.db()));
        window.set_prompter(&prompter);
        QObject::connect(&window, &WindowModel::NotifyClients,
                         [this](const QString& formx, const QString& docnox, const QString& arg2) {
                             notifications.push_back({formx, docnox, arg2});
                         });
        window.open();
    }

    /// An order of the vendor saved by the order's routine, dated 2026-03-02; gives its number.
    QString order(const QString& vendor, const std::vector<LineSpec>& lines, const QString& currency = "USD")
    {
        testing::OrderSpec wanted{vendor, lines, QDate(2026, 3, 2)};
        wanted.currency = currency;
        return testing::saved_order(t.db(), wanted).docno;
    }

    /// Starts a new receipt of the vendor's order and lists the order's lines to pick from.
    void start(const QString& vendor, const QString& order_number)
    {
        ASSERT_TRUE(window.execute(CommandId::New));
        ASSERT_EQ(window.type_into("vendor_no", vendor), Entry::Accepted);
        ASSERT_EQ(window.type_into("pono", order_number), Entry::Accepted) << prompter.last().toStdString();
    }

    /// Picks order lines (rows of the pick grid, from 0) into the receipt.
    void pick(std::initializer_list<int> rows)
    {
        for (int row : rows)
            ASSERT_TRUE(window.activate_row(window.order_lines(), row)) << prompter.last().toStdString();
    }

    /// Receives every line of the order whole and saves; gives the receipt's number.
    QString receive_all(const QString& vendor, const QString& order_number)
    {
        start(vendor, order_number);
        for (int row = 0; row < window.order_lines().row_count(); ++row)
            pick({row});
        window.execute(CommandId::Save);
        return window.field("docno");
    }

    Grid& lines() { return window.lines(); }
    Entry type(int row, const char* column, const QString& value) { return lines().type_cell(row, column, value); }

    Decimal on_order(const QString& item, const QString& warehouse, const QString& location)
    {
        return t.decimal("SELECT po_quantity FROM Item_onhand_table WHERE itemcode = ? AND warehouse = ? AND location = ?",
                         {item, warehouse, location});
    }
    /// The on-hand quantity and value of an item at a place: "360 912.00".
    QString on_hand(const QString& item, const QString& warehouse, const QString& location)
    {
        auto row = t.db().first("SELECT quantity, Value FROM Item_onhand_table WHERE itemcode = ? AND warehouse = ?"
                                " AND location = ?",
                                {item, warehouse, location});
        EXPECT_TRUE(row);
        return *row ? (*row)->decimal(u"quantity").to_string() + u' ' + (*row)->decimal(u"Value").to_fixed(2)
                    : QStringLiteral("none");
    }
    Decimal balance(const QString& account)
    {
        return t.decimal("SELECT base_amount FROM Balance_table WHERE ledgertype = 'A' AND accno = ?", {account});
    }
    /// An order line's open, received and cancelled quantities: "0/3/2".
    QString order_line(const QString& order_number, int itemno)
    {
        auto row = t.db().first("SELECT quantity_open, quantity_received, quantity_cancel FROM PO_transaction_table"
                                " WHERE docno = ? AND itemno = ?",
                                {order_number, itemno});
        EXPECT_TRUE(row && *row);
        return (*row)->decimal(u"quantity_open").to_string() + u'/' + (*row)->decimal(u"quantity_received").to_string()
            + u'/' + (*row)->decimal(u"quantity_cancel").to_string();
    }
    Decimal open_quantity(const QString& order_number, int itemno)
    {
        return t.decimal("SELECT quantity_open FROM PO_transaction_table WHERE docno = ? AND itemno = ?",
                         {order_number, itemno});
    }
    /// The journal lines of the entry with this key as "account amount base", in line order.
    QStringList journal(const QString& key)
    {
        QStringList written;
        auto rows = t.db().select("SELECT accno, amount, base_amount FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno",
                                  {key});
        EXPECT_TRUE(rows);
        for (const Row& row : *rows)
            written << row.text(u"accno") + u' ' + row.decimal(u"amount").to_fixed(2) + u' '
                    + row.decimal(u"base_amount").to_fixed(2);
        return written;
    }
    QString key_of(const QString& receipt, const char* column)
    {
        return t.text(QString("SELECT ") + column + " FROM PO_receipt_header_table WHERE docno = ?", {receipt});
    }

    void expect_consistent()
    {
        std::vector<InvariantCheck> checks = purchasing_invariant_checks();
        for (InvariantCheck& check : receipt_invariant_checks())
            checks.push_back(std::move(check));
        auto violations = check_invariants(t.db(), checks);
        ASSERT_TRUE(violations.has_value());
        EXPECT_TRUE(violations->isEmpty()) << violations->join(u'\n').toStdString();
    }

    TestDatabase t;
    FixedClock clock;
    ScriptedPrompter prompter;
    POform_receipt window;
    std::vector<Notification> notifications;
};

} // namespace zelkor
