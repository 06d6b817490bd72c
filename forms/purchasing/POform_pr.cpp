#include "forms/purchasing/POform_pr.h"

namespace zelkor {

POform_pr::POform_pr(QObject* parent)
    : WindowModel(QStringLiteral("POform_pr"), QStringLiteral("Purchase Requisition"), Kind::Document, parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    declare_field({"docno", "PR no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"order_date", "Date", K::Date, 1});
    declare_field({"requested_date", "Requested date", K::Date, 1});
    declare_field({"requested_user", "Requested by", K::DropDown, 1});
    declare_field({"shipto", "Ship to", K::DropDown, 2});
    declare_field({"currency", "Currency", K::DropDown, 2});
    declare_field({"exchange_rate", "Rate", K::Number, 2, {}, true});
    declare_field({"payment_term", "Payment term", K::DropDown, 2});
    declare_field({"purpose", "Purpose", K::Text, 3});
    declare_field({"contact_person", "Contact person", K::Text, 4});
    declare_field({"phone", "Phone", K::Text, 4});
    declare_field({"fax", "Fax", K::Text, 4});
    declare_field({"reference", "Reference", K::Text, 5});
    declare_field({"remark", "Remark", K::MultiLine, 5});
    declare_field({"printed", "Printed", K::Check, 6, {}, true});
    declare_field({"closed", "Closed", K::Check, 6, {}, true});
    declare_field({"sub_total", "Sub total", K::Number, 7, {}, true});
    declare_field({"tax_total", "Tax total", K::Number, 7, {}, true});
    declare_field({"total", "Total", K::Number, 7, {}, true});

    Grid& lines = declare_grid("dbgrid1", {},
                               {"item no", "item code", "item type", "description", "long description", "uom",
                                "quantity", "unit cost", "extended cost", "tax code", "tax amount", "net cost",
                                "tax included", "account", "account name", "warehouse", "location",
                                "preferred vendor", "vendor name", "closed", "user created", "user updated",
                                "created date", "created time", "last modified date", "last modified time",
                                "computer id"});
    for (const char* hidden : {"user created", "user updated", "created date", "created time", "last modified date",
                               "last modified time", "computer id"})
        lines.set_column_hidden(lines.required_column(hidden), true);
    lines.set_column_kind(lines.required_column("tax included"), FieldKind::Check);
    lines.set_column_kind(lines.required_column("closed"), FieldKind::Check);

    declare_pane("tax_detail", "Tax Detail Window", PaneArea::Bottom, to_int(CommandId::TaxDetails));
    declare_grid("grid_tax", {}, {"tax authority", "taxable amount", "tax rate", "tax amount"}, "tax_detail");
    declare_pane("tax_summary", "Tax Summary Window", PaneArea::Bottom, to_int(CommandId::TaxSummary));
    declare_grid("grid_tax_summary", {}, {"tax authority", "taxable amount", "tax amount"}, "tax_summary");
    declare_pane("stock_by_location", "Stock by Location", PaneArea::Right, to_int(CommandId::StockByLocation));
    declare_pane("stock_by_item", "Stock by Item", PaneArea::Right, to_int(CommandId::StockByItem));

    declare_command(CommandId::Exit);
    declare_command(CommandId::Save);
    declare_command(CommandId::Preview);
    declare_command(CommandId::New);
    declare_command(CommandId::CopyToNew);
    declare_command(CommandId::EditMode);
    declare_command(CommandId::InsertLine);
    declare_command(CommandId::DeleteLine);
    declare_command(CommandId::TaxDetails);
    declare_command(CommandId::TaxSummary);
    declare_command({IssuePo, "&Issue PO", menus::Tools, true, Right::Update});
    declare_command({ClosePr, "Cl&ose PR", menus::Edit, false, Right::Update});
    declare_command(CommandId::Delete, "Delete PR");
    declare_command({ReorderingStockItems, "Reordering Stock Items", menus::Tools, false, Right::Update});
    declare_command(CommandId::NextRecord);
    declare_command(CommandId::PreviousRecord);
    declare_command(CommandId::LastRecord);
    declare_command(CommandId::RefreshRecord);
    declare_command({PoRecord, "&PO Record", menus::View, false, Right::None});
    declare_command(CommandId::StockByLocation);
    declare_command(CommandId::StockByItem);
    declare_command(CommandId::AccountMaster);
    declare_command(CommandId::ItemMaster);
    declare_command(CommandId::VendorMaster);
    declare_command(CommandId::StockOnHand);
    declare_command(CommandId::WindowHelp, "Purchase Requisition Help");
    declare_command(CommandId::SystemHelp);
    declare_command(CommandId::ShowTextBelowIcon);
    for (int id = 401; id <= 408; ++id)
        declare_command(CommandId(id));
}

void POform_pr::display_by_number() {}

Entry POform_pr::check_field(const QString& name, const QString& previous)
{
    if (name == u"docno" && field(name) != previous)
        display_by_number();
    return Entry::Accepted;
}

} // namespace zelkor
