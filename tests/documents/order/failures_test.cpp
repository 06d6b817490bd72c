// A database error is reported as a failure, never as "not found" or "... is invalid.", and a
// routine that changed nothing never reports success.
#include "tests/support/po_window_fixture.h"
#include "tests/support/pr_window_fixture.h"
#include "tests/support/statement_failures.h"

namespace zelkor {
namespace {

using testing::PrWindow;
using testing::says_invalid_or_missing;

TEST_F(OrderWindow, DatabaseFailuresAreReportedAsFailures)
{
    save_order("V100", {{"WIDGET", "2", "box", "30"}});
    ASSERT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");

    // Finding an order by number.
    prompter.clear();
    window.set_field("docno", "PO-26-00001");
    t.db().fail_statement(1);
    window.display_by_number();
    EXPECT_EQ(prompter.messages(), QStringList{"Read PO no. PO-26-00001 failed"});

    // The vendor look-up: the failure is said and the vendor already chosen stays.
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("vendor_no", "V100"), Entry::Accepted);
    prompter.clear();
    t.db().fail_statement(1);
    EXPECT_EQ(window.type_into("vendor_no", "V200"), Entry::Refused);
    EXPECT_EQ(prompter.messages(), QStringList{"Reading vendor V200 failed"});
    EXPECT_EQ(window.field("vendor_no"), "V100");

    // A line's tax that cannot be computed leaves no stale elements for the save to write.
    Grid& lines = window.lines();
    ASSERT_EQ(lines.type_cell(0, "item code", "WIDGET"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "quantity order", "1"), Entry::Accepted);
    lines.set_current(0, lines.required_column("unit cost"));
    prompter.clear();
    t.db().fail_statement(1);
    lines.type_cell(0, "unit cost", "40");
    EXPECT_EQ(prompter.messages(), QStringList{"Computing the tax of line 1 failed"});
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages().last(), "Add new PO failed.");
    EXPECT_TRUE(prompter.messages().contains("cannot find tax element for item no 1"));
    ASSERT_EQ(lines.type_cell(0, "unit cost", "30"), Entry::Accepted);

    // Every statement of the save's checks and transaction: only failures, never "invalid".
    testing::fail_each_statement({t, prompter, "Add new PO failed.", false, {}, 60},
                                 [&] { return window.execute(CommandId::Save); });
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    expect_consistent();
}

TEST_F(OrderWindow, ListsThatCannotBeReadAreSaidWhenTheWindowOpens)
{
    // A failure at any statement of opening the window: its lists, or (only logged) the
    // user's stored layouts, which fall back to the defaults.
    bool lists_failed = false;
    for (int statement = 1; statement < 40; ++statement) {
        POform_po other;
        other.apply_settings(window.settings());
        ScriptedPrompter said;
        other.set_prompter(&said);
        t.db().fail_statement(statement);
        other.open();
        t.db().fail_statement(0);
        SCOPED_TRACE(statement);
        EXPECT_FALSE(says_invalid_or_missing(said.messages())) << said.messages().join(" | ").toStdString();
        lists_failed = lists_failed || said.messages().contains("Reading the lists of the window failed");
    }
    EXPECT_TRUE(lists_failed);
}

TEST_F(PrWindow, FailuresAndVanishedRequisitionsAreNeverReportedAsDone)
{
    const QString docno = save_simple_requisition();
    prompter.clear();
    window.set_field("docno", docno);
    t.db().fail_statement(1);
    window.display_by_number();
    EXPECT_EQ(prompter.messages(), QStringList{"Read PR no. " + docno + " failed"});

    // Another user deletes the requisition while this one is asked whether to close it.
    ASSERT_TRUE(window.execute(CommandId::RefreshRecord));
    prompter.on_record = [&](const ScriptedPrompter::Record& record) {
        if (record.kind == ScriptedPrompter::Kind::YesNo) {
            auto other = t.open_another();
            EXPECT_TRUE(other->execute("DELETE FROM PR_transaction_table"));
            EXPECT_TRUE(other->execute("DELETE FROM PR_header_table"));
        }
    };
    prompter.clear();
    prompter.answer_yes();
    EXPECT_FALSE(window.execute(POform_pr::Command::ClosePr));
    prompter.on_record = nullptr;
    EXPECT_EQ(prompter.messages(), (QStringList{"Document no. " + docno + " not found", "Close PR failed"}));
}

TEST_F(PrWindow, ALineTakesTheVendorsTaxCodeWhenNoneIsTyped)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("vendor_no", "V300"), Entry::Accepted);
    enter_item(0, "1", "WIDGET", "2", "10");
    EXPECT_EQ(cell(0, "tax code"), "VAT50");
    EXPECT_EQ(cell(0, "tax amount"), "2.00");
}

} // namespace
} // namespace zelkor
