// What the landed bill's commands do: the checks and the question of a save, the void, the
// records and documents a landed bill links to, printing and showing a stored bill.
#include "windows/landed/POform_landed.h"

#include "core/audit_stamp.h"
#include "core/master_lookups.h"
#include "windows/landed/landed_columns.h"

namespace zelkor {

namespace {

namespace rc = landed_receipt_column;

} // namespace

bool POform_landed::run_command(int id)
{
    switch (id) {
    case to_int(Command::IcRecord):
    case to_int(Command::ApRecord):
    case to_int(Command::PoRecord):
    case to_int(Command::ReceiptRecord): return linked_document(Command(id));
    case to_int(Command::Receipt):
        if (!pane_visible(QStringLiteral("receipt")) && field("primary_vendor").trimmed().isEmpty())
            return refuse(QStringLiteral("Please specify goods vendor"));
        WindowModel::run_command(id);
        list_vendor_receipts();
        return true;
    default: return BillingWindow::run_command(id);
    }
}

// Saving ------------------------------------------------------------------------------------------

std::expected<CheckedLanded, Error> POform_landed::checked_bill()
{
    renumber_lines();
    calculate_totals();
    auto typed = read_bill();
    if (!typed)
        return std::unexpected(typed.error());
    auto checked = verify_landed(db(), *typed, settings().BASE_CURRENCY, m_lists);
    if (!checked)
        return std::unexpected(checked.error());
    set_field("payby", checked->landed.bill.header.payby);
    return checked;
}

bool POform_landed::save(Mode saving)
{
    const QString failed = saving == Mode::New ? QStringLiteral("Add new landed bill failed") : QStringLiteral("Update bill failed");
    auto checked = checked_bill();
    if (!checked) {
        report(checked.error(), failed);
        return false;
    }
    if (checked->landed.receipts.isEmpty()
        && !ask_yes_no(QStringLiteral("None of receipt is specified. All landed cost item will be expensed.") + QChar(10)
                       + QStringLiteral("Press Yes if you want to continue or No if you want to specify receipt number.")))
        return false;
    const AuditStamp stamp = audit_stamp(settings().ZELKOR_USER);
    if (saving == Mode::Edit)
        return report_edit(update_landed_bill(db(), shown_version(), checked->landed, checked->accounts, stamp),
                           field("docno").trimmed());
    auto saved = save_new_landed_bill(db(), checked->landed, checked->accounts, stamp);
    if (!saved) {
        new_save_failed(saved.error(), failed);
        return false;
    }
    message(QStringLiteral("Add new landed bill ") + saved->docno + QStringLiteral(" complete"));
    show_key(saved->fkey);
    return true;
}

bool POform_landed::save_new() { return save(Mode::New); }

bool POform_landed::save_edit() { return save(Mode::Edit); }

bool POform_landed::void_document()
{
    return void_bill([this](const AuditStamp& stamp) -> std::expected<void, Error> {
        auto variance = required_parameter(db(), Parameter::PurchaseVariance);
        if (!variance)
            return std::unexpected(variance.error());
        return void_landed_bill(db(), shown_version(), *variance, stamp);
    });
}

// Linked records ----------------------------------------------------------------------------------

bool POform_landed::linked_document(Command id)
{
    // The receipt chosen in the pane, else the bill's own (the first of several).
    const int pane_row = m_vendor_receipts->current_row();
    QString receipt = pane_row >= 0 ? m_vendor_receipts->cell(pane_row, rc::ReceiptNo) : QString();
    if (receipt.isEmpty() && !chosen_receipts().isEmpty())
        receipt = chosen_receipts().front();
    switch (id) {
    case Command::IcRecord: return show_inventory_record();
    case Command::ApRecord: return show_payable_record();
    case Command::PoRecord: {
        if (receipt.isEmpty())
            return false;
        auto order = db().scalar(QStringLiteral("SELECT pono FROM PO_receipt_header_table WHERE company = 1 AND docno = ?"),
                                 {receipt});
        if (!order) {
            report(order.error(), QStringLiteral("Reading receipt ") + receipt + QStringLiteral(" failed"));
            return false;
        }
        if (Row::to_text(*order).isEmpty())
            return false;
        notify(QStringLiteral("Purchase Order"), Row::to_text(*order));
        return true;
    }
    case Command::ReceiptRecord:
        if (receipt.isEmpty())
            return false;
        notify(QStringLiteral("Receipt Entry"), receipt);
        return true;
    default: return false;
    }
}

bool POform_landed::print_document() { return print_bill(LandedSourceForm); }

bool POform_landed::on_row_activated(Grid& grid, int row)
{
    if (&grid == m_vendor_receipts)
        return take_receipt(row);
    return false;
}

// Showing -----------------------------------------------------------------------------------------

std::expected<bool, Error> POform_landed::load_document(const QString& key)
{
    auto stored = read_stored_bill(key);
    if (!stored)
        return std::unexpected(stored.error());
    if (!*stored)
        return false;
    const Row& header = (*stored)->header;
    set_mode(Mode::Read);
    clear_document();
    m_key = key;
    show_stored_fields(header);
    show_posting_keys(header);
    set_field_date("receipt_from", header.date(u"invoice_date").addMonths(-6));
    remember_version(header);
    for (const Row& line : (*stored)->lines)
        show_line(m_lines->append_row(), line);
    if (auto covered = show_covered_receipts(header.text(u"docno")); !covered)
        return std::unexpected(covered.error());
    list_vendor_receipts();
    set_posted_fields_editable(true);
    lock_payment_fields();
    calculate_totals();
    refresh_tax_panes();
    return true;
}

} // namespace zelkor
