#include "services/bill_posting.h"

#include "services/ledger_accounts.h"
#include "services/ledger_entry.h"
#include "services/ledger_posting.h"

#include <vector>

namespace zelkor {
namespace {

/// One debit (negative: a credit) of the bill's entry, in document and base currency.
struct Contribution {
    QString account;
    Decimal amount;
    Decimal base_amount;
};

Decimal converted(const std::optional<Decimal>& rate, const Decimal& amount)
{
    return rate ? (amount * *rate).round2() : amount.round2();
}

/// What the receipt credited AP suspense with for a line: its cost and each authority's
/// recoverable and expensed tax, each converted on its own, as the receipt posting did.
Contribution received_value(const QString& suspense, const ReceivedPosting& received)
{
    Contribution value{suspense, received.line_cost.round2(), converted(received.rate, received.line_cost)};
    for (const TaxElement& element : received.taxes)
        for (const Decimal& part : {element.recoverable, element.expensed}) {
            if (part.is_zero())
                continue;
            value.amount += part.round2();
            value.base_amount += converted(received.rate, part);
        }
    return value;
}

/// Whether a receipt line is billed exactly as it was received: quantity, unit cost and rate.
bool at_received_cost(const BillLine& line, const std::optional<Decimal>& bill_rate)
{
    return line.received && line.unit_cost_received && *line.unit_cost_received == line.unitcost
        && line.quantity == line.rc_quantity_open && line.quantity == line.quantity_received
        && line.received->rate == bill_rate;
}

} // namespace

std::expected<DocumentNumber, Error> post_bill(Database& db, const Bill& bill, const BillAccounts& accounts,
                                               const QString& user)
{
    const BillHeader& header = bill.header;
    const BillTotals totals = bill_totals(bill);
    const bool prepaid = totals.prepayment > Decimal();
    const QString payby = header.payby.trimmed().isEmpty() ? PayLater : header.payby;
    if (prepaid && header.prepayment_no.trimmed().isEmpty() && payby == PayLater)
        return std::unexpected(Error::invalid(QStringLiteral("please specify pay by for prepayment")));
    // Without a prepayment a bill paid at once owes the vendor nothing: the paying account pays.
    const QString payable_side = !prepaid && payby != PayLater ? accounts.paying : accounts.vendor_payable;
    if (payable_side.isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("please specify account")));

    std::vector<Contribution> contributions;
    auto in_base = [&](const Decimal& amount) { return converted(header.exchange_rate, amount); };
    for (const BillLine& line : bill.lines) {
        if (!line.written())
            continue;
        if (!at_received_cost(line, header.exchange_rate))
            return std::unexpected(Error::invalid(QStringLiteral("Line ") + QString::number(line.itemno)
                                                  + QStringLiteral(" of bill ") + header.docno
                                                  + QStringLiteral(" cannot be posted yet.")));
        const Contribution value = received_value(accounts.suspense, *line.received);
        contributions.push_back(value);
        contributions.push_back({payable_side, -value.amount, -value.base_amount});
    }
    if (!totals.discount.is_zero()) {
        contributions.push_back({accounts.discount, -totals.discount, -in_base(totals.discount)});
        contributions.push_back({payable_side, totals.discount, in_base(totals.discount)});
    }
    if (prepaid) {
        const QString& paid_from = header.prepayment_no.trimmed().isEmpty() ? accounts.paying : accounts.prepayment;
        if (paid_from.isEmpty())
            return std::unexpected(Error::not_found(QStringLiteral("No prepayment no. ") + header.prepayment_no));
        contributions.push_back({accounts.vendor_payable, totals.prepayment, in_base(totals.prepayment)});
        contributions.push_back({paid_from, -totals.prepayment, -in_base(totals.prepayment)});
    }

    QStringList numbers;
    for (const Contribution& contribution : contributions)
        numbers << contribution.account;
    numbers.removeDuplicates();
    auto chart = load_ledger_accounts(db, numbers);
    if (!chart)
        return std::unexpected(chart.error());
    LedgerEntry entry;
    for (const Contribution& contribution : contributions) {
        if (contribution.amount.is_zero() && contribution.base_amount.is_zero())
            continue;
        const LedgerAccount* account = chart->find(contribution.account);
        if (!account)
            return std::unexpected(Error::not_found(QStringLiteral("No account ") + contribution.account));
        // Journal amounts are signed to each account's normal side; contributions are debit-positive.
        const Decimal sign(account->sign());
        entry.add(contribution.account, contribution.amount * sign, contribution.base_amount * sign, header.currency);
    }
    const JournalDocument document{.description = {},
                                   .remark = QStringLiteral("Invoice no. ") + header.invoice_no,
                                   .source = QStringLiteral("PO-BILL"),
                                   .source_form = header.source_form,
                                   .source_docno = header.docno,
                                   .date = header.invoice_date,
                                   .currency = header.currency,
                                   .exchange_rate = header.exchange_rate,
                                   .vendor_no = header.vendor_no,
                                   .user = user,
                                   .company = 1,
                                   .period = header.period};
    return post_entry(db, document, entry);
}

} // namespace zelkor
