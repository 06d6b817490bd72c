// The miscellaneous charge window: adding a charge, saving the edited grid, deleting, printing.
#include "master_fixture.h"
#include "windows/masters/POform_misccharge.h"

namespace zelkor::testing {
namespace {

class ChargeWindow : public MasterWindowTest<POform_misccharge> {
protected:
    Grid& grid() { return *window->master_grid(); }
    int row_of(const QString& code)
    {
        for (int row = 0; row < grid().row_count(); ++row)
            if (grid().cell(row, "item code") == code)
                return row;
        return -1;
    }
    QStringList charges()
    {
        QStringList rows;
        auto read = t.db().select("SELECT itemcode, Description, account, tax_code, accno"
                                  " FROM Vendor_miscellaneous_charge_table ORDER BY itemcode");
        EXPECT_TRUE(read);
        for (const Row& row : *read)
            rows << QStringList{row.text(u"itemcode"), row.text(u"Description"), row.text(u"account"),
                                row.text(u"tax_code"), row.text(u"accno")}
                        .join(u'|');
        return rows;
    }
    void start_new(const QString& code)
    {
        ASSERT_TRUE(run(CommandId::New));
        type("itemcode", code);
    }
};

TEST_F(ChargeWindow, AddChecksEachValueInTurnAndStoresTextVerbatim)
{
    const QStringList before = charges();
    start_new("");
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_TRUE(prompter.records().empty()) << "an empty code does nothing";

    type("itemcode", "  DUTY ");
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify account") << "account before tax code when both are missing";
    EXPECT_EQ(type("account", "1300"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "account is invalid.") << "an inventory account is no expense account";
    EXPECT_EQ(window->field("account"), "");
    ASSERT_EQ(type("account", "5200"), Entry::Accepted);
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify tax code");
    EXPECT_EQ(type("tax_code", "SALES"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "tax code is invalid.") << "a sales tax code is not a purchase one";
    window->set_field("tax_code", "NOPE");
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "tax code is invalid.") << "a value set around the typing check is still refused";
    EXPECT_EQ(charges(), before);

    ASSERT_EQ(type("tax_code", "ST"), Entry::Accepted);
    const QString description = QStringLiteral("Customs 'duty'; DROP TABLE Vendor_table; -- \"all\" ") + QString(300, u'x');
    type("description", description + QChar(0) + QChar(0x1b));
    ASSERT_TRUE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Add new charged item complete");
    EXPECT_EQ(window->mode(), WindowModel::Mode::Read);
    EXPECT_EQ(text("SELECT Description FROM Vendor_miscellaneous_charge_table WHERE itemcode = 'DUTY'"), description);
    EXPECT_EQ(text("SELECT accno FROM Vendor_miscellaneous_charge_table WHERE itemcode = 'DUTY'"), "5200");
    EXPECT_GT(count("Vendor_table"), 0);
    ASSERT_GE(row_of("DUTY"), 0);
    EXPECT_EQ(grid().current_row(), row_of("DUTY")) << "the added charge is selected";
    EXPECT_EQ(grid().cell(row_of("DUTY"), "account name"), "Freight and duty");

    const QStringList after_add = charges();
    start_new("FREIGHT");
    type("account", "6000");
    type("tax_code", "EXEMPT");
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "FREIGHT exist");
    EXPECT_EQ(charges(), after_add);
}

TEST_F(ChargeWindow, ChargeAddedByAnotherUserMeanwhileIsAnExistingCode)
{
    start_new("RUSH");
    type("account", "6000");
    type("tax_code", "ST");
    ASSERT_TRUE(t.db().execute("INSERT INTO Vendor_miscellaneous_charge_table (itemcode, Description, account, tax_code)"
                               " VALUES ('RUSH', 'Other clerk', '5200', 'ST')"));
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "RUSH exist");
    EXPECT_EQ(text("SELECT Description FROM Vendor_miscellaneous_charge_table WHERE itemcode = 'RUSH'"), "Other clerk");
}

TEST_F(ChargeWindow, EditSaveWritesChangedAndNewRowsTogetherOrNothing)
{
    ASSERT_TRUE(run(CommandId::EditMode));
    const int freight = row_of("FREIGHT");
    const int handling = row_of("HANDLING");
    EXPECT_FALSE(grid().cell_editable(freight, grid().column_index("item code"))) << "a saved code stays";
    EXPECT_FALSE(grid().cell_editable(freight, grid().column_index("account name")));
    ASSERT_EQ(grid().type_cell(freight, "description", "Freight in"), Entry::Accepted);
    ASSERT_EQ(grid().type_cell(freight, "account", "6000"), Entry::Accepted);
    EXPECT_EQ(grid().cell(freight, "account name"), "Office supplies") << "a typed account shows its name";
    EXPECT_EQ(grid().type_cell(handling, "account", "2000"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "account is invalid.");
    EXPECT_EQ(grid().cell(handling, "account"), "5200") << "the refused account is put back";
    ASSERT_EQ(grid().type_cell(handling, "tax code", "GP"), Entry::Accepted);
    grid().set_current(grid().row_count() - 1, 0);
    ASSERT_TRUE(run(CommandId::InsertLine));
    const int added = grid().current_row();
    EXPECT_TRUE(grid().cell_editable(added, grid().column_index("item code"))) << "a new row takes its code";
    grid().type_cell(added, "item code", "PALLET");
    grid().type_cell(added, "description", "Pallet deposit");
    grid().type_cell(added, "account", "5200");
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify tax code") << "a new row passes the add checks";
    grid().type_cell(added, "tax code", "EXEMPT");

    const QStringList before = charges();
    for (int failing = 1;; ++failing) {
        ASSERT_LT(failing, 40) << "the save never got through";
        t.db().fail_statement(failing);
        const bool saved = run(CommandId::Save);
        t.db().fail_statement(0);
        if (saved)
            break;
        EXPECT_EQ(prompter.last(), "Update failed") << "statement " << failing;
        EXPECT_EQ(charges(), before) << "statement " << failing;
        EXPECT_EQ(window->mode(), WindowModel::Mode::Edit);
    }
    EXPECT_EQ(prompter.last(), "Update complete");
    EXPECT_EQ(charges(), (QStringList{"FREIGHT|Freight in|6000|EXEMPT|6000", "HANDLING|Handling fee|5200|GP|5200",
                                      "PALLET|Pallet deposit|5200|EXEMPT|5200"}));
    EXPECT_EQ(grid().cell(row_of("PALLET"), "account name"), "Freight and duty");
}

TEST_F(ChargeWindow, DeleteIsRefusedWhileAnyDocumentNamesTheCharge)
{
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_invoice_header_table (company, fkey, doctype, docno, vendor_no, void)"
                               " VALUES (1, '1vi-9', 'vi', 'VI-26-00009', 'V100', TRUE)"));
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_invoice_transaction_table (company, fkey, itemno, docno, itemcode, itemtype, void)"
                               " VALUES (1, '1vi-9', 1, 'VI-26-00009', 'FREIGHT', '6', TRUE)"));
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_receipt_transaction_table (company, fkey, landed_item, itemno, docno, itemcode, itemtype)"
                               " VALUES (1, '1ro-4', TRUE, 1, 'RO-26-00004', 'HANDLING', '1')"));
    grid().set_current(row_of("FREIGHT"), 0);
    prompter.answer_no();
    EXPECT_FALSE(run(CommandId::Delete));
    EXPECT_EQ(prompter.records().back().text, "Are you sure to delete FREIGHT");
    EXPECT_EQ(prompter.records().back().title, "Delete item");
    prompter.answer_yes();
    EXPECT_FALSE(run(CommandId::Delete));
    EXPECT_EQ(prompter.last(), "FREIGHT is used by VI-26-00009. Can not delete.") << "a void bill still counts";
    grid().set_current(row_of("HANDLING"), 0);
    prompter.answer_yes();
    EXPECT_FALSE(run(CommandId::Delete));
    EXPECT_EQ(prompter.last(), "HANDLING is used by RO-26-00004. Can not delete.") << "a landed line names its charge";
    EXPECT_EQ(count("Vendor_miscellaneous_charge_table"), 2);

    ASSERT_TRUE(t.db().execute("DELETE FROM PO_receipt_transaction_table"));
    ASSERT_TRUE(run(CommandId::EditMode));
    grid().set_current(row_of("HANDLING"), 0);
    prompter.answer_yes();
    ASSERT_TRUE(run(CommandId::DeleteLine)) << "deleting a saved line deletes the charge";
    EXPECT_EQ(prompter.last(), "Delete item complete");
    EXPECT_EQ(count("Vendor_miscellaneous_charge_table WHERE itemcode = 'HANDLING'"), 0);
    EXPECT_EQ(row_of("HANDLING"), -1);
}

