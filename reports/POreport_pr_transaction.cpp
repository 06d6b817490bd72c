#include "reports/POreport_pr_transaction.h"

namespace zelkor {

namespace {

const QString Lines = QStringLiteral("PR_transaction_table.");

TransactionInquiry::Tables requisition_tables()
{
    TransactionInquiry::Tables tables{
        QStringLiteral("PR_transaction_table"),
        Lines + QStringLiteral("order_date"),
        Lines + QStringLiteral("vendor_no"),
        {},
        {
            {QStringLiteral("Open"), QStringLiteral("PR_transaction_table.closed = FALSE")},
            {QStringLiteral("Closed"), QStringLiteral("PR_transaction_table.closed = TRUE")},
        },
    };
    tables.requested_user = true;
    return tables;
}

ReportQuery requisition_query()
{
    using K = ColumnKind;
    ReportQuery query;
    query.from = QStringLiteral("PR_transaction_table")
                 + TransactionInquiry::name_joins(Lines + "vendor_no", Lines + "accno", Lines + "itemcode")
                 + QStringLiteral(" LEFT JOIN Employee_table ON Employee_table.employee_id = PR_transaction_table.requested_user");
    query.columns = {
        {"document no", Lines + "docno"},
        {"date", Lines + "order_date", K::Date},
        {"vendor no", Lines + "vendor_no"},
        {"vendor name", "Vendor_table.vendor_name"},
        {"item no", Lines + "itemno"},
        {"item code", Lines + "itemcode"},
        {"item type", Lines + "itemtype"},
        {"description", Lines + "description"},
        {"currency", Lines + "currency"},
        {"quantity", Lines + "quantity", K::Quantity},
        {"unit cost", Lines + "unitcost", K::UnitCost, false, "Item_master_table.unitcost_decimals"},
        {"tax included", Lines + "price_include_tax", K::Check},
        {"extended cost", Lines + "extended_cost", K::Money, true},
        {"net cost", Lines + "extended_cost + CASE WHEN " + Lines + "price_include_tax THEN 0 ELSE " + Lines + "tax_amount END",
         K::Money, true},
        {"tax code", Lines + "tax_code"},
        {"tax amount", Lines + "tax_amount", K::Money, true},
        {"account", Lines + "accno"},
        {"account name", "Account_master_table.accname"},
        {"requested user", "Employee_table.employee_name"},
    };
    query.currency = Lines + "currency";
    query.void_flag = Lines + "void";
    query.default_order = {{Lines + "docno", false, false}, {Lines + "itemno", false, false}, {Lines + "fkey", false, false}};
    query.sorts = {{"document no", Lines + "docno"},          {"date", Lines + "order_date"},
                   {"item no", Lines + "itemno"},              {"quantity", Lines + "quantity"},
                   {"extended cost", Lines + "extended_cost"}, {"item code", Lines + "itemcode"},
                   {"requested user", Lines + "requested_user"}, {"vendor no", Lines + "vendor_no"}};
    return query;
}

} // namespace

POreport_pr_transaction::POreport_pr_transaction(QObject* parent)
    : TransactionInquiry(QStringLiteral("POreport_pr_transaction"), QStringLiteral("P/R Transactions"),
                         requisition_tables(), parent)
{
    declare_report(requisition_query(), {"P/R TRANSACTIONS REPORT", "PR_transaction", "Purchase Requisition"});
}

} // namespace zelkor
