#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "windows/base/colour_list.h"
#include "windows/base/command_ids.h"
#include "windows/base/grid.h"
#include "windows/base/prompter.h"
#include "windows/base/window_layouts.h"

#include <gtest/gtest.h>

using namespace zelkor;
using zelkor::testing::TestDatabase;

namespace {

const QString MiscCharge = QStringLiteral("POform_misccharge");
const QString Admin = QStringLiteral("ADMIN");

Grid charge_grid(QStringList columns = {"item code", "description", "account"})
{
    return Grid(QStringLiteral("dbgrid1"), {}, columns);
}

qint64 stored(TestDatabase& t, const char* column, const char* caption)
{
    return t.scalar(QStringLiteral("SELECT %1 FROM Grid_property WHERE form_name = ? AND Caption = ?").arg(column),
                    {MiscCharge, caption})
        .toLongLong();
}

Rights designer()
{
    return Rights{true, true, true};
}

} // namespace

TEST(GridLayoutRestore, StoredRowsConfigureTheGridAndItsPresentation)
{
    TestDatabase t;
    // A visible column whose format does not begin with "#" keeps the grid's own format.
    ASSERT_TRUE(t.db().execute(QStringLiteral("UPDATE Grid_property SET Visible = TRUE, Format = '0.00', cell_type = ?"
                                              " WHERE Caption = 'account'"),
                               {CheckBoxCellType}));
    ASSERT_TRUE(t.db().execute(QStringLiteral("UPDATE Grid_property SET Format = '#,##0.00', Locked = TRUE, row_height = 900"
                                              " WHERE Caption = 'item code'")));
    Grid grid = charge_grid();
    const GridLayout layout = restore_grid(t.db(), MiscCharge, grid, Admin);

    ASSERT_EQ(layout.columns.size(), size_t(3));
    EXPECT_EQ(layout.row_height, StandardRowHeight); // 900 is out of range
    EXPECT_EQ(layout.column(0)->number_format, QStringLiteral("#,##0.00"));
    EXPECT_TRUE(grid.column(0).read_only);
    EXPECT_EQ(grid.column(0).width, 100); // 1500 twips
    EXPECT_EQ(layout.column(1)->font.bold, true);
    EXPECT_FALSE(layout.column(1)->font.italic.has_value());
    EXPECT_TRUE(layout.column(2)->number_format.isEmpty());
    EXPECT_EQ(grid.column(2).kind, FieldKind::Check);
    EXPECT_EQ(grid.column(2).alignment, Qt::AlignLeft | Qt::AlignVCenter); // stored 0 follows the check-box centring

    // Another user has no rows: the grid keeps its built-in layout.
    Grid other = charge_grid();
    EXPECT_FALSE(restore_grid(t.db(), MiscCharge, other, QStringLiteral("CLERK")).stored());
    EXPECT_EQ(other.column(0).width, 0);
}

TEST(GridLayoutRestore, MoreStoredRowsThanColumnsAddColumnsAtTheEnd)
{
    TestDatabase t;
    ASSERT_TRUE(t.db().execute(QStringLiteral("UPDATE Grid_property SET Caption = 'code' WHERE Caption = 'item code'")));
    Grid grid = charge_grid({"item code", "description"});
    const GridLayout layout = restore_grid(t.db(), MiscCharge, grid, Admin);
    ASSERT_EQ(layout.columns.size(), size_t(3));
    ASSERT_EQ(grid.column_count(), 3);
    EXPECT_EQ(grid.column(2).caption, QStringLiteral("account"));
    EXPECT_TRUE(grid.column(2).hidden);
    EXPECT_EQ(layout.added_columns(grid.column_count()), 0);
    EXPECT_EQ(layout.columns[2].column, 2);
    EXPECT_EQ(layout.columns[2].heading, QStringLiteral("account"));
    EXPECT_EQ(layout.columns[0].heading, QStringLiteral("code"));
}

// The view reports a move, new widths and a row height; closing stores them for visible columns.
TEST(GridLayoutSave, OrderWidthAndRowHeightOfVisibleColumns)
{
    TestDatabase t;
    Grid grid = charge_grid();
    GridLayout layout = restore_grid(t.db(), MiscCharge, grid, Admin);
    layout.column(0)->position = 1;
    layout.column(1)->position = 0;
    layout.column(1)->width = 4500;
    layout.column(2)->position = 0;   // hidden: keeps its stored order and width
    layout.column(2)->width = 9999;
    layout.row_height = 650;
    ASSERT_TRUE(save_grid(t.db(), layout));
    EXPECT_EQ(stored(t, "col_order", "item code"), 1);
    EXPECT_EQ(stored(t, "col_order", "description"), 0);
    EXPECT_EQ(stored(t, "col_width", "description"), 4500);
    EXPECT_EQ(stored(t, "col_order", "account"), 2);
    EXPECT_EQ(stored(t, "col_width", "account"), 1200);
    EXPECT_EQ(stored(t, "row_height", "item code"), StandardRowHeight);

    // Reopened, the moved description column keeps its own bold font and shows first.
    Grid reopened = charge_grid();
    GridLayout again = restore_grid(t.db(), MiscCharge, reopened, Admin);
    EXPECT_EQ(again.column(1)->position, 0);
    EXPECT_EQ(again.column(1)->font.bold, true);
    EXPECT_EQ(reopened.column(1).width, 300);

    again.row_height = 600;
    ASSERT_TRUE(save_grid(t.db(), again));
    EXPECT_EQ(t.count(QStringLiteral("Grid_property WHERE row_height = 600")), 1);
}

