#pragma once

#include "windows/print/document_layout.h"

#include <QString>

namespace zelkor {

/// The report title a receipt prints under; the host finds the receipt's layout by it.
inline const QString ReceiptReportTitle = QStringLiteral("Receipt Entry");

/// The printed goods receipt: the receipt and bill dates, the order, terms, shipping, currency
/// and rate when foreign; both addresses as the receipt keeps them; the lines received (landed
/// charges only as their total), the totals with the tax of each authority, the remark; "VOID"
/// across a void receipt.
DocumentLayout receipt_document_layout();

} // namespace zelkor
