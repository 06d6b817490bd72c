#include "facade/POclass.h"

#include "core/clock.h"

#include <QCoreApplication>
#include <QDebug>

#include <exception>

namespace zelkor {

namespace {

/// Runs one step of a facade operation; whatever goes wrong in it is logged and skipped, so the
/// host never sees a failure from the facade.
template <class Step>
void step(Step&& run)
{
    try {
        run();
    } catch (const std::exception& failure) {
        qWarning().noquote() << "POclass: a step failed and was skipped:" << failure.what();
    } catch (...) {
        qWarning().noquote() << "POclass: a step failed and was skipped";
    }
}

/// The window behind a reference while it is open; null when it never opened or has closed.
template <class Window>
Window* live(const QPointer<Window>& reference)
{
    return reference && !reference->is_closed() ? reference.data() : nullptr;
}

} // namespace

POclass::POclass(QObject* parent) : QObject(parent) {}

POclass::~POclass() { class_terminate(); }

WindowModel* POclass::window(const QString& reference_or_class) const
{
    const std::array<WindowModel*, 15> windows{
        m_pr, m_po, m_receipt, m_invoice, m_landed, m_misccharge, m_shipvia, m_vendor_group, m_vendor_list,
        m_pr_transaction, m_po_transaction, m_receipt_transaction, m_invoice_transaction, m_payable_clearing,
        m_purchase_tax};
    for (size_t index = 0; index < window_kinds.size(); ++index)
        if (to_qstring(window_kinds[index].reference) == reference_or_class
            || to_qstring(window_kinds[index].class_name) == reference_or_class)
            return windows[index];
    return nullptr;
}

template <class Window>
Window* POclass::open_window(QPointer<Window>& reference, Relay relay_of_kind)
{
    auto* window = new Window(this);
    reference = window;
    window->apply_settings(m_settings);
    if (m_prompter)
        window->set_prompter(m_prompter);
    // Only the newest window of a kind reaches the host; earlier ones keep working unheard.
    connect(window, &WindowModel::NotifyClients, this,
            [this, window, &reference, relay_of_kind](const QString& formx, const QString& docnox,
                                                       const QString& arg2) {
                if (reference == window)
                    (this->*relay_of_kind)(formx, docnox, arg2);
            });
    connect(window, &WindowModel::closed, window, &QObject::deleteLater);
    // Windows a window opens itself (its page setup) are shown like the host's own.
    connect(window, &WindowModel::childWindowOpened, this, [this](WindowModel* child) {
        if (m_view_factory)
            step([&] { m_view_factory(*child); });
    });
    step([&] { window->open(); });
    if (m_view_factory)
        step([&] { m_view_factory(*window); });
    return window;
}

// Opening --------------------------------------------------------------------------------------

void POclass::showform_POform_pr(const QString& docnox)
{
    step([&] {
        auto* window = open_window(m_pr, &POclass::frm_pr_NotifyClients);
        if (!docnox.isEmpty())
            POform_pr_goto_docno(docnox);
        (void)window;
    });
}

void POclass::showform_POform_po(const QString& ponox)
{
    step([&] {
        open_window(m_po, &POclass::frm_po_NotifyClients);
        if (!ponox.isEmpty())
            POform_po_goto_docno(ponox);
    });
}

void POclass::showform_POform_receipt(const QString& docnox)
{
    step([&] {
        open_window(m_receipt, &POclass::frm_receipt_NotifyClients);
        if (!docnox.isEmpty())
            POform_receipt_goto_docno(docnox);
    });
}

void POclass::showform_POform_invoice(const QString& docnox)
{
    step([&] {
        open_window(m_invoice, &POclass::frm_invoice_NotifyClients);
        if (!docnox.isEmpty())
            POform_invoice_goto_docno(docnox);
    });
}

void POclass::showform_POform_landed()
{
    step([&] { open_window(m_landed, &POclass::frm_landed_NotifyClients); });
}

void POclass::showform_POform_misccharge()
{
    step([&] { open_window(m_misccharge, &POclass::frm_misccharge_NotifyClients); });
}

void POclass::showform_POform_shipvia()
{
    step([&] { open_window(m_shipvia, &POclass::frm_shipvia_NotifyClients); });
}

void POclass::showform_POform_vendor_group()
{
    step([&] { open_window(m_vendor_group, &POclass::frm_vendor_group_NotifyClients); });
}

void POclass::showform_POform_vendor_list()
{
    step([&] { open_window(m_vendor_list, &POclass::frm_vendor_list_NotifyClients); });
}

void POclass::showform_POform_pr_transaction()
{
    step([&] { open_window(m_pr_transaction, &POclass::frm_pr_transaction_NotifyClients); });
}

void POclass::showform_POform_pr_transaction(const QString& pending)
{
    step([&] {
        auto* window = open_window(m_pr_transaction, &POclass::frm_pr_transaction_NotifyClients);
        if (pending == u"pending")
            window->show_pending();
    });
}

void POclass::showform_POform_po_transaction()
{
    step([&] {
        auto* window = open_window(m_po_transaction, &POclass::frm_po_transaction_NotifyClients);
        window->clear_filters();
        if (!m_docnox.isEmpty())
            window->set_field("prno", m_docnox);
        if (!m_itemx.isEmpty())
            window->set_field("item_from", m_itemx);
        if (!m_statusx.isEmpty())
            window->set_field("status", m_statusx);
        window->run_inquiry();
    });
}

void POclass::showform_POform_po_transaction(const QString& pending)
{
    step([&] {
        auto* window = open_window(m_po_transaction, &POclass::frm_po_transaction_NotifyClients);
        window->clear_filters();
        if (pending == u"pending")
            window->show_pending();
    });
}

void POclass::showform_POform_receipt_transaction()
{
    step([&] { open_window(m_receipt_transaction, &POclass::frm_receipt_transaction_NotifyClients); });
}

void POclass::showform_POform_receipt_transaction(const QString& docnox)
{
    step([&] {
        auto* window = open_window(m_receipt_transaction, &POclass::frm_receipt_transaction_NotifyClients);
        window->set_field("pono", docnox);
        window->run_inquiry();
    });
}

void POclass::showform_POform_invoice_transaction(const QString& ponox, const QString& rcnox)
{
    step([&] {
        auto* window = open_window(m_invoice_transaction, &POclass::frm_invoice_transaction_NotifyClients);
        window->set_field("pono", ponox);
        window->set_field("receipt_no", rcnox);
        if (!ponox.isEmpty() || !rcnox.isEmpty())
            window->run_inquiry();
    });
}

void POclass::showform_POform_payable_clearing()
{
    step([&] { open_window(m_payable_clearing, &POclass::frm_payable_clearing_NotifyClients); });
}

void POclass::showform_POform_purchase_tax()
{
    step([&] { open_window(m_purchase_tax, &POclass::frm_purchase_tax_NotifyClients); });
}

// Showing a document ----------------------------------------------------------------------------

void POclass::POform_pr_goto_docno(const QString& docnox)
{
    auto* window = live(m_pr);
    if (!window)
        return;
    step([&] { window->set_field("docno", docnox); });
    step([&] { window->display_by_number(); });
}

void POclass::POform_po_goto_docno(const QString& docnox)
{
    auto* window = live(m_po);
    if (!window)
        return;
    step([&] { window->set_field("docno", docnox); });
    step([&] { window->display_by_number(); });
}

void POclass::POform_receipt_goto_docno(const QString& docnox)
{
    auto* window = live(m_receipt);
    if (!window)
        return;
    step([&] { window->set_field("docno", docnox); });
    step([&] { window->display_by_number(); });
}

void POclass::POform_invoice_goto_docno(const QString& docnox)
{
    auto* window = live(m_invoice);
    if (!window)
        return;
    step([&] { window->set_field("docno", docnox); });
    step([&] { window->display_by_number(); });
}

// Hand-offs -------------------------------------------------------------------------------------

void POclass::Issue_PO()
{
    auto* order = live(m_po);
    if (!order)
        return;
    auto* requisition = live(m_pr);
    const QString number = requisition ? requisition->field("docno") : QString();
    // A user who may not write orders gets the window's refusal and nothing is filled in.
    bool entered = false;
    step([&] {
        order->reset_header_fields();
        entered = order->enter_new_mode();
    });
    if (!entered)
        return;
    step([&] {
        order->set_field_choices("prno", Choices::of({number}));
        order->set_field("prno", number);
    });
    step([&] {
        if (requisition)
            order->set_field("shipto", requisition->field("shipto"));
    });
    step([&] {
        if (requisition)
            order->set_field("requisition_key", requisition->document_key());
        order->fill_lines_from_requisition();
        order->calculate_totals();
    });
    step([&] { order->set_field("requisition_key", QString()); });
}

void POclass::PO_receive_Goods()
{
    auto* receipt = live(m_receipt);
    if (!receipt)
        return;
    auto* order = live(m_po);
    const QString number = order ? order->field("docno") : QString();
    step([&] {
        if (order)
            receipt->set_field("vendor_no", order->field("vendor_no"));
    });
    step([&] { receipt->set_field_choices("pono", Choices::of({number})); });
    bool entered = false;
    step([&] {
        receipt->reset_header_fields();
        entered = receipt->enter_new_mode();
    });
    if (!entered)
        return;
    step([&] {
        receipt->set_field("pono", number);
        receipt->load_order_lines();
    });
    step([&] { receipt->set_field_date("receipt_date", Clock::today()); });
    step([&] {
        receipt->set_field_read_only("vendor_no", true);
        receipt->set_field_read_only("vendor_name", true);
    });
}

void POclass::Invoice_this_receipt()
{
    auto* bill = live(m_invoice);
    if (!bill)
        return;
    auto* receipt = live(m_receipt);
    const QString number = receipt ? receipt->field("docno") : QString();
    bool entered = false;
    step([&] {
        bill->reset_header_fields();
        entered = bill->enter_new_mode();
    });
    if (!entered)
        return;
    step([&] {
        if (receipt)
            bill->set_field("vendor_no", receipt->field("vendor_no"));
    });
    step([&] {
        bill->set_field_choices("receipt_no", Choices::of({number}));
        bill->set_field("receipt_no", number);
    });
    step([&] { bill->load_receipt_lines(); });
    step([&] {
        bill->set_field_read_only("vendor_no", true);
        bill->set_field_read_only("vendor_name", true);
    });
}

// Relays ----------------------------------------------------------------------------------------

void POclass::relay(const QString& formx, const QString& docnox, const QString& arg2)
{
    step([&] { emit NotifyClients(formx, docnox, arg2); });
    // The host's handler may have opened or closed windows; let their events run before the
    // sending window goes on.
    step([] { QCoreApplication::processEvents(); });
}

#define ZELKOR_RELAY(kind)                                                                         \
    void POclass::kind##_NotifyClients(const QString& formx, const QString& docnox, const QString& arg2) \
    {                                                                                              \
        relay(formx, docnox, arg2);                                                                \
    }
ZELKOR_RELAY(frm_pr)
ZELKOR_RELAY(frm_po)
ZELKOR_RELAY(frm_receipt)
ZELKOR_RELAY(frm_invoice)
ZELKOR_RELAY(frm_landed)
ZELKOR_RELAY(frm_misccharge)
ZELKOR_RELAY(frm_shipvia)
ZELKOR_RELAY(frm_vendor_group)
ZELKOR_RELAY(frm_vendor_list)
ZELKOR_RELAY(frm_pr_transaction)
ZELKOR_RELAY(frm_po_transaction)
ZELKOR_RELAY(frm_receipt_transaction)
ZELKOR_RELAY(frm_invoice_transaction)
ZELKOR_RELAY(frm_payable_clearing)
ZELKOR_RELAY(frm_purchase_tax)
#undef ZELKOR_RELAY

// Closing ---------------------------------------------------------------------------------------

namespace {

/// Closes the newest window of a kind. The window's own unload steps run either way; only the
/// window itself may ask about unsaved work.
template <class Window>
void close_newest(const QPointer<Window>& reference, WindowModel::Closing closing)
{
    if (auto* window = live(reference))
        step([&] { window->close_window(closing); });
}

} // namespace

void POclass::frm_pr_Exit() { close_newest(m_pr, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_po_Exit() { close_newest(m_po, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_receipt_Exit() { close_newest(m_receipt, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_invoice_Exit() { close_newest(m_invoice, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_landed_Exit() { close_newest(m_landed, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_misccharge_Exit() { close_newest(m_misccharge, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_shipvia_Exit() { close_newest(m_shipvia, WindowModel::Closing::Unload); }
void POclass::frm_vendor_group_Exit() { close_newest(m_vendor_group, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_pr_transaction_Exit() { close_newest(m_pr_transaction, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_po_transaction_Exit() { close_newest(m_po_transaction, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_receipt_transaction_Exit()
{
    close_newest(m_receipt_transaction, WindowModel::Closing::AskAboutChanges);
}
void POclass::frm_invoice_transaction_Exit()
{
    close_newest(m_invoice_transaction, WindowModel::Closing::AskAboutChanges);
}
void POclass::frm_payable_clearing_Exit() { close_newest(m_payable_clearing, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_purchase_tax_Exit() { close_newest(m_purchase_tax, WindowModel::Closing::AskAboutChanges); }
void POclass::frm_vendor_list_Exit() { close_newest(m_vendor_list, WindowModel::Closing::Unload); }

void POclass::class_terminate()
{
    m_settings.abcdb = nullptr;
    m_settings.dbe = nullptr;
}

} // namespace zelkor
