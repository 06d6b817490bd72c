#include "host/notification_router.h"

#include "core/clock.h"
#include "core/fiscal_periods.h"
#include "facade/POclass.h"
#include "host/active_report_pdf.h"
#include "host/host_window.h"
#include "host/pdf_view.h"
#include "host/query_report_view.h"
#include "host/window_catalogue.h"
#include "windows/print/active_report.h"
#include "windows/print/document_layout.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace zelkor::host {

namespace {

/// The first of the two arguments that is not empty: windows put a document number in either.
QString first_given(const QString& docnox, const QString& arg2)
{
    return docnox.isEmpty() ? arg2 : docnox;
}

/// The window class that prints under this title ("Purchase Order" -> "POform_po"): its user's
/// page format applies. A document window says so with its layout, whatever its menu caption
/// ("P/O Bill Entry" is printed by "Vendor Bill"); a title of no window of the module gives
/// "ActiveReport".
QString printing_window(const QString& title)
{
    if (const auto layout = find_document_layout(title); layout && !layout->form_name.isEmpty())
        return layout->form_name;
    for (const CatalogueEntry& entry : window_catalogue())
        if (QString(entry.caption).remove(u'&').compare(title, Qt::CaseInsensitive) == 0)
            return entry.class_name;
    return QStringLiteral("ActiveReport");
}

} // namespace

QString readable_notification(const QString& formx, const QString& docnox, const QString& arg2)
{
    if (formx == u"Next App")
        return QStringLiteral("A window closed");
    QString line = formx;
    if (!docnox.isEmpty())
        line += QStringLiteral(": ") + docnox;
    if (!arg2.isEmpty() && arg2 != docnox)
        line += QStringLiteral(" (") + arg2 + u')';
    return line;
}

NotificationRouter::NotificationRouter(POclass& facade, HostWindow& window, Database& db, QObject* parent)
    : QObject(parent), m_facade(facade), m_window(window), m_db(db)
{
}

NotificationRouter::Handling NotificationRouter::handle(const QString& formx, const QString& docnox, const QString& arg2)
{
    const QString document = first_given(docnox, arg2);
    if (formx == u"Purchase Requisition") {
        m_facade.showform_POform_pr(document);
    } else if (formx == u"Purchase Order") {
        m_facade.showform_POform_po(document);
    } else if (formx == u"Receipt Entry") {
        m_facade.showform_POform_receipt(document);
    } else if (formx == u"Bill Entry" && is_payable_key(docnox)) {
        // The suite's payables window; the demo host shows the payable's lines and the owing balance.
        show_document_lines(formx, docnox, arg2);
        return Handling::Shown;
    } else if (formx == u"Bill Entry" || formx == u"P/O Bill Entry") {
        m_facade.showform_POform_invoice(document);
    } else if (formx == u"Purchase Order Report") {
        m_facade.set_docnox(docnox);
        m_facade.set_itemx(QString());
        m_facade.set_statusx(QString());
        m_facade.showform_POform_po_transaction();
    } else if (formx == u"Receipt Report") {
        m_facade.showform_POform_receipt_transaction(docnox);
    } else if (formx == u"P/O Bill Report") {
        if (is_order_number(docnox))
            m_facade.showform_POform_invoice_transaction(docnox, QString());
        else
            m_facade.showform_POform_invoice_transaction(QString(), docnox);
    } else if (formx == u"Issue PO") {
        m_facade.showform_POform_po();
        m_facade.Issue_PO();
        return Handling::HandedOff;
    } else if (formx == u"PO Receive Goods") {
        m_facade.showform_POform_receipt();
        m_facade.PO_receive_Goods();
        return Handling::HandedOff;
    } else if (formx == u"Invoice This Receipt") {
        m_facade.showform_POform_invoice();
        m_facade.Invoice_this_receipt();
        return Handling::HandedOff;
    } else if (formx == u"pdf viewer" || formx == u"pdf viewer landscape") {
        show_pdf(docnox, formx.endsWith(u"landscape"));
        return Handling::Shown;
    } else if (formx == u"ActiveReport" && is_single_select(docnox)) {
        show_report_query(docnox, arg2);
        return Handling::Shown;
    } else if (!docnox.isEmpty() && (formx == u"G/L Ledger Review" || formx == u"Inventory Receipts"
                                     || formx == u"Inventory Adjustments")) {
        show_document_lines(formx, docnox, arg2);
        return Handling::Shown;
    } else {
        // Masters, list prints and "Next App" belong to the rest of the suite; the demo host
        // only records them.
        m_window.log(readable_notification(formx, docnox, arg2));
        return Handling::Logged;
    }
    return Handling::Opened;
}

