// The receipt's lines between the grid and the document: reading the grid into a typed Receipt,
// showing stored lines, line numbers, line tax and the footer totals.
#include "windows/receipt/POform_receipt.h"

#include "windows/document/document_lines.h"
#include "windows/receipt/receipt_columns.h"

namespace zelkor {

namespace {

namespace col = receipt_column;
namespace landed = receipt_landed_column;

} // namespace

ReceiptHeader POform_receipt::read_header() const
{
    ReceiptHeader header;
    header.docno = field("docno");
    header.fkey = m_key;
    header.vendor_no = field("vendor_no").trimmed();
    header.receipt_date = field_date("receipt_date").value_or(QDate());
    if (!header.receipt_date.isValid())
        header.receipt_date = today();
    header.currency = field("currency").trimmed();
    if (!header.currency.isEmpty() && header.currency != settings().BASE_CURRENCY) {
        header.exchange_rate = Decimal::parse(field("exchange_rate").trimmed());
        header.rate_date = field_date("rate_date").value_or(QDate());
    }
    header.multi_po = find_field("multi_po")->checked();
    header.pono = header.multi_po ? QString() : field("pono").trimmed();
    header.payby = field("payby").trimmed();
    header.vendor_invoice_no = field("vendor_invoice_no").trimmed();
    header.vendor_invoice_date = field_date("vendor_invoice_date").value_or(QDate());
    header.cash_accno = field("cash_accno").trimmed();
    header.bank_code = field("bank_code").trimmed();
    header.check_no = field("check_no").trimmed();
    header.check_date = field_date("check_date").value_or(QDate());
    header.prepayment = field("prepayment").trimmed();
    header.prepayment_no = field("prepayment_no").trimmed();
    header.discount_percent = Decimal::parse(field("discount_percent").trimmed());
    header.discount_amount = field("discount_amount").trimmed();
    header.shipto = field("shipto").trimmed();
    header.ship_to_address = field("ship_to_address");
    header.vendor_address = field("vendor_address");
    header.shipvia = field("shipvia").trimmed();
    header.reference = field("reference");
    header.fob_point = field("fob_point");
    header.remark = field("remark");
    header.payment_term = field("payment_term").trimmed();
    header.fyear = field("fyear").trimmed();
    header.period = field("period").trimmed().toInt();
    return header;
}

std::expected<Receipt, Error> POform_receipt::read_receipt() const
{
    Receipt receipt;
    receipt.header = read_header();
    receipt.taxes = tax_elements();
    const Grid& grid = *m_lines;
    for (int row = 0; row < grid.row_count(); ++row) {
        ReceiptLine line;
        line.itemcode = grid.cell(row, col::ItemCode).trimmed();
        const QString& code = line.itemcode;
        auto received = saved_number(grid, row, col::QuantityReceived, QStringLiteral("quantity received is invalid."));
        auto cancelled = saved_number(grid, row, col::QuantityCanceled, QStringLiteral("quantity canceled is invalid."));
        auto unitcost = saved_number(grid, row, col::UnitCost, code + QStringLiteral(": unit cost is invalid."));
        auto extended = saved_number(grid, row, col::ExtendedCost, code + QStringLiteral(" extended cost is invalid."));
        for (const auto* typed : {&received, &cancelled, &unitcost, &extended})
            if (!*typed)
                return std::unexpected(typed->error());
        if (code.isEmpty() && !*received && !*unitcost && !*extended)
            continue;
        line.itemno = grid.cell(row, col::ItemNo).toInt();
        if (line.itemno <= 0)
            line.itemno = row + 1;
        line.itemtype = grid.cell(row, col::ItemType).trimmed();
        line.description = grid.cell(row, col::Description);
        line.vendor_itemcode = grid.cell(row, col::VendorItemCode).trimmed();
        line.warehouse = grid.cell(row, col::Warehouse).trimmed();
        line.location = grid.cell(row, col::Location).trimmed();
        line.quantity_received = *received;
        line.quantity_cancel = *cancelled;
        line.po_quantity_order = cell_amount(grid, row, col::QuantityOrdered);
        line.po_quantity_open = cell_amount(grid, row, col::QuantityOpen);
        line.uom = grid.cell(row, col::Uom).trimmed();
        line.unitcost = *unitcost;
        line.extended_cost = *extended;
        line.net_cost = cell_amount(grid, row, col::NetCost);
        line.tax_code = grid.cell(row, col::TaxCode).trimmed();
        line.tax_amount = cell_amount(grid, row, col::TaxAmount);
        line.tax_allocate = cell_amount(grid, row, col::AllocatedTax);
        line.price_include_tax = cell_checked(grid, row, col::TaxIncluded);
        line.accno = grid.cell(row, col::Account).trimmed();
        line.pono = grid.cell(row, col::PoNo).trimmed();
        if (const QString po_itemno = grid.cell(row, col::PoItemNo).trimmed(); !po_itemno.isEmpty())
            line.po_itemno = po_itemno.toInt();
        line.po_uom = grid.cell(row, col::PoUom).trimmed();
        line.po_warehouse = grid.cell(row, col::PoWarehouse).trimmed();
        line.po_location = grid.cell(row, col::PoLocation).trimmed();
        receipt.lines.push_back(std::move(line));
    }
    if (auto landed = read_landed_lines(receipt); !landed)
        return std::unexpected(landed.error());
    return receipt;
}

std::expected<void, Error> POform_receipt::read_landed_lines(Receipt& receipt) const
{
    receipt.landed_taxes = m_landed_taxes;
    const Grid& grid = *m_landed;
    for (int row = 0; row < grid.row_count(); ++row) {
        LandedLine line;
        line.itemcode = grid.cell(row, landed::ItemCode).trimmed();
        const QString& code = line.itemcode;
        auto quantity = saved_number(grid, row, landed::Quantity, QStringLiteral("quantity is invalid."));
        auto unitcost = saved_number(grid, row, landed::UnitCost, code + QStringLiteral(": unit cost is invalid."));
        auto extended = saved_number(grid, row, landed::ExtendedCost, code + QStringLiteral(" extended cost is invalid."));
        for (const auto* typed : {&quantity, &unitcost, &extended})
            if (!*typed)
                return std::unexpected(typed->error());
        if (code.isEmpty() && !*quantity && !*unitcost && !*extended)
            continue;
        line.itemno = grid.cell(row, landed::ItemNo).toInt();
        if (line.itemno <= 0)
            line.itemno = row + 1;
        line.vendor_no = grid.cell(row, landed::VendorNo).trimmed();
        line.bill_no = grid.cell(row, landed::BillNo).trimmed();
        if (const QString date = grid.cell(row, landed::BillDate).trimmed(); !date.isEmpty()) {
            auto parsed = parse_user_date(date, settings().ZELKOR_DATE_FORMAT);
            if (!parsed)
                return std::unexpected(parsed.error());
            line.bill_date = *parsed;
        }
        line.description = grid.cell(row, landed::Description);
        line.quantity = *quantity;
        line.unitcost = *unitcost;
        line.extended_cost = *extended;
        line.tax_code = grid.cell(row, landed::TaxCode).trimmed();
        line.tax_amount = cell_amount(grid, row, landed::TaxAmount);
        line.expense = cell_checked(grid, row, landed::Expense);
        line.accno = grid.cell(row, landed::Account).trimmed();
        line.ap_fkey = grid.cell(row, landed::PayableKey).trimmed();
        receipt.landed.push_back(std::move(line));
    }
    return {};
}

void POform_receipt::show_landed_line(int row, const Row& line)
{
    auto set = [&](QLatin1String column, const QString& value) { m_landed->set_cell(row, column, value); };
    const QString vendor = line.text(u"vendor_no");
    set(landed::VendorNo, vendor == field("vendor_no") ? QString() : vendor);
    // A charge without a payable of its own is on the receipt's bill, and follows its number.
    set(landed::BillNo, line.text(u"ap_fkey").isEmpty() ? QString() : line.text(u"vendor_invoice_no"));
    set(landed::BillDate, format_user_date(line.date(u"vendor_invoice_date"), settings().ZELKOR_DATE_FORMAT));
    set(landed::ItemCode, line.text(u"itemcode"));
    set(landed::Description, line.text(u"description"));
    set(landed::Quantity, line.decimal(u"quantity").to_string());
    set(landed::UnitCost, line.decimal(u"unitcost").format_at_least());
    set(landed::ExtendedCost, line.decimal(u"extended_cost").format(2));
    set(landed::TaxCode, line.text(u"tax_code"));
    set(landed::TaxAmount, line.decimal(u"tax_amount").format(2));
    set(landed::Expense, check_text(line.flag(u"expense")));
    set(landed::Account, line.text(u"accno"));
    set(landed::ItemNo, line.text(u"itemno"));
    set(landed::PayableKey, line.text(u"ap_fkey"));
    m_landed_taxes.set_line(int(line.integer(u"itemno")), tax_elements_from_row(line, int(line.integer(u"itemno"))));
}

void POform_receipt::show_line(int row, const Row& line)
{
    auto set = [&](QLatin1String column, const QString& value) { m_lines->set_cell(row, column, value); };
    auto quantity = [&](QStringView column) {
        const Decimal value = line.decimal(column);
        return value.is_zero() ? QString() : value.to_string();
    };
    set(col::ItemNo, line.text(u"itemno"));
    set(col::ItemCode, line.text(u"itemcode"));
    set(col::ItemType, line.text(u"itemtype"));
    set(col::Description, line.text(u"description"));
    set(col::VendorItemCode, line.text(u"vendor_itemcode"));
    set(col::Warehouse, line.text(u"warehouse"));
    set(col::Location, line.text(u"location"));
    set(col::QuantityOrdered, quantity(u"po_quantity_order"));
    set(col::QuantityOpen, line.decimal(u"po_quantity_open").to_string());
    set(col::QuantityReceived, line.decimal(u"quantity_received").to_string());
    set(col::QuantityCanceled, quantity(u"quantity_cancel"));
    set(col::Uom, line.text(u"uom"));
    set(col::UnitCost, line.decimal(u"unitcost").format_at_least());
    set(col::ExtendedCost, line.decimal(u"extended_cost").format(2));
    set(col::NetCost, line.decimal(u"net_cost").format(2));
    set(col::TaxCode, line.text(u"tax_code"));
    set(col::TaxIncluded, check_text(line.flag(u"price_include_tax")));
    set(col::TaxAmount, line.decimal(u"tax_amount").format(2));
    set(col::AllocatedTax, line.decimal(u"tax_allocate").format(2));
    set(col::Account, line.text(u"accno"));
    set(col::PoNo, line.text(u"PONO"));
    set(col::PoItemNo, line.is_null(u"po_itemno") ? QString() : line.text(u"po_itemno"));
    set(col::PoUom, line.text(u"po_uom"));
    set(col::UomOpen, line.text(u"po_uom"));
    set(col::PoWarehouse, line.text(u"po_warehouse"));
    set(col::PoLocation, line.text(u"po_location"));
}

void POform_receipt::calculate_totals()
{
    Decimal sub_total;
    Decimal tax_total;
    for (int row = 0; row < m_lines->row_count(); ++row) {
        if (m_lines->cell(row, col::ItemNo).trimmed().isEmpty())
            continue;
        sub_total += cell_amount(*m_lines, row, col::ExtendedCost).round2();
        // Tax already in the extended cost is not owed again.
        if (!cell_checked(*m_lines, row, col::TaxIncluded))
            tax_total += cell_amount(*m_lines, row, col::TaxAmount);
    }
    // The landed charges cost what their vendors bill: extended cost and tax. A charge typed
    // without its code counts too: the clerk sees what was typed (the save asks for the code).
    Decimal landed;
    for (int row = 0; row < m_landed->row_count(); ++row)
        landed += cell_amount(*m_landed, row, landed::ExtendedCost).round2() + cell_amount(*m_landed, row, landed::TaxAmount);
    set_field("sub_total", sub_total.format(2));
    set_field("tax_total", tax_total.format(2));
    set_field("landed_total", landed.format(2));
    set_field("total", (sub_total + tax_total + landed).format(2));
    tax_panes().show_summary(taxes());
}

} // namespace zelkor
