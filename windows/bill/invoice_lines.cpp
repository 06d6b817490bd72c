// The bill between the grid and the document: reading the header and the lines into a typed
// Bill, showing stored lines, and the footer totals.
#include "windows/bill/POform_invoice.h"

#include "documents/bill/bill_totals.h"
#include "documents/common/line_checks.h"
#include "windows/bill/invoice_columns.h"
#include "windows/document/document_lines.h"

namespace zelkor {

namespace {

namespace col = bill_column;

/// A number field as a save reads it: nothing when empty, `message` when it is not a number.
[[nodiscard]] std::expected<std::optional<Decimal>, Error> field_number(const QString& typed, const QString& message)
{
    if (typed.trimmed().isEmpty())
        return std::optional<Decimal>();
    const auto value = Decimal::parse(typed.trimmed());
    if (!value || value->is_overflow())
        return std::unexpected(Error::invalid(message));
    return value;
}

std::optional<int> number_cell(const Grid& grid, int row, QLatin1String column)
{
    bool whole = false;
    const int number = grid.cell(row, column).trimmed().toInt(&whole);
    return whole ? std::optional<int>(number) : std::nullopt;
}

} // namespace

std::expected<EnteredBillHeader, Error> POform_invoice::read_header() const
{
    EnteredBillHeader header;
    header.vendor_no = field("vendor_no").trimmed();
    header.docno = field("docno").trimmed() == NewDocumentNumber ? QString() : field("docno").trimmed();
    header.fkey = m_key;
    for (const char* date : {"invoice_date", "due_date", "rate_date", "check_date", "receipt_date"})
        if (auto typed = field_date(date); !typed)
            return std::unexpected(typed.error());
    header.invoice_date = field_date("invoice_date").value_or(QDate());
    if (!header.invoice_date.isValid())
        header.invoice_date = today();
    header.due_date = field_date("due_date").value_or(QDate());
    header.currency = field("currency").trimmed();
    if (!header.base_currency(settings().BASE_CURRENCY)) {
        auto rate = field_number(field("exchange_rate"), QStringLiteral("exchange rate is invalid."));
        if (!rate)
            return std::unexpected(rate.error());
        header.exchange_rate = *rate;
        header.rate_date = field_date("rate_date").value_or(QDate());
    }
    header.invoice_no = field("invoice_no").trimmed();
    header.multi_receipt = find_field("multi_receipt")->checked();
    header.receipt_no = header.multi_receipt ? QString() : field("receipt_no").trimmed();
    header.receipt_date = field_date("receipt_date").value_or(QDate());
    header.po_no = field("po_no").trimmed();
    header.remark = field("remark");
    header.reference = field("reference");
    auto prepayment = field_number(field("prepayment"), QStringLiteral("Prepayment is invalid."));
    auto percent = field_number(field("discount_percent"), QStringLiteral("please input numeric data"));
    auto discount = field_number(field("discount_amount"), QStringLiteral("please input numeric data"));
    for (const auto* number : {&prepayment, &percent, &discount})
        if (!*number)
            return std::unexpected(number->error());
    header.prepayment = *prepayment;
    header.prepayment_no = field("prepayment_no").trimmed();
    header.payby = field("payby").trimmed();
    header.cash_accno = field("cash_accno").trimmed();
    header.bank_code = field("bank_code").trimmed();
    header.check_no = field("check_no").trimmed();
    header.check_date = field_date("check_date").value_or(QDate());
    header.payment_term = field("payment_term").trimmed();
    header.discount_percent = *percent;
    header.discount_amount = *discount;
    header.fyear = field("fyear").trimmed();
    header.period = field("period").trimmed().toInt();
    return header;
}

std::expected<EnteredBill, Error> POform_invoice::read_bill() const
{
    auto header = read_header();
    if (!header)
        return std::unexpected(header.error());
    EnteredBill bill{*header, {}, tax_elements()};
    const Grid& grid = *m_lines;
    QString leading_text; // text typed above the first line begins that line's description
    for (int row = 0; row < grid.row_count(); ++row) {
        const QString code = grid.cell(row, col::ItemCode).trimmed();
        const QString shown = shown_value(code);
        auto quantity = saved_number(grid, row, col::Quantity, QStringLiteral("quantity is invalid."));
        auto unitcost = saved_number(grid, row, col::UnitCost, shown + QStringLiteral(" unit price is invalid."));
        auto extended = saved_number(grid, row, col::ExtendedCost, shown + QStringLiteral(" amount is invalid."));
        for (const auto* typed : {&quantity, &unitcost, &extended})
            if (!*typed)
                return std::unexpected(typed->error());
        const QString description = grid.cell(row, col::Description);
        if (code.isEmpty()) {
            if (*quantity || *unitcost || *extended)
                return std::unexpected(Error::invalid(missing_item_code(row + 1)));
            if (description.trimmed().isEmpty())
                continue;
            if (bill.lines.empty())
                leading_text += (leading_text.isEmpty() ? QString() : QStringLiteral("\n")) + description;
            else
                bill.lines.back().description += u'\n' + description;
            continue;
        }
        EnteredBillLine line;
        line.itemno = number_cell(grid, row, col::ItemNo).value_or(row + 1);
        line.itemcode = code;
        line.itemtype = grid.cell(row, col::ItemType).trimmed();
        line.description = leading_text.isEmpty() ? description : leading_text + u'\n' + description;
        leading_text.clear();
        line.vendor_itemcode = grid.cell(row, col::VendorItemCode).trimmed();
        line.warehouse = grid.cell(row, col::Warehouse).trimmed();
        line.location = grid.cell(row, col::Location).trimmed();
        line.uom_received = grid.cell(row, col::UomReceived).trimmed();
        line.complete = cell_checked(grid, row, col::Complete);
        line.quantity = *quantity;
        line.unitcost = *unitcost;
        line.extended_cost = *extended;
        line.net_cost = cell_amount(grid, row, col::NetCost);
        line.tax_amount = cell_amount(grid, row, col::TaxAmount);
        line.tax_allocate = cell_amount(grid, row, col::AllocatedTax);
        line.price_include_tax = cell_checked(grid, row, col::TaxIncluded);
        line.tax_code = grid.cell(row, col::TaxCode).trimmed();
        line.accno = grid.cell(row, col::Account).trimmed();
        line.expense = cell_checked(grid, row, col::Expense);
        line.receipt_no = grid.cell(row, col::ReceiptNo).trimmed();
        line.landed_item = cell_checked(grid, row, col::LandedItem);
        line.receipt_itemno = line.landed_item ? std::nullopt : number_cell(grid, row, col::ReceiptItemNo);
        line.receipt_landed_itemno = line.landed_item ? number_cell(grid, row, col::LandedItemNo) : std::nullopt;
        line.quantity_received = cell_amount(grid, row, col::QuantityReceived);
        line.quantity_billed = cell_amount(grid, row, col::QuantityBilled);
        line.rc_quantity_open = cell_amount(grid, row, col::QuantityOpen);
        line.quantity_cancel = cell_amount(grid, row, col::QuantityCanceled);
        line.unit_cost_received = cell_number(grid, row, col::UnitCostReceived);
        line.amount_received = cell_number(grid, row, col::AmountReceived);
        line.tax_amount_received = cell_amount(grid, row, col::TaxAmountReceived);
        line.tax_allocated_received = cell_amount(grid, row, col::AllocatedTaxReceived);
        line.include_tax_received = cell_checked(grid, row, col::IncludeTaxReceived);
        line.rate_received = cell_number(grid, row, col::RateReceived);
        line.pono = grid.cell(row, col::PoNo).trimmed();
        line.po_itemno = number_cell(grid, row, col::PoItemNo);
        line.po_uom = grid.cell(row, col::PoUom).trimmed();
        bill.lines.push_back(std::move(line));
    }
    return bill;
}

void POform_invoice::show_line(int row, const Row& line)
{
    auto set = [&](QLatin1String column, const QString& value) { m_lines->set_cell(row, column, value); };
    auto number = [&](QStringView column) { return line.is_null(column) ? QString() : line.text(column); };
    auto amount = [&](QStringView column) { return line.is_null(column) ? QString() : line.decimal(column).format(2); };
    auto quantity = [&](QStringView column) { return line.is_null(column) ? QString() : line.decimal(column).to_string(); };
    auto cost = [&](QStringView column) { return line.is_null(column) ? QString() : line.decimal(column).format_at_least(); };
    const bool landed = line.flag(u"landed_item");
    set(col::ItemNo, line.text(u"itemno"));
    set(col::ItemCode, line.text(u"itemcode"));
    set(col::ItemType, line.text(u"itemtype"));
    set(col::Complete, check_text(line.flag(u"complete")));
    set(col::Quantity, quantity(u"quantity"));
    set(col::ReceiptNo, line.text(u"receipt_no"));
    set(col::QuantityReceived, quantity(u"quantity_received"));
    set(col::QuantityOpen, quantity(u"rc_quantity_open"));
    set(col::UomReceived, line.text(u"uom_received"));
    set(col::AmountReceived, amount(u"amount_received"));
    set(col::ReceiptItemNo, number(u"receipt_itemno"));
    set(col::PoNo, line.text(u"PONO"));
    set(col::PoItemNo, number(u"po_itemno"));
    set(col::PoUom, line.text(u"po_uom"));
    set(col::UnitCost, cost(u"unitcost"));
    set(col::UnitCostReceived, cost(u"unit_cost_received"));
    set(col::ExtendedCost, amount(u"extended_cost"));
    set(col::TaxCode, line.text(u"tax_code"));
    set(col::TaxAmount, amount(u"tax_amount"));
    set(col::AllocatedTax, amount(u"tax_allocate"));
    set(col::NetCost, amount(u"net_cost"));
    set(col::TaxIncluded, check_text(line.flag(u"price_include_tax")));
    set(col::Account, line.text(u"accno"));
    set(col::AccountName, line.text(u"accname"));
    set(col::Warehouse, line.text(u"warehouse"));
    set(col::Location, line.text(u"location"));
    set(col::QuantityCanceled, quantity(u"quantity_cancel"));
    set(col::CreatedDate, line.date(u"date_created").toString(Qt::ISODate));
    set(col::CreatedTime, line.text(u"time_created"));
    set(col::ModifiedDate, line.date(u"date_lastmodified").toString(Qt::ISODate));
    set(col::ModifiedTime, line.text(u"time_lastmodified"));
    set(col::LandedItem, check_text(landed));
    set(col::LandedItemNo, number(u"receipt_landed_itemno"));
    set(col::TaxArrayNo, line.text(u"itemno"));
    set(col::ComputerId, line.text(u"computer_id"));
    set(col::Expense, check_text(line.flag(u"expense")));
    set(col::VendorItemCode, line.text(u"vendor_itemcode"));
    // Continuation lines of the description come back as rows of their own.
    const QStringList description = line.text(u"Description").split(u'\n');
    set(col::Description, description.value(0));
    for (const QString& text : description.mid(1))
        m_lines->set_cell(m_lines->append_row(), col::Description, text);
}

void POform_invoice::calculate_totals()
{
    std::vector<BillLineAmount> amounts;
    for (int row = 0; row < m_lines->row_count(); ++row)
        if (!m_lines->cell(row, col::ItemCode).trimmed().isEmpty())
            amounts.push_back({cell_amount(*m_lines, row, col::ExtendedCost), cell_amount(*m_lines, row, col::TaxAmount),
                               cell_checked(*m_lines, row, col::TaxIncluded)});
    const auto percent = Decimal::parse(field("discount_percent").trimmed());
    const auto discount = Decimal::parse(field("discount_amount").trimmed());
    const BillTotals totals = bill_totals(amounts, percent, discount, Decimal::parse(field("prepayment").trimmed()));
    set_field("subtotal", totals.subtotal.format(2));
    set_field("excluded_tax", totals.excluded_tax.format(2));
    set_field("total", totals.total.format(2));
    set_field("net_amount", totals.net_amount.format(2));
    if (percent)
        set_field("discount_amount", totals.discount.format(2));
    tax_panes().show_summary(taxes());
}

} // namespace zelkor
