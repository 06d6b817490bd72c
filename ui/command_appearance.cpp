#include "ui/command_appearance.h"

#include "windows/base/command_ids.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include <optional>

namespace zelkor {

namespace {

std::optional<QStyle::StandardPixmap> standard_pixmap(int id)
{
    switch (CommandId(id)) {
    case CommandId::Exit: return QStyle::SP_DialogCloseButton;
    case CommandId::Save: return QStyle::SP_DialogSaveButton;
    case CommandId::Preview: return QStyle::SP_FileDialogContentsView;
    case CommandId::New: return QStyle::SP_FileIcon;
    case CommandId::FirstRecord: return QStyle::SP_MediaSkipBackward;
    case CommandId::PreviousRecord: return QStyle::SP_ArrowLeft;
    case CommandId::NextRecord: return QStyle::SP_ArrowRight;
    case CommandId::LastRecord: return QStyle::SP_MediaSkipForward;
    case CommandId::Delete: return QStyle::SP_TrashIcon;
    case CommandId::Void: return QStyle::SP_DialogCancelButton;
    case CommandId::RefreshRecord: return QStyle::SP_BrowserReload;
    case CommandId::JournalRecord: return QStyle::SP_FileDialogDetailedView;
    case CommandId::WindowHelp:
    case CommandId::SystemHelp: return QStyle::SP_DialogHelpButton;
    default: return std::nullopt;
    }
}

/// The letter after the caption's "&", or its first letter.
QChar accelerator_letter(const QString& caption)
{
    const qsizetype at = caption.indexOf(QLatin1Char('&'));
    if (at >= 0 && at + 1 < caption.size() && caption.at(at + 1) != QLatin1Char('&'))
        return caption.at(at + 1).toUpper();
    for (QChar c : caption)
        if (c.isLetterOrNumber())
            return c.toUpper();
    return QLatin1Char('?');
}

QString badge_text(int id, const QString& caption)
{
    switch (CommandId(id)) {
    case CommandId::InsertLine: return QStringLiteral("+");
    case CommandId::DeleteLine: return QStringLiteral("\u2212");
    case CommandId::EditMode: return QStringLiteral("\u270E");
    default: return QString(accelerator_letter(caption));
    }
}

/// Shared commands are blue, the window's own commands green: the clerk tells them apart at a glance.
QIcon badge_icon(int id, const QString& caption)
{
    QIcon icon;
    for (int side : {16, 24, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor fill = id >= to_int(CommandId::FirstWindowCommand) ? QColor(46, 125, 50) : QColor(25, 90, 160);
        painter.setBrush(fill);
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(1, 1, side - 2, side - 2), side / 5.0, side / 5.0);
        QFont font;
        font.setBold(true);
        font.setPixelSize(int(side * 0.62));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, badge_text(id, caption));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon command_icon(int id, const QString& caption, const QStyle& style)
{
    if (const auto pixmap = standard_pixmap(id)) {
        QIcon icon = style.standardIcon(*pixmap);
        if (!icon.isNull())
            return icon;
    }
    return badge_icon(id, caption);
}

QKeySequence command_shortcut(int id)
{
    switch (CommandId(id)) {
    case CommandId::Exit: return QKeySequence(Qt::CTRL | Qt::Key_W);
    case CommandId::Save: return QKeySequence::Save;
    case CommandId::Preview: return QKeySequence(Qt::CTRL | Qt::Key_P);
    case CommandId::New: return QKeySequence(Qt::CTRL | Qt::Key_N);
    case CommandId::EditMode: return QKeySequence(Qt::CTRL | Qt::Key_E);
    case CommandId::PreviousRecord: return QKeySequence(Qt::CTRL | Qt::Key_PageUp);
    case CommandId::NextRecord: return QKeySequence(Qt::CTRL | Qt::Key_PageDown);
    case CommandId::InsertLine: return QKeySequence(Qt::CTRL | Qt::Key_I);
    case CommandId::DeleteLine: return QKeySequence(Qt::CTRL | Qt::Key_D);
    case CommandId::RefreshRecord: return QKeySequence::Refresh;
    case CommandId::WindowHelp: return QKeySequence::HelpContents;
    default: return {};
    }
}

} // namespace zelkor
