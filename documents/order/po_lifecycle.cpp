#include "documents/order/po_lifecycle.h"

#include "documents/order/po_requisition.h"
#include "stock/on_order.h"

namespace zelkor {
namespace {

const QString Headers = QStringLiteral("PO_header_table");

Error refused(const QString& message) { return Error::invalid(message); }

/// Takes the stock lines' open quantities off po_quantity where item and on-hand row exist, for
/// an order in effect (not a future one).
[[nodiscard]] std::expected<void, Error> remove_stock_on_order(Database& db, const Row& header)
{
    if (header.flag(u"future_po"))
        return {};
    auto lines = stored_on_order_lines(db, header.text(u"fkey"));
    if (!lines)
        return std::unexpected(lines.error());
    return change_on_order_quantity(db, *lines, OnOrderChange::Remove, OnOrderTypes::StockOnly, MissingOnHandRow::Skip);
}

/// The shown order read again under lock; refused when void, or when changed since shown.
[[nodiscard]] std::expected<Row, Error> lock_order(Database& db, const DocumentVersion& shown)
{
    auto locked = lock_shown_version(db, shown);
    if (!locked)
        return std::unexpected(locked.error());
    if (locked->header.flag(u"void"))
        return std::unexpected(refused(shown.number + QStringLiteral(" was void.")));
    if (locked->changed)
        return std::unexpected(changed_by_another_user(shown.number));
    return locked->header;
}

/// Puts the future orders with keys `fkeys` in effect and their open quantities on order, the
/// on-hand rows of all of them in one pass; gives the keys of those that were still future orders.
[[nodiscard]] std::expected<QStringList, Error> activate_in_transaction(Database& db, const QStringList& fkeys)
{
    QStringList activated;
    std::vector<OnOrderLine> lines;
    for (const QString& fkey : fkeys) {
        auto flagged = db.execute(QStringLiteral("UPDATE PO_header_table SET future_po = FALSE, row_version = row_version + 1"
                                                 " WHERE fkey = ? AND future_po = TRUE AND void = FALSE"),
                                  {fkey});
        if (!flagged)
            return std::unexpected(flagged.error());
        if (*flagged == 0)
            continue;
        auto stored = stored_on_order_lines(db, fkey);
        if (!stored)
            return std::unexpected(stored.error());
        lines.insert(lines.end(), stored->begin(), stored->end());
        activated << fkey;
    }
    auto stock = change_on_order_quantity(db, lines, OnOrderChange::Add, OnOrderTypes::StockAndNonStock,
                                          MissingOnHandRow::Create);
    if (!stock)
        return std::unexpected(stock.error());
    return activated;
}

} // namespace

std::expected<void, Error> close_po(Database& db, const DocumentVersion& shown)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto header = lock_order(db, shown);
    if (!header)
        return std::unexpected(header.error());
    if (header->flag(u"fully_received"))
        return std::unexpected(refused(QStringLiteral("Goods was fully received.")));
    if (auto stock = remove_stock_on_order(db, *header); !stock)
        return stock;
    if (auto lines = db.write(QStringLiteral("UPDATE PO_transaction_table SET quantity_cancel = quantity_cancel + quantity_open,"
                                             " quantity_open = 0, closed = TRUE WHERE fkey = ?"),
                              {shown.key});
        !lines)
        return lines;
    if (auto flagged = db.write(QStringLiteral("UPDATE PO_header_table SET fully_received = TRUE,"
                                                   " row_version = row_version + 1 WHERE fkey = ?"),
                                {shown.key});
        !flagged)
        return flagged;
    return tx.commit();
}

std::expected<void, Error> void_po(Database& db, const DocumentVersion& shown)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto header = lock_order(db, shown);
    if (!header)
        return std::unexpected(header.error());
    if (header->flag(u"received"))
        return std::unexpected(refused(QStringLiteral("Goods was received. Can not void this PO.")));
    if (header->flag(u"billed"))
        return std::unexpected(refused(shown.number + QStringLiteral(" was billed. Can not void this PO")));
    // The requisitions before the on-hand rows, as every save takes them.
    if (auto reopened = reopen_requisition_lines(db, shown.key); !reopened)
        return reopened;
    if (auto stock = remove_stock_on_order(db, *header); !stock)
        return stock;
    if (auto flagged = db.write(QStringLiteral("UPDATE PO_header_table SET void = TRUE, row_version = row_version + 1"
                                                   " WHERE fkey = ?"),
                                {shown.key});
        !flagged)
        return flagged;
    if (auto lines = db.write(QStringLiteral("UPDATE PO_transaction_table SET void = TRUE, closed = TRUE WHERE fkey = ?"),
                              {shown.key});
        !lines)
        return lines;
    return tx.commit();
}

std::expected<bool, Error> activate_po(Database& db, const DocumentVersion& shown)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    if (auto header = lock_order(db, shown); !header)
        return std::unexpected(header.error());
    auto activated = activate_in_transaction(db, {shown.key});
    if (!activated)
        return std::unexpected(activated.error());
    if (auto committed = tx.commit(); !committed)
        return std::unexpected(committed.error());
    return !activated->isEmpty();
}

std::expected<QStringList, Error> activate_all_future_pos(Database& db, const QDate& today)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto due = db.select_for_update(QStringLiteral("SELECT docno, fkey FROM PO_header_table WHERE company = 1"
                                                   " AND future_po = TRUE AND activate_date <= ? AND void = FALSE"
                                                   " ORDER BY fkey"),
                                    {today}, LockRank::EditedDocument);
    if (!due)
        return std::unexpected(due.error());
    QStringList fkeys;
    for (const Row& order : *due)
        fkeys << order.text(u"fkey");
    auto activated = activate_in_transaction(db, fkeys);
    if (!activated)
        return std::unexpected(activated.error());
    QStringList numbers;
    for (const Row& order : *due)
        if (activated->contains(order.text(u"fkey")))
            numbers << order.text(u"docno");
    if (auto committed = tx.commit(); !committed)
        return std::unexpected(committed.error());
    return numbers;
}

} // namespace zelkor
