// The receipt's document routines: a new receipt, an edited one and a void, each one transaction
// of named steps. Stock rows are locked before anything else, so that every document changing
// stock takes its locks in the same order.
#include "forms/receiving/receipt_save.h"

#include "forms/receiving/receipt_verify.h"
#include "services/sql_batch.h"
#include "services/sql_names.h"
#include "services/stock/stock_receipt.h"
#include "services/stock/stock_reversal.h"
#include "services/stock/stock_settings.h"
#include "services/stock/stock_units.h"

#include <set>

namespace zelkor {
namespace {

const QString SourceForm = QStringLiteral("Receipt Entry");

Error refused(const QString& message) { return Error::invalid(message); }

SqlValue nullable(const QString& text) { return text.isEmpty() ? SqlValue(std::nullopt) : SqlValue(text); }

bool is_stock_line(const ReceiptLine& line) { return line.itemtype == u"1"; }

// Locking -----------------------------------------------------------------------------------------

/// Locks the warehouse settings of the stock lines' items where they are received and where
/// their orders had them on order; gives the settings (standard costs for the posting).
[[nodiscard]] std::expected<WarehouseSettings, Error> lock_stock_rows(Database& db,
                                                                      const std::vector<const ReceiptLine*>& lines)
{
    std::set<ItemWarehouse> keys;
    for (const ReceiptLine* line : lines) {
        if (!is_stock_line(*line))
            continue;
        keys.insert({line->itemcode, line->warehouse});
        if (!line->po_warehouse.isEmpty())
            keys.insert({line->itemcode, line->po_warehouse});
    }
    return lock_warehouse_settings(db, keys);
}

std::set<OrderLineKey> order_keys(const std::vector<const ReceiptLine*>& lines)
{
    std::set<OrderLineKey> keys;
    for (const ReceiptLine* line : lines)
        if (line->against_order())
            keys.insert({line->po_key, *line->po_itemno});
    return keys;
}

/// Locks the order lines the receipt names; an order voided since, or a line another user
/// changed since the clerk confirmed its quantities, refuses the save.
[[nodiscard]] std::expected<OrderLineStates, Error> locked_orders(Database& db, const std::vector<const ReceiptLine*>& lines,
                                                                  const OrderLineStates& seen)
{
    auto locked = lock_order_lines(db, order_keys(lines));
    if (!locked)
        return std::unexpected(locked.error());
    for (const auto& [key, before] : seen) {
        auto now = locked->find(key);
        if (now == locked->end())
            return std::unexpected(refused(QStringLiteral("This item was closed.")));
        if (now->second.order_void)
            return std::unexpected(refused(QStringLiteral("PO was void.")));
        if (now->second.open != before.open || now->second.received != before.received
            || now->second.cancelled != before.cancelled || now->second.warehouse != before.warehouse
            || now->second.location != before.location || now->second.uom != before.uom)
            return std::unexpected(changed_by_another_user(before.order_number));
    }
    return locked;
}

/// What every line does to its order line, in the order line's unit.
std::vector<OrderLineReceipt> order_effects(const std::vector<const ReceiptLine*>& lines, const OrderLineStates& orders)
{
    std::vector<OrderLineReceipt> effects;
    for (const ReceiptLine* line : lines) {
        if (!line->against_order())
            continue;
        const auto order = orders.find({line->po_key, *line->po_itemno});
        effects.push_back({line->po_key, *line->po_itemno, line->order_received, line->order_cancel,
                           order == orders.end() ? line->po_uom : order->second.uom});
    }
    return effects;
}

template <class Lines>
std::vector<const ReceiptLine*> pointers(const Lines& lines)
{
    std::vector<const ReceiptLine*> result;
    for (const ReceiptLine& line : lines)
        result.push_back(&line);
    return result;
}

// Writing -----------------------------------------------------------------------------------------

/// The lines as they are written: each with the tax elements it keeps and the tax figures
/// summed from them, so that the row, its posting and its stock value agree.
struct WrittenLines {
    std::vector<ReceiptLine> lines;
    std::vector<TaxElements> elements;
    Decimal sub_total;
    Decimal tax_total; ///< tax not included in the extended costs
};

[[nodiscard]] std::expected<WrittenLines, Error> lines_to_write(const Receipt& receipt, const OrderLineStates& orders)
{
    WrittenLines written;
    for (ReceiptLine line : receipt.lines) {
        auto elements = tax_elements_to_save(receipt.taxes, line.itemno, line.extended_cost);
        if (!elements)
            return std::unexpected(elements.error());
        const LineTaxTotals totals = line_tax_totals(*elements, line.extended_cost,
                                                     line.price_include_tax ? TaxIncluded::Yes : TaxIncluded::No);
        line.tax_amount = totals.tax_amount;
        line.tax_allocate = totals.allocated;
        line.net_cost = totals.net_cost;
        if (line.against_order()) {
            // The order line itself says where its quantity was on order.
            if (auto order = orders.find({line.po_key, *line.po_itemno}); order != orders.end()) {
                line.po_warehouse = order->second.warehouse;
                line.po_location = order->second.location;
                line.po_uom = order->second.uom;
            }
        }
        written.sub_total += line.extended_cost.value_or(Decimal()).round2();
        if (!line.price_include_tax)
            written.tax_total += line.tax_amount;
        written.lines.push_back(std::move(line));
        written.elements.push_back(std::move(*elements));
    }
    return written;
}

InsertRow line_row(const ReceiptHeader& header, const ReceiptLine& line, const TaxElements& elements,
                   const AuditStamp& stamp, InsertRow::Columns columns)
{
    InsertRow row(QStringLiteral("PO_receipt_transaction_table"), columns);
    row.set(u"company", 1)
        .set(u"fkey", header.fkey)
        .set(u"landed_item", false)
        .set(u"itemno", line.itemno)
        .set(u"doctype", "ro")
        .set(u"docno", header.docno)
        .set(u"receipt_date", header.receipt_date)
        .set(u"vendor_no", header.vendor_no)
        .set(u"currency", header.currency)
        .set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", header.exchange_rate ? header.rate_date : QDate())
        .set(u"vendor_invoice_no", std::nullopt)
        .set(u"vendor_invoice_date", QDate())
        .set(u"period", header.period)
        .set(u"fyear", header.fyear)
        .set(u"itemcode", line.itemcode)
        .set(u"itemtype", line.itemtype)
        .set(u"description", line.description)
        .set(u"vendor_itemcode", nullable(line.vendor_itemcode))
        .set(u"warehouse", nullable(line.warehouse))
        .set(u"location", nullable(line.location))
        .set(u"quantity_received", line.received())
        .set(u"quantity_cancel", line.cancelled())
        .set(u"po_quantity_order", line.po_quantity_order)
        .set(u"po_quantity_open", line.po_quantity_open)
        .set(u"uom", nullable(line.uom))
        .set(u"unitcost", line.unitcost.value_or(Decimal()))
        .set(u"extended_cost", line.extended_cost.value_or(Decimal()).round2())
        .set(u"net_cost", line.net_cost)
        // Billing state of a line received without a bill: all of it still to bill.
        .set(u"quantity_open_for_bill", line.received())
        .set(u"quantity_billed", Decimal())
        .set(u"amount_billed", Decimal())
        .set(u"quantity_adjusted", Decimal())
        .set(u"billed", false)
        .set(u"fully_billed", false)
        .set(u"tax_code", nullable(line.tax_code))
        .set(u"price_include_tax", line.price_include_tax)
        .set(u"accno", nullable(line.accno))
        .set(u"PONO", nullable(line.pono))
        .set(u"po_itemno", line.po_itemno)
        .set(u"po_uom", nullable(line.po_uom))
        .set(u"po_warehouse", nullable(line.po_warehouse))
        .set(u"po_location", nullable(line.po_location))
        .set(u"expense", false)
        .set(u"void", false)
        .set(u"date_created", stamp.today)
        .set(u"time_created", stamp.time)
        .set(u"user_created", stamp.user)
        .set(u"source_form", SourceForm)
        .set(u"computer_id", stamp.computer_id);
    set_tax_columns(row, elements, AllocatedColumn::Present);
    return row;
}

[[nodiscard]] std::expected<void, Error> write_lines(Database& db, const ReceiptHeader& header,
                                                     const WrittenLines& written, const AuditStamp& stamp)
{
    std::vector<InsertRow> rows;
    rows.reserve(written.lines.size());
    for (size_t index = 0; index < written.lines.size(); ++index)
        rows.push_back(line_row(header, written.lines[index], written.elements[index], stamp,
                                index == 0 ? InsertRow::Columns::Named : InsertRow::Columns::AsFirstRow));
    return insert_rows(db, rows);
}

// Posting and stock -----------------------------------------------------------------------------

ReceiptJournal journal_of(const ReceiptHeader& header, const AuditStamp& stamp)
{
    return {header.docno, header.receipt_date, header.fiscal_period(), header.currency, header.exchange_rate,
            header.vendor_no, stamp.user};
}

/// The goods lines as the posting takes them; a stock item valued at standard cost in its
/// warehouse carries its stock quantity at standard cost, exactly as stock will value it.
[[nodiscard]] std::expected<std::vector<PostedGoodsLine>, Error> posted_lines(Database& db, const WrittenLines& written,
                                                                              const WarehouseSettings& settings)
{
    StockUnits units(db);
    std::vector<PostedGoodsLine> posted;
    for (size_t index = 0; index < written.lines.size(); ++index) {
        const ReceiptLine& line = written.lines[index];
        PostedGoodsLine goods{line.itemno, line.itemcode, line.accno, line.line_cost(), std::nullopt,
                              written.elements[index]};
        const auto setting = settings.find({line.itemcode, line.warehouse});
        if (is_stock_line(line) && setting != settings.end()
            && setting->second.cost_method == CostMethod::StandardCost) {
            auto stock = units.convert(line.itemcode, line.uom, line.received());
            if (!stock)
                return std::unexpected(stock.error());
            if (*stock)
                goods.standard_value = ((*stock)->quantity * setting->second.standard_cost).round2();
        }
        posted.push_back(std::move(goods));
    }
    return posted;
}

[[nodiscard]] std::expected<QString, Error> post(Database& db, const ReceiptHeader& header, const WrittenLines& written,
                                                 const WarehouseSettings& settings, const ReceiptSaving& saving)
{
    auto lines = posted_lines(db, written, settings);
    if (!lines)
        return std::unexpected(lines.error());
    const ReceiptJournal journal = journal_of(header, saving.stamp);
    auto contributions = goods_contributions(db, journal, *lines, saving.accounts);
    if (!contributions)
        return std::unexpected(contributions.error());
    auto posted = post_receipt(db, journal, *contributions);
    if (!posted)
        return std::unexpected(posted.error());
    return posted->fkey;
}

[[nodiscard]] std::expected<QString, Error> receive_stock(Database& db, const ReceiptHeader& header,
                                                          const WrittenLines& written, const AuditStamp& stamp)
{
    StockReceipt receipt{header.docno,          header.receipt_date, header.fiscal_period(), header.currency,
                         header.exchange_rate,  header.rate_date,    header.landed_total,    {stamp.user, stamp.computer_id}};
    std::vector<StockReceiptLine> lines;
    for (const ReceiptLine& line : written.lines)
        lines.push_back({line.itemcode, line.itemtype, line.description, line.uom, line.warehouse, line.location,
                         line.received(), line.extended_cost.value_or(Decimal()).round2(), line.tax_amount,
                         line.price_include_tax, line.tax_allocate});
    auto received = receive_into_stock(db, receipt, lines);
    if (!received)
        return std::unexpected(received.error());
    return *received ? (*received)->document.fkey : QString();
}

/// The payables of a receipt: of a bill entered with it and of landed charges billed by other
/// vendors. FIXME: bills at receipt and landed charges on the receipt come with the payables;
/// until then a receipt owes its vendor through AP suspense only.
[[nodiscard]] std::expected<QString, Error> create_receipt_payables(const Receipt&) { return QString(); }

/// The keys a saved receipt keeps of what it wrote.
struct ReceiptKeys {
    QString journal;
    QString inventory;
    QString payable;
};

/// The header columns a new receipt writes and an edit rewrites.
template <class Statement>
Statement& set_kept_header_columns(Statement& row, const ReceiptHeader& header, const WrittenLines& written,
                                   const ReceiptKeys& keys)
{
    row.set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", header.exchange_rate ? header.rate_date : QDate())
        .set(u"vendor_invoice_no", std::nullopt)
        .set(u"vendor_invoice_date", QDate())
        .set(u"billed", false)
        .set(u"fully_billed", false)
        .set(u"PONO", header.multi_po ? SqlValue(std::nullopt) : nullable(header.pono))
        .set(u"shipvia", nullable(header.shipvia))
        .set(u"reference", header.reference)
        .set(u"remark", header.remark)
        .set(u"fob_point", header.fob_point)
        .set(u"payment_term", nullable(header.payment_term))
        .set(u"multi_po", header.multi_po)
        .set(u"payby", header.payby)
        .set(u"sub_total", written.sub_total)
        .set(u"landed_total", header.landed_total)
        .set(u"tax_total", written.tax_total)
        .set(u"total", written.sub_total + written.tax_total + header.landed_total)
        .set(u"GLFKEY", nullable(keys.journal))
        .set(u"icfkey", nullable(keys.inventory))
        .set(u"apfkey", nullable(keys.payable))
        .set(u"invoice_docno", std::nullopt);
    return row;
}

InsertRow header_row(const ReceiptHeader& header, const WrittenLines& written, const ReceiptKeys& keys,
                     const AuditStamp& stamp)
{
    InsertRow row(QStringLiteral("PO_receipt_header_table"));
    row.set(u"company", 1)
        .set(u"vendor_no", header.vendor_no)
        .set(u"doctype", "ro")
        .set(u"docno", header.docno)
        .set(u"fkey", header.fkey)
        .set(u"receipt_date", header.receipt_date)
        .set(u"currency", header.currency)
        .set(u"shipto", nullable(header.shipto))
        .set(u"ship_to_address", header.ship_to_address)
        .set(u"vendor_address", header.vendor_address)
        .set(u"period", header.period)
        .set(u"fyear", header.fyear);
    set_kept_header_columns(row, header, written, keys)
        .set(u"date_created", stamp.today)
        .set(u"time_created", stamp.time)
        .set(u"source_form", SourceForm)
        .set(u"user_created", stamp.user);
    return row;
}

/// Writes the lines, moves their quantities onto the orders, posts, receives into stock and
/// writes the payables: everything a receipt's lines do, new or edited. Gives the keys.
[[nodiscard]] std::expected<ReceiptKeys, Error> write_effects(Database& db, const Receipt& receipt,
                                                              const WrittenLines& written, const OrderLineStates& orders,
                                                              const WarehouseSettings& settings,
                                                              const ReceiptSaving& saving)
{
    const ReceiptHeader& header = receipt.header;
    if (auto done = write_lines(db, header, written, saving.stamp); !done)
        return std::unexpected(done.error());
    if (auto done = apply_receipt_to_orders(db, order_effects(pointers(written.lines), orders), ReceiptEffect::Apply); !done)
        return std::unexpected(done.error());
    ReceiptKeys keys;
    auto journal = post(db, header, written, settings, saving);
    if (!journal)
        return std::unexpected(journal.error());
    keys.journal = *journal;
    auto inventory = receive_stock(db, header, written, saving.stamp);
    if (!inventory)
        return std::unexpected(inventory.error());
    keys.inventory = *inventory;
    auto payable = create_receipt_payables(receipt);
    if (!payable)
        return std::unexpected(payable.error());
    keys.payable = *payable;
    return keys;
}

// A stored receipt ------------------------------------------------------------------------------

enum class Change { Edit, Void };

/// A stored receipt read under lock: its header and goods lines.
struct StoredReceipt {
    Row header;
    std::vector<ReceiptLine> lines;

