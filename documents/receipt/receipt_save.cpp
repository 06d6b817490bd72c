// The receipt's document routines: a new receipt, an edited one and a void, each one transaction
// of named steps. The orders' rows are locked before the stock rows, and those before the
// vendors and the counters, the order every save takes its locks in (core/db/lock_order.h).
#include "documents/receipt/receipt_save.h"

#include "core/db/save_retries.h"
#include "documents/receipt/receipt_bill.h"
#include "documents/receipt/receipt_landed_payables.h"
#include "documents/receipt/receipt_locks.h"
#include "documents/receipt/receipt_rows.h"
#include "documents/receipt/stored_receipt.h"
#include "payables/payables.h"
#include "stock/stock_receipt.h"
#include "stock/stock_reversal.h"
#include "stock/stock_units.h"

namespace zelkor {
namespace {

Error refused(const QString& message) { return Error::invalid(message); }

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

/// The landed charges as posted: each credited to AP suspense when it is on the receipt's own
/// bill, else to the payable account of the vendor that bills it.
[[nodiscard]] std::expected<std::vector<PostedLandedLine>, Error> posted_landed_lines(
    const ReceiptHeader& header, const WrittenLines& written, const ReceiptAccounts& accounts,
    const std::map<QString, LandedVendor>& vendors)
{
    std::vector<PostedLandedLine> posted;
    for (size_t index = 0; index < written.landed.size(); ++index) {
        const LandedLine& line = written.landed[index];
        CreditTarget credit{accounts.suspense, {}};
        if (!landed_on_receipt_bill(header, line)) {
            const QString vendor = landed_vendor(header, line);
            const auto found = vendors.find(vendor);
            const QString account = found == vendors.end() ? QString() : found->second.ap_accno;
            if (account.isEmpty() || account == u"0")
                return std::unexpected(Error::invalid(QStringLiteral("Account payable for vendor ") + vendor
                                                      + QStringLiteral(" has not been setup")));
            credit = {account, vendor};
        }
        posted.push_back({line.itemno, line.itemcode, line.accno, line.line_cost(), written.landed_elements[index], credit});
    }
    return posted;
}

[[nodiscard]] std::expected<QString, Error> post(Database& db, const ReceiptHeader& header, const WrittenLines& written,
                                                 const WarehouseSettings& settings, const ReceiptSaving& saving,
                                                 const std::map<QString, LandedVendor>& vendors)
{
    auto lines = posted_lines(db, written, settings);
    if (!lines)
        return std::unexpected(lines.error());
    const ReceiptJournal journal = journal_of(header, saving.stamp);
    auto contributions = goods_contributions(db, journal, *lines, saving.accounts);
    if (!contributions)
        return std::unexpected(contributions.error());
    auto landed = posted_landed_lines(header, written, saving.accounts, vendors);
    if (!landed)
        return std::unexpected(landed.error());
    auto landed_debits = landed_contributions(db, journal, *landed);
    if (!landed_debits)
        return std::unexpected(landed_debits.error());
    contributions->insert(contributions->end(), landed_debits->begin(), landed_debits->end());
    auto posted = post_receipt(db, journal, *contributions);
    if (!posted)
        return std::unexpected(posted.error());
    return posted->fkey;
}

[[nodiscard]] std::expected<QString, Error> receive_stock(Database& db, const ReceiptHeader& header,
                                                          const WrittenLines& written, const AuditStamp& stamp)
{
    StockReceipt receipt{header.docno,          header.receipt_date, header.fiscal_period(), header.currency,
                         header.exchange_rate,  header.rate_date,    written.landed_total,   {stamp.user, stamp.computer_id}};
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

/// The lines as the receipt writes them, with what their order lines had open, and their
/// quantities moved onto the locked orders (and off their on-order stock rows): taken before the
/// number and the payables, as the on-order rows rank with the stock.
[[nodiscard]] std::expected<WrittenLines, Error> receive_on_orders(Database& db, const Receipt& receipt, OrderLineStates& orders)
{
    auto written = lines_to_write(receipt, orders);
    if (!written)
        return written;
    if (auto done = apply_receipt_to_orders(db, order_effects(pointers(written->lines), orders), ReceiptEffect::Apply, orders);
        !done)
        return std::unexpected(done.error());
    return written;
}

/// Gives the stored receipt's quantities back to its locked orders (and to their on-order rows).
[[nodiscard]] std::expected<void, Error> take_back_from_orders(Database& db, const StoredReceipt& stored, OrderLineStates& orders)
{
    return apply_receipt_to_orders(db, order_effects(pointers(stored.lines), orders), ReceiptEffect::Reverse, orders);
}

/// Writes the lines, posts, receives into stock and writes the bill entered with the receipt and
/// the payables of its landed charges: everything a receipt's lines do, new or edited, once their
/// orders have them. Gives the keys.
[[nodiscard]] std::expected<ReceiptKeys, Error> write_effects(Database& db, const Receipt& receipt, WrittenLines& written,
                                                              const WarehouseSettings& settings,
                                                              const ReceiptSaving& saving, const LockedForPayables& locked)
{
    const ReceiptHeader& header = receipt.header;
    if (auto done = write_lines(db, header, written, saving.stamp); !done)
        return std::unexpected(done.error());
    ReceiptKeys keys;
    auto journal = post(db, header, written, settings, saving, locked.vendors);
    if (!journal)
        return std::unexpected(journal.error());
    keys.journal = *journal;
    auto inventory = receive_stock(db, header, written, saving.stamp);
    if (!inventory)
        return std::unexpected(inventory.error());
    keys.inventory = *inventory;
    if (locked.bill) {
        const Bill bill = bill_at_receipt(header, written, *locked.bill);
        const auto vendor = locked.vendors.find(header.vendor_no);
        if (vendor == locked.vendors.end())
            return std::unexpected(refused(QStringLiteral("vendor is invalid.")));
        if (auto done = write_bill(db, bill, header, saving, vendor->second, locked.prepayment, keys); !done)
            return std::unexpected(done.error());
    }
    if (auto done = write_landed_payables(db, header, written, keys.journal, locked.vendors, saving.stamp); !done)
        return std::unexpected(done.error());
    if (auto done = write_landed_lines(db, header, written, saving.stamp); !done)
        return std::unexpected(done.error());
    return keys;
}

/// Takes back what the stored receipt posted: journal entry, stock and payables (its orders
/// have had their quantities back already).
[[nodiscard]] std::expected<void, Error> reverse_effects(Database& db, StoredReceipt& stored, const QString& number,
                                                         ReversalReason reason, const AuditStamp& stamp)
{
    const ReceiptReversal reversal{number, reason, stored.header.date(u"receipt_date"), stored.period(), stamp.user};
    if (auto done = reverse_receipt_posting(db, stored.header.text(u"GLFKEY"), reversal); !done)
        return done;
    auto stock = reverse_document_stock(db, stored.header.text(u"icfkey"), {stamp.user, stamp.computer_id});
    if (!stock)
        return std::unexpected(stock.error());
    // The payables: of a bill still on the receipt (its bill is voided in the bill window, which
    // clears the number, so this is only a receipt written before that rule), then the landed
    // charges'. void_payable lowers each vendor's owing balance by what the payable held open.
    const QString bill_payable = stored.header.text(u"apfkey");
    const QString bill_no = stored.header.text(u"vendor_invoice_no");
    if (!bill_payable.isEmpty() && !bill_no.isEmpty()) {
        auto voided = void_payable(db, bill_payable, bill_no, stamp);
        if (!voided)
            return std::unexpected(voided.error());
        if (const QString prepayment = stored.header.text(u"prepayment_no"); !voided->already_void && !prepayment.isEmpty())
            if (auto restored = restore_prepayment(db, prepayment); !restored)
                return restored;
    }
    for (const LandedPayable& payable : stored.landed_payables)
        if (auto voided = void_payable(db, payable.key, payable.bill_no, stamp); !voided)
            return std::unexpected(voided.error());
    return {};
}

} // namespace

DocumentKind receipts() { return {QStringLiteral("PO_receipt_header_table"), QStringLiteral("ro")}; }

static std::expected<DocumentNumber, Error> insert_new_receipt_once(Database& db, Receipt& receipt, const ReceiptSaving& saving)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    const auto lines = pointers(receipt.lines);
    auto orders = locked_orders(db, receipt.lines, {}, saving.orders_seen);
    if (!orders)
        return std::unexpected(orders.error());
    auto settings = lock_stock_rows(db, lines);
    if (!settings)
        return std::unexpected(settings.error());
    auto written = receive_on_orders(db, receipt, *orders);
    if (!written)
        return std::unexpected(written.error());
    auto locked = lock_for_payables(db, receipt);
    if (!locked)
        return std::unexpected(locked.error());
    auto number = issue_document_number(db, QStringLiteral("ro"), receipt.header.fyear);
    if (!number)
        return std::unexpected(number.error());
    Receipt numbered = receipt;
    numbered.header.docno = number->docno;
    numbered.header.fkey = number->fkey;
    auto keys = write_effects(db, numbered, *written, *settings, saving, *locked);
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

std::expected<DocumentNumber, Error> insert_new_receipt(Database& db, Receipt& receipt, const ReceiptSaving& saving)
{
    return with_retries(db, u"new receipt", [&] { return insert_new_receipt_once(db, receipt, saving); });
}

static std::expected<void, Error> update_receipt_once(Database& db, const Receipt& receipt, const DocumentVersion& shown,
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
    auto orders = locked_orders(db, edited.lines, stored->lines, saving.orders_seen);
    if (!orders)
        return std::unexpected(orders.error());
    auto settings = lock_stock_rows(db, touched);
    if (!settings)
        return std::unexpected(settings.error());
    // The stored lines give their quantities back to the orders, and the edited lines apply to
    // the order lines as that leaves them.
    if (auto given_back = take_back_from_orders(db, *stored, *orders); !given_back)
        return given_back;
    auto written = receive_on_orders(db, edited, *orders);
    if (!written)
        return std::unexpected(written.error());
    auto locked = lock_for_payables(db, edited, stored_payable_vendors(*stored));
    if (!locked)
        return std::unexpected(locked.error());
    if (auto undone = reverse_effects(db, *stored, header.docno, ReversalReason::Edit, saving.stamp); !undone)
        return undone;
    if (auto deleted = db.write(QStringLiteral("DELETE FROM PO_receipt_transaction_table WHERE fkey = ?"), {shown.key});
        !deleted)
        return deleted;
    auto keys = write_effects(db, edited, *written, *settings, saving, *locked);
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

std::expected<void, Error> update_receipt(Database& db, const Receipt& receipt, const DocumentVersion& shown,
                                          const ReceiptSaving& saving)
{
    return with_retries(db, u"receipt edit", [&] { return update_receipt_once(db, receipt, shown, saving); });
}

static std::expected<void, Error> void_receipt_once(Database& db, const DocumentVersion& shown, const AuditStamp& stamp)
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
    // The orders before the stock rows, as every save takes them.
    auto orders = lock_order_lines(db, order_keys(pointers(stored->lines)));
    if (!orders)
        return std::unexpected(orders.error());
    if (auto settings = lock_stock_rows(db, pointers(stored->lines)); !settings)
        return std::unexpected(settings.error());
    if (auto given_back = take_back_from_orders(db, *stored, *orders); !given_back)
        return given_back;
    if (auto vendors = lock_vendors(db, stored_payable_vendors(*stored)); !vendors)
        return std::unexpected(vendors.error());
    if (auto undone = reverse_effects(db, *stored, shown.number, ReversalReason::Void, stamp); !undone)
        return undone;
    if (auto done = db.write(QStringLiteral("UPDATE PO_receipt_header_table SET void = TRUE, row_version = row_version + 1,"
                                            " date_lastmodified = ?, time_lastmodified = ?, user_updated = ? WHERE fkey = ?"),
                             {stamp.today, stamp.time, stamp.user, shown.key});
        !done)
        return done;
    if (auto done = db.write(QStringLiteral("UPDATE PO_receipt_transaction_table SET void = TRUE WHERE fkey = ?"), {shown.key});
        !done)
        return done;
    return tx.commit();
}

std::expected<void, Error> void_receipt(Database& db, const DocumentVersion& shown, const AuditStamp& stamp)
{
    return with_retries(db, u"receipt void", [&] { return void_receipt_once(db, shown, stamp); });
}

} // namespace zelkor
