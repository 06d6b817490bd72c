#include "reports/POreport_purchase_tax.h"

namespace zelkor {

POreport_purchase_tax::POreport_purchase_tax(QObject* parent) : ReportWindow(QStringLiteral("POreport_purchase_tax"), QStringLiteral("Purchase Tax Report"), parent)
{
    declare_field({"currency", "Currency", FieldKind::DropDown, 0});
    declare_field({"fyear", "Fiscal year", FieldKind::DropDown, 0});
    declare_field({"period", "Period", FieldKind::DropDown, 0});
    declare_field({"date_range", "Date", FieldKind::Check, 1});
    declare_field({"from_date", "From", FieldKind::Date, 1});
    declare_field({"to_date", "To", FieldKind::Date, 1});
    declare_field({"tax_authority", "Tax authority", FieldKind::DropDown, 2});
    declare_result_grid({"document no", "date", "item no", "tax authority", "taxable amount", "tax rate", "tax amount", "recoverable tax", "allocated tax", "expensed tax"}).set_number_columns({"taxable amount", "tax rate", "tax amount", "recoverable tax", "allocated tax", "expensed tax"});
    declare_report_commands();
    declare_command({int(ReportCommand::ByDocument), "By &Document", "&Run", false, Right::None});
    declare_command({int(ReportCommand::ByTaxAuthority), "By Tax &Authority", "&Run", false, Right::None});
}

} // namespace zelkor
