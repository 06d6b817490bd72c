// Order templates: kept from a saved order or written in the window, started from, edited,
// copied and deleted; every write one transaction that a failure leaves undone.
#include "documents/order/po_invariants.h"
#include "tests/support/po_window_fixture.h"

#include <functional>

namespace zelkor {
namespace {

using Command = POform_po::Command;

const QStringList Preferences{"Form_property_table", "Grid_property", "Recent_value_table", "Report_format_table"};

class OrderTemplates : public OrderWindow {
protected:
    /// Types a line into the first row without an item code, as a clerk would.
    void enter_line(const QString& item, const QString& quantity, const QString& cost, const QString& tax_code = {})
    {
        Grid& grid = window.lines();
        int row = 0;
        while (row < grid.row_count()
               && (!grid.cell(row, "item code").isEmpty() || !grid.cell(row, "description").isEmpty()))
            ++row;
        if (row == grid.row_count())
            grid.append_row();
        ASSERT_EQ(grid.type_cell(row, "item code", item), Entry::Accepted) << prompter.last().toStdString();
        ASSERT_EQ(grid.type_cell(row, "quantity order", quantity), Entry::Accepted);
        ASSERT_EQ(grid.type_cell(row, "unit cost", cost), Entry::Accepted);
        if (!tax_code.isEmpty()) {
            ASSERT_EQ(grid.type_cell(row, "tax code", tax_code), Entry::Accepted);
        }
    }

    /// Keeps the shown saved order as a template of this name.
    void save_as_template(const QString& name)
    {
        prompter.answer_text(name);
        ASSERT_TRUE(window.execute(Command::SaveAsTemplate)) << prompter.last().toStdString();
        ASSERT_EQ(prompter.last(), "Add new template complete");
    }

    QStringList template_choices()
    {
        QStringList names;
        for (const QStringList& row : window.find_field("template")->choices.rows)
            names << row.join(u'|');
        return names;
    }

    QStringList template_rows()
    {
        return t.rows("SELECT * FROM PO_header_template_table ORDER BY docno")
            + t.rows("SELECT * FROM PO_transaction_template_table ORDER BY docno, itemno");
    }

    qint64 lines_of(const QString& name) { return t.count("PO_transaction_template_table WHERE docno = ?", {name}); }

    /// Makes each statement of `run` fail in turn until it says `done`: every failure leaves
    /// every table as it was and says `failed` last.
    void fail_each_statement(const std::function<void()>& run, const QString& done, const QString& failed)
    {
        const QStringList before = t.snapshot(Preferences);
        const WindowModel::Mode mode = window.mode();
        int failures = 0;
        for (int statement = 1; statement < 100; ++statement) {
            prompter.clear();
            t.db().fail_statement(statement);
            run();
            t.db().fail_statement(0);
            prompter.clear_answers();
            if (prompter.messages().contains(done))
                break;
            SCOPED_TRACE(statement);
            ++failures;
            ASSERT_FALSE(prompter.messages().isEmpty());
            EXPECT_EQ(prompter.messages().last(), failed) << prompter.messages().join(" | ").toStdString();
            EXPECT_EQ(window.mode(), mode);
            ASSERT_EQ(t.snapshot(Preferences), before);
        }
        EXPECT_TRUE(prompter.messages().contains(done)) << prompter.messages().join(" | ").toStdString();
        EXPECT_GE(failures, 3);
    }
};

TEST_F(OrderTemplates, SaveAsTemplateCopiesTheOrderAndReplacesOnlyWhenAsked)
{
    // A widget line in boxes with a second description row, and a manual under two authorities.
    start_order("V100", {});
    enter_line("WIDGET", "2", "30");
    ASSERT_EQ(window.lines().type_cell(window.lines().append_row(), "description", "zinc plated"), Entry::Accepted);
    enter_line("MANUAL", "3", "4", "GP");
    for (const auto& [name, value] : {std::pair{"remark", "Weekly restock"}, {"fax", "555-0199"}, {"fob_point", "Dayton"},
                                      {"reference", "Q-17"}})
        ASSERT_EQ(window.type_into(name, value), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save));
    ASSERT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");

    // An empty name keeps nothing and says nothing.
    prompter.clear();
    prompter.answer_text("  ");
    EXPECT_FALSE(window.execute(Command::SaveAsTemplate));
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(t.count("PO_header_template_table"), 0);

