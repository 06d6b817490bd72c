#include "documents/landed/landed_verify.h"

#include "core/db/value_limits.h"
#include "core/fiscal_periods.h"
#include "core/master_lookups.h"
#include "documents/bill/bill_verify.h"
#include "documents/common/line_checks.h"
#include "documents/receipt/receipt_verify.h"
#include "payables/payables.h"

namespace zelkor {
namespace {

Error refused(const QString& message) { return Error::invalid(message); }

/// A typed number: nothing when empty, `invalid` when it is not a number the column holds.
[[nodiscard]] std::expected<std::optional<Decimal>, Error> typed_value(const QString& typed, NumberColumn column,
                                                                      const QString& invalid)
{
    if (typed.trimmed().isEmpty())
        return std::optional<Decimal>();
    const auto value = Decimal::parse(typed.trimmed());
    if (!value || column_problem(*value, column))
        return std::unexpected(refused(invalid));
    return value;
}

[[nodiscard]] std::expected<void, Error> verify_prepayment(const TypedLanded& typed)
{
    const BillHeader& header = typed.header;
    const QString amount = typed.prepayment.trimmed();
    const bool no_amount = amount.isEmpty() || Decimal::parse(amount).value_or(Decimal()).is_zero();
    if (no_amount && !header.prepayment_no.trimmed().isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify Prepayment")));
    auto value = typed_value(amount, NumberColumn::Money, QStringLiteral("Prepayment is invalid."));
    if (!value)
        return std::unexpected(value.error());
    if (!*value)
        return {};
    if ((*value)->is_negative())
        return std::unexpected(refused(QStringLiteral("Prepayment must be positive")));
    if (**value > Decimal() && header.payby == PayLater && header.prepayment_no.trimmed().isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify Pay-by for Prepayment")));
    return {};
}

/// The checks of one charge, in this order: the charge code, its amount, its account, its
/// quantity, unit and unit price.
[[nodiscard]] std::expected<BillLine, Error> verify_charge(Database& db, const TypedCharge& typed, const DocumentLists& lists)
{
    if (typed.itemcode.isEmpty())
        return std::unexpected(refused(missing_item_code(typed.itemno)));
    const QString code = shown_value(typed.itemcode);
    auto charge = charge_row(db, typed.itemcode);
    if (!charge)
        return std::unexpected(charge.error());
    if (!*charge)
        return std::unexpected(refused(code + QStringLiteral(" is invalid.")));
    if (typed.extended_cost.trimmed().isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify amount for ") + code));
    auto extended = typed_value(typed.extended_cost, NumberColumn::Money, code + QStringLiteral(" amount is invalid."));
    if (!extended)
        return std::unexpected(extended.error());
    if (typed.accno.isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify account for ") + code));
    if (lists.all_accounts.find(typed.accno) < 0)
        return std::unexpected(refused(QStringLiteral("account number for ") + code + QStringLiteral(" is invalid.")));
    if (typed.quantity.trimmed().isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify quantity for ") + code));
    auto quantity = typed_value(typed.quantity, NumberColumn::Quantity, QStringLiteral("quantity is invalid."));
    if (!quantity)
        return std::unexpected(quantity.error());
    if (!(**quantity > Decimal()))
        return std::unexpected(refused(code + QStringLiteral(": quantity must be positive")));
    if (typed.uom.trimmed().isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify unit of measurement for ") + code));
    if (typed.unitcost.trimmed().isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify unit price for ") + code));
    auto unitcost = typed_value(typed.unitcost, NumberColumn::UnitCost, code + QStringLiteral(" unit price is invalid."));
    if (!unitcost)
        return std::unexpected(unitcost.error());
    if ((*unitcost)->is_negative())
        return std::unexpected(refused(code + QStringLiteral(" unit price cannot be negative")));
    BillLine line;
    line.itemno = typed.itemno;
    line.itemcode = typed.itemcode;
    line.itemtype = QStringLiteral("6");
    line.description = typed.description;
    line.uom_received = typed.uom.trimmed();
    line.quantity = **quantity;
    line.unitcost = **unitcost;
    line.extended_cost = (*extended)->round2();
    line.net_cost = typed.net_cost;
    line.tax_amount = typed.tax_amount;
    line.tax_allocate = typed.tax_allocate;
    line.price_include_tax = typed.tax_included;
    line.tax_code = typed.tax_code;
    line.accno = typed.accno;
    line.landed_item = true;
    line.expense = typed.expense;
    return line;
}

[[nodiscard]] std::expected<LandedAccounts, Error> verify_accounts(Database& db, const BillHeader& header,
                                                                   const QString& paying)
{
    auto defaults = receipt_accounts(db);
    if (!defaults)
        return std::unexpected(defaults.error());
    auto vendor = db.scalar(QStringLiteral("SELECT ap_accno FROM Vendor_table WHERE vendor_no = ?"), {header.vendor_no});
    if (!vendor)
        return std::unexpected(vendor.error());
    const QString payable = Row::to_text(*vendor).trimmed();
    if (payable.isEmpty())
        return std::unexpected(refused(QStringLiteral("Account payable for vendor ") + header.vendor_no
                                       + QStringLiteral(" has not been set")));
    return LandedAccounts{{defaults->suspense, defaults->discount, payable, paying, {}}, defaults->variance};
}

} // namespace

std::expected<CheckedLanded, Error> verify_landed(Database& db, const TypedLanded& typed, const QString& base_currency,
                                                  const DocumentLists& lists)
{
    CheckedLanded checked;
    BillHeader header = typed.header;
    if (header.vendor_no.isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify vendor")));
    if (typed.charges.empty())
        return std::unexpected(refused(QStringLiteral("No detail line")));
    if (header.invoice_no.isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify vendor's invoice number")));
    auto taken = invoice_number_taken(db, header.invoice_no, typed.key);
    if (!taken)
        return std::unexpected(taken.error());
    if (*taken)
        return std::unexpected(refused(QStringLiteral("Vendor invoice no ") + header.invoice_no + QStringLiteral(" exist")));
    if (header.currency.isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify currency")));
    if (header.currency != base_currency) {
        if (!header.exchange_rate)
            return std::unexpected(refused(QStringLiteral("please specify exchange rate")));
        if (!(*header.exchange_rate > Decimal()))
            return std::unexpected(refused(QStringLiteral("exchange rate is invalid.")));
    } else {
        header.exchange_rate.reset();
    }
    if (header.payment_term.isEmpty())
        return std::unexpected(refused(QStringLiteral("Please specify Payment term")));
    PaymentSource source{header.payby, header.cash_accno, header.bank_code, header.check_no, header.check_date};
    auto paying = verify_payment_source(db, source);
    if (!paying)
        return std::unexpected(paying.error());
    header.payby = source.payby;
    if (auto prepaid = verify_prepayment({header, typed.key, typed.prepayment, {}, {}, {}, {}}); !prepaid)
        return std::unexpected(prepaid.error());
    if (header.period.period <= 0)
        return std::unexpected(refused(QStringLiteral("please specify period")));
    if (header.period.fiscal_year.isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify fiscal year")));
    if (auto open = check_working_period(db, header.period); !open)
        return std::unexpected(open.error());
    auto accounts = verify_accounts(db, header, *paying);
    if (!accounts)
        return std::unexpected(accounts.error());
    if (!typed.receipts.isEmpty() && header.primary_vendor.isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify goods vendor")));
    auto discount = typed_value(typed.discount_amount, NumberColumn::Money, QStringLiteral("Term discount is invalid."));
    if (!discount)
        return std::unexpected(discount.error());
    header.discount_amount = *discount ? (*discount)->round2().to_string() : QString();
    header.prepayment = typed.prepayment.trimmed();
    checked.landed.bill.header = header;
    for (const TypedCharge& charge : typed.charges) {
        auto line = verify_charge(db, charge, lists);
        if (!line)
            return std::unexpected(line.error());
        auto taxes = tax_elements_to_save(typed.taxes, line->itemno, line->extended_cost);
        if (!taxes)
            return std::unexpected(taxes.error());
        line->taxes = std::move(*taxes);
        checked.landed.bill.lines.push_back(std::move(*line));
    }
    checked.landed.receipts = typed.receipts;
    checked.accounts = std::move(*accounts);
    return checked;
}

} // namespace zelkor
