#pragma once

#include "core/rights.h"

#include <QString>

#include <array>
#include <optional>
#include <string_view>
#include <type_traits>

namespace zelkor {

/// The command ids shared by the windows of the module. Window-specific commands use ids from
/// FirstWindowCommand up and are declared by each window.
enum class CommandId : int {
    Exit = 100,
    Save = 101,
    Print = 102,
    Preview = 103,
    New = 105,
    EditMode = 106,
    PreviousRecord = 107,
    NextRecord = 108,
    LastRecord = 109,
    InsertLine = 110,
    DeleteLine = 111,
    JournalRecord = 113,
    FirstRecord = 118,
    Delete = 119,
    CopyToNew = 120,
    StockByLocation = 126,
    StockByItem = 127,
    TaxDetails = 131,
    TaxSummary = 132,
    Void = 133,
    RefreshRecord = 136,
    AccountMaster = 201,
    ItemMaster = 202,
    VendorMaster = 204,
    StockOnHand = 205,
    WindowHelp = 206,
    SystemHelp = 207,
    ShowTextBelowIcon = 209,
    SaveFont = 401,
    RestoreFont = 402,
    Bold = 403,
    Italic = 404,
    Underline = 405,
    AlignLeft = 406,
    AlignCenter = 407,
    AlignRight = 408,
    AlternateRows = 409,
    FirstWindowCommand = 1001,
};

/// The number of a command id, shared or a window's own (`enum class Command : int` in each window).
template <typename Id>
    requires std::is_enum_v<Id>
constexpr int to_int(Id id)
{
    return static_cast<int>(id);
}

/// The right of the user a command needs: update for writing commands, print for printing,
/// design for saving layouts and fonts (the user's rights themselves are in services/rights.h).
using RightNeeded = Right;

/// Whether a command shows a checked state (the mode toggles, pane switches, options).
enum class Checkable { No, Yes };

/// Where a command appears: always in its menu, and on the toolbar when `toolbar` is set.
struct CommandSpec {
    int id = 0;
    std::string_view caption{};   ///< with the & of its accelerator
    std::string_view menu{};      ///< "&File", "&Edit", "&Record", "&View", "&Tools", "F&ormat", "&Help"
    bool toolbar = false;
    RightNeeded right = RightNeeded::None;
    Checkable checkable = Checkable::No;
};

namespace menus {
inline constexpr std::string_view File = "&File";
inline constexpr std::string_view Edit = "&Edit";
inline constexpr std::string_view Record = "&Record";
inline constexpr std::string_view View = "&View";
inline constexpr std::string_view Tools = "&Tools";
inline constexpr std::string_view Format = "F&ormat";
inline constexpr std::string_view Help = "&Help";
} // namespace menus

/// The shared commands with their usual caption, placement and the right they need. A window
/// declares the ones it has and may give one of them its own caption (help documents, "Delete PR").
inline constexpr std::array common_commands{
    CommandSpec{100, "&Exit", menus::File, true},
    CommandSpec{101, "&Save", menus::File, true, RightNeeded::Update},
    CommandSpec{102, "&Print", menus::File, true, RightNeeded::Print},
    CommandSpec{103, "&Preview", menus::File, true, RightNeeded::Print},
    CommandSpec{105, "&New", menus::Edit, true, RightNeeded::Update, Checkable::Yes},
    CommandSpec{106, "&Edit mode", menus::Edit, true, RightNeeded::Update, Checkable::Yes},
    CommandSpec{107, "&Previous record", menus::Record, true},
    CommandSpec{108, "&Next record", menus::Record, true},
    CommandSpec{109, "&Last record", menus::Record, true},
    CommandSpec{110, "&Insert Line", menus::Edit, true, RightNeeded::Update},
    CommandSpec{111, "&Delete Line", menus::Edit, true, RightNeeded::Update},
    CommandSpec{113, "&Journal Record", menus::View, false},
    CommandSpec{118, "&First record", menus::Record, true},
    CommandSpec{119, "&Delete", menus::Edit, false, RightNeeded::Update},
    CommandSpec{120, "&Copy To New", menus::Edit, false, RightNeeded::Update},
    CommandSpec{126, "Stock by &Location", menus::View, false, RightNeeded::None, Checkable::Yes},
    CommandSpec{127, "&Stock by Item", menus::View, false, RightNeeded::None, Checkable::Yes},
    CommandSpec{131, "Tax &Details", menus::View, false, RightNeeded::None, Checkable::Yes},
    CommandSpec{132, "Tax &Summary", menus::View, false, RightNeeded::None, Checkable::Yes},
    CommandSpec{133, "&Void", menus::Edit, true, RightNeeded::Update},
    CommandSpec{136, "&Refresh record", menus::Record, true},
    CommandSpec{201, "Account Master", menus::Tools, false},
    CommandSpec{202, "Item Master", menus::Tools, false},
    CommandSpec{204, "Vendor Master", menus::Tools, false},
    CommandSpec{205, "Stock On Hand", menus::Tools, false},
    CommandSpec{206, "Help", menus::Help, false},
    CommandSpec{207, "Purchase Order System Help", menus::Help, false},
    CommandSpec{209, "&Show Text below Icon", menus::View, false, RightNeeded::None, Checkable::Yes},
    CommandSpec{401, "Save Font", menus::Format, false, RightNeeded::Design},
    CommandSpec{402, "Restore Font", menus::Format, false, RightNeeded::Design},
    CommandSpec{403, "Bold", menus::Format, false, RightNeeded::Design},
    CommandSpec{404, "Italic", menus::Format, false, RightNeeded::Design},
    CommandSpec{405, "Underline", menus::Format, false, RightNeeded::Design},
    CommandSpec{406, "Align Left", menus::Format, false, RightNeeded::Design},
    CommandSpec{407, "Align Center", menus::Format, false, RightNeeded::Design},
    CommandSpec{408, "Align Right", menus::Format, false, RightNeeded::Design},
    CommandSpec{409, "Alternate &Row Colour", menus::Format, false, RightNeeded::None, Checkable::Yes},
};

/// Command 102 of every window that prints: the page format of its printouts (Form_report_format).
inline constexpr CommandSpec PageSetupCommand{102, "Page Set&up", menus::File, false, RightNeeded::Print};

/// The shared declaration of a command id, or nothing for a window-specific id.
constexpr std::optional<CommandSpec> common_command(int id)
{
    for (const auto& declaration : common_commands)
        if (declaration.id == id)
            return declaration;
    return std::nullopt;
}

/// A shared command as a window's table of commands lists it: its usual declaration, under the
/// window's own caption when one is given. An id that is not shared does not compile.
constexpr CommandSpec shared(CommandId id, std::string_view caption = {})
{
    CommandSpec declaration = common_command(to_int(id)).value();
    if (!caption.empty())
        declaration.caption = caption;
    return declaration;
}

inline QString to_qstring(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace zelkor
