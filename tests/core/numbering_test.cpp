#include "core/db/sql_names.h"
#include "core/fiscal_periods.h"
#include "core/numbering.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <optional>

namespace zelkor {
namespace {

using testing::Contents;
using testing::TestDatabase;

const QString Year = QStringLiteral("2006");

class Numbering : public ::testing::Test {
protected:
    void SetUp() override
    {
        set_layout(QStringLiteral("1"), 2, true, true);
        add_format(QStringLiteral("pr"), QStringLiteral("PR"), 5);
        add_format(QStringLiteral("gl"), QStringLiteral("GL"), 5);
        add_counters(QStringLiteral("pr"), Year, 57, 12);
        add_counters(QStringLiteral("gl"), Year, 1, 1);
    }

    void set_layout(std::optional<QString> structure, int fyear_digit, bool separator1, bool separator2)
    {
        ASSERT_TRUE(t.db().execute(QStringLiteral("DELETE FROM Next_number_config_table")));
        ASSERT_TRUE(InsertRow(QStringLiteral("Next_number_config_table"))
                        .set(u"company", 1)
                        .set(u"structure", structure)
                        .set(u"fyear_digit", fyear_digit)
                        .set(u"seperator1", separator1)
                        .set(u"seperator2", separator2)
                        .execute(t.db()));
    }

    void add_format(const QString& doctype, const QString& prefix, std::optional<int> width)
    {
        ASSERT_TRUE(t.db().execute(QStringLiteral("DELETE FROM Next_number_format_table WHERE doctype = ?"), {doctype}));
        ASSERT_TRUE(InsertRow(QStringLiteral("Next_number_format_table"))
                        .set(u"doctype", doctype)
                        .set(u"prefix", prefix)
                        .set(u"running_no_digit", width)
                        .execute(t.db()));
    }

    void add_counters(const QString& doctype, const QString& year, long long next_docno, std::optional<long long> next_key)
    {
        ASSERT_TRUE(InsertRow(QStringLiteral("Docno_master_table"))
                        .set(u"company", 1)
                        .set(u"doctype", doctype)
                        .set(u"fiscalyear", year)
                        .set(u"nextdocno", next_docno)
                        .execute(t.db()));
        if (next_key) {
            ASSERT_TRUE(InsertRow(QStringLiteral("Next_number_fkey_table"))
                            .set(u"company", 1)
                            .set(u"doctype", doctype)
                            .set(u"fkeyno", *next_key)
                            .execute(t.db()));
        }
    }

    long long next_docno(const QString& doctype, const QString& year = Year)
    {
        return t.scalar(QStringLiteral("SELECT nextdocno FROM Docno_master_table WHERE doctype = ? AND fiscalyear = ?"),
                        {doctype, year})
            .toLongLong();
    }
    long long next_key(const QString& doctype)
    {
        return t.scalar(QStringLiteral("SELECT fkeyno FROM Next_number_fkey_table WHERE doctype = ?"), {doctype}).toLongLong();
    }

