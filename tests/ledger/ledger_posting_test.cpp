#include "core/db/lock_order.h"
#include "ledger/ledger_invariants.h"
#include "ledger/ledger_posting.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::TestDatabase;

// Posts journal entries into the fixture company (base currency USD, EUR at 1.25 in 2026)
// and reads back what the ledger holds.
class LedgerPosting : public ::testing::Test {
protected:
    static JournalDocument document(const QString& currency = QStringLiteral("USD"),
                                    std::optional<Decimal> rate = std::nullopt)
    {
        JournalDocument d;
        d.description = QStringLiteral("Bill VI-26-00007");
        d.remark = QStringLiteral("Invoice no. INV-7");
        d.source = QStringLiteral("PO-BILL");
        d.source_form = QStringLiteral("P/O Bill Entry");
        d.source_docno = QStringLiteral("VI-26-00007");
        d.date = QDate(2026, 3, 15);
        d.currency = currency;
        d.exchange_rate = rate;
        d.vendor_no = QStringLiteral("V100");
        d.user = QStringLiteral("ADMIN");
        return d;
    }

    // One save: post inside a transaction and commit, as a document window does.
    [[nodiscard]] std::expected<DocumentNumber, Error> save(const LedgerEntry& entry, const JournalDocument& d = document())
    {
        Transaction tx(db());
        auto posted = post_entry(db(), d, entry);
        if (!posted)
            return posted;
        if (auto committed = tx.commit(); !committed)
            return std::unexpected(committed.error());
        return posted;
    }

    [[nodiscard]] std::expected<std::optional<DocumentNumber>, Error> reverse(const QString& fkey)
    {
        Reversal r{QStringLiteral("void invoice VI-26-00007"), QStringLiteral("Void invoice VI-26-00007"),
                   QStringLiteral("PO-BILL"), QStringLiteral("P/O Bill Entry"), QStringLiteral("VI-26-00007"),
                   QDate(2026, 4, 2), QStringLiteral("ADMIN")};
        Transaction tx(db());
        auto reversed = reverse_entry(db(), fkey, r);
        if (reversed)
            if (auto committed = tx.commit(); !committed)
                return std::unexpected(committed.error());
        return reversed;
    }

    Decimal balance(const QString& accno, const QString& ledgertype = QStringLiteral("A"),
                    const QString& currency = QStringLiteral("USD"), const QString& column = QStringLiteral("amount"))
    {
        return t.decimal(QStringLiteral("SELECT ") + column
                             + QStringLiteral(" FROM Balance_table WHERE ledgertype = ? AND accno = ? AND currency = ?"),
                         {ledgertype, accno, currency});
    }

    Decimal period_balance(const QString& accno, const QString& column, const QString& ledgertype = QStringLiteral("A"),
                           const QString& currency = QStringLiteral("USD"))
    {
        return t.decimal(QStringLiteral("SELECT ") + column
                             + QStringLiteral(" FROM Balance_period_table WHERE fyear = '2026' AND ledgertype = ?"
                                              " AND accno = ? AND currency = ?"),
                         {ledgertype, accno, currency});
    }

    // Every figure the ledger keeps, to compare the whole state before and after.
    QStringList ledger_state()
    {
        QStringList state;
        auto read = [&](const QString& sql) {
            auto rows = db().select(sql);
            EXPECT_TRUE(rows);
            for (const Row& row : *rows) {
                QStringList values;
                for (int i = 0; i < row.size(); ++i)
                    values << Row::to_text(row.value(i));
                state << values.join(u'|');
            }
        };
        read(QStringLiteral("SELECT * FROM Balance_table ORDER BY ledgertype, accno, currency"));
        read(QStringLiteral("SELECT * FROM Balance_period_table ORDER BY fyear, ledgertype, accno, currency"));
        read(QStringLiteral("SELECT * FROM Account_currency_table ORDER BY accno, currency"));
        read(QStringLiteral("SELECT * FROM Docno_master_table WHERE doctype = 'gl' ORDER BY fiscalyear"));
        read(QStringLiteral("SELECT * FROM Next_number_fkey_table WHERE doctype = 'gl'"));
        state << QString::number(t.count(QStringLiteral("GL_header_table")))
              << QString::number(t.count(QStringLiteral("GL_transaction_table")));
        return state;
    }

