#include "windows/bill/POform_invoice.h"

#include "core/db/value_limits.h"
#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "windows/bill/invoice_columns.h"
#include "windows/bill/invoice_print.h"
#include "windows/document/history_panes.h"
#include "windows/document/pane_columns.h"

#include <array>

namespace zelkor {

namespace {

namespace col = bill_column;
namespace rc = bill_receipt_column;
namespace po = bill_order_column;
namespace history = bill_history_column;

const QStringList LineColumns{
    col::ItemNo,         col::ItemCode,         col::ItemType,          col::Complete,         col::Quantity,
    col::ReceiptNo,      col::QuantityReceived, col::QuantityOpen,      col::UomReceived,      col::AmountReceived,
    col::ReceiptItemNo,  col::PoNo,             col::PoItemNo,          col::PoUom,            col::UnitCost,
    col::UnitCostReceived, col::ExtendedCost,   col::TaxCode,           col::TaxAmount,        col::AllocatedTax,
    col::NetCost,        col::TaxIncluded,      col::Account,           col::AccountName,      col::Warehouse,
    col::Location,       col::QuantityCanceled, col::Description,       col::CreatedDate,      col::CreatedTime,
    col::ModifiedDate,   col::ModifiedTime,     col::LandedItem,        col::LandedItemNo,     col::TaxArrayNo,
    col::ComputerId,     col::TaxAmountReceived, col::AllocatedTaxReceived, col::Expense,      col::VendorItemCode,
    col::QuantityBilled, col::RateReceived,     col::IncludeTaxReceived};

/// What a line keeps of the receipt or order it came from, or the window computes: never typed.
const QStringList KeptColumns{
    col::ItemNo,           col::ReceiptNo,        col::QuantityReceived,     col::QuantityOpen,   col::AmountReceived,
    col::ReceiptItemNo,    col::PoNo,             col::PoItemNo,             col::PoUom,          col::UnitCostReceived,
    col::TaxAmount,        col::AllocatedTax,     col::NetCost,              col::AccountName,    col::QuantityCanceled,
    col::CreatedDate,      col::CreatedTime,      col::ModifiedDate,         col::ModifiedTime,   col::LandedItem,
    col::LandedItemNo,     col::TaxArrayNo,       col::ComputerId,           col::TaxAmountReceived,
    col::AllocatedTaxReceived, col::QuantityBilled, col::RateReceived,       col::IncludeTaxReceived};

const QStringList ReceiptColumns{rc::ReceiptNo,   rc::ItemNo,     rc::LandedItem,   rc::ItemCode,    rc::ItemType,
                                 rc::Description, rc::QuantityReceived, rc::QuantityBilled, rc::QuantityOpen,
                                 rc::Uom,         rc::UnitCost,   rc::ExtendedCost, rc::TaxCode,     rc::Account,
                                 rc::PoNo,        rc::PoItemNo};

const QStringList LandedColumns{rc::ReceiptNo,   rc::ItemNo,      rc::VendorNo,      rc::ItemCode,  rc::Description,
                                rc::QuantityReceived, rc::Uom,    rc::UnitCost,      rc::ExtendedCost, rc::TaxCode,
                                rc::TaxAmount,   rc::Account};

const QStringList OrderColumns{po::PoNo,        po::ItemNo,       po::ItemCode,    po::ItemType, po::Description,
                               po::QuantityOrder, po::QuantityBilled, po::QuantityOpen, po::Uom, po::UnitCost,
                               po::TaxCode,     po::TaxIncluded,  po::Account,     po::Closed};

const QStringList ReceiptHistoryColumns{history::ReceiptNo, history::ReceiptDate, history::ItemNo,
                                        history::ItemCode,  history::Description, history::QuantityReceived,
                                        history::QuantityOpen, history::Uom,      history::UnitCost,
                                        history::ExtendedCost, history::Billed};

const QStringList InvoiceHistoryColumns{history::BillNo,   history::BillDate,  history::InvoiceNo,
                                        history::ItemNo,   history::ItemCode,  history::Description,
                                        history::Quantity, history::Uom,       history::UnitCost,
                                        history::ExtendedCost, history::ReceiptNo, history::PoNo};

/// What a bill keeps of its vendor, date, currency and period once it has posted them, and the
/// prepayment an edit does not pay again.
const QStringList PostedFields{"vendor_no", "vendor_name", "invoice_date", "currency", "period", "fyear",
                               "prepayment", "prepayment_no"};

using C = POform_invoice::Command;
constexpr auto View = menus::View;
constexpr auto None = Right::None;
constexpr auto Toggle = Checkable::Yes;

/// The bill's commands after the posting documents' common ones and printing, in menu order.
constexpr std::array BillCommands{
    shared(CommandId::TaxDetails),
    shared(CommandId::TaxSummary),
    shared(CommandId::Void, "&Void Bill"),
    shared(CommandId::RefreshRecord),
    shared(CommandId::AccountMaster),
    shared(CommandId::ItemMaster),
    shared(CommandId::VendorMaster),
    shared(CommandId::StockOnHand, "Stock on Hand"),
    shared(CommandId::WindowHelp, "P/O Bill Entry Help"),
    shared(CommandId::SystemHelp),
    shared(CommandId::ShowTextBelowIcon),
    shared(CommandId::SaveFont),
    shared(CommandId::RestoreFont),
    shared(CommandId::Bold),
    shared(CommandId::Italic),
    shared(CommandId::Underline),
    shared(CommandId::AlignLeft),
    shared(CommandId::AlignCenter),
    CommandSpec{to_int(C::ReceiptWindow), "&Receipt Window", View, true, None, Toggle},
    CommandSpec{to_int(C::PoWindow), "&PO Window", View, true, None, Toggle},
    CommandSpec{to_int(C::ReceiptHistory), "RECEIPT History", View, false, None, Toggle},
    CommandSpec{to_int(C::IcRecord), "&I/C Record", View},
    CommandSpec{to_int(C::ApRecord), "&A/P Record", View},
    CommandSpec{to_int(C::PoRecord), "&P/O Record", View},
    CommandSpec{to_int(C::ReceiptRecord), "&Receipt Record", View},
    CommandSpec{to_int(C::InvoiceHistory), "&Invoice History", View, false, None, Toggle},
    CommandSpec{to_int(C::VendorAddress), "&Vendor Address", View, false, None, Toggle},
};

Grid& read_only_grid(Grid& grid)
{
    grid.set_read_only(true);
    return grid;
}

} // namespace

DocumentKind vendor_bills() { return {QStringLiteral("PO_invoice_header_table"), QStringLiteral("vi")}; }

POform_invoice::POform_invoice(QObject* parent)
    : BillingWindow(QStringLiteral("POform_invoice"), QStringLiteral("P/O Bill Entry"), vendor_bills(),
                       QStringLiteral("invoice_date"), col::Quantity, parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    set_line_unit(col::UomReceived, QStringLiteral("uom is invalid."));
    declare_field({"docno", "Bill no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"invoice_no", "Vendor invoice no", K::Text, 1});
    declare_field({"invoice_date", "Bill date", K::Date, 1});
    declare_field({"period", "Period", K::DropDown, 1});
    declare_field({"fyear", "Fiscal year", K::DropDown, 1});
    declare_field({"receipt_no", "Receipt no", K::DropDown, 2});
    declare_field({"multi_receipt", "Multiple receipts", K::Check, 2});
    declare_field({"po_no", "PO no", K::DropDown, 2});
    declare_field({"receipt_date", "Receipt date", K::Date, 2, {}, true});
    declare_field({"currency", "Currency", K::DropDown, 3});
    declare_field({"exchange_rate", "Rate", K::DropDown, 3});
    declare_field({"rate_date", "Rate date", K::Date, 3});
    declare_field({"reference", "Reference", K::Text, 3});
    declare_field({"payment_term", "Payment term", K::DropDown, 4});
    declare_field({"due_date", "Due date", K::Date, 4});
    declare_field({"payby", "Pay by", K::DropDown, 4});
    declare_field({"cash_accno", "Cash account", K::DropDown, 4});
    declare_field({"bank_code", "Bank", K::DropDown, 5});
    declare_field({"check_no", "Check no", K::Text, 5});
    declare_field({"check_date", "Check date", K::Date, 5});
    declare_field({"prepayment", "Prepayment", K::Number, 6});
    declare_field({"prepayment_no", "Prepayment no", K::Text, 6});
    declare_field({"discount_percent", "Discount %", K::Number, 6});
    declare_field({"discount_amount", "Discount", K::Number, 6});
    declare_field({"remark", "Remark", K::MultiLine, 7});
    declare_field({"void", "Void", K::Check, 8, {}, true});
    declare_field({"paid", "Paid", K::Check, 8, {}, true});
    declare_field({"subtotal", "Sub total", K::Number, 9, {}, true});
    declare_field({"excluded_tax", "Tax", K::Number, 9, {}, true});
    declare_field({"total", "Total", K::Number, 9, {}, true});
    declare_field({"net_amount", "Net", K::Number, 9, {}, true});

    m_lines = &declare_grid("dbgrid1", {}, LineColumns);
    for (const QString& kept : KeptColumns)
        m_lines->set_column_read_only(m_lines->required_column(kept), true);
    for (QLatin1String hidden : {col::CreatedDate, col::CreatedTime, col::ModifiedDate, col::ModifiedTime,
                                 col::TaxArrayNo, col::ComputerId})
        m_lines->set_column_hidden(m_lines->required_column(hidden), true);
    for (QLatin1String check : {col::Complete, col::TaxIncluded, col::LandedItem, col::Expense, col::IncludeTaxReceived})
        m_lines->set_column_kind(m_lines->required_column(check), FieldKind::Check);
    m_lines->set_number_columns({col::Quantity, col::QuantityReceived, col::QuantityOpen, col::AmountReceived,
                                 col::UnitCost, col::UnitCostReceived, col::ExtendedCost, col::TaxAmount,
                                 col::AllocatedTax, col::NetCost, col::QuantityCanceled, col::TaxAmountReceived,
                                 col::AllocatedTaxReceived, col::QuantityBilled, col::RateReceived});
    // Whole item codes and document numbers: a clerk matches lines to receipts and orders by them.
    for (QLatin1String code : {col::ItemCode, col::ReceiptNo, col::PoNo})
        m_lines->set_column_width(m_lines->required_column(code), 115);
    connect(m_lines, &Grid::currentRowChanged, this, [this] { current_line_changed(); });
    // A line of a receipt keeps the receipt's unit and place, a line of an order the order's unit.
    m_lines->set_cell_gate([this](int row, int column) {
        const QString& caption = m_lines->column(column).caption;
        const bool receipt = !m_lines->cell(row, col::ReceiptNo).trimmed().isEmpty();
        const bool order = !m_lines->cell(row, col::PoNo).trimmed().isEmpty();
        if (caption == col::UomReceived)
            return !receipt && !order;
        return !receipt || (caption != col::Warehouse && caption != col::Location);
    });

    declare_pane("receipt", "RECEIPT DOCUMENT", PaneArea::Bottom, to_int(Command::ReceiptWindow));
    m_receipt_lines = &read_only_grid(declare_grid("dbgridrc", "RECEIPT DOCUMENT", ReceiptColumns, "receipt"));
    m_receipt_lines->set_number_columns({rc::QuantityReceived, rc::QuantityBilled, rc::QuantityOpen, rc::UnitCost,
                                         rc::ExtendedCost});
    m_receipt_lines->set_column_kind(m_receipt_lines->required_column(rc::LandedItem), FieldKind::Check);
    m_landed_lines = &read_only_grid(declare_grid("dbgrid_landed", "Landed", LandedColumns, "receipt"));
    m_landed_lines->set_number_columns({rc::QuantityReceived, rc::UnitCost, rc::ExtendedCost, rc::TaxAmount});
    connect(m_landed_lines, &Grid::currentRowChanged, this, [this] { show_landed_taxes(); });
    const TaxPaneDeclaration landed_tax = tax_detail_pane();
    m_landed_taxes = &read_only_grid(declare_grid("grid_tax_landed", "Landed tax", landed_tax.columns, "receipt"));
    m_landed_taxes->set_number_columns({tax_detail_column::TaxableAmount, tax_detail_column::TaxRate,
                                        tax_detail_column::TaxAmount});

    declare_pane("order", "PURCHASE ORDER DOCUMENT", PaneArea::Bottom, to_int(Command::PoWindow));
    m_order_lines = &read_only_grid(declare_grid("dbgridpo", "PURCHASE ORDER DOCUMENT", OrderColumns, "order"));
    m_order_lines->set_number_columns({po::QuantityOrder, po::QuantityBilled, po::QuantityOpen, po::UnitCost});
    for (QLatin1String check : {po::TaxIncluded, po::Closed})
        m_order_lines->set_column_kind(m_order_lines->required_column(check), FieldKind::Check);
    m_order_history = &declare_grid("grid_pohistory", "P/O History", purchase_history_columns(), "order");
    set_up_purchase_history(*m_order_history);

    declare_tax_panes();
    declare_pane("receipt_history", "P/O Receipt History Window", PaneArea::Bottom, to_int(Command::ReceiptHistory));
    declare_field({"receipt_history_from", "From", K::Date, 0, "receipt_history", false, open});
    m_receipt_history = &read_only_grid(declare_grid("dbgrid_rchistory", {}, ReceiptHistoryColumns, "receipt_history"));
    m_receipt_history->set_number_columns({history::QuantityReceived, history::QuantityOpen, history::UnitCost,
                                           history::ExtendedCost});
    m_receipt_history->set_column_kind(m_receipt_history->required_column(history::Billed), FieldKind::Check);
    declare_pane("invoice_history", "Vendor Invoice History Window", PaneArea::Bottom, to_int(Command::InvoiceHistory));
    declare_field({"invoice_history_from", "From", K::Date, 0, "invoice_history", false, open});
    m_invoice_history = &read_only_grid(declare_grid("grid_vi_history", {}, InvoiceHistoryColumns, "invoice_history"));
    m_invoice_history->set_number_columns({history::Quantity, history::UnitCost, history::ExtendedCost});
    declare_pane("address", "Address Window", PaneArea::Right, to_int(Command::VendorAddress));
    declare_field({"vendor_address", "Vendor address", K::MultiLine, 0, "address", true});
    // The keys of what the bill posted: kept with the document, never shown.
    declare_pane("linked_documents", "Linked documents", PaneArea::Right);
    for (const char* key : {"GLFKEY", "icfkey", "apfkey"})
        declare_field({key, key, K::Text, 0, "linked_documents", true});

    declare_posting_record_commands();
    declare_print_layout(bill_document_layout());
    declare_commands(BillCommands);
    set_field("docno", NewDocumentNumber);
}

POform_invoice::~POform_invoice() = default;

std::expected<void, Error> POform_invoice::load_window_lists()
{
    if (auto periods = load_period_lists(); !periods)
        return periods;
    // Lines other than receipts' are charged to expense accounts; any postable account is
    // still accepted when typed.
    if (auto payments = load_payment_lists(); !payments)
        return payments;
    auto expense = Choices::load(db(), pick_lists::account(AccountList::Expense));
    auto items = expense ? Choices::load(db(), pick_lists::order_item()) : std::unexpected(expense.error());
    if (!items)
        return std::unexpected(items.error());
    m_item_choices = std::move(*items);
    m_lines->set_column_choices(m_lines->required_column(col::Account), std::move(*expense));
    return {};
}

// Modes -------------------------------------------------------------------------------------------

void POform_invoice::reset_header_fields()
{
    const QString vendor = field("vendor_no");
    DocumentWindow::reset_header_fields();
    for (Grid* pane : {m_receipt_lines, m_landed_lines, m_landed_taxes, m_order_lines})
        pane->clear();
    m_landed_tax.clear();
    m_vendor_tax_code.clear();
    m_vendor_shown.clear();
    m_stored_rate.reset();
    set_field_date("receipt_history_from", today().addMonths(-6));
    set_field_date("invoice_history_from", today().addMonths(-6));
    set_bill_defaults();
    set_field("vendor_no", vendor);
    if (vendor.isEmpty() || show_vendor() != Entry::Accepted)
        show_rates();
    set_posted_fields_editable(true);
    lock_payment_fields();
    m_lines->append_row();
    calculate_totals();
}

void POform_invoice::set_posted_fields_editable(bool editable)
{
    for (const QString& name : PostedFields)
        set_field_read_only(name, !editable);
}

bool POform_invoice::begin_new()
{
    set_field("vendor_no", QString());
    set_field_read_only("vendor_no", false);
    set_field_read_only("vendor_name", false);
    reset_header_fields();
    return true;
}

bool POform_invoice::begin_edit()
{
    const std::optional<Row> header = editable_bill_header();
    if (!header)
        return false;
    const Row& stored = *header;
    if (auto listed = load_source_lists(); !listed) {
        report(listed.error(), read_failed(field("docno").trimmed()));
        return false;
    }
    keep_shown_taxes();
    m_stored_rate = stored.decimal_or_null(u"exchange_rate");
    set_posted_fields_editable(false);
    return true;
}

// Header fields -----------------------------------------------------------------------------------

Entry POform_invoice::check_field(const QString& name, const QString& previous)
{
    // Choosing a receipt or an order again takes its lines again.
    const bool chooses = name == u"multi_receipt" || name == u"receipt_no" || name == u"po_no";
    if (field(name) == previous && !chooses)
        return Entry::Accepted;
    if (name == u"invoice_date")
        return date_chosen();
    if (name == u"receipt_no")
        return receipt_chosen();
    if (name == u"po_no")
        return order_chosen();
    if (name == u"multi_receipt")
        return multiple_receipts_chosen();
    if (auto payment = check_payment_field(name, previous))
        return *payment;
    if (name == u"receipt_history_from" || name == u"invoice_history_from") {
        if (date_typed(name) != Entry::Accepted)
            return Entry::Refused;
        refresh_histories();
        return Entry::Accepted;
    }
    if (name == u"currency") {
        // Lines taken from receipts and orders are billed in their documents' currency, which
        // is the one the bill had when they were taken.
        for (int row = 0; row < m_lines->row_count(); ++row) {
            const QString receipt = m_lines->cell(row, col::ReceiptNo).trimmed();
            const QString order = m_lines->cell(row, col::PoNo).trimmed();
            if (!receipt.isEmpty())
                return refuse_entry(QStringLiteral("Receipt ") + receipt + QStringLiteral(" is in ") + previous + u'.');
            if (!order.isEmpty())
                return refuse_entry(QStringLiteral("PO ") + order + QStringLiteral(" is in ") + previous + u'.');
        }
    }
    return PurchasingWindow::check_field(name, previous);
}

Entry POform_invoice::vendor_chosen()
{
    const Entry entry = show_vendor();
    if (entry != Entry::Accepted || mode() != Mode::New)
        return entry;
    drop_document_lines();
    return Entry::Accepted;
}

Entry POform_invoice::show_vendor()
{
    const QString vendor = field("vendor_no").trimmed();
    const Entry entry = PurchasingWindow::vendor_chosen();
    if (entry != Entry::Accepted || vendor.isEmpty() || !database())
        return entry;
    m_vendor_shown = vendor;
    term_chosen();
    if (auto listed = load_source_lists(); !listed) {
        report(listed.error(), QStringLiteral("Reading the documents of ") + vendor + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    refresh_histories();
    return Entry::Accepted;
}

Entry POform_invoice::date_chosen()
{
    const Entry entry = period_follows_date();
    if (entry == Entry::Accepted)
        term_chosen();
    return entry;
}

} // namespace zelkor
