// Voiding and editing a receipt: everything it did is reversed on its own date and period, and
// nothing else moves; receipts in a foreign currency balance to the cent.
#include "tests/support/receipt_window_fixture.h"

#include "ledger/ledger_posting.h"
#include "stock/layer_issue.h"

namespace zelkor {
namespace {

/// The rows a receipt and its void must leave as they found them.
QStringList lasting_state(TestDatabase& t)
{
    QStringList state;
    for (const char* sql :
         {"SELECT fkey, itemno, quantity_open, quantity_received, quantity_cancel, received, fully_received, closed"
          " FROM PO_transaction_table ORDER BY fkey, itemno",
          "SELECT fkey, received, fully_received, billed, fully_billed FROM PO_header_table ORDER BY fkey",
          "SELECT itemcode, warehouse, location, quantity, Value, po_quantity FROM Item_onhand_table"
          " WHERE quantity <> 0 OR Value <> 0 OR po_quantity <> 0 ORDER BY itemcode, warehouse, location",
          "SELECT itemcode, warehouse, lot_id, quantity, amount, unitcost FROM FIFO_table ORDER BY itemcode, lot_id",
          "SELECT ledgertype, accno, currency, amount, base_amount FROM Balance_table ORDER BY ledgertype, accno, currency",
          "SELECT * FROM Balance_period_table ORDER BY fyear, ledgertype, accno, currency"})
        state << t.rows(QString::fromLatin1(sql));
    return state;
}

TEST_F(ReceiptWindow, VoidLeavesEveryBalanceQuantityAndLayerAsBefore)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"BOLT-M8", "5", "box", "12"},
                                       {"PAINT-5L", "5", "box", "70"}, {"WIRE-CU", "2", "roll", "100"},
                                       {"MANUAL-OPS", "3", "each", "15"}, {"INSTALL", "1", "", "80", "5"}});
    const QStringList before = lasting_state(t);
    ASSERT_EQ(receive_all("V1001", po), "RO-26-00001");
    const QString entry = key_of("RO-26-00001", "GLFKEY");
    const QString document = key_of("RO-26-00001", "icfkey");

    // A void asks first; No changes nothing.
    prompter.answer_no();
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.records().back().title, "Void Receipt");
    EXPECT_EQ(prompter.last(), "Are you sure to void this receipt?");
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Receipt RO-26-00001 is void.");
    EXPECT_EQ(window.field("void"), "1");

    EXPECT_EQ(lasting_state(t), before);
    // What stays is the record of it: void flags, the reversing entry and inventory lines, the
    // layers' history in pairs.
    EXPECT_EQ(t.count("PO_receipt_header_table WHERE void = TRUE"), 1);
    EXPECT_EQ(t.count("PO_receipt_transaction_table WHERE void = FALSE"), 0);
    EXPECT_EQ(t.text("SELECT Description || '|' || remark FROM GL_header_table WHERE fkey = ?", {entry}),
              "Void receipt RO-26-00001|Reversed by GL-26-00002");
    EXPECT_EQ(t.text("SELECT Description || '|' || remark || '|' || period FROM GL_header_table WHERE docno = 'GL-26-00002'"),
              "void invoice RO-26-00001|Reverse GL GL-26-00001|3");
    EXPECT_EQ(t.count("IN_header_table WHERE fkey = ? AND void = TRUE", {document}), 1);
    EXPECT_EQ(t.count("IN_transaction_table WHERE fkey = ?", {document}), 10);
    EXPECT_EQ(t.decimal("SELECT SUM(quantity) FROM FIFO_history_table WHERE docno = 'RO-26-00001'"), Decimal(0));
    EXPECT_EQ(t.count("FIFO_history_table WHERE docno = 'RO-26-00001'"), 4);
    expect_consistent();

    // A void receipt is neither voided, edited nor billed again.
    prompter.clear();
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_FALSE(window.execute(CommandId::EditMode));
    EXPECT_FALSE(window.execute(POform_receipt::Command::EnterBill));
    EXPECT_EQ(prompter.messages(), (QStringList{"RO-26-00001 was void.", "RO-26-00001 was void.", "Receipt was void."}));
}

