// The checks a receipt's save makes before anything is written: the header, the accounts, every
// line, the order lines' places and the questions about their open quantities, and the warehouse
// capacities. Master rows read for one line are kept for the next lines of the same item.
#include "documents/receipt/receipt_verify.h"

#include "core/db/value_limits.h"
#include "core/master_lookups.h"
#include "core/units.h"
#include "documents/common/line_checks.h"
#include "payables/payables.h"
#include "stock/stock_units.h"

#include <QHash>

#include <algorithm>

#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace zelkor {

namespace {

std::expected<void, Error> refuse(const QString& message) { return std::unexpected(Error::invalid(message)); }


/// An empty type, like "0", is a line of the item master.
QString effective_type(const QString& type) { return type.isEmpty() || type == u"0" ? QStringLiteral("1") : type; }

/// Master rows the line checks read, each once per save.
class LineFacts {
public:
    explicit LineFacts(Database& db) : m_db(db) {}

    [[nodiscard]] std::expected<const std::optional<Row>*, Error> item(const QString& code)
    {
        if (auto found = m_items.constFind(code); found != m_items.constEnd())
            return &*found;
        auto row = item_row(m_db, code);
        if (!row)
            return std::unexpected(row.error());
        return &*m_items.insert(code, *row);
    }
    [[nodiscard]] std::expected<bool, Error> charge_exists(const QString& code)
    {
        if (auto found = m_charges.constFind(code); found != m_charges.constEnd())
            return *found;
        auto row = charge_row(m_db, code);
        if (!row)
            return std::unexpected(row.error());
        return *m_charges.insert(code, row->has_value());
    }
    [[nodiscard]] std::expected<bool, Error> account_exists(const QString& accno)
    {
        if (auto found = m_accounts.constFind(accno); found != m_accounts.constEnd())
            return *found;
        auto row = m_db.first(QStringLiteral("SELECT accno FROM Account_master_table WHERE accno = ?"), {accno});
        if (!row)
            return std::unexpected(row.error());
        return *m_accounts.insert(accno, row->has_value());
    }
    [[nodiscard]] std::expected<bool, Error> set_up_in(const QString& code, const QString& warehouse)
    {
        const QString key = code + QChar(0) + warehouse;
        if (auto found = m_places.constFind(key); found != m_places.constEnd())
            return *found;
        auto row = m_db.first(QStringLiteral("SELECT itemcode FROM Item_warehouse_table WHERE company = 1"
                                             " AND itemcode = ? AND warehouse = ?"),
                              {code, warehouse});
        if (!row)
            return std::unexpected(row.error());
        return *m_places.insert(key, row->has_value());
    }
    /// The pair from `from` to `to`; nothing when no rule links them (a database error fails).
    [[nodiscard]] std::expected<std::optional<ConversionPair>, Error> conversion(const QString& code, const QString& from,
                                                                               const QString& to)
    {
        const QString key = code + QChar(0) + from + QChar(0) + to;
        if (auto found = m_pairs.constFind(key); found != m_pairs.constEnd())
            return *found;
        auto pair = conversion_pair(m_db, code, from, to);
        if (!pair && pair.error().kind == Error::Kind::Database)
            return std::unexpected(pair.error());
        return *m_pairs.insert(key, pair ? std::optional(*pair) : std::nullopt);
    }

private:
    Database& m_db;
    QHash<QString, std::optional<Row>> m_items;
    QHash<QString, bool> m_charges;
    QHash<QString, bool> m_accounts;
    QHash<QString, bool> m_places;
    QHash<QString, std::optional<ConversionPair>> m_pairs;
};

[[nodiscard]] std::expected<void, Error> verify_quantity_places(const ReceiptLine& line, const Row& item)
{
    const QString& code = line.itemcode;
    const int decimals = int(item.integer(u"quantity_decimals"));
    for (const Decimal& quantity : {line.received(), line.cancelled()}) {
        if (decimals == 0 && quantity.round(0) != quantity)
            return refuse(code + QStringLiteral(" : not allow fractional quantity."));
        if (quantity.round(decimals) != quantity)
            return refuse(code + QStringLiteral(" : quantity decimal place is ") + QString::number(decimals));
    }
    return {};
}

/// The checks of a line of the item master: quantity decimals, unit and its conversion to the
/// stock unit, unit cost and its decimals.
[[nodiscard]] std::expected<void, Error> verify_master_line(LineFacts& facts, const ReceiptLine& line, const Row& item)
{
    const QString& code = line.itemcode;
    if (auto places = verify_quantity_places(line, item); !places)
        return places;
    if (line.uom.isEmpty())
        return refuse(QStringLiteral("please specify unit of measurement for ") + code);
    if (line.uom != item.text(u"stock_uom")) {
        auto pair = facts.conversion(code, line.uom, item.text(u"stock_uom"));
        if (!pair)
            return std::unexpected(pair.error());
        if (!*pair)
            return refuse(code + QStringLiteral(" has no conversion factor for ") + line.uom);
    }
    return verify_item_unit_cost(code, line.unitcost, item);
}

/// Where a stock line is received: a warehouse the item is set up in, and a location.
[[nodiscard]] std::expected<void, Error> verify_stock_place(LineFacts& facts, const ReceiptLine& line)
{
    const QString& code = line.itemcode;
    if (line.warehouse.isEmpty())
        return refuse(QStringLiteral("please specify warehouse location for item ") + code);
    auto set_up = facts.set_up_in(code, line.warehouse);
    if (!set_up)
        return std::unexpected(set_up.error());
    if (!*set_up)
        return refuse(QStringLiteral("warehouse ") + line.warehouse + QStringLiteral(" is invalid."));
    if (line.location.isEmpty())
        return refuse(QStringLiteral("please specify warehouse location for ") + code);
    return {};
}

/// The received and cancelled quantities in the order line's unit: a unit other than the order's
/// needs a rule between the two (fractions of it kept to six decimals, the quantity columns' scale).
[[nodiscard]] std::expected<void, Error> convert_for_order(LineFacts& facts, ReceiptLine& line)
{
    if (!line.against_order() || line.uom.isEmpty() || line.po_uom.isEmpty() || line.uom == line.po_uom) {
        line.order_received = line.received();
        line.order_cancel = line.cancelled();
        return {};
    }
    auto pair = facts.conversion(line.itemcode, line.uom, line.po_uom);
    if (!pair)
        return std::unexpected(pair.error());
    if (!*pair)
        return refuse(line.itemcode + QStringLiteral(" has no conversion factor for ") + line.po_uom);
    line.order_received = (line.received() * (*pair)->to_quantity / (*pair)->from_quantity).round(6);
    line.order_cancel = (line.cancelled() * (*pair)->to_quantity / (*pair)->from_quantity).round(6);
    return {};
}

[[nodiscard]] std::expected<void, Error> verify_line(LineFacts& facts, ReceiptLine& line)
{
    const QString& code = line.itemcode;
    const QString type = effective_type(line.itemtype);
    if (!is_item_type(type))
        return refuse(QStringLiteral("item type is invalid."));
    // Items of the master are looked up there, charges in the charge list; assets, supplies and
    // services carry only their account.
    std::optional<Row> item;
    if (is_master_item(type)) {
        auto found = facts.item(code);
        if (!found)
            return std::unexpected(found.error());
        if (!**found)
            return refuse(code + QStringLiteral(" is invalid."));
        item = **found;
    } else if (type == u"6") {
        auto found = facts.charge_exists(code);
        if (!found)
            return std::unexpected(found.error());
        if (!*found)
            return refuse(code + QStringLiteral(" is invalid."));
    }
    if (line.received().is_negative())
        return refuse(code + QStringLiteral(": quantity received is invalid."));
    // A stock line with a cost but nothing received would post value that stock never holds.
    if (type == u"1" && line.received().is_zero() && !line.extended_cost.value_or(Decimal()).is_zero())
        return refuse(code + QStringLiteral(": quantity received is invalid."));
    if (!line.extended_cost)
        return refuse(QStringLiteral("please specify extended cost for ") + code);
    if (line.accno.isEmpty())
        return refuse(QStringLiteral("please specify account for item ") + code);
    auto account = facts.account_exists(line.accno);
    if (!account)
        return std::unexpected(account.error());
    if (!*account)
        return refuse(QStringLiteral("account number for ") + code + QStringLiteral(" is invalid."));
    if (line.cancelled().is_negative())
        return refuse(code + QStringLiteral(": quantity canceled is invalid."));
    if (item)
        if (auto checked = verify_master_line(facts, line, *item); !checked)
            return checked;
    if (type == u"1")
        if (auto placed = verify_stock_place(facts, line); !placed)
            return placed;
    return convert_for_order(facts, line);
}

OrderLineKey key_of(const ReceiptLine& line) { return {line.po_key, *line.po_itemno}; }

[[nodiscard]] std::expected<void, Error> resolve_orders(Database& db, std::vector<ReceiptLine>& lines)
{
    QSet<QString> numbers;
    for (const ReceiptLine& line : lines)
        if (!line.pono.isEmpty())
            numbers.insert(line.pono);
    auto keys = order_keys_of(db, numbers);
    if (!keys)
        return std::unexpected(keys.error());
    for (ReceiptLine& line : lines)
        line.po_key = keys->value(line.pono);
    return {};
}

/// Step 1: a bill number no live bill of the company has.
[[nodiscard]] std::expected<void, Error> verify_bill_number(Database& db, const QString& number)
{
    auto used = bill_number_used(db, number);
    if (!used)
        return std::unexpected(used.error());
    if (*used)
        return refuse(QStringLiteral("Bill no ") + number + QStringLiteral(" exist"));
    return {};
}

/// Step 2: the pay-by and the account it pays from.
[[nodiscard]] std::expected<void, Error> verify_payby(Database& db, ReceiptHeader& header)
{
    PaymentSource source{header.payby, header.cash_accno, header.bank_code, header.check_no, header.check_date};
    auto paying = verify_payment_source(db, source);
    if (!paying)
        return std::unexpected(paying.error());
    header.payby = source.payby;
    header.paying_account = *paying;
    return {};
}

/// Step 3: the prepayment.
[[nodiscard]] std::expected<void, Error> verify_prepayment(const ReceiptHeader& header)
{
    const QString typed = header.prepayment.trimmed();
    // A prepayment number with no amount would be dropped by the save: the clerk says how much.
    const bool no_amount = typed.isEmpty() || Decimal::parse(typed).value_or(Decimal()).is_zero();
    if (no_amount && !header.prepayment_no.trimmed().isEmpty())
        return refuse(QStringLiteral("please specify Prepayment"));
    if (typed.isEmpty())
        return {};
    const auto amount = Decimal::parse(typed);
    if (!amount || column_problem(*amount, NumberColumn::Money))
        return refuse(QStringLiteral("Prepayment is invalid."));
    if (amount->is_negative())
        return refuse(QStringLiteral("Prepayment must be positive"));
    if (!(*amount > Decimal()))
        return {};
    if (header.payby == PayLater && header.prepayment_no.trimmed().isEmpty())
        return refuse(QStringLiteral("please specify Pay-by for Prepayment"));
    if (!header.with_bill())
        return refuse(QStringLiteral("please specify invoice no for prepayment."));
    return {};
}

/// Step 6: a bill needs its date and term; landed charges need a bill.
[[nodiscard]] std::expected<void, Error> verify_bill_details(const Receipt& receipt)
{
    const ReceiptHeader& header = receipt.header;
    if (header.with_bill()) {
        if (!header.vendor_invoice_date.isValid())
            return refuse(QStringLiteral("please specify Bill date"));
        if (header.payment_term.isEmpty())
            return refuse(QStringLiteral("Please specify Payment term"));
        return {};
    }
    if (!receipt.landed.empty()) {
        const LandedLine& first = receipt.landed.front();
        if (!first.itemcode.isEmpty() && first.extended_cost.value_or(Decimal()) > Decimal())
            return refuse(QStringLiteral("Please specify bill number (at header) for this receipt.") + QChar(10)
                          + QStringLiteral("If there is no bill for receiving items, landed cost bill must be entered by"
                                           " Landed Cost Entry."));
    }
    return {};
}

} // namespace

