// The order's lines between the grid and the document: reading the grid into an Order,
// showing stored lines, line numbers, line tax and the footer totals.
#include "forms/purchasing/POform_po.h"

#include "services/clock.h"



namespace zelkor {

namespace {

Decimal number_of(const QString& text) { return Decimal::parse(text.trimmed()).value_or(Decimal()); }

QString quantity_text(const Decimal& value) { return value.is_zero() ? QString() : value.to_string(); }

bool ticked(const QString& text) { return text == u"1" || text.compare(u"true", Qt::CaseInsensitive) == 0; }

} // namespace

std::optional<Decimal> POform_po::extended_cost_of(int row) const
{
    return taxable_line_amount(m_lines->cell(row, "extended cost"));
}

OrderHeader POform_po::read_header() const
{
    OrderHeader header;
    header.docno = field("docno");
    header.fkey = m_key;
    header.vendor_no = field("vendor_no");
    header.future_po = find_field("future_po")->checked();
    header.activate_date = field_date("activate_date").value_or(QDate());
    header.shipto = field("shipto");
    header.order_date = field_date("order_date").value_or(QDate());
    if (!header.order_date.isValid())
        header.order_date = today();
    header.arrival_date = field_date("arrival_date").value_or(QDate());
    header.currency = field("currency");
    if (header.currency != settings().BASE_CURRENCY && !field("exchange_rate").trimmed().isEmpty()) {
        header.exchange_rate = Decimal::parse(field("exchange_rate").trimmed());
        header.rate_date = field_date("rate_date").value_or(QDate());
    }
    header.requested_user = field("requested_user");
    header.contact_person = field("contact_person");
    header.phone = field("phone");
    header.fax = field("fax");
    header.shipvia = field("shipvia");
    header.reference = field("reference");
    header.fob_point = field("fob_point");
    header.remark = field("remark");
    header.delivery_instruction = field("delivery_instruction");
    header.payment_term = field("payment_term");
    header.ship_to_address = field("ship_to_address");
    header.vendor_address = field("vendor_address");
    header.sub_total = number_of(field("sub_total"));
    header.tax_total = number_of(field("tax_total"));
    header.total = number_of(field("total"));
    return header;
}

Order POform_po::read_order() const
{
    Order order;
    order.header = read_header();
    order.taxes = m_taxes;
    const bool editing = mode() == Mode::Edit;
    for (int row = 0; row < m_lines->row_count(); ++row) {
        const QString itemno = m_lines->cell(row, "item no").trimmed();
        const QString description = m_lines->cell(row, "description");
        if (itemno.isEmpty()) {
            // A row with text only continues the description of the line before it.
            if (!description.trimmed().isEmpty() && !order.lines.empty())
                order.lines.back().description += QChar(10) + description;
            continue;
        }
        OrderLine line;
        line.itemno = itemno.toInt();
        line.itemcode = m_lines->cell(row, "item code").trimmed();
        line.itemtype = m_lines->cell(row, "item type").trimmed();
        line.vendor_itemcode = m_lines->cell(row, "vendor item code").trimmed();
        line.description = description;
        line.quantity = number_of(m_lines->cell(row, "quantity order"));
        line.uom = m_lines->cell(row, "uom").trimmed();
        if (editing) {
            line.quantity_received = number_of(m_lines->cell(row, "quantity received"));
            line.quantity_billed = number_of(m_lines->cell(row, "quantity billed"));
            line.quantity_cancel = number_of(m_lines->cell(row, "quantity canceled"));
            line.quantity_open_for_bill = m_lines->cell(row, "quantity open for bill").trimmed().isEmpty()
                ? line.quantity - line.quantity_billed
                : number_of(m_lines->cell(row, "quantity open for bill"));
            line.uom_received = m_lines->cell(row, "uom received").trimmed();
            line.date_created = QDate::fromString(m_lines->cell(row, "created date"), Qt::ISODate);
            line.time_created = m_lines->cell(row, "created time");
            line.user_created = m_lines->cell(row, "user created");
        } else {
            line.quantity_open_for_bill = line.quantity;
        }
        line.quantity_open = line.quantity - line.quantity_received - line.quantity_cancel;
        line.uom_open = line.uom;
        line.unitcost = number_of(m_lines->cell(row, "unit cost"));
        line.extended_cost = extended_cost_of(row);
        line.net_cost = number_of(m_lines->cell(row, "net cost"));
        line.price_include_tax = ticked(m_lines->cell(row, "tax included"));
        line.tax_amount = number_of(m_lines->cell(row, "tax amount"));
        line.tax_allocate = number_of(m_lines->cell(row, "allocated tax"));
        line.tax_code = m_lines->cell(row, "tax code").trimmed();
        line.prno = m_lines->cell(row, "PR no").trimmed();
        if (const QString pr_itemno = m_lines->cell(row, "PR item no").trimmed(); !pr_itemno.isEmpty())
            line.pr_itemno = pr_itemno.toInt();
        line.accno = m_lines->cell(row, "account").trimmed();
        line.warehouse = m_lines->cell(row, "warehouse").trimmed();
        line.location = m_lines->cell(row, "location").trimmed();
        order.lines.push_back(std::move(line));
    }
    return order;
}

void POform_po::show_line(int row, const Row& line)
{
    auto set = [&](const char* column, const QString& value) { m_lines->set_cell(row, column, value); };
    const QStringList text = line.text(u"description").split(QChar(10));
    set("item no", line.text(u"itemno"));
    set("item code", line.text(u"itemcode"));
    set("vendor item code", line.text(u"vendor_itemcode"));
    set("item type", line.text(u"itemtype"));
    set("description", text.value(0));
    set("quantity order", line.decimal(u"quantity").to_string());
    set("quantity open", line.decimal(u"quantity_open").to_string());
    set("quantity received", quantity_text(line.decimal(u"quantity_received")));
    set("quantity billed", quantity_text(line.decimal(u"quantity_billed")));
    set("quantity open for bill", line.decimal(u"quantity_open_for_bill").to_string());
    set("quantity canceled", quantity_text(line.decimal(u"quantity_cancel")));
    set("uom", line.text(u"uom"));
    set("uom open", line.text(u"uom_open"));
    set("uom received", line.text(u"uom_received"));
    set("unit cost", line.decimal(u"unitcost").to_string());
    set("extended cost", line.decimal(u"extended_cost").format(2));
    set("tax code", line.text(u"tax_code"));
    set("tax amount", line.decimal(u"tax_amount").format(2));
    set("allocated tax", line.decimal(u"tax_allocate").format(2));
    set("net cost", line.decimal(u"net_cost").format(2));
    set("tax included", line.flag(u"price_include_tax") ? "1" : "");
    set("account", line.text(u"accno"));
    set("account name", line.text(u"accname"));
    set("warehouse", line.text(u"warehouse"));
    set("location", line.text(u"location"));
    set("PR no", line.text(u"prno"));
    set("PR item no", line.is_null(u"pr_itemno") ? QString() : line.text(u"pr_itemno"));
    set("cancel", line.flag(u"closed") ? "1" : "");
    set("user created", line.text(u"user_created"));
    set("user updated", line.text(u"user_updated"));
    set("created date", line.date(u"date_created").toString(Qt::ISODate));
    set("created time", line.text(u"time_created"));
    set("last modified date", line.date(u"date_lastmodified").toString(Qt::ISODate));
    set("last modified time", line.text(u"time_lastmodified"));
    set("computer id", line.text(u"computer_id"));
    // Continuation rows of a long description follow their line.
    for (qsizetype part = 1; part < text.size(); ++part) {
        const int continuation = m_lines->insert_row(row + int(part));
        m_lines->set_cell(continuation, "description", text[part]);
    }
}

void POform_po::renumber_lines()
{
    int highest = 0;
    for (int row = 0; row < m_lines->row_count(); ++row)
        highest = std::max(highest, m_lines->cell(row, "item no").toInt());
    for (int row = 0; row < m_lines->row_count(); ++row)
        if (m_lines->cell(row, "item no").trimmed().isEmpty() && !m_lines->cell(row, "item code").trimmed().isEmpty())
            m_lines->set_cell(row, "item no", QString::number(++highest));
}

int POform_po::first_free_row()
{
    for (int row = 0; row < m_lines->row_count(); ++row)
        if (m_lines->cell(row, "item code").trimmed().isEmpty() && m_lines->cell(row, "description").trimmed().isEmpty())
            return row;
    return m_lines->append_row();
}

void POform_po::recompute_line_tax(int row)
{
    Database* db = database();
    const int itemno = m_lines->cell(row, "item no").toInt();
    if (!db || itemno <= 0)
        return;
    const TaxIncluded included = ticked(m_lines->cell(row, "tax included")) ? TaxIncluded::Yes : TaxIncluded::No;
    auto totals = get_fulltax_detail(*db, m_taxes, itemno, m_lines->cell(row, "extended cost"),
                                     m_lines->cell(row, "tax code"), included);
    if (!totals)
        return;
    m_lines->set_cell(row, "tax amount", totals->tax_amount.format(2));
    m_lines->set_cell(row, "allocated tax", totals->allocated.format(2));
    m_lines->set_cell(row, "net cost", totals->net_cost.format(2));
    calculate_totals();
}

void POform_po::calculate_totals()
{
    const DocumentTotals totals = totalamt_calculate(*m_lines);
    set_field("sub_total", totals.sub_total.format(2));
    set_field("tax_total", totals.tax_total.format(2));
    set_field("total", totals.total.format(2));
    if (m_tax_panes)
        m_tax_panes->show_summary(m_taxes);
}

} // namespace zelkor
