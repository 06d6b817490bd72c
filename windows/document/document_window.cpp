#include "windows/document/document_window.h"

#include "windows/base/grid.h"
#include "windows/document/history_panes.h"
#include "windows/document/pane_columns.h"
#include "windows/document/stock_panes.h"
#include "windows/print/Form_report_format.h"
#include "windows/print/grid_report.h"


namespace zelkor {

namespace {

const QString NumberField = QStringLiteral("docno");
const QString StockByLocationPane = QStringLiteral("stock_by_location");
const QString StockByItemPane = QStringLiteral("stock_by_item");
// The columns of a document's line grid the base reads.
const QString LineItemNo = QStringLiteral("item no");
const QString LineItemCode = QStringLiteral("item code");
const QString LineAccount = QStringLiteral("account");

QStringList quantity_columns(const QStringList& columns)
{
    QStringList quantities;
    for (const QString& caption : columns)
        if (caption.contains(QLatin1String("quantity")))
            quantities << caption;
    return quantities;
}

QString text_of(const WindowModel& window, const QString& field)
{
    return window.find_field(field) ? window.field(field).trimmed() : QString();
}

} // namespace

DocumentWindow::DocumentWindow(QString class_name, QString caption, DocumentKind kind, QObject* parent)
    : WindowModel(std::move(class_name), std::move(caption), Kind::Document, parent), m_kind(std::move(kind))
{
    // Showing another document (or none) changes what the document commands can do.
    connect(this, &WindowModel::fieldValueChanged, this, [this](const QString& name) {
        if (name == NumberField)
            emit commandAvailabilityChanged();
    });
}

DocumentWindow::~DocumentWindow() = default;

QString DocumentWindow::not_found_message(const QString&) const { return QStringLiteral("document not found"); }

QString DocumentWindow::read_failed(const QString& number) const
{
    return QStringLiteral("Read ") + document_name() + QStringLiteral(" no. ") + number + QStringLiteral(" failed");
}

// Showing and browsing ------------------------------------------------------------------------

void DocumentWindow::display_by_number()
{
    const QString number = field(NumberField).trimmed();
    if (!database() || number.isEmpty() || number == NewDocumentNumber)
        return;
    if (mode() != Mode::Read) {
        if (!settle_unsaved_work())
            return;
        set_mode(Mode::Read);
    }
    auto key = document_key_of_number(*database(), m_kind, number);
    if (!key) {
        report(key.error(), read_failed(shown_value(number)));
        return;
    }
    if (!*key) {
        show_nothing();
        set_field(NumberField, number);
        message(not_found_message(shown_value(number)));
        return;
    }
    show_key(**key);
}

bool DocumentWindow::show_key(const QString& key)
{
    auto shown = load_document(key);
    if (!shown) {
        report(shown.error(), read_failed(field(NumberField).trimmed()));
        return false;
    }
    if (!*shown) {
        show_nothing();
        return false;
    }
    set_dirty(false);
    return true;
}

void DocumentWindow::show_nothing()
{
    clear_document();
    m_key.clear();
    m_taxes.clear();
    refresh_tax_panes();
    set_dirty(false);
}

bool DocumentWindow::go_last() { return show_found(last_document_key(*database(), m_kind)); }

bool DocumentWindow::go_first() { return show_found(first_document_key(*database(), m_kind)); }

bool DocumentWindow::show_found(const std::expected<std::optional<QString>, Error>& key)
{
    if (!key) {
        report(key.error());
        return false;
    }
    if (!*key) {
        show_nothing();
        return true;
    }
    return show_key(**key);
}

bool DocumentWindow::go_step(KeyStep step)
{
    const bool from_new = mode() == Mode::New || m_key.isEmpty();
    if (!settle_unsaved_work())
        return false;
    set_mode(Mode::Read);
    if (from_new)
        return go_last();
    auto key = neighbour_document_key(*database(), m_kind, m_key, step);
    if (!key) {
        report(key.error());
        return false;
    }
    // At either end the shown document stays (read again, as another user may have changed it).
    return show_key(*key ? **key : m_key);
}

bool DocumentWindow::refresh_record()
{
    if (!settle_unsaved_work())
        return false;
    set_mode(Mode::Read);
    return m_key.isEmpty() ? true : show_key(m_key);
}

bool DocumentWindow::copy_to_new()
{
    if (m_key.isEmpty() && mode() == Mode::Read)
        return false;
    if (mode() != Mode::Read) {
        if (!settle_unsaved_work())
            return false;
        set_mode(Mode::Read);
    }
    m_key.clear();
    set_field(NumberField, NewDocumentNumber);
    prepare_copy();
    set_mode(Mode::New);
    set_dirty(true);
    return true;
}

bool DocumentWindow::journal_record()
{
    const QString key = text_of(*this, QStringLiteral("GLFKEY"));
    if (key.isEmpty())
        return false;
    notify(QStringLiteral("G/L Ledger Review"), key, field(NumberField).trimmed());
    return true;
}

void DocumentWindow::show_stored_fields(const Row& header)
{
    for (const Field& field : fields()) {
        if (!field.declaration.pane.isEmpty() || !header.has(field.name()))
            continue;
        switch (field.kind()) {
        case FieldKind::Date: set_field_date(field.name(), header.date(field.name())); break;
        case FieldKind::Check: set_field(field.name(), check_text(header.flag(field.name()))); break;
        case FieldKind::Number:
            set_field(field.name(), header.is_null(field.name()) ? QString() : header.decimal(field.name()).format());
            break;
        default: set_field(field.name(), header.text(field.name())); break;
        }
    }
}

std::expected<std::optional<Row>, Error> DocumentWindow::stored_header_row(const QString& key)
{
    return database()->first(QStringLiteral("SELECT * FROM ") + m_kind.header_table + QStringLiteral(" WHERE fkey = ?"),
                             {key});
}

std::optional<Row> DocumentWindow::stored_header(const QString& failed)
{
    const QString number = field(NumberField).trimmed();
    auto header = stored_header_row(m_key);
    if (!header) {
        report(header.error(), failed.isEmpty() ? read_failed(number) : failed);
        return std::nullopt;
    }
    if (!*header) {
        message(QStringLiteral("Document no. ") + number + QStringLiteral(" not found"));
        return std::nullopt;
    }
    return **header;
}

void DocumentWindow::new_save_failed(const Error& error, const QString& failed)
{
    report(error, failed, Outcome::RolledBack);
    set_field(NumberField, NewDocumentNumber);
    m_key.clear();
}

void DocumentWindow::reset_header_fields()
{
    clear_document();
    m_key.clear();
    m_taxes.clear();
    set_field(NumberField, NewDocumentNumber);
}

bool DocumentWindow::enter_new_mode()
{
    if (!may_update())
        return false;
    m_key.clear();
    set_field(NumberField, NewDocumentNumber);
    set_dirty(false);
    set_mode(Mode::New);
    return true;
}

DocumentVersion DocumentWindow::shown_version() const
{
    return {m_kind.header_table, m_key, field(NumberField).trimmed(), m_version};
}

void DocumentWindow::remember_version(const Row& header) { m_version = header.integer(u"row_version"); }

// Saving ------------------------------------------------------------------------------------------

bool DocumentWindow::save_document()
{
    if (!may_update())
        return false;
    return mode() == Mode::New ? save_new() : save_edit();
}

// Commands ----------------------------------------------------------------------------------------

Entry DocumentWindow::check_field(const QString& name, const QString& previous)
{
    if (name == NumberField && field(name) != previous)
        display_by_number();
    return Entry::Accepted;
}

bool DocumentWindow::run_command(int id)
{
    switch (CommandId(id)) {
    case CommandId::Preview: return print_document();
    case CommandId::Print: return open_page_setup();
    case CommandId::CopyToNew: return copy_to_new();
    case CommandId::NextRecord: return go_step(KeyStep::Next);
    case CommandId::PreviousRecord: return go_step(KeyStep::Previous);
    case CommandId::FirstRecord:
    case CommandId::LastRecord:
        if (!settle_unsaved_work())
            return false;
        set_mode(Mode::Read);
        return CommandId(id) == CommandId::FirstRecord ? go_first() : go_last();
    case CommandId::RefreshRecord: return refresh_record();
    case CommandId::JournalRecord: return journal_record();
    case CommandId::AccountMaster:
    case CommandId::ItemMaster:
    case CommandId::VendorMaster:
    case CommandId::StockOnHand: notify_master(CommandId(id)); return true;
    case CommandId::WindowHelp:
    case CommandId::SystemHelp: return show_help(CommandId(id));
    case CommandId::StockByLocation:
    case CommandId::StockByItem: return toggle_stock_pane(CommandId(id));
    case CommandId::TaxDetails:
    case CommandId::TaxSummary: {
        const bool done = WindowModel::run_command(id);
        refresh_tax_panes();
        return done;
    }
    default: break;
    }
    return WindowModel::run_command(id);
}

bool DocumentWindow::command_applies_now(int id) const
{
    const bool shown = !m_key.isEmpty();
    switch (CommandId(id)) {
    case CommandId::Preview: return shown && mode() == Mode::Read;
    case CommandId::EditMode: return mode() == Mode::Edit || (shown && mode() == Mode::Read);
    case CommandId::CopyToNew: return shown || mode() != Mode::Read;
    default: return WindowModel::command_applies_now(id);
    }
}

void DocumentWindow::notify_master(CommandId id)
{
    const Grid& lines = line_grid();
    const int row = lines.current_row();
    auto line_value = [&](const QString& column) { return row >= 0 ? lines.cell(row, column).trimmed() : QString(); };
    switch (id) {
    case CommandId::AccountMaster: notify(QStringLiteral("Account Master"), line_value(LineAccount)); break;
    case CommandId::ItemMaster: notify(QStringLiteral("Item Master"), line_value(LineItemCode)); break;
    case CommandId::VendorMaster: notify(QStringLiteral("Vendor Master"), text_of(*this, QStringLiteral("vendor_no"))); break;
    default: notify(QStringLiteral("Stock on Hand")); break;
    }
}

bool DocumentWindow::show_help(CommandId id)
{
    const bool window_help = id == CommandId::WindowHelp;
    const QString file = window_help ? help_documents().window_file : QStringLiteral("Purchase Order System Help.pdf");
    const QString path = help_document_path(settings().ZELKOR_PATH, file);
    notify(QStringLiteral("pdf viewer"), path,
           window_help ? caption() + QStringLiteral(" Help") : QStringLiteral("Purchase Order Help"));
    return true;
}

// Panes -------------------------------------------------------------------------------------------

void DocumentWindow::declare_print_layout(const DocumentLayout& layout)
{
    DocumentLayout printed_by_this_window = layout;
    printed_by_this_window.form_name = class_name();
    declare_document_layout(printed_by_this_window);
    declare_command(PageSetupCommand);
}

bool DocumentWindow::open_page_setup()
{
    open_child_window(new Form_report_format(class_name()));
    return true;
}

void DocumentWindow::declare_tax_panes()
{
    const TaxPaneDeclaration detail = tax_detail_pane();
    const TaxPaneDeclaration summary = tax_summary_pane();
    declare_pane(detail.pane, detail.caption, PaneArea::Bottom, detail.command);
    Grid& detail_grid = declare_grid(detail.grid, {}, detail.columns, detail.pane);
    detail_grid.set_number_columns(
        {tax_detail_column::TaxableAmount, tax_detail_column::TaxRate, tax_detail_column::TaxAmount});
    declare_pane(summary.pane, summary.caption, PaneArea::Bottom, summary.command);
    Grid& summary_grid = declare_grid(summary.grid, {}, summary.columns, summary.pane);
    summary_grid.set_read_only(true);
    summary_grid.set_number_columns({tax_summary_column::TaxableAmount, tax_summary_column::TaxAmount,
                                     tax_summary_column::Recoverable, tax_summary_column::Allocated,
                                     tax_summary_column::Expensed});
    m_tax_panes = std::make_unique<TaxPanes>(detail_grid, summary_grid);
}

void DocumentWindow::declare_stock_panes(const QStringList& by_location_columns, const QStringList& by_item_columns)
{
    declare_pane(StockByLocationPane, "Stock by Warehouse/Location", PaneArea::Right, to_int(CommandId::StockByLocation));
    Grid& by_location = declare_grid("grid_stock_location", {}, by_location_columns, StockByLocationPane);
    by_location.set_read_only(true);
    by_location.set_number_columns(quantity_columns(by_location_columns));
    declare_pane(StockByItemPane, "Stock By Items", PaneArea::Right, to_int(CommandId::StockByItem));
    Grid& by_item = declare_grid("grid_stock_item", {}, by_item_columns, StockByItemPane);
    by_item.set_read_only(true);
    by_item.set_number_columns(quantity_columns(by_item_columns));
}

void DocumentWindow::declare_editing_commands()
{
    for (CommandId id : {CommandId::Preview, CommandId::New, CommandId::CopyToNew, CommandId::EditMode,
                         CommandId::InsertLine, CommandId::DeleteLine, CommandId::TaxDetails, CommandId::TaxSummary})
        declare_command(id);
}

void DocumentWindow::declare_browsing_commands()
{
    for (CommandId id : {CommandId::FirstRecord, CommandId::PreviousRecord, CommandId::NextRecord, CommandId::LastRecord,
                         CommandId::RefreshRecord})
        declare_command(id);
}

void DocumentWindow::declare_posting_record_commands()
{
    for (CommandId id : {CommandId::Exit, CommandId::Save, CommandId::Preview, CommandId::New, CommandId::EditMode,
                         CommandId::FirstRecord, CommandId::PreviousRecord, CommandId::NextRecord, CommandId::LastRecord,
                         CommandId::InsertLine, CommandId::DeleteLine})
        declare_command(id);
    declare_command(CommandId::JournalRecord, QStringLiteral("&G/L Record"));
}

void DocumentWindow::declare_master_and_help_commands(const QString& window_help_caption)
{
    for (CommandId id : {CommandId::AccountMaster, CommandId::ItemMaster, CommandId::VendorMaster,
                         CommandId::StockOnHand})
        declare_command(id);
    declare_command(CommandId::WindowHelp, window_help_caption);
    declare_command(CommandId::SystemHelp);
    declare_command(CommandId::ShowTextBelowIcon);
    for (int id = 401; id <= 408; ++id)
        declare_command(CommandId(id));
}

int DocumentWindow::current_line_number() const
{
    const Grid& lines = line_grid();
    const int row = lines.current_row();
    if (row < 0)
        return 0;
    bool whole = false;
    const int number = lines.cell(row, LineItemNo).trimmed().toInt(&whole);
    return whole && number > 0 ? number : 0;
}

bool DocumentWindow::pane_visible(const QString& name) const
{
    const Pane* pane = find_pane(name);
    return pane && pane->visible;
}

void DocumentWindow::refresh_tax_panes()
{
    if (!m_tax_panes)
        return;
    m_tax_panes->show_line(m_taxes, current_line_number());
    m_tax_panes->show_summary(m_taxes);
}

void DocumentWindow::refresh_stock_panes()
{
    if (!database())
        return;
    const Grid& lines = line_grid();
    if (pane_visible(StockByLocationPane)) {
        const int row = lines.current_row();
        const QString item = row >= 0 ? lines.cell(row, LineItemCode).trimmed() : QString();
        if (auto shown = show_stock_by_location(*database(), *grid(QStringLiteral("grid_stock_location")), item); !shown)
            report(shown.error());
    }
    if (pane_visible(StockByItemPane)) {
        if (auto shown = show_stock_by_items(*database(), *grid(QStringLiteral("grid_stock_item")), lines,
                                             text_of(*this, QStringLiteral("shipto")));
            !shown)
            report(shown.error());
    }
}

void DocumentWindow::refresh_history_panes(Grid& vendor_history, Grid& item_history)
{
    if (!database())
        return;
    const Grid& lines = line_grid();
    const int row = lines.current_row();
    auto shown = show_purchase_histories(*database(), pane_visible(QStringLiteral("vendor_history")) ? &vendor_history : nullptr,
                                         text_of(*this, QStringLiteral("vendor_no")),
                                         pane_visible(QStringLiteral("item_history")) ? &item_history : nullptr,
                                         row >= 0 ? lines.cell(row, LineItemCode).trimmed() : QString(),
                                         today().addMonths(-6));
    if (!shown)
        report(shown.error(), QStringLiteral("Reading the purchase history failed"));
}

bool DocumentWindow::toggle_stock_pane(CommandId id)
{
    WindowModel::run_command(to_int(id));
    refresh_stock_panes();
    return true;
}

} // namespace zelkor
