// Showing orders: by number, by key, and moving through them by key number.
#include "forms/purchasing/POform_po.h"

namespace zelkor {

namespace {

const DocumentKind Orders{QStringLiteral("PO_header_table"), QStringLiteral("po")};

} // namespace

void POform_po::display_by_number()
{
    Database* db = database();
    const QString number = field("docno").trimmed();
    if (!db || number.isEmpty() || number == NewDocumentNumber)
        return;
    auto key = document_key_of_number(*db, Orders, number);
    if (!key || !*key) {
        message(number + QStringLiteral(" not found."));
        return;
    }
    load_order(**key);
}

bool POform_po::load_order(const QString& fkey)
{
    Database& db = *database();
    auto header = db.first(QStringLiteral("SELECT h.*, v.vendor_name FROM PO_header_table h"
                                          " LEFT JOIN Vendor_table v ON v.vendor_no = h.vendor_no WHERE h.fkey = ?"),
                           {fkey});
    if (!header || !*header)
        return false;
    auto lines = db.select(QStringLiteral("SELECT l.*, a.accname FROM PO_transaction_table l"
                                          " LEFT JOIN Account_master_table a ON a.accno = l.accno"
                                          " WHERE l.fkey = ? ORDER BY l.itemno"),
                           {fkey});
    if (!lines)
        return false;
    set_mode(Mode::Read);
    clear_document();
    m_taxes.clear();
    m_key = fkey;
    show_header(**header);
    for (const Row& line : *lines) {
        const int row = m_lines->append_row();
        show_line(row, line);
        const int itemno = int(line.integer(u"itemno"));
        auto authorities = tax_code_authorities(db, line.text(u"tax_code"));
        m_taxes.set_line(itemno, tax_elements_from_row(line, itemno, authorities.value_or(TaxAuthorities{})));
    }
    calculate_totals();
    set_dirty(false);
    refresh_panes();
    return true;
}

void POform_po::show_header(const Row& header)
{
    for (const char* name : {"docno", "vendor_no", "vendor_name", "shipto", "shipvia", "currency", "requested_user",
                             "contact_person", "phone", "fax", "payment_term", "reference", "fob_point", "remark",
                             "delivery_instruction", "ship_to_address", "vendor_address"})
        set_field(name, header.text(QString::fromLatin1(name)));
    for (const char* date : {"order_date", "arrival_date", "activate_date", "rate_date"})
        set_field_date(date, header.date(QString::fromLatin1(date)));
    for (const char* check : {"future_po", "printed", "received", "billed", "void", "fully_received", "fully_billed"})
        set_field(check, header.flag(QString::fromLatin1(check)) ? "1" : "");
    const auto rate = header.decimal_or_null(u"exchange_rate");
    set_field("exchange_rate", rate ? rate->to_string() : QString());
    set_field("sub_total", header.decimal(u"sub_total").format(2));
    set_field("tax_total", header.decimal(u"tax_total").format(2));
    set_field("total", header.decimal(u"total").format(2));
    set_field("prno", QString());
}

std::optional<Row> POform_po::stored_header(const QString& message_when_missing)
{
    auto header = database()->first(QStringLiteral("SELECT * FROM PO_header_table WHERE fkey = ?"), {m_key});
    if (!header || !*header) {
        message(message_when_missing);
        return std::nullopt;
    }
    return **header;
}

bool POform_po::last_record()
{
    if (auto key = last_document_key(*database(), Orders); key && *key && load_order(**key))
        return true;
    clear_document();
    m_key.clear();
    m_taxes.clear();
    set_field("docno", NewDocumentNumber);
    return true;
}

bool POform_po::next_record(KeyStep step)
{
    if (!settle_unsaved_work())
        return false;
    set_mode(Mode::Read);
    if (m_key.isEmpty())
        return last_record();
    auto key = neighbour_document_key(*database(), Orders, m_key, step);
    return key && *key && load_order(**key);
}

} // namespace zelkor
