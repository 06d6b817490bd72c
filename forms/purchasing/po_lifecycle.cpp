#include "forms/purchasing/po_lifecycle.h"

#include "forms/purchasing/po_requisition.h"
#include "services/stock/on_order.h"

namespace zelkor {
namespace {

/// Whether the order's quantities are counted on order: saved as a current order or activated.
[[nodiscard]] std::expected<bool, Error> in_effect(Database& db, const QString& fkey)
{
    auto future = db.scalar(QStringLiteral("SELECT future_po FROM PO_header_table WHERE fkey = ?"), {fkey});
    if (!future)
        return std::unexpected(future.error());
    return future->isValid() && !Row::to_flag(*future);
}

/// Takes the stock lines' open quantities off po_quantity where item and on-hand row exist.
[[nodiscard]] std::expected<void, Error> remove_stock_on_order(Database& db, const QString& fkey)
{
    auto effective = in_effect(db, fkey);
    if (!effective)
        return std::unexpected(effective.error());
    if (!*effective)
        return {};
    auto lines = stored_on_order_lines(db, fkey);
    if (!lines)
        return std::unexpected(lines.error());
    return change_on_order_quantity(db, *lines, OnOrderChange::Remove, OnOrderTypes::StockOnly, MissingOnHandRow::Skip);
}

[[nodiscard]] std::expected<void, Error> run(Database& db, const QString& sql, const Params& params)
{
    if (auto done = db.execute(sql, params); !done)
        return std::unexpected(done.error());
    return {};
}

[[nodiscard]] std::expected<bool, Error> activate_in_transaction(Database& db, const QString& fkey)
{
    auto flagged = db.execute(QStringLiteral("UPDATE PO_header_table SET future_po = FALSE"
                                             " WHERE fkey = ? AND future_po = TRUE AND void = FALSE"),
                              {fkey});
    if (!flagged)
        return std::unexpected(flagged.error());
    if (*flagged == 0)
        return false;
    auto lines = stored_on_order_lines(db, fkey);
    if (!lines)
        return std::unexpected(lines.error());
    auto stock = change_on_order_quantity(db, *lines, OnOrderChange::Add, OnOrderTypes::StockAndNonStock,
                                          MissingOnHandRow::Create);
    if (!stock)
        return std::unexpected(stock.error());
    return true;
}

} // namespace

[[nodiscard]] std::expected<void, Error> close_po(Database& db, const QString& fkey)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    if (auto stock = remove_stock_on_order(db, fkey); !stock)
        return stock;
    if (auto lines = run(db,
                         QStringLiteral("UPDATE PO_transaction_table SET quantity_cancel = quantity_cancel + quantity_open,"
                                        " quantity_open = 0, closed = TRUE WHERE fkey = ?"),
                         {fkey});
        !lines)
        return lines;
    if (auto header = run(db, QStringLiteral("UPDATE PO_header_table SET fully_received = TRUE WHERE fkey = ?"), {fkey});
        !header)
        return header;
    return tx.commit();
}

[[nodiscard]] std::expected<void, Error> void_po(Database& db, const QString& fkey)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    if (auto stock = remove_stock_on_order(db, fkey); !stock)
        return stock;
    if (auto reopened = reopen_requisition_lines(db, fkey); !reopened)
        return reopened;
    if (auto header = run(db, QStringLiteral("UPDATE PO_header_table SET void = TRUE WHERE fkey = ?"), {fkey}); !header)
        return header;
    if (auto lines = run(db, QStringLiteral("UPDATE PO_transaction_table SET void = TRUE, closed = TRUE WHERE fkey = ?"),
                         {fkey});
        !lines)
        return lines;
    return tx.commit();
}

[[nodiscard]] std::expected<bool, Error> activate_po(Database& db, const QString& fkey)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto activated = activate_in_transaction(db, fkey);
    if (!activated)
        return activated;
    if (auto committed = tx.commit(); !committed)
        return std::unexpected(committed.error());
    return *activated;
}

[[nodiscard]] std::expected<QStringList, Error> activate_all_future_pos(Database& db, const QDate& today)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto due = db.select(QStringLiteral("SELECT docno, fkey FROM PO_header_table WHERE company = 1 AND future_po = TRUE"
                                        " AND activate_date <= ? AND void = FALSE ORDER BY fkey"),
                         {today});
    if (!due)
        return std::unexpected(due.error());
    QStringList numbers;
    for (const Row& order : *due) {
        auto activated = activate_in_transaction(db, order.text(u"fkey"));
        if (!activated)
            return std::unexpected(activated.error());
        if (*activated)
            numbers << order.text(u"docno");
    }
    if (auto committed = tx.commit(); !committed)
        return std::unexpected(committed.error());
    return numbers;
}

} // namespace zelkor
