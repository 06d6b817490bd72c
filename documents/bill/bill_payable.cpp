#include "documents/bill/bill_payable.h"

namespace zelkor {

std::expected<std::optional<ExistingPrepayment>, Error> lock_bill_prepayment(Database& db, const Bill& bill,
                                                                            const AuditStamp& stamp)
{
    const BillTotals totals = bill_totals(bill);
    if (bill.header.prepayment_no.isEmpty() || totals.prepayment <= Decimal())
        return std::nullopt;
    auto locked = lock_existing_prepayment(db, bill.header.prepayment_no, payable_of(bill, QString(), stamp), totals.prepayment);
    if (!locked)
        return std::unexpected(locked.error());
    return *locked;
}

std::expected<DocumentNumber, Error> write_bill_payable(Database& db, const Bill& bill, const QString& journal_key,
                                                        const QString& ap_accno,
                                                        const std::optional<ExistingPrepayment>& prepayment,
                                                        const AuditStamp& stamp)
{
    const PayableBill payable = payable_of(bill, journal_key, stamp);
    auto plan = start_payable(db, payable);
    if (!plan)
        return std::unexpected(plan.error());
    auto created = create_payable(db, payable, *plan, ap_accno);
    if (!created)
        return std::unexpected(created.error());
    if (plan->prepayment > Decimal()) {
        if (prepayment) {
            if (auto applied = apply_existing_prepayment(db, *prepayment, payable, created->number.docno); !applied)
                return std::unexpected(applied.error());
        } else if (auto paid = create_prepayment_payment(db, payable, created->number.docno, plan->prepayment); !paid) {
            return std::unexpected(paid.error());
        }
    }
    if (auto raised = raise_held_owing_balance(db, bill.header.vendor_no, created->open_amount); !raised)
        return std::unexpected(raised.error());
    return created->number;
}

std::expected<QString, Error> stored_payable_number(Database& db, const Row& header)
{
    if (const QString kept = header.text(u"ap_docno"); !kept.isEmpty())
        return kept;
    const QString payable = header.text(u"apfkey");
    if (payable.isEmpty())
        return QString();
    auto number = db.scalar(QStringLiteral("SELECT docno FROM AP_header_table WHERE fkey = ?"), {payable});
    if (!number)
        return std::unexpected(number.error());
    return Row::to_text(*number);
}

} // namespace zelkor
