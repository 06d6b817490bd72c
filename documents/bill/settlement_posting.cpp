#include "documents/bill/settlement_posting.h"

#include "ledger/ledger_accounts.h"
#include "payables/payables.h"

namespace zelkor {
namespace {

Decimal in_base(const std::optional<Decimal>& rate, const Decimal& amount)
{
    return rate ? (amount * *rate).round2() : amount.round2();
}

QString effective_payby(const Settlement& settlement)
{
    return settlement.payby.trimmed().isEmpty() ? PayLater : settlement.payby;
}

} // namespace

Settlement settlement_of(const Bill& bill)
{
    const BillTotals totals = bill_totals(bill);
    return {.payby = bill.header.payby,
            .discount = totals.discount,
            .prepayment = totals.prepayment,
            .prepayment_no = bill.header.prepayment_no,
            .exchange_rate = bill.header.exchange_rate};
}

JournalDocument bill_journal(const BillHeader& header, const QString& source, const QString& source_form,
                             const QString& user)
{
    return {.description = {},
            .remark = QStringLiteral("Invoice no. ") + header.invoice_no,
            .source = source,
            .source_form = source_form,
            .source_docno = header.docno,
            .date = header.invoice_date,
            .currency = header.currency,
            .exchange_rate = header.exchange_rate,
            .vendor_no = header.vendor_no,
            .user = user,
            .company = 1,
            .period = header.period};
}

std::expected<QString, Error> payable_side(const Settlement& settlement, const BillAccounts& accounts)
{
    const bool prepaid = settlement.prepayment > Decimal();
    const QString payby = effective_payby(settlement);
    if (prepaid && settlement.prepayment_no.trimmed().isEmpty() && payby == PayLater)
        return std::unexpected(Error::invalid(QStringLiteral("please specify pay by for prepayment")));
    const QString account = !prepaid && payby != PayLater ? accounts.paying : accounts.vendor_payable;
    if (account.isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("please specify account")));
    return account;
}

std::expected<void, Error> add_settlement(std::vector<EntryContribution>& contributions, const Settlement& settlement,
                                          const BillAccounts& accounts, const QString& payable_account)
{
    const std::optional<Decimal>& rate = settlement.exchange_rate;
    if (!settlement.discount.is_zero()) {
        contributions.push_back({accounts.discount, -settlement.discount, -in_base(rate, settlement.discount)});
        contributions.push_back({payable_account, settlement.discount, in_base(rate, settlement.discount)});
    }
    if (settlement.prepayment > Decimal()) {
        const bool existing = !settlement.prepayment_no.trimmed().isEmpty();
        const QString& paid_from = existing ? accounts.prepayment : accounts.paying;
        if (paid_from.isEmpty())
            return std::unexpected(Error::not_found(QStringLiteral("No prepayment no. ") + settlement.prepayment_no));
        contributions.push_back({accounts.vendor_payable, settlement.prepayment, in_base(rate, settlement.prepayment)});
        contributions.push_back({paid_from, -settlement.prepayment, -in_base(rate, settlement.prepayment)});
    }
    return {};
}

std::expected<SignedEntry, Error> signed_entry(Database& db, const std::vector<EntryContribution>& contributions,
                                               const QString& currency)
{
    QStringList numbers;
    for (const EntryContribution& contribution : contributions)
        numbers << contribution.account;
    numbers.removeDuplicates();
    SignedEntry signed_{.entry = {}, .ahead = {.company = 1, .accounts = numbers}};
    auto read = db.select_together(posting_reads(signed_.ahead));
    if (!read)
        return std::unexpected(read.error());
    signed_.ahead.answers = std::move(*read);
    const LedgerAccounts chart = ledger_accounts_of(signed_.ahead.answers.back());
    for (const EntryContribution& contribution : contributions) {
        if (contribution.amount.is_zero() && contribution.base_amount.is_zero())
            continue;
        const LedgerAccount* account = chart.find(contribution.account);
        if (!account)
            return std::unexpected(Error::not_found(QStringLiteral("No account ") + contribution.account));
        // Journal amounts are signed to each account's normal side; contributions are debit-positive.
        const Decimal sign(account->sign());
        signed_.entry.add(contribution.account, contribution.amount * sign, contribution.base_amount * sign, currency,
                          contribution.vendor_no);
    }
    return signed_;
}

} // namespace zelkor
