#include "windows/print/document_layout.h"

#include <algorithm>

namespace zelkor {

namespace {

std::vector<DocumentLayout>& declared_layouts()
{
    static std::vector<DocumentLayout> layouts;
    return layouts;
}

} // namespace

DocumentLayout purchasing_document_layout(const QString& title, const QString& header_table, const QString& line_table)
{
    DocumentLayout layout;
    layout.title = title;
    layout.header_table = header_table;
    layout.line_table = line_table;
    // The terms every purchasing document states; a document adds its dates before them and
    // the people it names after them. A fact the document does not have is left out.
    layout.facts = {
        {QStringLiteral("Vendor no"), QStringLiteral("vendor_no")},
        {QStringLiteral("Payment term"), QStringLiteral("payment_term")},
        {QStringLiteral("Ship via"), QStringLiteral("shipvia")},
        {QStringLiteral("FOB point"), QStringLiteral("fob_point")},
        {QStringLiteral("Currency"), QStringLiteral("currency"), PrintedAs::Text, FactShown::WhenForeign},
        {QStringLiteral("Exchange rate"), QStringLiteral("exchange_rate"), PrintedAs::Rate, FactShown::WhenForeign},
        {QStringLiteral("Reference"), QStringLiteral("reference")},
    };
    layout.line_columns = {
        {QStringLiteral("Line"), QStringLiteral("itemno"), LineValue::Text},
        {QStringLiteral("Item code"), QStringLiteral("itemcode"), LineValue::Text},
        {QStringLiteral("Vendor item code"), QStringLiteral("vendor_itemcode"), LineValue::Text},
        {QStringLiteral("Description"), QStringLiteral("description"), LineValue::Description},
        {QStringLiteral("Quantity"), QStringLiteral("quantity"), LineValue::Quantity},
        {QStringLiteral("Unit"), QStringLiteral("uom"), LineValue::Text},
        {QStringLiteral("Unit cost"), QStringLiteral("unitcost"), LineValue::UnitCost},
        {QStringLiteral("Amount"), QStringLiteral("extended_cost"), LineValue::Amount},
        {QStringLiteral("Tax"), QStringLiteral("tax_code"), LineValue::Text},
    };
    layout.notes = {{QStringLiteral("Remark"), QStringLiteral("remark")}};
    return layout;
}

void declare_document_layout(const DocumentLayout& layout)
{
    auto& layouts = declared_layouts();
    const auto same_title = [&layout](const DocumentLayout& declared) {
        return declared.title.compare(layout.title, Qt::CaseInsensitive) == 0;
    };
    if (auto found = std::find_if(layouts.begin(), layouts.end(), same_title); found != layouts.end())
        *found = layout;
    else
        layouts.push_back(layout);
}

std::optional<DocumentLayout> find_document_layout(const QString& title)
{
    for (const DocumentLayout& layout : declared_layouts())
        if (layout.title.compare(title.trimmed(), Qt::CaseInsensitive) == 0)
            return layout;
    return std::nullopt;
}

} // namespace zelkor
