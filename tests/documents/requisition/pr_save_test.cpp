// Saving, editing, closing and deleting requisitions through the window, and what stays in the
// database when a save fails part-way.
#include "documents/requisition/pr_save.h"
#include "tests/support/pr_window_fixture.h"

namespace zelkor::testing {
namespace {

TEST_F(PrWindow, SavesMultiLineRequisitionWithContinuationAndTaxes)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_EQ(window.field("docno"), "** New **");
    EXPECT_EQ(window.field("order_date"), "16/03/2026");
    EXPECT_EQ(window.field("shipto"), "MAIN");

    window.type_into("vendor_no", "V200");
    EXPECT_EQ(window.field("vendor_name"), "O'Brien Supply");
    EXPECT_EQ(window.field("contact_person"), "Sean O'Brien");
    EXPECT_EQ(window.field("payment_term"), "210");
    EXPECT_EQ(window.field("currency"), "USD");
    window.type_into("requested_user", "John Smith");
    EXPECT_EQ(window.field("requested_user"), "JSMITH");

    enter_item(0, "1", "WIDGET", "10", "2.50");
    EXPECT_EQ(cell(0, "description"), "Widget");
    EXPECT_EQ(cell(0, "uom"), "box");
    EXPECT_EQ(cell(0, "account"), "1300");
    EXPECT_EQ(cell(0, "tax code"), "ST");
    EXPECT_EQ(cell(0, "extended cost"), "25.00");
    EXPECT_EQ(cell(0, "tax amount"), "1.25");
    EXPECT_EQ(cell(0, "net cost"), "26.25");
    ASSERT_EQ(type(1, "description", "deliver before noon"), Entry::Accepted);
    enter_item(2, "6", "FREIGHT", "1", "15");
    EXPECT_EQ(cell(2, "tax code"), "EXEMPT");
    EXPECT_EQ(cell(2, "account"), "5200");
    ASSERT_EQ(type(3, "item type", "5"), Entry::Accepted);
    ASSERT_EQ(type(3, "item code", "INSTALL"), Entry::Accepted);
    ASSERT_EQ(type(3, "description", "Installation"), Entry::Accepted);
    ASSERT_EQ(type(3, "tax code", "GP"), Entry::Accepted);
    ASSERT_EQ(type(3, "quantity", "2"), Entry::Accepted);
    ASSERT_EQ(type(3, "extended cost", "1000"), Entry::Accepted);
    // The unit cost an extended cost gives is exact: the view formats it.
    EXPECT_EQ(cell(3, "unit cost"), "500.00");
    EXPECT_EQ(cell(3, "tax amount"), "128.75"); // 50.00 GST, then 7.5 % PST on 1,050.00
    EXPECT_EQ(cell(3, "net cost"), "1,128.75");
    EXPECT_EQ(window.field("sub_total"), "1,040.00");
    EXPECT_EQ(window.field("tax_total"), "130.00");
    EXPECT_EQ(window.field("total"), "1,170.00");

    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages().last(), "Add new PR complete");
    EXPECT_EQ(window.field("docno"), "PR-26-00001");
    EXPECT_EQ(window.document_key(), "1pr-1");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);

    EXPECT_EQ(t.text("SELECT vendor_no FROM PR_header_table WHERE fkey = '1pr-1'"), "V200");
    EXPECT_EQ(t.text("SELECT requested_user FROM PR_header_table WHERE fkey = '1pr-1'"), "JSMITH");
    EXPECT_EQ(t.decimal("SELECT total FROM PR_header_table WHERE fkey = '1pr-1'"), Decimal("1170.00"));
    EXPECT_EQ(t.count("PR_transaction_table WHERE fkey = '1pr-1'"), 3);
    EXPECT_EQ(t.text("SELECT description FROM PR_transaction_table WHERE itemno = 1"), "Widget\ndeliver before noon");
    EXPECT_EQ(t.text("SELECT tax_authority1 FROM PR_transaction_table WHERE itemno = 1"), "STATE");
    EXPECT_EQ(t.decimal("SELECT tax_recoverable1 FROM PR_transaction_table WHERE itemno = 1"), Decimal("1.25"));
    EXPECT_EQ(t.text("SELECT COALESCE(tax_authority1, '') FROM PR_transaction_table WHERE itemno = 2"), "");
    EXPECT_EQ(t.text("SELECT tax_authority2 FROM PR_transaction_table WHERE itemno = 3"), "PST");
    EXPECT_EQ(t.decimal("SELECT taxable_amount2 FROM PR_transaction_table WHERE itemno = 3"), Decimal("1050.00"));
    EXPECT_EQ(t.decimal("SELECT tax_expensed2 FROM PR_transaction_table WHERE itemno = 3"), Decimal("78.75"));
    EXPECT_EQ(t.decimal("SELECT tax_amount FROM PR_transaction_table WHERE itemno = 3"), Decimal("128.75"));
    EXPECT_EQ(t.text("SELECT vendor_no FROM PR_transaction_table WHERE itemno = 2"), "V200");
    EXPECT_EQ(t.text("SELECT computer_id FROM PR_transaction_table WHERE itemno = 2"), POform_pr::computer_id());
    EXPECT_EQ(t.text("SELECT time_created FROM PR_transaction_table WHERE itemno = 2"), "09:30:00");
    EXPECT_EQ(t.text("SELECT docno FROM PR_transaction_table WHERE itemno = 3"), "PR-26-00001");

    // Shown again from the database, with its tax elements.
    EXPECT_EQ(cell(0, "description"), "Widget\ndeliver before noon");
    EXPECT_EQ(window.tax_elements().line(3).size(), 2u);
}

