#pragma once

#include "core/db/database.h"

#include <QString>

#include <expected>
#include <vector>

namespace zelkor {

/// The longest document number the document tables hold.
inline constexpr qsizetype MaximumDocnoLength = 30;

/// The identifiers of a newly saved document.
struct DocumentNumber {
    QString docno;
    QString fkey;
};

/// Lays out a document number from the numbering configuration and the type's format row.
[[nodiscard]] std::expected<QString, Error> format_number(Database& db, const QString& doctype, long long counter,
                                            const QString& fiscal_year);

/// The internal key: company, type, "-" and the key counter (1pr-57).
QString make_fkey(int company, const QString& doctype, long long key_counter);

/// Takes the next document counter (per company, type and fiscal year) and key counter (per
/// company and type), formats the number and checks the 30-character rule, inside the caller's
/// transaction: what every save of a new document (and every derived document) does. Both
/// counter rows stay locked until the transaction ends, so a rolled-back save consumes no number;
/// the two counters and the layout are read in one round trip.
/// Errors: the one- or two-line missing-counter message; a missing key counter fails without a
/// message (empty Error::message); a row that stays locked through every retry fails as Locked,
/// "record is locked by another user", on both engines; a number longer than 30 characters fails
/// with "Error : document no. is longer than 30 characters. " + number.
[[nodiscard]] std::expected<DocumentNumber, Error> issue_document_number(Database& db, const QString& doctype,
                                                           const QString& fiscal_year, int company = 1);

/// A number issued with the answers of the reads that travelled with its counters.
struct IssuedWithReads {
    DocumentNumber number;
    std::vector<Rows> answers;
};

/// issue_document_number, with `reads` sent in the same round trip after the counters: for the
/// reads a save makes once the counter holds off every other save of the kind (the next line
/// ids, whether an invoice number is taken).
[[nodiscard]] std::expected<IssuedWithReads, Error> issue_document_number_with(Database& db, const QString& doctype,
                                                                             const QString& fiscal_year,
                                                                             std::vector<Statement> reads, int company = 1);

} // namespace zelkor
