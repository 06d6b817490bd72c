// Receiving against orders: the vendor's outstanding orders, the chosen order's header and its
// lines in the pick grid, and picking a line into the receipt.
#include "windows/receipt/POform_receipt.h"

#include "core/master_lookups.h"
#include "windows/receipt/receipt_columns.h"

#include <QHash>

namespace zelkor {

namespace {

namespace col = receipt_column;
namespace order_col = receipt_order_column;

QString quantity_text(const Decimal& value) { return value.to_string(); }

} // namespace

Entry POform_receipt::load_order_list()
{
    const QString vendor = field("vendor_no").trimmed();
    const bool stock_only = find_command(to_int(Command::ReceiptStockItemOnly))->checked;
    auto orders = Choices::load(db(), pick_lists::outstanding_order(vendor, stock_only ? OutstandingOrders::WithStockItems
                                                                                       : OutstandingOrders::All));
    if (!orders) {
        report(orders.error(), QStringLiteral("Reading the orders of ") + vendor + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    set_field_choices("pono", *orders);
    if (orders->empty())
        message(QStringLiteral("No outstanding PO for ") + vendor);
    return Entry::Accepted;
}

void POform_receipt::load_order_lines()
{
    const QString number = field("pono").trimmed();
    if (!database() || number.isEmpty())
        return;
    auto added = add_order_lines(number);
    if (!added) {
        report(added.error(), QStringLiteral("Reading PO no. ") + number + QStringLiteral(" failed"));
        return;
    }
    if (!*added) {
        message(number + QStringLiteral(" not found."));
        return;
    }
    show_pane("order", true);
}

void POform_receipt::show_order_header(const Row& order)
{
    for (const char* name : {"payment_term", "shipto", "shipvia", "remark", "reference", "fob_point", "ship_to_address",
                             "vendor_address"})
        set_field(name, order.text(QString::fromLatin1(name)));
    if (field("vendor_no").isEmpty())
        set_field("vendor_no", order.text(u"vendor_no"));
    set_field("currency", order.text(u"currency"));
    show_rates();
}

std::expected<bool, Error> POform_receipt::add_order_lines(const QString& number)
{
    auto order = db().first(QStringLiteral("SELECT * FROM PO_header_table WHERE company = 1 AND docno = ?"), {number});
    if (!order)
        return std::unexpected(order.error());
    if (!*order)
        return false;
    const bool stock_only = find_command(to_int(Command::ReceiptStockItemOnly))->checked;
    auto lines = db().select(QStringLiteral("SELECT l.*, a.accname FROM PO_transaction_table l"
                                            " LEFT JOIN Account_master_table a ON a.accno = l.accno"
                                            " WHERE l.fkey = ? AND l.void = FALSE")
                                 + (stock_only ? QStringLiteral(" AND l.itemtype = '1'") : QString())
                                 + QStringLiteral(" ORDER BY l.itemno"),
                             {(*order)->text(u"fkey")});
    if (!lines)
        return std::unexpected(lines.error());
    const bool multi = find_field("multi_po")->checked();
    if (!multi || m_order_lines->row_count() == 0) {
        m_order_lines->clear();
        show_order_header(**order);
    }
    // A line goes where its item is kept by default; the order's own place stays beside it.
    QHash<QString, std::optional<ItemPlace>> places;
    for (const Row& line : *lines) {
        const QString itemno = line.text(u"itemno");
        bool listed = false;
        for (int row = 0; row < m_order_lines->row_count() && !listed; ++row)
            listed = m_order_lines->cell(row, order_col::PoNo) == number
                && m_order_lines->cell(row, order_col::PoItemNo) == itemno;
        if (listed)
            continue;
        const QString code = line.text(u"itemcode");
        QString warehouse = line.text(u"warehouse");
        QString location = line.text(u"location");
        if (line.text(u"itemtype") == u"1" || line.text(u"itemtype") == u"2") {
            if (!places.contains(code)) {
                auto place = item_default_place(db(), code);
                if (!place)
                    return std::unexpected(place.error());
                places.insert(code, *place);
            }
            if (const auto& place = places.value(code)) {
                warehouse = place->warehouse;
                location = place->location;
            }
        }
        const int row = m_order_lines->append_row();
        auto set = [&](QLatin1String column, const QString& value) { m_order_lines->set_cell(row, column, value); };
        set(order_col::PoNo, number);
        set(order_col::PoItemNo, itemno);
        set(order_col::ItemCode, code);
        set(order_col::ItemType, line.text(u"itemtype"));
        set(order_col::Description, line.text(u"description"));
        set(order_col::VendorItemCode, line.text(u"vendor_itemcode"));
        set(order_col::QuantityOrdered, quantity_text(line.decimal(u"quantity")));
        set(order_col::QuantityOpen, quantity_text(line.decimal(u"quantity_open")));
        set(order_col::PoUom, line.text(u"uom"));
        set(order_col::UomOpen, line.text(u"uom_open").isEmpty() ? line.text(u"uom") : line.text(u"uom_open"));
        set(order_col::UnitCost, line.decimal(u"unitcost").format_at_least());
        set(order_col::TaxIncluded, check_text(line.flag(u"price_include_tax")));
        set(order_col::TaxCode, line.text(u"tax_code"));
        set(order_col::Account, line.text(u"accno"));
        set(order_col::AccountName, line.text(u"accname"));
        set(order_col::Warehouse, warehouse);
        set(order_col::Location, location);
        set(order_col::PoWarehouse, line.text(u"warehouse"));
        set(order_col::PoLocation, line.text(u"location"));
        set(order_col::Cancelled, quantity_text(line.decimal(u"quantity_cancel")));
        set(order_col::Closed, check_text(line.flag(u"closed")));
    }
    return true;
}

bool POform_receipt::on_row_activated(Grid& grid, int row)
{
    if (&grid == m_order_lines)
        return pick_order_line(row);
    return false;
}

bool POform_receipt::pick_order_line(int row)
{
    if (mode() == Mode::Read || row < 0 || row >= m_order_lines->row_count())
        return false;
    const Grid& from = *m_order_lines;
    if (cell_checked(from, row, order_col::Closed))
        return refuse(QStringLiteral("This item was closed."));
    const QString number = from.cell(row, order_col::PoNo);
    const QString itemno = from.cell(row, order_col::PoItemNo);
    // What is open less what this receipt already takes of the line elsewhere.
    Decimal open = cell_amount(from, row, order_col::QuantityOpen);
    for (int line = 0; line < m_lines->row_count(); ++line)
        if (m_lines->cell(line, col::PoNo) == number && m_lines->cell(line, col::PoItemNo) == itemno)
            open -= cell_amount(*m_lines, line, col::QuantityReceived) + cell_amount(*m_lines, line, col::QuantityCanceled);
    open = std::max(open, Decimal());
    const int target = first_empty_row();
    auto set = [&](QLatin1String column, const QString& value) { m_lines->set_cell(target, column, value); };
    auto take = [&](QLatin1String column, QLatin1String source) { set(column, from.cell(row, source)); };
    take(col::ItemCode, order_col::ItemCode);
    take(col::ItemType, order_col::ItemType);
    take(col::Description, order_col::Description);
    take(col::VendorItemCode, order_col::VendorItemCode);
    take(col::Warehouse, order_col::Warehouse);
    take(col::Location, order_col::Location);
    take(col::QuantityOrdered, order_col::QuantityOrdered);
    take(col::QuantityOpen, order_col::QuantityOpen);
    set(col::QuantityReceived, open.to_string());
    set(col::QuantityCanceled, QString());
    take(col::Uom, order_col::PoUom);
    take(col::UnitCost, order_col::UnitCost);
    take(col::TaxCode, order_col::TaxCode);
    take(col::TaxIncluded, order_col::TaxIncluded);
    take(col::Account, order_col::Account);
    take(col::PoNo, order_col::PoNo);
    take(col::PoItemNo, order_col::PoItemNo);
    take(col::PoUom, order_col::PoUom);
    take(col::UomOpen, order_col::UomOpen);
    take(col::PoWarehouse, order_col::PoWarehouse);
    take(col::PoLocation, order_col::PoLocation);
    const auto unitcost = cell_number(*m_lines, target, col::UnitCost);
    set(col::ExtendedCost, (open * unitcost.value_or(Decimal())).round2().format(2));
    renumber_lines();
    m_order_lines->set_cell(row, order_col::ItemNo, m_lines->cell(target, col::ItemNo));
    recompute_line_tax(target);
    m_lines->set_current(target, m_lines->required_column(col::QuantityReceived));
    set_dirty(true);
    return true;
}

} // namespace zelkor