std::expected<QString, Error> verify_payment_source(Database& db, PaymentSource& source)
{
    auto refused = [](const QString& message) -> std::expected<QString, Error> {
        return std::unexpected(Error::invalid(message));
    };
    if (source.payby.trimmed().isEmpty())
        source.payby = PayLater;
    if (source.payby == PayLater)
        return QString();
    if (source.payby == PayByCash && source.cash_accno.isEmpty() && source.bank_code.isEmpty())
        return refused(QStringLiteral("please specify cash account or bank code"));
    if (source.payby == PayByCheck) {
        if (source.bank_code.isEmpty())
            return refused(QStringLiteral("please specify bank code"));
        if (source.check_no.trimmed().isEmpty())
            return refused(QStringLiteral("please specify check number"));
        if (!source.check_date.isValid())
            return refused(QStringLiteral("please specify check date"));
    }
    if (source.payby == PayByCash || source.payby == PayByCheck) {
        if (source.payby == PayByCash && !source.cash_accno.isEmpty())
            return source.cash_accno;
        auto bank = db.first(QStringLiteral("SELECT account_no FROM Bank_master_table WHERE bank_code = ?"), {source.bank_code});
        if (!bank)
            return std::unexpected(bank.error());
        if (!*bank)
            return refused(QStringLiteral("Bank code ") + shown_value(source.bank_code) + QStringLiteral(" is invalid."));
        return (*bank)->text(u"account_no").trimmed();
    }
    auto card = db.first(QStringLiteral("SELECT payable_accno FROM Credit_card_master_table WHERE card_name = ?"),
                         {source.payby});
    if (!card)
        return std::unexpected(card.error());
    if (!*card || (*card)->text(u"payable_accno").trimmed().isEmpty())
        return refused(QStringLiteral("No Account Payable account for ") + shown_value(source.payby) + u'.' + QChar(10)
                       + QStringLiteral("Check its setting in Credit card master."));
    return (*card)->text(u"payable_accno").trimmed();
}

