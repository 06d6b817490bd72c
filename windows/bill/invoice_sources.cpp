// Billing what was received or ordered: the vendor's receipts and orders open for billing, a
// receipt's open lines taken into the bill (landed charges first), an order's lines listed in
// the order pane and picked one by one.
#include "windows/bill/POform_invoice.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "windows/bill/invoice_columns.h"
#include "windows/document/tax_panes.h"

namespace zelkor {

namespace {

namespace col = bill_column;
namespace rc = bill_receipt_column;
namespace po = bill_order_column;

PickList receipts_open_for_bill(const QString& vendor)
{
    return {QStringLiteral("SELECT docno FROM PO_receipt_header_table WHERE company = 1 AND vendor_no = ?"
                           " AND fully_billed = FALSE AND void = FALSE ORDER BY docno DESC"),
            {vendor},
            QStringLiteral("0;1800;<;Receipt no")};
}

/// Orders of stock items only are billed through their receipts.
PickList orders_open_for_bill(const QString& vendor)
{
    return {QStringLiteral("SELECT docno FROM PO_header_table WHERE company = 1 AND vendor_no = ?"
                           " AND stock_item_only = FALSE AND fully_billed = FALSE AND void = FALSE"
                           " AND future_po = FALSE ORDER BY docno DESC"),
            {vendor},
            QStringLiteral("0;1800;<;PO no")};
}

/// The lines of a receipt the vendor still bills: not fully billed, something received, and no
/// landed charge that already has a payable of its own. A landed charge without a vendor of its
/// own is the receipt vendor's.
const QString OpenReceiptLines = QStringLiteral(
    "SELECT l.*, a.accname FROM PO_receipt_transaction_table l"
    " LEFT JOIN Account_master_table a ON a.accno = l.accno"
    " WHERE l.fkey = ? AND (l.vendor_no = ? OR COALESCE(l.vendor_no, '') = '') AND l.fully_billed = FALSE"
    " AND l.void = FALSE AND l.quantity_received <> 0"
    " AND (l.landed_item = FALSE OR COALESCE(l.ap_fkey, '') = '')");

QString amount_text(const Row& row, QStringView column) { return row.decimal(column).format(2); }
QString quantity_text(const Row& row, QStringView column) { return row.decimal(column).to_string(); }
QString landed_key(const QString& receipt, const QString& itemno) { return receipt + u'/' + itemno; }

} // namespace

std::expected<void, Error> POform_invoice::load_source_lists()
{
    const QString vendor = field("vendor_no").trimmed();
    auto receipts = Choices::load(db(), receipts_open_for_bill(vendor));
    auto orders = receipts ? Choices::load(db(), orders_open_for_bill(vendor)) : std::unexpected(receipts.error());
    if (!orders)
        return std::unexpected(orders.error());
    set_field_choices("receipt_no", *receipts);
    set_field_choices("po_no", *orders);
    return {};
}

// Receipts ----------------------------------------------------------------------------------------

Entry POform_invoice::receipt_chosen()
{
    const QString number = field("receipt_no").trimmed();
    if (mode() == Mode::Read || number.isEmpty() || !database())
        return Entry::Accepted;
    if (field("vendor_no").trimmed().isEmpty())
        return refuse_entry(QStringLiteral("please specify vendor"));
    return take_receipt(number) ? Entry::Accepted : Entry::Refused;
}

void POform_invoice::load_receipt_lines()
{
    const QString number = field("receipt_no").trimmed();
    if (!database() || mode() == Mode::Read || number.isEmpty() || number == NewDocumentNumber)
        return;
    // A hand-off names the vendor without choosing it: its details come first.
    if (field("vendor_no").trimmed() != m_vendor_shown && show_vendor() != Entry::Accepted)
        return;
    set_field("receipt_no", number);
    take_receipt(number);
}

bool POform_invoice::take_receipt(const QString& number, std::optional<std::pair<bool, int>> only)
{
    const QString vendor = field("vendor_no").trimmed();
    auto header = db().first(QStringLiteral("SELECT fkey, docno, vendor_no, currency, receipt_date, void"
                                            " FROM PO_receipt_header_table WHERE company = 1 AND docno = ?"),
                             {number});
    if (!header) {
        report(header.error(), QStringLiteral("Reading receipt no. ") + shown_value(number) + QStringLiteral(" failed"));
        return false;
    }
    if (!*header)
        return refuse(QStringLiteral("Document not found."));
    const Row& receipt = **header;
    if (receipt.text(u"vendor_no") != vendor) {
        message(QStringLiteral("Receipt no ") + number + QStringLiteral(" was not for ") + vendor);
        return refuse(QStringLiteral("Please select from Receipt history window"));
    }
    if (receipt.flag(u"void"))
        return refuse(QStringLiteral("Receipt was void."));
    if (!same_currency(QStringLiteral("Receipt"), number, receipt.text(u"currency")))
        return false;
    auto lines = db().select(OpenReceiptLines
                                 + (only ? QStringLiteral(" AND l.landed_item = ? AND l.itemno = ?") : QString())
                                 + QStringLiteral(" ORDER BY l.landed_item DESC, l.itemno"),
                             only ? Params{receipt.text(u"fkey"), vendor, only->first, only->second}
                                  : Params{receipt.text(u"fkey"), vendor});
    if (!lines) {
        report(lines.error(), QStringLiteral("Reading receipt no. ") + shown_value(number) + QStringLiteral(" failed"));
        return false;
    }
    if (lines->empty())
        return refuse(QStringLiteral("Receipt was fully billed."));
    const bool multi = find_field("multi_receipt")->checked();
    if (!multi && !only) {
        // One receipt at a time: the lines of any other receipt make way.
        for (int row = m_lines->row_count() - 1; row >= 0; --row)
            if (!m_lines->cell(row, col::ReceiptNo).trimmed().isEmpty()) {
                taxes().remove_line(m_lines->cell(row, col::ItemNo).toInt());
                m_lines->remove_row(row);
            }
        for (Grid* pane : {m_receipt_lines, m_landed_lines, m_landed_taxes})
            pane->clear();
        m_landed_tax.clear();
        set_field_date("receipt_date", receipt.date(u"receipt_date"));
    }
    {
        // Which lines the bill and the receipt pane hold already, read once: a receipt of
        // thousands of lines is taken in time proportional to its lines.
        QSet<ReceiptLineKey> listed = receipt_pane_lines();
        QSet<ReceiptLineKey> taken = taken_receipt_lines();
        const BulkLines bulk(*this);
        int row = 0;
        for (const Row& line : *lines) {
            const ReceiptLineKey key{number, line.flag(u"landed_item"), int(line.integer(u"itemno"))};
            if (!only && !listed.contains(key)) {
                list_receipt_line(line);
                listed.insert(key);
            }
            if (!taken.contains(key)) {
                row = first_empty_row(row);
                show_receipt_line(row, line);
                taken.insert(key);
            }
        }
    }
    if (!only)
        list_landed_lines(receipt.text(u"fkey"));
    lines_taken();
    return true;
}

QSet<POform_invoice::ReceiptLineKey> POform_invoice::receipt_pane_lines() const
{
    QSet<ReceiptLineKey> keys;
    for (int row = 0; row < m_receipt_lines->row_count(); ++row)
        keys.insert({m_receipt_lines->cell(row, rc::ReceiptNo), cell_checked(*m_receipt_lines, row, rc::LandedItem),
                     m_receipt_lines->cell(row, rc::ItemNo).toInt()});
    return keys;
}

QSet<POform_invoice::ReceiptLineKey> POform_invoice::taken_receipt_lines() const
{
    QSet<ReceiptLineKey> keys;
    for (int row = 0; row < m_lines->row_count(); ++row) {
        const bool landed = cell_checked(*m_lines, row, col::LandedItem);
        keys.insert({m_lines->cell(row, col::ReceiptNo), landed,
                     m_lines->cell(row, landed ? col::LandedItemNo : col::ReceiptItemNo).toInt()});
    }
    return keys;
}

void POform_invoice::show_receipt_line(int row, const Row& line)
{
    auto set = [&](QLatin1String column, const QString& value) { m_lines->set_cell(row, column, value); };
    const bool landed = line.flag(u"landed_item");
    set(col::ReceiptNo, line.text(u"docno"));
    set(landed ? col::LandedItemNo : col::ReceiptItemNo, line.text(u"itemno"));
    set(col::LandedItem, check_text(landed));
    set(col::PoNo, line.text(u"PONO"));
    set(col::PoItemNo, line.is_null(u"po_itemno") ? QString() : line.text(u"po_itemno"));
    set(col::PoUom, line.text(u"po_uom"));
    set(col::QuantityReceived, quantity_text(line, u"quantity_received"));
    set(col::QuantityOpen, quantity_text(line, u"quantity_open_for_bill"));
    set(col::UomReceived, line.text(u"uom"));
    set(col::UnitCostReceived, line.decimal(u"unitcost").format_at_least());
    set(col::AmountReceived, amount_text(line, u"extended_cost"));
    set(col::TaxAmountReceived, amount_text(line, u"tax_amount"));
    set(col::AllocatedTaxReceived, amount_text(line, u"tax_allocate"));
    set(col::IncludeTaxReceived, check_text(line.flag(u"price_include_tax")));
    set(col::RateReceived, line.is_null(u"exchange_rate") ? QString() : quantity_text(line, u"exchange_rate"));
    set(col::Expense, check_text(line.flag(u"expense")));
    show_taken_line(row, line);
}

void POform_invoice::show_taken_line(int row, const Row& line)
{
    auto set = [&](QLatin1String column, const QString& value) { m_lines->set_cell(row, column, value); };
    // What is still open is proposed, at the document's unit cost.
    const Decimal open = line.decimal(u"quantity_open_for_bill");
    const Decimal unitcost = line.decimal(u"unitcost");
    set(col::ItemCode, line.text(u"itemcode"));
    set(col::ItemType, line.text(u"itemtype"));
    set(col::Description, line.text(u"description"));
    set(col::VendorItemCode, line.text(u"vendor_itemcode"));
    set(col::Warehouse, line.text(u"warehouse"));
    set(col::Location, line.text(u"location"));
    set(col::QuantityCanceled, quantity_text(line, u"quantity_cancel"));
    set(col::QuantityBilled, quantity_text(line, u"quantity_billed"));
    set(col::TaxCode, line.text(u"tax_code"));
    set(col::TaxIncluded, check_text(line.flag(u"price_include_tax")));
    set(col::Account, line.text(u"accno"));
    set(col::AccountName, line.text(u"accname"));
    set(col::Quantity, open.to_string());
    set(col::UnitCost, unitcost.format_at_least());
    set(col::ExtendedCost, (open * unitcost).round2().format(2));
    number_line(row);
    set(col::TaxArrayNo, m_lines->cell(row, col::ItemNo));
    recompute_line_tax(row);
}

void POform_invoice::list_receipt_line(const Row& line)
{
    const QString number = line.text(u"docno");
    const QString itemno = line.text(u"itemno");
    const QString landed = check_text(line.flag(u"landed_item"));
    const int row = m_receipt_lines->append_row();
    auto set = [&](QLatin1String column, const QString& value) { m_receipt_lines->set_cell(row, column, value); };
    set(rc::ReceiptNo, number);
    set(rc::ItemNo, itemno);
    set(rc::LandedItem, landed);
    set(rc::ItemCode, line.text(u"itemcode"));
    set(rc::ItemType, line.text(u"itemtype"));
    set(rc::Description, line.text(u"description"));
    set(rc::QuantityReceived, quantity_text(line, u"quantity_received"));
    set(rc::QuantityBilled, quantity_text(line, u"quantity_billed"));
    set(rc::QuantityOpen, quantity_text(line, u"quantity_open_for_bill"));
    set(rc::Uom, line.text(u"uom"));
    set(rc::UnitCost, quantity_text(line, u"unitcost"));
    set(rc::ExtendedCost, amount_text(line, u"extended_cost"));
    set(rc::TaxCode, line.text(u"tax_code"));
    set(rc::Account, line.text(u"accno"));
    set(rc::PoNo, line.text(u"PONO"));
    set(rc::PoItemNo, line.is_null(u"po_itemno") ? QString() : line.text(u"po_itemno"));
}

void POform_invoice::list_landed_lines(const QString& fkey)
{
    auto lines = db().select(QStringLiteral("SELECT * FROM PO_receipt_transaction_table WHERE fkey = ?"
                                            " AND landed_item = TRUE ORDER BY itemno"),
                             {fkey});
    if (!lines) {
        report(lines.error(), QStringLiteral("Reading the landed charges failed"));
        return;
    }
    for (const Row& line : *lines) {
        const int row = m_landed_lines->append_row();
        auto set = [&](QLatin1String column, const QString& value) { m_landed_lines->set_cell(row, column, value); };
        set(rc::ReceiptNo, line.text(u"docno"));
        set(rc::ItemNo, line.text(u"itemno"));
        set(rc::VendorNo, line.text(u"vendor_no"));
        set(rc::ItemCode, line.text(u"itemcode"));
        set(rc::Description, line.text(u"description"));
        set(rc::QuantityReceived, quantity_text(line, u"quantity_received"));
        set(rc::Uom, line.text(u"uom"));
        set(rc::UnitCost, quantity_text(line, u"unitcost"));
        set(rc::ExtendedCost, amount_text(line, u"extended_cost"));
        set(rc::TaxCode, line.text(u"tax_code"));
        set(rc::TaxAmount, amount_text(line, u"tax_amount"));
        set(rc::Account, line.text(u"accno"));
        const int itemno = int(line.integer(u"itemno"));
        m_landed_tax.insert(landed_key(line.text(u"docno"), line.text(u"itemno")), tax_elements_from_row(line, itemno));
    }
}

void POform_invoice::show_landed_taxes()
{
    const int row = m_landed_lines->current_row();
    const TaxElements elements = row < 0 ? TaxElements{}
                                         : m_landed_tax.value(landed_key(m_landed_lines->cell(row, rc::ReceiptNo),
                                                                         m_landed_lines->cell(row, rc::ItemNo)));
    show_tax_elements(*m_landed_taxes, elements);
}

bool POform_invoice::take_receipt_line(int row)
{
    if (mode() == Mode::Read || row < 0 || row >= m_receipt_lines->row_count())
        return false;
    const bool landed = cell_checked(*m_receipt_lines, row, rc::LandedItem);
    const int itemno = m_receipt_lines->cell(row, rc::ItemNo).toInt();
    const QString number = m_receipt_lines->cell(row, rc::ReceiptNo);
    if (receipt_line_row(number, landed, itemno) >= 0)
        return false;
    return take_receipt(number, std::pair{landed, itemno});
}

int POform_invoice::receipt_line_row(const QString& number, bool landed, int itemno) const
{
    const QLatin1String item_column = landed ? col::LandedItemNo : col::ReceiptItemNo;
    for (int row = 0; row < m_lines->row_count(); ++row)
        if (m_lines->cell(row, col::ReceiptNo) == number && cell_checked(*m_lines, row, col::LandedItem) == landed
            && m_lines->cell(row, item_column).toInt() == itemno)
            return row;
    return -1;
}

// Orders ------------------------------------------------------------------------------------------

Entry POform_invoice::order_chosen()
{
    const QString number = field("po_no").trimmed();
    if (mode() == Mode::Read || number.isEmpty() || !database())
        return Entry::Accepted;
    const QString vendor = field("vendor_no").trimmed();
    if (vendor.isEmpty())
        return refuse_entry(QStringLiteral("please specify vendor no"));
    auto known = db().first(QStringLiteral("SELECT vendor_no FROM Vendor_table WHERE vendor_no = ?"), {vendor});
    if (!known) {
        report(known.error(), QStringLiteral("Reading vendor ") + vendor + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    if (!*known)
        return refuse_entry(QStringLiteral("vendor no is invalid."));
    load_order_lines();
    return Entry::Accepted;
}

void POform_invoice::load_order_lines()
{
    const QString number = field("po_no").trimmed();
    if (!database() || number.isEmpty())
        return;
    auto order = db().first(QStringLiteral("SELECT fkey, vendor_no, currency, void FROM PO_header_table"
                                           " WHERE company = 1 AND docno = ?"),
                            {number});
    if (!order) {
        report(order.error(), QStringLiteral("Reading PO no. ") + shown_value(number) + QStringLiteral(" failed"));
        return;
    }
    if (!*order) {
        message(QStringLiteral("Document not found."));
        return;
    }
    const QString vendor = field("vendor_no").trimmed();
    if ((*order)->text(u"vendor_no") != vendor) {
        message(QStringLiteral("PO no ") + number + QStringLiteral(" was not for ") + vendor);
        return;
    }
    if ((*order)->flag(u"void")) {
        message(QStringLiteral("PO was void."));
        return;
    }
    if (!same_currency(QStringLiteral("PO"), number, (*order)->text(u"currency")))
        return;
    auto lines = db().select(QStringLiteral("SELECT * FROM PO_transaction_table WHERE fkey = ? AND void = FALSE"
                                            " AND fully_billed = FALSE ORDER BY itemno"),
                             {(*order)->text(u"fkey")});
    if (!lines) {
        report(lines.error(), QStringLiteral("Reading PO no. ") + shown_value(number) + QStringLiteral(" failed"));
        return;
    }
    m_order_lines->clear();
    for (const Row& line : *lines) {
        const int row = m_order_lines->append_row();
        auto set = [&](QLatin1String column, const QString& value) { m_order_lines->set_cell(row, column, value); };
        set(po::PoNo, number);
        set(po::ItemNo, line.text(u"itemno"));
        set(po::ItemCode, line.text(u"itemcode"));
        set(po::ItemType, line.text(u"itemtype"));
        set(po::Description, line.text(u"description"));
        set(po::QuantityOrder, quantity_text(line, u"quantity"));
        set(po::QuantityBilled, quantity_text(line, u"quantity_billed"));
        set(po::QuantityOpen, quantity_text(line, u"quantity_open_for_bill"));
        set(po::Uom, line.text(u"uom"));
        set(po::UnitCost, quantity_text(line, u"unitcost"));
        set(po::TaxCode, line.text(u"tax_code"));
        set(po::TaxIncluded, check_text(line.flag(u"price_include_tax")));
        set(po::Account, line.text(u"accno"));
        set(po::Closed, check_text(line.flag(u"closed")));
    }
    show_pane("order", true);
    refresh_histories();
}

bool POform_invoice::take_order_line(int row)
{
    if (mode() == Mode::Read || row < 0 || row >= m_order_lines->row_count())
        return false;
    if (cell_checked(*m_order_lines, row, po::Closed))
        return refuse(QStringLiteral("This item was closed"));
    // Stock is billed as it was received.
    if (m_order_lines->cell(row, po::ItemType).trimmed() == u"1")
        return refuse(QStringLiteral("P/O Invoice is looking for stock item in P/O Receipt document."));
    const QString number = m_order_lines->cell(row, po::PoNo);
    const int itemno = m_order_lines->cell(row, po::ItemNo).toInt();
    if (order_line_row(number, itemno) >= 0)
        return false;
    auto line = db().first(QStringLiteral("SELECT l.*, a.accname FROM PO_transaction_table l"
                                          " LEFT JOIN Account_master_table a ON a.accno = l.accno"
                                          " WHERE l.company = 1 AND l.docno = ? AND l.itemno = ?"),
                           {number, itemno});
    if (!line) {
        report(line.error(), QStringLiteral("Reading PO no. ") + shown_value(number) + QStringLiteral(" failed"));
        return false;
    }
    if (!*line)
        return refuse(QStringLiteral("Document not found."));
    show_order_line(first_empty_row(), **line);
    lines_taken();
    return true;
}

void POform_invoice::show_order_line(int row, const Row& line)
{
    auto set = [&](QLatin1String column, const QString& value) { m_lines->set_cell(row, column, value); };
    set(col::PoNo, line.text(u"docno"));
    set(col::PoItemNo, line.text(u"itemno"));
    set(col::PoUom, line.text(u"uom"));
    set(col::UomReceived, line.text(u"uom"));
    show_taken_line(row, line);
}

void POform_invoice::lines_taken()
{
    // An empty line stays last for typing the next.
    if (m_lines->row_count() == 0 || !m_lines->row_empty(m_lines->row_count() - 1))
        m_lines->append_row();
    set_dirty(true);
    calculate_totals();
    refresh_panes();
}

int POform_invoice::order_line_row(const QString& number, int itemno) const
{
    for (int row = 0; row < m_lines->row_count(); ++row)
        if (m_lines->cell(row, col::PoNo) == number && m_lines->cell(row, col::PoItemNo).toInt() == itemno
            && m_lines->cell(row, col::ReceiptNo).trimmed().isEmpty())
            return row;
    return -1;
}

// Both --------------------------------------------------------------------------------------------

bool POform_invoice::same_currency(const QString& document, const QString& number, const QString& currency)
{
    const QString base = settings().BASE_CURRENCY;
    const QString theirs = currency.trimmed().isEmpty() ? base : currency.trimmed();
    const QString ours = field("currency").trimmed().isEmpty() ? base : field("currency").trimmed();
    if (theirs == ours)
        return true;
    return refuse(document + u' ' + number + QStringLiteral(" is in ") + theirs + u'.');
}

void POform_invoice::drop_document_lines()
{
    for (int row = m_lines->row_count() - 1; row >= 0; --row)
        if (!m_lines->cell(row, col::ReceiptNo).trimmed().isEmpty() || !m_lines->cell(row, col::PoNo).trimmed().isEmpty()) {
            taxes().remove_line(m_lines->cell(row, col::ItemNo).toInt());
            m_lines->remove_row(row);
        }
    if (m_lines->row_count() == 0)
        m_lines->append_row();
    for (Grid* pane : {m_receipt_lines, m_landed_lines, m_landed_taxes, m_order_lines})
        pane->clear();
    m_landed_tax.clear();
    set_field("receipt_no", QString());
    set_field("po_no", QString());
    set_field("receipt_date", QString());
    calculate_totals();
}

} // namespace zelkor
