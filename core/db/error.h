#pragma once

#include <QString>

namespace zelkor {

/// A problem a routine reports to its caller instead of throwing: a user's input that cannot be
/// accepted, or a database call that failed. `message` is fit for the user (the window's own
/// sentence); `detail` keeps the driver's text for the log and never reaches a message box.
struct Error {
    enum class Kind { Database, Locked, Invalid, NotFound };

    Kind kind = Kind::Database;
    QString message;
    QString detail;

    static Error database(QString detail) { return {Kind::Database, QStringLiteral("database error"), std::move(detail)}; }
    static Error invalid(QString message) { return {Kind::Invalid, std::move(message), {}}; }
    static Error not_found(QString message) { return {Kind::NotFound, std::move(message), {}}; }
    static Error locked(QString detail) { return {Kind::Locked, QStringLiteral("record is locked by another user"), std::move(detail)}; }
};

/// A typed value as a message repeats it: cut to its first 60 characters (with "...") so that a
/// long paste never floods a message box.
inline QString shown_value(const QString& typed)
{
    constexpr qsizetype Longest = 60;
    return typed.size() <= Longest ? typed : typed.left(Longest) + QStringLiteral("...");
}

} // namespace zelkor
