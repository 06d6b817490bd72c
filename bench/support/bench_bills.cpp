#include "bench/support/bench_bills.h"

#include "bench/support/bench_windows.h"
#include "core/clock.h"

namespace zelkor::bench {

BillWindow::BillWindow(Database& db) : m_window(opened<POform_invoice>(db, {}, m_prompter)) {}

BillWindow::~BillWindow() = default;

CheckedBill BillWindow::bill_of(const QString& receipt, long long serial, BillPayment payment)
{
    m_prompter.clear();
    // New toggles: the bill taken before is left first, without saving it (its save was the
    // caller's), then a new one begins.
    if (m_bills_taken++ > 0) {
        m_prompter.answer_no();
        m_window->execute(CommandId::New);
    }
    m_window->execute(CommandId::New);
    m_window->type_into("vendor_no", QStringLiteral("V100"));
    m_window->type_into("receipt_no", receipt);
    m_window->type_into("invoice_no", QStringLiteral("BENCH-%1").arg(serial));
    if (payment == BillPayment::Check) {
        m_window->type_into("payby", PayCheck);
        m_window->type_into("bank_code", QStringLiteral("OPER"));
        m_window->type_into("check_no", QString::number(serial));
        m_window->type_into("check_date", Clock::today().toString(QStringLiteral("dd/MM/yyyy")));
    }
    auto checked = m_window->checked_bill();
    require(checked, "checking the bill");
    return *checked;
}

const LandedAccounts FreightAccounts{{QStringLiteral("2050"), QStringLiteral("4100"), QStringLiteral("2000"), {}, {}},
                                     QStringLiteral("5100")};

LandedBill freight_over(const QString& receipt, long long serial, const QDate& date)
{
    LandedBill landed;
    BillHeader& header = landed.bill.header;
    header.doctype = QStringLiteral("ld");
    header.vendor_no = QStringLiteral("V200");
    header.primary_vendor = QStringLiteral("V100");
    header.invoice_date = date;
    header.currency = QStringLiteral("USD");
    header.invoice_no = QStringLiteral("FREIGHT-%1").arg(serial);
    header.receipt_no = receipt;
    header.payby = QStringLiteral("Pay Later");
    header.payment_term = QStringLiteral("30");
    header.period = {QString::number(date.year()), date.month()};
    header.source_form = LandedSourceForm;
    BillLine line;
    line.itemno = 1;
    line.itemcode = QStringLiteral("FREIGHT");
    line.itemtype = QStringLiteral("6");
    line.quantity = Decimal(1);
    line.unitcost = line.extended_cost = line.net_cost = Decimal("9876.54");
    line.tax_code = QStringLiteral("EXEMPT");
    line.accno = QStringLiteral("5200");
    line.landed_item = true;
    landed.bill.lines.push_back(line);
    landed.receipts = {receipt};
    return landed;
}

} // namespace zelkor::bench
