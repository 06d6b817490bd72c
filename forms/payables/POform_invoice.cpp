#include "forms/payables/POform_invoice.h"

#include "services/master_lookups.h"

namespace zelkor {

DocumentKind vendor_bills() { return {QStringLiteral("PO_invoice_header_table"), QStringLiteral("vi")}; }

POform_invoice::POform_invoice(QObject* parent)
    : DocumentWindow(QStringLiteral("POform_invoice"), QStringLiteral("P/O Bill Entry"), vendor_bills(), parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    declare_field({"docno", "Bill no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"invoice_no", "Vendor invoice no", K::Text, 1});
    declare_field({"invoice_date", "Bill date", K::Date, 1});
    declare_field({"receipt_no", "Receipt no", K::DropDown, 2});
    declare_field({"multiple_receipts", "Multiple receipts", K::Check, 2});
    declare_field({"pono", "PO no", K::DropDown, 2});
    declare_field({"receipt_date", "Receipt date", K::Date, 2, {}, true});
    declare_field({"currency", "Currency", K::DropDown, 3});
    declare_field({"exchange_rate", "Rate", K::DropDown, 3});
    declare_field({"rate_date", "Rate date", K::Date, 3, {}, true});
    declare_field({"payment_term", "Payment term", K::DropDown, 4});
    declare_field({"due_date", "Due date", K::Date, 4});
    declare_field({"payby", "Pay by", K::DropDown, 4});
    declare_field({"cash_accno", "Cash account", K::DropDown, 5});
    declare_field({"bank_code", "Bank", K::DropDown, 5});
    declare_field({"check_no", "Check no", K::Text, 5});
    declare_field({"check_date", "Check date", K::Date, 5});
    declare_field({"prepayment", "Prepayment", K::Number, 6});
    declare_field({"prepayment_no", "Prepayment no", K::Text, 6});
    declare_field({"discount_percent", "Discount %", K::Number, 6});
    declare_field({"discount_amount", "Discount", K::Number, 6});
    declare_field({"reference", "Reference", K::Text, 7});
    declare_field({"remark", "Remark", K::MultiLine, 7});
    declare_field({"period", "Period", K::Text, 8, {}, true});
    declare_field({"fyear", "Fiscal year", K::Text, 8, {}, true});
    declare_field({"void", "Void", K::Check, 8, {}, true});
    declare_field({"paid", "Paid", K::Check, 8, {}, true});
    declare_field({"sub_total", "Sub total", K::Number, 9, {}, true});
    declare_field({"tax_total", "Tax", K::Number, 9, {}, true});
    declare_field({"total", "Total", K::Number, 9, {}, true});
    declare_field({"net_total", "Net", K::Number, 9, {}, true});

    Grid& lines = declare_grid(
        "dbgrid1", {},
        {"item no", "item code", "item type", "complete", "quantity", "receipt no", "quantity received",
         "quantity open for bill", "uom received", "amount received", "receipt item no", "po no", "po item no",
         "PO uom", "unit cost", "unit cost received", "extended cost", "tax code", "tax amount", "allocated tax",
         "net cost", "tax included", "account", "account name", "warehouse", "location", "quantity canceled",
         "description", "created date", "created time", "last modified date", "last modified time", "landed item",
         "landed item no", "tax array no", "computer id", "tax amount received", "allocated tax received", "expense",
         "vendor item code", "quantity billed", "rate received", "include tax received"});
    for (const char* hidden : {"created date", "created time", "last modified date", "last modified time",
                               "tax array no", "computer id"})
        lines.set_column_hidden(lines.required_column(hidden), true);
    for (const char* check : {"complete", "tax included", "landed item", "include tax received"})
        lines.set_column_kind(lines.required_column(check), FieldKind::Check);
    lines.set_number_columns({"quantity", "quantity received", "quantity open for bill", "amount received", "unit cost",
                              "unit cost received", "extended cost", "tax amount", "allocated tax", "net cost",
                              "quantity canceled", "tax amount received", "allocated tax received", "quantity billed",
                              "rate received"});

    declare_pane("receipt", "RECEIPT DOCUMENT", PaneArea::Bottom, to_int(Command::ReceiptWindow));
    declare_grid("dbgridrc", "RECEIPT DOCUMENT",
                 {"receipt no", "item no", "item code", "description", "quantity open for bill", "uom", "unit cost"},
                 "receipt")
        .set_number_columns({"quantity open for bill", "unit cost"});
    declare_pane("order", "PURCHASE ORDER DOCUMENT", PaneArea::Bottom, to_int(Command::PoWindow));
    declare_grid("dbgridpo", "PURCHASE ORDER DOCUMENT",
                 {"po no", "item no", "item code", "description", "quantity order", "uom", "unit cost"}, "order")
        .set_number_columns({"quantity order", "unit cost"});
    declare_pane("tax_detail", "Tax Detail Window", PaneArea::Bottom, to_int(CommandId::TaxDetails));
    declare_grid("grid_tax", {},
                 {"tax authority", "taxable amount", "allocated tax", "recoverable tax", "expensed tax"}, "tax_detail")
        .set_number_columns({"taxable amount", "allocated tax", "recoverable tax", "expensed tax"});
    declare_pane("tax_summary", "Tax Summary Window", PaneArea::Bottom, to_int(CommandId::TaxSummary));
    declare_grid("grid_tax_summary", {}, {"tax authority", "taxable amount", "tax amount"}, "tax_summary")
        .set_number_columns({"taxable amount", "tax amount"});
    declare_pane("receipt_history", "P/O Receipt History Window", PaneArea::Bottom, to_int(Command::ReceiptHistory));
    declare_pane("invoice_history", "Vendor Invoice History Window", PaneArea::Bottom, to_int(Command::InvoiceHistory));
    declare_pane("address", "Address Window", PaneArea::Right, to_int(Command::VendorAddress));

    declare_posting_record_commands();
    declare_command(CommandId::TaxDetails);
    declare_command(CommandId::TaxSummary);
    declare_command(CommandId::Void, "&Void Bill");
    declare_command(CommandId::RefreshRecord);
    declare_command(CommandId::AccountMaster);
    declare_command(CommandId::ItemMaster);
    declare_command(CommandId::VendorMaster);
    declare_command(CommandId::StockOnHand, "Stock on Hand");
    declare_command(CommandId::WindowHelp, "P/O Bill Entry Help");
    declare_command(CommandId::SystemHelp);
    declare_command(CommandId::ShowTextBelowIcon);
    for (int id = 401; id <= 407; ++id)
        declare_command(CommandId(id));
    declare_command({to_int(Command::ReceiptWindow), "&Receipt Window", menus::View, true, Right::None, Checkable::Yes});
    declare_command({to_int(Command::PoWindow), "&PO Window", menus::View, true, Right::None, Checkable::Yes});
    declare_command({to_int(Command::ReceiptHistory), "RECEIPT History", menus::View, false, Right::None, Checkable::Yes});
    declare_command({to_int(Command::IcRecord), "&I/C Record", menus::View, false, Right::None});
    declare_command({to_int(Command::ApRecord), "&A/P Record", menus::View, false, Right::None});
    declare_command({to_int(Command::PoRecord), "&P/O Record", menus::View, false, Right::None});
    declare_command({to_int(Command::ReceiptRecord), "&Receipt Record", menus::View, false, Right::None});
    declare_command({to_int(Command::InvoiceHistory), "&Invoice History", menus::View, false, Right::None, Checkable::Yes});
    declare_command({to_int(Command::VendorAddress), "&Vendor Address", menus::View, false, Right::None, Checkable::Yes});
}

void POform_invoice::on_open()
{
    load_choices("vendor_no", pick_lists::vendor_by_number(VendorFilter::ActiveOnly));
    load_choices("vendor_name", pick_lists::vendor_by_name());
    load_choices("payment_term", pick_lists::payment_term());
}

Grid& POform_invoice::line_grid() const { return *grid(QStringLiteral("dbgrid1")); }

std::expected<bool, Error> POform_invoice::load_document(const QString& key)
{
    return show_stored_header(key);
}

void POform_invoice::reset_header_fields()
{
    // The hand-off has chosen the vendor already: only the date takes its default.
    set_field_date("invoice_date", today());
}

void POform_invoice::load_receipt_lines() {}

} // namespace zelkor
