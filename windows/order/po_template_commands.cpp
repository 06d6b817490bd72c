// The order window's templates (a named order to start new orders from) and its reorder
// suggestions (the stock items short at the ship-to warehouse).
#include "windows/order/POform_po.h"

#include "documents/common/line_checks.h"
#include "windows/document/reorder_lines.h"
#include "windows/order/po_columns.h"

namespace zelkor {

namespace {

namespace col = po_column;

const QString TemplateField = QStringLiteral("template");
const QString OrderCaption = QStringLiteral("Purchase Order");
const QString DeleteFailed = QStringLiteral("Delete template failed.");

} // namespace

// Template modes ------------------------------------------------------------------------------

void POform_po::start_template_work(TemplateWork work)
{
    m_template_work = work;
    set_caption(work == TemplateWork::New ? QStringLiteral("New Template") : QStringLiteral("Edit Template"));
    set_command_checked(to_int(Command::NewTemplate), work == TemplateWork::New);
    set_command_checked(to_int(Command::EditTemplate), work == TemplateWork::Edit);
}

void POform_po::leave_template_work()
{
    if (m_template_work == TemplateWork::None)
        return;
    m_template_work = TemplateWork::None;
    set_caption(OrderCaption);
    set_command_checked(to_int(Command::NewTemplate), false);
    set_command_checked(to_int(Command::EditTemplate), false);
}

void POform_po::reload_templates()
{
    auto templates = Choices::query(db(), QStringLiteral("SELECT docno, remark FROM PO_header_template_table ORDER BY docno"),
                                    {QStringLiteral("Template"), QStringLiteral("Remark")});
    if (!templates) {
        report(templates.error(), QStringLiteral("Reading the templates failed"));
        return;
    }
    set_field_choices(TemplateField, std::move(*templates));
}

bool POform_po::new_template()
{
    const bool leaving = m_template_work == TemplateWork::New;
    if (!settle_unsaved_work()) {
        set_command_checked(to_int(Command::NewTemplate), m_template_work == TemplateWork::New);
        return false;
    }
    set_mode(Mode::Read);
    if (leaving)
        return true;
    reset_header_fields();
    set_field(TemplateField, QString());
    set_mode(Mode::New);
    start_template_work(TemplateWork::New);
    set_dirty(false);
    return true;
}

bool POform_po::copy_to_new_template()
{
    if (mode() != Mode::Read) {
        if (!settle_unsaved_work())
            return false;
        set_mode(Mode::Read);
    }
    m_key.clear();
    set_field("docno", NewDocumentNumber);
    set_field(TemplateField, QString());
    prepare_copy();
    set_mode(Mode::New);
    start_template_work(TemplateWork::New);
    set_dirty(true);
    return true;
}

bool POform_po::edit_template()
{
    // Leaving, as "&Edit mode" leaves an order's edit: the template stays shown.
    if (m_template_work == TemplateWork::Edit) {
        if (!settle_unsaved_work()) {
            set_command_checked(to_int(Command::EditTemplate), true);
            return false;
        }
        set_mode(Mode::Read);
        return true;
    }
    const QString name = field(TemplateField).trimmed();
    auto stored = name.isEmpty() ? std::expected<std::optional<StoredTemplate>, Error>() : read_template(db(), name);
    if (!stored) {
        report(stored.error(), QStringLiteral("Reading template ") + shown_value(name) + QStringLiteral(" failed"));
        return false;
    }
    if (!*stored)
        return refuse(QStringLiteral("No template available."));
    if (!settle_unsaved_work())
        return false;
    set_mode(Mode::Read);
    show_template(**stored);
    set_field(TemplateField, name);
    // Leaving the edit unsaved puts these elements back with the shown lines.
    keep_shown_taxes();
    set_mode(Mode::Edit);
    start_template_work(TemplateWork::Edit);
    set_dirty(false);
    return true;
}

bool POform_po::remove_template()
{
    const QString name = field(TemplateField).trimmed();
    auto exists = name.isEmpty() ? std::expected<bool, Error>(false) : template_exists(db(), name);
    if (!exists) {
        report(exists.error(), DeleteFailed);
        return false;
    }
    if (!*exists)
        return refuse(QStringLiteral("No template available."));
    if (!ask_yes_no(QStringLiteral("Are you sure to delete template ") + shown_value(name) + u'?',
                    QStringLiteral("Delete Template")))
        return false;
    // Work in progress is settled (saved or given up) as any leaving of a mode does.
    if (!settle_unsaved_work())
        return false;
    // A failed delete leaves the window as the clerk had it.
    if (auto removed = delete_template(db(), name); !removed) {
        report(removed.error(), DeleteFailed, Outcome::RolledBack);
        return false;
    }
    set_mode(Mode::Read);
    reload_templates();
    set_field(TemplateField, QString());
    message(QStringLiteral("Template ") + shown_value(name) + QStringLiteral(" is deleted."));
    return go_last();
}

bool POform_po::save_as_template()
{
    if (mode() != Mode::Read)
        return refuse(QStringLiteral("This command is working in read mode."));
    if (m_key.isEmpty() || !may_update())
        return false;
    const auto typed = prompter().prompt(QStringLiteral("Template Name"), caption());
    const QString name = typed ? without_control_characters(*typed, TextLines::Single).trimmed() : QString();
    if (name.isEmpty())
        return false;
    auto exists = template_exists(db(), name);
    if (!exists) {
        report(exists.error(), QStringLiteral("Add new template failed."));
        return false;
    }
    if (*exists
        && !ask_yes_no(QStringLiteral("Template ") + shown_value(name) + QStringLiteral(" exist. Do you want to replace it?")))
        return false;
    if (auto saved = save_order_as_template(db(), m_key, name, audit_stamp(settings().ZELKOR_USER)); !saved) {
        report(saved.error(), QStringLiteral("Add new template failed."), Outcome::RolledBack);
        return false;
    }
    reload_templates();
    message(QStringLiteral("Add new template complete"));
    return true;
}

// Saving templates ----------------------------------------------------------------------------

std::expected<Order, Error> POform_po::checked_template()
{
    renumber_lines();
    auto order = read_order();
    if (!order)
        return order;
    if (order->lines.empty())
        return std::unexpected(Error::invalid(QStringLiteral("No detail line")));
    if (order->header.currency.isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("please specify currency")));
    if (order->header.payment_term.isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("please specify payment term")));
    if (auto checked = verify_lines_values(order->lines, m_lists); !checked)
        return std::unexpected(checked.error());
    return order;
}

