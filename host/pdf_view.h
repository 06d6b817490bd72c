#pragma once

#include <QString>

class QWidget;

namespace zelkor::host {

enum class PageOrientation { Portrait, Landscape };

/// A widget that shows a PDF file: QtPdf's viewer when the build has it, otherwise a short
/// text with the file's path (the desktop's own viewer is asked to open it).
QWidget* make_pdf_view(const QString& path, PageOrientation orientation, QWidget* parent = nullptr);

} // namespace zelkor::host
