// The landed-cost window as a clerk uses it in the demo host: freight from the customs broker
// spread over a receipt of Acme's widgets, its records and print, then voided. The header is laid
// out without overlaps at 1280x800. With ZELKOR_SCREENSHOT_DIR set, the window is saved as
// landed_window.png and its printout as landed_bill.pdf for a look by eye.
#include "host/active_report_pdf.h"
#include "host/host_session.h"

#include "core/clock.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "ui/field_editor.h"
#include "ui/window_view.h"
#include "windows/print/active_report.h"
#include "windows/print/bill_print.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelkor::host {
namespace {

TEST(DemoHostLanded, SpreadsFreightOverAReceiptAndShowsItsRecordsPrintAndVoid)
{
    QTemporaryDir folder;
    HostOptions options;
    options.database = folder.filePath(QStringLiteral("company.db"));
    auto started = HostSession::start(options);
    ASSERT_TRUE(started.has_value()) << started.error().detail.toStdString();
    HostSession& session = **started;
    session.window().resize(1280, 800);
    session.window().show();
    Database& db = session.database();
    const QString order = testing::saved_order(db, {"V1001", {{"WIDGET-A", "10", "box", "30"}}, Clock::today()}).docno;
    const QString receipt = testing::saved_receipt(db, order, {{1, "10"}}, Clock::today()).docno;

    session.facade().showform_POform_landed();
    POform_landed* landed = session.facade().frm_landed();
    ASSERT_NE(landed, nullptr);
    ScriptedPrompter answers;
    landed->set_prompter(&answers); // in place of the message boxes
    ASSERT_TRUE(landed->execute(CommandId::New));
    ASSERT_EQ(landed->type_into("vendor_no", "V3002"), Entry::Accepted);
    ASSERT_EQ(landed->type_into("invoice_no", "CB-501"), Entry::Accepted);
    Grid& lines = landed->lines();
    ASSERT_EQ(lines.type_cell(0, "item code", "FREIGHT"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "tax code", "EXEMPT"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "unit of measurement", "each"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "unit cost", "60"), Entry::Accepted);
    ASSERT_EQ(landed->type_into("primary_vendor", "V1001"), Entry::Accepted);
    ASSERT_TRUE(landed->execute(to_int(POform_landed::Command::Receipt)));
    ASSERT_EQ(landed->vendor_receipts().row_count(), 1);
    ASSERT_TRUE(landed->activate_row(landed->vendor_receipts(), 0));
    EXPECT_EQ(landed->field("receipt_no"), receipt);
    ASSERT_TRUE(landed->execute(CommandId::Save)) << answers.messages().join(" | ").toStdString();
    EXPECT_TRUE(answers.last().startsWith(QStringLiteral("Add new landed bill LD-")));

    QMdiSubWindow* child = session.window().work_area()->activeSubWindow();
    ASSERT_NE(child, nullptr);
    auto* view = qobject_cast<WindowView*>(child->widget());
    ASSERT_NE(view, nullptr);
    child->showMaximized();
    QApplication::processEvents();
    std::vector<QRect> boxes;
    for (const Field& field : landed->fields()) {
        if (!field.declaration.pane.isEmpty())
            continue;
        FieldEditor* editor = view->field_editor(field.name());
        ASSERT_NE(editor, nullptr) << field.name().toStdString();
        const QRect box(editor->mapTo(view, QPoint(0, 0)), editor->size());
        EXPECT_LE(box.right(), view->width()) << field.name().toStdString();
        for (const QRect& other : boxes)
            EXPECT_FALSE(box.intersects(other)) << field.name().toStdString();
        boxes.push_back(box);
    }
    const QString shots = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        session.window().grab().save(QDir(shots).filePath(QStringLiteral("landed_window.png")));

    // The raised layer, as the inventory document's lines show it.
    EXPECT_EQ(Row::to_decimal(*db.scalar("SELECT amount FROM FIFO_table WHERE receipt_no = ?", {receipt})), Decimal("360"));
    ASSERT_TRUE(landed->execute(to_int(POform_landed::Command::IcRecord)));
    QApplication::processEvents();
    EXPECT_TRUE(session.window().work_area()->activeSubWindow()->windowTitle().startsWith(QStringLiteral("Inventory Adjustments")));

    ActiveReportRequest request{bill_print_query(), active_report_argument(QStringLiteral("Landed Cost Entry"), landed->field("docno"))};
    request.form_name = QStringLiteral("POform_landed");
    request.user = QStringLiteral("ADMIN");
    request.data_path = folder.path();
    request.date_format = QStringLiteral("dd/mm/yyyy");
    auto printed = print_active_report(db, request);
    ASSERT_TRUE(printed.has_value()) << printed.error().detail.toStdString();
    if (!shots.isEmpty())
        QFile::copy(printed->path, QDir(shots).filePath(QStringLiteral("landed_bill.pdf")));

    answers.answer_yes();
    ASSERT_TRUE(landed->execute(CommandId::Void)) << answers.messages().join(" | ").toStdString();
    EXPECT_EQ(Row::to_decimal(*db.scalar("SELECT amount FROM FIFO_table WHERE receipt_no = ?", {receipt})), Decimal("300"));
}

} // namespace
} // namespace zelkor::host
