#include "script/session.h"

#include "core/db/database.h"

#include <QDir>
#include <QFileInfo>

namespace zelkor::script {

QString default_data_path(const ConnectionDescription& where)
{
    if (where.engine == Engine::Sqlite)
        return QFileInfo(where.database).absolutePath();
    return QDir::currentPath();
}

void configure_facade(POclass& facade, Database& db, const SessionOptions& options)
{
    facade.set_cnx(&db);
    facade.set_dbe(&db);
    facade.set_abcdb(&db);
    facade.set_OPEN_DATABASE(options.location);
    if (auto company = db.first(QStringLiteral("SELECT company_name, base_currency FROM Company_table"
                                               " ORDER BY company_no"));
        company && *company) {
        facade.set_ZELKOR_COMPANY_NAME((*company)->text(u"company_name"));
        facade.set_BASE_CURRENCY((*company)->text(u"base_currency"));
    }
    facade.set_ZELKOR_PATH(options.data_path);
    facade.set_ZELKOR_USER(options.user);
    facade.set_ZELKOR_DATE_FORMAT(options.date_format);
    facade.set_ZELKOR_NO_PERIODS(QStringLiteral("12"));
    facade.set_ZELKOR_FONT_NAME(QStringLiteral("DejaVu Sans"));
    facade.set_ZELKOR_FONT_SIZE(9);
}

} // namespace zelkor::script
