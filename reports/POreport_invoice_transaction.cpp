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
    using C = TransactionInquiry::Columns;
    ReportQuery query;
    query.from = QStringLiteral("PO_invoice_header_table INNER JOIN PO_invoice_transaction_table"
                                " ON PO_invoice_header_table.fkey = PO_invoice_transaction_table.fkey");
    query.lookups = TransactionInquiry::name_joins(Header + "vendor_no", Lines + "accno", Lines + "itemcode");
    query.columns = {{"document no", Lines + "docno"},
                     {"AP document no", Header + "ap_docno"},
                     {"invoice no", Lines + "invoice_no"},
                     {"date", Header + "invoice_date", K::Date}};
    append(query.columns, C::vendor(Header + "vendor_no"));
    append(query.columns, C::item(Lines, "Description"));
    append(query.columns, {{"currency", Lines + "currency"},
                           {"quantity", Lines + "quantity", K::Quantity},
                           {"quantity received", Lines + "quantity_received", K::Quantity},
                           {"void", Header + "void", K::Check}});
    append(query.columns, C::price(Lines, "amount", "net amount"));
    query.columns.push_back({"allocated tax", Lines + "tax_allocate", K::Money, true});
    append(query.columns, C::account(Lines));
    append(query.columns, {{"receipt no", Lines + "receipt_no"},
                           {"receipt item no", Lines + "receipt_itemno"},
                           {"PO no", Lines + "PONO"},
                           {"PO item no", Lines + "po_itemno"},
                           {"landed item", Lines + "landed_item", K::Marker, false, {}, "* landed *"}});
    query.currency = Lines + "currency";
    query.void_flag = Header + "void";
    query.document_key = Header + "fkey";
    // A bill's lines carry its number: ordering by theirs keeps to one table's index.
    query.default_order = C::default_order(Lines, true);
    query.sorts = C::sorts(Lines, Header + "invoice_date", "quantity", Header + "vendor_no");
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
