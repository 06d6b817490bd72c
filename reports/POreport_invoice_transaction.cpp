#include "reports/POreport_invoice_transaction.h"

namespace zelkor {

POreport_invoice_transaction::POreport_invoice_transaction(QObject* parent)
    : TransactionInquiry(QStringLiteral("POreport_invoice_transaction"), QStringLiteral("P/O Bill Transactions"), QStringLiteral("receipt_no"),
                         QStringLiteral("Receipt no"), parent)
{
    declare_field({"pono", "PO no", FieldKind::Text, 0});
    declare_command({int(ReportCommand::ApInformation), "&A/P information", menus::View, false, Right::None});
    declare_result_grid({"document no", "AP document no", "invoice no", "date", "vendor no", "vendor name", "item no", "item code", "item type", "description", "currency", "quantity", "quantity received", "void", "unit cost", "tax included", "amount", "net amount", "tax code", "tax amount", "allocated tax", "account", "account name", "receipt no", "receipt item no", "PO no", "PO item no", "landed item"}).set_number_columns({"quantity", "quantity received", "unit cost", "amount", "net amount", "tax amount", "allocated tax"});
}

} // namespace zelkor
