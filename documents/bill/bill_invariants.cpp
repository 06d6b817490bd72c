// The rules vendor bills keep: a bill made at receipt bills what its receipt received, AP suspense
// clears once nothing is left to bill, a receipt's landed charges name live payables, their
// footers add up, their payable, entry and cost correction live and die with them, and the
// receipt and order lines they bill carry exactly what their live rows billed. Each reads the whole company: tests end their scenarios with them.
#include "documents/bill/bill_invariants.h"

#include "core/master_lookups.h"
#include "core/units.h"
#include "documents/bill/bill_writer.h"

#include <map>

namespace zelkor {
namespace {

QString money(const Decimal& value) { return value.round2().to_fixed(2); }

bool differ(const Decimal& a, const Decimal& b) { return (a - b).abs() >= Decimal("0.005"); }

QString bill_name(const Row& row) { return QStringLiteral("bill ") + row.text(u"docno"); }

/// Subtotal, excluded tax, total and net amount of every bill are those of its rows.
[[nodiscard]] std::expected<QStringList, Error> bill_footers_add_up(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT b.docno, b.subtotal, b.excluded_tax, b.total, b.net_amount, b.discount_amount, b.prepayment,"
        " (SELECT COALESCE(SUM(l.extended_cost), 0) FROM PO_invoice_transaction_table l WHERE l.fkey = b.fkey) AS lines,"
        " (SELECT COALESCE(SUM(l.tax_amount), 0) FROM PO_invoice_transaction_table l WHERE l.fkey = b.fkey"
        "  AND l.price_include_tax = FALSE) AS tax"
        " FROM PO_invoice_header_table b WHERE b.doctype = 'vi' ORDER BY b.docno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const Decimal total = row.decimal(u"lines") + row.decimal(u"tax");
        const Decimal net = total - row.decimal(u"discount_amount") - row.decimal(u"prepayment");
        if (differ(row.decimal(u"subtotal"), row.decimal(u"lines")) || differ(row.decimal(u"excluded_tax"), row.decimal(u"tax"))
            || differ(row.decimal(u"total"), total) || differ(row.decimal(u"net_amount"), net))
            violations << bill_name(row) + QStringLiteral(" shows ") + row.decimal(u"subtotal").to_string() + u'/'
                    + row.decimal(u"excluded_tax").to_string() + u'/' + row.decimal(u"total").to_string() + u'/'
                    + row.decimal(u"net_amount").to_string() + QStringLiteral(", its rows make ")
                    + row.decimal(u"lines").to_string() + u'/' + row.decimal(u"tax").to_string() + u'/' + total.to_string()
                    + u'/' + net.to_string();
    }
    return violations;
}

/// A live bill has a live "PO-BILL" payable of its own on its entry, an entry not reversed and a
/// cost correction not void; a void bill has all three undone. Its header keeps the payable's
/// number, which the bill inquiry shows.
[[nodiscard]] std::expected<QStringList, Error> bills_own_their_postings(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT b.docno, b.void, b.GLFKEY AS journal, b.icfkey, b.apfkey, b.ap_docno, a.docno AS payable_number,"
        " a.void AS payable_void, a.Source AS payable_source,"
        " a.source_docno AS payable_docno, a.GLFKEY AS payable_journal, g.Reverse AS reversed, i.void AS correction_void"
        " FROM ((PO_invoice_header_table b LEFT JOIN AP_header_table a ON a.fkey = b.apfkey)"
        " LEFT JOIN GL_header_table g ON g.fkey = b.GLFKEY) LEFT JOIN IN_header_table i ON i.fkey = b.icfkey"
        " WHERE b.doctype = 'vi' AND COALESCE(b.apfkey, '') <> '' ORDER BY b.docno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const bool live = !row.flag(u"void");
        const QString bill = bill_name(row);
        if (row.is_null(u"payable_void"))
            violations << bill + QStringLiteral(" names no payable");
        else if (row.flag(u"payable_void") == live)
            violations << bill + (live ? QStringLiteral(" is live, its payable void") : QStringLiteral(" is void, its payable live"));
        else if (live && (row.text(u"payable_source") != u"PO-BILL" || row.text(u"payable_docno") != row.text(u"docno")
                          || row.text(u"payable_journal") != row.text(u"journal")))
            violations << bill + QStringLiteral("'s payable belongs to ") + row.text(u"payable_source") + u' '
                    + row.text(u"payable_docno") + QStringLiteral(" on entry ") + row.text(u"payable_journal");
        if (const QString wrong = payable_number_kept(row); !wrong.isEmpty())
            violations << bill + wrong;
        if (!row.text(u"journal").isEmpty()) {
            if (row.is_null(u"reversed"))
                violations << bill + QStringLiteral(" names no journal entry");
            else if (row.flag(u"reversed") == live)
                violations << bill + (live ? QStringLiteral("'s entry is reversed") : QStringLiteral("'s entry is not reversed"));
        }
        if (!row.text(u"icfkey").isEmpty()) {
            if (row.is_null(u"correction_void"))
                violations << bill + QStringLiteral(" names no cost correction");
            else if (row.flag(u"correction_void") == live)
                violations << bill + (live ? QStringLiteral("'s cost correction is void")
                                           : QStringLiteral("'s cost correction is not void"));
        }
    }
    return violations;
}

