#include "program.h"

#include <iostream>

namespace zelkor::cycle {

std::unique_ptr<Database> open_company(const QString& location)
{
    const auto where = ConnectionDescription::parse(location);
    if (!where) {
        std::cerr << "not a database path or postgresql:// URI: " << location.toStdString() << std::endl;
        return nullptr;
    }
    auto db = Database::open(*where);
    if (!db) {
        std::cerr << db.error().detail.toStdString() << std::endl;
        return nullptr;
    }
    return std::move(*db);
}

} // namespace zelkor::cycle
