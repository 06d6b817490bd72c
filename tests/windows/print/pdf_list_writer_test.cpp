// The PDF list writer, checked on the files it writes with poppler's pdftotext and pdfinfo.
#include "core/clock.h"
#include "tests/support/printers.h"
#include "windows/print/pdf_list_writer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace zelkor;

QString run_tool(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class PdfList : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty() || QStandardPaths::findExecutable("pdfinfo").isEmpty())
            GTEST_SKIP() << "poppler-utils (pdftotext, pdfinfo) are not installed";
        format.orientation = QPageLayout::Portrait;
    }

    QString path(const QString& name) const { return folder.filePath(name); }
    int pages(const QString& file) const
    {
        const auto match = QRegularExpression("Pages:\\s+(\\d+)").match(run_tool("pdfinfo", {file}));
        return match.hasMatch() ? match.captured(1).toInt() : 0;
    }
    QString page_text(const QString& file, int page) const
    {
        const QString n = QString::number(page);
        return run_tool("pdftotext", {"-layout", "-f", n, "-l", n, file, "-"});
    }

    QTemporaryDir folder;
    ReportFormat format;
};

PrintList orders(int rows)
{
    PrintList list;
    list.title = "P/O TRANSACTIONS REPORT";
    list.print_date = "Mar 05, 2026";
    list.transaction_date = "Jan 01, 2026";
    list.until_date = "Dec 31, 2026";
    list.columns = {{"document no", 110}, {"vendor name", 220}, {"quantity", 90, Qt::AlignRight, "#,##0.00"}};
    for (int row = 1; row <= rows; ++row)
        list.rows.push_back({{QString("PO-%1").arg(row, 5, 10, QChar('0')), "Acme Industrial Supply", QString::number(row * 1000.5)}});
    return list;
}

TEST_F(PdfList, ThreePagesCarryTitleAndHeadingsAndEveryRowOnce)
{
    const PrintList list = orders(120);
    ASSERT_TRUE(write_list_pdf(list, format, path("orders.pdf")));
    ASSERT_EQ(pages(path("orders.pdf")), 3);

    QString all;
    for (int page = 1; page <= 3; ++page) {
        const QString text = page_text(path("orders.pdf"), page);
        EXPECT_TRUE(text.contains("P/O TRANSACTIONS REPORT")) << page;
        EXPECT_TRUE(text.contains("print : Mar 05, 2026")) << page;
        EXPECT_TRUE(text.contains("Transaction Date : Jan 01, 2026")) << page;
        EXPECT_TRUE(text.contains("Until Date : Dec 31, 2026")) << page;
        for (const char* heading : {"document no", "vendor name", "quantity"})
            EXPECT_TRUE(text.contains(heading)) << heading << " on page " << page;
        EXPECT_TRUE(text.contains(QString("Page %1 of 3").arg(page))) << page;
        all += text;
    }
    for (int row = 1; row <= 120; ++row)
        EXPECT_EQ(all.count(QString("PO-%1").arg(row, 5, 10, QChar('0'))), 1) << row;
    // The column's number format is applied to the cell text.
    EXPECT_TRUE(all.contains("120,060.00"));
}

TEST_F(PdfList, UserReportIsNamedByStemAndTimeInItsFolder)
{
    FixedClock clock(QDate(2026, 3, 5), QTime(14, 5, 9));
    const QString data_path = path("data");

    format.orientation = QPageLayout::Landscape;
    const auto landscape = write_user_report(orders(3), format, data_path, "PO_transaction");
    ASSERT_TRUE(landscape) << landscape.error().message.toStdString();
    EXPECT_EQ(landscape->path, QDir::toNativeSeparators(data_path + "/User report/PO_transaction140509_L.pdf"));
    EXPECT_EQ(landscape->viewer, "pdf viewer landscape");
    const QString info = run_tool("pdfinfo", {landscape->path});
    EXPECT_TRUE(info.contains("792 x 612 pts")) << info.toStdString();

    format.orientation = QPageLayout::Portrait;
    const auto portrait = write_user_report(orders(3), format, data_path, "PO_transaction");
    ASSERT_TRUE(portrait);
    EXPECT_TRUE(portrait->path.endsWith("PO_transaction140509.pdf"));
    EXPECT_EQ(portrait->viewer, "pdf viewer");
}

