#pragma once

#include "core/db/database.h"
#include "core/db/error.h"
#include "core/db/row.h"
#include "core/db/sql_names.h"
#include "core/money/decimal.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <map>
#include <optional>
#include <vector>

namespace zelkor {

/// A purchasing line keeps at most this many tax elements (its row has five tax slots).
inline constexpr int MaxTaxElements = 5;

/// One authority of a tax code, as read from the code's details joined with the authority.
struct TaxAuthorityRow {
    QString tax_authority{};
    Decimal rate{};                          ///< percent
    bool taxable = false;                    ///< its tax joins the base of the authorities after it
    std::optional<Decimal> min_charged{};    ///< lower bound of one element's tax (single-line tax only)
    std::optional<Decimal> max_charged{};    ///< upper bound of one element's tax (single-line tax only)
    std::optional<Decimal> percent_refund{}; ///< recoverable share, percent
    bool include_itemcost = false;           ///< the non-recoverable part goes into item cost
};
using TaxAuthorities = std::vector<TaxAuthorityRow>;

/// Whether the line's extended cost already contains its tax.
enum class TaxIncluded { No, Yes };
/// Whether each element's tax is held within the authority's min/max charged. Only the
/// requisition's single-line computation applies them; elements never do.
enum class TaxBounds { Ignore, Apply };

/// The purchase authorities of `tax_code` in computing order (item_no). An unknown code or a code
/// without purchase authorities gives an empty list (no tax).
[[nodiscard]] std::expected<TaxAuthorities, Error> tax_code_authorities(Database& db, const QString& tax_code);

/// The code given to lines without one: the tax code marked default. A missing default is an
/// Error of kind NotFound with the message "Default Tax code has not been set".
[[nodiscard]] std::expected<QString, Error> default_tax_code(Database& db);

/// The amount A a line is taxed on: its extended cost, or nothing when that is negative (such a
/// line carries no tax).
std::optional<Decimal> taxable_amount(const Decimal& extended_cost);

/// A line's tax and net cost, rounded to cents.
struct LineTax {
    Decimal tax_amount{};
    Decimal net_cost{};
};

/// The tax of one line: one element per authority (at most five), compounding the taxes of
/// `taxable` authorities into the base of the later ones; each element and the sum rounded half
/// to even. Net cost is A when the tax is included, else A + tax. An absent amount gives no tax.
LineTax tax_calculate(std::optional<Decimal> extended_cost, const TaxAuthorities& authorities, TaxIncluded included,
                      TaxBounds bounds = TaxBounds::Ignore);

/// One tax element of a line: what one authority charges on it.
struct TaxElement {
    int itemno = 0;                ///< the line number
    QString tax_authority{};
    Decimal taxable_amount{};      ///< base B = A + compounded tax of earlier authorities
    Decimal tax_rate{};            ///< percent
    Decimal tax_amount{};
    bool taxable = false;
    Decimal allocated{};           ///< non-recoverable part added to item cost
    Decimal recoverable{};
    Decimal expensed{};            ///< non-recoverable part expensed
    Decimal percent_refund{};      ///< kept so an edited base can be recomputed
    bool include_itemcost = false; ///< kept so an edited base can be recomputed
};
using TaxElements = std::vector<TaxElement>;

/// A line's totals derived from its elements.
struct LineTaxTotals {
    Decimal tax_amount{}; ///< sum of the element taxes ("tax amount" / tax_amount)
    Decimal allocated{};  ///< sum of the allocated amounts ("allocated tax" / tax_allocate)
    Decimal net_cost{};
};

/// The tax elements of the open document, keyed by line number. Each document window owns one.
class TaxElementStore {
public:
    /// The elements of a line in authority order; empty when the line has none.
    const TaxElements& line(int itemno) const;
    bool has_line(int itemno) const { return m_lines.contains(itemno); }
    /// Replaces a line's elements (at most five are kept).
    void set_line(int itemno, TaxElements elements);
    void remove_line(int itemno);
    void clear() { m_lines.clear(); }
    /// Every line's elements, in line order.
    const std::map<int, TaxElements>& lines() const { return m_lines; }

private:
    std::map<int, TaxElements> m_lines;
};

/// The elements of one line, computed without bounds.
TaxElements tax_elements(int itemno, std::optional<Decimal> extended_cost, const TaxAuthorities& authorities,
                         TaxIncluded included);
/// Rebuilds the line's elements in the store and gives the line's totals from them.
LineTaxTotals get_fulltax_detail(TaxElementStore& store, int itemno, std::optional<Decimal> extended_cost,
                                 const TaxAuthorities& authorities, TaxIncluded included);
/// The same, reading the authorities of the line's tax code.
[[nodiscard]] std::expected<LineTaxTotals, Error> get_fulltax_detail(Database& db, TaxElementStore& store, int itemno,
                                                                     std::optional<Decimal> extended_cost,
                                                                     const QString& tax_code, TaxIncluded included);

/// The user typed a new taxable amount into the element at `position` (0-based) of the line: that
/// element's tax is recomputed from the typed base, every later element from A plus the
/// compounded tax, and the line's totals from the elements. Earlier elements are kept. An
/// unknown line or position changes nothing and gives nothing.
std::optional<LineTaxTotals> tax_calculate_from_xarray(TaxElementStore& store, int itemno, int position,
                                                       const Decimal& taxable_amount,
                                                       std::optional<Decimal> extended_cost, TaxIncluded included);

/// A line's totals from its stored elements.
LineTaxTotals line_tax_totals(const TaxElements& elements, std::optional<Decimal> extended_cost, TaxIncluded included);

/// One authority over the whole document.
struct TaxSummaryRow {
    QString tax_authority{};
    Decimal taxable_amount{};
    Decimal tax_amount{};
    Decimal recoverable{};
    Decimal allocated{};
    Decimal expensed{};
};
/// One row per authority, in order of first appearance (line order, then element order).
std::vector<TaxSummaryRow> get_tax_summary(const TaxElementStore& store);

/// The footer of a document: sub total, tax total and total.
struct DocumentTotals {
    Decimal sub_total{};
    Decimal tax_total{};
    Decimal total{};
};
/// What one line adds to the footer.
struct LineAmounts {
    Decimal extended_cost{};
    Decimal tax_amount{};
};
/// Sums the lines' extended costs and taxes, each to cents; total = sub total + tax total.
DocumentTotals totalamt_calculate(const std::vector<LineAmounts>& lines);

// Stored form ---------------------------------------------------------------------------------

/// Whether the line table has a tax_allocate column (orders, receipts and bills do; requisitions
/// keep only the per-element allocated amounts).
enum class AllocatedColumn { Absent, Present };

/// The elements a save writes for a line: none when the extended cost is not above 0; the line's
/// store entry otherwise (empty for a code without authorities: the line is untaxed), or, when
/// the line's tax was never computed, the error "cannot find tax element for item no " + itemno,
/// on which the document save rolls back.
[[nodiscard]] std::expected<TaxElements, Error> tax_elements_to_save(const TaxElementStore& store, int itemno,
                                                       std::optional<Decimal> extended_cost);

/// Sets the five tax slots (tax_authority1..5, taxable_amount1..5, tax_rate1..5, tax_amount1..5,
/// taxable1..5, tax_allocated1..5, tax_recoverable1..5, tax_expensed1..5) of a line row from its
/// elements in order (unused slots empty/0), the line's tax_amount, and tax_allocate when present.
void set_tax_columns(InsertRow& line, const TaxElements& elements, AllocatedColumn allocated = AllocatedColumn::Present);

/// The elements kept in a saved line row, for the store of a displayed document. The authorities
/// of the line's code, when given, supply the recoverable share and the item-cost flag needed to
/// recompute an edited base; without them these are derived from the stored amounts.
TaxElements tax_elements_from_row(const Row& line, int itemno, const TaxAuthorities& authorities = {});

/// The columns tax_elements_from_row reads, each prefixed by `alias` and a dot, comma-separated:
/// for a query that reads a line's tax elements without reading every column of the line.
QString tax_element_columns(const QString& alias);

} // namespace zelkor
