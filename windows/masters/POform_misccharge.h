#pragma once

#include "windows/masters/master_window.h"

namespace zelkor {

/// The miscellaneous charge codes that orders and bills carry as lines of type "6", each with
/// the expense account and purchase tax code a line of it takes.
class POform_misccharge : public MasterWindow {
    Q_OBJECT
public:
    enum class Command : int { Find = 104 };
    explicit POform_misccharge(QObject* parent = nullptr);

protected:
    bool run_command(int id) override;

private:
    /// Moves to the first charge of an account the clerk types.
    bool find_account();
};

} // namespace zelkor
