#pragma once

#include "facade/POclass.h"

namespace zelkor::script {

/// What a script run asks of the company and the user.
struct SessionOptions {
    QString user = QStringLiteral("ADMIN");
    QString date_format = QStringLiteral("dd/mm/yyyy");
    QString location; ///< the database path or URI, handed on as OPEN_DATABASE
};

/// Hands the facade the database and the settings a host would: base currency and company name
/// from the company row, the user, the date format, the number of periods and the fonts.
void configure_facade(POclass& facade, Database& db, const SessionOptions& options);

} // namespace zelkor::script