    QStringList nonzero_balances()
    {
        QStringList figures;
        auto rows = db().select(QStringLiteral("SELECT ledgertype, accno, currency, amount, base_amount FROM Balance_table"
                                               " ORDER BY ledgertype, accno, currency"));
        EXPECT_TRUE(rows);
        for (const Row& row : *rows)
            if (!row.decimal(u"amount").is_zero() || !row.decimal(u"base_amount").is_zero())
                figures << row.text(u"ledgertype") + u' ' + row.text(u"accno") + u' ' + row.text(u"currency") + u' '
                        + row.decimal(u"amount").to_fixed(2) + u' ' + row.decimal(u"base_amount").to_fixed(2);
        return figures;
    }

    // The ledger's own rules: these entries post to payable and clearing accounts without the
    // documents (payables, receipts) the module's other rules would look for.
    void expect_consistent()
    {
        auto violations = check_invariants(db(), ledger_invariant_checks());
        ASSERT_TRUE(violations) << violations.error().detail.toStdString();
        EXPECT_EQ(*violations, QStringList());
    }

    Database& db() { return t.db(); }

    TestDatabase t;
};

TEST_F(LedgerPosting, PostsEntryWithLinesBalancesAndCurrentEarnings)
{
    LedgerEntry entry;
    entry.add(QStringLiteral("6000"), Decimal("60.004"), Decimal("60.004"), QStringLiteral("USD"));
    entry.add(QStringLiteral("1400"), Decimal("7.50"), Decimal("7.50"), QStringLiteral("USD"));
    entry.add(QStringLiteral("6000"), Decimal("40"), Decimal("40"), QStringLiteral("USD"));
    entry.add(QStringLiteral("2050"), Decimal("107.50"), Decimal("107.50"), QStringLiteral("USD"));
    ASSERT_EQ(entry.size(), 3); // the two 6000 lines became one

    auto posted = save(entry);
    ASSERT_TRUE(posted) << posted.error().message.toStdString();
    EXPECT_EQ(posted->docno, QStringLiteral("GL-26-00001"));
    EXPECT_EQ(posted->fkey, QStringLiteral("1gl-1"));

    auto header = db().first(QStringLiteral("SELECT * FROM GL_header_table WHERE fkey = ?"), {posted->fkey});
    ASSERT_TRUE(header && *header);
    EXPECT_EQ((*header)->text(u"Source"), QStringLiteral("PO-BILL"));
    EXPECT_EQ((*header)->text(u"remark"), QStringLiteral("Invoice no. INV-7"));
    EXPECT_EQ((*header)->integer(u"period"), 3);
    EXPECT_EQ((*header)->text(u"fyear"), QStringLiteral("2026"));
    EXPECT_FALSE((*header)->flag(u"Reverse"));

    EXPECT_EQ(t.text(QStringLiteral("SELECT accno || ' ' || acccode || ' ' || ledgertype || ' ' || vendor_no"
                                    " FROM GL_transaction_table WHERE lineno = 1")),
              QStringLiteral("6000 6000 A V100"));
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT amount FROM GL_transaction_table WHERE lineno = 1")), Decimal("100.00"));
    EXPECT_EQ(t.count(QStringLiteral("GL_transaction_table WHERE fkey = '1gl-1'")), 3);

    EXPECT_EQ(balance(QStringLiteral("6000")), Decimal("100.00"));
    EXPECT_EQ(balance(QStringLiteral("2050")), Decimal("107.50"));
    EXPECT_EQ(balance(QStringLiteral("3900")), Decimal("100.00")); // current earnings follows the expense
    EXPECT_EQ(period_balance(QStringLiteral("2050"), QStringLiteral("period3")), Decimal("107.50"));
    EXPECT_EQ(period_balance(QStringLiteral("2050"), QStringLiteral("e_period3")), Decimal("107.50"));
    EXPECT_EQ(period_balance(QStringLiteral("3900"), QStringLiteral("period3")), Decimal("100.00"));
    expect_consistent();

    // The next entry takes the next number.
    auto second = save(entry);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->docno, QStringLiteral("GL-26-00002"));
    EXPECT_EQ(balance(QStringLiteral("6000")), Decimal("200.00"));
    expect_consistent();
}

