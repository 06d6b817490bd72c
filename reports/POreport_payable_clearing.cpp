#include "reports/POreport_payable_clearing.h"

namespace zelkor {

POreport_payable_clearing::POreport_payable_clearing(QObject* parent) : ReportWindow(QStringLiteral("POreport_payable_clearing"), QStringLiteral("Payable Clearing Report"), parent)
{
    declare_field({"accno", "Account", FieldKind::DropDown, 0});
    declare_field({"fyear", "Fiscal year", FieldKind::DropDown, 0});
    declare_field({"period", "Period", FieldKind::DropDown, 0});
    declare_result_grid({"account no", "document no", "date", "GL document no", "vendor no", "vendor name", "debit", "credit", "source", "fiscal year", "period"}).set_number_columns({"debit", "credit"});
    declare_report_commands();
}

} // namespace zelkor
