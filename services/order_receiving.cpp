#include "services/order_receiving.h"

#include "services/document_versions.h"
#include "services/stock/on_order.h"

#include <QSet>

#include <algorithm>
#include <map>
#include <tuple>

namespace zelkor {
namespace {

/// An order line as the receipt changes it.
struct LockedLine {
    QString itemcode;
    QString itemtype;
    QString uom;
    QString warehouse;
    QString location;
    Decimal quantity;
    Decimal received;
    Decimal cancelled;
    Decimal open;
    bool closed = false;
    bool order_void = false;
    bool future = false;
};

using LineKey = std::pair<QString, int>;

[[nodiscard]] std::expected<LockedLine, Error> lock_line(Database& db, const LineKey& key)
{
    auto rows = db.select_for_update(
        QStringLiteral("SELECT l.itemcode, l.itemtype, l.uom, l.warehouse, l.location, l.quantity, l.quantity_received,"
                       " l.quantity_cancel, l.quantity_open, l.closed, h.void, h.future_po"
                       " FROM PO_transaction_table l INNER JOIN PO_header_table h ON h.fkey = l.fkey"
                       " WHERE l.fkey = ? AND l.itemno = ?"),
        {key.first, key.second});
    if (!rows)
        return std::unexpected(rows.error());
    if (rows->empty())
        return std::unexpected(Error::not_found(QStringLiteral("This item was closed.")));
    const Row& row = rows->front();
    return LockedLine{row.text(u"itemcode"),           row.text(u"itemtype"),
                      row.text(u"uom"),                row.text(u"warehouse"),
                      row.text(u"location"),           row.decimal(u"quantity"),
                      row.decimal(u"quantity_received"), row.decimal(u"quantity_cancel"),
                      row.decimal(u"quantity_open"),    row.flag(u"closed"),
                      row.flag(u"void"),               row.flag(u"future_po")};
}

[[nodiscard]] std::expected<void, Error> write_line(Database& db, const LineKey& key, const LockedLine& line,
                                                    const QString& uom_received)
{
    auto done = db.execute(QStringLiteral("UPDATE PO_transaction_table SET quantity_received = ?, quantity_cancel = ?,"
                                          " quantity_open = ?, uom_received = COALESCE(?, uom_received),"
                                          " received = ?, fully_received = ? WHERE fkey = ? AND itemno = ?"),
                           {line.received, line.cancelled, line.open,
                            uom_received.isEmpty() ? SqlValue(std::nullopt) : SqlValue(uom_received),
                            line.received > Decimal(), line.open.is_zero(), key.first, key.second});
    if (!done)
        return std::unexpected(done.error());
    return {};
}

/// The header flags follow the lines: received when any line received something, fully
/// received when no line that is not void is still open.
[[nodiscard]] std::expected<void, Error> settle_header(Database& db, const QString& order_key)
{
    auto done = db.execute(
        QStringLiteral("UPDATE PO_header_table SET"
                       " received = EXISTS (SELECT 1 FROM PO_transaction_table l WHERE l.fkey = ? AND l.quantity_received > 0),"
                       " fully_received = NOT EXISTS (SELECT 1 FROM PO_transaction_table l WHERE l.fkey = ?"
                       " AND l.void = FALSE AND l.quantity_open > 0) WHERE fkey = ?"),
        {order_key, order_key, order_key});
    if (!done)
        return std::unexpected(done.error());
    return raise_version(db, QStringLiteral("PO_header_table"), order_key);
}

} // namespace

std::expected<void, Error> apply_receipt_to_orders(Database& db, const std::vector<OrderLineReceipt>& lines,
                                                   ReceiptEffect effect)
{
    // Several receipt lines may name one order line: they are summed, and lines are locked in
    // key order so that two receipts never wait on each other crosswise.
    std::map<LineKey, std::pair<OrderLineReceipt, bool>> by_line;
    for (const OrderLineReceipt& line : lines) {
        auto [slot, fresh] = by_line.try_emplace({line.order_key, line.order_itemno}, line, true);
        if (!fresh) {
            slot->second.first.quantity_received += line.quantity_received;
            slot->second.first.quantity_cancel += line.quantity_cancel;
        }
    }
    const int sign = effect == ReceiptEffect::Apply ? 1 : -1;
    std::vector<OnOrderLine> fallen;
    QSet<QString> orders;
    for (const auto& [key, entry] : by_line) {
        const OrderLineReceipt& receipt = entry.first;
        auto line = lock_line(db, key);
        if (!line)
            return std::unexpected(line.error());
        if (effect == ReceiptEffect::Apply && line->order_void)
            return std::unexpected(Error::invalid(QStringLiteral("PO was void.")));
        if (effect == ReceiptEffect::Apply && line->closed)
            return std::unexpected(Error::invalid(QStringLiteral("This item was closed.")));
        const Decimal open_before = line->open;
        line->received += Decimal(sign) * receipt.quantity_received;
        line->cancelled += Decimal(sign) * receipt.quantity_cancel;
        line->open = std::max(Decimal(), line->quantity - line->received - line->cancelled);
        if (auto written = write_line(db, key, *line, effect == ReceiptEffect::Apply ? receipt.uom_received : QString());
            !written)
            return written;
        // What leaves (or re-enters) the open quantity leaves (or re-enters) the on-order quantity.
        if (!line->future && open_before != line->open)
            fallen.push_back({line->itemcode, line->itemtype, line->uom, line->warehouse, line->location,
                              open_before - line->open});
        orders.insert(key.first);
    }
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
