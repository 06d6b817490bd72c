#include "reports/report_window.h"

#include "core/clock.h"
#include "core/fiscal_periods.h"
#include "core/master_lookups.h"
#include "windows/base/form_properties.h"
#include "windows/print/Form_report_format.h"
#include "windows/print/grid_report.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>

namespace zelkor {

namespace {

Q_LOGGING_CATEGORY(lcReports, "zelkor.reports")

const QString DefaultDateFormat = QStringLiteral("dd/mm/yyyy");
const QString Ascending = QStringLiteral("Ascending");
const QString Descending = QStringLiteral("Descending");
const QString RowsCaption = QStringLiteral("rows");
const QString StruckCaption = QStringLiteral("void row");
constexpr int SortRows = 5;

/// A field of an export: quoted when it holds a separator, a quote or a line break; a text a
/// spreadsheet would take for a formula gets a leading apostrophe.
QString csv_field(const QString& value, bool number)
{
    QString text = value;
    if (!number && !text.isEmpty() && QStringLiteral("=+-@").contains(text.front()))
        text.prepend(u'\'');
    if (text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r')) {
        text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        text = u'"' + text + u'"';
    }
    return text;
}

bool is_number_kind(ColumnKind kind)
{
    return kind == ColumnKind::Money || kind == ColumnKind::WholeAmount || kind == ColumnKind::Quantity
           || kind == ColumnKind::UnitCost;
}

} // namespace

ReportWindow::ReportWindow(QString class_name, QString caption, QObject* parent)
    : WindowModel(std::move(class_name), std::move(caption), Kind::Other, parent)
{
}

ReportWindow::~ReportWindow() = default;

// Declarations ----------------------------------------------------------------------------------

void ReportWindow::declare_report_commands(ReportPanel panel)
{
    declare_command(PageSetupCommand);
    declare_command({int(ReportCommand::PrintColumn), "Print &Column", menus::File, false, Right::None,
                     panel.search ? Checkable::No : Checkable::Yes});
    declare_command(CommandId::Preview);
    declare_command({int(ReportCommand::ExportCsv), "E&xport CSV", menus::File, false, Right::Print});
    declare_command(CommandId::Exit);
    if (panel.search)
        declare_command({int(ReportCommand::MoreSearchCriteria), "&More Search Criteria", menus::Format, false,
                         Right::None, Checkable::Yes});
    if (panel.sort)
        declare_command({int(ReportCommand::Sort), "&Sort", menus::Format, false, Right::None});
    declare_command({int(ReportCommand::Clear), "&Clear", menus::Format, true, Right::None});
    declare_command({int(ReportCommand::Freeze), "Free&ze", menus::Format, false, Right::None, Checkable::Yes});
    // "O&ption": Alt+O already opens "F&ormat".
    declare_command({209, "&Show Text below Icon", "O&ption", false, Right::None, Checkable::Yes});
    declare_command({int(ReportCommand::Find), "&Find", "&Run", true, Right::None});
    if (panel.origin)
        declare_command({int(ReportCommand::Origin), "Origin", menus::View, true, Right::None});
    for (int id = 401; id <= 408; ++id)
        declare_command(CommandId(id));
}

void ReportWindow::declare_report(ReportQuery query, ReportIdentity identity, ReportPanel panel)
{
    m_identity = std::move(identity);
    QStringList captions;
    for (const ReportColumn& column : query.columns)
        captions << column.caption;
    captions << StruckCaption;
    m_results = &declare_grid(QStringLiteral("dbgrid1"), {}, captions);
    m_results->set_read_only(true);
    m_strike_column = int(captions.size()) - 1;
    m_results->set_column_hidden(m_strike_column, true);
    m_results->set_strike_out_column(m_strike_column);
    m_results->set_fetch_more([this] { fetch_page(); });

    QStringList total_captions{query.totals_caption, RowsCaption};
    for (const ReportColumn& column : query.columns)
        if (column.totalled)
            total_captions << column.caption;
    m_totals = &declare_grid(QStringLiteral("dbgrid_total"), QStringLiteral("Totals"), total_captions);
    m_totals->set_read_only(true);
    for (int column = 1; column < m_totals->column_count(); ++column)
        m_totals->set_column_kind(column, FieldKind::Number);

    QStringList pages{QStringLiteral("Print Column")};
    if (panel.search)
        pages << QStringLiteral("Search");
    if (panel.sort)
        pages << QStringLiteral("Sort");
    declare_pane(SidePanel, pages.join(QStringLiteral(" / ")), PaneArea::Right,
                 int(panel.search ? ReportCommand::MoreSearchCriteria : ReportCommand::PrintColumn));
    m_print_columns = &declare_grid(QStringLiteral("dbgrid_print"), QStringLiteral("Print Columns"),
                                    {QStringLiteral("column"), QStringLiteral("print")}, SidePanel);
    m_print_columns->set_column_read_only(0, true);
    m_print_columns->set_column_width(0, 150);
    m_print_columns->set_column_kind(1, FieldKind::Check);
    if (panel.sort) {
        m_sort = &declare_grid(QStringLiteral("dbgrid_sort"), QStringLiteral("Sort"),
                               {QStringLiteral("sort by"), QStringLiteral("order")}, SidePanel);
        m_sort->set_column_kind(0, FieldKind::DropDown);
        m_sort->set_column_kind(1, FieldKind::DropDown);
        m_sort->set_column_choices(1, Choices::of({Ascending, Descending}));
        m_sort->set_row_count(SortRows);
    }
    set_query(std::move(query));
}

void ReportWindow::set_query(ReportQuery query)
{
    m_query = std::move(query);
    for (size_t index = 0; index < m_query.columns.size(); ++index) {
        const ColumnKind kind = m_query.columns[index].kind;
        if (is_number_kind(kind))
            m_results->set_column_kind(int(index), FieldKind::Number);
        else if (kind == ColumnKind::Date)
            m_results->set_column_kind(int(index), FieldKind::Date);
        else if (kind == ColumnKind::Check)
            m_results->set_column_kind(int(index), FieldKind::Check);
    }
    if (m_sort) {
        QStringList captions;
        for (const auto& [caption, expression] : m_query.sorts)
            captions << caption;
        m_sort->set_column_choices(0, Choices::of(captions));
    }
}

void ReportWindow::on_open()
{
    fill_print_columns();
}

void ReportWindow::fill_print_columns()
{
    // The columns the grid shows are printed unless the clerk says otherwise.
    std::vector<QStringList> rows;
    for (size_t column = 0; column < m_query.columns.size(); ++column)
        rows.push_back({m_results->column(int(column)).caption,
                        m_results->column(int(column)).hidden ? QStringLiteral("0") : QStringLiteral("1")});
    m_print_columns->restore_rows(std::move(rows));
}

bool ReportWindow::printed(int column) const
{
    if (column >= int(m_query.columns.size()))
        return false;
    const QString flag = m_print_columns->cell(column, 1);
    return flag == QLatin1String("1") || flag.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

// Filters ---------------------------------------------------------------------------------------

void ReportWindow::clear_filters()
{
    for (const Field& field : fields())
        if (field.declaration.pane.isEmpty() || field.declaration.pane == SidePanel)
            set_field(field.name(), QString());
}

Entry ReportWindow::check_field(const QString& name, const QString& previous)
{
    const Field* typed = find_field(name);
    const QString value = typed->value.trimmed();
    if (typed->kind() != FieldKind::DropDown || value.isEmpty() || typed->choices.find(value) >= 0)
        return WindowModel::check_field(name, previous);
    message(typed->caption().toLower() + QStringLiteral(" is invalid."));
    set_field(name, previous);
    return Entry::Refused;
}

std::expected<std::optional<DateRange>, QString> ReportWindow::date_range(const QString& box, const QString& from,
                                                                          const QString& to) const
{
    if (!find_field(box)->checked())
        return std::optional<DateRange>();
    const QString& format = settings().ZELKOR_DATE_FORMAT.isEmpty() ? DefaultDateFormat : settings().ZELKOR_DATE_FORMAT;
    auto first = parse_user_date(field(from).trimmed(), format);
    if (!first)
        return std::unexpected(first.error().message);
    auto last = parse_user_date(field(to).trimmed(), format);
    if (!last)
        return std::unexpected(last.error().message);
    return std::optional<DateRange>(DateRange{*first, *last});
}

std::vector<SortKey> ReportWindow::chosen_order() const
{
    std::vector<SortKey> order;
    for (int row = 0; m_sort && row < m_sort->row_count(); ++row) {
        const QString expression = m_query.sort_expression(m_sort->cell(row, 0));
        if (!expression.isEmpty())
            order.push_back({expression, m_sort->cell(row, 1).trimmed() == Descending, true});
    }
    // The default order ends in a unique key: ties of the chosen keys keep one order.
    order.insert(order.end(), m_query.default_order.begin(), m_query.default_order.end());
    return order;
}

// Running ---------------------------------------------------------------------------------------

void ReportWindow::report_failure(const QString& sentence, const Error& error)
{
    qCWarning(lcReports).noquote() << class_name() << sentence << error.detail;
    message(error.kind == Error::Kind::Invalid ? error.message : sentence);
}

bool ReportWindow::run_inquiry()
{
    ++m_inquiries_run;
    auto chosen = selection();
    if (!chosen) {
        message(chosen.error());
        return false;
    }
    if (m_counting)
        m_counting->cancel();
    set_background_work({});
    m_selection = std::move(*chosen);
    m_after.reset();
    m_results->clear();
    m_totals->clear();
    m_selected_rows = 0;
    m_counted = false;
    if (!fetch_page())
        return false;
    // A selection that fits on its first page costs no more to total than it did to read.
    if (!m_results->more_available())
        return count_now();
    start_count();
    return true;
}

bool ReportWindow::wait_for_totals()
{
    if (m_counting && m_counting->pending())
        m_counting->wait();
    return m_counted;
}

bool ReportWindow::count_now()
{
    const SqlText totals = totals_sql(*m_selection);
    auto rows = database()->select(totals.text(), totals.params());
    if (!rows) {
        report_failure(QStringLiteral("Reading the totals failed"), rows.error());
        return false;
    }
    fill_totals(*rows);
    return true;
}

void ReportWindow::start_count()
{
    if (!m_counting)
        m_counting = std::make_unique<BackgroundQuery>(database()->where());
    const SqlText totals = totals_sql(*m_selection);
    m_counting->start(totals.text(), totals.params(), this, [this](const BackgroundQuery::Result& rows) { count_read(rows); });
    set_background_work(QStringLiteral("Counting the rows"));
    set_status(QStringLiteral("%1 rows shown, counting all rows").arg(m_results->row_count()));
}

void ReportWindow::count_read(const BackgroundQuery::Result& rows)
{
    set_background_work({});
    if (!rows) {
        report_failure(QStringLiteral("Reading the totals failed"), rows.error());
        set_status(QStringLiteral("%1 rows shown").arg(m_results->row_count()));
        return;
    }
    fill_totals(*rows);
}

void ReportWindow::on_cancel_background_work()
{
    if (m_counting)
        m_counting->cancel();
    set_status(QStringLiteral("%1 rows shown; counting was cancelled").arg(m_results->row_count()));
}

QStringList ReportWindow::grid_row(const Row& row) const
{
    const ReportRowLayout layout{int(m_query.columns.size())};
    const QString& format = settings().ZELKOR_DATE_FORMAT.isEmpty() ? DefaultDateFormat : settings().ZELKOR_DATE_FORMAT;
    QStringList cells;
    for (int index = 0; index < layout.columns; ++index)
        cells << shown_text(m_query.columns[size_t(index)], row.value(index), row.value(layout.decimals(index)), format);
    cells << (Row::to_flag(row.value(layout.void_flag())) ? QStringLiteral("1") : QStringLiteral("0"));
    return cells;
}

bool ReportWindow::fetch_page()
{
    if (!m_selection || !database())
        return false;
    const SqlText sql = page_query(m_query, *m_selection, m_after, PageRows + 1, database()->engine());
    auto rows = database()->select(sql.text(), sql.params());
    if (!rows) {
        m_results->set_more_available(false);
        report_failure(QStringLiteral("Reading the rows failed"), rows.error());
        return false;
    }
    // One row more than a page says whether another page follows.
    const bool more = rows->size() > size_t(PageRows);
    if (more)
        rows->pop_back();
    std::vector<QStringList> cells;
    cells.reserve(rows->size());
    for (const Row& row : *rows)
        cells.push_back(grid_row(row));
    if (!rows->empty())
        m_after = keys_of(rows->back(), ReportRowLayout{int(m_query.columns.size())}, m_selection->order.size());
    m_results->set_more_available(more);
    m_results->append_rows(std::move(cells));
    if (m_counted)
        show_row_count();
    return true;
}

void ReportWindow::show_row_count()
{
    set_status(QStringLiteral("%1 of %2 rows").arg(m_results->row_count()).arg(m_selected_rows));
}

SqlText ReportWindow::totals_sql(const ReportSelection& selection) const { return totals_query(m_query, selection, database()->engine()); }

void ReportWindow::fill_totals(const Rows& rows)
{
    std::vector<QStringList> cells;
    for (const Row& row : rows) {
        QStringList line{Row::to_text(row.value(0)), Row::to_text(row.value(1))};
        m_selected_rows += Row::to_decimal(row.value(1)).to_integer();
        for (int column = 2; column < row.size(); ++column)
            line << Row::to_decimal(row.value(column)).format(2);
        cells.push_back(line);
    }
    m_totals->restore_rows(std::move(cells));
    m_counted = true;
    show_row_count();
}

template <typename Each>
bool ReportWindow::for_each_selected_row(Each&& each)
{
    constexpr int ChunkRows = 5000;
    std::optional<std::vector<SqlValue>> after;
    const ReportRowLayout layout{int(m_query.columns.size())};
    for (;;) {
        const SqlText sql = page_query(m_query, *m_selection, after, ChunkRows, database()->engine());
        auto rows = database()->select(sql.text(), sql.params());
        if (!rows) {
            report_failure(QStringLiteral("Reading the rows failed"), rows.error());
            return false;
        }
        for (const Row& row : *rows)
            each(row, layout);
        if (rows->size() < size_t(ChunkRows))
            return true;
        after = keys_of(rows->back(), layout, m_selection->order.size());
    }
}

// Printing and exporting ------------------------------------------------------------------------

bool ReportWindow::may_print()
{
    if (rights().print)
        return true;
    message(QStringLiteral("You have no right to print this window."));
    return false;
}

bool ReportWindow::preview()
{
    if (!may_print() || (!m_selection && !run_inquiry()))
        return false;
    // The printout ends in the totals: those still being read are waited for, cancelled ones read again.
    if (!wait_for_totals() && !count_now())
        return false;
    PrintList list;
    list.title = m_identity.title;
    const PrintedColumns columns = printed_columns(*m_results, layouts().layout(m_results->name()),
                                                   [this](int column) { return printed(column); });
    list.columns = columns.columns;
    const bool filled = for_each_selected_row([&](const Row& row, const ReportRowLayout&) {
        const QStringList cells = grid_row(row);
        PrintRow printed = printed_row(cells, columns);
        printed.struck_out = cells.value(m_strike_column) == QLatin1String("1");
        list.rows.push_back(std::move(printed));
    });
    if (!filled)
        return false;
    for (const QStringList& total : m_totals->rows()) {
        // A total line per currency under the rows, its amounts in their own columns.
        QStringList cells(m_results->column_count());
        cells[0] = QStringLiteral("Total ") + total.value(0);
        for (int column = 2; column < m_totals->column_count(); ++column)
            cells[m_results->column_index(m_totals->column(column).caption)] = total.value(column);
        list.rows.push_back(printed_row(cells, columns));
    }
    if (const auto dates = printed_dates()) {
        const QString& format = settings().ZELKOR_DATE_FORMAT.isEmpty() ? DefaultDateFormat : settings().ZELKOR_DATE_FORMAT;
        list.transaction_date = format_user_date(dates->from, format);
        list.until_date = format_user_date(dates->to, format);
    }
    list.fields = printed_fields();
    // Columns too wide for the page go on to further pages rather than being cut, unless the
    // user's format says otherwise.
    auto file = write_window_report(*database(), settings(), class_name(), std::move(list), m_identity.stem,
                                    ListWidths::FitToText);
    if (!file) {
        report_failure(QStringLiteral("Preview failed"), file.error());
        return false;
    }
    notify(file->viewer, file->path, QStringLiteral("Preview ") + m_identity.title);
    return true;
}

bool ReportWindow::export_csv()
{
    if (!may_print() || (!m_selection && !run_inquiry()))
        return false;
    auto folder = user_report_folder(settings().ZELKOR_PATH);
    if (!folder) {
        report_failure(QStringLiteral("Export failed"), folder.error());
        return false;
    }
    const QString path = QDir(*folder).filePath(m_identity.stem + Clock::time_of_day().toString(QStringLiteral("hhmmss"))
                                                + QStringLiteral(".csv"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        report_failure(QStringLiteral("Export failed"), Error::database(file.errorString()));
        return false;
    }
    std::vector<int> columns;
    QStringList heading;
    for (int column = 0; column < int(m_query.columns.size()); ++column)
        if (printed(column)) {
            columns.push_back(column);
            heading << csv_field(m_query.columns[size_t(column)].caption, false);
        }
    file.write("\xEF\xBB\xBF");
    file.write((heading.join(u',') + QStringLiteral("\r\n")).toUtf8());
    const bool written = for_each_selected_row([&](const Row& row, const ReportRowLayout& layout) {
        QStringList line;
        for (int column : columns) {
            const ReportColumn& source = m_query.columns[size_t(column)];
            line << csv_field(plain_text(source, row.value(column), row.value(layout.decimals(column))),
                              is_number_kind(source.kind));
        }
        file.write((line.join(u',') + QStringLiteral("\r\n")).toUtf8());
    });
    if (!written || !file.commit()) {
        if (written)
            report_failure(QStringLiteral("Export failed"), Error::database(file.errorString()));
        return false;
    }
    message(QStringLiteral("Export complete: ") + QDir::toNativeSeparators(path));
    return true;
}

bool ReportWindow::open_page_setup()
{
    open_child_window(new Form_report_format(class_name()));
    return true;
}

// Rows and remembered values --------------------------------------------------------------------

QString ReportWindow::current_cell(const QString& caption) const
{
    const int row = m_results->current_row();
    return row < 0 ? QString() : m_results->cell(row, caption).trimmed();
}

bool ReportWindow::notify_for_row(const QString& formx, const QString& caption)
{
    const QString value = current_cell(caption);
    if (value.isEmpty())
        return false;
    notify(formx, value, QString());
    return true;
}

void ReportWindow::load_fiscal_lists(const QString& year_field, const QString& period_field)
{
    load_choices(year_field, PickList{QStringLiteral("SELECT fyear FROM Fiscalyear_table ORDER BY fyear"), {},
                                      QStringLiteral("0;1200;<;Fiscal year")});
    bool number = false;
    const int count = settings().ZELKOR_NO_PERIODS.toInt(&number);
    QStringList periods;
    for (int period = 1; period <= (number && count > 0 ? count : 12); ++period)
        periods << QString::number(period);
    set_field_choices(period_field, Choices::of(periods));
}

QString ReportWindow::recall(const QString& control) const
{
    auto value = recent_value(*database(), remembered_form(), control);
    if (!value) {
        qCWarning(lcReports).noquote() << class_name() << control << "not read:" << value.error().detail;
        return {};
    }
    return value->value_or(QString());
}

void ReportWindow::remember(const QString& control, const QString& value)
{
    if (auto stored = remember_value(*database(), remembered_form(), control, value); !stored)
        qCWarning(lcReports).noquote() << class_name() << control << "not stored:" << stored.error().detail;
}

bool ReportWindow::run_command(int id)
{
    switch (ReportCommand(id)) {
    case ReportCommand::Find: return run_inquiry();
    case ReportCommand::Clear: clear_filters(); return true;
    case ReportCommand::PageSetup: return open_page_setup();
    case ReportCommand::ExportCsv: return export_csv();
    case ReportCommand::PrintColumn:
        if (find_command(int(ReportCommand::PrintColumn))->checkable)
            break; // the panel's own switch
        show_pane(SidePanel, true);
        return true;
    case ReportCommand::Sort: show_pane(SidePanel, true); return true;
    case ReportCommand::Freeze: {
        // The columns up to the current one stay in view while the others scroll.
        const bool freeze = !find_command(id)->checked;
        set_command_checked(id, freeze);
        m_results->set_frozen_columns(freeze ? std::max(m_results->current_column(), 0) + 1 : 0);
        return true;
    }
    case ReportCommand::Origin: return notify_for_row(m_identity.origin, QStringLiteral("document no"));
    default: break;
    }
    if (id == to_int(CommandId::Preview))
        return preview();
    return WindowModel::run_command(id);
}

} // namespace zelkor
