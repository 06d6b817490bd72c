#pragma once

#include "core/db/database.h"
#include "documents/common/document_lists.h"
#include "documents/receipt/order_receiving.h"
#include "documents/receipt/receipt_document.h"
#include "documents/receipt/receipt_posting.h"

#include <QStringList>

#include <expected>
#include <map>
#include <vector>

namespace zelkor {

/// How a document paid at once is paid: the pay-by and the fields it uses.
struct PaymentSource {
    QString payby{};
    QString cash_accno{};
    QString bank_code{};
    QString check_no{};
    QDate check_date{};
};

/// The pay-by checks of a receipt or landed bill: an empty pay-by becomes "Pay Later" (nothing
/// to pay from); "Cash" needs its cash account or a bank ("please specify cash account or bank
/// code"); "Check" its bank, number and date ("please specify bank code", "please specify check
/// number", "please specify check date"); a bank must exist ("Bank code " + code + " is
/// invalid."); any other pay-by is a card with a payable account ("No Account Payable account
/// for " + card + ".\nCheck its setting in Credit card master."). Gives the paying account.
[[nodiscard]] std::expected<QString, Error> verify_payment_source(Database& db, PaymentSource& source);

/// What the header checks need besides the typed header.
struct ReceiptHeaderChecks {
    bool new_receipt = false; ///< an edit does not check the ship-to again
    QString base_currency{};
};

/// The header checks of a save, in the window's order: the vendor ("Please specify vendor"), a
/// line with an item code ("No detail line"), the ship-to of a new receipt ("please specify
/// ship-to"), a bill number no live bill has ("Bill no " + number + " exist"), the pay-by and
/// the account it pays from (an empty one becomes "Pay Later"; cash account or bank, check
/// number and date, a card with its payable account), the prepayment, period and fiscal year
/// inside the working period, the currency and its rate, the bill's date and term (landed
/// charges need a bill), and every header code in its list. An empty vendor address takes the
/// vendor master's.
[[nodiscard]] std::expected<void, Error> verify_receipt_header(Database& db, Receipt& receipt,
                                                               const ReceiptHeaderChecks& checks,
                                                               const DocumentLists& lists);

/// The default accounts a receipt needs ("no AP suspense account", "no purchase discount
/// account", "no purchase variance account").
[[nodiscard]] std::expected<ReceiptAccounts, Error> receipt_accounts(Database& db);

/// The line checks of a save, line by line in grid order (a line without an item code is
/// skipped): codes in their lists and numbers their columns hold, the item by its type, the
/// quantities, costs, account, unit (with a conversion to the stock unit and to the order
/// line's unit), warehouse and location. Fills in the lines' orders (po_key) and their
/// received and cancelled quantities in the order lines' units, to six decimals.
[[nodiscard]] std::expected<void, Error> verify_receipt_lines(Database& db, std::vector<ReceiptLine>& lines,
                                                              const DocumentLists& lists);

/// Two lines of one order line received into the same warehouse and location are refused
/// (code + " are received into same warehouse/location.").
[[nodiscard]] std::expected<void, Error> verify_order_line_places(const std::vector<ReceiptLine>& lines);

/// A question the clerk answers before a receipt is saved.
struct ReceiptQuestion {
    enum class Kind { YesNo, OkCancel };
    Kind kind = Kind::YesNo;
    QString text{};
};

/// The questions about the order lines, once per order line over all its receipt lines, in its
/// own unit: more received than is open asks "Are you sure to receive ... more than quantity
/// open (...)?" (Yes/No); otherwise more received and cancelled than is open asks "Received
/// quantity > Openned quantity. Press OK to confirm" (OK/Cancel). What is open counts back the
/// quantities this receipt had recorded when it is edited (`stored`).
std::vector<ReceiptQuestion> order_line_questions(const std::vector<ReceiptLine>& lines, const OrderLineStates& orders,
                                                  const std::vector<ReceiptLine>& stored);

/// The warnings of stock lines that fill their warehouse beyond its maximum stock: on hand plus
/// what the receipt adds, per item and warehouse in stock units (less what the edited receipt had
/// added, `stored`).
[[nodiscard]] std::expected<QStringList, Error> capacity_warnings(Database& db, const std::vector<ReceiptLine>& lines,
                                                                  const std::vector<ReceiptLine>& stored);

/// Whether a live bill of the company has this vendor's bill number.
[[nodiscard]] std::expected<bool, Error> bill_number_used(Database& db, const QString& number);

/// The checks of the landed charges, line by line (a line without an item code is skipped): the
/// vendor and tax code in their lists, the charge in the charge list, its amounts, its account,
/// its tax elements, a bill number ("please specify invoice no for landed cost", "please specify
/// invoice no of landed cost item for vendor " + vendor), the vendor's payable account
/// ("Account payable for vendor " + vendor + " has not been setup") and a payment term ("There
/// is no default payment term for secondary vendor"). Gives each vendor's account and term.
[[nodiscard]] std::expected<std::map<QString, LandedVendor>, Error> verify_landed_lines(Database& db, const Receipt& receipt,
                                                                                        const DocumentLists& lists);

/// The goods lines of a saved receipt, with their orders' keys and their quantities in the order
/// lines' units, converted as when they were saved.
[[nodiscard]] std::expected<std::vector<ReceiptLine>, Error> stored_receipt_lines(Database& db, const QString& fkey);

} // namespace zelkor
