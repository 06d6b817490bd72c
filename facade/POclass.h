#pragma once

#include "core/rights.h"
#include "reports/POreport_invoice_transaction.h"
#include "reports/POreport_payable_clearing.h"
#include "reports/POreport_po_transaction.h"
#include "reports/POreport_pr_transaction.h"
#include "reports/POreport_purchase_tax.h"
#include "reports/POreport_receipt_transaction.h"
#include "reports/POreport_vendor_list.h"
#include "windows/base/host_settings.h"
#include "windows/base/window_model.h"
#include "windows/bill/POform_invoice.h"
#include "windows/landed/POform_landed.h"
#include "windows/masters/POform_misccharge.h"
#include "windows/masters/POform_shipvia.h"
#include "windows/masters/POform_vendor_group.h"
#include "windows/order/POform_po.h"
#include "windows/receipt/POform_receipt.h"
#include "windows/requisition/POform_pr.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <array>
#include <functional>
#include <string_view>

Q_DECLARE_OPAQUE_POINTER(zelkor::Database*)

namespace zelkor {

/// One kind of window the facade keeps a reference to.
struct WindowKindInfo {
    std::string_view reference;  ///< "frm_po"
    std::string_view class_name; ///< "POform_po"
    std::string_view showform;   ///< "showform_POform_po"
};

/// The fifteen window kinds in the order the facade declares them; their class names are those
/// whose rights User_right_table holds.
inline constexpr std::array<WindowKindInfo, 15> window_kinds{{
    {"frm_pr", windows_with_rights[0], "showform_POform_pr"},
    {"frm_po", windows_with_rights[1], "showform_POform_po"},
    {"frm_receipt", windows_with_rights[2], "showform_POform_receipt"},
    {"frm_invoice", windows_with_rights[3], "showform_POform_invoice"},
    {"frm_landed", windows_with_rights[4], "showform_POform_landed"},
    {"frm_misccharge", windows_with_rights[5], "showform_POform_misccharge"},
    {"frm_shipvia", windows_with_rights[6], "showform_POform_shipvia"},
    {"frm_vendor_group", windows_with_rights[7], "showform_POform_vendor_group"},
    {"frm_vendor_list", windows_with_rights[8], "showform_POform_vendor_list"},
    {"frm_pr_transaction", windows_with_rights[9], "showform_POform_pr_transaction"},
    {"frm_po_transaction", windows_with_rights[10], "showform_POform_po_transaction"},
    {"frm_receipt_transaction", windows_with_rights[11], "showform_POform_receipt_transaction"},
    {"frm_invoice_transaction", windows_with_rights[12], "showform_POform_invoice_transaction"},
    {"frm_payable_clearing", windows_with_rights[13], "showform_POform_payable_clearing"},
    {"frm_purchase_tax", windows_with_rights[14], "showform_POform_purchase_tax"},
}};

/// The module's one public class: the host hands it the database and settings, opens windows
/// through it, moves documents between windows and hears every window's notifications. It never
/// shows a message and never reports a failure to the host: a step that cannot run is skipped.
///
/// Headless by default (tests, scripts): windows exist as models only. A host with a screen
/// gives a view factory that builds a view for each window as it opens.
class POclass : public QObject {
    Q_OBJECT
    Q_PROPERTY(zelkor::Database* cnx READ cnx WRITE set_cnx)
    Q_PROPERTY(zelkor::Database* dbe READ dbe WRITE set_dbe)
    Q_PROPERTY(zelkor::Database* abcdb READ abcdb WRITE set_abcdb)
    Q_PROPERTY(QString OPEN_DATABASE READ OPEN_DATABASE WRITE set_OPEN_DATABASE)
    Q_PROPERTY(QString BASE_CURRENCY READ BASE_CURRENCY WRITE set_BASE_CURRENCY)
    Q_PROPERTY(QString ZELKOR_COMPANY_NAME READ ZELKOR_COMPANY_NAME WRITE set_ZELKOR_COMPANY_NAME)
    Q_PROPERTY(QString ZELKOR_PATH READ ZELKOR_PATH WRITE set_ZELKOR_PATH)
    Q_PROPERTY(QString ZELKOR_USER READ ZELKOR_USER WRITE set_ZELKOR_USER)
    Q_PROPERTY(QVariant ZELKOR_THEME READ ZELKOR_THEME WRITE set_ZELKOR_THEME)
    Q_PROPERTY(QString ZELKOR_DATE_FORMAT READ ZELKOR_DATE_FORMAT WRITE set_ZELKOR_DATE_FORMAT)
    Q_PROPERTY(QString ZELKOR_NO_PERIODS READ ZELKOR_NO_PERIODS WRITE set_ZELKOR_NO_PERIODS)
    Q_PROPERTY(QString ZELKOR_FONT_NAME READ ZELKOR_FONT_NAME WRITE set_ZELKOR_FONT_NAME)
    Q_PROPERTY(QVariant ZELKOR_FONT_SIZE READ ZELKOR_FONT_SIZE WRITE set_ZELKOR_FONT_SIZE)
    Q_PROPERTY(QString docnox READ docnox WRITE set_docnox)
    Q_PROPERTY(QString itemx READ itemx WRITE set_itemx)
    Q_PROPERTY(QString statusx READ statusx WRITE set_statusx)

public:
    explicit POclass(QObject* parent = nullptr);
    ~POclass() override;

