#include "stock_fixture.h"

#include <QThread>

#include <atomic>

namespace zelkor {
namespace {

class StockSafety : public StockTest {
protected:
    /// Makes every statement of `operation` fail in turn, each time inside a save that then
    /// rolls back, and checks that stock is exactly as before; then runs it for real.
    template <typename Operation>
    void fails_cleanly_at_every_statement(const char* what, Operation&& operation)
    {
        SCOPED_TRACE(what);
        const QStringList before = stock_state();
        int failures = 0;
        for (int n = 1;; ++n) {
            {
                Transaction tx(db());
                db().fail_statement(n);
                auto done = operation();
                if (done) {
                    db().fail_statement(0);
                    break;
                }
                EXPECT_EQ(done.error().kind, Error::Kind::Database) << "statement " << n << ": " << done.error().message.toStdString();
                ++failures;
            }
            ASSERT_EQ(stock_state(), before) << "after a failure at statement " << n;
        }
        EXPECT_GT(failures, 5);
        ASSERT_TRUE(saved(operation));
        expect_consistent();
    }
};

TEST_F(StockSafety, FailureAtAnyStatementLeavesStockAsItWas)
{
    StockReceipt r = receipt();
    r.currency = QStringLiteral("EUR");
    r.exchange_rate = Decimal("1.25");
    const std::vector<StockReceiptLine> lines{
        line(QStringLiteral("WIDGET"), QStringLiteral("box"), "2", "60.00"),
        line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "5", "13.00", QStringLiteral("MAIN"), QStringLiteral("A2")),
        line(QStringLiteral("GLUE"), QStringLiteral("kg"), "4", "12.00", QStringLiteral("EAST"), QStringLiteral("E1")),
        line(QStringLiteral("MANUAL"), QStringLiteral("each"), "1", "5.00"),
    };
    QString key;
    fails_cleanly_at_every_statement("receive", [&]() -> std::expected<void, Error> {
        auto received = receive_into_stock(db(), r, lines);
        if (!received)
            return std::unexpected(received.error());
        key = (*received)->document.fkey;
        return {};
    });
    // An issue that uses up one layer, takes part of the next and leaves a negative rest.
    fails_cleanly_at_every_statement("issue", [&] {
        return issue_from_layers(db(), {{"WIDGET", "MAIN", "A1"}, Decimal(40), Decimal(1)}, bill());
    });
    // A reversal that re-creates a used-up layer and drives another below 0.
    fails_cleanly_at_every_statement("reverse", [&] {
        return reverse_document_stock(db(), key, {QStringLiteral("ADMIN"), QString()});
    });
    // An issue that nets the negative layers against a new receipt's layer.
    received_key(receipt(QStringLiteral("RO-26-00002")), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "100", "200.00")});
    fails_cleanly_at_every_statement("netting issue", [&] {
        return issue_from_layers(db(), {{"WIDGET", "MAIN", "A1"}, Decimal(1), Decimal(1)}, bill(QStringLiteral("VI-26-00002")));
    });
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"59 118.00 2"})); // 100 - 1 - 40 netted
}

// Two users receive the same item at the same location in overlapping saves: the second
// waits for the first, and both receipts count, each with its own layer.
TEST_F(StockSafety, ConcurrentReceiptsOfOneItemBothCount)
{
    const std::vector<StockReceiptLine> lines{line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "10", "25.00")};
    std::optional<Transaction> first(std::in_place, db());
    ASSERT_TRUE(first->active());
    ASSERT_TRUE(receive_into_stock(db(), receipt(), lines));

    std::atomic<bool> started{false};
    std::optional<Error> their_error;
    bool committed = false;
    QThread* other = QThread::create([&] {
        auto other_db = t.open_another();
        started = true;
        Transaction tx(*other_db);
        if (!tx.active()) {
            their_error = tx.begin_error();
            return;
        }
        auto received = receive_into_stock(*other_db, receipt(QStringLiteral("RO-26-00002")), lines);
        if (!received)
            their_error = received.error();
        else
            committed = tx.commit().has_value();
    });
    other->start();
    while (!started)
        QThread::msleep(5);
    QThread::msleep(300); // the other user now waits for the item's warehouse row
    ASSERT_TRUE(first->commit());
    first.reset();
    other->wait();
    delete other;

    ASSERT_FALSE(their_error) << their_error->detail.toStdString();
    EXPECT_TRUE(committed);
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("20 50.00"));
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"10 25.00 2.5", "10 25.00 2.5"}));
    EXPECT_EQ(t.text(QStringLiteral("SELECT MAX(lot_id) FROM FIFO_table")), QStringLiteral("2026031510:00:01"));
    expect_consistent();
}

