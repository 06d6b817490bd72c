#include "stock/inventory_document.h"

#include "core/clock.h"
#include "core/db/sql_batch.h"
#include "core/db/sql_names.h"

namespace zelkor {
namespace {

SqlValue optional_text(const QString& text) { return text.isEmpty() ? SqlValue(std::nullopt) : SqlValue(text); }

const QStringList& line_columns()
{
    static const QStringList columns = {
        QStringLiteral("company"),        QStringLiteral("fkey"),          QStringLiteral("lineno"),
        QStringLiteral("doctype"),        QStringLiteral("docno"),         QStringLiteral("trandate"),
        QStringLiteral("period"),         QStringLiteral("fyear"),         QStringLiteral("currency"),
        QStringLiteral("exchange_rate"),  QStringLiteral("itemcode"),      QStringLiteral("Description"),
        QStringLiteral("warehouse"),      QStringLiteral("location"),      QStringLiteral("adjustment_type"),
        QStringLiteral("quantity"),       QStringLiteral("uom"),           QStringLiteral("unitcost"),
        QStringLiteral("extended_cost"),  QStringLiteral("stock_uom"),     QStringLiteral("stock_uom_quantity"),
        QStringLiteral("stock_uom_unitcost"), QStringLiteral("quantity_from"), QStringLiteral("quantity_to"),
        QStringLiteral("remark"),         QStringLiteral("Source"),        QStringLiteral("source_form"),
        QStringLiteral("source_docno"),   QStringLiteral("date_created"),  QStringLiteral("time_created"),
        QStringLiteral("user_created"),   QStringLiteral("computer_id"),   QStringLiteral("stock_value"),
    };
    return columns;
}

Params line_values(const DocumentNumber& number, const InventoryHeader& header, const InventoryLine& line,
                   const StockStamp& stamp, const QDate& today, const QString& now)
{
    return {1,
            number.fkey,
            line.lineno,
            header.doctype,
            number.docno,
            header.date,
            header.period.period,
            header.period.fiscal_year,
            optional_text(header.currency),
            header.exchange_rate,
            line.itemcode,
            optional_text(line.description),
            optional_text(line.warehouse),
            optional_text(line.location),
            line.adjustment_type ? SqlValue(*line.adjustment_type) : SqlValue(std::nullopt),
            line.quantity,
            optional_text(line.uom),
            line.unitcost,
            line.extended_cost,
            optional_text(line.stock_uom),
            line.stock_uom_quantity,
            line.stock_uom_unitcost,
            line.quantity_from,
            line.quantity_to,
            optional_text(line.remark),
            header.source,
            header.source_form,
            header.source_docno,
            today,
            now,
            stamp.user,
            optional_text(stamp.computer_id),
            line.stock_value};
}

[[nodiscard]] std::expected<void, Error> insert_lines(Database& db, const DocumentNumber& number,
                                                      const InventoryHeader& header,
                                                      const std::vector<InventoryLine>& lines, const StockStamp& stamp)
{
    InsertBatch rows(QStringLiteral("IN_transaction_table"), line_columns());
    const QDate today = Clock::today();
    const QString now = Clock::time_text();
    for (const InventoryLine& line : lines)
        rows.add(line_values(number, header, line, stamp, today, now));
    return rows.execute(db);
}

InventoryHeader header_of(const Row& row)
{
    return {row.text(u"doctype"),      row.date(u"trandate"),   {row.text(u"fyear"), int(row.integer(u"period"))},
            row.text(u"Description"),  row.text(u"currency"),   row.decimal_or_null(u"exchange_rate"),
            row.date(u"rate_date"),    row.text(u"Source"),     row.text(u"source_form"),
            row.text(u"source_docno"), {}};
}

InventoryLine line_of(const Row& row)
{
    InventoryLine line;
    line.lineno = int(row.integer(u"lineno"));
    line.itemcode = row.text(u"itemcode");
    line.description = row.text(u"Description");
    line.warehouse = row.text(u"warehouse");
    line.location = row.text(u"location");
    if (!row.is_null(u"adjustment_type"))
        line.adjustment_type = int(row.integer(u"adjustment_type"));
    line.quantity = row.decimal(u"quantity");
    line.uom = row.text(u"uom");
    line.unitcost = row.decimal(u"unitcost");
    line.extended_cost = row.decimal(u"extended_cost");
    line.stock_uom = row.text(u"stock_uom");
    line.stock_uom_quantity = row.decimal(u"stock_uom_quantity");
    line.stock_uom_unitcost = row.decimal(u"stock_uom_unitcost");
    line.quantity_from = row.decimal(u"quantity_from");
    line.quantity_to = row.decimal(u"quantity_to");
    line.remark = row.text(u"remark");
    line.stock_value = row.decimal(u"stock_value");
    return line;
}

} // namespace

[[nodiscard]] std::expected<DocumentNumber, Error> write_inventory_document(Database& db, const InventoryHeader& header,
                                                                            const std::vector<InventoryLine>& lines)
{
    auto number = issue_document_number(db, header.doctype, header.period.fiscal_year);
    if (!number)
        return number;
    const QDate today = Clock::today();
    const QString now = Clock::time_text();
    auto written = InsertRow(QStringLiteral("IN_header_table"))
                       .set(u"company", 1)
                       .set(u"fkey", number->fkey)
                       .set(u"doctype", header.doctype)
                       .set(u"docno", number->docno)
                       .set(u"trandate", header.date)
                       .set(u"Description", header.description)
                       .set(u"period", header.period.period)
                       .set(u"fyear", header.period.fiscal_year)
                       .set(u"currency", optional_text(header.currency))
                       .set(u"exchange_rate", header.exchange_rate)
                       .set(u"rate_date", header.rate_date)
                       .set(u"Source", header.source)
                       .set(u"source_form", header.source_form)
                       .set(u"source_docno", header.source_docno)
                       .set(u"void", false)
                       .set_created({today, now, header.stamp.user})
                       .execute(db);
    if (!written)
        return std::unexpected(written.error());
    if (auto inserted = insert_lines(db, *number, header, lines, header.stamp); !inserted)
        return std::unexpected(inserted.error());
    return number;
}

[[nodiscard]] std::expected<std::optional<StoredInventoryDocument>, Error> read_inventory_document(Database& db,
                                                                                                  const QString& fkey)
{
    auto header = db.first(QStringLiteral("SELECT docno, doctype, trandate, Description, period, fyear, currency,"
                                          " exchange_rate, rate_date, Source, source_form, source_docno, void"
                                          " FROM IN_header_table WHERE fkey = ?"),
                           {fkey});
    if (!header)
        return std::unexpected(header.error());
    if (!*header)
        return std::nullopt;
    StoredInventoryDocument document;
    document.number = {(*header)->text(u"docno"), fkey};
    document.header = header_of(**header);
    document.void_document = (*header)->flag(u"void");
    auto lines = db.select(QStringLiteral("SELECT lineno, itemcode, Description, warehouse, location, adjustment_type,"
                                          " quantity, uom, unitcost, extended_cost, stock_uom, stock_uom_quantity,"
                                          " stock_uom_unitcost, quantity_from, quantity_to, remark, stock_value"
                                          " FROM IN_transaction_table WHERE fkey = ? ORDER BY lineno"),
                           {fkey});
    if (!lines)
        return std::unexpected(lines.error());
    for (const Row& row : *lines)
        document.lines.push_back(line_of(row));
    return document;
}

[[nodiscard]] std::expected<void, Error> append_inventory_lines(Database& db, const StoredInventoryDocument& document,
                                                                const std::vector<InventoryLine>& lines,
                                                                const StockStamp& stamp)
{
    return insert_lines(db, document.number, document.header, lines, stamp);
}

} // namespace zelkor
