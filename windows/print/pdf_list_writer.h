#pragma once

#include "core/db/error.h"
#include "windows/print/report_format.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTime>

#include <expected>
#include <functional>
#include <optional>
#include <vector>

namespace zelkor {

/// One printed column: what the grid shows of it and how its stored layout styles it.
struct PrintColumn {
    QString caption{};
    int width = 0;                    ///< grid pixels (96 an inch); 0 takes a default width
    Qt::Alignment alignment = Qt::AlignLeft;
    QString format{};                 ///< number format of the cells, applied when it begins with "#"
    std::optional<QFont> font{};      ///< the column's grid font; printed when the format says use_grid_font
    QColor color{};                   ///< the column's text colour; invalid = the format's font colour
};

/// One printed row: one text per printed column.
struct PrintRow {
    QStringList cells{};
    bool struck_out = false; ///< drawn with a line through it (void documents)
};

/// A list to print: the title block and the printed columns in grid order with their rows.
/// Report windows fill it from their grid and its stored layout.
struct PrintList {
    QString title{};
    QString print_date{};       ///< shown after "print : "
    QString transaction_date{}; ///< shown after "Transaction Date : " when not empty
    QString until_date{};       ///< shown after "Until Date : " when not empty
    /// "label : value" pairs under the title, `fields_per_line` to a line: the header of a
    /// printed document, or the whole page of a record printed alone (no columns).
    std::vector<std::pair<QString, QString>> fields{};
    int fields_per_line = 3;
    std::vector<PrintColumn> columns{};
    std::vector<PrintRow> rows{};
};

/// Writes the list as a PDF file at `path` on the user's page format: the title block and the
/// column headings on every page, the rows below them page after page, the page numbers at the
/// foot. Nothing is left at `path` when it fails.
[[nodiscard]] std::expected<void, Error> write_list_pdf(const PrintList& list, const ReportFormat& format, const QString& path);

/// A written report and the notification that shows it.
struct ReportFile {
    QString path;
    QString viewer; ///< "pdf viewer" or "pdf viewer landscape"
};

/// The folder "User report" under the data path, created when missing.
[[nodiscard]] std::expected<QString, Error> user_report_folder(const QString& data_path);
/// stem + "hhmmss" + ".pdf", or + "_L.pdf" for landscape pages.
QString report_file_name(const QString& stem, const QTime& time, QPageLayout::Orientation orientation);
/// Writes a printout with `write` into the "User report" folder, named from the stem and the
/// clock's time of day; gives the file and the viewer notification for its orientation.
[[nodiscard]] std::expected<ReportFile, Error>
write_into_user_reports(const QString& data_path, const QString& stem, QPageLayout::Orientation orientation,
                        const std::function<std::expected<void, Error>(const QString& path)>& write);
/// Writes the list into the "User report" folder, named from the stem and the clock's time of day.
[[nodiscard]] std::expected<ReportFile, Error> write_user_report(const PrintList& list, const ReportFormat& format,
                                                   const QString& data_path, const QString& stem);

} // namespace zelkor
