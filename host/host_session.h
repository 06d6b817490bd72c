#pragma once

#include "facade/POclass.h"
#include "host/company_database.h"
#include "host/host_window.h"
#include "host/notification_router.h"

#include <QString>

#include <expected>
#include <memory>

namespace zelkor::host {

/// How the host was started.
struct HostOptions {
    QString database;                            ///< SQLite path or postgresql:// URI
    /// The user id. On PostgreSQL the login role is the user: an empty id gives it, and an id
    /// that names someone else is refused (a superuser acts as the id, or as ADMIN). On SQLite an
    /// empty id gives ADMIN.
    QString user = QStringLiteral("ADMIN");
    QString date_format = QStringLiteral("dd/mm/yyyy");
};

/// One running host: the company database, the module's facade with the host settings, the main
/// window with a menu item per module window, and the answers to the module's notifications.
class HostSession {
public:
    [[nodiscard]] static std::expected<std::unique_ptr<HostSession>, Error> start(const HostOptions& options);
    ~HostSession();

    HostWindow& window() { return *m_window; }
    POclass& facade() { return *m_facade; }
    Database& database() { return *m_company.db; }
    NotificationRouter& router() { return *m_router; }
    /// Opens a module window by its class name ("POform_po"); false for an unknown name.
    bool open_window(const QString& class_name);

private:
    HostSession(OpenedCompany company, const HostOptions& options);
    void apply_host_settings(const HostOptions& options);
    void build_menus();
    void build_start_page(const QString& company, const QString& user);
    void show_view(WindowModel& model);

    OpenedCompany m_company;
    std::unique_ptr<HostWindow> m_window;
    std::unique_ptr<POclass> m_facade;
    std::unique_ptr<NotificationRouter> m_router;
};

} // namespace zelkor::host