    FiscalPeriod period() const { return {header.text(u"fyear"), int(header.integer(u"period"))}; }
};

/// The live landed bill that spreads its charges over the receipt; empty when none does.
[[nodiscard]] std::expected<QString, Error> covering_landed_bill(Database& db, const QString& receipt_no)
{
    auto found = db.scalar(QStringLiteral("SELECT h.docno FROM PO_invoice_header_table h WHERE h.company = 1"
                                          " AND h.doctype = 'ld' AND h.void = FALSE AND (h.receipt_no = ?"
                                          " OR EXISTS (SELECT 1 FROM PO_landed_multi_receipt_table m"
                                          " WHERE m.docno = h.docno AND m.receipt_no = ?)) ORDER BY h.docno"),
                           {receipt_no, receipt_no});
    if (!found)
        return std::unexpected(found.error());
    return Row::to_text(*found);
}

/// Reads the shown receipt again under lock and refuses a change it no longer allows.
[[nodiscard]] std::expected<StoredReceipt, Error> locked_receipt(Database& db, const DocumentVersion& shown, Change change)
{
    auto locked = lock_shown_version(db, shown);
    if (!locked)
        return std::unexpected(locked.error());
    const Row& header = locked->header;
    const QString& number = shown.number;
    if (header.flag(u"void"))
        return std::unexpected(refused(number + QStringLiteral(" was void.")));
    if (header.flag(u"billed") || header.flag(u"fully_billed"))
        return std::unexpected(refused(
            change == Change::Void
                ? number + QStringLiteral(" was billed. You need to void bill first.")
                : number + QStringLiteral(" was billed.") + QChar(10)
                      + QStringLiteral("You can use P/O Bill Entry to make quantity/cost adjustment.") + QChar(10)
                      + QStringLiteral("If you really want to edit in Receipt Entry, void the bill first.")));
    if (locked->changed)
        return std::unexpected(changed_by_another_user(number));
    auto landed = covering_landed_bill(db, number);
    if (!landed)
        return std::unexpected(landed.error());
    if (!landed->isEmpty())
        return std::unexpected(refused(QStringLiteral("Receipt ") + number + QStringLiteral(" is covered by landed bill ")
                                       + *landed + QStringLiteral(". Void the landed bill first.")));
    // FIXME: reverse_receipt_payables comes with the payables; until then a receipt that holds
    // one is left alone rather than half reversed.
    auto payable = db.scalar(QStringLiteral("SELECT MIN(ap_fkey) FROM PO_receipt_transaction_table WHERE fkey = ?"
                                            " AND landed_item = TRUE AND ap_fkey <> ''"),
                             {shown.key});
    if (!payable)
        return std::unexpected(payable.error());
    const QString held = header.text(u"apfkey").isEmpty() ? Row::to_text(*payable) : header.text(u"apfkey");
    if (!held.isEmpty())
        return std::unexpected(refused(QStringLiteral("Receipt ") + number + QStringLiteral(" holds payable ") + held
                                       + QStringLiteral(", which this version cannot reverse.")));
    auto lines = stored_receipt_lines(db, shown.key);
    if (!lines)
        return std::unexpected(lines.error());
    return StoredReceipt{header, std::move(*lines)};
}

/// Takes back everything the stored receipt did: order quantities, journal entry and stock.
[[nodiscard]] std::expected<void, Error> reverse_effects(Database& db, StoredReceipt& stored, const QString& number,
                                                         ReversalReason reason, const AuditStamp& stamp)
{
    auto locked = lock_order_lines(db, order_keys(pointers(stored.lines)));
    if (!locked)
        return std::unexpected(locked.error());
    if (auto done = apply_receipt_to_orders(db, order_effects(pointers(stored.lines), *locked), ReceiptEffect::Reverse); !done)
        return done;
    const ReceiptReversal reversal{number, reason, stored.header.date(u"receipt_date"), stored.period(), stamp.user};
    if (auto done = reverse_receipt_posting(db, stored.header.text(u"GLFKEY"), reversal); !done)
        return done;
    auto stock = reverse_document_stock(db, stored.header.text(u"icfkey"), {stamp.user, stamp.computer_id});
    if (!stock)
        return std::unexpected(stock.error());
    return {};
}

[[nodiscard]] std::expected<void, Error> run(Database& db, const QString& sql, const Params& params)
{
    if (auto done = db.execute(sql, params); !done)
        return std::unexpected(done.error());
    return {};
}

} // namespace

DocumentKind receipts() { return {QStringLiteral("PO_receipt_header_table"), QStringLiteral("ro")}; }

std::expected<DocumentNumber, Error> insert_new_receipt(Database& db, Receipt& receipt, const ReceiptSaving& saving)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    const auto lines = pointers(receipt.lines);
    auto settings = lock_stock_rows(db, lines);
    if (!settings)
        return std::unexpected(settings.error());
    auto orders = locked_orders(db, lines, saving.orders_seen);
    if (!orders)
        return std::unexpected(orders.error());
    auto number = issue_document_number(db, QStringLiteral("ro"), receipt.header.fyear);
    if (!number)
        return std::unexpected(number.error());
    Receipt numbered = receipt;
    numbered.header.docno = number->docno;
    numbered.header.fkey = number->fkey;
    auto written = lines_to_write(numbered, *orders);
    if (!written)
        return std::unexpected(written.error());
    auto keys = write_effects(db, numbered, *written, *orders, *settings, saving);
    if (!keys)
        return std::unexpected(keys.error());
    if (auto header = header_row(numbered.header, *written, *keys, saving.stamp).execute(db); !header)
        return std::unexpected(header.error());
    if (auto committed = tx.commit(); !committed)
        return std::unexpected(committed.error());
    receipt.header.docno = number->docno;
    receipt.header.fkey = number->fkey;
    return *number;
}

