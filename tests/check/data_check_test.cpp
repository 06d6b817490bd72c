// zelkor_po_check on a company database: a consistent company passes, a corrupted one fails
// with the offending rows named, and the check never writes. The document checks name headers
// without lines, postings without their document and counters out of step with the numbers.
// Documents a clerk enters through the windows pass, and the check names the disagreement each
// of their postings leaves when it goes wrong.
#include "check/company_checks.h"
#include "check/data_check.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::Contents;
using testing::TestDatabase;

struct CheckRun {
    int status = -1;
    QString output;
};

CheckRun run_check(const TestDatabase& t, const QStringList& options = {})
{
    QProcess process;
    process.start(QStringLiteral(ZELKOR_PO_CHECK), QStringList{"--db", t.location()} + options);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

/// Runs a clerk's script through the windows with the script tool; gives its status and what it
/// wrote.
CheckRun run_script(const TestDatabase& t, const QString& script)
{
    QTemporaryDir folder; // what the windows write beside a server database
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(ZELKOR_PO_SCRIPT), QStringList{"--db", t.location(), "--today", "2026-03-16", script});
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

/// A receipt of an order of two lines, both saved by their own routines.
void receive_an_order(TestDatabase& t)
{
    const QString order = testing::saved_order(t.db(), {"V1001", {{"WIDGET-A", "10", "box", "30"}, {"BOLT-M8", "4", "box", "12"}},
                                                        QDate(2026, 3, 2)})
                              .docno;
    testing::saved_receipt(t.db(), order, {{1, "10"}, {2, "3"}}, QDate(2026, 3, 5));
}

TEST(DataCheck, PassesAConsistentCompanyAndNamesTheRowsOfACorruptedOneWithoutWriting)
{
    TestDatabase t(Contents::Demo);
    receive_an_order(t);
    const QStringList before = t.snapshot();

    const CheckRun clean = run_check(t, {"--fix-nothing"});
    EXPECT_EQ(clean.status, 0) << clean.output.toStdString();
    EXPECT_TRUE(clean.output.endsWith("checks passed: the company's data is consistent.\n")) << clean.output.toStdString();
    EXPECT_FALSE(clean.output.contains("FAIL"));

    ASSERT_TRUE(t.db().execute("UPDATE Item_onhand_table SET Value = Value + 12.40 WHERE itemcode = 'BOLT-M8'"));
    const CheckRun corrupted = run_check(t);
    EXPECT_EQ(corrupted.status, 1);
    EXPECT_TRUE(corrupted.output.contains("  FAIL   on-hand stock matches its layers: 1 problem\n"
                                          "           item BOLT-M8 in warehouse MAIN has 600 worth 80.40 on hand, its "
                                          "layers 600 worth 68.00\n"))
        << corrupted.output.toStdString();
    EXPECT_TRUE(corrupted.output.contains("Inventory account 1300 is 12.40 below the value of stock on hand (1,700.00 "
                                          "against 1,712.40): BOLT-M8 MAIN 80.40, PAINT-5L MAIN 720.00, WIDGET-A MAIN "
                                          "912.00"))
        << corrupted.output.toStdString();
    EXPECT_TRUE(corrupted.output.contains(QRegularExpression("\n2 of \\d+ checks failed.\n$"))) << corrupted.output.toStdString();

    const CheckRun json = run_check(t, {"--json"});
    EXPECT_EQ(json.status, 1);
    const QJsonObject report = QJsonDocument::fromJson(json.output.toUtf8()).object();
    EXPECT_FALSE(report.value("consistent").toBool(true));
    int failed = 0;
    for (const QJsonValue& value : report.value("checks").toArray()) {
        const QJsonObject check = value.toObject();
        if (check.value("passed").toBool())
            continue;
        ++failed;
        if (check.value("name") == "on-hand stock matches its layers") {
            EXPECT_EQ(check.value("rows").toArray().first().toString(),
                      "item BOLT-M8 in warehouse MAIN has 600 worth 80.40 on hand, its layers 600 worth 68.00");
        }
    }
    EXPECT_EQ(failed, 2);

    // Nothing the check did shows in the data, and its connection could not have written.
    ASSERT_TRUE(t.db().execute("UPDATE Item_onhand_table SET Value = Value - 12.40 WHERE itemcode = 'BOLT-M8'"));
    EXPECT_EQ(t.snapshot(), before);
    ConnectionDescription reader = t.where();
    reader.access = ConnectionDescription::Access::ReadOnly;
    auto read_only = Database::open(reader);
    ASSERT_TRUE(read_only) << read_only.error().detail.toStdString();
    auto written = (*read_only)->execute("UPDATE Item_onhand_table SET Value = 0");
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().kind, Error::Kind::Database);
    EXPECT_EQ(t.snapshot(), before);
}

