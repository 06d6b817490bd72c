// The purchase tax report, the payable clearing report and the vendor list.
#include "report_fixture.h"
#include "reports/POreport_payable_clearing.h"
#include "reports/POreport_purchase_tax.h"
#include "reports/POreport_vendor_list.h"

namespace zelkor::testing {
namespace {

using TaxReport = ReportTest<POreport_purchase_tax>;

TEST_F(TaxReport, ChecksItsFiltersInOrder)
{
    EXPECT_EQ(window->field("currency"), "USD") << "the base currency by default";
    EXPECT_EQ(window->field("fyear"), "2026") << "the remembered fiscal year";
    window->set_field("fyear", "");
    window->set_field("period", "");
    window->set_field("currency", "");
    EXPECT_FALSE(window->run_inquiry());
    EXPECT_EQ(prompter.last(), "please specify fiscal year");
    window->set_field("fyear", "2026");
    EXPECT_FALSE(window->run_inquiry());
    EXPECT_EQ(prompter.last(), "please specify period");
    window->set_field("period", "1");
    EXPECT_FALSE(window->run_inquiry());
    EXPECT_EQ(prompter.last(), "please specify currency");
    window->set_field("fyear", "");
    window->set_field("date_range", "1");
    window->set_field("from_date", "01/01/2026");
    window->set_field("to_date", "31/01/2026");
    window->set_field("currency", "USD");
    EXPECT_TRUE(window->run_inquiry()) << "dates need no fiscal year";
    window->set_field("currency", "EUR");
    EXPECT_TRUE(window->run_inquiry());
    EXPECT_EQ(prompter.last(), "No data") << "the only EUR slot is on a void bill";
}

TEST_F(TaxReport, ListsEachSlotOnceAndGroupsLinesOncePerGroup)
{
    window->set_field("period", "1");
    window->set_field("tax_authority", "All");
    ASSERT_TRUE(window->run_inquiry());
    const QStringList columns{"tax authority", "document no", "date", "line no", "source", "invoice amount", "tax base",
                              "tax amount", "rate", "recoverable tax"};
    EXPECT_EQ(grid_rows(window->results(), columns),
              (QStringList{"STATE|RO-26-00001|20/01/2026|1|PO-RECEIPT|10.00|10.00|0.50|5|0.50",
                           "STATE|RO-26-00001|20/01/2026|1|PO-RECEIPT|10.00|10.00|0.50|5|0.50",
                           "STATE|RO-26-00001|20/01/2026|2|PO-RECEIPT|100.00|100.00|4.76|5|4.76",
                           "STATE|VI-26-00001|25/01/2026|1|PO-INVOICE|10.00|10.00|0.50|5|0.50",
                           "STATE|VI-26-00001|25/01/2026|1|PO-INVOICE|10.00|10.00|0.50|5|0.50"}))
        << "two equal slots of a line are two rows; the void receipt's line stays out";
    EXPECT_EQ(grid_rows(window->totals(), {"source", "rows", "invoice amount", "tax base", "tax amount"}),
              (QStringList{"PO-INVOICE|2|10.00|20.00|1.00", "PO-RECEIPT|3|110.00|120.00|5.76"}))
        << "totals by source, a line's amount once";

    ASSERT_TRUE(window->execute(int(ReportCommand::ByDocument)));
    EXPECT_EQ(grid_rows(window->results(), columns),
              (QStringList{"STATE|RO-26-00001|20/01/2026||PO-RECEIPT|110.00|120.00|5.76||5.76",
                           "STATE|VI-26-00001|25/01/2026||PO-INVOICE|10.00|20.00|1.00||1.00"}));
    ASSERT_TRUE(window->execute(int(ReportCommand::ByTaxAuthority)));
    EXPECT_EQ(grid_rows(window->results(), {"tax authority", "invoice amount", "tax base", "tax amount"}),
              QStringList{"STATE|120.00|140.00|6.76"});

    window->set_field("date_range", "1");
    window->set_field("from_date", "21/01/2026");
    window->set_field("to_date", "31/01/2026");
    ASSERT_TRUE(window->run_inquiry());
    EXPECT_EQ(grid_rows(window->results(), {"document no"}), (QStringList{"VI-26-00001", "VI-26-00001"}));
    window->set_field("tax_authority", "GST");
    ASSERT_TRUE(window->run_inquiry());
    EXPECT_EQ(window->results().row_count(), 0);
}

using ClearingReport = ReportTest<POreport_payable_clearing>;

TEST_F(ClearingReport, ShowsEachSideOfTheAccountWithItsVendor)
{
    window->set_field("period", "");
    window->set_field("accno", "");
    EXPECT_FALSE(window->run_inquiry());
    EXPECT_EQ(prompter.last(), "please specify account no");
    window->set_field("fyear", "");
    EXPECT_FALSE(window->run_inquiry());
    EXPECT_EQ(prompter.last(), "please specify fiscal year");
    window->set_field("fyear", "2026");
    EXPECT_EQ(window->type_into("accno", "1300"), Entry::Refused) << "the list holds current liabilities";
    EXPECT_EQ(prompter.last(), "account is invalid.");
    EXPECT_GE(window->find_field("accno")->choices.find("2050"), 0);
    EXPECT_LT(window->find_field("accno")->choices.find("1300"), 0);
    window->set_field("accno", "2050");
    ASSERT_TRUE(window->run_inquiry());
    // The receipts credit AP suspense with what they received, the bills debit it with what they
    // billed; the void receipt and the void bill are each taken back by an entry of their own.
    EXPECT_EQ(grid_rows(window->results(), {"GL document no", "document no", "vendor no", "vendor name", "debit", "credit"}),
              (QStringList{"GL-26-00001|RO-26-00001|V100|Acme Industrial Supply||111.00",
                           "GL-26-00002|VI-26-00001|V100|Acme Industrial Supply|11.00|",
                           "GL-26-00003|RO-26-00002|V100|Acme Industrial Supply||2.62",
                           "GL-26-00004|RO-26-00002|V100|Acme Industrial Supply|2.62|",
                           "GL-26-00005|RO-26-00003|V300|Europa Komponenten GmbH||225.00",
                           "GL-26-00006|VI-26-00002|V300|Europa Komponenten GmbH|225.00|",
                           "GL-26-00007|VI-26-00002|V300|Europa Komponenten GmbH||225.00",
                           "GL-26-00008|RO-26-00003|V300|Europa Komponenten GmbH|225.00|"}));
    EXPECT_FALSE(window->results().row_struck_out(3)) << "a reversal is an entry of its own, not a void line";
    EXPECT_EQ(grid_rows(window->totals(), {"currency", "rows", "debit", "credit"}),
              (QStringList{"EUR|4|450.00|450.00", "USD|4|13.62|113.62"}))
        << "the bolts received and not billed stay in AP suspense";
    window->set_field("period", "2");
    ASSERT_TRUE(window->run_inquiry());
    EXPECT_EQ(grid_rows(window->results(), {"GL document no"}),
              (QStringList{"GL-26-00005", "GL-26-00006", "GL-26-00007", "GL-26-00008"}));
    window->set_field("period", "3");
    ASSERT_TRUE(window->run_inquiry());
    EXPECT_EQ(prompter.last(), "No data");
}

TEST_F(ClearingReport, RemembersItsYearAndPeriodWithTheIncomeStatement)
{
    EXPECT_EQ(window->field("fyear"), "2026");
    EXPECT_EQ(window->field("period"), "1");
    window->set_field("period", "4");
    ASSERT_TRUE(window->close_window(WindowModel::Closing::Unload));
    EXPECT_EQ(t.text("SELECT Value FROM Recent_value_table WHERE form_name = 'GLreport_income_statement'"
                     " AND control_name = 'cmbperiod'"),
              "4");
}

using VendorList = ReportTest<POreport_vendor_list>;

TEST_F(VendorList, ListsEveryVendorByNumberWithLimitAndInactiveFlag)
{
    ASSERT_TRUE(window->run_inquiry());
    EXPECT_EQ(grid_rows(window->results(), {"vendor no", "credit limit", "inactive", "payment term", "tax code"}),
              (QStringList{"V100|25,000|0||", "V200||0||", "V300||0||", "V400||0||", "V900||1||"}));
    window->results().set_current(1, 0);
    ASSERT_TRUE(window->activate_row(window->results(), 1));
    EXPECT_EQ(notifications.back().formx, "Vendor Master");
    EXPECT_EQ(notifications.back().docnox, "V200");
    Grid& sort = *window->grid("dbgrid_sort");
    sort.type_cell(0, "sort by", "country");
    sort.type_cell(0, "order", "Descending");
    ASSERT_TRUE(window->run_inquiry());
    EXPECT_EQ(grid_rows(window->results(), {"vendor no"}), (QStringList{"V100", "V200", "V400", "V900", "V300"}))
        << "ties of the chosen order keep the vendor number's order";
}

} // namespace
} // namespace zelkor::testing