    TestDatabase t{Contents::Tables};
};

struct LayoutCase {
    std::optional<QString> structure;
    int fyear_digit;
    bool separator1;
    bool separator2;
    std::optional<int> width;
    long long counter;
    QString expected;
};

TEST_F(Numbering, FormatsByStructureYearDigitsSeparatorsAndWidth)
{
    const LayoutCase cases[] = {
        {QStringLiteral("1"), 2, true, true, 5, 57, QStringLiteral("PR-06-00057")},
        {QStringLiteral("2"), 4, true, true, 5, 57, QStringLiteral("2006-PR-00057")},
        {QStringLiteral("3"), 2, true, true, 5, 57, QStringLiteral("PR-00057")},
        {std::nullopt, 2, true, true, 5, 57, QStringLiteral("PR-06-00057")},
        {QStringLiteral("4"), 2, true, true, 5, 57, QString()},
        {QStringLiteral("1"), 2, true, true, 5, 123456, QStringLiteral("PR-06-123456")},
        {QStringLiteral("1"), 0, false, true, 5, 57, QStringLiteral("PR2006-00057")},
        {QStringLiteral("2"), 2, false, false, std::nullopt, 57, QStringLiteral("06PR57")},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        set_layout(c.structure, c.fyear_digit, c.separator1, c.separator2);
        add_format(QStringLiteral("pr"), QStringLiteral("PR"), c.width);
        auto number = format_number(t.db(), QStringLiteral("pr"), c.counter, Year);
        ASSERT_TRUE(number) << number.error().detail.toStdString();
        EXPECT_EQ(*number, c.expected);
    }
    auto unknown_type = format_number(t.db(), QStringLiteral("xx"), 1, Year);
    ASSERT_FALSE(unknown_type);
    EXPECT_EQ(unknown_type.error().kind, Error::Kind::Database);
}

TEST_F(Numbering, CommittedSaveConsumesBothCountersAndBuildsTheKey)
{
    {
        Transaction tx(t.db());
        auto first = issue_document_number(t.db(), QStringLiteral("pr"), Year);
        ASSERT_TRUE(first) << first.error().detail.toStdString();
        EXPECT_EQ(first->docno, QStringLiteral("PR-06-00057"));
        EXPECT_EQ(first->fkey, QStringLiteral("1pr-12"));
        // A derived document takes its own numbers in the same transaction.
        auto journal = issue_document_number(t.db(), QStringLiteral("gl"), Year);
        ASSERT_TRUE(journal);
        EXPECT_EQ(journal->fkey, QStringLiteral("1gl-1"));
        ASSERT_TRUE(tx.commit());
    }
    EXPECT_EQ(next_docno(QStringLiteral("pr")), 58);
    EXPECT_EQ(next_key(QStringLiteral("pr")), 13);
    EXPECT_EQ(next_docno(QStringLiteral("gl")), 2);
    EXPECT_EQ(make_fkey(1, QStringLiteral("po"), 1000000), QStringLiteral("1po-1000000"));
}

TEST_F(Numbering, MissingCountersFailWithTheirMessagesAndTakeNothing)
{
    add_counters(QStringLiteral("ro"), Year, 5, std::nullopt);
    Transaction tx(t.db());
    auto no_year = issue_document_number(t.db(), QStringLiteral("pr"), QStringLiteral("2031"));
    ASSERT_FALSE(no_year);
    EXPECT_EQ(no_year.error().message,
              QStringLiteral("Next number of document type pr for fiscal year 2031 is missing.\n"
                             "Create new fiscal year with \"Add New Fiscal Year\" in General Ledger system."));

    auto other_types_only = issue_document_number(t.db(), QStringLiteral("po"), Year);
    ASSERT_FALSE(other_types_only);
    EXPECT_EQ(other_types_only.error().message,
              QStringLiteral("Next number of document type po for fiscal year 2006 is missing."));

    // The year counter exists but the key counter does not: a failure without a message, and
    // the year counter taken on the way is given back by the rollback.
    auto no_key = issue_document_number(t.db(), QStringLiteral("ro"), Year);
    ASSERT_FALSE(no_key);
    EXPECT_TRUE(no_key.error().message.isEmpty());
    tx.rollback();
    EXPECT_EQ(next_docno(QStringLiteral("ro")), 5);
    EXPECT_EQ(next_docno(QStringLiteral("pr")), 57);
}

TEST_F(Numbering, FailedSaveLeavesBothCountersUnchanged)
{
    // A write after the numbers fails: the whole save rolls back.
    {
        Transaction tx(t.db());
        ASSERT_TRUE(issue_document_number(t.db(), QStringLiteral("pr"), Year));
        t.db().fail_statement(1);
        EXPECT_FALSE(t.db().execute(QStringLiteral("UPDATE Next_number_config_table SET fyear_digit = 4")));
    }
    EXPECT_EQ(next_docno(QStringLiteral("pr")), 57);
    EXPECT_EQ(next_key(QStringLiteral("pr")), 12);

    // A number too long for the document tables stops the save the same way.
    add_format(QStringLiteral("pr"), QStringLiteral("PURCHASE-REQUISITION-"), 8);
    {
        Transaction tx(t.db());
        auto too_long = issue_document_number(t.db(), QStringLiteral("pr"), Year);
        ASSERT_FALSE(too_long);
        EXPECT_EQ(too_long.error().message,
                  QStringLiteral("Error : document no. is longer than 30 characters. PURCHASE-REQUISITION--06-00000057"));
    }
    EXPECT_EQ(next_docno(QStringLiteral("pr")), 57);
    EXPECT_EQ(next_key(QStringLiteral("pr")), 12);
}

// A second user taking the same counter waits for the first save to end: after a commit it
// gets the next number, after a rollback the very number the first save gave back.
TEST_F(Numbering, SecondTakerWaitsForTheFirstSaveToEnd)
{
    for (const bool first_commits : {true, false}) {
        SCOPED_TRACE(first_commits ? "first save commits" : "first save rolls back");
        const long long before = next_docno(QStringLiteral("pr"));
        std::optional<Transaction> first(std::in_place, t.db());
        auto mine = issue_document_number(t.db(), QStringLiteral("pr"), Year);
        ASSERT_TRUE(mine);

        std::atomic<bool> started{false};
        std::optional<QString> theirs;
        QString their_error;
        QThread* other = QThread::create([&] {
            auto db = t.open_another();
            started = true;
            Transaction tx(*db);
            if (!tx.active()) {
                their_error = tx.begin_error().detail;
                return;
            }
            auto taken = issue_document_number(*db, QStringLiteral("pr"), Year);
            if (taken && tx.commit())
                theirs = taken->docno;
            else if (!taken)
                their_error = taken.error().detail;
        });
        other->start();
        while (!started)
            QThread::msleep(5);
        QThread::msleep(300); // the other user is now waiting for the row
        if (first_commits) {
            ASSERT_TRUE(first->commit());
        }
        first.reset();
        other->wait();
        delete other;

        ASSERT_TRUE(theirs.has_value()) << their_error.toStdString();
        EXPECT_EQ(mine->docno, format_number(t.db(), QStringLiteral("pr"), before, Year).value());
        const long long their_counter = first_commits ? before + 1 : before;
        EXPECT_EQ(*theirs, format_number(t.db(), QStringLiteral("pr"), their_counter, Year).value());
        EXPECT_EQ(next_docno(QStringLiteral("pr")), their_counter + 1);
    }
}

TEST_F(Numbering, CounterHeldThroughEveryRetryFailsTheOtherSaveCleanly)
{
    Transaction holder(t.db());
    ASSERT_TRUE(issue_document_number(t.db(), QStringLiteral("pr"), Year));

    std::optional<Error> failure;
    QThread* other = QThread::create([&] {
        auto db = t.open_another();
        Transaction tx(*db);
        if (!tx.active()) { // SQLite: the write lock of the whole file is not granted
            failure = tx.begin_error();
            return;
        }
        auto taken = issue_document_number(*db, QStringLiteral("pr"), Year);
        if (!taken)
            failure = taken.error();
    });
    other->start();
    other->wait();
    delete other;

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->kind, Error::Kind::Locked);
    EXPECT_EQ(failure->message, QStringLiteral("record is locked by another user"));
    ASSERT_TRUE(holder.commit());
    EXPECT_EQ(next_docno(QStringLiteral("pr")), 58);
}

// Several users save at once, some saves failing after their numbers were taken: every
// committed document has its own number, and the numbers run without a hole.
TEST_F(Numbering, ConcurrentWritersGetUniqueNumbersWithoutGaps)
{
    ASSERT_TRUE(t.db().execute_script(QStringLiteral("CREATE TABLE saved_document (docno TEXT, fkey TEXT);")));
    constexpr int Writers = 4;
    constexpr int SavesEach = 15;
    std::atomic<int> failures{0};
    std::atomic<int> committed{0};
    std::mutex detail_mutex;
    QString first_failure;

    auto writer = [&](int index) {
        auto db = t.open_another();
        for (int save = 0; save < SavesEach; ++save) {
            Transaction tx(*db);
            auto number = tx.active() ? issue_document_number(*db, QStringLiteral("pr"), Year)
                                      : std::expected<DocumentNumber, Error>(std::unexpected(tx.begin_error()));
            if (!number) {
                ++failures;
                std::lock_guard lock(detail_mutex);
                first_failure = number.error().detail;
                continue;
            }
            auto written = InsertRow(QStringLiteral("saved_document")).set(u"docno", number->docno).set(u"fkey", number->fkey).execute(*db);
            if (!written) {
                ++failures;
                continue;
            }
            if ((save + index) % 5 == 4)
                continue; // this save fails after taking its numbers: rolled back
            if (tx.commit())
                ++committed;
            else
                ++failures;
        }
    };
    std::vector<QThread*> threads;
    for (int i = 0; i < Writers; ++i)
        threads.push_back(QThread::create(writer, i));
    for (QThread* thread : threads)
        thread->start();
    for (QThread* thread : threads) {
        thread->wait();
        delete thread;
    }

    EXPECT_EQ(failures.load(), 0) << first_failure.toStdString();
    const int saved = committed.load();
    ASSERT_GT(saved, 0);
    EXPECT_EQ(t.count(QStringLiteral("saved_document")), saved);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(DISTINCT docno) FROM saved_document")).toLongLong(), saved);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(DISTINCT fkey) FROM saved_document")).toLongLong(), saved);
    // No hole: the committed numbers are exactly 57 .. 57 + saved - 1.
    EXPECT_EQ(t.text(QStringLiteral("SELECT MIN(docno) FROM saved_document")), QStringLiteral("PR-06-00057"));
    EXPECT_EQ(t.text(QStringLiteral("SELECT MAX(docno) FROM saved_document")),
              QStringLiteral("PR-06-%1").arg(57 + saved - 1, 5, 10, QLatin1Char('0')));
    EXPECT_EQ(next_docno(QStringLiteral("pr")), 57 + saved);
    EXPECT_EQ(next_key(QStringLiteral("pr")), 12 + saved);
}

