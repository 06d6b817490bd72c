// The checks a bill's save makes before anything is written: the header in its order, every
// line, the documents billed and the accounts the bill posts to. Master rows read for one line
// are kept for the next lines that name them.
#include "documents/bill/bill_verify.h"

#include "core/master_lookups.h"
#include "core/units.h"
#include "documents/bill/bill_totals.h"
#include "documents/common/line_checks.h"

#include <QHash>

namespace zelkor {

namespace {

std::expected<void, Error> refuse(const QString& message) { return std::unexpected(Error::invalid(message)); }

/// Values read once per save, by key.
template <typename T>
class Memo {
public:
    template <typename Read>
    [[nodiscard]] std::expected<const T*, Error> get(const QString& key, Read read)
    {
        if (auto found = m_values.constFind(key); found != m_values.constEnd())
            return &*found;
        std::expected<T, Error> value = read();
        if (!value)
            return std::unexpected(value.error());
        return &*m_values.insert(key, std::move(*value));
    }

private:
    QHash<QString, T> m_values;
};

/// The master rows and documents the line checks read.
class BillFacts {
public:
    explicit BillFacts(Database& db) : m_db(db) {}

    [[nodiscard]] std::expected<const std::optional<Row>*, Error> item(const QString& code)
    {
        return m_items.get(code, [&] { return item_row(m_db, code); });
    }
    [[nodiscard]] std::expected<const std::optional<Row>*, Error> charge(const QString& code)
    {
        return m_charges.get(code, [&] { return charge_row(m_db, code); });
    }
    [[nodiscard]] std::expected<const std::optional<Row>*, Error> account(const QString& accno)
    {
        return m_accounts.get(accno, [&] {
            return m_db.first(QStringLiteral("SELECT accno, accclass FROM Account_master_table WHERE accno = ?"), {accno});
        });
    }
    [[nodiscard]] std::expected<const std::optional<Row>*, Error> item_warehouse(const QString& code,
                                                                                  const QString& warehouse)
    {
        return m_places.get(code + QChar(0) + warehouse, [&] {
            return m_db.first(QStringLiteral("SELECT cost_method FROM Item_warehouse_table WHERE company = 1"
                                             " AND itemcode = ? AND warehouse = ?"),
                              {code, warehouse});
        });
    }
    [[nodiscard]] std::expected<const std::optional<Row>*, Error> location(const QString& warehouse, const QString& location)
    {
        return m_locations.get(warehouse + QChar(0) + location, [&] {
            return m_db.first(QStringLiteral("SELECT location FROM Warehouse_location_master_table"
                                             " WHERE warehouse = ? AND location = ?"),
                              {warehouse, location});
        });
    }
    /// Whether a rule converts the unit to the item's stock unit (a database error fails).
    [[nodiscard]] std::expected<const bool*, Error> converts(const QString& code, const QString& from, const QString& to)
    {
        return m_conversions.get(code + QChar(0) + from + QChar(0) + to, [&]() -> std::expected<bool, Error> {
            auto pair = conversion_pair(m_db, code, from, to);
            if (!pair && pair.error().kind == Error::Kind::Database)
                return std::unexpected(pair.error());
            return pair.has_value();
        });
    }
    /// A receipt's or order's header: vendor, currency and void.
    [[nodiscard]] std::expected<const std::optional<Row>*, Error> document(const QString& table, const QString& number)
    {
        return m_documents.get(table + QChar(0) + number, [&] {
            return m_db.first(QStringLiteral("SELECT vendor_no, currency, void FROM ") + table
                                  + QStringLiteral(" WHERE company = 1 AND docno = ?"),
                              {number});
        });
    }

private:
    Database& m_db;
    Memo<std::optional<Row>> m_items;
    Memo<std::optional<Row>> m_charges;
    Memo<std::optional<Row>> m_accounts;
    Memo<std::optional<Row>> m_places;
    Memo<std::optional<Row>> m_locations;
    Memo<bool> m_conversions;
    Memo<std::optional<Row>> m_documents;
};

/// The item type of a line; an empty one is a stock item.
QString effective_type(const QString& type) { return type.isEmpty() ? QStringLiteral("1") : type; }

bool bill_item_type(const QString& type)
{
    return type.size() == 1 && type.at(0) >= u'1' && type.at(0) <= u'6';
}

/// A receipt or an order billed: it exists, is the vendor's, is not void and is in the bill's
/// currency.
[[nodiscard]] std::expected<void, Error> verify_document(BillFacts& facts, const EnteredBillHeader& header,
                                                         const QString& base_currency, bool receipt,
                                                         const QString& number)
{
    const QString table = receipt ? QStringLiteral("PO_receipt_header_table") : QStringLiteral("PO_header_table");
    auto document = facts.document(table, number);
    if (!document)
        return std::unexpected(document.error());
    if (!**document)
        return refuse(QStringLiteral("Document not found."));
    const Row& row = ***document;
    const QString name = receipt ? QStringLiteral("Receipt") : QStringLiteral("PO");
    if (row.text(u"vendor_no") != header.vendor_no)
        return refuse(name + QStringLiteral(" no ") + number + QStringLiteral(" was not for ") + header.vendor_no);
    if (row.flag(u"void"))
        return refuse(name + QStringLiteral(" was void."));
    const QString currency = row.text(u"currency").isEmpty() ? base_currency : row.text(u"currency");
    const QString bill_currency = header.currency.isEmpty() ? base_currency : header.currency;
    if (currency != bill_currency)
        return refuse(name + u' ' + number + QStringLiteral(" is in ") + currency + u'.');
    return {};
}

/// The checks of a stock item's line: quantity, unit, unit price, warehouse and location.
[[nodiscard]] std::expected<void, Error> verify_stock_line(BillFacts& facts, const EnteredBillLine& line, const Row& item)
{
    const QString code = shown_value(line.itemcode);
    if (!line.quantity)
        return refuse(QStringLiteral("please specify quantity for ") + code);
    if (*line.quantity <= Decimal())
        return refuse(code + QStringLiteral(": quantity must be positive"));
    if (line.uom_received.isEmpty())
        return refuse(QStringLiteral("please specify unit of measurement for ") + code);
    const QString stock_uom = item.text(u"stock_uom");
    if (line.uom_received.compare(stock_uom, Qt::CaseInsensitive) != 0) {
        auto converts = facts.converts(line.itemcode, line.uom_received, stock_uom);
        if (!converts)
            return std::unexpected(converts.error());
        if (!**converts)
            return refuse(line.uom_received + QStringLiteral(" has no conversion factor for ") + code);
    }
    if (!line.unitcost)
        return refuse(QStringLiteral("please specify unit price for ") + code);
    if (line.unitcost->is_negative())
        return refuse(code + QStringLiteral(" unit price cannot be negative"));
    if (!line.warehouse.isEmpty()) {
        auto place = facts.item_warehouse(line.itemcode, line.warehouse);
        if (!place)
            return std::unexpected(place.error());
        if (!**place)
            return refuse(QStringLiteral("branch (") + line.warehouse + QStringLiteral(") is invalid for ") + code);
        if ((**place)->text(u"cost_method").trimmed().isEmpty())
            return refuse(QStringLiteral("branch (") + line.warehouse + QStringLiteral(") has not set cost method for ")
                          + code);
    }
    if (!line.location.isEmpty()) {
        auto location = facts.location(line.warehouse, line.location);
        if (!location)
            return std::unexpected(location.error());
        if (!**location)
            return refuse(QStringLiteral("location (") + line.location + QStringLiteral(") is invalid for ") + code);
    }
    return {};
}

[[nodiscard]] std::expected<void, Error> verify_line(BillFacts& facts, const EnteredBillLine& line)
{
    const QString code = shown_value(line.itemcode);
    const QString type = effective_type(line.itemtype);
    if (!bill_item_type(type))
        return refuse(QStringLiteral("item type is invalid."));
    std::optional<Row> item;
    if (is_master_item(type) || type == u"6") {
        auto found = type == u"6" ? facts.charge(line.itemcode) : facts.item(line.itemcode);
        if (!found)
            return std::unexpected(found.error());
        if (!**found)
            return refuse(code + QStringLiteral(" is invalid."));
        item = **found;
    }
    if (!line.extended_cost)
        return refuse(QStringLiteral("please specify amount for ") + code);
    if (line.accno.isEmpty())
        return refuse(QStringLiteral("please specify account for ") + code);
    auto account = facts.account(line.accno);
    if (!account)
        return std::unexpected(account.error());
    // Only a receipt's line moves stock: any other line charging an inventory account would
    // leave the ledger's stock value apart from the stock held.
    if (!**account || (!line.from_receipt() && (**account)->text(u"accclass") == u"Inventory"))
        return refuse(QStringLiteral("account number for ") + code + QStringLiteral(" is invalid."));
    if (type == u"1")
        if (auto checked = verify_stock_line(facts, line, *item); !checked)
            return checked;
    if (type == u"1" && line.from_order() && !line.from_receipt())
        return refuse(QStringLiteral("P/O Invoice is looking for stock item in P/O Receipt document."));
    return {};
}

/// Steps 10 and 11: the account a bill paid at once is paid from.
[[nodiscard]] std::expected<QString, Error> paying_account(Database& db, const EnteredBillHeader& header)
{
    if (header.payby == PayLater)
        return QString();
    if (header.payby == PayCash) {
        if (header.bank_code.isEmpty() && header.cash_accno.isEmpty())
            return std::unexpected(Error::invalid(QStringLiteral("please specify cash account or bank code")));
        if (!header.cash_accno.isEmpty())
            return header.cash_accno;
    } else if (header.payby == PayCheck) {
        if (header.bank_code.isEmpty())
            return std::unexpected(Error::invalid(QStringLiteral("please specify bank code")));
        if (header.check_no.isEmpty())
            return std::unexpected(Error::invalid(QStringLiteral("please specify check number")));
        if (!header.check_date.isValid())
            return std::unexpected(Error::invalid(QStringLiteral("please specify check date")));
    } else {
        auto card = db.first(QStringLiteral("SELECT payable_accno FROM Credit_card_master_table WHERE card_name = ?"),
                             {header.payby});
        if (!card)
            return std::unexpected(card.error());
        if (!*card || (*card)->text(u"payable_accno").trimmed().isEmpty())
            return std::unexpected(Error::invalid(QStringLiteral("No Account Payable account for ")
                                                  + shown_value(header.payby) + QStringLiteral(".\n")
                                                  + QStringLiteral("Check its setting in Credit card master.")));
        return (*card)->text(u"payable_accno");
    }
    auto bank = db.first(QStringLiteral("SELECT account_no FROM Bank_master_table WHERE bank_code = ?"), {header.bank_code});
    if (!bank)
        return std::unexpected(bank.error());
    if (!*bank || (*bank)->text(u"account_no").trimmed().isEmpty())
        return std::unexpected(
            Error::invalid(QStringLiteral("Bank code ") + shown_value(header.bank_code) + QStringLiteral(" is invalid.")));
    return (*bank)->text(u"account_no");
}

/// Step 12 and the amounts a payment cannot exceed.
[[nodiscard]] std::expected<void, Error> verify_prepayment(const EnteredBillHeader& header)
{
    const Decimal prepayment = header.prepayment.value_or(Decimal());
    // A prepayment number with no amount would be dropped by the save: the clerk says how much.
    if (prepayment.is_zero() && !header.prepayment_no.trimmed().isEmpty())
        return refuse(QStringLiteral("please specify Prepayment"));
    if (prepayment.is_negative())
        return refuse(QStringLiteral("Prepayment must be positive"));
    if (prepayment > Decimal() && header.payby == PayLater && header.prepayment_no.isEmpty())
        return refuse(QStringLiteral("please specify Pay-by for Prepayment"));
    const Decimal discount = header.discount_amount.value_or(Decimal());
    if (discount.is_negative() || discount > header.total)
        return refuse(QStringLiteral("Term discount is invalid."));
    if (prepayment > header.total - discount)
        return refuse(QStringLiteral("Prepayment is invalid."));
    return {};
}

/// Steps 5 to 8.
[[nodiscard]] std::expected<void, Error> verify_number_currency_term(Database& db, const EnteredBill& bill,
                                                                     const BillChecks& checks,
                                                                     const DocumentLists& lists)
{
    const EnteredBillHeader& header = bill.header;
    const bool edit = checks.saving == BillChecks::Saving::Edit;
    // An edited bill keeps its own number.
    auto duplicate = invoice_number_taken(db, header.invoice_no, edit ? header.fkey : QString());
    if (!duplicate)
        return std::unexpected(duplicate.error());
    if (*duplicate)
        return refuse(QStringLiteral("Vendor invoice no ") + shown_value(header.invoice_no) + QStringLiteral(" exist"));
    if (header.currency.isEmpty())
        return refuse(QStringLiteral("please specify currency"));
    if (auto listed = verify_codes_in_lists({{lists.currencies, header.currency, "currency is invalid."}}); !listed)
        return listed;
    const bool rate_changed = !edit || header.exchange_rate != checks.stored_rate;
    if (!header.base_currency(checks.base_currency) && rate_changed) {
        if (!header.exchange_rate)
            return refuse(QStringLiteral("please specify exchange rate"));
        if (*header.exchange_rate <= Decimal())
            return refuse(QStringLiteral("exchange rate is invalid."));
    }
    if (header.payment_term.isEmpty())
        return refuse(QStringLiteral("Please specify Payment term"));
    return verify_codes_in_lists({{lists.payment_terms, header.payment_term, "payment term is invalid."}});
}

/// Steps 16 and 17.
[[nodiscard]] std::expected<EnteredBillAccounts, Error> bill_accounts(Database& db, const QString& vendor)
{
    EnteredBillAccounts accounts;
    for (auto [parameter, target] : {std::pair{Parameter::ApSuspense, &accounts.suspense},
                                     {Parameter::PurchaseDiscount, &accounts.discount},
                                     {Parameter::PurchaseVariance, &accounts.variance}}) {
        auto account = required_parameter(db, parameter);
        if (!account)
            return std::unexpected(account.error());
        *target = *account;
    }
    auto payable = db.scalar(QStringLiteral("SELECT ap_accno FROM Vendor_table WHERE vendor_no = ?"), {vendor});
    if (!payable)
        return std::unexpected(payable.error());
    accounts.vendor_payable = Row::to_text(*payable).trimmed();
    if (accounts.vendor_payable.isEmpty() || accounts.vendor_payable == u"0")
        return std::unexpected(
            Error::invalid(QStringLiteral("Account payable for vendor ") + vendor + QStringLiteral(" has not been set")));
    return accounts;
}

} // namespace

std::expected<void, Error> verify_bill_lines(Database& db, const EnteredBill& bill, const QString& base_currency,
                                             const DocumentLists& lists)
{
    BillFacts facts(db);
    for (const EnteredBillLine& line : bill.lines) {
        // A stock line's place gets the checks of its item below.
        const bool stock = effective_type(line.itemtype) == u"1";
        if (auto checked = verify_line_values({line.itemno, line.itemcode, line.itemtype, line.quantity, line.unitcost,
                                               line.extended_cost, line.uom_received, line.accno,
                                               stock ? QString() : line.warehouse, stock ? QString() : line.location,
                                               line.tax_code},
                                              lists);
            !checked)
            return checked;
        if (auto checked = verify_line(facts, line); !checked)
            return checked;
        if (line.from_receipt())
            if (auto checked = verify_document(facts, bill.header, base_currency, true, line.receipt_no); !checked)
                return checked;
        if (line.from_order() && !line.from_receipt())
            if (auto checked = verify_document(facts, bill.header, base_currency, false, line.pono); !checked)
                return checked;
    }
    return {};
}

std::expected<EnteredBillAccounts, Error> verify_bill(Database& db, EnteredBill& bill, const BillChecks& checks,
                                               const DocumentLists& lists)
{
    EnteredBillHeader& header = bill.header;
    if (header.vendor_no.isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("please specify vendor")));
    if (auto listed = verify_codes_in_lists({{lists.vendors, header.vendor_no, "vendor is invalid."}}); !listed)
        return std::unexpected(listed.error());
    if (bill.lines.empty())
        return std::unexpected(Error::invalid(QStringLiteral("No detail line")));
    header.company = 1;
    if (header.invoice_no.isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("please specify bill number")));
    if (auto checked = verify_number_currency_term(db, bill, checks, lists); !checked)
        return std::unexpected(checked.error());
    if (header.payby.isEmpty())
        header.payby = PayLater;
    auto paying = paying_account(db, header);
    if (!paying)
        return std::unexpected(paying.error());
    total_bill(bill);
    if (auto checked = verify_prepayment(header); !checked)
        return std::unexpected(checked.error());
    if (header.period <= 0)
        return std::unexpected(Error::invalid(QStringLiteral("please specify period")));
    if (header.fyear.isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("please specify fiscal year")));
    if (auto open = check_working_period(db, header.fiscal_period()); !open)
        return std::unexpected(open.error());
    if (auto checked = verify_bill_lines(db, bill, checks.base_currency, lists); !checked)
        return std::unexpected(checked.error());
    auto accounts = bill_accounts(db, header.vendor_no);
    if (!accounts)
        return accounts;
    accounts->paying = *paying;
    return accounts;
}

Statement invoice_number_read(const QString& invoice_no, const QString& except_key)
{
    const QString others = except_key.isEmpty() ? QString() : QStringLiteral(" AND fkey <> ?");
    return {QStringLiteral("SELECT docno FROM PO_invoice_header_table WHERE company = 1 AND invoice_no = ? AND void = FALSE")
                + others + QStringLiteral(" LIMIT 1"),
            except_key.isEmpty() ? Params{invoice_no} : Params{invoice_no, except_key}};
}

bool invoice_number_found(const Rows& answer) { return !answer.empty(); }

std::expected<bool, Error> invoice_number_taken(Database& db, const QString& invoice_no, const QString& except_key)
{
    auto found = db.select_together({invoice_number_read(invoice_no, except_key)});
    if (!found)
        return std::unexpected(found.error());
    return invoice_number_found(found->front());
}

} // namespace zelkor
