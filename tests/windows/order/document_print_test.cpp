// Printed orders and requisitions as a vendor reads them: the window's print query laid out by
// the layout it declared, written as a PDF and read back with pdftotext.
#include "tests/support/po_window_fixture.h"

#include "tests/support/printed_documents.h"
#include "windows/requisition/POform_pr.h"
#include "windows/requisition/pr_print.h"

#include <QRegularExpression>

namespace zelkor {
namespace {

constexpr int OrderLines = 60;

class PrintedOrder : public OrderWindow {
protected:
    PrintedOrder() { testing::record_notifications(window, notifications); }

    QString printed_text(const QString& query, const QString& argument, const ReportFormat& format, const QString& name)
    {
        return testing::printed_document_text(t.db(), query, argument, format, folder.filePath(name + QStringLiteral(".pdf")));
    }

    QString printed_order(const ReportFormat& format, const QString& name)
    {
        notifications.clear();
        EXPECT_TRUE(window.execute(CommandId::Preview));
        if (notifications.empty())
            return {};
        return printed_text(notifications.back().docnox, notifications.back().arg2, format, name);
    }

    /// The order's stored lines as they must print: quantity, unit cost at four decimals, amount.
    std::vector<QStringList> stored_numbers()
    {
        std::vector<QStringList> lines;
        auto rows = t.db().select(QStringLiteral("SELECT quantity, unitcost, extended_cost FROM PO_transaction_table ORDER BY itemno"));
        EXPECT_TRUE(rows);
        for (const Row& row : rows.value_or(Rows{}))
            lines.push_back({row.decimal(u"quantity").format(0), row.decimal(u"unitcost").format(4),
                             row.decimal(u"extended_cost").format(2)});
        return lines;
    }

    static int occurrences(const QString& text, const QString& pattern)
    {
        return int(text.count(QRegularExpression(pattern)));
    }

    QTemporaryDir folder;
    std::vector<testing::WindowNotification> notifications;
};

ReportFormat portrait(const QString& paper)
{
    ReportFormat format;
    format.orientation = QPageLayout::Portrait;
    const auto size = find_paper(paper);
    format.paper_size = size->name;
    format.width = size->width;
    format.height = size->height;
    format.unit = size->unit;
    return format;
}

TEST_F(PrintedOrder, ForeignOrderOfSixtyLinesPrintsEveryNumberWholeWithHeadingsOnEveryPage)
{
    std::vector<Line> lines;
    for (int line = 0; line < OrderLines; ++line)
        lines.push_back({"WIDGET", QString::number(100000 + line * 1111), "box", QStringLiteral("9876.5432")});
    start_order("V300", lines);
    window.lines().type_cell(0, "description", "Widget, zinc plated, in boxes of twelve, packed on pallets of forty boxes "
                                               "with corner guards and a delivery note on the outside of each pallet");
    window.type_into("remark", "Deliver before noon");
    window.type_into("delivery_instruction", "Dock 4, ring the bell");
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.last().toStdString();
    ASSERT_EQ(window.field("currency"), "EUR");
    const Row header = *t.db().first(QStringLiteral("SELECT sub_total, tax_total, total FROM PO_header_table")).value();
    const std::vector<QStringList> numbers = stored_numbers();
    ASSERT_EQ(numbers.size(), size_t(OrderLines));

    // The company's landscape letter, and A5 portrait where the table must shrink and wrap.
    for (const auto& [format, name] : {std::pair{ReportFormat{}, QStringLiteral("order_letter")},
                                       std::pair{portrait(QStringLiteral("A5 (148x210 mm)")), QStringLiteral("order_a5")}}) {
        const QString text = printed_order(format, name);
        ASSERT_FALSE(text.isEmpty()) << "pdftotext reads the order";
        EXPECT_FALSE(text.contains(u'#')) << name.toStdString();
        EXPECT_FALSE(text.contains(QChar(0x2026))) << "nothing is elided";
        EXPECT_TRUE(text.contains("Fixture Trading Co.")) << "letterhead";
        EXPECT_TRUE(text.contains("Purchase Order")) << "title";
        EXPECT_TRUE(text.contains("Europa Komponenten GmbH"));
        EXPECT_TRUE(text.contains("Exchange rate")) << "a foreign order names its rate";
        EXPECT_TRUE(text.contains("Net 30 days")) << "the payment term in words";
        EXPECT_TRUE(text.contains("Dock 4, ring the bell"));
        for (int line = 0; line < OrderLines; ++line)
            for (const QString& number : numbers[size_t(line)])
                EXPECT_TRUE(text.contains(number)) << name.toStdString() << " line " << line + 1 << ": " << number.toStdString();
        EXPECT_TRUE(text.contains(QRegularExpression("Sub total \\(EUR\\)\\s+" + QRegularExpression::escape(header.decimal(u"sub_total").format(2)))))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QRegularExpression("Total \\(EUR\\)\\s+" + QRegularExpression::escape(header.decimal(u"total").format(2)))));
        const int pages = occurrences(text, QStringLiteral("Page \\d+ of \\d+"));
        EXPECT_GE(pages, 2) << name.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));
        // Every page that carries lines repeats the headings; only a last page of totals has none.
        EXPECT_GE(occurrences(text, QStringLiteral("\\bAmount\\b")), pages - 1) << name.toStdString();
        EXPECT_EQ(occurrences(text, QStringLiteral("\\(continued\\)")), pages - 1);
    }
}

