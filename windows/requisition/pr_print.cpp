#include "windows/requisition/pr_print.h"

#include "windows/print/active_report.h"

#include <QStringList>

namespace zelkor {

QString pr_print_query()
{
    const QString header = QStringLiteral("PR_header_table.");
    const QString line = QStringLiteral("PR_transaction_table.");
    QStringList columns{header + "docno",
                        header + "order_date",
                        QStringLiteral("Vendor_table.vendor_name AS vendor_name"),
                        header + "requested_date",
                        header + "vendor_no",
                        header + "purpose",
                        header + "currency",
                        header + "rate_date",
                        QStringLiteral("Payment_term_table.term_name AS payment_term")};
    for (const char* name : {"requested_user", "shipvia", "remark", "shipto", "shipto", "contact_person", "phone", "fax",
                             "reference", "sub_total", "tax_total", "total"})
        columns << header + QLatin1String(name);
    for (const char* name : {"itemno", "itemcode", "itemtype", "description", "vendor_itemcode", "quantity", "uom",
                             "unitcost", "price_include_tax", "net_cost"})
        columns << line + QLatin1String(name);
    return QStringLiteral("SELECT ") + columns.join(QStringLiteral(", "))
           + QStringLiteral(" FROM ((PR_header_table INNER JOIN PR_transaction_table"
                            " ON PR_header_table.fkey = PR_transaction_table.fkey)"
                            " LEFT JOIN Vendor_table ON Vendor_table.vendor_no = PR_header_table.vendor_no)"
                            " LEFT JOIN Payment_term_table ON Payment_term_table.term_no = PR_header_table.payment_term"
                            " WHERE PR_header_table.company = 1 AND PR_header_table.docno = ?"
                            " ORDER BY PR_transaction_table.itemno");
}

QString pr_print_title(const QString& docno)
{
    return active_report_argument(QStringLiteral("Purchase Requisition"), docno);
}

DocumentLayout pr_document_layout()
{
    DocumentLayout layout = purchasing_document_layout(QStringLiteral("Purchase Requisition"),
                                                       QStringLiteral("PR_header_table"),
                                                       QStringLiteral("PR_transaction_table"));
    layout.facts.insert(layout.facts.begin(), {{QStringLiteral("Date"), QStringLiteral("order_date"), PrintedAs::Date},
                                               {QStringLiteral("Requested date"), QStringLiteral("requested_date"), PrintedAs::Date}});
    layout.facts.push_back({QStringLiteral("Requested by"), QStringLiteral("requested_user"), PrintedAs::Employee});
    layout.facts.push_back({QStringLiteral("Purpose"), QStringLiteral("purpose")});
    // A requisition is never refused for being void, so a void one says so on every page.
    layout.void_column = QStringLiteral("void");
    return layout;
}

} // namespace zelkor