std::expected<void, Error> verify_receipt_header(Database& db, Receipt& receipt, const ReceiptHeaderChecks& checks,
                                                 const DocumentLists& lists)
{
    ReceiptHeader& header = receipt.header;
    if (header.vendor_no.isEmpty())
        return refuse(QStringLiteral("Please specify vendor"));
    const bool detail = std::any_of(receipt.lines.begin(), receipt.lines.end(),
                                    [](const ReceiptLine& line) { return !line.itemcode.isEmpty(); });
    if (!detail)
        return refuse(QStringLiteral("No detail line"));
    if (checks.new_receipt && header.shipto.isEmpty())
        return refuse(QStringLiteral("please specify ship-to"));
    if (header.with_bill())
        if (auto unused = verify_bill_number(db, header.vendor_invoice_no); !unused)
            return unused;
    if (auto paying = verify_payby(db, header); !paying)
        return paying;
    if (auto prepaid = verify_prepayment(header); !prepaid)
        return prepaid;
    if (header.period <= 0)
        return refuse(QStringLiteral("please specify period"));
    if (header.fyear.isEmpty())
        return refuse(QStringLiteral("please specify fiscal year"));
    if (auto open = check_working_period(db, header.fiscal_period()); !open)
        return open;
    if (header.currency.isEmpty())
        return refuse(QStringLiteral("please specify currency"));
    if (header.currency != checks.base_currency && (!header.exchange_rate || *header.exchange_rate <= Decimal()))
        return refuse(QStringLiteral("exchange rate is invalid."));
    if (auto billed = verify_bill_details(receipt); !billed)
        return billed;
    if (auto listed = verify_codes_in_lists({{lists.vendors, header.vendor_no, "vendor is invalid."},
                                             {lists.currencies, header.currency, "currency is invalid."},
                                             {lists.payment_terms, header.payment_term, "payment term is invalid."},
                                             {lists.warehouses, header.shipto, "Ship-to is invalid."},
                                             {lists.shipvias, header.shipvia, "ship via is invalid."}});
        !listed)
        return listed;
    if (header.vendor_address.trimmed().isEmpty()) {
        auto vendor = db.scalar(QStringLiteral("SELECT Address FROM Vendor_table WHERE vendor_no = ?"), {header.vendor_no});
        if (!vendor)
            return std::unexpected(vendor.error());
        header.vendor_address = Row::to_text(*vendor);
    }
    return {};
}

