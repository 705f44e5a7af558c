#include "reportengine.h"

#include <QFontMetricsF>
#include <QImage>
#include <cmath>

namespace kv {

namespace {
// Layout is measured at this resolution, whatever the output, so that every output
// gets the same lines and the same cuts.
constexpr int kLayoutDpi = 1200;
constexpr double kEpsilon = 1e-9;

const QPaintDevice *layoutDevice()
{
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_ARGB32);
        i.setDotsPerMeterX(qRound(kLayoutDpi / 0.0254));
        i.setDotsPerMeterY(qRound(kLayoutDpi / 0.0254));
        return i;
    }();
    return &image;
}

QFontMetricsF metricsOf(const PageFont &font)
{
    return QFontMetricsF(font.font(), layoutDevice());
}

// Guards that a failing callback still closes the output.
struct RunGuard {
    bool &printing;
    PageOutput &output;
    bool done = false;
    ~RunGuard()
    {
        if (!done) {
            output.discard();
            printing = false;
        }
    }
};
} // namespace

FittedText fitToRoom(const QString &text, double room, bool whole,
                     const std::function<double(const QString &)> &measure)
{
    if (text.isEmpty())
        return {text, 1};
    const double width = measure(text);
    if (width <= room + kEpsilon)
        return {text, 1};
    if (room <= 0)
        return {QString(), 1};
    if (whole || width * kMinCondense <= room + kEpsilon)
        return {text, room / width};
    // The longest start of the text that fits condensed.
    qsizetype lo = 0, hi = text.size() - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (measure(text.left(mid)) * kMinCondense <= room + kEpsilon)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QString start = text.left(lo);
    const double startWidth = measure(start);
    return {start, startWidth > room ? room / startWidth : 1};
}

ReportEngine::ReportEngine(PageOutput &output) : output_(output) {}

void ReportEngine::setStatusText(int line, const QString &text)
{
    if (line == 0 || line == 1)
        statusText_[line] = text;
}

QString ReportEngine::statusLine() const
{
    QString s = statusFormat_;
    s.replace(QLatin1String("%p"), QString::number(page_));
    s.replace(QLatin1String("%0"), statusText_[0]);
    s.replace(QLatin1String("%1"), statusText_[1]);
    return s;
}

bool ReportEngine::start()
{
    if (printing_) {
        error_ = QStringLiteral("A run is already printing.");
        return false;
    }
    error_.clear();
    aborted_ = stopped_ = failed_ = false;
    page_ = 0;
    pageIndex_ = -1;
    if (!output_.begin(jobTitle_, orientation_)) {
        error_ = output_.errorString();
        return false;
    }
    size_ = output_.stream().pageSize();
    left_ = right_ = top_ = bottom_ = 0.5;
    bandTop_ = top_;
    bandBottom_ = size_.height() - bottom_;
    tabs_.clear();
    nextTab_ = 0;
    font_ = PageFont{QStringLiteral("Arial"), 10};
    fontIndex_ = -1;
    metrics_ = metricsOf(font_);
    measuredText_.clear();
    measuredFont_ = -1;
    printing_ = true;
    RunGuard guard{printing_, output_};

    if (callbacks_.onBeforePrint)
        callbacks_.onBeforePrint();
    // A run cancelled before its first page (a label run during its scan) has no page.
    while (!aborted_ && !failed_) {
        beginPage();
        if (callbacks_.onPrintHeader) {
            inPageEdge_ = true;
            callbacks_.onPrintHeader();
            inPageEdge_ = false;
        }
        const bool more = callbacks_.onPrintPage ? callbacks_.onPrintPage() : false;
        if (!stopped_)
            finishPage();
        if (failed_ || !more || aborted_)
            break;
    }
    if (callbacks_.onAfterPrint)
        callbacks_.onAfterPrint();
    guard.done = true;
    bool ended = false;
    if (failed_)
        output_.discard();
    else
        ended = output_.end();
    printing_ = false;
    if (!failed_ && !ended) {
        failed_ = true;
        error_ = output_.errorString();
    }
    return !failed_;
}

