#pragma once

#include <QDate>
#include <QString>

namespace zelkor {

/// Who saves, from which workstation, and when: stamped on the rows a save writes.
struct AuditStamp {
    QString user{};
    QString computer_id{};
    QDate today{};
    QString time{}; ///< "hh:mm:ss"
};

/// The stamp of a save by `user` from this workstation now (the module's clock).
AuditStamp audit_stamp(const QString& user);

/// The workstation's name, written to every document line saved here.
QString workstation_name();

} // namespace zelkor
