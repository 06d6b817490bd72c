#include "forms/purchasing/POform_po.h"

#include "forms/purchasing/po_requisition.h"
#include "forms/purchasing/purchasing_lines.h"
#include "services/master_lookups.h"

namespace zelkor {

namespace {

const QStringList LineColumns{
    "item no", "item code", "vendor item code", "item type", "description", "long description", "quantity order",
    "quantity open", "quantity received", "quantity billed", "quantity open for bill", "quantity canceled", "uom",
    "uom open", "uom received", "unit cost", "extended cost", "tax code", "tax amount", "allocated tax", "net cost",
    "tax included", "account", "account name", "warehouse", "location", "PR no", "PR item no", "cancel",
    "user created", "user updated", "created date", "created time", "last modified date", "last modified time",
    "computer id"};

const QStringList AuditColumns{"user created", "user updated", "created date", "created time", "last modified date",
                               "last modified time", "computer id"};

/// Columns the order itself keeps up (receipts, bills, the requisition link): never typed.
const QStringList KeptColumns{"item no", "quantity open", "quantity received", "quantity billed",
                              "quantity open for bill", "quantity canceled", "uom open", "uom received",
                              "tax amount", "allocated tax", "account name", "PR no", "PR item no"};

const QStringList RequisitionColumns{"item no", "item code", "item type", "description", "uom", "quantity",
                                     "unit cost", "extended cost", "tax code", "tax amount", "net cost",
                                     "tax included", "account", "account name", "warehouse", "location", "closed"};

const QStringList HistoryColumns{"vendor name", "PO no", "order date", "item code", "quantity", "uom", "unit cost",
                                 "extended cost", "tax included"};

const QStringList StockColumns{"item code", "warehouse", "location", "quantity", "order quantity", "po quantity"};

} // namespace

POform_po::POform_po(QObject* parent)
    : PurchasingWindow(QStringLiteral("POform_po"), QStringLiteral("Purchase Order"), Kind::Document, parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    declare_field({"docno", "PO no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"prno", "PR no", K::DropDown, 1});
    declare_field({"template", "Template", K::DropDown, 1, {}, true});
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
    m_lines->set_number_columns({"quantity order", "quantity open", "quantity received", "quantity billed",
                                 "quantity open for bill", "quantity canceled", "unit cost", "extended cost",
                                 "tax amount", "allocated tax", "net cost"});
    m_lines->set_column_kind(m_lines->required_column("tax included"), FieldKind::Check);
    connect(m_lines, &Grid::currentChanged, this, [this] { offer_line_units(m_lines->current_row()); });
    m_lines->set_column_kind(m_lines->required_column("cancel"), FieldKind::Check);

    declare_pane("requisition", "PR Window", PaneArea::Right, PrWindow);
    declare_field({"pr_docno", "PR no.", K::DropDown, 0, "requisition", false, open});
    declare_field({"pr_order_date", "PR Date", K::Date, 1, "requisition", true});
    declare_field({"pr_requested_date", "Req. Date", K::Date, 1, "requisition", true});
    declare_field({"pr_requested_user", "Requested by", K::Text, 2, "requisition", true});
    declare_field({"pr_vendor_no", "Vendor", K::Text, 2, "requisition", true});
    declare_field({"pr_shipto", "Ship to", K::Text, 2, "requisition", true});
    m_requisition_lines = &declare_grid("grid_pr", {}, RequisitionColumns, "requisition");
    m_requisition_lines->set_read_only(true);
    m_requisition_lines->set_number_columns({"quantity", "unit cost", "extended cost", "tax amount", "net cost"});

    declare_pane("address", "Address Window", PaneArea::Right, ShipToVendorAddress);
    declare_field({"ship_to_address", "Ship-to address", K::MultiLine, 0, "address"});
    declare_field({"vendor_address", "Vendor address", K::MultiLine, 1, "address"});
    declare_field({"save_vendor_address", "Save vendor address", K::Check, 2, "address"});

    m_tax_panes = declare_tax_panes();
    declare_stock_panes(StockColumns, StockColumns);
    m_stock_by_location = grid("grid_stock_location");
    m_stock_by_item = grid("grid_stock_item");
    declare_pane("vendor_history", "Vendor PO History", PaneArea::Bottom, VendorPurchaseHistory);
    m_vendor_history = &declare_grid("grid_vendor_history", {}, HistoryColumns, "vendor_history");
    declare_pane("item_history", "Item PO History", PaneArea::Bottom, ItemPurchaseHistory);
    m_item_history = &declare_grid("grid_item_history", {}, HistoryColumns, "item_history");
    for (Grid* pane_grid : {m_vendor_history, m_item_history}) {
        pane_grid->set_read_only(true);
        pane_grid->set_number_columns({"quantity", "unit cost", "extended cost"});
    }

    declare_command(CommandId::Exit);
    declare_command(CommandId::Save);
    declare_command({SaveAsTemplate, "Save As &Template", menus::File, false, Right::Update});
    declare_editing_commands();
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
    declare_browsing_commands();
    declare_command({PrRecord, "&PR Record", menus::View, false, Right::None});
    declare_command({ReceiptRecord, "&Receipt Record", menus::View, false, Right::None});
    declare_command({BillRecord, "&Bill Record", menus::View, false, Right::None});
    declare_command({PrWindow, "&PR Window", menus::View, false, Right::None, Checkable::Yes});
    declare_command({ShipToVendorAddress, "&Ship-To/Vendor Address", menus::View, false, Right::None, Checkable::Yes});
    declare_command(CommandId::StockByLocation);
    declare_command(CommandId::StockByItem, "Stock by &Item");
    declare_command({VendorPurchaseHistory, "Vendor Purchase History", menus::View, false, Right::None, Checkable::Yes});
    declare_command({ItemPurchaseHistory, "Item Purchase History", menus::View, false, Right::None, Checkable::Yes});
    declare_master_and_help_commands("Purchase Order Help");
    // Templates and reorder suggestions are not part of this window yet.
    for (int id : {SaveAsTemplate, ReorderingStockItems, NewTemplate, CopyToNewTemplate, EditTemplate, DeleteTemplate})
        set_command_enabled(id, false);
    set_field("docno", NewDocumentNumber);
}

POform_po::~POform_po() = default;

void POform_po::on_open()
{
    load_lists();
    reset_header_fields();
}

void POform_po::load_lists()
{
    Database* db = database();
    if (!db)
        return;
    auto load = [&](const QString& field, const PickList& list, int bound = 0) {
        if (auto choices = Choices::load(*db, list)) {
            choices->bound_column = bound;
            set_field_choices(field, std::move(*choices));
        }
    };
    load("vendor_no", pick_lists::vendor_by_number(VendorFilter::ActiveOnly));
    load("vendor_name", pick_lists::vendor_by_name());
    load("requested_user", pick_lists::user(), 1);
    load("payment_term", pick_lists::payment_term(), 1);
    auto header = [&](const QString& field, std::expected<Choices, Error> choices) {
        if (choices)
            set_field_choices(field, std::move(*choices));
    };
    header("shipto", warehouse_choices(*db));
    header("shipvia", Choices::query(*db, QStringLiteral("SELECT shipvia_id, Description FROM Shipvia_table ORDER BY shipvia_id"),
                                     {"Ship via", "Description"}));
    header("currency", currency_choices(*db));
    auto line = [&](const QString& caption, std::expected<Choices, Error> choices) {
        if (choices)
            m_lines->set_column_choices(m_lines->required_column(caption), std::move(*choices));
    };
    auto column = [&](const QString& caption, const QString& sql, const QStringList& captions) {
        line(caption, Choices::query(*db, sql, captions));
    };
    // Items of types 1 and 2, also offered by short name, shown as "(code) description".
    column("item code",
           QStringLiteral("SELECT itemcode, description, item_type FROM Item_master_table"
                          " WHERE item_type IN ('1', '2') AND discontinued = FALSE"
                          " UNION ALL SELECT short_name, '(' || itemcode || ') ' || description, item_type"
                          " FROM Item_master_table WHERE item_type IN ('1', '2') AND discontinued = FALSE"
                          " AND short_name IS NOT NULL AND short_name <> ''"
                          " UNION ALL SELECT itemcode, Description, '6' FROM Vendor_miscellaneous_charge_table"
                          " ORDER BY 1"),
           {"item code", "description", "type"});
    line("item type", item_type_choices());
    if (auto units = unit_choices(*db))
        m_all_units = *units;
    line("uom", m_all_units);
    line("tax code", purchase_tax_code_choices(*db));
    line("account", Choices::load(*db, pick_lists::account(AccountList::Postable)));
    line("warehouse", warehouse_location_choices(*db));
    column("location", QStringLiteral("SELECT location, warehouse FROM Warehouse_location_master_table"
                                      " ORDER BY warehouse, location"),
           {"location", "warehouse"});
}

// Modes -------------------------------------------------------------------------------------------

[[nodiscard]] std::expected<Choices, Error> POform_po::line_units(int row) const
{
    if (!database() || row < 0)
        return m_all_units;
    return item_unit_choices(*database(), m_all_units, m_lines->cell(row, "item type").trimmed(),
                             m_lines->cell(row, "item code").trimmed());
}

void POform_po::offer_line_units(int row)
{
    auto units = line_units(row);
    m_lines->set_column_choices(m_lines->required_column("uom"), units ? *units : m_all_units);
}

void POform_po::reset_header_fields()
{
    const QString prno = field("prno");
    clear_document();
    m_taxes.clear();
    m_key.clear();
    set_field("prno", prno);
    set_field("docno", NewDocumentNumber);
    set_field_date("order_date", today());
    for (const char* total : {"sub_total", "tax_total", "total"})
        set_field(total, Decimal().format(2));
    if (Database* db = database()) {
        if (auto warehouse = db->scalar(QStringLiteral("SELECT warehouse FROM Warehouse_master_table"
                                                       " WHERE \"default\" = TRUE ORDER BY warehouse"));
            warehouse && warehouse->isValid()) {
            set_field("shipto", warehouse->toString());
            shipto_chosen();
        }
    }
    set_field("currency", settings().BASE_CURRENCY);
    currency_chosen();
    m_lines->append_row();
}

void POform_po::enter_new_mode()
{
    m_key.clear();
    set_field("docno", NewDocumentNumber);
    set_dirty(false);
    set_mode(Mode::New);
}

bool POform_po::begin_new()
{
    const QString vendor = field("vendor_no");
    set_field("prno", QString());
    reset_header_fields();
    if (!vendor.isEmpty()) {
        set_field("vendor_no", vendor);
        vendor_chosen();
    }
    return true;
}

bool POform_po::begin_edit()
{
    if (m_key.isEmpty())
        return false;
    const QString number = field("docno");
    if (find_field("void")->checked()) {
        message(number + QStringLiteral(" was void."));
        return false;
    }
    if (find_field("fully_received")->checked()) {
        message(QStringLiteral("Order was fully received."));
        return false;
    }
    if (!stored_header(QStringLiteral("Document no. ") + number + QStringLiteral(" not found")))
        return false;
    m_shown_taxes = m_taxes;
    return true;
}

void POform_po::discard_changes(Mode left)
{
    WindowModel::discard_changes(left);
    if (left == Mode::Edit)
        m_taxes = m_shown_taxes;
    else if (left == Mode::New)
        last_record();
}

// Header fields -----------------------------------------------------------------------------------

Entry POform_po::check_field(const QString& name, const QString& previous)
{
    if (field(name) == previous && name != u"save_vendor_address")
        return Entry::Accepted;
    if (name == u"docno")
        display_by_number();
    else if (name == u"vendor_no" || name == u"vendor_name") {
        if (name == u"vendor_name")
            set_field("vendor_no", find_field("vendor_name")->choices.lookup(field("vendor_name"), 1));
        vendor_chosen();
    } else if (name == u"shipto")
        shipto_chosen();
    else if (name == u"currency" || name == u"order_date")
        currency_chosen();
    else if (name == u"prno" && mode() != Mode::Read && !field("prno").isEmpty()) {
        if (!show_requisition(field("prno")))
            return Entry::Refused;
        take_over_requisition();
    } else if (name == u"pr_docno")
        show_requisition(field("pr_docno"));
    else if (name == u"save_vendor_address" && find_field(name)->checked()) {
        save_vendor_address();
        set_field(name, QString());
    }
    return Entry::Accepted;
}

void POform_po::vendor_chosen()
{
    Database* db = database();
    const QString vendor = field("vendor_no");
    if (!db || vendor.isEmpty())
        return;
    auto row = chosen_vendor(*db, vendor);
    if (!row) {
        message(row.error().message);
        return;
    }
    const Row& found = *row;
    show_vendor_details(*this, found);
    set_field("vendor_address", found.text(u"Address"));
    currency_chosen();
    auto rows = db->select(QStringLiteral("SELECT p.vendor_itemcode, i.itemcode, i.description, i.item_type, i.active"
                                          " FROM Item_manufacturer_partno_table p, Item_master_table i"
                                          " WHERE p.itemcode = i.itemcode AND i.item_type IN ('1', '2')"
                                          " AND i.kit = FALSE AND i.discontinued = FALSE AND p.vendor_no = ?"
                                          " ORDER BY p.vendor_itemcode"),
                           {vendor});
    Choices choices{{"vendor item code", "item code", "description", "type", "active"}, {}, {}, 0};
    if (rows)
        for (const Row& part : *rows)
            choices.rows.push_back({part.text(u"vendor_itemcode"), part.text(u"itemcode"), part.text(u"description"),
                                    part.text(u"item_type"), part.flag(u"active") ? "1" : "0"});
    m_lines->set_column_choices(m_lines->required_column("vendor item code"), std::move(choices));
    // The vendor's tax code becomes the default of new lines.
    m_vendor_tax_code = found.text(u"tax_code");
}

void POform_po::shipto_chosen()
{
    Database* db = database();
    const QString shipto = field("shipto");
    if (!db || shipto.isEmpty())
        return;
    auto warehouse = db->first(QStringLiteral("SELECT Address FROM Warehouse_master_table WHERE warehouse = ?"), {shipto});
    if (!warehouse || !*warehouse) {
        message(QStringLiteral("Ship-to is invalid."));
        return;
    }
    QString address = (*warehouse)->text(u"Address");
    if (address.isEmpty())
        if (auto company = db->scalar(QStringLiteral("SELECT address FROM Company_table WHERE company_no = 1")); company)
            address = Row::to_text(*company);
    set_field("ship_to_address", address);
}

void POform_po::currency_chosen()
{
    Database* db = database();
    const QString currency = field("currency");
    const bool base = currency.isEmpty() || currency == settings().BASE_CURRENCY;
    set_field_read_only("exchange_rate", base);
    set_field_read_only("rate_date", base);
    if (base || !db) {
        set_field("exchange_rate", QString());
        set_field("rate_date", QString());
        return;
    }
    const QDate order_date = field_date("order_date").value_or(QDate());
    auto rates = exchange_rates(*db, currency, settings().BASE_CURRENCY, order_date.isValid() ? order_date : today());
    Choices choices{{"Rate", "Rate Date"}, {}, {}, 0};
    if (rates)
        for (const ExchangeRate& rate : *rates)
            choices.rows.push_back({rate.rate.to_string(), rate.rate_date.toString(Qt::ISODate)});
    set_field_choices("exchange_rate", choices);
    if (rates && !rates->empty()) {
        set_field("exchange_rate", rates->back().rate.to_string());
        set_field_date("rate_date", rates->back().rate_date);
    } else {
        set_field("exchange_rate", QString());
        set_field("rate_date", QString());
    }
}

void POform_po::save_vendor_address()
{
    Database* db = database();
    if (!db || field("vendor_no").isEmpty())
        return;
    auto done = db->execute(QStringLiteral("UPDATE Vendor_table SET Address = ? WHERE vendor_no = ?"),
                            {field("vendor_address"), field("vendor_no")});
    if (done && *done > 0)
        message(QStringLiteral("Save Vendor address complete"));
    else
        message(QStringLiteral("vendor is invalid."));
}

// Commands ----------------------------------------------------------------------------------------

bool POform_po::run_command(int id)
{
    switch (id) {
    case to_int(CommandId::Preview): return print_order();
    case to_int(CommandId::DeleteLine): return delete_line();
    case to_int(CommandId::CopyToNew): {
        if (mode() != Mode::Read || m_key.isEmpty())
            return false;
        m_key.clear();
        set_field("docno", NewDocumentNumber);
        for (const char* cleared : {"reference", "printed", "received", "billed", "void", "fully_received",
                                    "fully_billed", "future_po", "activate_date"})
            set_field(cleared, QString());
        set_field_date("order_date", today());
        for (int row = 0; row < m_lines->row_count(); ++row) {
            m_lines->set_cell(row, "quantity open", m_lines->cell(row, "quantity order"));
            m_lines->set_cell(row, "quantity open for bill", m_lines->cell(row, "quantity order"));
            for (const char* zero : {"quantity received", "quantity billed", "quantity canceled"})
                m_lines->set_cell(row, zero, QString());
            for (const char* cleared : {"uom received", "cancel", "PR no", "PR item no"})
                m_lines->set_cell(row, cleared, QString());
        }
        set_mode(Mode::New);
        set_dirty(true);
        return true;
    }
    case ReceivingGoods: return receive_goods();
    case EnterBill: return enter_bill();
    case ClosePo: return close_order();
    case to_int(CommandId::Void): return void_order();
    case ActivateThisFuturePo: return activate_order();
    case ActivateAllFuturePos: return activate_all_orders();
    case PrRecord:
    case ReceiptRecord:
    case BillRecord: return linked_documents(id);
    case to_int(CommandId::LastRecord): return last_record();
    case to_int(CommandId::NextRecord): return next_record(KeyStep::Next);
    case to_int(CommandId::PreviousRecord): return next_record(KeyStep::Previous);
    case to_int(CommandId::RefreshRecord): return !m_key.isEmpty() && load_order(m_key);
    case to_int(CommandId::AccountMaster):
        notify(QStringLiteral("Account Master"), m_lines->cell(m_lines->current_row(), "account"));
        return true;
    case to_int(CommandId::ItemMaster):
        notify(QStringLiteral("Item Master"), m_lines->cell(m_lines->current_row(), "item code"));
        return true;
    case to_int(CommandId::VendorMaster): notify(QStringLiteral("Vendor Master"), field("vendor_no")); return true;
    case to_int(CommandId::StockOnHand): notify(QStringLiteral("Stock on Hand")); return true;
    case to_int(CommandId::WindowHelp):
        notify(QStringLiteral("pdf viewer"), settings().ZELKOR_PATH + QStringLiteral("\\Help\\Purchase Order Help.pdf"),
               caption() + QStringLiteral(" Help"));
        return true;
    case to_int(CommandId::SystemHelp):
        notify(QStringLiteral("pdf viewer"),
               settings().ZELKOR_PATH + QStringLiteral("\\Help\\Purchase Order System Help.pdf"),
               QStringLiteral("Purchase Order Help"));
        return true;
    default: break;
    }
    const bool done = WindowModel::run_command(id);
    if (done && id == PrWindow && find_command(PrWindow)->checked) {
        if (auto list = open_requisitions(*database())) {
            Choices choices{{"PR no", "key"}, {0, 0}, {}, 0};
            for (const Row& row : *list)
                choices.rows.push_back({row.text(u"docno"), row.text(u"fkey")});
            set_field_choices("pr_docno", choices);
            if (field("pr_docno").isEmpty() && !choices.empty())
                show_requisition(choices.rows.front().front());
        }
    }
    if (done)
        refresh_panes();
    return done;
}

} // namespace zelkor