TEST_F(PrWindow, EditRewritesLinesThenCloseAndDelete)
{
    const QString docno = save_simple_requisition();
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    EXPECT_FALSE(window.field_editable("order_date"));
    ASSERT_EQ(type(0, "quantity", "20"), Entry::Accepted);
    EXPECT_EQ(cell(0, "extended cost"), "50.00");
    window.type_into("requested_user", "ADMIN");
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages().last(), "Update PR no. " + docno + " complete");
    EXPECT_EQ(t.decimal("SELECT quantity FROM PR_transaction_table WHERE fkey = '1pr-1'"), Decimal(20));
    EXPECT_EQ(t.text("SELECT requested_user FROM PR_transaction_table WHERE fkey = '1pr-1'"), "ADMIN");
    EXPECT_EQ(t.text("SELECT user_updated FROM PR_transaction_table WHERE fkey = '1pr-1'"), "ADMIN");
    EXPECT_EQ(t.text("SELECT time_created FROM PR_transaction_table WHERE fkey = '1pr-1'"), "09:30:00");
    EXPECT_EQ(t.decimal("SELECT total FROM PR_header_table WHERE fkey = '1pr-1'"), Decimal("52.50"));
    EXPECT_FALSE(t.scalar("SELECT closed FROM PR_header_table WHERE fkey = '1pr-1'").toBool());

    ASSERT_FALSE(window.execute(CommandId::Delete));
    EXPECT_EQ(prompter.last(), docno + " is opening.");

    prompter.answer_yes();
    ASSERT_TRUE(window.execute(POform_pr::Command::ClosePr));
    EXPECT_EQ(prompter.records().at(prompter.records().size() - 2).text, "Are you sure to close this PR?");
    EXPECT_EQ(prompter.last(), docno + " is closed.");
    EXPECT_EQ(window.field("closed"), "1");
    EXPECT_EQ(t.count("PR_transaction_table WHERE closed = FALSE"), 0);

    EXPECT_FALSE(window.execute(CommandId::EditMode));
    EXPECT_EQ(prompter.last(), "PR was closed.");

    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Delete));
    EXPECT_EQ(prompter.last(), docno + " is deleted.");
    EXPECT_EQ(t.count("PR_header_table"), 0);
    EXPECT_EQ(t.count("PR_transaction_table"), 0);
}

