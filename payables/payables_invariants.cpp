// The rules payables, prepayments and owing balances keep. Each reads the whole company: tests
// end their scenarios with them, the script's `check` runs them.
#include "payables/payables_invariants.h"

#include "core/master_lookups.h"
#include "payables/payables.h"

#include <map>
#include <tuple>

namespace zelkor {
namespace {

QString money(const Decimal& value) { return value.round2().to_fixed(2); }

bool differ(const Decimal& a, const Decimal& b) { return (a - b).abs() >= Decimal("0.005"); }

/// Per payable: its lines add up to its bill, its discount and what was paid at once.
[[nodiscard]] std::expected<QStringList, Error> payables_match_their_bills(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT h.fkey, h.docno, h.Source AS source,"
        " (SELECT SUM(l.gross_amount) FROM AP_transaction_table l WHERE l.fkey = h.fkey) AS gross,"
        " (SELECT SUM(l.discount) FROM AP_transaction_table l WHERE l.fkey = h.fkey) AS discount,"
        " (SELECT SUM(l.paid_amount) FROM AP_transaction_table l WHERE l.fkey = h.fkey) AS paid,"
        " (SELECT COUNT(*) FROM AP_transaction_table l WHERE l.fkey = h.fkey"
        "  AND ABS(l.open_amount - (l.gross_amount - l.discount + l.paid_amount)) >= 0.005) AS unbalanced_lines,"
        " b.docno AS bill, b.total AS bill_total, b.discount_amount AS bill_discount, b.prepayment AS bill_prepayment,"
        " b.payby AS bill_payby,"
        " (SELECT SUM(r.net_cost) FROM PO_receipt_transaction_table r WHERE r.ap_fkey = h.fkey AND r.landed_item = TRUE)"
        "  AS landed_total"
        " FROM AP_header_table h LEFT JOIN PO_invoice_header_table b ON b.apfkey = h.fkey AND b.void = FALSE"
        " WHERE h.void = FALSE AND h.doctype = 'ip' ORDER BY h.docno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const QString payable = QStringLiteral("payable ") + row.text(u"docno");
        if (row.integer(u"unbalanced_lines") > 0)
            violations << payable + QStringLiteral(" has lines whose open amount is not gross less discount plus paid");
        Decimal total, discount, paid;
        if (row.text(u"source") == u"PO-RECEIPT") {
            total = row.decimal(u"landed_total");
        } else if (row.text(u"bill").isEmpty()) {
            violations << payable + QStringLiteral(" has no live bill");
            continue;
        } else {
            total = row.decimal(u"bill_total");
            discount = row.decimal(u"bill_discount");
            const Decimal prepayment = row.decimal(u"bill_prepayment");
            paid = prepayment > Decimal() ? prepayment : pays_at_once(row.text(u"bill_payby")) ? total - discount : Decimal();
        }
        if (differ(row.decimal(u"gross"), total))
            violations << payable + QStringLiteral(" owes ") + money(row.decimal(u"gross")) + QStringLiteral(", its bill ")
                    + money(total);
        if (differ(row.decimal(u"discount"), discount))
            violations << payable + QStringLiteral(" takes a discount of ") + money(row.decimal(u"discount"))
                    + QStringLiteral(", its bill ") + money(discount);
        if (differ(-row.decimal(u"paid"), paid))
            violations << payable + QStringLiteral(" was paid ") + money(-row.decimal(u"paid"))
                    + QStringLiteral(" at once, its bill paid ") + money(paid);
    }
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> owing_balances_are_open_payables(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT v.vendor_no, v.owing_balance, (SELECT SUM(l.open_amount) FROM AP_transaction_table l"
        " WHERE l.vendor_no = v.vendor_no AND l.void = FALSE AND l.doctype = 'ip') AS open_amount"
        " FROM Vendor_table v ORDER BY v.vendor_no"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        if (differ(row.decimal(u"owing_balance"), row.decimal(u"open_amount")))
            violations << QStringLiteral("vendor ") + row.text(u"vendor_no") + QStringLiteral(" owes ")
                    + money(row.decimal(u"owing_balance")) + QStringLiteral(", its open payables hold ")
                    + money(row.decimal(u"open_amount"));
    return violations;
}

using AccountKey = std::tuple<QString, QString, QString>; // account, vendor, currency

[[nodiscard]] std::expected<QStringList, Error> payable_accounts_hold_the_open_payables(Database& db)
{
    auto base = db.scalar(QStringLiteral("SELECT base_currency FROM COA_config_table WHERE company = 1"));
    if (!base)
        return std::unexpected(base.error());
    std::map<AccountKey, std::pair<Decimal, Decimal>> figures; // journal, open
    auto ledger = db.select(QStringLiteral(
        "SELECT g.accno, g.vendor_no, g.currency, SUM(g.amount) AS amount FROM GL_transaction_table g"
        " WHERE g.accno IN (SELECT ap_accno FROM Vendor_table WHERE ap_accno IS NOT NULL)"
        " GROUP BY g.accno, g.vendor_no, g.currency"));
    if (!ledger)
        return std::unexpected(ledger.error());
    for (const Row& row : *ledger)
        figures[{row.text(u"accno"), row.text(u"vendor_no"), row.text(u"currency")}].first += row.decimal(u"amount");
    auto open = db.select(QStringLiteral(
        "SELECT ap_accno, vendor_no, currency, SUM(open_amount) AS open_amount FROM AP_transaction_table"
        " WHERE void = FALSE AND doctype = 'ip' GROUP BY ap_accno, vendor_no, currency"));
    if (!open)
        return std::unexpected(open.error());
    for (const Row& row : *open) {
        QString currency = row.text(u"currency");
        if (currency.isEmpty())
            currency = Row::to_text(*base);
        figures[{row.text(u"ap_accno"), row.text(u"vendor_no"), currency}].second += row.decimal(u"open_amount");
    }
    QStringList violations;
    for (const auto& [key, sums] : figures) {
        const auto& [account, vendor, currency] = key;
        if (differ(sums.first, sums.second))
            violations << QStringLiteral("account ") + account + QStringLiteral(" holds ") + money(sums.first) + u' '
                    + currency + QStringLiteral(" for vendor ") + vendor + QStringLiteral(", its open payables ")
                    + money(sums.second);
    }
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> prepayments_are_applied_once(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT p.docno, p.billed, (SELECT COUNT(*) FROM Payment_transaction_table t WHERE t.fkey = p.fkey) AS applications,"
        " (SELECT COUNT(*) FROM Payment_transaction_table t INNER JOIN AP_header_table a ON a.docno = t.ap_docno"
        "  AND a.doctype = 'ip' AND a.void = FALSE WHERE t.fkey = p.fkey) AS live_applications,"
        " (SELECT COUNT(*) FROM Prepayment_waiting_PO_table w WHERE w.prepayment_fkey = p.fkey) AS waiting"
        " FROM Payment_header_table p WHERE p.void = FALSE ORDER BY p.docno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const QString prepayment = QStringLiteral("prepayment ") + row.text(u"docno");
        if (row.flag(u"billed")) {
            if (row.integer(u"applications") != 1 || row.integer(u"live_applications") != 1)
                violations << prepayment + QStringLiteral(" is used but applied ") + row.text(u"applications")
                        + QStringLiteral(" times, to ") + row.text(u"live_applications") + QStringLiteral(" live payables");
            if (row.integer(u"waiting") > 0)
                violations << prepayment + QStringLiteral(" is used but still waits for its order");
        } else if (row.integer(u"applications") > 0) {
            violations << prepayment + QStringLiteral(" is not used but applied");
        }
    }
    return violations;
}

} // namespace

std::vector<InvariantCheck> payable_invariant_checks()
{
    return {
        {QStringLiteral("payables match their bills"), payables_match_their_bills},
        {QStringLiteral("owing balances are the open payables"), owing_balances_are_open_payables},
        {QStringLiteral("payable accounts hold the open payables"), payable_accounts_hold_the_open_payables},
        {QStringLiteral("prepayments are applied once"), prepayments_are_applied_once},
    };
}

} // namespace zelkor
