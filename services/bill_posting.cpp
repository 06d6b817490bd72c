#include "services/bill_posting.h"

#include "services/ledger_entry.h"
#include "services/ledger_posting.h"

#include <vector>

namespace zelkor {
namespace {

Decimal converted(const std::optional<Decimal>& rate, const Decimal& amount)
{
    return rate ? (amount * *rate).round2() : amount.round2();
}

/// What the receipt credited AP suspense with for a line: its cost and each authority's
/// recoverable and expensed tax, each converted on its own, as the receipt posting did.
EntryContribution received_value(const QString& suspense, const ReceivedPosting& received)
{
    EntryContribution value{suspense, received.line_cost.round2(), converted(received.rate, received.line_cost)};
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
    const Settlement settlement{.payby = header.payby,
                                .discount = totals.discount,
                                .prepayment = totals.prepayment,
                                .prepayment_no = header.prepayment_no,
                                .exchange_rate = header.exchange_rate};
    auto payable_account = payable_side(settlement, accounts);
    if (!payable_account)
        return std::unexpected(payable_account.error());

    std::vector<EntryContribution> contributions;
    for (const BillLine& line : bill.lines) {
        if (!line.written())
            continue;
        if (!at_received_cost(line, header.exchange_rate))
            return std::unexpected(Error::invalid(QStringLiteral("Line ") + QString::number(line.itemno)
                                                  + QStringLiteral(" of bill ") + header.docno
                                                  + QStringLiteral(" cannot be posted yet.")));
        const EntryContribution value = received_value(accounts.suspense, *line.received);
        contributions.push_back(value);
        contributions.push_back({*payable_account, -value.amount, -value.base_amount});
    }
    if (auto settled = add_settlement(contributions, settlement, accounts, *payable_account); !settled)
        return std::unexpected(settled.error());
    auto entry = signed_entry(db, contributions, header.currency);
    if (!entry)
        return std::unexpected(entry.error());
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
    return post_entry(db, document, *entry);
}

} // namespace zelkor
