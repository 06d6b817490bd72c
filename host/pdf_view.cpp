#include "host/pdf_view.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#ifdef ZELKOR_HAS_QTPDF
#include <QPdfDocument>
#include <QPdfView>
#endif

namespace zelkor::host {

namespace {

#ifdef ZELKOR_HAS_QTPDF
/// A PDF view that owns its document. It lets go of the document before it is destroyed: the
/// document's closing signal must not reach a half-destroyed view.
class OwningPdfView : public QPdfView {
public:
    explicit OwningPdfView(QWidget* parent) : QPdfView(parent) {}
    ~OwningPdfView() override { setDocument(nullptr); }
};
#endif

QWidget* make_missing_file_note(const QString& path, QWidget* parent)
{
    auto* label = new QLabel(QStringLiteral("The PDF file %1 does not exist.").arg(path), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

QWidget* make_pdf_view(const QString& path, PageOrientation orientation, QWidget* parent)
{
    if (!QFileInfo::exists(path))
        return make_missing_file_note(path, parent);
#ifdef ZELKOR_HAS_QTPDF
    auto* view = new OwningPdfView(parent);
    auto* document = new QPdfDocument(view);
    document->load(path);
    view->setDocument(document);
    view->setPageMode(QPdfView::PageMode::MultiPage);
    // A landscape page is wide: fitting its width keeps the text readable; a portrait page is
    // shown whole.
    view->setZoomMode(orientation == PageOrientation::Landscape ? QPdfView::ZoomMode::FitToWidth
                                                                : QPdfView::ZoomMode::FitInView);
    view->setMinimumSize(orientation == PageOrientation::Landscape ? QSize(800, 560) : QSize(600, 760));
    return view;
#else
    Q_UNUSED(orientation);
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    auto* label = new QLabel(QStringLiteral("Opened %1 in the desktop's PDF viewer.").arg(path), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
#endif
}

} // namespace zelkor::host
