#include "windows/receipt/receipt_print.h"

#include <algorithm>

namespace zelkor {

DocumentLayout receipt_document_layout()
{
    DocumentLayout layout = purchasing_document_layout(ReceiptReportTitle, QStringLiteral("PO_receipt_header_table"),
                                                       QStringLiteral("PO_receipt_transaction_table"));
    layout.heading = QStringLiteral("Goods Receipt");
    layout.facts.insert(layout.facts.begin(), {{QStringLiteral("Receipt date"), QStringLiteral("receipt_date"), PrintedAs::Date},
                                               {QStringLiteral("Order no"), QStringLiteral("pono")},
                                               {QStringLiteral("Vendor bill no"), QStringLiteral("vendor_invoice_no")},
                                               {QStringLiteral("Bill date"), QStringLiteral("vendor_invoice_date"), PrintedAs::Date}});
    layout.vendor_address_column = QStringLiteral("vendor_address");
    layout.ship_to_address_column = QStringLiteral("ship_to_address");
    // The quantity a receipt prints is what came in.
    const auto quantity = std::find_if(layout.line_columns.begin(), layout.line_columns.end(),
                                       [](const DocumentLineColumn& column) { return column.value == LineValue::Quantity; });
    *quantity = {QStringLiteral("Received"), QStringLiteral("quantity_received"), LineValue::Quantity};
    layout.unprinted_line_flag = QStringLiteral("landed_item");
    layout.added_amounts = {{QStringLiteral("Landed charges"), QStringLiteral("landed_total")}};
    // The receipt window prints a void receipt, which then says so on every page.
    layout.void_column = QStringLiteral("void");
    return layout;
}

} // namespace zelkor
