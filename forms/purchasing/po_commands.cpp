// What the order's commands do: save, close, void, activation, hand-offs, linked documents and
// printing. Each asks its questions first, then runs one document routine.
#include "forms/purchasing/POform_po.h"

#include "forms/purchasing/po_lifecycle.h"
#include "forms/purchasing/po_save.h"

#include <QSysInfo>

namespace zelkor {

namespace {

const QString WasVoid = QStringLiteral("PO was void.");
const QString FullyReceived = QStringLiteral("Goods was fully received.");
const QString FuturePo = QStringLiteral("This is a future PO. Activate it before proceeding");

/// The user's message of a failed routine: its own sentence, never a driver's text.
bool has_user_message(const Error& error)
{
    return error.kind != Error::Kind::Database && !error.message.isEmpty();
}

} // namespace

bool POform_po::checked_for_save(Mode saving)
{
    if (!verify_header(saving))
        return false;
    renumber_lines();
    if (!verify_detail())
        return false;
    calculate_totals();
    return true;
}

void POform_po::report_failure(const Error& error, const QString& failed)
{
    if (has_user_message(error))
        message(error.message);
    message(failed);
}

bool POform_po::refuse_when(bool condition, const QString& text)
{
    if (condition)
        message(text);
    return condition;
}

bool POform_po::save_new()
{
    if (!checked_for_save(Mode::New))
        return false;
    Order order = read_order();
    auto saved = insert_new_po(*database(), order, {settings().ZELKOR_USER, QSysInfo::machineHostName()});
    if (!saved) {
        report_failure(saved.error(), QStringLiteral("Add new PO failed."));
        set_field("docno", NewDocumentNumber);
        m_key.clear();
        return false;
    }
    message(QStringLiteral("Add new PO no. ") + saved->docno + QStringLiteral(" complete"));
    load_order(saved->fkey);
    return true;
}

bool POform_po::save_edit()
{
    if (!checked_for_save(Mode::Edit))
        return false;
    const Order order = read_order();
    auto saved = update_po(*database(), order, {settings().ZELKOR_USER, QSysInfo::machineHostName()});
    if (!saved) {
        report_failure(saved.error(), QStringLiteral("Update PO failed."));
        return false;
    }
    load_order(m_key);
    message(QStringLiteral("Update PO no. ") + field("docno") + QStringLiteral(" complete"));
    return true;
}

bool POform_po::delete_line()
{
    const int row = m_lines->current_row();
    const Decimal received = Decimal::parse(m_lines->cell(row, "quantity received").trimmed()).value_or(Decimal());
    if (mode() != Mode::Read && received > Decimal()) {
        message(QStringLiteral("Cannot delete item that has been receiving goods."));
        return false;
    }
    const int itemno = m_lines->cell(row, "item no").toInt();
    if (!WindowModel::run_command(to_int(CommandId::DeleteLine)))
        return false;
    m_taxes.remove_line(itemno);
    calculate_totals();
    return true;
}

bool POform_po::close_order()
{
    const QString number = field("docno");
    if (m_key.isEmpty() || mode() == Mode::New)
        return false;
    if (refuse_when(find_field("void")->checked(), number + QStringLiteral(" was void."))
        || refuse_when(find_field("fully_received")->checked(), FullyReceived))
        return false;
    if (!stored_header(QStringLiteral("Document no. ") + number + QStringLiteral(" not found")))
        return false;
    if (!ask_yes_no(QStringLiteral("Are you sure to close this PO?"), QStringLiteral("Close PO")))
        return false;
    if (auto closed = close_po(*database(), m_key); !closed) {
        message(QStringLiteral("Close PO failed."));
        return false;
    }
    load_order(m_key);
    message(number + QStringLiteral(" is closed."));
    return true;
}

bool POform_po::void_order()
{
    const QString number = field("docno");
    if (m_key.isEmpty() || mode() == Mode::New)
        return false;
    if (refuse_when(find_field("void")->checked(), number + QStringLiteral(" was void.")))
        return false;
    auto header = stored_header(QStringLiteral("Document no. ") + number + QStringLiteral(" not found"));
    if (!header)
        return false;
    // The stored flags decide: a receipt saved since the order was shown counts.
    if (refuse_when(find_field("received")->checked() || header->flag(u"received"),
                    QStringLiteral("Goods was received. Can not void this PO."))
        || refuse_when(find_field("billed")->checked() || header->flag(u"billed"),
                       number + QStringLiteral(" was billed. Can not void this PO")))
        return false;
    if (!ask_yes_no(QStringLiteral("Are you sure to void this PO?"), QStringLiteral("Void PO")))
        return false;
    if (auto voided = void_po(*database(), m_key); !voided) {
        message(QStringLiteral("Void PO failed."));
        return false;
    }
    load_order(m_key);
    message(number + QStringLiteral(" is void."));
    return true;
}

bool POform_po::activate_order()
{
    const QString number = field("docno");
    if (m_key.isEmpty() || mode() != Mode::Read
        || refuse_when(find_field("void")->checked(), number + QStringLiteral(" was void.")))
        return false;
    auto activated = activate_po(*database(), m_key);
    if (!activated) {
        message(QStringLiteral("Activate PO failed."));
        return false;
    }
    if (!*activated) {
        message(QStringLiteral("PO ") + number + QStringLiteral(" is not a future PO."));
        return false;
    }
    load_order(m_key);
    message(QStringLiteral("PO ") + number + QStringLiteral(" is activated."));
    return true;
}

bool POform_po::activate_all_orders()
{
    auto activated = activate_all_future_pos(*database(), today());
    if (!activated) {
        message(QStringLiteral("Activate PO failed."));
        return false;
    }
    if (activated->isEmpty()) {
        message(QStringLiteral("No future PO due to be activated"));
        return true;
    }
    if (!m_key.isEmpty() && mode() == Mode::Read)
        load_order(m_key);
    message(QStringLiteral("Future POs are activated."));
    return true;
}

bool POform_po::receive_goods()
{
    if (m_key.isEmpty() || mode() == Mode::New)
        return false;
    if (refuse_when(find_field("void")->checked(), WasVoid)
        || refuse_when(find_field("fully_received")->checked(), FullyReceived)
        || refuse_when(find_field("future_po")->checked(), FuturePo))
        return false;
    // The stored header decides: a receipt or a void saved since the order was shown counts.
    auto header = database()->first(QStringLiteral("SELECT void, fully_received FROM PO_header_table WHERE fkey = ?"),
                                    {m_key});
    if (!header || !*header || refuse_when((*header)->flag(u"void"), WasVoid)
        || refuse_when((*header)->flag(u"fully_received"), FullyReceived))
        return false;
    notify(QStringLiteral("PO Receive Goods"));
    return true;
}

bool POform_po::enter_bill()
{
    if (m_key.isEmpty() || mode() == Mode::New)
        return false;
    if (refuse_when(find_field("void")->checked(), WasVoid) || refuse_when(find_field("future_po")->checked(), FuturePo))
        return false;
    auto header = database()->first(
        QStringLiteral("SELECT void, fully_billed, stock_item_only FROM PO_header_table WHERE fkey = ?"), {m_key});
    if (!header || !*header || refuse_when((*header)->flag(u"void"), WasVoid)
        || refuse_when((*header)->flag(u"fully_billed"), QStringLiteral("Goods was fully billed."))
        || refuse_when((*header)->flag(u"stock_item_only"),
                       QStringLiteral("This command is working with non-stock item PO.") + QChar(10)
                           + QStringLiteral("P/O Invoice is looking for stock item in P/O Receipt document.")))
        return false;
    // What a bill of a non-stock order receives is left to the bill window.
    return true;
}

bool POform_po::linked_documents(int id)
{
    if (id == PrRecord) {
        const QString prno = m_lines->cell(m_lines->current_row(), "PR no");
        if (prno.isEmpty())
            return false;
        notify(QStringLiteral("Purchase Requisition"), prno);
        return true;
    }
    const QString number = field("docno");
    if (m_key.isEmpty())
        return false;
    const bool receipts = id == ReceiptRecord;
    auto found = database()->select(receipts ? QStringLiteral("SELECT DISTINCT docno FROM PO_receipt_transaction_table"
                                                              " WHERE company = 1 AND pono = ?")
                                             : QStringLiteral("SELECT DISTINCT docno FROM PO_invoice_transaction_table"
                                                              " WHERE company = 1 AND pono = ?"),
                                    {number});
    if (!found || found->empty())
        return false;
    if (found->size() == 1)
        notify(receipts ? QStringLiteral("Receipt Entry") : QStringLiteral("P/O Bill Entry"), found->front().text(u"docno"));
    else
        notify(receipts ? QStringLiteral("Receipt Report") : QStringLiteral("P/O Bill Report"), number);
    return true;
}

} // namespace zelkor
