#include "host/host_session.h"

#include "core/rights.h"
#include "host/data_check_view.h"
#include "host/start_page.h"
#include "host/window_catalogue.h"
#include "ui/window_view.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zelkor::host {

namespace {

/// Where the module keeps files of its own ("User report" PDFs): beside a SQLite company file,
/// or in the user's data folder for a server database.
QString data_path(const Database& db)
{
    if (db.engine() == Engine::Sqlite)
        return QFileInfo(db.where().database).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

[[nodiscard]] std::expected<std::unique_ptr<HostSession>, Error> HostSession::start(const HostOptions& options)
{
    auto company = open_company(options.database);
    if (!company)
        return std::unexpected(company.error());
    auto user = module_user(*company->db, options.user);
    if (!user)
        return std::unexpected(user.error());
    HostOptions started = options;
    started.user = *user;
    return std::unique_ptr<HostSession>(new HostSession(std::move(*company), started));
}

HostSession::HostSession(OpenedCompany company, const HostOptions& options) : m_company(std::move(company))
{
    const CompanySettings settings = read_company_settings(*m_company.db);
    m_window = std::make_unique<HostWindow>(settings.company_name);
    m_facade = std::make_unique<POclass>();
    apply_host_settings(options);
    m_router = std::make_unique<NotificationRouter>(*m_facade, *m_window, *m_company.db);
    QObject::connect(m_facade.get(), &POclass::NotifyClients, m_router.get(),
                     [this](const QString& formx, const QString& docnox, const QString& arg2) {
                         m_router->handle(formx, docnox, arg2);
                     });
    m_facade->set_view_factory([this](WindowModel& model) { show_view(model); });
    build_menus();
    build_start_page(settings.company_name, options.user);
    m_window->log(QStringLiteral("Company database %1%2, user %3")
                      .arg(m_company.db->where().display(),
                           m_company.created ? QStringLiteral(" (created with the demo company)") : QString(),
                           options.user));
}

HostSession::~HostSession()
{
    // The views go before the facade that owns their models, and the facade lets go of the
    // database before the database closes.
    m_window.reset();
    m_facade->class_terminate();
    m_router.reset();
    m_facade.reset();
}

void HostSession::apply_host_settings(const HostOptions& options)
{
    const CompanySettings company = read_company_settings(*m_company.db);
    Database* db = m_company.db.get();
    m_facade->set_cnx(db);
    m_facade->set_dbe(db);
    m_facade->set_abcdb(db);
    m_facade->set_OPEN_DATABASE(db->where().engine == Engine::Sqlite ? db->where().database : db->where().display());
    m_facade->set_BASE_CURRENCY(company.base_currency);
    m_facade->set_ZELKOR_COMPANY_NAME(company.company_name);
    m_facade->set_ZELKOR_PATH(data_path(*db));
    m_facade->set_ZELKOR_USER(options.user);
    m_facade->set_ZELKOR_THEME(QStringLiteral("default"));
    m_facade->set_ZELKOR_DATE_FORMAT(options.date_format);
    m_facade->set_ZELKOR_NO_PERIODS(company.number_of_periods);
    m_facade->set_ZELKOR_FONT_NAME(QApplication::font().family());
    m_facade->set_ZELKOR_FONT_SIZE(QApplication::font().pointSize());
}

void HostSession::build_menus()
{
    for (const CatalogueEntry& entry : window_catalogue()) {
        m_window->add_menu_item(entry.menu, entry.caption, [this, open = entry.open] { open(*m_facade); });
    }
    m_window->add_menu_item(QStringLiteral("Too&ls"), QStringLiteral("&Check Company Data"),
                            [this] { show_data_check(*m_window, *m_company.db); });
}

void HostSession::build_start_page(const QString& company, const QString& user)
{
    auto* page = new StartPage(company, user);
    POclass& facade = *m_facade;
    // A new document starts in new mode, as if the clerk had pressed New.
    const auto new_document = [](WindowModel* window) {
        if (window)
            window->execute(CommandId::New);
    };
    page->add_group(QStringLiteral("Purchasing"),
                    {{QStringLiteral("New requisition"), [&facade, new_document] {
                          facade.showform_POform_pr();
                          new_document(facade.frm_pr());
                      }},
                     {QStringLiteral("New purchase order"), [&facade, new_document] {
                          facade.showform_POform_po();
                          new_document(facade.frm_po());
                      }},
                     {QStringLiteral("Receive goods"), [&facade, new_document] {
                          facade.showform_POform_receipt();
                          new_document(facade.frm_receipt());
                      }},
                     {QStringLiteral("Enter bill"), [&facade, new_document] {
                          facade.showform_POform_invoice();
                          new_document(facade.frm_invoice());
                      }}});
    page->add_group(QStringLiteral("Inquiries"),
                    {{QStringLiteral("Requisitions"), [&facade] { facade.showform_POform_pr_transaction(); }},
                     {QStringLiteral("Orders"), [&facade] { facade.showform_POform_po_transaction(); }},
                     {QStringLiteral("Receipts"), [&facade] { facade.showform_POform_receipt_transaction(); }},
                     {QStringLiteral("Bills"), [&facade] { facade.showform_POform_invoice_transaction(QString(), QString()); }},
                     {QStringLiteral("Purchase tax"), [&facade] { facade.showform_POform_purchase_tax(); }},
                     {QStringLiteral("Payable clearing"), [&facade] { facade.showform_POform_payable_clearing(); }},
                     {QStringLiteral("Vendor list"), [&facade] { facade.showform_POform_vendor_list(); }}});
    m_window->set_start_page(page);
}

void HostSession::show_view(WindowModel& model)
{
    auto* view = new WindowView(model);
    // Confirmations of success show in no box: the log keeps them.
    QObject::connect(view, &WindowView::confirmationShown, m_window.get(),
                     [window = m_window.get(), caption = model.caption()](const QString& text) {
                         window->log(caption + QStringLiteral(": ") + text);
                     });
    m_window->show_child(view, model.caption());
}

bool HostSession::open_window(const QString& class_name)
{
    for (const CatalogueEntry& entry : window_catalogue())
        if (entry.class_name == class_name) {
            entry.open(*m_facade);
            return true;
        }
    return false;
}

} // namespace zelkor::host
