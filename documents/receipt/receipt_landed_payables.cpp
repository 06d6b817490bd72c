#include "documents/receipt/receipt_landed_payables.h"

#include "documents/receipt/receipt_posting.h"
#include "payables/payables.h"

#include <algorithm>

namespace zelkor {

[[nodiscard]] std::expected<void, Error> write_landed_payables(Database& db, const ReceiptHeader& header,
                                                               WrittenLines& written, const QString& journal_key,
                                                               const std::map<QString, LandedVendor>& vendors,
                                                               const AuditStamp& stamp)
{
    std::vector<std::pair<QString, QString>> groups;
    for (const LandedLine& line : written.landed) {
        if (landed_on_receipt_bill(header, line))
            continue;
        const std::pair group{landed_vendor(header, line), landed_bill(header, line)};
        if (std::find(groups.begin(), groups.end(), group) == groups.end())
            groups.push_back(group);
    }
    for (const auto& [vendor, bill_no] : groups) {
        const auto found = vendors.find(vendor);
        if (found == vendors.end())
            return std::unexpected(Error::invalid(QStringLiteral("vendor is invalid.")));
        const LandedVendor& master = found->second;
        PayableBill payable;
        payable.vendor_no = vendor;
        payable.invoice_no = bill_no;
        payable.currency = header.currency;
        payable.exchange_rate = header.exchange_rate;
        payable.rate_date = header.rate_date;
        payable.remark = header.remark;
        // The receipt's own vendor bills on the receipt's term, another vendor on its own.
        payable.payment_term = vendor == header.vendor_no ? header.payment_term : master.payment_term;
        payable.source = receipt_posting_source();
        payable.source_docno = header.docno;
        payable.source_form = ReceiptSourceForm;
        payable.period = header.fiscal_period();
        payable.payby = PayLater;
        payable.journal_key = journal_key;
        payable.stamp = stamp;
        for (size_t index = 0; index < written.landed.size(); ++index) {
            const LandedLine& line = written.landed[index];
            if (landed_on_receipt_bill(header, line) || landed_vendor(header, line) != vendor
                || landed_bill(header, line) != bill_no)
                continue;
            if (!payable.invoice_date.isValid())
                payable.invoice_date = line.bill_date.isValid() ? line.bill_date : header.receipt_date;
            payable.lines.push_back({line.itemcode, line.tax_code, line.extended_cost.value_or(Decimal()).round2(),
                                     line.tax_amount, line.net_cost, false, written.landed_elements[index]});
        }
        auto plan = start_payable(db, payable);
        if (!plan)
            return std::unexpected(plan.error());
        auto created = create_payable(db, payable, *plan, master.ap_accno);
        if (!created)
            return std::unexpected(created.error());
        if (auto raised = raise_owing_balance(db, vendor, created->open_amount); !raised)
            return raised;
        for (LandedLine& line : written.landed)
            if (!landed_on_receipt_bill(header, line) && landed_vendor(header, line) == vendor
                && landed_bill(header, line) == bill_no)
                line.ap_fkey = created->number.fkey;
    }
    return {};
}

} // namespace zelkor