// Two issues at once never take the same layer twice.
TEST_F(StockSafety, ConcurrentIssuesTakeEachLayerOnce)
{
    received_key(receipt(), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "10", "25.00"),
                             line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "10", "30.00")});
    std::atomic<int> failures{0};
    auto issuer = [&](int index) {
        auto other_db = t.open_another();
        Transaction tx(*other_db);
        auto issued = tx.active() ? issue_from_layers(*other_db, {{"WIDGET", "MAIN", "A1"}, Decimal(6), Decimal(1)},
                                                      bill(QStringLiteral("VI-26-0000%1").arg(index)))
                                  : std::unexpected(tx.begin_error());
        if (!issued || !tx.commit())
            ++failures;
    };
    QThread* a = QThread::create(issuer, 1);
    QThread* b = QThread::create(issuer, 2);
    a->start();
    b->start();
    a->wait();
    b->wait();
    delete a;
    delete b;

    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"8 24.00 3"}));
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("8 24.00"));
    expect_consistent();
}

// A save that holds the item's stock through every retry makes the other fail cleanly.
TEST_F(StockSafety, StockHeldThroughEveryRetryFailsTheOtherSave)
{
    received_key(receipt(), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "10", "25.00")});
    Transaction holder(db());
    ASSERT_TRUE(issue_from_layers(db(), {{"WIDGET", "MAIN", "A1"}, Decimal(1), Decimal(1)}, bill()));
    std::optional<Error> failure;
    QThread* other = QThread::create([&] {
        auto other_db = t.open_another();
        Transaction tx(*other_db);
        if (!tx.active()) { // SQLite: the file's write lock is not granted
            failure = tx.begin_error();
            return;
        }
        auto received = receive_into_stock(*other_db, receipt(QStringLiteral("RO-26-00002")),
                                           {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "1", "2.00")});
        if (!received)
            failure = received.error();
    });
    other->start();
    other->wait();
    delete other;
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, Error::Kind::Locked);
    ASSERT_TRUE(holder.commit());
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("9 22.50"));
}

TEST_F(StockSafety, CheckerNamesEachInconsistency)
{
    const QString key = received_key(receipt(), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "10", "25.00"),
                                                 line(QStringLiteral("BOLT"), QStringLiteral("pcs"), "5", "5.00",
                                                      QStringLiteral("MAIN"), QStringLiteral("A2"))});
    expect_consistent();
    for (const char* corruption :
         {"UPDATE Item_onhand_table SET Value = 26 WHERE itemcode = 'WIDGET'",
          "UPDATE FIFO_table SET negative_lot = TRUE WHERE itemcode = 'BOLT'",
          "UPDATE FIFO_history_table SET quantity = 4 WHERE itemcode = 'BOLT'",
          "UPDATE IN_header_table SET void = TRUE",
          "INSERT INTO Item_onhand_table (company, itemcode, warehouse, location, quantity, Value) VALUES"
          " (1, 'MANUAL', 'MAIN', 'A1', 2, 0)"})
        ASSERT_TRUE(db().execute(QString::fromLatin1(corruption))) << corruption;
    auto violations = check_invariants(db(), engine_invariant_checks());
    ASSERT_TRUE(violations);
    EXPECT_EQ(*violations,
              (QStringList{
                  "on-hand stock matches its layers: item WIDGET in warehouse MAIN has 10 worth 26.00 on hand, its layers 10 worth 25.00",
                  "layers match their history: layer 2026031510:00:00 of BOLT/MAIN holds 5 worth 5.00, its history gives 4 worth 5.00",
                  "layers are well formed: layer 2026031510:00:00 of BOLT/MAIN holds 5 but is flagged negative",
                  "void inventory documents cancel: inventory document IR-26-00001 (" + key
                      + ") is void but its lines leave quantity 15, stock_uom_quantity 15, extended_cost 30, stock_value 30",
                  "non-stock items hold no stock: non-stock item MANUAL has 2 worth 0.00 on hand at MAIN/A1",
              }));
}

} // namespace
} // namespace zelkor
