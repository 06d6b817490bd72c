// The bill window as a clerk sees it in the demo host: Enter Bill on a saved receipt hands the
// receipt to a new bill, which is saved, printed, followed to its journal entry and payable, and
// voided; the header is laid out without overlaps at 1280x800. With ZELKOR_SCREENSHOT_DIR set,
// the window is saved as bill_window.png for a look by eye.
#include "host/host_session.h"

#include "document_window_support.h"

#include "core/clock.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "ui/window_view.h"
#include "windows/bill/POform_invoice.h"
#include "windows/receipt/POform_receipt.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelkor::host {
namespace {

QString active_title(HostSession& session)
{
    QMdiSubWindow* child = session.window().work_area()->activeSubWindow();
    return child ? child->windowTitle() : QString();
}

int shown_rows(HostSession& session)
{
    auto* table = session.window().work_area()->activeSubWindow()->widget()->findChild<QTableView*>();
    return table ? table->model()->rowCount() : -1;
}

void save_screenshot(HostSession& session, const QString& name)
{
    if (const QString shots = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR"); !shots.isEmpty())
        session.window().grab().save(QDir(shots).filePath(name + QStringLiteral(".png")));
}

TEST(DemoHostBill, EntersABillOnAReceiptPrintsItFollowsItsRecordsAndVoidsIt)
{
    QTemporaryDir folder;
    const auto started = started_host(folder);
    ASSERT_NE(started, nullptr);
    HostSession& session = *started;
    session.facade().set_ZELKOR_PATH(folder.path());

    const QString order = testing::saved_order(session.database(), {"V1001",
                                                                     {{"WIDGET-A", "10", "box", "30"},
                                                                      {"MANUAL-OPS", "2", "each", "15"}},
                                                                     Clock::today()})
                              .docno;
    const QString receipt = testing::saved_receipt(session.database(), order, {{1, "10"}, {2, "2"}}, Clock::today()).docno;
    NotificationRouter& router = session.router();
    router.handle(QStringLiteral("Receipt Entry"), receipt, QString());
    POform_receipt* receipt_window = session.facade().frm_receipt();
    ASSERT_NE(receipt_window, nullptr);
    ASSERT_EQ(receipt_window->field("docno"), receipt);
    // Enter Bill on the receipt: the host hands the receipt to a new bill.
    ASSERT_TRUE(receipt_window->execute(POform_receipt::Command::EnterBill));
    QApplication::processEvents();
    POform_invoice* bill = session.facade().frm_invoice();
    ASSERT_NE(bill, nullptr);
    ScriptedPrompter answers;
    bill->set_prompter(&answers); // in place of the message boxes
    EXPECT_EQ(bill->mode(), WindowModel::Mode::New);
    EXPECT_EQ(bill->field("receipt_no"), receipt);
    EXPECT_EQ(bill->field("vendor_no"), "V1001");
    ASSERT_EQ(bill->type_into("invoice_no", "ACME-9001"), Entry::Accepted);

    WindowView* view = maximised_view(session);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->model(), bill);
    expect_header_readable(*bill, *view);
    QTableView* lines = view->grid_view(QStringLiteral("dbgrid1"));
    ASSERT_NE(lines, nullptr);
    EXPECT_GE(lines->model()->rowCount(), 2);
    EXPECT_GE(lines->height(), 100);
    save_screenshot(session, QStringLiteral("bill_window"));

    ASSERT_TRUE(bill->execute(CommandId::Save)) << answers.messages().join(" | ").toStdString();
    EXPECT_EQ(answers.last(), "Add new invoice VI-26-00001 complete");
    EXPECT_TRUE(session.window().log_text().isEmpty() || !session.window().log_text().contains("failed"));

    // Printed: the host writes the bill as a PDF on the page setup kept for the bill window (a
    // portrait A4 page here; landscape letter is what a window without one gets) and shows it.
    ASSERT_TRUE(session.database().execute(
        "INSERT INTO Report_format_table (\"user\", form_name, font_name, font_size, row_height, top_margin, bottom_margin,"
        " left_margin, right_margin, Orientation, PaperSize, Width, Height, unit)"
        " VALUES ('ADMIN', 'POform_invoice', 'DejaVu Sans', 9, 14, 1, 1, 1, 1, '1', 'A4 (210x297 mm)', 210, 297, 'mm')"));
    ASSERT_TRUE(bill->execute(CommandId::Preview));
    QApplication::processEvents();
    EXPECT_TRUE(active_title(session).endsWith(QStringLiteral(".pdf"))) << active_title(session).toStdString();
    const QStringList printed = QDir(folder.filePath(QStringLiteral("User report"))).entryList({QStringLiteral("*.pdf")});
    ASSERT_EQ(printed.size(), 1) << printed.join(", ").toStdString();
    EXPECT_FALSE(printed.front().endsWith(QStringLiteral("_L.pdf"))) << printed.front().toStdString();

    // Its journal entry and its payable open as their lines; it made no cost correction.
    ASSERT_TRUE(bill->execute(CommandId::JournalRecord));
    QApplication::processEvents();
    EXPECT_EQ(active_title(session), QStringLiteral("G/L Ledger Review VI-26-00001"));
    EXPECT_GE(shown_rows(session), 2);
    ASSERT_TRUE(bill->execute(POform_invoice::Command::ApRecord));
    QApplication::processEvents();
    EXPECT_EQ(active_title(session), QStringLiteral("Bill Entry VI-26-00001"));
    EXPECT_EQ(shown_rows(session), 1);
    answers.clear();
    EXPECT_FALSE(bill->execute(POform_invoice::Command::IcRecord));
    EXPECT_EQ(answers.last(), "No Inventory Adjustment created from this bill.");

    answers.answer_yes();
    ASSERT_TRUE(bill->execute(CommandId::Void)) << answers.messages().join(" | ").toStdString();
    EXPECT_EQ(answers.last(), "Document no. VI-26-00001 is void.");
    EXPECT_EQ(session.database().scalar("SELECT fully_billed FROM PO_receipt_header_table WHERE docno = ?", {receipt})->toInt(), 0);
    bill->set_prompter(nullptr);
}

} // namespace
} // namespace zelkor::host
