#include "documents/order/po_save.h"

#include "core/clock.h"
#include "core/db/save_retries.h"
#include "core/db/sql_batch.h"
#include "core/db/sql_names.h"
#include "core/db/value_limits.h"
#include "core/document_versions.h"
#include "core/fiscal_periods.h"
#include "documents/order/po_requisition.h"
#include "stock/on_order.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace zelkor {
namespace {

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

/// A line as it is written, with the tax elements it keeps.
struct WrittenLine {
    const OrderLine* line;
    TaxElements elements;
};

/// The lines with their elements, and the header's totals: always the sums of the lines written.
struct LinesToWrite {
    std::vector<WrittenLine> lines;
    DocumentTotals totals;
};

[[nodiscard]] std::expected<LinesToWrite, Error> lines_to_write(const Order& order)
{
    LinesToWrite result;
    std::vector<LineAmounts> amounts;
    for (const OrderLine& line : order.lines) {
        auto elements = tax_elements_to_save(order.taxes, line.itemno, line.extended_cost);
        if (!elements)
            return std::unexpected(elements.error());
        amounts.push_back({line.extended_cost.value_or(Decimal()).round2(),
                           line_tax_totals(*elements, std::nullopt, TaxIncluded::No).tax_amount});
        result.lines.push_back({&line, std::move(*elements)});
    }
    result.totals = totalamt_calculate(amounts);
    // The header keeps the totals in amount columns: refused before anything is written when
    // they could not hold them.
    for (const Decimal& total : {result.totals.sub_total, result.totals.tax_total, result.totals.total})
        if (column_problem(total, NumberColumn::Money))
            return std::unexpected(Error::invalid(QStringLiteral("total is too large.")));
    return result;
}

InsertRow line_row(const Order& order, const WrittenLine& written, const AuditStamp& stamp, Writing writing,
                   InsertRow::Columns columns)
{
    const OrderHeader& header = order.header;
    const OrderLine& line = *written.line;
    InsertRow row(QStringLiteral("PO_transaction_table"), columns);
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
        .set(u"quantity", line.quantity.value_or(Decimal()))
        .set(u"quantity_open", line.quantity_open)
        .set(u"quantity_received", line.quantity_received)
        .set(u"quantity_billed", line.quantity_billed)
        .set(u"quantity_cancel", line.quantity_cancel)
        .set(u"quantity_open_for_bill", line.quantity_open_for_bill)
        .set(u"uom", optional_text(line.uom))
        .set(u"uom_open", optional_text(line.uom_open))
        .set(u"uom_received", optional_text(line.uom_received))
        .set(u"unitcost", line.unitcost.value_or(Decimal()))
        .set(u"extended_cost", line.extended_cost.value_or(Decimal()).round2())
        .set(u"net_cost", line_tax_totals(written.elements, line.extended_cost.value_or(Decimal()).round2(),
                                          line.price_include_tax ? TaxIncluded::Yes : TaxIncluded::No)
                              .net_cost)
        .set(u"price_include_tax", line.price_include_tax)
        .set(u"tax_code", optional_text(line.tax_code))
        .set(u"prno", optional_text(line.prno))
        .set(u"pr_itemno", line.pr_itemno)
        .set(u"accno", optional_text(line.accno))
        .set(u"warehouse", optional_text(line.warehouse))
        .set(u"location", optional_text(line.location))
        .set(u"received", line.received)
        .set(u"fully_received", line.fully_received)
        .set(u"billed", line.billed)
        .set(u"fully_billed", line.fully_billed)
        .set(u"closed", line.closed)
        .set(u"computer_id", stamp.computer_id);
    // Also writes tax_amount and tax_allocate, summed from the elements the line keeps.
    set_tax_columns(row, written.elements, AllocatedColumn::Present);
    if (writing == Writing::New) {
        row.set_created(stamp.created());
        row.set(u"date_lastmodified", QDate()).set(u"time_lastmodified", std::nullopt).set(u"user_updated", std::nullopt);
    } else {
        row.set_created({line.date_created.isValid() ? line.date_created : stamp.today,
                         line.time_created.isEmpty() ? stamp.time : line.time_created,
                         line.user_created.isEmpty() ? stamp.user : line.user_created})
            .set(u"date_lastmodified", stamp.today)
            .set(u"time_lastmodified", stamp.time)
            .set(u"user_updated", stamp.user);
    }
    return row;
}

/// Writes the lines with their tax slots; their effects were applied before the number was taken.
[[nodiscard]] std::expected<void, Error> insert_new_po_transaction(Database& db, const Order& order,
                                                                   const LinesToWrite& lines, const AuditStamp& stamp,
                                                                   Writing writing)
{
    std::vector<InsertRow> rows;
    rows.reserve(lines.lines.size());
    for (const WrittenLine& line : lines.lines)
        rows.push_back(line_row(order, line, stamp, writing,
                                rows.empty() ? InsertRow::Columns::Named : InsertRow::Columns::AsFirstRow));
    return insert_rows(db, rows);
}

/// Closes the requisition lines the order issues and puts its quantities on order: requisitions
/// (the documents it takes from) before the on-hand rows, both before the order takes its number.
[[nodiscard]] std::expected<void, Error> take_from_requisitions_and_stock(Database& db, const Order& order)
{
    if (auto closed = close_requisition_lines(db, order.lines); !closed)
        return closed;
    if (order.header.future_po)
        return {};
    return change_on_order_quantity(db, on_order_lines(order.lines), OnOrderChange::Add, OnOrderTypes::StockAndNonStock,
                                    MissingOnHandRow::Create);
}

/// Moves an edited order's quantities on order: the stored lines' open quantities off, the edited
/// lines' on, in one pass over the on-hand rows; a future order counts nothing on order.
[[nodiscard]] std::expected<void, Error> move_edit_on_order(Database& db, const Order& edited)
{
    if (edited.header.future_po)
        return {};
    auto stored = stored_on_order_lines(db, edited.header.fkey);
    if (!stored)
        return std::unexpected(stored.error());
    return move_on_order_quantity(db, {{on_order_lines(edited.lines), OnOrderChange::Add}, {*stored, OnOrderChange::Remove}},
                                  OnOrderTypes::StockAndNonStock, MissingOnHandRow::Create);
}

bool has_stock_item(const Order& order)
{
    return std::any_of(order.lines.begin(), order.lines.end(), [](const OrderLine& line) { return line.itemtype == u"1"; });
}

bool stock_item_only(const Order& order)
{
    return std::all_of(order.lines.begin(), order.lines.end(), [](const OrderLine& line) { return line.itemtype == u"1"; });
}

/// The header columns a new order writes and an edit rewrites.
template <class Statement>
Statement& set_kept_header_columns(Statement& row, const Order& order, const DocumentTotals& totals)
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
        .set(u"sub_total", totals.sub_total)
        .set(u"tax_total", totals.tax_total)
        .set(u"total", totals.total);
    return row;
}