bool NotificationRouter::is_order_number(const QString& docno)
{
    auto found = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM PO_header_table WHERE company = 1 AND docno = ?"), {docno});
    return found && found->toLongLong() > 0;
}

bool NotificationRouter::is_payable_key(const QString& key)
{
    auto found = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM AP_header_table WHERE fkey = ?"), {key});
    return found && found->toLongLong() > 0;
}

void NotificationRouter::show_report_query(const QString& query, const QString& arg2)
{
    ActiveReportRequest request{query, arg2};
    request.form_name = printing_window(parse_active_report_argument(arg2).title);
    request.user = m_facade.ZELKOR_USER();
    request.data_path = m_facade.ZELKOR_PATH();
    request.print_date = format_user_date(Clock::today(), m_facade.ZELKOR_DATE_FORMAT());
    request.date_format = m_facade.ZELKOR_DATE_FORMAT();
    auto printed = print_active_report(m_db, request);
    if (printed) {
        show_pdf(printed->path, printed->viewer.endsWith(u"landscape"));
        return;
    }
    // The clerk still sees the rows when no PDF can be written; the log says why.
    m_window.log(QStringLiteral("ActiveReport: no PDF written (%1); the rows are shown as a table")
                     .arg(printed.error().detail.isEmpty() ? printed.error().message : printed.error().detail));
    const QString title = report_title(arg2);
    m_window.show_child(make_query_report_view(m_db, query, arg2, title), title);
}

void NotificationRouter::show_document_lines(const QString& formx, const QString& key, const QString& number)
{
    // The journal review and the inventory documents belong to other modules of the suite; the
    // demo host shows the lines a document wrote, found by their key.
    const QString query = formx == u"Bill Entry"
        ? QStringLiteral("SELECT h.docno, h.invoice_no, h.vendor_no, v.owing_balance, h.invoice_date, h.due_date, h.Source,"
                         " h.source_docno, h.void, l.pay_item, l.tax_code, l.gross_amount, l.discount, l.paid_amount,"
                         " l.open_amount, l.paid, l.ap_accno FROM (AP_transaction_table l INNER JOIN AP_header_table h"
                         " ON h.fkey = l.fkey) LEFT JOIN Vendor_table v ON v.vendor_no = h.vendor_no WHERE l.fkey = ?"
                         " ORDER BY l.pay_item")
        : formx == u"G/L Ledger Review"
        ? QStringLiteral("SELECT h.docno, h.gldate, h.period, h.fyear, h.Description, h.remark, l.lineno, l.accno,"
                         " a.accname, l.amount, l.base_amount, l.currency, l.ledgertype, l.vendor_no"
                         " FROM (GL_transaction_table l INNER JOIN GL_header_table h ON h.fkey = l.fkey)"
                         " LEFT JOIN Account_master_table a ON a.accno = l.accno WHERE l.fkey = ? ORDER BY l.lineno")
        : QStringLiteral("SELECT h.docno, h.trandate, h.period, h.fyear, h.Description, h.void, l.lineno, l.itemcode,"
                         " l.quantity, l.uom, l.unitcost, l.extended_cost, l.warehouse, l.location, l.stock_uom_quantity,"
                         " l.stock_uom, l.stock_value, l.remark FROM IN_transaction_table l"
                         " INNER JOIN IN_header_table h ON h.fkey = l.fkey WHERE l.fkey = ? ORDER BY l.lineno");
    const QString title = number.isEmpty() ? formx : formx + QStringLiteral(" ") + number;
    m_window.show_child(make_query_report_view(m_db, query, active_report_argument(title, key), title), title);
}

void NotificationRouter::show_pdf(const QString& path, bool landscape)
{
    QWidget* view = make_pdf_view(path, landscape ? PageOrientation::Landscape : PageOrientation::Portrait);
    QMdiSubWindow* window = m_window.show_child(view, QFileInfo(path).fileName());
    // A page is read whole: the viewer takes most of the room the host has.
    if (window && window->mdiArea())
        window->resize(window->mdiArea()->viewport()->size() * 0.9);
}

} // namespace zelkor::host
