#include "clerk.h"

namespace zelkor::cycle {

namespace {

constexpr qsizetype KeptMessages = 40;

} // namespace

void ClerkPrompter::keep(const QString& text)
{
    m_recent << text;
    if (m_recent.size() > KeptMessages)
        m_recent.removeFirst();
    ++m_shown;
}

void ClerkPrompter::message(const QString& text, const QString&) { keep(text); }

bool ClerkPrompter::ask_yes_no(const QString& text, const QString&)
{
    keep(text);
    return m_answers == Answers::Confirm;
}

bool ClerkPrompter::ask_ok_cancel(const QString& text, const QString&)
{
    keep(text);
    return m_answers == Answers::Confirm;
}

std::optional<QString> ClerkPrompter::prompt(const QString& text, const QString&, const QString&)
{
    keep(text);
    return m_answers == Answers::Confirm ? m_prompt_answer : std::nullopt;
}

QStringList ClerkPrompter::messages_since(qsizetype mark) const
{
    const qsizetype count = std::min(m_shown - mark, m_recent.size());
    return count <= 0 ? QStringList() : m_recent.mid(m_recent.size() - count);
}

WindowState WindowState::of(const WindowModel& window)
{
    WindowState state;
    state.mode = window.mode();
    for (const Field& field : window.fields())
        state.fields << field.name() + u'=' + field.value;
    for (const Grid* grid : window.grids())
        state.grids.push_back(grid->rows());
    return state;
}

QString WindowState::lost_in(const WindowState& after) const
{
    if (mode != after.mode)
        return QStringLiteral("the mode changed");
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString& field = fields[i];
        if (!field.endsWith(u'=') && (i >= after.fields.size() || after.fields[i] != field))
            return QStringLiteral("field ") + field + QStringLiteral(" became ") + after.fields.value(i);
    }
    for (size_t grid = 0; grid < grids.size(); ++grid)
        for (size_t row = 0; row < grids[grid].size(); ++row)
            for (qsizetype column = 0; column < grids[grid][row].size(); ++column) {
                const QString& cell = grids[grid][row][column];
                const bool kept = row < after.grids[grid].size() && after.grids[grid][row].value(column) == cell;
                if (!cell.isEmpty() && !kept)
                    return QStringLiteral("grid %1 row %2 column %3 lost \"%4\"").arg(grid).arg(row + 1).arg(column).arg(cell);
            }
    return {};
}

Clerk::Clerk(Database& db) : m_db(db)
{
    m_facade.set_prompter(&m_prompter);
    m_facade.set_cnx(&db);
    m_facade.set_dbe(&db);
    m_facade.set_abcdb(&db);
    m_facade.set_BASE_CURRENCY(QStringLiteral("USD"));
    m_facade.set_ZELKOR_COMPANY_NAME(QStringLiteral("Cycle Company"));
    m_facade.set_ZELKOR_USER(QStringLiteral("ADMIN"));
    m_facade.set_ZELKOR_DATE_FORMAT(QStringLiteral("dd/mm/yyyy"));
    m_facade.set_ZELKOR_NO_PERIODS(QStringLiteral("12"));
}

Clerk::~Clerk()
{
    close_all();
    m_facade.class_terminate();
}

POform_pr& Clerk::requisition()
{
    if (!m_facade.frm_pr() || m_facade.frm_pr()->is_closed())
        m_facade.showform_POform_pr();
    return *m_facade.frm_pr();
}

POform_po& Clerk::order()
{
    if (!m_facade.frm_po() || m_facade.frm_po()->is_closed())
        m_facade.showform_POform_po();
    return *m_facade.frm_po();
}

POform_receipt& Clerk::receipt()
{
    if (!m_facade.frm_receipt() || m_facade.frm_receipt()->is_closed())
        m_facade.showform_POform_receipt();
    return *m_facade.frm_receipt();
}

POform_invoice& Clerk::invoice()
{
    if (!m_facade.frm_invoice() || m_facade.frm_invoice()->is_closed())
        m_facade.showform_POform_invoice();
    return *m_facade.frm_invoice();
}

POform_landed& Clerk::landed()
{
    if (!m_facade.frm_landed() || m_facade.frm_landed()->is_closed())
        m_facade.showform_POform_landed();
    return *m_facade.frm_landed();
}

void Clerk::settle(WindowModel& window)
{
    if (window.is_closed() || window.mode() == WindowModel::Mode::Read)
        return;
    const ClerkPrompter::Answers answers = m_prompter.answers();
    m_prompter.set_answers(ClerkPrompter::Answers::Decline);
    for (int attempt = 0; attempt < 2 && window.mode() != WindowModel::Mode::Read; ++attempt)
        window.execute(window.mode() == WindowModel::Mode::New ? CommandId::New : CommandId::EditMode);
    if (window.mode() != WindowModel::Mode::Read)
        window.close_window(WindowModel::Closing::Unload);
    m_prompter.set_answers(answers);
}

void Clerk::settle_all()
{
    for (WindowModel* window : {static_cast<WindowModel*>(m_facade.frm_pr()), static_cast<WindowModel*>(m_facade.frm_po()),
                                static_cast<WindowModel*>(m_facade.frm_receipt()),
                                static_cast<WindowModel*>(m_facade.frm_invoice()),
                                static_cast<WindowModel*>(m_facade.frm_landed())})
        if (window)
            settle(*window);
}

void Clerk::close_all()
{
    const ClerkPrompter::Answers answers = m_prompter.answers();
    m_prompter.set_answers(ClerkPrompter::Answers::Decline);
    for (const WindowKindInfo& kind : window_kinds)
        if (WindowModel* window = m_facade.window(QString::fromLatin1(kind.reference)); window && !window->is_closed())
            window->close_window(WindowModel::Closing::Unload);
    m_prompter.set_answers(answers);
}

} // namespace zelkor::cycle