std::expected<ReceiptAccounts, Error> receipt_accounts(Database& db)
{
    ReceiptAccounts accounts;
    auto suspense = required_parameter(db, Parameter::ApSuspense);
    if (!suspense)
        return std::unexpected(suspense.error());
    // The receipt's own entry does not use the discount account; the bill entered with it does.
    auto discount = required_parameter(db, Parameter::PurchaseDiscount);
    if (!discount)
        return std::unexpected(discount.error());
    accounts.discount = *discount;
    auto variance = required_parameter(db, Parameter::PurchaseVariance);
    if (!variance)
        return std::unexpected(variance.error());
    accounts.suspense = *suspense;
    accounts.variance = *variance;
    return accounts;
}

std::expected<void, Error> verify_receipt_lines(Database& db, std::vector<ReceiptLine>& lines, const DocumentLists& lists)
{
    for (const ReceiptLine& line : lines) {
        if (auto checked = verify_line_values({line.itemno, line.itemcode, line.itemtype, line.quantity_received,
                                               line.unitcost, line.extended_cost, line.uom, line.accno, line.warehouse,
                                               line.location, line.tax_code},
                                              lists);
            !checked)
            return checked;
        if (line.quantity_cancel)
            if (const auto problem = column_problem(*line.quantity_cancel, NumberColumn::Quantity))
                return refuse(shown_value(line.itemcode) + QStringLiteral(": quantity canceled ") + *problem);
    }
    if (auto resolved = resolve_orders(db, lines); !resolved)
        return resolved;
    for (const ReceiptLine& line : lines)
        if (!line.pono.isEmpty() && !line.against_order())
            return refuse(QStringLiteral("PO ") + line.pono + QStringLiteral(" not found."));
    LineFacts facts(db);
    bool anything = false;
    for (ReceiptLine& line : lines) {
        if (line.itemcode.isEmpty())
            continue;
        if (auto checked = verify_line(facts, line); !checked)
            return checked;
        anything = anything || !line.received().is_zero() || !line.cancelled().is_zero();
    }
    if (!anything)
        return refuse(QStringLiteral("please specify quantity received."));
    return {};
}

