#pragma once

#include "core/db/database.h"
#include "core/db/row.h"
#include "windows/print/document_layout.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <utility>
#include <vector>

namespace zelkor {

/// A label and its value as a block of the page prints them.
using LabelledValue = std::pair<QString, QString>;

/// A column of a printed line table.
struct PrintedLineColumn {
    QString heading;
    LineValue value = LineValue::Text;

    /// Numbers are right-aligned and never wrap or shrink below their width.
    bool numeric() const { return value == LineValue::Quantity || value == LineValue::UnitCost || value == LineValue::Amount; }
};

/// A document ready to print: every block's texts, written as the vendor will read them.
struct PrintedDocument {
    QString title;            ///< "Purchase Order"
    QString number;           ///< the document number
    QStringList letterhead{}; ///< company name first, then address and how to reach the company
    std::vector<LabelledValue> facts{};
    QStringList vendor{};     ///< the vendor block's lines, the name first
    QStringList ship_to{};    ///< the ship-to block's lines, the warehouse's description first
    std::vector<PrintedLineColumn> columns{};
    std::vector<QStringList> lines{};
    std::vector<LabelledValue> totals{}; ///< sub total, tax per authority, total
    std::vector<LabelledValue> notes{};
    bool void_document = false;
    QString print_date{};
};

/// Reads what the layout prints: the print query's rows (`rows`, header columns repeated on
/// every line) and, for what they do not carry, the stored document numbered `docno`, its
/// vendor, ship-to warehouse, items, tax authorities and the company. Dates are written in
/// `date_format`; line columns empty on every line are left out.
[[nodiscard]] std::expected<PrintedDocument, Error> read_printed_document(Database& db, const DocumentLayout& layout,
                                                                          const Rows& rows, const QString& docno,
                                                                          const QString& date_format);

/// A quantity as a vendor reads it: grouped, with `places` decimals, or with the decimals it
/// has (at most six) when `places` is negative.
QString printed_quantity(const Decimal& quantity, int places);

} // namespace zelkor
