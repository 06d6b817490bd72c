// A bill's journal entry, built line by line so that every line balances on its own in both
// currencies: the only difference post_entry may find is the rounding of lines converted one
// by one (direct lines and settlement), which it books as realized gain or loss.
#include "documents/bill/bill_posting.h"

#include "core/db/sql_batch.h"
#include "ledger/ledger_accounts.h"
#include "ledger/ledger_entry.h"
#include "ledger/ledger_posting.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace zelkor {
namespace {

using Rate = std::optional<Decimal>;

Decimal converted(const Rate& rate, const Decimal& amount)
{
    return rate ? (amount * *rate).round2() : amount.round2();
}

/// The recoverable and expensed accounts of every authority the bill's lines (and what their
/// receipts posted) name.
[[nodiscard]] std::expected<QHash<QString, TaxAccounts>, Error> tax_accounts(Database& db, const Bill& bill)
{
    QSet<QString> authorities;
    for (const BillLine& line : bill.lines) {
        for (const TaxElement& element : line.taxes.value_or(TaxElements{}))
            authorities.insert(element.tax_authority);
        if (line.received)
            for (const TaxElement& element : line.received->taxes)
                authorities.insert(element.tax_authority);
    }
    return tax_authority_accounts(db, authorities);
}

/// Debits (document and base) gathered per account for one line.
class Debits {
public:
    void add(const QString& account, const Decimal& amount, const Decimal& base_amount)
    {
        for (EntryContribution& debit : m_debits)
            if (debit.account == account) {
                debit.amount += amount;
                debit.base_amount += base_amount;
                return;
            }
        m_debits.push_back({account, amount, base_amount});
    }
    Decimal amount() const { return sum(&EntryContribution::amount); }
    Decimal base_amount() const { return sum(&EntryContribution::base_amount); }
    void move_into(std::vector<EntryContribution>& contributions) const
    {
        for (const EntryContribution& debit : m_debits)
            if (!debit.amount.is_zero() || !debit.base_amount.is_zero())
                contributions.push_back(debit);
    }

private:
    Decimal sum(Decimal EntryContribution::*member) const
    {
        Decimal total;
        for (const EntryContribution& debit : m_debits)
            total += debit.*member;
        return total;
    }
    std::vector<EntryContribution> m_debits;
};

/// Adds each element's recoverable and expensed tax, times `factor` (-1 takes a received share
/// back), to its authority's accounts.
[[nodiscard]] std::expected<void, Error> add_taxes(Debits& debits, const QHash<QString, TaxAccounts>& accounts,
                                                   const TaxElements& taxes, const Rate& rate, int factor)
{
    for (const TaxElement& element : taxes) {
        const TaxAccounts found = accounts.value(element.tax_authority);
        if (!element.recoverable.is_zero()) {
            if (found.recoverable.isEmpty())
                return std::unexpected(Error::invalid(QStringLiteral("No Recoverable Tax Account for ") + element.tax_authority));
            debits.add(found.recoverable, element.recoverable.round2() * Decimal(factor),
                       converted(rate, element.recoverable) * Decimal(factor));
        }
        if (!element.expensed.is_zero()) {
            if (found.expensed.isEmpty())
                return std::unexpected(Error::invalid(QStringLiteral("No Expensed Tax Account for ") + element.tax_authority));
            debits.add(found.expensed, element.expensed.round2() * Decimal(factor),
                       converted(rate, element.expensed) * Decimal(factor));
        }
    }
    return {};
}

/// The amount a line adds to cost: extended cost less the tax included in it, plus the tax
/// allocated to cost.
Decimal line_amount(const BillLine& line)
{
    return (line.tax_included() ? line.extended_cost - line.tax_amount : line.extended_cost) + line.tax_allocate;
}

/// Whether two lines' taxes post alike: the same authorities, in order, with the same
/// recoverable, expensed and allocated parts, to the cent.
bool same_taxes(const TaxElements& billed, const TaxElements& received)
{
    return std::ranges::equal(billed, received, [](const TaxElement& a, const TaxElement& b) {
        return a.tax_authority == b.tax_authority && a.recoverable.round2() == b.recoverable.round2()
            && a.expensed.round2() == b.expensed.round2() && a.allocated.round2() == b.allocated.round2();
    });
}

/// Whether a receipt line is billed exactly as it was received: quantity, unit cost, rate and
/// taxes. A bill that changes the tax (another tax code, or none) posts its own.
bool at_received_cost(const BillLine& line, const Rate& bill_rate)
{
    return line.received && line.unit_cost_received && *line.unit_cost_received == line.unitcost
        && line.quantity == line.rc_quantity_open && line.quantity == line.quantity_received
        && line.received->rate == bill_rate && same_taxes(line.taxes.value_or(TaxElements{}), line.received->taxes);
}

/// The receipt line's open quantity once the bill has cleared it: what the billing leaves.
Decimal open_after(const BillLine& line)
{
    const bool closes = line.landed_item || line.complete.value_or(false) || line.quantity >= line.rc_quantity_open;
    return closes ? Decimal() : line.rc_quantity_open - line.quantity;
}

/// What the receipt credited AP suspense with for the quantity this bill clears: each part
/// (cost, each authority's recoverable and expensed tax) shared by the cumulative quantity
/// cleared, so that the bills of one receipt line add up to exactly what it received.
class ReceivedShare {
public:
    explicit ReceivedShare(const BillLine& line)
        : m_received(line.quantity_received),
          m_before(line.quantity_received - line.rc_quantity_open),
          m_after(line.quantity_received - open_after(line)),
          m_rate(line.received->rate)
    {
    }
    /// The share of one part, in document and base currency.
    std::pair<Decimal, Decimal> of(const Decimal& part) const
    {
        const Decimal amount = part.round2();
        const Decimal base = converted(m_rate, part);
        if (m_received <= Decimal())
            return {amount, base};
        return {cumulative(amount, m_after) - cumulative(amount, m_before),
                cumulative(base, m_after) - cumulative(base, m_before)};
    }

private:
    /// The part of `whole` that `cleared` of the quantity received carries.
    Decimal cumulative(const Decimal& whole, const Decimal& cleared) const
    {
        if (cleared <= Decimal())
            return Decimal();
        if (m_received <= Decimal() || cleared >= m_received)
            return whole;
        return (whole * cleared / m_received).round2();
    }
    Decimal m_received;
    Decimal m_before;
    Decimal m_after;
    Rate m_rate;
};

/// The expense lines' shares debited to the other lines, per line: document and base amounts.
std::vector<std::pair<Decimal, Decimal>> expense_shares(const Bill& bill, const Rate& rate)
{
    std::vector<std::pair<Decimal, Decimal>> shares(bill.lines.size());
    auto receives = [&](size_t index) {
        const BillLine& line = bill.lines[index];
        return line.written() && !line.landed_item && !line.extended_cost.is_zero();
    };
    auto spread_amount = [](const BillLine& line) {
        return line.tax_included() ? line.extended_cost - line.tax_amount : line.extended_cost;
    };
    for (size_t expense = 0; expense < bill.lines.size(); ++expense) {
        const BillLine& line = bill.lines[expense];
        if (!line.written() || !line.expense || line.received)
            continue;
        Decimal base;
        for (size_t index = 0; index < bill.lines.size(); ++index)
            if (index != expense && receives(index))
                base += spread_amount(bill.lines[index]);
        if (base <= Decimal())
            continue;
        const Decimal amount = line_amount(line).round2();
        const Decimal amount_in_base = converted(rate, amount);
        Decimal running;
        Decimal given;
        Decimal given_in_base;
        for (size_t index = 0; index < bill.lines.size(); ++index) {
            if (index == expense || !receives(index))
                continue;
            running += spread_amount(bill.lines[index]);
            const Decimal share = (amount * running / base).round2() - given;
            const Decimal share_in_base = (amount_in_base * running / base).round2() - given_in_base;
            given += share;
            given_in_base += share_in_base;
            shares[index].first += share;
            shares[index].second += share_in_base;
        }
        // The line itself gives away all it had.
        shares[expense].first -= amount;
        shares[expense].second -= amount_in_base;
    }
    return shares;
}

struct LinePosting {
    const Bill& bill;
    const BillAccounts& accounts;
    const QHash<QString, TaxAccounts>& tax;
    const QString& payable_account;
    const CostDifferenceAccounts& elsewhere;
};

/// A line not from a receipt: its own account, its taxes, the payable side.
[[nodiscard]] std::expected<void, Error> post_direct_line(const LinePosting& posting, const BillLine& line,
                                                          const std::pair<Decimal, Decimal>& share,
                                                          std::vector<EntryContribution>& contributions)
{
    const Rate& rate = posting.bill.header.exchange_rate;
    Debits debits;
    const Decimal amount = line_amount(line).round2();
    debits.add(line.accno, amount + share.first, converted(rate, amount) + share.second);
    if (auto added = add_taxes(debits, posting.tax, line.taxes.value_or(TaxElements{}), rate, 1); !added)
        return added;
    debits.move_into(contributions);
    contributions.push_back({posting.payable_account, -line.net_cost.round2(), -converted(rate, line.net_cost)});
    return {};
}

/// A line billed from a receipt: AP suspense with the received share, the payable side with
/// the net cost, the taxes with the bill's less the received share, the rest to its account.
/// Gives the rest in base currency (what a stock line's cost correction takes).
[[nodiscard]] std::expected<Decimal, Error> post_receipt_line(const LinePosting& posting, size_t index,
                                                              const std::pair<Decimal, Decimal>& share,
                                                              std::vector<EntryContribution>& contributions)
{
    const BillLine& line = posting.bill.lines[index];
    const Rate& rate = posting.bill.header.exchange_rate;
    const auto other = posting.elsewhere.find(index);
    const QString& rest_account = other == posting.elsewhere.end() ? line.accno : other->second;
    if (at_received_cost(line, rate)) {
        // Billed exactly as received: the payable side takes exactly what the receipt credited.
        const ReceivedShare all(line);
        Decimal amount = all.of(line.received->line_cost).first;
        Decimal base = all.of(line.received->line_cost).second;
        for (const TaxElement& element : line.received->taxes)
            for (const Decimal& part : {element.recoverable, element.expensed}) {
                amount += all.of(part).first;
                base += all.of(part).second;
            }
        contributions.push_back({posting.accounts.suspense, amount, base});
        contributions.push_back({posting.payable_account, -amount, -base});
        if (!share.first.is_zero() || !share.second.is_zero())
            contributions.push_back({rest_account, share.first, share.second});
        return share.second;
    }
    const ReceivedShare received(line);
    Debits debits;
    const auto cost = received.of(line.received->line_cost);
    debits.add(posting.accounts.suspense, cost.first, cost.second);
    for (const TaxElement& element : line.received->taxes)
        for (const Decimal& part : {element.recoverable, element.expensed}) {
            const auto taken = received.of(part);
            debits.add(posting.accounts.suspense, taken.first, taken.second);
        }
    if (auto added = add_taxes(debits, posting.tax, line.taxes.value_or(TaxElements{}), rate, 1); !added)
        return std::unexpected(added.error());
    // The received share of each tax part goes back at what the receipt converted it to.
    for (const TaxElement& element : line.received->taxes) {
        const TaxAccounts found = posting.tax.value(element.tax_authority);
        for (auto [part, account] : {std::pair{element.recoverable, found.recoverable}, {element.expensed, found.expensed}}) {
            if (part.is_zero() || account.isEmpty())
                continue;
            const auto taken = received.of(part);
            debits.add(account, -taken.first, -taken.second);
        }
    }
    const Decimal net = line.net_cost.round2();
    const Decimal net_in_base = converted(rate, line.net_cost);
    const Decimal rest = net - debits.amount() + share.first;
    const Decimal rest_in_base = net_in_base - debits.base_amount() + share.second;
    debits.add(rest_account, rest, rest_in_base);
    debits.move_into(contributions);
    contributions.push_back({posting.payable_account, -net, -net_in_base});
    return rest_in_base;
}

} // namespace

