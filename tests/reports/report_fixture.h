#pragma once
// A report window on the fixture company with a few documents of every kind: two vendors of
// a vendor group and one of another, two currencies, items with a category and a group, void
// documents, a document without a date, and a receipt line carrying the same tax twice.

#include "core/clock.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "tests/support/window_test_support.h"
#include "windows/base/window_model.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zelkor::testing {

inline const char* const ReportDocuments = R"(
INSERT INTO PR_transaction_table (company, fkey, itemno, docno, order_date, requested_user, vendor_no, currency, itemcode,
    itemtype, description, quantity, unitcost, extended_cost, price_include_tax, tax_code, tax_amount, accno, closed, void) VALUES
(1, '1pr-1', 1, 'PR-26-00001', '2026-01-10', 'JSMITH', 'V100', 'USD', 'WIDGET', '1', 'Widget', 10, 2.5, 25, FALSE, 'ST', 1.25, '1300', FALSE, FALSE),
(1, '1pr-2', 1, 'PR-26-00002', '2026-01-11', 'ADMIN', 'V200', 'USD', 'BOLT', '1', 'Bolt', 5, 1, 5, FALSE, 'ST', 0.25, '1300', TRUE, FALSE);
INSERT INTO PO_header_table (company, fkey, doctype, docno, vendor_no, order_date, currency, received, fully_received, billed,
    fully_billed, void) VALUES
(1, '1po-1', 'po', 'PO-26-00001', 'V100', '2026-01-15', 'USD', TRUE, FALSE, FALSE, FALSE, FALSE),
(1, '1po-2', 'po', 'PO-26-00002', 'V300', '2026-02-01', 'EUR', FALSE, FALSE, FALSE, FALSE, FALSE),
(1, '1po-3', 'po', 'PO-26-00003', 'V200', '2026-03-31', 'USD', TRUE, TRUE, TRUE, TRUE, TRUE),
(1, '1po-4', 'po', 'PO-26-00004', 'V100', NULL, 'USD', FALSE, FALSE, FALSE, FALSE, FALSE);
INSERT INTO PO_transaction_table (company, fkey, itemno, docno, vendor_no, currency, itemcode, itemtype, description, quantity,
    quantity_received, quantity_open, quantity_cancel, unitcost, price_include_tax, extended_cost, tax_code, tax_amount, accno,
    prno, pr_itemno, closed) VALUES
(1, '1po-1', 1, 'PO-26-00001', 'V100', 'USD', 'WIDGET', '1', 'Widget', 10, 4, 6, 0, 2.5, FALSE, 25, 'ST', 1.25, '1300', 'PR-26-00001', 1, FALSE),
(1, '1po-1', 2, 'PO-26-00001', 'V100', 'USD', 'BOLT', '1', 'Bolt', 100, 100, 0, 0, 1, TRUE, 100, 'ST', 4.76, '1300', NULL, NULL, TRUE),
(1, '1po-1', 3, 'PO-26-00001', 'V100', 'USD', 'MANUAL', '2', '100% cotton_manual', 1, 0, 1, 0, 50, FALSE, 50, 'EXEMPT', 0, '6000', NULL, NULL, FALSE),
(1, '1po-2', 1, 'PO-26-00002', 'V300', 'EUR', 'GLUE', '1', 'Glue O''Brien grade', 20, 0, 20, 0, 10, FALSE, 200, 'VAT50', 20, '1300', 'PR-26-00001', 2, FALSE),
(1, '1po-3', 1, 'PO-26-00003', 'V200', 'USD', 'WIDGET', '1', 'Widget', 5, 5, 0, 0, 3, FALSE, 15, 'ST', 0.75, '1300', NULL, NULL, TRUE),
(1, '1po-4', 1, 'PO-26-00004', 'V100', 'USD', 'PAINT', '1', 'Paint can', 2, 0, 2, 0, 10, FALSE, 20, 'ST', 1, '1300', NULL, NULL, FALSE);
INSERT INTO PO_receipt_header_table (company, fkey, doctype, docno, vendor_no, receipt_date, currency, billed, fully_billed, void) VALUES
(1, '1ro-1', 'ro', 'RO-26-00001', 'V100', '2026-01-20', 'USD', TRUE, FALSE, FALSE),
(1, '1ro-2', 'ro', 'RO-26-00002', 'V100', '2026-01-21', 'USD', FALSE, FALSE, TRUE);
INSERT INTO PO_receipt_transaction_table (company, fkey, landed_item, itemno, docno, receipt_date, vendor_no, currency, fyear,
    period, itemcode, itemtype, description, quantity_received, po_quantity_order, unitcost, extended_cost, tax_amount,
    price_include_tax, accno, PONO, po_itemno, void, tax_authority1, taxable_amount1, tax_rate1, tax_amount1, tax_recoverable1,
    tax_authority2, taxable_amount2, tax_rate2, tax_amount2, tax_recoverable2) VALUES
(1, '1ro-1', FALSE, 1, 'RO-26-00001', '2026-01-20', 'V100', 'USD', '2026', 1, 'WIDGET', '1', 'Widget', 4, 10, 2.5, 10, 1, FALSE,
    '1300', 'PO-26-00001', 1, FALSE, 'STATE', 10, 5, 0.5, 0.5, 'STATE', 10, 5, 0.5, 0.5),
