#pragma once

#include "core/db/database.h"
#include "core/document_versions.h"
#include "core/fiscal_periods.h"
#include "documents/receipt/receipt_document.h"

#include <expected>
#include <set>
#include <vector>

namespace zelkor {

// A saved receipt as its edit and its void read it again under lock, with what they refuse.

enum class Change { Edit, Void };

/// A payable of landed charges a stored receipt made.
struct LandedPayable {
    QString key;
    QString vendor_no;
    QString bill_no;
};

/// A stored receipt read under lock: its header, goods lines and the payables of its landed charges.
struct StoredReceipt {
    Row header;
    std::vector<ReceiptLine> lines;
    std::vector<LandedPayable> landed_payables;

    FiscalPeriod period() const { return {header.text(u"fyear"), int(header.integer(u"period"))}; }
};

/// Reads the shown receipt again under lock and refuses a change it no longer allows: a void
/// receipt, a billed one, one changed by another user since it was shown, one a live landed bill
/// covers, and one whose landed charge's payable was paid.
[[nodiscard]] std::expected<StoredReceipt, Error> locked_receipt(Database& db, const DocumentVersion& shown, Change change);

/// The vendors whose payables the stored receipt holds.
std::set<QString> stored_payable_vendors(const StoredReceipt& stored);

} // namespace zelkor
