#include "forms/receiving/POform_receipt.h"

#include "services/master_lookups.h"

namespace zelkor {

DocumentKind receipts() { return {QStringLiteral("PO_receipt_header_table"), QStringLiteral("ro")}; }

POform_receipt::POform_receipt(QObject* parent)
    : DocumentWindow(QStringLiteral("POform_receipt"), QStringLiteral("Receipt Entry"), receipts(), parent)
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

    declare_pane("order", "PO Window", PaneArea::Right, to_int(Command::PoWindow));
    declare_grid("dbgridpo", "PURCHASE ORDER DOCUMENT",
                 {"item no", "item code", "description", "quantity open", "uom", "unit cost"}, "order")
        .set_number_columns({"quantity open", "unit cost"});
    declare_pane("landed", "Landed", PaneArea::Bottom, to_int(Command::Landed));
    declare_grid("dbgrid_landed", {}, {"item code", "description", "amount", "tax code", "tax amount", "account"},
                 "landed")
        .set_number_columns({"amount", "tax amount"});
    declare_pane("tax_detail", "Tax Detail Window", PaneArea::Bottom, to_int(CommandId::TaxDetails));
    declare_grid("grid_tax", {}, {"tax authority", "taxable amount", "tax rate", "tax amount"}, "tax_detail")
        .set_number_columns({"taxable amount", "tax rate", "tax amount"});
    declare_pane("landed_tax_detail", "Landed Tax Detail Window", PaneArea::Bottom, to_int(Command::LandedTaxDetails));
    declare_pane("tax_summary", "Tax Summary Window", PaneArea::Bottom, to_int(CommandId::TaxSummary));
    declare_grid("grid_tax_summary", {}, {"tax authority", "taxable amount", "tax amount"}, "tax_summary")
        .set_number_columns({"taxable amount", "tax amount"});
    declare_pane("stock_by_location", "Stock by Location", PaneArea::Right, to_int(CommandId::StockByLocation));
    declare_pane("stock_by_item", "Stock by Item", PaneArea::Right, to_int(CommandId::StockByItem));
    declare_pane("vendor_history", "Vendor Purchase History", PaneArea::Bottom, to_int(Command::VendorPurchaseHistory));
    declare_pane("item_history", "Item Purchase History", PaneArea::Bottom, to_int(Command::ItemPurchaseHistory));
    declare_pane("address", "Address Window", PaneArea::Right, to_int(Command::ShipToVendorAddress));

    declare_posting_record_commands();
    declare_command(CommandId::StockByLocation);
    declare_command(CommandId::StockByItem, "Stock by &Item");
    declare_command(CommandId::TaxDetails);
    declare_command({to_int(Command::LandedTaxDetails), "&Landed Tax Details", menus::View, false, Right::None, Checkable::Yes});
    declare_command(CommandId::TaxSummary);
    declare_command(CommandId::Void, "&Void Receipt");
    declare_command(CommandId::RefreshRecord);
    declare_command({to_int(Command::PoWindow), "&PO Window", menus::View, true, Right::None, Checkable::Yes});
    declare_command({to_int(Command::VendorPurchaseHistory), "Vendor Purchase History", menus::View, false, Right::None, Checkable::Yes});
    declare_command({to_int(Command::ItemPurchaseHistory), "Item Purchase History", menus::View, false, Right::None, Checkable::Yes});
    declare_command({to_int(Command::Landed), "Landed", menus::View, false, Right::None, Checkable::Yes});
    declare_command({to_int(Command::IcRecord), "&I/C Record", menus::View, false, Right::None});
    declare_command({to_int(Command::PoRecord), "&P/O Record", menus::View, false, Right::None});
    declare_command({to_int(Command::ApRecord), "&A/P Record", menus::View, false, Right::None});
    declare_command({to_int(Command::LandedApRecord), "&Landed A/P Record", menus::View, false, Right::None});
    declare_command({to_int(Command::BillRecord), "&Bill Record", menus::View, false, Right::None});
    declare_command({to_int(Command::ReceiptStockItemOnly), "&Receipt stock item only", menus::Tools, false, Right::None, Checkable::Yes});
    declare_command({to_int(Command::EnterBill), "Enter &Bill", menus::Tools, true, Right::Update});
    declare_command({to_int(Command::ShipToVendorAddress), "&Ship-To/Vendor Address", menus::View, false, Right::None, Checkable::Yes});
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

Grid& POform_receipt::line_grid() const { return *grid(QStringLiteral("dbgrid1")); }

std::expected<bool, Error> POform_receipt::load_document(const QString& key)
{
    return show_stored_header(key);
}

void POform_receipt::reset_header_fields()
{
    // The hand-off has chosen the vendor already: only the date takes its default.
    set_field_date("receipt_date", today());
}

void POform_receipt::load_order_lines() {}

} // namespace zelkor
