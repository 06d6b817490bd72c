#include "forms/purchasing/po_save.h"

#include "forms/purchasing/po_requisition.h"
#include "services/stock/on_order.h"
#include "services/clock.h"
#include "services/fiscal_periods.h"
#include "services/sql_names.h"

namespace zelkor {
namespace {

/// Lines per INSERT statement. On PostgreSQL every statement is a round trip, so lines go in
/// batches (a hundred lines of about eighty values stay well inside its limit on bound values).
/// SQLite has no round trips, and its driver looks bound values up by position at a cost that
/// grows with the statement's size, so it writes one line per statement.
size_t lines_per_statement(const Database& db) { return db.engine() == Engine::Postgres ? 100 : 1; }

SqlValue optional_text(const QString& text)
{
    return text.isEmpty() ? SqlValue(std::nullopt) : SqlValue(text);
}

enum class Writing { New, Edit };

/// What the lines about to be written put on order.
std::vector<OnOrderLine> on_order_lines(const std::vector<OrderLine>& lines)
{
    std::vector<OnOrderLine> result;
    result.reserve(lines.size());
    for (const OrderLine& line : lines)
        result.push_back({line.itemcode, line.itemtype, line.uom, line.warehouse, line.location, line.quantity_open});
    return result;
}

InsertRow line_row(const Order& order, const OrderLine& line, const SaveStamp& stamp, Writing writing,
                   const TaxElements& elements)
{
    const OrderHeader& header = order.header;
    const QDate today = Clock::today();
    const QString now = Clock::time_text();
    InsertRow row(QStringLiteral("PO_transaction_table"));
    row.set(u"company", 1)
        .set(u"fkey", header.fkey)
        .set(u"itemno", line.itemno)
        .set(u"doctype", "po")
        .set(u"docno", header.docno)
        .set(u"order_date", header.order_date)
        .set(u"vendor_no", header.vendor_no)
        .set(u"currency", header.currency)
        .set(u"itemcode", optional_text(line.itemcode))
        .set(u"itemtype", optional_text(line.itemtype))
        .set(u"vendor_itemcode", optional_text(line.vendor_itemcode))
        .set(u"description", line.description)
        .set(u"quantity", line.quantity)
        .set(u"quantity_open", line.quantity_open)
        .set(u"quantity_received", line.quantity_received)
        .set(u"quantity_billed", line.quantity_billed)
        .set(u"quantity_cancel", line.quantity_cancel)
        .set(u"quantity_open_for_bill", line.quantity_open_for_bill)
        .set(u"uom", optional_text(line.uom))
        .set(u"uom_open", optional_text(line.uom_open))
        .set(u"uom_received", optional_text(line.uom_received))
        .set(u"unitcost", line.unitcost)
        .set(u"extended_cost", line.extended_cost.value_or(Decimal()))
        .set(u"net_cost", line.net_cost)
        .set(u"price_include_tax", line.price_include_tax)
        .set(u"tax_code", optional_text(line.tax_code))
        .set(u"prno", optional_text(line.prno))
        .set(u"pr_itemno", line.pr_itemno)
        .set(u"accno", optional_text(line.accno))
        .set(u"warehouse", optional_text(line.warehouse))
        .set(u"location", optional_text(line.location))
        .set(u"computer_id", stamp.computer_id);
    // Also writes tax_amount and tax_allocate, summed from the elements the line keeps.
    set_tax_columns(row, elements, AllocatedColumn::Present);
    if (writing == Writing::New) {
        row.set(u"date_created", today).set(u"time_created", now).set(u"user_created", stamp.user);
        row.set(u"date_lastmodified", QDate()).set(u"time_lastmodified", std::nullopt).set(u"user_updated", std::nullopt);
    } else {
        row.set(u"date_created", line.date_created.isValid() ? line.date_created : today)
            .set(u"time_created", line.time_created.isEmpty() ? now : line.time_created)
            .set(u"user_created", line.user_created.isEmpty() ? stamp.user : line.user_created)
            .set(u"date_lastmodified", today)
            .set(u"time_lastmodified", now)
            .set(u"user_updated", stamp.user);
    }
    return row;
}

/// Writes rows that share one column list with as few statements as the batch size allows.
[[nodiscard]] std::expected<void, Error> insert_rows(Database& db, const std::vector<InsertRow>& rows)
{
    const size_t batch = lines_per_statement(db);
    for (size_t first = 0; first < rows.size(); first += batch) {
        const size_t last = std::min(rows.size(), first + batch);
        QString sql = rows[first].sql();
        const QString values = sql.mid(sql.lastIndexOf(QStringLiteral(" VALUES ")) + 8);
        Params params = rows[first].params();
        for (size_t index = first + 1; index < last; ++index) {
            sql += QStringLiteral(", ") + values;
            const Params& more = rows[index].params();
            params.insert(params.end(), more.begin(), more.end());
        }
        if (auto done = db.execute(sql, params); !done)
            return std::unexpected(done.error());
    }
    return {};
}

/// Writes the lines with their tax slots (insert_new_po_transaction), then applies their
/// effects: on-order quantities and the requisition lines they close.
[[nodiscard]] std::expected<void, Error> insert_new_po_transaction(Database& db, const Order& order, const SaveStamp& stamp,
                                                     Writing writing)
{
    std::vector<InsertRow> rows;
    rows.reserve(order.lines.size());
    for (const OrderLine& line : order.lines) {
        auto elements = tax_elements_to_save(order.taxes, line.itemno, line.extended_cost);
        if (!elements)
            return std::unexpected(elements.error());
        rows.push_back(line_row(order, line, stamp, writing, *elements));
    }
    if (auto written = insert_rows(db, rows); !written)
        return written;
    if (!order.header.future_po) {
        auto stock = change_on_order_quantity(db, on_order_lines(order.lines), OnOrderChange::Add,
                                              OnOrderTypes::StockAndNonStock, MissingOnHandRow::Create);
        if (!stock)
            return stock;
    }
    return close_requisition_lines(db, order.lines);
}

bool has_stock_item(const Order& order)
{
    for (const OrderLine& line : order.lines)
        if (line.itemtype == u"1")
            return true;
    return false;
}

bool stock_item_only(const Order& order)
{
    for (const OrderLine& line : order.lines)
        if (line.itemtype != u"1")
            return false;
    return true;
}

/// The header columns a new order writes and an edit rewrites.
template <class Statement>
Statement& set_kept_header_columns(Statement& row, const Order& order)
{
    const OrderHeader& header = order.header;
    row.set(u"has_stock_item", has_stock_item(order))
        .set(u"stock_item_only", stock_item_only(order))
        .set(u"shipto", header.shipto)
        .set(u"order_date", header.order_date)
        .set(u"currency", header.currency)
        .set(u"requested_user", header.requested_user)
        .set(u"contact_person", header.contact_person)
        .set(u"phone", header.phone)
        .set(u"fax", header.fax)
        .set(u"shipvia", header.shipvia)
        .set(u"reference", header.reference)
        .set(u"fob_point", header.fob_point)
        .set(u"remark", header.remark)
        .set(u"delivery_instruction", header.delivery_instruction)
        .set(u"payment_term", header.payment_term)
        .set(u"ship_to_address", header.ship_to_address)
        .set(u"vendor_address", header.vendor_address)
        .set(u"sub_total", header.sub_total)
        .set(u"tax_total", header.tax_total)
        .set(u"total", header.total);
    return row;
}

InsertRow header_row(const Order& order, const SaveStamp& stamp)
{
    const OrderHeader& header = order.header;
    const bool foreign_rate = header.exchange_rate.has_value();
    InsertRow row(QStringLiteral("PO_header_table"));
    row.set(u"company", 1)
        .set(u"vendor_no", header.vendor_no)
        .set(u"doctype", "po")
        .set(u"docno", header.docno)
        .set(u"fkey", header.fkey)
        .set(u"future_po", header.future_po)
        .set(u"activate_date", header.future_po ? header.activate_date : QDate())
        .set(u"arrival_date", header.arrival_date)
        .set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", foreign_rate ? (header.rate_date.isValid() ? header.rate_date : Clock::today()) : QDate());
    set_kept_header_columns(row, order)
        .set(u"date_created", Clock::today())
        .set(u"time_created", Clock::time_text())
        .set(u"source_form", "Purchase Order")
        .set(u"user_created", stamp.user);
    return row;
}

[[nodiscard]] std::expected<void, Error> rewrite_header(Database& db, const Order& order, const SaveStamp& stamp)
{
    const OrderHeader& header = order.header;
    UpdateRow row(QStringLiteral("PO_header_table"));
    set_kept_header_columns(row, order)
        .set(u"date_lastmodified", Clock::today())
        .set(u"time_lastmodified", Clock::time_text())
        .set(u"user_updated", stamp.user);
    if (header.arrival_date.isValid())
        row.set(u"arrival_date", header.arrival_date);
    if (auto done = row.where(QStringLiteral("fkey = ?"), {header.fkey}).execute(db); !done)
        return std::unexpected(done.error());
    auto created = db.execute(QStringLiteral("UPDATE PO_header_table SET date_created = ?, time_created = ?"
                                             " WHERE fkey = ? AND date_created IS NULL"),
                              {Clock::today(), Clock::time_text(), header.fkey});
    if (!created)
        return std::unexpected(created.error());
    return {};
}

/// The stored header an edit keeps: number, vendor, rate and the future flag are not changed
/// by an edit, so the lines are written with the stored values.
[[nodiscard]] std::expected<Order, Error> with_stored_header(Database& db, const Order& order)
{
    auto stored = db.first(QStringLiteral("SELECT docno, vendor_no, future_po FROM PO_header_table WHERE fkey = ?"),
                           {order.header.fkey});
    if (!stored)
        return std::unexpected(stored.error());
    if (!*stored)
        return std::unexpected(Error::not_found(QStringLiteral("Document no. ") + order.header.docno
                                                + QStringLiteral(" not found")));
    Order written = order;
    written.header.docno = (*stored)->text(u"docno");
    written.header.vendor_no = (*stored)->text(u"vendor_no");
    written.header.future_po = (*stored)->flag(u"future_po");
    return written;
}

} // namespace

[[nodiscard]] std::expected<DocumentNumber, Error> insert_new_po(Database& db, Order& order, const SaveStamp& stamp)
{
    auto period = fiscal_period_of(db, order.header.order_date);
    if (!period)
        return std::unexpected(period.error());
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto number = issue_document_number(db, QStringLiteral("po"), period->fiscal_year);
    if (!number)
        return std::unexpected(number.error());
    order.header.docno = number->docno;
    order.header.fkey = number->fkey;
    auto fail = [&order](const Error& error) {
        order.header.docno.clear();
        order.header.fkey.clear();
        return std::unexpected(error);
    };
    if (auto header = header_row(order, stamp).execute(db); !header)
        return fail(header.error());
    if (auto lines = insert_new_po_transaction(db, order, stamp, Writing::New); !lines)
        return fail(lines.error());
    if (auto committed = tx.commit(); !committed)
        return fail(committed.error());
    return *number;
}

[[nodiscard]] std::expected<void, Error> return_pr_n_qty_on_po(Database& db, const QString& fkey)
{
    auto future = db.scalar(QStringLiteral("SELECT future_po FROM PO_header_table WHERE fkey = ?"), {fkey});
    if (!future)
        return std::unexpected(future.error());
    if (!Row::to_flag(*future)) {
        auto lines = stored_on_order_lines(db, fkey);
        if (!lines)
            return std::unexpected(lines.error());
        auto stock = change_on_order_quantity(db, *lines, OnOrderChange::Remove, OnOrderTypes::StockAndNonStock,
                                              MissingOnHandRow::Create);
        if (!stock)
            return stock;
    }
    return reopen_requisition_lines(db, fkey);
}

[[nodiscard]] std::expected<void, Error> update_po(Database& db, const Order& order, const SaveStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto written = with_stored_header(db, order);
    if (!written)
        return std::unexpected(written.error());
    if (auto undone = return_pr_n_qty_on_po(db, order.header.fkey); !undone)
        return undone;
    if (auto header = rewrite_header(db, *written, stamp); !header)
        return header;
    if (auto deleted = db.execute(QStringLiteral("DELETE FROM PO_transaction_table WHERE fkey = ?"), {order.header.fkey});
        !deleted)
        return std::unexpected(deleted.error());
    if (auto lines = insert_new_po_transaction(db, *written, stamp, Writing::Edit); !lines)
        return lines;
    return tx.commit();
}

} // namespace zelkor
