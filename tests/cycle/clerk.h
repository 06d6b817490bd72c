#pragma once
// The clerk of the cycle tests: the module's facade on the company database, one window of each
// document kind, and a prompter that answers questions as the step at hand wants.

#include "facade/POclass.h"

#include <QStringList>

#include <optional>

namespace zelkor::cycle {

/// Answers every question one way (Yes and OK, or No and Cancel) and a text prompt with the
/// text it was given; keeps every message shown.
class ClerkPrompter : public Prompter {
public:
    enum class Answers { Confirm, Decline };

    void set_answers(Answers answers) { m_answers = answers; }
    Answers answers() const { return m_answers; }
    /// What the next text prompts are answered (a template's name); nothing cancels them.
    void set_prompt_answer(std::optional<QString> text) { m_prompt_answer = std::move(text); }

    void message(const QString& text, const QString& title = {}) override;
    bool ask_yes_no(const QString& text, const QString& title = {}) override;
    bool ask_ok_cancel(const QString& text, const QString& title = {}) override;
    std::optional<QString> prompt(const QString& text, const QString& title = {}, const QString& initial = {}) override;

    /// The number of messages shown so far; messages_since(mark) gives those shown after it.
    qsizetype mark() const { return m_shown; }
    QStringList messages_since(qsizetype mark) const;
    QString last() const { return m_recent.isEmpty() ? QString() : m_recent.last(); }

private:
    void keep(const QString& text);

    Answers m_answers = Answers::Confirm;
    std::optional<QString> m_prompt_answer;
    QStringList m_recent; ///< the newest messages and questions
    qsizetype m_shown = 0;
};

/// What a window shows: its mode, every field and every grid's rows. A command that failed
/// must keep what the clerk typed.
struct WindowState {
    WindowModel::Mode mode = WindowModel::Mode::Read;
    QStringList fields;
    std::vector<std::vector<QStringList>> grids;

    static WindowState of(const WindowModel& window);
    /// What of this input is lost in `after`, in words; empty when nothing is: every field and cell
    /// that held something holds the same (the checks may fill in empty ones), the mode stays.
    QString lost_in(const WindowState& after) const;
};

/// The facade with the host's settings on one database, and the windows a clerk keeps open.
class Clerk {
public:
    explicit Clerk(Database& db);
    ~Clerk();

    POclass& facade() { return m_facade; }
    ClerkPrompter& prompter() { return m_prompter; }
    Database& db() { return m_db; }

    /// The newest window of each kind, opened when none is open.
    POform_pr& requisition();
    POform_po& order();
    POform_receipt& receipt();
    POform_invoice& invoice();
    POform_landed& landed();

    /// Leaves new or edit mode without saving (the clerk answers No), so that the window shows a
    /// saved document or nothing; a window that will not leave its mode is closed.
    void settle(WindowModel& window);
    /// Settles every open document window.
    void settle_all();
    /// Closes every window, as a clerk going home does (work left unsaved is thrown away).
    void close_all();

private:
    Database& m_db;
    ClerkPrompter m_prompter;
    POclass m_facade;
};

} // namespace zelkor::cycle
