#pragma once
// An order window on a fresh fixture database, driven as a user would.

#include "check/company_checks.h"
#include "core/clock.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "windows/order/POform_po.h"

#include <gtest/gtest.h>

namespace zelkor {

using testing::TestDatabase;

struct Line {
    QString item;
    QString quantity;
    QString uom;
    QString unitcost;
};

class OrderWindow : public ::testing::Test {
protected:
    OrderWindow() : clock(QDate(2026, 3, 15), QTime(10, 0))
    {
        HostSettings settings;
        settings.abcdb = settings.dbe = settings.cnx = &t.db();
        settings.BASE_CURRENCY = QStringLiteral("USD");
        settings.ZELKOR_USER = QStringLiteral("ADMIN");
        window.apply_settings(settings);
        window.set_prompter(&prompter);
        window.open();
    }

    void start_order(const QString& vendor, const std::vector<Line>& lines)
    {
        ASSERT_TRUE(window.execute(CommandId::New));
        ASSERT_EQ(window.type_into("vendor_no", vendor), Entry::Accepted);
        for (size_t index = 0; index < lines.size(); ++index) {
            Grid& grid = window.lines();
            const int row = index < size_t(grid.row_count()) ? int(index) : grid.append_row();
            ASSERT_EQ(grid.type_cell(row, "item code", lines[index].item), Entry::Accepted) << prompter.last().toStdString();
            grid.type_cell(row, "uom", lines[index].uom);
            grid.type_cell(row, "unit cost", lines[index].unitcost);
            grid.type_cell(row, "quantity order", lines[index].quantity);
        }
    }

    QString save_order(const QString& vendor, const std::vector<Line>& lines)
    {
        start_order(vendor, lines);
        window.execute(CommandId::Save);
        return window.field("docno");
    }

    Decimal on_order(const QString& item, const QString& warehouse, const QString& location)
    {
        return t.decimal("SELECT po_quantity FROM Item_onhand_table WHERE itemcode = ? AND warehouse = ? AND location = ?",
                         {item, warehouse, location});
    }

    void expect_consistent()
    {
        auto violations = check_invariants(t.db(), purchasing_invariant_checks());
        ASSERT_TRUE(violations.has_value());
        EXPECT_TRUE(violations->isEmpty()) << violations->join(u'\n').toStdString();
    }

    /// A saved requisition of two lines: WIDGET with the vendor's state tax, FREIGHT exempt.
    QString requisition()
    {
        return testing::saved_requisition(t.db(), "V100", {{"WIDGET", "5", "box", "20"}, {"FREIGHT", "1", "", "15"}},
                                          QDate(2026, 3, 1))
            .fkey;
    }

    TestDatabase t;
    FixedClock clock;
    ScriptedPrompter prompter;
    POform_po window;
};

} // namespace zelkor
