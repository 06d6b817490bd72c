#pragma once

#include "core/db/database.h"

#include <QString>

#include <expected>
#include <optional>

namespace zelkor {

/// A kind of document that a window browses by internal key: its header table and its
/// document type code ("pr", "po"), whose keys are "1" + type + "-" + key number.
struct DocumentKind {
    QString header_table;
    QString doctype;
};

enum class KeyStep { Previous, Next };

/// The key of the document of this kind with this number (company 1); nothing when there is none.
[[nodiscard]] std::expected<std::optional<QString>, Error> document_key_of_number(Database& db, const DocumentKind& kind,
                                                                    const QString& docno);

/// The key of the newest document still there (key numbers whose document was deleted are
/// skipped); nothing when there is none.
[[nodiscard]] std::expected<std::optional<QString>, Error> last_document_key(Database& db, const DocumentKind& kind);

/// The key of the oldest document still there; nothing when there is none.
[[nodiscard]] std::expected<std::optional<QString>, Error> first_document_key(Database& db, const DocumentKind& kind);

/// The key of the document before or after `key` by key number, skipping deleted ones, up to the
/// last issued number or down to 1; nothing when there is none that way or `key` is not a key of
/// this kind.
[[nodiscard]] std::expected<std::optional<QString>, Error> neighbour_document_key(Database& db, const DocumentKind& kind,
                                                                    const QString& key, KeyStep step);

} // namespace zelkor
