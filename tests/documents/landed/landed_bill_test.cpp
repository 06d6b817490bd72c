// Landed bills saved, edited and voided through the landed-cost service on receipts of the demo
// company: the shares in layers, on-hand values, journal and variance for every costing case,
// the settlement of a bill paid at once, and the exact restoration of a void.
#include "tests/support/landed_fixture.h"

namespace zelkor {
namespace {

using LandedBills = LandedFixture;

TEST_F(LandedBills, UntouchedLayersTakeTheirSharesAndAVoidPutsEveryBalanceBack)
{
    const QString receipt = received({{"WIDGET-A", "10", "box", "30"}, {"BOLT-M8", "2", "box", "10"}});
    const QStringList before = balances();
    const Decimal widgets = on_hand_value("WIDGET-A");

    const DocumentNumber bill = save(landed({charge(1, "FREIGHT", "90.00")}, {receipt}));
    EXPECT_EQ(bill.docno.left(2), "LD");
    // 90.00 over 300.00 of widgets and 20.00 of bolts (LIFO).
    EXPECT_EQ(layer(receipt, "WIDGET-A"), "120 384.38 3.2032");
    EXPECT_EQ(layer(receipt, "BOLT-M8"), "200 25.62 0.1281");
    EXPECT_EQ(on_hand_value("WIDGET-A"), widgets + Decimal("84.38"));
    EXPECT_EQ(table("SELECT docno, Source, quantity, amount FROM FIFO_history_table WHERE Source = 'PO-LANDED' ORDER BY id"),
              QStringList({bill.docno + "|PO-LANDED|0|84.38", bill.docno + "|PO-LANDED|0|5.62"}));
    EXPECT_EQ(table("SELECT adjustment_type, quantity, extended_cost, stock_value FROM IN_transaction_table WHERE fkey = '"
                     + bill_key(bill, "icfkey") + "' ORDER BY lineno"),
              QStringList({"3|0|84.38|84.38", "3|0|5.62|5.62"}));
    EXPECT_EQ(journal(bill_key(bill, "GLFKEY")), QStringList({"1300 90.00 90.00", "2000 90.00 90.00"}));
    EXPECT_EQ(t.decimal("SELECT gross_amount FROM AP_transaction_table WHERE fkey = ?", {bill_key(bill, "apfkey")}),
              Decimal("90.00"));
    EXPECT_EQ(owing("V3002"), Decimal("90.00"));
    EXPECT_EQ(table("SELECT docno, receipt_no FROM PO_landed_multi_receipt_table"), QStringList({bill.docno + "|" + receipt}));
    expect_consistent();

    ASSERT_TRUE(void_bill(bill));
    EXPECT_EQ(balances(), before);
    EXPECT_EQ(layer(receipt, "WIDGET-A"), "120 300.00 2.5");
    EXPECT_EQ(t.count("GL_header_table WHERE Source = 'PO-LANDED'"), 2);
    expect_consistent();
}

TEST_F(LandedBills, StockIssuedBeforeTheBillOrSinceDecidesWhereTheShareGoes)
{
    const QString receipt = received({{"WIDGET-A", "10", "box", "30"}});
    // The opening layers (240) go first: 48 of the receipt's 120 leave, 72 stay.
    issue("WIDGET-A", "MAIN", "A-01", "288");
    ASSERT_EQ(layer(receipt, "WIDGET-A"), "72 180.00 2.5");
    const QStringList before = balances();

    const DocumentNumber bill = save(landed({charge(1, "FREIGHT", "72.00")}, {receipt}));
    // The whole share lands on the 72 left.
    EXPECT_EQ(layer(receipt, "WIDGET-A"), "72 252.00 3.5");
    issue("WIDGET-A", "MAIN", "A-01", "36", "SO-2");
    ASSERT_EQ(layer(receipt, "WIDGET-A"), "36 126.00 3.5");

    ASSERT_TRUE(void_bill(bill));
    // Half the raised stock is still there: half the share comes back; the rest left with the
    // stock sold, and a second entry moves it from inventory to variance.
    EXPECT_EQ(layer(receipt, "WIDGET-A"), "36 90.00 2.5");
    auto correction = t.text("SELECT fkey FROM GL_header_table WHERE Source = 'PO-LANDED' AND Description LIKE ?",
                             {QStringLiteral("Landed cost of stock issued%")});
    EXPECT_EQ(journal(correction), QStringList({"1300 36.00 36.00", "5100 -36.00 -36.00"}));
    EXPECT_NE(balances(), before);
    expect_consistent();
}

TEST_F(LandedBills, ASweptLayerAndStandardCostSendTheShareToVarianceAndMovingAverageRaisesValue)
{
    const QString widgets = received({{"WIDGET-A", "10", "box", "30"}});
    issue("WIDGET-A", "MAIN", "A-01", "360");
    ASSERT_EQ(layer(widgets, "WIDGET-A"), "none");
    const QString others = received({{"PAINT-5L", "2", "box", "60"}, {"WIRE-CU", "1", "roll", "100"}});
    const Decimal widget_value = on_hand_value("WIDGET-A");
    const Decimal paint_value = on_hand_value("PAINT-5L");
    const Decimal wire_value = on_hand_value("WIRE-CU");

    // 300.00 of widgets, 120.00 of paint, 100.00 of wire share 52.00.
    const DocumentNumber bill = save(landed({charge(1, "FREIGHT", "52.00")}, {widgets, others}));
    EXPECT_EQ(on_hand_value("WIDGET-A"), widget_value);
    EXPECT_EQ(on_hand_value("PAINT-5L"), paint_value);
    EXPECT_EQ(on_hand_value("WIRE-CU"), wire_value + Decimal("10.00"));
    EXPECT_EQ(journal(bill_key(bill, "GLFKEY")), QStringList({"1310 10.00 10.00", "2000 52.00 52.00", "5100 42.00 42.00"}));
    EXPECT_EQ(table("SELECT itemcode, extended_cost, stock_value FROM IN_transaction_table WHERE fkey = '"
                     + bill_key(bill, "icfkey") + "' ORDER BY lineno"),
              QStringList({"WIDGET-A|30|0", "PAINT-5L|12|0", "WIRE-CU|10|10"}));
    expect_consistent();
    ASSERT_TRUE(void_bill(bill));
    EXPECT_EQ(on_hand_value("WIRE-CU"), wire_value);
    expect_consistent();
}

TEST_F(LandedBills, TwoLinesOfOneItemRaiseTheirOwnLayers)
{
    const QString receipt = received({{"WIDGET-A", "10", "box", "30"}, {"WIDGET-A", "5", "box", "30"}});
    save(landed({charge(1, "FREIGHT", "30.00")}, {receipt}));
    EXPECT_EQ(table("SELECT quantity, amount FROM FIFO_table WHERE receipt_no = '" + receipt + "' ORDER BY lot_id"),
              QStringList({"120|320", "60|160"}));
    expect_consistent();
}

TEST_F(LandedBills, ExpensedChargesAndABillWithoutReceiptsTouchNoStock)
{
    const QString receipt = received({{"WIDGET-A", "10", "box", "30"}});
    const DocumentNumber expensed = save(landed({charge(1, "INSURANCE", "15.00", true, "6400"), charge(2, "FREIGHT", "30.00")},
                                                {receipt}));
    EXPECT_EQ(journal(bill_key(expensed, "GLFKEY")), QStringList({"1300 30.00 30.00", "2000 45.00 45.00", "6400 15.00 15.00"}));

    const DocumentNumber only_expense = save(landed({charge(1, "INSURANCE", "15.00", true, "6400")}, {receipt}, "CB-2"));
    EXPECT_EQ(bill_key(only_expense, "icfkey"), "");
    const DocumentNumber no_receipt = save(landed({charge(1, "FREIGHT", "25.00")}, {}, "CB-3"));
    EXPECT_EQ(journal(bill_key(no_receipt, "GLFKEY")), QStringList({"2000 25.00 25.00", "5200 25.00 25.00"}));
    EXPECT_EQ(bill_key(no_receipt, "icfkey"), "");
    EXPECT_EQ(t.count("IN_header_table WHERE Source = 'PO-LANDED'"), 1);
    expect_consistent();
}

TEST_F(LandedBills, ABillPaidAtOnceCreditsThePayingAccountAndDiscountAndPrepaymentPostAsABill)
{
    const QString receipt = received({{"WIDGET-A", "10", "box", "30"}});
    LandedBill cash = landed({charge(1, "FREIGHT", "40.00")}, {receipt});
    cash.bill.header.payby = QStringLiteral("Cash");
    cash.bill.header.cash_accno = QStringLiteral("1000");
    const DocumentNumber paid = save(cash, accounts("2000", "1000"));
    EXPECT_EQ(journal(bill_key(paid, "GLFKEY")), QStringList({"1000 -40.00 -40.00", "1300 40.00 40.00"}));
    EXPECT_EQ(owing("V3002"), Decimal());

    LandedBill discounted = landed({charge(1, "FREIGHT", "100.00")}, {receipt}, "CB-2");
    discounted.bill.header.discount_amount = QStringLiteral("5");
    const DocumentNumber discount = save(discounted);
    EXPECT_EQ(journal(bill_key(discount, "GLFKEY")), QStringList({"1300 100.00 100.00", "2000 95.00 95.00", "4100 5.00 5.00"}));
    EXPECT_EQ(owing("V3002"), Decimal("95.00"));

    LandedBill prepaid = landed({charge(1, "FREIGHT", "60.00")}, {receipt}, "CB-3");
    prepaid.bill.header.payby = QStringLiteral("Check");
    prepaid.bill.header.bank_code = QStringLiteral("OPER");
    prepaid.bill.header.check_no = QStringLiteral("5001");
    prepaid.bill.header.check_date = BillDate;
    prepaid.bill.header.prepayment = QStringLiteral("20");
    const DocumentNumber prepayment = save(prepaid, accounts("2000", "1050"));
    EXPECT_EQ(journal(bill_key(prepayment, "GLFKEY")), QStringList({"1050 -20.00 -20.00", "1300 60.00 60.00", "2000 40.00 40.00"}));
    EXPECT_EQ(owing("V3002"), Decimal("135.00"));
    expect_consistent();
}

TEST_F(LandedBills, AForeignBillSharesItsConvertedTotalOverReceiptsInTwoCurrencies)
{
    const QString dollars = received({{"WIDGET-A", "10", "box", "30"}});
    const QString euros = received({{"BOLT-M8", "10", "box", "20"}}, "V2001", "EUR");
    LandedBill bill = landed({charge(1, "FREIGHT", "100.00", false, "5200")}, {dollars});
    bill.bill.header.vendor_no = QStringLiteral("V3001");
    bill.bill.header.currency = QStringLiteral("CAD");
    bill.bill.header.exchange_rate = Decimal("1.3333");
    bill.bill.header.rate_date = BillDate;
    EXPECT_EQ(refusal([&] { LandedBill b = bill; b.receipts = {dollars, euros}; return b; }(), accounts("2020")),
              euros + " is invalid.");
    const DocumentNumber saved = save(bill, accounts("2020"));
    EXPECT_EQ(journal(bill_key(saved, "GLFKEY")), QStringList({"1300 100.00 133.33", "2020 100.00 133.33"}));
    EXPECT_EQ(layer(dollars, "WIDGET-A"), "120 433.33 3.6111");
    expect_consistent();
}

TEST_F(LandedBills, RefusalsWriteNothing)
{
    const QString receipt = received({{"WIDGET-A", "10", "box", "30"}});
    const QString free = received({{"WIDGET-A", "1", "box", "0"}});
    save(landed({charge(1, "FREIGHT", "10.00")}, {receipt}));
    const QStringList before = t.snapshot();
    EXPECT_EQ(refusal(landed({charge(1, "FREIGHT", "10.00")}, {receipt})), "Vendor invoice no CB-1 exist");
    EXPECT_EQ(refusal(landed({charge(1, "FREIGHT", "10.00")}, {free}, "CB-2")),
              "Receipt goods value is zero. Landed cost cannot be allocated.");
    QStringList eleven;
    for (int n = 1; n <= 11; ++n)
        eleven << QStringLiteral("RO-X-%1").arg(n);
    EXPECT_EQ(refusal(landed({charge(1, "FREIGHT", "10.00")}, eleven, "CB-2")), "A landed bill covers at most 10 receipts.");
    EXPECT_EQ(refusal(landed({charge(1, "FREIGHT", "10.00")}, {"RO-NONE"}, "CB-2")), "RO-NONE is invalid.");
    EXPECT_EQ(t.snapshot(), before);
    // A receipt listed twice counts once.
    const DocumentNumber twice = save(landed({charge(1, "FREIGHT", "10.00")}, {receipt, receipt}, "CB-2"));
    EXPECT_EQ(t.count("PO_landed_multi_receipt_table WHERE docno = ?", {twice.docno}), 1);
}

TEST_F(LandedBills, AnEditReversesOnceStoresNewKeysAndMovesTheOwingBalanceByTheChange)
{
    const QString receipt = received({{"WIDGET-A", "10", "box", "30"}});
    const DocumentNumber bill = save(landed({charge(1, "FREIGHT", "90.00")}, {receipt}));
    const QString journal_before = bill_key(bill, "GLFKEY");
    const QString stock_before = bill_key(bill, "icfkey");

    ASSERT_TRUE(update_landed_bill(db(), shown(bill), landed({charge(1, "FREIGHT", "120.00")}, {receipt}), accounts(), stamp()));
    EXPECT_NE(bill_key(bill, "GLFKEY"), journal_before);
    EXPECT_NE(bill_key(bill, "icfkey"), stock_before);
    EXPECT_EQ(t.count("GL_header_table WHERE Source = 'PO-LANDED' AND Reverse = TRUE"), 2);
    EXPECT_EQ(owing("V3002"), Decimal("120.00"));
    EXPECT_EQ(layer(receipt, "WIDGET-A"), "120 420.00 3.5");
    expect_consistent();

    // A stale window and a void bill are refused.
    const DocumentVersion stale{QStringLiteral("PO_invoice_header_table"), bill.fkey, bill.docno, 0};
    auto refused = update_landed_bill(db(), stale, landed({charge(1, "FREIGHT", "10.00")}, {receipt}), accounts(), stamp());
    ASSERT_FALSE(refused);
    ASSERT_TRUE(void_bill(bill));
    EXPECT_EQ(layer(receipt, "WIDGET-A"), "120 300.00 2.5");
    auto again = void_bill(bill);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().message, bill.docno + " was void");
    expect_consistent();
}

} // namespace
} // namespace zelkor