/// A billed receipt line of a live receipt carries what its live bill rows billed; a goods line
/// stays open for what it received less what was billed and written off, and is fully billed
/// exactly when nothing is open; its receipt is fully billed exactly when none of its lines is
/// left to bill.
[[nodiscard]] std::expected<QStringList, Error> receipt_lines_carry_their_bills(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT r.docno, r.itemno, r.landed_item, r.quantity_received, r.quantity_billed, r.amount_billed,"
        " r.quantity_adjusted, r.quantity_open_for_bill, r.fully_billed, h.fully_billed AS receipt_fully_billed,"
        " h.billed AS receipt_billed,"
        " (SELECT COALESCE(SUM(l.quantity), 0) FROM PO_invoice_transaction_table l WHERE l.void = FALSE"
        "  AND l.doctype = 'vi' AND l.receipt_no = r.docno AND l.landed_item = r.landed_item AND r.itemno = (CASE WHEN l.landed_item = TRUE"
        "  THEN l.receipt_landed_itemno ELSE l.receipt_itemno END)) AS rows_quantity,"
        " (SELECT COALESCE(SUM(l.extended_cost), 0) FROM PO_invoice_transaction_table l WHERE l.void = FALSE"
        "  AND l.doctype = 'vi' AND l.receipt_no = r.docno AND l.landed_item = r.landed_item AND r.itemno = (CASE WHEN l.landed_item = TRUE"
        "  THEN l.receipt_landed_itemno ELSE l.receipt_itemno END)) AS rows_amount,"
        " (SELECT COUNT(*) FROM PO_receipt_transaction_table o WHERE o.fkey = r.fkey AND ")
        + receipt_line_open_for_bill(QStringLiteral("o"))
        + QStringLiteral(") AS open_lines"
                         " FROM PO_receipt_transaction_table r INNER JOIN PO_receipt_header_table h ON h.fkey = r.fkey"
                         " WHERE h.void = FALSE AND EXISTS (SELECT 1 FROM PO_invoice_transaction_table l"
                         "  WHERE l.doctype = 'vi' AND l.receipt_no = r.docno) ORDER BY r.docno, r.landed_item, r.itemno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const QString line = QStringLiteral("receipt ") + row.text(u"docno") + (row.flag(u"landed_item") ? QStringLiteral(" landed line ") : QStringLiteral(" line "))
                             + row.text(u"itemno");
        if (differ(row.decimal(u"quantity_billed"), row.decimal(u"rows_quantity"))
            || differ(row.decimal(u"amount_billed"), row.decimal(u"rows_amount")))
            violations << line + QStringLiteral(" billed ") + row.decimal(u"quantity_billed").to_string() + u'/'
                    + row.decimal(u"amount_billed").to_string() + QStringLiteral(", its live bill rows ")
                    + row.decimal(u"rows_quantity").to_string() + u'/' + row.decimal(u"rows_amount").to_string();
        const bool open_line = row.integer(u"open_lines") > 0;
        // A receipt billed by none of its live bills stays "not fully billed" with nothing left
        // open (every line received nothing), as a new receipt of nothing received is: it can be
        // edited to receive again.
        const bool unbilled_and_empty = !open_line && !row.flag(u"receipt_billed") && !row.flag(u"receipt_fully_billed");
        if (row.flag(u"receipt_fully_billed") == open_line && !unbilled_and_empty)
            violations << line + QStringLiteral("'s receipt is ") + (open_line ? QStringLiteral("fully billed with lines open")
                                                                              : QStringLiteral("not fully billed with no line open"));
        if (row.flag(u"landed_item") || row.decimal(u"quantity_received").is_zero())
            continue;
        const Decimal open = std::max(Decimal(), row.decimal(u"quantity_received") - row.decimal(u"quantity_billed")
                                                     + row.decimal(u"quantity_adjusted"));
        if (differ(row.decimal(u"quantity_open_for_bill"), open) || row.flag(u"fully_billed") != open.is_zero())
            violations << line + QStringLiteral(" is open for ") + row.decimal(u"quantity_open_for_bill").to_string()
                    + (row.flag(u"fully_billed") ? QStringLiteral(" (fully billed)") : QString())
                    + QStringLiteral(", its figures leave ") + open.to_string();
    }
    return violations;
}