TEST_F(LedgerPosting, RefusedEntryLeavesNothingBehind)
{
    const QStringList before = ledger_state();
    auto refused = [&](const LedgerEntry& entry, const JournalDocument& d = document()) {
        auto posted = save(entry, d);
        EXPECT_EQ(ledger_state(), before);
        return posted ? QString() : posted.error().message;
    };

    LedgerEntry unbalanced;
    unbalanced.add(QStringLiteral("6000"), Decimal("10.01"), Decimal("10.01"), QStringLiteral("USD"));
    unbalanced.add(QStringLiteral("2050"), Decimal("10.00"), Decimal("10.00"), QStringLiteral("USD"));
    EXPECT_EQ(refused(unbalanced), QStringLiteral("Document is not balance (debit <> credit)"));

    LedgerEntry inactive;
    inactive.add(QStringLiteral("6900"), Decimal("10"), Decimal("10"), QStringLiteral("USD"));
    inactive.add(QStringLiteral("2050"), Decimal("10"), Decimal("10"), QStringLiteral("USD"));
    EXPECT_EQ(refused(inactive), QStringLiteral("Account 6900 is inactive."));

    LedgerEntry unknown;
    unknown.add(QStringLiteral("9999"), Decimal("10"), Decimal("10"), QStringLiteral("USD"));
    unknown.add(QStringLiteral("2050"), Decimal("10"), Decimal("10"), QStringLiteral("USD"));
    EXPECT_EQ(refused(unknown), QStringLiteral("No account 9999"));

    // Fifty-one lines: fifty-one vendors' payables on one account.
    LedgerEntry too_long;
    for (int vendor = 1; vendor <= 51; ++vendor)
        too_long.add(QStringLiteral("2000"), Decimal(1), Decimal(1), QStringLiteral("USD"), QString::number(vendor));
    EXPECT_EQ(refused(too_long),
              QStringLiteral("The journal entry needs 51 lines; a journal entry holds at most 50. "
                             "Split the document into smaller ones."));

    LedgerEntry fifty;
    for (int vendor = 1; vendor <= 49; ++vendor)
        fifty.add(QStringLiteral("2000"), Decimal(1), Decimal(1), QStringLiteral("USD"), QString::number(vendor));
    fifty.add(QStringLiteral("6000"), Decimal(49), Decimal(49), QStringLiteral("USD"));
    EXPECT_TRUE(save(fifty));
    EXPECT_EQ(t.count(QStringLiteral("GL_transaction_table")), 50);
    expect_consistent();
}

TEST_F(LedgerPosting, MissingLedgerRowsStopThePostingWithTheirMessage)
{
    LedgerEntry expense;
    expense.add(QStringLiteral("6000"), Decimal("10"), Decimal("10"), QStringLiteral("USD"));
    expense.add(QStringLiteral("2050"), Decimal("10"), Decimal("10"), QStringLiteral("USD"));
    auto message_after = [&](const QString& removal, const LedgerEntry& entry, const JournalDocument& d) {
        Transaction tx(db());
        {
            const LockOrderRecorder::SetUp removing;
            EXPECT_TRUE(db().execute(removal));
        }
        auto posted = post_entry(db(), d, entry);
        return posted ? QString() : posted.error().message;
    };
    EXPECT_EQ(message_after(QStringLiteral("DELETE FROM Balance_table WHERE accno = '3900'"), expense, document()),
              QStringLiteral("Error : No Current Retained Earning account 3900 in Account Balance"));
    EXPECT_EQ(message_after(QStringLiteral("UPDATE Account_master_table SET type = 'A' WHERE accno = '3900'"), expense,
                            document()),
              QStringLiteral("Current Earnings account (account type X) has not been set in Account Master"));
    EXPECT_EQ(message_after(QStringLiteral("DELETE FROM Balance_table WHERE accno = '2050'"), expense, document()),
              QStringLiteral("Error! 2050 does not exist"));
    EXPECT_EQ(message_after(QStringLiteral("DELETE FROM Balance_period_table WHERE accno = '6000' AND fyear = '2026'"),
                            expense, document()),
              QStringLiteral("No account 6000 in fiscal year 2026"));
    EXPECT_EQ(message_after(QStringLiteral("DELETE FROM Balance_period_table WHERE accno = '3900' AND fyear = '2026'"),
                            expense, document()),
              QStringLiteral("Error : No Retained Earning account 3900 in Account Balance Period."));

    LedgerEntry foreign;
    foreign.add(QStringLiteral("6000"), Decimal("10"), Decimal("12.50"), QStringLiteral("EUR"));
    foreign.add(QStringLiteral("2010"), Decimal("10"), Decimal("12.50"), QStringLiteral("EUR"));
    EXPECT_EQ(message_after(QStringLiteral("DELETE FROM Balance_period_table WHERE ledgertype = 'A'"), foreign,
                            document(QStringLiteral("EUR"), Decimal("1.25"))),
              QStringLiteral("Error : no account balance\nAccount 6000 has not been set for currency EUR"));
    EXPECT_EQ(message_after(QStringLiteral("DELETE FROM Balance_table WHERE ledgertype = 'F'"), foreign,
                            document(QStringLiteral("EUR"), Decimal("1.25"))),
              QStringLiteral("Error! account 2010 has not been set for EUR currency"));
    expect_consistent();
}

