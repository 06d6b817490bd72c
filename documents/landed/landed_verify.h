#pragma once

// The checks of a landed bill's save, in the window's order, on the bill as typed. Nothing is
// written; what passes is handed to the landed-cost service.

#include "core/db/database.h"
#include "documents/common/document_lists.h"
#include "documents/landed/landed_posting.h"
#include "tax/purchase_tax.h"

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// A charge line as typed: its numbers as text, so that the checks can tell empty from wrong.
struct TypedCharge {
    int itemno = 0;
    QString itemcode{};
    QString description{};
    QString quantity{};
    QString uom{};
    QString unitcost{};
    QString extended_cost{};
    QString tax_code{};
    bool tax_included = false;
    Decimal tax_amount{};
    Decimal tax_allocate{};
    Decimal net_cost{};
    bool expense = false;
    QString accno{};
};

/// A landed bill as typed: its header, whose numbers the window has read, the prepayment and
/// discount as typed, the charges and the receipts chosen.
struct TypedLanded {
    BillHeader header{};
    QString key{};            ///< the edited bill's; empty for a new one
    QString prepayment{};
    QString discount_amount{};
    std::vector<TypedCharge> charges{};
    QStringList receipts{};
    TaxElementStore taxes{};
};

/// A landed bill as the window's checks hand it to the landed-cost service.
struct CheckedLanded {
    LandedBill landed{};
    LandedAccounts accounts{};
};

/// The checks in order, each stopping the save: the charge vendor ("please specify vendor"), a
/// charge ("No detail line"), the vendor's bill number ("please specify vendor's invoice
/// number") no other live bill has ("Vendor invoice no " + number + " exist"), the currency
/// ("please specify currency") and a foreign currency's rate ("please specify exchange rate",
/// "exchange rate is invalid."), the payment term ("Please specify Payment term"), the pay-by
/// and the account it pays from, the prepayment ("please specify Prepayment", "Prepayment is
/// invalid.", "Prepayment must be positive", "please specify Pay-by for Prepayment"), period
/// and fiscal year inside the working period, the three default accounts, the vendor's payable
/// account ("Account payable for vendor " + vendor + " has not been set"), a goods vendor when
/// receipts are chosen ("please specify goods vendor"), then each charge (see the .cpp) and its
/// tax elements ("cannot find tax element for item no " + line).
[[nodiscard]] std::expected<CheckedLanded, Error> verify_landed(Database& db, const TypedLanded& typed,
                                                                const QString& base_currency, const DocumentLists& lists);

} // namespace zelkor