void ReportEngine::fail(const QString &message)
{
    if (!failed_)
        error_ = message;
    failed_ = true;
    stopped_ = true;
}

void ReportEngine::beginPage()
{
    ++page_;
    output_.stream().addPage();
    pageIndex_ = output_.stream().pageCount() - 1;
    nextTab_ = 0;
    x_ = left_;
    if (callbacks_.onStatus)
        callbacks_.onStatus(statusLine());
}

bool ReportEngine::finishPage()
{
    if (callbacks_.onPrintFooter) {
        inPageEdge_ = true;
        callbacks_.onPrintFooter();
        inPageEdge_ = false;
    }
    if (!output_.takePage(pageIndex_)) {
        failed_ = true;
        stopped_ = true;
        error_ = output_.errorString();
        return false;
    }
    return true;
}

// A line placed below the band's bottom: the page ends and the next one starts, and the
// body goes on in the band, font and tab stops it had.
void ReportEngine::makeRoom()
{
    if (inPageEdge_ || stopped_ || linesLeft() > 0)
        return;
    const double top = bandTop_, bottom = bandBottom_;
    const PageFont font = font_;
    const std::vector<TabStop> tabs = tabs_;
    if (!finishPage())
        return;
    if (aborted_) {
        stopped_ = true;
        return;
    }
    beginPage();
    if (callbacks_.onPrintHeader) {
        inPageEdge_ = true;
        callbacks_.onPrintHeader();
        inPageEdge_ = false;
    }
    bandTop_ = top;
    bandBottom_ = bottom;
    setFont(font);
    tabs_ = tabs;
    home();
}

void ReportEngine::requirePrinting(const char *operation) const
{
    if (!printing_)
        throw EngineNotPrinting(std::string(operation) + ": no run is printing");
}

void ReportEngine::setMargins(double left, double right, double top, double bottom)
{
    requirePrinting("set margins");
    left_ = left;
    right_ = right;
    top_ = top;
    bottom_ = bottom;
}

double ReportEngine::pageWidth() const
{
    requirePrinting("page width");
    return size_.width();
}

double ReportEngine::pageHeight() const
{
    requirePrinting("page height");
    return size_.height();
}

void ReportEngine::setBandTop(double y)
{
    requirePrinting("set band top");
    bandTop_ = y;
    if (y_ < y)
        y_ = y;
}

void ReportEngine::setBandBottom(double y)
{
    requirePrinting("set band bottom");
    bandBottom_ = y;
}

void ReportEngine::home()
{
    requirePrinting("home");
    x_ = left_;
    y_ = bandTop_;
    nextTab_ = 0;
}

void ReportEngine::moveTo(double x, double y)
{
    requirePrinting("move to");
    x_ = x;
    y_ = y;
}

int ReportEngine::linesLeft() const
{
    requirePrinting("lines left");
    if (stopped_ || y_ > bandBottom_ + kEpsilon)
        return 0;
    return int(std::floor((bandBottom_ - y_) / lineHeight() + kEpsilon)) + 1;
}

void ReportEngine::setFont(const PageFont &font)
{
    requirePrinting("set font");
    if (font == font_ && fontIndex_ >= 0)
        return;
    font_ = font;
    fontIndex_ = output_.stream().fontIndex(font);
    metrics_ = metricsOf(font_);
}

void ReportEngine::clearTabs()
{
    requirePrinting("clear tabs");
    tabs_.clear();
    nextTab_ = 0;
}

void ReportEngine::addTab(const TabStop &stop)
{
    requirePrinting("add tab");
    TabStop s = stop;
    if (s.position < 0)
        s.position = tabs_.empty() ? left_ : tabs_.back().position + std::max(0.0, tabs_.back().width);
    tabs_.push_back(s);
}

double ReportEngine::usableWidth(int index) const
{
    const TabStop &s = tab(index);
    return s.width - 2 * s.margin;
}

double ReportEngine::fontHeight() const { return (metrics_->ascent() + metrics_->descent()) / kLayoutDpi; }