TEST_F(LedgerPosting, ForeignEntryOpensCurrencyAndBalancesSmallExchangeDifference)
{
    // 100 EUR of supplies converted at another rate than the payable: 0.73 short in base currency.
    LedgerEntry entry;
    entry.add(QStringLiteral("6000"), Decimal("100"), Decimal("124.27"), QStringLiteral("EUR"));
    entry.add(QStringLiteral("2010"), Decimal("100"), Decimal("125.00"), QStringLiteral("EUR"), QStringLiteral("V300"));
    auto posted = save(entry, document(QStringLiteral("EUR"), Decimal("1.25")));
    ASSERT_TRUE(posted) << posted.error().message.toStdString();

    EXPECT_EQ(t.count(QStringLiteral("Account_currency_table WHERE accno = '6000' AND currency = 'EUR'")), 1);
    EXPECT_EQ(t.count(QStringLiteral("Balance_period_table WHERE accno = '6000' AND currency = 'EUR'")), 6); // F and E, 2025-2027
    EXPECT_EQ(balance(QStringLiteral("6000"), QStringLiteral("F"), QStringLiteral("EUR")), Decimal("100.00"));
    EXPECT_EQ(balance(QStringLiteral("6000"), QStringLiteral("F"), QStringLiteral("EUR"), QStringLiteral("base_amount")),
              Decimal("124.27"));
    EXPECT_EQ(balance(QStringLiteral("6000")), Decimal("124.27"));
    EXPECT_EQ(balance(QStringLiteral("6300")), Decimal("0.73")); // realized loss
    EXPECT_EQ(balance(QStringLiteral("3900")), Decimal("125.00"));
    EXPECT_EQ(t.text(QStringLiteral("SELECT accno || ' ' || ledgertype || ' ' || currency FROM GL_transaction_table"
                                    " WHERE lineno = 3")),
              QStringLiteral("6300 A USD"));
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT exchange_rate FROM GL_transaction_table WHERE lineno = 1")),
              Decimal("1.25"));
    expect_consistent();

    // 0.73 the other way is a realized gain.
    LedgerEntry gain;
    gain.add(QStringLiteral("6000"), Decimal("100"), Decimal("125.73"), QStringLiteral("EUR"));
    gain.add(QStringLiteral("2010"), Decimal("100"), Decimal("125.00"), QStringLiteral("EUR"));
    ASSERT_TRUE(save(gain, document(QStringLiteral("EUR"), Decimal("1.25"))));
    EXPECT_EQ(balance(QStringLiteral("4200")), Decimal("0.73"));
    expect_consistent();

    // 1.20 off is not an exchange difference: the entry is refused.
    LedgerEntry off;
    off.add(QStringLiteral("6000"), Decimal("100"), Decimal("123.80"), QStringLiteral("EUR"));
    off.add(QStringLiteral("2010"), Decimal("100"), Decimal("125.00"), QStringLiteral("EUR"));
    auto refused = save(off, document(QStringLiteral("EUR"), Decimal("1.25")));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, QStringLiteral("Document is not balance (debit <> credit)"));
    expect_consistent();
}

