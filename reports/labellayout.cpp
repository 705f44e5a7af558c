#include "reports/labellayout.h"

#include "report_engine/reportengine.h"
#include "reports/reportlayout.h"

#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace kv {

namespace {

constexpr double kMeasureDpi = 1200.0;
constexpr double kMediaColumnStep = 0.1;
constexpr char kStart[] = "Start: ";
constexpr char kStop[] = "Stop: ";
constexpr char kMinutes[] = " min";

// Builds the lines of one label the way the engine's cursor moves: each line at the
// current top, then down by its height.
class LabelWriter {
public:
    LabelWriter(const QRectF &label, const LabelTextWidth &textWidth)
        : top_(label.top()), right_(label.right()), textWidth_(textWidth)
    {
    }

    void setSize(double pointSize) { size_ = pointSize; }
    void emptyLine() { top_ += labelLineHeight(size_); }
    void moveTo(double top) { top_ = top; }
    double top() const { return top_; }

    // Stops side by side from x; an item that is off has width 0 and is left out. A stop
    // never reaches past the label's right edge (the spine's second line of one
    // recording adds up to 0.1 inch more than the label is wide).
    struct Stop {
        bool on;
        double width;
        QString text;
        std::optional<StopJustify> justify = std::nullopt; // the line's when not given
        bool whole = false;                                // a number
    };
    void line(double x, StopJustify justify, std::initializer_list<Stop> stops)
    {
        LabelLine line{top_, size_, {}};
        for (const Stop &stop : stops) {
            const double width = std::min(stop.on ? stop.width : 0, right_ - x);
            if (width <= 0)
                continue;
            const FittedText fitted = fit(stop.text, width, stop.whole);
            line.stops.append({x, width, stop.justify.value_or(justify), fitted.text, fitted.scale, stop.whole});
            x += width;
        }
        if (!line.stops.isEmpty())
            lines_.append(line);
        emptyLine();
    }
    bool fits(const QString &text, double width) const
    {
        return textWidth_(text, size_) <= width - 2 * kLabelStopMargin;
    }
    QList<LabelLine> take() { return std::move(lines_); }

private:
    FittedText fit(const QString &text, double width, bool whole) const
    {
        return fitToRoom(text, width - 2 * kLabelStopMargin, whole,
                         [this](const QString &t) { return textWidth_(t, size_); });
    }

