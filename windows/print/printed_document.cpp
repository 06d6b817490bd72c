#include "windows/print/printed_document.h"

#include "core/fiscal_periods.h"

#include <QHash>

#include <algorithm>

namespace zelkor {

namespace {

constexpr int TaxSlots = 5;
constexpr int MostQuantityDecimals = 6;
const QString ItemCodeColumn = QStringLiteral("itemcode");
const QString LineNumberColumn = QStringLiteral("itemno");

/// What the stored master files say about a line's item.
struct ItemDecimals {
    int quantity = -1;
    int unitcost = -1;
};

QString joined(const QStringList& parts, const QString& separator)
{
    QStringList kept;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            kept << part.trimmed();
    return kept.join(separator);
}

/// A text as block lines: one per line of the text, blank lines dropped.
QStringList text_lines(const QString& text)
{
    QStringList lines;
    for (const QString& line : text.split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

/// Takes out the line columns that are empty on every line: a page has no room to spare.
void leave_out_empty_columns(PrintedDocument& document)
{
    for (int column = int(document.columns.size()) - 1; column >= 0; --column) {
        const bool empty = std::all_of(document.lines.begin(), document.lines.end(),
                                       [column](const QStringList& line) { return line.value(column).isEmpty(); });
        if (!empty || document.lines.empty())
            continue;
        document.columns.erase(document.columns.begin() + column);
        for (QStringList& line : document.lines)
            line.removeAt(column);
    }
}

/// Gathers the blocks of one document from its print rows, its stored rows and the masters.
class DocumentReader {
public:
    DocumentReader(Database& db, const DocumentLayout& layout, const Rows& rows, const QString& date_format)
        : m_db(db), m_layout(layout), m_rows(rows), m_date_format(date_format)
    {
    }

    [[nodiscard]] std::expected<PrintedDocument, Error> read(const QString& docno);

private:
    [[nodiscard]] std::expected<void, Error> read_stored(const QString& docno);
    [[nodiscard]] std::expected<void, Error> read_items();
    [[nodiscard]] std::expected<QStringList, Error> letterhead();
    [[nodiscard]] std::expected<std::vector<LabelledValue>, Error> facts();
    [[nodiscard]] std::expected<QString, Error> fact_text(const DocumentFact& fact);
    [[nodiscard]] std::expected<QStringList, Error> vendor_block();
    [[nodiscard]] std::expected<QStringList, Error> ship_to_block();
    [[nodiscard]] std::expected<std::vector<LabelledValue>, Error> totals();
    /// Whether a line's value of the layout's unprinted-line flag keeps it off the page.
    bool unprinted(const QVariant& flag) const;
    QStringList line_cells(int line) const;
    QString line_cell(int line, const DocumentLineColumn& column) const;

    /// A header value: the print query's, else the stored header's; null when neither has it.
    QVariant header_value(const QString& column) const;
    QString header_text(const QString& column) const { return Row::to_text(header_value(column)).trimmed(); }
    /// A value of the line printed as row `line`: the print query's, else the stored line's.
    QVariant line_value(int line, const QString& column) const;
    const Row* stored_line(int line) const;
    bool foreign() const;

    Database& m_db;
    const DocumentLayout& m_layout;
    const Rows& m_rows;
    QString m_date_format;
    std::optional<Row> m_header;
    QHash<QString, Row> m_stored_lines; ///< by line number
    QHash<QString, ItemDecimals> m_items;
    QString m_base_currency;
};

[[nodiscard]] std::expected<PrintedDocument, Error> DocumentReader::read(const QString& docno)
{
    if (auto stored = read_stored(docno); !stored)
        return std::unexpected(stored.error());
    if (auto items = read_items(); !items)
        return std::unexpected(items.error());
    PrintedDocument document;
    document.title = m_layout.heading.isEmpty() ? m_layout.title : m_layout.heading;
    document.number = docno;
    auto head = letterhead();
    if (!head)
        return std::unexpected(head.error());
    document.letterhead = *head;
    auto fact_list = facts();
    if (!fact_list)
        return std::unexpected(fact_list.error());
    document.facts = *fact_list;
    auto vendor = vendor_block();
    if (!vendor)
        return std::unexpected(vendor.error());
    document.vendor = *vendor;
    auto ship_to = ship_to_block();
    if (!ship_to)
        return std::unexpected(ship_to.error());
    document.ship_to = *ship_to;
    for (const DocumentLineColumn& column : m_layout.line_columns)
        document.columns.push_back({column.heading, column.value});
    for (int line = 0; line < int(m_rows.size()); ++line)
        if (!unprinted(line_value(line, m_layout.unprinted_line_flag)))
            document.lines.push_back(line_cells(line));
    leave_out_empty_columns(document);
    auto total_list = totals();
    if (!total_list)
        return std::unexpected(total_list.error());
    document.totals = *total_list;
    for (const DocumentNote& note : m_layout.notes)
        if (const QString text = header_text(note.column); !text.isEmpty())
            document.notes.emplace_back(note.label, text);
    document.void_document = !m_layout.void_column.isEmpty() && Row::to_flag(header_value(m_layout.void_column));
    return document;
}

[[nodiscard]] std::expected<void, Error> DocumentReader::read_stored(const QString& docno)
{
    // The table names are the layout's constants, never typed values.
    auto header = m_db.first(QStringLiteral("SELECT * FROM ") + m_layout.header_table
                                 + QStringLiteral(" WHERE company = 1 AND docno = ?"),
                             {docno});
    if (!header)
        return std::unexpected(header.error());
    m_header = *header;
    if (!m_header || m_layout.line_table.isEmpty())
        return {};
    auto lines = m_db.select(QStringLiteral("SELECT * FROM ") + m_layout.line_table
                                 + QStringLiteral(" WHERE fkey = ? ORDER BY itemno"),
                             {m_header->text(u"fkey")});
    if (!lines)
        return std::unexpected(lines.error());
    for (const Row& line : *lines)
        if (m_layout.unprinted_line_flag.isEmpty() || !unprinted(line.value(m_layout.unprinted_line_flag)))
            m_stored_lines.insert(line.text(LineNumberColumn), line);
    return {};
}

[[nodiscard]] std::expected<void, Error> DocumentReader::read_items()
{
    QStringList codes;
    for (int line = 0; line < int(m_rows.size()); ++line)
        if (const QString code = Row::to_text(line_value(line, ItemCodeColumn)).trimmed(); !code.isEmpty() && !codes.contains(code))
            codes << code;
    if (codes.isEmpty())
        return {};
    Params params;
    for (const QString& code : codes)
        params.emplace_back(code);
    const QString marks = QStringList(codes.size(), QStringLiteral("?")).join(u',');
    auto items = m_db.select(QStringLiteral("SELECT itemcode, quantity_decimals, unitcost_decimals FROM Item_master_table"
                                            " WHERE itemcode IN (")
                                 + marks + u')',
                             params);
    if (!items)
        return std::unexpected(items.error());
    for (const Row& item : *items) {
        ItemDecimals decimals;
        if (auto places = item.decimal_or_null(u"quantity_decimals"))
            decimals.quantity = int(places->to_integer());
        if (auto places = item.decimal_or_null(u"unitcost_decimals"))
            decimals.unitcost = int(places->to_integer());
        m_items.insert(item.text(u"itemcode"), decimals);
    }
    return {};
}

[[nodiscard]] std::expected<QStringList, Error> DocumentReader::letterhead()
{
    auto company = m_db.first(QStringLiteral("SELECT company_name, address, phone, email, base_currency FROM Company_table"
                                             " WHERE company_no = 1"));
    if (!company)
        return std::unexpected(company.error());
    if (!*company)
        return QStringList();
    const Row& row = **company;
    m_base_currency = row.text(u"base_currency").trimmed();
    QStringList lines{row.text(u"company_name").trimmed()};
    lines << text_lines(row.text(u"address"));
    const QString phone = row.text(u"phone").trimmed();
    const QString email = row.text(u"email").trimmed();
    lines << joined({phone.isEmpty() ? QString() : QStringLiteral("Phone ") + phone,
                     email.isEmpty() ? QString() : QStringLiteral("E-mail ") + email},
                    QStringLiteral("    "));
    lines.removeAll(QString());
    return lines;
}

bool DocumentReader::foreign() const
{
    const QString currency = header_text(QStringLiteral("currency"));
    return !currency.isEmpty() && !m_base_currency.isEmpty() && currency.compare(m_base_currency, Qt::CaseInsensitive) != 0;
}

[[nodiscard]] std::expected<std::vector<LabelledValue>, Error> DocumentReader::facts()
{
    std::vector<LabelledValue> facts;
    for (const DocumentFact& fact : m_layout.facts) {
        if (fact.shown == FactShown::WhenForeign && !foreign())
            continue;
        auto text = fact_text(fact);
        if (!text)
            return std::unexpected(text.error());
        if (!text->isEmpty())
            facts.emplace_back(fact.label, *text);
    }
    return facts;
}

[[nodiscard]] std::expected<QString, Error> DocumentReader::fact_text(const DocumentFact& fact)
{
    const QVariant value = header_value(fact.column);
    switch (fact.as) {
    case PrintedAs::Date: {
        const QDate date = Row::to_date(value);
        return date.isValid() ? format_user_date(date, m_date_format) : QString();
    }
    case PrintedAs::Rate:
        return value.isNull() ? QString() : Row::to_decimal(value).to_string();
    case PrintedAs::Employee: {
        const QString id = Row::to_text(value).trimmed();
        if (id.isEmpty())
            return id;
        auto name = m_db.scalar(QStringLiteral("SELECT employee_name FROM Employee_table WHERE employee_id = ?"), {id});
        if (!name)
            return std::unexpected(name.error());
        const QString shown = Row::to_text(*name).trimmed();
        return shown.isEmpty() ? id : shown;
    }
    case PrintedAs::Text: break;
    }
    return Row::to_text(value).trimmed();
}

[[nodiscard]] std::expected<QStringList, Error> DocumentReader::vendor_block()
{
    const QString vendor_no = header_text(m_layout.vendor_column);
    std::optional<Row> vendor;
    if (!vendor_no.isEmpty()) {
        auto found = m_db.first(QStringLiteral("SELECT * FROM Vendor_table WHERE vendor_no = ?"), {vendor_no});
        if (!found)
            return std::unexpected(found.error());
        vendor = *found;
    }
    auto master = [&vendor](QStringView column) { return vendor ? vendor->text(column).trimmed() : QString(); };
    QString name = header_text(m_layout.vendor_name_column);
    if (name.isEmpty())
        name = master(u"vendor_name");
    QStringList lines{name};
    const QString kept_address = m_layout.vendor_address_column.isEmpty() ? QString() : header_text(m_layout.vendor_address_column);
    const QStringList address = text_lines(kept_address.isEmpty() ? master(u"Address") : kept_address);
    lines << address;
    // A document's own address text may already name the city; it is not printed twice.
    const QString city = master(u"city");
    if (city.isEmpty() || !address.join(u' ').contains(city, Qt::CaseInsensitive)) {
        const QString region = joined({master(u"State"), master(u"province")}, QStringLiteral(", "));
        lines << joined({joined({city, region}, QStringLiteral(", ")), master(u"postal_code")}, QStringLiteral("  "));
        lines << master(u"country");
    }
    QString contact = header_text(m_layout.contact_column);
    if (contact.isEmpty())
        contact = master(u"contact_person");
    QString phone = header_text(m_layout.phone_column);
    if (phone.isEmpty())
        phone = master(u"phone1");
    lines << joined({contact.isEmpty() ? QString() : QStringLiteral("Contact: ") + contact,
                     phone.isEmpty() ? QString() : QStringLiteral("Phone: ") + phone},
                    QStringLiteral("    "));
    lines.removeAll(QString());
    return lines;
}

[[nodiscard]] std::expected<QStringList, Error> DocumentReader::ship_to_block()
{
    const QString warehouse = header_text(m_layout.ship_to_column);
    QStringList lines;
    QString address;
    if (!warehouse.isEmpty()) {
        auto found = m_db.first(QStringLiteral("SELECT description, Address FROM Warehouse_master_table WHERE warehouse = ?"),
                                {warehouse});
        if (!found)
            return std::unexpected(found.error());
        lines << (*found ? (*found)->text(u"description").trimmed() : warehouse);
        if (*found)
            address = (*found)->text(u"Address");
    }
    if (!m_layout.ship_to_address_column.isEmpty() && !header_text(m_layout.ship_to_address_column).isEmpty())
        address = header_value(m_layout.ship_to_address_column).toString();
    lines << text_lines(address);
    lines.removeAll(QString());
    return lines;
}

[[nodiscard]] std::expected<std::vector<LabelledValue>, Error> DocumentReader::totals()
{
    const QString currency = header_text(QStringLiteral("currency"));
    const QString in_currency = currency.isEmpty() ? QString() : QStringLiteral(" (") + currency + u')';
    std::vector<LabelledValue> totals;
    totals.emplace_back(QStringLiteral("Sub total") + in_currency, Row::to_decimal(header_value(m_layout.sub_total_column)).format(2));
    // Tax per authority from the lines' stored tax slots, by authority code.
    QStringList authorities;
    QHash<QString, Decimal> amounts;
    for (const Row& line : std::as_const(m_stored_lines)) {
        if (!m_layout.tax_included_flag.isEmpty() && line.flag(m_layout.tax_included_flag))
            continue;
        for (int slot = 1; slot <= TaxSlots; ++slot) {
            const QString authority = line.text(QStringLiteral("tax_authority%1").arg(slot)).trimmed();
            const Decimal amount = line.decimal(QStringLiteral("tax_amount%1").arg(slot));
            if (authority.isEmpty() || amount.is_zero())
                continue;
            if (!authorities.contains(authority))
                authorities << authority;
            amounts[authority] += amount;
        }
    }
    std::sort(authorities.begin(), authorities.end());
    auto names = m_db.select(QStringLiteral("SELECT tax_authority, description FROM Tax_authority_table"));
    if (!names)
        return std::unexpected(names.error());
    QHash<QString, QString> described;
    for (const Row& name : *names)
        described.insert(name.text(u"tax_authority"), name.text(u"description").trimmed());
    for (const QString& authority : authorities) {
        const QString description = described.value(authority);
        totals.emplace_back(description.isEmpty() ? authority : description + QStringLiteral(" (") + authority + u')',
                            amounts[authority].format(2));
    }
    const Decimal tax_total = Row::to_decimal(header_value(m_layout.tax_total_column));
    if (authorities.isEmpty() && !tax_total.is_zero())
        totals.emplace_back(QStringLiteral("Tax"), tax_total.format(2));
    for (const DocumentNote& added : m_layout.added_amounts)
        if (const Decimal amount = Row::to_decimal(header_value(added.column)); !amount.is_zero())
            totals.emplace_back(added.label, amount.format(2));
    totals.emplace_back(QStringLiteral("Total") + in_currency, Row::to_decimal(header_value(m_layout.total_column)).format(2));
    bool deducted = false;
    for (const DocumentNote& deduction : m_layout.deducted_amounts)
        if (const Decimal amount = Row::to_decimal(header_value(deduction.column)); !amount.is_zero()) {
            totals.emplace_back(deduction.label, (-amount).format(2));
            deducted = true;
        }
    if (deducted && !m_layout.net_column.isEmpty())
        totals.emplace_back(QStringLiteral("Net amount") + in_currency,
                            Row::to_decimal(header_value(m_layout.net_column)).format(2));
    return totals;
}

bool DocumentReader::unprinted(const QVariant& flag) const
{
    return !m_layout.unprinted_line_flag.isEmpty() && Row::to_flag(flag);
}

QStringList DocumentReader::line_cells(int line) const
{
    QStringList cells;
    for (const DocumentLineColumn& column : m_layout.line_columns)
        cells << line_cell(line, column);
    return cells;
}

QString DocumentReader::line_cell(int line, const DocumentLineColumn& column) const
{
    const QVariant value = line_value(line, column.column);
    if (value.isNull())
        return {};
    const ItemDecimals item = m_items.value(Row::to_text(line_value(line, ItemCodeColumn)).trimmed());
    const Decimal number = Row::to_decimal(value);
    switch (column.value) {
    case LineValue::Quantity: return printed_quantity(number, item.quantity);
    case LineValue::UnitCost: return printed_quantity(number, std::max(item.unitcost, 2));
    case LineValue::Amount: return number.format(2);
    case LineValue::Text:
    case LineValue::Description: break;
    }
    return Row::to_text(value).trimmed();
}

QVariant DocumentReader::header_value(const QString& column) const
{
    if (column.isEmpty())
        return {};
    if (!m_rows.empty() && m_rows.front().has(column))
        return m_rows.front().value(column);
    if (m_header && m_header->has(column))
        return m_header->value(column);
    return {};
}

QVariant DocumentReader::line_value(int line, const QString& column) const
{
    const Row& printed = m_rows[size_t(line)];
    if (printed.has(column))
        return printed.value(column);
    const Row* stored = stored_line(line);
    return stored && stored->has(column) ? stored->value(column) : QVariant();
}

const Row* DocumentReader::stored_line(int line) const
{
    const Row& printed = m_rows[size_t(line)];
    const auto found = m_stored_lines.constFind(printed.text(LineNumberColumn));
    return found == m_stored_lines.cend() ? nullptr : &found.value();
}

} // namespace

QString printed_quantity(const Decimal& quantity, int places)
{
    if (places < 0) {
        const QString plain = quantity.round(MostQuantityDecimals).to_string();
        const qsizetype point = plain.indexOf(u'.');
        places = point < 0 ? 0 : int(plain.size() - point - 1);
    }
    return quantity.format(places);
}

[[nodiscard]] std::expected<PrintedDocument, Error> read_printed_document(Database& db, const DocumentLayout& layout,
                                                                          const Rows& rows, const QString& docno,
                                                                          const QString& date_format)
{
    return DocumentReader(db, layout, rows, date_format).read(docno);
}

} // namespace zelkor