/// An order line billed carries the quantity its live bill rows billed, in its own unit, and is
/// fully billed exactly when nothing is open for billing.
[[nodiscard]] std::expected<QStringList, Error> order_lines_carry_their_bills(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT o.docno, o.itemno, o.quantity_billed, o.quantity_open_for_bill, o.fully_billed, l.itemcode, l.quantity,"
        " l.uom_received, l.po_uom FROM PO_transaction_table o INNER JOIN PO_header_table h ON h.fkey = o.fkey"
        " LEFT JOIN PO_invoice_transaction_table l ON l.PONO = o.docno AND l.po_itemno = o.itemno AND l.void = FALSE"
        " AND l.doctype = 'vi'"
        " WHERE h.void = FALSE AND EXISTS (SELECT 1 FROM PO_invoice_transaction_table b WHERE b.doctype = 'vi' AND b.PONO = o.docno)"
        " ORDER BY o.docno, o.itemno"));
    if (!rows)
        return std::unexpected(rows.error());
    struct Billed {
        Decimal stored;
        Decimal rows;
        Decimal open;
        bool fully = false;
    };
    std::map<std::pair<QString, qint64>, Billed> lines;
    for (const Row& row : *rows) {
        Billed& line = lines[{row.text(u"docno"), row.integer(u"itemno")}];
        line.stored = row.decimal(u"quantity_billed");
        line.open = row.decimal(u"quantity_open_for_bill");
        line.fully = row.flag(u"fully_billed");
        if (row.is_null(u"quantity"))
            continue;
        const QString from = row.text(u"uom_received");
        const QString to = row.text(u"po_uom");
        Decimal quantity = row.decimal(u"quantity");
        if (!from.isEmpty() && !to.isEmpty() && from != to) {
            auto converted = convert_quantity(db, quantity, row.text(u"itemcode"), from, to);
            if (!converted)
                return std::unexpected(converted.error());
            quantity = converted->round(6);
        }
        line.rows += quantity;
    }
    QStringList violations;
    for (const auto& [key, line] : lines) {
        const QString name = QStringLiteral("order ") + key.first + QStringLiteral(" line ") + QString::number(key.second);
        if (differ(line.stored, line.rows))
            violations << name + QStringLiteral(" billed ") + line.stored.to_string() + QStringLiteral(", its live bill rows ")
                    + line.rows.to_string();
        if (line.fully != line.open.is_zero())
            violations << name + QStringLiteral(" is open for ") + line.open.to_string()
                    + (line.fully ? QStringLiteral(" yet fully billed") : QStringLiteral(" yet not fully billed"));
    }
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> bills_at_receipt_bill_what_was_received(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT b.docno, l.itemno, l.quantity, r.quantity_received, r.quantity, r.landed_item, r.fully_billed"
        " FROM ((PO_invoice_header_table b INNER JOIN PO_receipt_header_table h ON h.invoice_docno = b.docno"
        "  AND h.docno = b.receipt_no AND h.void = FALSE)"
        " INNER JOIN PO_invoice_transaction_table l ON l.fkey = b.fkey)"
        " LEFT JOIN PO_receipt_transaction_table r ON r.fkey = h.fkey AND r.landed_item = l.landed_item"
        "  AND r.itemno = (CASE WHEN l.landed_item = TRUE THEN l.receipt_landed_itemno ELSE l.receipt_itemno END)"
        " WHERE b.void = FALSE ORDER BY b.docno, l.itemno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const QString line = QStringLiteral("bill ") + row.text(u"docno") + QStringLiteral(" line ") + row.text(u"itemno");
        if (row.is_null(u"fully_billed")) {
            violations << line + QStringLiteral(" names no line of its receipt");
            continue;
        }
        const Decimal received = row.flag(u"landed_item") ? row.decimal(u"quantity") : row.decimal(u"quantity_received");
        if (differ(row.decimal(u"quantity"), received) || !row.flag(u"fully_billed"))
            violations << line + QStringLiteral(" bills ") + row.decimal(u"quantity").to_string()
                    + QStringLiteral(" of a receipt line that received ") + received.to_string()
                    + (row.flag(u"fully_billed") ? QString() : QStringLiteral(" and is not fully billed"));
    }
    return violations;
}

