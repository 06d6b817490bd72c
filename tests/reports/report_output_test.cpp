// What the reports hand out: the PDF printout with its header, headings, rows and totals, the
// CSV export read back, the remembered dates, and the facade's pre-set openings.
#include "facade/POclass.h"
#include "report_fixture.h"
#include "reports/POreport_po_transaction.h"

#include <QFile>

namespace zelkor::testing {
namespace {

using OrderReport = ReportTest<POreport_po_transaction>;

/// Splits one RFC 4180 record (quotes doubled inside quoted fields).
QStringList csv_record(const QString& line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
            field += u'"';
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (c == u',' && !quoted) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    return fields << field;
}

TEST_F(OrderReport, PrintsEveryRowOnceWithTheDatesAndTheTotals)
{
    find({{"date_range", "1"}, {"from_date", "01/01/2026"}, {"to_date", "31/03/2026"}});
    ASSERT_TRUE(window->execute(CommandId::Preview));
    EXPECT_EQ(notifications.back().formx, "pdf viewer landscape");
    EXPECT_TRUE(notifications.back().docnox.endsWith("PO_transaction093000_L.pdf"));
    EXPECT_EQ(notifications.back().arg2, "Preview P/O TRANSACTIONS REPORT");
    const QString printed = pdf_text(notifications.back().docnox);
    if (printed.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(printed.contains("P/O TRANSACTIONS REPORT"));
    EXPECT_TRUE(printed.contains("print : 16/03/2026"));
    EXPECT_TRUE(printed.contains("Transaction Date : 01/01/2026"));
    EXPECT_TRUE(printed.contains("Until Date : 31/03/2026"));
    EXPECT_TRUE(printed.contains("document")) << printed.toStdString();
    EXPECT_TRUE(printed.contains("description"));
    EXPECT_EQ(printed.count("PO-26-00001"), 3);
    EXPECT_EQ(printed.count("PO-26-00003"), 1);
    EXPECT_TRUE(printed.contains("Total USD"));
    EXPECT_TRUE(printed.contains("176.25"));
    EXPECT_TRUE(printed.contains("Total EUR"));
}

TEST_F(OrderReport, ExportsThePrintedColumnsOfEveryRowAsCsv)
{
    find({});
    Grid& printed = *window->grid("dbgrid_print");
    for (int row = 0; row < printed.row_count(); ++row) {
        const QString caption = printed.cell(row, "column");
        const bool wanted = caption == "document no" || caption == "date" || caption == "description"
                            || caption == "extended cost";
        printed.type_cell(row, "print", wanted ? "1" : "0");
    }
    ASSERT_TRUE(t.db().execute("UPDATE PO_transaction_table SET description = '=SUM(A1)' WHERE itemcode = 'BOLT'"));
    ASSERT_TRUE(window->execute(int(ReportCommand::ExportCsv)));
    ASSERT_TRUE(prompter.last().startsWith("Export complete: "));
    QFile file(prompter.last().mid(QStringLiteral("Export complete: ").size()));
    EXPECT_TRUE(file.fileName().endsWith("PO_transaction093000.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "UTF-8 with its byte order mark";
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << "a heading and every row, no totals";
    EXPECT_EQ(csv_record(lines[0]), (QStringList{"document no", "date", "description", "extended cost"}));
    EXPECT_EQ(csv_record(lines[1]), (QStringList{"PO-26-00001", "2026-01-15", "Widget", "25.00"}));
    EXPECT_EQ(csv_record(lines[2]), (QStringList{"PO-26-00001", "2026-01-15", "'=SUM(A1)", "100.00"}))
        << "a text that looks like a formula is kept as text";
    EXPECT_EQ(csv_record(lines[4]), (QStringList{"PO-26-00002", "2026-02-01", "Glue O'Brien grade", "200.00"}));
}

TEST_F(OrderReport, RemembersItsDatesAndOpensTheOrderOfARow)
{
    EXPECT_EQ(window->field("from_date"), "01/01/2026") << "the remembered range";
    EXPECT_EQ(window->field("to_date"), "31/12/2026");
    ASSERT_EQ(window->type_into("from_date", "05/02/2026"), Entry::Accepted);
    EXPECT_EQ(t.text("SELECT Value FROM Recent_value_table WHERE form_name = 'POreport_po_transaction'"
                     " AND control_name = 'fromdate'"),
              "Feb 05,2026");
    find({});
    window->results().set_current(3, 0);
    ASSERT_TRUE(window->execute(int(ReportCommand::Origin)));
    EXPECT_EQ(notifications.back().formx, "Purchase Order");
    EXPECT_EQ(notifications.back().docnox, "PO-26-00002");
    EXPECT_EQ(notifications.back().arg2, "");
}

class ReportFacade : public ReportTest<POreport_po_transaction> {
protected:
    ReportFacade()
    {
        facade.set_abcdb(&t.db());
        facade.set_dbe(&t.db());
        facade.set_cnx(&t.db());
        facade.set_ZELKOR_USER("ADMIN");
        facade.set_ZELKOR_DATE_FORMAT("dd/mm/yyyy");
        facade.set_ZELKOR_PATH(folder.path());
        facade.set_prompter(&prompter);
    }
    POclass facade;
};

TEST_F(ReportFacade, PresetOpeningsFillTheFiltersAndRun)
{
    facade.showform_POform_po_transaction(QStringLiteral("pending"));
    POreport_po_transaction* orders = facade.frm_po_transaction();
    ASSERT_NE(orders, nullptr);
    EXPECT_EQ(orders->field("from_date"), "01/01/2000");
    EXPECT_EQ(orders->field("to_date"), "16/03/2026");
    EXPECT_EQ(orders->field("status"), "Open");
    EXPECT_EQ(orders->results().row_count(), 4);

    facade.set_docnox("PR-26-00001");
    facade.showform_POform_po_transaction();
    EXPECT_EQ(facade.frm_po_transaction()->results().row_count(), 1);

    facade.showform_POform_receipt_transaction(QStringLiteral("PO-26-00001"));
    EXPECT_EQ(facade.frm_receipt_transaction()->results().row_count(), 3);
    facade.showform_POform_invoice_transaction(QString(), QString());
    EXPECT_EQ(facade.frm_invoice_transaction()->inquiries_run(), 0) << "nothing to look for, nothing run";
    facade.showform_POform_invoice_transaction(QString(), QStringLiteral("RO-26-00001"));
    EXPECT_EQ(facade.frm_invoice_transaction()->results().cell(0, "document no"), "VI-26-00001");
}

} // namespace
} // namespace zelkor::testing
