#pragma once

// Payables, payments and prepayments: the open item a bill leaves with its vendor,
// the prepayment paid with a bill or taken from one waiting for its order, and the vendor's
// owing balance. Every operation runs inside the caller's transaction (a receipt's, a bill's or
// a landed bill's save or void) and reports a problem as an Error; the caller rolls back.

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "core/fiscal_periods.h"
#include "core/numbering.h"
#include "tax/purchase_tax.h"

#include <QDate>
#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// The pay-by of a bill that leaves the whole payable open.
inline const QString PayLater = QStringLiteral("Pay Later");
inline const QString PayByCash = QStringLiteral("Cash");
inline const QString PayByCheck = QStringLiteral("Check");

/// Whether a pay-by settles what it pays at once: "Cash", "Check" or a card; not "Pay Later".
bool pays_at_once(const QString& payby);

/// A payment term as a payable copies it.
struct PaymentTerm {
    QString term_no{};
    int duedays = 0;
    int early_days = 0;
    Decimal early_discount{}; ///< percent
};

/// One bill line as its payable sees it.
struct PayableLine {
    QString itemcode{};
    QString tax_code{};
    Decimal extended_cost{};
    Decimal tax_amount{};
    Decimal net_cost{}; ///< what the vendor is owed for the line, tax included
    bool include_tax = false;
    /// The line's tax elements; nothing when the line has no tax array (a line of extended cost
    /// above 0 then fails with "No tax array number for item " + item).
    std::optional<TaxElements> taxes = TaxElements{};
};

/// A bill as the payable and its prepayment need it: plain values, no window.
struct PayableBill {
    QString vendor_no{};
    QString invoice_no{};     ///< the vendor's bill number
    QDate invoice_date{};
    QString currency{};
    std::optional<Decimal> exchange_rate{}; ///< nothing for the base currency
    QDate rate_date{};
    QString remark{};
    QString payment_term{};   ///< term code; empty for none
    QDate due_date{};         ///< typed on the bill; invalid when none was
    QString source{};         ///< "PO-BILL", "PO-RECEIPT" or "PO-LANDED"
    QString source_docno{};   ///< the number of the document that makes the payable
    QString source_form{};    ///< that document's window caption
    FiscalPeriod period{};
    QString payby{};          ///< empty counts as "Pay Later"
    QString discount{};       ///< the term discount as typed; empty for none
    QString prepayment{};     ///< the prepayment as typed; empty for none
    QString prepayment_no{};  ///< an existing prepayment to apply; empty when paid now
    QString po_no{};
    QDate payment_date{};     ///< the receipt date the bill shows; invalid takes the bill date
    QString bank_code{};      ///< how a prepayment paid now is paid
    QString check_no{};
    QDate check_date{};
    QString journal_key{};    ///< the bill's journal entry (GLFKEY)
    std::vector<PayableLine> lines{};
    AuditStamp stamp{};

    QString effective_payby() const { return payby.trimmed().isEmpty() ? PayLater : payby; }
};

/// One payable line as it will be written: a tax code of the bill with its sums, its part of the
/// discount and what was settled at once.
struct PlannedPayableLine {
    int pay_item = 0;
    QString tax_code{};
    Decimal gross_amount{};
    Decimal open_amount{};
    Decimal taxable_amount{};
    Decimal tax_amount{};
    bool include_tax = false;
    Decimal discount_available{};
    Decimal discount{};
    Decimal paid_amount{}; ///< negative: settled at once
    bool paid = false;
    TaxElements taxes{};   ///< summed slot by slot over the lines of the code
};

/// What the start of a payable found, before anything is written: the term, the discount and
/// the prepayment, and the payable lines they were spread over.
struct PayablePlan {
    std::optional<PaymentTerm> term{};
    Decimal total{};      ///< the bill total: the lines' net cost
    Decimal discount{};
    Decimal prepayment{};
    std::vector<PlannedPayableLine> lines{};

    /// What stays owed: the lines' open amounts.
    Decimal open_amount() const;
};

/// The start of Create and Rewrite: the payment term ("payment term is invalid."), the discount
/// ("Term discount is invalid." when not a number, negative or above the total; rounded to
/// cents), the prepayment ("Prepayment is invalid." when not a number or above the total less
/// the discount, "Prepayment must be positive", "please specify Pay-by for Prepayment" for one
/// paid now under "Pay Later"), then one payable line per tax code in order of first appearance
/// ("No tax array number for item " + item), the discount and the prepayment spread over the
/// lines above 0, and the settlement: a bill without prepayment and a pay-by other than "Pay
/// Later" is settled whole; with a prepayment only what it covers is. Reads the term only.
[[nodiscard]] std::expected<PayablePlan, Error> start_payable(Database& db, const PayableBill& bill);

