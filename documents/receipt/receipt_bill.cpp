#include "documents/receipt/receipt_bill.h"

#include "documents/bill/bill_payable.h"
#include "documents/bill/bill_posting.h"
#include "payables/payables.h"

namespace zelkor {

Bill bill_at_receipt(const ReceiptHeader& header, const WrittenLines& written, const DocumentNumber& number)
{
    Bill bill;
    BillHeader& head = bill.header;
    head.docno = number.docno;
    head.fkey = number.fkey;
    head.vendor_no = header.vendor_no;
    head.invoice_date = header.vendor_invoice_date;
    head.currency = header.currency;
    head.exchange_rate = header.exchange_rate;
    head.rate_date = header.rate_date;
    head.invoice_no = header.vendor_invoice_no;
    head.receipt_no = header.docno;
    head.receipt_date = header.receipt_date;
    head.po_no = header.multi_po ? QString() : header.pono;
    head.remark = header.remark;
    head.reference = header.reference;
    head.payby = header.payby;
    head.cash_accno = header.cash_accno;
    head.bank_code = header.bank_code;
    head.check_no = header.check_no;
    head.check_date = header.check_date;
    head.payment_term = header.payment_term;
    head.discount_percent = header.discount_percent;
    head.discount_amount = header.discount_amount;
    head.prepayment = header.prepayment;
    head.prepayment_no = header.prepayment_no.trimmed();
    head.period = header.fiscal_period();
    int itemno = 0;
    for (size_t index = 0; index < written.lines.size(); ++index) {
        const ReceiptLine& line = written.lines[index];
        BillLine billed;
        billed.itemno = ++itemno;
        billed.itemcode = line.itemcode;
        billed.itemtype = line.itemtype;
        billed.description = line.description;
        billed.warehouse = line.warehouse;
        billed.location = line.location;
        billed.uom_received = line.uom;
        billed.quantity = billed.quantity_received = billed.rc_quantity_open = line.received();
        billed.unitcost = line.unitcost.value_or(Decimal());
        billed.unit_cost_received = billed.unitcost;
        billed.extended_cost = line.extended_cost.value_or(Decimal()).round2();
        billed.amount_received = billed.extended_cost;
        billed.net_cost = line.net_cost;
        billed.tax_amount = line.tax_amount;
        billed.tax_allocate = line.tax_allocate;
        billed.price_include_tax = line.price_include_tax;
        billed.tax_code = line.tax_code;
        billed.accno = line.accno;
        billed.receipt_no = header.docno;
        billed.receipt_itemno = line.itemno;
        billed.pono = line.pono;
        billed.po_itemno = line.po_itemno;
        billed.po_uom = line.po_uom;
        billed.po_quantity = line.order_received;
        billed.taxes = written.elements[index];
        billed.received = ReceivedPosting{line.line_cost(), written.elements[index], header.exchange_rate};
        bill.lines.push_back(std::move(billed));
    }
    for (size_t index = 0; index < written.landed.size(); ++index) {
        const LandedLine& line = written.landed[index];
        if (!landed_on_receipt_bill(header, line))
            continue;
        BillLine billed;
        billed.itemno = ++itemno;
        billed.itemcode = line.itemcode;
        billed.itemtype = QStringLiteral("6");
        billed.description = line.description;
        billed.quantity = billed.quantity_received = billed.rc_quantity_open = line.quantity.value_or(Decimal());
        billed.unitcost = line.unitcost.value_or(Decimal());
        billed.unit_cost_received = billed.unitcost;
        billed.extended_cost = line.extended_cost.value_or(Decimal()).round2();
        billed.amount_received = billed.extended_cost;
        billed.net_cost = line.net_cost;
        billed.tax_amount = line.tax_amount;
        billed.tax_allocate = line.tax_allocate;
        billed.price_include_tax = false;
        billed.tax_code = line.tax_code;
        billed.accno = line.accno;
        billed.receipt_no = header.docno;
        billed.landed_item = true;
        billed.receipt_landed_itemno = line.itemno;
        billed.taxes = written.landed_elements[index];
        billed.received = ReceivedPosting{line.line_cost(), written.landed_elements[index], header.exchange_rate};
        bill.lines.push_back(std::move(billed));
    }
    return bill;
}

[[nodiscard]] std::expected<void, Error> write_bill(Database& db, const Bill& bill, const ReceiptHeader& header,
                                                    const ReceiptSaving& saving, const LandedVendor& vendor,
                                                    const std::optional<ExistingPrepayment>& prepayment,
                                                    ReceiptKeys& keys)
{
    const AuditStamp& stamp = saving.stamp;
    if (auto done = insert_bill_rows(db, bill, stamp); !done)
        return done;
    if (auto done = bill_receipts_and_orders(db, bill, Billing::OrderLinesOnly); !done)
        return done;
    const BillAccounts accounts{saving.accounts.suspense, saving.accounts.discount, vendor.ap_accno, header.paying_account,
                                prepayment ? prepayment->prepayment_accno : QString()};
    auto journal = post_bill(db, bill, accounts, stamp.user);
    if (!journal)
        return std::unexpected(journal.error());
    auto payable = write_bill_payable(db, bill, journal->fkey, vendor.ap_accno, prepayment, stamp);
    if (!payable)
        return std::unexpected(payable.error());
    keys.payable = payable->fkey;
    keys.invoice_docno = bill.header.docno;
    return insert_bill_header(db, bill, {journal->fkey, QString(), payable->fkey, payable->docno}, stamp);
}

std::expected<void, Error> verify_bill_at_receipt(Database& db, const Receipt& receipt)
{
    if (!receipt.header.with_bill())
        return {};
    auto written = lines_to_write(receipt, {});
    if (!written)
        return std::unexpected(written.error());
    const Bill bill = bill_at_receipt(receipt.header, *written, {});
    auto plan = start_payable(db, payable_of(bill, QString(), AuditStamp{}));
    if (!plan)
        return std::unexpected(plan.error());
    return {};
}

} // namespace zelkor
