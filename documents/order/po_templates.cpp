#include "documents/order/po_templates.h"

#include "core/db/sql_batch.h"
#include "core/db/sql_names.h"
#include "tax/purchase_tax.h"

namespace zelkor {
namespace {

const QString Headers = QStringLiteral("PO_header_template_table");
const QString Lines = QStringLiteral("PO_transaction_template_table");

/// The line columns a template copies from an order line, tax slots included.
QStringList copied_line_columns()
{
    QStringList columns{"itemno",     "itemcode", "itemtype", "description", "vendor_itemcode", "quantity",
                        "uom",        "unitcost", "extended_cost", "price_include_tax", "net_cost", "accno",
                        "warehouse",  "location", "tax_code", "tax_amount", "tax_allocate"};
    for (int slot = 1; slot <= MaxTaxElements; ++slot)
        for (const char* column : {"tax_authority", "taxable_amount", "tax_rate", "tax_amount", "taxable",
                                   "tax_allocated", "tax_recoverable", "tax_expensed"})
            columns << QString::fromLatin1(column) + QString::number(slot);
    return columns;
}

[[nodiscard]] std::expected<void, Error> delete_rows(Database& db, const QString& name)
{
    if (auto lines = db.write(QStringLiteral("DELETE FROM PO_transaction_template_table WHERE docno = ?"), {name}); !lines)
        return lines;
    return db.write(QStringLiteral("DELETE FROM PO_header_template_table WHERE docno = ?"), {name});
}

/// The header columns a template keeps of an order. Its reference (the vendor's quotation or
/// the clerk's own) belongs to that one order, as a copied order leaves it behind too.
template <class Statement>
Statement& set_header_columns(Statement& row, const OrderHeader& header)
{
    row.set(u"vendor_no", header.vendor_no)
        .set(u"shipto", header.shipto)
        .set(u"requested_user", header.requested_user)
        .set(u"currency", header.currency)
        .set(u"payment_term", header.payment_term)
        .set(u"shipvia", header.shipvia)
        .set(u"contact_person", header.contact_person)
        .set(u"phone", header.phone)
        .set(u"fax", header.fax)
        .set(u"fob_point", header.fob_point)
        .set(u"delivery_instruction", header.delivery_instruction)
        .set(u"remark", header.remark);
    return row;
}

SqlValue optional_text(const QString& text) { return text.isEmpty() ? SqlValue(std::nullopt) : SqlValue(text); }

[[nodiscard]] std::expected<void, Error> insert_lines(Database& db, const QString& name, const Order& order)
{
    std::vector<InsertRow> rows;
    for (const OrderLine& line : order.lines) {
        auto elements = tax_elements_to_save(order.taxes, line.itemno, line.extended_cost);
        if (!elements)
            return std::unexpected(elements.error());
        const Decimal extended = line.extended_cost.value_or(Decimal()).round2();
        const TaxIncluded included = line.price_include_tax ? TaxIncluded::Yes : TaxIncluded::No;
        InsertRow row(Lines);
        row.set(u"docno", name)
            .set(u"itemno", line.itemno)
            .set(u"itemcode", optional_text(line.itemcode))
            .set(u"itemtype", optional_text(line.itemtype))
            .set(u"description", line.description)
            .set(u"vendor_itemcode", optional_text(line.vendor_itemcode))
            .set(u"quantity", line.quantity.value_or(Decimal()))
            .set(u"uom", optional_text(line.uom))
            .set(u"unitcost", line.unitcost.value_or(Decimal()))
            .set(u"extended_cost", extended)
            .set(u"price_include_tax", line.price_include_tax)
            .set(u"net_cost", line_tax_totals(*elements, extended, included).net_cost)
            .set(u"accno", optional_text(line.accno))
            .set(u"warehouse", optional_text(line.warehouse))
            .set(u"location", optional_text(line.location))
            .set(u"tax_code", optional_text(line.tax_code));
        set_tax_columns(row, *elements, AllocatedColumn::Present);
        rows.push_back(std::move(row));
    }
    return insert_rows(db, rows);
}

[[nodiscard]] std::expected<void, Error> committed(Transaction& tx)
{
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    return tx.commit();
}

} // namespace

std::expected<bool, Error> template_exists(Database& db, const QString& name)
{
    auto row = db.first(QStringLiteral("SELECT docno FROM PO_header_template_table WHERE docno = ?"), {name});
    if (!row)
        return std::unexpected(row.error());
    return row->has_value();
}

std::expected<void, Error> save_order_as_template(Database& db, const QString& order_key, const QString& name,
                                                  const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    if (auto removed = delete_rows(db, name); !removed)
        return removed;
    auto header = db.execute(
        QStringLiteral("INSERT INTO PO_header_template_table (docno, vendor_no, shipto, requested_user, currency,"
                       " payment_term, shipvia, contact_person, phone, fax, fob_point, delivery_instruction, remark,"
                       " user_created, date_created, time_created)"
                       " SELECT ?, vendor_no, shipto, requested_user, currency, payment_term, shipvia, contact_person,"
                       " phone, fax, fob_point, delivery_instruction, remark, ?, ?, ?"
                       " FROM PO_header_table WHERE fkey = ?"),
        {name, stamp.user, stamp.today, stamp.time, order_key});
    if (!header)
        return std::unexpected(header.error());
    if (*header != 1)
        return std::unexpected(Error::not_found(QStringLiteral("Document not found.")));
    QStringList columns;
    for (const QString& column : copied_line_columns())
        columns << sql_name(column);
    const QString list = columns.join(QStringLiteral(", "));
    if (auto lines = db.write(QStringLiteral("INSERT INTO PO_transaction_template_table (docno, ") + list
                                  + QStringLiteral(") SELECT ?, ") + list
                                  + QStringLiteral(" FROM PO_transaction_table WHERE fkey = ? ORDER BY itemno"),
                              {name, order_key});
        !lines)
        return lines;
    return committed(tx);
}

std::expected<void, Error> insert_new_template(Database& db, const QString& name, const Order& order,
                                               const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto exists = template_exists(db, name);
    if (!exists)
        return std::unexpected(exists.error());
    if (*exists)
        return std::unexpected(Error::invalid(QStringLiteral("Template ") + shown_value(name) + QStringLiteral(" exist.")));
    InsertRow header(Headers);
    header.set(u"docno", name);
    set_header_columns(header, order.header)
        .set_created(stamp.created());
    if (auto written = header.execute(db); !written)
        return written;
    if (auto written = insert_lines(db, name, order); !written)
        return written;
    return committed(tx);
}

std::expected<void, Error> update_template(Database& db, const QString& name, const Order& order,
                                           const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    UpdateRow header(Headers);
    auto changed = set_header_columns(header, order.header)
                       .set(u"date_lastmodified", stamp.today)
                       .set(u"time_lastmodified", stamp.time)
                       .set(u"user_updated", stamp.user)
                       .where(QStringLiteral("docno = ?"), {name})
                       .execute(db);
    if (!changed)
        return std::unexpected(changed.error());
    if (*changed != 1)
        return std::unexpected(Error::not_found(QStringLiteral("No template available.")));
    if (auto removed = db.write(QStringLiteral("DELETE FROM PO_transaction_template_table WHERE docno = ?"), {name});
        !removed)
        return removed;
    if (auto written = insert_lines(db, name, order); !written)
        return written;
    return committed(tx);
}

std::expected<void, Error> delete_template(Database& db, const QString& name)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    if (auto removed = delete_rows(db, name); !removed)
        return removed;
    return committed(tx);
}

std::expected<std::optional<StoredTemplate>, Error> read_template(Database& db, const QString& name)
{
    auto header = db.first(QStringLiteral("SELECT * FROM PO_header_template_table WHERE docno = ?"), {name});
    if (!header)
        return std::unexpected(header.error());
    if (!*header)
        return std::optional<StoredTemplate>();
    auto lines = db.select(QStringLiteral("SELECT t.*, a.accname FROM PO_transaction_template_table t"
                                          " LEFT JOIN Account_master_table a ON a.accno = t.accno"
                                          " WHERE t.docno = ? ORDER BY t.itemno"),
                           {name});
    if (!lines)
        return std::unexpected(lines.error());
    return std::optional<StoredTemplate>(StoredTemplate{**header, std::move(*lines)});
}

} // namespace zelkor
