#include "windows/order/POform_po.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "documents/order/po_requisition.h"
#include "documents/order/po_save.h"
#include "windows/document/history_panes.h"
#include "windows/document/pane_columns.h"
#include "windows/order/po_columns.h"
#include "windows/order/po_print.h"

#include <array>

namespace zelkor {

namespace {

namespace col = po_column;
namespace pr_col = po_requisition_column;

const QStringList LineColumns{
    col::ItemNo,       col::ItemCode,         col::VendorItemCode,   col::ItemType,         col::Description,
    col::LongDescription, col::QuantityOrder, col::QuantityOpen,     col::QuantityReceived, col::QuantityBilled,
    col::QuantityOpenForBill, col::QuantityCanceled, col::Uom,        col::UomOpen,          col::UomReceived,
    col::UnitCost,     col::ExtendedCost,     col::TaxCode,          col::TaxAmount,        col::AllocatedTax,
    col::NetCost,      col::TaxIncluded,      col::Account,          col::AccountName,      col::Warehouse,
    col::Location,     col::PrNo,             col::PrItemNo,         col::Cancel,           col::UserCreated,
    col::UserUpdated,  col::CreatedDate,      col::CreatedTime,      col::LastModifiedDate, col::LastModifiedTime,
    col::ComputerId};

const QStringList AuditColumns{col::UserCreated, col::UserUpdated,      col::CreatedDate,     col::CreatedTime,
                               col::LastModifiedDate, col::LastModifiedTime, col::ComputerId};

/// Columns the order itself keeps up (receipts, bills, the requisition link): never typed.
// The long description shows the item's own: no order line keeps one.
const QStringList KeptColumns{col::ItemNo,          col::LongDescription,     col::QuantityOpen,
                              col::QuantityReceived, col::QuantityBilled,     col::QuantityOpenForBill,
                              col::QuantityCanceled, col::UomOpen,            col::UomReceived,
                              col::TaxAmount,       col::AllocatedTax,        col::AccountName,
                              col::PrNo,            col::PrItemNo};

const QStringList RequisitionColumns{pr_col::ItemNo,     pr_col::ItemCode,    pr_col::ItemType,  pr_col::Description,
                                     pr_col::Uom,        pr_col::Quantity,    pr_col::UnitCost,  pr_col::ExtendedCost,
                                     pr_col::TaxCode,    pr_col::TaxAmount,   pr_col::NetCost,   pr_col::TaxIncluded,
                                     pr_col::Account,    pr_col::AccountName, pr_col::Warehouse, pr_col::Location,
                                     pr_col::Closed};

const QStringList StockColumns{stock_column::ItemCode, stock_column::Warehouse,     stock_column::Location,
                               stock_column::Quantity, stock_column::OrderQuantity, stock_column::PoQuantity};

using C = POform_po::Command;
constexpr auto View = menus::View;
constexpr auto Update = Right::Update;
constexpr auto None = Right::None;
constexpr auto Toggle = Checkable::Yes;

/// The order's commands, in menu order, around the document windows' editing and browsing ones.
constexpr std::array OrderFileCommands{
    shared(CommandId::Exit),
    shared(CommandId::Save),
    CommandSpec{to_int(C::SaveAsTemplate), "Save As &Template", menus::File, false, Update},
};

constexpr std::array OrderEditCommands{
    CommandSpec{to_int(C::ReceivingGoods), "&Receiving Goods", menus::Tools, true, Update},
    CommandSpec{to_int(C::EnterBill), "&Enter Bill", menus::Tools, true, Update},
    CommandSpec{to_int(C::ClosePo), "&Close PO", menus::Edit, false, Update},
    shared(CommandId::Void, "&Void PO"),
    CommandSpec{to_int(C::ReorderingStockItems), "Reordering Stock Items", menus::Tools, false, Update},
    CommandSpec{to_int(C::ActivateThisFuturePo), "&Activate this future P/O", menus::Tools, false, Update},
    CommandSpec{to_int(C::ActivateAllFuturePos), "Activate all &Future P/Os", menus::Tools, false, Update},
    CommandSpec{to_int(C::NewTemplate), "&New Template", menus::Edit, false, Update, Toggle},
    CommandSpec{to_int(C::CopyToNewTemplate), "&Copy To New Template", menus::Edit, false, Update},
    CommandSpec{to_int(C::EditTemplate), "&Edit Template", menus::Edit, false, Update, Toggle},
    CommandSpec{to_int(C::DeleteTemplate), "&Delete Template", menus::Edit, false, Update},
};

constexpr std::array OrderViewCommands{
    CommandSpec{to_int(C::PrRecord), "&PR Record", View},
    CommandSpec{to_int(C::ReceiptRecord), "&Receipt Record", View},
    CommandSpec{to_int(C::BillRecord), "&Bill Record", View},
    CommandSpec{to_int(C::PrWindow), "&PR Window", View, false, None, Toggle},
    CommandSpec{to_int(C::ShipToVendorAddress), "&Ship-To/Vendor Address", View, false, None, Toggle},
    shared(CommandId::StockByLocation),
    shared(CommandId::StockByItem, "Stock by &Item"),
    CommandSpec{to_int(C::VendorPurchaseHistory), "Vendor Purchase History", View, false, None, Toggle},
    CommandSpec{to_int(C::ItemPurchaseHistory), "Item Purchase History", View, false, None, Toggle},
};

} // namespace

POform_po::POform_po(QObject* parent)
    : PurchasingWindow(QStringLiteral("POform_po"), QStringLiteral("Purchase Order"), orders(), QStringLiteral("order_date"),
                       col::QuantityOrder, parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    declare_field({"docno", "PO no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"prno", "PR no", K::DropDown, 1});
    declare_field({"template", "Template", K::DropDown, 1, {}, false, open});
    declare_field({"order_date", "Order date", K::Date, 1});
    declare_field({"arrival_date", "Arrival date", K::Date, 1});
    declare_field({"shipto", "Ship to", K::DropDown, 2});
    declare_field({"shipvia", "Ship via", K::DropDown, 2});
    declare_field({"currency", "Currency", K::DropDown, 2});
    declare_field({"exchange_rate", "Rate", K::DropDown, 2});
    declare_field({"rate_date", "Rate date", K::Date, 2});
    declare_field({"requested_user", "Requested by", K::DropDown, 3});
    declare_field({"contact_person", "Contact person", K::Text, 3});
    declare_field({"phone", "Phone", K::Text, 3});
    declare_field({"fax", "Fax", K::Text, 3});
    declare_field({"payment_term", "Payment term", K::DropDown, 4});
    declare_field({"reference", "Reference", K::Text, 4});
    declare_field({"fob_point", "FOB point", K::Text, 4});
    declare_field({"remark", "Remark", K::MultiLine, 5});
    declare_field({"delivery_instruction", "Delivery instruction", K::MultiLine, 5});
    declare_field({"future_po", "Future P/O", K::Check, 6});
    declare_field({"activate_date", "Activate date", K::Date, 6});
    declare_field({"printed", "Printed", K::Check, 6, {}, true});
    declare_field({"received", "Received", K::Check, 6, {}, true});
    declare_field({"billed", "Billed", K::Check, 6, {}, true});
    declare_field({"void", "Void", K::Check, 6, {}, true});
    declare_field({"fully_received", "Fully received", K::Check, 6, {}, true});
    declare_field({"fully_billed", "Fully billed", K::Check, 6, {}, true});
    declare_field({"sub_total", "Sub total", K::Number, 7, {}, true});
    declare_field({"tax_total", "Tax total", K::Number, 7, {}, true});
    declare_field({"total", "Total", K::Number, 7, {}, true});
    // Carries a requisition's key only while its lines are taken over.
    declare_field({"requisition_key", "Requisition key", K::Text, 8, {}, true});

    m_lines = &declare_grid("dbgridpo", {}, LineColumns);
    for (const QString& hidden : AuditColumns)
        m_lines->set_column_hidden(m_lines->required_column(hidden), true);
    for (const QString& kept : KeptColumns)
        m_lines->set_column_read_only(m_lines->required_column(kept), true);
    m_lines->set_number_columns({col::QuantityOrder, col::QuantityOpen, col::QuantityReceived, col::QuantityBilled,
                                 col::QuantityOpenForBill, col::QuantityCanceled, col::UnitCost, col::ExtendedCost,
                                 col::TaxAmount, col::AllocatedTax, col::NetCost});
    m_lines->set_column_kind(m_lines->required_column(col::TaxIncluded), FieldKind::Check);
    m_lines->set_column_kind(m_lines->required_column(col::Cancel), FieldKind::Check);
    connect(m_lines, &Grid::currentRowChanged, this, [this] {
        offer_line_units(m_lines->current_row());
        refresh_panes();
    });

    declare_pane("requisition", "PR Window", PaneArea::Right, to_int(Command::PrWindow));
    declare_field({"pr_docno", "PR no.", K::DropDown, 0, "requisition", false, open});
    declare_field({"pr_order_date", "PR Date", K::Date, 1, "requisition", true});
    declare_field({"pr_requested_date", "Req. Date", K::Date, 1, "requisition", true});
    declare_field({"pr_requested_user", "Requested by", K::Text, 2, "requisition", true});
    declare_field({"pr_vendor_no", "Vendor", K::Text, 2, "requisition", true});
    declare_field({"pr_shipto", "Ship to", K::Text, 2, "requisition", true});
    m_requisition_lines = &declare_grid("grid_pr", {}, RequisitionColumns, "requisition");
    m_requisition_lines->set_read_only(true);
    m_requisition_lines->set_number_columns(
        {pr_col::Quantity, pr_col::UnitCost, pr_col::ExtendedCost, pr_col::TaxAmount, pr_col::NetCost});

    declare_pane("address", "Address Window", PaneArea::Right, to_int(Command::ShipToVendorAddress));
    declare_field({"ship_to_address", "Ship-to address", K::MultiLine, 0, "address"});
    declare_field({"vendor_address", "Vendor address", K::MultiLine, 1, "address"});
    declare_field({"save_vendor_address", "Save vendor address", K::Check, 2, "address"});

    declare_tax_panes();
    declare_stock_panes(StockColumns, StockColumns);
    declare_pane("vendor_history", "Vendor PO History", PaneArea::Bottom, to_int(Command::VendorPurchaseHistory));
    m_vendor_history = &declare_grid("grid_vendor_history", {}, purchase_history_columns(), "vendor_history");
    declare_pane("item_history", "Item PO History", PaneArea::Bottom, to_int(Command::ItemPurchaseHistory));
    m_item_history = &declare_grid("grid_item_history", {}, purchase_history_columns(), "item_history");
    for (Grid* pane_grid : {m_vendor_history, m_item_history})
        set_up_purchase_history(*pane_grid);

    declare_commands(OrderFileCommands);
    declare_editing_commands();
    declare_commands(OrderEditCommands);
    declare_browsing_commands();
    declare_commands(OrderViewCommands);
    declare_master_and_help_commands("Purchase Order Help");
    declare_print_layout(po_document_layout());
    set_field("docno", NewDocumentNumber);
    // Leaving a template's mode gives the window back to orders; the chooser is locked while
    // an order or a template is edited.
    connect(this, &WindowModel::modeChanged, this, [this](Mode mode) {
        if (mode == Mode::Read)
            leave_template_work();
        set_field_read_only("template", mode == Mode::Edit);
    });
}

POform_po::~POform_po() = default;

// Modes -------------------------------------------------------------------------------------------

void POform_po::reset_header_fields()
{
    const QString prno = field("prno");
    clear_document();
    taxes().clear();
    m_key.clear();
    m_vendor_tax_code.clear();
    set_field("prno", prno);
    set_field("docno", NewDocumentNumber);
    set_field_date("order_date", today());
    for (const char* total : {"sub_total", "tax_total", "total"})
        set_field(total, Decimal().format(2));
    show_default_ship_to();
    set_field("currency", settings().BASE_CURRENCY);
    show_rates();
    m_lines->append_row();
}

bool POform_po::begin_new()
{
    const QString vendor = field("vendor_no");
    set_field("prno", QString());
    reset_header_fields();
    if (!vendor.isEmpty()) {
        set_field("vendor_no", vendor);
        if (vendor_chosen() != Entry::Accepted)
            set_field("vendor_no", QString());
    }
    return true;
}

bool POform_po::begin_edit()
{
    if (!shown_document_changeable())
        return false;
    if (find_field("fully_received")->checked())
        return refuse(QStringLiteral("Order was fully received."));
    if (!stored_header())
        return false;
    keep_shown_taxes();
    return true;
}

// Header fields -----------------------------------------------------------------------------------

Entry POform_po::check_field(const QString& name, const QString& previous)
{
    if (field(name) == previous && name != u"save_vendor_address")
        return Entry::Accepted;
    if (name == u"prno" && mode() != Mode::Read && !field("prno").isEmpty()) {
        if (!show_requisition(field("prno")))
            return Entry::Refused;
        take_over_requisition();
    } else if (name == u"pr_docno") {
        show_requisition(field("pr_docno"));
    } else if (name == u"template") {
        return template_chosen();
    } else if (name == u"save_vendor_address" && find_field(name)->checked()) {
        save_vendor_address();
        set_field(name, QString());
    } else {
        return PurchasingWindow::check_field(name, previous);
    }
    return Entry::Accepted;
}

std::expected<void, Error> POform_po::load_window_lists()
{
    reload_templates();
    return {};
}

Entry POform_po::vendor_chosen()
{
    const QString vendor = field("vendor_no").trimmed();
    if (const Entry entry = PurchasingWindow::vendor_chosen(); entry != Entry::Accepted || vendor.isEmpty() || !database())
        return entry;
    auto parts = Choices::load(db(), pick_lists::vendor_part_number(vendor));
    if (!parts) {
        report(parts.error(), QStringLiteral("Reading the part numbers of ") + vendor + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    m_lines->set_column_choices(m_lines->required_column(col::VendorItemCode), std::move(*parts));
    return Entry::Accepted;
}

void POform_po::save_vendor_address()
{
    const QString vendor = field("vendor_no").trimmed();
    if (!database() || vendor.isEmpty() || !may_update())
        return;
    auto done = update_vendor_address(db(), vendor, field("vendor_address"));
    if (!done)
        report(done.error(), QStringLiteral("Save Vendor address failed"));
    else if (*done)
        message(QStringLiteral("Save Vendor address complete"));
    else
        message(QStringLiteral("vendor is invalid."));
}

} // namespace zelkor
