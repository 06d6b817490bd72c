#pragma once

#include "windows/masters/master_window.h"

namespace zelkor {

/// The carriers and shipping methods orders and receipts name, one record at a time.
class POform_shipvia : public MasterWindow {
    Q_OBJECT
public:
    enum class Command : int { FirstRecord = 118 };
    explicit POform_shipvia(QObject* parent = nullptr);

    /// The code of the ship-via the form shows; empty when it shows none.
    const QString& shown_code() const { return m_shown; }

protected:
    void on_open() override;
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;
    bool begin_new() override;
    bool begin_edit() override;
    bool save_document() override;
    void discard_changes(Mode left) override;
    PrintList print_list() const override;

private:
    bool load_codes();
    /// Shows the ship-via of a code; an unknown code empties the rest of the form.
    bool show(const QString& code);
    bool browse_to(int id);
    bool update_shown(const MasterValues& values);
    bool delete_shown();

    QStringList m_codes; ///< every code, in order
    QString m_shown;
};

} // namespace zelkor
