// The receipt's document routines: a new receipt, an edited one and a void, each one transaction
// of named steps. Stock rows are locked before anything else, so that every document changing
// stock takes its locks in the same order.
#include "documents/receipt/receipt_save.h"

#include "documents/receipt/receipt_verify.h"
#include "documents/bill/bill_posting.h"
#include "documents/bill/bill_writer.h"
#include "payables/payables.h"
#include "core/db/sql_batch.h"
#include "core/db/sql_names.h"
#include "stock/stock_receipt.h"
#include "stock/stock_reversal.h"
#include "stock/stock_settings.h"
#include "stock/stock_units.h"

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

/// The vendors a receipt owes through payables (its own when it carries a bill, those of its
/// landed charges), read under lock in vendor order: their payable accounts and terms, and their
/// owing balances kept for this save.
[[nodiscard]] std::expected<std::map<QString, LandedVendor>, Error> lock_vendors(Database& db,
                                                                                 const std::set<QString>& vendors)
{
    std::map<QString, LandedVendor> locked;
    if (vendors.empty())
        return locked;
    const Params params(vendors.begin(), vendors.end());
    auto rows = db.select_for_update(QStringLiteral("SELECT vendor_no, ap_accno, payment_term FROM Vendor_table"
                                                    " WHERE vendor_no IN (")
                                         + placeholder_list(qsizetype(params.size())) + QStringLiteral(") ORDER BY vendor_no"),
                                     params);
    if (!rows)
        return std::unexpected(rows.error());
    for (const Row& row : *rows)
        locked.emplace(row.text(u"vendor_no"), LandedVendor{row.text(u"ap_accno").trimmed(), row.text(u"payment_term").trimmed()});
    return locked;
}

