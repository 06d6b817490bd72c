#pragma once
// Failing every statement of a command in turn: the test that a database error anywhere in a
// save, an edit or a void rolls everything back, keeps the clerk's input and says so.

#include "tests/support/test_database.h"
#include "windows/base/prompter.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>

namespace zelkor::testing {

/// Whether a message calls the input invalid or missing, which a failed statement never is.
inline bool says_invalid_or_missing(const QStringList& messages)
{
    for (const QString& text : messages)
        if (text.contains(u"invalid", Qt::CaseInsensitive) || text.contains(u"not found")
            || text.contains(u"does not exist"))
            return true;
    return false;
}

/// How one command is failed statement by statement.
struct StatementFailures {
    TestDatabase& t;
    ScriptedPrompter& prompter;
    QString failed;                      ///< the message each failed try ends with
    bool answer_yes = false;             ///< answer "yes" to the command's question
    std::function<QStringList()> state;  ///< what a failed try leaves exactly as it found
    int limit = 1000;                    ///< the command completes before this statement
};

/// Runs `command` with statement 1, 2, ... failing until it completes. Every failed try must
/// end with `failed`, never call the input invalid or missing, and leave `state` unchanged.
/// Returns how many tries failed.
inline int fail_each_statement(const StatementFailures& run, const std::function<bool()>& command)
{
    const QStringList before = run.state ? run.state() : QStringList{};
    int failures = 0;
    for (int statement = 1;; ++statement) {
        if (statement >= run.limit) {
            ADD_FAILURE() << "the command never completed";
            break;
        }
        run.prompter.clear();
        if (run.answer_yes)
            run.prompter.answer_yes();
        run.t.db().fail_statement(statement);
        const bool done = command();
        run.t.db().fail_statement(0);
        run.prompter.clear_answers();
        if (done)
            break;
        SCOPED_TRACE(statement);
        ++failures;
        const QStringList said = run.prompter.messages();
        EXPECT_FALSE(says_invalid_or_missing(said)) << said.join(" | ").toStdString();
        if (said.isEmpty()) {
            ADD_FAILURE() << "a failed try said nothing";
            break;
        }
        EXPECT_EQ(said.last(), run.failed);
        if (run.state) {
            const QStringList after = run.state();
            EXPECT_EQ(after, before) << "a failed try changed what it must leave as it was";
            if (after != before)
                break;
        }
    }
    return failures;
}

} // namespace zelkor::testing
