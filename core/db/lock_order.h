#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace zelkor {

/// The one order in which every transaction of every document takes its row locks: a rank is
/// never taken after a higher one, so that two clerks' saves can wait on each other only one way
/// and never deadlock. The ranks follow what a save knows first: the document a clerk edits,
/// then what it takes from, then the rows many saves share, the busiest last so that they are
/// held the shortest time.
enum class LockRank : int {
    /// The document being edited, voided, closed or activated (its header, which guards its
    /// lines and postings): the save must know its shown version before anything else.
    EditedDocument = 1,
    /// Headers of the documents a save takes from (the orders of a receipt, the receipts of a
    /// bill), before any of their lines, so that a save that reads a header first and one that
    /// reads lines first cannot cross.
    SourceHeaders = 2,
    /// Lines of those documents (quantities received and billed).
    SourceLines = 3,
    /// Stock rows and cost layers of the items (Item_warehouse_table, Item_onhand_table,
    /// FIFO_table): shared by every save of the same items. The item-warehouse rows come first,
    /// all of a transaction's in key order (a later pass only takes held rows again, or higher
    /// ones); an item's on-hand rows and layers change only under its item-warehouse row, which
    /// is what lets a receipt post them after its number.
    Stock = 4,
    /// The vendor's row (owing balance) and prepayments: shared by every document of a vendor.
    Vendor = 5,
    /// Number counters (document numbers and keys): one row per kind and year that every save of
    /// that kind takes, so taken late.
    Counters = 6,
    /// Ledger balance rows: shared by every posting to an account, so taken last, just before
    /// the commit.
    LedgerBalances = 7,
};

/// The rank of a lock on a row of `table`; nothing for the rows a transaction owns alone
/// (postings of its own document, masters, settings), which cannot be part of a wait cycle.
std::optional<LockRank> lock_rank_of(const QString& table);

/// Records the locks of a transaction as its statements run, and reports a rank taken after a
/// higher one. Active only when a handler is installed (test builds): production saves pay
/// nothing for it.
class LockOrderRecorder {
public:
    using Handler = std::function<void(const QString& violation)>;
    /// Installs the function told of each violation; an empty one stops the recording.
    static void set_handler(Handler handler);
    static bool active();

    /// A transaction began: it holds nothing yet.
    void begin();
    /// A statement ran inside the transaction; `for_update` when it read rows to keep them,
    /// `rank` when the caller named the rank of those rows.
    void statement(const QString& sql, bool for_update, std::optional<LockRank> rank);

    /// A statement locked the rows of `table` with these keys (each its columns joined in
    /// their key order). Rows of one table are taken in key order in one pass; a later pass may
    /// take again rows it holds, but a new row below one already held is reported: another
    /// transaction may hold that row and wait for the higher one.
    void keys(const QString& table, const QStringList& keys);

    /// While one lives, the statements of its thread are not recorded: a test's set-up that
    /// removes rows inside the transaction whose refusal it then checks.
    class SetUp {
    public:
        SetUp();
        ~SetUp();
        SetUp(const SetUp&) = delete;
        SetUp& operator=(const SetUp&) = delete;
    };

private:
    struct Taken {
        LockRank rank;
        QString table;
    };
    void take(const QString& table, LockRank rank, const QString& sql);
    static void report(const QString& violation);

    std::vector<Taken> m_taken;
    QHash<QString, QSet<QString>> m_keys;   ///< rows locked by key, per table
    QHash<QString, QString> m_highest_key; ///< the highest of them, per table
    QSet<QString> m_own; ///< tables whose rows this transaction holds as its own document's
};

} // namespace zelkor