std::expected<void, Error> verify_order_line_places(const std::vector<ReceiptLine>& lines)
{
    std::set<std::tuple<QString, int, QString, QString>> places;
    for (const ReceiptLine& line : lines) {
        if (!line.against_order())
            continue;
        if (!places.insert({line.po_key, *line.po_itemno, line.warehouse, line.location}).second)
            return refuse(line.itemcode + QStringLiteral(" are received into same warehouse/location."));
    }
    return {};
}

std::vector<ReceiptQuestion> order_line_questions(const std::vector<ReceiptLine>& lines, const OrderLineStates& orders,
                                                  const std::vector<ReceiptLine>& stored)
{
    struct Totals {
        Decimal received;
        Decimal cancelled;
        QString itemcode;
    };
    std::map<OrderLineKey, Totals> receiving;
    for (const ReceiptLine& line : lines) {
        if (!line.against_order())
            continue;
        Totals& totals = receiving[key_of(line)];
        totals.received += line.order_received;
        totals.cancelled += line.order_cancel;
        totals.itemcode = line.itemcode;
    }
    std::map<OrderLineKey, Totals> recorded;
    for (const ReceiptLine& line : stored) {
        if (!line.against_order())
            continue;
        Totals& totals = recorded[key_of(line)];
        totals.received += line.order_received;
        totals.cancelled += line.order_cancel;
    }
    std::vector<ReceiptQuestion> questions;
    for (const auto& [key, totals] : receiving) {
        const auto order = orders.find(key);
        if (order == orders.end())
            continue;
        const OrderLineState& state = order->second;
        const Totals earlier = recorded.contains(key) ? recorded.at(key) : Totals{};
        const Decimal open = std::max(Decimal(), state.quantity - (state.received - earlier.received)
                                                     - (state.cancelled - earlier.cancelled));
        if (totals.received > open)
            questions.push_back({ReceiptQuestion::Kind::YesNo,
                                 QStringLiteral("Are you sure to receive ") + totals.itemcode
                                     + QStringLiteral(" more than quantity open (") + open.to_string() + u' ' + state.uom
                                     + QStringLiteral(")?")});
        else if (totals.received + totals.cancelled > open)
            questions.push_back({ReceiptQuestion::Kind::OkCancel,
                                 QStringLiteral("Received quantity > Openned quantity. Press OK to confirm")});
    }
    return questions;
}

