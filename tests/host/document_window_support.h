#pragma once
// A document window as a clerk sees it in the demo host at 1280x800: the window shown maximised
// in the work area, its header laid out so that every field can be read.

#include "host/host_session.h"
#include "ui/field_editor.h"
#include "ui/window_view.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zelkor::host {

/// The demo host on a new company file in `folder`, its main window shown at 1280x800; null,
/// with the failure reported, when it cannot start.
inline std::unique_ptr<HostSession> started_host(const QTemporaryDir& folder)
{
    HostOptions options;
    options.database = folder.filePath(QStringLiteral("company.db"));
    auto started = HostSession::start(options);
    EXPECT_TRUE(started.has_value()) << started.error().detail.toStdString();
    if (!started)
        return nullptr;
    (*started)->window().resize(1280, 800);
    (*started)->window().show();
    return std::move(*started);
}

/// The view of the host's active child window, maximised; null when it shows no window model.
inline WindowView* maximised_view(HostSession& session)
{
    QMdiSubWindow* child = session.window().work_area()->activeSubWindow();
    if (!child)
        return nullptr;
    child->showMaximized();
    QApplication::processEvents();
    return qobject_cast<WindowView*>(child->widget());
}

/// Every header field of the window (those outside its panes) is wide enough to read, inside the
/// window and clear of every other field.
inline void expect_header_readable(const WindowModel& window, WindowView& view)
{
    std::vector<QRect> boxes;
    for (const Field& field : window.fields()) {
        if (!field.declaration.pane.isEmpty())
            continue;
        FieldEditor* editor = view.field_editor(field.name());
        ASSERT_NE(editor, nullptr) << field.name().toStdString();
        const QRect box(editor->mapTo(&view, QPoint(0, 0)), editor->size());
        EXPECT_GE(box.width(), 60) << field.name().toStdString();
        EXPECT_LE(box.right(), view.width()) << field.name().toStdString();
        for (const QRect& other : boxes)
            EXPECT_FALSE(box.intersects(other)) << field.name().toStdString();
        boxes.push_back(box);
    }
}

} // namespace zelkor::host