TEST_F(ReceiptWindow, VoidAfterPartOfTheStockWasIssuedLeavesTheRestNegative)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    ASSERT_EQ(receive_all("V1001", po), "RO-26-00001");
    // 300 pieces leave by FIFO: both opening layers and 60 pieces of the receipt's, posted to
    // cost of goods sold.
    {
        Transaction tx(t.db());
        auto issued = issue_from_layers(t.db(), {{"WIDGET-A", "MAIN", "A-01"}, Decimal(300), Decimal("2.5")},
                                        {"SO-1", "SALES", QDate(2026, 3, 15)});
        ASSERT_TRUE(issued);
        EXPECT_EQ(issued->issued.value, Decimal(-762));
        LedgerEntry entry;
        entry.add("5000", Decimal(762), Decimal(762), "USD");
        entry.add("1300", Decimal(-762), Decimal(-762), "USD");
        ASSERT_TRUE(post_entry(t.db(), {"Sale", "SO-1", "SALES", "Sales", "SO-1", QDate(2026, 3, 15), "USD", {}, {}, "ADMIN"},
                               entry));
        ASSERT_TRUE(tx.commit());
    }
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(on_hand("WIDGET-A", "MAIN", "A-01"), "-60 -150.00");
    EXPECT_EQ(t.decimal("SELECT quantity FROM FIFO_table WHERE receipt_no = 'RO-26-00001'"), Decimal(-60));
    EXPECT_EQ(balance("1300"), Decimal(602));
    EXPECT_EQ(open_quantity(po, 1), Decimal(10));
    expect_consistent();
}

TEST_F(ReceiptWindow, EditMovesALocationAndAQuantityAndReposts)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    ASSERT_EQ(receive_all("V1001", po), "RO-26-00001");
    const QString first_entry = key_of("RO-26-00001", "GLFKEY");

    ASSERT_TRUE(window.execute(CommandId::EditMode));
    // What the receipt posted stays as it was posted.
    for (const char* kept : {"vendor_no", "receipt_date", "currency", "period", "fyear"})
        EXPECT_EQ(window.type_into(kept, "x"), Entry::ReadOnly) << kept;
    ASSERT_EQ(type(0, "location", "A-02"), Entry::Accepted);
    ASSERT_EQ(type(0, "quantity received", "8"), Entry::Accepted);
    EXPECT_EQ(lines().cell(0, "extended cost"), "240.00");
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "update complete");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);

    EXPECT_EQ(on_hand("WIDGET-A", "MAIN", "A-01"), "240 612.00");
    EXPECT_EQ(on_hand("WIDGET-A", "MAIN", "A-02"), "96 240.00");
    EXPECT_EQ(open_quantity(po, 1), Decimal(2));
    EXPECT_EQ(on_order("WIDGET-A", "MAIN", "A-01"), Decimal(24));
    EXPECT_EQ(t.text("SELECT Description FROM GL_header_table WHERE fkey = ?", {first_entry}), "Edit receipt RO-26-00001");
    const QString second_entry = key_of("RO-26-00001", "GLFKEY");
    EXPECT_NE(second_entry, first_entry);
    EXPECT_EQ(journal(second_entry), (QStringList{"1300 240.00 240.00", "1400 14.40 14.40", "2050 254.40 254.40"}));
    EXPECT_EQ(t.count("IN_header_table WHERE source_docno = 'RO-26-00001' AND void = FALSE"), 1);
    EXPECT_EQ(t.decimal("SELECT total FROM PO_receipt_header_table"), Decimal("254.40"));
    EXPECT_EQ(t.count("PO_receipt_transaction_table"), 1);
    expect_consistent();
}

TEST_F(ReceiptWindow, AForeignCurrencyReceiptCreditsSuspenseWithTheSumOfItsConvertedDebits)
{
    // Three lines of 1.25 EUR at 1.10 convert to 1.38 each (4.14); the total would convert to
    // 4.12.
    const QString po = order("V2001",
                             {{"BOLT-M8", "1", "box", "1.25", "", "EXEMPT"}, {"BOLT-M8", "1", "box", "1.25", "", "EXEMPT"},
                              {"BOLT-M8", "1", "box", "1.25", "", "EXEMPT"}, {"BOLT-M8", "1", "box", "10"}},
                             "EUR");
    start("V2001", po);
    EXPECT_EQ(window.field("currency"), "EUR");
    EXPECT_EQ(window.field("exchange_rate"), "1.1");
    pick({0, 1, 2, 3});
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    const QString entry = key_of("RO-26-00001", "GLFKEY");
    // VAT is 20 %: half recoverable (1410), half expensed (6200).
    EXPECT_EQ(journal(entry), (QStringList{"1300 13.75 15.14", "1410 1.00 1.10", "6200 1.00 1.10", "2050 15.75 17.34"}));
    EXPECT_EQ(t.count("GL_transaction_table WHERE fkey = ? AND ledgertype = 'F' AND currency = 'EUR'", {entry}), 4);
    EXPECT_EQ(t.decimal("SELECT SUM(Value) FROM Item_onhand_table WHERE itemcode = 'BOLT-M8'"), Decimal("47.14"));
    expect_consistent();

    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void));
    EXPECT_EQ(balance("2050"), Decimal(0));
    EXPECT_EQ(balance("1300"), Decimal(1364));
    expect_consistent();
}

} // namespace
} // namespace zelkor