bool POform_po::save_new_template()
{
    const QString failed = QStringLiteral("Add new template failed.");
    const QString name = field(TemplateField).trimmed();
    if (name.isEmpty())
        return refuse(QStringLiteral("please specify template name"));
    auto order = checked_template();
    if (!order) {
        report(order.error(), failed);
        return false;
    }
    auto exists = template_exists(db(), name);
    if (!exists) {
        report(exists.error(), failed);
        return false;
    }
    if (*exists)
        return refuse(QStringLiteral("Template ") + shown_value(name) + QStringLiteral(" exist."));
    if (auto saved = insert_new_template(db(), name, *order, audit_stamp(settings().ZELKOR_USER)); !saved) {
        // Another clerk may have saved a template of this name since the check: say so.
        if (auto taken = template_exists(db(), name); taken && *taken)
            return refuse(QStringLiteral("Template ") + shown_value(name) + QStringLiteral(" exist."));
        report(saved.error(), failed, Outcome::RolledBack);
        return false;
    }
    reload_templates();
    set_field(TemplateField, name);
    message(QStringLiteral("Add new template ") + shown_value(name) + QStringLiteral(" complete."));
    return true;
}

bool POform_po::save_edited_template()
{
    const QString failed = QStringLiteral("Update failed.");
    const QString name = field(TemplateField).trimmed();
    auto order = checked_template();
    if (!order) {
        report(order.error(), failed);
        return false;
    }
    if (auto saved = update_template(db(), name, *order, audit_stamp(settings().ZELKOR_USER)); !saved) {
        report(saved.error(), failed, Outcome::RolledBack);
        return false;
    }
    reload_templates();
    message(QStringLiteral("Update template ") + shown_value(name) + QStringLiteral(" complete"));
    return true;
}

// Loading a template ----------------------------------------------------------------------------

Entry POform_po::template_chosen()
{
    // While a new template is written the box holds its name.
    if (m_template_work == TemplateWork::New)
        return Entry::Accepted;
    const QString name = field(TemplateField).trimmed();
    if (name.isEmpty())
        return Entry::Accepted;
    auto stored = read_template(db(), name);
    if (!stored) {
        report(stored.error(), QStringLiteral("Reading template ") + shown_value(name) + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    if (!*stored) {
        message(QStringLiteral("No template available."));
        return Entry::Refused;
    }
    // A chosen template starts a new order.
    if (mode() == Mode::Read && !enter_new_mode())
        return Entry::Refused;
    show_template(**stored);
    set_field(TemplateField, name);
    set_dirty(false);
    return Entry::Accepted;
}

void POform_po::show_template(const StoredTemplate& stored)
{
    const Row& header = stored.header;
    reset_header_fields();
    if (!header.text(u"vendor_no").isEmpty()) {
        set_field("vendor_no", header.text(u"vendor_no"));
        if (vendor_chosen() != Entry::Accepted)
            set_field("vendor_no", QString());
    }
    for (const char* name : {"shipto", "payment_term", "contact_person", "phone", "fax", "requested_user", "currency",
                             "shipvia", "remark", "delivery_instruction", "fob_point"})
        set_field(name, header.text(QString::fromLatin1(name)));
    shipto_chosen();
    show_rates();
    m_lines->clear();
    for (const Row& line : stored.lines) {
        const int row = m_lines->append_row();
        show_shared_columns(row, line);
        m_lines->set_cell(row, col::QuantityOpen, m_lines->cell(row, col::QuantityOrder));
    }
    // The template's tax elements are computed again: rates may have changed since it was kept.
    for (int row = 0; row < m_lines->row_count(); ++row)
        if (!m_lines->cell(row, col::ItemNo).trimmed().isEmpty())
            recompute_line_tax(row);
    calculate_totals();
    m_lines->append_row();
    refresh_panes();
}

// Reorder suggestions ---------------------------------------------------------------------------

bool POform_po::propose_reorders()
{
    auto proposed = read_reorder_lines(db(), mode() == Mode::New, field("shipto"), m_vendor_tax_code);
    if (!proposed) {
        report(proposed.error(), QStringLiteral("Reading the stock items to reorder failed"));
        return false;
    }
    if (proposed->tax_code_missing)
        report(*proposed->tax_code_missing);
    fill_reorder_lines(*m_lines, taxes(), *proposed, {col::QuantityOrder, col::QuantityOpen}, ShownTax::Elements);
    calculate_totals();
    set_dirty(true);
    refresh_panes();
    return true;
}

} // namespace zelkor
