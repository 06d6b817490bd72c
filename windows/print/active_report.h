#pragma once

#include "core/db/database.h"

#include <QString>

#include <expected>

namespace zelkor {

/// A document window prints by handing the host ("ActiveReport") one query and the argument
/// "Title,docno,". The query names its document by `docno = ?` placeholders; whoever runs it
/// binds the document number carried in the argument, so no value is ever written into the
/// query's text.
struct ActiveReportArgument {
    QString title;
    QString docno;
};

/// "Purchase Order," + docno + ","
QString active_report_argument(const QString& title, const QString& docno);
ActiveReportArgument parse_active_report_argument(const QString& argument);

/// Runs a report query with the document number of `argument` bound to each of its
/// placeholders. Only a single SELECT is run; anything else is refused.
[[nodiscard]] std::expected<Rows, Error> run_active_report(Database& db, const QString& query, const QString& argument);

} // namespace zelkor
