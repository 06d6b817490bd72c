#pragma once

#include "core/db/error.h"
#include "core/money/decimal.h"

#include <QColor>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

class Database;

/// A paper the page-setup window offers, with its size in its own unit.
struct PaperSize {
    QString name;
    Decimal width;
    Decimal height;
    QString unit; ///< "mm" or "inch"
};

namespace paper {
inline const QString Letter = QStringLiteral("LETTER (8.5x11 in.)");
inline const QString UserDefined = QStringLiteral("User defined paper size");
inline const QString Millimetre = QStringLiteral("mm");
inline const QString Inch = QStringLiteral("inch");
} // namespace paper

/// The papers of the page-setup list, "User defined paper size" last (its size is typed).
const std::vector<PaperSize>& paper_sizes();
/// The paper of that name (case-insensitive); nothing for an unknown name or a user-defined size.
std::optional<PaperSize> find_paper(const QString& name);

/// How a list wider than the page is printed.
enum class SplitPage {
    ShrinkToWidth,      ///< every column on the page, the widths scaled to the page width
    ContinueOnNextPage, ///< columns keep their width; those that do not fit go onto further pages
};
/// The texts the page-setup window offers for `split_page`, in the order of SplitPage.
QStringList split_page_choices();
/// Reads a stored `split_page` text; an empty or unknown text shrinks to the page width.
SplitPage split_page_of(const QString& text);

/// A colour as the suite stores it: red + 256 × green + 65536 × blue (the colour picker's six
/// digits convert with colour_value and colour_hex of colour_list.h).
QColor color_of_value(qint64 value);

/// The page format of one user's printout of one window (a Report_format_table row).
/// Font size, row height and margins are in points (1/72 inch), as the font size is; the paper
/// is measured in `unit`.
struct ReportFormat {
    QString font_name = QStringLiteral("DejaVu Sans");
    Decimal font_size{"10.5"};
    bool bold = false;
    qint64 font_color = 0;
    qint64 evenrow_color = 0xf0f0f0;
    bool disabled_evenrow_color = false;
    bool use_grid_font = false;
    bool column_divider = false;
    QString split_page{};
    Decimal row_height{14};
    Decimal top_margin{36};
    Decimal bottom_margin{36};
    Decimal left_margin{36};
    Decimal right_margin{36};
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QString paper_size = paper::Letter;
    Decimal width{"8.5"};
    Decimal height{11};
    QString unit = paper::Inch;

    /// The paper in points, as tall as it is wide in portrait (the orientation turns it).
    QSizeF paper_points() const;
    /// The stored `Orientation`: "1" portrait, "2" landscape.
    QString orientation_code() const;
    static QPageLayout::Orientation orientation_of_code(const QString& code);
};

/// The stored format of `user` for `form_name`; nothing when the user has none.
[[nodiscard]] std::expected<std::optional<ReportFormat>, Error> load_report_format(Database& db, const QString& user,
                                                                     const QString& form_name);
/// The stored format, or the defaults (landscape letter paper) when the user has none.
[[nodiscard]] std::expected<ReportFormat, Error> report_format_or_default(Database& db, const QString& user,
                                                           const QString& form_name);
/// Adds or replaces the user's format for the window in one transaction.
[[nodiscard]] std::expected<void, Error> save_report_format(Database& db, const QString& user, const QString& form_name,
                                              const ReportFormat& format);

} // namespace zelkor
