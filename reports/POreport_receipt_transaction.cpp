#include "reports/POreport_receipt_transaction.h"

namespace zelkor {

namespace {

const QString Lines = QStringLiteral("PO_receipt_transaction_table.");
const QString Header = QStringLiteral("PO_receipt_header_table.");

TransactionInquiry::Tables receipt_tables()
{
    // Bills keep billed and fully_billed on the receipt; the receipt is "invoiced" by them.
    const QString open = QStringLiteral(" AND PO_receipt_header_table.void = FALSE");
    return {
        QStringLiteral("PO_receipt_transaction_table"),
        Header + QStringLiteral("receipt_date"),
        Header + QStringLiteral("vendor_no"),
        {{QStringLiteral("pono"), QStringLiteral("PONO")}},
        {
            {QStringLiteral("Not been invoiced"), QStringLiteral("PO_receipt_header_table.billed = FALSE") + open},
            {QStringLiteral("Partially invoiced"),
             QStringLiteral("PO_receipt_header_table.fully_billed = FALSE AND PO_receipt_header_table.billed = TRUE") + open},
            {QStringLiteral("Invoiced"), QStringLiteral("PO_receipt_header_table.fully_billed = TRUE") + open},
            {QStringLiteral("Void"), QStringLiteral("PO_receipt_header_table.void = TRUE")},
        },
    };
}

ReportQuery receipt_query()
{
    using K = ColumnKind;
    ReportQuery query;
    query.from = QStringLiteral("PO_receipt_header_table INNER JOIN PO_receipt_transaction_table"
                                " ON PO_receipt_header_table.fkey = PO_receipt_transaction_table.fkey")
                 + TransactionInquiry::name_joins(Header + "vendor_no", Lines + "accno", Lines + "itemcode");
    query.columns = {
        {"document no", Lines + "docno"},
        {"date", Header + "receipt_date", K::Date},
        {"vendor no", Header + "vendor_no"},
        {"vendor name", "Vendor_table.vendor_name"},
        {"item no", Lines + "itemno"},
        {"item code", Lines + "itemcode"},
        {"item type", Lines + "itemtype"},
        {"description", Lines + "description"},
        {"currency", Lines + "currency"},
        {"quantity received", Lines + "quantity_received", K::Quantity},
        {"quantity ordered", Lines + "po_quantity_order", K::Quantity},
        {"quantity cancel", Lines + "quantity_cancel", K::Quantity},
        {"landed item", Lines + "landed_item", K::Marker, false, {}, "* landed *"},
        {"unit cost", Lines + "unitcost", K::UnitCost, false, "Item_master_table.unitcost_decimals"},
        {"tax included", Lines + "price_include_tax", K::Check},
        {"extended cost", Lines + "extended_cost", K::Money, true},
        {"net cost", Lines + "extended_cost + CASE WHEN " + Lines + "price_include_tax THEN 0 ELSE " + Lines + "tax_amount END",
         K::Money, true},
        {"tax code", Lines + "tax_code"},
        {"tax amount", Lines + "tax_amount", K::Money, true},
        {"account", Lines + "accno"},
        {"account name", "Account_master_table.accname"},
        {"PO no", Lines + "PONO"},
        {"PO item no", Lines + "po_itemno"},
    };
    query.currency = Lines + "currency";
    query.void_flag = Header + "void";
    query.default_order = {{Lines + "docno", false, false}, {Lines + "landed_item", true, false},
                           {Lines + "itemno", false, false}, {Lines + "fkey", false, false}};
    query.sorts = {{"document no", Lines + "docno"},          {"date", Header + "receipt_date"},
                   {"item no", Lines + "itemno"},              {"quantity", Lines + "quantity_received"},
                   {"extended cost", Lines + "extended_cost"}, {"item code", Lines + "itemcode"},
                   {"vendor no", Header + "vendor_no"}};
    return query;
}

} // namespace

POreport_receipt_transaction::POreport_receipt_transaction(QObject* parent)
    : TransactionInquiry(QStringLiteral("POreport_receipt_transaction"), QStringLiteral("Receipt Transactions"),
                         receipt_tables(), parent)
{
    declare_report(receipt_query(), {"Receipt Report", "PO_receipt_transaction", "Receipt Entry"});
}

} // namespace zelkor
