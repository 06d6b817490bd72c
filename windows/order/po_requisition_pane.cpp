// The requisition pane of the order window and taking requisition lines over into the order.
#include "windows/order/POform_po.h"

#include "documents/order/po_requisition.h"
#include "windows/order/po_columns.h"

namespace zelkor {

namespace {

namespace col = po_column;
namespace pr_col = po_requisition_column;

} // namespace

bool POform_po::show_requisition(const QString& docno)
{
    auto header = requisition_header(db(), docno);
    if (!header) {
        report(header.error(), QStringLiteral("Read PR no. ") + docno + QStringLiteral(" failed"));
        return false;
    }
    if (!*header)
        return refuse(docno + QStringLiteral(" not found."));
    auto lines = requisition_lines(db(), (*header)->text(u"fkey"));
    if (!lines) {
        report(lines.error(), QStringLiteral("Read PR no. ") + docno + QStringLiteral(" failed"));
        return false;
    }
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
        auto set = [&](QLatin1String column, const QString& value) { m_requisition_lines->set_cell(row, column, value); };
        set(pr_col::ItemNo, line.text(u"itemno"));
        set(pr_col::ItemCode, line.text(u"itemcode"));
        set(pr_col::ItemType, line.text(u"itemtype"));
        set(pr_col::Description, line.text(u"description"));
        set(pr_col::Uom, line.text(u"uom"));
        set(pr_col::Quantity, line.decimal(u"quantity").to_string());
        set(pr_col::UnitCost, line.decimal(u"unitcost").format_at_least());
        set(pr_col::ExtendedCost, line.decimal(u"extended_cost").format(2));
        set(pr_col::TaxCode, line.text(u"tax_code"));
        set(pr_col::TaxAmount, line.decimal(u"tax_amount").format(2));
        set(pr_col::NetCost, line.decimal(u"net_cost").format(2));
        set(pr_col::TaxIncluded, check_text(line.flag(u"price_include_tax")));
        set(pr_col::Account, line.text(u"accno"));
        set(pr_col::AccountName, line.text(u"accname"));
        set(pr_col::Warehouse, line.text(u"warehouse"));
        set(pr_col::Location, line.text(u"location"));
        set(pr_col::Closed, check_text(line.flag(u"closed")));
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
    const QString pr_itemno = source.cell(row, pr_col::ItemNo);
    // A closed line was issued already; a line already on this order is not taken twice.
    if (cell_checked(source, row, pr_col::Closed))
        return false;
    for (int line = 0; line < m_lines->row_count(); ++line)
        if (m_lines->cell(line, col::PrNo) == prno && m_lines->cell(line, col::PrItemNo) == pr_itemno)
            return false;
    const int target = first_free_row();
    static const std::pair<QLatin1String, QLatin1String> copied[] = {
        {pr_col::ItemCode, col::ItemCode},         {pr_col::ItemType, col::ItemType},
        {pr_col::Description, col::Description},   {pr_col::Quantity, col::QuantityOrder},
        {pr_col::Uom, col::Uom},                   {pr_col::UnitCost, col::UnitCost},
        {pr_col::ExtendedCost, col::ExtendedCost}, {pr_col::NetCost, col::NetCost},
        {pr_col::TaxCode, col::TaxCode},           {pr_col::TaxAmount, col::TaxAmount},
        {pr_col::Warehouse, col::Warehouse},       {pr_col::Location, col::Location},
        {pr_col::Account, col::Account},           {pr_col::AccountName, col::AccountName},
        {pr_col::TaxIncluded, col::TaxIncluded}};
    for (const auto& [from, to] : copied)
        m_lines->set_cell(target, to, source.cell(row, from));
    m_lines->set_cell(target, col::QuantityOpen, source.cell(row, pr_col::Quantity));
    m_lines->set_cell(target, col::PrNo, prno);
    m_lines->set_cell(target, col::PrItemNo, pr_itemno);
    m_lines->set_cell(target, col::ItemNo, QString());
    renumber_lines();
    const int itemno = m_lines->cell(target, col::ItemNo).toInt();
    if (itemno <= 0) // a text-only requisition line has no code to number it by
        m_lines->set_cell(target, col::ItemNo, QString::number(target + 1));
    TaxElements elements = m_requisition_taxes.line(pr_itemno.toInt());
    for (TaxElement& element : elements)
        element.itemno = m_lines->cell(target, col::ItemNo).toInt();
    const auto extended = cell_number(*m_lines, target, col::ExtendedCost);
    const LineTaxTotals totals = line_tax_totals(elements, extended ? taxable_amount(*extended) : std::nullopt,
                                                 cell_checked(source, row, pr_col::TaxIncluded) ? TaxIncluded::Yes
                                                                                                : TaxIncluded::No);
    m_lines->set_cell(target, col::AllocatedTax, totals.allocated.format(2));
    taxes().set_line(m_lines->cell(target, col::ItemNo).toInt(), std::move(elements));
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
    auto header = requisition_header_by_key(db(), key);
    if (!header) {
        report(header.error(), QStringLiteral("Reading the requisition failed"));
        return;
    }
    if (!*header || !show_requisition((*header)->text(u"docno")))
        return;
    if (field("vendor_no").isEmpty() && !(*header)->text(u"vendor_no").isEmpty()) {
        set_field("vendor_no", (*header)->text(u"vendor_no"));
        if (vendor_chosen() != Entry::Accepted)
            set_field("vendor_no", QString());
    }
    take_over_requisition();
}

} // namespace zelkor
