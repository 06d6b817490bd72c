#pragma once

#include "core/db/database.h"

#include <QMap>
#include <QString>

namespace zelkor::cycle {

/// What every business table holds, folded per table into its row count and a hash of its rows
/// that does not depend on their order: two fingerprints are equal when nothing was written in
/// between. The tables of the windows' own settings (layouts, remembered values) are left out.
class Fingerprint {
public:
    /// Reads the whole database, or only the tables named; a database error is thrown (the
    /// walk stops on it).
    static Fingerprint of(Database& db, const QStringList& tables = {});

    bool operator==(const Fingerprint&) const = default;
    /// The tables that differ from `other`, with their row counts: "po_header_table 12 -> 13".
    QString difference(const Fingerprint& other) const;

private:
    struct Table {
        qint64 rows = 0;
        quint64 hash = 0;
        bool operator==(const Table&) const = default;
    };
    QMap<QString, Table> m_tables;
};

} // namespace zelkor::cycle
