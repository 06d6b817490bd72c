#pragma once
// The large documents a crash child saves over and over while the crash test kills it.

#include "services/database.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

namespace zelkor::cycle {

/// Lines of each large document.
inline constexpr int LargeDocumentLines = 2000;

/// A kind of large document and how to save one of it, by the module's own save routines, on
/// the given day. Saving it may save the documents it comes from first (a receipt its order).
struct LargeDocument {
    QString name;
    std::function<void(Database& db, const QDate& day)> save;
};

/// Every kind a crash child saves: receipts, and receipts with their bill.
const std::vector<LargeDocument>& large_documents();

} // namespace zelkor::cycle
