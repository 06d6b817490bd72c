#include "company.h"

namespace zelkor::cycle {

namespace {

/// Masters of the other modules of the suite, as their own windows would have written them.
const char* const GeneratedMasters = R"sql(
INSERT INTO Tax_code_table (tax_code, description, transaction_type, "default") VALUES
('GEN2', 'State 6% and city 2% into cost', 'purchase', FALSE);
INSERT INTO Tax_code_details_table (tax_code, item_no, tax_authority, Rate, taxable, min_charged, max_charged, percent_refund, include_itemcost, transaction_type) VALUES
('GEN2', 1, 'STATE', 6, FALSE, NULL, NULL, 100, FALSE, 'purchase'),
('GEN2', 2, 'CITY', 2, FALSE, NULL, NULL, 0, TRUE, 'purchase');
INSERT INTO Item_master_table (itemcode, description, long_description, short_name, item_type, kit, active, discontinued,
    quantity_decimals, unitcost_decimals, stock_uom, purchase_uom, cost_method, asset_accno, vari_accno, reorder_quantity, preferred_vendor) VALUES
('GEN-FIFO-1', 'Generated FIFO item 1', NULL, NULL, '1', FALSE, TRUE, FALSE, 0, 4, 'pcs', 'box', 'FIFO', '1300', '5100', 50, 'V1001'),
('GEN-FIFO-2', 'Generated FIFO item 2', NULL, NULL, '1', FALSE, TRUE, FALSE, 2, 4, 'kg', 'kg', 'FIFO', '1310', '5100', 0, 'V2001'),
('GEN-LIFO-1', 'Generated LIFO item 1', NULL, NULL, '1', FALSE, TRUE, FALSE, 0, 4, 'pcs', 'carton', 'LIFO', '1300', '5100', 20, 'V1002'),
('GEN-NS-1', 'Generated non-stock item', NULL, NULL, '2', FALSE, TRUE, FALSE, 0, 2, 'each', 'each', NULL, '6000', NULL, 0, 'V1003');
INSERT INTO Item_warehouse_table (company, itemcode, warehouse, cost_method, standard_cost, last_cost, last_cost_plus,
    minimum_stock, maximum_stock, reorder_quantity, default_warehouse, default_location, allow_negative_stock) VALUES
(1, 'GEN-FIFO-1', 'MAIN', 'FIFO', 0, 1.25, 1.25, 100, NULL, 50, TRUE, 'A-02', FALSE),
(1, 'GEN-FIFO-1', 'EAST', 'FIFO', 0, 1.25, 1.25, 0, NULL, 0, FALSE, 'E-02', FALSE),
(1, 'GEN-FIFO-2', 'EAST', 'FIFO', 0, 3.10, 3.10, 0, NULL, 0, TRUE, 'E-01', FALSE),
(1, 'GEN-LIFO-1', 'MAIN', 'LIFO', 0, 0.80, 0.80, 10, NULL, 20, TRUE, 'B-01', FALSE),
(1, 'GEN-NS-1', 'MAIN', NULL, 0, 0, 0, 0, NULL, 0, TRUE, 'A-01', FALSE);
INSERT INTO UOM_conversion_table (itemcode, uom_from, uom_to, quantity_from, quantity_to) VALUES
('GEN-FIFO-1', 'box', 'pcs', 1, 10),
('GEN-LIFO-1', 'box', 'pcs', 1, 20),
('GEN-LIFO-1', 'carton', 'pcs', 1, 240);
INSERT INTO Vendor_table (vendor_no, vendor_name, Description, currency, payment_term, tax_code, contact_person,
    phone1, phone2, fax1, fax2, mobile1, mobile2, email1, email2, website, Address, city, State, province, country, postal_code,
    credit_limit, vendor_group, ap_accno, owing_balance, active, discontinued) VALUES
('GV-EUR', 'Generated Euro Vendor', NULL, 'EUR', '30', 'GEN2', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
    NULL, NULL, NULL, NULL, 'Germany', NULL, NULL, 'OVERSEAS', '2010', 0, TRUE, FALSE),
('GV-USD', 'Generated "Quote" & Co''s Vendor', NULL, 'USD', '30', 'BOUNDED', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
    NULL, NULL, NULL, NULL, 'USA', NULL, NULL, 'DOMESTIC', '2000', 0, TRUE, FALSE);
)sql";

[[nodiscard]] std::expected<void, Error> read_vendors(Database& db, Catalogue& catalogue)
{
    auto rows = db.select(QStringLiteral("SELECT vendor_no, currency FROM Vendor_table WHERE active = TRUE"
                                         " AND discontinued = FALSE AND ap_accno IS NOT NULL ORDER BY vendor_no"));
    if (!rows)
        return std::unexpected(rows.error());
    for (const Row& row : *rows)
        catalogue.vendors.push_back({row.text(u"vendor_no"), row.text(u"currency")});
    return {};
}

[[nodiscard]] std::expected<void, Error> read_items(Database& db, Catalogue& catalogue)
{
    // Kits are assembled, not bought whole: the clerk leaves them out.
    auto rows = db.select(QStringLiteral("SELECT itemcode, item_type, purchase_uom, stock_uom, quantity_decimals"
                                         " FROM Item_master_table WHERE active = TRUE AND discontinued = FALSE"
                                         " AND kit = FALSE ORDER BY itemcode"));
    if (!rows)
        return std::unexpected(rows.error());
    for (const Row& row : *rows) {
        ItemCode item{row.text(u"itemcode"), row.text(u"item_type"), {row.text(u"purchase_uom")},
                      int(row.integer(u"quantity_decimals"))};
        auto conversions = db.select(QStringLiteral("SELECT uom_from FROM UOM_conversion_table WHERE itemcode = ?"
                                                    " AND quantity_from > 0 ORDER BY uom_from"),
                                     {item.code});
        if (!conversions)
            return std::unexpected(conversions.error());
        if (const QString stock_unit = row.text(u"stock_uom"); !item.units.contains(stock_unit))
            item.units << stock_unit;
        for (const Row& conversion : *conversions)
            if (!item.units.contains(conversion.text(u"uom_from")))
                item.units << conversion.text(u"uom_from");
        catalogue.items.push_back(item);
    }
    auto charges = db.select(QStringLiteral("SELECT itemcode FROM Vendor_miscellaneous_charge_table ORDER BY itemcode"));
    if (!charges)
        return std::unexpected(charges.error());
    for (const Row& row : *charges)
        catalogue.items.push_back({row.text(u"itemcode"), QStringLiteral("6"), {}, 2});
    catalogue.items.push_back({QStringLiteral("INSTALL"), QStringLiteral("5"), {}, 2});
    return {};
}

} // namespace

[[nodiscard]] std::expected<void, Error> add_generated_masters(Database& db)
{
    return db.execute_script(QString::fromUtf8(GeneratedMasters));
}

[[nodiscard]] std::expected<Catalogue, Error> prepare_company(Database& db)
{
    if (auto added = add_generated_masters(db); !added)
        return std::unexpected(added.error());
    return read_catalogue(db);
}

[[nodiscard]] std::expected<Catalogue, Error> read_catalogue(Database& db)
{
    Catalogue catalogue;
    if (auto read = read_vendors(db, catalogue); !read)
        return std::unexpected(read.error());
    if (auto read = read_items(db, catalogue); !read)
        return std::unexpected(read.error());
    auto codes = db.select(QStringLiteral("SELECT tax_code FROM Tax_code_table WHERE transaction_type = 'purchase' ORDER BY tax_code"));
    if (!codes)
        return std::unexpected(codes.error());
    for (const Row& row : *codes)
        catalogue.tax_codes << row.text(u"tax_code");
    catalogue.warehouses = {QStringLiteral("MAIN"), QStringLiteral("EAST")};
    return catalogue;
}

} // namespace zelkor::cycle