double ReportEngine::textWidth(const QString &text) const
{
    if (text.isEmpty())
        return 0;
    // A cell's text is measured when it is fitted and again when it is placed.
    if (fontIndex_ >= 0 && text == measuredText_ && measuredFont_ == fontIndex_)
        return measuredWidth_;
    measuredText_ = text;
    measuredFont_ = fontIndex_;
    measuredWidth_ = metrics_->horizontalAdvance(text) / kLayoutDpi;
    return measuredWidth_;
}

FittedText ReportEngine::fit(const QString &text, double width, bool whole) const
{
    return fitToRoom(text, width, whole, [this](const QString &t) { return textWidth(t); });
}

void ReportEngine::place(const QString &text, double x, double scale)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF &m = *metrics_;
    const double ascent = m.ascent() / kLayoutDpi;
    const double height = (m.ascent() + m.descent()) / kLayoutDpi;
    const double baseline = y_ + (lineHeight() - height) / 2 + ascent;
    if (fontIndex_ < 0)
        fontIndex_ = output_.stream().fontIndex(font_);
    Page &page = output_.stream().page(pageIndex_);
    page.texts.push_back(PageText{QPointF(x, baseline), text, fontIndex_, scale});
}

void ReportEngine::drawCell(const TabStop &stop, double left, const QString &text)
{
    if (stop.width <= 0)
        return;
    const double right = left + stop.width, top = y_, bottom = y_ + lineHeight();
    Page &page = output_.stream().page(pageIndex_);
    if (stop.boxLines & box::Left)
        page.lines.emplace_back(left, top, left, bottom);
    if (stop.boxLines & box::Right)
        page.lines.emplace_back(right, top, right, bottom);
    if (stop.boxLines & box::Top)
        page.lines.emplace_back(left, top, right, top);
    if (stop.boxLines & box::Bottom)
        page.lines.emplace_back(left, bottom, right, bottom);
    const double inner = left + stop.margin, room = stop.width - 2 * stop.margin;
    // A text wider than its room is condensed, and cut only when that is not enough.
    const FittedText fitted = fit(text, room, stop.whole);
    const double w = stop.justify == Justify::Left ? 0 : textWidth(fitted.text) * fitted.scale;
    switch (stop.justify) {
    case Justify::Left:
        place(fitted.text, inner, fitted.scale);
        break;
    case Justify::Right:
        place(fitted.text, inner + room - w, fitted.scale);
        break;
    case Justify::Centre:
        place(fitted.text, inner + (room - w) / 2, fitted.scale);
        break;
    }
}

void ReportEngine::print(const QString &text)
{
    requirePrinting("print");
    makeRoom();
    if (stopped_)
        return;
    const QStringList pieces = text.split(QLatin1Char('\t'));
    if (!pieces.first().isEmpty()) {
        place(pieces.first(), x_);
        x_ += textWidth(pieces.first());
    }
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        if (nextTab_ >= int(tabs_.size())) {
            // No stop left: the text follows where the line got to.
            place(pieces[i], x_);
            x_ += textWidth(pieces[i]);
            continue;
        }
        const TabStop &stop = tabs_[size_t(nextTab_++)];
        drawCell(stop, stop.position, pieces[i]);
        x_ = stop.position + std::max(0.0, stop.width);
    }
}

void ReportEngine::printLine(const QString &text)
{
    print(text);
    newLine();
}

void ReportEngine::newLine()
{
    requirePrinting("new line");
    if (stopped_)
        return;
    y_ += lineHeight();
    x_ = left_;
    nextTab_ = 0;
}

void ReportEngine::printCentred(const QString &text, double x)
{
    requirePrinting("print centred");
    makeRoom();
    if (!stopped_)
        place(text, x - textWidth(text) / 2);
}

void ReportEngine::footerText(const QString &text, Justify justify)
{
    requirePrinting("footer text");
    makeRoom();
    if (stopped_)
        return;
    switch (justify) {
    case Justify::Left:
        place(text, left_);
        break;
    case Justify::Centre:
        place(text, left_ + (size_.width() - left_ - right_ - textWidth(text)) / 2);
        break;
    case Justify::Right:
        place(text, size_.width() - right_ - textWidth(text));
        break;
    }
}

} // namespace kv
