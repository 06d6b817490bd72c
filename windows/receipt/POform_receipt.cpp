#include "windows/receipt/POform_receipt.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "payables/payables.h"
#include "windows/document/history_panes.h"
#include "windows/document/pane_columns.h"
#include "windows/receipt/receipt_columns.h"
#include "windows/receipt/receipt_print.h"

#include <array>

namespace zelkor {

namespace {

namespace col = receipt_column;
namespace order_col = receipt_order_column;
namespace landed = receipt_landed_column;

const QStringList LineColumns{col::ItemNo,          col::ItemCode,     col::ItemType,        col::Description,
                              col::VendorItemCode,  col::Warehouse,    col::Location,        col::QuantityOrdered,
                              col::QuantityOpen,    col::QuantityReceived, col::QuantityCanceled, col::Uom,
                              col::UnitCost,        col::ExtendedCost, col::NetCost,         col::TaxCode,
                              col::TaxIncluded,     col::TaxAmount,    col::AllocatedTax,    col::Account,
                              col::PoNo,            col::PoItemNo,     col::PoUom,           col::UomOpen,
                              col::PoWarehouse,     col::PoLocation};

/// Columns the receipt takes from its order or computes: never typed.
const QStringList KeptColumns{col::ItemNo,    col::QuantityOrdered, col::QuantityOpen, col::NetCost,
                              col::TaxAmount, col::AllocatedTax,    col::PoNo,         col::PoItemNo,
                              col::PoUom,     col::UomOpen,         col::PoWarehouse,  col::PoLocation};

const QStringList OrderColumns{order_col::PoNo,        order_col::PoItemNo,    order_col::ItemNo,
                               order_col::ItemCode,    order_col::ItemType,    order_col::Description,
                               order_col::VendorItemCode, order_col::QuantityOrdered, order_col::QuantityOpen,
                               order_col::PoUom,       order_col::UomOpen,     order_col::UnitCost,
                               order_col::TaxIncluded, order_col::TaxCode,     order_col::Account,
                               order_col::AccountName, order_col::Warehouse,   order_col::Location,
                               order_col::PoWarehouse, order_col::PoLocation,  order_col::Cancelled,
                               order_col::Closed};

const QStringList LandedColumns{landed::VendorNo, landed::BillNo,       landed::BillDate, landed::ItemCode,
                                landed::Description, landed::Quantity,  landed::UnitCost, landed::ExtendedCost,
                                landed::TaxCode,  landed::TaxAmount,    landed::Expense,  landed::Account,
                                landed::ItemNo,   landed::PayableKey};

const QStringList StockColumns{stock_column::ItemCode, stock_column::Warehouse,     stock_column::Location,
                               stock_column::Quantity, stock_column::OrderQuantity, stock_column::PoQuantity};

/// What a receipt keeps of its vendor, date, currency and period once it has posted them.
const QStringList PostedFields{"vendor_no", "vendor_name", "receipt_date", "currency", "period", "fyear"};

using C = POform_receipt::Command;
constexpr auto View = menus::View;
constexpr auto None = Right::None;
constexpr auto Toggle = Checkable::Yes;

/// The receipt's commands after the posting documents' common ones, in menu order.
constexpr std::array ReceiptCommands{
    shared(CommandId::StockByLocation),
    shared(CommandId::StockByItem, "Stock by &Item"),
    shared(CommandId::TaxDetails),
    CommandSpec{to_int(C::LandedTaxDetails), "&Landed Tax Details", View, false, None, Toggle},
    shared(CommandId::TaxSummary),
    shared(CommandId::Void, "&Void Receipt"),
    shared(CommandId::RefreshRecord),
    CommandSpec{to_int(C::PoWindow), "&PO Window", View, true, None, Toggle},
    CommandSpec{to_int(C::VendorPurchaseHistory), "Vendor Purchase History", View, false, None, Toggle},
    CommandSpec{to_int(C::ItemPurchaseHistory), "Item Purchase History", View, false, None, Toggle},
    CommandSpec{to_int(C::Landed), "Landed", View, false, None, Toggle},
    CommandSpec{to_int(C::IcRecord), "&I/C Record", View},
    CommandSpec{to_int(C::PoRecord), "&P/O Record", View},
    CommandSpec{to_int(C::ApRecord), "&A/P Record", View},
    CommandSpec{to_int(C::LandedApRecord), "&Landed A/P Record", View},
    CommandSpec{to_int(C::BillRecord), "&Bill Record", View},
    CommandSpec{to_int(C::ReceiptStockItemOnly), "&Receipt stock item only", menus::Tools, false, None, Toggle},
    CommandSpec{to_int(C::EnterBill), "Enter &Bill", menus::Tools, true, Right::Update},
    CommandSpec{to_int(C::ShipToVendorAddress), "&Ship-To/Vendor Address", View, false, None, Toggle},
    shared(CommandId::AccountMaster),
    shared(CommandId::ItemMaster),
    shared(CommandId::VendorMaster),
    shared(CommandId::StockOnHand, "On Hand"),
};

} // namespace

POform_receipt::POform_receipt(QObject* parent)
    : PurchasingWindow(QStringLiteral("POform_receipt"), QStringLiteral("Receipt Entry"), receipts(),
                       QStringLiteral("receipt_date"), col::QuantityReceived, parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    declare_field({"docno", "Receipt no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"receipt_date", "Receipt date", K::Date, 1});
    declare_field({"period", "Period", K::DropDown, 1});
    declare_field({"fyear", "Fiscal year", K::DropDown, 1});
    declare_field({"payment_term", "Payment term", K::DropDown, 1});
    declare_field({"pono", "PO no", K::DropDown, 2});
    declare_field({"multi_po", "Multiple PO", K::Check, 2});
    declare_field({"shipto", "Ship to", K::DropDown, 2});
    declare_field({"shipvia", "Ship via", K::DropDown, 2});
    declare_field({"currency", "Currency", K::DropDown, 3});
    declare_field({"exchange_rate", "Rate", K::DropDown, 3});
    declare_field({"rate_date", "Rate date", K::Date, 3});
    declare_field({"reference", "Reference", K::Text, 3});
    // The vendor's bill entered with the receipt and how it is paid.
    declare_field({"vendor_invoice_no", "Bill no", K::Text, 4});
    declare_field({"vendor_invoice_date", "Bill date", K::Date, 4});
    declare_field({"payby", "Pay by", K::DropDown, 4});
    declare_field({"cash_accno", "Cash account", K::DropDown, 4});
    declare_field({"bank_code", "Bank", K::DropDown, 5});
    declare_field({"check_no", "Check no", K::Text, 5});
    declare_field({"check_date", "Check date", K::Date, 5});
    declare_field({"prepayment_no", "Prepayment no", K::Text, 5});
    declare_field({"prepayment", "Prepayment", K::Number, 6});
    declare_field({"discount_percent", "Discount %", K::Number, 6});
    declare_field({"discount_amount", "Discount", K::Number, 6});
    declare_field({"fob_point", "FOB point", K::Text, 6});
    declare_field({"remark", "Remark", K::MultiLine, 7});
    declare_field({"printed", "Printed", K::Check, 8, {}, true});
    declare_field({"billed", "Billed", K::Check, 8, {}, true});
    declare_field({"void", "Void", K::Check, 8, {}, true});
    declare_field({"sub_total", "Sub total", K::Number, 9, {}, true});
    declare_field({"landed_total", "Landed total", K::Number, 9, {}, true});
    declare_field({"tax_total", "Tax total", K::Number, 9, {}, true});
    declare_field({"total", "Total", K::Number, 9, {}, true});

    m_lines = &declare_grid("dbgridrc", {}, LineColumns);
    for (const QString& kept : KeptColumns)
        m_lines->set_column_read_only(m_lines->required_column(kept), true);
    m_lines->set_number_columns({col::QuantityOrdered, col::QuantityOpen, col::QuantityReceived, col::QuantityCanceled,
                                 col::UnitCost, col::ExtendedCost, col::NetCost, col::TaxAmount, col::AllocatedTax});
    m_lines->set_column_kind(m_lines->required_column(col::TaxIncluded), FieldKind::Check);
    connect(m_lines, &Grid::currentRowChanged, this, [this] {
        offer_line_units(m_lines->current_row());
        refresh_panes();
    });

    declare_pane("order", "PO Window", PaneArea::Right, to_int(Command::PoWindow));
    m_order_lines = &declare_grid("dbgridpo", "PURCHASE ORDER DOCUMENT", OrderColumns, "order");
    m_order_lines->set_read_only(true);
    m_order_lines->set_number_columns({order_col::QuantityOrdered, order_col::QuantityOpen, order_col::UnitCost,
                                       order_col::Cancelled});
    for (QLatin1String check : {order_col::TaxIncluded, order_col::Closed})
        m_order_lines->set_column_kind(m_order_lines->required_column(check), FieldKind::Check);
    // The narrow pane shows whole order numbers.
    m_order_lines->set_column_width(m_order_lines->required_column(order_col::PoNo), 100);

    declare_pane("landed", "Landed", PaneArea::Bottom, to_int(Command::Landed));
    m_landed = &declare_grid("dbgrid_landed", {}, LandedColumns, "landed");
    m_landed->set_number_columns({landed::Quantity, landed::UnitCost, landed::ExtendedCost, landed::TaxAmount});
    m_landed->set_column_kind(m_landed->required_column(landed::Expense), FieldKind::Check);
    m_landed->set_column_kind(m_landed->required_column(landed::BillDate), FieldKind::Date);
    for (QLatin1String kept : {landed::ItemNo, landed::PayableKey}) {
        m_landed->set_column_hidden(m_landed->required_column(kept), true);
        m_landed->set_column_read_only(m_landed->required_column(kept), true);
    }
    m_landed->set_column_read_only(m_landed->required_column(landed::TaxAmount), true);
    connect(m_landed, &Grid::currentRowChanged, this, [this] { refresh_landed_tax_pane(); });
    // Charges are taken off the receipt by their rows' delete buttons while it is being entered.
    connect(this, &WindowModel::modeChanged, this, [this](Mode mode) {
        m_landed->set_delete_buttons(mode == Mode::Read ? QString() : QStringLiteral("delete landed charge"));
    });

    declare_tax_panes();
    const TaxPaneDeclaration landed_tax = tax_detail_pane();
    declare_pane("landed_tax_detail", "Landed Tax Detail Window", PaneArea::Bottom, to_int(Command::LandedTaxDetails));
    Grid& landed_taxes = declare_grid("grid_tax_landed", {}, landed_tax.columns, "landed_tax_detail");
    landed_taxes.set_number_columns({tax_detail_column::TaxableAmount, tax_detail_column::TaxRate,
                                     tax_detail_column::TaxAmount});
    m_landed_tax_pane = std::make_unique<TaxPanes>(landed_taxes, *grid(tax_summary_pane().grid));
    landed_taxes.set_read_only(true);
    declare_stock_panes(StockColumns, StockColumns);
    declare_pane("vendor_history", "Vendor Purchase History", PaneArea::Bottom, to_int(Command::VendorPurchaseHistory));
    m_vendor_history = &declare_grid("grid_history", {}, purchase_history_columns(), "vendor_history");
    declare_pane("item_history", "Item Purchase History", PaneArea::Bottom, to_int(Command::ItemPurchaseHistory));
    m_item_history = &declare_grid("grid_history2", {}, purchase_history_columns(), "item_history");
    for (Grid* history : {m_vendor_history, m_item_history})
        set_up_purchase_history(*history);

    declare_pane("address", "Address Window", PaneArea::Right, to_int(Command::ShipToVendorAddress));
    declare_field({"ship_to_address", "Ship-to address", K::MultiLine, 0, "address"});
    declare_field({"vendor_address", "Vendor address", K::MultiLine, 1, "address"});
    // The keys of what the receipt wrote: kept with the document, never shown.
    declare_pane("linked_documents", "Linked documents", PaneArea::Right);
    for (const char* key : {"GLFKEY", "icfkey", "apfkey", "invoice_docno"})
        declare_field({key, key, K::Text, 0, "linked_documents", true});
    // The billed box is on for a receipt billed in part; Enter Bill stops only at a whole one.
    declare_field({"fully_billed", "Fully billed", K::Check, 0, "linked_documents", true});

    declare_posting_record_commands();
    declare_commands(ReceiptCommands);
    declare_print_layout(receipt_document_layout());
    set_field("docno", NewDocumentNumber);
}

POform_receipt::~POform_receipt() = default;

std::expected<void, Error> POform_receipt::load_window_lists()
{
    if (auto periods = load_period_lists(); !periods)
        return periods;
    // Pay-by: later, cash, check or a card in use; cash accounts and banks for the payment.
    auto cards = Choices::query(db(), QStringLiteral("SELECT card_name FROM Credit_card_master_table"
                                                     " WHERE used = TRUE ORDER BY card_name"));
    if (!cards)
        return std::unexpected(cards.error());
    QStringList payby{PayLater, PayByCash, PayByCheck};
    for (const QStringList& card : cards->rows)
        payby << card.value(0);
    set_field_choices("payby", Choices::of(payby));
    for (const auto& [name, list] : {std::pair{"cash_accno", pick_lists::cash_account()}, std::pair{"bank_code", pick_lists::bank()}}) {
        auto choices = Choices::load(db(), list);
        if (!choices)
            return std::unexpected(choices.error());
        set_field_choices(name, *choices);
    }
    m_landed->set_column_choices(m_landed->required_column(landed::VendorNo), m_lists.vendors);
    m_landed->set_column_choices(m_landed->required_column(landed::ItemCode), m_lists.charges);
    m_landed->set_column_choices(m_landed->required_column(landed::TaxCode), m_lists.tax_codes);
    m_landed->set_column_choices(m_landed->required_column(landed::Account), m_lists.all_accounts);
    return {};
}

// Modes -------------------------------------------------------------------------------------------

void POform_receipt::reset_header_fields()
{
    // A hand-off chooses the vendor and its order first: they stay.
    const QString vendor = field("vendor_no");
    const QString order = field("pono");
    DocumentWindow::reset_header_fields();
    m_order_lines->clear();
    m_vendor_tax_code.clear();
    set_field("vendor_no", vendor);
    set_field("pono", order);
    set_field_date("receipt_date", today());
    period_follows_date();
    for (const char* total : {"sub_total", "landed_total", "tax_total", "total"})
        set_field(total, Decimal().format(2));
    set_field("payby", QStringLiteral("Pay Later"));
    show_default_ship_to();
    // Outside new mode the vendor's details and rates come without its order list.
    set_field("currency", settings().BASE_CURRENCY);
    if (vendor.isEmpty() || vendor_chosen() != Entry::Accepted)
        show_rates();
    set_new_document_fields(true);
    m_lines->append_row();
    m_landed->clear();
    m_landed_taxes.clear();
    m_saved_landed_lines.clear();
    m_landed->append_row();
}

void POform_receipt::set_new_document_fields(bool editable)
{
    for (const QString& name : PostedFields)
        set_field_read_only(name, !editable);
}

bool POform_receipt::begin_new()
{
    set_field("vendor_no", QString());
    set_field("pono", QString());
    set_field_choices("pono", {});
    set_field_read_only("vendor_no", false);
    set_field_read_only("vendor_name", false);
    reset_header_fields();
    return true;
}

void POform_receipt::discard_changes(Mode left)
{
    if (left == Mode::Edit)
        m_landed_taxes = m_shown_landed_taxes;
    PurchasingWindow::discard_changes(left);
}

void POform_receipt::show_nothing()
{
    PurchasingWindow::show_nothing();
    m_landed->clear();
    m_landed_taxes.clear();
    m_saved_landed_lines.clear();
}

bool POform_receipt::on_row_delete(Grid& grid, int row)
{
    if (&grid != m_landed || mode() == Mode::Read)
        return PurchasingWindow::on_row_delete(grid, row);
    const int itemno = m_landed->cell(row, landed::ItemNo).toInt();
    // A stored charge was posted and may have a payable of its own: only a void takes it back.
    if (mode() == Mode::Edit && m_saved_landed_lines.contains(itemno))
        return refuse(QStringLiteral("Cannot delete item. Use void item."));
    m_landed->remove_row(row);
    if (itemno > 0)
        m_landed_taxes.remove_line(itemno);
    if (m_landed->row_count() == 0)
        m_landed->append_row();
    set_dirty(true);
    calculate_totals();
    refresh_landed_tax_pane();
    return true;
}

bool POform_receipt::begin_edit()
{
    if (!shown_document_changeable())
        return false;
    const QString number = field("docno");
    if (find_field("billed")->checked())
        return refuse(number + QStringLiteral(" was billed.") + QChar(10)
                      + QStringLiteral("You can use P/O Bill Entry to make quantity/cost adjustment.") + QChar(10)
                      + QStringLiteral("If you really want to edit in Receipt Entry, void the bill first."));
    if (!stored_header())
        return false;
    keep_shown_taxes();
    m_shown_landed_taxes = m_landed_taxes;
    // What the receipt posted stays: vendor, date, currency and period.
    set_new_document_fields(false);
    return true;
}

// Header fields -----------------------------------------------------------------------------------

Entry POform_receipt::check_field(const QString& name, const QString& previous)
{
    if (field(name) == previous && name != u"multi_po")
        return Entry::Accepted;
    if (name == u"pono") {
        if (mode() == Mode::Read || field("pono").trimmed().isEmpty())
            return Entry::Accepted;
        if (choice_typed(name, find_field("pono")->choices, QStringLiteral("PO no is invalid.")) != Entry::Accepted)
            return Entry::Refused;
        load_order_lines();
        return Entry::Accepted;
    }
    if (name == u"multi_po") {
        // One order's lines, or several orders' lines side by side.
        if (!find_field("multi_po")->checked())
            m_order_lines->clear();
        return Entry::Accepted;
    }
    if (name == u"receipt_date")
        return period_follows_date();
    for (const char* bill : {"vendor_invoice_date", "check_no", "check_date", "payby", "cash_accno", "bank_code", "prepayment",
                             "discount_amount", "discount_percent"})
        if (name == QLatin1String(bill))
            return bill_field_typed(name);
    return PurchasingWindow::check_field(name, previous);
}

Entry POform_receipt::vendor_chosen()
{
    const Entry entry = PurchasingWindow::vendor_chosen();
    if (entry != Entry::Accepted || mode() != Mode::New || field("vendor_no").trimmed().isEmpty() || !database())
        return entry;
    set_field("pono", QString());
    m_order_lines->clear();
    return load_order_list();
}

} // namespace zelkor
