// The receipt's lines between the grid and the document: reading the grid into a typed Receipt,
// showing stored lines, line numbers, line tax and the footer totals.
#include "forms/receiving/POform_receipt.h"

#include "forms/common/document_lines.h"
#include "forms/receiving/receipt_columns.h"

namespace zelkor {

namespace {

namespace col = receipt_column;

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
    header.payby = QStringLiteral("Pay Later");
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
    return receipt;
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
    set(col::UnitCost, line.decimal(u"unitcost").to_string());
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
    const Decimal landed = parse_amount(field("landed_total")).value_or(Decimal());
    set_field("sub_total", sub_total.format(2));
    set_field("tax_total", tax_total.format(2));
    set_field("landed_total", landed.format(2));
    set_field("total", (sub_total + tax_total + landed).format(2));
    tax_panes().show_summary(taxes());
}

} // namespace zelkor
