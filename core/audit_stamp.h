#pragma once

#include "core/db/sql_names.h"

#include <QDate>
#include <QString>

namespace zelkor {

/// Who saves, from which workstation, and when: stamped on the rows a save writes.
struct AuditStamp {
    QString user{};
    QString computer_id{};
    QDate today{};
    QString time{}; ///< "hh:mm:ss"

    /// The created columns of the rows this save inserts.
    Created created() const { return {today, time, user}; }
};

/// The stamp of a save by `user` from this workstation now (the module's clock).
AuditStamp audit_stamp(const QString& user);

/// The workstation's name, written to every document line saved here.
QString workstation_name();

} // namespace zelkor
