// What the bill's commands do: the checks of a save, the records and documents a bill links to,
// the panes, printing and showing a stored bill.
#include "windows/bill/POform_invoice.h"

#include "core/audit_stamp.h"
#include "documents/bill/bill_edit.h"
#include "documents/bill/bill_save.h"
#include "documents/bill/bill_totals.h"
#include "documents/bill/bill_verify.h"
#include "documents/bill/bill_void.h"
#include "windows/bill/invoice_columns.h"
#include "windows/bill/invoice_print.h"

namespace zelkor {

namespace {

namespace col = bill_column;

} // namespace

bool POform_invoice::run_command(int id)
{
    switch (id) {
    case to_int(Command::IcRecord):
    case to_int(Command::ApRecord):
    case to_int(Command::PoRecord):
    case to_int(Command::ReceiptRecord): return linked_document(Command(id));
    case to_int(Command::ReceiptWindow):
    case to_int(Command::PoWindow): return show_document_pane(Command(id));
    case to_int(Command::ReceiptHistory):
    case to_int(Command::InvoiceHistory):
        WindowModel::run_command(id);
        refresh_histories();
        return true;
    default: return BillingWindow::run_command(id);
    }
}

// Saving ------------------------------------------------------------------------------------------

std::expected<CheckedBill, Error> POform_invoice::checked_bill()
{
    renumber_lines();
    calculate_totals();
    auto bill = read_bill();
    if (!bill)
        return std::unexpected(bill.error());
    const BillChecks checks{mode() == Mode::Edit ? BillChecks::Saving::Edit : BillChecks::Saving::New,
                            settings().BASE_CURRENCY, m_stored_rate};
    auto accounts = verify_bill(db(), *bill, checks, m_lists);
    if (!accounts)
        return std::unexpected(accounts.error());
    set_field("payby", bill->header.payby);
    return CheckedBill{std::move(*bill), std::move(*accounts)};
}

bool POform_invoice::save(Mode saving)
{
    const QString failed = saving == Mode::New ? QStringLiteral("Add new invoice failed") : QStringLiteral("Update bill failed");
    auto checked = checked_bill();
    if (!checked) {
        report(checked.error(), failed);
        return false;
    }
    // Asked before the save holds any lock; the save refuses a line whose open quantity moved since.
    for (const QString& question : overbilling_questions(checked->bill))
        if (!prompter().ask_ok_cancel(question, caption())) {
            message(failed);
            return false;
        }
    return saving == Mode::New ? write_new(*checked) : write_edited(*checked);
}

bool POform_invoice::write_new(const CheckedBill& checked)
{
    auto saved = save_new_bill(db(), checked, audit_stamp(settings().ZELKOR_USER));
    if (!saved) {
        new_save_failed(saved.error(), QStringLiteral("Add new invoice failed"));
        return false;
    }
    message(QStringLiteral("Add new invoice ") + saved->docno + QStringLiteral(" complete"));
    show_key(saved->fkey);
    return true;
}

bool POform_invoice::write_edited(const CheckedBill& checked)
{
    const QString number = field("docno").trimmed();
    auto saved = save_edited_bill(db(), checked, shown_version(), audit_stamp(settings().ZELKOR_USER));
    return report_edit(saved ? std::expected<void, Error>() : std::unexpected(saved.error()), number);
}

bool POform_invoice::save_new() { return save(Mode::New); }

bool POform_invoice::save_edit() { return save(Mode::Edit); }

bool POform_invoice::void_document()
{
    return void_bill([this](const AuditStamp& stamp) { return void_shown_bill(db(), shown_version(), stamp); });
}

// Linked records and panes ------------------------------------------------------------------------

bool POform_invoice::linked_document(Command id)
{
    const int row = m_lines->current_row();
    auto of_line = [&](QLatin1String column, const char* header) {
        const QString value = row >= 0 ? m_lines->cell(row, column).trimmed() : QString();
        return value.isEmpty() ? field(header).trimmed() : value;
    };
    switch (id) {
    case Command::IcRecord: return show_inventory_record();
    case Command::ApRecord: {
        if (m_key.isEmpty())
            return false;
        // A bill paid in cash at once leaves no payable open to show.
        const bool prepaid = Decimal::parse(field("prepayment").trimmed()).value_or(Decimal()) > Decimal();
        if (field("payby") == PayCash && !prepaid)
            return refuse(QStringLiteral("The invoice was paid by cash"));
        return show_payable_record();
    }
    case Command::PoRecord: {
        const QString order = of_line(col::PoNo, "po_no");
        if (order.isEmpty())
            return false;
        notify(QStringLiteral("Purchase Order"), order);
        return true;
    }
    case Command::ReceiptRecord: {
        const QString receipt = of_line(col::ReceiptNo, "receipt_no");
        if (receipt.isEmpty())
            return false;
        notify(QStringLiteral("Receipt Entry"), receipt);
        return true;
    }
    default: return false;
    }
}

bool POform_invoice::show_document_pane(Command id)
{
    const QString pane = id == Command::ReceiptWindow ? QStringLiteral("receipt") : QStringLiteral("order");
    if (!pane_visible(pane) && field("vendor_no").trimmed().isEmpty())
        return refuse(QStringLiteral("Please specify vendor"));
    WindowModel::run_command(to_int(id));
    refresh_histories();
    return true;
}

bool POform_invoice::print_document() { return print_bill(BillReportTitle); }

bool POform_invoice::on_row_activated(Grid& grid, int row)
{
    if (&grid == m_receipt_lines)
        return take_receipt_line(row);
    if (&grid == m_order_lines)
        return take_order_line(row);
    if (&grid == m_receipt_history)
        return take_history_receipt(row);
    return false;
}

// Showing -----------------------------------------------------------------------------------------

std::expected<bool, Error> POform_invoice::load_document(const QString& key)
{
    auto stored = read_stored_bill(key);
    if (!stored)
        return std::unexpected(stored.error());
    if (!*stored)
        return false;
    const Row& header = (*stored)->header;
    auto vendor = db().first(QStringLiteral("SELECT Address, tax_code FROM Vendor_table WHERE vendor_no = ?"),
                             {header.text(u"vendor_no")});
    if (!vendor)
        return std::unexpected(vendor.error());
    set_mode(Mode::Read);
    clear_document();
    for (Grid* pane : {m_receipt_lines, m_landed_lines, m_landed_taxes, m_order_lines})
        pane->clear();
    m_landed_tax.clear();
    m_key = key;
    show_stored_fields(header);
    show_posting_keys(header);
    set_field("vendor_address", *vendor ? (*vendor)->text(u"Address") : QString());
    m_vendor_tax_code = *vendor ? (*vendor)->text(u"tax_code") : QString();
    m_vendor_shown = header.text(u"vendor_no");
    set_field_date("receipt_history_from", today().addMonths(-6));
    set_field_date("invoice_history_from", today().addMonths(-6));
    remember_version(header);
    for (const Row& line : (*stored)->lines)
        show_line(m_lines->append_row(), line);
    set_posted_fields_editable(true);
    lock_payment_fields();
    calculate_totals();
    refresh_panes();
    refresh_histories();
    return true;
}

void POform_invoice::refresh_panes()
{
    refresh_tax_panes();
    show_landed_taxes();
}

} // namespace zelkor
