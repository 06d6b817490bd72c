#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "windows/base/form_properties.h"
#include "windows/base/grid.h"
#include "windows/base/window_layouts.h"

#include <gtest/gtest.h>

using namespace zelkor;
using zelkor::testing::TestDatabase;

TEST(FormProperties, RememberedPerUserOnlyWhereARowExists)
{
    TestDatabase t;
    auto po = load_form_properties(t.db(), QStringLiteral("ADMIN"), QStringLiteral("POform_po"));
    ASSERT_TRUE(po && *po);
    EXPECT_EQ((*po)->toolbar_text, true);
    EXPECT_EQ((*po)->fontbar, false);
    auto pr = load_form_properties(t.db(), QStringLiteral("ADMIN"), QStringLiteral("POform_pr"));
    ASSERT_TRUE(pr && *pr);
    EXPECT_FALSE((*pr)->toolbar_text.has_value());

    // Opened and closed through the window's layouts: loaded values are applied and stored back.
    WindowLayouts admin;
    admin.open(t.db(), QStringLiteral("POform_po"), QStringLiteral("ADMIN"), Rights{}, {});
    EXPECT_TRUE(admin.toolbar_text());
    admin.set_fontbar(true);
    admin.close();
    EXPECT_TRUE(t.scalar(QStringLiteral("SELECT Fontbar FROM Form_property_table WHERE userid = 'ADMIN' AND form = 'POform_po'"))
                    .toBool());

    // A user without a row keeps the defaults and nothing is added.
    const qint64 rows = t.count(QStringLiteral("Form_property_table"));
    WindowLayouts clerk;
    clerk.open(t.db(), QStringLiteral("POform_po"), QStringLiteral("CLERK"), Rights{}, {});
    EXPECT_FALSE(clerk.toolbar_text());
    clerk.set_toolbar_text(true);
    clerk.close();
    EXPECT_EQ(t.count(QStringLiteral("Form_property_table")), rows);
    EXPECT_EQ(save_form_properties(t.db(), QStringLiteral("CLERK"), QStringLiteral("POform_po"), true, true), false);
}

TEST(RecentValues, EditsExistingRowsOnlyAndTheAlternateRowSwitchIsShared)
{
    TestDatabase t;
    const QString inquiry = QStringLiteral("POreport_po_transaction");
    EXPECT_EQ(remember_value(t.db(), inquiry, QStringLiteral("todate"), QStringLiteral("Jun 30,2026")), true);
    EXPECT_EQ(recent_value(t.db(), inquiry, QStringLiteral("todate"))->value_or(QString()), QStringLiteral("Jun 30,2026"));
    EXPECT_EQ(recent_value(t.db(), QStringLiteral("POreport_pr_transaction"), QStringLiteral("todate"))->value_or(QString()),
              QStringLiteral("Dec 31,2026"));
    const qint64 rows = t.count(QStringLiteral("Recent_value_table"));
    EXPECT_EQ(remember_value(t.db(), inquiry, QStringLiteral("cmbautho"), QStringLiteral("GST")), false);
    EXPECT_EQ(t.count(QStringLiteral("Recent_value_table")), rows);

    // Switching in one window changes the one shared row; another window opens with it on.
    Grid grid(QStringLiteral("dbgrid1"), {}, {"item code"});
    WindowLayouts order;
    order.open(t.db(), QStringLiteral("POform_po"), QStringLiteral("ADMIN"), Rights{}, {&grid});
    EXPECT_FALSE(order.alternate_rows());
    int restyled = 0;
    QObject::connect(&order, &WindowLayouts::alternateRowsChanged, [&restyled](bool on) { restyled += on ? 1 : 0; });
    order.set_alternate_rows(true);
    EXPECT_EQ(restyled, 1);
    EXPECT_EQ(t.text(QStringLiteral("SELECT Value FROM Recent_value_table WHERE control_name = 'evenrow_color'")),
              QStringLiteral("1"));
    EXPECT_EQ(t.count(QStringLiteral("Recent_value_table WHERE control_name = 'evenrow_color'")), 1);
    WindowLayouts receipt;
    receipt.open(t.db(), QStringLiteral("POform_receipt"), QStringLiteral("CLERK"), Rights{}, {});
    EXPECT_TRUE(receipt.alternate_rows());
}