std::expected<void, Error> update_receipt(Database& db, const Receipt& receipt, const DocumentVersion& shown,
                                          const ReceiptSaving& saving)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto stored = locked_receipt(db, shown, Change::Edit);
    if (!stored)
        return std::unexpected(stored.error());
    // Vendor, date, currency and period are those the receipt was posted with.
    Receipt edited = receipt;
    ReceiptHeader& header = edited.header;
    header.docno = stored->header.text(u"docno");
    header.fkey = shown.key;
    header.vendor_no = stored->header.text(u"vendor_no");
    header.receipt_date = stored->header.date(u"receipt_date");
    header.currency = stored->header.text(u"currency");
    header.fyear = stored->period().fiscal_year;
    header.period = stored->period().period;

    std::vector<const ReceiptLine*> touched = pointers(stored->lines);
    for (const ReceiptLine& line : edited.lines)
        touched.push_back(&line);
    auto settings = lock_stock_rows(db, touched);
    if (!settings)
        return std::unexpected(settings.error());
    auto orders = locked_orders(db, touched, saving.orders_seen);
    if (!orders)
        return std::unexpected(orders.error());
    if (auto undone = reverse_effects(db, *stored, header.docno, ReversalReason::Edit, saving.stamp); !undone)
        return undone;
    if (auto deleted = run(db, QStringLiteral("DELETE FROM PO_receipt_transaction_table WHERE fkey = ?"), {shown.key});
        !deleted)
        return deleted;
    auto written = lines_to_write(edited, *orders);
    if (!written)
        return std::unexpected(written.error());
    auto keys = write_effects(db, edited, *written, *orders, *settings, saving);
    if (!keys)
        return std::unexpected(keys.error());
    UpdateRow row(QStringLiteral("PO_receipt_header_table"));
    set_kept_header_columns(row, header, *written, *keys)
        .set(u"ship_to_address", header.ship_to_address)
        .set(u"vendor_address", header.vendor_address)
        .set(u"date_lastmodified", saving.stamp.today)
        .set(u"time_lastmodified", saving.stamp.time)
        .set(u"user_updated", saving.stamp.user);
    if (auto done = row.where(QStringLiteral("fkey = ?"), {shown.key}).execute(db); !done)
        return std::unexpected(done.error());
    if (auto raised = raise_version(db, QStringLiteral("PO_receipt_header_table"), shown.key); !raised)
        return raised;
    return tx.commit();
}

std::expected<void, Error> void_receipt(Database& db, const DocumentVersion& shown, const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto stored = locked_receipt(db, shown, Change::Void);
    if (!stored)
        return std::unexpected(stored.error());
    // The reversal is dated and posted in the receipt's own period, which must still be open.
    if (auto open = check_working_period(db, stored->period()); !open)
        return open;
    if (auto settings = lock_stock_rows(db, pointers(stored->lines)); !settings)
        return std::unexpected(settings.error());
    if (auto undone = reverse_effects(db, *stored, shown.number, ReversalReason::Void, stamp); !undone)
        return undone;
    if (auto done = run(db,
                        QStringLiteral("UPDATE PO_receipt_header_table SET void = TRUE, row_version = row_version + 1,"
                                       " date_lastmodified = ?, time_lastmodified = ?, user_updated = ? WHERE fkey = ?"),
                        {stamp.today, stamp.time, stamp.user, shown.key});
        !done)
        return done;
    if (auto done = run(db, QStringLiteral("UPDATE PO_receipt_transaction_table SET void = TRUE WHERE fkey = ?"), {shown.key});
        !done)
        return done;
    return tx.commit();
}

} // namespace zelkor
