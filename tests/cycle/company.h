#pragma once
// The company the cycle tests work in: the demo company with some generated items, vendors and
// a tax code besides, and the codes a clerk chooses from.

#include "core/db/database.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zelkor::cycle {

struct VendorCode {
    QString code;
    QString currency;
};

/// An item a line can name: its code and type, the units it is bought in, and how many decimals
/// its quantities take.
struct ItemCode {
    QString code;
    QString type;      ///< "1" stock, "2" non-stock, "5" a free service code, "6" a charge
    QStringList units; ///< the purchase unit first; empty for charges and free codes
    int quantity_decimals = 0;
};

/// The masters the steps choose from, read once the generated ones are in place.
struct Catalogue {
    std::vector<VendorCode> vendors;
    std::vector<ItemCode> items;
    QStringList tax_codes;
    QStringList warehouses;
};

/// Adds the generated masters to a demo company: stock items costed FIFO and LIFO in several
/// units and warehouses, a non-stock item, a vendor in euros and one in US dollars with quotes in
/// its name, a tax code of two authorities.
[[nodiscard]] std::expected<void, Error> add_generated_masters(Database& db);
/// What a clerk may choose in a company.
[[nodiscard]] std::expected<Catalogue, Error> read_catalogue(Database& db);
/// Both: the generated masters added, then the catalogue read.
[[nodiscard]] std::expected<Catalogue, Error> prepare_company(Database& db);

} // namespace zelkor::cycle