TEST_F(LedgerPosting, AllocationSpreadsByPercentAndKeepsEveryCent)
{
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Allocation_Account_table (allocate_accno, accno, Percent)"
                                            " VALUES ('5200', '6510', 50), ('5200', '6520', 50)")));
    LedgerEntry entry;
    entry.add(QStringLiteral("6500"), Decimal("100.01"), Decimal("100.01"), QStringLiteral("USD"));
    entry.add(QStringLiteral("5200"), Decimal("0.05"), Decimal("0.05"), QStringLiteral("USD"));
    entry.add(QStringLiteral("2050"), Decimal("100.06"), Decimal("100.06"), QStringLiteral("USD"));
    ASSERT_TRUE(save(entry));

    // 6500: 60 % and 40 %; 5200: half of 0.05 rounds to 0.02 twice, the last share takes 0.03.
    auto lines = db().select(QStringLiteral("SELECT accno, amount, Percent FROM GL_transaction_table ORDER BY lineno"));
    ASSERT_TRUE(lines);
    QStringList written;
    for (const Row& line : *lines)
        written << line.text(u"accno") + u' ' + line.decimal(u"amount").to_fixed(2) + u' '
                + line.decimal(u"Percent").to_string();
    EXPECT_EQ(written, (QStringList{"6510 60.01 60", "6520 40.00 40", "6510 0.02 50", "6520 0.03 50", "2050 100.06 0"}));
    EXPECT_EQ(balance(QStringLiteral("6500")), Decimal(0));
    EXPECT_EQ(balance(QStringLiteral("6510")), Decimal("60.03"));
    expect_consistent();

    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Allocation_Account_table SET Percent = 30 WHERE accno = '6520'"
                                            " AND allocate_accno = '5200'")));
    auto refused = save(entry);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, QStringLiteral("The allocation of account 5200 adds up to 80 %, not 100 %."));
}

TEST_F(LedgerPosting, ReversalRestoresEveryBalanceExactly)
{
    LedgerEntry earlier;
    earlier.add(QStringLiteral("1300"), Decimal("500"), Decimal("500"), QStringLiteral("USD"));
    earlier.add(QStringLiteral("2050"), Decimal("500"), Decimal("500"), QStringLiteral("USD"));
    ASSERT_TRUE(save(earlier));
    const QStringList before = nonzero_balances();
    ASSERT_EQ(before.size(), 2); // 1300 and 2050; balance-sheet accounts leave current earnings alone

    LedgerEntry entry;
    entry.add(QStringLiteral("6500"), Decimal("33.33"), Decimal("41.66"), QStringLiteral("EUR"));
    entry.add(QStringLiteral("1300"), Decimal("10"), Decimal("12.50"), QStringLiteral("EUR"));
    entry.add(QStringLiteral("2010"), Decimal("43.33"), Decimal("54.16"), QStringLiteral("EUR"), QStringLiteral("V300"));
    auto posted = save(entry, document(QStringLiteral("EUR"), Decimal("1.25")));
    ASSERT_TRUE(posted) << posted.error().message.toStdString();

    auto reversal = reverse(posted->fkey);
    ASSERT_TRUE(reversal) << reversal.error().message.toStdString();
    ASSERT_TRUE(*reversal);
    EXPECT_EQ((*reversal)->docno, QStringLiteral("GL-26-00003"));

    EXPECT_EQ(nonzero_balances(), before);
    EXPECT_EQ(balance(QStringLiteral("6510"), QStringLiteral("F"), QStringLiteral("EUR")), Decimal(0));
    EXPECT_EQ(balance(QStringLiteral("3900")), Decimal(0));
    EXPECT_EQ(period_balance(QStringLiteral("6510"), QStringLiteral("period3")), Decimal("25.00"));
    EXPECT_EQ(period_balance(QStringLiteral("6510"), QStringLiteral("period4")), Decimal("-25.00"));

    EXPECT_EQ(t.text(QStringLiteral("SELECT remark FROM GL_header_table WHERE fkey = ?"), {posted->fkey}),
              QStringLiteral("Reversed by GL-26-00003"));
    EXPECT_EQ(t.text(QStringLiteral("SELECT Description FROM GL_header_table WHERE fkey = ?"), {posted->fkey}),
              QStringLiteral("Void invoice VI-26-00007"));
    EXPECT_EQ(t.text(QStringLiteral("SELECT remark FROM GL_header_table WHERE fkey = ?"), {(*reversal)->fkey}),
              QStringLiteral("Reverse GL GL-26-00002"));
    EXPECT_EQ(t.count(QStringLiteral("GL_header_table WHERE Reverse = TRUE")), 2);
    expect_consistent();

    auto again = reverse(posted->fkey);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().message, QStringLiteral("Journal entry GL-26-00002 is already reversed."));
    auto nothing = reverse(QStringLiteral("1gl-999"));
    ASSERT_TRUE(nothing);
    EXPECT_FALSE(*nothing);
}

