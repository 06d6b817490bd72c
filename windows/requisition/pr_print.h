#pragma once

#include "windows/print/document_layout.h"

#include <QString>

namespace zelkor {

/// The one query the host's report runs for a printed requisition: header joined with its lines,
/// ordered by line number, the vendor's and payment term's names from their masters. The
/// requisition is named by a `docno = ?` placeholder that the host binds (forms/common/active_report.h).
QString pr_print_query();

/// The report argument handed with the query: "Purchase Requisition," + docno + ",".
QString pr_print_title(const QString& docno);

/// The printed requisition: requested and ship-to dates and people, the lines with their unit
/// costs and amounts, the totals and the remark.
DocumentLayout pr_document_layout();

} // namespace zelkor
