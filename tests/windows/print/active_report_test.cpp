#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "windows/print/active_report.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(ActiveReport, BindsTheDocumentNumberAndRunsOnlyASelect)
{
    testing::TestDatabase t;
    const QString argument = active_report_argument(QStringLiteral("Vendor"), QStringLiteral("V200"));
    EXPECT_EQ(argument, QStringLiteral("Vendor,V200,"));
    EXPECT_EQ(parse_active_report_argument(argument).title, QStringLiteral("Vendor"));

    auto rows = run_active_report(t.db(), QStringLiteral("SELECT vendor_name FROM Vendor_table WHERE vendor_no = ?"), argument);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ(rows->front().text(u"vendor_name"), QStringLiteral("O'Brien Supply"));

    // A document number that looks like SQL stays a value.
    auto attack = run_active_report(t.db(), QStringLiteral("SELECT vendor_name FROM Vendor_table WHERE vendor_no = ?"),
                                    QStringLiteral("Vendor,x' OR '1'='1,"));
    ASSERT_TRUE(attack);
    EXPECT_TRUE(attack->empty());

    EXPECT_FALSE(run_active_report(t.db(), QStringLiteral("DELETE FROM Vendor_table"), argument));
    EXPECT_FALSE(run_active_report(t.db(), QStringLiteral("SELECT 1; DELETE FROM Vendor_table"), argument));
    EXPECT_GT(t.count(QStringLiteral("Vendor_table")), 0);
}

} // namespace
} // namespace zelkor
