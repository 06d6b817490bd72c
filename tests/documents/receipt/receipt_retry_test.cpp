// A save that meets another clerk's locks through nobody's fault runs again whole: the clerk
// hears nothing, and the number its first try took is given back.
#include "core/numbering.h"
#include "tests/support/documents.h"
#include "tests/support/test_database.h"

#include <QThread>

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace zelkor {
namespace {

using testing::Contents;
using testing::TestDatabase;

TEST(SaveRetries, AReceiptCaughtInADeadlockRunsAgainAndKeepsItsNumbersGapFree)
{
    TestDatabase t(Contents::Demo);
    const QString order = testing::saved_order(t.db(), {"V1001", {{"WIDGET-A", "10", "box", "30"}}, QDate(2026, 3, 2)}).docno;
    const qint64 counter = t.scalar("SELECT nextdocno FROM Docno_master_table WHERE doctype = 'ro' AND fiscalyear = '2026'").toLongLong();

    // Another workstation holds the receipt counter (PostgreSQL) or the whole file (SQLite).
    auto other = t.open_another();
    const bool postgres = t.engine() == Engine::Postgres;
    ASSERT_TRUE(other->execute_script(postgres ? QStringLiteral("BEGIN;\nSET LOCAL deadlock_timeout = '30s';")
                                               : QStringLiteral("BEGIN IMMEDIATE;")));
    if (postgres) {
        ASSERT_TRUE(other->execute("UPDATE Docno_master_table SET nextdocno = nextdocno WHERE doctype = 'ro'"));
    }

    std::optional<DocumentNumber> saved;
    std::string failure;
    std::thread clerk([&] {
        try {
            saved = testing::saved_receipt(t.db(), order, {{1, "10"}}, QDate(2026, 3, 5));
        } catch (const std::exception& error) {
            failure = error.what();
        }
    });
    if (postgres) {
        // The receipt now holds its stock row and waits for the counter; asking for that stock
        // row closes the circle, and the server breaks it by failing the receipt's statement.
        QThread::msleep(700);
        ASSERT_TRUE(other->select("SELECT itemcode FROM Item_warehouse_table WHERE itemcode = 'WIDGET-A' FOR UPDATE"));
    } else {
        // The receipt's first tries wait out the busy file.
        QThread::msleep(Database::LockWaitMilliseconds + 300);
    }
    ASSERT_TRUE(other->execute_script(QStringLiteral("ROLLBACK;")));
    clerk.join();

    ASSERT_TRUE(saved) << failure;
    EXPECT_EQ(saved->docno, "RO-26-00001");
    EXPECT_EQ(t.scalar("SELECT nextdocno FROM Docno_master_table WHERE doctype = 'ro' AND fiscalyear = '2026'").toLongLong(),
              counter + 1);
    EXPECT_EQ(t.count("PO_receipt_header_table"), 1);
    EXPECT_EQ(t.text("SELECT quantity_received FROM PO_transaction_table"), t.text("SELECT quantity_received FROM PO_receipt_transaction_table"));
}

} // namespace
} // namespace zelkor
