// What the receipt's commands do: save, void, the bill hand-off, linked documents, printing and
// showing a stored receipt. Each asks its questions first, then runs one document routine.
#include "windows/receipt/POform_receipt.h"

#include "core/db/sql_names.h"
#include "documents/receipt/receipt_bill.h"
#include "documents/receipt/receipt_verify.h"
#include "ledger/ledger_accounts.h"
#include "windows/print/active_report.h"
#include "windows/receipt/receipt_columns.h"
#include "windows/receipt/receipt_print.h"


namespace zelkor {

namespace {

namespace col = receipt_column;
namespace landed = receipt_landed_column;

/// The print query of a receipt: header joined with its lines in line order, the vendor's name
/// and the payment term's from their masters. The receipt is named by a `docno = ?` placeholder
/// that the host binds from the report argument.
QString receipt_print_query()
{
    return QStringLiteral(
        "SELECT PO_receipt_header_table.docno, PO_receipt_header_table.vendor_no,"
        " PO_receipt_header_table.receipt_date AS receipt_date, Vendor_table.vendor_name AS vendor_name,"
        " PO_receipt_header_table.vendor_invoice_no, PO_receipt_header_table.vendor_invoice_date AS vendor_invoice_date,"
        " PO_receipt_header_table.invoice_docno, PO_receipt_header_table.pono, PO_receipt_header_table.currency,"
        " PO_receipt_header_table.exchange_rate, PO_receipt_header_table.rate_date AS rate_date,"
        " Payment_term_table.term_name AS payment_term, PO_receipt_header_table.payby, PO_receipt_header_table.prepayment,"
        " PO_receipt_header_table.paypreby, PO_receipt_header_table.prepayment_no, PO_receipt_header_table.bank_code,"
        " PO_receipt_header_table.cash_accno, PO_receipt_header_table.check_no,"
        " PO_receipt_header_table.check_date AS check_date, PO_receipt_header_table.discount_percent,"
        " PO_receipt_header_table.discount_amount, PO_receipt_header_table.shipvia, PO_receipt_header_table.remark,"
        " PO_receipt_header_table.reference, PO_receipt_header_table.fob_point, PO_receipt_header_table.period,"
        " PO_receipt_header_table.fyear, PO_receipt_header_table.ship_to_address, PO_receipt_header_table.vendor_address,"
        " PO_receipt_transaction_table.itemno, PO_receipt_transaction_table.landed_item,"
        " PO_receipt_transaction_table.itemcode, PO_receipt_transaction_table.itemtype,"
        " PO_receipt_transaction_table.description, PO_receipt_transaction_table.vendor_itemcode,"
        " PO_receipt_transaction_table.po_quantity_order, PO_receipt_transaction_table.quantity_received,"
        " PO_receipt_transaction_table.quantity_cancel, PO_receipt_transaction_table.uom,"
        " PO_receipt_transaction_table.unitcost, PO_receipt_transaction_table.extended_cost,"
        " PO_receipt_transaction_table.price_include_tax, PO_receipt_transaction_table.net_cost,"
        " PO_receipt_transaction_table.warehouse, PO_receipt_transaction_table.location,"
        " PO_receipt_transaction_table.expense, PO_receipt_transaction_table.accno, PO_receipt_transaction_table.tax_code,"
        " PO_receipt_transaction_table.tax_amount, PO_receipt_transaction_table.tax_allocate"
        " FROM ((PO_receipt_header_table INNER JOIN PO_receipt_transaction_table"
        " ON PO_receipt_header_table.fkey = PO_receipt_transaction_table.fkey)"
        " LEFT JOIN Vendor_table ON Vendor_table.vendor_no = PO_receipt_header_table.vendor_no)"
        " LEFT JOIN Payment_term_table ON Payment_term_table.term_no = PO_receipt_header_table.payment_term"
        " WHERE PO_receipt_header_table.company = 1 AND PO_receipt_header_table.docno = ?"
        " ORDER BY PO_receipt_transaction_table.itemno");
}

const QString WasVoid = QStringLiteral("Receipt was void.");

} // namespace

bool POform_receipt::run_command(int id)
{
    switch (id) {
    case to_int(CommandId::DeleteLine): return delete_current_line();
    case to_int(CommandId::Void): return void_document();
    case to_int(Command::EnterBill): return enter_bill();
    case to_int(Command::IcRecord):
    case to_int(Command::PoRecord): return linked_document(Command(id));
    case to_int(Command::ApRecord):
    case to_int(Command::LandedApRecord):
    case to_int(Command::BillRecord): return payable_record(Command(id));
    case to_int(Command::ReceiptStockItemOnly): {
        set_command_checked(id, !find_command(id)->checked);
        // The order list and the pick grid follow the option.
        if (mode() == Mode::New && !field("vendor_no").trimmed().isEmpty()) {
            load_order_list();
            m_order_lines->clear();
            if (!field("pono").trimmed().isEmpty())
                load_order_lines();
        }
        return true;
    }
    default: break;
    }
    const bool done = DocumentWindow::run_command(id);
    if (done)
        refresh_panes();
    return done;
}

// Saving ------------------------------------------------------------------------------------------

std::expected<Receipt, Error> POform_receipt::checked_receipt(Mode saving)
{
    if (field("receipt_date").trimmed().isEmpty())
        set_field_date("receipt_date", today());
    for (const char* date : {"receipt_date", "rate_date"})
        if (auto typed = field_date(date); !typed)
            return std::unexpected(typed.error());
    renumber_lines();
    auto receipt = read_receipt();
    if (!receipt)
        return receipt;
    if (auto checked = verify_receipt_header(db(), *receipt, {saving == Mode::New, settings().BASE_CURRENCY}, m_lists);
        !checked)
        return std::unexpected(checked.error());
    set_field("vendor_address", receipt->header.vendor_address);
    if (auto checked = verify_receipt_lines(db(), receipt->lines, m_lists); !checked)
        return std::unexpected(checked.error());
    if (auto checked = verify_order_line_places(receipt->lines); !checked)
        return std::unexpected(checked.error());
    if (auto checked = verify_landed_lines(db(), *receipt, m_lists); !checked)
        return std::unexpected(checked.error());
    if (auto checked = verify_bill_at_receipt(db(), *receipt); !checked)
        return std::unexpected(checked.error());
    calculate_totals();
    return receipt;
}

std::expected<bool, Error> POform_receipt::confirm_quantities(const Receipt& receipt, ReceiptSaving& saving)
{
    std::set<OrderLineKey> keys;
    for (const ReceiptLine& line : receipt.lines)
        if (line.against_order())
            keys.insert({line.po_key, *line.po_itemno});
    auto orders = read_order_lines(db(), keys);
    if (!orders)
        return std::unexpected(orders.error());
    std::vector<ReceiptLine> stored;
    if (mode() == Mode::Edit) {
        auto lines = stored_receipt_lines(db(), m_key);
        if (!lines)
            return std::unexpected(lines.error());
        stored = std::move(*lines);
    }
    auto warnings = capacity_warnings(db(), receipt.lines, stored);
    if (!warnings)
        return std::unexpected(warnings.error());
    for (const ReceiptQuestion& question : order_line_questions(receipt.lines, *orders, stored)) {
        const bool yes = question.kind == ReceiptQuestion::Kind::YesNo ? ask_yes_no(question.text)
                                                                       : prompter().ask_ok_cancel(question.text, caption());
        if (!yes)
            return false;
    }
    // Stock beyond a warehouse's capacity is only a warning.
    for (const QString& warning : *warnings)
        message(warning);
    saving.orders_seen = std::move(*orders);
    return true;
}

bool POform_receipt::save(Mode saving_mode)
{
    const QString failed = saving_mode == Mode::New ? QStringLiteral("Add new receipt failed") : QStringLiteral("update failed");
    auto receipt = checked_receipt(saving_mode);
    auto accounts = receipt ? receipt_accounts(db()) : std::unexpected(receipt.error());
    if (!accounts) {
        report(accounts.error(), failed);
        return false;
    }
    ReceiptSaving saving{*accounts, {}, audit_stamp(settings().ZELKOR_USER)};
    auto confirmed = confirm_quantities(*receipt, saving);
    if (!confirmed)
        report(confirmed.error(), failed);
    if (!confirmed || !*confirmed)
        return false;
    if (auto shown = show_waiting_prepayments(*receipt); !shown) {
        report(shown.error(), failed);
        return false;
    }
    if (saving_mode == Mode::Edit) {
        if (auto saved = update_receipt(db(), *receipt, shown_version(), saving); !saved) {
            report(saved.error(), failed, Outcome::RolledBack);
            return false;
        }
        show_key(m_key);
        message(QStringLiteral("update complete"));
        return true;
    }
    auto saved = insert_new_receipt(db(), *receipt, saving);
    if (!saved) {
        new_save_failed(saved.error(), failed);
        return false;
    }
    message(QStringLiteral("Add new Receipt no. ") + saved->docno + QStringLiteral(" complete"));
    show_key(saved->fkey);
    return true;
}

bool POform_receipt::save_new() { return save(Mode::New); }

bool POform_receipt::save_edit() { return save(Mode::Edit); }

// Void and hand-offs --------------------------------------------------------------------------------

bool POform_receipt::void_document()
{
    const QString number = field("docno");
    if (m_key.isEmpty() || mode() == Mode::New || !may_update())
        return false;
    if (find_field("void")->checked())
        return refuse(number + QStringLiteral(" was void."));
    if (find_field("billed")->checked())
        return refuse(number + QStringLiteral(" was billed. You need to void bill first."));
    const QString failed = QStringLiteral("Void receipt failed");
    if (!stored_header(failed))
        return false;
    if (!ask_yes_no(QStringLiteral("Are you sure to void this receipt?"), QStringLiteral("Void Receipt")))
        return false;
    if (auto voided = void_receipt(db(), shown_version(), audit_stamp(settings().ZELKOR_USER)); !voided) {
        report(voided.error(), failed, Outcome::RolledBack);
        return false;
    }
    set_mode(Mode::Read);
    show_key(m_key);
    message(QStringLiteral("Receipt ") + number + QStringLiteral(" is void."));
    return true;
}

bool POform_receipt::enter_bill()
{
    if (m_key.isEmpty() || mode() == Mode::New || !may_update())
        return false;
    if (find_field("void")->checked())
        return refuse(WasVoid);
    if (find_field("fully_billed")->checked())
        return refuse(QStringLiteral("Receipt was fully invoiced."));
    // Another user may have voided or billed it since it was shown.
    auto stored = db().first(QStringLiteral("SELECT void, fully_billed FROM PO_receipt_header_table WHERE fkey = ?"), {m_key});
    if (!stored) {
        report(stored.error(), read_failed(field("docno")));
        return false;
    }
    if (!*stored)
        return refuse(QStringLiteral("Document no. ") + field("docno") + QStringLiteral(" not found"));
    if ((*stored)->flag(u"void")) {
        set_field("void", check_text(true));
        return refuse(WasVoid);
    }
    if ((*stored)->flag(u"fully_billed")) {
        set_field("billed", check_text(true));
        set_field("fully_billed", check_text(true));
        return refuse(QStringLiteral("Receipt was fully billed."));
    }
    notify(QStringLiteral("Invoice This Receipt"), field("docno"));
    return true;
}

bool POform_receipt::linked_document(Command id)
{
    const QString number = field("docno").trimmed();
    if (id == Command::IcRecord) {
        if (field("icfkey").isEmpty())
            return false;
        notify(QStringLiteral("Inventory Receipts"), field("icfkey"), number);
        return true;
    }
    const int row = m_lines->current_row();
    const QString order = row >= 0 && !m_lines->cell(row, col::PoNo).isEmpty() ? m_lines->cell(row, col::PoNo)
                                                                               : field("pono").trimmed();
    if (order.isEmpty())
        return false;
    notify(QStringLiteral("Purchase Order"), order);
    return true;
}

bool POform_receipt::payable_record(Command id)
{
    const QString number = field("docno").trimmed();
    if (id == Command::BillRecord) {
        if (field("invoice_docno").isEmpty())
            return false;
        notify(QStringLiteral("P/O Bill Entry"), field("invoice_docno"), number);
        return true;
    }
    QString key = field("apfkey");
    if (id == Command::LandedApRecord) {
        const int row = m_landed->current_row();
        key = row >= 0 ? m_landed->cell(row, landed::PayableKey) : QString();
    }
    if (key.isEmpty())
        return false;
    notify(QStringLiteral("Bill Entry"), key, number);
    return true;
}

std::expected<void, Error> POform_receipt::show_waiting_prepayments(const Receipt& receipt)
{
    const ReceiptHeader& header = receipt.header;
    QSet<QString> orders;
    for (const ReceiptLine& line : receipt.lines)
        if (!line.pono.isEmpty())
            orders.insert(line.pono);
    if (orders.isEmpty())
        return {};
    // The vendor's prepayments only: order numbers of another year's numbering may repeat.
    Params params{header.vendor_no};
    params.insert(params.end(), orders.begin(), orders.end());
    auto rows = db().select(QStringLiteral("SELECT w.po_no, w.prepayment_no, w.amount FROM Prepayment_waiting_PO_table w"
                                           " INNER JOIN Payment_header_table p ON p.fkey = w.prepayment_fkey"
                                           " WHERE w.company = 1 AND p.vendor_no = ? AND w.po_no IN (")
                                + placeholder_list(qsizetype(orders.size())) + QStringLiteral(") ORDER BY w.po_no, w.prepayment_no"),
                            params);
    if (!rows)
        return std::unexpected(rows.error());
    QStringList waiting;
    for (const Row& row : *rows)
        if (row.text(u"prepayment_no") != header.prepayment_no.trimmed())
            waiting << row.text(u"prepayment_no") + QStringLiteral("  ") + row.decimal(u"amount").format(2)
                    + QStringLiteral("  PO ") + row.text(u"po_no");
    if (!waiting.isEmpty())
        message(QStringLiteral("Prepayment waiting for this PO:") + QChar(10) + waiting.join(QChar(10)));
    return {};
}

bool POform_receipt::print_document()
{
    if (m_key.isEmpty() || mode() != Mode::Read)
        return false;
    notify(QStringLiteral("ActiveReport"), receipt_print_query(),
           active_report_argument(ReceiptReportTitle, field("docno")));
    return true;
}

// Showing -----------------------------------------------------------------------------------------

std::expected<bool, Error> POform_receipt::load_document(const QString& key)
{
    auto stored = read_stored_document(key, QStringLiteral("SELECT * FROM PO_receipt_transaction_table WHERE fkey = ?"
                                                           " AND landed_item = FALSE ORDER BY itemno"));
    if (!stored)
        return std::unexpected(stored.error());
    if (!*stored)
        return false;
    const Row& header = (*stored)->header;
    set_mode(Mode::Read);
    clear_document();
    m_order_lines->clear();
    m_key = key;
    show_stored_fields(header);
    for (const char* name : {"ship_to_address", "vendor_address", "GLFKEY", "icfkey", "apfkey", "invoice_docno"})
        set_field(name, header.text(QString::fromLatin1(name)));
    set_field("fully_billed", check_text(header.flag(u"fully_billed")));
    remember_version(header);
    for (const Row& line : (*stored)->lines)
        show_line(m_lines->append_row(), line);
    m_landed->clear();
    m_landed_taxes.clear();
    auto landed = db().select(QStringLiteral("SELECT * FROM PO_receipt_transaction_table WHERE fkey = ? AND landed_item = TRUE"
                                             " ORDER BY itemno"),
                              {key});
    if (!landed)
        return std::unexpected(landed.error());
    m_saved_landed_lines.clear();
    for (const Row& line : *landed) {
        show_landed_line(m_landed->append_row(), line);
        m_saved_landed_lines.insert(int(line.integer(u"itemno")));
    }
    set_new_document_fields(true);
    calculate_totals();
    refresh_panes();
    return true;
}

void POform_receipt::refresh_panes()
{
    refresh_tax_panes();
    refresh_history_panes(*m_vendor_history, *m_item_history);
    refresh_stock_panes();
}

} // namespace zelkor