/// A vendor that received goods and has none left to bill owes nothing through AP suspense.
[[nodiscard]] std::expected<QStringList, Error> suspense_clears_for_billed_vendors(Database& db)
{
    auto suspense = module_parameter(db, Parameter::ApSuspense);
    if (!suspense)
        return std::unexpected(suspense.error());
    if (!*suspense)
        return QStringList();
    auto rows = db.select(
        QStringLiteral("SELECT g.vendor_no, g.currency, SUM(g.amount) AS amount, SUM(g.base_amount) AS base_amount"
                       " FROM GL_transaction_table g WHERE g.accno = ?"
                       " AND g.vendor_no IN (SELECT r.vendor_no FROM PO_receipt_header_table r)"
                       // The vendors with something left to bill, read once rather than per journal line;
                       // a NULL among them would make NOT IN exclude every vendor.
                       " AND g.vendor_no NOT IN"
                       " (SELECT h.vendor_no FROM PO_receipt_transaction_table r INNER JOIN PO_receipt_header_table h"
                       "  ON h.fkey = r.fkey WHERE h.void = FALSE AND h.vendor_no IS NOT NULL AND ")
            + receipt_line_open_for_bill(QStringLiteral("r"))
            + QStringLiteral(") GROUP BY g.vendor_no, g.currency ORDER BY g.vendor_no, g.currency"),
        {**suspense});
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        if (differ(row.decimal(u"amount"), Decimal()) || differ(row.decimal(u"base_amount"), Decimal()))
            violations << QStringLiteral("account ") + **suspense + QStringLiteral(" holds ") + money(row.decimal(u"amount"))
                    + u' ' + row.text(u"currency") + QStringLiteral(" (") + money(row.decimal(u"base_amount"))
                    + QStringLiteral(" base) for vendor ") + row.text(u"vendor_no")
                    + QStringLiteral(", who has nothing received left to bill");
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> landed_charges_name_live_payables(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT h.docno, r.itemno, r.ap_fkey, r.vendor_no, a.vendor_no AS payable_vendor, a.void AS payable_void"
        " FROM (PO_receipt_transaction_table r INNER JOIN PO_receipt_header_table h ON h.fkey = r.fkey)"
        " LEFT JOIN AP_header_table a ON a.fkey = r.ap_fkey"
        " WHERE h.void = FALSE AND r.landed_item = TRUE AND r.ap_fkey <> '' ORDER BY h.docno, r.itemno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        if (row.is_null(u"payable_void") || row.flag(u"payable_void") || row.text(u"payable_vendor") != row.text(u"vendor_no"))
            violations << QStringLiteral("receipt ") + row.text(u"docno") + QStringLiteral(" landed line ")
                    + row.text(u"itemno") + QStringLiteral(" names payable ") + row.text(u"ap_fkey")
                    + QStringLiteral(", which is not a live payable of ") + row.text(u"vendor_no");
    return violations;
}

} // namespace

std::vector<InvariantCheck> bill_invariant_checks()
{
    // The first three are the payables' rules that concern bills; they run right after the
    // payables' own, as they always have.
    return {
        {QStringLiteral("bills at receipt bill what was received"), bills_at_receipt_bill_what_was_received},
        {QStringLiteral("AP suspense clears for vendors with nothing left to bill"), suspense_clears_for_billed_vendors},
        {QStringLiteral("landed charges name live payables"), landed_charges_name_live_payables},
        {QStringLiteral("bill footers add up"), bill_footers_add_up},
        {QStringLiteral("bills own their postings"), bills_own_their_postings},
        {QStringLiteral("receipt lines carry their bills"), receipt_lines_carry_their_bills},
        {QStringLiteral("order lines carry their bills"), order_lines_carry_their_bills},
    };
}

QString payable_number_kept(const Row& row)
{
    const QString kept = row.text(u"ap_docno");
    const QString payable = row.text(u"payable_number");
    if (payable.isEmpty() || kept == payable)
        return {};
    return kept.isEmpty() ? QStringLiteral(" keeps no payable number (its payable is ") + payable + u')'
                          : QStringLiteral(" keeps payable number ") + kept + QStringLiteral(", its payable is ") + payable;
}

} // namespace zelkor
