#include "large_documents.h"

#include "tests/support/documents.h"

namespace zelkor::cycle {

namespace {

/// An order of LargeDocumentLines lines over the demo's stock items, non-stock items and a
/// charge, then a receipt of all of them, a few in part.
void save_order_and_receipt(Database& db, const QDate& day)
{
    using testing::LineSpec;
    static const std::vector<LineSpec> kinds{{"WIDGET-A", "2", "box", "30"}, {"BOLT-M8", "3", "box", "12.5"},
                                             {"PAINT-5L", "1", "box", "70"}, {"WIRE-CU", "2", "roll", "99.99"},
                                             {"MANUAL-OPS", "1", "each", "15"}, {"FREIGHT", "1", "", "4.25"}};
    testing::OrderSpec order{QStringLiteral("V1001"), {}, day};
    for (int line = 0; line < LargeDocumentLines; ++line)
        order.lines.push_back(kinds[size_t(line) % kinds.size()]);
    const QString number = testing::saved_order(db, order).docno;
    std::vector<testing::ReceiptLineSpec> received;
    for (int line = 1; line <= LargeDocumentLines; ++line)
        received.push_back({line, line % 7 == 0 ? QStringLiteral("1") : order.lines[size_t(line - 1)].quantity});
    testing::saved_receipt(db, number, received, day);
}

} // namespace

const std::vector<LargeDocument>& large_documents()
{
    static const std::vector<LargeDocument> kinds{
        {QStringLiteral("receipt"), save_order_and_receipt},
    };
    return kinds;
}

} // namespace zelkor::cycle
