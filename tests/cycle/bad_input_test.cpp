// Bad input typed where a clerk types: every header field and every cell of the first line of
// the requisition, order, receipt, bill and landed-cost windows gets each value of a corpus (quotes, SQL, wildcards,
// 10,000 characters, emoji, right-to-left text, combining marks, control characters, numbers
// no column holds, impossible dates, negative and fractional quantities), then the clerk saves.
// Nothing may crash; a refusal says why in the window's words and writes nothing; what was
// accepted reads back exactly as the window kept it.
#include "clerk.h"
#include "fingerprint.h"
#include "step.h"

#include "core/clock.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

#include <iostream>

namespace zelkor::cycle {
namespace {

QStringList corpus()
{
    return {
        QStringLiteral("O'Brien \"Ace\" Supply"),
        QStringLiteral("'; DROP TABLE PO_header_table; --"),
        QStringLiteral("100% _off_ \\\\server\\share"),
        QString(10000, u'x') + QStringLiteral("End"),
        QStringLiteral("📦 Kiste 🚚"),
        QStringLiteral("שלום עולם مرحبا"),
        QStringLiteral("e\u0301 n\u0303 a\u0308\u0304"),
        QStringLiteral("tab\there bell\u0007 escape\u001b[31m"),
        QStringLiteral("line one\nline two"),
        QStringLiteral("nul\u0000inside").replace(QStringLiteral("\\0"), QString(QChar(0))),
        QStringLiteral("1e30"),
        QStringLiteral("-0"),
        QStringLiteral("NaN"),
        QStringLiteral("inf"),
        QStringLiteral("1,2"),
        QStringLiteral("999999999999999999.99"),
        QStringLiteral("31/02/2026"),
        QStringLiteral("00/13/2026"),
        QStringLiteral("12/03/2026"),
        QStringLiteral("-5"),
        QStringLiteral("2.5"),
        QStringLiteral("0.0000001"),
        QStringLiteral("7"),
        QString(),
        QStringLiteral("   "),
    };
}

/// How the values of one window fared.
struct Tally {
    int tried = 0;
    int refused_on_entry = 0;
    int refused_on_save = 0;
    int accepted = 0;
    int round_tripped = 0;
    int altered_on_entry = 0; ///< accepted after the window changed them (control characters taken out, ...)
    int defaulted = 0;        ///< left empty, filled in by the window's default (today, the vendor's address)
    QStringList faults;

    QString line(const QString& window) const
    {
        return QStringLiteral("%1: %2 values tried, %3 refused as typed, %4 refused by the save, %5 saved, %6 read back"
                              " exactly (%7 changed by the window as typed), %8 left empty took the window's default")
            .arg(window)
            .arg(tried)
            .arg(refused_on_entry)
            .arg(refused_on_save)
            .arg(accepted)
            .arg(round_tripped)
            .arg(altered_on_entry)
            .arg(defaulted);
    }
};

/// A place to type into: a header field, or a column of the first line.
struct Target {
    QString name;
    bool cell = false;
    FieldKind kind = FieldKind::Text;
};

/// Fields that open documents, switch the window or filter its panes rather than hold a value of
/// the document; the activation date, which only a future order keeps; and the line ticks that only an edit keeps
/// (a new line is open).
const QStringList Navigation{"docno",    "template", "pr_docno",           "prno",          "pono",
                             "multi_po", "save_vendor_address", "activate_date", "closed", "cancel",
                             "receipt_no", "multi_receipt", "po_no", "receipt_from", "receipt_history_from",
                             "invoice_history_from"};

/// What a clerk can put into a check box: a tick or none.
const QStringList Ticks{QStringLiteral("1"), QStringLiteral("0"), QString()};

/// Whether a message tells the clerk something: a sentence, not a driver's text.
bool clear_message(const QString& text)
{
    return !text.trimmed().isEmpty() && !text.contains(u"database error", Qt::CaseInsensitive)
        && !text.contains(u"QSQL") && !text.contains(u"SQLITE", Qt::CaseInsensitive) && !text.contains(u"syntax error");
}

/// Whether a read-back value is the one kept: numbers as numbers, dates and texts exactly.
bool same_value(const QString& kept, const QString& read, FieldKind kind)
{
    if (kept == read)
        return true;
    if (kind != FieldKind::Number && kind != FieldKind::Check)
        return false;
    const auto a = Decimal::parse(kept.trimmed().isEmpty() ? QStringLiteral("0") : kept);
    const auto b = Decimal::parse(read.trimmed().isEmpty() ? QStringLiteral("0") : read);
    return a && b && *a == *b;
}

class BadInput : public ::testing::Test {
protected:
    BadInput() : t(testing::Contents::Demo), clerk(t.db())
    {
        QLoggingCategory::setFilterRules(QStringLiteral("zelkor.*.warning=false\ndefault.warning=false"));
    }
    ~BadInput() override { QLoggingCategory::setFilterRules(QString()); }

