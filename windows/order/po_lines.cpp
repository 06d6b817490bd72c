// The order's lines between the grid and the document: reading the grid into a typed Order,
// showing stored lines, line numbers, line tax and the footer totals.
#include "windows/order/POform_po.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "windows/document/document_lines.h"
#include "windows/order/po_columns.h"

namespace zelkor {

namespace {

namespace col = po_column;

QString quantity_text(const Decimal& value) { return value.is_zero() ? QString() : value.to_string(); }

} // namespace

OrderHeader POform_po::read_header() const
{
    OrderHeader header;
    header.docno = field("docno");
    header.fkey = m_key;
    header.vendor_no = field("vendor_no").trimmed();
    header.future_po = find_field("future_po")->checked();
    header.activate_date = field_date("activate_date").value_or(QDate());
    header.shipto = field("shipto").trimmed();
    header.order_date = field_date("order_date").value_or(QDate());
    if (!header.order_date.isValid())
        header.order_date = today();
    header.arrival_date = field_date("arrival_date").value_or(QDate());
    header.currency = field("currency").trimmed();
    if (header.currency != settings().BASE_CURRENCY && !field("exchange_rate").trimmed().isEmpty()) {
        header.exchange_rate = Decimal::parse(field("exchange_rate").trimmed());
        header.rate_date = field_date("rate_date").value_or(QDate());
    }
    header.requested_user = field("requested_user").trimmed();
    header.contact_person = field("contact_person");
    header.phone = field("phone");
    header.fax = field("fax");
    header.shipvia = field("shipvia").trimmed();
    header.reference = field("reference");
    header.fob_point = field("fob_point");
    header.remark = field("remark");
    header.delivery_instruction = field("delivery_instruction");
    header.payment_term = field("payment_term").trimmed();
    header.ship_to_address = field("ship_to_address");
    header.vendor_address = field("vendor_address");
    return header;
}

std::expected<Order, Error> POform_po::read_order() const
{
    Order order;
    order.header = read_header();
    order.taxes = tax_elements();
    const Grid& grid = *m_lines;
    for (int row = 0; row < grid.row_count(); ++row) {
        const QString itemno = grid.cell(row, col::ItemNo).trimmed();
        const QString description = grid.cell(row, col::Description);
        if (itemno.isEmpty()) {
            // A row with an amount but no item is not a line the save could write.
            for (QLatin1String amount : {col::QuantityOrder, col::UnitCost, col::ExtendedCost})
                if (!grid.cell(row, amount).trimmed().isEmpty())
                    return std::unexpected(Error::invalid(missing_item_code(row + 1)));
            // A row with text only continues the description of the line before it.
            if (!description.trimmed().isEmpty() && !order.lines.empty())
                order.lines.back().description += QChar(10) + description;
            continue;
        }
        OrderLine line;
        line.itemno = itemno.toInt();
        line.itemcode = grid.cell(row, col::ItemCode).trimmed();
        line.itemtype = grid.cell(row, col::ItemType).trimmed();
        line.vendor_itemcode = grid.cell(row, col::VendorItemCode).trimmed();
        line.description = description;
        const QString code = shown_value(line.itemcode);
        auto quantity = saved_number(grid, row, col::QuantityOrder, code + QStringLiteral(": quantity order is invalid."));
        auto unitcost = saved_number(grid, row, col::UnitCost, code + QStringLiteral(": unit cost is invalid."));
        auto extended = saved_number(grid, row, col::ExtendedCost, code + QStringLiteral(" extended cost is invalid."));
        for (const auto* typed : {&quantity, &unitcost, &extended})
            if (!*typed)
                return std::unexpected(typed->error());
        line.quantity = *quantity;
        line.unitcost = *unitcost;
        line.extended_cost = *extended;
        line.uom = grid.cell(row, col::Uom).trimmed();
        line.uom_open = line.uom;
        line.net_cost = cell_amount(grid, row, col::NetCost);
        line.price_include_tax = cell_checked(grid, row, col::TaxIncluded);
        line.tax_amount = cell_amount(grid, row, col::TaxAmount);
        line.tax_allocate = cell_amount(grid, row, col::AllocatedTax);
        line.tax_code = grid.cell(row, col::TaxCode).trimmed();
        line.prno = grid.cell(row, col::PrNo).trimmed();
        if (const QString pr_itemno = grid.cell(row, col::PrItemNo).trimmed(); !pr_itemno.isEmpty())
            line.pr_itemno = pr_itemno.toInt();
        line.accno = grid.cell(row, col::Account).trimmed();
        line.warehouse = grid.cell(row, col::Warehouse).trimmed();
        line.location = grid.cell(row, col::Location).trimmed();
        // What receipts and bills recorded is read again under the save's lock; the grid's copy
        // serves the window's own checks.
        line.quantity_received = cell_amount(grid, row, col::QuantityReceived);
        line.quantity_cancel = cell_amount(grid, row, col::QuantityCanceled);
        line.uom_received = grid.cell(row, col::UomReceived).trimmed();
        order.lines.push_back(std::move(line));
    }
    return order;
}

void POform_po::show_header(const Row& header)
{
    for (const char* name : {"docno", "vendor_no", "vendor_name", "shipto", "shipvia", "currency", "requested_user",
                             "contact_person", "phone", "fax", "payment_term", "reference", "fob_point", "remark",
                             "delivery_instruction", "ship_to_address", "vendor_address"})
        set_field(name, header.text(QString::fromLatin1(name)));
    for (const char* date : {"order_date", "arrival_date", "activate_date", "rate_date"})
        set_field_date(date, header.date(QString::fromLatin1(date)));
    for (const char* check : {"future_po", "printed", "received", "billed", "void", "fully_received", "fully_billed"})
        set_field(check, check_text(header.flag(QString::fromLatin1(check))));
    const auto rate = header.decimal_or_null(u"exchange_rate");
    set_field("exchange_rate", rate ? rate->to_string() : QString());
    set_field("sub_total", header.decimal(u"sub_total").format(2));
    set_field("tax_total", header.decimal(u"tax_total").format(2));
    set_field("total", header.decimal(u"total").format(2));
    set_field("prno", QString());
}

void POform_po::show_shared_columns(int row, const Row& line)
{
    auto set = [&](QLatin1String column, const QString& value) { m_lines->set_cell(row, column, value); };
    const QStringList text = line.text(u"description").split(QChar(10));
    set(col::ItemNo, line.text(u"itemno"));
    set(col::ItemCode, line.text(u"itemcode"));
    set(col::VendorItemCode, line.text(u"vendor_itemcode"));
    set(col::ItemType, line.text(u"itemtype"));
    set(col::Description, text.value(0));
    set(col::QuantityOrder, line.decimal(u"quantity").to_string());
    set(col::Uom, line.text(u"uom"));
    set(col::UnitCost, line.decimal(u"unitcost").format_at_least());
    set(col::ExtendedCost, line.decimal(u"extended_cost").format(2));
    set(col::TaxCode, line.text(u"tax_code"));
    set(col::TaxIncluded, check_text(line.flag(u"price_include_tax")));
    set(col::Account, line.text(u"accno"));
    set(col::AccountName, line.text(u"accname"));
    set(col::Warehouse, line.text(u"warehouse"));
    set(col::Location, line.text(u"location"));
    // Continuation rows of a long description follow their line.
    for (qsizetype part = 1; part < text.size(); ++part) {
        const int continuation = m_lines->insert_row(row + int(part));
        m_lines->set_cell(continuation, col::Description, text[part]);
    }
}

void POform_po::show_line(int row, const Row& line)
{
    auto set = [&](QLatin1String column, const QString& value) { m_lines->set_cell(row, column, value); };
    show_shared_columns(row, line);
    set(col::QuantityOpen, line.decimal(u"quantity_open").to_string());
    set(col::QuantityReceived, quantity_text(line.decimal(u"quantity_received")));
    set(col::QuantityBilled, quantity_text(line.decimal(u"quantity_billed")));
    set(col::QuantityOpenForBill, line.decimal(u"quantity_open_for_bill").to_string());
    set(col::QuantityCanceled, quantity_text(line.decimal(u"quantity_cancel")));
    set(col::UomOpen, line.text(u"uom_open"));
    set(col::UomReceived, line.text(u"uom_received"));
    set(col::TaxAmount, line.decimal(u"tax_amount").format(2));
    set(col::AllocatedTax, line.decimal(u"tax_allocate").format(2));
    set(col::NetCost, line.decimal(u"net_cost").format(2));
    set(col::PrNo, line.text(u"prno"));
    set(col::PrItemNo, line.is_null(u"pr_itemno") ? QString() : line.text(u"pr_itemno"));
    set(col::Cancel, check_text(line.flag(u"closed")));
    set(col::UserCreated, line.text(u"user_created"));
    set(col::UserUpdated, line.text(u"user_updated"));
    set(col::CreatedDate, line.date(u"date_created").toString(Qt::ISODate));
    set(col::CreatedTime, line.text(u"time_created"));
    set(col::LastModifiedDate, line.date(u"date_lastmodified").toString(Qt::ISODate));
    set(col::LastModifiedTime, line.text(u"time_lastmodified"));
    set(col::ComputerId, line.text(u"computer_id"));
}

int POform_po::first_free_row()
{
    for (int row = 0; row < m_lines->row_count(); ++row)
        if (m_lines->cell(row, col::ItemCode).trimmed().isEmpty()
            && m_lines->cell(row, col::Description).trimmed().isEmpty())
            return row;
    return m_lines->append_row();
}

void POform_po::calculate_totals()
{
    std::vector<LineAmounts> amounts;
    for (int row = 0; row < m_lines->row_count(); ++row)
        if (!m_lines->cell(row, col::ItemNo).trimmed().isEmpty())
            amounts.push_back({cell_amount(*m_lines, row, col::ExtendedCost), cell_amount(*m_lines, row, col::TaxAmount)});
    const DocumentTotals totals = totalamt_calculate(amounts);
    set_field("sub_total", totals.sub_total.format(2));
    set_field("tax_total", totals.tax_total.format(2));
    set_field("total", totals.total.format(2));
    tax_panes().show_summary(taxes());
}

} // namespace zelkor
