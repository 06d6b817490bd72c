// The requisition pane of the order window and taking requisition lines over into the order.
#include "forms/purchasing/POform_po.h"

#include "forms/purchasing/po_requisition.h"

namespace zelkor {

bool POform_po::show_requisition(const QString& docno)
{
    Database& db = *database();
    auto header = requisition_header(db, docno);
    if (!header || !*header) {
        message(docno + QStringLiteral(" not found."));
        return false;
    }
    auto lines = requisition_lines(db, (*header)->text(u"fkey"));
    if (!lines)
        return false;
    m_requisition_key = (*header)->text(u"fkey");
    set_field("pr_docno", docno);
    set_field_date("pr_order_date", (*header)->date(u"order_date"));
    set_field_date("pr_requested_date", (*header)->date(u"requested_date"));
    set_field("pr_requested_user", (*header)->text(u"requested_user"));
    set_field("pr_vendor_no", (*header)->text(u"vendor_no"));
    set_field("pr_shipto", (*header)->text(u"shipto"));
    m_requisition_lines->clear();
    m_requisition_taxes.clear();
    for (const Row& line : *lines) {
        const int row = m_requisition_lines->append_row();
        auto set = [&](const char* column, const QString& value) { m_requisition_lines->set_cell(row, column, value); };
        set("item no", line.text(u"itemno"));
        set("item code", line.text(u"itemcode"));
        set("item type", line.text(u"itemtype"));
        set("description", line.text(u"description"));
        set("uom", line.text(u"uom"));
        set("quantity", line.decimal(u"quantity").to_string());
        set("unit cost", line.decimal(u"unitcost").to_string());
        set("extended cost", line.decimal(u"extended_cost").format(2));
        set("tax code", line.text(u"tax_code"));
        set("tax amount", line.decimal(u"tax_amount").format(2));
        set("net cost", line.decimal(u"net_cost").format(2));
        set("tax included", line.flag(u"price_include_tax") ? "1" : "");
        set("account", line.text(u"accno"));
        set("account name", line.text(u"accname"));
        set("warehouse", line.text(u"warehouse"));
        set("location", line.text(u"location"));
        set("closed", line.flag(u"closed") ? "1" : "");
        const int itemno = int(line.integer(u"itemno"));
        m_requisition_taxes.set_line(itemno, tax_elements_from_row(line, itemno));
    }
    return true;
}

bool POform_po::take_over_requisition_line(int row)
{
    if (mode() == Mode::Read || row < 0 || row >= m_requisition_lines->row_count())
        return false;
    const Grid& source = *m_requisition_lines;
    const QString prno = field("pr_docno");
    const QString pr_itemno = source.cell(row, "item no");
    // A closed line was issued already; a line already on this order is not taken twice.
    if (source.cell(row, "closed") == u"1")
        return false;
    for (int line = 0; line < m_lines->row_count(); ++line)
        if (m_lines->cell(line, "PR no") == prno && m_lines->cell(line, "PR item no") == pr_itemno)
            return false;
    const int target = first_free_row();
    static const std::pair<const char*, const char*> copied[] = {
        {"item code", "item code"},   {"item type", "item type"},   {"description", "description"},
        {"quantity", "quantity order"}, {"uom", "uom"},             {"unit cost", "unit cost"},
        {"extended cost", "extended cost"}, {"net cost", "net cost"}, {"tax code", "tax code"},
        {"tax amount", "tax amount"}, {"warehouse", "warehouse"},   {"location", "location"},
        {"account", "account"},       {"account name", "account name"}, {"tax included", "tax included"}};
    for (const auto& [from, to] : copied)
        m_lines->set_cell(target, to, source.cell(row, from));
    m_lines->set_cell(target, "quantity open", source.cell(row, "quantity"));
    m_lines->set_cell(target, "PR no", prno);
    m_lines->set_cell(target, "PR item no", pr_itemno);
    m_lines->set_cell(target, "item no", QString());
    renumber_lines();
    const int itemno = m_lines->cell(target, "item no").toInt();
    if (itemno <= 0) // a text-only requisition line has no code to number it by
        m_lines->set_cell(target, "item no", QString::number(target + 1));
    TaxElements elements = m_requisition_taxes.line(pr_itemno.toInt());
    for (TaxElement& element : elements)
        element.itemno = m_lines->cell(target, "item no").toInt();
    const LineTaxTotals totals = line_tax_totals(elements, extended_cost_of(target),
                                                 source.cell(row, "tax included") == u"1" ? TaxIncluded::Yes
                                                                                           : TaxIncluded::No);
    m_lines->set_cell(target, "allocated tax", totals.allocated.format(2));
    m_taxes.set_line(m_lines->cell(target, "item no").toInt(), std::move(elements));
    set_dirty(true);
    calculate_totals();
    return true;
}

bool POform_po::take_over_requisition()
{
    bool any = false;
    for (int row = 0; row < m_requisition_lines->row_count(); ++row)
        any = take_over_requisition_line(row) || any;
    return any;
}

void POform_po::fill_lines_from_requisition()
{
    const QString key = field("requisition_key");
    if (key.isEmpty() || !database())
        return;
    auto header = requisition_header_by_key(*database(), key);
    if (!header || !*header || !show_requisition((*header)->text(u"docno")))
        return;
    if (field("vendor_no").isEmpty() && !(*header)->text(u"vendor_no").isEmpty()) {
        set_field("vendor_no", (*header)->text(u"vendor_no"));
        vendor_chosen();
    }
    take_over_requisition();
}

} // namespace zelkor
