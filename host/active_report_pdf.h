#pragma once

#include "core/db/database.h"
#include "windows/print/pdf_list_writer.h"

#include <QString>

#include <expected>

namespace zelkor::host {

/// A document window's print request ("ActiveReport") and where the host prints it.
struct ActiveReportRequest {
    QString query{};     ///< one SELECT with `docno = ?` placeholders
    QString argument{};  ///< "Title,docno,"
    QString form_name{}; ///< the printing window, whose page format the user chose
    QString user{};
    QString data_path{}; ///< "User report" is created under it
    QString print_date{}; ///< today in the user's date format
    QString date_format{}; ///< the user's, for the dates of the rows
};

/// The rows of a report query as a printed list: one column per selected column, headed by its
/// name; numbers right-aligned; widths from the longest text of each column.
PrintList print_list_of_rows(const Rows& rows, const QString& title, const QString& date_format = {});

/// A printed document: the header columns of the query (those before its first line column,
/// `itemno`) as "label : value" fields of the first row, the line columns as the list. A query
/// without `itemno` prints as a plain list.
PrintList print_document_of_rows(const Rows& rows, const QString& title, const QString& date_format = {});

/// Runs the query with the document number bound and writes, on the user's page format for the
/// window and in the "User report" folder, the document laid out as its window declared
/// (forms/common/document_layout.h), or its rows as a PDF list for a title without a layout.
[[nodiscard]] std::expected<ReportFile, Error> print_active_report(Database& db, const ActiveReportRequest& request);

} // namespace zelkor::host
