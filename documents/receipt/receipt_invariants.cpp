#include "documents/receipt/receipt_invariants.h"

#include "core/master_lookups.h"

namespace zelkor {
namespace {

QString money(const Decimal& value) { return value.round2().to_fixed(2); }

[[nodiscard]] std::expected<QStringList, Error> receipts_keep_their_documents(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT h.docno, h.void, h.GLFKEY AS journal_key, h.icfkey AS inventory_key, g.fkey AS journal,"
        " g.Reverse AS reversed, g.Source AS journal_source, g.source_docno AS journal_docno, i.fkey AS inventory,"
        " i.void AS inventory_void, i.Source AS inventory_source, i.source_docno AS inventory_docno,"
        " (SELECT COUNT(*) FROM PO_receipt_transaction_table l WHERE l.fkey = h.fkey AND l.landed_item = FALSE"
        " AND l.itemtype IN ('1', '2') AND l.quantity_received <> 0) AS stock_lines"
        " FROM (PO_receipt_header_table h LEFT JOIN GL_header_table g ON g.fkey = h.GLFKEY)"
        " LEFT JOIN IN_header_table i ON i.fkey = h.icfkey ORDER BY h.docno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const QString receipt = QStringLiteral("receipt ") + row.text(u"docno");
        const bool voided = row.flag(u"void");
        if (!row.text(u"journal_key").isEmpty()) {
            if (row.text(u"journal").isEmpty())
                violations << receipt + QStringLiteral(" names journal entry ") + row.text(u"journal_key")
                        + QStringLiteral(", which does not exist");
            else if (row.text(u"journal_source") != u"PO-RECEIPT" || row.text(u"journal_docno") != row.text(u"docno"))
                violations << receipt + QStringLiteral(" names journal entry ") + row.text(u"journal_key")
                        + QStringLiteral(" of another document");
            else if (row.flag(u"reversed") != voided)
                violations << receipt + (voided ? QStringLiteral(" is void but its journal entry is not reversed")
                                                : QStringLiteral(" is live but its journal entry is reversed"));
        }
        if (row.text(u"inventory_key").isEmpty()) {
            if (!voided && row.integer(u"stock_lines") > 0)
                violations << receipt + QStringLiteral(" received stock without an inventory document");
        } else if (row.text(u"inventory").isEmpty()) {
            violations << receipt + QStringLiteral(" names inventory document ") + row.text(u"inventory_key")
                    + QStringLiteral(", which does not exist");
        } else if (row.text(u"inventory_source") != u"PO-RECEIPT" || row.text(u"inventory_docno") != row.text(u"docno")) {
            violations << receipt + QStringLiteral(" names inventory document ") + row.text(u"inventory_key")
                    + QStringLiteral(" of another document");
        } else if (row.flag(u"inventory_void") != voided) {
            violations << receipt + (voided ? QStringLiteral(" is void but its inventory document is not")
                                            : QStringLiteral(" is live but its inventory document is void"));
        }
    }
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> unbilled_lines_are_open_for_bill(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT docno, itemno, quantity_received, quantity_open_for_bill FROM PO_receipt_transaction_table"
        " WHERE landed_item = FALSE AND billed = FALSE AND quantity_billed = 0"
        " AND ABS(quantity_open_for_bill - quantity_received) >= 0.000001 ORDER BY docno, itemno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        violations << QStringLiteral("receipt ") + row.text(u"docno") + QStringLiteral(" line ") + row.text(u"itemno")
                + QStringLiteral(" received ") + row.decimal(u"quantity_received").to_string()
                + QStringLiteral(" but has ") + row.decimal(u"quantity_open_for_bill").to_string()
                + QStringLiteral(" open for bill");
    return violations;
}

/// The base value a goods line (or a landed charge on the receipt's own bill) posted to AP suspense: its line cost and each authority's
/// recoverable and expensed tax, each converted and rounded on its own.
Decimal posted_value(const Row& line)
{
    const auto rate = line.decimal_or_null(u"exchange_rate");
    auto base = [&](const Decimal& amount) { return rate ? (amount * *rate).round2() : amount.round2(); };
    const Decimal extended = line.decimal(u"extended_cost");
    const Decimal cost = (line.flag(u"price_include_tax") ? extended - line.decimal(u"tax_amount") : extended)
        + line.decimal(u"tax_allocate");
    Decimal value = base(cost);
    for (int slot = 1; slot <= 5; ++slot) {
        value += base(line.decimal(QStringLiteral("tax_recoverable%1").arg(slot)));
        value += base(line.decimal(QStringLiteral("tax_expensed%1").arg(slot)));
    }
    return value;
}

[[nodiscard]] std::expected<QStringList, Error> suspense_holds_the_goods_received(Database& db)
{
    auto suspense = module_parameter(db, Parameter::ApSuspense);
    if (!suspense)
        return std::unexpected(suspense.error());
    if (!*suspense)
        return QStringList();
    auto ledger = db.scalar(QStringLiteral("SELECT SUM(base_amount) FROM GL_transaction_table WHERE accno = ?"
                                           " AND Source = 'PO-RECEIPT'"),
                            {**suspense});
    if (!ledger)
        return std::unexpected(ledger.error());
    auto lines = db.select(QStringLiteral(
        "SELECT h.exchange_rate, l.extended_cost, l.tax_amount, l.tax_allocate, l.price_include_tax,"
        " l.tax_recoverable1, l.tax_recoverable2, l.tax_recoverable3, l.tax_recoverable4, l.tax_recoverable5,"
        " l.tax_expensed1, l.tax_expensed2, l.tax_expensed3, l.tax_expensed4, l.tax_expensed5"
        " FROM PO_receipt_transaction_table l INNER JOIN PO_receipt_header_table h ON h.fkey = l.fkey"
        " WHERE h.void = FALSE AND (l.landed_item = FALSE OR COALESCE(l.ap_fkey, '') = '')"));
    if (!lines)
        return std::unexpected(lines.error());
    Decimal received;
    for (const Row& line : *lines)
        received += posted_value(line);
    const Decimal posted = Row::to_decimal(*ledger);
    if ((posted - received).abs() >= Decimal("0.005"))
        return QStringList{QStringLiteral("account ") + **suspense + QStringLiteral(" holds ") + money(posted)
                           + QStringLiteral(" from receipts, their goods lines are worth ") + money(received)};
    return QStringList();
}

/// The stock an inventory account values, per item and warehouse: "WIDGET-A MAIN 612.00, ...".
[[nodiscard]] std::expected<QString, Error> stock_it_values(Database& db, const QString& account)
{
    constexpr int Named = 10;
    auto rows = db.select(QStringLiteral("SELECT o.itemcode, o.warehouse, SUM(o.Value) AS value FROM Item_onhand_table o"
                                         " INNER JOIN Item_master_table i ON i.itemcode = o.itemcode"
                                         " WHERE o.company = 1 AND i.item_type = '1' AND i.asset_accno = ?"
                                         " GROUP BY o.itemcode, o.warehouse ORDER BY o.itemcode, o.warehouse"),
                          {account});
    if (!rows)
        return std::unexpected(rows.error());
    QStringList items;
    for (const Row& row : *rows) {
        if (items.size() == Named) {
            items << QStringLiteral("...");
            break;
        }
        items << row.text(u"itemcode") + u' ' + row.text(u"warehouse") + u' ' + row.decimal(u"value").format();
    }
    return items.isEmpty() ? QStringLiteral("no stock") : items.join(QStringLiteral(", "));
}

[[nodiscard]] std::expected<QStringList, Error> stock_accounts_hold_their_stock(Database& db)
{
    // Accounts that stock items use as their asset account and nothing else names: no other item,
    // charge, tax authority, default parameter, vendor or bank.
    auto rows = db.select(QStringLiteral(
        "SELECT a.accno, (SELECT b.base_amount FROM Balance_table b WHERE b.company = 1 AND b.ledgertype = 'A'"
        " AND b.accno = a.accno AND b.currency = (SELECT c.base_currency FROM COA_config_table c WHERE c.company = 1))"
        " AS balance,"
        " (SELECT SUM(o.Value) FROM Item_onhand_table o INNER JOIN Item_master_table i ON i.itemcode = o.itemcode"
        " WHERE o.company = 1 AND i.item_type = '1' AND i.asset_accno = a.accno) AS stock"
        " FROM (SELECT DISTINCT asset_accno AS accno FROM Item_master_table WHERE item_type = '1') a"
        " WHERE a.accno NOT IN (SELECT asset_accno FROM Item_master_table WHERE item_type <> '1' AND asset_accno IS NOT NULL)"
        " AND a.accno NOT IN (SELECT account FROM Vendor_miscellaneous_charge_table WHERE account IS NOT NULL)"
        " AND a.accno NOT IN (SELECT acc_recoverable FROM Tax_authority_table WHERE acc_recoverable IS NOT NULL)"
        " AND a.accno NOT IN (SELECT acc_expense FROM Tax_authority_table WHERE acc_expense IS NOT NULL)"
        " AND a.accno NOT IN (SELECT accno FROM Account_Parameters_table WHERE accno IS NOT NULL)"
        " AND a.accno NOT IN (SELECT ap_accno FROM Vendor_table WHERE ap_accno IS NOT NULL)"
        " AND a.accno NOT IN (SELECT account_no FROM Bank_master_table WHERE account_no IS NOT NULL)"
        " ORDER BY a.accno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const Decimal balance = row.decimal(u"balance");
        const Decimal stock = row.decimal(u"stock");
        if ((balance - stock).abs() < Decimal("0.005"))
            continue;
        auto items = stock_it_values(db, row.text(u"accno"));
        if (!items)
            return std::unexpected(items.error());
        violations << QStringLiteral("Inventory account ") + row.text(u"accno") + QStringLiteral(" is ")
                + (balance - stock).abs().format() + (balance > stock ? QStringLiteral(" above") : QStringLiteral(" below"))
                + QStringLiteral(" the value of stock on hand (") + balance.format() + QStringLiteral(" against ")
                + stock.format() + QStringLiteral("): ") + *items;
    }
    return violations;
}

} // namespace

std::vector<InvariantCheck> receipt_invariant_checks()
{
    return {
        {QStringLiteral("receipts keep their journal entries and inventory documents"), receipts_keep_their_documents},
        {QStringLiteral("unbilled receipt lines are open for bill"), unbilled_lines_are_open_for_bill},
        {QStringLiteral("AP suspense holds the goods received"), suspense_holds_the_goods_received},
        {QStringLiteral("stock accounts hold their items' value"), stock_accounts_hold_their_stock},
    };
}

} // namespace zelkor
