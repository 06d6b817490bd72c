#include "host/active_report_pdf.h"

#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "windows/print/active_report.h"

#include <gtest/gtest.h>

namespace zelkor::host {
namespace {

TEST(PrintedDocument, HeaderColumnsBecomeFieldsAndLineColumnsTheListWithoutEmptyOnes)
{
    testing::TestDatabase t;
    // A document-shaped query: header columns, then the lines from `itemno` on.
    auto rows = run_active_report(
        t.db(),
        QStringLiteral("SELECT v.vendor_no, v.vendor_name, v.credit_limit, 1 AS itemno, i.itemcode, i.description,"
                       " NULL AS vendor_itemcode FROM Vendor_table v, Item_master_table i"
                       " WHERE v.vendor_no = ? AND i.itemcode IN ('WIDGET', 'BOLT') ORDER BY i.itemcode"),
        active_report_argument(QStringLiteral("Purchase Order"), QStringLiteral("V100")));
    ASSERT_TRUE(rows) << rows.error().detail.toStdString();
    const PrintList list = print_document_of_rows(*rows, QStringLiteral("Purchase Order V100"), QStringLiteral("dd/mm/yyyy"));

    ASSERT_EQ(list.fields.size(), 3u);
    EXPECT_EQ(list.fields[0], std::make_pair(QStringLiteral("vendor no"), QStringLiteral("V100")));
    EXPECT_EQ(list.fields[1].second, QStringLiteral("Acme Industrial Supply"));
    EXPECT_EQ(list.fields[2].second, QStringLiteral("25,000.00")) << "amounts print as #,##0.00";
    // vendor_itemcode is empty on every line and is left out.
    ASSERT_EQ(list.columns.size(), 3u);
    EXPECT_EQ(list.columns[0].caption, QStringLiteral("itemno"));
    EXPECT_EQ(list.columns[2].caption, QStringLiteral("description"));
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].cells, (QStringList{"1", "BOLT", list.rows[0].cells.value(2)}));
    EXPECT_EQ(list.rows[1].cells.value(1), QStringLiteral("WIDGET"));
}

} // namespace
} // namespace zelkor::host
