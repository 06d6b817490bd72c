#pragma once

#include "facade/POclass.h"
#include "script/script_line.h"
#include "windows/base/prompter.h"

#include <optional>
#include <QObject>
#include <QTextStream>

#include <deque>

namespace zelkor::script {

/// The outcome of a script: every expectation held, one failed, or the script or the database
/// stopped it.
enum class Outcome { Passed = 0, Failed = 1, Error = 2 };

/// Runs a window script against a company database through the facade, as a clerk would work
/// the windows. Messages, questions, notifications and failed expectations are written to `out`.
class ScriptRunner : public QObject {
    Q_OBJECT
public:
    ScriptRunner(Database& db, POclass& facade, ScriptedPrompter& prompter, QTextStream& out);

    Outcome run(const QString& script);

private:
    /// The result of one line: fine, an expectation failed (the script goes on), or the line
    /// cannot run (the script stops).
    enum class Step { Done, Failed, Stop };

    Step run_line(const std::vector<Token>& tokens);
    Step open(const std::vector<Token>& tokens);
    Step choose_window(const std::vector<Token>& tokens);
    Step set_field(const std::vector<Token>& tokens);
    Step type_cell(const std::vector<Token>& tokens);
    Step command(const std::vector<Token>& tokens);
    Step go_to(const std::vector<Token>& tokens);
    Step call(const std::vector<Token>& tokens);
    Step answer(const std::vector<Token>& tokens);
    Step expect_message(const std::vector<Token>& tokens);
    Step expect_notify(const std::vector<Token>& tokens);
    Step expect_field(const std::vector<Token>& tokens);
    Step expect_cell(const std::vector<Token>& tokens);
    /// "select", "pick" and "remove" of a grid row: make it current, activate it, delete it.
    Step row_command(const std::vector<Token>& tokens);
    Step sql(const std::vector<Token>& tokens);
    Step expect_sql(const std::vector<Token>& tokens);
    Step check(const std::vector<Token>& tokens);
    Step print_fields();
    Step print_grid();

    /// Calls a public operation of the facade by name with text arguments.
    bool invoke(const QString& operation, const QStringList& arguments);
    /// The window an operation of the facade acts on ("frm_po_Exit" -> the order window).
    WindowModel* window_of_operation(const QString& operation) const;
    /// The grid and row a cell address names: "3" (main grid) or "dbgrid_landed:1".
    bool locate_cell(const QString& address, Grid*& grid, int& row);
    /// Checks a cell command's words (current window, ROW "CAPTION" VALUE, the grid and its
    /// column) and finds the cell; gives the step to end the command with when it cannot.
    std::optional<Step> locate_cell_command(const std::vector<Token>& tokens, const char* usage, Grid*& grid, int& row);
    /// Checks that a command has its number of words and finds the grid and row of its address;
    /// gives the step to end the command with when it cannot.
    std::optional<Step> locate_address(const std::vector<Token>& tokens, size_t words, const QString& usage, Grid*& grid,
                                       int& row);
    WindowModel* current() const;
    void read_rows_up_to(Grid& grid, int row);

    Step fail(const QString& what);
    Step stop(const QString& what);

    Database& m_db;
    POclass& m_facade;
    ScriptedPrompter& m_prompter;
    QTextStream& m_out;
    QPointer<WindowModel> m_current;
    int m_line = 0;
    size_t m_checked_records = 0;
    struct Notification {
        QString formx, docnox, arg2;
    };
    std::deque<Notification> m_notifications;
};

} // namespace zelkor::script
