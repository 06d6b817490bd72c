#include "script/script_runner.h"

#include "check/company_checks.h"
#include "core/db/database.h"
#include "core/money/decimal.h"

#include <QMetaMethod>

namespace zelkor::script {

namespace {

QString printable(const QVariant& value) { return value.isNull() ? QString() : Row::to_text(value); }

/// Equal as the expectations compare: numbers as decimals, anything else as text.
bool same_value(const QString& actual, const QString& expected)
{
    if (actual == expected)
        return true;
    const auto a = Decimal::parse(actual);
    const auto b = Decimal::parse(expected);
    return a && b && *a == *b;
}

QString quoted(const QString& text) { return u'"' + text + u'"'; }

} // namespace

ScriptRunner::ScriptRunner(Database& db, POclass& facade, ScriptedPrompter& prompter, QTextStream& out)
    : m_db(db), m_facade(facade), m_prompter(prompter), m_out(out)
{
    m_prompter.on_record = [this](const ScriptedPrompter::Record& record) {
        if (record.kind == ScriptedPrompter::Kind::Message)
            m_out << "message: " << record.text << Qt::endl;
        else
            m_out << "question: " << record.text << " -> " << (record.answered ? record.answer : "(no answer)")
                  << Qt::endl;
    };
    // A window the current one opens (its page setup) becomes current, as the window opened
    // by a script line does.
    m_facade.set_view_factory([this](WindowModel& window) { m_current = &window; });
    connect(&m_facade, &POclass::NotifyClients, this,
            [this](const QString& formx, const QString& docnox, const QString& arg2) {
                m_out << "notify: " << formx << " | " << docnox << " | " << arg2 << Qt::endl;
                m_notifications.push_back({formx, docnox, arg2});
            });
}

Outcome ScriptRunner::run(const QString& script)
{
    Outcome outcome = Outcome::Passed;
    const QStringList lines = script.split(u'\n');
    for (m_line = 1; m_line <= lines.size(); ++m_line) {
        const auto tokens = split_line(lines[m_line - 1]);
        if (!tokens) {
            stop(tokens.error());
            return Outcome::Error;
        }
        if (tokens->empty())
            continue;
        const int unanswered_before = m_prompter.unanswered();
        Step step = Step::Done;
        try {
            step = run_line(*tokens);
        } catch (const std::exception&) {
            // A question with no queued answer (or an unfit one) already shows in the output.
        }
        if (m_prompter.unanswered() > unanswered_before) {
            fail(QStringLiteral("a question came with no fitting answer queued"));
            return Outcome::Failed;
        }
        if (step == Step::Stop)
            return Outcome::Error;
        if (step == Step::Failed)
            outcome = Outcome::Failed;
    }
    return outcome;
}

ScriptRunner::Step ScriptRunner::fail(const QString& what)
{
    m_out << "FAILED line " << m_line << ": " << what << Qt::endl;
    return Step::Failed;
}

ScriptRunner::Step ScriptRunner::stop(const QString& what)
{
    m_out << "ERROR line " << m_line << ": " << what << Qt::endl;
    return Step::Stop;
}

WindowModel* ScriptRunner::current() const
{
    return m_current && !m_current->is_closed() ? m_current.data() : nullptr;
}

ScriptRunner::Step ScriptRunner::run_line(const std::vector<Token>& tokens)
{
    const QString& verb = tokens.front().text;
    using Handler = Step (ScriptRunner::*)(const std::vector<Token>&);
    static const QHash<QString, Handler> handlers{
        {"open", &ScriptRunner::open},
        {"window", &ScriptRunner::choose_window},
        {"set", &ScriptRunner::set_field},
        {"cell", &ScriptRunner::type_cell},
        {"command", &ScriptRunner::command},
        {"goto", &ScriptRunner::go_to},
        {"call", &ScriptRunner::call},
        {"answer", &ScriptRunner::answer},
        {"expect", &ScriptRunner::expect_message},
        {"expect-notify", &ScriptRunner::expect_notify},
        {"expect-field", &ScriptRunner::expect_field},
        {"expect-cell", &ScriptRunner::expect_cell},
        {"select", &ScriptRunner::row_command},
        {"pick", &ScriptRunner::row_command},
        {"remove", &ScriptRunner::row_command},
        {"sql", &ScriptRunner::sql},
        {"expect-sql", &ScriptRunner::expect_sql},
        {"check", &ScriptRunner::check},
    };
    if (verb == u"fields")
        return print_fields();
    if (verb == u"grid")
        return print_grid();
    const auto handler = handlers.constFind(verb);
    if (handler == handlers.cend())
        return stop("unknown command " + verb);
    return (this->**handler)(tokens);
}

// Windows ---------------------------------------------------------------------------------------

bool ScriptRunner::invoke(const QString& operation, const QStringList& arguments)
{
    const QMetaObject* meta = m_facade.metaObject();
    for (int index = meta->methodOffset(); index < meta->methodCount(); ++index) {
        const QMetaMethod method = meta->method(index);
        if (method.name() != operation.toLatin1() || method.parameterCount() != arguments.size())
            continue;
        if (method.methodType() == QMetaMethod::Signal)
            continue;
        std::vector<QString> values(arguments.begin(), arguments.end());
        switch (values.size()) {
        case 0: return method.invoke(&m_facade, Qt::DirectConnection);
        case 1: return method.invoke(&m_facade, Qt::DirectConnection, Q_ARG(QString, values[0]));
        case 2:
            return method.invoke(&m_facade, Qt::DirectConnection, Q_ARG(QString, values[0]),
                                 Q_ARG(QString, values[1]));
        case 3:
            return method.invoke(&m_facade, Qt::DirectConnection, Q_ARG(QString, values[0]),
                                 Q_ARG(QString, values[1]), Q_ARG(QString, values[2]));
        default: return false;
        }
    }
    return false;
}

WindowModel* ScriptRunner::window_of_operation(const QString& operation) const
{
    if (operation == u"Issue_PO")
        return m_facade.frm_po();
    if (operation == u"PO_receive_Goods")
        return m_facade.frm_receipt();
    if (operation == u"Invoice_this_receipt")
        return m_facade.frm_invoice();
    // The longest kind name the operation starts with: "frm_po_transaction_Exit" is not frm_po's.
    const WindowKindInfo* best = nullptr;
    qsizetype best_length = 0;
    for (const auto& kind : window_kinds) {
        for (const QString& prefix : {to_qstring(kind.reference) + u'_', to_qstring(kind.class_name) + u'_'}) {
            if (operation.startsWith(prefix) && prefix.size() > best_length) {
                best = &kind;
                best_length = prefix.size();
            }
        }
        if (operation == to_qstring(kind.showform))
            return m_facade.window(to_qstring(kind.class_name));
    }
    return best ? m_facade.window(to_qstring(best->class_name)) : nullptr;
}

ScriptRunner::Step ScriptRunner::open(const std::vector<Token>& tokens)
{
    if (tokens.size() < 2)
        return stop(QStringLiteral("open needs a window class"));
    const QString& name = tokens[1].text;
    for (const auto& kind : window_kinds) {
        if (to_qstring(kind.class_name) != name)
            continue;
        QStringList arguments;
        for (size_t index = 2; index < tokens.size(); ++index)
            arguments << tokens[index].text;
        if (!invoke(to_qstring(kind.showform), arguments))
            return stop(QStringLiteral("%1 does not take %2 argument(s)").arg(name).arg(arguments.size()));
        m_current = m_facade.window(name);
        return Step::Done;
    }
    return stop("unknown window " + name);
}

ScriptRunner::Step ScriptRunner::choose_window(const std::vector<Token>& tokens)
{
    if (tokens.size() != 2)
        return stop(QStringLiteral("window needs a window class"));
    WindowModel* window = m_facade.window(tokens[1].text);
    if (!window || window->is_closed())
        return fail("no open window " + tokens[1].text);
    m_current = window;
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::call(const std::vector<Token>& tokens)
{
    if (tokens.size() < 2)
        return stop(QStringLiteral("call needs an operation"));
    QStringList arguments;
    for (size_t index = 2; index < tokens.size(); ++index)
        arguments << tokens[index].text;
    if (!invoke(tokens[1].text, arguments))
        return stop("no operation " + tokens[1].text + QStringLiteral(" taking %1 argument(s)").arg(arguments.size()));
    if (WindowModel* window = window_of_operation(tokens[1].text))
        m_current = window;
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::go_to(const std::vector<Token>& tokens)
{
    WindowModel* window = current();
    if (!window)
        return fail(QStringLiteral("no current window"));
    if (tokens.size() != 2)
        return stop(QStringLiteral("goto needs a document number"));
    if (!invoke(window->class_name() + QStringLiteral("_goto_docno"), {tokens[1].text}))
        return fail(window->class_name() + " shows no document by number");
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::set_field(const std::vector<Token>& tokens)
{
    WindowModel* window = current();
    if (!window)
        return fail(QStringLiteral("no current window"));
    if (tokens.size() != 3)
        return stop(QStringLiteral("set needs a field and a value"));
    switch (window->type_into(tokens[1].text, tokens[2].text)) {
    case Entry::Unknown: return stop("no field " + tokens[1].text + " in " + window->class_name());
    case Entry::ReadOnly: return fail("field " + tokens[1].text + " is read-only");
    case Entry::Accepted:
    case Entry::Refused: break;
    }
    return Step::Done;
}

bool ScriptRunner::locate_cell(const QString& address, Grid*& grid, int& row)
{
    WindowModel* window = current();
    if (!window)
        return false;
    QString row_text = address;
    grid = window->main_grid();
    if (const qsizetype colon = address.lastIndexOf(u':'); colon >= 0) {
        grid = window->grid(address.left(colon));
        row_text = address.mid(colon + 1);
    }
    bool number = false;
    row = row_text.toInt(&number) - 1;
    return grid && number && row >= 0;
}

std::optional<ScriptRunner::Step> ScriptRunner::locate_address(const std::vector<Token>& tokens, size_t words,
                                                               const QString& usage, Grid*& grid, int& row)
{
    if (!current())
        return fail(QStringLiteral("no current window"));
    if (tokens.size() != words)
        return stop(usage);
    if (!locate_cell(tokens[1].text, grid, row))
        return stop("no grid row " + tokens[1].text);
    return std::nullopt;
}

std::optional<ScriptRunner::Step> ScriptRunner::locate_cell_command(const std::vector<Token>& tokens, const char* usage,
                                                                    Grid*& grid, int& row)
{
    const QString needs = QString::fromLatin1(usage) + QStringLiteral(" needs a row, a column caption and a value");
    if (auto ended = locate_address(tokens, 4, needs, grid, row))
        return ended;
    if (grid->column_index(tokens[2].text) < 0)
        return stop("no column " + quoted(tokens[2].text) + " in " + grid->name());
    return std::nullopt;
}

ScriptRunner::Step ScriptRunner::type_cell(const std::vector<Token>& tokens)
{
    Grid* grid = nullptr;
    int row = 0;
    if (auto ended = locate_cell_command(tokens, "cell", grid, row))
        return *ended;
    // Typing below the last line starts new lines, as a grid's empty last row does.
    if (row >= grid->row_count() && !grid->read_only())
        grid->set_row_count(row + 1);
    switch (grid->type_cell(row, tokens[2].text, tokens[3].text)) {
    case Entry::Unknown: return stop("no cell " + tokens[1].text + " " + quoted(tokens[2].text));
    case Entry::ReadOnly: return fail("cell " + tokens[1].text + " " + quoted(tokens[2].text) + " is read-only");
    case Entry::Accepted:
    case Entry::Refused: break;
    }
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::command(const std::vector<Token>& tokens)
{
    WindowModel* window = current();
    if (!window)
        return fail(QStringLiteral("no current window"));
    bool number = false;
    const int id = tokens.size() == 2 ? tokens[1].text.toInt(&number) : 0;
    if (!number)
        return stop(QStringLiteral("command needs a numeric id"));
    const Command* found = window->find_command(id);
    if (!found)
        return fail(QStringLiteral("%1 has no command %2").arg(window->class_name()).arg(id));
    if (!found->enabled)
        return fail(QStringLiteral("command %1 is not available").arg(id));
    window->execute(id);
    return Step::Done;
}

void ScriptRunner::read_rows_up_to(Grid& grid, int row)
{
    // A grid read a page at a time reads on as a clerk scrolling down would.
    while (row >= grid.row_count() && grid.fetch_more()) {
    }
}

ScriptRunner::Step ScriptRunner::row_command(const std::vector<Token>& tokens)
{
    const QString& verb = tokens.front().text;
    Grid* grid = nullptr;
    int row = 0;
    if (auto ended = locate_address(tokens, 2, verb + QStringLiteral(" needs [GRID:]ROW"), grid, row))
        return *ended;
    read_rows_up_to(*grid, row);
    if (row >= grid->row_count())
        return fail("the grid has no row " + tokens[1].text);
    if (verb == u"select")
        grid->set_current(row, std::max(grid->current_column(), 0));
    else if (verb == u"pick")
        current()->activate_row(*grid, row);
    else if (!grid->has_delete_buttons())
        return fail(grid->name() + " shows no delete buttons");
    else
        current()->delete_row(*grid, row);
    return Step::Done;
}

// Answers and expectations ----------------------------------------------------------------------

ScriptRunner::Step ScriptRunner::answer(const std::vector<Token>& tokens)
{
    if (tokens.size() != 2)
        return stop(QStringLiteral("answer needs one answer"));
    const Token& given = tokens[1];
    if (given.quoted)
        m_prompter.answer_text(given.text);
    else if (given.text == u"yes")
        m_prompter.answer_yes();
    else if (given.text == u"no")
        m_prompter.answer_no();
    else if (given.text == u"ok")
        m_prompter.answer_ok();
    else if (given.text == u"cancel")
        m_prompter.answer_cancel();
    else
        m_prompter.answer_text(given.text);
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::expect_message(const std::vector<Token>& tokens)
{
    if (tokens.size() != 2)
        return stop(QStringLiteral("expect needs the message text"));
    const auto& records = m_prompter.records();
    while (m_checked_records < records.size() && records[m_checked_records].kind != ScriptedPrompter::Kind::Message)
        ++m_checked_records;
    if (m_checked_records >= records.size())
        return fail("expected message " + quoted(tokens[1].text) + ", none was shown");
    const QString shown = records[m_checked_records++].text;
    if (shown != tokens[1].text)
        return fail("expected message " + quoted(tokens[1].text) + ", shown " + quoted(shown));
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::expect_notify(const std::vector<Token>& tokens)
{
    if (tokens.size() < 2 || tokens.size() > 4)
        return stop(QStringLiteral("expect-notify needs FORMX [DOCNO [ARG2]]"));
    if (m_notifications.empty())
        return fail("expected notification " + quoted(tokens[1].text) + ", none was sent");
    const Notification sent = m_notifications.front();
    m_notifications.pop_front();
    const bool same = sent.formx == tokens[1].text && (tokens.size() < 3 || sent.docnox == tokens[2].text)
                      && (tokens.size() < 4 || sent.arg2 == tokens[3].text);
    if (!same)
        return fail("expected notification " + quoted(tokens[1].text) + ", sent " + sent.formx + " | " + sent.docnox
                    + " | " + sent.arg2);
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::expect_field(const std::vector<Token>& tokens)
{
    WindowModel* window = current();
    if (!window)
        return fail(QStringLiteral("no current window"));
    if (tokens.size() != 3)
        return stop(QStringLiteral("expect-field needs a field and a value"));
    const Field* field = window->find_field(tokens[1].text);
    if (!field)
        return stop("no field " + tokens[1].text + " in " + window->class_name());
    if (field->value != tokens[2].text)
        return fail("field " + tokens[1].text + " is " + quoted(field->value) + ", expected " + quoted(tokens[2].text));
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::expect_cell(const std::vector<Token>& tokens)
{
    Grid* grid = nullptr;
    int row = 0;
    if (auto ended = locate_cell_command(tokens, "expect-cell", grid, row))
        return *ended;
    read_rows_up_to(*grid, row);
    if (row >= grid->row_count())
        return fail("the grid has no row " + tokens[1].text);
    const QString value = grid->cell(row, tokens[2].text);
    if (value != tokens[3].text)
        return fail("cell " + tokens[1].text + " " + quoted(tokens[2].text) + " is " + quoted(value) + ", expected "
                    + quoted(tokens[3].text));
    return Step::Done;
}

// Database --------------------------------------------------------------------------------------

ScriptRunner::Step ScriptRunner::sql(const std::vector<Token>& tokens)
{
    if (tokens.size() != 2)
        return stop(QStringLiteral("sql needs one quoted statement"));
    const QString statement = tokens[1].text.trimmed();
    const bool reads = statement.startsWith(u"select", Qt::CaseInsensitive)
                       || statement.startsWith(u"with", Qt::CaseInsensitive);
    if (!reads) {
        auto changed = m_db.execute(statement);
        if (!changed)
            return stop("database: " + changed.error().detail);
        m_out << *changed << " row(s)" << Qt::endl;
        return Step::Done;
    }
    auto rows = m_db.select(statement);
    if (!rows)
        return stop("database: " + rows.error().detail);
    for (const Row& row : *rows) {
        QStringList values;
        for (int column = 0; column < row.size(); ++column)
            values << printable(row.value(column));
        m_out << values.join(QStringLiteral(" | ")) << Qt::endl;
    }
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::expect_sql(const std::vector<Token>& tokens)
{
    if (tokens.size() != 3)
        return stop(QStringLiteral("expect-sql needs a quoted query and a value"));
    auto value = m_db.scalar(tokens[1].text);
    if (!value)
        return stop("database: " + value.error().detail);
    const QString actual = printable(*value);
    if (!same_value(actual, tokens[2].text))
        return fail("query gave " + quoted(actual) + ", expected " + quoted(tokens[2].text));
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::check(const std::vector<Token>& tokens)
{
    if (tokens.size() != 1)
        return stop(QStringLiteral("check takes no arguments"));
    auto violations = check_invariants(m_db, company_invariant_checks());
    if (!violations)
        return stop("database: " + violations.error().detail);
    if (violations->isEmpty()) {
        m_out << "consistent" << Qt::endl;
        return Step::Done;
    }
    for (const QString& violation : std::as_const(*violations))
        fail(violation);
    return Step::Failed;
}

// Listings --------------------------------------------------------------------------------------

ScriptRunner::Step ScriptRunner::print_fields()
{
    WindowModel* window = current();
    if (!window)
        return fail(QStringLiteral("no current window"));
    for (const Field& field : window->fields())
        m_out << field.name() << " = " << field.value << (window->field_editable(field.name()) ? "" : " (read-only)")
              << Qt::endl;
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::print_grid()
{
    WindowModel* window = current();
    if (!window)
        return fail(QStringLiteral("no current window"));
    Grid* grid = window->main_grid();
    if (!grid)
        return fail(window->class_name() + " has no line grid");
    QStringList captions;
    for (const GridColumn& column : grid->columns())
        if (!column.hidden)
            captions << column.caption;
    m_out << captions.join(QStringLiteral(" | ")) << Qt::endl;
    for (int row = 0; row < grid->row_count(); ++row) {
        QStringList values;
        for (int column = 0; column < grid->column_count(); ++column)
            if (!grid->column(column).hidden)
                values << grid->cell(row, column);
        m_out << row + 1 << ": " << values.join(QStringLiteral(" | ")) << Qt::endl;
    }
    return Step::Done;
}

} // namespace zelkor::script
