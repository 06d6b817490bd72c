#include "ledger/ledger_posting.h"

#include "core/clock.h"
#include "core/db/sql_names.h"
#include "core/fiscal_periods.h"
#include "core/master_lookups.h"
#include "ledger/ledger_accounts.h"
#include "ledger/ledger_balances.h"
#include "ledger/ledger_journal.h"

#include <QHash>
#include <QStringList>

#include <algorithm>

namespace zelkor {
namespace {

struct AllocationTarget {
    QString account;
    Decimal percent;
};
using Allocations = QHash<QString, std::vector<AllocationTarget>>;

// Everything a posting reads before it writes.
struct PostingContext {
    FiscalPeriod period;
    QString base_currency;
    QString currency; ///< the document's, never empty
    Allocations allocations;
    LedgerAccounts accounts;
    QString gain_account;
    QString loss_account;

    bool foreign() const { return currency != base_currency; }
};

/// The period a document chose, or else the one its date falls in.
[[nodiscard]] std::expected<FiscalPeriod, Error> period_of(Database& db, const std::optional<FiscalPeriod>& chosen,
                                                           const QDate& date)
{
    if (chosen)
        return *chosen;
    return fiscal_period_of(db, date);
}

Error no_account(const QString& account) { return Error::not_found(QStringLiteral("No account ") + account); }

Statement allocations_read(const QStringList& accounts)
{
    Params params;
    for (const QString& accno : accounts)
        params.emplace_back(accno);
    // An entry of no accounts has none to allocate (and IN () is no SQL).
    const QString in_list = accounts.isEmpty() ? QStringLiteral("NULL") : placeholder_list(accounts.size());
    return {QStringLiteral("SELECT allocate_accno, accno, Percent FROM Allocation_Account_table WHERE allocate_accno IN (")
                + in_list + QStringLiteral(") ORDER BY allocate_accno, id"),
            params};
}

Allocations allocations_of(const Rows& rows)
{
    Allocations allocations;
    for (const Row& row : rows)
        allocations[row.text(u"allocate_accno")].push_back({row.text(u"accno"), row.decimal(u"Percent")});
    return allocations;
}

/// Whether the read-ahead holds what a posting of `accounts` for the document reads.
bool covers(const PostingReadAhead* ahead, const JournalDocument& document, const QStringList& accounts)
{
    return ahead && ahead->company == document.company && ahead->answers.size() == 3
        && std::ranges::all_of(accounts, [&](const QString& account) { return ahead->accounts.contains(account); });
}

[[nodiscard]] std::expected<PostingContext, Error> read_context(Database& db, const JournalDocument& document,
                                                                const LedgerEntry& entry, const PostingReadAhead* ahead)
{
    PostingContext context;
    auto period = period_of(db, document.period, document.date);
    if (!period)
        return std::unexpected(period.error());
    context.period = *period;
    QStringList accounts;
    for (const EntryLine& line : entry.lines())
        accounts << line.account;
    accounts.removeDuplicates();
    // The base currency, the allocations and the entry's own accounts in one round trip, unless
    // read ahead; the chart is read again only when allocation targets or a gain or loss
    // account add to them.
    PostingReadAhead own{.company = document.company, .accounts = accounts};
    if (!covers(ahead, document, accounts)) {
        auto answers = db.select_together(posting_reads(own));
        if (!answers)
            return std::unexpected(answers.error());
        own.answers = std::move(*answers);
        ahead = &own;
    }
    const PostingReadAhead* read = ahead;
    auto base = base_currency_of(read->answers[0]);
    if (!base)
        return std::unexpected(base.error());
    context.base_currency = *base;
    context.currency = document.currency.isEmpty() ? *base : document.currency;
    context.allocations = allocations_of(read->answers[1]);
    for (const auto& targets : std::as_const(context.allocations))
        for (const AllocationTarget& target : targets)
            accounts << target.account;
    if (context.foreign()) {
        for (auto [parameter, account] : {std::pair{Parameter::RealizedGain, &context.gain_account},
                                          std::pair{Parameter::RealizedLoss, &context.loss_account}}) {
            auto found = module_parameter(db, parameter);
            if (!found)
                return std::unexpected(found.error());
            *account = found->value_or(QString());
            if (!account->isEmpty())
                accounts << *account;
        }
    }
    if (std::ranges::all_of(accounts, [&](const QString& account) { return read->accounts.contains(account); })) {
        context.accounts = ledger_accounts_of(read->answers[2]);
        return context;
    }
    auto chart = load_ledger_accounts(db, accounts);
    if (!chart)
        return std::unexpected(chart.error());
    context.accounts = std::move(*chart);
    return context;
}

[[nodiscard]] std::expected<JournalLine, Error> journal_line(const PostingContext& context, const JournalDocument& document,
                                               const EntryLine& gathered, const QString& account,
                                               const Decimal& amount, const Decimal& base_amount,
                                               std::optional<Decimal> percent)
{
    const LedgerAccount* chart = context.accounts.find(account);
    if (!chart)
        return std::unexpected(no_account(account));
    const QString currency = gathered.currency.isEmpty() ? context.currency : gathered.currency;
    const bool foreign = currency != context.base_currency;
    return JournalLine{account,
                       chart->codes,
                       currency,
                       foreign ? ForeignLedger : BaseLedger,
                       gathered.vendor_no.isEmpty() ? document.vendor_no : gathered.vendor_no,
                       amount,
                       base_amount,
                       percent,
                       foreign ? document.exchange_rate : std::nullopt};
}

// Spreads a gathered line over the targets of its allocation account by percent. Each share
// is rounded to cents, so the shares alone need not add up to the line (50 % of 0.05 twice
// gives 0.02 + 0.02); the last target takes the line less the shares before it, which keeps
// the entry balanced to the cent.
[[nodiscard]] std::expected<void, Error> split_line(const PostingContext& context, const JournalDocument& document,
                                      const EntryLine& gathered, const std::vector<AllocationTarget>& targets,
                                      std::vector<JournalLine>& lines)
{
    Decimal total_percent;
    for (const AllocationTarget& target : targets)
        total_percent += target.percent;
    if (total_percent != Decimal(100))
        return std::unexpected(Error::invalid(QStringLiteral("The allocation of account ") + gathered.account
                                              + QStringLiteral(" adds up to ") + total_percent.to_string()
                                              + QStringLiteral(" %, not 100 %.")));
    Decimal given_amount, given_base;
    for (size_t i = 0; i < targets.size(); ++i) {
        const bool last = i + 1 == targets.size();
        const Decimal share = targets[i].percent / Decimal(100);
        const Decimal amount = last ? gathered.amount - given_amount : (gathered.amount * share).round2();
        const Decimal base = last ? gathered.base_amount - given_base : (gathered.base_amount * share).round2();
        auto line = journal_line(context, document, gathered, targets[i].account, amount, base, targets[i].percent);
        if (!line)
            return std::unexpected(line.error());
        lines.push_back(*line);
        given_amount += amount;
        given_base += base;
    }
    return {};
}

[[nodiscard]] std::expected<std::vector<JournalLine>, Error> written_lines(const PostingContext& context,
                                                             const JournalDocument& document, const LedgerEntry& entry)
{
    std::vector<JournalLine> lines;
    for (const EntryLine& gathered : entry.lines()) {
        auto targets = context.allocations.constFind(gathered.account);
        if (targets != context.allocations.constEnd()) {
            if (auto split = split_line(context, document, gathered, *targets, lines); !split)
                return std::unexpected(split.error());
            continue;
        }
        auto line = journal_line(context, document, gathered, gathered.account, gathered.amount,
                                 gathered.base_amount, std::nullopt);
        if (!line)
            return std::unexpected(line.error());
        lines.push_back(*line);
    }
    return lines;
}

// The debit-positive total of the lines' base amounts, rounded to cents after every addition.
Decimal base_total(const LedgerAccounts& accounts, const std::vector<JournalLine>& lines)
{
    Decimal total;
    for (const JournalLine& line : lines)
        total = (total + line.base_amount * Decimal(accounts.find(line.account)->sign())).round2();
    return total;
}

// Converting each line at the document rate can leave a foreign-currency entry a few cents
// off in base currency; the difference is realized exchange gain or loss.
[[nodiscard]] std::expected<void, Error> add_exchange_difference(const PostingContext& context, std::vector<JournalLine>& lines)
{
    const Decimal total = base_total(context.accounts, lines);
    if (total.is_zero() || total.abs() >= Decimal(1))
        return {};
    const QString& account = total.is_negative() ? context.loss_account : context.gain_account;
    if (account.isEmpty())
        return std::unexpected(Error::not_found(total.is_negative() ? QStringLiteral("GL realized loss account has not been set")
                                                                    : QStringLiteral("GL realized gain account has not been set")));
    const LedgerAccount* chart = context.accounts.find(account);
    if (!chart)
        return std::unexpected(no_account(account));
    const Decimal amount = -total * Decimal(chart->sign());
    lines.push_back(JournalLine{account, chart->codes, context.base_currency, BaseLedger, {}, amount, amount,
                                std::nullopt, std::nullopt});
    return {};
}

[[nodiscard]] std::expected<void, Error> check_balance(const LedgerAccounts& accounts, const std::vector<JournalLine>& lines)
{
    for (const JournalLine& line : lines)
        if (accounts.find(line.account)->inactive)
            return std::unexpected(
                Error::invalid(QStringLiteral("Account ") + line.account + QStringLiteral(" is inactive.")));
    if (!base_total(accounts, lines).is_zero())
        return std::unexpected(Error::invalid(QStringLiteral("Document is not balance (debit <> credit)")));
    return {};
}

JournalStamp stamp_of(int company, const DocumentNumber& number, const QDate& date, const FiscalPeriod& period,
                      const QString& source, const QString& source_form, const QString& source_docno,
                      const QString& user)
{
    return JournalStamp{company, number.docno, number.fkey, date, period, source, source_form, source_docno,
                        user, Clock::today(), Clock::time_text()};
}

[[nodiscard]] std::expected<void, Error> write_entry(Database& db, const JournalStamp& stamp, const JournalHeaderText& header,
                                       const BalanceScope& scope, const std::vector<JournalLine>& lines)
{
    if (auto done = insert_journal_header(db, stamp, header); !done)
        return done;
    if (auto done = insert_journal_lines(db, stamp, lines); !done)
        return done;
    return update_balances(db, scope, lines);
}

} // namespace

std::vector<Statement> posting_reads(const PostingReadAhead& ahead)
{
    return {base_currency_read(ahead.company), allocations_read(ahead.accounts), ledger_accounts_read(ahead.accounts)};
}

[[nodiscard]] std::expected<DocumentNumber, Error> post_entry(Database& db, const JournalDocument& document, const LedgerEntry& entry,
                                                              const PostingReadAhead* ahead)
{
    Q_ASSERT_X(db.in_transaction(), "post_entry", "a journal entry is written inside its document's save");
    if (entry.empty())
        return DocumentNumber{};
    if (auto fits = entry.check_size(); !fits)
        return std::unexpected(fits.error());
    auto context = read_context(db, document, entry, ahead);
    if (!context)
        return std::unexpected(context.error());
    auto lines = written_lines(*context, document, entry);
    if (!lines)
        return std::unexpected(lines.error());
    if (context->foreign())
        if (auto added = add_exchange_difference(*context, *lines); !added)
            return std::unexpected(added.error());
    if (auto balanced = check_balance(context->accounts, *lines); !balanced)
        return std::unexpected(balanced.error());
    auto number = issue_document_number(db, QStringLiteral("gl"), context->period.fiscal_year, document.company);
    if (!number)
        return std::unexpected(number.error());
    const JournalStamp stamp = stamp_of(document.company, *number, document.date, context->period, document.source,
                                        document.source_form, document.source_docno, document.user);
    const JournalHeaderText header{document.description, document.remark, context->currency, document.exchange_rate,
                                   false};
    const BalanceScope scope{document.company, context->period, context->base_currency, &context->accounts};
    if (auto written = write_entry(db, stamp, header, scope, *lines); !written)
        return std::unexpected(written.error());
    return *number;
}

namespace {

std::vector<JournalLine> negated_lines(const Rows& rows)
{
    std::vector<JournalLine> lines;
    lines.reserve(rows.size());
    for (const Row& row : rows) {
        JournalLine line;
        line.account = row.text(u"accno");
        for (size_t i = 0; i < line.codes.size(); ++i)
            line.codes[i] = row.text(account_code_columns()[i]);
        line.currency = row.text(u"currency");
        line.ledgertype = row.text(u"ledgertype");
        line.vendor_no = row.text(u"vendor_no");
        line.amount = -row.decimal(u"amount");
        line.base_amount = -row.decimal(u"base_amount");
        line.percent = row.decimal_or_null(u"Percent");
        line.exchange_rate = row.decimal_or_null(u"exchange_rate");
        lines.push_back(line);
    }
    return lines;
}

} // namespace

[[nodiscard]] std::expected<std::optional<DocumentNumber>, Error> reverse_entry(Database& db, const QString& fkey,
                                                                  const Reversal& reversal)
{
    Q_ASSERT_X(db.in_transaction(), "reverse_entry", "a reversal is written inside its document's save");
    auto reversed = db.first(QStringLiteral("SELECT * FROM GL_header_table WHERE fkey = ?"), {fkey});
    if (!reversed)
        return std::unexpected(reversed.error());
    if (!*reversed)
        return std::optional<DocumentNumber>();
    const Row& old = **reversed;
    if (old.flag(u"Reverse"))
        return std::unexpected(Error::invalid(QStringLiteral("Journal entry ") + old.text(u"docno")
                                              + QStringLiteral(" is already reversed.")));
    auto rows = db.select(QStringLiteral("SELECT * FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno"), {fkey});
    if (!rows)
        return std::unexpected(rows.error());
    const int company = static_cast<int>(old.integer(u"company"));
    auto period = period_of(db, reversal.period, reversal.date);
    if (!period)
        return std::unexpected(period.error());
    auto base = ledger_base_currency(db, company);
    if (!base)
        return std::unexpected(base.error());
    const std::vector<JournalLine> lines = negated_lines(*rows);
    QStringList accounts;
    for (const JournalLine& line : lines)
        accounts << line.account;
    auto chart = load_ledger_accounts(db, accounts);
    if (!chart)
        return std::unexpected(chart.error());
    for (const JournalLine& line : lines)
        if (!chart->find(line.account))
            return std::unexpected(no_account(line.account));
    auto number = issue_document_number(db, QStringLiteral("gl"), period->fiscal_year, company);
    if (!number)
        return std::unexpected(number.error());
    const JournalStamp stamp = stamp_of(company, *number, reversal.date, *period, reversal.source,
                                        reversal.source_form, reversal.source_docno, reversal.user);
    const JournalHeaderText header{reversal.description, QStringLiteral("Reverse GL ") + old.text(u"docno"),
                                   old.text(u"currency"), old.decimal_or_null(u"exchange_rate"), true};
    const BalanceScope scope{company, *period, *base, &*chart};
    if (auto written = write_entry(db, stamp, header, scope, lines); !written)
        return std::unexpected(written.error());
    UpdateRow mark(QStringLiteral("GL_header_table"));
    mark.set(u"Reverse", true).set(u"remark", QStringLiteral("Reversed by ") + number->docno);
    if (!reversal.reversed_description.isEmpty())
        mark.set(u"Description", reversal.reversed_description);
    auto marked = mark.where(QStringLiteral("fkey = ?"), {fkey}).execute(db);
    if (!marked)
        return std::unexpected(marked.error());
    return std::optional<DocumentNumber>(*number);
}

} // namespace zelkor
