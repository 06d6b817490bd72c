#pragma once

#include "core/db/database.h"
#include "documents/bill/bill_document.h"
#include "documents/common/document_lists.h"

#include <expected>
#include <optional>

namespace zelkor {

/// What the checks of a bill's save need besides the bill.
struct BillChecks {
    enum class Saving { New, Edit };
    Saving saving = Saving::New;
    QString base_currency{};
    /// The edited bill's rate as saved: a rate left as it was is not checked again.
    std::optional<Decimal> stored_rate{};
};

/// The checks of a bill's save, in this order, before anything is written; the first that fails
/// gives its message:
///  1. a vendor ("please specify vendor"), one in use ("vendor is invalid.");
///  2. a line with an item code ("No detail line");
///  3. the company is always 1;
///  4. the vendor's bill number ("please specify bill number");
///  5. no other bill that is not void has that number, whatever its vendor ("Vendor invoice no " +
///     number + " exist"); an edited bill does not count itself;
///  6. a currency ("please specify currency") of the list ("currency is invalid.");
///  7. in another currency than the base, a positive rate ("please specify exchange rate",
///     "exchange rate is invalid."); an edit checks only a rate it changed;
///  8. a payment term ("Please specify Payment term") of the list ("payment term is invalid.");
///  9. an empty pay-by becomes "Pay Later";
/// 10. "Cash" is paid from the cash account, else from the bank's account ("please specify cash
///     account or bank code"); "Check" needs its bank, number and date ("please specify bank
///     code", "please specify check number", "please specify check date"); a bank must exist
///     ("Bank code " + code + " is invalid.");
/// 11. any other pay-by is a credit card with a payable account ("No Account Payable account for "
///     + card + ".\nCheck its setting in Credit card master.");
/// 12. a prepayment is a number ("Prepayment is invalid."), not negative ("Prepayment must be
///     positive"), paid by something when it is paid now ("please specify Pay-by for
///     Prepayment"); the discount is not above the total ("Term discount is invalid.") and the
///     prepayment not above what is left ("Prepayment is invalid.");
/// 13. (a check's number and date are already required by 10);
/// 14. a period ("please specify period") and fiscal year ("please specify fiscal year") inside
///     the working period ("Fiscal period/year is out of working period.");
/// 15. every line: see verify_bill_lines;
/// 16. the AP suspense, purchase discount and purchase variance accounts ("no AP suspense
///     account", ...);
/// 17. the vendor's payable account ("Account payable for vendor " + vendor + " has not been set").
/// On success the bill's totals, discount amount and pay-by are as the save writes them, and the
/// accounts it posts to are given.
[[nodiscard]] std::expected<EnteredBillAccounts, Error> verify_bill(Database& db, EnteredBill& bill, const BillChecks& checks,
                                                             const DocumentLists& lists);

/// The line checks of a save, line by line in grid order: the typed values fit and their codes
/// are in their lists; the item type ("item type is invalid."); the item, charge or code
/// (code + " is invalid."); the amount ("please specify amount for " + code); the account
/// ("please specify account for " + code, "account number for " + code + " is invalid.", also
/// for an inventory account on a line that moves no stock, not being a receipt's); a stock item's
/// quantity, unit, unit price, warehouse and location; a line of an order alone is no stock
/// item ("P/O Invoice is looking for stock item in P/O Receipt document."); and each receipt and
/// order billed is the vendor's, not void, and in the bill's currency ("Receipt " + number + "
/// is in " + currency + ".").
[[nodiscard]] std::expected<void, Error> verify_bill_lines(Database& db, const EnteredBill& bill, const QString& base_currency,
                                                           const DocumentLists& lists);

/// Whether a live bill other than `except_key` (empty: any) has the vendor's bill number.
[[nodiscard]] std::expected<bool, Error> invoice_number_taken(Database& db, const QString& invoice_no,
                                                              const QString& except_key = {});
/// invoice_number_taken's read, to send with other statements, and whether its answer found a bill.
Statement invoice_number_read(const QString& invoice_no, const QString& except_key = {});
bool invoice_number_found(const Rows& answer);

} // namespace zelkor
