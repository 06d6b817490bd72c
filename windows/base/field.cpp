#include "windows/base/field.h"

namespace zelkor {

QString without_control_characters(const QString& text, TextLines lines)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        const bool line_break = c == u'\n' || c == u'\t';
        if (c.category() != QChar::Other_Control || (line_break && lines == TextLines::Kept))
            kept += c;
    }
    return kept;
}

} // namespace zelkor
