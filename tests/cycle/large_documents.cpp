#include "large_documents.h"

#include "core/audit_stamp.h"
#include "documents/bill/bill_save.h"
#include "tests/support/documents.h"
#include "tests/support/window_test_support.h"
#include "windows/base/prompter.h"
#include "windows/bill/POform_invoice.h"
#include "windows/landed/POform_landed.h"

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

/// A window of the bill kinds open on its own, as a clerk's, with a new document started for
/// `vendor`; throws with the window's message when it refuses.
void start_new_bill(Database& db, BillingWindow& window, ScriptedPrompter& prompter, const QString& vendor)
{
    window.apply_settings(testing::window_settings(db, QStringLiteral("ADMIN"), QString()));
    window.set_prompter(&prompter);
    window.open();
    if (!window.execute(CommandId::New) || window.type_into(QStringLiteral("vendor_no"), vendor) != Entry::Accepted)
        throw std::runtime_error("starting a bill of " + vendor.toStdString() + ": " + prompter.last().toStdString());
}

void type_or_throw(BillingWindow& window, ScriptedPrompter& prompter, const QString& field, const QString& value)
{
    if (window.type_into(field, value) != Entry::Accepted)
        throw std::runtime_error("typing " + value.toStdString() + " into " + field.toStdString() + ": "
                                 + prompter.last().toStdString());
}

template <class Saved>
void throw_unless_saved(const Saved& saved, const char* what)
{
    if (!saved)
        throw std::runtime_error(std::string(what) + ": " + saved.error().message.toStdString() + " "
                                 + saved.error().detail.toStdString());
}

/// A receipt, then its vendor's bill of every line, taken from the receipt by the bill
/// window as a clerk's Enter Bill does and saved by the window's save.
void save_receipt_and_bill(Database& db, const QDate& day)
{
    const QString receipt = save_order_and_receipt(db, day, BilledReceiptLines);
    ScriptedPrompter prompter;
    POform_invoice window;
    start_new_bill(db, window, prompter, QStringLiteral("V1001"));
    type_or_throw(window, prompter, QStringLiteral("receipt_no"), receipt);
    type_or_throw(window, prompter, QStringLiteral("invoice_no"), QStringLiteral("CRASH-") + receipt);
    auto checked = window.checked_bill();
    throw_unless_saved(checked, "checking the bill");
    throw_unless_saved(save_new_bill(db, *checked, audit_stamp(QStringLiteral("ADMIN"))), "saving the bill");
}

/// A receipt, then the customs broker's bill of freight, duty and insurance spread over all its
/// goods, typed into the landed-cost window as a clerk does, passed through the window's checks
/// and saved by the landed-cost service as the window's save does.
void save_receipt_and_landed_bill(Database& db, const QDate& day)
{
    const QString receipt = save_order_and_receipt(db, day, LandedReceiptLines);
    ScriptedPrompter prompter;
    POform_landed window;
    start_new_bill(db, window, prompter, QStringLiteral("V3002"));
    type_or_throw(window, prompter, QStringLiteral("invoice_no"), QStringLiteral("LANDED-") + receipt);
    const std::pair<QString, QString> charges[]{{QStringLiteral("FREIGHT"), QStringLiteral("1234.57")},
                                                {QStringLiteral("DUTY"), QStringLiteral("987.65")},
                                                {QStringLiteral("INSURANCE"), QStringLiteral("45.01")}};
    for (int row = 0; row < int(std::size(charges)); ++row) {
        Grid& lines = window.lines();
        if (lines.type_cell(row, QStringLiteral("item code"), charges[row].first) != Entry::Accepted
            || lines.type_cell(row, QStringLiteral("unit cost"), charges[row].second) != Entry::Accepted
            || lines.type_cell(row, QStringLiteral("unit of measurement"), QStringLiteral("each")) != Entry::Accepted)
            throw std::runtime_error("typing the charge " + charges[row].first.toStdString() + ": "
                                     + prompter.last().toStdString());
    }
    type_or_throw(window, prompter, QStringLiteral("primary_vendor"), QStringLiteral("V1001"));
    type_or_throw(window, prompter, QStringLiteral("receipt_no"), receipt);
    auto checked = window.checked_bill();
    throw_unless_saved(checked, "checking the landed bill");
    throw_unless_saved(save_new_landed_bill(db, checked->landed, checked->accounts, audit_stamp(QStringLiteral("ADMIN"))),
                       "saving the landed bill");
}

} // namespace

const std::vector<LargeDocument>& large_documents()
{
    static const std::vector<LargeDocument> kinds{
        {QStringLiteral("receipt"), [](Database& db, const QDate& day) { save_order_and_receipt(db, day, LargeDocumentLines); },
         LargeDocumentLines},
        {QStringLiteral("bill"), save_receipt_and_bill, BilledReceiptLines},
        {QStringLiteral("landed"), save_receipt_and_landed_bill, LandedReceiptLines},
    };
    return kinds;
}

} // namespace zelkor::cycle
