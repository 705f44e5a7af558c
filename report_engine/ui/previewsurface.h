#pragma once
// The preview of a page stream inside a scroll box: one page at a time at a zoom in
// percent (100 is the page's real size on the screen), always within 10 ... 200, with
// a margin of 2.5 percent around the page and no shadow.
#include "report_engine/pagestream.h"

#include <QScrollArea>
#include <algorithm>

namespace kv {

class PreviewSurface : public QScrollArea {
    Q_OBJECT
public:
    static constexpr double kMinZoom = 10;
    static constexpr double kMaxZoom = 200;
    static constexpr double kZoomInc = 10;
    static constexpr double kMarginPercent = 2.5;

    explicit PreviewSurface(QWidget *parent = nullptr);

    // Shows stream (not owned) from page 1; null ends the preview.
    void setStream(const PageStream *stream);
    const PageStream *stream() const { return stream_; }

    int pageCount() const
    {
        const int count = stream_ ? stream_->pageCount() : 0;
        return pageLimit_ >= 0 ? std::min(count, pageLimit_) : count;
    }
    // While a run still adds pages, only the first limit pages are finished; negative:
    // every page of the stream.
    void setPageLimit(int limit) { pageLimit_ = limit; }
    int firstPage() const { return 1; }
    int currentPage() const { return current_; }
    // A number outside 1 ... page count shows the nearest page.
    void goToPage(int page);
    void previousPage();
    void nextPage();

    double zoom() const { return zoom_; }
    void setZoom(double percent); // clamped into 10 ... 200
    void zoomIn() { setZoom(zoom_ + kZoomInc); }
    void zoomOut() { setZoom(zoom_ - kZoomInc); }
    // The zoom at which the page's width, or the whole page, fits the drawing area.
    double pageWidthZoom() const;
    double wholePageZoom() const;

    bool monochrome() const { return monochrome_; }
    void setMonochrome(bool on);

Q_SIGNALS:
    void pageChanged(int page);
    void zoomChanged(double percent);

private:
    class Sheet;
    void relayout();
    double pixelsPerInch() const;

    const PageStream *stream_ = nullptr;
    Sheet *sheet_;
    int current_ = 1;
    int pageLimit_ = -1;
    double zoom_ = 100;
    bool monochrome_ = false;
};

} // namespace kv
