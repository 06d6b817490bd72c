#include "core/audit_stamp.h"

#include "core/clock.h"

#include <QSysInfo>

namespace zelkor {

AuditStamp audit_stamp(const QString& user) { return {user, workstation_name(), Clock::today(), Clock::time_text()}; }

QString workstation_name() { return QSysInfo::machineHostName(); }

} // namespace zelkor
