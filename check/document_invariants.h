#pragma once

#include "core/invariants.h"

#include <QString>

#include <vector>

namespace zelkor {

/// Whether a clerk may delete a saved document of a kind (a requisition), taking its number with
/// it; the numbers of the other kinds run without gaps.
enum class Deletion { Never, Allowed };

/// A kind of numbered document as the data check knows it: its type code, its header and line
/// tables (joined by fkey) and the rows of them that are its own.
struct DocumentTables {
    QString doctype;      ///< "po"
    QString noun;         ///< "order", for the check's sentences
    QString header_table;
    QString line_table;
    QString filter;       ///< a condition on the tables' doctype column where they hold several kinds
    Deletion deletion = Deletion::Never;
};

/// Every kind of document the module numbers. A document kind joins the checks by a row here.
const std::vector<DocumentTables>& numbered_documents();

/// Journal entries and inventory documents that a document posted: the tag in their Source
/// column and the header table of the document whose number their source_docno repeats.
struct PostingSource {
    QString tag;          ///< "PO-RECEIPT"
    QString noun;         ///< "receipt"
    QString header_table;
};
const std::vector<PostingSource>& posting_sources();

/// Documents are whole (no header without lines, no lines without a header), every posting
/// belongs to a document, document numbers are unique, and every counter stands just past the
/// newest number it gave (no number lost but a deleted requisition's).
std::vector<InvariantCheck> document_invariant_checks();

} // namespace zelkor
