#pragma once

#include "facade/POclass.h"

namespace zelkor::script {

/// What a script run asks of the company and the user.
struct SessionOptions {
    QString user = QStringLiteral("ADMIN");
    QString date_format = QStringLiteral("dd/mm/yyyy");
    QString location; ///< the database path or URI, handed on as OPEN_DATABASE
    QString data_path; ///< where printed reports go ("User report" below it), handed on as ZELKOR_PATH
};

/// The folder a script's reports go to: beside a SQLite company file, else the working folder.
QString default_data_path(const ConnectionDescription& where);

/// Hands the facade the database and the settings a host would: base currency and company name
/// from the company row, the user, the date format, the number of periods and the fonts.
void configure_facade(POclass& facade, Database& db, const SessionOptions& options);

} // namespace zelkor::script