    // Host settings ------------------------------------------------------------------------------
    Database* cnx() const { return m_settings.cnx; }
    Database* dbe() const { return m_settings.dbe; }
    Database* abcdb() const { return m_settings.abcdb; }
    QString OPEN_DATABASE() const { return m_settings.OPEN_DATABASE; }
    QString BASE_CURRENCY() const { return m_settings.BASE_CURRENCY; }
    QString ZELKOR_COMPANY_NAME() const { return m_settings.ZELKOR_COMPANY_NAME; }
    QString ZELKOR_PATH() const { return m_settings.ZELKOR_PATH; }
    QString ZELKOR_USER() const { return m_settings.ZELKOR_USER; }
    QVariant ZELKOR_THEME() const { return m_settings.ZELKOR_THEME; }
    QString ZELKOR_DATE_FORMAT() const { return m_settings.ZELKOR_DATE_FORMAT; }
    QString ZELKOR_NO_PERIODS() const { return m_settings.ZELKOR_NO_PERIODS; }
    QString ZELKOR_FONT_NAME() const { return m_settings.ZELKOR_FONT_NAME; }
    QVariant ZELKOR_FONT_SIZE() const { return m_settings.ZELKOR_FONT_SIZE; }
    QString docnox() const { return m_docnox; }
    QString itemx() const { return m_itemx; }
    QString statusx() const { return m_statusx; }

    void set_cnx(Database* value) { m_settings.cnx = value; }
    void set_dbe(Database* value) { m_settings.dbe = value; }
    void set_abcdb(Database* value) { m_settings.abcdb = value; }
    void set_OPEN_DATABASE(const QString& value) { m_settings.OPEN_DATABASE = value; }
    void set_BASE_CURRENCY(const QString& value) { m_settings.BASE_CURRENCY = value; }
    void set_ZELKOR_COMPANY_NAME(const QString& value) { m_settings.ZELKOR_COMPANY_NAME = value; }
    void set_ZELKOR_PATH(const QString& value) { m_settings.ZELKOR_PATH = value; }
    void set_ZELKOR_USER(const QString& value) { m_settings.ZELKOR_USER = value; }
    void set_ZELKOR_THEME(const QVariant& value) { m_settings.ZELKOR_THEME = value; }
    void set_ZELKOR_DATE_FORMAT(const QString& value) { m_settings.ZELKOR_DATE_FORMAT = value; }
    void set_ZELKOR_NO_PERIODS(const QString& value) { m_settings.ZELKOR_NO_PERIODS = value; }
    void set_ZELKOR_FONT_NAME(const QString& value) { m_settings.ZELKOR_FONT_NAME = value; }
    void set_ZELKOR_FONT_SIZE(const QVariant& value) { m_settings.ZELKOR_FONT_SIZE = value; }
    void set_docnox(const QString& value) { m_docnox = value; }
    void set_itemx(const QString& value) { m_itemx = value; }
    void set_statusx(const QString& value) { m_statusx = value; }

    /// The six write-only setters of older hosts.
    void dbwkspace(Database* value) { set_dbe(value); }
    void db(Database* value) { set_abcdb(value); }
    Q_INVOKABLE void OPENdb(const QString& value) { set_OPEN_DATABASE(value); }
    Q_INVOKABLE void basecurrency(const QString& value) { set_BASE_CURRENCY(value); }
    Q_INVOKABLE void ZKuser(const QString& value) { set_ZELKOR_USER(value); }
    Q_INVOKABLE void ZKtheme(const QVariant& value) { set_ZELKOR_THEME(value); }

    /// Everything the host set, as windows receive it.
    const HostSettings& settings() const { return m_settings; }

    // Presentation -------------------------------------------------------------------------------
    /// Called for every window as it opens, and for the windows they open themselves (page
    /// setup); a screen host builds and shows its view here (and may give the window its own
    /// prompter). Without one the facade stays headless.
    using ViewFactory = std::function<void(WindowModel& window)>;
    void set_view_factory(ViewFactory factory) { m_view_factory = std::move(factory); }
    /// The prompter headless windows use (tests and scripts); windows keep their own otherwise.
    void set_prompter(Prompter* prompter) { m_prompter = prompter; }

