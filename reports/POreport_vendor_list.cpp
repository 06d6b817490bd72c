#include "reports/POreport_vendor_list.h"

namespace zelkor {

POreport_vendor_list::POreport_vendor_list(QObject* parent) : ReportWindow(QStringLiteral("POreport_vendor_list"), QStringLiteral("Vendor List"), parent)
{
    declare_result_grid({"vendor no", "vendor name", "description", "contact person", "phone1", "phone2", "mobile1", "mobile2", "fax1", "fax2", "web site", "email1", "email2", "address", "province", "city", "state", "country", "postal code", "credit limit", "payment term", "inactive", "tax code"}).set_number_columns({"credit limit"});
    declare_report_commands();
    declare_command({int(ReportCommand::Font), "&Font", menus::Format, false, Right::None});
}

} // namespace zelkor