TEST_F(PrintedOrder, RequisitionPrintsItsBlocksAndAVoidOneSaysSoOnEveryPage)
{
    // A window declares its layout when it is made; the host finds it by the report title.
    POform_pr requisition_window;
    const DocumentNumber saved = testing::saved_requisition(
        t.db(), "V200", {{"WIDGET", "5", "box", "20"}, {"GLUE", "1234.75", "kg", "3.5"}}, QDate(2026, 3, 1));
    const QString argument = pr_print_title(saved.docno);

    const QString text = printed_text(pr_print_query(), argument, ReportFormat{}, QStringLiteral("requisition"));
    EXPECT_TRUE(text.contains("Purchase Requisition"));
    EXPECT_TRUE(text.contains(saved.docno));
    EXPECT_TRUE(text.contains("O'Brien Supply"));
    EXPECT_TRUE(text.contains("77 Lake Street"));
    EXPECT_TRUE(text.contains(QRegularExpression("Chicago, IL\\s+60601"))) << "the vendor's city, state and postcode";
    EXPECT_TRUE(text.contains("01/03/2026"));
    EXPECT_TRUE(text.contains("1,234.75")) << "GLUE keeps its two quantity decimals";
    EXPECT_TRUE(text.contains("20.0000")) << "WIDGET's cost at its four cost decimals";
    EXPECT_FALSE(text.contains("Exchange rate")) << "a requisition in the base currency names no rate";
    EXPECT_FALSE(text.contains("VOID"));
    const Decimal total = t.decimal("SELECT total FROM PR_header_table");
    EXPECT_TRUE(text.contains(QRegularExpression("Total \\(USD\\)\\s+" + QRegularExpression::escape(total.format(2)))));

    ASSERT_TRUE(t.db().execute(QStringLiteral("UPDATE PR_header_table SET void = TRUE")));
    const QString voided = printed_text(pr_print_query(), argument, portrait(QStringLiteral("A5 (148x210 mm)")),
                                        QStringLiteral("requisition_void"));
    const QString read_raw = testing::pdf_drawn_text(folder.filePath(QStringLiteral("requisition_void.pdf")));
    EXPECT_EQ(occurrences(read_raw, QStringLiteral("VOID")), occurrences(voided, QStringLiteral("Page \\d+ of")));
    EXPECT_TRUE(voided.contains("1,234.75")) << "the mark leaves the page readable";
}

} // namespace
} // namespace zelkor
