#pragma once

#include <QIcon>
#include <QKeySequence>

class QStyle;

namespace zelkor {

/// The toolbar icon of a command: the style's own icon for the shared commands that have an
/// obvious one, otherwise a badge with the command's accelerator letter.
QIcon command_icon(int id, const QString& caption, const QStyle& style);

/// The keyboard shortcut of a shared command (Ctrl+S for save, ...); empty for the others, which
/// are reached through their menu's accelerators.
QKeySequence command_shortcut(int id);

} // namespace zelkor