    save_as_template("WEEKLY");
    EXPECT_EQ(t.text("SELECT vendor_no || '|' || shipto || '|' || currency || '|' || payment_term || '|' || remark || '|'"
                     " || fax || '|' || fob_point || '|' || COALESCE(reference, '') || '|' || user_created"
                     " FROM PO_header_template_table WHERE docno = 'WEEKLY'"),
              "V100|MAIN|USD|30|Weekly restock|555-0199|Dayton||ADMIN");
    EXPECT_EQ(t.rows("SELECT itemno, itemcode, description, uom, tax_code, tax_authority1, COALESCE(tax_authority2, '-')"
                     " FROM PO_transaction_template_table ORDER BY itemno"),
              (QStringList{"1|WIDGET|Widget\nzinc plated|box|ST|STATE|-", "2|MANUAL|Operating manual|each|GP|GST|PST"}));
    EXPECT_EQ(t.decimal("SELECT quantity FROM PO_transaction_template_table WHERE itemno = 1"), Decimal(2));
    EXPECT_EQ(t.decimal("SELECT tax_amount1 FROM PO_transaction_template_table WHERE itemno = 2"), Decimal("0.60"));
    EXPECT_EQ(template_choices(), QStringList{"WEEKLY|Weekly restock"});
    expect_consistent();

    // The same name again: "No" keeps the old template, "Yes" replaces its lines.
    save_order("V100", {{"BOLT", "1", "box", "5"}});
    ASSERT_EQ(prompter.last(), "Add new PO no. PO-26-00002 complete");
    prompter.answer_text("WEEKLY");
    prompter.answer_no();
    EXPECT_FALSE(window.execute(Command::SaveAsTemplate));
    EXPECT_EQ(prompter.last(), "Template WEEKLY exist. Do you want to replace it?");
    EXPECT_EQ(t.text("SELECT itemcode FROM PO_transaction_template_table WHERE itemno = 1"), "WIDGET");
    prompter.answer_text("WEEKLY");
    prompter.answer_yes();
    save_as_template("WEEKLY");
    EXPECT_EQ(t.rows("SELECT docno, itemno, itemcode FROM PO_transaction_template_table"), QStringList{"WEEKLY|1|BOLT"});
    EXPECT_EQ(t.text("SELECT COALESCE(remark, '') FROM PO_header_template_table"), "");

    // Only a saved order shown in read mode becomes a template.
    for (CommandId mode : {CommandId::New, CommandId::EditMode}) {
        ASSERT_TRUE(window.execute(mode));
        EXPECT_FALSE(window.execute(Command::SaveAsTemplate));
        EXPECT_EQ(prompter.last(), "This command is working in read mode.");
        ASSERT_TRUE(window.execute(mode));
    }
    EXPECT_EQ(t.count("PO_header_template_table"), 1);
    expect_consistent();

