// The landed bill between the window and the document: the typed bill read from the header and
// the charge grid, stored charges and covered receipts shown.
#include "windows/landed/POform_landed.h"

#include "documents/common/line_checks.h"
#include "windows/landed/landed_columns.h"

#include <algorithm>
#include <array>

namespace zelkor {

namespace {

namespace col = landed_column;
namespace rc = landed_receipt_column;

} // namespace

QStringList POform_landed::chosen_receipts() const
{
    if (!find_field("multi_receipt")->checked()) {
        const QString receipt = field("receipt_no").trimmed();
        return receipt.isEmpty() ? QStringList() : QStringList{receipt};
    }
    QStringList receipts;
    for (int row = 0; row < m_covered->row_count(); ++row)
        if (const QString receipt = m_covered->cell(row, rc::ReceiptNo).trimmed(); !receipt.isEmpty())
            receipts << receipt;
    return receipts;
}

std::expected<TypedLanded, Error> POform_landed::read_bill() const
{
    TypedLanded typed;
    BillHeader& header = typed.header;
    for (const char* date : {"invoice_date", "due_date", "rate_date", "check_date"})
        if (auto read = field_date(date); !read)
            return std::unexpected(read.error());
    header.doctype = QStringLiteral("ld");
    header.vendor_no = field("vendor_no").trimmed();
    header.primary_vendor = field("primary_vendor").trimmed();
    header.invoice_date = field_date("invoice_date").value_or(QDate());
    if (!header.invoice_date.isValid())
        header.invoice_date = today();
    header.due_date = field_date("due_date").value_or(QDate());
    header.currency = field("currency").trimmed();
    if (const QString rate = field("exchange_rate").trimmed(); !rate.isEmpty()) {
        const auto value = Decimal::parse(rate);
        header.exchange_rate = value ? *value : Decimal(-1);
    }
    header.rate_date = field_date("rate_date").value_or(QDate());
    header.invoice_no = field("invoice_no").trimmed();
    header.multi_receipt = find_field("multi_receipt")->checked();
    header.receipt_no = header.multi_receipt ? QString() : field("receipt_no").trimmed();
    header.remark = field("remark");
    header.payby = field("payby").trimmed();
    header.cash_accno = field("cash_accno").trimmed();
    header.bank_code = field("bank_code").trimmed();
    header.check_no = field("check_no").trimmed();
    header.check_date = field_date("check_date").value_or(QDate());
    header.payment_term = field("payment_term").trimmed();
    header.discount_percent = Decimal::parse(field("discount_percent").trimmed());
    header.prepayment_no = field("prepayment_no").trimmed();
    header.period = {field("fyear").trimmed(), field("period").trimmed().toInt()};
    header.source_form = LandedSourceForm;
    typed.key = m_key;
    typed.prepayment = field("prepayment").trimmed();
    typed.discount_amount = field("discount_amount").trimmed();
    typed.receipts = chosen_receipts();
    typed.taxes = tax_elements();
    const Grid& grid = *m_lines;
    for (int row = 0; row < grid.row_count(); ++row) {
        const QString code = grid.cell(row, col::ItemCode).trimmed();
        // A row with nothing typed is the grid's empty row; one with an amount but no charge is
        // handed on, for the save to refuse.
        if (code.isEmpty()
            && std::ranges::all_of(std::array{col::Quantity, col::UnitCost, col::ExtendedCost},
                                   [&](QLatin1String column) { return grid.cell(row, column).trimmed().isEmpty(); }))
            continue;
        TypedCharge charge;
        charge.itemno = grid.cell(row, col::ItemNo).trimmed().toInt();
        if (code.isEmpty())
            charge.itemno = row + 1; // the refusal names the row the clerk sees
        charge.itemcode = code;
        charge.description = grid.cell(row, col::Description);
        charge.quantity = grid.cell(row, col::Quantity).trimmed();
        charge.uom = grid.cell(row, col::Uom).trimmed();
        charge.unitcost = grid.cell(row, col::UnitCost).trimmed();
        charge.extended_cost = grid.cell(row, col::ExtendedCost).trimmed();
        charge.tax_code = grid.cell(row, col::TaxCode).trimmed();
        charge.tax_included = cell_checked(grid, row, col::TaxIncluded);
        charge.tax_amount = cell_number(grid, row, col::TaxAmount).value_or(Decimal());
        charge.tax_allocate = cell_number(grid, row, col::AllocatedTax).value_or(Decimal());
        charge.net_cost = cell_number(grid, row, col::NetCost).value_or(Decimal());
        charge.expense = cell_checked(grid, row, col::Expense);
        charge.accno = grid.cell(row, col::Account).trimmed();
        typed.charges.push_back(std::move(charge));
    }
    return typed;
}

void POform_landed::show_line(int row, const Row& line)
{
    Grid& grid = *m_lines;
    grid.set_cell(row, col::ItemNo, QString::number(line.integer(u"itemno")));
    grid.set_cell(row, col::ItemCode, line.text(u"itemcode"));
    grid.set_cell(row, col::ItemType, line.text(u"itemtype"));
    grid.set_cell(row, col::Description, line.text(u"Description"));
    grid.set_cell(row, col::Quantity, line.decimal(u"quantity").to_string());
    grid.set_cell(row, col::Uom, line.text(u"uom_received"));
    grid.set_cell(row, col::UnitCost, line.decimal(u"unitcost").format_at_least());
    grid.set_cell(row, col::ExtendedCost, line.decimal(u"extended_cost").format(2));
    grid.set_cell(row, col::TaxCode, line.text(u"tax_code"));
    grid.set_cell(row, col::TaxIncluded, check_text(line.flag(u"price_include_tax")));
    grid.set_cell(row, col::TaxAmount, line.decimal(u"tax_amount").format(2));
    grid.set_cell(row, col::AllocatedTax, line.decimal(u"tax_allocate").format(2));
    grid.set_cell(row, col::NetCost, line.decimal(u"net_cost").format(2));
    grid.set_cell(row, col::Expense, check_text(line.flag(u"expense")));
    grid.set_cell(row, col::Account, line.text(u"accno"));
    grid.set_cell(row, col::AccountName, line.text(u"accname"));
}

std::expected<void, Error> POform_landed::show_covered_receipts(const QString& number)
{
    m_covered->clear();
    auto rows = db().select(QStringLiteral("SELECT receipt_no FROM PO_landed_multi_receipt_table WHERE docno = ?"
                                           " ORDER BY receipt_no"),
                            {number});
    if (!rows)
        return std::unexpected(rows.error());
    for (const Row& row : *rows)
        m_covered->set_cell(m_covered->append_row(), rc::ReceiptNo, row.text(u"receipt_no"));
    return {};
}

} // namespace zelkor
