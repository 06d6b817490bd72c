#pragma once
// The large documents a crash child saves over and over while the crash test kills it.

#include "core/db/database.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

namespace zelkor::cycle {

/// Lines of each large receipt.
inline constexpr int LargeDocumentLines = 2000;
/// Lines of the receipt a crash child bills: a bill of it is saved after the receipt in each
/// round, so it is kept smaller for the test to stay within its time.
inline constexpr int BilledReceiptLines = 500;
/// Lines of the receipt a crash child spreads a landed bill over, kept smaller for the same reason.
inline constexpr int LandedReceiptLines = 500;

/// A kind of large document and how to save one of it, by the module's own save routines, on
/// the given day. Saving it may save the documents it comes from first (a receipt its order).
struct LargeDocument {
    QString name;
    std::function<void(Database& db, const QDate& day)> save;
    int lines = LargeDocumentLines;
};

/// Every kind a crash child saves: receipts, receipts with their bill, and receipts with a
/// landed bill spread over them.
const std::vector<LargeDocument>& large_documents();

} // namespace zelkor::cycle
