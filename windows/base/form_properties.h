#pragma once

#include "core/db/database.h"
#include "core/db/error.h"

#include <QString>

#include <expected>
#include <optional>

namespace zelkor {

/// A user's remembered choices on one window; an empty value leaves the window's default.
struct FormProperties {
    std::optional<bool> toolbar_text{}; ///< captions under the toolbar icons
    std::optional<bool> fontbar{};      ///< the font panel is shown
};

/// Reads the user's row for the window; nothing when the user has no row (the defaults stay).
[[nodiscard]] std::expected<std::optional<FormProperties>, Error> load_form_properties(Database& db, const QString& userid,
                                                                         const QString& form);

/// Stores both choices in the user's existing row; a user without a row is not remembered (no
/// row is added). Gives whether a row was there.
[[nodiscard]] std::expected<bool, Error> save_form_properties(Database& db, const QString& userid, const QString& form,
                                                bool toolbar_text, bool fontbar);

/// The remembered value of a field of the window; nothing when the window has no such row.
[[nodiscard]] std::expected<std::optional<QString>, Error> recent_value(Database& db, const QString& form,
                                                          const QString& control_name);

/// Stores a field's value in the window's existing row for it (rows are set up with the suite and
/// never added). Gives whether the row was there.
[[nodiscard]] std::expected<bool, Error> remember_value(Database& db, const QString& form, const QString& control_name,
                                          const QString& value);

/// Whether grids are drawn with a colour on every second row: one switch shared by every window
/// and user. Off when the row is missing.
[[nodiscard]] std::expected<bool, Error> alternate_row_colour(Database& db);
/// Turns the shared switch on or off (the existing row only). Gives whether the row was there.
[[nodiscard]] std::expected<bool, Error> set_alternate_row_colour(Database& db, bool on);

} // namespace zelkor
