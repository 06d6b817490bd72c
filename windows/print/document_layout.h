#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace zelkor {

/// How a value of a printed document is written.
enum class PrintedAs {
    Text,
    Date,     ///< in the user's date format
    Rate,     ///< an exchange rate: every decimal it has, grouped
    Employee, ///< an employee id, printed as the employee's name
};

/// When a fact of the facts block is printed.
enum class FactShown {
    Always,      ///< whenever it has a value
    WhenForeign, ///< only for a document in another currency than the company's
};

/// One "label: value" of the facts block. A fact without a value is left out.
struct DocumentFact {
    QString label;
    QString column; ///< a column of the print query, else of the stored header
    PrintedAs as = PrintedAs::Text;
    FactShown shown = FactShown::Always;
};

/// What a column of the line table holds, which decides how it is written and fitted.
enum class LineValue {
    Text,        ///< kept whole, wraps only when nothing else helps
    Description, ///< wraps first when the table is too wide
    Quantity,    ///< at the item's quantity decimals, never cut
    UnitCost,    ///< at the item's cost decimals, never cut
    Amount,      ///< "#,##0.00", never cut
};

/// One column of the line table.
struct DocumentLineColumn {
    QString heading;
    QString column; ///< a line column of the print query, else of the stored line
    LineValue value = LineValue::Text;
};

/// A labelled value of the header: a text under the totals (remark, delivery instruction) or an
/// amount among them.
struct DocumentNote {
    QString label;
    QString column;
};

/// The printed page of one kind of document: the values each block takes from the print query
/// (the window's "ActiveReport" query) or, for what the query does not carry, from the stored
/// header and lines of the document and the masters they name. Letterhead, page headings and
/// "Page n of m" are the same for every document.
struct DocumentLayout {
    QString title;        ///< the report title the window prints under ("Purchase Order")
    /// The window that prints it ("POform_po"), whose user's page format applies; set when the
    /// window declares the layout.
    QString form_name{};
    /// What the page calls the document when that is not its report title ("Goods Receipt" for
    /// "Receipt Entry"); empty prints the title.
    QString heading{};
    QString header_table; ///< the document's stored header, found by company 1 and docno
    QString line_table;   ///< its stored lines, found by the header's fkey and matched by itemno
    std::vector<DocumentFact> facts{};
    QString vendor_column = QStringLiteral("vendor_no");
    QString vendor_name_column = QStringLiteral("vendor_name");
    /// The vendor's address as the document keeps it; empty takes the vendor master's.
    QString vendor_address_column{};
    QString contact_column = QStringLiteral("contact_person");
    QString phone_column = QStringLiteral("phone");
    QString ship_to_column = QStringLiteral("shipto"); ///< the ship-to warehouse
    /// The ship-to address as the document keeps it; empty takes the warehouse's.
    QString ship_to_address_column{};
    std::vector<DocumentLineColumn> line_columns{};
    /// A stored line flag that keeps a line off the page and out of the tax per authority
    /// (a receipt's landed charges, which the total carries as one amount); empty prints every line.
    QString unprinted_line_flag{};
    QString sub_total_column = QStringLiteral("sub_total");
    /// Amounts of the header the total adds to the lines and their tax (landed charges),
    /// printed above the total when not zero.
    std::vector<DocumentNote> added_amounts{};
    /// The header's tax the total adds, printed as one "Tax" line when the lines carry no tax
    /// per authority.
    QString tax_total_column = QStringLiteral("tax_total");
    /// A stored line flag for a price that includes its tax: such a line's tax is already in its
    /// amount, so it is not added again among the totals. Empty adds every line's tax.
    QString tax_included_flag{};
    QString total_column = QStringLiteral("total");
    /// Amounts of the header taken off the total (discount, prepayment), printed under it when
    /// not zero, followed by what is left (`net_column`).
    std::vector<DocumentNote> deducted_amounts{};
    QString net_column{};
    std::vector<DocumentNote> notes{};
    /// A ticked stored flag prints "VOID" across every page. Left empty by a window that never
    /// prints a void document.
    QString void_column{};
};

/// The layout every purchasing document starts from: the terms among the facts (vendor no,
/// payment term, ship via, FOB point, currency and rate when foreign, reference), the vendor and
/// ship-to blocks, the line table a vendor reads (line, item code, vendor item code, description,
/// quantity, unit, unit cost, amount, tax code), sub total and total, and the remark. A window
/// adds its dates and people to the facts, its notes, and names what differs.
DocumentLayout purchasing_document_layout(const QString& title, const QString& header_table, const QString& line_table);

/// Makes a layout known under its title, replacing one declared before under the same title.
/// Document windows declare theirs when they are made; the host prints with it.
void declare_document_layout(const DocumentLayout& layout);
/// The layout declared for this report title (case-insensitive); nothing when none was declared.
std::optional<DocumentLayout> find_document_layout(const QString& title);

} // namespace zelkor
