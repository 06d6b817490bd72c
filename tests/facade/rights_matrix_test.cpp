// A user without the update right writes nothing, whatever path leads to a write: commands,
// hand-offs from other windows, the exit question's save, the vendor address write-back.
#include "facade/POclass.h"

#include "core/clock.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

struct RightsCase {
    const char* user;
    bool update;
    bool print;
    bool design;
};

void PrintTo(const RightsCase& c, std::ostream* os) { *os << c.user; }

/// Per-user preferences (layouts, remembered values, page formats) are not business data: the
/// design right writes them.
const QStringList Preferences{"Form_property_table", "Grid_property", "Recent_value_table", "Report_format_table"};

class RightsMatrix : public ::testing::TestWithParam<RightsCase> {
protected:
    void SetUp() override
    {
        requisition = zelkor::testing::saved_requisition(t.db(), "V100", {{"WIDGET", "5", "box", "20"}}, QDate(2026, 3, 1));
        order = zelkor::testing::saved_order(t.db(), {"V100", {{"WIDGET", "2", "box", "30"}}, QDate(2026, 3, 2)});
        receipt = zelkor::testing::saved_receipt(t.db(), order.docno, {{1, "1"}}, QDate(2026, 3, 3));
        const RightsCase& c = GetParam();
        if (c.update || c.print || c.design) {
            for (const char* form : {"POform_pr", "POform_po", "POform_receipt", "POform_invoice"})
                ASSERT_TRUE(t.db().execute(QStringLiteral("INSERT INTO User_right_table (form, userid, \"update\", Print,"
                                                          " form_design) VALUES (?, ?, ?, ?, ?)"),
                                           {form, c.user, c.update, c.print, c.design}));
        }
        facade.set_prompter(&prompter);
        facade.set_cnx(&t.db());
        facade.set_dbe(&t.db());
        facade.set_abcdb(&t.db());
        facade.set_ZELKOR_USER(c.user);
        facade.set_ZELKOR_DATE_FORMAT("dd/mm/yyyy");
        facade.set_BASE_CURRENCY("USD");
    }

    /// Runs every command of the window as a click would, answering OK to whatever it asks (Yes to a question, the offered text to a prompt).
    void run_every_command(WindowModel& window)
    {
        std::vector<int> ids;
        for (const Command& command : window.commands())
            if (command.id != to_int(CommandId::Exit))
                ids.push_back(command.id);
        for (int id : ids) {
            if (window.is_closed())
                return;
            for (int answer = 0; answer < 4; ++answer)
                prompter.answer_ok();
            window.execute(id);
            prompter.clear_answers();
        }
    }

    void exit_saying_yes(void (POclass::*exit)())
    {
        for (int answer = 0; answer < 4; ++answer)
            prompter.answer_ok();
        (facade.*exit)();
        prompter.clear_answers();
    }

    FixedClock clock{QDate(2026, 3, 15), QTime(10, 0)};
    zelkor::testing::TestDatabase t;
    DocumentNumber requisition;
    DocumentNumber order;
    DocumentNumber receipt;
    ScriptedPrompter prompter;
    POclass facade;
};

TEST_P(RightsMatrix, NoWriteWithoutTheUpdateRight)
{
    const QStringList before = t.snapshot(Preferences);

    // The requisition issued as an order: the hand-off, then the exit question's save.
    facade.showform_POform_pr(requisition.docno);
    facade.showform_POform_po();
    facade.Issue_PO();
    POform_po* po = facade.frm_po();
    ASSERT_NE(po, nullptr);
    po->type_into("vendor_address", "1 New Street");
    po->type_into("save_vendor_address", "1");
    exit_saying_yes(&POclass::frm_po_Exit);

    // Every command of the three windows on saved documents, then their exits.
    facade.showform_POform_po(order.docno);
    run_every_command(*facade.frm_po());
    exit_saying_yes(&POclass::frm_po_Exit);
    facade.showform_POform_pr(requisition.docno);
    run_every_command(*facade.frm_pr());
    exit_saying_yes(&POclass::frm_pr_Exit);
    facade.showform_POform_receipt(receipt.docno);
    run_every_command(*facade.frm_receipt());
    exit_saying_yes(&POclass::frm_receipt_Exit);

    // Every command of the bill window, on a new bill and on nothing shown.
    facade.showform_POform_invoice();
    run_every_command(*facade.frm_invoice());
    exit_saying_yes(&POclass::frm_invoice_Exit);

    // The hand-offs to receiving and billing.
    facade.showform_POform_po(order.docno);
    facade.showform_POform_receipt();
    facade.PO_receive_Goods();
    facade.showform_POform_invoice();
    facade.Invoice_this_receipt();
    exit_saying_yes(&POclass::frm_receipt_Exit);
    exit_saying_yes(&POclass::frm_invoice_Exit);
    exit_saying_yes(&POclass::frm_po_Exit);

    const QStringList after = t.snapshot(Preferences);
    if (GetParam().update) {
        EXPECT_NE(after, before) << "a user with the update right saves the issued order";
        EXPECT_GE(t.count("PO_header_table"), 2);
    } else {
        EXPECT_EQ(after, before);
        EXPECT_TRUE(prompter.messages().contains("You have no right to update this window."));
    }
}

INSTANTIATE_TEST_SUITE_P(Users, RightsMatrix,
                         ::testing::Values(RightsCase{"NOBODY", false, false, false},
                                           RightsCase{"PRINTER", false, true, false},
                                           RightsCase{"DESIGNER", false, false, true},
                                           RightsCase{"BUYER", true, true, false}));

} // namespace
