#pragma once

#include "core/db/database.h"
#include "core/numbering.h"
#include "documents/bill/bill_writer.h"
#include "documents/receipt/receipt_locks.h"
#include "documents/receipt/receipt_rows.h"
#include "documents/receipt/receipt_save.h"

#include <expected>
#include <optional>

namespace zelkor {

// The bill a clerk enters with a receipt (its vendor's bill number typed on the receipt): made
// from the receipt's lines as written and saved by the vendor bill's own routines.

/// The bill entered with a receipt: its goods lines, and the landed charges on its own bill, each
/// billed at exactly what the receipt received and posted.
Bill bill_at_receipt(const ReceiptHeader& header, const WrittenLines& written, const DocumentNumber& number);

/// Writes the bill entered with the receipt: its rows, the billing of the
/// order lines (the receipt lines were written billed), its entry, its payable, the payment or
/// prepayment it applies, the vendor's owing balance and its header.
[[nodiscard]] std::expected<void, Error> write_bill(Database& db, const Bill& bill, const ReceiptHeader& header,
                                                    const ReceiptSaving& saving, const LandedVendor& vendor,
                                                    const std::optional<ExistingPrepayment>& prepayment,
                                                    ReceiptKeys& keys);

/// The checks of the bill entered with a receipt that need its lines as they will be written,
/// before the save's transaction: its payable takes the discount and the prepayment whole
/// ("Term discount is invalid.", "Prepayment is invalid.") and its term is known ("payment term
/// is invalid."). A receipt without a bill number passes.
[[nodiscard]] std::expected<void, Error> verify_bill_at_receipt(Database& db, const Receipt& receipt);

} // namespace zelkor