    double top_;
    double right_;
    double size_ = 10;
    const LabelTextWidth &textWidth_;
    QList<LabelLine> lines_;
};

// An item that holds a number (year, play time, counter): never cut.
LabelWriter::Stop number(bool on, double width, const QString &text) { return {on, width, text, std::nullopt, true}; }

struct ItemsOn {
    bool media, title, rating, start, stop, year, play, category;
};

ItemsOn itemsOn(const Settings &s)
{
    return {s.labelMediaNumber, s.labelTitle,    s.labelRating,   s.labelStartCounter,
            s.labelStopCounter, s.labelYearReleased, s.labelPlayTime, s.labelCategory};
}

double faceManySize(qsizetype contents)
{
    switch (contents) {
    case 2:
    case 3:
        return 10;
    case 4:
        return 9;
    case 5:
        return 8;
    default:
        return 6;
    }
}

double spineManySize(qsizetype contents)
{
    switch (contents) {
    case 2:
        return 10;
    case 3:
        return 9;
    case 4:
        return 8;
    case 5:
        return 7;
    default:
        return 5;
    }
}

void faceLabel(LabelWriter &w, const QRectF &rect, const LabelPosition &position, const ItemsOn &on)
{
    const double x = rect.left();
    const double width = rect.width();
    w.setSize(10);
    w.emptyLine();
    if (on.media)
        w.line(x, StopJustify::Centre, {{true, width, position.mediaNumber}});
    const QList<TLabelTitleRec> &contents = position.contents;
    if (contents.size() == 1) {
        const TLabelTitleRec &c = contents.first();
        w.setSize(11);
        w.emptyLine();
        w.line(x, StopJustify::Centre, {{on.title, width, c.title}});
        w.line(x, StopJustify::Centre, {number(on.year, 1.0, c.year), number(on.play, 1.5, c.playTime + kMinutes)});
        w.line(x, StopJustify::Centre, {{on.category, 2.0, c.category}, {on.rating, 1.0, c.rating}});
        w.line(x, StopJustify::Centre,
               {number(on.start, 1.5, kStart + c.startCounter), number(on.stop, 1.5, kStop + c.stopCounter)});
        return;
    }
    w.setSize(faceManySize(contents.size()));
    const double ratingWidth = on.rating ? 0.5 : 0;
    for (const TLabelTitleRec &c : contents) {
        w.line(x, StopJustify::Left, {{on.title, width - ratingWidth, c.title}, {on.rating, 0.5, c.rating}});
        w.line(x, StopJustify::Left,
               {number(on.start, 0.5, c.startCounter),
                number(on.stop, 0.5, c.stopCounter),
                number(on.year, 0.5, c.year),
                number(on.play, 0.5, c.playTime),
                {on.category, 1.0, c.category}});
    }
}

void spineLabel(LabelWriter &w, const QRectF &rect, const LabelPosition &position, const ItemsOn &on)
{
    const double x = rect.left();
    const double width = rect.width();
    double m = 0;
    if (on.media) {
        w.setSize(10);
        int steps = 1;
        while (!w.fits(position.mediaNumber, steps * kMediaColumnStep) && steps * kMediaColumnStep < width)
            ++steps;
        m = steps * kMediaColumnStep;
        // A quarter down the label itself, so a gap between labels moves it along.
        w.moveTo(rect.top() + rect.height() / 4);
        w.line(x, StopJustify::Left, {{true, m, position.mediaNumber}});
        w.moveTo(rect.top());
    }
    const QList<TLabelTitleRec> &contents = position.contents;
    if (contents.size() == 1) {
        const TLabelTitleRec &c = contents.first();
        w.setSize(11);
        w.emptyLine();
        const double ratingWidth = on.rating ? 0.8 : 0;
        w.line(x + m, StopJustify::Centre,
               {{on.title, width - m - ratingWidth, c.title}, {on.rating, 0.8, c.rating, StopJustify::Left}});
        w.line(x + m, StopJustify::Left,
               {number(on.start, 1.15, kStart + c.startCounter),
                number(on.stop, 1.15, kStop + c.stopCounter),
                number(on.year, 0.5, c.year),
                number(on.play, 1.0, c.playTime + kMinutes),
                {on.category, 2.0 - m, c.category}});
        return;
    }
    const double size = spineManySize(contents.size());
    w.setSize(size);
    // The empty line above the recordings gives way where it would push the last one
    // past the label's bottom edge (five at 7 points need 0.7 inch, four at 8 points
    // 0.667, on labels of 0.656 to 0.667).
    const double room = rect.bottom() - w.top() - double(contents.size()) * labelLineHeight(size);
    w.moveTo(w.top() + std::clamp(room, 0.0, labelLineHeight(size)));
    const double others = (on.start ? 0.5 : 0) + (on.stop ? 0.5 : 0) + (on.year ? 0.5 : 0) + (on.play ? 0.5 : 0) +
                          (on.category ? 1.0 : 0) + (on.rating ? 0.5 : 0);
    for (const TLabelTitleRec &c : contents)
        w.line(x + m, StopJustify::Left,
               {number(on.start, 0.5, c.startCounter),
                number(on.stop, 0.5, c.stopCounter),
                {on.title, width - m - others, c.title},
                number(on.year, 0.5, c.year),
                number(on.play, 0.5, c.playTime),
                {on.category, 1.0, c.category},
                {on.rating, 0.5, c.rating}});
}

} // namespace

LabelTextWidth labelTextWidth(const QFont &labelFont)
{
    // Measured at the resolution the report engine lays out at, so that a text cut here
    // fits its stop when the engine places it; one set of metrics per size, as cutting a
    // text measures it again and again.
    auto surface = std::make_shared<QImage>(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(kMeasureDpi / 0.0254);
    surface->setDotsPerMeterX(dotsPerMetre);
    surface->setDotsPerMeterY(dotsPerMetre);
    auto metrics = std::make_shared<std::map<double, QFontMetricsF>>();
    return [labelFont, surface, metrics](const QString &text, double pointSize) {
        auto found = metrics->find(pointSize);
        if (found == metrics->end()) {
            QFont font = labelFont;
            font.setPointSizeF(pointSize);
            found = metrics->emplace(pointSize, QFontMetricsF(font, surface.get())).first;
        }
        return found->second.horizontalAdvance(text) / kMeasureDpi;
    };
}

QList<LaidOutLabel> layoutLabels(LabelKind kind, const TLabelStockRec &stock, const QList<LabelPosition> &positions,
                                 const Settings &items, const LabelTextWidth &textWidth)
{
    const ItemsOn on = itemsOn(items);
    QList<LaidOutLabel> labels;
    for (int i = 1; i <= std::min(int(positions.size()), stock.perPage); ++i) {
        const LabelPosition &position = positions.at(i - 1);
        if (position.contents.isEmpty())
            continue;
        QRectF rect;
        if (kind == LabelKind::Face) {
            const auto [column, row] = positionCell(i);
            rect = QRectF(stock.left + column * (stock.width + stock.gap), stock.top + row * stock.height,
                          stock.width, stock.height);
        } else {
            rect = QRectF(stock.left, stock.top + (i - 1) * (stock.height + stock.gap), stock.width, stock.height);
        }
        LabelWriter writer(rect, textWidth);
        if (kind == LabelKind::Face)
            faceLabel(writer, rect, position, on);
        else
            spineLabel(writer, rect, position, on);
        labels.append({i, rect, writer.take()});
    }
    return labels;
}

} // namespace kv
