#pragma once

// How a landed bill's capitalised charges are spread over the goods of the receipts it covers:
// the covered receipts read under lock, their goods lines (the basis) in receipt and line order,
// and the shares by value. Window-free; the reads run inside the caller's transaction.

#include "core/db/database.h"
#include "core/money/decimal.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// The most receipts one landed bill covers.
constexpr int MostLandedReceipts = 10;

/// Spreads `total` over lines by value, cumulatively: the running sum C of the values up to a
/// line gives round2(total × C ÷ T) given so far, and the line gets that less what the lines
/// before it were given. The shares therefore add up to `total` to the cent, whatever the
/// rounding, and the last line takes the remainder. T is the sum of the values; a T of zero or
/// less cannot carry a non-zero total ("Receipt goods value is zero. Landed cost cannot be
/// allocated.").
[[nodiscard]] std::expected<std::vector<Decimal>, Error> spread_by_value(const Decimal& total,
                                                                         const std::vector<Decimal>& values);

/// A receipt a landed bill covers, as read under lock.
struct CoveredReceipt {
    QString docno{};
    QString fkey{};
    QString vendor_no{};
    std::optional<Decimal> exchange_rate{}; ///< nothing for the base currency
};

/// A goods line of a covered receipt.
struct BasisLine {
    QString receipt_no{};
    int itemno = 0;
    QString itemcode{};
    QString itemtype{}; ///< "1": a stock item, whose share raises stock
    QString accno{};
    QString warehouse{};
    QString location{};
    Decimal quantity_received{};
    /// Extended cost less the tax included in it, in base currency (at the receipt's rate,
    /// rounded to cents), so that receipts in different currencies compare.
    Decimal value{};
};

/// Locks the headers of the receipts (each once, in the order given) and checks each against
/// the goods vendor: a receipt missing, void or of another vendor is refused with receipt + "
/// is invalid."; more than MostLandedReceipts distinct receipts with "A landed bill covers at
/// most 10 receipts.". Raises each receipt's version, so that a writer holding an older one
/// knows the receipt was covered since.
[[nodiscard]] std::expected<std::vector<CoveredReceipt>, Error> lock_covered_receipts(Database& db,
                                                                                      const QStringList& receipts,
                                                                                      const QString& goods_vendor);

/// The goods lines of the receipts (not landed charges, not void), in receipt and line order,
/// read in one statement.
[[nodiscard]] std::expected<std::vector<BasisLine>, Error> read_allocation_basis(
    Database& db, const std::vector<CoveredReceipt>& receipts);

/// The shares of each basis line, in the bill's currency and in base currency.
struct LandedShares {
    std::vector<Decimal> amounts{};
    std::vector<Decimal> base_amounts{};
};

/// Spreads the capitalised charge total (bill currency) over the basis: in the bill's currency,
/// and in base currency from the total converted once at the bill's rate, so that the base
/// shares add up to the converted total rather than each being converted on its own.
[[nodiscard]] std::expected<LandedShares, Error> landed_shares(const Decimal& total,
                                                               const std::optional<Decimal>& exchange_rate,
                                                               const std::vector<BasisLine>& basis);

} // namespace zelkor