    /// Types every corpus value into every target of the window, each time into a fresh new
    /// document that `start` types, and saves. The window shows one started already: what is
    /// editable in it are the targets.
    Tally type_everywhere(WindowModel& window, Grid& lines, const std::function<bool()>& start, const QStringList& tables)
    {
        Tally tally;
        std::vector<Target> targets;
        for (const Field& field : window.fields())
            if (!Navigation.contains(field.name()) && window.field_editable(field.name()))
                targets.push_back({field.name(), false, field.kind()});
        for (int column = 0; column < lines.column_count(); ++column)
            if (!lines.column(column).hidden && lines.cell_editable(0, column) && !Navigation.contains(lines.column(column).caption))
                targets.push_back({lines.column(column).caption, true, lines.column(column).kind});
        for (const Target& target : targets)
            for (const QString& value : target.kind == FieldKind::Check ? Ticks : corpus())
                try_value(window, lines, start, tables, target, value, tally);
        return tally;
    }

    void try_value(WindowModel& window, Grid& lines, const std::function<bool()>& start, const QStringList& tables,
                   const Target& target, const QString& value, Tally& tally)
    {
        clerk.settle(window);
        if (!start()) {
            tally.faults << QStringLiteral("the document could not be started again after ") + target.name;
            return;
        }
        const QString where = (target.cell ? QStringLiteral("cell \"") : QStringLiteral("field \"")) + target.name
            + QStringLiteral("\" <- \"") + shown_value(value) + u'"';
        const Fingerprint before = Fingerprint::of(t.db(), tables);
        qsizetype mark = clerk.prompter().mark();
        const Entry entry = target.cell ? lines.type_cell(0, target.name, value) : window.type_into(target.name, value);
        if (entry == Entry::ReadOnly || entry == Entry::Unknown)
            return;
        ++tally.tried;
        if (entry == Entry::Refused) {
            ++tally.refused_on_entry;
            const QStringList said = clerk.prompter().messages_since(mark);
            if (said.isEmpty() || !clear_message(said.last()))
                tally.faults << where + QStringLiteral(": refused with ") + (said.isEmpty() ? QStringLiteral("no message") : said.last());
            return;
        }
        const QString kept = target.cell ? lines.cell(0, target.name) : window.field(target.name);
        if (kept != value)
            ++tally.altered_on_entry;
        mark = clerk.prompter().mark();
        if (!window.execute(CommandId::Save)) {
            ++tally.refused_on_save;
            const QStringList said = clerk.prompter().messages_since(mark);
            if (said.isEmpty() || !clear_message(said.last()))
                tally.faults << where + QStringLiteral(": the save refused with ")
                        + (said.isEmpty() ? QStringLiteral("no message") : said.join(QStringLiteral(" | ")));
            if (!(Fingerprint::of(t.db(), tables) == before))
                tally.faults << where + QStringLiteral(": the refused save wrote ") + before.difference(Fingerprint::of(t.db(), tables));
            return;
        }
        ++tally.accepted;
        const QString docno = window.field(QStringLiteral("docno"));
        clerk.settle(window);
        if (!show_document(window, docno)) {
            tally.faults << where + QStringLiteral(": saved as ") + docno + QStringLiteral(" but it does not show again");
            return;
        }
        const QString read = target.cell ? lines.cell(0, target.name) : window.field(target.name);
        if (kept.trimmed().isEmpty() && !read.trimmed().isEmpty())
            ++tally.defaulted;
        else if ((kept.trimmed().isEmpty() && read.trimmed().isEmpty()) || same_value(kept, read, target.kind))
            ++tally.round_tripped;
        else
            tally.faults << where + QStringLiteral(": kept as \"") + shown_value(kept) + QStringLiteral("\", read back as \"")
                    + shown_value(read) + u'"';
    }

    void report(const QString& window, const Tally& tally)
    {
        std::cout << tally.line(window).toStdString() << std::endl;
        EXPECT_GT(tally.tried, 200) << window.toStdString();
        EXPECT_TRUE(tally.faults.isEmpty()) << window.toStdString() << ":\n" << tally.faults.join(u'\n').toStdString();
    }

