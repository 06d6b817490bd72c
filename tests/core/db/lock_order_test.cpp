#include "core/db/database.h"
#include "core/db/lock_order.h"
#include "tests/support/lock_violations.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::CollectedViolations;
using testing::Contents;
using testing::TestDatabase;

TEST(LockOrder, ARankTakenAfterAHigherOneIsReportedWithTheTransactionsLocks)
{
    TestDatabase t(Contents::Fixture);
    CollectedViolations violations;
    {
        // Stock, then the counter, then the ledger: the order every save keeps.
        Transaction tx(t.db());
        ASSERT_TRUE(t.db().select_for_update("SELECT itemcode FROM Item_warehouse_table WHERE itemcode = ?", {"WIDGET"}));
        ASSERT_TRUE(t.db().execute("UPDATE Docno_master_table SET nextdocno = nextdocno WHERE doctype = 'gl'"));
        ASSERT_TRUE(t.db().execute("UPDATE Balance_table SET amount = amount WHERE accno = '1300'"));
    }
    EXPECT_EQ(violations.seen, QStringList());
    {
        // The counter first, then stock: the inversion two clerks deadlock on.
        Transaction tx(t.db());
        ASSERT_TRUE(t.db().execute("UPDATE Docno_master_table SET nextdocno = nextdocno WHERE doctype = 'gl'"));
        ASSERT_TRUE(t.db().select_for_update("SELECT itemcode FROM Item_warehouse_table WHERE itemcode = ?", {"WIDGET"}));
    }
    ASSERT_EQ(violations.seen.size(), 1);
    EXPECT_TRUE(violations.seen[0].startsWith("lock order: item_warehouse_table (stock) taken after docno_master_table (counters)"))
        << violations.seen[0].toStdString();
    {
        // An on-hand row changed without its item-warehouse row, even before any counter: a
        // receipt holding that row may post to it after its number.
        Transaction tx(t.db());
        ASSERT_TRUE(t.db().execute("INSERT INTO Item_onhand_table (company, itemcode, warehouse, location, quantity)"
                                   " VALUES (1, 'WIDGET', 'MAIN', '', 0) ON CONFLICT (company, itemcode, warehouse, location)"
                                   " DO UPDATE SET quantity = Item_onhand_table.quantity"));
    }
    ASSERT_EQ(violations.seen.size(), 2);
    EXPECT_TRUE(violations.seen[1].startsWith("lock order: item_onhand_table taken without its item_warehouse_table rows"))
        << violations.seen[1].toStdString();
    {
        // The edited document's own lines may follow anything; another document's may not.
        Transaction tx(t.db());
        ASSERT_TRUE(t.db().select_for_update("SELECT fkey FROM PO_header_table WHERE fkey = ?", {"1po-1"},
                                             LockRank::EditedDocument));
        ASSERT_TRUE(t.db().execute("UPDATE Vendor_table SET owing_balance = owing_balance WHERE vendor_no = 'V100'"));
        ASSERT_TRUE(t.db().execute("DELETE FROM PO_transaction_table WHERE fkey = '1po-1' AND itemno > 99"));
        ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_transaction_table SET quantity_received = quantity_received"
                                   " WHERE fkey = 'none'"));
    }
    ASSERT_EQ(violations.seen.size(), 3);
    EXPECT_TRUE(violations.seen[2].startsWith("lock order: po_receipt_transaction_table (source lines) taken after"
                                              " vendor_table (vendor)"))
        << violations.seen[2].toStdString();
}

} // namespace
} // namespace zelkor