/// A payable written for a bill.
struct CreatedPayable {
    DocumentNumber number{}; ///< its "ip" number and key (the bill's apfkey)
    Decimal open_amount{};   ///< what it leaves owed: the owing balance rises by it
};

/// Writes the payable of a new bill: the "ip" header (due date: none for term "00", else the
/// bill's due date, else bill date + duedays; discount date when the term has early days) and
/// its lines with `ap_accno` and ids above every payable and receivable line, GLFKEY last.
[[nodiscard]] std::expected<CreatedPayable, Error> create_payable(Database& db, const PayableBill& bill,
                                                                  const PayablePlan& plan, const QString& ap_accno);

/// Rewrites the payable of an edited bill: the term columns and dates of its header (from its own
/// invoice date), its lines written again. Gives the change of what it leaves owed (new − old).
[[nodiscard]] std::expected<Decimal, Error> rewrite_payable(Database& db, const QString& payable_key,
                                                            const PayableBill& bill, const PayablePlan& plan,
                                                            const QString& ap_accno);

/// Writes the payment of a prepayment paid with the bill ("pp"), applied to the bill's payable at
/// once: its header (billed), its payable row (nothing left open) and the application row.
/// Pay-by checks: "please specify pay by", "please specify bank account" (Cash and Check need a
/// bank), a card missing from the card master, "please specify Check number" / "please specify
/// Check date".
[[nodiscard]] std::expected<DocumentNumber, Error> create_prepayment_payment(Database& db, const PayableBill& bill,
                                                                             const QString& payable_docno,
                                                                             const Decimal& amount);

/// A waiting prepayment a bill applies, read under row lock.
struct ExistingPrepayment {
    QString docno{};
    QString fkey{};
    QString vendor_no{};
    QString currency{};
    QString po_no{};
    QString prepayment_accno{}; ///< the account that holds it (the bill credits it)
    QDate payment_date{};
    Decimal amount{};
};

/// Locks the prepayment a bill names and checks it: it exists in company 1 ("No prepayment no. "
/// + number), is not void nor billed, is the bill's vendor's, in its currency, and of the
/// bill's prepayment amount ("Prepayment is invalid."). Its rows waiting for its order are
/// locked with it. Call it with the vendor's row, before the counters: the posting credits its
/// account.
[[nodiscard]] std::expected<ExistingPrepayment, Error> lock_existing_prepayment(Database& db, const QString& number,
                                                                                const PayableBill& bill,
                                                                                const Decimal& amount);

/// Applies a locked prepayment to the bill's payable: billed, an application row, its waiting
/// row deleted.
[[nodiscard]] std::expected<void, Error> apply_existing_prepayment(Database& db, const ExistingPrepayment& prepayment,
                                                                   const PayableBill& bill, const QString& payable_docno);

/// Undoes the application of a prepayment (a voided bill's): not billed, its application rows
/// deleted, and waiting again for its order when it names one.
[[nodiscard]] std::expected<void, Error> restore_prepayment(Database& db, const QString& number);

/// Locks the vendor's row before the save takes its numbers (its rank in the lock order), so
/// that raising its owing balance later waits on nobody; a vendor missing from the master fails.
[[nodiscard]] std::expected<void, Error> lock_vendor_row(Database& db, const QString& vendor_no);

/// Adds `change` to the vendor's owing balance; a vendor missing from the master fails.
[[nodiscard]] std::expected<void, Error> raise_owing_balance(Database& db, const QString& vendor_no, const Decimal& change);

/// Adds `change` to the owing balance of a vendor whose row the save holds (lock_vendor_row or
/// a read under lock found it), so that the row is there: sent without waiting for its answer.
[[nodiscard]] std::expected<void, Error> raise_held_owing_balance(Database& db, const QString& vendor_no,
                                                                  const Decimal& change);

/// What voiding a payable took back.
struct VoidedPayable {
    QString vendor_no{};
    Decimal open_amount{}; ///< the open amounts it held; 0 for a payable already void
    bool already_void = false;
};

/// Voids a payable and its lines and lowers the vendor's owing balance by the open amounts they
/// held. A missing payable fails with "Invoice " + invoice_no + " not found in Account Payable";
/// one already void is left as it is.
[[nodiscard]] std::expected<VoidedPayable, Error> void_payable(Database& db, const QString& payable_key,
                                                               const QString& invoice_no, const AuditStamp& stamp);

/// Whether anything of the payable was paid outside the bill (a line `paid` or with a paid amount).
[[nodiscard]] std::expected<bool, Error> payable_paid(Database& db, const QString& payable_key);

} // namespace zelkor
