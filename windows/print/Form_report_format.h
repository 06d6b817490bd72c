#pragma once

#include "windows/base/window_model.h"
#include "windows/print/report_format.h"

#include <expected>

namespace zelkor {

/// The page-setup window: the user's page format for the printout of one window, opened from
/// that window's "Page Setup" command.
class Form_report_format : public WindowModel {
    Q_OBJECT
public:
    /// `printing_window` is the form name of the window whose printout is formatted.
    explicit Form_report_format(QString printing_window, QObject* parent = nullptr);

    const QString& printing_window() const { return m_printing_window; }

    /// The format the fields describe; the message for the user when a field does not hold one.
    [[nodiscard]] std::expected<ReportFormat, QString> format_of_fields() const;
    /// Stores the fields' format for the user and the printing window; true when it committed.
    bool save_format();

protected:
    void on_open() override;
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;

private:
    void declare_fields();
    void fill_lists();
    void show_format(const ReportFormat& format);
    void show_paper(const QString& paper_name);

    QString m_printing_window;
};

} // namespace zelkor
