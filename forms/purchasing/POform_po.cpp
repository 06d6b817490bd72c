#include "forms/purchasing/POform_po.h"

namespace zelkor {

POform_po::POform_po(QObject* parent)
    : WindowModel(QStringLiteral("POform_po"), QStringLiteral("Purchase Order"), Kind::Document, parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    declare_field({"docno", "PO no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"order_date", "Order date", K::Date, 1});
    declare_field({"expected_date", "Expected date", K::Date, 1});
    declare_field({"prno", "PR no", K::DropDown, 1});
    declare_field({"shipto", "Ship to", K::DropDown, 2});
    declare_field({"shipvia", "Ship via", K::DropDown, 2});
    declare_field({"currency", "Currency", K::DropDown, 2});
    declare_field({"exchange_rate", "Rate", K::DropDown, 2});
    declare_field({"payment_term", "Payment term", K::DropDown, 3});
    declare_field({"contact_person", "Contact person", K::Text, 3});
    declare_field({"reference", "Reference", K::Text, 4});
    declare_field({"remark", "Remark", K::MultiLine, 4});
    declare_field({"future_po", "Future P/O", K::Check, 5});
    declare_field({"void", "Void", K::Check, 5, {}, true});
    declare_field({"fully_received", "Fully received", K::Check, 5, {}, true});
    declare_field({"fully_billed", "Fully billed", K::Check, 5, {}, true});
    declare_field({"sub_total", "Sub total", K::Number, 6, {}, true});
    declare_field({"tax_total", "Tax total", K::Number, 6, {}, true});
    declare_field({"total", "Total", K::Number, 6, {}, true});
    // Carries a requisition's key only while its lines are taken over.
    declare_field({"requisition_key", "Requisition key", K::Text, 7, {}, true});

    Grid& lines = declare_grid("dbgrid1", {},
                               {"item no", "item code", "item type", "description", "vendor item code", "uom",
                                "quantity order", "quantity received", "quantity open", "quantity cancel",
                                "unit cost", "extended cost", "tax code", "tax amount", "net cost", "tax included",
                                "account", "account name", "warehouse", "location", "PR no", "PR item no",
                                "created date", "created time", "last modified date", "last modified time"});
    for (const char* hidden : {"created date", "created time", "last modified date", "last modified time"})
        lines.set_column_hidden(lines.required_column(hidden), true);
    lines.set_column_kind(lines.required_column("tax included"), FieldKind::Check);

    declare_pane("requisition", "PR Window", PaneArea::Right, PrWindow);
    declare_pane("address", "Address Window", PaneArea::Right, ShipToVendorAddress);
    declare_pane("tax_detail", "Tax Detail Window", PaneArea::Bottom, to_int(CommandId::TaxDetails));
    declare_grid("grid_tax", {}, {"tax authority", "taxable amount", "tax rate", "tax amount"}, "tax_detail");
    declare_pane("tax_summary", "Tax Summary Window", PaneArea::Bottom, to_int(CommandId::TaxSummary));
    declare_grid("grid_tax_summary", {}, {"tax authority", "taxable amount", "tax amount"}, "tax_summary");
    declare_pane("stock_by_location", "Stock by Location", PaneArea::Right, to_int(CommandId::StockByLocation));
    declare_pane("stock_by_item", "Stock by Item", PaneArea::Right, to_int(CommandId::StockByItem));
    declare_pane("vendor_history", "Vendor Purchase History", PaneArea::Bottom, VendorPurchaseHistory);
    declare_pane("item_history", "Item Purchase History", PaneArea::Bottom, ItemPurchaseHistory);

    declare_command(CommandId::Exit);
    declare_command(CommandId::Save);
    declare_command({SaveAsTemplate, "Save As &Template", menus::File, false, Right::Update});
    declare_command(CommandId::Preview);
    declare_command(CommandId::New);
    declare_command(CommandId::CopyToNew);
    declare_command(CommandId::EditMode);
    declare_command(CommandId::InsertLine);
    declare_command(CommandId::DeleteLine);
    declare_command(CommandId::TaxDetails);
    declare_command(CommandId::TaxSummary);
    declare_command({ReceivingGoods, "&Receiving Goods", menus::Tools, true, Right::Update});
    declare_command({EnterBill, "&Enter Bill", menus::Tools, true, Right::Update});
    declare_command({ClosePo, "&Close PO", menus::Edit, false, Right::Update});
    declare_command(CommandId::Void, "&Void PO");
    declare_command({ReorderingStockItems, "Reordering Stock Items", menus::Tools, false, Right::Update});
    declare_command({ActivateThisFuturePo, "&Activate this future P/O", menus::Tools, false, Right::Update});
    declare_command({ActivateAllFuturePos, "Activate all &Future P/Os", menus::Tools, false, Right::Update});
    declare_command({NewTemplate, "&New Template", menus::Edit, false, Right::Update, Checkable::Yes});
    declare_command({CopyToNewTemplate, "&Copy To New Template", menus::Edit, false, Right::Update});
    declare_command({EditTemplate, "&Edit Template", menus::Edit, false, Right::Update, Checkable::Yes});
    declare_command({DeleteTemplate, "&Delete Template", menus::Edit, false, Right::Update});
    declare_command(CommandId::NextRecord);
    declare_command(CommandId::PreviousRecord);
    declare_command(CommandId::LastRecord);
    declare_command(CommandId::RefreshRecord);
    declare_command({PrRecord, "&PR Record", menus::View, false, Right::None});
    declare_command({ReceiptRecord, "&Receipt Record", menus::View, false, Right::None});
    declare_command({BillRecord, "&Bill Record", menus::View, false, Right::None});
    declare_command({PrWindow, "&PR Window", menus::View, false, Right::None, Checkable::Yes});
    declare_command({ShipToVendorAddress, "&Ship-To/Vendor Address", menus::View, false, Right::None, Checkable::Yes});
    declare_command(CommandId::StockByLocation);
    declare_command(CommandId::StockByItem, "Stock by &Item");
    declare_command({VendorPurchaseHistory, "Vendor Purchase History", menus::View, false, Right::None, Checkable::Yes});
    declare_command({ItemPurchaseHistory, "Item Purchase History", menus::View, false, Right::None, Checkable::Yes});
    declare_command(CommandId::AccountMaster);
    declare_command(CommandId::ItemMaster);
    declare_command(CommandId::VendorMaster);
    declare_command(CommandId::StockOnHand);
    declare_command(CommandId::WindowHelp, "Purchase Order Help");
    declare_command(CommandId::SystemHelp);
    declare_command(CommandId::ShowTextBelowIcon);
    for (int id = 401; id <= 408; ++id)
        declare_command(CommandId(id));
}

void POform_po::display_by_number() {}

void POform_po::reset_header_fields()
{
    set_field_date("order_date", today());
}

void POform_po::enter_new_mode()
{
    set_field("docno", QStringLiteral("** New **"));
    set_dirty(false);
    set_mode(Mode::New);
}

void POform_po::fill_lines_from_requisition() {}

void POform_po::calculate_totals() {}

Entry POform_po::check_field(const QString& name, const QString& previous)
{
    if (name == u"docno" && field(name) != previous)
        display_by_number();
    return Entry::Accepted;
}

} // namespace zelkor
