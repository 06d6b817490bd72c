#include "forms/receiving/POform_landed.h"

namespace zelkor {

DocumentKind landed_bills() { return {QStringLiteral("PO_invoice_header_table"), QStringLiteral("ld")}; }

POform_landed::POform_landed(QObject* parent)
    : DocumentWindow(QStringLiteral("POform_landed"), QStringLiteral("Landed Cost Entry"), landed_bills(), parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    declare_field({"docno", "Bill no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"primary_vendor", "Goods vendor", K::DropDown, 1});
    declare_field({"invoice_no", "Invoice no", K::Text, 1});
    declare_field({"invoice_date", "Bill date", K::Date, 1});
    declare_field({"currency", "Currency", K::DropDown, 2});
    declare_field({"exchange_rate", "Rate", K::DropDown, 2});
    declare_field({"payment_term", "Payment term", K::DropDown, 2});
    declare_field({"reference", "Reference", K::Text, 3});
    declare_field({"remark", "Remark", K::MultiLine, 3});
    declare_field({"void", "Void", K::Check, 4, {}, true});
    declare_field({"total", "Total", K::Number, 4, {}, true});

    declare_grid("dbgrid1", {},
                 {"item no", "item code", "description", "amount", "tax code", "tax amount", "net amount",
                  "account", "account name", "receipt no", "receipt item no"})
        .set_number_columns({"amount", "tax amount", "net amount"});
    declare_pane("receipt", "Receipt", PaneArea::Right, to_int(Command::Receipt));
    declare_grid("dbgridrc", "RECEIPT DOCUMENT", {"receipt no", "item no", "item code", "description", "extended cost"},
                 "receipt")
        .set_number_columns({"extended cost"});
    declare_pane("tax_detail", "Tax Detail Window", PaneArea::Bottom, to_int(CommandId::TaxDetails));
    declare_pane("tax_summary", "Tax Summary Window", PaneArea::Bottom, to_int(CommandId::TaxSummary));

    declare_posting_record_commands();
    declare_command(CommandId::TaxDetails);
    declare_command(CommandId::TaxSummary);
    declare_command(CommandId::Void, "&Void Bill");
    declare_command(CommandId::RefreshRecord);
    declare_command({to_int(Command::Receipt), "Receipt", menus::View, true, Right::None, Checkable::Yes});
    declare_command({to_int(Command::IcRecord), "&I/C Record", menus::View, false, Right::None});
    declare_command({to_int(Command::ApRecord), "&A/P Record", menus::View, false, Right::None});
    declare_command({to_int(Command::PoRecord), "&P/O Record", menus::View, false, Right::None});
    declare_command({to_int(Command::ReceiptRecord), "&Receipt Record", menus::View, false, Right::None});
    declare_command(CommandId::AccountMaster);
    declare_command(CommandId::ItemMaster);
    declare_command(CommandId::VendorMaster);
}

Grid& POform_landed::line_grid() const { return *grid(QStringLiteral("dbgrid1")); }

std::expected<bool, Error> POform_landed::load_document(const QString& key)
{
    return show_stored_header(key);
}

} // namespace zelkor
