#include "windows/bill/invoice_print.h"

#include <algorithm>

namespace zelkor {

DocumentLayout bill_document_layout()
{
    DocumentLayout layout = purchasing_document_layout(BillReportTitle, QStringLiteral("PO_invoice_header_table"),
                                                       QStringLiteral("PO_invoice_transaction_table"));
    layout.heading = QStringLiteral("Vendor Bill");
    layout.facts.insert(layout.facts.begin(), {{QStringLiteral("Bill date"), QStringLiteral("invoice_date"), PrintedAs::Date},
                                               {QStringLiteral("Vendor invoice no"), QStringLiteral("invoice_no")},
                                               {QStringLiteral("Due date"), QStringLiteral("due_date"), PrintedAs::Date},
                                               {QStringLiteral("Receipt no"), QStringLiteral("receipt_no")},
                                               {QStringLiteral("Order no"), QStringLiteral("po_no")}});
    layout.facts.push_back({QStringLiteral("Pay by"), QStringLiteral("payby")});
    layout.facts.push_back({QStringLiteral("Check no"), QStringLiteral("check_no")});
    layout.facts.push_back({QStringLiteral("Period"), QStringLiteral("period")});
    layout.facts.push_back({QStringLiteral("Fiscal year"), QStringLiteral("fyear")});
    // A bill's lines are counted in the unit they were received in, and each says which receipt
    // line it pays and which account it is charged to.
    for (DocumentLineColumn& column : layout.line_columns)
        if (column.column == u"uom")
            column.column = QStringLiteral("uom_received");
    const auto quantity = std::find_if(layout.line_columns.begin(), layout.line_columns.end(),
                                       [](const DocumentLineColumn& column) { return column.value == LineValue::Quantity; });
    layout.line_columns.insert(quantity, {QStringLiteral("Receipt no"), QStringLiteral("receipt_no"), LineValue::Text});
    layout.line_columns.push_back({QStringLiteral("Account"), QStringLiteral("accno"), LineValue::Text});
    layout.sub_total_column = QStringLiteral("subtotal");
    layout.tax_total_column = QStringLiteral("excluded_tax");
    layout.tax_included_flag = QStringLiteral("price_include_tax");
    layout.deducted_amounts = {{QStringLiteral("Discount"), QStringLiteral("discount_amount")},
                               {QStringLiteral("Prepayment"), QStringLiteral("prepayment")}};
    layout.net_column = QStringLiteral("net_amount");
    // The ship-to block is the receipt's business; a bill names no warehouse of its own.
    layout.ship_to_column.clear();
    layout.void_column = QStringLiteral("void");
    return layout;
}

} // namespace zelkor
