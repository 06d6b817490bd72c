#pragma once

// The steps the new and the edited save of a bill share. Apart from invoice_save.h, as the bill
// writer's types share their names with the window's own (BillTotals).

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "core/numbering.h"
#include "documents/bill/bill_cost_correction.h"
#include "documents/bill/bill_document.h"
#include "documents/bill/bill_writer.h"

#include <expected>

namespace zelkor {

/// The bill as the writer writes it under `number`: every line billed from a receipt re-read
/// under lock with what its receipt posted; a receipt voided, a line fully billed or one whose
/// open quantity moved since the line was taken is refused ("Receipt was void.", "Receipt was
/// fully billed.", receipt + " was changed by another user. Refresh it and edit again.").
[[nodiscard]] std::expected<Bill, Error> written_bill(Database& db, const EnteredBill& entered, const DocumentNumber& number);

/// The keys a bill's posting leaves for its header.
struct PostedKeys {
    QString journal{};
    QString inventory{}; ///< empty when no stock cost was corrected
};

/// Posts the bill (the plan's lines whose stock was issued to their variance accounts) and gives
/// its stock lines' differences to their stock.
[[nodiscard]] std::expected<PostedKeys, Error> post_with_correction(Database& db, const Bill& bill,
                                                                    const BillAccounts& accounts,
                                                                    const CostCorrectionPlan& plan,
                                                                    const AuditStamp& stamp);

} // namespace zelkor