std::expected<QStringList, Error> capacity_warnings(Database& db, const std::vector<ReceiptLine>& lines,
                                                    const std::vector<ReceiptLine>& stored)
{
    StockUnits units(db);
    std::map<std::pair<QString, QString>, Decimal> adding;
    auto add = [&](const ReceiptLine& line, const Decimal& sign) -> std::expected<void, Error> {
        if (line.itemtype != u"1" || line.itemcode.isEmpty() || line.received().is_zero())
            return {};
        auto stock = units.convert(line.itemcode, line.uom, line.received());
        if (!stock)
            return std::unexpected(stock.error());
        if (*stock)
            adding[{line.itemcode, line.warehouse}] += sign * (*stock)->quantity;
        return {};
    };
    for (const ReceiptLine& line : lines)
        if (auto done = add(line, Decimal(1)); !done)
            return std::unexpected(done.error());
    for (const ReceiptLine& line : stored)
        if (auto done = add(line, Decimal(-1)); !done)
            return std::unexpected(done.error());
    QStringList warnings;
    for (const auto& [place, quantity] : adding) {
        const auto& [code, warehouse] = place;
        auto row = db.first(QStringLiteral("SELECT w.maximum_stock, (SELECT SUM(o.quantity) FROM Item_onhand_table o"
                                           " WHERE o.company = 1 AND o.itemcode = w.itemcode AND o.warehouse = w.warehouse)"
                                           " AS qty FROM Item_warehouse_table w WHERE w.company = 1 AND w.itemcode = ?"
                                           " AND w.warehouse = ?"),
                            {code, warehouse});
        if (!row)
            return std::unexpected(row.error());
        if (!*row)
            continue;
        const auto maximum = (*row)->decimal_or_null(u"maximum_stock");
        if (!maximum || !(*maximum > Decimal()))
            continue;
        if ((*row)->decimal(u"qty") + quantity > *maximum)
            warnings << code + QStringLiteral(" stock on hand reachs maximum capacity of warehouse ") + warehouse + QChar(10)
                    + QStringLiteral("Maximum quantity = ") + maximum->to_string();
    }
    return warnings;
}

std::expected<bool, Error> bill_number_used(Database& db, const QString& number)
{
    auto found = db.first(QStringLiteral("SELECT docno FROM PO_invoice_header_table WHERE company = 1 AND invoice_no = ?"
                                         " AND void = FALSE"),
                          {number});
    if (!found)
        return std::unexpected(found.error());
    return found->has_value();
}

