#include "windows/print/Form_report_format.h"

#include "windows/base/colour_list.h"

#include <QFontDatabase>
#include <QLoggingCategory>

#include <map>

namespace zelkor {

namespace {

Q_LOGGING_CATEGORY(log_page_setup, "zelkor.page_setup")

const QString Portrait = QStringLiteral("Portrait");
const QString Landscape = QStringLiteral("Landscape");
const QStringList FontSizes{"8", "9", "10", "10.5", "11", "12", "14", "16", "18", "20"};

/// A number field of the window: its name, and whether zero is a sensible value for it.
struct NumberField {
    const char* name;
    bool zero_allowed;
};
constexpr NumberField NumberFields[]{
    {"Width", false},       {"Height", false},      {"font_size", false},   {"row_height", false},
    {"top_margin", true},   {"bottom_margin", true}, {"left_margin", true}, {"right_margin", true},
};

QString flag_text(bool flag) { return flag ? QStringLiteral("1") : QStringLiteral("0"); }

/// The split-page choices with what each does to a list wider than the page.
Choices split_page_list()
{
    Choices choices;
    choices.captions = {QStringLiteral("Split page"), QStringLiteral("What it does")};
    const QStringList names = split_page_choices();
    choices.rows = {{names.at(0), QStringLiteral("every column on the page, narrower")},
                    {names.at(1), QStringLiteral("columns keep their width; the rest follow on further pages")}};
    return choices;
}

} // namespace

Form_report_format::Form_report_format(QString printing_window, QObject* parent)
    : WindowModel(QStringLiteral("Form_report_format"), QStringLiteral("Page Setup"), Kind::Other, parent),
      m_printing_window(std::move(printing_window))
{
    declare_fields();
    declare_command(CommandId::Exit);
    // Anyone who may print a window may choose how its printout looks.
    declare_command(CommandSpec{to_int(CommandId::Save), "&Save", menus::File, true, RightNeeded::None});
}

void Form_report_format::declare_fields()
{
    declare_field({"Orientation", "Orientation", FieldKind::DropDown, 0});
    declare_field({"PaperSize", "Paper", FieldKind::DropDown, 1});
    declare_field({"Width", "Width", FieldKind::Number, 2});
    declare_field({"Height", "Height", FieldKind::Number, 2});
    declare_field({"unit", "Unit", FieldKind::DropDown, 2});
    declare_field({"font_name", "Print font", FieldKind::DropDown, 3});
    // Font size, row height and margins are all measured in points (1/72 inch).
    const QString points = QStringLiteral("pt");
    declare_field({"font_size", "Font size", FieldKind::DropDown, 3, {}, false, ReadModeLock::Locked, points});
    declare_field({"row_height", "Row height", FieldKind::Number, 4, {}, false, ReadModeLock::Locked, points});
    declare_field({"top_margin", "Top margin", FieldKind::Number, 5, {}, false, ReadModeLock::Locked, points});
    declare_field({"bottom_margin", "Bottom margin", FieldKind::Number, 5, {}, false, ReadModeLock::Locked, points});
    declare_field({"left_margin", "Left margin", FieldKind::Number, 6, {}, false, ReadModeLock::Locked, points});
    declare_field({"right_margin", "Right margin", FieldKind::Number, 6, {}, false, ReadModeLock::Locked, points});
    declare_field({"font_color", "Text colour", FieldKind::DropDown, 7});
    declare_field({"evenrow_color", "Even-row colour", FieldKind::DropDown, 7});
    declare_field({"disabled_evenrow_color", "Disable even-row colour", FieldKind::Check, 8});
    declare_field({"Bold", "Bold", FieldKind::Check, 8});
    declare_field({"use_grid_font", "Use grid font", FieldKind::Check, 9});
    declare_field({"column_divider", "Column divider", FieldKind::Check, 9});
    declare_field({"split_page", "Split page", FieldKind::DropDown, 10});
}

void Form_report_format::on_open()
{
    fill_lists();
    std::optional<ReportFormat> stored;
    if (auto loaded = load_report_format(*database(), settings().ZELKOR_USER, m_printing_window))
        stored = *loaded;
    else
        qCWarning(log_page_setup) << "reading the page format failed:" << loaded.error().detail;
    show_format(stored.value_or(ReportFormat{}));
}

void Form_report_format::fill_lists()
{
    set_field_choices("Orientation", Choices::of({Portrait, Landscape}));
    QStringList papers;
    for (const PaperSize& paper : paper_sizes())
        papers << paper.name;
    set_field_choices("PaperSize", Choices::of(papers));
    set_field_choices("unit", Choices::of({paper::Millimetre, paper::Inch}));
    set_field_choices("font_name", Choices::of(QFontDatabase::families()));
    set_field_choices("font_size", Choices::of(FontSizes));
    set_field_choices("split_page", split_page_list());
    set_field_choices("font_color", colour_choices());
    set_field_choices("evenrow_color", colour_choices());
}

void Form_report_format::show_format(const ReportFormat& format)
{
    set_field("Orientation", format.orientation == QPageLayout::Portrait ? Portrait : Landscape);
    show_paper(format.paper_size);
    if (!find_paper(format.paper_size)) {
        set_field("Width", format.width.to_string());
        set_field("Height", format.height.to_string());
        set_field("unit", format.unit);
    }
    set_field("font_name", format.font_name);
    set_field("font_size", format.font_size.to_string());
    set_field("row_height", format.row_height.to_string());
    set_field("top_margin", format.top_margin.to_string());
    set_field("bottom_margin", format.bottom_margin.to_string());
    set_field("left_margin", format.left_margin.to_string());
    set_field("right_margin", format.right_margin.to_string());
    set_field("font_color", colour_hex(format.font_color));
    set_field("evenrow_color", colour_hex(format.evenrow_color));
    set_field("disabled_evenrow_color", flag_text(format.disabled_evenrow_color));
    set_field("Bold", flag_text(format.bold));
    set_field("use_grid_font", flag_text(format.use_grid_font));
    set_field("column_divider", flag_text(format.column_divider));
    // No stored choice prints as the first one, so that is what the field says.
    set_field("split_page", split_page_choices().at(int(split_page_of(format.split_page))));
}

void Form_report_format::show_paper(const QString& paper_name)
{
    const auto paper = find_paper(paper_name);
    set_field("PaperSize", paper ? paper->name : paper_name);
    if (paper) {
        set_field("Width", paper->width.to_string());
        set_field("Height", paper->height.to_string());
        set_field("unit", paper->unit);
    }
    // A listed paper fixes its size; only a user-defined size is typed.
    set_field_read_only("Width", paper.has_value());
    set_field_read_only("Height", paper.has_value());
    set_field_read_only("unit", paper.has_value());
}

Entry Form_report_format::check_field(const QString& name, const QString& previous)
{
    if (name == QLatin1String("PaperSize"))
        show_paper(field(name));
    return WindowModel::check_field(name, previous);
}

bool Form_report_format::run_command(int id)
{
    if (id == to_int(CommandId::Save))
        return save_format();
    return WindowModel::run_command(id);
}

[[nodiscard]] std::expected<ReportFormat, QString> Form_report_format::format_of_fields() const
{
    std::map<QString, Decimal> numbers;
    for (const NumberField& number : NumberFields) {
        const Field* source = find_field(QString::fromLatin1(number.name));
        const auto value = Decimal::parse(source->value);
        if (!value || value->is_negative() || (value->is_zero() && !number.zero_allowed))
            return std::unexpected(source->caption() + (number.zero_allowed ? QStringLiteral(" must be a number of 0 or more.")
                                                                           : QStringLiteral(" must be a number greater than 0.")));
        numbers[source->name()] = *value;
    }
    if (numbers["row_height"] <= numbers["font_size"])
        return std::unexpected(QStringLiteral("row height must > font size"));
    const QString unit = field("unit").trimmed();
    if (unit != paper::Millimetre && unit != paper::Inch)
        return std::unexpected(QStringLiteral("Unit must be mm or inch."));
    const auto font_color = colour_value(field("font_color").trimmed());
    const auto evenrow_color = colour_value(field("evenrow_color").trimmed());
    if (!font_color || !evenrow_color)
        return std::unexpected(QStringLiteral("Please choose the colours from their lists."));

    ReportFormat format;
    format.orientation = field("Orientation") == Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    format.paper_size = field("PaperSize").trimmed();
    format.width = numbers["Width"];
    format.height = numbers["Height"];
    format.unit = unit;
    format.font_name = field("font_name").trimmed();
    format.font_size = numbers["font_size"];
    format.row_height = numbers["row_height"];
    format.top_margin = numbers["top_margin"];
    format.bottom_margin = numbers["bottom_margin"];
    format.left_margin = numbers["left_margin"];
    format.right_margin = numbers["right_margin"];
    format.font_color = *font_color;
    format.evenrow_color = *evenrow_color;
    format.disabled_evenrow_color = find_field("disabled_evenrow_color")->checked();
    format.bold = find_field("Bold")->checked();
    format.use_grid_font = find_field("use_grid_font")->checked();
    format.column_divider = find_field("column_divider")->checked();
    format.split_page = field("split_page").trimmed();
    return format;
}

bool Form_report_format::save_format()
{
    const auto format = format_of_fields();
    if (!format) {
        message(format.error());
        return false;
    }
    if (auto saved = save_report_format(*database(), settings().ZELKOR_USER, m_printing_window, *format); !saved) {
        qCWarning(log_page_setup) << "saving the page format failed:" << saved.error().detail;
        message(QStringLiteral("Save format failed"));
        return false;
    }
    message(QStringLiteral("Save format complete"));
    return true;
}

} // namespace zelkor