TEST_F(ChargeWindow, WritesNeedTheUpdateRightWhereTheyHappen)
{
    grant("VIEWER", false, true);
    start_new("DEMURRAGE");
    type("account", "5200");
    type("tax_code", "ST");
    become("VIEWER");
    EXPECT_FALSE(run(CommandId::Save)) << "the command is off";
    prompter.answer_yes();
    EXPECT_FALSE(window->close_window(WindowModel::Closing::AskAboutChanges));
    EXPECT_EQ(prompter.records().at(prompter.records().size() - 2).text, "Do you want to save new item?");
    EXPECT_EQ(prompter.last(), "You have no right to update this window.");
    EXPECT_EQ(count("Vendor_miscellaneous_charge_table WHERE itemcode = 'DEMURRAGE'"), 0);
    EXPECT_TRUE(run(CommandId::Preview)) << "printing needs only the print right";
}

TEST_F(ChargeWindow, PrintsEveryChargeOnceUnderItsTitle)
{
    ASSERT_TRUE(run(CommandId::Preview));
    ASSERT_FALSE(notifications.empty());
    EXPECT_EQ(notifications.back().formx, "pdf viewer landscape");
    EXPECT_TRUE(notifications.back().docnox.endsWith("purchase_misc_charge093000_L.pdf")) << notifications.back().docnox.toStdString();
    EXPECT_EQ(notifications.back().arg2, "Preview PURCHASE MISCELLANEOUS CHARGES");
    const QString printed = printed_text();
    if (printed.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(printed.contains("PURCHASE MISCELLANEOUS CHARGES"));
    EXPECT_EQ(printed.count("FREIGHT"), 1);
    EXPECT_EQ(printed.count("HANDLING"), 1);
    EXPECT_TRUE(printed.contains("Handling fee"));
}

TEST_F(ChargeWindow, PageSetupAndHelpAreAskedOfTheHost)
{
    WindowModel* setup = nullptr;
    QObject::connect(window.get(), &WindowModel::childWindowOpened, [&](WindowModel* child) { setup = child; });
    ASSERT_TRUE(run(CommandId::Print));
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->class_name(), "Form_report_format");
    EXPECT_EQ(setup->field("Orientation"), "Landscape");
    setup->type_into("Orientation", "Portrait");
    ASSERT_TRUE(setup->execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Save format complete");
    ASSERT_TRUE(run(CommandId::Preview));
    EXPECT_EQ(notifications.back().formx, "pdf viewer") << "the saved page format applies";

    ASSERT_TRUE(run(CommandId::WindowHelp));
    EXPECT_EQ(notifications.back().formx, "pdf viewer");
    EXPECT_TRUE(notifications.back().docnox.endsWith("Help/Purchase Miscellaneous charge Help.pdf"));
    ASSERT_TRUE(run(CommandId::SystemHelp));
    EXPECT_TRUE(notifications.back().docnox.endsWith("Help/Purchase Order System Help.pdf"));
    ASSERT_TRUE(run(CommandId::Exit));
    EXPECT_EQ(notifications.back().formx, "Next App");
}

} // namespace
} // namespace zelkor::testing
