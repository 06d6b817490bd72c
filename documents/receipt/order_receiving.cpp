#include "documents/receipt/order_receiving.h"

#include "core/db/sql_batch.h"
#include "ledger/ledger_accounts.h"
#include "stock/on_order.h"

#include <algorithm>

namespace zelkor {
namespace {

enum class Locking { None, ForUpdate };

/// The orders' headers and lines, a few hundred orders a statement, headers before lines.
[[nodiscard]] std::expected<OrderLineStates, Error> order_lines(Database& db, const std::set<OrderLineKey>& keys,
                                                                Locking locking)
{
    std::set<QString> orders;
    for (const OrderLineKey& key : keys)
        orders.insert(key.first);
    const std::vector<QString> all(orders.begin(), orders.end());
    struct Header {
        QString number;
        bool order_void = false;
        bool future = false;
    };
    QHash<QString, Header> headers;
    OrderLineStates states;
    for (qsizetype first = 0; first < qsizetype(all.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(all.size()) - first);
        const Params params(all.begin() + first, all.begin() + first + count);
        const QString in_list = placeholder_list(count);
        // Headers before lines, in one round trip on PostgreSQL.
        const bool locks = locking == Locking::ForUpdate;
        auto read = db.select_together(
            {{.sql = QStringLiteral("SELECT fkey, docno, void, future_po FROM PO_header_table WHERE fkey IN (") + in_list
                     + QStringLiteral(") ORDER BY fkey"),
              .params = params,
              .locks = locks},
             {.sql = QStringLiteral("SELECT fkey, itemno, itemcode, itemtype, uom, warehouse, location, quantity,"
                                    " quantity_received, quantity_cancel, quantity_open, closed FROM PO_transaction_table"
                                    " WHERE fkey IN (")
                     + in_list + QStringLiteral(") ORDER BY fkey, itemno"),
              .params = params,
              .locks = locks}});
        if (!read)
            return std::unexpected(read.error());
        const Rows& header_rows = (*read)[0];
        const Rows& line_rows = (*read)[1];
        for (const Row& row : header_rows)
            headers.insert(row.text(u"fkey"), {row.text(u"docno"), row.flag(u"void"), row.flag(u"future_po")});
        for (const Row& row : line_rows) {
            OrderLineKey key{row.text(u"fkey"), int(row.integer(u"itemno"))};
            if (!keys.contains(key))
                continue;
            const Header header = headers.value(key.first);
            states.emplace(std::move(key),
                           OrderLineState{header.number, row.text(u"itemcode"), row.text(u"itemtype"), row.text(u"uom"),
                                          row.text(u"warehouse"), row.text(u"location"), row.decimal(u"quantity"),
                                          row.decimal(u"quantity_received"), row.decimal(u"quantity_cancel"),
                                          row.decimal(u"quantity_open"), row.flag(u"closed"), header.order_void,
                                          header.future});
        }
    }
    return states;
}

/// Rows per UPDATE of order lines: on PostgreSQL a hundred (every statement is a round trip), on
/// SQLite one, a prepared statement reused.
qsizetype lines_per_statement(const Database& db) { return db.engine() == Engine::Postgres ? 100 : 1; }

struct WrittenLine {
    OrderLineKey key;
    const OrderLineState* line;
    QString uom_received;
};

[[nodiscard]] std::expected<void, Error> write_lines(Database& db, const std::vector<WrittenLine>& lines)
{
    const qsizetype batch = lines_per_statement(db);
    for (qsizetype first = 0; first < qsizetype(lines.size()); first += batch) {
        const qsizetype count = std::min(batch, qsizetype(lines.size()) - first);
        QString values;
        Params params;
        for (qsizetype index = first; index < first + count; ++index) {
            const WrittenLine& written = lines[size_t(index)];
            const OrderLineState& line = *written.line;
            values += (index == first ? QString() : QStringLiteral(", "))
                + QStringLiteral("(?, CAST(? AS INTEGER), CAST(? AS NUMERIC), CAST(? AS NUMERIC), CAST(? AS NUMERIC), ?,"
                                 " CAST(? AS INTEGER))");
            params.insert(params.end(),
                          {written.key.first, written.key.second, line.received, line.cancelled, line.open,
                           written.uom_received.isEmpty() ? SqlValue(std::nullopt) : SqlValue(written.uom_received),
                           line.closed ? 1 : 0});
        }
        auto done = db.write(
            QStringLiteral("UPDATE PO_transaction_table SET quantity_received = v.column3, quantity_cancel = v.column4,"
                           " quantity_open = v.column5, uom_received = COALESCE(v.column6, PO_transaction_table.uom_received),"
                           " received = (v.column3 > 0), fully_received = (v.column5 = 0), closed = (v.column7 = 1)"
                           " FROM (VALUES ")
                + values
                + QStringLiteral(") AS v WHERE PO_transaction_table.fkey = v.column1"
                                 " AND PO_transaction_table.itemno = v.column2"),
            params);
        if (!done)
            return std::unexpected(done.error());
    }
    return {};
}

/// The header flags follow the lines: received when any line received something, fully
/// received when no goods line (item type below "3") that is not void is still open; the
/// order's version rises with them.
[[nodiscard]] std::expected<void, Error> settle_header(Database& db, const QString& order_key)
{
    auto done = db.write(
        QStringLiteral("UPDATE PO_header_table SET"
                       " received = EXISTS (SELECT 1 FROM PO_transaction_table l WHERE l.fkey = ? AND l.quantity_received > 0),"
                       " fully_received = NOT EXISTS (SELECT 1 FROM PO_transaction_table l WHERE l.fkey = ?"
                       " AND l.void = FALSE AND COALESCE(l.itemtype, '') < '3' AND l.quantity_open > 0),"
                       " row_version = row_version + 1 WHERE fkey = ?"),
        {order_key, order_key, order_key});
    if (!done)
        return std::unexpected(done.error());
    return {};
}

} // namespace

std::expected<QHash<QString, QString>, Error> order_keys_of(Database& db, const QSet<QString>& numbers)
{
    QHash<QString, QString> keys;
    auto read = select_by_keys(db, QStringLiteral("SELECT docno, fkey FROM PO_header_table WHERE company = 1 AND docno IN ("),
                               std::vector<QString>(numbers.begin(), numbers.end()), QStringLiteral(")"),
                               [&](const Row& row) { keys.insert(row.text(u"docno"), row.text(u"fkey")); });
    if (!read)
        return std::unexpected(read.error());
    return keys;
}

std::expected<OrderLineStates, Error> read_order_lines(Database& db, const std::set<OrderLineKey>& keys)
{
    return order_lines(db, keys, Locking::None);
}

std::expected<OrderLineStates, Error> lock_order_lines(Database& db, const std::set<OrderLineKey>& keys)
{
    return order_lines(db, keys, Locking::ForUpdate);
}

std::expected<void, Error> apply_receipt_to_orders(Database& db, const std::vector<OrderLineReceipt>& lines,
                                                   ReceiptEffect effect)
{
    std::set<OrderLineKey> keys;
    for (const OrderLineReceipt& line : lines)
        keys.insert({line.order_key, line.order_itemno});
    auto locked = lock_order_lines(db, keys);
    if (!locked)
        return std::unexpected(locked.error());
    return apply_receipt_to_orders(db, lines, effect, *locked);
}

std::expected<void, Error> apply_receipt_to_orders(Database& db, const std::vector<OrderLineReceipt>& lines,
                                                   ReceiptEffect effect, OrderLineStates& locked)
{
    // Several receipt lines may name one order line: they are summed.
    std::map<OrderLineKey, OrderLineReceipt> by_line;
    for (const OrderLineReceipt& line : lines) {
        auto [slot, fresh] = by_line.try_emplace({line.order_key, line.order_itemno}, line);
        if (!fresh) {
            slot->second.quantity_received += line.quantity_received;
            slot->second.quantity_cancel += line.quantity_cancel;
        }
    }
    const Decimal sign(effect == ReceiptEffect::Apply ? 1 : -1);
    std::vector<OnOrderLine> fallen;
    std::vector<WrittenLine> written;
    QSet<QString> orders;
    for (const auto& [key, receipt] : by_line) {
        auto found = locked.find(key);
        if (found == locked.end())
            return std::unexpected(Error::not_found(QStringLiteral("This item was closed.")));
        OrderLineState& line = found->second;
        if (effect == ReceiptEffect::Apply && line.order_void)
            return std::unexpected(Error::invalid(QStringLiteral("PO was void.")));
        if (effect == ReceiptEffect::Apply && line.closed)
            return std::unexpected(Error::invalid(QStringLiteral("This item was closed.")));
        const Decimal open_before = line.open;
        line.received += sign * receipt.quantity_received;
        line.cancelled += sign * receipt.quantity_cancel;
        line.open = std::max(Decimal(), line.quantity - line.received - line.cancelled);
        line.closed = effect == ReceiptEffect::Apply ? line.open.is_zero() : line.closed && line.open.is_zero();
        written.push_back({key, &line, effect == ReceiptEffect::Apply ? receipt.uom_received : QString()});
        // What leaves (or re-enters) the open quantity leaves (or re-enters) the on-order quantity;
        // future and void orders count nothing on order.
        if (!line.future && !line.order_void && open_before != line.open)
            fallen.push_back({line.itemcode, line.itemtype, line.uom, line.warehouse, line.location, open_before - line.open});
        orders.insert(key.first);
    }
    if (auto done = write_lines(db, written); !done)
        return done;
    if (auto stock = change_on_order_quantity(db, fallen, OnOrderChange::Remove, OnOrderTypes::StockAndNonStock,
                                              MissingOnHandRow::Create);
        !stock)
        return stock;
    QStringList sorted(orders.begin(), orders.end());
    sorted.sort();
    for (const QString& order : sorted)
        if (auto settled = settle_header(db, order); !settled)
            return settled;
    return {};
}

} // namespace zelkor
