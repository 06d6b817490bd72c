#pragma once

#include <QString>

#include <expected>
#include <vector>

namespace zelkor::script {

/// One argument of a script line; a quoted one is always taken as text ("yes" is not yes).
struct Token {
    QString text;
    bool quoted = false;
};

/// Splits a script line into blank-separated arguments. `"…"` quotes an argument, with `\"` and
/// `\\` as escapes; `#` outside quotes starts a comment. An unclosed quote is an error.
[[nodiscard]] std::expected<std::vector<Token>, QString> split_line(const QString& line);

} // namespace zelkor::script
