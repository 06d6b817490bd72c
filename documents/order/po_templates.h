#pragma once

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "documents/order/po_document.h"

#include <QString>

#include <expected>
#include <optional>

namespace zelkor {

// Order templates: a named order kept to start new orders from (PO_header_template_table and
// PO_transaction_template_table, keyed by the template's name).

/// Whether a template of this name exists.
[[nodiscard]] std::expected<bool, Error> template_exists(Database& db, const QString& name);

/// Copies the saved order `order_key` into the template `name` in one transaction, replacing a
/// template of that name (its old lines go first).
[[nodiscard]] std::expected<void, Error> save_order_as_template(Database& db, const QString& order_key,
                                                                const QString& name, const AuditStamp& stamp);

/// Writes a new template from the window's order in one transaction; a name taken meanwhile is
/// refused ("Template " + name + " exist.").
[[nodiscard]] std::expected<void, Error> insert_new_template(Database& db, const QString& name, const Order& order,
                                                             const AuditStamp& stamp);

/// Rewrites the template `name` from the window's order in one transaction: header columns, and
/// its own lines (never another template's) deleted and written again.
[[nodiscard]] std::expected<void, Error> update_template(Database& db, const QString& name, const Order& order,
                                                         const AuditStamp& stamp);

/// Deletes the template's header and lines in one transaction.
[[nodiscard]] std::expected<void, Error> delete_template(Database& db, const QString& name);

/// A stored template: its header row and its lines in line order.
struct StoredTemplate {
    Row header;
    Rows lines;
};
[[nodiscard]] std::expected<std::optional<StoredTemplate>, Error> read_template(Database& db, const QString& name);

} // namespace zelkor
