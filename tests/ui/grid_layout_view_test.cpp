// The view shows a window's grid the way its stored layout says and hands back what the clerk
// rearranged, so that closing the window stores it.
#include "ui/window_view.h"

#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "ui/column_choice.h"
#include "ui/font_bar.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QTableView>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

/// The charge grid the fixture stores a layout for, on a window with the font commands.
class ChargeWindow : public WindowModel {
public:
    ChargeWindow() : WindowModel(QStringLiteral("POform_misccharge"), QStringLiteral("Charges"), Kind::Other)
    {
        declare_grid("dbgrid1", {}, {"item code", "description", "account"});
        declare_command(CommandId::Exit);
        for (int id = 401; id <= 408; ++id)
            declare_command(CommandId(id));
    }
};

class StoredLayoutView : public ::testing::Test {
protected:
    testing::TestDatabase company;
    ChargeWindow model;
    QPointer<WindowView> view;
    std::unique_ptr<QAbstractItemModelTester> tester;

    void SetUp() override
    {
        // Stored: description first, item code right-aligned with a number format, rows 450 twips.
        ASSERT_TRUE(company.db().execute("UPDATE Grid_property SET row_height = 450"));
        ASSERT_TRUE(company.db().execute("UPDATE Grid_property SET col_order = 0, Alignment = 1, Format = '#,##0.00'"
                                         " WHERE Caption = 'item code'"));
        ASSERT_TRUE(company.db().execute("UPDATE Grid_property SET col_order = -1 WHERE Caption = 'description'"));
        ASSERT_TRUE(company.db().execute("INSERT INTO Form_property_table (userid, form, toolbar_text, Fontbar)"
                                         " VALUES ('ADMIN', 'POform_misccharge', FALSE, TRUE)"));
        HostSettings settings;
        settings.abcdb = &company.db();
        settings.ZELKOR_USER = QStringLiteral("ADMIN");
        model.apply_settings(settings);
        model.open();
        model.main_grid()->restore_rows({{"12345.5", "Freight", "5200"}});
        view = new WindowView(model);
        tester = std::make_unique<QAbstractItemModelTester>(table()->model(),
                                                            QAbstractItemModelTester::FailureReportingMode::Fatal);
        view->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        tester.reset();
        delete view;
    }

    QTableView* table() const { return view->grid_view(QStringLiteral("dbgrid1")); }
    QModelIndex cell(int row, int column) const { return table()->model()->index(row, column); }
    qint64 stored(const char* column, const char* caption)
    {
        return company.scalar(QStringLiteral("SELECT %1 FROM Grid_property WHERE Caption = ?").arg(column), {caption})
            .toLongLong();
    }
};