    FixedClock clock{QDate(2026, 3, 16), QTime(9, 30)};
    testing::TestDatabase t;
    Clerk clerk;
};

TEST_F(BadInput, RequisitionWindow)
{
    POform_pr& window = clerk.requisition();
    Grid& lines = *window.grid(QStringLiteral("dbgrid1"));
    const auto start = [&] {
        return window.execute(CommandId::New) && window.type_into("vendor_no", "V1001") == Entry::Accepted
            && lines.type_cell(0, "item type", "1") == Entry::Accepted
            && lines.type_cell(0, "item code", "WIDGET-A") == Entry::Accepted
            && lines.type_cell(0, "quantity", "2") == Entry::Accepted && lines.type_cell(0, "unit cost", "3") == Entry::Accepted;
    };
    ASSERT_TRUE(start()) << clerk.prompter().last().toStdString();
    report("requisition", type_everywhere(window, lines, start,
                                          {"PR_header_table", "PR_transaction_table", "Docno_master_table", "Next_number_fkey_table"}));
}

TEST_F(BadInput, OrderWindow)
{
    POform_po& window = clerk.order();
    Grid& lines = window.lines();
    const auto start = [&] {
        return window.execute(CommandId::New) && window.type_into("vendor_no", "V1001") == Entry::Accepted
            && lines.type_cell(0, "item code", "WIDGET-A") == Entry::Accepted
            && lines.type_cell(0, "unit cost", "3") == Entry::Accepted
            && lines.type_cell(0, "quantity order", "2") == Entry::Accepted;
    };
    ASSERT_TRUE(start()) << clerk.prompter().last().toStdString();
    report("order", type_everywhere(window, lines, start,
                                    {"PO_header_table", "PO_transaction_table", "Item_onhand_table", "Docno_master_table",
                                     "Next_number_fkey_table"}));
}

TEST_F(BadInput, ReceiptWindow)
{
    const QString order =
        testing::saved_order(t.db(), {"V1001", {{"WIDGET-A", "100000", "box", "3"}, {"MANUAL-OPS", "100000", "each", "2"}},
                                      QDate(2026, 3, 2)})
            .docno;
    POform_receipt& window = clerk.receipt();
    Grid& lines = window.lines();
    const auto start = [&] {
        return window.execute(CommandId::New) && window.type_into("vendor_no", "V1001") == Entry::Accepted
            && window.type_into("pono", QString()) == Entry::Accepted && window.type_into("pono", order) == Entry::Accepted
            && window.pick_order_line(0) && lines.type_cell(0, "quantity received", "1") == Entry::Accepted;
    };
    ASSERT_TRUE(start()) << clerk.prompter().last().toStdString();
    report("receipt", type_everywhere(window, lines, start,
                                      {"PO_receipt_header_table", "PO_receipt_transaction_table", "PO_transaction_table",
                                       "GL_header_table", "GL_transaction_table", "Balance_table", "IN_header_table",
                                       "Item_onhand_table", "FIFO_table", "Docno_master_table", "Next_number_fkey_table"}));
}

TEST_F(BadInput, BillWindow)
{
    POform_invoice& window = clerk.invoice();
    Grid& lines = window.lines();
    int bill = 0;
    const auto start = [&] {
        return window.execute(CommandId::New) && window.type_into("vendor_no", "V1001") == Entry::Accepted
            && window.type_into("invoice_no", QStringLiteral("BAD-%1").arg(++bill)) == Entry::Accepted
            && lines.type_cell(0, "item type", "4") == Entry::Accepted
            && lines.type_cell(0, "item code", "SERVICE") == Entry::Accepted
            && lines.type_cell(0, "extended cost", "10") == Entry::Accepted
            && lines.type_cell(0, "account", "6000") == Entry::Accepted;
    };
    ASSERT_TRUE(start()) << clerk.prompter().last().toStdString();
    report("bill", type_everywhere(window, lines, start,
                                   {"PO_invoice_header_table", "PO_invoice_transaction_table", "GL_header_table",
                                    "GL_transaction_table", "Balance_table", "AP_header_table", "AP_transaction_table",
                                    "Payment_header_table", "Vendor_table", "Docno_master_table", "Next_number_fkey_table"}));
}

TEST_F(BadInput, LandedCostWindow)
{
    POform_landed& window = clerk.landed();
    Grid& lines = window.lines();
    int bill = 0;
    // Without a receipt the clerk confirms that the charge is expensed.
    const auto start = [&] {
        return window.execute(CommandId::New) && window.type_into("vendor_no", "V3002") == Entry::Accepted
            && window.type_into("invoice_no", QStringLiteral("BAD-%1").arg(++bill)) == Entry::Accepted
            && lines.type_cell(0, "item code", "FREIGHT") == Entry::Accepted
            && lines.type_cell(0, "unit cost", "10") == Entry::Accepted
            && lines.type_cell(0, "unit of measurement", "each") == Entry::Accepted;
    };
    ASSERT_TRUE(start()) << clerk.prompter().last().toStdString();
    report("landed bill", type_everywhere(window, lines, start,
                                          {"PO_invoice_header_table", "PO_invoice_transaction_table", "GL_header_table",
                                           "GL_transaction_table", "Balance_table", "AP_header_table", "AP_transaction_table",
                                           "FIFO_table", "Item_onhand_table", "Vendor_table", "Docno_master_table",
                                           "Next_number_fkey_table"}));
}

} // namespace
} // namespace zelkor::cycle