InsertRow header_row(const Order& order, const DocumentTotals& totals, const AuditStamp& stamp)
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
        .set(u"rate_date", foreign_rate ? (header.rate_date.isValid() ? header.rate_date : stamp.today) : QDate());
    set_kept_header_columns(row, order, totals)
        .set_created(stamp.created())
        .set(u"source_form", "Purchase Order");
    return row;
}

[[nodiscard]] std::expected<void, Error> rewrite_header(Database& db, const Order& order, const DocumentTotals& totals,
                                                        bool fully_billed, const AuditStamp& stamp)
{
    const OrderHeader& header = order.header;
    UpdateRow row(QStringLiteral("PO_header_table"));
    set_kept_header_columns(row, order, totals)
        .set(u"date_lastmodified", stamp.today)
        .set(u"time_lastmodified", stamp.time)
        .set(u"user_updated", stamp.user);
    if (header.arrival_date.isValid())
        row.set(u"arrival_date", header.arrival_date);
    row.set(u"fully_billed", fully_billed);
    if (auto done = row.where(QStringLiteral("fkey = ?"), {header.fkey}).execute(db); !done)
        return std::unexpected(done.error());
    if (auto raised = raise_version(db, QStringLiteral("PO_header_table"), header.fkey); !raised)
        return raised;
    auto created = db.execute(QStringLiteral("UPDATE PO_header_table SET date_created = ?, time_created = ?"
                                             " WHERE fkey = ? AND date_created IS NULL"),
                              {stamp.today, stamp.time, header.fkey});
    if (!created)
        return std::unexpected(created.error());
    return {};
}

