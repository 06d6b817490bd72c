#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace zelkor {

/// Message boxes and questions of a window. The Qt view supplies one built on QMessageBox and
/// QInputDialog; tests and scripts use ScriptedPrompter. Window models never show anything else.
class Prompter {
public:
    virtual ~Prompter() = default;

    /// A message box with an OK button.
    virtual void message(const QString& text, const QString& title = {}) = 0;
    /// A Yes/No question; true for Yes.
    virtual bool ask_yes_no(const QString& text, const QString& title = {}) = 0;
    /// An OK/Cancel question; true for OK.
    virtual bool ask_ok_cancel(const QString& text, const QString& title = {}) = 0;
    /// A text prompt; nothing when cancelled.
    virtual std::optional<QString> prompt(const QString& text, const QString& title = {},
                                          const QString& initial = {}) = 0;
};

/// The prompter of a window that nobody gave one (a host without a view, a batch run): messages
/// go to the log, questions are answered No or Cancel, prompts are cancelled, so that nothing is
/// ever written on an answer nobody gave. It never throws.
class UnattendedPrompter : public Prompter {
public:
    void message(const QString& text, const QString& title = {}) override;
    bool ask_yes_no(const QString& text, const QString& title = {}) override;
    bool ask_ok_cancel(const QString& text, const QString& title = {}) override;
    std::optional<QString> prompt(const QString& text, const QString& title = {},
                                  const QString& initial = {}) override;
};

/// Raised by ScriptedPrompter when a question comes and no answer was queued for it: a test or
/// script that forgot an answer must fail at once instead of waiting for a click.
class UnansweredQuestion : public std::logic_error {
public:
    explicit UnansweredQuestion(const QString& question)
        : std::logic_error(("question with no answer queued: " + question).toStdString()) {}
};

/// Raised when the queued answer does not fit the question (a text for a Yes/No question).
class UnfitAnswer : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

/// A prompter that records every message and question and answers questions from a queue.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, YesNo, OkCancel, Prompt };
    enum class Answer { Yes, No, Ok, Cancel, Text };

    struct Record {
        Kind kind = Kind::Message;
        QString text;
        QString title;
        QString answer;       ///< "yes", "no", "ok", "cancel" or the text given; empty for messages
        bool answered = true; ///< false when no answer was queued (the question failed)
    };

    void message(const QString& text, const QString& title = {}) override;
    bool ask_yes_no(const QString& text, const QString& title = {}) override;
    bool ask_ok_cancel(const QString& text, const QString& title = {}) override;
    std::optional<QString> prompt(const QString& text, const QString& title = {},
                                  const QString& initial = {}) override;

    void answer_yes() { m_answers.push_back({Answer::Yes, {}}); }
    void answer_no() { m_answers.push_back({Answer::No, {}}); }
    void answer_ok() { m_answers.push_back({Answer::Ok, {}}); }
    void answer_cancel() { m_answers.push_back({Answer::Cancel, {}}); }
    void answer_text(const QString& text) { m_answers.push_back({Answer::Text, text}); }
    void clear_answers() { m_answers.clear(); }

    /// Everything shown or asked so far, oldest first.
    const std::vector<Record>& records() const { return m_records; }
    /// The texts of the plain messages, oldest first.
    QStringList messages() const;
    /// The text of the newest message or question; empty when nothing was shown.
    QString last() const;
    /// The number of questions that came with no answer queued.
    int unanswered() const { return m_unanswered; }
    void clear();

    /// Called for each record as it happens (the script runner prints them).
    std::function<void(const Record&)> on_record;

private:
    struct Queued {
        Answer answer;
        QString text;
    };
    Queued take_answer(Kind kind, const QString& text, const QString& title);
    void add(Record record);

    std::deque<Queued> m_answers;
    std::vector<Record> m_records;
    int m_unanswered = 0;
};

} // namespace zelkor
