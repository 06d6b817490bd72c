// A window gets its stored grid layouts, font panel and form properties from the window model
// itself: opening restores them, the font commands act on them, closing stores them.
#include "windows/base/window_model.h"

#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace zelkor;
using zelkor::testing::TestDatabase;

namespace {

/// A master window with the charge grid the fixture stores a layout for, and no layout code.
class ChargeWindow : public WindowModel {
public:
    ChargeWindow() : WindowModel(QStringLiteral("POform_misccharge"), QStringLiteral("Charges"), Kind::Other)
    {
        declare_grid("dbgrid1", {}, {"item code", "description"});
        declare_command(CommandId::Exit);
        declare_command(CommandId::ShowTextBelowIcon);
        for (int id = 401; id <= 408; ++id)
            declare_command(CommandId(id));
    }
};

class WindowLayoutsWiring : public ::testing::Test {
protected:
    void open(const QString& user = QStringLiteral("ADMIN"))
    {
        HostSettings settings;
        settings.abcdb = &t.db();
        settings.ZELKOR_USER = user;
        window.apply_settings(settings);
        window.set_prompter(&prompter);
        window.open();
    }

    qint64 stored(const char* column, const char* caption)
    {
        return t.scalar(QStringLiteral("SELECT %1 FROM Grid_property WHERE form_name = 'POform_misccharge' AND Caption = ?")
                            .arg(column),
                        {caption})
            .toLongLong();
    }

    void move_and_close()
    {
        GridLayout* layout = window.layouts().layout("dbgrid1");
        ASSERT_NE(layout, nullptr);
        // What the view reports when the clerk drags the description first and widens it.
        QObject::connect(&window.layouts(), &WindowLayouts::aboutToStore, [layout] {
            layout->column(0)->position = 1;
            layout->column(1)->position = 0;
            layout->column(1)->width = 4200;
        });
        EXPECT_TRUE(window.execute(CommandId::Exit));
    }

    TestDatabase t;
    ScriptedPrompter prompter;
    ChargeWindow window;
};

} // namespace

TEST_F(WindowLayoutsWiring, OpeningRestoresTheStoredLayoutAndAddsStoredColumns)
{
    open();
    const Grid* grid = window.main_grid();
    ASSERT_EQ(grid->column_count(), 3) << "the stored 'account' column is added";
    EXPECT_EQ(grid->column(0).width, 100);
    EXPECT_EQ(grid->column(1).width, 200);
    EXPECT_TRUE(grid->column(2).hidden);
    ASSERT_NE(window.layouts().layout("dbgrid1"), nullptr);
    EXPECT_EQ(window.layouts().layout("dbgrid1")->column(1)->font.bold, true);
    EXPECT_FALSE(window.find_command(209)->checked) << "no form properties row for this window";

    window.layouts().font_panel().choose_columns("item code");
    ASSERT_TRUE(window.execute(CommandId::AlignRight));
    EXPECT_EQ(grid->column(0).alignment, Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(grid->column(1).alignment, Qt::AlignLeft | Qt::AlignVCenter);
    ASSERT_TRUE(window.execute(CommandId::Italic));
    ASSERT_TRUE(window.execute(CommandId::SaveFont));
    EXPECT_EQ(prompter.last(), "save font complete");
    EXPECT_EQ(stored("Alignment", "item code"), 1);
    EXPECT_TRUE(t.scalar("SELECT font_italic FROM Grid_property WHERE Caption = 'item code'").toBool());
    EXPECT_TRUE(t.scalar("SELECT font_italic FROM Grid_property WHERE Caption = 'description'").isNull());

    move_and_close();
    EXPECT_EQ(stored("col_order", "description"), 0);
    EXPECT_EQ(stored("col_order", "item code"), 1);
    EXPECT_EQ(stored("col_width", "description"), 4200);
}

TEST_F(WindowLayoutsWiring, WithoutTheDesignRightFontsAndPositionsAreNotStored)
{
    ASSERT_TRUE(t.db().execute("UPDATE User_right_table SET form_design = FALSE WHERE form = 'POform_misccharge'"));
    open();
    EXPECT_EQ(window.main_grid()->column(0).width, 100) << "the layout is still shown";
    EXPECT_FALSE(window.execute(CommandId::SaveFont));
    EXPECT_FALSE(window.execute(CommandId::Bold));

    move_and_close();
    EXPECT_EQ(stored("col_order", "description"), 1);
    EXPECT_EQ(stored("col_width", "description"), 3000);
}

TEST_F(WindowLayoutsWiring, ShowTextBelowIconIsRememberedPerUser)
{
    ASSERT_TRUE(t.db().execute("INSERT INTO Form_property_table (userid, form, toolbar_text, Fontbar)"
                               " VALUES ('ADMIN', 'POform_misccharge', TRUE, TRUE)"));
    open();
    EXPECT_TRUE(window.find_command(209)->checked);
    EXPECT_TRUE(window.layouts().fontbar());
    ASSERT_TRUE(window.execute(CommandId::ShowTextBelowIcon));
    EXPECT_FALSE(window.find_command(209)->checked);
    ASSERT_TRUE(window.execute(CommandId::Exit));
    EXPECT_FALSE(t.scalar("SELECT toolbar_text FROM Form_property_table WHERE form = 'POform_misccharge'").toBool());
}

TEST_F(WindowLayoutsWiring, AlternateRowColourIsOneSwitchForEveryWindowAndUser)
{
    bool restyled = false;
    QObject::connect(&window.layouts(), &WindowLayouts::alternateRowsChanged, [&](bool on) { restyled = on; });
    open(QStringLiteral("CLERK"));
    ASSERT_TRUE(window.has_command(409)) << "every window with grids offers the switch";
    EXPECT_FALSE(window.find_command(409)->checked);
    ASSERT_TRUE(window.execute(CommandId::AlternateRows));
    EXPECT_TRUE(window.find_command(409)->checked);
    EXPECT_TRUE(restyled);
    EXPECT_EQ(t.text("SELECT Value FROM Recent_value_table WHERE control_name = 'evenrow_color'"), QStringLiteral("1"));
    EXPECT_EQ(t.count("Recent_value_table WHERE control_name = 'evenrow_color'"), 1);

    // Another window of another user opens with the switch on.
    ChargeWindow other;
    HostSettings settings;
    settings.abcdb = &t.db();
    settings.ZELKOR_USER = QStringLiteral("ADMIN");
    other.apply_settings(settings);
    other.set_prompter(&prompter);
    other.open();
    EXPECT_TRUE(other.find_command(409)->checked);
}
