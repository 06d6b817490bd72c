// The rules landed-cost bills keep: what a live bill posted is live, what a void bill posted is
// taken back, and the cost it raised is in the layers exactly. Each reads the whole company.
#include "documents/landed/landed_invariants.h"

#include "documents/bill/bill_invariants.h"

namespace zelkor {
namespace {

bool differ(const Decimal& a, const Decimal& b) { return (a - b).abs() >= Decimal("0.005"); }

/// A live landed bill's entry is not reversed, its "ij" document not void, its payable live with
/// the bill's total, and its receipt list present; a void bill's entry is reversed and its
/// document and payable void.
[[nodiscard]] std::expected<QStringList, Error> landed_bills_keep_their_documents(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT b.docno, b.void, b.total, b.multi_receipt,"
        " (SELECT COUNT(*) FROM PO_landed_multi_receipt_table m WHERE m.docno = b.docno) AS receipts,"
        " g.fkey AS journal, g.Reverse AS reversed, i.fkey AS inventory, i.void AS inventory_void,"
        " a.fkey AS payable, a.void AS payable_void, a.docno AS payable_number, b.ap_docno,"
        " (SELECT SUM(l.gross_amount) FROM AP_transaction_table l WHERE l.fkey = a.fkey) AS gross,"
        " b.GLFKEY AS glfkey, b.icfkey AS icfkey, b.apfkey AS apfkey"
        " FROM PO_invoice_header_table b LEFT JOIN GL_header_table g ON g.fkey = b.GLFKEY"
        " LEFT JOIN IN_header_table i ON i.fkey = b.icfkey LEFT JOIN AP_header_table a ON a.fkey = b.apfkey"
        " WHERE b.company = 1 AND b.doctype = 'ld' ORDER BY b.docno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const QString bill = QStringLiteral("landed bill ") + row.text(u"docno");
        const bool live = !row.flag(u"void");
        if (!row.text(u"glfkey").isEmpty() && row.text(u"journal").isEmpty())
            violations << bill + QStringLiteral(" names a journal entry that does not exist");
        if (!row.text(u"icfkey").isEmpty() && row.text(u"inventory").isEmpty())
            violations << bill + QStringLiteral(" names an inventory document that does not exist");
        if (const QString wrong = payable_number_kept(row); !wrong.isEmpty())
            violations << bill + wrong;
        if (live) {
            if (row.text(u"payable").isEmpty())
                violations << bill + QStringLiteral(" has no payable");
            if (row.flag(u"reversed"))
                violations << bill + QStringLiteral(" is live but its journal entry is reversed");
            if (row.flag(u"inventory_void"))
                violations << bill + QStringLiteral(" is live but its inventory document is void");
            if (row.flag(u"payable_void"))
                violations << bill + QStringLiteral(" is live but its payable is void");
            else if (!row.text(u"payable").isEmpty() && differ(row.decimal(u"gross"), row.decimal(u"total")))
                violations << bill + QStringLiteral(" totals ") + row.decimal(u"total").to_fixed(2)
                                  + QStringLiteral(" but its payable ") + row.decimal(u"gross").to_fixed(2);
            if (row.integer(u"receipts") == 0 && !row.text(u"icfkey").isEmpty())
                violations << bill + QStringLiteral(" raised stock but lists no receipt");
        } else {
            if (!row.text(u"journal").isEmpty() && !row.flag(u"reversed"))
                violations << bill + QStringLiteral(" is void but its journal entry is not reversed");
            if (!row.text(u"inventory").isEmpty() && !row.flag(u"inventory_void"))
                violations << bill + QStringLiteral(" is void but its inventory document is not");
            if (!row.text(u"payable").isEmpty() && !row.flag(u"payable_void"))
                violations << bill + QStringLiteral(" is void but its payable is not");
        }
    }
    return violations;
}

/// Per landed bill, item and warehouse of a layered item: the layer changes recorded under the
/// bill add up to the stock value of the lines of its adjustment documents (a reversed document's
/// lines and reversal lines leave what the reversal could not take back); every landed history
/// row changes value only.
[[nodiscard]] std::expected<QStringList, Error> landed_layers_match_their_lines(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT b.docno, l.itemcode, l.warehouse, SUM(l.stock_value) AS stock_value,"
        " (SELECT COALESCE(SUM(h.amount), 0) FROM FIFO_history_table h WHERE h.company = 1 AND h.docno = b.docno"
        "  AND h.Source = 'PO-LANDED' AND h.Date = b.invoice_date AND h.itemcode = l.itemcode"
        "  AND h.warehouse = l.warehouse) AS layers"
        " FROM PO_invoice_header_table b INNER JOIN IN_header_table d ON d.source_docno = b.docno"
        " AND d.Source = 'PO-LANDED' AND d.trandate = b.invoice_date"
        " INNER JOIN IN_transaction_table l ON l.fkey = d.fkey"
        " INNER JOIN Item_warehouse_table w ON w.company = 1 AND w.itemcode = l.itemcode AND w.warehouse = l.warehouse"
        " WHERE b.company = 1 AND b.doctype = 'ld' AND w.cost_method IN ('FIFO', 'LIFO')"
        " GROUP BY b.docno, b.invoice_date, l.itemcode, l.warehouse ORDER BY b.docno, l.itemcode, l.warehouse"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        if (differ(row.decimal(u"stock_value"), row.decimal(u"layers")))
            violations << QStringLiteral("landed bill %1 added %2 to %3 in %4 but its layers %5")
                              .arg(row.text(u"docno"), row.decimal(u"stock_value").to_fixed(2), row.text(u"itemcode"),
                                   row.text(u"warehouse"), row.decimal(u"layers").to_fixed(2));
    auto quantities = db.select(QStringLiteral("SELECT docno, lot_id FROM FIFO_history_table WHERE company = 1"
                                               " AND Source = 'PO-LANDED' AND quantity <> 0 ORDER BY docno, lot_id"));
    if (!quantities)
        return std::unexpected(quantities.error());
    for (const Row& row : *quantities)
        violations << QStringLiteral("landed bill %1 changed the quantity of lot %2").arg(row.text(u"docno"), row.text(u"lot_id"));
    return violations;
}

/// No layer holds quantity with a negative value, and none holds value without quantity.
[[nodiscard]] std::expected<QStringList, Error> layers_hold_sound_values(Database& db)
{
    auto rows = db.select(QStringLiteral("SELECT itemcode, warehouse, lot_id, quantity, amount FROM FIFO_table"
                                         " WHERE company = 1 AND negative_lot = FALSE"
                                         " AND ((quantity > 0 AND amount < 0) OR (quantity = 0 AND amount <> 0))"
                                         " ORDER BY itemcode, warehouse, lot_id"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        violations << QStringLiteral("layer %1 of %2 in %3 holds %4 worth %5")
                          .arg(row.text(u"lot_id"), row.text(u"itemcode"), row.text(u"warehouse"),
                               row.decimal(u"quantity").to_string(), row.decimal(u"amount").to_fixed(2));
    return violations;
}

} // namespace

std::vector<InvariantCheck> landed_invariant_checks()
{
    return {
        {QStringLiteral("landed bills keep their documents"), landed_bills_keep_their_documents},
        {QStringLiteral("landed layers match their lines"), landed_layers_match_their_lines},
        {QStringLiteral("layers hold sound values"), layers_hold_sound_values},
    };
}

} // namespace zelkor
