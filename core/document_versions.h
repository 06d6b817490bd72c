#pragma once

#include "core/db/database.h"

#include <QString>

#include <expected>
#include <optional>

namespace zelkor {

/// Every document header carries row_version, which every write of the document raises by one
/// (an edit, a close, a void, an activation, a receipt or a bill recorded on it). A window
/// remembers the version it showed; a write started from it re-reads the header under lock and
/// refuses when another user has written since, so that a stale edit never undoes another
/// user's work.
struct DocumentVersion {
    QString table;   ///< the header table
    QString key;     ///< the document's fkey
    QString number;  ///< its docno, for the refusal
    qint64 shown = 0; ///< the version the window showed
};

/// Reads the header row (`SELECT *`) of the document under lock; nothing when the document is
/// gone. Runs inside the caller's transaction.
[[nodiscard]] std::expected<std::optional<Row>, Error> lock_document(Database& db, const QString& table,
                                                                     const QString& key);

/// The refusal of a write started from a version another user has since changed.
Error changed_by_another_user(const QString& number);

/// A document header read under lock by a write.
struct LockedDocument {
    Row header;
    bool changed = false; ///< another user wrote it since the window showed it
};

/// Locks the header of the document the window shows; a document gone is not found ("Document
/// no. ... not found"). The caller refuses a void or closed document with its own sentence
/// first, then a changed one with changed_by_another_user.
[[nodiscard]] std::expected<LockedDocument, Error> lock_shown_version(Database& db, const DocumentVersion& version);

/// Raises the document's version by one, inside the caller's transaction.
[[nodiscard]] std::expected<void, Error> raise_version(Database& db, const QString& table, const QString& key);

} // namespace zelkor