TEST(FontPanel, StylesChosenColumnsSavesAndRestoresWithTheDesignRight)
{
    TestDatabase t;
    Grid grid = charge_grid();
    ScriptedPrompter prompter;
    WindowLayouts layouts;
    layouts.open(t.db(), MiscCharge, Admin, designer(), {&grid});
    FontPanel& panel = layouts.font_panel();
    EXPECT_EQ(panel.column_choices(), (QStringList{"all columns", "item code", "description", "account"}));

    ASSERT_TRUE(layouts.execute(to_int(CommandId::Bold), prompter)); // all columns: each toggles
    GridLayout& layout = *layouts.layout(QStringLiteral("dbgrid1"));
    EXPECT_EQ(layout.column(0)->font.bold, true);
    EXPECT_EQ(layout.column(1)->font.bold, false);

    panel.choose_columns(QStringLiteral("item code"));
    ASSERT_TRUE(layouts.execute(to_int(CommandId::AlignRight), prompter));
    ASSERT_TRUE(panel.set_colour(u"ff0000"));
    panel.set_size(Decimal("12"));
    EXPECT_EQ(layout.column(0)->alignment, Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(layout.column(1)->alignment, Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_FALSE(layout.column(1)->font.colour.has_value());
    EXPECT_FALSE(panel.set_colour(u"red"));

    ASSERT_TRUE(layouts.execute(to_int(CommandId::SaveFont), prompter));
    EXPECT_EQ(prompter.last(), QStringLiteral("save font complete"));
    EXPECT_EQ(stored(t, "font_color", "item code"), 255);
    EXPECT_EQ(stored(t, "Alignment", "item code"), 1);
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT font_size FROM Grid_property WHERE Caption = 'item code'")), Decimal(12));

    ASSERT_TRUE(layouts.execute(to_int(CommandId::Underline), prompter));
    ASSERT_TRUE(layouts.execute(to_int(CommandId::RestoreFont), prompter));
    EXPECT_FALSE(layout.column(0)->font.underline.value_or(false));
    EXPECT_EQ(layout.column(0)->font.colour, 255);

    // Without the design right nothing is styled or stored, not even on closing.
    WindowLayouts guest;
    Grid guest_grid = charge_grid();
    guest.open(t.db(), MiscCharge, Admin, Rights{}, {&guest_grid});
    guest.layout(QStringLiteral("dbgrid1"))->column(0)->width = 7777;
    EXPECT_FALSE(guest.execute(to_int(CommandId::SaveFont), prompter));
    guest.close();
    EXPECT_EQ(stored(t, "col_width", "item code"), 1500);
}

TEST(ColourList, EntriesInPickerOrderWithTheirValues)
{
    ASSERT_EQ(colour_list.size(), size_t(510));
    EXPECT_EQ(colour_list.front().name, "black");
    EXPECT_EQ(colour_list[1].hex, "00008b");
    EXPECT_EQ(colour_list[2].name, "blue2");
    EXPECT_EQ(colour_list.back().hex, "ffffff");
    EXPECT_EQ(colour_list[508].name, "ivory");
    EXPECT_EQ(find_colour(u"almostwhite")->hex, "fffffe");
    EXPECT_EQ(find_colour(u"grey29")->hex, "4a4a4a");
    EXPECT_EQ(find_colour(u"lightgoldenrod3")->hex, "cdbe70");
    int slateblue = 0;
    for (const ColourEntry& entry : colour_list)
        slateblue += entry.name == "slateblue" && entry.hex == "6a5acd" ? 1 : 0;
    EXPECT_EQ(slateblue, 2);

    EXPECT_EQ(colour_value(u"0000ff"), 16711680);
    EXPECT_EQ(colour_value(u"8B0000"), 139);
    EXPECT_EQ(colour_value(u"00ff00"), 65280);
    EXPECT_FALSE(colour_value(u"12345g"));
    EXPECT_FALSE(colour_value(u"fff"));
    EXPECT_EQ(colour_hex(16711680), QStringLiteral("0000ff"));
}