/// The vendors a receipt's payables name.
std::set<QString> payable_vendors(const Receipt& receipt)
{
    std::set<QString> vendors;
    if (receipt.header.with_bill())
        vendors.insert(receipt.header.vendor_no);
    for (const LandedLine& line : receipt.landed)
        if (!line.itemcode.isEmpty())
            vendors.insert(landed_vendor(receipt.header, line));
    return vendors;
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
    std::vector<LandedLine> landed;
    std::vector<TaxElements> landed_elements;
    Decimal landed_total; ///< what the landed charges cost, tax included
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
    for (LandedLine line : receipt.landed) {
        if (line.itemcode.isEmpty())
            continue;
        // The charges' payables are written anew with every save.
        line.ap_fkey.clear();
        auto elements = tax_elements_to_save(receipt.landed_taxes, line.itemno, line.extended_cost);
        if (!elements)
            return std::unexpected(elements.error());
        const LineTaxTotals totals = line_tax_totals(*elements, line.extended_cost, TaxIncluded::No);
        line.tax_amount = totals.tax_amount;
        line.tax_allocate = totals.allocated;
        line.net_cost = totals.net_cost;
        written.landed_total += line.net_cost;
        written.landed.push_back(std::move(line));
        written.landed_elements.push_back(std::move(*elements));
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
        .set(u"vendor_invoice_no", nullable(header.vendor_invoice_no))
        .set(u"vendor_invoice_date", header.with_bill() ? header.vendor_invoice_date : QDate())
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
        // Billing state: billed whole by the bill entered with the receipt, else all still to bill.
        .set(u"quantity_open_for_bill", header.with_bill() ? Decimal() : line.received())
        .set(u"quantity_billed", header.with_bill() ? line.received() : Decimal())
        .set(u"amount_billed", header.with_bill() ? line.extended_cost.value_or(Decimal()).round2() : Decimal())
        .set(u"quantity_adjusted", Decimal())
        .set(u"billed", header.with_bill())
        .set(u"fully_billed", header.with_bill())
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

InsertRow landed_row(const ReceiptHeader& header, const LandedLine& line, const TaxElements& elements,
                     const AuditStamp& stamp, InsertRow::Columns columns)
{
    // A charge on the receipt's own bill is billed with it; one billed by another vendor or
    // under another number has its own payable and nothing left to bill.
    const bool billed = landed_on_receipt_bill(header, line);
    const Decimal extended = line.extended_cost.value_or(Decimal()).round2();
    const Decimal quantity = line.quantity.value_or(Decimal());
    InsertRow row(QStringLiteral("PO_receipt_transaction_table"), columns);
    row.set(u"company", 1)
        .set(u"fkey", header.fkey)
        .set(u"landed_item", true)
        .set(u"itemno", line.itemno)
        .set(u"doctype", "ro")
        .set(u"docno", header.docno)
        .set(u"receipt_date", header.receipt_date)
        .set(u"vendor_no", landed_vendor(header, line))
        .set(u"currency", header.currency)
        .set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", header.exchange_rate ? header.rate_date : QDate())
        .set(u"vendor_invoice_no", nullable(landed_bill(header, line)))
        .set(u"vendor_invoice_date", line.bill_date.isValid() ? line.bill_date : header.vendor_invoice_date)
        .set(u"period", header.period)
        .set(u"fyear", header.fyear)
        .set(u"itemcode", line.itemcode)
        .set(u"itemtype", "6")
        .set(u"description", line.description)
        .set(u"quantity", quantity)
        .set(u"unitcost", line.unitcost.value_or(Decimal()))
        .set(u"extended_cost", extended)
        .set(u"net_cost", line.net_cost)
        .set(u"quantity_open_for_bill", Decimal())
        .set(u"quantity_billed", billed ? quantity : Decimal())
        .set(u"amount_billed", billed ? extended : Decimal())
        .set(u"quantity_adjusted", Decimal())
        .set(u"billed", billed)
        .set(u"fully_billed", billed)
        .set(u"tax_code", nullable(line.tax_code))
        .set(u"price_include_tax", false)
        .set(u"accno", nullable(line.accno))
        .set(u"expense", line.expense)
        .set(u"ap_fkey", nullable(line.ap_fkey))
        .set(u"void", false)
        .set(u"date_created", stamp.today)
        .set(u"time_created", stamp.time)
        .set(u"user_created", stamp.user)
        .set(u"source_form", SourceForm)
        .set(u"computer_id", stamp.computer_id);
    set_tax_columns(row, elements, AllocatedColumn::Present);
    return row;
}

/// Writes one row per line, built by `row_of(line, its tax elements, columns)`, batched.
template <typename Lines, typename Elements, typename RowOf>
[[nodiscard]] std::expected<void, Error> write_line_rows(Database& db, const Lines& lines, const Elements& elements,
                                                         RowOf row_of)
{
    std::vector<InsertRow> rows;
    rows.reserve(lines.size());
    for (size_t index = 0; index < lines.size(); ++index)
        rows.push_back(row_of(lines[index], elements[index],
                              index == 0 ? InsertRow::Columns::Named : InsertRow::Columns::AsFirstRow));
    return insert_rows(db, rows);
}

[[nodiscard]] std::expected<void, Error> write_landed_lines(Database& db, const ReceiptHeader& header,
                                                            const WrittenLines& written, const AuditStamp& stamp)
{
    return write_line_rows(db, written.landed, written.landed_elements, [&](const auto& line, const auto& elements, auto columns) {
        return landed_row(header, line, elements, stamp, columns);
    });
}

[[nodiscard]] std::expected<void, Error> write_lines(Database& db, const ReceiptHeader& header,
                                                     const WrittenLines& written, const AuditStamp& stamp)
{
    return write_line_rows(db, written.lines, written.elements, [&](const auto& line, const auto& elements, auto columns) {
        return line_row(header, line, elements, stamp, columns);
    });
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

/// The keys a saved receipt keeps of what it wrote.
struct ReceiptKeys {
    QString journal;
    QString inventory;
    QString payable;       ///< of the bill entered with the receipt
    QString invoice_docno; ///< that bill's number
};

/// The bill entered with a receipt: its goods lines, and the landed charges on its own bill, each
/// billed at exactly what the receipt received and posted.
Bill bill_at_receipt(const ReceiptHeader& header, const WrittenLines& written, const DocumentNumber& number)
{
    Bill bill;
    BillHeader& head = bill.header;
    head.docno = number.docno;
    head.fkey = number.fkey;
    head.vendor_no = header.vendor_no;
    head.invoice_date = header.vendor_invoice_date;
    head.currency = header.currency;
    head.exchange_rate = header.exchange_rate;
    head.rate_date = header.rate_date;
    head.invoice_no = header.vendor_invoice_no;
    head.receipt_no = header.docno;
    head.receipt_date = header.receipt_date;
    head.po_no = header.multi_po ? QString() : header.pono;
    head.remark = header.remark;
    head.reference = header.reference;
    head.payby = header.payby;
    head.cash_accno = header.cash_accno;
    head.bank_code = header.bank_code;
    head.check_no = header.check_no;
    head.check_date = header.check_date;
    head.payment_term = header.payment_term;
    head.discount_percent = header.discount_percent;
    head.discount_amount = header.discount_amount;
    head.prepayment = header.prepayment;
    head.prepayment_no = header.prepayment_no.trimmed();
    head.period = header.fiscal_period();
    int itemno = 0;
    for (size_t index = 0; index < written.lines.size(); ++index) {
        const ReceiptLine& line = written.lines[index];
        BillLine billed;
        billed.itemno = ++itemno;
        billed.itemcode = line.itemcode;
        billed.itemtype = line.itemtype;
        billed.description = line.description;
        billed.warehouse = line.warehouse;
        billed.location = line.location;
        billed.uom_received = line.uom;
        billed.quantity = billed.quantity_received = billed.rc_quantity_open = line.received();
        billed.unitcost = line.unitcost.value_or(Decimal());
        billed.unit_cost_received = billed.unitcost;
        billed.extended_cost = line.extended_cost.value_or(Decimal()).round2();
        billed.amount_received = billed.extended_cost;
        billed.net_cost = line.net_cost;
        billed.tax_amount = line.tax_amount;
        billed.tax_allocate = line.tax_allocate;
        billed.price_include_tax = line.price_include_tax;
        billed.tax_code = line.tax_code;
        billed.accno = line.accno;
        billed.receipt_no = header.docno;
        billed.receipt_itemno = line.itemno;
        billed.pono = line.pono;
        billed.po_itemno = line.po_itemno;
        billed.po_uom = line.po_uom;
        billed.po_quantity = line.order_received;
        billed.taxes = written.elements[index];
        billed.received = ReceivedPosting{line.line_cost(), written.elements[index], header.exchange_rate};
        bill.lines.push_back(std::move(billed));
    }
    for (size_t index = 0; index < written.landed.size(); ++index) {
        const LandedLine& line = written.landed[index];
        if (!landed_on_receipt_bill(header, line))
            continue;
        BillLine billed;
        billed.itemno = ++itemno;
        billed.itemcode = line.itemcode;
        billed.itemtype = QStringLiteral("6");
        billed.description = line.description;
        billed.quantity = billed.quantity_received = billed.rc_quantity_open = line.quantity.value_or(Decimal());
        billed.unitcost = line.unitcost.value_or(Decimal());
        billed.unit_cost_received = billed.unitcost;
        billed.extended_cost = line.extended_cost.value_or(Decimal()).round2();
        billed.amount_received = billed.extended_cost;
        billed.net_cost = line.net_cost;
        billed.tax_amount = line.tax_amount;
        billed.tax_allocate = line.tax_allocate;
        billed.price_include_tax = false;
        billed.tax_code = line.tax_code;
        billed.accno = line.accno;
        billed.receipt_no = header.docno;
        billed.landed_item = true;
        billed.receipt_landed_itemno = line.itemno;
        billed.taxes = written.landed_elements[index];
        billed.received = ReceivedPosting{line.line_cost(), written.landed_elements[index], header.exchange_rate};
        bill.lines.push_back(std::move(billed));
    }
    return bill;
}

/// Writes the bill entered with the receipt: its rows, the billing of the
/// order lines (the receipt lines were written billed), its entry, its payable, the payment or
/// prepayment it applies, the vendor's owing balance and its header.
[[nodiscard]] std::expected<void, Error> write_bill(Database& db, const Bill& bill, const ReceiptHeader& header,
                                                    const ReceiptSaving& saving, const LandedVendor& vendor,
                                                    const std::optional<ExistingPrepayment>& prepayment,
                                                    ReceiptKeys& keys)
{
    const AuditStamp& stamp = saving.stamp;
    if (auto done = insert_bill_rows(db, bill, stamp); !done)
        return done;
    if (auto done = bill_receipts_and_orders(db, bill, Billing::OrderLinesOnly); !done)
        return done;
    const BillAccounts accounts{saving.accounts.suspense, saving.accounts.discount, vendor.ap_accno, header.paying_account,
                                prepayment ? prepayment->prepayment_accno : QString()};
    auto journal = post_bill(db, bill, accounts, stamp.user);
    if (!journal)
        return std::unexpected(journal.error());
    const PayableBill payable = payable_of(bill, journal->fkey, stamp);
    auto plan = start_payable(db, payable);
    if (!plan)
        return std::unexpected(plan.error());
    auto created = create_payable(db, payable, *plan, vendor.ap_accno);
    if (!created)
        return std::unexpected(created.error());
    if (plan->prepayment > Decimal()) {
        if (prepayment) {
            if (auto applied = apply_existing_prepayment(db, *prepayment, payable, created->number.docno); !applied)
                return applied;
        } else if (auto paid = create_prepayment_payment(db, payable, created->number.docno, plan->prepayment); !paid) {
            return std::unexpected(paid.error());
        }
    }
    if (auto raised = raise_owing_balance(db, bill.header.vendor_no, created->open_amount); !raised)
        return raised;
    keys.payable = created->number.fkey;
    keys.invoice_docno = bill.header.docno;
    return insert_bill_header(db, bill, {journal->fkey, QString(), created->number.fkey}, stamp);
}

/// One payable per vendor and bill number of the landed charges not on the receipt's own bill
/// ("PO-RECEIPT"), in order of first appearance; each charge gets its payable's key.
[[nodiscard]] std::expected<void, Error> write_landed_payables(Database& db, const ReceiptHeader& header,
                                                               WrittenLines& written, const QString& journal_key,
                                                               const std::map<QString, LandedVendor>& vendors,
                                                               const AuditStamp& stamp)
{
    std::vector<std::pair<QString, QString>> groups;
    for (const LandedLine& line : written.landed) {
        if (landed_on_receipt_bill(header, line))
            continue;
        const std::pair group{landed_vendor(header, line), landed_bill(header, line)};
        if (std::find(groups.begin(), groups.end(), group) == groups.end())
            groups.push_back(group);
    }
    for (const auto& [vendor, bill_no] : groups) {
        const auto found = vendors.find(vendor);
        if (found == vendors.end())
            return std::unexpected(refused(QStringLiteral("vendor is invalid.")));
        const LandedVendor& master = found->second;
        PayableBill payable;
        payable.vendor_no = vendor;
        payable.invoice_no = bill_no;
        payable.currency = header.currency;
        payable.exchange_rate = header.exchange_rate;
        payable.rate_date = header.rate_date;
        payable.remark = header.remark;
        // The receipt's own vendor bills on the receipt's term, another vendor on its own.
        payable.payment_term = vendor == header.vendor_no ? header.payment_term : master.payment_term;
        payable.source = receipt_posting_source();
        payable.source_docno = header.docno;
        payable.source_form = SourceForm;
        payable.period = header.fiscal_period();
        payable.payby = PayLater;
        payable.journal_key = journal_key;
        payable.stamp = stamp;
        for (size_t index = 0; index < written.landed.size(); ++index) {
            const LandedLine& line = written.landed[index];
            if (landed_on_receipt_bill(header, line) || landed_vendor(header, line) != vendor
                || landed_bill(header, line) != bill_no)
                continue;
            if (!payable.invoice_date.isValid())
                payable.invoice_date = line.bill_date.isValid() ? line.bill_date : header.receipt_date;
            payable.lines.push_back({line.itemcode, line.tax_code, line.extended_cost.value_or(Decimal()).round2(),
                                     line.tax_amount, line.net_cost, false, written.landed_elements[index]});
        }
        auto plan = start_payable(db, payable);
        if (!plan)
            return std::unexpected(plan.error());
        auto created = create_payable(db, payable, *plan, master.ap_accno);
        if (!created)
            return std::unexpected(created.error());
        if (auto raised = raise_owing_balance(db, vendor, created->open_amount); !raised)
            return raised;
        for (LandedLine& line : written.landed)
            if (!landed_on_receipt_bill(header, line) && landed_vendor(header, line) == vendor
                && landed_bill(header, line) == bill_no)
                line.ap_fkey = created->number.fkey;
    }
    return {};
}

/// The header columns a new receipt writes and an edit rewrites.
template <class Statement>
Statement& set_kept_header_columns(Statement& row, const ReceiptHeader& header, const WrittenLines& written,
                                   const ReceiptKeys& keys)
{
    const bool billed = header.with_bill();
    const Decimal prepayment = header.prepayment_amount();
    row.set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", header.exchange_rate ? header.rate_date : QDate())
        .set(u"vendor_invoice_no", nullable(header.vendor_invoice_no))
        .set(u"vendor_invoice_date", billed ? header.vendor_invoice_date : QDate())
        .set(u"billed", billed)
        .set(u"fully_billed", billed)
        .set(u"prepayment", prepayment)
        .set(u"prepayment_no", prepayment > Decimal() ? nullable(header.prepayment_no.trimmed()) : SqlValue(std::nullopt))
        .set(u"paypreby", prepayment > Decimal() ? SqlValue(header.payby) : SqlValue(std::nullopt))
        .set(u"cash_accno", header.payby == PayByCash ? nullable(header.cash_accno) : SqlValue(std::nullopt))
        .set(u"bank_code", header.payby == PayByCheck ? nullable(header.bank_code) : SqlValue(std::nullopt))
        .set(u"check_no", header.payby == PayByCheck ? nullable(header.check_no) : SqlValue(std::nullopt))
        .set(u"check_date", header.payby == PayByCheck ? header.check_date : QDate())
        .set(u"discount_percent", header.discount_percent)
        .set(u"discount_amount", header.discount_amount.trimmed().isEmpty()
                                     ? SqlValue(std::nullopt)
                                     : SqlValue(Decimal::parse(header.discount_amount.trimmed()).value_or(Decimal()).round2()))
        .set(u"PONO", header.multi_po ? SqlValue(std::nullopt) : nullable(header.pono))
        .set(u"shipvia", nullable(header.shipvia))
        .set(u"reference", header.reference)
        .set(u"remark", header.remark)
        .set(u"fob_point", header.fob_point)
        .set(u"payment_term", nullable(header.payment_term))
        .set(u"multi_po", header.multi_po)
        .set(u"payby", header.payby)
        .set(u"sub_total", written.sub_total)
        .set(u"landed_total", written.landed_total)
        .set(u"tax_total", written.tax_total)
        .set(u"total", written.sub_total + written.tax_total + written.landed_total)
        .set(u"GLFKEY", nullable(keys.journal))
        .set(u"icfkey", nullable(keys.inventory))
        .set(u"apfkey", nullable(keys.payable))
        .set(u"invoice_docno", nullable(keys.invoice_docno));
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

/// What a save has taken under lock before it writes: the vendors it owes, the bill's number
/// and the existing prepayment the bill applies.
struct LockedForPayables {
    std::map<QString, LandedVendor> vendors;
    std::optional<DocumentNumber> bill;
    std::optional<ExistingPrepayment> prepayment;
};

/// Takes what a receipt's payables need, under lock, before anything is written: the vendors'
/// rows, the bill's number (a bill number another save took meanwhile is refused now), the
/// landed bill numbers (one already on a live payable of its vendor is refused) and the
/// existing prepayment.
[[nodiscard]] std::expected<LockedForPayables, Error> lock_for_payables(Database& db, const Receipt& receipt,
                                                                        std::set<QString> vendors_too = {})
{
    LockedForPayables locked;
    const ReceiptHeader& header = receipt.header;
    vendors_too.merge(payable_vendors(receipt));
    auto vendors = lock_vendors(db, vendors_too);
    if (!vendors)
        return std::unexpected(vendors.error());
    locked.vendors = std::move(*vendors);
    if (header.with_bill()) {
        // The bill number counter is held from here to the commit: two saves of one bill number
        // meet here, and the second sees the first's bill.
        auto number = issue_document_number(db, QStringLiteral("vi"), header.fyear);
        if (!number)
            return std::unexpected(number.error());
        locked.bill = *number;
        auto used = bill_number_used(db, header.vendor_invoice_no);
        if (!used)
            return std::unexpected(used.error());
        if (*used)
            return std::unexpected(refused(QStringLiteral("Bill no ") + header.vendor_invoice_no + QStringLiteral(" exist")));
        if (!header.prepayment_no.trimmed().isEmpty() && header.prepayment_amount() > Decimal()) {
            const PayableBill payable{.vendor_no = header.vendor_no, .currency = header.currency};
            auto prepayment = lock_existing_prepayment(db, header.prepayment_no.trimmed(), payable, header.prepayment_amount());
            if (!prepayment)
                return std::unexpected(prepayment.error());
            locked.prepayment = *prepayment;
        }
    }
    std::set<std::pair<QString, QString>> landed_bills;
    for (const LandedLine& line : receipt.landed)
        if (!line.itemcode.isEmpty() && !landed_on_receipt_bill(header, line))
            landed_bills.insert({landed_vendor(header, line), landed_bill(header, line)});
    for (const auto& [vendor, bill_no] : landed_bills) {
        // An edited receipt's own charges' payables are voided before theirs are written again.
        auto used = db.first(QStringLiteral("SELECT fkey FROM AP_header_table WHERE company = 1 AND vendor_no = ?"
                                            " AND invoice_no = ? AND void = FALSE"
                                            " AND NOT (Source = 'PO-RECEIPT' AND source_docno = ?)"),
                             {vendor, bill_no, header.docno});
        if (!used)
            return std::unexpected(used.error());
        if (*used)
            return std::unexpected(refused(QStringLiteral("Bill no ") + bill_no + QStringLiteral(" exist")));
    }
    return locked;
}

/// Writes the lines, moves their quantities onto the orders, posts, receives into stock and
/// writes the bill entered with the receipt and the payables of its landed charges: everything a
/// receipt's lines do, new or edited. Gives the keys.
[[nodiscard]] std::expected<ReceiptKeys, Error> write_effects(Database& db, const Receipt& receipt, WrittenLines& written,
                                                              OrderLineStates& orders,
                                                              const WarehouseSettings& settings,
                                                              const ReceiptSaving& saving, const LockedForPayables& locked)
{
    const ReceiptHeader& header = receipt.header;
    if (auto done = write_lines(db, header, written, saving.stamp); !done)
        return std::unexpected(done.error());
    if (auto done = apply_receipt_to_orders(db, order_effects(pointers(written.lines), orders), ReceiptEffect::Apply, orders);
        !done)
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

// A stored receipt ------------------------------------------------------------------------------

enum class Change { Edit, Void };

/// A payable of landed charges a stored receipt made.
struct LandedPayable {
    QString key;
    QString vendor_no;
    QString bill_no;
};

[[nodiscard]] std::expected<std::vector<LandedPayable>, Error> landed_payables(Database& db, const QString& receipt_key)
{
    auto rows = db.select(QStringLiteral("SELECT ap_fkey, MIN(vendor_no) AS vendor_no, MIN(vendor_invoice_no) AS bill_no"
                                         " FROM PO_receipt_transaction_table WHERE fkey = ? AND landed_item = TRUE"
                                         " AND ap_fkey <> '' GROUP BY ap_fkey ORDER BY ap_fkey"),
                          {receipt_key});
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<LandedPayable> payables;
    for (const Row& row : *rows)
        payables.push_back({row.text(u"ap_fkey"), row.text(u"vendor_no"), row.text(u"bill_no")});
    return payables;
}

/// A stored receipt read under lock: its header, goods lines and the payables of its landed charges.
struct StoredReceipt {
    Row header;
    std::vector<ReceiptLine> lines;
    std::vector<LandedPayable> landed_payables;

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
    auto covering = covering_landed_bill(db, number);
    if (!covering)
        return std::unexpected(covering.error());
    if (!covering->isEmpty())
        return std::unexpected(refused(QStringLiteral("Receipt ") + number + QStringLiteral(" is covered by landed bill ")
                                       + *covering + QStringLiteral(". Void the landed bill first.")));
    // The host may have paid a landed charge's payable since: that stops the change.
    auto landed = landed_payables(db, shown.key);
    if (!landed)
        return std::unexpected(landed.error());
    for (const LandedPayable& payable : *landed) {
        auto paid = payable_paid(db, payable.key);
        if (!paid)
            return std::unexpected(paid.error());
        if (*paid)
            return std::unexpected(refused(QStringLiteral("Landed cost bill ") + payable.bill_no + QStringLiteral(" of ")
                                           + payable.vendor_no + QStringLiteral(" was paid.")));
    }
    auto lines = stored_receipt_lines(db, shown.key);
    if (!lines)
        return std::unexpected(lines.error());
    return StoredReceipt{header, std::move(*lines), std::move(*landed)};
}

/// The vendors whose payables the stored receipt holds.
std::set<QString> stored_payable_vendors(const StoredReceipt& stored)
{
    std::set<QString> vendors;
    if (!stored.header.text(u"apfkey").isEmpty() && !stored.header.text(u"vendor_invoice_no").isEmpty())
        vendors.insert(stored.header.text(u"vendor_no"));
    for (const LandedPayable& payable : stored.landed_payables)
        vendors.insert(payable.vendor_no);
    return vendors;
}

/// Takes back everything the stored receipt did: order quantities, journal entry and stock.
[[nodiscard]] std::expected<void, Error> reverse_effects(Database& db, StoredReceipt& stored, const QString& number,
                                                         ReversalReason reason, const AuditStamp& stamp)
{
    auto locked = lock_order_lines(db, order_keys(pointers(stored.lines)));
    if (!locked)
        return std::unexpected(locked.error());
    if (auto done = apply_receipt_to_orders(db, order_effects(pointers(stored.lines), *locked), ReceiptEffect::Reverse, *locked);
        !done)
        return done;
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

[[nodiscard]] std::expected<void, Error> run(Database& db, const QString& sql, const Params& params)
{
    if (auto done = db.execute(sql, params); !done)
        return std::unexpected(done.error());
    return {};
}

} // namespace

DocumentKind receipts() { return {QStringLiteral("PO_receipt_header_table"), QStringLiteral("ro")}; }

std::expected<void, Error> verify_bill_at_receipt(Database& db, const Receipt& receipt)
{
    if (!receipt.header.with_bill())
        return {};
    auto written = lines_to_write(receipt, {});
    if (!written)
        return std::unexpected(written.error());
    const Bill bill = bill_at_receipt(receipt.header, *written, {});
    auto plan = start_payable(db, payable_of(bill, QString(), AuditStamp{}));
    if (!plan)
        return std::unexpected(plan.error());
    return {};
}

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
    auto locked = lock_for_payables(db, receipt);
    if (!locked)
        return std::unexpected(locked.error());
    auto number = issue_document_number(db, QStringLiteral("ro"), receipt.header.fyear);
    if (!number)
        return std::unexpected(number.error());
    Receipt numbered = receipt;
    numbered.header.docno = number->docno;
    numbered.header.fkey = number->fkey;
    auto written = lines_to_write(numbered, *orders);
    if (!written)
        return std::unexpected(written.error());
    auto keys = write_effects(db, numbered, *written, *orders, *settings, saving, *locked);
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
    auto locked = lock_for_payables(db, edited, stored_payable_vendors(*stored));
    if (!locked)
        return std::unexpected(locked.error());
    if (auto undone = reverse_effects(db, *stored, header.docno, ReversalReason::Edit, saving.stamp); !undone)
        return undone;
    if (auto deleted = run(db, QStringLiteral("DELETE FROM PO_receipt_transaction_table WHERE fkey = ?"), {shown.key});
        !deleted)
        return deleted;
    // The reversal moved the order lines: the edited lines apply to them as they are now.
    auto current = lock_order_lines(db, order_keys(touched));
    if (!current)
        return std::unexpected(current.error());
    auto written = lines_to_write(edited, *current);
    if (!written)
        return std::unexpected(written.error());
    auto keys = write_effects(db, edited, *written, *current, *settings, saving, *locked);
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
    if (auto vendors = lock_vendors(db, stored_payable_vendors(*stored)); !vendors)
        return std::unexpected(vendors.error());
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
