#pragma once

#include "core/db/database.h"
#include "core/master_lookups.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// One column of a master table as its window shows and checks it.
struct MasterColumn {
    QString column;           ///< the table column, as written in SQL ("Description")
    QString caption{};        ///< the grid column showing it; empty when the grid does not
    QString field{};          ///< the entry field of a new row; empty when there is none
    QString required{};       ///< the message when it is empty on adding; empty when optional
    QString invalid{};        ///< the message when a typed value is not in its list ("%1" takes the value)
    std::optional<PickList> list{}; ///< the values it may take; none for free text
    QString name_caption{};   ///< the read-only grid column showing the name of the value
    QString names_sql{};      ///< reads (value, name) pairs for that column
};

/// Rows of another table that name a master row: a delete is refused while one exists.
struct MasterReference {
    QString table;
    QString column;           ///< the column holding the master key
    QString condition{};      ///< more of the WHERE clause, with `?` for `params`
    Params params{};
    QString document = QStringLiteral("docno"); ///< the column naming the referring document
};

/// A master table: its key (the first column), its other columns and the tables referring to it.
struct MasterTable {
    QString table;
    std::vector<MasterColumn> columns;
    std::vector<MasterReference> references{};

    const MasterColumn& key() const { return columns.front(); }
    /// The index of the column with this field name; -1 when none.
    int column_of_field(const QString& field) const;
};

/// The values of one master row, in the order of MasterTable::columns.
using MasterValues = QStringList;

/// Every row (its declared columns), ordered by key.
[[nodiscard]] std::expected<Rows, Error> load_master_rows(Database& db, const MasterTable& table);
/// The row of a key; nothing when there is none.
[[nodiscard]] std::expected<std::optional<Row>, Error> master_row(Database& db, const MasterTable& table,
                                                                  const QString& key);
/// The keys, ordered.
[[nodiscard]] std::expected<QStringList, Error> master_keys(Database& db, const MasterTable& table);
/// Takes the row of a key for the rest of the transaction; false when there is none.
[[nodiscard]] std::expected<bool, Error> lock_master_row(Database& db, const MasterTable& table, const QString& key);
/// Adds a row; `extra` columns (a flag set on adding) follow the declared ones.
[[nodiscard]] std::expected<void, Error> insert_master_row(Database& db, const MasterTable& table,
                                                           const MasterValues& values,
                                                           const std::vector<std::pair<QString, SqlValue>>& extra = {});
/// Writes every declared column but the key of the row of `key`; gives the rows changed.
[[nodiscard]] std::expected<int, Error> update_master_row(Database& db, const MasterTable& table,
                                                          const MasterValues& values);
/// Writes many rows as update_master_row does, a few hundred to a statement (a round trip to
/// the server per row would dominate the save of a long list).
[[nodiscard]] std::expected<void, Error> update_master_rows(Database& db, const MasterTable& table,
                                                            const std::vector<MasterValues>& rows);
/// The first document that names the key (by the table's references); nothing when none does.
[[nodiscard]] std::expected<std::optional<QString>, Error> first_reference(Database& db, const MasterTable& table,
                                                                           const QString& key);
[[nodiscard]] std::expected<void, Error> delete_master_row(Database& db, const MasterTable& table, const QString& key);

/// A value as it is stored: control characters removed, empty as NULL.
SqlValue stored_value(const QString& text);

} // namespace zelkor