TEST_F(PrWindow, FailedSaveLeavesNothingAndUsesNoNumber)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    enter_item(0, "1", "WIDGET", "10", "2.50");
    enter_item(1, "2", "MANUAL", "1", "0");
    const long long counter = next_pr_counter();
    int failures = 0;
    for (int n = 1; n < 40; ++n) {
        prompter.clear();
        t.db().fail_statement(n);
        if (window.execute(CommandId::Save))
            break;
        ++failures;
        EXPECT_EQ(prompter.last(), "Add new PR failed") << "statement " << n << " " << prompter.messages().join("|").toStdString();
        EXPECT_EQ(window.field("docno"), "** New **");
        EXPECT_EQ(window.document_key(), "");
        EXPECT_EQ(cell(0, "item code"), "WIDGET");
        EXPECT_EQ(t.count("PR_header_table"), 0);
        EXPECT_EQ(t.count("PR_transaction_table"), 0);
        EXPECT_EQ(next_pr_counter(), counter);
    }
    t.db().fail_statement(0);
    EXPECT_GE(failures, 5) << prompter.messages().join("|").toStdString();
    EXPECT_LT(failures, 39);
    EXPECT_EQ(window.field("docno"), "PR-26-00001");
    EXPECT_EQ(t.count("PR_transaction_table WHERE fkey = '1pr-1'"), 2);
    // The line of extended cost 0 carries no tax element.
    EXPECT_EQ(t.text("SELECT COALESCE(tax_authority1, '') FROM PR_transaction_table WHERE itemno = 2"), "");
}

TEST_F(PrWindow, PositiveLineWithoutTaxElementAbortsTheSave)
{
    PrHeader header;
    header.currency = "USD";
    header.order_date = QDate(2026, 3, 16);
    PrLine free_line;
    free_line.itemno = 1;
    free_line.extended_cost = Decimal(0);
    PrLine priced = free_line;
    priced.itemno = 2;
    priced.extended_cost = Decimal("10.00");
    const AuditStamp audit{"ADMIN", "host", QDate(2026, 3, 16), "09:30:00"};

    auto saved = insert_new_pr(t.db(), header, {free_line, priced}, TaxElementStore{}, audit);
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().message, "cannot find tax element for item no 2");
    EXPECT_EQ(t.count("PR_header_table"), 0);
    EXPECT_EQ(t.count("PR_transaction_table"), 0);
    EXPECT_EQ(next_pr_counter(), 1);

    // An exempt line was computed and has no element: it saves.
    TaxElementStore computed;
    computed.set_line(2, {});
    auto exempt = insert_new_pr(t.db(), header, {free_line, priced}, computed, audit);
    ASSERT_TRUE(exempt) << exempt.error().message.toStdString();
    EXPECT_EQ(exempt->docno, "PR-26-00001");
}

TEST_F(PrWindow, DocumentNumberOfThirtyCharactersIsTheLongest)
{
    auto set_prefix = [&](int length) {
        ASSERT_TRUE(t.db().execute("UPDATE Next_number_format_table SET prefix = ? WHERE doctype = 'pr'",
                                   {QString(length, QLatin1Char('P'))}));
    };
    set_prefix(22); // 22 + "-26-00001" = 31 characters
    ASSERT_TRUE(window.execute(CommandId::New));
    enter_item(0, "1", "WIDGET", "1", "1");
    EXPECT_FALSE(window.execute(CommandId::Save));
    const QStringList shown = prompter.messages();
    EXPECT_EQ(shown.at(shown.size() - 2),
              "Error : document no. is longer than 30 characters. " + QString(22, 'P') + "-26-00001");
    EXPECT_EQ(shown.last(), "Add new PR failed");
    EXPECT_EQ(t.count("PR_header_table"), 0);
    EXPECT_EQ(next_pr_counter(), 1);

    set_prefix(21);
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(window.field("docno").size(), 30);
    EXPECT_EQ(t.count("PR_header_table"), 1);
}

TEST_F(PrWindow, LeavingNewModeAsksAndNoGoesToTheLastRecord)
{
    const QString first = save_simple_requisition();
    ASSERT_TRUE(window.execute(CommandId::New));
    enter_item(0, "1", "BOLT", "5", "1");
    prompter.answer_no();
    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_EQ(prompter.last(), "Do you want to save new entry?");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    EXPECT_EQ(window.field("docno"), first);
    EXPECT_EQ(t.count("PR_header_table"), 1);

    // Copy To New keeps the lines and saves as a second requisition.
    ASSERT_TRUE(window.execute(CommandId::CopyToNew));
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    EXPECT_EQ(window.field("docno"), "** New **");
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(window.field("docno"), "PR-26-00002");
    EXPECT_EQ(t.text("SELECT itemcode FROM PR_transaction_table WHERE fkey = '1pr-2'"), "WIDGET");
}

} // namespace
} // namespace zelkor::testing
