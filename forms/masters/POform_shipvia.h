#pragma once

#include "forms/common/window_model.h"

namespace zelkor {

/// The carriers and shipping methods orders and receipts name.
class POform_shipvia : public WindowModel {
    Q_OBJECT
public:
    enum Command : int { FirstRecord = 118 };
    explicit POform_shipvia(QObject* parent = nullptr);
};

} // namespace zelkor
