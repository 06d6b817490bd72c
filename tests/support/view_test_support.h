#pragma once
// A window model shown in the generic view at the size the windows are checked at (1280x800),
// its questions still answered by the test's prompter.

#include "tests/support/window_test_support.h"
#include "ui/window_view.h"

#include <QPointer>

namespace zelkor::testing {

inline QPointer<WindowView> show_in_view(WindowModel& window, Prompter& prompter)
{
    QPointer<WindowView> view = new WindowView(window);
    view->resize(1280, 800);
    view->show();
    QApplication::processEvents();
    window.set_prompter(&prompter); // in place of the message boxes
    return view;
}

} // namespace zelkor::testing
