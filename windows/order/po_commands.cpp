// What the order's commands do: save, close, void, activation, hand-offs, linked documents and
// printing. Each asks its questions first, then runs one document routine.
#include "windows/order/POform_po.h"

#include "documents/common/line_checks.h"
#include "documents/order/po_lifecycle.h"
#include "documents/order/po_requisition.h"
#include "documents/order/po_save.h"
#include "documents/order/po_verify.h"
#include "windows/order/po_columns.h"

namespace zelkor {

namespace {

namespace col = po_column;

const QString WasVoid = QStringLiteral("PO was void.");
const QString FullyReceived = QStringLiteral("Goods was fully received.");
const QString FuturePo = QStringLiteral("This is a future PO. Activate it before proceeding");

} // namespace

bool POform_po::run_command(int id)
{
    switch (id) {
    case to_int(CommandId::DeleteLine): return delete_line();
    case to_int(Command::ReceivingGoods): return receive_goods();
    case to_int(Command::EnterBill): return enter_bill();
    case to_int(Command::ClosePo): return close_order();
    case to_int(CommandId::Void): return void_order();
    case to_int(Command::ActivateThisFuturePo): return activate_order();
    case to_int(Command::ActivateAllFuturePos): return activate_all_orders();
    case to_int(Command::PrRecord):
    case to_int(Command::ReceiptRecord):
    case to_int(Command::BillRecord): return linked_documents(Command(id));
    case to_int(Command::NewTemplate): return new_template();
    case to_int(Command::CopyToNewTemplate): return copy_to_new_template();
    case to_int(Command::EditTemplate): return edit_template();
    case to_int(Command::DeleteTemplate): return remove_template();
    case to_int(Command::SaveAsTemplate): return save_as_template();
    case to_int(Command::ReorderingStockItems): return propose_reorders();
    default: break;
    }
    const bool done = DocumentWindow::run_command(id);
    if (done && id == to_int(Command::PrWindow) && find_command(id)->checked) {
        auto list = open_requisitions(db());
        if (!list) {
            report(list.error(), QStringLiteral("Reading the open requisitions failed"));
            return false;
        }
        Choices choices{{"PR no", "key"}, {0, 0}, {}, 0};
        for (const Row& row : *list)
            choices.rows.push_back({row.text(u"docno"), row.text(u"fkey")});
        set_field_choices("pr_docno", choices);
        if (field("pr_docno").isEmpty() && !choices.empty())
            show_requisition(choices.rows.front().front());
    }
    if (done)
        refresh_panes();
    return done;
}

// Saving ------------------------------------------------------------------------------------------

std::expected<Order, Error> POform_po::checked_order(Mode saving)
{
    if (field("order_date").trimmed().isEmpty())
        set_field_date("order_date", today());
    for (const char* date : {"order_date", "arrival_date", "activate_date", "rate_date"})
        if (auto typed = field_date(date); !typed)
            return std::unexpected(typed.error());
    const int current = std::max(m_lines->current_row(), 0);
    const OrderHeaderChecks checks{saving == Mode::New,
                                   !m_lines->cell(current, col::ItemCode).trimmed().isEmpty()
                                       || !m_lines->cell(current, col::Description).trimmed().isEmpty(),
                                   !field("exchange_rate").trimmed().isEmpty()};
    const OrderHeader header = read_header();
    if (auto checked = verify_order_header(db(), header, checks, m_lists, settings().BASE_CURRENCY); !checked)
        return std::unexpected(checked.error());
    renumber_lines();
    auto order = read_order();
    if (!order)
        return order;
    if (order->lines.empty())
        return std::unexpected(Error::invalid(QStringLiteral("No detail line")));
    if (auto checked = verify_lines_values(order->lines, m_lists); !checked)
        return std::unexpected(checked.error());
    if (auto checked = verify_order_lines(db(), order->lines); !checked)
        return std::unexpected(checked.error());
    // The defaults the checks took show on the lines.
    for (const OrderLine& line : order->lines)
        for (int row = 0; row < m_lines->row_count(); ++row)
            if (m_lines->cell(row, col::ItemNo).toInt() == line.itemno) {
                m_lines->set_cell(row, col::Warehouse, line.warehouse);
                m_lines->set_cell(row, col::Location, line.location);
            }
    if (auto checked = verify_quantities_received(order->lines); !checked)
        return std::unexpected(checked.error());
    calculate_totals();
    return order;
}

bool POform_po::save_new()
{
    if (m_template_work == TemplateWork::New)
        return save_new_template();
    const QString failed = QStringLiteral("Add new PO failed.");
    auto order = checked_order(Mode::New);
    if (!order) {
        report(order.error(), failed);
        return false;
    }
    auto saved = insert_new_po(db(), *order, audit_stamp(settings().ZELKOR_USER));
    if (!saved) {
        new_save_failed(saved.error(), failed);
        return false;
    }
    message(QStringLiteral("Add new PO no. ") + saved->docno + QStringLiteral(" complete"));
    show_key(saved->fkey);
    return true;
}

bool POform_po::save_edit()
{
    if (m_template_work == TemplateWork::Edit)
        return save_edited_template();
    const QString failed = QStringLiteral("Update PO failed.");
    auto order = checked_order(Mode::Edit);
    if (!order) {
        report(order.error(), failed);
        return false;
    }
    auto saved = update_po(db(), *order, shown_version(), audit_stamp(settings().ZELKOR_USER));
    if (!saved) {
        report(saved.error(), failed, Outcome::RolledBack);
        return false;
    }
    show_key(m_key);
    message(QStringLiteral("Update PO no. ") + field("docno") + QStringLiteral(" complete"));
    return true;
}

bool POform_po::delete_line()
{
    const int row = m_lines->current_row();
    if (mode() != Mode::Read && cell_amount(*m_lines, row, col::QuantityReceived) > Decimal())
        return refuse(QStringLiteral("Cannot delete item that has been receiving goods."));
    return delete_current_line();
}

// Lifecycle ---------------------------------------------------------------------------------------

bool POform_po::close_order()
{
    const QString number = field("docno");
    if (m_key.isEmpty() || mode() == Mode::New || !may_update())
        return false;
    if (find_field("void")->checked())
        return refuse(number + QStringLiteral(" was void."));
    if (find_field("fully_received")->checked())
        return refuse(FullyReceived);
    if (!stored_header())
        return false;
    if (!ask_yes_no(QStringLiteral("Are you sure to close this PO?"), QStringLiteral("Close PO")))
        return false;
    if (auto closed = close_po(db(), shown_version()); !closed) {
        report(closed.error(), QStringLiteral("Close PO failed."), Outcome::RolledBack);
        return false;
    }
    show_key(m_key);
    message(number + QStringLiteral(" is closed."));
    return true;
}

bool POform_po::void_order()
{
    const QString number = field("docno");
    if (m_key.isEmpty() || mode() == Mode::New || !may_update())
        return false;
    if (find_field("void")->checked())
        return refuse(number + QStringLiteral(" was void."));
    auto header = stored_header();
    if (!header)
        return false;
    // The stored flags decide: a receipt saved since the order was shown counts.
    if (find_field("received")->checked() || header->flag(u"received"))
        return refuse(QStringLiteral("Goods was received. Can not void this PO."));
    if (find_field("billed")->checked() || header->flag(u"billed"))
        return refuse(number + QStringLiteral(" was billed. Can not void this PO"));
    if (!ask_yes_no(QStringLiteral("Are you sure to void this PO?"), QStringLiteral("Void PO")))
        return false;
    if (auto voided = void_po(db(), shown_version()); !voided) {
        report(voided.error(), QStringLiteral("Void PO failed."), Outcome::RolledBack);
        return false;
    }
    show_key(m_key);
    message(number + QStringLiteral(" is void."));
    return true;
}

bool POform_po::activate_order()
{
    const QString number = field("docno");
    if (m_key.isEmpty() || mode() != Mode::Read || !may_update())
        return false;
    if (find_field("void")->checked())
        return refuse(number + QStringLiteral(" was void."));
    auto activated = activate_po(db(), shown_version());
    if (!activated) {
        report(activated.error(), QStringLiteral("Activate PO failed."), Outcome::RolledBack);
        return false;
    }
    if (!*activated)
        return refuse(QStringLiteral("PO ") + number + QStringLiteral(" is not a future PO."));
    show_key(m_key);
    message(QStringLiteral("PO ") + number + QStringLiteral(" is activated."));
    return true;
}

bool POform_po::activate_all_orders()
{
    if (!may_update())
        return false;
    auto activated = activate_all_future_pos(db(), today());
    if (!activated) {
        report(activated.error(), QStringLiteral("Activate PO failed."), Outcome::RolledBack);
        return false;
    }
    if (activated->isEmpty()) {
        message(QStringLiteral("No future PO due to be activated"));
        return true;
    }
    if (!m_key.isEmpty() && mode() == Mode::Read)
        show_key(m_key);
    message(QStringLiteral("Future POs are activated."));
    return true;
}

// Hand-offs and linked documents ------------------------------------------------------------------

bool POform_po::receive_goods()
{
    if (m_key.isEmpty() || mode() == Mode::New)
        return false;
    if (find_field("void")->checked())
        return refuse(WasVoid);
    if (find_field("fully_received")->checked())
        return refuse(FullyReceived);
    if (find_field("future_po")->checked())
        return refuse(FuturePo);
    // The stored header decides: a receipt or a void saved since the order was shown counts.
    auto header = stored_header();
    if (!header)
        return false;
    if (header->flag(u"void"))
        return refuse(WasVoid);
    if (header->flag(u"fully_received"))
        return refuse(FullyReceived);
    notify(QStringLiteral("PO Receive Goods"));
    return true;
}

bool POform_po::enter_bill()
{
    if (m_key.isEmpty() || mode() == Mode::New)
        return false;
    if (find_field("void")->checked())
        return refuse(WasVoid);
    if (find_field("future_po")->checked())
        return refuse(FuturePo);
    auto header = stored_header();
    if (!header)
        return false;
    if (header->flag(u"void"))
        return refuse(WasVoid);
    if (header->flag(u"fully_billed"))
        return refuse(QStringLiteral("Goods was fully billed."));
    if (header->flag(u"stock_item_only"))
        return refuse(QStringLiteral("This command is working with non-stock item PO.") + QChar(10)
                      + QStringLiteral("P/O Invoice is looking for stock item in P/O Receipt document."));
    // What a bill of a non-stock order receives is left to the bill window.
    return true;
}

bool POform_po::linked_documents(Command id)
{
    if (id == Command::PrRecord) {
        const QString prno = m_lines->cell(m_lines->current_row(), col::PrNo);
        if (prno.isEmpty())
            return false;
        notify(QStringLiteral("Purchase Requisition"), prno);
        return true;
    }
    const QString number = field("docno");
    if (m_key.isEmpty())
        return false;
    const bool receipts = id == Command::ReceiptRecord;
    auto found = db().select(receipts ? QStringLiteral("SELECT DISTINCT docno FROM PO_receipt_transaction_table"
                                                       " WHERE company = 1 AND pono = ? ORDER BY docno")
                                      : QStringLiteral("SELECT DISTINCT docno FROM PO_invoice_transaction_table"
                                                       " WHERE company = 1 AND pono = ? ORDER BY docno"),
                             {number});
    if (!found) {
        report(found.error(), QStringLiteral("Reading the documents of ") + number + QStringLiteral(" failed"));
        return false;
    }
    if (found->empty())
        return false;
    if (found->size() == 1)
        notify(receipts ? QStringLiteral("Receipt Entry") : QStringLiteral("P/O Bill Entry"), found->front().text(u"docno"));
    else
        notify(receipts ? QStringLiteral("Receipt Report") : QStringLiteral("P/O Bill Report"), number);
    return true;
}

// Showing -----------------------------------------------------------------------------------------

std::expected<bool, Error> POform_po::load_document(const QString& key)
{
    auto stored = read_stored_document(key, QStringLiteral("SELECT l.*, a.accname FROM PO_transaction_table l"
                                                           " LEFT JOIN Account_master_table a ON a.accno = l.accno"
                                                           " WHERE l.fkey = ? ORDER BY l.itemno"));
    if (!stored)
        return std::unexpected(stored.error());
    if (!*stored)
        return false;
    set_mode(Mode::Read);
    clear_document();
    m_key = key;
    show_header((*stored)->header);
    remember_version((*stored)->header);
    for (const Row& line : (*stored)->lines)
        show_line(m_lines->append_row(), line);
    calculate_totals();
    refresh_panes();
    return true;
}

void POform_po::prepare_copy()
{
    for (const char* cleared : {"reference", "printed", "received", "billed", "void", "fully_received", "fully_billed",
                                "future_po", "activate_date"})
        set_field(cleared, QString());
    set_field_date("order_date", today());
    for (int row = 0; row < m_lines->row_count(); ++row) {
        m_lines->set_cell(row, col::QuantityOpen, m_lines->cell(row, col::QuantityOrder));
        m_lines->set_cell(row, col::QuantityOpenForBill, m_lines->cell(row, col::QuantityOrder));
        for (QLatin1String cleared : {col::QuantityReceived, col::QuantityBilled, col::QuantityCanceled,
                                      col::UomReceived, col::Cancel, col::PrNo, col::PrItemNo})
            m_lines->set_cell(row, cleared, QString());
    }
}

} // namespace zelkor