/// What receipts, bills and closing recorded on a stored line.
struct StoredLine {
    Decimal quantity;
    Decimal received;
    Decimal billed;
    Decimal cancelled;
    Decimal open_for_bill;
    QString uom_received;
    bool received_flag = false;
    bool fully_received = false;
    bool billed_flag = false;
    bool fully_billed = false;
    bool closed = false;
};

/// The stored header and lines of the edited order, taken under lock: nothing another user
/// writes to them can slip between this read and the rewrite.
struct StoredOrder {
    Row header;
    QHash<int, StoredLine> lines;
};

/// The edited order as it is stored, read under lock: a void order is refused (" was void."), a
/// fully received one too ("Order was fully received."), and one another user wrote since it was
/// shown (changed_by_another_user).
[[nodiscard]] std::expected<StoredOrder, Error> locked_order(Database& db, const DocumentVersion& shown)
{
    auto locked = lock_shown_version(db, shown);
    if (!locked)
        return std::unexpected(locked.error());
    if (locked->header.flag(u"void"))
        return std::unexpected(Error::invalid(shown.number + QStringLiteral(" was void.")));
    if (locked->header.flag(u"fully_received"))
        return std::unexpected(Error::invalid(QStringLiteral("Order was fully received.")));
    if (locked->changed)
        return std::unexpected(changed_by_another_user(shown.number));
    auto rows = db.select_for_update(
        QStringLiteral("SELECT itemno, quantity, quantity_received, quantity_billed, quantity_cancel,"
                       " quantity_open_for_bill, uom_received, received, fully_received, billed, fully_billed, closed"
                       " FROM PO_transaction_table WHERE fkey = ? ORDER BY itemno"),
        {shown.key});
    if (!rows)
        return std::unexpected(rows.error());
    StoredOrder stored{locked->header, {}};
    for (const Row& row : *rows)
        stored.lines.insert(int(row.integer(u"itemno")),
                            {row.decimal(u"quantity"), row.decimal(u"quantity_received"), row.decimal(u"quantity_billed"),
                             row.decimal(u"quantity_cancel"), row.decimal(u"quantity_open_for_bill"),
                             row.text(u"uom_received"), row.flag(u"received"), row.flag(u"fully_received"),
                             row.flag(u"billed"), row.flag(u"fully_billed"), row.flag(u"closed")});
    return stored;
}

Error refused(const QString& message) { return Error::invalid(message); }

/// The edited lines with what is stored about them: received, billed and cancelled quantities
/// and the flags are carried; the quantity still to bill moves by the change of the ordered
/// quantity (never below 0), since a bill may have written off the rest of a line; a line is
/// fully billed exactly when nothing is left to bill, as a bill leaves it. Gives whether the
/// whole order is then fully billed.
[[nodiscard]] std::expected<bool, Error> merge_stored_lines(Order& order, const StoredOrder& stored)
{
    bool fully_billed = true;
    QSet<int> kept;
    for (OrderLine& line : order.lines) {
        const Decimal quantity = line.quantity.value_or(Decimal());
        const auto found = stored.lines.constFind(line.itemno);
        if (found == stored.lines.constEnd()) {
            line.quantity_received = line.quantity_billed = line.quantity_cancel = Decimal();
            line.quantity_open_for_bill = quantity;
            line.uom_received.clear();
            line.received = line.fully_received = line.billed = line.fully_billed = line.closed = false;
            line.quantity_open = quantity;
            fully_billed = false;
            continue;
        }
        kept.insert(line.itemno);
        const StoredLine& was = *found;
        if (quantity < was.received + was.cancelled)
            return std::unexpected(refused(
                QStringLiteral("quantity order cannot less than quantity received + quantity canceled.") + QChar(10)
                + QStringLiteral("You have received ") + was.received.to_string() + u' ' + was.uom_received
                + QStringLiteral(" of ") + line.itemcode));
        line.quantity_received = was.received;
        line.quantity_billed = was.billed;
        line.quantity_cancel = was.cancelled;
        line.uom_received = was.uom_received;
        line.quantity_open = quantity - was.received - was.cancelled;
        line.quantity_open_for_bill = std::max(Decimal(), was.open_for_bill + (quantity - was.quantity));
        line.received = was.received_flag;
        line.fully_received = was.fully_received && line.quantity_open.is_zero();
        line.billed = was.billed_flag;
        line.fully_billed = line.quantity_open_for_bill.is_zero();
        line.closed = was.closed;
        fully_billed = fully_billed && line.fully_billed;
    }
    for (auto it = stored.lines.constBegin(); it != stored.lines.constEnd(); ++it)
        if (!kept.contains(it.key()) && (it->received > Decimal() || it->billed > Decimal()))
            return std::unexpected(refused(QStringLiteral("Cannot delete item that has been receiving goods.")));
    return fully_billed;
}

} // namespace

