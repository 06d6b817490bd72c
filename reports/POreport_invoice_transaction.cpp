#include "reports/POreport_invoice_transaction.h"

namespace zelkor {

namespace {

const QString Lines = QStringLiteral("PO_invoice_transaction_table.");
const QString Header = QStringLiteral("PO_invoice_header_table.");

TransactionInquiry::Tables bill_tables()
{
    const QString open = QStringLiteral(" AND PO_invoice_header_table.void = FALSE");
    TransactionInquiry::Tables tables{
        QStringLiteral("PO_invoice_transaction_table"),
        Header + QStringLiteral("invoice_date"),
        Header + QStringLiteral("vendor_no"),
        {{QStringLiteral("receipt_no"), QStringLiteral("receipt_no")}, {QStringLiteral("pono"), QStringLiteral("PONO")}},
        {
            {QStringLiteral("All include void"), QString()},
            {QStringLiteral("Not been paid"), QStringLiteral("PO_invoice_header_table.paid = FALSE") + open},
            {QStringLiteral("Partially paid"),
             QStringLiteral("PO_invoice_header_table.fully_paid = FALSE AND PO_invoice_header_table.paid = TRUE") + open},
            {QStringLiteral("Paid"), QStringLiteral("PO_invoice_header_table.fully_paid = TRUE") + open},
            {QStringLiteral("Void"), QStringLiteral("PO_invoice_header_table.void = TRUE")},
        },
    };
    // Void bills stay out unless the clerk asks for them.
    tables.unfiltered_status = QStringLiteral("PO_invoice_header_table.void = FALSE");
    return tables;
}

ReportQuery bill_query()
{
    using K = ColumnKind;
    ReportQuery query;
    query.from = QStringLiteral("PO_invoice_header_table INNER JOIN PO_invoice_transaction_table"
                                " ON PO_invoice_header_table.fkey = PO_invoice_transaction_table.fkey")
                 + TransactionInquiry::name_joins(Header + "vendor_no", Lines + "accno", Lines + "itemcode");
    query.columns = {
        {"document no", Lines + "docno"},
        {"AP document no", Header + "ap_docno"},
        {"invoice no", Lines + "invoice_no"},
        {"date", Header + "invoice_date", K::Date},
        {"vendor no", Header + "vendor_no"},
        {"vendor name", "Vendor_table.vendor_name"},
        {"item no", Lines + "itemno"},
        {"item code", Lines + "itemcode"},
        {"item type", Lines + "itemtype"},
        {"description", Lines + "Description"},
        {"currency", Lines + "currency"},
        {"quantity", Lines + "quantity", K::Quantity},
        {"quantity received", Lines + "quantity_received", K::Quantity},
        {"void", Header + "void", K::Check},
        {"unit cost", Lines + "unitcost", K::UnitCost, false, "Item_master_table.unitcost_decimals"},
        {"tax included", Lines + "price_include_tax", K::Check},
        {"amount", Lines + "extended_cost", K::Money, true},
        {"net amount", Lines + "extended_cost + CASE WHEN " + Lines + "price_include_tax THEN 0 ELSE " + Lines + "tax_amount END",
         K::Money, true},
        {"tax code", Lines + "tax_code"},
        {"tax amount", Lines + "tax_amount", K::Money, true},
        {"allocated tax", Lines + "tax_allocate", K::Money, true},
        {"account", Lines + "accno"},
        {"account name", "Account_master_table.accname"},
        {"receipt no", Lines + "receipt_no"},
        {"receipt item no", Lines + "receipt_itemno"},
        {"PO no", Lines + "PONO"},
        {"PO item no", Lines + "po_itemno"},
        {"landed item", Lines + "landed_item", K::Marker, false, {}, "* landed *"},
    };
    query.currency = Lines + "currency";
    query.void_flag = Header + "void";
    // A bill's lines carry its number: ordering by theirs keeps to one table's index.
    query.default_order = {{Lines + "docno", false, false}, {Lines + "landed_item", true, false},
                           {Lines + "itemno", false, false}, {Lines + "fkey", false, false}};
    query.sorts = {{"document no", Lines + "docno"},          {"date", Header + "invoice_date"},
                   {"item no", Lines + "itemno"},              {"quantity", Lines + "quantity"},
                   {"extended cost", Lines + "extended_cost"}, {"item code", Lines + "itemcode"},
                   {"vendor no", Header + "vendor_no"}};
    return query;
}

} // namespace

POreport_invoice_transaction::POreport_invoice_transaction(QObject* parent)
    : TransactionInquiry(QStringLiteral("POreport_invoice_transaction"), QStringLiteral("P/O Bill Transactions"),
                         bill_tables(), parent)
{
    declare_command({int(ReportCommand::ApInformation), "&A/P information", menus::View, false, Right::None});
    declare_report(bill_query(), {"P/O Bill Report", "PO_invoice_transaction", "P/O Bill Entry"});
}

bool POreport_invoice_transaction::run_command(int id)
{
    if (id == int(ReportCommand::ApInformation))
        return notify_for_row(QStringLiteral("A/P information"), QStringLiteral("AP document no"));
    return TransactionInquiry::run_command(id);
}

} // namespace zelkor
