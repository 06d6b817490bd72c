// A bill's rows, its header and the billing of the receipt and order lines it covers.
// Lines are updated set-wise (UPDATE ... FROM VALUES): a hundred a statement on PostgreSQL,
// where every statement is a round trip, one on SQLite, a prepared statement reused.
#include "documents/bill/bill_writer.h"

#include "core/db/sql_batch.h"
#include "core/db/sql_names.h"
#include "core/document_versions.h"
#include "core/units.h"
#include "ledger/ledger_accounts.h"

#include <QHash>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

namespace zelkor {
namespace {

/// The quantity of a bill row in its order line's unit.
[[nodiscard]] std::expected<Decimal, Error> order_quantity(Database& db, const BillLine& line)
{
    if (line.po_quantity)
        return *line.po_quantity;
    if (line.po_uom.isEmpty() || line.uom_received.isEmpty() || line.po_uom == line.uom_received)
        return line.quantity;
    auto converted = convert_quantity(db, line.quantity, line.itemcode, line.uom_received, line.po_uom);
    if (!converted)
        return std::unexpected(converted.error());
    return converted->round(6);
}

// Receipt lines --------------------------------------------------------------------------------

struct ReceiptLineBilling {
    QString fkey;
    int itemno = 0;
    bool landed = false;
    Decimal received;
    Decimal open;
    Decimal billed;
    Decimal amount_billed;
    Decimal adjusted;
    bool fully_billed = false;
    bool touched = false;
};

using ReceiptLineKey = std::tuple<QString, bool, int>; // receipt number, landed, line number

/// The locks of the receipts' lines, KeysPerStatement receipts a statement.
std::vector<Statement> receipt_lines_locks(const std::set<QString>& receipts)
{
    return statements_by_keys(
        QStringLiteral("SELECT docno, fkey, itemno, landed_item, quantity_received, quantity_open_for_bill,"
                       " quantity_billed, amount_billed, quantity_adjusted, fully_billed FROM PO_receipt_transaction_table"
                       " WHERE company = 1 AND docno IN ("),
        std::vector<QString>(receipts.begin(), receipts.end()), QStringLiteral(") ORDER BY fkey, landed_item, itemno"),
        true);
}

[[nodiscard]] std::expected<std::map<ReceiptLineKey, ReceiptLineBilling>, Error> lock_receipt_lines(
    Database& db, const std::set<QString>& receipts)
{
    auto read = db.select_together(receipt_lines_locks(receipts));
    if (!read)
        return std::unexpected(read.error());
    std::map<ReceiptLineKey, ReceiptLineBilling> lines;
    for (const Rows& rows : *read)
        for (const Row& row : rows)
            lines.emplace(ReceiptLineKey{row.text(u"docno"), row.flag(u"landed_item"), int(row.integer(u"itemno"))},
                          ReceiptLineBilling{row.text(u"fkey"), int(row.integer(u"itemno")), row.flag(u"landed_item"),
                                             row.decimal(u"quantity_received"), row.decimal(u"quantity_open_for_bill"),
                                             row.decimal(u"quantity_billed"), row.decimal(u"amount_billed"),
                                             row.decimal(u"quantity_adjusted"), row.flag(u"fully_billed")});
    return lines;
}

std::optional<ReceiptLineKey> receipt_line_of(const BillLine& line)
{
    if (line.receipt_no.isEmpty())
        return std::nullopt;
    const std::optional<int> itemno = line.landed_item ? line.receipt_landed_itemno : line.receipt_itemno;
    if (!itemno)
        return std::nullopt;
    return ReceiptLineKey{line.receipt_no, line.landed_item, *itemno};
}

[[nodiscard]] std::expected<void, Error> write_receipt_lines(Database& db,
                                                             const std::map<ReceiptLineKey, ReceiptLineBilling>& lines)
{
    std::vector<Params> rows;
    for (const auto& [key, line] : lines) {
        if (!line.touched)
            continue;
        rows.push_back({line.fkey, line.landed, line.itemno, line.open, line.billed, line.amount_billed, line.adjusted,
                        line.fully_billed, !line.landed && line.billed > Decimal()});
    }
    return update_from_values(
        db, QStringLiteral("PO_receipt_transaction_table"),
        QStringLiteral("quantity_open_for_bill = v.column4, quantity_billed = v.column5, amount_billed = v.column6,"
                       " quantity_adjusted = v.column7, fully_billed = v.column8, billed = v.column9"),
        QStringLiteral("PO_receipt_transaction_table.fkey = v.column1 AND PO_receipt_transaction_table.landed_item = v.column2"
                       " AND PO_receipt_transaction_table.itemno = v.column3"),
        QStringLiteral("(?, CAST(? AS BOOLEAN), CAST(? AS INTEGER), CAST(? AS NUMERIC), CAST(? AS NUMERIC),"
                       " CAST(? AS NUMERIC), CAST(? AS NUMERIC), CAST(? AS BOOLEAN), CAST(? AS BOOLEAN))"),
        rows);
}

// Order lines ----------------------------------------------------------------------------------

struct OrderLineBilling {
    QString fkey;
    int itemno = 0;
    Decimal quantity;
    Decimal cancelled;
    Decimal billed;
    Decimal open;
    bool touched = false;
};

using OrderLineKey = std::pair<QString, int>; // order number, line number

/// The locks of the headers in `table` (receipts or orders) of the documents numbered `numbers`.
std::vector<Statement> header_locks(const QString& table, const std::set<QString>& numbers)
{
    return statements_by_keys(QStringLiteral("SELECT fkey FROM ") + table + QStringLiteral(" WHERE company = 1 AND docno IN ("),
                              std::vector<QString>(numbers.begin(), numbers.end()), QStringLiteral(") ORDER BY fkey"), true);
}

/// The locks of the orders' lines, KeysPerStatement orders a statement.
std::vector<Statement> order_lines_locks(const std::set<QString>& orders)
{
    return statements_by_keys(QStringLiteral("SELECT docno, fkey, itemno, quantity, quantity_cancel, quantity_billed,"
                                             " quantity_open_for_bill FROM PO_transaction_table WHERE company = 1 AND docno IN ("),
                              std::vector<QString>(orders.begin(), orders.end()), QStringLiteral(") ORDER BY fkey, itemno"),
                              true);
}

/// The lines of the orders, read under lock. The orders' headers are locked first, in the same
/// round trip, as a receipt and an order's edit lock them: an edit rewrites its lines, and on
/// PostgreSQL a lock taken on a line the edit deletes would come back empty rather than with
/// the rewritten line (each statement of the round trip runs after the one before has its rows).
[[nodiscard]] std::expected<std::map<OrderLineKey, OrderLineBilling>, Error> lock_order_lines_of(Database& db,
                                                                                                const std::set<QString>& orders)
{
    std::vector<Statement> locks = header_locks(QStringLiteral("PO_header_table"), orders);
    const size_t headers = locks.size();
    std::ranges::move(order_lines_locks(orders), std::back_inserter(locks));
    auto read = db.select_together(locks);
    if (!read)
        return std::unexpected(read.error());
    std::map<OrderLineKey, OrderLineBilling> lines;
    for (size_t index = headers; index < read->size(); ++index)
        for (const Row& row : (*read)[index])
            lines.emplace(OrderLineKey{row.text(u"docno"), int(row.integer(u"itemno"))},
                          OrderLineBilling{row.text(u"fkey"), int(row.integer(u"itemno")), row.decimal(u"quantity"),
                                           row.decimal(u"quantity_cancel"), row.decimal(u"quantity_billed"),
                                           row.decimal(u"quantity_open_for_bill")});
    return lines;
}

[[nodiscard]] std::expected<void, Error> write_order_lines(Database& db, const std::map<OrderLineKey, OrderLineBilling>& lines)
{
    std::vector<Params> rows;
    for (const auto& [key, line] : lines)
        if (line.touched)
            rows.push_back({line.fkey, line.itemno, line.billed, line.open, line.billed > Decimal(), line.open.is_zero()});
    return update_from_values(
        db, QStringLiteral("PO_transaction_table"),
        QStringLiteral("quantity_billed = v.column3, quantity_open_for_bill = v.column4, billed = v.column5,"
                       " fully_billed = v.column6"),
        QStringLiteral("PO_transaction_table.fkey = v.column1 AND PO_transaction_table.itemno = v.column2"),
        QStringLiteral("(?, CAST(? AS INTEGER), CAST(? AS NUMERIC), CAST(? AS NUMERIC), CAST(? AS BOOLEAN),"
                       " CAST(? AS BOOLEAN))"),
        rows);
}

/// The keys of the documents whose lines were touched.
template <class Lines>
std::set<QString> touched_documents(const Lines& lines)
{
    std::set<QString> keys;
    for (const auto& [key, line] : lines)
        if (line.touched)
            keys.insert(line.fkey);
    return keys;
}

} // namespace

QString receipt_line_open_for_bill(const QString& alias)
{
    const QString a = alias.isEmpty() ? QString() : alias + u'.';
    return QStringLiteral("(%1fully_billed = FALSE AND NOT (%1landed_item = TRUE AND COALESCE(%1ap_fkey, '') <> '')"
                          " AND NOT (%1landed_item = FALSE AND %1quantity_received = 0))")
        .arg(a);
}

BillTotals bill_totals(const Bill& bill)
{
    BillTotals totals;
    for (const BillLine& line : bill.lines) {
        if (!line.written())
            continue;
        totals.subtotal += line.extended_cost;
        if (!line.tax_included())
            totals.excluded_tax += line.tax_amount;
    }
    totals.total = totals.subtotal + totals.excluded_tax;
    totals.discount = parse_amount(bill.header.discount_amount.trimmed()).value_or(Decimal()).round2();
    totals.prepayment = parse_amount(bill.header.prepayment.trimmed()).value_or(Decimal()).round2();
    totals.net_amount = (totals.total - totals.discount - totals.prepayment).round2();
    return totals;
}

QString bill_posting_source(const BillHeader& header)
{
    return header.doctype == u"ld" ? QStringLiteral("PO-LANDED") : QStringLiteral("PO-BILL");
}

PayableBill payable_of(const Bill& bill, const QString& journal_key, const AuditStamp& stamp)
{
    const BillHeader& header = bill.header;
    PayableBill payable;
    payable.vendor_no = header.vendor_no;
    payable.invoice_no = header.invoice_no;
    payable.invoice_date = header.invoice_date;
    payable.currency = header.currency;
    payable.exchange_rate = header.exchange_rate;
    payable.rate_date = header.rate_date;
    payable.remark = header.remark;
    payable.payment_term = header.payment_term;
    payable.due_date = header.due_date;
    payable.source = bill_posting_source(header);
    payable.source_docno = header.docno;
    payable.source_form = header.source_form;
    payable.period = header.period;
    payable.payby = header.payby;
    payable.discount = header.discount_amount;
    payable.prepayment = header.prepayment;
    payable.prepayment_no = header.prepayment_no.trimmed();
    payable.po_no = header.po_no;
    payable.payment_date = header.receipt_date;
    payable.bank_code = header.bank_code;
    payable.check_no = header.check_no;
    payable.check_date = header.check_date;
    payable.journal_key = journal_key;
    payable.stamp = stamp;
    for (const BillLine& line : bill.lines)
        if (line.written())
            payable.lines.push_back({line.itemcode, line.tax_code, line.extended_cost, line.tax_amount, line.net_cost,
                                     line.tax_included(), line.taxes});
    return payable;
}

std::expected<void, Error> insert_bill_rows(Database& db, const Bill& bill, const AuditStamp& stamp)
{
    // Text-only lines continue the description of the row before them.
    std::vector<std::pair<const BillLine*, QString>> written;
    for (const BillLine& line : bill.lines) {
        if (line.written())
            written.emplace_back(&line, line.description);
        else if (!written.empty() && !line.description.isEmpty())
            written.back().second += QChar(10) + line.description;
    }
    const BillHeader& header = bill.header;
    std::vector<InsertRow> rows;
    rows.reserve(written.size());
    for (const auto& [line, description] : written) {
        const bool stock = line->itemtype == u"1";
        InsertRow row(QStringLiteral("PO_invoice_transaction_table"),
                      rows.empty() ? InsertRow::Columns::Named : InsertRow::Columns::AsFirstRow);
        row.set(u"itemno", line->itemno)
            .set(u"itemcode", line->itemcode)
            .set(u"itemtype", nullable(line->itemtype))
            .set(u"Description", description)
            .set(u"vendor_itemcode", nullable(line->vendor_itemcode))
            .set(u"warehouse", stock ? nullable(line->warehouse) : SqlValue(std::nullopt))
            .set(u"location", stock ? nullable(line->location) : SqlValue(std::nullopt))
            .set(u"uom_received", nullable(line->uom_received))
            .set(u"complete", line->complete.value_or(false))
            .set(u"quantity", line->quantity)
            .set(u"quantity_received", line->quantity_received)
            .set(u"rc_quantity_open", line->rc_quantity_open)
            .set(u"rc_quantity_balance",
                 line->complete.value_or(false) ? Decimal() : line->rc_quantity_open - line->quantity)
            .set(u"unitcost", line->unitcost)
            .set(u"extended_cost", line->extended_cost)
            .set(u"net_cost", line->net_cost)
            .set(u"unit_cost_received", line->unit_cost_received.value_or(Decimal()))
            .set(u"amount_received", line->amount_received.value_or(Decimal()))
            .set(u"price_include_tax", line->tax_included())
            .set(u"tax_code", nullable(line->tax_code))
            .set(u"accno", nullable(line->accno))
            .set(u"receipt_no", nullable(line->receipt_no))
            .set(u"receipt_itemno", line->receipt_itemno)
            .set(u"PONO", nullable(line->pono))
            .set(u"po_itemno", line->po_itemno)
            .set(u"po_uom", nullable(line->po_uom))
            .set(u"landed_item", line->landed_item)
            .set(u"receipt_landed_itemno", line->landed_item ? line->receipt_landed_itemno : std::nullopt)
            .set(u"expense", line->expense)
            .set(u"invoice_no", header.invoice_no)
            .set(u"invoice_date", header.invoice_date)
            .set(u"period", header.period.period)
            .set(u"fyear", header.period.fiscal_year)
            .set_created(stamp.created())
            .set(u"computer_id", stamp.computer_id)
            .set(u"company", 1)
            .set(u"fkey", header.fkey)
            .set(u"doctype", header.doctype)
            .set(u"docno", header.docno)
            .set(u"vendor_no", header.vendor_no)
            .set(u"currency", header.currency)
            .set(u"exchange_rate", header.exchange_rate)
            .set(u"source_form", header.source_form)
            .set(u"void", false);
        // Tax elements are kept for lines above 0 only; the tax figures follow the elements.
        const TaxElements none;
        set_tax_columns(row, line->extended_cost > Decimal() && line->taxes ? *line->taxes : none,
                        AllocatedColumn::Present);
        rows.push_back(std::move(row));
    }
    return insert_rows(db, rows);
}

namespace {

/// The header columns a bill's save writes and its edit rewrites, the amount-dependent ones under
/// the same conditions; `row` is an InsertRow or an UpdateRow.
template <class HeaderRow>
void set_rewritten_columns(HeaderRow& row, const Bill& bill)
{
    const BillHeader& header = bill.header;
    const BillTotals totals = bill_totals(bill);
    const bool prepaid = totals.prepayment > Decimal();
    const QString payby = header.payby.trimmed().isEmpty() ? PayLater : header.payby;
    row.set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", header.exchange_rate ? header.rate_date : QDate())
        .set(u"invoice_no", header.invoice_no)
        .set(u"receipt_no", nullable(header.receipt_no))
        .set(u"receipt_date", header.receipt_date)
        .set(u"po_no", nullable(header.po_no))
        .set(u"multi_receipt", header.multi_receipt)
        .set(u"remark", header.remark)
        .set(u"reference", header.reference)
        .set(u"prepayment", prepaid ? totals.prepayment : Decimal())
        .set(u"paypreby", prepaid ? SqlValue(payby) : SqlValue(std::nullopt))
        .set(u"prepayment_no", prepaid ? nullable(header.prepayment_no.trimmed()) : SqlValue(std::nullopt))
        .set(u"payby", payby)
        .set(u"cash_accno", payby == PayByCash ? nullable(header.cash_accno) : SqlValue(std::nullopt))
        .set(u"bank_code", payby == PayByCheck ? nullable(header.bank_code) : SqlValue(std::nullopt))
        .set(u"check_no", payby == PayByCheck ? nullable(header.check_no) : SqlValue(std::nullopt))
        .set(u"check_date", payby == PayByCheck ? header.check_date : QDate())
        .set(u"payment_term", nullable(header.payment_term))
        .set(u"due_date", header.due_date)
        .set(u"discount_percent", header.discount_percent)
        .set(u"discount_amount", header.discount_amount.trimmed().isEmpty() ? SqlValue(std::nullopt)
                                                                             : SqlValue(totals.discount))
        .set(u"subtotal", totals.subtotal)
        .set(u"excluded_tax", totals.excluded_tax)
        .set(u"total", totals.total)
        .set(u"net_amount", totals.net_amount);
}

} // namespace

std::expected<void, Error> insert_bill_header(Database& db, const Bill& bill, const BillKeys& keys, const AuditStamp& stamp)
{
    const BillHeader& header = bill.header;
    InsertRow row(QStringLiteral("PO_invoice_header_table"));
    row.set(u"company", 1)
        .set(u"vendor_no", header.vendor_no)
        .set(u"primary_vendor", nullable(header.primary_vendor))
        .set(u"doctype", header.doctype)
        .set(u"docno", header.docno)
        .set(u"fkey", header.fkey)
        .set(u"invoice_date", header.invoice_date)
        .set(u"currency", header.currency);
    set_rewritten_columns(row, bill);
    row.set(u"period", header.period.period)
        .set(u"fyear", header.period.fiscal_year)
        .set_created(stamp.created())
        .set(u"source_form", header.source_form)
        .set(u"GLFKEY", nullable(keys.journal))
        .set(u"icfkey", nullable(keys.inventory))
        .set(u"apfkey", nullable(keys.payable))
        .set(u"ap_docno", nullable(keys.payable_number));
    return row.execute(db);
}

std::expected<void, Error> rewrite_bill_header(Database& db, const Bill& bill, const BillKeys& keys, const AuditStamp& stamp)
{
    UpdateRow row(QStringLiteral("PO_invoice_header_table"));
    set_rewritten_columns(row, bill);
    row.set(u"date_lastmodified", stamp.today)
        .set(u"time_lastmodified", stamp.time)
        .set(u"user_updated", stamp.user)
        .set(u"GLFKEY", nullable(keys.journal))
        .set(u"icfkey", nullable(keys.inventory))
        .set(u"ap_docno", nullable(keys.payable_number));
    if (auto done = row.where(QStringLiteral("fkey = ?"), {bill.header.fkey}).execute(db); !done)
        return std::unexpected(done.error());
    return raise_version(db, QStringLiteral("PO_invoice_header_table"), bill.header.fkey);
}

namespace {

/// What a complete goods row wrote off its receipt line: the open quantity it left unbilled, as
/// a negative quantity. Only that row's unbilling takes it back.
Decimal row_write_off(const BillLine& row)
{
    return !row.landed_item && row.complete.value_or(false) && row.quantity < row.rc_quantity_open
               ? row.quantity - row.rc_quantity_open
               : Decimal();
}

/// Applies one row's effect on its receipt line (`sign` 1), or takes it back (-1). A goods line
/// stays open for what was received less what was billed, less what was written off; a landed
/// charge is billed whole by one bill.
void apply_row(ReceiptLineBilling& line, const BillLine& row, int sign)
{
    const Decimal factor(sign);
    line.billed += row.quantity * factor;
    line.amount_billed += row.extended_cost * factor;
    line.adjusted += row_write_off(row) * factor;
    if (line.landed)
        line.open = sign > 0 ? Decimal() : std::max(Decimal(), line.received - line.billed);
    else
        line.open = std::max(Decimal(), line.received - line.billed + line.adjusted);
    line.fully_billed = line.open.is_zero();
    line.touched = true;
}

/// The receipts' header flags from their lines: billed while a line is, fully billed when none
/// is left to bill; a receipt with nothing billed forgets the bill it was entered with.
[[nodiscard]] std::expected<void, Error> close_receipts(Database& db, const std::set<QString>& keys)
{
    for (const QString& key : keys) {
        auto billed = db.scalar(QStringLiteral("SELECT COUNT(*) FROM PO_receipt_transaction_table WHERE fkey = ?"
                                               " AND (billed = TRUE OR (landed_item = TRUE AND quantity_billed > 0))"),
                                {key});
        if (!billed)
            return std::unexpected(billed.error());
        const QString forget = billed->toLongLong() == 0
                                   ? QStringLiteral(", vendor_invoice_no = '', vendor_invoice_date = NULL, invoice_docno = '',"
                                                    " prepayment_no = '', prepayment = 0, paypreby = ''")
                                   : QString();
        if (auto done = db.write(QStringLiteral("UPDATE PO_receipt_header_table SET billed = ?, fully_billed = NOT EXISTS"
                                                " (SELECT 1 FROM PO_receipt_transaction_table WHERE fkey = ? AND ")
                                     + receipt_line_open_for_bill() + QStringLiteral(")") + forget
                                     + QStringLiteral(", row_version = row_version + 1 WHERE fkey = ?"),
                                 {billed->toLongLong() > 0, key, key});
            !done)
            return done;
    }
    return {};
}

/// Bills (`sign` 1) or unbills (-1) the receipt lines of the rows.
[[nodiscard]] std::expected<void, Error> move_receipt_lines(Database& db, const std::vector<BillLine>& rows, int sign)
{
    std::set<QString> receipts;
    for (const BillLine& row : rows)
        if (row.written() && receipt_line_of(row))
            receipts.insert(row.receipt_no);
    if (receipts.empty())
        return {};
    auto lines = lock_receipt_lines(db, receipts);
    if (!lines)
        return std::unexpected(lines.error());
    for (const BillLine& row : rows) {
        const auto key = row.written() ? receipt_line_of(row) : std::nullopt;
        if (auto found = key ? lines->find(*key) : lines->end(); found != lines->end())
            apply_row(found->second, row, sign);
    }
    if (auto done = write_receipt_lines(db, *lines); !done)
        return done;
    return close_receipts(db, touched_documents(*lines));
}

/// The quantity each order line of `orders` has written off, in its unit: the write-offs of its
/// receipt lines and the rest closed by complete rows billed from the order alone (other than
/// `except_bill`'s). Read for all the orders at once; lines without write-offs are absent.
[[nodiscard]] std::expected<std::map<OrderLineKey, Decimal>, Error> order_written_off(
    Database& db, const std::vector<QString>& orders, const QString& except_bill)
{
    std::map<OrderLineKey, Decimal> written_off;
    auto add = [&](const Row& row, Decimal quantity, const QString& unit) -> std::expected<Decimal, Error> {
        BillLine line;
        line.itemcode = row.text(u"itemcode");
        line.quantity = quantity;
        line.uom_received = row.text(unit);
        line.po_uom = row.text(u"po_uom");
        return order_quantity(db, line);
    };
    for (qsizetype first = 0; first < qsizetype(orders.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(orders.size()) - first);
        const Params keys(orders.begin() + first, orders.begin() + first + count);
        Params closed_keys{except_bill};
        closed_keys.insert(closed_keys.end(), keys.begin(), keys.end());
        // The receipts' write-offs and the complete rows travel together.
        auto read = db.select_together(
            {{QStringLiteral("SELECT r.PONO, r.po_itemno, r.itemcode, r.quantity_adjusted, r.uom, r.po_uom"
                             " FROM PO_receipt_transaction_table r INNER JOIN PO_receipt_header_table h"
                             " ON h.fkey = r.fkey WHERE h.void = FALSE AND r.landed_item = FALSE"
                             " AND r.quantity_adjusted <> 0 AND r.PONO IN (")
                  + placeholder_list(count) + u')',
              keys},
             {QStringLiteral("SELECT PONO, po_itemno, itemcode, quantity, rc_quantity_open, uom_received,"
                             " po_uom FROM PO_invoice_transaction_table WHERE void = FALSE"
                             " AND fkey <> COALESCE(?, '') AND COALESCE(receipt_no, '') = ''"
                             " AND complete = TRUE AND PONO IN (")
                  + placeholder_list(count) + u')',
              closed_keys}});
        if (!read)
            return std::unexpected(read.error());
        const Rows& receipt = (*read)[0];
        const Rows& closed = (*read)[1];
        for (const Row& row : receipt) {
            auto quantity = add(row, -row.decimal(u"quantity_adjusted"), QStringLiteral("uom"));
            if (!quantity)
                return std::unexpected(quantity.error());
            written_off[{row.text(u"PONO"), int(row.integer(u"po_itemno"))}] += *quantity;
        }
        for (const Row& row : closed) {
            auto quantity = add(row, row.decimal(u"quantity"), QStringLiteral("uom_received"));
            if (!quantity)
                return std::unexpected(quantity.error());
            written_off[{row.text(u"PONO"), int(row.integer(u"po_itemno"))}]
                += std::max(Decimal(), row.decimal(u"rc_quantity_open") - *quantity);
        }
    }
    return written_off;
}

/// Bills (`sign` 1) or unbills (-1) the order lines of the rows. Each touched line is left open
/// for its quantity less cancelled, billed and written off, in its own unit, the rule the
/// order's edit keeps. A row billed from the order alone keeps the line's open quantity then
/// (rc_quantity_open, order unit), so that its complete box writes off only the rest it closed.
[[nodiscard]] std::expected<void, Error> move_order_lines(Database& db, const std::vector<BillLine>& rows, int sign,
                                                          const QString& bill_key)
{
    std::set<QString> orders;
    for (const BillLine& row : rows)
        if (row.written() && !row.pono.isEmpty() && row.po_itemno)
            orders.insert(row.pono);
    if (orders.empty())
        return {};
    auto lines = lock_order_lines_of(db, orders);
    if (!lines)
        return std::unexpected(lines.error());
    for (const BillLine& row : rows) {
        if (!row.written() || row.pono.isEmpty() || !row.po_itemno)
            continue;
        auto found = lines->find({row.pono, *row.po_itemno});
        if (found == lines->end()) {
            // The line was removed by an edit of the order since the bill took it.
            if (sign > 0)
                return std::unexpected(changed_by_another_user(row.pono));
            continue;
        }
        auto quantity = order_quantity(db, row);
        if (!quantity)
            return std::unexpected(quantity.error());
        OrderLineBilling& line = found->second;
        if (sign > 0 && row.receipt_no.isEmpty())
            if (auto done = db.write(QStringLiteral("UPDATE PO_invoice_transaction_table SET rc_quantity_open = ?,"
                                                    " rc_quantity_balance = ? WHERE fkey = ? AND itemno = ?"),
                                     {line.open, row.complete.value_or(false) ? Decimal() : line.open - *quantity,
                                      bill_key, row.itemno});
                !done)
                return done;
        line.billed = std::max(Decimal(), line.billed + *quantity * Decimal(sign));
        line.open = std::max(Decimal(), line.open - *quantity);
        line.touched = true;
    }
    auto written_off = order_written_off(db, std::vector<QString>(orders.begin(), orders.end()),
                                         sign > 0 ? QString() : bill_key);
    if (!written_off)
        return std::unexpected(written_off.error());
    for (auto& [key, line] : *lines) {
        if (!line.touched)
            continue;
        const auto found = written_off->find(key);
        const Decimal off = found == written_off->end() ? Decimal() : found->second;
        line.open = std::max(Decimal(), line.quantity - line.cancelled - line.billed - off);
    }
    if (auto done = write_order_lines(db, *lines); !done)
        return done;
    for (const QString& key : touched_documents(*lines))
        if (auto done = db.write(QStringLiteral("UPDATE PO_header_table SET billed = EXISTS (SELECT 1 FROM PO_transaction_table"
                                                " WHERE fkey = ? AND billed = TRUE), fully_billed = NOT EXISTS (SELECT 1 FROM"
                                                " PO_transaction_table WHERE fkey = ? AND fully_billed = FALSE),"
                                                " row_version = row_version + 1 WHERE fkey = ?"),
                                 {key, key, key});
            !done)
            return done;
    return {};
}

/// The saved rows of a bill as lines, for unbilling.
std::vector<BillLine> stored_lines(const Rows& rows)
{
    std::vector<BillLine> lines;
    for (const Row& row : rows) {
        BillLine line;
        line.itemno = int(row.integer(u"itemno"));
        line.itemcode = row.text(u"itemcode");
        line.quantity = row.decimal(u"quantity");
        line.rc_quantity_open = row.decimal(u"rc_quantity_open");
        line.complete = row.flag(u"complete");
        line.extended_cost = row.decimal(u"extended_cost");
        line.uom_received = row.text(u"uom_received");
        line.receipt_no = row.text(u"receipt_no");
        if (!row.is_null(u"receipt_itemno"))
            line.receipt_itemno = int(row.integer(u"receipt_itemno"));
        line.landed_item = row.flag(u"landed_item");
        if (!row.is_null(u"receipt_landed_itemno"))
            line.receipt_landed_itemno = int(row.integer(u"receipt_landed_itemno"));
        line.pono = row.text(u"PONO");
        if (!row.is_null(u"po_itemno"))
            line.po_itemno = int(row.integer(u"po_itemno"));
        line.po_uom = row.text(u"po_uom");
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

std::expected<void, Error> lock_bill_sources(Database& db, const BillSources& sources)
{
    // The receipts' headers, the orders' headers, then their lines, in one round trip.
    std::vector<Statement> locks = header_locks(QStringLiteral("PO_receipt_header_table"), sources.receipts);
    std::ranges::move(header_locks(QStringLiteral("PO_header_table"), sources.orders), std::back_inserter(locks));
    std::ranges::move(receipt_lines_locks(sources.receipts), std::back_inserter(locks));
    std::ranges::move(order_lines_locks(sources.orders), std::back_inserter(locks));
    if (auto locked = db.select_together(locks); !locked)
        return std::unexpected(locked.error());
    return {};
}

std::expected<void, Error> bill_receipts_and_orders(Database& db, const Bill& bill, Billing billing)
{
    if (billing == Billing::ReceiptAndOrderLines)
        if (auto done = move_receipt_lines(db, bill.lines, 1); !done)
            return done;
    return move_order_lines(db, bill.lines, 1, bill.header.fkey);
}

std::expected<void, Error> unbill_receipts_and_orders(Database& db, const QString& bill_key)
{
    auto rows = db.select(QStringLiteral("SELECT * FROM PO_invoice_transaction_table WHERE fkey = ? ORDER BY itemno"),
                          {bill_key});
    if (!rows)
        return std::unexpected(rows.error());
    const std::vector<BillLine> lines = stored_lines(*rows);
    if (auto done = move_receipt_lines(db, lines, -1); !done)
        return done;
    return move_order_lines(db, lines, -1, bill_key);
}

} // namespace zelkor
