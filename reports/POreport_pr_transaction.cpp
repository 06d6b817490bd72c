#include "reports/POreport_pr_transaction.h"

namespace zelkor {

POreport_pr_transaction::POreport_pr_transaction(QObject* parent)
    : TransactionInquiry(QStringLiteral("POreport_pr_transaction"), QStringLiteral("P/R Transactions"), QStringLiteral(""),
                         QStringLiteral(""), parent)
{
    declare_field({"requested_user", "Requested by", FieldKind::DropDown, 4});
    declare_result_grid({"document no", "date", "vendor no", "vendor name", "item no", "item code", "item type", "description", "currency", "quantity", "unit cost", "tax included", "extended cost", "net cost", "tax code", "tax amount", "account", "account name", "requested user"}).set_number_columns({"quantity", "unit cost", "extended cost", "net cost", "tax amount"});
}

} // namespace zelkor