TEST(DataCheck, PassesPostingsEnteredThroughTheWindowsAndNamesWhatTheyLeaveWhenPostedWrong)
{
    // A landed charge without its code refused by the receipt, a bill without the receipt's tax,
    // a bill edited to a new price: the script expects what each save says and posts.
    TestDatabase t(Contents::Demo);
    const CheckRun entered = run_script(t, QStringLiteral(ZELKOR_POSTING_HISTORIES));
    ASSERT_EQ(entered.status, 0) << entered.output.toStdString();
    const CheckRun clean = run_check(t);
    EXPECT_EQ(clean.status, 0) << clean.output.toStdString();
    EXPECT_TRUE(clean.output.endsWith("checks passed: the company's data is consistent.\n")) << clean.output.toStdString();
    const QRegularExpression one_failed("\n1 of \\d+ checks failed.\n$");

    // The tax-free bill as it was once posted: the 1.50 of tax taken back credited to the payable
    // account instead of recoverable tax, the entry balanced and in the balances, the payable 25.00.
    const QString bill_entry = "(SELECT GLFKEY FROM PO_invoice_header_table WHERE docno = 'VI-26-00002')";
    const QString tax_line = t.text("SELECT lineno FROM GL_transaction_table WHERE accno = '1400' AND fkey = " + bill_entry);
    const auto post_tax_to = [&](const QString& account, const QString& balance_change) {
        const QString both_accounts = " WHERE ledgertype = 'A' AND currency = 'USD' AND accno IN ('1400', '2000')";
        ASSERT_TRUE(t.db().execute("UPDATE GL_transaction_table SET accno = ?, amount = -amount, base_amount = -base_amount"
                                   " WHERE lineno = ? AND fkey = " + bill_entry,
                                   {account, tax_line.toInt()}));
        ASSERT_TRUE(t.db().execute(QString("UPDATE Balance_table SET amount = amount + %1, base_amount = base_amount + %1")
                                       .arg(balance_change)
                                   + both_accounts));
        ASSERT_TRUE(t.db().execute(QString("UPDATE Balance_period_table SET period3 = period3 + %1, e_period3 = e_period3 + %1")
                                       .arg(balance_change)
                                   + both_accounts + " AND fyear = '2026'"));
    };
    post_tax_to("2000", "1.50");
    const CheckRun payable = run_check(t);
    EXPECT_EQ(payable.status, 1);
    EXPECT_TRUE(payable.output.contains("  FAIL   payable accounts hold the open payables: 1 problem\n"
                                        "           account 2000 holds 26.50 USD for vendor V1002, its open payables 25.00\n"))
        << payable.output.toStdString();
    EXPECT_TRUE(payable.output.contains(one_failed)) << payable.output.toStdString();
    post_tax_to("1400", "-1.50");

    // The edited bill as it was once posted: 8.00 more on inventory, the layer left at 240.00;
    // first the layer alone, then its history and the stock on hand with it.
    const QString layer = t.text("SELECT lot_id FROM FIFO_table WHERE receipt_no = 'RO-26-00003'");
    ASSERT_TRUE(t.db().execute("UPDATE FIFO_table SET amount = 240 WHERE receipt_no = 'RO-26-00003'"));
    const CheckRun stock = run_check(t);
    EXPECT_EQ(stock.status, 1);
    EXPECT_TRUE(stock.output.contains("  FAIL   on-hand stock matches its layers: 1 problem\n"
                                      "           item WIDGET-A in warehouse MAIN has 576 worth 1185.00 on hand, its layers"
                                      " 576 worth 1177.00\n"
                                      "  FAIL   layers match their history: 1 problem\n"
                                      "           layer "
                                      + layer + " of WIDGET-A/MAIN holds 96 worth 240.00, its history gives 96 worth 248.00\n"))
        << stock.output.toStdString();
    EXPECT_TRUE(stock.output.contains(QRegularExpression("\n2 of \\d+ checks failed.\n$"))) << stock.output.toStdString();
    ASSERT_TRUE(t.db().execute("UPDATE FIFO_history_table SET amount = 0 WHERE docno = 'VI-26-00003'"));
    ASSERT_TRUE(t.db().execute("UPDATE Item_onhand_table SET Value = Value - 8 WHERE itemcode = 'WIDGET-A'"
                               " AND warehouse = 'MAIN'"));
    const CheckRun ledger = run_check(t);
    EXPECT_EQ(ledger.status, 1);
    EXPECT_TRUE(ledger.output.contains("  FAIL   stock accounts hold their items' value: 1 problem\n"
                                       "           Inventory account 1300 is 8.00 above the value of stock on hand (1,937.00"
                                       " against 1,929.00): BOLT-M8 MAIN 32.00, PAINT-5L MAIN 720.00, WIDGET-A MAIN 1,177.00\n"))
        << ledger.output.toStdString();
    EXPECT_TRUE(ledger.output.contains(one_failed)) << ledger.output.toStdString();
}

