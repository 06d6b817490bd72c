#include "windows/base/prompter.h"

#include <QLoggingCategory>
#include <QStringList>

namespace zelkor {

namespace {

Q_LOGGING_CATEGORY(lcUnattended, "zelkor.prompter")

QString answer_word(ScriptedPrompter::Answer answer)
{
    switch (answer) {
    case ScriptedPrompter::Answer::Yes: return QStringLiteral("yes");
    case ScriptedPrompter::Answer::No: return QStringLiteral("no");
    case ScriptedPrompter::Answer::Ok: return QStringLiteral("ok");
    case ScriptedPrompter::Answer::Cancel: return QStringLiteral("cancel");
    case ScriptedPrompter::Answer::Text: break;
    }
    return {};
}

bool is_positive(ScriptedPrompter::Answer answer)
{
    return answer == ScriptedPrompter::Answer::Yes || answer == ScriptedPrompter::Answer::Ok;
}

} // namespace

void UnattendedPrompter::message(const QString& text, const QString& title)
{
    qCInfo(lcUnattended).noquote() << title << "|" << text;
}

bool UnattendedPrompter::ask_yes_no(const QString& text, const QString& title)
{
    qCWarning(lcUnattended).noquote() << title << "| question answered No, nobody to ask:" << text;
    return false;
}

bool UnattendedPrompter::ask_ok_cancel(const QString& text, const QString& title)
{
    qCWarning(lcUnattended).noquote() << title << "| question answered Cancel, nobody to ask:" << text;
    return false;
}

std::optional<QString> UnattendedPrompter::prompt(const QString& text, const QString& title, const QString&)
{
    qCWarning(lcUnattended).noquote() << title << "| prompt cancelled, nobody to ask:" << text;
    return std::nullopt;
}

void ScriptedPrompter::add(Record record)
{
    m_records.push_back(record);
    if (on_record)
        on_record(m_records.back());
}

void ScriptedPrompter::message(const QString& text, const QString& title)
{
    add({Kind::Message, text, title, {}, true});
}

ScriptedPrompter::Queued ScriptedPrompter::take_answer(Kind kind, const QString& text, const QString& title)
{
    if (m_answers.empty()) {
        ++m_unanswered;
        add({kind, text, title, {}, false});
        throw UnansweredQuestion(text);
    }
    Queued queued = m_answers.front();
    m_answers.pop_front();
    const bool text_answer = queued.answer == Answer::Text;
    // A prompt takes a text, or OK (keep the offered text) or Cancel; a question takes no text.
    const bool fits = kind == Kind::Prompt ? queued.answer != Answer::Yes && queued.answer != Answer::No : !text_answer;
    if (!fits) {
        ++m_unanswered;
        add({kind, text, title, answer_word(queued.answer), false});
        throw UnfitAnswer(("answer does not fit the question: " + text).toStdString());
    }
    add({kind, text, title, text_answer ? queued.text : answer_word(queued.answer), true});
    return queued;
}

bool ScriptedPrompter::ask_yes_no(const QString& text, const QString& title)
{
    return is_positive(take_answer(Kind::YesNo, text, title).answer);
}

bool ScriptedPrompter::ask_ok_cancel(const QString& text, const QString& title)
{
    return is_positive(take_answer(Kind::OkCancel, text, title).answer);
}

std::optional<QString> ScriptedPrompter::prompt(const QString& text, const QString& title, const QString& initial)
{
    const Queued queued = take_answer(Kind::Prompt, text, title);
    if (queued.answer == Answer::Cancel)
        return std::nullopt;
    if (queued.answer == Answer::Ok)
        return initial;
    return queued.text;
}

QStringList ScriptedPrompter::messages() const
{
    QStringList texts;
    for (const auto& record : m_records)
        if (record.kind == Kind::Message)
            texts << record.text;
    return texts;
}

QString ScriptedPrompter::last() const
{
    return m_records.empty() ? QString() : m_records.back().text;
}

void ScriptedPrompter::clear()
{
    m_records.clear();
    m_answers.clear();
    m_unanswered = 0;
}

} // namespace zelkor
