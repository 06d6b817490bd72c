#include "reports/POreport_vendor_list.h"

namespace zelkor {

namespace {

const QString Vendor = QStringLiteral("Vendor_table.");

ReportQuery vendor_query()
{
    using K = ColumnKind;
    ReportQuery query;
    query.from = QStringLiteral("Vendor_table");
    query.columns = {
        {"vendor no", Vendor + "vendor_no"},
        {"vendor name", Vendor + "vendor_name"},
        {"description", Vendor + "Description"},
        {"contact person", Vendor + "contact_person"},
        {"phone1", Vendor + "phone1"},
        {"phone2", Vendor + "phone2"},
        {"mobile1", Vendor + "mobile1"},
        {"mobile2", Vendor + "mobile2"},
        {"fax1", Vendor + "fax1"},
        {"fax2", Vendor + "fax2"},
        {"web site", Vendor + "website"},
        {"email1", Vendor + "email1"},
        {"email2", Vendor + "email2"},
        {"address", Vendor + "Address"},
        {"province", Vendor + "province"},
        {"city", Vendor + "city"},
        {"state", Vendor + "State"},
        {"country", Vendor + "country"},
        {"postal code", Vendor + "postal_code"},
        {"credit limit", Vendor + "credit_limit", K::WholeAmount},
        // The list leaves the payment term and the tax code empty.
        {"payment term", "''"},
        {"inactive", "NOT " + Vendor + "active", K::Check},
        {"tax code", "''"},
    };
    query.totals_caption = QStringLiteral("total");
    query.default_order = {{Vendor + "vendor_no", false, false}};
    query.sorts = {{"vendor no", Vendor + "vendor_no"},   {"vendor name", Vendor + "vendor_name"},
                   {"contact person", Vendor + "contact_person"}, {"city", Vendor + "city"},
                   {"state", Vendor + "State"},          {"country", Vendor + "country"},
                   {"postal code", Vendor + "postal_code"}, {"credit limit", Vendor + "credit_limit"}};
    return query;
}

} // namespace

POreport_vendor_list::POreport_vendor_list(QObject* parent)
    : ReportWindow(QStringLiteral("POreport_vendor_list"), QStringLiteral("Vendor List"), parent)
{
    const ReportPanel panel{false, true, false};
    declare_report_commands(panel);
    declare_command({int(ReportCommand::Font), "&Font", menus::Format, false, Right::None});
    declare_report(vendor_query(), {"VENDOR LIST", "customer_list"}, panel);
    // Numbers and addresses are longer than their captions.
    for (const auto& [caption, width] : {std::pair{"phone1", 110}, {"phone2", 110}, {"mobile1", 110}, {"mobile2", 110},
                                         {"fax1", 110}, {"fax2", 110}, {"web site", 180}, {"email1", 180}, {"email2", 180},
                                         {"address", 220}})
        results().set_column_width(results().required_column(QString::fromLatin1(caption)), width);
}

std::expected<ReportSelection, QString> POreport_vendor_list::selection()
{
    ReportSelection selection;
    selection.order = chosen_order();
    return selection;
}

bool POreport_vendor_list::run_command(int id)
{
    if (id == int(ReportCommand::Font)) {
        layouts().set_fontbar(!layouts().fontbar());
        return true;
    }
    return ReportWindow::run_command(id);
}

bool POreport_vendor_list::on_row_activated(Grid& grid, int row)
{
    if (&grid != &results() || grid.cell(row, QStringLiteral("vendor no")).trimmed().isEmpty())
        return false;
    notify(QStringLiteral("Vendor Master"), grid.cell(row, QStringLiteral("vendor no")).trimmed(), QString());
    return true;
}

} // namespace zelkor
