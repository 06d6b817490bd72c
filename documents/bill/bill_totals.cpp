#include "documents/bill/bill_totals.h"

namespace zelkor {

BillTotals bill_totals(const std::vector<BillLineAmount>& lines, const std::optional<Decimal>& discount_percent,
                       const std::optional<Decimal>& discount_amount, const std::optional<Decimal>& prepayment)
{
    BillTotals totals;
    for (const BillLineAmount& line : lines) {
        totals.subtotal += line.extended_cost.round2();
        if (!line.price_include_tax)
            totals.excluded_tax += line.tax_amount.round2();
    }
    totals.total = totals.subtotal + totals.excluded_tax;
    totals.discount = discount_percent ? (totals.total * *discount_percent / Decimal(100)).round2()
                                       : discount_amount.value_or(Decimal()).round2();
    totals.net_amount = (totals.total - totals.discount - prepayment.value_or(Decimal())).round2();
    return totals;
}

void total_bill(EnteredBill& bill)
{
    std::vector<BillLineAmount> amounts;
    for (const EnteredBillLine& line : bill.lines)
        amounts.push_back({line.extended_cost.value_or(Decimal()), line.tax_amount, line.price_include_tax});
    EnteredBillHeader& header = bill.header;
    const BillTotals totals = bill_totals(amounts, header.discount_percent, header.discount_amount, header.prepayment);
    header.subtotal = totals.subtotal;
    header.excluded_tax = totals.excluded_tax;
    header.total = totals.total;
    header.net_amount = totals.net_amount;
    if (header.discount_percent || header.discount_amount)
        header.discount_amount = totals.discount;
}

} // namespace zelkor
