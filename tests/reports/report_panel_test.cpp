// The report windows' panel and format commands: Print Column and Sort open the side panel,
// Sort orders the rows, Clear empties every filter, and Font shows the font toolbar, kept where
// the user has a row of the window.
#include "report_fixture.h"
#include "reports/POreport_po_transaction.h"
#include "reports/POreport_vendor_list.h"

#include <memory>

namespace zelkor::testing {
namespace {

const QString Panel = QStringLiteral("print_column_search_sort");

using OrderPanel = ReportTest<POreport_po_transaction>;

TEST_F(OrderPanel, PrintColumnAndSortOpenThePanelSortOrdersTheRowsAndClearEmptiesTheFilters)
{
    EXPECT_FALSE(window->find_pane(Panel)->visible);
    ASSERT_TRUE(window->execute(int(ReportCommand::PrintColumn)));
    EXPECT_TRUE(window->find_pane(Panel)->visible);
    window->show_pane(Panel, false);
    ASSERT_TRUE(window->execute(int(ReportCommand::Sort)));
    EXPECT_TRUE(window->find_pane(Panel)->visible);

    Grid& sort = *window->grid("dbgrid_sort");
    ASSERT_EQ(sort.type_cell(0, "sort by", "extended cost"), Entry::Accepted);
    ASSERT_EQ(sort.type_cell(0, "order", "Descending"), Entry::Accepted);
    EXPECT_EQ(find({}, "extended cost"), (QStringList{"200.00", "100.00", "50.00", "25.00", "15.00"}));
    ASSERT_EQ(sort.type_cell(0, "order", "Ascending"), Entry::Accepted);
    EXPECT_EQ(find({}, "extended cost"), (QStringList{"15.00", "25.00", "50.00", "100.00", "200.00"}));

    window->set_field("vendor_no", "V100");
    window->set_field("description", "Widget");
    window->set_field("status", "Open");
    ASSERT_TRUE(window->run_inquiry());
    EXPECT_EQ(column("document no"), QStringList{"PO-26-00001"});
    ASSERT_TRUE(window->execute(int(ReportCommand::Clear)));
    for (const char* name : {"vendor_no", "description", "status"})
        EXPECT_EQ(window->field(name), "") << name;
    ASSERT_TRUE(window->run_inquiry());
    EXPECT_EQ(window->results().row_count(), 5) << "nothing filters once cleared";
}

using VendorFont = ReportTest<POreport_vendor_list>;

TEST_F(VendorFont, FontShowsTheFontToolbarKeptForAUserWithTheWindowsRow)
{
    const auto reopened = [&] {
        auto again = std::make_unique<POreport_vendor_list>();
        again->apply_settings(window_settings(t.db(), QStringLiteral("ADMIN"), folder.path()));
        again->set_prompter(&prompter);
        again->open();
        return again;
    };
    const bool shown = window->layouts().fontbar();
    ASSERT_TRUE(window->execute(int(ReportCommand::Font)));
    EXPECT_EQ(window->layouts().fontbar(), !shown);
    ASSERT_TRUE(window->close_window(WindowModel::Closing::Unload));
    // Without a row of the window for the user, the choice lasts as long as the window.
    auto again = reopened();
    EXPECT_EQ(again->layouts().fontbar(), shown);

    ASSERT_TRUE(t.db().execute("INSERT INTO Form_property_table (userid, form, toolbar_text, Fontbar)"
                               " VALUES ('ADMIN', 'POreport_vendor_list', FALSE, FALSE)"));
    again = reopened();
    ASSERT_TRUE(again->execute(int(ReportCommand::Font)));
    EXPECT_TRUE(again->layouts().fontbar());
    ASSERT_TRUE(again->close_window(WindowModel::Closing::Unload));
    EXPECT_TRUE(reopened()->layouts().fontbar()) << "kept in the user's row";
}

} // namespace
} // namespace zelkor::testing