(1, '1ro-1', TRUE, 1, 'RO-26-00001', '2026-01-20', 'V100', 'USD', '2026', 1, 'FREIGHT', '6', 'Freight', 1, 0, 5, 5, 0, FALSE,
    '5200', NULL, NULL, FALSE, NULL, 0, 0, 0, 0, NULL, 0, 0, 0, 0),
(1, '1ro-2', FALSE, 1, 'RO-26-00002', '2026-01-21', 'V100', 'USD', '2026', 1, 'BOLT', '1', 'Bolt', 1, 1, 1, 1, 0.05, FALSE,
    '1300', 'PO-26-00001', 2, TRUE, 'STATE', 1, 5, 0.05, 0.05, NULL, 0, 0, 0, 0);
INSERT INTO PO_invoice_header_table (company, fkey, doctype, docno, vendor_no, invoice_date, currency, invoice_no, ap_docno,
    paid, fully_paid, void) VALUES
(1, '1vi-1', 'vi', 'VI-26-00001', 'V100', '2026-01-25', 'USD', 'INV-77', 'IP-26-00001', FALSE, FALSE, FALSE),
(1, '1vi-2', 'vi', 'VI-26-00002', 'V300', '2026-01-26', 'EUR', 'INV-78', 'IP-26-00002', FALSE, FALSE, TRUE);
INSERT INTO PO_invoice_transaction_table (company, fkey, itemno, docno, vendor_no, invoice_no, invoice_date, fyear, period,
    currency, itemcode, itemtype, Description, quantity, quantity_received, unitcost, extended_cost, tax_amount, tax_allocate,
    price_include_tax, accno, receipt_no, receipt_itemno, PONO, po_itemno, void, tax_authority1, taxable_amount1, tax_rate1,
    tax_amount1, tax_recoverable1) VALUES
(1, '1vi-1', 1, 'VI-26-00001', 'V100', 'INV-77', '2026-01-25', '2026', 1, 'USD', 'WIDGET', '1', 'Widget', 4, 4, 2.5, 10, 0.5, 0,
    FALSE, '1300', 'RO-26-00001', 1, 'PO-26-00001', 1, FALSE, 'STATE', 10, 5, 0.5, 0.5),
(1, '1vi-2', 1, 'VI-26-00002', 'V300', 'INV-78', '2026-01-26', '2026', 1, 'EUR', 'GLUE', '1', 'Glue', 20, 0, 10, 200, 20, 0,
    FALSE, '1300', NULL, NULL, 'PO-26-00002', 1, TRUE, 'VAT', 200, 10, 20, 10);
INSERT INTO GL_transaction_table (company, fkey, lineno, docno, gldate, period, fyear, accno, amount, currency, vendor_no,
    Source, source_docno, void) VALUES
(1, '1gl-1', 1, 'GL-26-00001', '2026-01-20', 1, '2026', '1300', 10.00, 'USD', 'V100', 'PO-RECEIPT', 'RO-26-00001', FALSE),
(1, '1gl-1', 2, 'GL-26-00001', '2026-01-20', 1, '2026', '2050', 10.00, 'USD', 'V100', 'PO-RECEIPT', 'RO-26-00001', FALSE),
(1, '1gl-2', 1, 'GL-26-00002', '2026-01-25', 1, '2026', '2050', -10.00, 'USD', 'V100', 'PO-BILL', 'VI-26-00001', FALSE),
(1, '1gl-3', 1, 'GL-26-00003', '2026-02-03', 2, '2026', '2050', 7.50, 'USD', 'V999', 'PO-RECEIPT', 'RO-26-00009', FALSE),
(1, '1gl-4', 1, 'GL-26-00004', '2026-01-21', 1, '2026', '2050', 3.00, 'USD', 'V100', 'PO-RECEIPT', 'RO-26-00002', TRUE),
(1, '1gl-5', 1, 'GL-26-00005', '2026-01-22', 1, '2026', '2050', -3.00, 'USD', 'V100', 'PO-RECEIPT', 'RO-26-00002', TRUE);
)";

template <class Window>
class ReportTest : public ::testing::Test, protected WindowTestBench {
protected:
    ReportTest()
    {
        EXPECT_TRUE(t.db().execute_script(QString::fromUtf8(ReportDocuments)));
        window = std::make_unique<Window>();
        window->apply_settings(window_settings(t.db(), QStringLiteral("ADMIN"), folder.path()));
        window->set_prompter(&prompter);
        record_notifications(*window, notifications);
        window->open();
    }

    /// The column of every row read so far, in the grid's order.
    QStringList column(const char* caption) const
    {
        QStringList values;
        for (int row = 0; row < window->results().row_count(); ++row)
            values << window->results().cell(row, QString::fromLatin1(caption));
        return values;
    }
    /// Runs the report after setting fields (the window's own writes, no typing checks).
    QStringList find(const std::vector<std::pair<const char*, QString>>& filters, const char* caption = "document no")
    {
        window->clear_filters();
        for (const auto& [name, value] : filters)
            window->set_field(QString::fromLatin1(name), value);
        EXPECT_TRUE(window->run_inquiry()) << prompter.last().toStdString();
        return column(caption);
    }
    QStringList total_row(const QString& currency) const
    {
        for (const QStringList& row : window->totals().rows())
            if (row.value(0) == currency)
                return row;
        return {};
    }

    std::unique_ptr<Window> window;
};

} // namespace zelkor::testing
