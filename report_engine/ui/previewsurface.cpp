#include "previewsurface.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace kv {

class PreviewSurface::Sheet : public QWidget {
public:
    explicit Sheet(PreviewSurface *owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().dark());
        const PageStream *s = owner_->stream_;
        if (!s || s->pageCount() == 0)
            return;
        const double ppi = owner_->pixelsPerInch();
        const QSizeF page = s->pageSize() * ppi;
        const double margin = page.width() * kMarginPercent / 100;
        p.translate(margin, margin);
        p.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        s->paintPage(p, owner_->current_ - 1, ppi, owner_->monochrome_);
    }

private:
    PreviewSurface *owner_;
};

PreviewSurface::PreviewSurface(QWidget *parent) : QScrollArea(parent), sheet_(new Sheet(this))
{
    setWidget(sheet_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
}

void PreviewSurface::setStream(const PageStream *stream)
{
    stream_ = stream;
    current_ = 1;
    relayout();
    Q_EMIT pageChanged(current_);
}

double PreviewSurface::pixelsPerInch() const { return logicalDpiX() * zoom_ / 100; }

void PreviewSurface::relayout()
{
    QSizeF inches = stream_ ? stream_->pageSize() : QSizeF(8.5, 11);
    const QSizeF page = inches * pixelsPerInch();
    const double margin = page.width() * kMarginPercent / 100;
    sheet_->resize(qCeil(page.width() + 2 * margin), qCeil(page.height() + 2 * margin));
    sheet_->update();
}

void PreviewSurface::goToPage(int page)
{
    const int target = std::clamp(page, 1, std::max(1, pageCount()));
    if (target == current_)
        return;
    current_ = target;
    sheet_->update();
    Q_EMIT pageChanged(current_);
}

void PreviewSurface::previousPage()
{
    if (current_ > 1)
        goToPage(current_ - 1);
}

void PreviewSurface::nextPage()
{
    if (current_ < pageCount())
        goToPage(current_ + 1);
}

void PreviewSurface::setZoom(double percent)
{
    zoom_ = std::clamp(percent, kMinZoom, kMaxZoom);
    relayout();
    Q_EMIT zoomChanged(zoom_);
}

double PreviewSurface::pageWidthZoom() const
{
    const QSizeF inches = stream_ ? stream_->pageSize() : QSizeF(8.5, 11);
    const double grow = 1 + 2 * kMarginPercent / 100;
    double zoom = viewport()->width() / grow / (inches.width() * logicalDpiX()) * 100;
    // A page taller than the box brings a vertical scroll bar, which takes width.
    if ((inches.height() + 2 * kMarginPercent / 100 * inches.width()) * logicalDpiX() * zoom / 100 >
        viewport()->height())
        zoom = (viewport()->width() - verticalScrollBar()->sizeHint().width()) / grow /
               (inches.width() * logicalDpiX()) * 100;
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

double PreviewSurface::wholePageZoom() const
{
    const QSizeF inches = stream_ ? stream_->pageSize() : QSizeF(8.5, 11);
    const double grow = 1 + 2 * kMarginPercent / 100;
    const double byWidth = viewport()->width() / grow / (inches.width() * logicalDpiX());
    const double byHeight =
        viewport()->height() / ((inches.height() + 2 * kMarginPercent / 100 * inches.width()) * logicalDpiX());
    return std::clamp(std::min(byWidth, byHeight) * 100, kMinZoom, kMaxZoom);
}

void PreviewSurface::setMonochrome(bool on)
{
    monochrome_ = on;
    sheet_->update();
}

} // namespace kv