TEST_F(LedgerPosting, FailureAtAnyStatementLeavesNothingBehind)
{
    // A foreign entry that opens a currency, spreads an allocation and needs a balancing line
    // runs every kind of statement a posting has.
    LedgerEntry entry;
    entry.add(QStringLiteral("6500"), Decimal("80"), Decimal("99.99"), QStringLiteral("EUR"));
    entry.add(QStringLiteral("1400"), Decimal("20"), Decimal("25.00"), QStringLiteral("EUR"));
    entry.add(QStringLiteral("2010"), Decimal("100"), Decimal("125.00"), QStringLiteral("EUR"), QStringLiteral("V300"));
    const JournalDocument d = document(QStringLiteral("EUR"), Decimal("1.25"));
    const QStringList before = ledger_state();

    int failures = 0;
    for (int n = 1;; ++n) {
        {
            Transaction tx(db());
            db().fail_statement(n);
            auto posted = post_entry(db(), d, entry);
            if (posted) {
                db().fail_statement(0);
                break; // the posting ran out of statements before the n-th
            }
            EXPECT_EQ(posted.error().kind, Error::Kind::Database) << "statement " << n;
            ++failures;
        }
        ASSERT_EQ(ledger_state(), before) << "after a failure at statement " << n;
    }
    EXPECT_GT(failures, 10);
    expect_consistent();
    ASSERT_TRUE(save(entry, d));
    expect_consistent();
}

TEST_F(LedgerPosting, InvariantCheckerNamesEachInconsistency)
{
    LedgerEntry entry;
    entry.add(QStringLiteral("6000"), Decimal("10"), Decimal("10"), QStringLiteral("USD"));
    entry.add(QStringLiteral("2050"), Decimal("10"), Decimal("10"), QStringLiteral("USD"));
    auto posted = save(entry);
    ASSERT_TRUE(posted);
    auto reversal = reverse(posted->fkey);
    ASSERT_TRUE(reversal && *reversal);
    expect_consistent();

    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE GL_transaction_table SET amount = 10.01, base_amount = 10.01"
                                            " WHERE fkey = ? AND accno = '2050'"),
                             {posted->fkey}));
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Balance_table SET base_amount = 0.5 WHERE accno = '1000'")));
    auto violations = check_invariants(db(), ledger_invariant_checks());
    ASSERT_TRUE(violations);
    EXPECT_EQ(*violations,
              (QStringList{
                  "journal entries balance: entry GL-26-00001 (1gl-1) does not balance: debits less credits are -0.01",
                  "balances match the journal: balance 1 A 1000 USD holds 0.00 (base 0.50), its journal lines give 0.00 "
                  "(base 0.00)",
                  "balances match the journal: balance 1 A 2050 USD holds 0.00 (base 0.00), its journal lines give 0.01 "
                  "(base 0.01)",
                  "period balances match the journal: period balance 1 2026 A 2050 USD period3 holds 10.00 (base 10.00), "
                  "its journal lines give 10.01 (base 10.01)",
                  "reversals cancel: entry GL-26-00001 and its reversal GL-26-00002 do not cancel on account 2050 USD",
              }));
}

} // namespace
} // namespace zelkor