std::expected<std::map<QString, LandedVendor>, Error> verify_landed_lines(Database& db, const Receipt& receipt,
                                                                          const DocumentLists& lists)
{
    const ReceiptHeader& header = receipt.header;
    std::map<QString, LandedVendor> vendors;
    LineFacts facts(db);
    for (const LandedLine& line : receipt.landed) {
        const QString& code = line.itemcode;
        // A line typed without its charge would be left out of the save: it is refused instead.
        if (code.isEmpty())
            return std::unexpected(Error::invalid(missing_item_code(line.itemno)));
        if (auto listed = verify_codes_in_lists({{lists.vendors, line.vendor_no, "vendor is invalid."},
                                                 {lists.tax_codes, line.tax_code, "tax code is invalid."}});
            !listed)
            return std::unexpected(listed.error());
        auto charge = facts.charge_exists(code);
        if (!charge)
            return std::unexpected(charge.error());
        if (!*charge)
            return std::unexpected(Error::invalid(shown_value(code) + QStringLiteral(" is invalid.")));
        if (!line.extended_cost)
            return std::unexpected(Error::invalid(QStringLiteral("please specify extended cost for ") + code));
        struct Typed {
            const std::optional<Decimal>& value;
            const char* noun;
            NumberColumn column;
        };
        for (const Typed& typed : {Typed{line.quantity, "quantity", NumberColumn::Quantity},
                                   Typed{line.unitcost, "unit cost", NumberColumn::UnitCost},
                                   Typed{line.extended_cost, "extended cost", NumberColumn::Money}})
            if (typed.value)
                if (const auto problem = column_problem(*typed.value, typed.column))
                    return std::unexpected(Error::invalid(shown_value(code) + u' ' + QLatin1String(typed.noun) + u' ' + *problem));
        if (line.accno.isEmpty())
            return std::unexpected(Error::invalid(QStringLiteral("please specify account for item ") + code));
        auto account = facts.account_exists(line.accno);
        if (!account)
            return std::unexpected(account.error());
        if (!*account)
            return std::unexpected(Error::invalid(QStringLiteral("account number for ") + code + QStringLiteral(" is invalid.")));
        if (auto elements = tax_elements_to_save(receipt.landed_taxes, line.itemno, line.extended_cost); !elements)
            return std::unexpected(elements.error());
        const QString vendor = landed_vendor(header, line);
        if (landed_bill(header, line).isEmpty())
            return std::unexpected(Error::invalid(
                vendor == header.vendor_no ? QStringLiteral("please specify invoice no for landed cost")
                                           : QStringLiteral("please specify invoice no of landed cost item for vendor ") + vendor));
        if (vendors.contains(vendor))
            continue;
        auto row = db.first(QStringLiteral("SELECT ap_accno, payment_term FROM Vendor_table WHERE vendor_no = ?"), {vendor});
        if (!row)
            return std::unexpected(row.error());
        const QString payable = *row ? (*row)->text(u"ap_accno").trimmed() : QString();
        if (payable.isEmpty() || payable == u"0")
            return std::unexpected(Error::invalid(QStringLiteral("Account payable for vendor ") + vendor
                                                  + QStringLiteral(" has not been setup")));
        // The receipt's own vendor bills on the receipt's term; another vendor on its own.
        const QString term = vendor == header.vendor_no ? header.payment_term : (*row)->text(u"payment_term").trimmed();
        if (term.isEmpty() && !landed_on_receipt_bill(header, line))
            return std::unexpected(Error::invalid(vendor == header.vendor_no ? QStringLiteral("Please specify Payment term")
                                                      : QStringLiteral("There is no default payment term for secondary vendor")));
        vendors.emplace(vendor, LandedVendor{payable, term});
    }
    return vendors;
}

std::expected<std::vector<ReceiptLine>, Error> stored_receipt_lines(Database& db, const QString& fkey)
{
    auto rows = db.select(QStringLiteral("SELECT itemno, itemcode, itemtype, description, warehouse, location,"
                                         " quantity_received, quantity_cancel, uom, PONO, po_itemno, po_uom, po_warehouse,"
                                         " po_location FROM PO_receipt_transaction_table WHERE fkey = ? AND landed_item = FALSE"
                                         " ORDER BY itemno"),
                          {fkey});
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<ReceiptLine> lines;
    for (const Row& row : *rows) {
        ReceiptLine line;
        line.itemno = int(row.integer(u"itemno"));
        line.itemcode = row.text(u"itemcode");
        line.itemtype = row.text(u"itemtype");
        line.description = row.text(u"description");
        line.warehouse = row.text(u"warehouse");
        line.location = row.text(u"location");
        line.quantity_received = row.decimal(u"quantity_received");
        line.quantity_cancel = row.decimal(u"quantity_cancel");
        line.uom = row.text(u"uom");
        line.pono = row.text(u"PONO");
        if (!row.is_null(u"po_itemno"))
            line.po_itemno = int(row.integer(u"po_itemno"));
        line.po_uom = row.text(u"po_uom");
        line.po_warehouse = row.text(u"po_warehouse");
        line.po_location = row.text(u"po_location");
        lines.push_back(std::move(line));
    }
    if (auto resolved = resolve_orders(db, lines); !resolved)
        return std::unexpected(resolved.error());
    LineFacts facts(db);
    for (ReceiptLine& line : lines)
        if (auto converted = convert_for_order(facts, line); !converted)
            return std::unexpected(converted.error());
    return lines;
}

} // namespace zelkor
