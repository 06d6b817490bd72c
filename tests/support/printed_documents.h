#pragma once
// Printed documents as a vendor reads them: a window's print request laid out by the layout it
// declared, written as a PDF and read back with pdftotext.

#include "tests/support/window_test_support.h"
#include "windows/print/active_report.h"
#include "windows/print/document_pdf_writer.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace zelkor::testing {

/// The text of a PDF in the order it was drawn (pdftotext -raw), with white space taken out: a
/// mark drawn across the page ("VOID") is read with its letters apart.
inline QString pdf_drawn_text(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s")));
}

/// Prints a window's print request (its "ActiveReport" query and argument) on `format` into
/// `path`, as the host does, and gives the text of every page; empty, with the failure reported,
/// when a step fails. With ZELKOR_SCREENSHOT_DIR set the PDF is kept there for a look by eye.
inline QString printed_document_text(Database& db, const QString& query, const QString& argument,
                                     const ReportFormat& format, const QString& path)
{
    auto rows = run_active_report(db, query, argument);
    EXPECT_TRUE(rows) << rows.error().detail.toStdString();
    const ActiveReportArgument request = parse_active_report_argument(argument);
    const auto layout = find_document_layout(request.title);
    EXPECT_TRUE(layout) << "no layout declared for " << request.title.toStdString();
    if (!rows || !layout)
        return {};
    auto document = read_printed_document(db, *layout, *rows, request.docno, QStringLiteral("dd/mm/yyyy"));
    EXPECT_TRUE(document) << document.error().detail.toStdString();
    if (!document)
        return {};
    auto written = write_document_pdf(*document, format, path);
    EXPECT_TRUE(written) << written.error().message.toStdString();
    if (const QString shots = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR"); !shots.isEmpty())
        QFile::copy(path, QDir(shots).filePath(QFileInfo(path).fileName()));
    return pdf_text(path);
}

/// Asks a document window to print its document (Preview) and prints what it hands the host
/// into `path` on the default page format, as printed_document_text does; empty, with the
/// failure reported, when the window hands the host nothing to print.
template <class Notifications>
QString printed_preview(Database& db, WindowModel& window, Notifications& notifications, const QString& path)
{
    notifications.clear();
    EXPECT_TRUE(window.execute(CommandId::Preview)) << "the window printed nothing";
    if (notifications.empty() || notifications.back().formx != u"ActiveReport")
        return {};
    return printed_document_text(db, notifications.back().docnox, notifications.back().arg2, ReportFormat{}, path);
}

} // namespace zelkor::testing
