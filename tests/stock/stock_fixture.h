#pragma once

// What the stock scenarios share: receipts, issues and reversals committed one save at a time
// on the fixture company (WIDGET FIFO in pcs, 1 box = 12 pcs; BOLT LIFO; PAINT at standard
// cost 10.00 a can; GLUE moving average with 20 kg worth 60.00; MANUAL non-stock), and
// readers of what stock holds afterwards.
#include "check/company_checks.h"
#include "core/clock.h"
#include "stock/cost_layers.h"
#include "stock/inventory_document.h"
#include "stock/layer_issue.h"
#include "stock/stock_receipt.h"
#include "stock/stock_reversal.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace zelkor {

class StockTest : public ::testing::Test {
protected:
    inline static const QDate Today = QDate(2026, 3, 15);

    static StockReceipt receipt(const QString& receipt_no = QStringLiteral("RO-26-00001"), const QDate& date = Today)
    {
        StockReceipt r;
        r.receipt_no = receipt_no;
        r.date = date;
        r.period = {QString::number(date.year()), date.month()};
        r.currency = QStringLiteral("USD");
        r.stamp = {QStringLiteral("ADMIN"), QStringLiteral("WS-1")};
        return r;
    }

    static StockReceiptLine line(const QString& item, const QString& uom, const char* quantity, const char* extended_cost,
                                 const QString& warehouse = QStringLiteral("MAIN"),
                                 const QString& location = QStringLiteral("A1"))
    {
        StockReceiptLine l;
        l.itemcode = item;
        l.itemtype = item == u"MANUAL" ? QStringLiteral("2") : QStringLiteral("1");
        l.uom = uom;
        l.warehouse = warehouse;
        l.location = location;
        l.quantity = Decimal(quantity);
        l.extended_cost = Decimal(extended_cost);
        return l;
    }

    static LayerDocument bill(const QString& docno = QStringLiteral("VI-26-00001"), const QDate& date = Today)
    {
        return {docno, bill_source(), date};
    }

    /// One save: the operation inside a transaction that commits when it succeeded.
    template <typename Operation>
    auto saved(Operation&& operation) -> decltype(operation())
    {
        Transaction tx(db());
        auto result = operation();
        if (result)
            if (auto committed = tx.commit(); !committed)
                return std::unexpected(committed.error());
        return result;
    }

    std::expected<std::optional<ReceivedStock>, Error> receive(const StockReceipt& r, const std::vector<StockReceiptLine>& lines)
    {
        return saved([&] { return receive_into_stock(db(), r, lines); });
    }

    /// Receives and gives the inventory document's key, failing the test when nothing was received.
    QString received_key(const StockReceipt& r, const std::vector<StockReceiptLine>& lines)
    {
        auto received = receive(r, lines);
        EXPECT_TRUE(received && *received) << (received ? "nothing received" : received.error().message.toStdString());
        return received && *received ? (*received)->document.fkey : QString();
    }

    std::expected<ReversedStock, Error> reverse(const QString& fkey)
    {
        return saved([&] { return reverse_document_stock(db(), fkey, {QStringLiteral("ADMIN"), QStringLiteral("WS-2")}); });
    }

    [[nodiscard]] std::expected<LayerIssueResult, Error> issue(const QString& item, const char* quantity,
                                                               const LayerDocument& document = bill(),
                                                               const QString& warehouse = QStringLiteral("MAIN"),
                                                               const QString& location = QStringLiteral("A1"),
                                                               const char* unit_cost = "0")
    {
        return saved([&] {
            return issue_from_layers(db(), {{item, warehouse, location}, Decimal(quantity), Decimal(unit_cost)}, document);
        });
    }

    /// The layers of an item in a warehouse in lot order: "quantity amount unitcost", with
    /// " negative" for a negative lot.
    QStringList layers(const QString& item, const QString& warehouse = QStringLiteral("MAIN"))
    {
        auto rows = db().select(QStringLiteral("SELECT quantity, amount, unitcost, negative_lot FROM FIFO_table"
                                               " WHERE itemcode = ? AND warehouse = ? ORDER BY lot_id"),
                                {item, warehouse});
        EXPECT_TRUE(rows);
        QStringList found;
        for (const Row& row : *rows)
            found << row.decimal(u"quantity").to_string() + u' ' + row.decimal(u"amount").to_fixed(2) + u' '
                    + row.decimal(u"unitcost").to_string() + (row.flag(u"negative_lot") ? QStringLiteral(" negative") : QString());
        return found;
    }

    /// An on-hand row as "quantity value"; empty when there is none.
    QString on_hand(const QString& item, const QString& warehouse = QStringLiteral("MAIN"),
                    const QString& location = QStringLiteral("A1"))
    {
        auto row = db().first(QStringLiteral("SELECT quantity, Value AS value FROM Item_onhand_table"
                                             " WHERE itemcode = ? AND warehouse = ? AND location = ?"),
                              {item, warehouse, location});
        EXPECT_TRUE(row);
        return *row ? (**row).decimal(u"quantity").to_string() + u' ' + (**row).decimal(u"value").to_fixed(2) : QString();
    }

    /// Every row stock keeps, to compare the whole state before and after a failed save.
    QStringList stock_state()
    {
        QStringList state;
        for (const char* query :
             {"SELECT * FROM IN_header_table ORDER BY fkey", "SELECT * FROM IN_transaction_table ORDER BY fkey, lineno",
              "SELECT * FROM Item_onhand_table ORDER BY itemcode, warehouse, location",
              "SELECT * FROM Item_warehouse_table ORDER BY itemcode, warehouse",
              "SELECT * FROM FIFO_table ORDER BY itemcode, warehouse, lot_id",
              "SELECT * FROM FIFO_history_table ORDER BY id",
              "SELECT * FROM Docno_master_table WHERE doctype = 'ir' ORDER BY fiscalyear",
              "SELECT * FROM Next_number_fkey_table WHERE doctype = 'ir'"})
            state << t.rows(QString::fromLatin1(query));
        return state;
    }

    void expect_consistent()
    {
        auto violations = check_invariants(db(), engine_invariant_checks());
        ASSERT_TRUE(violations) << violations.error().detail.toStdString();
        EXPECT_EQ(*violations, QStringList());
    }

    Database& db() { return t.db(); }

    testing::TestDatabase t;
    FixedClock clock{Today, QTime(10, 0, 0)};
};

} // namespace zelkor