// What a receipt's save does with the demo company's settings: date, period, working period,
// then its own number and those of its journal entry and inventory document.
TEST(NumberingWithCompanyData, ReceiptDatedInMarchTakesItsNumbersForItsFiscalYear)
{
    TestDatabase t;
    auto date = parse_user_date(QStringLiteral("15/03/2026"), QStringLiteral("dd/mm/yyyy"));
    ASSERT_TRUE(date);
    auto period = fiscal_period_of(t.db(), *date);
    ASSERT_TRUE(period);
    EXPECT_EQ(period->key(), QStringLiteral("202603"));
    EXPECT_TRUE(check_working_period(t.db(), *period));
    EXPECT_TRUE(check_working_period(t.db(), FiscalPeriod{QStringLiteral("2025"), 12})); // history allowed
    EXPECT_FALSE(check_working_period(t.db(), FiscalPeriod{QStringLiteral("2025"), 11}));

    Transaction tx(t.db());
    QStringList numbers;
    for (const char* doctype : {"ro", "gl", "ir"}) {
        auto number = issue_document_number(t.db(), QString::fromUtf8(doctype), period->fiscal_year);
        ASSERT_TRUE(number) << doctype << ": " << number.error().detail.toStdString();
        numbers << number->docno << number->fkey;
    }
    ASSERT_TRUE(tx.commit());
    EXPECT_EQ(numbers, (QStringList{QStringLiteral("RO-26-00001"), QStringLiteral("1ro-1"), QStringLiteral("GL-26-00001"),
                                    QStringLiteral("1gl-1"), QStringLiteral("IR-26-00001"), QStringLiteral("1ir-1")}));
}

} // namespace
} // namespace zelkor
