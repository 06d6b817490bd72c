#include "reports/report_window.h"

namespace zelkor {

ReportWindow::ReportWindow(QString class_name, QString caption, QObject* parent)
    : WindowModel(std::move(class_name), std::move(caption), Kind::Other, parent)
{
}

void ReportWindow::declare_report_commands()
{
    declare_command({int(ReportCommand::PageSetup), "Page Set&up", menus::File, false, Right::Print});
    declare_command({int(ReportCommand::PrintColumn), "Print &Column", menus::File, false, Right::None});
    declare_command(CommandId::Preview);
    declare_command(CommandId::Exit);
    declare_command({int(ReportCommand::MoreSearchCriteria), "&More Search Criteria", menus::Format, false,
                     Right::None, Checkable::Yes});
    declare_command({int(ReportCommand::Sort), "&Sort", menus::Format, false, Right::None});
    declare_command({int(ReportCommand::Clear), "&Clear", menus::Format, true, Right::None});
    declare_command({int(ReportCommand::Freeze), "Free&ze", menus::Format, false, Right::None, Checkable::Yes});
    // "O&ption": Alt+O already opens "F&ormat".
    declare_command({209, "&Show Text below Icon", "O&ption", false, Right::None, Checkable::Yes});
    declare_command({int(ReportCommand::Find), "&Find", "&Run", true, Right::None});
    for (int id = 401; id <= 408; ++id)
        declare_command(CommandId(id));
}

Grid& ReportWindow::declare_result_grid(const QStringList& columns)
{
    Grid& grid = declare_grid("dbgrid1", {}, columns);
    grid.set_read_only(true);
    return grid;
}

void ReportWindow::clear_filters()
{
    for (const Field& field : fields())
        set_field(field.name(), QString());
}

void ReportWindow::run_inquiry() { ++m_inquiries_run; }

bool ReportWindow::run_command(int id)
{
    switch (ReportCommand(id)) {
    case ReportCommand::Find: run_inquiry(); return true;
    case ReportCommand::Clear: clear_filters(); return true;
    default: break;
    }
    return WindowModel::run_command(id);
}

TransactionInquiry::TransactionInquiry(QString class_name, QString caption, const QString& shortcut_field,
                                       const QString& shortcut_caption, QObject* parent)
    : ReportWindow(std::move(class_name), std::move(caption), parent)
{
    using K = FieldKind;
    if (!shortcut_field.isEmpty())
        declare_field({shortcut_field, shortcut_caption, K::Text, 0});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"group_name", "Vendor group", K::Text, 1});
    declare_field({"item_from", "Item from", K::DropDown, 1});
    declare_field({"item_to", "Item to", K::DropDown, 1});
    declare_field({"category", "Category", K::DropDown, 2});
    declare_field({"item_group", "Item group", K::DropDown, 2});
    declare_field({"description", "Description contains", K::Text, 2});
    declare_field({"date_range", "Date", K::Check, 3});
    declare_field({"from_date", "From", K::Date, 3});
    declare_field({"to_date", "To", K::Date, 3});
    declare_field({"status", "Status", K::DropDown, 3});
    declare_report_commands();
    declare_command({int(ReportCommand::Origin), "Origin", menus::View, true, Right::None});
}

void TransactionInquiry::show_pending()
{
    set_field("date_range", QStringLiteral("1"));
    set_field_date("from_date", QDate(2000, 1, 1));
    set_field_date("to_date", today());
    set_field("status", QStringLiteral("Open"));
    run_inquiry();
}

} // namespace zelkor