TEST_F(PdfList, ReportFolderThatCannotBeMadeWritesNothing)
{
    QFile blocker(path("User report"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const auto written = write_user_report(orders(3), format, folder.path(), "PO_transaction");
    ASSERT_FALSE(written);
    EXPECT_TRUE(written.error().message.startsWith("Cannot create the folder ")) << written.error().message.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);

    const auto unset = write_user_report(orders(3), format, QString(), "PO_transaction");
    ASSERT_FALSE(unset);
    EXPECT_EQ(unset.error().message, "The data path is not set.");
}

TEST_F(PdfList, LongCellStaysInsideItsColumn)
{
    PrintList list;
    list.title = "Vendor list";
    list.columns = {{"name", 100}, {"next", 100}, {"amount", 50, Qt::AlignRight}};
    list.rows.push_back({{"Extraordinarily long vendor name that cannot possibly fit the narrow column", "NEIGHBOUR",
                          "123456789012.00"}});
    format.split_page = split_page_choices().at(1); // the columns keep their grid widths
    ASSERT_TRUE(write_list_pdf(list, format, path("long.pdf")));

    // Words with their boxes: the long name must end before the neighbour's cell starts.
    const QString boxes = run_tool("pdftotext", {"-bbox", path("long.pdf"), "-"});
    const QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">([^<]*)</word>");
    double neighbour_left = -1, name_right = 0;
    QStringList name_words;
    for (auto match = word.globalMatch(boxes); match.hasNext();) {
        const auto m = match.next();
        if (m.captured(3) == "NEIGHBOUR")
            neighbour_left = m.captured(1).toDouble();
        else if (QStringLiteral("Extraordinarily long vendor name that cannot possibly fit the narrow column…")
                     .contains(m.captured(3))) {
            name_right = std::max(name_right, m.captured(2).toDouble());
            name_words << m.captured(3);
        }
    }
    ASSERT_GT(neighbour_left, 0) << boxes.toStdString();
    EXPECT_LT(name_right, neighbour_left);
    EXPECT_FALSE(name_words.join(' ').contains("narrow column")) << name_words.join(' ').toStdString();
    // An amount too wide for its column is never shown cut short.
    const QString text = page_text(path("long.pdf"), 1);
    EXPECT_FALSE(text.contains("123456")) << text.toStdString();
    EXPECT_TRUE(text.contains("###")) << text.toStdString();
}

TEST_F(PdfList, WideListContinuesOnFurtherPagesWhenChosen)
{
    PrintList list;
    list.title = "Wide list";
    for (int column = 1; column <= 12; ++column)
        list.columns.push_back({QString("column %1").arg(column), 150});
    for (int row = 0; row < 5; ++row) {
        PrintRow cells;
        for (int column = 1; column <= 12; ++column)
            cells.cells << QString("r%1c%2").arg(row).arg(column);
        list.rows.push_back(cells);
    }
    format.split_page = split_page_choices().at(1);
    ASSERT_TRUE(write_list_pdf(list, format, path("wide.pdf")));
    const int split_pages = pages(path("wide.pdf"));
    EXPECT_GT(split_pages, 1);
    QString all;
    for (int page = 1; page <= split_pages; ++page)
        all += page_text(path("wide.pdf"), page);
    for (int column = 1; column <= 12; ++column)
        EXPECT_EQ(all.count(QString("r4c%1 ").arg(column)) + all.count(QString("r4c%1\n").arg(column)), 1) << column;

    format.split_page = split_page_choices().at(0);
    ASSERT_TRUE(write_list_pdf(list, format, path("shrunk.pdf")));
    EXPECT_EQ(pages(path("shrunk.pdf")), 1);
}

TEST_F(PdfList, NoRoomOrNoColumnsIsRefusedWithoutFile)
{
    format.top_margin = Decimal(700);
    const auto cramped = write_list_pdf(orders(3), format, path("cramped.pdf"));
    ASSERT_FALSE(cramped);
    EXPECT_EQ(cramped.error().message, "The page has no room for the list: reduce the margins or the row height.");
    EXPECT_FALSE(QFile::exists(path("cramped.pdf")));

    format.top_margin = Decimal(36);
    const auto empty = write_list_pdf(PrintList{}, format, path("empty.pdf"));
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error().message, "No column is marked for printing.");
    EXPECT_FALSE(QFile::exists(path("empty.pdf")));
}

} // namespace
