#include "core/db/lock_order.h"

#include <QHash>
#include <QStringList>
#include <QMutex>
#include <QRegularExpression>

#include <algorithm>

namespace zelkor {

namespace {

struct Handlers {
    QMutex mutex;
    LockOrderRecorder::Handler handler;
};

Handlers& handlers()
{
    static Handlers shared;
    return shared;
}

/// A document's header and the tables of its lines: locking the header of an edited document
/// keeps all of them for the transaction.
const QHash<QString, QStringList>& document_tables()
{
    static const QHash<QString, QStringList> tables{
        {QStringLiteral("pr_header_table"), {QStringLiteral("pr_transaction_table")}},
        {QStringLiteral("po_header_table"), {QStringLiteral("po_transaction_table")}},
        {QStringLiteral("po_receipt_header_table"), {QStringLiteral("po_receipt_transaction_table")}},
        {QStringLiteral("po_invoice_header_table"),
         {QStringLiteral("po_invoice_transaction_table"), QStringLiteral("po_landed_multi_receipt_table")}},
    };
    return tables;
}

/// The header and line tables of the document kind `table` belongs to; empty for other tables.
QStringList document_family(const QString& table)
{
    for (auto kind = document_tables().cbegin(); kind != document_tables().cend(); ++kind)
        if (kind.key() == table || kind.value().contains(table))
            return QStringList{kind.key()} + kind.value();
    return {};
}

const char* rank_name(LockRank rank)
{
    switch (rank) {
    case LockRank::EditedDocument: return "edited document";
    case LockRank::SourceHeaders: return "source headers";
    case LockRank::SourceLines: return "source lines";
    case LockRank::Stock: return "stock";
    case LockRank::Vendor: return "vendor";
    case LockRank::Counters: return "counters";
    case LockRank::LedgerBalances: return "ledger balances";
    }
    return "?";
}

/// The table a statement writes or keeps rows of, and whether it takes row locks at all.
struct Target {
    QString table;
    bool locks = false;
    bool inserts = false;
};

Target target_of(const QString& sql, bool for_update)
{
    static const QRegularExpression write(QStringLiteral(R"(^\s*(UPDATE|DELETE\s+FROM|INSERT\s+INTO)\s+"?(\w+))"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression from(QStringLiteral(R"(\sFROM\s+"?(\w+))"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression upsert(QStringLiteral(R"(ON\s+CONFLICT\b.*\bDO\s+UPDATE)"),
                                           QRegularExpression::CaseInsensitiveOption
                                               | QRegularExpression::DotMatchesEverythingOption);
    if (for_update) {
        const auto found = from.match(sql);
        return {found.hasMatch() ? found.captured(1).toLower() : QString(), found.hasMatch()};
    }
    const auto found = write.match(sql);
    if (!found.hasMatch())
        return {};
    const bool insert = found.captured(1).startsWith(u'I', Qt::CaseInsensitive);
    return {found.captured(2).toLower(), !insert || upsert.match(sql).hasMatch(), insert};
}

} // namespace

std::optional<LockRank> lock_rank_of(const QString& table)
{
    static const QHash<QString, LockRank> ranks{
        {QStringLiteral("pr_header_table"), LockRank::SourceHeaders},
        {QStringLiteral("po_header_table"), LockRank::SourceHeaders},
        {QStringLiteral("po_receipt_header_table"), LockRank::SourceHeaders},
        {QStringLiteral("po_invoice_header_table"), LockRank::SourceHeaders},
        {QStringLiteral("pr_transaction_table"), LockRank::SourceLines},
        {QStringLiteral("po_transaction_table"), LockRank::SourceLines},
        {QStringLiteral("po_receipt_transaction_table"), LockRank::SourceLines},
        {QStringLiteral("po_invoice_transaction_table"), LockRank::SourceLines},
        {QStringLiteral("po_landed_multi_receipt_table"), LockRank::SourceLines},
        {QStringLiteral("item_warehouse_table"), LockRank::Stock},
        {QStringLiteral("item_onhand_table"), LockRank::Stock},
        {QStringLiteral("fifo_table"), LockRank::Stock},
        {QStringLiteral("vendor_table"), LockRank::Vendor},
        {QStringLiteral("payment_header_table"), LockRank::Vendor},
        {QStringLiteral("prepayment_waiting_po_table"), LockRank::Vendor},
        {QStringLiteral("docno_master_table"), LockRank::Counters},
        {QStringLiteral("next_number_fkey_table"), LockRank::Counters},
        {QStringLiteral("balance_table"), LockRank::LedgerBalances},
        {QStringLiteral("balance_period_table"), LockRank::LedgerBalances},
    };
    const auto found = ranks.constFind(table.toLower());
    if (found == ranks.cend())
        return std::nullopt;
    return *found;
}

void LockOrderRecorder::set_handler(Handler handler)
{
    QMutexLocker lock(&handlers().mutex);
    handlers().handler = std::move(handler);
}

bool LockOrderRecorder::active()
{
    QMutexLocker lock(&handlers().mutex);
    return bool(handlers().handler);
}

void LockOrderRecorder::begin()
{
    m_taken.clear();
    m_own.clear();
    m_keys.clear();
    m_highest_key.clear();
}

namespace {
thread_local int setting_up = 0;
}

LockOrderRecorder::SetUp::SetUp() { ++setting_up; }
LockOrderRecorder::SetUp::~SetUp() { --setting_up; }

void LockOrderRecorder::statement(const QString& sql, bool for_update, std::optional<LockRank> rank)
{
    if (setting_up > 0)
        return;
    const Target target = target_of(sql, for_update);
    if (target.table.isEmpty() || m_own.contains(target.table))
        return;
    // A transaction that inserts a document's rows writes a new document of that kind: no save
    // takes other documents of its own kind, so the kind's tables are its own from there on.
    if (target.inserts)
        for (const QString& table : document_family(target.table))
            m_own.insert(table);
    if (m_own.contains(target.table))
        return;
    if (!target.locks)
        return;
    const std::optional<LockRank> taken = rank ? rank : lock_rank_of(target.table);
    if (!taken)
        return;
    // On-hand rows and cost layers of an item in a warehouse change only under its
    // Item_warehouse_table row: a transaction that holds those rows holds their stock, and may
    // take it after its counters. One that took them bare could hold an on-hand row that such a
    // transaction is about to change, and wait on it crosswise.
    static const QSet<QString> guarded{QStringLiteral("item_onhand_table"), QStringLiteral("fifo_table")};
    if (guarded.contains(target.table)) {
        if (std::any_of(m_taken.begin(), m_taken.end(), [](const Taken& earlier) { return earlier.table == u"item_warehouse_table"; }))
            return;
        report(QStringLiteral("lock order: %1 taken without its item_warehouse_table rows; statement: %2")
                   .arg(target.table, sql.simplified().left(160)));
    }
    // A table this transaction already locked at that rank: its rows are held, or more of them
    // are taken in the same pass (a second journal entry's counter, the next chunk of keys).
    if (std::any_of(m_taken.begin(), m_taken.end(),
                    [&](const Taken& earlier) { return earlier.table == target.table && earlier.rank == *taken; }))
        return;
    if (*taken == LockRank::EditedDocument) {
        m_own.insert(target.table);
        for (const QString& lines : document_tables().value(target.table))
            m_own.insert(lines);
    }
    take(target.table, *taken, sql);
}

void LockOrderRecorder::keys(const QString& table, const QStringList& keys)
{
    if (setting_up > 0)
        return;
    QSet<QString>& held = m_keys[table];
    QString& highest = m_highest_key[table];
    const QString before = highest;
    for (const QString& key : keys) {
        if (held.contains(key))
            continue;
        if (!before.isEmpty() && key < before)
            report(QStringLiteral("lock order: %1 row %2 taken after row %3 in an earlier pass")
                       .arg(table, QString(key).replace(QChar(31), u'/'), QString(before).replace(QChar(31), u'/')));
        held.insert(key);
        highest = std::max(highest, key);
    }
}

void LockOrderRecorder::take(const QString& table, LockRank rank, const QString& sql)
{
    const auto higher = std::find_if(m_taken.begin(), m_taken.end(), [&](const Taken& earlier) { return earlier.rank > rank; });
    const std::optional<Taken> inverted = higher == m_taken.end() ? std::nullopt : std::optional<Taken>(*higher);
    m_taken.push_back({rank, table});
    if (!inverted)
        return;
    QStringList order;
    for (const Taken& each : m_taken)
        order << QStringLiteral("%1 (%2)").arg(each.table, QLatin1String(rank_name(each.rank)));
    const QString violation = QStringLiteral("lock order: %1 (%2) taken after %3 (%4); locks in order: %5; statement: %6")
                                  .arg(table, QLatin1String(rank_name(rank)), inverted->table,
                                       QLatin1String(rank_name(inverted->rank)), order.join(QStringLiteral(", ")),
                                       sql.simplified().left(160));
    report(violation);
}

void LockOrderRecorder::report(const QString& violation)
{
    Handler handler;
    {
        QMutexLocker lock(&handlers().mutex);
        handler = handlers().handler;
    }
    if (handler)
        handler(violation);
}

} // namespace zelkor