    // Window references (the newest window of each kind; null before the first opening) ---------
    POform_pr* frm_pr() const { return m_pr; }
    POform_po* frm_po() const { return m_po; }
    POform_receipt* frm_receipt() const { return m_receipt; }
    POform_invoice* frm_invoice() const { return m_invoice; }
    POform_landed* frm_landed() const { return m_landed; }
    POform_misccharge* frm_misccharge() const { return m_misccharge; }
    POform_shipvia* frm_shipvia() const { return m_shipvia; }
    POform_vendor_group* frm_vendor_group() const { return m_vendor_group; }
    POreport_vendor_list* frm_vendor_list() const { return m_vendor_list; }
    POreport_pr_transaction* frm_pr_transaction() const { return m_pr_transaction; }
    POreport_po_transaction* frm_po_transaction() const { return m_po_transaction; }
    POreport_receipt_transaction* frm_receipt_transaction() const { return m_receipt_transaction; }
    POreport_invoice_transaction* frm_invoice_transaction() const { return m_invoice_transaction; }
    POreport_payable_clearing* frm_payable_clearing() const { return m_payable_clearing; }
    POreport_purchase_tax* frm_purchase_tax() const { return m_purchase_tax; }
    /// The newest window of a kind named by its reference ("frm_po") or class ("POform_po").
    WindowModel* window(const QString& reference_or_class) const;

public slots:
    // Opening ------------------------------------------------------------------------------------
    void showform_POform_pr(const QString& docnox = {});
    void showform_POform_po(const QString& ponox = {});
    void showform_POform_receipt(const QString& docnox = {});
    void showform_POform_invoice(const QString& docnox = {});
    void showform_POform_landed();
    void showform_POform_misccharge();
    void showform_POform_shipvia();
    void showform_POform_vendor_group();
    void showform_POform_vendor_list();
    void showform_POform_pr_transaction();
    void showform_POform_pr_transaction(const QString& pending);
    void showform_POform_po_transaction();
    void showform_POform_po_transaction(const QString& pending);
    void showform_POform_receipt_transaction();
    void showform_POform_receipt_transaction(const QString& docnox);
    void showform_POform_invoice_transaction(const QString& ponox, const QString& rcnox);
    void showform_POform_payable_clearing();
    void showform_POform_purchase_tax();

    // Showing a document in the newest window of its kind -----------------------------------------
    void POform_pr_goto_docno(const QString& docnox);
    void POform_po_goto_docno(const QString& docnox);
    void POform_receipt_goto_docno(const QString& docnox);
    void POform_invoice_goto_docno(const QString& docnox);

    // Hand-offs ------------------------------------------------------------------------------------
    void Issue_PO();
    void PO_receive_Goods();
    void Invoice_this_receipt();

    // Relays ---------------------------------------------------------------------------------------
    void frm_pr_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_po_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_receipt_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_invoice_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_landed_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_misccharge_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_shipvia_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_vendor_group_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_vendor_list_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_pr_transaction_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_po_transaction_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_receipt_transaction_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_invoice_transaction_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_payable_clearing_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void frm_purchase_tax_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);

    // Closing --------------------------------------------------------------------------------------
    void frm_pr_Exit();
    void frm_po_Exit();
    void frm_receipt_Exit();
    void frm_invoice_Exit();
    void frm_landed_Exit();
    void frm_misccharge_Exit();
    void frm_shipvia_Exit();
    void frm_vendor_group_Exit();
    void frm_pr_transaction_Exit();
    void frm_po_transaction_Exit();
    void frm_receipt_transaction_Exit();
    void frm_invoice_transaction_Exit();
    void frm_payable_clearing_Exit();
    void frm_purchase_tax_Exit();
    void frm_vendor_list_Exit();

    /// Drops the references to the database and then to the workspace; the database itself
    /// belongs to the host and stays open.
    void class_terminate();

signals:
    void NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);

private:
    using Relay = void (POclass::*)(const QString&, const QString&, const QString&);
    template <class Window>
    Window* open_window(QPointer<Window>& reference, Relay relay);
    void relay(const QString& formx, const QString& docnox, const QString& arg2);

    HostSettings m_settings;
    QString m_docnox;
    QString m_itemx;
    QString m_statusx;
    ViewFactory m_view_factory;
    Prompter* m_prompter = nullptr;

    QPointer<POform_pr> m_pr;
    QPointer<POform_po> m_po;
    QPointer<POform_receipt> m_receipt;
    QPointer<POform_invoice> m_invoice;
    QPointer<POform_landed> m_landed;
    QPointer<POform_misccharge> m_misccharge;
    QPointer<POform_shipvia> m_shipvia;
    QPointer<POform_vendor_group> m_vendor_group;
    QPointer<POreport_vendor_list> m_vendor_list;
    QPointer<POreport_pr_transaction> m_pr_transaction;
    QPointer<POreport_po_transaction> m_po_transaction;
    QPointer<POreport_receipt_transaction> m_receipt_transaction;
    QPointer<POreport_invoice_transaction> m_invoice_transaction;
    QPointer<POreport_payable_clearing> m_payable_clearing;
    QPointer<POreport_purchase_tax> m_purchase_tax;
};

} // namespace zelkor
