#pragma once

#include "core/db/error.h"
#include "windows/print/pdf_list_writer.h"
#include "windows/print/printed_document.h"
#include "windows/print/report_format.h"

#include <QString>

#include <expected>

namespace zelkor {

/// The smallest font the line table of a document shrinks to before its descriptions wrap.
inline constexpr qreal SmallestTablePoints = 7.0;

/// Writes a document as a PDF file at `path` on the user's page format (paper, orientation,
/// margins, font, colours): the letterhead, title and number, facts and both addresses on the
/// first page, the line table with its headings on every page, the totals right-aligned under
/// the lines, the notes, "Page n of m" at every foot, and "VOID" across every page of a void
/// document. No number is ever cut: the table's font shrinks down to SmallestTablePoints, then
/// descriptions and other texts wrap. Nothing is left at `path` when it fails.
[[nodiscard]] std::expected<void, Error> write_document_pdf(const PrintedDocument& document, const ReportFormat& format,
                                                            const QString& path);

/// Writes the document into the "User report" folder under the data path, named from the stem
/// and the clock's time of day as every printout is.
[[nodiscard]] std::expected<ReportFile, Error> write_user_document(const PrintedDocument& document, const ReportFormat& format,
                                                                   const QString& data_path, const QString& stem);

} // namespace zelkor
