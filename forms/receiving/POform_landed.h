#pragma once

#include "forms/common/window_model.h"

namespace zelkor {

/// The landed-cost window: a bill of extra charges spread over received goods.
class POform_landed : public WindowModel {
    Q_OBJECT
public:
    enum Command : int {
        Receipt = 1001,
        IcRecord = 1006,
        ApRecord = 1008,
        PoRecord = 1009,
        ReceiptRecord = 1010,
    };

    explicit POform_landed(QObject* parent = nullptr);
};

} // namespace zelkor
