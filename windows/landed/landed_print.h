#pragma once

#include "windows/print/document_layout.h"

namespace zelkor {

/// The printed landed bill: the charge vendor's bill number and date, the goods vendor and the
/// receipt it covers, terms and currency; the charges with their units and accounts; the totals
/// with the tax of each authority, the remark; "VOID" across a void bill.
DocumentLayout landed_document_layout();

} // namespace zelkor