DocumentKind orders() { return {QStringLiteral("PO_header_table"), QStringLiteral("po")}; }

static std::expected<DocumentNumber, Error> insert_new_po_once(Database& db, Order& order, const AuditStamp& stamp)
{
    auto period = fiscal_period_of(db, order.header.order_date);
    if (!period)
        return std::unexpected(period.error());
    for (OrderLine& line : order.lines) {
        line.quantity_open = line.quantity_open_for_bill = line.quantity.value_or(Decimal());
        line.quantity_received = line.quantity_billed = line.quantity_cancel = Decimal();
        line.uom_received.clear();
        line.received = line.fully_received = line.billed = line.fully_billed = line.closed = false;
    }
    auto lines = lines_to_write(order);
    if (!lines)
        return std::unexpected(lines.error());
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    if (auto taken = take_from_requisitions_and_stock(db, order); !taken)
        return std::unexpected(taken.error());
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
    if (auto header = header_row(order, lines->totals, stamp).execute(db); !header)
        return fail(header.error());
    if (auto written = insert_new_po_transaction(db, order, *lines, stamp, Writing::New); !written)
        return fail(written.error());
    if (auto committed = tx.commit(); !committed)
        return fail(committed.error());
    return *number;
}

std::expected<DocumentNumber, Error> insert_new_po(Database& db, Order& order, const AuditStamp& stamp)
{
    return with_retries(db, u"new order", [&] { return insert_new_po_once(db, order, stamp); });
}

static std::expected<void, Error> update_po_once(Database& db, const Order& order, const DocumentVersion& shown,
                                    const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto stored = locked_order(db, shown);
    if (!stored)
        return std::unexpected(stored.error());
    // Number, vendor and the future flag are not changed by an edit: the lines are written with
    // the stored values.
    Order written = order;
    written.header.docno = stored->header.text(u"docno");
    written.header.vendor_no = stored->header.text(u"vendor_no");
    written.header.future_po = stored->header.flag(u"future_po");
    auto fully_billed = merge_stored_lines(written, *stored);
    if (!fully_billed)
        return std::unexpected(fully_billed.error());
    auto lines = lines_to_write(written);
    if (!lines)
        return std::unexpected(lines.error());
    // Requisitions first (the old lines reopened, the new ones closed), then the on-hand rows
    // (the new quantities on order, the old ones off), before the lines are written again.
    if (auto reopened = reopen_requisition_lines(db, order.header.fkey); !reopened)
        return reopened;
    if (auto closed = close_requisition_lines(db, written.lines); !closed)
        return closed;
    if (auto moved = move_edit_on_order(db, written); !moved)
        return moved;
    if (auto header = rewrite_header(db, written, lines->totals, *fully_billed, stamp); !header)
        return header;
    if (auto deleted = db.execute(QStringLiteral("DELETE FROM PO_transaction_table WHERE fkey = ?"), {order.header.fkey});
        !deleted)
        return std::unexpected(deleted.error());
    if (auto inserted = insert_new_po_transaction(db, written, *lines, stamp, Writing::Edit); !inserted)
        return inserted;
    return tx.commit();
}

std::expected<void, Error> update_po(Database& db, const Order& order, const DocumentVersion& shown,
                                    const AuditStamp& stamp)
{
    return with_retries(db, u"order edit", [&] { return update_po_once(db, order, shown, stamp); });
}

} // namespace zelkor
