#include "tax/purchase_tax.h"

#include "core/db/sql_names.h"

namespace zelkor {

namespace {

const Decimal Hundred(100);

/// The tax one authority charges on base B: excluded B × r, included B ÷ (1 + r) × r, with r the
/// rate as a fraction; rounded to cents, halves to even.
Decimal element_tax(const Decimal& base, const Decimal& rate, TaxIncluded included)
{
    const Decimal fraction = rate / Hundred;
    if (included == TaxIncluded::Yes)
        return (base / (Decimal(1) + fraction) * fraction).round2();
    return (base * fraction).round2();
}

Decimal bounded(Decimal tax, const TaxAuthorityRow& authority)
{
    if (authority.min_charged && *authority.min_charged > Decimal(0) && tax < *authority.min_charged)
        tax = *authority.min_charged;
    if (authority.max_charged && *authority.max_charged > Decimal(0) && tax > *authority.max_charged)
        tax = *authority.max_charged;
    return tax;
}

Decimal net_cost_of(const Decimal& amount, const Decimal& tax, TaxIncluded included)
{
    return (included == TaxIncluded::Yes ? amount : amount + tax).round2();
}

/// Fills the tax and its recoverable, allocated and expensed parts of an element from its base.
void compute_element(TaxElement& element, TaxIncluded included)
{
    element.tax_amount = element_tax(element.taxable_amount, element.tax_rate, included);
    element.recoverable = element.percent_refund > Decimal(0)
                              ? (element.tax_amount * element.percent_refund / Hundred).round2()
                              : Decimal(0);
    const Decimal non_recoverable = element.tax_amount - element.recoverable;
    element.allocated = element.include_itemcost ? non_recoverable : Decimal(0);
    element.expensed = element.include_itemcost ? Decimal(0) : non_recoverable;
}

QString slot(const char* column, int position)
{
    return QString::fromLatin1(column) + QString::number(position + 1);
}

} // namespace

[[nodiscard]] std::expected<TaxAuthorities, Error> tax_code_authorities(Database& db, const QString& tax_code)
{
    auto rows = db.select(QStringLiteral(
        "SELECT Tax_code_details_table.tax_authority, Rate, taxable, min_charged, max_charged, percent_refund,"
        " include_itemcost"
        " FROM (Tax_code_details_table INNER JOIN Tax_authority_table ON"
        "  Tax_code_details_table.tax_authority = Tax_authority_table.tax_authority)"
        " WHERE tax_code = ? AND transaction_type = 'purchase'"
        " ORDER BY item_no"),
        {tax_code});
    if (!rows)
        return std::unexpected(rows.error());
    TaxAuthorities authorities;
    for (const Row& row : *rows) {
        authorities.push_back({row.text(u"tax_authority"), row.decimal(u"Rate"), row.flag(u"taxable"),
                               row.decimal_or_null(u"min_charged"), row.decimal_or_null(u"max_charged"),
                               row.decimal_or_null(u"percent_refund"), row.flag(u"include_itemcost")});
    }
    return authorities;
}

[[nodiscard]] std::expected<QString, Error> default_tax_code(Database& db)
{
    static const QString sql = QStringLiteral("SELECT tax_code FROM Tax_code_table WHERE ") + sql_name(u"default")
                               + QStringLiteral(" = TRUE ORDER BY tax_code");
    auto row = db.first(sql);
    if (!row)
        return std::unexpected(row.error());
    if (!*row || (*row)->text(u"tax_code").isEmpty())
        return std::unexpected(Error::not_found(QStringLiteral("Default Tax code has not been set")));
    return (*row)->text(u"tax_code");
}

std::optional<Decimal> taxable_amount(const Decimal& extended_cost)
{
    if (extended_cost.is_negative() || extended_cost.is_overflow())
        return std::nullopt;
    return extended_cost;
}

LineTax tax_calculate(std::optional<Decimal> extended_cost, const TaxAuthorities& authorities, TaxIncluded included,
                      TaxBounds bounds)
{
    if (!extended_cost)
        return {};
    const Decimal amount = *extended_cost;
    Decimal compounded;
    Decimal total;
    const size_t count = std::min(authorities.size(), size_t(MaxTaxElements));
    for (size_t i = 0; i < count; ++i) {
        const TaxAuthorityRow& authority = authorities[i];
        Decimal tax = element_tax(amount + compounded, authority.rate, included);
        if (bounds == TaxBounds::Apply)
            tax = bounded(tax, authority);
        if (authority.taxable)
            compounded += tax;
        total += tax;
    }
    total = total.round2();
    return {total, net_cost_of(amount, total, included)};
}

const TaxElements& TaxElementStore::line(int itemno) const
{
    static const TaxElements none;
    auto found = m_lines.find(itemno);
    return found == m_lines.end() ? none : found->second;
}

void TaxElementStore::set_line(int itemno, TaxElements elements)
{
    if (elements.size() > size_t(MaxTaxElements))
        elements.resize(MaxTaxElements);
    for (TaxElement& element : elements)
        element.itemno = itemno;
    m_lines[itemno] = std::move(elements);
}

void TaxElementStore::remove_line(int itemno)
{
    m_lines.erase(itemno);
}

TaxElements tax_elements(int itemno, std::optional<Decimal> extended_cost, const TaxAuthorities& authorities,
                         TaxIncluded included)
{
    TaxElements elements;
    if (!extended_cost)
        return elements;
    Decimal compounded;
    const size_t count = std::min(authorities.size(), size_t(MaxTaxElements));
    for (size_t i = 0; i < count; ++i) {
        const TaxAuthorityRow& authority = authorities[i];
        TaxElement element{itemno, authority.tax_authority, *extended_cost + compounded, authority.rate};
        element.taxable = authority.taxable;
        element.percent_refund = authority.percent_refund.value_or(Decimal(0));
        element.include_itemcost = authority.include_itemcost;
        compute_element(element, included);
        if (element.taxable)
            compounded += element.tax_amount;
        elements.push_back(std::move(element));
    }
    return elements;
}

LineTaxTotals line_tax_totals(const TaxElements& elements, std::optional<Decimal> extended_cost, TaxIncluded included)
{
    LineTaxTotals totals;
    for (const TaxElement& element : elements) {
        totals.tax_amount += element.tax_amount;
        totals.allocated += element.allocated;
    }
    totals.tax_amount = totals.tax_amount.round2();
    totals.allocated = totals.allocated.round2();
    totals.net_cost = extended_cost ? net_cost_of(*extended_cost, totals.tax_amount, included) : Decimal(0);
    return totals;
}

LineTaxTotals get_fulltax_detail(TaxElementStore& store, int itemno, std::optional<Decimal> extended_cost,
                                 const TaxAuthorities& authorities, TaxIncluded included)
{
    store.set_line(itemno, tax_elements(itemno, extended_cost, authorities, included));
    return line_tax_totals(store.line(itemno), extended_cost, included);
}

std::expected<LineTaxTotals, Error> get_fulltax_detail(Database& db, TaxElementStore& store, int itemno,
                                                       std::optional<Decimal> extended_cost, const QString& tax_code,
                                                       TaxIncluded included)
{
    auto authorities = tax_code_authorities(db, tax_code);
    if (!authorities)
        return std::unexpected(authorities.error());
    return get_fulltax_detail(store, itemno, extended_cost, *authorities, included);
}

std::optional<LineTaxTotals> tax_calculate_from_xarray(TaxElementStore& store, int itemno, int position,
                                                       const Decimal& taxable_amount,
                                                       std::optional<Decimal> extended_cost, TaxIncluded included)
{
    TaxElements elements = store.line(itemno);
    if (position < 0 || position >= int(elements.size()))
        return std::nullopt;
    // Later elements are taxed on A plus the compounded tax, as when the line was computed; the
    // edited base changes them only through the edited element's own tax.
    const Decimal amount = extended_cost.value_or(Decimal(0));
    Decimal compounded;
    for (int i = 0; i < int(elements.size()); ++i) {
        TaxElement& element = elements[size_t(i)];
        if (i == position) {
            element.taxable_amount = taxable_amount;
            compute_element(element, included);
        } else if (i > position) {
            element.taxable_amount = amount + compounded;
            compute_element(element, included);
        }
        if (element.taxable)
            compounded += element.tax_amount;
    }
    store.set_line(itemno, std::move(elements));
    return line_tax_totals(store.line(itemno), extended_cost, included);
}

std::vector<TaxSummaryRow> get_tax_summary(const TaxElementStore& store)
{
    std::vector<TaxSummaryRow> summary;
    for (const auto& [itemno, elements] : store.lines()) {
        for (const TaxElement& element : elements) {
            auto row = std::find_if(summary.begin(), summary.end(), [&](const TaxSummaryRow& r) {
                return r.tax_authority.compare(element.tax_authority, Qt::CaseInsensitive) == 0;
            });
            if (row == summary.end())
                row = summary.insert(summary.end(), TaxSummaryRow{element.tax_authority});
            row->taxable_amount += element.taxable_amount;
            row->tax_amount += element.tax_amount;
            row->recoverable += element.recoverable;
            row->allocated += element.allocated;
            row->expensed += element.expensed;
        }
    }
    return summary;
}

DocumentTotals totalamt_calculate(const std::vector<LineAmounts>& lines)
{
    DocumentTotals totals;
    for (const LineAmounts& line : lines) {
        totals.sub_total += line.extended_cost;
        totals.tax_total += line.tax_amount;
    }
    totals.sub_total = totals.sub_total.round2();
    totals.tax_total = totals.tax_total.round2();
    totals.total = (totals.sub_total + totals.tax_total).round2();
    return totals;
}

[[nodiscard]] std::expected<TaxElements, Error> tax_elements_to_save(const TaxElementStore& store, int itemno,
                                                       std::optional<Decimal> extended_cost)
{
    if (!extended_cost || *extended_cost <= Decimal(0))
        return TaxElements{};
    // A line computed under a code without authorities (exempt) is kept with no elements and is
    // saved untaxed; only a line whose tax was never computed is missing.
    if (!store.has_line(itemno))
        return std::unexpected(Error::invalid(QStringLiteral("cannot find tax element for item no ")
                                              + QString::number(itemno)));
    return store.line(itemno);
}

void set_tax_columns(InsertRow& line, const TaxElements& elements, AllocatedColumn allocated)
{
    for (int i = 0; i < MaxTaxElements; ++i) {
        const bool used = i < int(elements.size());
        const TaxElement empty;
        const TaxElement& element = used ? elements[size_t(i)] : empty;
        line.set(slot("tax_authority", i), used ? SqlValue(element.tax_authority) : SqlValue(std::nullopt))
            .set(slot("taxable_amount", i), element.taxable_amount)
            .set(slot("tax_rate", i), element.tax_rate)
            .set(slot("tax_amount", i), element.tax_amount)
            .set(slot("taxable", i), element.taxable)
            .set(slot("tax_allocated", i), element.allocated)
            .set(slot("tax_recoverable", i), element.recoverable)
            .set(slot("tax_expensed", i), element.expensed);
    }
    const LineTaxTotals totals = line_tax_totals(elements, std::nullopt, TaxIncluded::No);
    line.set(u"tax_amount", totals.tax_amount);
    if (allocated == AllocatedColumn::Present)
        line.set(u"tax_allocate", totals.allocated);
}

TaxElements tax_elements_from_row(const Row& line, int itemno, const TaxAuthorities& authorities)
{
    TaxElements elements;
    for (int i = 0; i < MaxTaxElements; ++i) {
        const QString authority = line.text(slot("tax_authority", i));
        if (authority.isEmpty())
            break;
        TaxElement element{itemno, authority, line.decimal(slot("taxable_amount", i)), line.decimal(slot("tax_rate", i)),
                           line.decimal(slot("tax_amount", i)), line.flag(slot("taxable", i)),
                           line.decimal(slot("tax_allocated", i)), line.decimal(slot("tax_recoverable", i)),
                           line.decimal(slot("tax_expensed", i))};
        const bool known = i < int(authorities.size())
                           && authorities[size_t(i)].tax_authority.compare(authority, Qt::CaseInsensitive) == 0;
        if (known) {
            element.percent_refund = authorities[size_t(i)].percent_refund.value_or(Decimal(0));
            element.include_itemcost = authorities[size_t(i)].include_itemcost;
        } else {
            element.percent_refund = element.tax_amount.is_zero() ? Decimal(0)
                                                                  : element.recoverable * Hundred / element.tax_amount;
            element.include_itemcost = !element.allocated.is_zero();
        }
        elements.push_back(std::move(element));
    }
    return elements;
}

QString tax_element_columns(const QString& alias)
{
    QStringList columns;
    for (int i = 0; i < MaxTaxElements; ++i)
        for (const char* column : {"tax_authority", "taxable_amount", "tax_rate", "tax_amount", "taxable", "tax_allocated",
                                   "tax_recoverable", "tax_expensed"})
            columns << alias + u'.' + slot(column, i);
    return columns.join(QStringLiteral(", "));
}

} // namespace zelkor
