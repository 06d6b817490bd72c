// The grid adapter must be a well-behaved item model whatever the window does to its grid, and
// must route every edit through the window's cell check.
#include "ui/grid_table_model.h"

#include "tests/support/printers.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QFont>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

class GridAdapter : public ::testing::Test {
protected:
    Grid grid{QStringLiteral("dbgrid1"), {}, {"item code", "quantity", "tax included", "hidden key"}};
    GridTableModel adapter{grid};
    QAbstractItemModelTester tester{&adapter, QAbstractItemModelTester::FailureReportingMode::Fatal};

    void SetUp() override { grid.set_column_kind(2, FieldKind::Check); }
};

TEST_F(GridAdapter, StaysConsistentThroughEveryKindOfGridChange)
{
    grid.append_row();
    grid.append_row();
    grid.insert_row(1);
    grid.set_cell(0, QStringLiteral("item code"), QStringLiteral("WIDGET"));
    EXPECT_EQ(adapter.rowCount(), 3);
    EXPECT_EQ(adapter.index(0, 0).data().toString(), QStringLiteral("WIDGET"));

    grid.remove_row(0);
    EXPECT_EQ(adapter.rowCount(), 2);
    EXPECT_EQ(adapter.index(0, 0).data().toString(), QString());

    grid.set_row_count(5);
    EXPECT_EQ(adapter.rowCount(), 5);
    grid.restore_rows({{"A", "1", "", ""}, {"B", "2", "1", ""}});
    EXPECT_EQ(adapter.rowCount(), 2);
    EXPECT_EQ(adapter.index(1, 2).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_FALSE(adapter.index(1, 2).data(Qt::DisplayRole).isValid()) << "a check cell shows a box, not its text";
    grid.set_column_hidden(3, true);
    EXPECT_EQ(grid.append_column(GridColumn{QStringLiteral("added")}), 4);
    EXPECT_EQ(adapter.columnCount(), 5);
    EXPECT_EQ(grid.cell(1, 4), QString()) << "existing rows get an empty cell";
    grid.clear();
    EXPECT_EQ(adapter.rowCount(), 0);
    EXPECT_EQ(adapter.headerData(1, Qt::Horizontal).toString(), QStringLiteral("quantity"));
}

TEST_F(GridAdapter, ShowsTheStoredHeadingsFontsColoursAndNumberFormats)
{
    grid.restore_rows({{"WIDGET", "1234.5", "1", ""}});
    GridLayout layout;
    ColumnLayout quantity;
    quantity.column = 1;
    quantity.heading = QStringLiteral("Qty");
    quantity.number_format = QStringLiteral("#,##0.00");
    quantity.font.bold = true;
    quantity.font.colour = 255; // red
    layout.columns.push_back(quantity);
    adapter.set_layout(&layout);

    EXPECT_EQ(adapter.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Qty"));
    EXPECT_EQ(adapter.headerData(0, Qt::Horizontal).toString(), QStringLiteral("item code"));
    EXPECT_EQ(adapter.index(0, 1).data().toString(), QStringLiteral("1,234.50"));
    EXPECT_EQ(adapter.index(0, 1).data(Qt::EditRole).toString(), QStringLiteral("1234.5")) << "typing starts from the value";
    EXPECT_TRUE(adapter.index(0, 1).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(adapter.index(0, 1).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
    EXPECT_FALSE(adapter.index(0, 0).data(Qt::FontRole).isValid());

    layout.columns.front().font.italic = true; // the font panel restyles the column
    adapter.refresh_presentation();
    EXPECT_TRUE(adapter.index(0, 1).data(Qt::FontRole).value<QFont>().italic());
    adapter.set_layout(nullptr);
}

TEST_F(GridAdapter, EditsGoThroughTheCellCheckWhichMayRefuseThem)
{
    grid.append_row();
    QStringList checked;
    grid.set_cell_check([&](Grid& g, int row, int column, const QString& previous) {
        checked << g.column(column).caption;
        if (column == 1 && g.cell(row, column).startsWith(QLatin1Char('-'))) {
            g.set_cell(row, column, previous); // a negative quantity is put back
            return Entry::Refused;
        }
        return Entry::Accepted;
    });
    QSignalSpy changed(&adapter, &QAbstractItemModel::dataChanged);

    EXPECT_TRUE(adapter.setData(adapter.index(0, 1), QStringLiteral("12")));
    EXPECT_FALSE(adapter.setData(adapter.index(0, 1), QStringLiteral("-3")));
    EXPECT_EQ(grid.cell(0, 1), QStringLiteral("12"));
    EXPECT_EQ(adapter.index(0, 1).data().toString(), QStringLiteral("12"));
    EXPECT_GE(changed.count(), 2) << "the view hears of the refused value being put back";

    EXPECT_TRUE(adapter.setData(adapter.index(0, 2), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(grid.cell(0, 2), GridTableModel::checked_text());
    EXPECT_EQ(checked, (QStringList{"quantity", "quantity", "tax included"}));
}

TEST_F(GridAdapter, OffersEditingOnlyWhereTheWindowAllowsIt)
{
    grid.append_row();
    bool window_editing = false;
    grid.set_edit_gate([&] { return window_editing; });
    EXPECT_FALSE(adapter.flags(adapter.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(adapter.setData(adapter.index(0, 0), QStringLiteral("X")));

    window_editing = true;
    EXPECT_TRUE(adapter.flags(adapter.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(adapter.flags(adapter.index(0, 2)) & Qt::ItemIsUserCheckable);
    grid.set_column_read_only(0, true);
    EXPECT_FALSE(adapter.flags(adapter.index(0, 0)) & Qt::ItemIsEditable);
}

} // namespace
} // namespace zelkor
