#include "host/company_database.h"

#include "schema/schema.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace zelkor::host {

namespace {

[[nodiscard]] std::expected<void, Error> create_demo_company(Database& db)
{
    if (auto created = schema::create_tables(db); !created)
        return std::unexpected(created.error());
    return schema::load_demo(db, QDate::currentDate().year());
}

QString first_text(Database& db, const QString& sql)
{
    auto value = db.scalar(sql);
    return value ? value->toString().trimmed() : QString();
}

} // namespace

[[nodiscard]] std::expected<OpenedCompany, Error> open_company(const QString& path_or_uri)
{
    const auto where = ConnectionDescription::parse(path_or_uri);
    if (!where)
        return std::unexpected(Error::invalid(QStringLiteral("not a database path or postgresql:// URI: ") + path_or_uri));
    if (where->engine == Engine::Sqlite) {
        const QFileInfo file(where->database);
        if (!file.absoluteDir().exists() && !QDir().mkpath(file.absolutePath()))
            return std::unexpected(Error::invalid(QStringLiteral("cannot create the folder ") + file.absolutePath()));
    }
    auto db = Database::open(*where);
    if (!db)
        return std::unexpected(db.error());
    auto has_tables = schema::has_tables(**db);
    if (!has_tables)
        return std::unexpected(has_tables.error());
    OpenedCompany opened{std::move(*db), false};
    if (!*has_tables) {
        if (auto created = create_demo_company(*opened.db); !created)
            return std::unexpected(created.error());
        opened.created = true;
    }
    return opened;
}

CompanySettings read_company_settings(Database& db)
{
    CompanySettings settings;
    settings.base_currency = first_text(db, QStringLiteral("SELECT base_currency FROM Company_table WHERE company_no = 1"));
    if (settings.base_currency.isEmpty())
        settings.base_currency = first_text(db, QStringLiteral("SELECT base_currency FROM COA_config_table WHERE company = 1"));
    if (settings.base_currency.isEmpty())
        settings.base_currency = QStringLiteral("USD");
    settings.company_name = first_text(db, QStringLiteral("SELECT company_name FROM Company_table WHERE company_no = 1"));
    if (settings.company_name.isEmpty())
        settings.company_name = QStringLiteral("Demo Company");
    // The suite keeps twelve periods a year unless the ledger says otherwise; the schema has
    // no column for it, so the host hands the usual value on.
    settings.number_of_periods = QStringLiteral("12");
    return settings;
}

} // namespace zelkor::host
