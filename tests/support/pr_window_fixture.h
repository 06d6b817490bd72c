#pragma once
// A requisition window on a fresh fixture database, driven as a user would.

#include "core/clock.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "windows/requisition/POform_pr.h"

#include <gtest/gtest.h>

namespace zelkor::testing {

struct Notification {
    QString formx;
    QString docnox;
    QString arg2;
};

class PrWindow : public ::testing::Test {
protected:
    PrWindow()
    {
        HostSettings settings;
        settings.cnx = settings.dbe = settings.abcdb = &t.db();
        settings.BASE_CURRENCY = QStringLiteral("USD");
        settings.ZELKOR_USER = QStringLiteral("ADMIN");
        settings.ZELKOR_PATH = QStringLiteral("/data/zelkor");
        settings.ZELKOR_DATE_FORMAT = QStringLiteral("dd/mm/yyyy");
        window.apply_settings(settings);
        window.set_prompter(&prompter);
        QObject::connect(&window, &WindowModel::NotifyClients,
                         [this](const QString& formx, const QString& docnox, const QString& arg2) {
                             notifications.push_back({formx, docnox, arg2});
                         });
        window.open();
    }

    Grid& lines() { return *window.grid(QStringLiteral("dbgrid1")); }
    QString cell(int row, const char* column) { return lines().cell(row, QString::fromLatin1(column)); }
    Entry type(int row, const char* column, const QString& value)
    {
        return lines().type_cell(row, QString::fromLatin1(column), value);
    }

    /// Types a line of an item with a quantity and a unit cost.
    void enter_item(int row, const QString& item_type, const QString& code, const QString& quantity,
                    const QString& unit_cost)
    {
        ASSERT_EQ(type(row, "item type", item_type), Entry::Accepted);
        ASSERT_EQ(type(row, "item code", code), Entry::Accepted);
        ASSERT_EQ(type(row, "quantity", quantity), Entry::Accepted);
        ASSERT_EQ(type(row, "unit cost", unit_cost), Entry::Accepted);
    }

    /// A new requisition of vendor V200 with one WIDGET line of 10 box at 2.50, saved.
    QString save_simple_requisition()
    {
        EXPECT_TRUE(window.execute(CommandId::New));
        window.type_into(QStringLiteral("vendor_no"), QStringLiteral("V200"));
        enter_item(0, QStringLiteral("1"), QStringLiteral("WIDGET"), QStringLiteral("10"), QStringLiteral("2.50"));
        EXPECT_TRUE(window.execute(CommandId::Save));
        EXPECT_EQ(prompter.last(), "Add new PR complete");
        return window.field(QStringLiteral("docno"));
    }

    long long next_pr_counter()
    {
        return t.scalar(QStringLiteral("SELECT nextdocno FROM Docno_master_table WHERE doctype = 'pr' AND fiscalyear = '2026'"))
            .toLongLong();
    }

    FixedClock clock{QDate(2026, 3, 16), QTime(9, 30, 0)};
    TestDatabase t;
    ScriptedPrompter prompter;
    POform_pr window;
    std::vector<Notification> notifications;
};

} // namespace zelkor::testing