bool moves_stock_cost(const BillLine& line)
{
    return !line.receipt_no.isEmpty() && !line.landed_item && (line.itemtype.isEmpty() || line.itemtype == u"1")
        && !line.warehouse.isEmpty();
}

bool may_change_stock_cost(const Bill& bill, size_t index)
{
    const BillLine& line = bill.lines[index];
    if (!line.written() || !moves_stock_cost(line))
        return false;
    const bool spreads = std::any_of(bill.lines.begin(), bill.lines.end(),
                                     [](const BillLine& other) { return other.written() && other.expense; });
    return spreads || !at_received_cost(line, bill.header.exchange_rate);
}

std::expected<PostedBill, Error> post_vendor_bill(Database& db, const Bill& bill, const BillAccounts& accounts,
                                                  const QString& user, const CostDifferenceAccounts& elsewhere)
{
    const BillHeader& header = bill.header;
    const Settlement settlement = settlement_of(bill);
    auto payable_account = payable_side(settlement, accounts);
    if (!payable_account)
        return std::unexpected(payable_account.error());
    auto tax = tax_accounts(db, bill);
    if (!tax)
        return std::unexpected(tax.error());

    const auto shares = expense_shares(bill, header.exchange_rate);
    const LinePosting posting{bill, accounts, *tax, *payable_account, elsewhere};
    PostedBill posted;
    std::vector<EntryContribution> contributions;
    for (size_t index = 0; index < bill.lines.size(); ++index) {
        const BillLine& line = bill.lines[index];
        if (!line.written())
            continue;
        if (line.receipt_no.isEmpty()) {
            if (auto done = post_direct_line(posting, line, shares[index], contributions); !done)
                return std::unexpected(done.error());
            continue;
        }
        if (!line.received || !line.unit_cost_received)
            return std::unexpected(Error::invalid(line.itemcode + QStringLiteral(" has no unit cost received.")));
        auto rest = post_receipt_line(posting, index, shares[index], contributions);
        if (!rest)
            return std::unexpected(rest.error());
        if (moves_stock_cost(line) && !elsewhere.contains(index) && !rest->is_zero())
            posted.stock_changes.push_back({index, *rest});
    }
    if (auto settled = add_settlement(contributions, settlement, accounts, *payable_account); !settled)
        return std::unexpected(settled.error());
    auto entry = signed_entry(db, contributions, header.currency);
    if (!entry)
        return std::unexpected(entry.error());
    const JournalDocument document = bill_journal(header, QStringLiteral("PO-BILL"), header.source_form, user);
    auto journal = post_entry(db, document, entry->entry, &entry->ahead);
    if (!journal)
        return std::unexpected(journal.error());
    posted.journal = *journal;
    return posted;
}

std::expected<DocumentNumber, Error> post_bill(Database& db, const Bill& bill, const BillAccounts& accounts,
                                               const QString& user)
{
    auto posted = post_vendor_bill(db, bill, accounts, user);
    if (!posted)
        return std::unexpected(posted.error());
    return posted->journal;
}

} // namespace zelkor
