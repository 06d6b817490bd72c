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
    using C = TransactionInquiry::Columns;
    ReportQuery query;
    query.from = QStringLiteral("PR_transaction_table");
    query.lookups = TransactionInquiry::name_joins(Lines + "vendor_no", Lines + "accno", Lines + "itemcode")
                 + QStringLiteral(" LEFT JOIN Employee_table ON Employee_table.employee_id = PR_transaction_table.requested_user");
    query.columns = {{"document no", Lines + "docno"}, {"date", Lines + "order_date", K::Date}};
    append(query.columns, C::vendor(Lines + "vendor_no"));
    append(query.columns, C::item(Lines));
    append(query.columns, {{"currency", Lines + "currency"}, {"quantity", Lines + "quantity", K::Quantity}});
    append(query.columns, C::price(Lines, "extended cost", "net cost"));
    append(query.columns, C::account(Lines));
    query.columns.push_back({"requested user", "Employee_table.employee_name"});
    query.currency = Lines + "currency";
    query.void_flag = Lines + "void";
    query.default_order = C::default_order(Lines, false);
    query.sorts = C::sorts(Lines, Lines + "order_date", "quantity", Lines + "vendor_no");
    query.sorts.emplace_back("requested user", Lines + "requested_user");
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
