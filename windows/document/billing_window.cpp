#include "windows/document/billing_window.h"

#include "core/db/value_limits.h"
#include "core/fiscal_periods.h"
#include "core/master_lookups.h"
#include "payables/payables.h"
#include "windows/print/active_report.h"
#include "windows/print/bill_print.h"

namespace zelkor {

namespace {

/// The payment fields each pay-by uses.
bool uses_field(const QString& payby, const QString& field)
{
    if (field == u"cash_accno")
        return payby == PayByCash;
    if (field == u"bank_code")
        return payby == PayByCash || payby == PayByCheck;
    return payby == PayByCheck; // check_no, check_date
}

} // namespace

std::optional<Entry> BillingWindow::check_payment_field(const QString& name, const QString& previous)
{
    if (name == u"payment_term") {
        const Entry entry = PurchasingWindow::check_field(name, previous);
        return entry == Entry::Accepted ? term_chosen() : entry;
    }
    if (name == u"due_date" || name == u"check_date")
        return date_typed(name);
    if (name == u"payby")
        return payby_chosen();
    if (name == u"cash_accno")
        return choice_typed(name, find_field(name)->choices, QStringLiteral("cash account is invalid."));
    if (name == u"bank_code")
        return choice_typed(name, find_field(name)->choices,
                            QStringLiteral("Bank code ") + shown_value(field(name).trimmed()) + QStringLiteral(" is invalid."));
    if (name == u"discount_percent" || name == u"discount_amount")
        return discount_typed(name);
    if (name == u"prepayment")
        return prepayment_typed();
    return std::nullopt;
}

std::expected<void, Error> BillingWindow::load_payment_lists()
{
    auto cards = Choices::query(db(), QStringLiteral("SELECT card_name FROM Credit_card_master_table"
                                                     " WHERE used = TRUE ORDER BY card_name"));
    auto cash = cards ? Choices::load(db(), pick_lists::cash_account()) : std::unexpected(cards.error());
    auto banks = cash ? Choices::load(db(), pick_lists::bank()) : std::unexpected(cash.error());
    if (!banks)
        return std::unexpected(banks.error());
    Choices payby = Choices::of({PayLater, PayByCash, PayByCheck});
    for (const QStringList& card : cards->rows)
        payby.rows.push_back(card);
    set_field_choices("payby", payby);
    set_field_choices("cash_accno", *cash);
    set_field_choices("bank_code", *banks);
    return {};
}

Entry BillingWindow::term_chosen()
{
    const QString term = field("payment_term").trimmed();
    const QDate date = field_date("invoice_date").value_or(QDate());
    if (!database() || term.isEmpty() || !date.isValid())
        return Entry::Accepted;
    auto days = db().first(QStringLiteral("SELECT duedays FROM Payment_term_table WHERE term_no = ?"), {term});
    if (!days) {
        report(days.error(), QStringLiteral("Reading payment term ") + term + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    if (!*days || term == u"00")
        set_field("due_date", QString());
    else
        set_field_date("due_date", date.addDays((*days)->integer(u"duedays")));
    return Entry::Accepted;
}

Entry BillingWindow::payby_chosen()
{
    if (field("payby").trimmed().isEmpty())
        set_field("payby", PayLater);
    if (choice_typed("payby", find_field("payby")->choices, QStringLiteral("Pay by is invalid.")) != Entry::Accepted)
        return Entry::Refused;
    for (const char* name : {"cash_accno", "bank_code", "check_no", "check_date"})
        if (!uses_field(field("payby"), QString::fromLatin1(name)))
            set_field(name, QString());
    lock_payment_fields();
    return Entry::Accepted;
}

void BillingWindow::lock_payment_fields()
{
    for (const char* name : {"cash_accno", "bank_code", "check_no", "check_date"})
        set_field_read_only(name, !uses_field(field("payby"), QString::fromLatin1(name)));
}

Entry BillingWindow::discount_typed(const QString& name)
{
    const QString typed = field(name).trimmed();
    if (typed.isEmpty()) {
        calculate_totals();
        return Entry::Accepted;
    }
    const auto value = Decimal::parse(typed);
    const NumberColumn column = name == u"discount_amount" ? NumberColumn::Money : NumberColumn::Rate;
    if (!value || column_problem(*value, column))
        return refuse_entry(QStringLiteral("please input numeric data"));
    if (name == u"discount_amount" && value->is_negative())
        return refuse_entry(QStringLiteral("discount amount must be positive"));
    // The percent is stored to four decimals.
    if (name == u"discount_percent" && (value->is_negative() || *value > Decimal(100) || value->round(4) != *value))
        return refuse_entry(QStringLiteral("discount percent is invalid."));
    // A percent decides the amount; an amount typed over it stands on its own.
    if (name == u"discount_amount")
        set_field("discount_percent", QString());
    calculate_totals();
    return Entry::Accepted;
}

Entry BillingWindow::prepayment_typed()
{
    const QString typed = field("prepayment").trimmed();
    if (!typed.isEmpty()) {
        const auto value = Decimal::parse(typed);
        if (!value || column_problem(*value, NumberColumn::Money))
            return refuse_entry(QStringLiteral("prepayment is invalid."));
        if (value->is_negative())
            return refuse_entry(QStringLiteral("Prepayment must be positive"));
    }
    calculate_totals();
    return Entry::Accepted;
}

bool BillingWindow::run_command(int id)
{
    if (id == to_int(CommandId::Void))
        return void_document();
    if (id == to_int(CommandId::DeleteLine)) {
        if (!delete_current_line())
            return false;
        refresh_panes();
        return true;
    }
    const bool done = DocumentWindow::run_command(id);
    if (done)
        refresh_panes();
    return done;
}

void BillingWindow::set_bill_defaults()
{
    set_field_date("invoice_date", today());
    period_follows_date();
    set_field("payby", PayLater);
    set_field("currency", settings().BASE_CURRENCY);
}

Entry BillingWindow::multiple_receipts_chosen()
{
    if (find_field("multi_receipt")->checked())
        set_field("receipt_no", QString());
    return Entry::Accepted;
}

bool BillingWindow::refused_as_paid(const Row& header)
{
    const QString number = field("docno").trimmed();
    if (header.flag(u"fully_paid"))
        return !refuse(number + QStringLiteral(" was paid."));
    if (header.flag(u"paid"))
        return !refuse(number + QStringLiteral(" was partially paid."));
    return false;
}

std::optional<Row> BillingWindow::editable_bill_header()
{
    if (m_key.isEmpty())
        return std::nullopt;
    std::optional<Row> header = stored_header();
    if (!header)
        return std::nullopt;
    if (header->flag(u"void")) {
        refuse(field("docno").trimmed() + QStringLiteral(" was void."));
        return std::nullopt;
    }
    if (refused_as_paid(*header))
        return std::nullopt;
    if (auto open = check_working_period(db(), {header->text(u"fyear"), int(header->integer(u"period"))}); !open) {
        report(open.error());
        return std::nullopt;
    }
    return header;
}

std::expected<std::optional<PurchasingWindow::StoredDocument>, Error> BillingWindow::read_stored_bill(const QString& key)
{
    return read_stored_document(key, QStringLiteral("SELECT l.*, a.accname FROM PO_invoice_transaction_table l"
                                                    " LEFT JOIN Account_master_table a ON a.accno = l.accno"
                                                    " WHERE l.fkey = ? ORDER BY l.itemno"));
}

void BillingWindow::show_posting_keys(const Row& header)
{
    for (const char* name : {"GLFKEY", "icfkey", "apfkey"})
        set_field(name, header.text(QString::fromLatin1(name)));
}

bool BillingWindow::show_inventory_record()
{
    if (m_key.isEmpty())
        return false;
    if (field("icfkey").isEmpty())
        return refuse(QStringLiteral("No Inventory Adjustment created from this bill."));
    notify(QStringLiteral("Inventory Adjustments"), field("icfkey"), field("docno").trimmed());
    return true;
}

bool BillingWindow::show_payable_record()
{
    if (m_key.isEmpty() || field("apfkey").isEmpty())
        return false;
    notify(QStringLiteral("Bill Entry"), field("apfkey"), field("docno").trimmed());
    return true;
}

bool BillingWindow::print_bill(const QString& title)
{
    if (m_key.isEmpty() || mode() != Mode::Read)
        return false;
    notify(QStringLiteral("ActiveReport"), bill_print_query(), active_report_argument(title, field("docno")));
    return true;
}

bool BillingWindow::report_edit(const std::expected<void, Error>& saved, const QString& number)
{
    if (!saved) {
        report(saved.error(), QStringLiteral("Update bill failed"), Outcome::RolledBack);
        return false;
    }
    message(QStringLiteral("Update bill ") + number + QStringLiteral(" complete"));
    show_key(m_key);
    return true;
}

bool BillingWindow::void_bill(const VoidRoutine& void_it)
{
    const QString number = field("docno").trimmed();
    const QString failed = QStringLiteral("Void invoice failed");
    if (m_key.isEmpty() || mode() == Mode::New || !may_update())
        return false;
    if (find_field("void")->checked())
        return refuse(number + QStringLiteral(" was void"));
    const std::optional<Row> header = stored_header(failed);
    if (!header)
        return false;
    if (header->flag(u"void")) {
        set_field("void", check_text(true));
        return refuse(number + QStringLiteral(" was void"));
    }
    if (refused_as_paid(*header) || !ask_yes_no(QStringLiteral("Are you sure to void this bill?"), QStringLiteral("Void Bill")))
        return false;
    if (auto voided = void_it(audit_stamp(settings().ZELKOR_USER)); !voided) {
        report(voided.error(), failed, Outcome::RolledBack);
        return false;
    }
    show_key(m_key);
    message(QStringLiteral("Document no. ") + number + QStringLiteral(" is void."));
    return true;
}

} // namespace zelkor
