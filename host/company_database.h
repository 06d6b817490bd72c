#pragma once

#include "core/db/database.h"

#include <QString>

#include <expected>
#include <memory>

namespace zelkor::host {

/// A company database the host has opened, and whether it was just created with the demo data.
struct OpenedCompany {
    std::unique_ptr<Database> db;
    bool created = false;
};

/// Opens the company database at a SQLite path or a postgresql:// URI. A database without the
/// suite's tables (a missing SQLite file, an empty PostgreSQL database) gets the tables and the
/// demo company, so that the host always starts on something to work with.
[[nodiscard]] std::expected<OpenedCompany, Error> open_company(const QString& path_or_uri);

/// What the host hands to the module about the company, read from its database.
struct CompanySettings {
    QString base_currency;
    QString company_name;
    QString number_of_periods;
};

/// Reads the base currency and company name (the company row first, then the ledger's settings);
/// missing values fall back to sensible defaults rather than stopping the host.
CompanySettings read_company_settings(Database& db);

} // namespace zelkor::host
