#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "windows/base/grid.h"
#include "windows/document/tax_panes.h"

#include <gtest/gtest.h>

using namespace zelkor;
using zelkor::testing::TestDatabase;

TEST(TaxPanes, DetailAndSummaryOfADocument)
{
    TestDatabase t;
    const TaxPaneDeclaration detail_pane = tax_detail_pane();
    const TaxPaneDeclaration summary_pane = tax_summary_pane();
    EXPECT_EQ(detail_pane.caption, QStringLiteral("Tax Detail Window"));
    EXPECT_EQ(summary_pane.grid, QStringLiteral("grid_tax_summary"));
    Grid detail(detail_pane.grid, {}, detail_pane.columns);
    Grid summary(summary_pane.grid, {}, summary_pane.columns);
    TaxPanes panes(detail, summary);
    EXPECT_TRUE(detail.column(detail.required_column(QStringLiteral("tax amount"))).read_only);
    EXPECT_FALSE(detail.column(detail.required_column(QStringLiteral("taxable amount"))).read_only);

    TaxElementStore store;
    const Decimal costs[] = {Decimal("1000.00"), Decimal("100.00"), Decimal("20.00")};
    const QStringList codes{QStringLiteral("ST"), QStringLiteral("GP"), QStringLiteral("ST")};
    for (int row = 0; row < 3; ++row)
        ASSERT_TRUE(get_fulltax_detail(t.db(), store, row + 1, costs[row], codes[row], TaxIncluded::No));

    panes.show_summary(store);
    ASSERT_EQ(summary.row_count(), 3);
    EXPECT_EQ(summary.row(0), (QStringList{"STATE", "1,020.00", "51.00", "51.00", "0.00", "0.00"}));
    EXPECT_EQ(summary.cell(2, QStringLiteral("tax authority")), QStringLiteral("PST"));

    panes.show_line(store, 2);
    ASSERT_EQ(detail.row_count(), 2);
    EXPECT_EQ(detail.row(1), (QStringList{"PST", "105.00", "7.50", "7.88", "", "0.00", "0.00", "7.88"}));

    detail.set_cell(0, QStringLiteral("taxable amount"), QStringLiteral("abc"));
    auto refused = panes.taxable_amount_edited(store, 0, Decimal("100.00"), TaxIncluded::No);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, QStringLiteral("please input numeric data"));
    EXPECT_EQ(store.line(2)[0].tax_amount, Decimal("5.00"));

    detail.set_cell(0, QStringLiteral("taxable amount"), QStringLiteral("50"));
    auto edited = panes.taxable_amount_edited(store, 0, Decimal("100.00"), TaxIncluded::No);
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->tax_amount, Decimal("10.19"));
    EXPECT_EQ(detail.cell(1, QStringLiteral("taxable amount")), QStringLiteral("102.50"));
    EXPECT_EQ(summary.cell(1, QStringLiteral("tax amount")), QStringLiteral("2.50"));
}
