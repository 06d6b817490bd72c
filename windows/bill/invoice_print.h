#pragma once

#include "windows/print/document_layout.h"

#include <QString>

namespace zelkor {

/// The report title a bill prints under; the host finds the bill's layout by it.
inline const QString BillReportTitle = QStringLiteral("P/O Bill Entry");

/// The printed vendor bill: its dates, the vendor's bill number, the receipt and order it
/// matches, terms and how it is paid; the lines billed with the receipt each came from and the
/// account it is charged to; sub total, the tax added to prices that exclude it, total, discount,
/// prepayment and the net amount owed; the remark. "VOID" across a void bill.
DocumentLayout bill_document_layout();

} // namespace zelkor
