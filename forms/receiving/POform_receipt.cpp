#include "forms/receiving/POform_receipt.h"

#include "services/master_lookups.h"

namespace zelkor {

POform_receipt::POform_receipt(QObject* parent)
    : WindowModel(QStringLiteral("POform_receipt"), QStringLiteral("Receipt Entry"), Kind::Document, parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    declare_field({"docno", "Receipt no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"receipt_date", "Receipt date", K::Date, 1});
    declare_field({"pono", "PO no", K::DropDown, 1});
    declare_field({"multiple_po", "Multiple PO", K::Check, 1});
    declare_field({"vendor_invoice_no", "Vendor invoice no", K::Text, 2});
    declare_field({"vendor_invoice_date", "Invoice date", K::Date, 2});
    declare_field({"currency", "Currency", K::DropDown, 3});
    declare_field({"exchange_rate", "Rate", K::DropDown, 3});
    declare_field({"payment_term", "Payment term", K::DropDown, 3});
    declare_field({"shipvia", "Ship via", K::DropDown, 4});
    declare_field({"fob_point", "FOB point", K::Text, 4});
    declare_field({"reference", "Reference", K::Text, 5});
    declare_field({"remark", "Remark", K::MultiLine, 5});
    declare_field({"void", "Void", K::Check, 6, {}, true});
    declare_field({"fully_billed", "Billed", K::Check, 6, {}, true});
    declare_field({"sub_total", "Sub total", K::Number, 7, {}, true});
    declare_field({"tax_total", "Tax total", K::Number, 7, {}, true});
    declare_field({"total", "Total", K::Number, 7, {}, true});

    Grid& lines = declare_grid("dbgrid1", {},
                               {"item no", "item code", "item type", "description", "vendor item code",
                                "quantity order", "quantity received", "quantity cancel", "uom", "unit cost",
                                "extended cost", "tax code", "tax amount", "net cost", "tax included", "account",
                                "account name", "warehouse", "location", "PO no", "PO item no", "landed item"});
    lines.set_column_kind(lines.required_column("tax included"), FieldKind::Check);
    lines.set_number_columns({"quantity order", "quantity received", "quantity cancel", "unit cost", "extended cost",
                              "tax amount", "net cost"});

    declare_pane("order", "PO Window", PaneArea::Right, PoWindow);
    declare_grid("dbgridpo", "PURCHASE ORDER DOCUMENT",
                 {"item no", "item code", "description", "quantity open", "uom", "unit cost"}, "order")
        .set_number_columns({"quantity open", "unit cost"});
    declare_pane("landed", "Landed", PaneArea::Bottom, Landed);
    declare_grid("dbgrid_landed", {}, {"item code", "description", "amount", "tax code", "tax amount", "account"},
                 "landed")
        .set_number_columns({"amount", "tax amount"});
    declare_pane("tax_detail", "Tax Detail Window", PaneArea::Bottom, to_int(CommandId::TaxDetails));
    declare_grid("grid_tax", {}, {"tax authority", "taxable amount", "tax rate", "tax amount"}, "tax_detail")
        .set_number_columns({"taxable amount", "tax rate", "tax amount"});
    declare_pane("landed_tax_detail", "Landed Tax Detail Window", PaneArea::Bottom, LandedTaxDetails);
    declare_pane("tax_summary", "Tax Summary Window", PaneArea::Bottom, to_int(CommandId::TaxSummary));
    declare_grid("grid_tax_summary", {}, {"tax authority", "taxable amount", "tax amount"}, "tax_summary")
        .set_number_columns({"taxable amount", "tax amount"});
    declare_pane("stock_by_location", "Stock by Location", PaneArea::Right, to_int(CommandId::StockByLocation));
    declare_pane("stock_by_item", "Stock by Item", PaneArea::Right, to_int(CommandId::StockByItem));
    declare_pane("vendor_history", "Vendor Purchase History", PaneArea::Bottom, VendorPurchaseHistory);
    declare_pane("item_history", "Item Purchase History", PaneArea::Bottom, ItemPurchaseHistory);
    declare_pane("address", "Address Window", PaneArea::Right, ShipToVendorAddress);

    declare_posting_record_commands();
    declare_command(CommandId::StockByLocation);
    declare_command(CommandId::StockByItem, "Stock by &Item");
    declare_command(CommandId::TaxDetails);
    declare_command({LandedTaxDetails, "&Landed Tax Details", menus::View, false, Right::None, Checkable::Yes});
    declare_command(CommandId::TaxSummary);
    declare_command(CommandId::Void, "&Void Receipt");
    declare_command(CommandId::RefreshRecord);
    declare_command({PoWindow, "&PO Window", menus::View, true, Right::None, Checkable::Yes});
    declare_command({VendorPurchaseHistory, "Vendor Purchase History", menus::View, false, Right::None, Checkable::Yes});
    declare_command({ItemPurchaseHistory, "Item Purchase History", menus::View, false, Right::None, Checkable::Yes});
    declare_command({Landed, "Landed", menus::View, false, Right::None, Checkable::Yes});
    declare_command({IcRecord, "&I/C Record", menus::View, false, Right::None});
    declare_command({PoRecord, "&P/O Record", menus::View, false, Right::None});
    declare_command({ApRecord, "&A/P Record", menus::View, false, Right::None});
    declare_command({LandedApRecord, "&Landed A/P Record", menus::View, false, Right::None});
    declare_command({BillRecord, "&Bill Record", menus::View, false, Right::None});
    declare_command({ReceiptStockItemOnly, "&Receipt stock item only", menus::Tools, false, Right::None, Checkable::Yes});
    declare_command({EnterBill, "Enter &Bill", menus::Tools, true, Right::Update});
    declare_command({ShipToVendorAddress, "&Ship-To/Vendor Address", menus::View, false, Right::None, Checkable::Yes});
    declare_command(CommandId::AccountMaster);
    declare_command(CommandId::ItemMaster);
    declare_command(CommandId::VendorMaster);
    declare_command(CommandId::StockOnHand, "On Hand");
}

void POform_receipt::on_open()
{
    load_choices("vendor_no", pick_lists::vendor_by_number(VendorFilter::ActiveOnly));
    load_choices("vendor_name", pick_lists::vendor_by_name());
    load_choices("payment_term", pick_lists::payment_term());
}

void POform_receipt::display_by_number() {}

void POform_receipt::reset_header_fields()
{
    set_field_date("receipt_date", today());
}

void POform_receipt::enter_new_mode()
{
    set_field("docno", NewDocumentNumber);
    set_dirty(false);
    set_mode(Mode::New);
}

void POform_receipt::load_order_lines() {}

Entry POform_receipt::check_field(const QString& name, const QString& previous)
{
    if (name == u"docno" && field(name) != previous)
        display_by_number();
    return Entry::Accepted;
}

} // namespace zelkor
