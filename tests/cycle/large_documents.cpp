#include "large_documents.h"

#include "forms/common/prompter.h"
#include "forms/payables/POform_invoice.h"
#include "forms/payables/invoice_save.h"
#include "services/audit_stamp.h"
#include "tests/support/documents.h"
#include "tests/support/window_test_support.h"

#include <stdexcept>

namespace zelkor::cycle {

namespace {

/// An order of `lines` lines over the demo's stock items, non-stock items and a charge, then a
/// receipt of all of them, a few in part; gives the receipt's number.
QString save_order_and_receipt(Database& db, const QDate& day, int lines)
{
    using testing::LineSpec;
    static const std::vector<LineSpec> kinds{{"WIDGET-A", "2", "box", "30"}, {"BOLT-M8", "3", "box", "12.5"},
                                             {"PAINT-5L", "1", "box", "70"}, {"WIRE-CU", "2", "roll", "99.99"},
                                             {"MANUAL-OPS", "1", "each", "15"}, {"FREIGHT", "1", "", "4.25"}};
    testing::OrderSpec order{QStringLiteral("V1001"), {}, day};
    for (int line = 0; line < lines; ++line)
        order.lines.push_back(kinds[size_t(line) % kinds.size()]);
    const QString number = testing::saved_order(db, order).docno;
    std::vector<testing::ReceiptLineSpec> received;
    for (int line = 1; line <= lines; ++line)
        received.push_back({line, line % 7 == 0 ? QStringLiteral("1") : order.lines[size_t(line - 1)].quantity});
    return testing::saved_receipt(db, number, received, day).docno;
}

/// A receipt, then its vendor's bill of every line, taken from the receipt by the bill
/// window as a clerk's Enter Bill does and saved by the window's save.
void save_receipt_and_bill(Database& db, const QDate& day)
{
    const QString receipt = save_order_and_receipt(db, day, BilledReceiptLines);
    ScriptedPrompter prompter;
    POform_invoice window;
    window.apply_settings(testing::window_settings(db, QStringLiteral("ADMIN"), QString()));
    window.set_prompter(&prompter);
    window.open();
    if (!window.execute(CommandId::New) || window.type_into(QStringLiteral("vendor_no"), QStringLiteral("V1001")) != Entry::Accepted
        || window.type_into(QStringLiteral("receipt_no"), receipt) != Entry::Accepted
        || window.type_into(QStringLiteral("invoice_no"), QStringLiteral("CRASH-") + receipt) != Entry::Accepted)
        throw std::runtime_error("starting the bill of " + receipt.toStdString() + ": " + prompter.last().toStdString());
    auto checked = window.checked_bill();
    if (!checked)
        throw std::runtime_error("checking the bill: " + checked.error().message.toStdString());
    if (auto saved = save_new_bill(db, *checked, audit_stamp(QStringLiteral("ADMIN"))); !saved)
        throw std::runtime_error("saving the bill: " + saved.error().message.toStdString() + " "
                                 + saved.error().detail.toStdString());
}

} // namespace

const std::vector<LargeDocument>& large_documents()
{
    static const std::vector<LargeDocument> kinds{
        {QStringLiteral("receipt"), [](Database& db, const QDate& day) { save_order_and_receipt(db, day, LargeDocumentLines); },
         LargeDocumentLines},
        {QStringLiteral("bill"), save_receipt_and_bill, BilledReceiptLines},
    };
    return kinds;
}

} // namespace zelkor::cycle
