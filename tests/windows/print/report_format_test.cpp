// The page-setup window: defaults, paper choices, its one rule and storing the format.
#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "windows/print/Form_report_format.h"

#include <gtest/gtest.h>

namespace {

using namespace zelkor;
using zelkor::testing::TestDatabase;

const QString InquiryWindow = QStringLiteral("POreport_po_transaction");

class PageSetup : public ::testing::Test {
protected:
    std::unique_ptr<Form_report_format> open_for(const QString& user, const QString& printing_window = InquiryWindow)
    {
        auto window = std::make_unique<Form_report_format>(printing_window);
        HostSettings settings;
        settings.cnx = settings.dbe = settings.abcdb = &t.db();
        settings.ZELKOR_USER = user;
        window->apply_settings(settings);
        window->set_prompter(&prompter);
        window->open();
        return window;
    }

    qint64 rows_of(const QString& user)
    {
        return t.count("Report_format_table WHERE \"user\" = ? AND form_name = ?", {user, InquiryWindow});
    }

    TestDatabase t;
    ScriptedPrompter prompter;
};

TEST_F(PageSetup, UserWithoutFormatSeesLandscapeLetterAndDefaults)
{
    auto window = open_for("CLERK");

    EXPECT_EQ(window->field("Orientation"), "Landscape");
    EXPECT_EQ(window->field("PaperSize"), "LETTER (8.5x11 in.)");
    EXPECT_EQ(window->field("Width"), "8.5");
    EXPECT_EQ(window->field("Height"), "11");
    EXPECT_EQ(window->field("unit"), "inch");
    EXPECT_EQ(window->field("font_size"), "10.5");
    EXPECT_FALSE(window->field_editable("Width"));
    EXPECT_EQ(window->find_field("PaperSize")->choices.rows.size(), 6u);

    const auto format = report_format_or_default(t.db(), "CLERK", InquiryWindow);
    ASSERT_TRUE(format);
    EXPECT_EQ(format->orientation, QPageLayout::Landscape);
    EXPECT_EQ(format->paper_points(), QSizeF(612, 792));
}

TEST_F(PageSetup, SavedFormatIsAddedThenReplacedAndShownAgain)
{
    auto window = open_for("CLERK");
    window->type_into("Orientation", "Portrait");
    window->type_into("PaperSize", "A4 (210x297 mm)");
    window->type_into("font_size", "9");
    window->type_into("row_height", "12.5");
    window->type_into("left_margin", "18");
    window->type_into("evenrow_color", "E0FFD0");
    window->type_into("column_divider", "1");
    window->type_into("split_page", split_page_choices().at(1));

    ASSERT_TRUE(window->execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Save format complete");
    EXPECT_EQ(rows_of("CLERK"), 1);
    EXPECT_EQ(t.text("SELECT Orientation FROM Report_format_table WHERE \"user\" = 'CLERK'"), "1");
    EXPECT_EQ(t.decimal("SELECT Width FROM Report_format_table WHERE \"user\" = 'CLERK'"), Decimal(210));
    EXPECT_EQ(t.scalar("SELECT evenrow_color FROM Report_format_table WHERE \"user\" = 'CLERK'").toLongLong(),
              0xe0 + 256 * 0xff + 65536 * 0xd0);

    auto reopened = open_for("CLERK");
    EXPECT_EQ(reopened->field("Orientation"), "Portrait");
    EXPECT_EQ(reopened->field("PaperSize"), "A4 (210x297 mm)");
    EXPECT_EQ(reopened->field("unit"), "mm");
    EXPECT_EQ(reopened->field("row_height"), "12.5");
    EXPECT_EQ(reopened->field("evenrow_color"), "e0ffd0");
    EXPECT_TRUE(reopened->find_field("column_divider")->checked());
    EXPECT_FALSE(reopened->find_field("Bold")->checked());

    reopened->type_into("Orientation", "Landscape");
    ASSERT_TRUE(reopened->execute(CommandId::Save));
    EXPECT_EQ(rows_of("CLERK"), 1);
    const auto stored = load_report_format(t.db(), "CLERK", InquiryWindow);
    ASSERT_TRUE(stored && *stored);
    EXPECT_EQ((*stored)->orientation, QPageLayout::Landscape);
    EXPECT_EQ(split_page_of((*stored)->split_page), SplitPage::ContinueOnNextPage);
    EXPECT_EQ((*stored)->left_margin, Decimal(18));
    // Another window of the same user keeps its own (absent) format.
    EXPECT_FALSE(*load_report_format(t.db(), "CLERK", "POreport_vendor_list"));
}

TEST_F(PageSetup, UserDefinedPaperIsTypedAndKept)
{
    auto window = open_for("CLERK");
    window->type_into("PaperSize", "User defined paper size");
    ASSERT_TRUE(window->field_editable("Width"));
    window->type_into("Width", "100");
    window->type_into("Height", "150");
    window->type_into("unit", "mm");
    ASSERT_TRUE(window->execute(CommandId::Save));

    const auto stored = report_format_or_default(t.db(), "CLERK", InquiryWindow);
    ASSERT_TRUE(stored);
    EXPECT_NEAR(stored->paper_points().width(), 100 / 25.4 * 72, 0.01);
    auto reopened = open_for("CLERK");
    EXPECT_EQ(reopened->field("Height"), "150");
    EXPECT_TRUE(reopened->field_editable("Height"));
}

TEST_F(PageSetup, BadInputIsRefusedAndWritesNothing)
{
    auto window = open_for("CLERK");
    window->type_into("font_size", "10.5");
    window->type_into("row_height", "10.5");
    EXPECT_FALSE(window->execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "row height must > font size");

    window->type_into("row_height", "abc");
    EXPECT_FALSE(window->execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Row height must be a number greater than 0.");

    window->type_into("row_height", "14");
    window->type_into("top_margin", "-1");
    EXPECT_FALSE(window->execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Top margin must be a number of 0 or more.");
    EXPECT_EQ(rows_of("CLERK"), 0);
}

TEST_F(PageSetup, FailedSaveRollsBackAndSaysSo)
{
    auto window = open_for("CLERK");
    // A statement inside the save's transaction fails (on SQLite the insert).
    t.db().fail_statement(3);
    EXPECT_FALSE(window->execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Save format failed");
    EXPECT_EQ(rows_of("CLERK"), 0);
}

TEST_F(PageSetup, StoredFixtureFormatIsShown)
{
    auto window = open_for("ADMIN", "POreport_vendor_list");
    EXPECT_EQ(window->field("Orientation"), "Portrait");
    EXPECT_EQ(window->field("PaperSize"), "A4 (210x297 mm)");
    EXPECT_EQ(window->field("font_size"), "10");
    EXPECT_EQ(window->field("row_height"), "14");
    EXPECT_EQ(window->field("evenrow_color"), "f0f0f0");
    EXPECT_TRUE(window->find_field("column_divider")->checked());
    // Both colour fields offer the colour picker's list, the six digits being the value.
    const Choices& colours = window->find_field("font_color")->choices;
    ASSERT_EQ(colours.rows.size(), size_t(510));
    EXPECT_EQ(colours.lookup("fffffe", 1), "almostwhite");
    EXPECT_EQ(window->find_field("evenrow_color")->choices.rows.size(), size_t(510));
}

} // namespace
