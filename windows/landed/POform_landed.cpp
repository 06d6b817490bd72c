#include "windows/landed/POform_landed.h"

#include "core/db/value_limits.h"
#include "core/master_lookups.h"
#include "payables/payables.h"
#include "windows/landed/landed_columns.h"
#include "windows/landed/landed_print.h"

#include <array>

namespace zelkor {

namespace {

namespace col = landed_column;
namespace rc = landed_receipt_column;

const QStringList LineColumns{col::ItemNo,    col::ItemCode,     col::Description, col::Quantity, col::Uom,
                              col::UnitCost,  col::ExtendedCost, col::TaxCode,     col::TaxIncluded,
                              col::TaxAmount, col::AllocatedTax, col::NetCost,     col::Expense,  col::Account,
                              col::AccountName, col::ItemType};

const QStringList ReceiptColumns{rc::ReceiptNo, rc::ReceiptDate, rc::PoNo, rc::Currency, rc::Total};

/// What a landed bill keeps of its vendors, date, currency and period once it has posted them,
/// and the prepayment an edit does not pay again.
const QStringList PostedFields{"vendor_no", "vendor_name", "primary_vendor", "invoice_date", "currency", "period",
                               "fyear", "prepayment", "prepayment_no"};


using C = POform_landed::Command;
constexpr auto View = menus::View;

/// The landed-cost bill's commands after the posting documents' common ones, in menu order.
constexpr std::array LandedCommands{
    shared(CommandId::TaxDetails),
    shared(CommandId::TaxSummary),
    shared(CommandId::Void, "&Void Bill"),
    shared(CommandId::RefreshRecord),
    CommandSpec{to_int(C::Receipt), "Receipt", View, true, Right::None, Checkable::Yes},
    CommandSpec{to_int(C::IcRecord), "&I/C Record", View},
    CommandSpec{to_int(C::ApRecord), "&A/P Record", View},
    CommandSpec{to_int(C::PoRecord), "&P/O Record", View},
    CommandSpec{to_int(C::ReceiptRecord), "&Receipt Record", View},
    shared(CommandId::AccountMaster),
    shared(CommandId::ItemMaster),
    shared(CommandId::VendorMaster),
};

} // namespace

DocumentKind landed_bills() { return {QStringLiteral("PO_invoice_header_table"), QStringLiteral("ld")}; }

POform_landed::POform_landed(QObject* parent)
    : BillingWindow(QStringLiteral("POform_landed"), LandedSourceForm, landed_bills(), QStringLiteral("invoice_date"),
                       col::Quantity, parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    set_line_unit(col::Uom, QStringLiteral("Invalid uom"));
    declare_field({"docno", "Bill no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Charge vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"invoice_no", "Vendor invoice no", K::Text, 1});
    declare_field({"invoice_date", "Bill date", K::Date, 1});
    declare_field({"due_date", "Due date", K::Date, 1});
    declare_field({"period", "Period", K::DropDown, 1});
    declare_field({"fyear", "Fiscal year", K::DropDown, 1});
    declare_field({"currency", "Currency", K::DropDown, 2});
    declare_field({"exchange_rate", "Rate", K::DropDown, 2});
    declare_field({"rate_date", "Rate date", K::Date, 2});
    declare_field({"payment_term", "Payment term", K::DropDown, 2});
    declare_field({"payby", "Pay by", K::DropDown, 3});
    declare_field({"cash_accno", "Cash account", K::DropDown, 3});
    declare_field({"bank_code", "Bank", K::DropDown, 3});
    declare_field({"check_no", "Check no", K::Text, 3});
    declare_field({"check_date", "Check date", K::Date, 3});
    declare_field({"prepayment", "Prepayment", K::Number, 4});
    declare_field({"prepayment_no", "Prepayment no", K::Text, 4});
    declare_field({"discount_percent", "Discount %", K::Number, 4});
    declare_field({"discount_amount", "Discount", K::Number, 4});
    declare_field({"primary_vendor", "Goods vendor", K::DropDown, 5});
    declare_field({"receipt_no", "Receipt no", K::DropDown, 5});
    declare_field({"multi_receipt", "Multiple receipts", K::Check, 5});
    declare_field({"remark", "Remark", K::MultiLine, 6});
    declare_field({"printed", "Printed", K::Check, 7, {}, true});
    declare_field({"paid", "Paid", K::Check, 7, {}, true});
    declare_field({"void", "Void", K::Check, 7, {}, true});
    declare_field({"subtotal", "Sub total", K::Number, 8, {}, true});
    declare_field({"excluded_tax", "Tax", K::Number, 8, {}, true});
    declare_field({"total", "Total", K::Number, 8, {}, true});
    declare_field({"net_amount", "Net", K::Number, 8, {}, true});

    m_lines = &declare_grid("dbgrid1", {}, LineColumns);
    for (QLatin1String kept : {col::ItemNo, col::TaxAmount, col::AllocatedTax, col::NetCost, col::AccountName, col::ItemType})
        m_lines->set_column_read_only(m_lines->required_column(kept), true);
    m_lines->set_column_hidden(m_lines->required_column(col::ItemType), true);
    for (QLatin1String check : {col::TaxIncluded, col::Expense})
        m_lines->set_column_kind(m_lines->required_column(check), FieldKind::Check);
    m_lines->set_number_columns({col::Quantity, col::UnitCost, col::ExtendedCost, col::TaxAmount, col::AllocatedTax,
                                 col::NetCost});

    declare_pane("receipt", "Receipt", PaneArea::Right, to_int(Command::Receipt));
    declare_field({"receipt_from", "From", K::Date, 0, "receipt", false, open});
    m_vendor_receipts = &declare_grid("dbgridrc", "RECEIPT DOCUMENT", ReceiptColumns, "receipt");
    m_vendor_receipts->set_read_only(true);
    m_vendor_receipts->set_number_columns({rc::Total});
    declare_pane("covered", "Receipts covered", PaneArea::Right);
    m_covered = &declare_grid("dbgrid_receipts", "Receipts covered", {rc::ReceiptNo}, "covered");
    declare_tax_panes();
    declare_print_layout(landed_document_layout());
    // The keys of what the bill posted: kept with the document, never shown.
    declare_pane("linked_documents", "Linked documents", PaneArea::Right);
    for (const char* key : {"GLFKEY", "icfkey", "apfkey"})
        declare_field({key, key, K::Text, 0, "linked_documents", true});

    declare_posting_record_commands();
    declare_commands(LandedCommands);
    set_field("docno", NewDocumentNumber);
}

POform_landed::~POform_landed() = default;

std::expected<void, Error> POform_landed::load_window_lists()
{
    if (auto periods = load_period_lists(); !periods)
        return periods;
    if (auto payments = load_payment_lists(); !payments)
        return payments;
    auto charges = Choices::load(db(), pick_lists::charge());
    if (!charges)
        return std::unexpected(charges.error());
    m_lines->set_column_choices(m_lines->required_column(col::ItemCode), std::move(*charges));
    set_field_choices("primary_vendor", m_lists.vendors);
    return {};
}

// Modes -------------------------------------------------------------------------------------------

void POform_landed::reset_header_fields()
{
    const QString vendor = field("vendor_no");
    DocumentWindow::reset_header_fields();
    m_vendor_receipts->clear();
    m_covered->clear();
    m_vendor_tax_code.clear();
    set_field_date("receipt_from", today().addMonths(-6));
    set_bill_defaults();
    set_field("vendor_no", vendor);
    if (vendor.isEmpty() || PurchasingWindow::vendor_chosen() != Entry::Accepted)
        show_rates();
    set_posted_fields_editable(true);
    lock_payment_fields();
    m_lines->append_row();
    m_covered->append_row();
    calculate_totals();
}

void POform_landed::set_posted_fields_editable(bool editable)
{
    for (const QString& name : PostedFields)
        set_field_read_only(name, !editable);
}

bool POform_landed::begin_new()
{
    set_field("vendor_no", QString());
    reset_header_fields();
    return true;
}

bool POform_landed::begin_edit()
{
    if (!editable_bill_header())
        return false;
    keep_shown_taxes();
    set_posted_fields_editable(false);
    m_lines->append_row();
    m_covered->append_row();
    return true;
}

// Header fields -----------------------------------------------------------------------------------

Entry POform_landed::check_field(const QString& name, const QString& previous)
{
    if (field(name) == previous && name != u"receipt_no")
        return Entry::Accepted;
    if (name == u"invoice_date") {
        const Entry entry = period_follows_date();
        return entry == Entry::Accepted ? term_chosen() : entry;
    }
    if (name == u"vendor_no") {
        const Entry entry = PurchasingWindow::check_field(name, previous);
        return entry == Entry::Accepted ? term_chosen() : entry;
    }
    if (name == u"primary_vendor")
        return goods_vendor_chosen();
    if (name == u"receipt_no")
        return receipt_chosen();
    if (name == u"multi_receipt")
        return multiple_receipts_chosen();
    if (name == u"receipt_from") {
        if (date_typed(name) != Entry::Accepted)
            return Entry::Refused;
        list_vendor_receipts();
        return Entry::Accepted;
    }
    if (auto payment = check_payment_field(name, previous))
        return *payment;
    return PurchasingWindow::check_field(name, previous);
}

Entry POform_landed::goods_vendor_chosen()
{
    const QString vendor = field("primary_vendor").trimmed();
    if (!vendor.isEmpty() && m_lists.vendors.find(vendor) < 0)
        return refuse_entry(QStringLiteral("vendor is invalid."));
    // Receipts belong to their vendor: another goods vendor takes them away.
    set_field("receipt_no", QString());
    m_covered->clear();
    m_covered->append_row();
    list_vendor_receipts();
    return Entry::Accepted;
}

void POform_landed::list_vendor_receipts()
{
    m_vendor_receipts->clear();
    const QString vendor = field("primary_vendor").trimmed();
    const QDate from = field_date("receipt_from").value_or(QDate());
    if (!database() || vendor.isEmpty())
        return;
    auto rows = db().select(QStringLiteral("SELECT * FROM (SELECT * FROM PO_receipt_header_table WHERE company = 1"
                                           " AND vendor_no = ?) AS r WHERE receipt_date >= ? AND void = FALSE"
                                           " ORDER BY id DESC"),
                            {vendor, from.isValid() ? from : QDate(1900, 1, 1)});
    if (!rows) {
        report(rows.error(), QStringLiteral("Reading the receipts of ") + vendor + QStringLiteral(" failed"));
        return;
    }
    Choices numbers;
    for (const Row& row : *rows) {
        const int at = m_vendor_receipts->append_row();
        m_vendor_receipts->set_cell(at, rc::ReceiptNo, row.text(u"docno"));
        m_vendor_receipts->set_cell(at, rc::ReceiptDate, format_user_date(row.date(u"receipt_date"), settings().ZELKOR_DATE_FORMAT));
        m_vendor_receipts->set_cell(at, rc::PoNo, row.text(u"pono"));
        m_vendor_receipts->set_cell(at, rc::Currency, row.text(u"currency"));
        m_vendor_receipts->set_cell(at, rc::Total, row.decimal(u"total").format(2));
        numbers.rows.push_back({row.text(u"docno")});
    }
    set_field_choices("receipt_no", numbers);
}

Entry POform_landed::receipt_chosen()
{
    const QString receipt = field("receipt_no").trimmed();
    if (receipt.isEmpty())
        return Entry::Accepted;
    if (find_field("receipt_no")->choices.find(receipt) < 0)
        return refuse_entry(receipt + QStringLiteral(" is invalid."));
    return Entry::Accepted;
}

bool POform_landed::take_receipt(int row)
{
    if (mode() == Mode::Read || row < 0 || row >= m_vendor_receipts->row_count())
        return false;
    const QString receipt = m_vendor_receipts->cell(row, rc::ReceiptNo);
    if (!find_field("multi_receipt")->checked()) {
        set_field("receipt_no", receipt);
        return true;
    }
    if (chosen_receipts().contains(receipt))
        return true;
    int at = -1;
    for (int line = 0; line < m_covered->row_count() && at < 0; ++line)
        if (m_covered->cell(line, rc::ReceiptNo).trimmed().isEmpty())
            at = line;
    if (at < 0)
        at = m_covered->append_row();
    m_covered->set_cell(at, rc::ReceiptNo, receipt);
    return true;
}

void POform_landed::calculate_totals()
{
    Decimal subtotal;
    Decimal excluded_tax;
    for (int row = 0; row < m_lines->row_count(); ++row) {
        if (m_lines->cell(row, col::ItemCode).trimmed().isEmpty())
            continue;
        subtotal += cell_number(*m_lines, row, col::ExtendedCost).value_or(Decimal());
        if (!cell_checked(*m_lines, row, col::TaxIncluded))
            excluded_tax += cell_number(*m_lines, row, col::TaxAmount).value_or(Decimal());
    }
    const Decimal total = (subtotal + excluded_tax).round2();
    if (const auto percent = Decimal::parse(field("discount_percent").trimmed()))
        set_field("discount_amount", (total * *percent / Decimal(100)).round2().format(2));
    const Decimal discount = parse_amount(field("discount_amount").trimmed()).value_or(Decimal()).round2();
    const Decimal prepayment = parse_amount(field("prepayment").trimmed()).value_or(Decimal()).round2();
    set_field("subtotal", subtotal.round2().format(2));
    set_field("excluded_tax", excluded_tax.round2().format(2));
    set_field("total", total.format(2));
    set_field("net_amount", (total - discount - prepayment).format(2));
}

} // namespace zelkor
