#pragma once

#include "core/db/error.h"
#include "windows/base/grid_layout.h"
#include "windows/base/host_settings.h"
#include "windows/print/pdf_list_writer.h"

#include <QString>

#include <expected>
#include <functional>
#include <vector>

namespace zelkor {

class Grid;

/// The columns a printout of a grid shows, in the order the clerk arranged them: grid column
/// indexes and their printed presentation (stored heading, width, font, colour, alignment and
/// number format).
struct PrintedColumns {
    std::vector<int> indexes{};
    std::vector<PrintColumn> columns{};
};

/// Decides whether a grid column is printed; by default every column the grid shows.
using PrintColumnChoice = std::function<bool(int column)>;

/// The grid's printed columns; `layout` may be null (the grid's own captions and widths).
PrintedColumns printed_columns(const Grid& grid, const GridLayout* layout, const PrintColumnChoice& printed = {});
/// One printed row of a grid row cut to the printed columns.
PrintRow printed_row(const QStringList& cells, const PrintedColumns& columns);
/// A list of the grid's rows under `title`.
PrintList print_list_of_grid(const Grid& grid, const GridLayout* layout, const QString& title);

/// Gives the columns without a width one that fits their heading's longest word and their
/// widest cell in the print font of `format`.
void fit_widths_to_text(PrintList& list, const ReportFormat& format);

/// How a printout takes the widths of its columns.
enum class ListWidths {
    AsGiven,   ///< the grid's widths, the list shrunk to the page width unless the format says otherwise
    FitToText, ///< columns without a width fit their text; a list wider than the page goes on to
               ///< further pages unless the format says otherwise
};

/// Writes a window's printout: the user's page format for the window (the defaults without
/// one), today's date in the user's format after "print : ", the file named from `stem` in
/// "User report" under the data path.
[[nodiscard]] std::expected<ReportFile, Error> write_window_report(Database& db, const HostSettings& settings,
                                                                   const QString& form_name, PrintList list,
                                                                   const QString& stem, ListWidths widths = ListWidths::AsGiven);

/// A help document of the module: the file in the "Help" folder of the installation folder.
QString help_document_path(const QString& installation_folder, const QString& file);

} // namespace zelkor