TEST_F(StoredLayoutView, ShowsOrderWidthsHiddenColumnsAlignmentFontsAndFormats)
{
    QHeaderView* header = table()->horizontalHeader();
    EXPECT_EQ(header->visualIndex(1), 0) << "description shows first";
    EXPECT_EQ(header->visualIndex(0), 1);
    EXPECT_EQ(table()->columnWidth(1), 200);
    EXPECT_TRUE(table()->isColumnHidden(2));
    EXPECT_EQ(table()->verticalHeader()->defaultSectionSize(), 30);
    EXPECT_EQ(cell(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(cell(0, 0).data().toString(), QStringLiteral("12,345.50"));
    EXPECT_TRUE(cell(0, 1).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(table()->alternatingRowColors()) << "the fixture's shared switch is off";

    ASSERT_NE(view->font_bar(), nullptr);
    EXPECT_FALSE(view->font_bar()->isHidden()) << "the user's Fontbar choice";
    auto* chooser = view->font_bar()->findChild<QComboBox*>(QStringLiteral("font_columns"));
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->count(), 4);
    model.layouts().font_panel().choose_columns(QStringLiteral("item code"));
    view->action(to_int(CommandId::Italic))->trigger();
    view->action(to_int(CommandId::AlignCenter))->trigger();
    EXPECT_TRUE(cell(0, 0).data(Qt::FontRole).value<QFont>().italic());
    EXPECT_FALSE(cell(0, 1).data(Qt::FontRole).value<QFont>().italic());
    EXPECT_EQ(cell(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST_F(StoredLayoutView, ClosingStoresWhatTheClerkRearranged)
{
    QHeaderView* header = table()->horizontalHeader();
    header->moveSection(header->visualIndex(0), 0); // item code back to the front
    table()->setColumnWidth(0, 140);
    view->font_bar()->toggleViewAction()->trigger(); // hides the font panel

    ASSERT_TRUE(model.execute(CommandId::Exit));
    EXPECT_EQ(stored("col_order", "item code"), 0);
    EXPECT_EQ(stored("col_order", "description"), 1);
    EXPECT_EQ(stored("col_width", "item code"), 2100);
    EXPECT_EQ(stored("col_order", "account"), 2) << "a hidden column keeps its stored order";
    EXPECT_EQ(stored("row_height", "description"), 450);
    EXPECT_FALSE(company.scalar("SELECT Fontbar FROM Form_property_table WHERE form = 'POform_misccharge'").toBool());
}

/// Order lines with the columns a clerk rarely reads, for a user who stored no layout of them.
class LinesWindow : public WindowModel {
public:
    LinesWindow() : WindowModel(QStringLiteral("POform_po"), QStringLiteral("Order"), Kind::Other)
    {
        declare_grid("dbgridpo", {}, {"item code", "allocated tax", "quantity order", "user created"});
        main_grid()->set_column_hidden(3, true);
        declare_command(CommandId::Exit);
        for (int id = 401; id <= 408; ++id)
            declare_command(CommandId(id));
    }
};

TEST(DefaultLayoutView, InternalColumnsStartHiddenAndTheColumnMenuShowsThemWithoutTouchingTheGrid)
{
    testing::TestDatabase company;
    LinesWindow model;
    HostSettings settings;
    settings.abcdb = &company.db();
    settings.ZELKOR_USER = QStringLiteral("ADMIN");
    model.apply_settings(settings);
    model.open();
    WindowView view(model);
    view.show();
    QApplication::processEvents();
    QTableView* table = view.grid_view(QStringLiteral("dbgridpo"));
    Grid& lines = *model.main_grid();

    EXPECT_FALSE(table->isColumnHidden(0));
    EXPECT_TRUE(table->isColumnHidden(1)) << "allocated tax is internal";
    EXPECT_FALSE(table->isColumnHidden(2));
    EXPECT_TRUE(table->isColumnHidden(3)) << "the window hides the audit stamp";
    EXPECT_FALSE(lines.column(1).hidden) << "the window's grid keeps its column";

    ASSERT_NE(view.font_bar(), nullptr);
    QMenu& menu = *view.font_bar()->columns_menu();
    emit menu.aboutToShow();
    QStringList shown;
    for (QAction* item : menu.actions())
        shown << item->text() + (item->isChecked() ? QStringLiteral(" +") : QStringLiteral(" -"));
    EXPECT_EQ(shown, (QStringList{"item code +", "allocated tax -", "quantity order +", "user created -"}));
    menu.actions().at(1)->setChecked(true);
    menu.actions().at(3)->setChecked(true);
    menu.actions().at(0)->setChecked(false);
    EXPECT_FALSE(table->isColumnHidden(1)) << "the clerk chose to see allocated tax";
    EXPECT_FALSE(table->isColumnHidden(3));
    EXPECT_TRUE(table->isColumnHidden(0));
    EXPECT_TRUE(lines.column(3).hidden) << "the choice is the view's";
    lines.set_column_width(1, 90); // the window changes the column: the clerk's choice stays
    EXPECT_FALSE(table->isColumnHidden(1));
}

} // namespace
} // namespace zelkor
