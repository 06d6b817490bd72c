// A bill's rows, its header, the billing of the receipt and order lines it covers, and its void.
// Lines are updated set-wise (UPDATE ... FROM VALUES): a hundred a statement on PostgreSQL,
// where every statement is a round trip, one on SQLite, a prepared statement reused.
#include "services/bill_writer.h"
#include "services/bill_void.h"

#include "services/ledger_accounts.h"
#include "services/ledger_posting.h"
#include "services/sql_batch.h"
#include "services/sql_names.h"
#include "services/units.h"

#include <QHash>

#include <algorithm>
#include <map>
#include <set>

namespace zelkor {
namespace {

SqlValue nullable(const QString& text) { return text.isEmpty() ? SqlValue(std::nullopt) : SqlValue(text); }

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
    Decimal open;
    Decimal billed;
    Decimal amount_billed;
    Decimal adjusted;
    bool fully_billed = false;
    bool touched = false;
};

using ReceiptLineKey = std::tuple<QString, bool, int>; // receipt number, landed, line number

[[nodiscard]] std::expected<std::map<ReceiptLineKey, ReceiptLineBilling>, Error> lock_receipt_lines(
    Database& db, const std::set<QString>& receipts)
{
    std::map<ReceiptLineKey, ReceiptLineBilling> lines;
    const std::vector<QString> all(receipts.begin(), receipts.end());
    for (qsizetype first = 0; first < qsizetype(all.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(all.size()) - first);
        auto rows = db.select_for_update(
            QStringLiteral("SELECT docno, fkey, itemno, landed_item, quantity_open_for_bill, quantity_billed,"
                           " amount_billed, quantity_adjusted, fully_billed FROM PO_receipt_transaction_table"
                           " WHERE company = 1 AND docno IN (")
                + placeholder_list(count) + QStringLiteral(") ORDER BY fkey, landed_item, itemno"),
            Params(all.begin() + first, all.begin() + first + count));
        if (!rows)
            return std::unexpected(rows.error());
        for (const Row& row : *rows)
            lines.emplace(ReceiptLineKey{row.text(u"docno"), row.flag(u"landed_item"), int(row.integer(u"itemno"))},
                          ReceiptLineBilling{row.text(u"fkey"), int(row.integer(u"itemno")), row.flag(u"landed_item"),
                                             row.decimal(u"quantity_open_for_bill"), row.decimal(u"quantity_billed"),
                                             row.decimal(u"amount_billed"), row.decimal(u"quantity_adjusted"),
                                             row.flag(u"fully_billed")});
    }
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
    Decimal billed;
    Decimal open;
    bool touched = false;
};

using OrderLineKey = std::pair<QString, int>; // order number, line number

[[nodiscard]] std::expected<std::map<OrderLineKey, OrderLineBilling>, Error> lock_order_lines_of(
    Database& db, const std::set<QString>& orders)
{
    std::map<OrderLineKey, OrderLineBilling> lines;
    const std::vector<QString> all(orders.begin(), orders.end());
    for (qsizetype first = 0; first < qsizetype(all.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(all.size()) - first);
        auto rows = db.select_for_update(
            QStringLiteral("SELECT docno, fkey, itemno, quantity_billed, quantity_open_for_bill FROM PO_transaction_table"
                           " WHERE company = 1 AND docno IN (")
                + placeholder_list(count) + QStringLiteral(") ORDER BY fkey, itemno"),
            Params(all.begin() + first, all.begin() + first + count));
        if (!rows)
            return std::unexpected(rows.error());
        for (const Row& row : *rows)
            lines.emplace(OrderLineKey{row.text(u"docno"), int(row.integer(u"itemno"))},
                          OrderLineBilling{row.text(u"fkey"), int(row.integer(u"itemno")), row.decimal(u"quantity_billed"),
                                           row.decimal(u"quantity_open_for_bill")});
    }
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

[[nodiscard]] std::expected<void, Error> run(Database& db, const QString& sql, const Params& params)
{
    if (auto done = db.execute(sql, params); !done)
        return std::unexpected(done.error());
    return {};
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
            .set(u"expense", line->expense)
            .set(u"receipt_landed_itemno", line->landed_item ? line->receipt_landed_itemno : std::nullopt)
            .set(u"invoice_no", header.invoice_no)
            .set(u"invoice_date", header.invoice_date)
            .set(u"period", header.period.period)
            .set(u"fyear", header.period.fiscal_year)
            .set(u"date_created", stamp.today)
            .set(u"time_created", stamp.time)
            .set(u"user_created", stamp.user)
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

std::expected<void, Error> insert_bill_header(Database& db, const Bill& bill, const BillKeys& keys, const AuditStamp& stamp)
{
    const BillHeader& header = bill.header;
    const BillTotals totals = bill_totals(bill);
    const bool prepaid = totals.prepayment > Decimal();
    const QString payby = header.payby.trimmed().isEmpty() ? PayLater : header.payby;
    InsertRow row(QStringLiteral("PO_invoice_header_table"));
    row.set(u"company", 1)
        .set(u"vendor_no", header.vendor_no)
        .set(u"primary_vendor", nullable(header.primary_vendor))
        .set(u"doctype", header.doctype)
        .set(u"docno", header.docno)
        .set(u"fkey", header.fkey)
        .set(u"invoice_date", header.invoice_date)
        .set(u"currency", header.currency)
        .set(u"exchange_rate", header.exchange_rate)
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
        .set(u"net_amount", totals.net_amount)
        .set(u"period", header.period.period)
        .set(u"fyear", header.period.fiscal_year)
        .set(u"date_created", stamp.today)
        .set(u"time_created", stamp.time)
        .set(u"source_form", header.source_form)
        .set(u"user_created", stamp.user)
        .set(u"GLFKEY", nullable(keys.journal))
        .set(u"icfkey", nullable(keys.inventory))
        .set(u"apfkey", nullable(keys.payable));
    return row.execute(db);
}

std::expected<void, Error> bill_receipts_and_orders(Database& db, const Bill& bill, Billing billing)
{
    std::set<QString> receipts;
    std::set<QString> orders;
    for (const BillLine& line : bill.lines) {
        if (!line.written())
            continue;
        if (billing == Billing::ReceiptAndOrderLines && receipt_line_of(line))
            receipts.insert(line.receipt_no);
        if (!line.pono.isEmpty() && line.po_itemno)
            orders.insert(line.pono);
    }
    if (!receipts.empty()) {
        auto lines = lock_receipt_lines(db, receipts);
        if (!lines)
            return std::unexpected(lines.error());
        for (const BillLine& row : bill.lines) {
            const auto key = row.written() ? receipt_line_of(row) : std::nullopt;
            auto found = key ? lines->find(*key) : lines->end();
            if (found == lines->end())
                continue;
            ReceiptLineBilling& line = found->second;
            const Decimal& q = row.quantity;
            const bool complete = row.complete.value_or(false);
            if (!line.landed && !complete && q < line.open) {
                line.open -= q;
            } else {
                // A goods line completed for less than is open writes the rest off.
                if (!line.landed && complete && q < line.open)
                    line.adjusted = q - line.open;
                line.open = Decimal();
                line.fully_billed = true;
            }
            line.billed += q;
            line.amount_billed += row.extended_cost;
            line.touched = true;
        }
        if (auto done = write_receipt_lines(db, *lines); !done)
            return done;
        for (const QString& key : touched_documents(*lines))
            if (auto done = run(db,
                                QStringLiteral("UPDATE PO_receipt_header_table SET billed = TRUE, fully_billed = NOT EXISTS"
                                               " (SELECT 1 FROM PO_receipt_transaction_table WHERE fkey = ? AND ")
                                    + receipt_line_open_for_bill()
                                    + QStringLiteral("), row_version = row_version + 1 WHERE fkey = ?"),
                                {key, key});
                !done)
                return done;
    }
    if (orders.empty())
        return {};
    auto lines = lock_order_lines_of(db, orders);
    if (!lines)
        return std::unexpected(lines.error());
    for (const BillLine& row : bill.lines) {
        if (!row.written() || row.pono.isEmpty() || !row.po_itemno)
            continue;
        auto found = lines->find({row.pono, *row.po_itemno});
        if (found == lines->end())
            continue;
        auto quantity = order_quantity(db, row);
        if (!quantity)
            return std::unexpected(quantity.error());
        OrderLineBilling& line = found->second;
        line.billed += *quantity;
        line.open = row.complete.value_or(false) ? Decimal() : std::max(Decimal(), line.open - *quantity);
        line.touched = true;
    }
    if (auto done = write_order_lines(db, *lines); !done)
        return done;
    for (const QString& key : touched_documents(*lines))
        if (auto done = run(db,
                            QStringLiteral("UPDATE PO_header_table SET billed = TRUE, fully_billed = NOT EXISTS"
                                           " (SELECT 1 FROM PO_transaction_table WHERE fkey = ? AND fully_billed = FALSE),"
                                           " row_version = row_version + 1 WHERE fkey = ?"),
                            {key, key});
            !done)
            return done;
    return {};
}

namespace {

/// Takes back what a bill's rows did to its receipt and order lines.
[[nodiscard]] std::expected<void, Error> unbill_receipts_and_orders(Database& db, const Rows& rows)
{
    std::set<QString> receipts;
    std::set<QString> orders;
    std::vector<BillLine> lines;
    for (const Row& row : rows) {
        BillLine line;
        line.itemcode = row.text(u"itemcode");
        line.quantity = row.decimal(u"quantity");
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
        if (receipt_line_of(line))
            receipts.insert(line.receipt_no);
        if (!line.pono.isEmpty() && line.po_itemno)
            orders.insert(line.pono);
        lines.push_back(std::move(line));
    }
    std::map<ReceiptLineKey, ReceiptLineBilling> receipt_lines;
    if (!receipts.empty()) {
        auto locked = lock_receipt_lines(db, receipts);
        if (!locked)
            return std::unexpected(locked.error());
        receipt_lines = std::move(*locked);
    }
    // What each receipt line had written off, for its order line.
    std::map<ReceiptLineKey, Decimal> written_off;
    for (const BillLine& row : lines) {
        const auto key = receipt_line_of(row);
        auto found = key ? receipt_lines.find(*key) : receipt_lines.end();
        if (found == receipt_lines.end())
            continue;
        ReceiptLineBilling& line = found->second;
        written_off[*key] = line.adjusted;
        line.open += row.quantity - line.adjusted;
        line.adjusted = Decimal();
        line.billed -= row.quantity;
        line.amount_billed -= row.extended_cost;
        line.fully_billed = false;
        line.touched = true;
    }
    if (auto done = write_receipt_lines(db, receipt_lines); !done)
        return done;
    for (const QString& key : touched_documents(receipt_lines)) {
        auto billed = db.scalar(QStringLiteral("SELECT COUNT(*) FROM PO_receipt_transaction_table WHERE fkey = ? AND billed = TRUE"),
                                {key});
        if (!billed)
            return std::unexpected(billed.error());
        const QString sql = billed->toLongLong() == 0
            ? QStringLiteral("UPDATE PO_receipt_header_table SET fully_billed = FALSE, billed = FALSE, vendor_invoice_no = '',"
                             " vendor_invoice_date = NULL, invoice_docno = '', prepayment_no = '', prepayment = 0,"
                             " paypreby = '', row_version = row_version + 1 WHERE fkey = ?")
            : QStringLiteral("UPDATE PO_receipt_header_table SET fully_billed = FALSE, billed = TRUE,"
                             " row_version = row_version + 1 WHERE fkey = ?");
        if (auto done = run(db, sql, {key}); !done)
            return done;
    }
    if (orders.empty())
        return {};
    auto order_lines = lock_order_lines_of(db, orders);
    if (!order_lines)
        return std::unexpected(order_lines.error());
    for (const BillLine& row : lines) {
        if (row.pono.isEmpty() || !row.po_itemno)
            continue;
        auto found = order_lines->find({row.pono, *row.po_itemno});
        if (found == order_lines->end())
            continue;
        auto quantity = order_quantity(db, row);
        if (!quantity)
            return std::unexpected(quantity.error());
        const auto key = receipt_line_of(row);
        const Decimal adjusted = key && written_off.contains(*key) ? written_off.at(*key) : Decimal();
        OrderLineBilling& line = found->second;
        line.billed = std::max(Decimal(), line.billed - *quantity);
        line.open += *quantity - adjusted;
        line.touched = true;
    }
    std::vector<Params> written;
    for (const auto& [key, line] : *order_lines)
        if (line.touched)
            written.push_back({line.fkey, line.itemno, line.billed, line.open, line.billed > Decimal()});
    if (auto done = update_from_values(
            db, QStringLiteral("PO_transaction_table"),
            QStringLiteral("quantity_billed = v.column3, quantity_open_for_bill = v.column4, billed = v.column5,"
                           " fully_billed = FALSE"),
            QStringLiteral("PO_transaction_table.fkey = v.column1 AND PO_transaction_table.itemno = v.column2"),
            QStringLiteral("(?, CAST(? AS INTEGER), CAST(? AS NUMERIC), CAST(? AS NUMERIC), CAST(? AS BOOLEAN))"), written);
        !done)
        return done;
    for (const QString& key : touched_documents(*order_lines))
        if (auto done = run(db,
                            QStringLiteral("UPDATE PO_header_table SET fully_billed = FALSE, billed = EXISTS"
                                           " (SELECT 1 FROM PO_transaction_table WHERE fkey = ? AND billed = TRUE),"
                                           " row_version = row_version + 1 WHERE fkey = ?"),
                            {key, key});
            !done)
            return done;
    return {};
}

} // namespace

std::expected<void, Error> void_bill(Database& db, const BillVoid& order)
{
    auto locked = db.select_for_update(QStringLiteral("SELECT * FROM PO_invoice_header_table WHERE fkey = ?"), {order.bill_key});
    if (!locked)
        return std::unexpected(locked.error());
    if (locked->empty())
        return std::unexpected(Error::not_found(QStringLiteral("Document no. ") + order.bill_key + QStringLiteral(" not found")));
    const Row& header = locked->front();
    const QString number = header.text(u"docno");
    if (header.flag(u"void"))
        return std::unexpected(Error::invalid(number + QStringLiteral(" was void")));
    if (!header.text(u"icfkey").isEmpty() && !order.stock_reversed)
        return std::unexpected(Error::invalid(QStringLiteral("Bill ") + number
                                              + QStringLiteral(" corrected stock cost: void it in P/O Bill Entry.")));
    if (const QString journal = header.text(u"GLFKEY"); !journal.isEmpty()) {
        const Reversal reversal{.description = QStringLiteral("void invoice ") + number,
                                .reversed_description = QStringLiteral("Void invoice ") + number,
                                .source = header.text(u"doctype") == u"ld" ? QStringLiteral("PO-LANDED")
                                                                          : QStringLiteral("PO-BILL"),
                                .source_form = header.text(u"source_form"),
                                .source_docno = number,
                                .date = order.date,
                                .user = order.stamp.user,
                                .period = order.period};
        auto reversed = reverse_entry(db, journal, reversal);
        if (!reversed)
            return std::unexpected(reversed.error());
        if (!*reversed)
            return std::unexpected(Error::not_found(journal + QStringLiteral(" journal entry does not exist")));
    }
    if (const QString payable = header.text(u"apfkey"); !payable.isEmpty()) {
        auto payable_docno = db.scalar(QStringLiteral("SELECT docno FROM AP_header_table WHERE fkey = ?"), {payable});
        if (!payable_docno)
            return std::unexpected(payable_docno.error());
        if (auto voided = void_payable(db, payable, header.text(u"invoice_no"), order.stamp); !voided)
            return std::unexpected(voided.error());
        // The prepayment goes back to waiting: an existing one, or the one paid with this bill
        // (that payment stays, applied to nothing).
        QString prepayment = header.text(u"prepayment_no");
        if (prepayment.isEmpty() && header.decimal(u"prepayment") > Decimal()) {
            auto own = db.scalar(QStringLiteral("SELECT p.docno FROM Payment_transaction_table t INNER JOIN"
                                                " Payment_header_table p ON p.fkey = t.fkey WHERE t.ap_docno = ?"
                                                " AND p.source_docno = ? AND p.doctype = 'pp'"),
                                 {Row::to_text(*payable_docno), number});
            if (!own)
                return std::unexpected(own.error());
            prepayment = Row::to_text(*own);
        }
        if (!prepayment.isEmpty())
            if (auto restored = restore_prepayment(db, prepayment); !restored)
                return restored;
    }
    auto rows = db.select(QStringLiteral("SELECT * FROM PO_invoice_transaction_table WHERE fkey = ? ORDER BY itemno"),
                          {order.bill_key});
    if (!rows)
        return std::unexpected(rows.error());
    if (auto done = unbill_receipts_and_orders(db, *rows); !done)
        return done;
    if (auto done = run(db,
                        QStringLiteral("UPDATE PO_invoice_header_table SET void = TRUE, date_lastmodified = ?,"
                                       " time_lastmodified = ?, user_updated = ?, row_version = row_version + 1"
                                       " WHERE fkey = ?"),
                        {order.stamp.today, order.stamp.time, order.stamp.user, order.bill_key});
        !done)
        return done;
    return run(db, QStringLiteral("UPDATE PO_invoice_transaction_table SET void = TRUE WHERE fkey = ?"), {order.bill_key});
}

namespace {

/// Whether the bill's payable was paid beyond what the bill settled itself: the whole of it, less
/// discount, when paid at once without a prepayment; its prepayment otherwise. Anything else on
/// the payable's lines was paid in the payables since.
[[nodiscard]] std::expected<bool, Error> paid_beyond_bill(Database& db, const Row& header)
{
    const QString payable = header.text(u"apfkey");
    if (payable.isEmpty())
        return false;
    auto paid = db.first(QStringLiteral("SELECT COUNT(*) AS line_count, COALESCE(SUM(paid_amount), 0) AS paid_amount"
                                        " FROM AP_transaction_table WHERE fkey = ?"),
                         {payable});
    if (!paid)
        return std::unexpected(paid.error());
    // A payable gone is the void's to report ("... not found in Account Payable").
    if (!*paid || (*paid)->integer(u"line_count") == 0)
        return false;
    const Decimal prepayment = header.decimal(u"prepayment");
    const Decimal settled = prepayment.is_zero() && pays_at_once(header.text(u"payby"))
                                ? header.decimal(u"total") - header.decimal(u"discount_amount")
                                : prepayment;
    return -(*paid)->decimal(u"paid_amount") != settled;
}

} // namespace

std::expected<void, Error> check_shown_bill_open(Database& db, const LockedDocument& locked, const QString& number)
{
    const Row& header = locked.header;
    if (header.flag(u"void"))
        return std::unexpected(Error::invalid(number + QStringLiteral(" was void")));
    if (header.flag(u"fully_paid"))
        return std::unexpected(Error::invalid(number + QStringLiteral(" was paid.")));
    // A payment made in the payables reaches the payable before the bill's own flags.
    auto paid = header.flag(u"paid") ? true : paid_beyond_bill(db, header);
    if (!paid)
        return std::unexpected(paid.error());
    if (*paid)
        return std::unexpected(Error::invalid(number + QStringLiteral(" was partially paid.")));
    if (locked.changed)
        return std::unexpected(changed_by_another_user(number));
    return check_working_period(db, {header.text(u"fyear"), int(header.integer(u"period"))});
}

std::expected<void, Error> void_shown_bill(Database& db, const DocumentVersion& shown, const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto locked = lock_shown_version(db, shown);
    if (!locked)
        return std::unexpected(locked.error());
    if (auto open = check_shown_bill_open(db, *locked, shown.number); !open)
        return open;
    const Row& header = locked->header;
    const FiscalPeriod period{header.text(u"fyear"), int(header.integer(u"period"))};
    const BillVoid order{.bill_key = shown.key, .date = header.date(u"invoice_date"), .period = period, .stamp = stamp};
    if (auto voided = void_bill(db, order); !voided)
        return voided;
    return tx.commit();
}

} // namespace zelkor
