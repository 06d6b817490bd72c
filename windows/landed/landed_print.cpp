#include "windows/landed/landed_print.h"

#include "documents/landed/landed_posting.h"

#include <algorithm>

namespace zelkor {

DocumentLayout landed_document_layout()
{
    DocumentLayout layout = purchasing_document_layout(LandedSourceForm, QStringLiteral("PO_invoice_header_table"),
                                                       QStringLiteral("PO_invoice_transaction_table"));
    layout.heading = QStringLiteral("Landed Cost Bill");
    layout.facts.insert(layout.facts.begin(), {{QStringLiteral("Bill date"), QStringLiteral("invoice_date"), PrintedAs::Date},
                                               {QStringLiteral("Vendor invoice no"), QStringLiteral("invoice_no")},
                                               {QStringLiteral("Goods vendor"), QStringLiteral("primary_vendor")},
                                               {QStringLiteral("Receipt no"), QStringLiteral("receipt_no")}});
    // A charge has no vendor item code; its unit is the one typed on the bill.
    std::erase_if(layout.line_columns, [](const DocumentLineColumn& column) { return column.column == u"vendor_itemcode"; });
    for (DocumentLineColumn& column : layout.line_columns)
        if (column.column == u"uom")
            column.column = QStringLiteral("uom_received");
    layout.line_columns.push_back({QStringLiteral("Account"), QStringLiteral("accno"), LineValue::Text});
    layout.sub_total_column = QStringLiteral("subtotal");
    layout.void_column = QStringLiteral("void");
    return layout;
}

} // namespace zelkor
