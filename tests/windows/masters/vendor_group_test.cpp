// The vendor group window: the group list, the members of one group, moving and removing
// members, deleting groups and printing both lists.
#include "master_fixture.h"
#include "windows/masters/POform_vendor_group.h"

namespace zelkor::testing {
namespace {

class VendorGroupWindow : public MasterWindowTest<POform_vendor_group> {
protected:
    Grid& groups() { return window->groups(); }
    Grid& members() { return window->members(); }
    int row_of(Grid& grid, const char* column, const QString& value)
    {
        for (int row = 0; row < grid.row_count(); ++row)
            if (grid.cell(row, QString::fromLatin1(column)) == value)
                return row;
        return -1;
    }
    QString group_of(const QString& vendor)
    {
        return text("SELECT vendor_group FROM Vendor_table WHERE vendor_no = ?", {vendor});
    }
    void open_group(const QString& group)
    {
        ASSERT_TRUE(window->activate_row(groups(), row_of(groups(), "group name", group)));
        ASSERT_EQ(window->view(), POform_vendor_group::View::Members);
    }
};

TEST_F(VendorGroupWindow, AddsAGroupOnceAndOffersItAtOnce)
{
    ASSERT_TRUE(run(CommandId::New));
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify group name");
    type("group_name", "DOMESTIC");
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "DOMESTIC exist");
    type("group_name", "LOCAL");
    type("description", "Suppliers in town");
    ASSERT_TRUE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Add new customer group complete");
    EXPECT_EQ(text("SELECT Description FROM Vendor_group_master_table WHERE group_name = 'LOCAL'"), "Suppliers in town");
    EXPECT_GE(row_of(groups(), "group name", "LOCAL"), 0);
    EXPECT_GE(window->find_field("vendor_group")->choices.find("LOCAL"), 0) << "the drop-down offers the new group";
    EXPECT_EQ(type("vendor_group", "NOWHERE"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "NOWHERE is invalid.");
    ASSERT_EQ(type("vendor_group", "LOCAL"), Entry::Accepted);
    EXPECT_EQ(window->view(), POform_vendor_group::View::Members);
    EXPECT_EQ(members().row_count(), 0);
}

TEST_F(VendorGroupWindow, OpeningAGroupWithUnsavedEditsAsksFirst)
{
    ASSERT_TRUE(run(CommandId::EditMode));
    const int domestic = row_of(groups(), "group name", "DOMESTIC");
    EXPECT_FALSE(groups().cell_editable(domestic, 0)) << "a saved group keeps its name";
    groups().type_cell(domestic, "description", "Home suppliers");
    prompter.answer_no();
    open_group("DOMESTIC");
    EXPECT_EQ(prompter.records().back().text, "Do you want to save editing?");
    EXPECT_EQ(window->mode(), WindowModel::Mode::Read);
    EXPECT_EQ(text("SELECT Description FROM Vendor_group_master_table WHERE group_name = 'DOMESTIC'"), "Domestic suppliers");
    EXPECT_EQ(members().row_count(), 2);
    EXPECT_EQ(members().cell(0, "vendor no"), "V100");
    EXPECT_EQ(members().cell(1, "name"), "O'Brien Supply");

    ASSERT_TRUE(run(to_int(POform_vendor_group::Command::Back)));
    EXPECT_EQ(window->view(), POform_vendor_group::View::Groups);
    ASSERT_TRUE(run(CommandId::EditMode));
    groups().type_cell(row_of(groups(), "group name", "DOMESTIC"), "description", "Home suppliers");
    prompter.answer_yes();
    open_group("DOMESTIC");
    EXPECT_EQ(prompter.records().at(prompter.records().size() - 2).text, "Do you want to save editing?");
    EXPECT_EQ(prompter.last(), "Update complete");
    EXPECT_EQ(text("SELECT Description FROM Vendor_group_master_table WHERE group_name = 'DOMESTIC'"), "Home suppliers");
}

TEST_F(VendorGroupWindow, MovingAVendorChangesOnlyThatVendor)
{
    open_group("DOMESTIC");
    ASSERT_TRUE(run(CommandId::EditMode));
    EXPECT_FALSE(members().cell_editable(0, members().column_index("vendor no"))) << "a listed vendor stays";
    EXPECT_EQ(members().type_cell(1, "vendor group", "NOWHERE"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "NOWHERE is invalid.");
    ASSERT_EQ(members().type_cell(1, "vendor group", "OVERSEAS"), Entry::Accepted);

    ASSERT_TRUE(run(CommandId::InsertLine));
    const int added = members().current_row();
    EXPECT_EQ(members().cell(added, "vendor group"), "DOMESTIC");
    EXPECT_EQ(members().type_cell(added, "vendor no", "V999"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "vendor no is invalid.");
    members().set_cell(added, "vendor no", "V100");
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "V100 is listed twice.");
    ASSERT_EQ(members().type_cell(added, "vendor no", "V400"), Entry::Accepted);
    EXPECT_EQ(members().cell(added, "name"), "Unconfigured Vendor");

    ASSERT_TRUE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "update complete");
    EXPECT_EQ(group_of("V100"), "DOMESTIC");
    EXPECT_EQ(group_of("V200"), "OVERSEAS");
    EXPECT_EQ(group_of("V300"), "OVERSEAS");
    EXPECT_EQ(group_of("V400"), "DOMESTIC");
    EXPECT_EQ(group_of("V900"), "");
    EXPECT_EQ(text("SELECT group_name FROM Vendor_group_table WHERE vendor_no = 'V200'"), "OVERSEAS");
    EXPECT_EQ(count("Vendor_group_table WHERE group_name = 'DOMESTIC'"), 2);
    EXPECT_EQ(members().row_count(), 2) << "the moved vendor left the list";
}

TEST_F(VendorGroupWindow, AGroupIsDeletedOnlyOnceItsVendorsAreRemoved)
{
    ASSERT_TRUE(run(CommandId::Delete));
    EXPECT_EQ(groups().delete_button_tooltip(), "delete vendor group");
    prompter.answer_yes();
    EXPECT_FALSE(window->delete_row(groups(), row_of(groups(), "group name", "OVERSEAS")));
    EXPECT_EQ(prompter.records().at(prompter.records().size() - 2).text, "Are you sure to delete vendor group OVERSEAS?");
    EXPECT_EQ(prompter.last(), "OVERSEAS has vendors. Remove them from the group first.");
    EXPECT_EQ(count("Vendor_group_master_table"), 2);

    open_group("OVERSEAS");
    EXPECT_EQ(members().delete_button_tooltip(), "remove vendor from specified group");
    EXPECT_FALSE(groups().has_delete_buttons());
    prompter.answer_no();
    EXPECT_FALSE(window->delete_row(members(), 0));
    EXPECT_EQ(prompter.last(), "Are you sure to remove V300 from group OVERSEAS?");
    prompter.answer_yes();
    ASSERT_TRUE(window->delete_row(members(), 0));
    EXPECT_TRUE(t.scalar("SELECT vendor_group FROM Vendor_table WHERE vendor_no = 'V300'").isNull());
    EXPECT_EQ(members().row_count(), 0);
    EXPECT_EQ(count("Vendor_group_table WHERE vendor_no = 'V300'"), 0);

    ASSERT_TRUE(run(to_int(POform_vendor_group::Command::Back)));
    prompter.answer_yes();
    ASSERT_TRUE(window->delete_row(groups(), row_of(groups(), "group name", "OVERSEAS")));
    EXPECT_EQ(prompter.last(), "Delete complete");
    EXPECT_EQ(count("Vendor_group_master_table WHERE group_name = 'OVERSEAS'"), 0);
    EXPECT_EQ(row_of(groups(), "group name", "OVERSEAS"), -1);
    EXPECT_LT(window->find_field("vendor_group")->choices.find("OVERSEAS"), 0);
}

TEST_F(VendorGroupWindow, PrintsTheGroupsOrTheMembersOfEveryGroup)
{
    ASSERT_TRUE(run(CommandId::Preview));
    EXPECT_EQ(notifications.back().arg2, "Preview VENDOR GROUP MASTER");
    EXPECT_TRUE(notifications.back().docnox.contains("vendor_group_master093000"));
    const QString groups_printed = printed_text();

    ASSERT_TRUE(t.db().execute("UPDATE Vendor_table SET vendor_group = '' WHERE vendor_no = 'V400'"));
    open_group("DOMESTIC");
    window->set_field("vendor_group", "");
    ASSERT_TRUE(run(CommandId::Preview));
    EXPECT_EQ(notifications.back().arg2, "Preview VENDOR GROUP MEMBER");
    EXPECT_TRUE(notifications.back().docnox.contains("vendor_group_member093000"));
    const QString members_printed = printed_text();
    if (members_printed.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(groups_printed.contains("VENDOR GROUP MASTER"));
    EXPECT_TRUE(groups_printed.contains("Overseas suppliers"));
    EXPECT_TRUE(members_printed.contains("VENDOR GROUP MEMBER"));
    for (const char* vendor : {"V100", "V200", "V300"})
        EXPECT_EQ(members_printed.count(QLatin1String(vendor)), 1) << vendor;
    EXPECT_FALSE(members_printed.contains("V400")) << "a vendor of group '' belongs to no group";
    EXPECT_FALSE(members_printed.contains("V900"));
}

} // namespace
} // namespace zelkor::testing
