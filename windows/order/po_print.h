#pragma once

#include "windows/print/document_layout.h"

#include <QString>

namespace zelkor {

/// The print query of an order: header joined with its lines in line order, the vendor name and
/// payment-term name from their masters. The order is named by a `docno = ?` placeholder that
/// the host binds from the report argument.
QString po_print_query();

/// The printed order a vendor receives: dates, terms, shipping, currency and rate when foreign,
/// buyer; both addresses as the order keeps them; the lines, the totals with the tax of each
/// authority, the remark and the delivery instruction.
DocumentLayout po_document_layout();

} // namespace zelkor
