#include "documents/receipt/receipt_posting.h"

#include "ledger/ledger_accounts.h"
#include "ledger/ledger_entry.h"
#include "ledger/ledger_posting.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <iterator>
#include <map>

namespace zelkor {
namespace {

/// The recoverable and expensed accounts of every authority the lines' taxes name.
template <class Lines>
[[nodiscard]] std::expected<QHash<QString, TaxAccounts>, Error> tax_accounts(Database& db, const Lines& lines)
{
    QSet<QString> authorities;
    for (const auto& line : lines)
        for (const TaxElement& element : line.taxes)
            authorities.insert(element.tax_authority);
    return tax_authority_accounts(db, authorities);
}

/// Converts one contribution to base currency, rounded to cents.
Decimal in_base(const ReceiptJournal& journal, const Decimal& amount)
{
    return journal.exchange_rate ? (amount * *journal.exchange_rate).round2() : amount.round2();
}

/// Debits a line's recoverable and expensed tax, element by element, towards `credit`.
[[nodiscard]] std::expected<void, Error> add_tax_debits(const QHash<QString, TaxAccounts>& accounts,
                                                        const ReceiptJournal& journal, const TaxElements& taxes,
                                                        const CreditTarget& credit,
                                                        std::vector<PostingContribution>& contributions)
{
    for (const TaxElement& element : taxes) {
        const TaxAccounts found = accounts.value(element.tax_authority);
        if (!element.recoverable.is_zero()) {
            if (found.recoverable.isEmpty())
                return std::unexpected(Error::invalid(QStringLiteral("No Recoverable Tax Account for ") + element.tax_authority));
            contributions.push_back({found.recoverable, element.recoverable.round2(), in_base(journal, element.recoverable), credit});
        }
        if (!element.expensed.is_zero()) {
            if (found.expensed.isEmpty())
                return std::unexpected(Error::invalid(QStringLiteral("No Expensed Tax Account for ") + element.tax_authority));
            contributions.push_back({found.expensed, element.expensed.round2(), in_base(journal, element.expensed), credit});
        }
    }
    return {};
}

} // namespace

std::expected<std::vector<PostingContribution>, Error> landed_contributions(Database& db, const ReceiptJournal& journal,
                                                                            const std::vector<PostedLandedLine>& lines)
{
    auto taxes = tax_accounts(db, lines);
    if (!taxes)
        return std::unexpected(taxes.error());
    std::vector<PostingContribution> contributions;
    for (const PostedLandedLine& line : lines) {
        contributions.push_back({line.accno, line.line_cost.round2(), in_base(journal, line.line_cost), line.credit});
        if (auto added = add_tax_debits(*taxes, journal, line.taxes, line.credit, contributions); !added)
            return std::unexpected(added.error());
    }
    return contributions;
}

std::expected<std::vector<PostingContribution>, Error> goods_contributions(Database& db, const ReceiptJournal& journal,
                                                                           const std::vector<PostedGoodsLine>& lines,
                                                                           const ReceiptAccounts& accounts)
{
    auto taxes = tax_accounts(db, lines);
    if (!taxes)
        return std::unexpected(taxes.error());
    const CreditTarget suspense{accounts.suspense, {}};
    std::vector<PostingContribution> contributions;
    auto add = [&](const QString& account, const Decimal& amount, const Decimal& base_amount) {
        contributions.push_back({account, amount.round2(), base_amount, suspense});
    };
    for (const PostedGoodsLine& line : lines) {
        const Decimal cost_in_base = in_base(journal, line.line_cost);
        if (line.standard_value) {
            // Stock takes the standard value; the rest of the line cost is the variance.
            const Decimal standard = *line.standard_value;
            const Decimal standard_amount = journal.exchange_rate ? (standard / *journal.exchange_rate).round2() : standard;
            add(line.accno, standard_amount, standard);
            add(accounts.variance, line.line_cost - standard_amount, cost_in_base - standard);
        } else {
            add(line.accno, line.line_cost, cost_in_base);
        }
        if (auto added = add_tax_debits(*taxes, journal, line.taxes, suspense, contributions); !added)
            return std::unexpected(added.error());
    }
    return contributions;
}

std::expected<DocumentNumber, Error> post_receipt(Database& db, const ReceiptJournal& journal,
                                                  const std::vector<PostingContribution>& contributions)
{
    // Credits gather per target, in the order the targets first appear.
    std::vector<std::pair<CreditTarget, PostingContribution>> credits;
    QStringList accounts;
    for (const PostingContribution& debit : contributions) {
        if (debit.amount.is_zero() && debit.base_amount.is_zero())
            continue;
        accounts << debit.account << debit.credit.account;
        auto slot = std::find_if(credits.begin(), credits.end(), [&](const auto& credit) {
            return credit.first.account == debit.credit.account && credit.first.vendor_no == debit.credit.vendor_no;
        });
        if (slot == credits.end())
            slot = credits.insert(credits.end(), {debit.credit, PostingContribution{}});
        slot->second.amount += debit.amount;
        slot->second.base_amount += debit.base_amount;
    }
    accounts.removeDuplicates();
    // The vendor's payable account travels with what the posting reads, the chart among it.
    PostingReadAhead ahead{.company = 1, .accounts = accounts};
    std::vector<Statement> reads{{QStringLiteral("SELECT ap_accno FROM Vendor_table WHERE vendor_no = ?"), {journal.vendor_no}}};
    std::ranges::move(posting_reads(ahead), std::back_inserter(reads));
    auto read = db.select_together(reads);
    if (!read)
        return std::unexpected(read.error());
    const Rows& payable = (*read)[0];
    ahead.answers.assign(std::make_move_iterator(read->begin() + 1), std::make_move_iterator(read->end()));
    const QString payable_account = payable.empty() ? QString() : payable.front().text(u"ap_accno").trimmed();
    if (payable_account.isEmpty() || payable_account == u"0")
        return std::unexpected(Error::invalid(QStringLiteral("Account payable for vendor ") + journal.vendor_no
                                              + QStringLiteral(" has not been setup")));
    if (credits.empty())
        return DocumentNumber{};
    const LedgerAccounts chart = ledger_accounts_of(ahead.answers.back());

    // Amounts are written signed to each account's normal side; a contribution is debit-positive.
    auto signed_amount = [&](const QString& account, const Decimal& debit) -> std::expected<Decimal, Error> {
        const LedgerAccount* found = chart.find(account);
        if (!found)
            return std::unexpected(Error::not_found(QStringLiteral("No account ") + account));
        return debit * Decimal(found->sign());
    };
    LedgerEntry entry;
    const QString currency = journal.currency;
    for (const PostingContribution& debit : contributions) {
        if (debit.amount.is_zero() && debit.base_amount.is_zero())
            continue;
        auto amount = signed_amount(debit.account, debit.amount);
        auto base = signed_amount(debit.account, debit.base_amount);
        if (!amount || !base)
            return std::unexpected(amount ? base.error() : amount.error());
        entry.add(debit.account, *amount, *base, currency);
    }
    for (const auto& [target, total] : credits) {
        auto amount = signed_amount(target.account, -total.amount);
        auto base = signed_amount(target.account, -total.base_amount);
        if (!amount || !base)
            return std::unexpected(amount ? base.error() : amount.error());
        entry.add(target.account, *amount, *base, currency, target.vendor_no.isEmpty() ? journal.vendor_no : target.vendor_no);
    }
    const JournalDocument document{.description = {},
                                   .remark = QStringLiteral("Receipt no. ") + journal.receipt_no,
                                   .source = receipt_posting_source(),
                                   .source_form = QStringLiteral("Receipt Entry"),
                                   .source_docno = journal.receipt_no,
                                   .date = journal.date,
                                   .currency = journal.currency,
                                   .exchange_rate = journal.exchange_rate,
                                   .vendor_no = journal.vendor_no,
                                   .user = journal.user,
                                   .company = 1,
                                   .period = journal.period};
    return post_entry(db, document, entry, &ahead);
}

std::expected<void, Error> reverse_receipt_posting(Database& db, const QString& journal_key, const ReceiptReversal& reversal)
{
    if (journal_key.isEmpty())
        return {};
    const QString reason = reversal.reason == ReversalReason::Void ? QStringLiteral("Void receipt ")
                                                                   : QStringLiteral("Edit receipt ");
    const Reversal entry{.description = QStringLiteral("void invoice ") + reversal.receipt_no,
                         .reversed_description = reason + reversal.receipt_no,
                         .source = receipt_posting_source(),
                         .source_form = QStringLiteral("Receipt Entry"),
                         .source_docno = reversal.receipt_no,
                         .date = reversal.date,
                         .user = reversal.user,
                         .period = reversal.period};
    auto reversed = reverse_entry(db, journal_key, entry);
    if (!reversed)
        return std::unexpected(reversed.error());
    if (!*reversed)
        return std::unexpected(Error::not_found(journal_key + QStringLiteral(" journal entry does not exist")));
    return {};
}

} // namespace zelkor