class DocumentChecks : public ::testing::Test {
protected:
    DocumentChecks() : t(Contents::Demo) { receive_an_order(t); }

    /// The problems one check names now.
    QStringList problems(const QString& check_name)
    {
        auto check = run_data_check(t.db(), company_invariant_checks());
        EXPECT_TRUE(check) << check.error().detail.toStdString();
        for (const CheckResult& result : check->results)
            if (result.name == check_name) {
                EXPECT_FALSE(result.error) << result.error->detail.toStdString();
                return result.problems;
            }
        ADD_FAILURE() << "no check named " << check_name.toStdString();
        return {};
    }

    TestDatabase t;
};

TEST_F(DocumentChecks, NameHeadersWithoutLinesAndPostingsWithoutTheirDocument)
{
    EXPECT_EQ(problems("documents are whole"), QStringList());
    ASSERT_TRUE(t.db().execute("DELETE FROM PO_receipt_transaction_table WHERE docno = 'RO-26-00001'"));
    ASSERT_TRUE(t.db().execute("DELETE FROM PO_header_table WHERE docno = 'PO-26-00001'"));
    EXPECT_EQ(problems("documents are whole"),
              (QStringList{"2 order lines of PO-26-00001 (1po-1) have no header", "receipt RO-26-00001 (1ro-1) has no lines"}));

    const QString entry = t.text("SELECT docno FROM GL_header_table WHERE Source = 'PO-RECEIPT'");
    const QString entry_key = t.text("SELECT fkey FROM GL_header_table WHERE Source = 'PO-RECEIPT'");
    EXPECT_EQ(problems("postings belong to their documents"), QStringList());
    ASSERT_TRUE(t.db().execute("UPDATE GL_header_table SET source_docno = 'RO-26-00009' WHERE Source = 'PO-RECEIPT'"));
    EXPECT_EQ(problems("postings belong to their documents"),
              QStringList{"journal entry " + entry + " (" + entry_key + ") was posted by receipt RO-26-00009, which does not exist"});
}

TEST_F(DocumentChecks, NameNumbersUsedTwiceAndCountersOutOfStepWithTheDocuments)
{
    EXPECT_EQ(problems("key counters match the documents"), QStringList());
    EXPECT_EQ(problems("number counters match the documents"), QStringList());
    testing::saved_order(t.db(), {"V1002", {{"PAINT-5L", "1", "box", "70"}}, QDate(2026, 3, 3)});

    // A counter that moved on without a committed document loses a number.
    ASSERT_TRUE(t.db().execute("UPDATE Next_number_fkey_table SET fkeyno = fkeyno + 1 WHERE doctype = 'ro'"));
    ASSERT_TRUE(t.db().execute("UPDATE Docno_master_table SET nextdocno = nextdocno + 1 WHERE doctype = 'ro'"
                               " AND fiscalyear = '2026'"));
    EXPECT_EQ(problems("key counters match the documents"),
              QStringList{"receipt key counter stands at 3, but no document holds 1ro-2"});
    EXPECT_EQ(problems("number counters match the documents"),
              QStringList{"receipt numbering of 2026 stands at 3, but no document holds the last number given, RO-26-00002"});

    // A counter behind the documents would give a number twice.
    ASSERT_TRUE(t.db().execute("UPDATE Next_number_fkey_table SET fkeyno = 2 WHERE doctype = 'po'"));
    ASSERT_TRUE(t.db().execute("UPDATE Docno_master_table SET nextdocno = 2 WHERE doctype = 'po' AND fiscalyear = '2026'"));
    EXPECT_TRUE(problems("key counters match the documents").contains("order key counter stands at 2, but key 1po-2 is already taken"));
    EXPECT_TRUE(problems("number counters match the documents")
                    .contains("order numbering of 2026 stands at 2, but PO-26-00002 is already taken"));

    EXPECT_EQ(problems("document numbers are unique"), QStringList());
    ASSERT_TRUE(t.db().execute("UPDATE PO_header_table SET docno = 'PO-26-00001'"));
    EXPECT_EQ(problems("document numbers are unique"), QStringList{"order number PO-26-00001 is used 2 times"});
}

} // namespace
} // namespace zelkor