    // The checker names a template line that lost its header or carries a tax its slots do not.
    ASSERT_TRUE(t.db().execute("UPDATE PO_transaction_template_table SET tax_amount = tax_amount + 1"));
    ASSERT_TRUE(t.db().execute("DELETE FROM PO_header_template_table"));
    auto violations = check_invariants(t.db(), purchase_order_invariant_checks());
    ASSERT_TRUE(violations.has_value());
    EXPECT_EQ(*violations, (QStringList{"order templates are whole: line 1 of template WEEKLY has no header",
                                        "template line taxes add up: line 1 of template WEEKLY carries a tax other than"
                                        " its slots'"}));
}

TEST_F(OrderTemplates, NewTemplateChecksInOrderThenStartsOrdersThatSaveAsOrdinaryOrders)
{
    const QString name = R"(Joe's "best")";
    ASSERT_TRUE(window.execute(Command::NewTemplate));
    EXPECT_EQ(window.caption(), "New Template");
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify template name");
    ASSERT_EQ(window.type_into("template", name), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "No detail line");
    ASSERT_EQ(window.type_into("vendor_no", "V100"), Entry::Accepted);
    enter_line("WIDGET", "2", "30");
    ASSERT_EQ(window.type_into("currency", ""), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify currency");
    ASSERT_EQ(window.type_into("currency", "USD"), Entry::Accepted);
    ASSERT_EQ(window.type_into("payment_term", ""), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify payment term");
    ASSERT_EQ(window.type_into("payment_term", "30"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Add new template " + name + " complete.");
    EXPECT_EQ(window.caption(), "Purchase Order");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    EXPECT_EQ(t.count("PO_header_template_table WHERE docno = ?", {name}), 1);
    EXPECT_EQ(t.count("PO_header_table"), 0);

    // The name is taken: refused, and the template mode is left with the usual question.
    ASSERT_TRUE(window.execute(Command::NewTemplate));
    ASSERT_EQ(window.type_into("template", name), Entry::Accepted);
    ASSERT_EQ(window.type_into("vendor_no", "V200"), Entry::Accepted);
    enter_line("BOLT", "1", "5");
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Template " + name + " exist.");
    prompter.answer_no();
    ASSERT_TRUE(window.execute(Command::NewTemplate));
    EXPECT_EQ(prompter.records().back().text, "Do you want to save new entry?");
    EXPECT_EQ(window.caption(), "Purchase Order");
    EXPECT_EQ(lines_of(name), 1);

    // Chosen in read mode it starts a new order, its tax computed at today's rate.
    ASSERT_TRUE(t.db().execute("UPDATE Tax_code_details_table SET Rate = 6 WHERE tax_code = 'ST'"));
    const QStringList kept = template_rows();
    ASSERT_EQ(window.type_into("template", name), Entry::Accepted);
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    EXPECT_EQ(window.field("docno"), "** New **");
    EXPECT_EQ(window.field("vendor_no"), "V100");
    EXPECT_EQ(window.field("vendor_name"), "Acme Industrial Supply");
    EXPECT_EQ(window.lines().row(0).mid(0, 2), (QStringList{"1", "WIDGET"}));
    EXPECT_EQ(window.lines().cell(0, "uom"), "box");
    EXPECT_EQ(window.lines().cell(0, "tax amount"), "3.60");
    EXPECT_EQ(window.field("total"), "63.60");
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");
    EXPECT_EQ(t.decimal("SELECT tax_amount1 FROM PO_transaction_table"), Decimal("3.60"));
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(24));
    EXPECT_EQ(template_rows(), kept);
    expect_consistent();
}

TEST_F(OrderTemplates, EditCopyAndDeleteTouchOnlyTheirOwnTemplate)
{
    save_order("V100", {{"WIDGET", "2", "box", "30"}});
    save_as_template("A");
    save_order("V200", {{"BOLT", "1", "box", "5"}, {"MANUAL", "1", "each", "4"}});
    save_as_template("B");
    const QStringList lines_of_b = t.rows("SELECT * FROM PO_transaction_template_table WHERE docno = 'B' ORDER BY itemno");

    for (Command command : {Command::EditTemplate, Command::DeleteTemplate}) {
        EXPECT_FALSE(window.execute(command));
        EXPECT_EQ(prompter.last(), "No template available.");
    }

    // Edited: the header stamped, A's lines written again, B's left alone.
    ASSERT_EQ(window.type_into("template", "A"), Entry::Accepted);
    ASSERT_TRUE(window.execute(Command::EditTemplate));
    EXPECT_EQ(window.caption(), "Edit Template");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Edit);
    EXPECT_EQ(window.type_into("template", "B"), Entry::ReadOnly);
    ASSERT_EQ(window.lines().type_cell(0, "quantity order", "5"), Entry::Accepted);
    ASSERT_EQ(window.mode(), WindowModel::Mode::Edit) << prompter.messages().join(" | ").toStdString();
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Update template A complete");
    EXPECT_EQ(window.caption(), "Purchase Order");
    EXPECT_EQ(t.decimal("SELECT quantity FROM PO_transaction_template_table WHERE docno = 'A'"), Decimal(5));
    EXPECT_EQ(t.decimal("SELECT extended_cost FROM PO_transaction_template_table WHERE docno = 'A'"), Decimal(150));
    EXPECT_EQ(t.text("SELECT user_updated FROM PO_header_template_table WHERE docno = 'A'"), "ADMIN");
    EXPECT_EQ(t.scalar("SELECT date_lastmodified FROM PO_header_template_table WHERE docno = 'A'").toDate(),
              QDate(2026, 3, 15));
    EXPECT_EQ(t.rows("SELECT * FROM PO_transaction_template_table WHERE docno = 'B' ORDER BY itemno"), lines_of_b);

    // The edit's checks, then leaving it unsaved asks and puts the template back.
    ASSERT_TRUE(window.execute(Command::EditTemplate));
    ASSERT_EQ(window.type_into("payment_term", ""), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify payment term");
    prompter.answer_no();
    ASSERT_TRUE(window.execute(Command::EditTemplate));
    EXPECT_EQ(prompter.records().back().text, "Do you want to save editing?");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    EXPECT_EQ(window.field("payment_term"), "30");

    // Copied: the shown template under a new name.
    ASSERT_TRUE(window.execute(Command::CopyToNewTemplate));
    EXPECT_EQ(window.caption(), "New Template");
    EXPECT_EQ(window.field("template"), "");
    ASSERT_EQ(window.type_into("template", "C"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new template C complete.");
    EXPECT_EQ(t.rows("SELECT itemno, itemcode, uom FROM PO_transaction_template_table WHERE docno = 'C'"),
              QStringList{"1|WIDGET|box"});
    EXPECT_EQ(template_choices(), (QStringList{"A|", "B|", "C|"}));

    // Deleted after asking: "No" keeps it; the window then shows the last order.
    prompter.answer_no();
    EXPECT_FALSE(window.execute(Command::DeleteTemplate));
    EXPECT_EQ(prompter.last(), "Are you sure to delete template C?");
    EXPECT_EQ(lines_of("C"), 1);
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(Command::DeleteTemplate));
    EXPECT_EQ(prompter.last(), "Template C is deleted.");
    EXPECT_EQ(t.count("PO_header_template_table WHERE docno = 'C'"), 0);
    EXPECT_EQ(lines_of("C"), 0);
    EXPECT_EQ(window.field("docno"), "PO-26-00002");
    EXPECT_EQ(template_choices(), (QStringList{"A|", "B|"}));
    expect_consistent();

    // Closing the window in a template's edit asks, and "Yes" saves the template.
    ASSERT_EQ(window.type_into("template", "B"), Entry::Accepted);
    ASSERT_TRUE(window.execute(Command::EditTemplate));
    ASSERT_EQ(window.lines().type_cell(1, "quantity order", "4"), Entry::Accepted);
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Exit));
    EXPECT_EQ(prompter.messages().last(), "Update template B complete");
    EXPECT_EQ(t.decimal("SELECT quantity FROM PO_transaction_template_table WHERE docno = 'B' AND itemno = 2"),
              Decimal(4));
    expect_consistent();
}

TEST_F(OrderTemplates, EveryStatementOfATemplateWriteFailsCleanly)
{
    save_order("V100", {{"WIDGET", "2", "box", "30"}, {"MANUAL", "3", "each", "4"}});
    const QString template_saved = "Add new template complete";
    const QString template_failed = "Add new template failed.";
    fail_each_statement([&] { prompter.answer_text("A"); window.execute(Command::SaveAsTemplate); }, template_saved,
                        template_failed);
    fail_each_statement(
        [&] {
            prompter.answer_text("A");
            prompter.answer_yes();
            window.execute(Command::SaveAsTemplate);
        },
        template_saved, template_failed);

    ASSERT_TRUE(window.execute(Command::NewTemplate));
    ASSERT_EQ(window.type_into("template", "N"), Entry::Accepted);
    ASSERT_EQ(window.type_into("vendor_no", "V100"), Entry::Accepted);
    enter_line("WIDGET", "1", "30");
    enter_line("BOLT", "2", "5", "GP");
    fail_each_statement([&] { window.execute(CommandId::Save); }, "Add new template N complete.", template_failed);

    ASSERT_EQ(window.type_into("template", "A"), Entry::Accepted);
    ASSERT_TRUE(window.execute(Command::EditTemplate));
    ASSERT_EQ(window.lines().type_cell(0, "quantity order", "7"), Entry::Accepted);
    fail_each_statement([&] { window.execute(CommandId::Save); }, "Update template A complete", "Update failed.");

    fail_each_statement([&] { prompter.answer_yes(); window.execute(Command::DeleteTemplate); }, "Template A is deleted.",
                        "Delete template failed.");
    EXPECT_EQ(t.count("PO_header_template_table"), 1);
    expect_consistent();
}

} // namespace
} // namespace zelkor
